#pragma once
// The DRAW curves of a definition: figure-table entries 131-147 hold the
// keys of up to 17 extra curves, packed from 131 (a free slot's key is 0);
// entry 130 holds the contour-figure switch (10) and the OMIT-figure switch
// (20). The window-free rules of the DRAW_LINE dialog.
#include <span>
#include <vector>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

inline constexpr std::int32_t kDrawContourOn = 10;
inline constexpr std::int32_t kDrawOmitOn = 20;
inline constexpr int kDrawSlotCount = kLastDrawSlot - kFirstDrawSlot + 1;

// The used slots from 131 up to the first free one, never past 147. Line i
// of the DRAW list is slot 131 + i.
int UsedDrawSlots(const MachiningDefinition& d);
// The first free slot, or -1 when all 17 are used.
int FirstFreeDrawSlot(const MachiningDefinition& d);
// Clears the slots of the chosen list lines and closes the slots up in
// their order.
void DeleteDrawSlots(MachiningDefinition& d, std::span<const int> lines);
// RESET: entries 130-147 words 4-16 and the value cleared (switches off,
// slots free, OMIT contour stock 0).
void ResetDrawSlots(MachiningDefinition& d);

}  // namespace dorn
