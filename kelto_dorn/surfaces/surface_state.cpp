// Surface state and its resets: see surface_state.h.
#include "kelto_dorn/surfaces/surface_state.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"

namespace dorn {

SurfaceDefinition g_curSurface;
std::array<SurfaceDefinition, kSurfaceSlotCount> g_surfaceSlots{};

SurfaceDefinition ResetSurfaceDefinition() {
  SurfaceDefinition s;
  for (std::int32_t& k : s.curvesA) k = kNoCurveKey;
  for (std::int32_t& k : s.curvesB) k = kNoCurveKey;
  return s;
}

void ResetSurfaceState() {
  g_curSurface = SurfaceDefinition{};
  g_surfaceSlots.fill(SurfaceDefinition{});
}

void ResetSurfaceRecord() { g_curSurface = ResetSurfaceDefinition(); }

void ClearSurfaceTable() {
  ResetSurfaceRecord();
  ClearDefinitionIndexTable(g_surfaceIndexTable);
  g_surfaceSlots.fill(g_curSurface);
}

}  // namespace dorn
