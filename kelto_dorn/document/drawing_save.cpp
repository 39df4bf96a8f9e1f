// Saving a drawing: the origin clean-up, the ".MZF" figure file, the ".KWD"
// definition file, "$TMG_FLG.@@@" and the machining defaults, in this order.
// The two drawing files are a pair: both are built and checked in memory
// first, with the same checks the loader makes, and replace the old pair
// together or not at all.
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/byte_stream.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/record_checks.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/machining/definition_defaults.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

// A figure number of 90 on a layer is stored as 378: 90 marks the figures of
// table 90 in the file.
constexpr std::int32_t kCurveTableNumber = 90;
constexpr std::int32_t kLayerNumber90 = 378;

bool UsableName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

// The origins of layer `layer` that a figure of the layer or a curve figure
// on it uses.
void MarkUsedOrigins(int layer, const FigureTable& table, bool onlyThisLayer, bool (&used)[kOriginsPerLayer]) {
  const auto& origins = g_originTable[static_cast<std::size_t>(layer)];
  const int count = g_originCount[static_cast<std::size_t>(layer)];
  for (int i = 0; i < table.count(); ++i) {
    const FigureRecord& f = table.slot(i);
    if (onlyThisLayer && f.layer != layer) continue;
    for (int k = 1; k < count; ++k) {
      if (!used[k] && f.origin == origins[static_cast<std::size_t>(k)]) {
        used[k] = true;
        break;
      }
    }
  }
}

}  // namespace

fs::path DrawingFilePath(const char* extension) {
  const std::string unit = platform::FieldText(g_drawingHeader.unitName);
  const std::string second = platform::FieldText(g_drawingHeader.secondName);
  const std::string name = platform::FieldText(g_drawingHeader.drawingName);
  if (!UsableName(unit) || !UsableName(second) || !UsableName(name)) return {};
  return platform::ResolvePath(platform::DataRoot(), unit + "\\" + second + "\\SEG\\" + name + extension);
}

void CleanUpOrigins() {
  const FigureTable* curves = g_figureStore.Table(kTableCurves);
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const auto l = static_cast<std::size_t>(layer);
    int& count = g_originCount[l];
    if (count > kOriginsPerLayer) count = kOriginsPerLayer;
    bool used[kOriginsPerLayer] = {};
    if (const FigureTable* t = g_figureStore.Table(layer)) MarkUsedOrigins(layer, *t, false, used);
    if (curves != nullptr) MarkUsedOrigins(layer, *curves, true, used);
    auto& origins = g_originTable[l];
    int kept = 1;  // origin 0 is never removed
    for (int k = 1; k < count; ++k) {
      if (used[k]) origins[static_cast<std::size_t>(kept++)] = origins[static_cast<std::size_t>(k)];
    }
    for (int k = kept; k < count; ++k) origins[static_cast<std::size_t>(k)] = Vec2{};
    if (count > 0) count = kept;
    if (g_layerOriginIndex[l] >= count || g_layerOriginIndex[l] < 0) g_layerOriginIndex[l] = 0;
  }
}

std::vector<std::uint8_t> BuildFigureFile(std::string* fault) {
  const double depth =
      g_drawingHeader.globalZMode == handover::DrawingHeader::kGlobalZBottom ? g_drawingHeader.workSizeZ : 0.0;
  std::size_t total = 0;
  for (int t = 0; t < kLayerCount; ++t) total += static_cast<std::size_t>(GetFigureCount(t));
  total += static_cast<std::size_t>(GetFigureCount(kTableCurves));
  // Filled in place: one pass, no growth.
  std::vector<std::uint8_t> bytes(total * sizeof(FigureRecord));
  std::size_t at = 0;
  auto put = [&](const FigureRecord& r) {
    std::memcpy(bytes.data() + at, &r, sizeof r);
    at += sizeof r;
  };
  for (int t = 0; t < kLayerCount; ++t) {
    const FigureTable* table = g_figureStore.Table(t);
    for (int i = 0; i < table->count(); ++i) {
      FigureRecord r = table->slot(i);
      if (r.kind == kKindEmpty) continue;
      r.layer = t;
      r.depth = depth;
      if (r.number == kCurveTableNumber) r.number = kLayerNumber90;
      if (!IsFiniteFigure(r)) {
        *fault = "figure " + std::to_string(i + 1) + " of layer " + std::to_string(t + 1) +
                 " holds a value that is not a number";
        return {};
      }
      put(r);
    }
  }
  const FigureTable* curves = g_figureStore.Table(kTableCurves);
  for (int i = 0; i < curves->count(); ++i) {
    FigureRecord r = curves->slot(i);
    r.number = kCurveTableNumber;
    if (!IsStorableFigure(r)) {
      *fault = "curve figure " + std::to_string(i + 1) + " has a layer outside 1..32 or a value that is not a number";
      return {};
    }
    put(r);
  }
  bytes.resize(at);
  return bytes;
}

namespace {

// The record that ends the definition list: a reset definition (kind 0).
// Built from a zeroed record, so the bytes the reset leaves alone are 0 and
// the same drawing always saves the same file; the working record is kept.
void PutDefinitionEnd(ByteSink& out, DocAtcTable& atc) {
  auto working = std::make_unique<MachiningDefinition>();
  std::memcpy(static_cast<void*>(working.get()), &g_curMachiningDef, sizeof(MachiningDefinition));
  std::memset(static_cast<void*>(&g_curMachiningDef), 0, sizeof(MachiningDefinition));
  ResetMachiningRecord(atc);
  out.Put(g_curMachiningDef);
  std::memcpy(static_cast<void*>(&g_curMachiningDef), working.get(), sizeof(MachiningDefinition));
}

bool PutHeader(ByteSink& out, std::string* fault) {
  handover::DrawingHeader header = g_drawingHeader;
  header.fileListKind = 0;
  const std::vector<std::string> faults = handover::DrawingHeaderValueFaults(header);
  if (!faults.empty()) {
    *fault = "the drawing's " + faults.front();
    return false;
  }
  out.Put(header);
  return true;
}

bool PutDefinitions(ByteSink& out, CKelDoc& document, std::string* fault) {
  for (std::size_t i = 0; i < g_surfaceSlots.size(); ++i) {
    const SurfaceDefinition& s = g_surfaceSlots[i];
    if (s.kind == 0) break;
    if (!IsFiniteSurface(s)) {
      *fault = "surface " + std::to_string(i + 1) + " holds a value that is not a number";
      return false;
    }
    out.Put(s);
  }
  out.Put(ResetSurfaceDefinition());  // kind 0 ends the list
  for (int i = 0; i < DefinitionSlots::kSlotCount; ++i) {
    const MachiningDefinition& d = std::as_const(document.definitions).Slot(i);
    std::int32_t kind = 0;
    std::memcpy(&kind, &d, sizeof kind);
    if (kind == 0) break;
    out.Put(d);
  }
  PutDefinitionEnd(out, document.atc);
  return true;
}

template <typename Table>
bool PutIndexTable(ByteSink& out, const Table& table, std::int32_t recordKind, int slots, const char* what,
                   std::string* fault) {
  for (int i = 0; i < table.count && i < slots; ++i) {
    DefinitionIndexRecord r = table.records[static_cast<std::size_t>(i)];
    if (const char* why = IndexRecordFault(r, slots)) {
      *fault = std::string("the name of ") + what + " " + std::to_string(i + 1) + ": " + why;
      return false;
    }
    r.recordKind = recordKind;
    out.Put(r);
  }
  return true;
}

bool PutCurvesAndIndexes(ByteSink& out, std::string* fault) {
  const int curveFigures = GetFigureCount(kTableCurves);
  for (int i = 0; i < g_curveCount && i < kCurveTableSize; ++i) {
    const CurveRecord& c = g_curveTable[static_cast<std::size_t>(i)];
    if (c.layer == kCurveEntryEmpty) break;
    if (const char* why = CurveFault(c, curveFigures)) {
      *fault = "curve " + std::to_string(i + 1) + " (key " + std::to_string(c.key) + "): " + why;
      return false;
    }
    out.Put(c);
  }
  CurveRecord endCurve;
  endCurve.layer = kCurveEntryEmpty;
  out.Put(endCurve);
  if (!PutIndexTable(out, g_surfaceIndexTable, kIndexRecordSurface, kSurfaceSlotCount, "surface", fault) ||
      !PutIndexTable(out, g_machiningIndexTable, kIndexRecordMachining, kMachiningSlotCount, "machining definition",
                     fault)) {
    return false;
  }
  DefinitionIndexRecord endIndex;
  endIndex.recordKind = kNone;
  out.Put(endIndex);
  return true;
}

bool PutLayersAndOrigins(ByteSink& out, std::string* fault) {
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    LayerViewRecord r = g_layerViews[l];
    if (l == 0) r.values[0] = g_curLayer;  // layer record 0 carries the current layer
    r.gridPitch = g_layerGridPitch[l];
    r.centreX = g_layerOffsetX[l];
    r.centreY = g_layerOffsetY[l];
    r.scale = g_layerScale[l];
    if (!std::isfinite(r.gridPitch) || !std::isfinite(r.centreX) || !std::isfinite(r.centreY) ||
        !std::isfinite(r.scale)) {
      *fault = "the view values of layer " + std::to_string(l + 1) + " are not numbers";
      return false;
    }
    out.Put(r);
  }
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    for (const Vec2& o : g_originTable[l]) {
      if (!std::isfinite(o.x) || !std::isfinite(o.y)) {
        *fault = "an origin of layer " + std::to_string(l + 1) + " is not a number";
        return false;
      }
      out.Put(o);
    }
  }
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    const std::int32_t pair[2] = {g_layerOriginIndex[l], g_originCount[l]};
    out.Put(pair);
  }
  return true;
}

// The texts of the list, then the end record in the place the store keeps
// free for it, so the section never holds more than 24800 records.
bool PutTexts(ByteSink& out, std::string* fault) {
  for (int i = 0; i < 3; ++i) g_textRecords[static_cast<std::size_t>(i)].layer = g_curLayer;
  for (int i = 0; i < kTextRecordCount; ++i) {
    const TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    if (t.layer < 0) break;
    if (i >= kTextRecordCapacity) {
      *fault = "the text list holds more than " + std::to_string(kTextRecordCapacity) + " texts";
      return false;
    }
    if (t.layer >= kLayerCount) continue;
    TextRecord r = t;
    platform::TerminateField(r.text);
    if (!IsFiniteText(r)) {
      *fault = "text " + std::to_string(i + 1) + " holds a value that is not a number";
      return false;
    }
    out.Put(r);
  }
  TextRecord endText;
  endText.layer = kNone;
  out.Put(endText);
  return true;
}

void PutStepRecords(ByteSink& out) {
  for (const MachiningStepRecord& s : g_machiningStepRecords) {
    out.Put(s);
    if (s.first == kStepRecordUnused) break;
  }
}

}  // namespace

std::vector<std::uint8_t> BuildDefinitionFile(CKelDoc& document, std::string* fault) {
  ByteSink out;
  if (!PutHeader(out, fault) || !PutDefinitions(out, document, fault) || !PutCurvesAndIndexes(out, fault) ||
      !PutLayersAndOrigins(out, fault) || !PutTexts(out, fault)) {
    return {};
  }
  PutStepRecords(out);
  return std::move(out.bytes());
}

namespace {

// Builds both files and replaces the old pair with them, or leaves it as it
// was. Returns the failure, empty when both were written.
std::string WriteDrawingPair(CKelDoc& document, const fs::path& mzf, const fs::path& kwd) {
  std::string fault;
  const std::vector<std::uint8_t> figures = BuildFigureFile(&fault);
  if (!fault.empty()) return fault;
  const std::vector<std::uint8_t> definitions = BuildDefinitionFile(document, &fault);
  if (!fault.empty()) return fault;
  const platform::FileWrite pair[] = {{mzf, figures.data(), figures.size()},
                                      {kwd, definitions.data(), definitions.size()}};
  const platform::FileResult r = platform::WriteFilesTogether(pair);
  return r.ok() ? std::string() : r.message;
}

// Every failure of one save is shown in one box.
bool SaveBoth(CKelDoc& document, const fs::path& mzf, const fs::path& kwd) {
  platform::WaitCursor wait;
  CleanUpOrigins();
  std::string faults;
  const std::string pair = WriteDrawingPair(document, mzf, kwd);
  if (!pair.empty()) {
    faults = "The drawing was not saved; its files were left as they were:\n" + pair;
  }
  const platform::FileResult t =
      platform::WriteRecord(platform::ProgramFolder() / kDisplayFlagFileName, g_displayFlags);
  if (!t.ok()) faults += (faults.empty() ? "" : "\n") + t.message;
  const platform::FileResult d = WriteMachiningDefaults();
  if (!d.ok()) faults += (faults.empty() ? "" : "\n") + d.message;
  if (!faults.empty()) ReportFileFault(faults);
  return pair.empty() && t.ok() && d.ok();
}

}  // namespace

bool SaveDrawing(CKelDoc& document) {
  const fs::path mzf = DrawingFilePath(".MZF");
  if (mzf.empty()) {
    ReportFileFault("the drawing has no usable unit, second name or drawing name: not saved");
    return false;
  }
  return SaveBoth(document, mzf, DrawingFilePath(".KWD"));
}

bool SaveDrawingTo(CKelDoc& document, const fs::path& base) {
  fs::path mzf = base;
  fs::path kwd = base;
  mzf += ".MZF";
  kwd += ".KWD";
  return SaveBoth(document, mzf, kwd);
}

}  // namespace dorn
