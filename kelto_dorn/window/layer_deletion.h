#pragma once
// The deletion of the layers marked in the layer tiles (end of input, 33225):
// each marked layer's figures, its curves with their figures in table 90
// (later curves move up), its texts and dimensions and its origins.
#include <array>

#include "kelto_dorn/app/app_state.h"

namespace dorn {

// Empties the marked layers (marks[layer] != 0). The work box's size texts
// (records 0-2) stay: the work placement owns them.
void DeleteMarkedLayers(const std::array<int, kLayerCount>& marks);

}  // namespace dorn
