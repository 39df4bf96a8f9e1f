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

namespace dorn {

// The side panels of the helical (x 484-768, y 350-550, Z 0 on y 400) and
// deep hole (y 330-530, Z 0 on y 375) dialogs at one pixel per millimetre:
// the work block, the surface line, and the hole section (helical) or the
// tool from the R point to the depth (deep hole). `origin` shifts the
// dialog's pixels onto the control.
void DrawSingleHolePreview(platform::DeviceContext& dc, platform::Point origin, bool helical,
                           const MachiningDefinition& d);

}  // namespace dorn
