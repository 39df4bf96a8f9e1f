#pragma once
// The click that chooses a construction candidate (pick state 7): among the
// candidates of blocks 6-21, between the two alternatives of blocks 6 and 7,
// or between the two work lists of a curve offset, which then become the
// curve (in place, or as a new curve in copy mode).
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Chooses by g_drawingView.m_workPickMode at g_pickPoint:
// - kWorkPickAmong: the first candidate of blocks 6-21 that is hit; its block
//   number goes to g_workCount. With no candidate at all the pick ends and
//   the view is redrawn.
// - kWorkPickTwoFigures: the nearer of blocks 6 and 7 (7 on a tie) is loaded
//   into g_curFigure and the mode returns to kWorkPickAmong.
// - kWorkPickTwoLists: the nearer list (20000 on a tie) replaces the figures
//   of the first selected curve, or is registered as a new curve in copy
//   mode; g_workCount becomes 0.
// Returns 1 when a candidate was taken, else 0.
int PickWorkFigure();

// The distance the two-figure modes measure from p to a work figure (both in
// absolute coordinates): along the perpendicular to a line, along the ray
// through an arc's centre (the nearer of the points inside the arc), to the
// start point of anything else; rounded to 0.001. `noHit` when the foot lies
// outside the figure.
double WorkFigureDistance(const FigureRecord& figure, Vec2 p, double noHit);

}  // namespace dorn
