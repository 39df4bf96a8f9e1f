#pragma once
// Undo and redo through snapshot files "undo%06d.udo" in the program folder's
// "_BAK": before an editing command changes the store it writes what it is
// about to change (one or two figure tables with the texts and origins, also
// the curve figures, the curves, or the whole drawing). A ring of 48 slots
// keeps the newest snapshots; the serial number in the file name only grows.
#include <array>
#include <cstdint>
#include <filesystem>

namespace dorn {

inline constexpr int kUndoSlotCount = 48;
inline constexpr int kUndoTypeNone = 76250099;

// Snapshot types and the kinds of the files they write.
inline constexpr int kUndoTypeTable = 0;        // kind 100
inline constexpr int kUndoTypeTableCurves = 1;  // kind 103
inline constexpr int kUndoTypeCurves = 3;       // kind 200
inline constexpr int kUndoTypeWhole = 8;        // kind 800
inline constexpr int kUndoKindTable = 100;
inline constexpr int kUndoKindTableCurves = 103;
inline constexpr int kUndoKindCurves = 200;
inline constexpr int kUndoKindWhole = 800;

struct UndoSlot {
  int kind = 0;
  int serial = 0;
  int table = 0;
  int secondTable = 0xFFFF;
  char fileName[16] = {};
};

struct UndoState {
  int lastKind = 0;
  int lastTable = 0;
  int lastSecondTable = 0xFFFF;
  // The second table of the next type-0 snapshot; 0xFFFF none (set by the
  // editing commands that change two tables).
  int secondTable = 0xFFFF;
  int redoState = 0;
  int lastType = kUndoTypeNone;
  int position = 0;  // the slot the next snapshot takes, 0..48
  int serial = 0;
  std::array<UndoSlot, kUndoSlotCount> slots{};
};

extern UndoState g_undo;

// Writes a snapshot of the given type before an edit; a negative type only
// moves the ring. A new snapshot ends the redo branch: the snapshots after
// it are deleted. Returns the current layer.
int SnapshotForUndo(int type);
// Moves the position by step and restores the slot's snapshot; a missing
// file ends quietly (a redo then keeps its position).
void RestoreUndoSnapshot(int step);
void OnEditUndo();
void OnEditRedo();
// Deletes every snapshot file and clears the ring. Returns 0.
int PurgeUndoSnapshots();

// The file of a slot.
std::filesystem::path UndoFilePath(const UndoSlot& slot);

}  // namespace dorn
