#pragma once
// The points of a point-group curve while it is edited: they stand in the
// work blocks from 20 on (19 holds the picked figure of the curve), are drawn
// over the drawing and picked one at a time to be replaced or deleted.
#include "platform/device_context.h"

namespace dorn {

inline constexpr int kFirstWorkPointBlock = 20;

// Draws work blocks 20 .. g_workCount - 1 in `colour`, or with colour 0 in
// the colour of the first of them.
void DrawWorkFigures(int colour, platform::DeviceContext& dc);

// The work point under g_pickPoint within `tolerance`: its block index; -1
// with fewer than 21 work blocks or none that is a point with a tangent
// (kind low byte 84); 0 when there are such points but none is hit.
int PickPolylineWorkFigure(double tolerance);

// The steps of the point-group edits in the figure engine: 650 replaces the
// picked point (a point, then its tangent angle) and 660 deletes it; both
// rebuild the curve and wait for the next point; 32821 is the point input
// of a new curve. -1 for any other kind.
int RunPointGroupCommand(int kind);

}  // namespace dorn
