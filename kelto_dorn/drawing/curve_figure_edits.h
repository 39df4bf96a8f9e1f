#pragma once
// Edits of single figures inside a curve: the work list holds the curve's
// figures (collected from block 0) and `position` is the picked figure's
// place in it. Each edit leaves the work list ready for
// WriteBackCurveFigures, which stores it over the curve and packs the
// curves behind it again.
#include "platform/device_context.h"

namespace dorn {

// InsertTangentCircle's and ChangeTangentRadius' result when cancelled.
inline constexpr double kTangentCancelled = -1.0;

// Inserts a tangent arc at the joint of the first two neighbouring work
// figures whose joint lies within the pick tolerance of (x, y) (drawing
// coordinates), after asking for its radius (`radius` proposed). Returns the
// radius used (the next proposal), the proposal unchanged when there is no
// joint there or no solution, kTangentCancelled when cancelled.
double InsertTangentCircle(double x, double y, double radius, platform::DeviceContext* dc);

// Asks for a new radius of the arc at `position` (strictly inside the work
// list) and moves its centre so that it stays tangent to both neighbours,
// whose ends follow. False when nothing changed.
bool ChangeTangentRadius(int position);

// Reverses the figure at `position` of the current curve in table 90: an
// arc becomes the other arc between its ends, a first or last line turns
// over its joint; the side flags that depend on it follow.
void ReverseCurveArcs(int position, platform::DeviceContext* dc);

// Takes the work figure at `position` out of the list; its neighbours are
// joined at their intersection.
void RemoveWorkFigure(int position);

// Removes the figure at `position` from the current curve (the work list
// is collected first); a curve left without figures is deleted. True when
// the curve still exists.
bool DeleteCurveFigure(int position);

// Mode 99 only tests that the current curve is closed and has at least 4
// figures (error box 2 otherwise, result 1). Mode 0 splits the figure at
// `position` in two and makes its second half the head of the curve.
int ChangeHeadFigure(int mode, int position);

// Stores the work list over the current curve (current layer, the curve's
// colour), packs the curves behind it and clears the prompt.
bool WriteBackCurveFigures();

}  // namespace dorn
