#pragma once
// The figure store: numbered figure tables of FigureRecords, the 56000
// segment blocks (the drawing commands' scratch records), and the operations
// that move figures between them and the one current record g_curFigure.
//
// Tables: 0-31 the layers, 32 a work table, 90 (also addressed as 91) the
// figures of the registered curves, 99 and 100 work tables. A table holds up
// to 239990 figures (an index i is valid only when i + 10 <= 240000). Records
// live in fixed runs that are allocated as a table grows and never move, so
// an index reaches its record in constant time and a table that is never
// filled never holds the full capacity in memory.
//
// Every access copies one whole record through g_curFigure; callers never
// keep pointers into the store.
#include <cstdint>
#include <memory>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"

namespace dorn {

inline constexpr int kFigureTableLimit = 240000;
// Slots 0..kFigureSlotLimit-1 are the valid indexes of a table.
inline constexpr int kFigureSlotLimit = kFigureTableLimit - 10;
inline constexpr int kSegmentBlockCount = 56000;

inline constexpr int kTableWork = 32;
inline constexpr int kTableCurves = 90;
inline constexpr int kTableCurvesAlias = 91;
inline constexpr int kTableImport = 99;
inline constexpr int kTableWork100 = 100;

// Initial capacities made at start-up.
inline constexpr int kLayerTableInitialCapacity = 1000;
inline constexpr int kWorkTableInitialCapacity = 2000;
// Growth step, and the free slots kept behind the count after a store
// (11 for table 32).
inline constexpr int kGrowthStep = 1000;
inline constexpr int kFreeSlotsKept = 100;
inline constexpr int kFreeSlotsKeptTable32 = 11;

// One figure table: records in runs of kRunSize that never move.
class FigureTable {
 public:
  static constexpr int kRunShift = 10;
  static constexpr int kRunSize = 1 << kRunShift;

  int capacity() const { return capacity_; }
  int count() const { return count_; }
  void set_count(int count) { count_ = count; }

  // The record of slot i; i must be below capacity().
  FigureRecord& slot(int i) { return runs_[static_cast<std::size_t>(i) >> kRunShift][i & (kRunSize - 1)]; }
  const FigureRecord& slot(int i) const { return runs_[static_cast<std::size_t>(i) >> kRunShift][i & (kRunSize - 1)]; }

  // Makes slots capacity()..to-1 usable, each with kind 0. Returns false when
  // a run could not be allocated; the capacity then ends at the last good slot.
  bool GrowTo(int to);
  // Frees every record (shutdown).
  void Release();

 private:
  std::vector<std::unique_ptr<FigureRecord[]>> runs_;
  int capacity_ = 0;
  int count_ = 0;
};

class FigureStore {
 public:
  // The table of a table number (91 is 90), or nullptr for a number that is
  // no table.
  FigureTable* Table(int table);
  FigureRecord* SegmentBlock(int i);

  // Start-up: 56000 segment blocks, tables 0-32 with room for 1000 and 90,
  // 99, 100 with room for 2000, all counts 0. Returns false when memory ran
  // out (reported through ShowErrorCode).
  bool Start();
  // Shutdown: every record and block is freed.
  void Release();
  bool started() const { return !segmentBlocks_.empty(); }

  // Set once the drawing-too-large box was shown for a refused store, so
  // that one command shows it once; start-up, loading, the CAD import and
  // every undo snapshot (each editing command takes one before it stores)
  // clear it.
  bool full = false;

 private:
  FigureTable layers_[33];  // 0-31 and 32
  FigureTable curves_;      // 90 and 91
  FigureTable import_;      // 99
  FigureTable work100_;     // 100
  std::vector<FigureRecord> segmentBlocks_;
};

// --- Tables through g_figureTableSelector and g_curFigure ------------------
// Copies figure i of the selected table into g_curFigure. Nothing happens for
// an index outside 0..239989 or beyond the allocated capacity, and for tables
// 90/91 and 99 also at or beyond the count. Layers, 32 and 100 return a stale
// (kind 0) record between count and capacity.
void GetFigure(int i);
// Stores g_curFigure as figure i of the selected table (see the table rules
// in the source). Returns false when the figure was not stored: an index
// outside 0..239989, or no room could be made.
bool PutFigure(int i);
// Appends g_curFigure at the count of the selected table; flag != 0 ORs
// g_figureAttribute into its attribute word. A full table refuses the figure
// (reported once through the drawing-too-large box) and keeps every stored
// figure. Returns false when refused.
bool AppendFigure(int flag);
// Removes figure i of the selected table, moving later records down. Nothing
// happens unless 0 <= i < count.
void DeleteFigure(int i);
// Makes slots from..to-1 of a table usable (kind 0). A table grows to its
// last valid slot at most (no box: only a refused store shows one); an
// allocation failure shows the table's number. Returns false when the table
// could not grow to `to`.
bool FigureStoreGrow(int table, int from, int to);
void ClearFigureTable(int table);
void DecrementFigureCount(int table, int n);
int GetFigureCount(int table);
// The largest group word (+8) over the figures of table 90; 0 when empty.
int MaxFigureField();

// Two-argument forms: the same on the given table, the selection restored.
void GetFigure(int table, int i);
bool PutFigure(int table, int i);

// --- The current record ----------------------------------------------------
void ClearCurrentFigure();
void SaveCurrentFigure();
void RestoreCurrentFigure();
void CopyCurrentFigureTo(FigureRecord& buffer);
void CopyCurrentFigureFrom(const FigureRecord& buffer);
void CopyFigureRecord(const FigureRecord& source, FigureRecord& target);

// --- Segment blocks (0..55999; an index outside does nothing) --------------
void StoreSegment(int i);
void LoadSegment(int i);
void CopySegment(int i, int j);
// Resets all 56000 blocks like ClearCurrentFigure, with the default colour of
// new segment blocks.
void ClearFigureList();

// --- Curve table -----------------------------------------------------------
void ClearCurveEntry(int i);
void ResetCurveTable();
void LoadCurveEntry(int i);
void StoreCurveEntry(int i);

// --- Text records ----------------------------------------------------------
void CopyTextRecords();
void CompactTextRecords();
// The texts of the list: the records before the first one whose layer is
// negative.
int TextRecordsInUse();
// True when n more texts fit the list's capacity (kTextRecordCapacity).
bool TextStoreHasRoom(int n = 1);
// Appends a text at the end of the list. Returns its record index, or -1
// when the list is full; nothing is changed then (the caller tells the user).
int AppendTextRecord(const TextRecord& record);

}  // namespace dorn
