#pragma once
// Storing surfaces: the working record g_curSurface put into and got from the
// document's slots, a new surface's key and index record, and the register
// step that ends a surface definition. The current slot and the index of the
// surface in progress are those of g_surfaceIndexTable (app_state.h).
#include <cstdint>

namespace dorn {

// Copies g_curSurface into slot `slot`; a slot past the 256 stores nothing and
// shows error 480. False when nothing was stored.
bool PutSurface(int slot);
// Copies slot `slot` into g_curSurface; past the 256 the record is reset and
// error 480 shown. False then.
bool GetSurface(int slot);

// The key the next surface gets: 4000 for the first, else the last index
// record's key + 100, where a result above 7100 starts again at 4050.
std::int32_t NextSurfaceKey();

// Appends the index record of a new surface at position count: a new key, the
// current slot, the kind of g_curSurface and its default name ("WIRE_%d" ...;
// a kind without one gets none). g_curSurface takes the key. Nothing when the
// table is full.
void MakeSurfaceName();

// Ends a surface definition: a positive code stores g_curSurface into the
// current slot (a new surface, at the slot behind the last, is counted); 0 or
// less stores nothing. At 256 surfaces a new one is refused with error 480.
// Then the working record is reset and the record behind the last cleared.
// True when the surface was stored.
bool RegisterSurface(int code);

}  // namespace dorn
