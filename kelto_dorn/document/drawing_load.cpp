// Loading a drawing: reset, the ".MZF" figures, the ".KWD" (or older ".KWQ",
// ".KSE") sections in file order, "$TMG_FLG.@@@", and the fix-ups of the
// per-layer view values. Each section ends early on a short file; every
// record that does not fit its table is skipped and reported.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/byte_stream.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/figure_file_reader.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/document/pending_services.h"
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
// A curve spanning this many figures or more is taken as damaged.
constexpr int kCurveFigureLimit = 56000;
// Per-layer values that a damaged or old drawing may hold too small.
constexpr double kMinLayerValue = 1.0;
constexpr double kSmallGridReplacement = 50.0;
constexpr double kSmallScaleReplacement = 1.0;
constexpr double kMinJoinTolerance = 0.001;  // mm
constexpr std::size_t kOldDefinitionBytes = sizeof(MachiningDefinitionV1);
constexpr std::size_t kDefinitionBytes = sizeof(MachiningDefinition);

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

void LoadFigures(const fs::path& path, Loader& loader) {
  const auto found = platform::FindExistingIgnoreCase(path);
  if (!found) return;
  const FigureFileResult r = ReadFigureFile(*found);
  loader.report.figuresFound = r.found;
  loader.report.figuresLoaded = r.loaded;
  if (!r.error.empty()) loader.Fault(r.error);
  if (r.endsInsideRecord) loader.Fault("the figure file ends inside a record");
  if (r.skipped != 0) {
    loader.Fault(std::to_string(r.skipped) +
                 " figures with a layer outside 1..32 or a value that is not a number were skipped");
  }
  g_nextFigureNumber = r.highestNumber + kFigureNumberGap;
}

// --- ".KWD" sections ----------------------------------------------------------

void LoadHeader(ByteSource& in, const handover::DrawingHeader& opened, Loader& loader) {
  handover::DrawingHeader h;
  if (!in.Take(h)) {
    loader.Fault("the definition file is shorter than its header");
    return;
  }
  if (std::string fault = handover::CheckDrawingHeader(h); !fault.empty()) {
    loader.Fault("header: " + fault);
  } else {
    g_drawingHeader = h;
  }
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
  int n = 0;
  std::int32_t kind = 0;
  while (in.PeekInt(kind)) {
    const std::span<const std::uint8_t> bytes = in.TakeBytes(size);
    if (bytes.empty() || kind == 0) return;
    if (n < DefinitionSlots::kSlotCount) {
      LoadStoredDefinition(bytes, loader.document.definitions.Slot(n), loader.document.atc);
    } else if (n == DefinitionSlots::kSlotCount) {
      loader.Fault("more than 512 machining definitions: the rest were skipped");
    }
    ++n;
  }
}

void LoadCurves(ByteSource& in, Loader& loader) {
  const int figures = GetFigureCount(kTableCurves);
  int kept = 0;
  int dropped = 0;
  CurveRecord c;
  // The entries and their terminator.
  for (int read = 0; read <= kCurveTableSize && in.Take(c); ++read) {
    if (c.layer == kCurveEntryEmpty) break;
    const bool sound = c.layer >= 0 && c.layer < kLayerCount && c.first >= 0 && c.first < c.end &&
                       c.end - c.first < kCurveFigureLimit && c.end <= figures && IsFiniteCurve(c);
    if (!sound || kept >= kCurveTableSize) {
      ++dropped;
      continue;
    }
    platform::TerminateField(c.name);
    g_curveTable[static_cast<std::size_t>(kept++)] = c;
  }
  g_curveCount = kept;
  g_curveFiguresEnd = kept == 0 ? 0 : g_curveTable[static_cast<std::size_t>(kept - 1)].end;
  if (dropped != 0) loader.Fault(std::to_string(dropped) + " curves with a damaged figure range were dropped");
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

void LoadLayersAndOrigins(ByteSource& in, int layers, Loader& loader) {
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

void LoadTexts(ByteSource& in, Loader& loader) {
  int n = 0;
  int skipped = 0;
  TextRecord t;
  for (int read = 0; read < kTextRecordCount && in.Take(t); ++read) {
    if (t.layer == kNone) break;
    if (!IsStorableTextLayer(t.layer) || !IsFiniteText(t)) {
      ++skipped;
      continue;
    }
    platform::TerminateField(t.text);
    g_textRecords[static_cast<std::size_t>(n++)] = t;
  }
  if (skipped != 0)
    loader.Fault(std::to_string(skipped) + " texts with a layer outside 1..32 or a damaged value were skipped");
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

void LoadDefinitionFile(const std::vector<std::uint8_t>& bytes, int version, const handover::DrawingHeader& opened,
                        Loader& loader, CKelDoc& document) {
  ByteSource in(bytes);
  LoadHeader(in, opened, loader);
  LoadSurfaces(in, loader);
  LoadMachiningDefinitions(in, version, loader);
  LoadCurves(in, loader);
  LoadIndexRecords(in, loader);
  constexpr int kOldLayerCount = 16;
  LoadLayersAndOrigins(in, version == 1 ? kOldLayerCount : kLayerCount, loader);
  LoadTexts(in, loader);
  LoadOrderItems(in, document);
}

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
  if (path(".MZF").empty()) {
    loader.Fault("the drawing has no usable unit, second name or drawing name");
  } else {
    LoadFigures(path(".MZF"), loader);
    const handover::DrawingHeader opened = g_drawingHeader;
    ResetOrderItems();
    std::vector<std::uint8_t> bytes;
    static constexpr struct {
      const char* extension;
      int version;
    } kForms[] = {{".KWD", 3}, {".KWQ", 2}, {".KSE", 1}};
    for (const auto& form : kForms) {
      if (!ReadFileBytes(path(form.extension), bytes, loader)) continue;
      report.definitionVersion = form.version;
      LoadDefinitionFile(bytes, form.version, opened, loader, document);
      break;
    }
  }
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
