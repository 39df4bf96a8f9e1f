// Loading a drawing: reset, the ".MZF" figures, the ".KWD" (or older ".KWQ",
// ".KSE") sections in file order, "$TMG_FLG.@@@", and the fix-ups of the
// per-layer view values. A file that ends early ends the section it ends in,
// every later section stays as reset, and the load names that section; every
// record that does not fit its table is skipped and reported.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/document/byte_stream.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/figure_file_reader.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/document/record_checks.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/old_definition.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

// The next figure number lies this far above the highest one loaded.
constexpr int kFigureNumberGap = 257;
// Room kept above the next figure number for the figures still to be drawn;
// a loaded number higher than this can only come from a damaged file.
constexpr int kFigureNumberHeadroom = 1 << 24;
// Per-layer values that a damaged or old drawing may hold too small.
constexpr double kMinLayerValue = 1.0;
constexpr double kSmallGridReplacement = 50.0;
constexpr double kSmallScaleReplacement = 1.0;
constexpr double kMinJoinTolerance = 0.001;  // mm
constexpr std::size_t kOldDefinitionBytes = sizeof(MachiningDefinitionV1);
constexpr std::size_t kDefinitionBytes = sizeof(MachiningDefinition);
// Version 1 files hold 16 layers of records, origins and counters.
constexpr int kOldLayerCount = 16;

struct Loader {
  CKelDoc& document;
  DrawingLoadReport& report;
  void Fault(std::string text) { report.faults.push_back(std::move(text)); }
};

bool ReadFileBytes(const fs::path& path, std::vector<std::uint8_t>& bytes, Loader& loader) {
  const auto found = platform::FindExistingIgnoreCase(path);
  if (!found) return false;
  const platform::FileResult r = platform::ReadWholeFile(*found, bytes);
  if (!r.ok()) {
    loader.Fault(r.message);
    return false;
  }
  return true;
}

// --- ".MZF" -------------------------------------------------------------------

// Returns the highest figure number of the layer figures (0 when none).
int LoadFigures(const fs::path& path, Loader& loader) {
  const auto found = platform::FindExistingIgnoreCase(path);
  if (!found) return 0;
  const FigureFileResult r = ReadFigureFile(*found);
  loader.report.figuresFound = r.found;
  loader.report.figuresLoaded = r.loaded;
  if (!r.error.empty()) loader.Fault(r.error);
  if (r.endsInsideRecord) loader.Fault("the figure file ends inside a record");
  if (r.skipped != 0) {
    loader.Fault(std::to_string(r.skipped) +
                 " figures with a layer outside 1..32 or a value that is not a number were skipped");
  }
  return r.highestNumber;
}

// --- ".KWD" sections ----------------------------------------------------------

// A damaged field is repaired by itself; the rest of the header is taken.
void LoadHeader(ByteSource& in, const handover::DrawingHeader& opened, Loader& loader) {
  handover::DrawingHeader h;
  if (!in.Take(h)) return;
  for (const std::string& repaired : handover::RepairDrawingHeader(h)) loader.Fault("header: " + repaired);
  g_drawingHeader = h;
  // The names by which the drawing was opened win over those in the file.
  std::memcpy(g_drawingHeader.unitName, opened.unitName, sizeof opened.unitName);
  std::memcpy(g_drawingHeader.secondName, opened.secondName, sizeof opened.secondName);
  std::memcpy(g_drawingHeader.drawingName, opened.drawingName, sizeof opened.drawingName);
}

void LoadSurfaces(ByteSource& in, Loader& loader) {
  int n = 0;
  SurfaceDefinition s;
  while (in.Take(s)) {
    if (s.kind == 0) return;
    if (ZeroNonFiniteSurfaceValues(s)) {
      loader.Fault("surface " + std::to_string(n + 1) + ": values that were not numbers became 0");
    }
    if (n < kSurfaceSlotCount) {
      g_surfaceSlots[static_cast<std::size_t>(n++)] = s;
    } else if (n++ == kSurfaceSlotCount) {
      loader.Fault("more than 256 surfaces: the rest were skipped");
    }
  }
}

void LoadMachiningDefinitions(ByteSource& in, int version, Loader& loader) {
  const std::size_t size = version == 3 ? kDefinitionBytes : kOldDefinitionBytes;
  for (int n = 0;; ++n) {
    const std::span<const std::uint8_t> bytes = in.TakeBytes(size);
    if (bytes.empty()) return;
    std::int32_t kind = 0;
    std::memcpy(&kind, bytes.data(), sizeof kind);
    if (kind == 0) return;
    if (n < DefinitionSlots::kSlotCount) {
      LoadStoredDefinition(bytes, loader.document.definitions.Slot(n), loader.document.atc);
    } else if (n == DefinitionSlots::kSlotCount) {
      loader.Fault("more than 512 machining definitions: the rest were skipped");
    }
  }
}

void LoadCurves(ByteSource& in, Loader& loader) {
  const int figures = GetFigureCount(kTableCurves);
  int kept = 0;
  int dropped = 0;
  std::string first;  // why the first dropped curve was dropped
  CurveRecord c;
  // The entries and their terminator.
  for (int read = 0; read <= kCurveTableSize && in.Take(c); ++read) {
    if (c.layer == kCurveEntryEmpty) break;
    const char* why = kept < kCurveTableSize ? CurveFault(c, figures) : "the curve table is full";
    if (why != nullptr) {
      if (dropped++ == 0) first = "key " + std::to_string(c.key) + ": " + why;
      continue;
    }
    platform::TerminateField(c.name);
    g_curveTable[static_cast<std::size_t>(kept++)] = c;
  }
  g_curveCount = kept;
  g_curveFiguresEnd = kept == 0 ? 0 : g_curveTable[static_cast<std::size_t>(kept - 1)].end;
  if (dropped != 0) loader.Fault(std::to_string(dropped) + " curves were dropped (the first, " + first + ")");
}

template <typename Table>
void TrimIndexTable(Table& table) {
  for (int i = 0; i < table.count; ++i) {
    if (table.records[static_cast<std::size_t>(i)].key == 0) {
      table.count = i;
      return;
    }
  }
}

template <typename Table>
bool AddIndexRecord(Table& table, const DefinitionIndexRecord& r, int slots) {
  if (r.slot < 0 || r.slot >= slots || table.count >= slots) return false;
  table.records[static_cast<std::size_t>(table.count++)] = r;
  return true;
}

void LoadIndexRecords(ByteSource& in, Loader& loader) {
  g_surfaceIndexTable.count = 0;
  g_machiningIndexTable.count = 0;
  int skipped = 0;
  DefinitionIndexRecord r;
  while (in.Take(r)) {
    if (r.recordKind == kNone) break;
    platform::TerminateField(r.name);
    bool added = false;
    if (r.recordKind == kIndexRecordSurface) added = AddIndexRecord(g_surfaceIndexTable, r, kSurfaceSlotCount);
    if (r.recordKind == kIndexRecordMachining) added = AddIndexRecord(g_machiningIndexTable, r, kMachiningSlotCount);
    if (!added) ++skipped;
  }
  TrimIndexTable(g_surfaceIndexTable);
  TrimIndexTable(g_machiningIndexTable);
  if (skipped != 0) loader.Fault(std::to_string(skipped) + " definition names were skipped");
}

void LoadLayerRecords(ByteSource& in, int layers, Loader& loader) {
  for (int l = 0; l < layers; ++l) {
    LayerViewRecord r;
    if (!in.Take(r)) return;
    if (!std::isfinite(r.gridPitch) || !std::isfinite(r.centreX) || !std::isfinite(r.centreY) ||
        !std::isfinite(r.scale)) {
      loader.Fault("the view values of layer " + std::to_string(l + 1) + " are not numbers");
      continue;
    }
    g_layerViews[static_cast<std::size_t>(l)] = r;
  }
}

void LoadOrigins(ByteSource& in, int layers, Loader& loader) {
  for (int l = 0; l < layers; ++l) {
    auto& origins = g_originTable[static_cast<std::size_t>(l)];
    for (Vec2& o : origins) {
      Vec2 v;
      if (!in.Take(v)) return;
      if (!std::isfinite(v.x) || !std::isfinite(v.y)) {
        loader.Fault("an origin of layer " + std::to_string(l + 1) + " is not a number");
        v = Vec2{};
      }
      o = v;
    }
  }
}

void LoadOriginCounters(ByteSource& in, int layers, Loader& loader) {
  for (int l = 0; l < layers; ++l) {
    std::int32_t pair[2];
    if (!in.Take(pair)) return;
    const int count = std::clamp(pair[1], 1, kOriginsPerLayer);
    const int index = std::clamp(pair[0], 0, count - 1);
    if (count != pair[1] || index != pair[0]) {
      loader.Fault("the origin count or index of layer " + std::to_string(l + 1) + " was out of range");
    }
    g_originCount[static_cast<std::size_t>(l)] = count;
    g_layerOriginIndex[static_cast<std::size_t>(l)] = index;
  }
}

// Up to 24800 records with the end record among them; texts beyond the
// list's capacity are dropped and reported.
void LoadTexts(ByteSource& in, Loader& loader) {
  int n = 0;
  int skipped = 0;
  int beyond = 0;
  bool ended = false;
  TextRecord t;
  for (int read = 0; read < kTextRecordCount && in.Take(t); ++read) {
    if (t.layer == kNone) {
      ended = true;
      break;
    }
    if (!IsStorableTextLayer(t.layer) || !IsFiniteText(t)) {
      ++skipped;
    } else if (n >= kTextRecordCapacity) {
      ++beyond;
    } else {
      platform::TerminateField(t.text);
      g_textRecords[static_cast<std::size_t>(n++)] = t;
    }
  }
  // Drawings of an earlier build put the end record of a full list behind
  // the 24800 records; it is not a step record.
  std::int32_t next = 0;
  if (!ended && in.PeekInt(next) && next == kNone) in.Take(t);
  if (skipped != 0)
    loader.Fault(std::to_string(skipped) + " texts with a layer outside 1..32 or a damaged value were skipped");
  if (beyond != 0) {
    loader.Fault(std::to_string(beyond) + " texts beyond the text list's capacity of " +
                 std::to_string(kTextRecordCapacity) + " were dropped");
  }
}

// The machining order's items. The table is kept with its order and marks
// only when it still describes the loaded definitions; otherwise it is
// rebuilt the next time it is used.
void LoadOrderItems(ByteSource& in, CKelDoc& document) {
  OrderItem item;
  for (int i = 0; i < kMaxOrderItems && in.Take(item); ++i) {
    if (item.number == kOrderItemEnd) break;
    platform::TerminateField(item.name);
    g_orderItems[static_cast<std::size_t>(i)] = item;
  }
  const bool matches = OrderItemsMatchDefinitions(document.definitions);
  if (!matches) ResetOrderItems();
  MachiningOrderValid = matches ? kMachiningOrderUpToDate : 0;
}

}  // namespace

void LoadDefinitionBytes(CKelDoc& document, std::span<const std::uint8_t> bytes, int version,
                         DrawingLoadReport& report) {
  Loader loader{document, report};
  const handover::DrawingHeader opened = g_drawingHeader;
  const int layers = version == 1 ? kOldLayerCount : kLayerCount;
  ByteSource in(bytes);
  // A section that the file ends in ends there; the sections behind it stay
  // as reset rather than take bytes that were never theirs.
  auto section = [&](const char* name, auto load) {
    if (in.cut()) return;
    load();
    if (in.cut())
      loader.Fault(std::string("the definition file ends inside its ") + name + "; what follows is missing");
  };
  section("header", [&] { LoadHeader(in, opened, loader); });
  section("surfaces", [&] { LoadSurfaces(in, loader); });
  section("machining definitions", [&] { LoadMachiningDefinitions(in, version, loader); });
  section("curves", [&] { LoadCurves(in, loader); });
  section("definition names", [&] { LoadIndexRecords(in, loader); });
  section("layer records", [&] { LoadLayerRecords(in, layers, loader); });
  section("origins", [&] { LoadOrigins(in, layers, loader); });
  section("origin counters", [&] { LoadOriginCounters(in, layers, loader); });
  section("texts", [&] { LoadTexts(in, loader); });
  section("machining order", [&] { LoadOrderItems(in, document); });
}

namespace {

// The per-layer values into the view's arrays, the tolerance, the current
// layer from layer record 0.
void FinishLoading() {
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    LayerViewRecord& r = g_layerViews[l];
    if (r.gridPitch < kMinLayerValue) r.gridPitch = kSmallGridReplacement;
    if (r.scale < kMinLayerValue) r.scale = kSmallScaleReplacement;
    g_layerGridPitch[l] = r.gridPitch;
    g_layerOffsetX[l] = r.centreX;
    g_layerOffsetY[l] = r.centreY;
    g_layerScale[l] = r.scale;
  }
  if (!(std::fabs(g_joinTolerance) >= kMinJoinTolerance)) g_joinTolerance = kMinJoinTolerance;
  const int layer = g_layerViews[0].values[0];
  g_curLayer = layer >= 0 && layer < kLayerCount ? layer : 0;
  g_figureTableSelector = g_curLayer;
  g_drawingHeader.curOriginIndex = g_layerOriginIndex[static_cast<std::size_t>(g_curLayer)];
}

}  // namespace

DrawingLoadReport LoadDrawing(CKelDoc& document, const fs::path* base) {
  platform::WaitCursor wait;
  DrawingLoadReport report;
  Loader loader{document, report};
  TruncateMachiningOrder(0);
  g_drawingHeader.machiningOrderCount = 0;
  InitLayerDefaults();
  g_nextFigureNumber = 0;
  ResetDrawingForLoad(document);

  auto path = [&](const char* extension) {
    if (base == nullptr) return DrawingFilePath(extension);
    fs::path p = *base;
    p += extension;
    return p;
  };
  int highestNumber = 0;
  if (path(".MZF").empty()) {
    loader.Fault("the drawing has no usable unit, second name or drawing name");
  } else {
    highestNumber = LoadFigures(path(".MZF"), loader);
    ResetOrderItems();
    std::vector<std::uint8_t> bytes;
    static constexpr struct {
      const char* extension;
      int version;
    } kForms[] = {{".KWD", 3}, {".KWQ", 2}, {".KSE", 1}};
    for (const auto& form : kForms) {
      if (!ReadFileBytes(path(form.extension), bytes, loader)) continue;
      report.definitionVersion = form.version;
      LoadDefinitionBytes(document, bytes, form.version, report);
      break;
    }
  }
  // New figures are numbered well above every loaded one (257 above 0 for a
  // drawing without figures, clear of the curve-table number 90).
  if (highestNumber > std::numeric_limits<int>::max() - kFigureNumberGap - kFigureNumberHeadroom) {
    // Counting on from there would overflow; new figures start low again,
    // which at worst shares a number with a damaged figure.
    loader.Fault("figure numbers reach the top of their range; new figures are numbered from " +
                 std::to_string(kFigureNumberGap));
    highestNumber = 0;
  }
  g_nextFigureNumber = highestNumber + kFigureNumberGap;
  ClearFigureTablesBehindCounts();
  DisplayFlagRecord flags;
  if (platform::ReadRecord(platform::ProgramFolder() / kDisplayFlagFileName, flags).ok()) g_displayFlags = flags;
  UpdateDimensionArrowShape();
  FinishLoading();
  g_figureStore.full = false;
  if (!report.faults.empty()) {
    std::string text = "The drawing was loaded without its damaged parts:";
    for (const std::string& f : report.faults) text += "\n" + f;
    ReportFileFault(text);
  }
  return report;
}

}  // namespace dorn
