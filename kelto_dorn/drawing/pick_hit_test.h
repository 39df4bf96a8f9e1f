#pragma once
// The hit test every pick goes through: does the click lie on one figure
// within the pick tolerance? Points by distance, lines by the foot of the
// perpendicular between their ends, arcs by the distance from the circle and
// the angle inside their sweep; the ends of lines and arcs count only under
// automatic intersection recognition in the point states 6 and 616. Also the
// test whether a point on a figure's carrier lies within the figure.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Kinds the hit test knows.
bool IsPointKind(int kind);  // 1, 8, 55, 68, 84, 340
bool IsLineKind(int kind);   // 2 and the dimension lines 0xD002..0xD302
bool IsArcKind(int kind);    // 3 and the dimension arcs 0xD003..0xD303

// The geometric test of one figure in absolute coordinates: true when p lies
// on it within `tolerance` (mm). Degenerate figures (a zero-length line, a
// zero radius, a click on an arc's centre) miss rather than divide by zero.
bool FigureHitAt(const FigureRecord& absolute, Vec2 p, double tolerance);

// Tests g_curFigure (relative to its origin) at g_pickPoint with
// g_pickTolerance, under the same-origin filter and the test/exclude pair of
// drawing_state.h. On a hit the figure, unchanged, is copied into the
// picked-figure slot (SaveCurrentFigure) and 1 is returned; a miss returns 0.
int TestFigureAtPick();

inline constexpr int kOnFigure = 1;
inline constexpr int kOffFigure = 255;
// For a point x that lies on the carrier of `f` (line or circle): kOnFigure
// when it lies within the figure's extent, kOffFigure otherwise. Any kind
// other than a line or an arc accepts every point.
int PointOnFigure(const FigureRecord& f, Vec2 x);

}  // namespace dorn
