// Editing of tool records: see tool_record_edit.h.
#include "kelto_dorn/tooldb/tool_record_edit.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"

namespace dorn {
namespace {

// Typed values above this are taken as a slip of the hand.
constexpr double kLargestValue = 99999.999;
// A SEC name typed into the editor keeps at most 12 bytes.
constexpr std::size_t kSecNameTypedWidth = 12;
// Geometry below this is no geometry (mm).
constexpr double kSmallestLength = 0.001;
// Tip angles below one degree mean "no tip".
constexpr double kSmallestTipAngle = 1.0;
constexpr double kDegree = 3.14159265358979323846 / 180.0;

std::string Fixed3(double v) {
  char text[48];
  std::snprintf(text, sizeof text, "%4.3f", v);
  return text;
}

std::string Number4(double v) {
  FormatNumber4(v);
  return " " + std::string(g_textBuffer);
}

std::string Int(const char* format, long long v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

void TipLengthFromAngle(ToolRecord& r) {
  const double half = r.tipAngle / 2.0 * kDegree;
  r.tipLength = static_cast<float>(Round3(r.diameter / 2.0 * std::cos(half) / std::sin(half)));
}

}  // namespace

double ParseDatabaseNumber(std::string_view text) {
  const std::string s(text.substr(0, kParseNumberMaxInput));
  const double v = std::fabs(ParseNumber(s.c_str()));
  if (!std::isfinite(v) || v > kLargestValue) return 0.0;
  return v;
}

bool StoreToolField(ToolRecord& r, int field, std::string_view text) {
  using namespace tool_field;
  if (text.empty()) return false;
  if (field == kSecName) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    std::string_view name = text.substr(start);
    const std::size_t blank = name.find(' ');  // 0x20 is never a second byte
    if (blank != std::string_view::npos) name = name.substr(0, blank);
    name = name.substr(0, platform::Cp932PrefixLength(name, kSecNameTypedWidth));
    platform::SetFieldText(r.secName, name);
    return true;
  }
  const double v = ParseDatabaseNumber(text);
  const auto whole = static_cast<std::int32_t>(v);
  switch (field) {
    case kDiameter: r.diameter = static_cast<float>(v); break;
    case kCornerRadius: r.cornerRadius = static_cast<float>(v); break;
    case kFlatRadius: r.flatRadius = static_cast<float>(v); break;
    case kTipAngle: r.tipAngle = static_cast<float>(v); break;
    case kTipLength: r.tipLength = static_cast<float>(v); break;
    case kSpindleSpeed: r.spindleSpeed = whole; break;
    case kFeed: r.feed = static_cast<float>(v); break;
    case kFixedCycle: r.fixedCycle = whole; break;
    case kQValue: r.qValue = static_cast<float>(v); break;
    case kPValue: r.pValue = static_cast<float>(v); break;
    case kMCode: r.mCode = whole; break;
    case kFluteLength: r.fluteLength = static_cast<float>(v); break;
    case kG84Twice: r.g84Twice = whole; break;
    case kTNumber: r.tNumber = whole; break;
    // 16-bit fields: 99999 does not fit and is taken as no code.
    case kHCode: r.hCode = static_cast<std::int16_t>(whole <= 32767 ? whole : 0); break;
    case kDCode: r.dCode = static_cast<std::int16_t>(whole <= 32767 ? whole : 0); break;
    case kCoolant: r.coolant = static_cast<std::int16_t>(whole <= 32767 ? whole : 0); break;
    default: return false;
  }
  ApplyToolFieldRules(r, field);
  return true;
}

void ApplyToolFieldRules(ToolRecord& r, int field) {
  using namespace tool_field;
  switch (field) {
    case kCornerRadius: {
      const double rest = r.diameter - 2.0 * r.cornerRadius;
      if (rest >= kSmallestLength) {
        r.flatRadius = static_cast<float>(rest / 2.0);
      } else {
        r.flatRadius = 0.0f;
        r.cornerRadius = r.diameter / 2.0f;
      }
      break;
    }
    case kFlatRadius: {
      const double rest = r.diameter - 2.0 * r.flatRadius;
      if (rest >= kSmallestLength) {
        r.cornerRadius = static_cast<float>(rest / 2.0);
      } else {
        r.cornerRadius = 0.0f;
        r.flatRadius = r.diameter / 2.0f;
      }
      break;
    }
    case kTipAngle:
      if (r.tipAngle >= kSmallestTipAngle) {
        r.cornerRadius = r.flatRadius = 0.0f;
        TipLengthFromAngle(r);
      } else {
        r.tipAngle = r.tipLength = 0.0f;
      }
      break;
    case kTipLength:
      if (r.tipLength >= kSmallestLength) {
        r.cornerRadius = r.flatRadius = 0.0f;
      } else {
        r.tipAngle = r.tipLength = 0.0f;
      }
      break;
    default:
      break;
  }
}

std::string ToolFieldText(const ToolRecord& r, int field) {
  using namespace tool_field;
  static const std::string kNoTip = "  ----";
  switch (field) {
    case kSecName: return platform::FieldText(r.secName);
    case kDiameter: return Fixed3(r.diameter);
    case kCornerRadius: return r.tipAngle > 0.0f || r.tipLength > 0.0f ? kNoTip : Fixed3(r.cornerRadius);
    case kFlatRadius: return r.tipAngle > 0.0f || r.tipLength > 0.0f ? kNoTip : Fixed3(r.flatRadius);
    case kTipAngle: return r.tipAngle > 0.0f ? Fixed3(r.tipAngle) : kNoTip;
    case kTipLength: return r.tipLength > 0.0f ? Fixed3(r.tipLength) : kNoTip;
    case kSpindleSpeed: return Int(" %5lld", std::llabs(r.spindleSpeed));
    case kFeed: return Number4(r.feed);
    case kFixedCycle: return Int("%4lld", r.fixedCycle);
    case kQValue: return Number4(r.qValue);
    case kPValue: return Number4(r.pValue);
    case kMCode: return Int(" %4lld", r.mCode);
    case kFluteLength: return Number4(r.fluteLength);
    case kG84Twice: return Int(" %lld", r.g84Twice);
    case kTNumber: return Int(" %lld", r.tNumber);
    case kHCode: return Int(" %4lld", r.hCode);
    case kDCode: return Int(" %4lld", r.dCode);
    case kCoolant: return Int(" %4lld", r.coolant);
    default: return {};
  }
}

int DeleteToolRecord(DocToolTable& table, int count, int index) {
  if (count <= 0 || index < 0 || index >= count) return count;
  for (int i = index; i < count && i + 1 < DocToolTable::kSlotCount; ++i) {
    CopyToolRecord(table.Record(i), table.Record(i + 1));
  }
  ClearToolRecord(table, count);
  return count - 1;
}

void SortToolRecords(DocToolTable& table, int count) {
  if (count < 2 || count + 2 >= DocToolTable::kSlotCount) return;
  const int scratch = count + 2;
  auto outOfOrder = [](const ToolRecord& a, const ToolRecord& b) {
    const int byName = std::strncmp(a.secName, b.secName, sizeof a.secName);
    return byName > 0 || (byName == 0 && a.diameter > b.diameter);
  };
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (!outOfOrder(table.Record(i), table.Record(i + 1))) continue;
      CopyToolRecord(table.Record(scratch), table.Record(i));
      CopyToolRecord(table.Record(i), table.Record(i + 1));
      CopyToolRecord(table.Record(i + 1), table.Record(scratch));
      swapped = true;
    }
  }
  ClearToolRecord(table, scratch);
}

void ConvertToolData(DocToolTable& table, int count, double feedFactor, double spindleFactor) {
  for (int i = 0; i < count; ++i) {
    ToolRecord& r = table.Record(i);
    r.feed = static_cast<float>(Round3(r.feed * feedFactor * 0.001) * 1000.0);
    const double s = Round3(r.spindleSpeed * spindleFactor * 0.001) * 1000.0;
    // s is a whole number up to the binary representation of 0.001 steps;
    // rounding keeps 1234 x 1.0 at 1234 where truncation could give 1233.
    r.spindleSpeed = static_cast<std::int32_t>(std::llround(s));
  }
}

}  // namespace dorn
