#include "kelto_dorn/document/undo.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/byte_stream.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/record_checks.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

UndoState g_undo;

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kEndMark = -1;
constexpr std::int32_t kSecondTableMark = static_cast<std::int32_t>(0xEEEEEEEEu);
// Curve figures are stored in whole-drawing snapshots with this added to
// their layer, apart from the layer figures.
constexpr std::int32_t kCurveLayerOffset = 800;
bool g_undoWriteReported = false;

FigureRecord Marker(std::int32_t kind) {
  FigureRecord r;
  r.kind = kind;
  return r;
}

// --- writing -----------------------------------------------------------------

// Beyond the figures: markers, origins, curve records and a few texts.
constexpr std::size_t kSnapshotRoomForTheRest = 256 * 1024;

void PutTable(ByteSink& out, int table, std::int32_t layerOffset = 0) {
  const FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return;
  if (layerOffset != 0) {
    for (int i = 0; i < t->count(); ++i) {
      FigureRecord r = t->slot(i);
      if (r.kind == kEndMark) continue;
      r.layer += layerOffset;
      out.Put(r);
    }
    return;
  }
  // Records go out as they stand: each stretch of a run between end marks
  // is copied in one piece.
  for (int first = 0; first < t->count();) {
    const int runEnd = std::min(t->count(), (first | (FigureTable::kRunSize - 1)) + 1);
    int end = first;
    while (end < runEnd && t->slot(end).kind != kEndMark) ++end;
    out.PutMany(&t->slot(first), static_cast<std::size_t>(end - first));
    first = end < runEnd ? end + 1 : runEnd;
  }
}

void PutTexts(ByteSink& out) {
  for (int i = 0; i < 3; ++i) g_textRecords[static_cast<std::size_t>(i)].layer = g_curLayer;
  for (const TextRecord& t : g_textRecords) {
    if (t.layer == kTextRecordFree) break;
    out.Put(t);
  }
  TextRecord end;
  end.layer = kEndMark;
  out.Put(end);
}

void PutOrigins(ByteSink& out) {
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    const std::int32_t pair[2] = {g_layerOriginIndex[l], g_originCount[l]};
    out.Put(pair);
    out.Put(g_originTable[l]);
  }
}

void PutCurves(ByteSink& out) {
  for (int i = 0; i < g_curveCount && i < kCurveTableSize; ++i) out.Put(g_curveTable[static_cast<std::size_t>(i)]);
  CurveRecord end;
  end.layer = kCurveEntryEmpty;
  out.Put(end);
}

std::size_t TableBytes(int table) {
  const FigureTable* t = g_figureStore.Table(table);
  return t == nullptr ? 0 : static_cast<std::size_t>(t->count()) * sizeof(FigureRecord);
}

// The figure tables are most of a snapshot: room for them up front keeps a
// big drawing's snapshot from being copied over and over as it grows.
std::size_t SnapshotFigureBytes(int kind, int table, int secondTable) {
  if (kind == kUndoKindTable || kind == kUndoKindTableCurves) {
    return TableBytes(table) + (secondTable != kNone ? TableBytes(secondTable) : 0) +
           (kind == kUndoKindTableCurves ? TableBytes(kTableCurves) : 0);
  }
  if (kind == kUndoKindCurves) return TableBytes(kTableCurves);
  std::size_t bytes = TableBytes(kTableCurves);
  for (int t = 0; t < kLayerCount; ++t) bytes += TableBytes(t);
  return bytes;
}

std::vector<std::uint8_t> BuildSnapshot(int kind, int table, int secondTable) {
  ByteSink out;
  out.Reserve(SnapshotFigureBytes(kind, table, secondTable) + kSnapshotRoomForTheRest);
  if (kind == kUndoKindTable || kind == kUndoKindTableCurves) {
    PutTable(out, table);
    if (secondTable != kNone) {
      out.Put(Marker(kSecondTableMark));
      PutTable(out, secondTable);
    }
    out.Put(Marker(kEndMark));
    PutTexts(out);
    PutOrigins(out);
    if (kind == kUndoKindTableCurves) {
      PutTable(out, kTableCurves);
      out.Put(Marker(kEndMark));
    }
  } else if (kind == kUndoKindCurves) {
    PutTable(out, kTableCurves);
    out.Put(Marker(kEndMark));
    PutCurves(out);
  } else {
    for (int t = 0; t < kLayerCount; ++t) PutTable(out, t);
    PutTable(out, kTableCurves, kCurveLayerOffset);
    out.Put(Marker(kEndMark));
    PutCurves(out);
    PutTexts(out);
    PutOrigins(out);
  }
  return std::move(out.bytes());
}

// --- reading -----------------------------------------------------------------

bool AppendTo(int table, const FigureRecord& r) {
  if (r.layer < 0 || r.layer >= kLayerCount || !IsFiniteFigure(r)) return true;  // skipped, not stored
  const int savedLayer = g_curLayer;
  g_figureTableSelector = table;
  g_curLayer = r.layer;
  g_curFigure = r;
  const bool ok = AppendFigure(0);
  g_curLayer = savedLayer;
  return ok;
}

// Appends records to `table` until the end or second-table mark; returns the
// mark that ended the run (kEndMark also for a short file).
std::int32_t TakeFigures(ByteSource& in, int table) {
  FigureRecord r;
  bool room = true;
  while (in.Take(r)) {
    if (r.kind == kEndMark || r.kind == kSecondTableMark) return r.kind;
    if (room) room = AppendTo(table, r);
  }
  return kEndMark;
}

void TakeWholeFigures(ByteSource& in) {
  FigureRecord r;
  while (in.Take(r)) {
    if (r.kind == kEndMark) return;
    if (r.layer >= kCurveLayerOffset) {
      r.layer -= kCurveLayerOffset;
      AppendTo(kTableCurves, r);
    } else {
      AppendTo(r.layer, r);
    }
  }
}

// Reads up to and including the -1 record, however full the list was, so the
// sections behind the texts start where they were written.
void TakeTexts(ByteSource& in) {
  for (TextRecord& t : g_textRecords) {
    t.layer = kTextRecordFree;
    t.text[0] = '\0';
  }
  std::size_t n = 0;
  TextRecord t;
  while (in.Take(t)) {
    if (t.layer == kEndMark) return;
    if (n >= g_textRecords.size() || !IsStorableTextLayer(t.layer) || !IsFiniteText(t)) continue;
    platform::TerminateField(t.text);
    g_textRecords[n++] = t;
  }
}

void TakeOrigins(ByteSource& in) {
  for (std::size_t l = 0; l < kLayerCount; ++l) {
    std::int32_t pair[2];
    std::array<Vec2, kOriginsPerLayer> origins;
    if (!in.Take(pair) || !in.Take(origins)) return;
    for (Vec2& o : origins) {
      if (!std::isfinite(o.x) || !std::isfinite(o.y)) o = Vec2{};
    }
    g_originTable[l] = origins;
    g_originCount[l] = std::clamp(pair[1], 1, kOriginsPerLayer);
    g_layerOriginIndex[l] = std::clamp(pair[0], 0, g_originCount[l] - 1);
  }
}

void TakeCurves(ByteSource& in) {
  ResetCurveTable();
  const int figures = GetFigureCount(kTableCurves);
  int n = 0;
  CurveRecord c;
  while (in.Take(c)) {
    if (c.layer == kCurveEntryEmpty) break;
    if (CurveFault(c, figures) != nullptr || n >= kCurveTableSize) continue;
    platform::TerminateField(c.name);
    g_curveTable[static_cast<std::size_t>(n++)] = c;
  }
  g_curveCount = n;
}

bool ValidTable(int table) { return g_figureStore.Table(table) != nullptr; }

void RestoreSnapshot(const UndoSlot& slot, ByteSource& in) {
  const int savedSelector = g_figureTableSelector;
  if (slot.kind == kUndoKindTable || slot.kind == kUndoKindTableCurves) {
    if (!ValidTable(slot.table)) return;
    ClearFigureTable(slot.table);
    if (TakeFigures(in, slot.table) == kSecondTableMark && ValidTable(slot.secondTable)) {
      ClearFigureTable(slot.secondTable);
      TakeFigures(in, slot.secondTable);
    }
    TakeTexts(in);
    TakeOrigins(in);
    if (slot.kind == kUndoKindTableCurves) {
      ClearFigureTable(kTableCurves);
      TakeFigures(in, kTableCurves);
    }
  } else if (slot.kind == kUndoKindCurves) {
    ClearFigureTable(kTableCurves);
    TakeFigures(in, kTableCurves);
    TakeCurves(in);
  } else if (slot.kind == kUndoKindWhole) {
    for (int t = 0; t < kLayerCount; ++t) ClearFigureTable(t);
    ClearFigureTable(kTableCurves);
    TakeWholeFigures(in);
    TakeCurves(in);
    TakeTexts(in);
    TakeOrigins(in);
  }
  g_figureTableSelector = savedSelector;
}

void DeleteSlotFile(UndoSlot& slot) {
  if (slot.fileName[0] != '\0') {
    std::error_code ec;
    fs::remove(UndoFilePath(slot), ec);
  }
  slot = UndoSlot{};
}

int KindOfType(int type) {
  switch (type) {
    case kUndoTypeTable:
      return kUndoKindTable;
    case kUndoTypeTableCurves:
      return kUndoKindTableCurves;
    case kUndoTypeCurves:
      return kUndoKindCurves;
    case kUndoTypeWhole:
      return kUndoKindWhole;
    default:
      return 0;
  }
}

// A full ring gives up its oldest snapshot.
void MakeRoom() {
  if (g_undo.position < kUndoSlotCount) return;
  DeleteSlotFile(g_undo.slots[0]);
  std::move(g_undo.slots.begin() + 1, g_undo.slots.end(), g_undo.slots.begin());
  g_undo.slots[kUndoSlotCount - 1] = UndoSlot{};
  g_undo.position = kUndoSlotCount - 1;
}

}  // namespace

fs::path UndoFilePath(const UndoSlot& slot) {
  return platform::ProgramFolder() / kBackupFolderName / platform::FieldText(slot.fileName);
}

int SnapshotForUndo(int type) {
  if (type < 0) {
    MakeRoom();
    return g_curLayer;
  }
  const int kind = KindOfType(type);
  if (kind == 0) return g_curLayer;
  g_undo.lastType = type;
  // Each editing command takes its snapshot before it stores: a store it
  // finds refused is told again, once.
  g_figureStore.full = false;
  const FigureRecord savedFigure = g_curFigure;
  const CurveRecord savedCurve = g_curCurveRecord;
  MakeRoom();
  // A new edit ends the redo branch: later snapshots belong to states that
  // can no longer be reached and must not be restored over this edit.
  for (int k = g_undo.position; k < kUndoSlotCount; ++k) DeleteSlotFile(g_undo.slots[static_cast<std::size_t>(k)]);
  UndoSlot& slot = g_undo.slots[static_cast<std::size_t>(g_undo.position)];
  slot.kind = kind;
  slot.serial = g_undo.serial;
  slot.table = g_figureTableSelector;
  slot.secondTable = kind == kUndoKindTable || kind == kUndoKindTableCurves ? g_undo.secondTable : kNone;
  std::snprintf(slot.fileName, sizeof slot.fileName, "undo%06d.udo", g_undo.serial % 1000000);
  g_undo.lastKind = kind;
  g_undo.lastTable = slot.table;
  g_undo.lastSecondTable = slot.secondTable;
  const std::vector<std::uint8_t> bytes = BuildSnapshot(kind, slot.table, slot.secondTable);
  const platform::FileResult r = platform::WriteFileAtomic(UndoFilePath(slot), bytes.data(), bytes.size());
  if (!r.ok() && !g_undoWriteReported) {
    g_undoWriteReported = true;  // once: every edit would show it again
    ReportFileFault(r);
  }
  ++g_undo.serial;
  ++g_undo.position;
  ++g_undo.redoState;
  g_curFigure = savedFigure;
  g_curCurveRecord = savedCurve;
  g_undoSaved = 1;
  return g_curLayer;
}

void RestoreUndoSnapshot(int step) {
  const FigureRecord savedFigure = g_curFigure;
  g_undo.position += step;
  std::vector<std::uint8_t> bytes;
  const bool inRing = g_undo.position >= 0 && g_undo.position < kUndoSlotCount;
  const UndoSlot slot = inRing ? g_undo.slots[static_cast<std::size_t>(g_undo.position)] : UndoSlot{};
  if (!inRing || slot.fileName[0] == '\0' || !platform::ReadWholeFile(UndoFilePath(slot), bytes).ok()) {
    g_undo.redoState = 0;
    if (step == 0) --g_undo.position;
    g_undo.position = std::clamp(g_undo.position, 0, kUndoSlotCount);
    return;
  }
  ByteSource in(bytes);
  RestoreSnapshot(slot, in);
  g_figureStore.full = false;
  EndPick(g_curCommand);
  g_curFigure = savedFigure;
  RedrawView();
}

void OnEditUndo() {
  if (g_undo.lastType == kUndoTypeNone) {
    g_undo.redoState = 1;
  } else if (g_undoSaved == 0) {
    // Keep the edited state, so that a redo can come back to it.
    SnapshotForUndo(g_undo.lastType);
    --g_undo.position;
    g_undo.redoState = kUndoTypeNone;
  }
  g_undo.lastType = kUndoTypeNone;
  if (g_undo.position > 0) RestoreUndoSnapshot(-1);
}

void OnEditRedo() {
  ++g_undo.position;
  RestoreUndoSnapshot(0);
}

int PurgeUndoSnapshots() {
  for (UndoSlot& slot : g_undo.slots) DeleteSlotFile(slot);
  g_undo = UndoState{};
  return 0;
}

}  // namespace dorn
