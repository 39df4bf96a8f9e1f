#pragma once
// Lengths along figures and curves: the length of an arc or a figure, the
// length from a figure's start to a point on it, the length along a curve of
// figure table 90 up to a point, and the helpers of the curve evaluation
// (a figure's middle, an arc's tangent, a curve's end points). Lengths are
// left in g_lastLength for the callers that read them there.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The length of the arc in g_curFigure (its sweep from start to end in its
// sense; ends that coincide make a full circle). Also left in g_lastLength.
double ArcLength();
// The length of g_curFigure into g_lastLength: a line from start to end, an
// arc along its sweep, a point 0.
void FigureLength();

// PartialLengthToPoint's results.
inline constexpr int kPointOutside = 0;  // g_lastLength: the full length
inline constexpr int kPointAtStart = 1;  // g_lastLength: 0
inline constexpr int kPointAtEnd = 2;    // g_lastLength: the full length (mode 0)
inline constexpr int kPointInside = 3;   // g_lastLength: from the start to the point
// Mode 13 accepts only the two ends.
inline constexpr int kEndsOnly = 13;
// Where (x, y), a point on the carrier of g_curFigure in its frame, lies on
// the figure, with the length up to it in g_lastLength.
int PartialLengthToPoint(double x, double y, int mode);

// CurveLengthToPoint's mode that stops at the first figure holding the point
// (a point at a closed curve's start then measures 0, not the full length).
inline constexpr int kStopAtFirst = 16;
// The length along curve `curve` from its start to (x, y) (in the frame of
// its figures). A point on no figure gives the whole length; an invalid or
// damaged curve gives 0. The figure table selection is the current layer
// afterwards.
double CurveLengthToPoint(double x, double y, int curve, int mode);

// Kind 2: |end - start| of g_curFigure, kind 3: its arc length, into the
// figure analysis length; other kinds do nothing.
void MeasurePickDistance(int kind);

// The start point of the first (last = false) or last figure of the current
// curve; (0, 0) without a current curve.
Vec2 GetCurveEndPoint(bool last);

// Clears the segment blocks; unless code is 0x5555 also selects table 0,
// clears g_curFigure and forgets what the last search found.
inline constexpr int kCancelBlocksOnly = 0x5555;
void CancelPickState(int code);

// Turns g_curFigure into a point (kind 1) at its middle with the figure's
// direction there; centre, radius and choice are cleared.
void MidPointOfFigure();

// The unit tangent of arc `arc` at `point` in the arc's sense of travel.
Vec2 ArcTangentAtPoint(const FigureRecord& arc, Vec2 point);

}  // namespace dorn
