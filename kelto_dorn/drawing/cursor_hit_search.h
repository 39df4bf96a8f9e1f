#pragma once
// The search under the cursor that the view's pick states call: the figure
// (or a curve's IP point, an axis of the current origin, a side of the work
// box) that the pick state accepts, and the point to snap to near the cursor
// (an intersection, a circle centre, a start, end or middle point). What was
// found is reported in g_pickFoundIndex / g_pickFoundTable
// (drawing_state.h); a snapped point stays in g_curFigure (its origin plus
// its start point).
namespace dorn {

// The test mode of the point-group edit: only point-group figures count.
inline constexpr int kPickModePointGroup = 630;

// Scans the current figure table, then (in the point and curve pick states)
// table 90, the IP points of pockets, the axes of the current origin and the
// sides of the work box. True when something was found; the figure found is
// in the picked-figure slot and in g_curFigure.
bool PickFigureOrCurve(int mode);

// PickFiguresNearCursor's kinds.
inline constexpr int kSnapIntersectionOrCentre = 1;
inline constexpr int kSnapEndOrMiddle = 2;
// Looks for the point to snap to near g_pickPoint, with the snap tolerance
// (1.1 x 100 / scale, doubled or tripled by the pick aperture; the previous
// g_pickTolerance is restored on return). Returns 1 when a point was found.
int PickFiguresNearCursor(int kind);

// True when the point g_curFigure.origin + (dx, dy) lies within the pick
// tolerance of g_pickPoint; it then becomes g_curFigure's start point.
bool IsNearCursor(double dx, double dy);

}  // namespace dorn
