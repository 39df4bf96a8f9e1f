#include "kelto_dorn/machining/hole_shapes.h"

#include <algorithm>
#include <array>

#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {
namespace {

bool NamesCurve(const MachiningDefinition& d, std::int32_t key) {
  for (const CurveListItem& item : d.curves) {
    if (item.key == 0) return false;
    if (item.key == key) return true;
  }
  return false;
}

}  // namespace

void ForEachHoleDefinition(const DefinitionSlots& slots, int count, std::int32_t curveKey,
                           const HoleDefinitionVisit& visit) {
  if (curveKey == 0) return;
  const int n = std::clamp(count, 0, DefinitionSlots::kSlotCount);
  for (int slot = 0; slot < n; ++slot) {
    const MachiningDefinition& d = slots.Slot(slot);
    if (KindGroup(d.kind) != kHoleGroup || !NamesCurve(d, curveKey)) continue;
    std::array<HoleStepShape, kStepCount> shapes{};
    for (int s = 0; s < kStepCount; ++s) {
      const StepCondition& c = d.steps[s];
      HoleStepShape& h = shapes[static_cast<std::size_t>(s)];
      h.toolDiameter = d.stepTools[s].inUse != 0 ? std::max(0.0f, d.stepTools[s].diameter) : 0.0;
      h.ownDiameter = c.chamferSize;
      h.angle = c.chamferTipDiameter;
      h.upperZ = c.depth;
      h.lowerZ = c.endDepth;
      h.depth = c.endDepth - c.depth;
    }
    visit(d.kind, shapes.data(), kStepCount);
  }
}

}  // namespace dorn
