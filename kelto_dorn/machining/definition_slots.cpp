#include "kelto_dorn/machining/definition_slots.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"

namespace dorn {

DefinitionSlots::DefinitionSlots() : slots_(new MachiningDefinition[kSlotCount]()) {}

MachiningDefinition& DefinitionSlots::Slot(int slot) {
  MachiningDefinition& record = const_cast<MachiningDefinition&>(static_cast<const DefinitionSlots&>(*this).Slot(slot));
  writtenEnd_ = std::max(writtenEnd_, slot + 1);  // a writable reference may be written through
  return record;
}

void DefinitionSlots::FillAll(const MachiningDefinition& record) {
  const bool sameRecord = lastFill_ && std::memcmp(lastFill_.get(), &record, sizeof record) == 0;
  const int end = sameRecord ? writtenEnd_ : kSlotCount;
  for (int slot = 0; slot < end; ++slot) std::memcpy(&slots_[slot], &record, sizeof record);
  if (!lastFill_) lastFill_ = std::make_unique<MachiningDefinition>();
  std::memcpy(lastFill_.get(), &record, sizeof record);
  writtenEnd_ = 0;
}

const MachiningDefinition& DefinitionSlots::Slot(int slot) const {
  if (slot < 0 || slot >= kSlotCount) {
    throw std::out_of_range("DefinitionSlots: slot " + std::to_string(slot) + " outside 0..511");
  }
  return slots_[slot];
}

bool PutMachiningDefinition(DefinitionSlots& slots, int slot) {
  if (slot < 0 || slot >= DefinitionSlots::kSlotCount) {
    ShowErrorCode(kErrorMachiningFull);
    return false;
  }
  std::memcpy(&slots.Slot(slot), &g_curMachiningDef, sizeof(MachiningDefinition));
  MachiningOrderValid = 0;
  return true;
}

bool GetMachiningDefinition(const DefinitionSlots& slots, int slot, DocAtcTable& atc) {
  if (slot < 0 || slot >= DefinitionSlots::kSlotCount) {
    ResetMachiningRecord(atc);
    return false;
  }
  std::memcpy(&g_curMachiningDef, &slots.Slot(slot), sizeof(MachiningDefinition));
  return true;
}

}  // namespace dorn
