#pragma once
// What the definition flow asks of neighbours that are not in the program
// yet: the surface list and the Z prompt of the surfaces, and the screw's
// surface choices. Each answers "nothing chosen", so a command that needs one
// ends without starting a definition.
#include <array>

namespace dorn {

// The mode word the caller sets just before SelectSurfaces (which surface
// kinds the list offers); the list sets it back to 0.
inline int SurfaceListFilter = 0;
// The surface list: the chosen surfaces' index entries, the rest 0xFFFF; the
// first entry 0xFFFF when nothing was chosen.
std::array<int, 1024> SelectSurfaces();
// Asks a Z value for the working surface; leaves it as it is.
void PromptZValue(int mode);
// The screw's base and pocket surfaces; false when not chosen.
bool PickScrewBaseSurface();
bool PickScrewPocketSurface();

}  // namespace dorn
