#pragma once
// Resets that give a new drawing, a new curve and the layers their starting
// values, and the lookups by key. (The machining definition's resets live
// with the machining definitions, the surface record's with the surfaces.)
#include <cstdint>

namespace dorn {

// Every layer gets one origin, current origin index 0, and all 64 origins of
// all 32 layers become (0, 0).
void InitLayerTables();

// The per-layer view records (marker 2842, scale 50, centre 0, grid pitch
// 9999 unless already positive), figure table and current layer 0, the
// origins, the view and import settings and the dimension style defaults.
void InitLayerDefaults();

// g_curCurveRecord becomes a new curve of the current layer: colour 6, TOP Z
// g_globalZ in the 9999 mode else 0, every other field 0 and the name empty.
void ResetCurrentCurve();

// The index of the first curve (within g_curveCount) with that key, else
// 0xFFFF.
int FindCurveByKey(std::int32_t key);

// The index of the first record of SurfaceIndexTable (within its count) with
// that key, else 0xFFFF.
int FindSurfaceByKey(std::int32_t key);

// Clears the index records of a definition index table: record kind, key,
// slot, kind code and the first 52 bytes of the name; sets its count and the
// two further counters to 0.
template <typename Table>
void ClearDefinitionIndexTable(Table& table);

}  // namespace dorn

#include "kelto_dorn/app/record_resets_inl.h"
