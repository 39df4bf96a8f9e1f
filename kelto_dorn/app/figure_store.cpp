// The figure store: see figure_store.h.
#include "kelto_dorn/app/figure_store.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"

namespace dorn {

namespace {

// ClearFigureList resets only the segment blocks handed out since its last
// call (every write goes through SegmentBlock), as long as the cleared
// record it writes is the same; a command that used ten blocks then costs
// ten resets, not 56000.
int g_segmentsHandedOut = kSegmentBlockCount;
FigureRecord g_lastClearedSegment;
bool g_segmentsEverCleared = false;
// Blocks from here on have not been written since the last ClearFigureList
// that changed the cleared record: they hold it only once handed out
// (SegmentBlock writes it then). A new cleared record thus costs nothing
// until blocks are used, instead of a pass over all 56000 of them.
int g_segmentsWritten = kSegmentBlockCount;

}  // namespace

// --- FigureTable -------------------------------------------------------------

bool FigureTable::GrowTo(int to) {
  if (to <= capacity_) return true;
  const std::size_t runsNeeded = (static_cast<std::size_t>(to) + kRunSize - 1) >> kRunShift;
  while (runs_.size() < runsNeeded) {
    std::unique_ptr<FigureRecord[]> run(new (std::nothrow) FigureRecord[kRunSize]());
    if (!run) {
      capacity_ = std::max(capacity_, static_cast<int>(runs_.size()) << kRunShift);
      return false;
    }
    runs_.push_back(std::move(run));
  }
  for (int i = capacity_; i < to; ++i) slot(i).kind = kKindEmpty;
  capacity_ = to;
  return true;
}

void FigureTable::Release() {
  runs_.clear();
  runs_.shrink_to_fit();
  capacity_ = 0;
  count_ = 0;
}

// --- FigureStore -------------------------------------------------------------

FigureTable* FigureStore::Table(int table) {
  if (table >= 0 && table <= kTableWork) return &layers_[table];
  switch (table) {
    case kTableCurves:
    case kTableCurvesAlias:
      return &curves_;
    case kTableImport:
      return &import_;
    case kTableWork100:
      return &work100_;
    default:
      return nullptr;
  }
}

FigureRecord* FigureStore::SegmentBlock(int i) {
  if (i < 0 || i >= static_cast<int>(segmentBlocks_.size())) return nullptr;
  if (i >= g_segmentsHandedOut) {
    for (; g_segmentsWritten <= i; ++g_segmentsWritten)
      segmentBlocks_[static_cast<std::size_t>(g_segmentsWritten)] = g_lastClearedSegment;
    g_segmentsHandedOut = i + 1;
  }
  return &segmentBlocks_[static_cast<std::size_t>(i)];
}

bool FigureStore::Start() {
  Release();
  full = false;
  bool ok = true;
  try {
    segmentBlocks_.resize(kSegmentBlockCount);
  } catch (const std::bad_alloc&) {
    ShowErrorCode(kErrorSegmentBlocks);
    ok = false;
  }
  for (int t = 0; t <= kTableWork; ++t) ok = FigureStoreGrow(t, 0, kLayerTableInitialCapacity) && ok;
  for (int t : {kTableCurves, kTableImport, kTableWork100}) ok = FigureStoreGrow(t, 0, kWorkTableInitialCapacity) && ok;
  return ok;
}

void FigureStore::Release() {
  for (FigureTable& t : layers_) t.Release();
  curves_.Release();
  import_.Release();
  work100_.Release();
  segmentBlocks_.clear();
  segmentBlocks_.shrink_to_fit();
  g_segmentsHandedOut = kSegmentBlockCount;
  g_segmentsEverCleared = false;
  g_segmentsWritten = kSegmentBlockCount;
}

// --- Growth ------------------------------------------------------------------

namespace {

// Shows the drawing-too-large box for a refused store, once until the flag
// is cleared again (each command's undo snapshot clears it).
void ReportDrawingFull() {
  if (g_figureStore.full) return;
  ShowErrorCode(kErrorDrawingTooLarge);
  g_figureStore.full = true;
}

bool IsValidIndex(int i) { return i >= 0 && i < kFigureSlotLimit; }

// Grows a table by one step when fewer than `keep` free slots stay behind
// its count.
void KeepFreeSlots(int table, FigureTable& t, int keep) {
  if (t.capacity() < t.count() + keep) FigureStoreGrow(table, t.capacity(), t.capacity() + kGrowthStep);
}

// Makes slot i exist, growing in whole steps; false when it cannot.
bool EnsureSlot(int table, FigureTable& t, int i) {
  if (i < t.capacity()) return true;
  const int steps = (i + 1 - t.capacity() + kGrowthStep - 1) / kGrowthStep;
  FigureStoreGrow(table, t.capacity(), t.capacity() + steps * kGrowthStep);
  return i < t.capacity();
}

// Layers take their own number; every other table below 91 the current layer.
void ApplyLayerRule(int table) {
  if (table < 0 || table >= kTableCurvesAlias) return;
  g_curFigure.layer = table < kLayerCount ? table : g_curLayer;
}

// A refused store: the box is shown once, nothing stored is touched.
bool RefuseStore() {
  ReportDrawingFull();
  return false;
}

}  // namespace

bool FigureStoreGrow(int table, int from, int to) {
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return false;
  bool reachedLimit = false;
  if (to > kFigureSlotLimit) {
    // The table only grows to its last valid slot. Nothing is lost yet: the
    // free slots are still usable, and the store that finds none left is
    // refused and says so. Stored figures are never given up.
    to = kFigureSlotLimit;
    reachedLimit = true;
  }
  const int oldCapacity = t->capacity();
  if (!t->GrowTo(to)) {
    // The memory error names the table (91 is table 90).
    ShowErrorCode(table == kTableCurvesAlias ? kTableCurves : table);
    return false;
  }
  for (int i = std::max(from, 0); i < std::min(oldCapacity, to); ++i) t->slot(i).kind = kKindEmpty;
  return !reachedLimit;
}

// --- Access through the selector -----------------------------------------------

void GetFigure(int i) {
  const int table = g_figureTableSelector;
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr || !IsValidIndex(i) || i >= t->capacity()) return;
  const bool countChecked = table == kTableCurves || table == kTableCurvesAlias || table == kTableImport;
  if (countChecked && i >= t->count()) return;
  g_curFigure = t->slot(i);
}

bool PutFigure(int i) {
  const int table = g_figureTableSelector;
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr || !IsValidIndex(i)) return false;
  ApplyLayerRule(table);
  g_undoSaved = 0;

  if (table == kTableCurves || table == kTableCurvesAlias || table == kTableImport) {
    if (table == kTableImport) KeepFreeSlots(table, *t, kFreeSlotsKept);
    if (i < t->count()) {
      t->slot(i) = g_curFigure;
    } else {
      // Beyond the count the figure goes to the count.
      if (!EnsureSlot(table, *t, t->count())) return RefuseStore();
      t->slot(t->count()) = g_curFigure;
      t->set_count(t->count() + 1);
    }
    if (table != kTableImport) KeepFreeSlots(table, *t, kFreeSlotsKept);
    return true;
  }

  if (!EnsureSlot(table, *t, i)) return RefuseStore();
  t->slot(i) = g_curFigure;
  if (i >= t->count()) t->set_count(t->count() + 1);
  KeepFreeSlots(table, *t, table == kTableWork ? kFreeSlotsKeptTable32 : kFreeSlotsKept);
  return true;
}

bool AppendFigure(int flag) {
  const int table = g_figureTableSelector;
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return false;
  ApplyLayerRule(table);
  g_undoSaved = 0;
  if (flag != 0) g_curFigure.attribute |= g_figureAttribute;
  if (t->count() >= t->capacity() && !EnsureSlot(table, *t, t->count())) return RefuseStore();
  t->slot(t->count()) = g_curFigure;
  KeepFreeSlots(table, *t, kFreeSlotsKept);
  t->set_count(t->count() + 1);
  return true;
}

void DeleteFigure(int i) {
  FigureTable* t = g_figureStore.Table(g_figureTableSelector);
  // An index at or beyond the count removes nothing (it must not silently
  // drop the last figure).
  if (t == nullptr || i < 0 || i >= t->count()) return;
  for (int k = i + 1; k < t->count(); ++k) t->slot(k - 1) = t->slot(k);
  t->set_count(t->count() - 1);
}

void ClearFigureTable(int table) {
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return;
  t->set_count(0);
  for (int i = 0; i < t->capacity(); ++i) t->slot(i).kind = kKindEmpty;
}

void DecrementFigureCount(int table, int n) {
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return;
  // Never below 0, and never past the records that exist (a negative n).
  t->set_count(std::clamp(t->count() - n, 0, t->capacity()));
}

int GetFigureCount(int table) {
  const FigureTable* t = g_figureStore.Table(table);
  return t == nullptr ? 0 : t->count();
}

int MaxFigureField() {
  const FigureTable* t = g_figureStore.Table(kTableCurves);
  if (t == nullptr || t->count() == 0) return 0;
  int best = INT_MIN;
  for (int i = 0; i < t->count(); ++i) best = std::max(best, static_cast<int>(t->slot(i).group));
  return best;
}

void GetFigure(int table, int i) {
  const int saved = g_figureTableSelector;
  g_figureTableSelector = table;
  GetFigure(i);
  g_figureTableSelector = saved;
}

bool PutFigure(int table, int i) {
  const int saved = g_figureTableSelector;
  g_figureTableSelector = table;
  const bool stored = PutFigure(i);
  g_figureTableSelector = saved;
  return stored;
}

// --- The current record ------------------------------------------------------

namespace {

// A cleared record as new figures and blocks start: layer, style, colour,
// the current origin of the current layer and the default depth.
FigureRecord ClearedFigure(std::int32_t colourWord) {
  FigureRecord r;
  r.layer = g_curLayer;
  r.style = kNewFigureStyle;
  r.attribute = colourWord;
  r.origin = CurrentLayerOrigin();
  r.depth = NewFigureDepth();
  return r;
}

}  // namespace

void ClearCurrentFigure() { g_curFigure = ClearedFigure(DefaultFigureColour()); }
void SaveCurrentFigure() { g_savedFigure = g_curFigure; }
void RestoreCurrentFigure() { g_curFigure = g_savedFigure; }
void CopyCurrentFigureTo(FigureRecord& buffer) { buffer = g_curFigure; }
void CopyCurrentFigureFrom(const FigureRecord& buffer) { g_curFigure = buffer; }
void CopyFigureRecord(const FigureRecord& source, FigureRecord& target) { target = source; }

// --- Segment blocks ----------------------------------------------------------

void StoreSegment(int i) {
  if (FigureRecord* block = g_figureStore.SegmentBlock(i)) *block = g_curFigure;
}

void LoadSegment(int i) {
  if (const FigureRecord* block = g_figureStore.SegmentBlock(i)) g_curFigure = *block;
}

void CopySegment(int i, int j) {
  const FigureRecord* from = g_figureStore.SegmentBlock(i);
  FigureRecord* to = g_figureStore.SegmentBlock(j);
  if (from != nullptr && to != nullptr) *to = *from;
}

void ClearFigureList() {
  const FigureRecord cleared = ClearedFigure(DefaultSegmentColour());
  const bool same = g_segmentsEverCleared && std::memcmp(&cleared, &g_lastClearedSegment, sizeof cleared) == 0;
  if (same) {
    // Blocks not handed out since the last call still hold `cleared`.
    for (int i = 0; i < g_segmentsHandedOut; ++i) {
      if (FigureRecord* block = g_figureStore.SegmentBlock(i)) *block = cleared;
    }
  } else if (g_figureStore.started()) {
    // Every block is written with `cleared` when it is next handed out.
    g_segmentsWritten = 0;
  }
  g_lastClearedSegment = cleared;
  g_segmentsEverCleared = true;
  g_segmentsHandedOut = 0;
}

// --- Curve table -------------------------------------------------------------

void ClearCurveEntry(int i) {
  if (i < 0 || i >= kCurveTableSize) return;
  CurveRecord r;
  r.layer = kCurveEntryEmpty;
  r.colour = kCurveDefaultColour;
  r.topZ = r.endZ = NewFigureDepth();
  g_curveTable[static_cast<std::size_t>(i)] = r;
}

void ResetCurveTable() {
  g_curveCount = 0;
  g_curCurveIndex = 0;
  for (int i = 0; i < kCurveTableSize; ++i) ClearCurveEntry(i);
  LoadCurveEntry(0);
}

void LoadCurveEntry(int i) {
  if (i < 0 || i >= kCurveTableSize) return;
  g_curCurveRecord = g_curveTable[static_cast<std::size_t>(i)];
}

void StoreCurveEntry(int i) {
  if (i < 0 || i >= kCurveTableSize) return;
  g_curveTable[static_cast<std::size_t>(i)] = g_curCurveRecord;
}

// --- Text records ------------------------------------------------------------

void CopyTextRecords() { g_textRecordBank = g_textRecords; }

void CompactTextRecords() {
  for (std::size_t i = kFirstFreeTextRecord; i < g_textRecords.size(); ++i) {
    TextRecord& r = g_textRecords[i];
    r.layer = kTextRecordFree;
    r.colour = 0;
    r.group = 0;
    r.size = r.angle = r.baseX = r.baseY = r.originX = r.originY = 0.0f;
    r.text[0] = '\0';
  }
  std::size_t to = kFirstFreeTextRecord;
  for (std::size_t from = kFirstFreeTextRecord; from < g_textRecordBank.size(); ++from) {
    const TextRecord& r = g_textRecordBank[from];
    if (r.layer >= 0 && r.layer < kLayerCount) g_textRecords[to++] = r;
  }
}

int TextRecordsInUse() {
  int n = 0;
  while (n < kTextRecordCount && g_textRecords[static_cast<std::size_t>(n)].layer >= 0) ++n;
  return n;
}

bool TextStoreHasRoom(int n) { return n >= 0 && TextRecordsInUse() + n <= kTextRecordCapacity; }

int AppendTextRecord(const TextRecord& record) {
  const int at = TextRecordsInUse();
  if (at >= kTextRecordCapacity) return -1;
  g_textRecords[static_cast<std::size_t>(at)] = record;
  return at;
}

}  // namespace dorn
