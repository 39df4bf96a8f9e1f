// An undo snapshot file, fuzzed: a snapshot of the kind the first byte picks
// is taken of an empty drawing, its file is replaced by the rest of the
// input, and the undo restores it. A damaged snapshot must never crash or
// leave the store unusable.
#include <cstdint>
#include <span>

#include "kelto_dorn/document/undo.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::HeadlessGuard backend;
  dorn::CKelDoc& document = fuzz::DornDocument();
  dorn::ResetDrawing(document);
  dorn::PurgeUndoSnapshots();
  static constexpr int kTypes[] = {dorn::kUndoTypeTable, dorn::kUndoTypeTableCurves, dorn::kUndoTypeCurves,
                                   dorn::kUndoTypeWhole};
  dorn::SnapshotForUndo(kTypes[data[0] % 4]);
  const dorn::UndoSlot& slot = dorn::g_undo.slots[0];
  if (slot.fileName[0] == '\0') return 0;
  fuzz::WriteInput(dorn::UndoFilePath(slot), std::span(data + 1, size - 1));
  dorn::OnEditUndo();
  return 0;
}
