#pragma once
// The side view of a hole definition's tools in the hole dialog: the work
// block, the machining surface and each step's tool outline from the R point
// down to its depth, coloured by how much blade is left. Drawn in the
// panel's coordinates (the dialog's pixels x 330-497, y 52-267), shifted by
// `origin` onto the control.
#include "kelto_dorn/machining/machining_definition.h"
#include "platform/device_context.h"

namespace dorn {

void DrawHolePreview(platform::DeviceContext& dc, platform::Point origin, int scale, const MachiningDefinition& d);

}  // namespace dorn
