#pragma once
// The hole definitions as the drawing paints them on their hole figures:
// for a curve key, every stored hole definition (0xB000 kinds) whose curve
// list names it, with the tool diameter, the helical hole diameter (112) and
// slope (96), and the upper and lower Z (40 / 48) of each step.
#include <cstdint>
#include <functional>

#include "kelto_dorn/app/drawing_hooks.h"

namespace dorn {

class DefinitionSlots;

using HoleDefinitionVisit = std::function<void(int machiningKind, const HoleStepShape* steps, int count)>;

// Visits the stored definitions 0 .. count-1 that machine curve `curveKey`.
void ForEachHoleDefinition(const DefinitionSlots& slots, int count, std::int32_t curveKey,
                           const HoleDefinitionVisit& visit);

}  // namespace dorn
