#pragma once
// The document's 512 machining definition slots. Slots 0 .. g_machiningCount-1
// are in use and packed; index record i of the machining index table describes
// slot i. Callers never keep pointers into the slots: a definition is copied
// into g_curMachiningDef and back by index.
#include <memory>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

class DocAtcTable;

class DefinitionSlots {
 public:
  static constexpr int kSlotCount = 512;

  DefinitionSlots();
  DefinitionSlots(const DefinitionSlots&) = delete;
  DefinitionSlots& operator=(const DefinitionSlots&) = delete;

  // Slot access; an index outside 0..511 is a broken invariant of the caller
  // and throws std::out_of_range.
  MachiningDefinition& Slot(int slot);
  const MachiningDefinition& Slot(int slot) const;

  // Makes every slot a copy of `record`. Each drawing load and reset does
  // this, almost always with the same reset record, so slots that nobody
  // reached for writing since the last fill with that record are not copied
  // again (8 MB a load otherwise).
  void FillAll(const MachiningDefinition& record);

 private:
  std::unique_ptr<MachiningDefinition[]> slots_;
  // Slots below writtenEnd_ may differ from lastFill_; the others hold it.
  int writtenEnd_ = kSlotCount;
  std::unique_ptr<MachiningDefinition> lastFill_;
};

// Copies g_curMachiningDef into `slot`. A slot outside 0..511 stores nothing,
// shows error 490 and gives false. A store changes the stored definitions, so
// the machining order is marked out of date.
bool PutMachiningDefinition(DefinitionSlots& slots, int slot);

// Copies `slot` into g_curMachiningDef. A slot outside 0..511 copies nothing
// and resets the working record instead (false).
bool GetMachiningDefinition(const DefinitionSlots& slots, int slot, DocAtcTable& atc);

}  // namespace dorn
