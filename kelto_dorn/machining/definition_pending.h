#pragma once
// What the definition flow asks of neighbours that are not in the program
// yet: the surface list and the Z prompt of the surfaces, the screw's surface
// choices, capsule machining and the definition list. Each answers "nothing
// chosen", so a command that needs one ends without starting a definition.
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
// Applies a capsule to picked drawings; 0 when nothing was applied.
int ApplyCapsule();
// The definition list with its action; 0 when it closed without a choice.
int RunDefinitionList(int action);

}  // namespace dorn
