#pragma once
// The registering steps of the curve commands that build a new curve from
// figures of the drawing: the automatic connection of touching lines and
// arcs (plain curves, pockets and taper contours) and the join of figures
// picked one after another.
#include "platform/device_context.h"

namespace dorn {

// Chains from the figure the last pick found (now work block 0): every line
// or arc of the current figure table with the same origin whose end touches
// the free end of the chain is appended, oriented to follow it, until the
// chain closes or nothing more touches. Collinear overlapping figures merge
// into the chain's last figure. Stops with error box 4 when the work list
// would overflow (what was chained stays) and when Esc raised g_abortCount
// above 1. Returns the number of work figures.
int AutoConnectChain(platform::DeviceContext* dc);

// Step 1 of 32905, 33126 and 33127 (by g_curveCommandId): chains the
// picked figure, evaluates it where the command asks for it, and registers
// it as a new curve, continuing with its start and end points (32905), the
// next pocket (continuous mode) or the taper figures.
void RegisterAutoConnectedCurve(platform::DeviceContext* dc);

// Step 1 of the join (32907, and 32910 on a marked curve that is no
// hole-point curve): the figures picked into blocks 5.. are registered as a
// new curve, or appended to the marked curve.
void RegisterJoinedCurve(platform::DeviceContext* dc);

// The work list (blocks 0..g_workCount-1: the curve's own figures and the
// ones added) registered again in place of curve `curve`, which keeps its
// key, as machining definitions name a curve by it; the curves behind are
// packed again. False, with nothing packed, when refused or cancelled.
bool ReregisterCurveInPlace(int curve, platform::DeviceContext* dc);

}  // namespace dorn
