#include "kelto_dorn/machining/draw_slots.h"

namespace dorn {

int UsedDrawSlots(const MachiningDefinition& d) {
  int n = 0;
  while (n < kDrawSlotCount && d.figures[kFirstDrawSlot + n].figureKey > 0) ++n;
  return n;
}

int FirstFreeDrawSlot(const MachiningDefinition& d) {
  const int used = UsedDrawSlots(d);
  return used < kDrawSlotCount ? kFirstDrawSlot + used : -1;
}

void DeleteDrawSlots(MachiningDefinition& d, std::span<const int> lines) {
  const int used = UsedDrawSlots(d);
  for (const int line : lines) {
    if (line >= 0 && line < used) d.figures[kFirstDrawSlot + line].figureKey = 0;
  }
  int to = kFirstDrawSlot;
  for (int from = kFirstDrawSlot; from < kFirstDrawSlot + used; ++from) {
    const std::int32_t key = d.figures[from].figureKey;
    if (key == 0) continue;
    d.figures[from].figureKey = 0;
    d.figures[to++].figureKey = key;
  }
}

void ResetDrawSlots(MachiningDefinition& d) {
  for (int i = kDrawSwitchEntry; i <= kLastDrawSlot; ++i) {
    MachiningFigureEntry& e = d.figures[i];
    e.figureKey = e.word8 = e.word12 = e.word16 = 0;
    e.value = 0.0;
  }
}

}  // namespace dorn
