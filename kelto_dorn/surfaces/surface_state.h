#pragma once
// Program-wide state of the surfaces: the current record through which every
// surface is read and written, and the document's 256 surface slots (slot i
// is the i-th surface; SurfaceIndexTable in app_state.h names them).
// Defined in surface_state.cpp; ResetSurfaceState() returns it to zero.
#include <array>

#include "kelto_dorn/app/definition_index_record.h"
#include "kelto_dorn/surfaces/surface_definition.h"

namespace dorn {

extern SurfaceDefinition g_curSurface;
extern std::array<SurfaceDefinition, kSurfaceSlotCount> g_surfaceSlots;

void ResetSurfaceState();

// Resets g_curSurface to the reset record.
void ResetSurfaceRecord();

// Resets g_curSurface, clears SurfaceIndexTable (count, current slot, index
// in progress, every index record) and writes the reset record into all 256
// surface slots.
void ClearSurfaceTable();

}  // namespace dorn
