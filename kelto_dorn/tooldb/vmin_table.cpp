// The cutting-speed calculator's settings and arithmetic: see vmin_table.h.
#include "kelto_dorn/tooldb/vmin_table.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

VminTable g_vminTable = DefaultVminTable();

namespace {

// Set when the file on disk exists but could not be read: writing the
// defaults over it would lose the user's settings without a word.
bool g_vminFileDamaged = false;

constexpr int kMessageConditions = 100;
constexpr int kMessageNoChoice = 101;
constexpr int kMessageTooMany = 102;
// Records a tool folder holds at most (DocToolTable's load limit); a series
// may start only while fewer than 765 are there.
constexpr int kMaxRecords = DocToolTable::kMaxLoadedRecords;
// A new series never goes beyond 120 mm.
constexpr double kSeriesLargest = 120.0;
// Pitches below 0.1 mm make one record of the first diameter.
constexpr double kSmallestPitch = 0.1;
// Diameters of a series are from + k x pitch; this slack (mm, far below the
// float resolution of a stored diameter) keeps the last diameter when the
// sum lands a hair above it (1 + 10 x 0.1).
constexpr double kSeriesSlack = 1e-9;

std::filesystem::path VminPath() { return platform::ResolvePath(platform::DataRoot(), "$DB_Vmin.@@@"); }

// MaterialEntry rows: name, Vc for the three tool classes, base values.
constexpr MaterialEntry kMaterials[] = {
    {"構造用鋼175HB", {35, 45, 50}, {1.5, 2.6, 4.2, 6.8, 8.4, 11, 14.2, 16.8, 21, 25.2, 26.3, 25.2, 24.2, 23.7, 22.1, 17.4, 14.2}},
    {"炭素鋼225HB", {30, 40, 45}, {1.4, 2.4, 3.8, 6.2, 7.6, 10, 12.9, 15.3, 19.1, 22.9, 23.9, 22.9, 22, 21.5, 20.1, 15.8, 12.9}},
    {"合金鋼375HB", {20, 30, 30}, {1.3, 2.2, 3.4, 5.6, 6.8, 9, 11.6, 13.8, 17.2, 20.6, 21.5, 20.6, 19.8, 19.4, 18.1, 14.2, 11.6}},
    {"ダイス鋼325HB", {15, 25, 25}, {1, 1.7, 2.7, 4.3, 5.3, 7, 9, 10.7, 13.4, 16, 16.7, 16, 15.4, 15.1, 14.1, 11.1, 9}},
    {"最高合金鋼375HB", {12, 20, 20}, {0.8, 1.4, 2.3, 3.7, 4.6, 6, 7.7, 9.2, 11.5, 13.7, 14.3, 13.7, 13.2, 12.9, 12.1, 9.5, 7.7}},
    {"高硬度材400HB", {5, 10, 10}, {0.7, 1.2, 1.9, 3.1, 3.8, 5, 6.5, 7.7, 9.6, 11.5, 12, 11.5, 11, 10.8, 10.1, 7.9, 6.5}},
    {"フェライト系183HB", {25, 40, 40}, {1.4, 2.4, 3.8, 6.2, 7.6, 10, 12.9, 15.3, 19.1, 22.9, 23.9, 22.9, 22, 21.5, 20.1, 15.8, 12.9}},
    {"マルテンサイト系210HB", {20, 30, 30}, {1.3, 2.2, 3.4, 5.6, 6.8, 9, 11.6, 13.8, 17.2, 20.6, 21.5, 20.6, 19.8, 19.4, 18.1, 14.2, 11.6}},
    {"オーステナイト系187HB", {15, 25, 25}, {1.1, 1.9, 3, 5, 6.1, 8, 10.3, 12.2, 15.3, 18.3, 19.1, 18.3, 17.6, 17.2, 16.1, 12.6, 10.3}},
    {"鋼鉄180HB", {40, 50, 60}, {3.4, 5.8, 9.1, 14.9, 18.2, 24, 31, 36.7, 45.8, 55, 57.4, 55, 52.8, 51.6, 48.2, 37.9, 31}},
    {"黄銅", {40, 60, 60}, {2, 3.4, 5.3, 8.7, 10.6, 14, 18.1, 21.4, 26.7, 32.1, 33.5, 32.1, 30.8, 30.1, 28.1, 22.1, 18.1}},
    {"銅", {60, 80, 90}, {2.7, 4.6, 7.2, 11.8, 14.4, 19, 24.5, 29.1, 36.3, 43.5, 45.4, 43.5, 41.8, 40.9, 38.2, 30, 24.5}},
    {"圧延アルミ", {70, 90, 100}, {3.1, 5.3, 8.4, 13.6, 16.7, 22, 28.4, 33.7, 42, 50.4, 52.6, 50.4, 48.4, 47.3, 44.2, 34.8, 28.4}},
    {"アルミ鉱物", {80, 120, 140}, {4.5, 7.7, 12.2, 19.8, 24.3, 32, 41.3, 49, 61.1, 73.3, 76.5, 73.3, 70.4, 68.8, 64.3, 50.6, 41.3}},
};

constexpr ToolKindEntry kToolKinds[] = {
    {"ハイス標準２刃", 0, 1},
    {"ハイス標準４刃", 0, 1.5},
    {"ハイス標準６刃", 0, 2},
    {"ハイス・ショート２刃", 0, 1.5},
    {"ハイス・ロング２刃", 0, 0.5},
    {"ハイス・ロング４刃", 0, 0.75},
    {"ハイス・ロング６刃", 0, 1},
    {"ハイス・溝用２刃", 0, 0.5},
    {"ハイス・ハイヘリカル４刃", 0, 1.5},
    {"荒・仕上げ兼用標準４刃", 1, 1.8},
    {"荒・仕上げ兼用標準６刃", 1, 2.4},
    {"荒・仕上げ兼用ロング４刃", 1, 1.1},
    {"荒・仕上げ兼用ロング６刃", 1, 1.45},
    {"ラフィング標準３刃", 1, 1.6},
    {"ラフィング標準４刃", 1, 1.95},
    {"ラフィング標準６刃", 1, 2.6},
    {"ラフィング・ショート３刃", 1, 2.4},
    {"ラフィング・ショート４刃", 1, 2.7},
    {"ラフィング・ショート６刃", 1, 3.8},
    {"超硬・標準２刃", 2, 0.8},
    {"超硬・標準４刃", 2, 1.2},
};

bool ValidMaterial(int index) { return index >= 0 && index < static_cast<int>(std::size(kMaterials)); }
bool ValidToolKind(int index) { return index >= 0 && index < static_cast<int>(std::size(kToolKinds)); }

int WholeClamped(double value) {
  if (!std::isfinite(value) || value <= 0.0) return 0;
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<int>(value);
}

// Spindle speed, feed and the two computed values of the settings for one
// record of diameter d.
void SetCuttingData(ToolRecord& record, VminTable& settings, double d) {
  const BaseValue v = InterpolateBaseValue(settings, d);
  settings.kindFactor = v.kindFactor;
  settings.baseValue = v.baseValue;
  record.spindleSpeed = SpindleSpeedFor(settings, d);
  record.feed = static_cast<float>(FeedFor(settings, d));
}

void EditRecords(DocToolTable& table, int recordCount, VminTable& settings, SetupResult& result) {
  const std::string filter = platform::FieldText(settings.secName);
  for (int i = 0; i < recordCount; ++i) {
    ToolRecord& r = table.Record(i);
    if (!filter.empty() && platform::FieldText(r.secName) != filter) continue;
    SetCuttingData(r, settings, r.diameter);
    if (settings.gCode != 0) r.fixedCycle = settings.gCode;
    if (settings.fluteLength != 0.0) r.fluteLength = static_cast<float>(settings.fluteLength);
  }
  result.recordCount = recordCount;
  result.applied = true;
}

void ShapeNewRecord(ToolRecord& r, VminTable& settings, double d) {
  r.tipAngle = 0.0f;
  r.tipLength = 0.0f;
  const double a = settings.tipAngleOrCorner;
  if (a != 0.0) {
    if (settings.endShape == kEndShapeBullNose) {
      if (2.0 * a > d) settings.tipAngleOrCorner = d / 2.0;
      const double corner = settings.tipAngleOrCorner;
      r.cornerRadius = static_cast<float>(corner);
      r.flatRadius = static_cast<float>(d / 2.0 - corner);
    } else {
      const double half = a / 2.0 * std::numbers::pi / 180.0;
      r.tipAngle = static_cast<float>(a);
      r.tipLength = static_cast<float>(Round3(d / 2.0 * std::cos(half) / std::sin(half)));
    }
  } else if (settings.endShape == kEndShapeBall) {
    r.cornerRadius = static_cast<float>(d / 2.0);
    r.flatRadius = 0.0f;
  } else {
    r.cornerRadius = 0.0f;
    r.flatRadius = static_cast<float>(d / 2.0);
  }
}

void AppendSeries(DocToolTable& table, int recordCount, VminTable& settings, SetupResult& result) {
  if (settings.diameterTo > kSeriesLargest) settings.diameterTo = kSeriesLargest;
  const double from = settings.diameterFrom;
  const double to = settings.diameterTo;
  if (!(from >= 1.0 && from <= to)) {
    result.message = kMessageConditions;
    return;
  }
  if (recordCount >= kMaxRecords) {
    result.message = kMessageTooMany;
    return;
  }
  double pitch = settings.diameterPitch;
  if (!(pitch >= kSmallestPitch)) pitch = to;
  int count = recordCount;
  for (int k = 0;; ++k) {
    const double d = from + k * pitch;
    if (d > to + kSeriesSlack) break;
    ToolRecord& r = table.Record(count);
    r.diameter = static_cast<float>(d);
    SetCuttingData(r, settings, d);
    platform::SetFieldText(r.secName, platform::FieldText(settings.secName));
    ShapeNewRecord(r, settings, d);
    r.fixedCycle = settings.gCode;
    r.fluteLength = static_cast<float>(settings.fluteLength);
    ++count;
    if (count >= kMaxRecords) {
      result.message = kMessageTooMany;
      break;
    }
  }
  result.recordCount = count;
  result.applied = true;
}

}  // namespace

VminTable DefaultVminTable() {
  VminTable t{};
  t.material = -1;
  t.toolKind = -1;
  t.updateMode = kUpdateNewSeries;
  t.endShape = kEndShapeFlat;
  t.axialRatio = 0.5;
  t.radialRatio = 0.5;
  return t;
}

platform::FileResult ReadVminTable() {
  VminTable read{};
  platform::FileResult file = platform::ReadRecord(VminPath(), read);
  g_vminFileDamaged = !file.ok() && !file.missing();
  if (!file.ok()) {
    g_vminTable = DefaultVminTable();
    return file;
  }
  platform::TerminateField(read.secName);
  g_vminTable = read;
  return file;
}

platform::FileResult WriteVminTable() {
  if (g_vminFileDamaged) {
    platform::FileResult refused;
    refused.status = platform::FileStatus::WriteError;
    refused.message = VminPath().string() + ": the file could not be read, so it is kept as it is";
    return refused;
  }
  return platform::WriteRecord(VminPath(), g_vminTable);
}

std::span<const MaterialEntry> Materials() { return kMaterials; }
std::span<const ToolKindEntry> ToolKinds() { return kToolKinds; }

double TableCuttingSpeed(const VminTable& settings) {
  if (!ValidMaterial(settings.material) || !ValidToolKind(settings.toolKind)) return -1.0;
  return kMaterials[settings.material].cuttingSpeed[kToolKinds[settings.toolKind].toolClass];
}

BaseValue InterpolateBaseValue(const VminTable& settings, double d) {
  BaseValue v{};
  v.kindFactor = ValidToolKind(settings.toolKind) ? kToolKinds[settings.toolKind].factor : 1.5;
  const double* values = kMaterials[ValidMaterial(settings.material) ? settings.material : 1].baseValues;
  constexpr int kLast = static_cast<int>(std::size(kBaseDiameters)) - 1;
  if (!std::isfinite(d) || d <= 0.0) {
    v.baseValue = 0.0;
  } else if (d < kBaseDiameters[0]) {
    v.baseValue = values[0] * d / kBaseDiameters[0];
  } else if (d >= kBaseDiameters[kLast]) {
    v.baseValue = values[kLast];
  } else {
    int i = 0;
    while (!(kBaseDiameters[i] <= d && d < kBaseDiameters[i + 1])) ++i;
    const double e = kBaseDiameters[i], f = kBaseDiameters[i + 1];
    v.baseValue = values[i] + (d - e) / (f - e) * (values[i + 1] - values[i]);
  }
  return v;
}

int SpindleSpeedFor(const VminTable& settings, double d) {
  if (!(d > 0.0)) return 0;
  return WholeClamped(settings.cuttingSpeed * 320.0 / d);
}

int FeedFor(const VminTable& settings, double d) {
  const double divisor = d * d * settings.radialRatio * settings.axialRatio;
  if (!(d > 0.0) || !(divisor > 0.0)) return 0;
  const BaseValue v = InterpolateBaseValue(settings, d);
  return WholeClamped(v.kindFactor * v.baseValue * settings.cuttingSpeed * d / divisor);
}

SetupResult ApplyToolSetup(DocToolTable& table, int recordCount, VminTable& settings) {
  SetupResult result;
  result.recordCount = recordCount;
  if (!ValidMaterial(settings.material) || !ValidToolKind(settings.toolKind)) {
    result.message = kMessageNoChoice;
    return result;
  }
  if (settings.cuttingSpeed == 0.0 || settings.axialRatio == 0.0 || settings.radialRatio == 0.0) {
    result.message = kMessageConditions;
    return result;
  }
  if (recordCount < 0) recordCount = 0;
  if (recordCount > kMaxRecords) recordCount = kMaxRecords;
  if (settings.updateMode == kUpdateEdit) {
    EditRecords(table, recordCount, settings, result);
  } else {
    AppendSeries(table, recordCount, settings, result);
  }
  return result;
}

}  // namespace dorn
