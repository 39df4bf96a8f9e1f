#pragma once
// Curves through point groups: a smooth chain of arcs (one or two per span,
// a biarc) and lines through an ordered group of point figures of the
// selected figure table, each point with a given or an estimated tangent.
// The pieces are appended behind the points and carry the view's running
// curve number, which makes them one curve for the rest of the system.
//
// Point figures: kind 68 without tangent, 84 with a tangent the builder
// estimated, 340 with a tangent given by the user or an importer (only the
// low byte is tested). A point with a tangent keeps the unit tangent in its
// direction pair and the tangent angle in degrees in its radius field.
#include <functional>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Where the pieces of a span go: mode 0 appends them to the selected table;
// an importer passes its own sink (mode 1).
using CurvePieceSink = std::function<void(FigureRecord&)>;

// Builds the curve through points first..end-1 of the selected table and
// returns the new figure count of the table, or `fallback` when nothing was
// built (fewer than two points, or two points without both tangents).
int ComputeCurveFromPoints(int first, int end, int fallback, const CurvePieceSink& sink = {});

// The pieces of one span from p0 to p1 with unit tangents t0, t1 (stamped
// and handed to the sink, or appended when it is empty).
void ComputeSplineSegment(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1, const CurvePieceSink& sink);

// The biarc of one span.
struct Biarc {
  int pieces = 0;  // 0 (coincident points), 1 or 2
  FigureRecord first;
  FigureRecord second;
};
// The radius solver of one span; SolveBiarc's result is 1 when the span
// needs two pieces.
Biarc SolveBiarc(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1);

// Tangent estimates.
Vec2 ThreePointTangent(Vec2 p0, Vec2 p1, Vec2 p2);
Vec2 BisectorTangent(Vec2 a, Vec2 b, Vec2 c);

// Completes g_curFigure: a line gets its unit direction and no centre, an
// arc its start and end angles in its direction pair.
void CompleteSegmentGeometry();

// Beeps and shows the read error of a point that could not be read, with
// the number of the read step.
void ShowCurveReadError(int id);

// The view's running curve number, stamped on every piece.
extern int g_pointCurveNumber;

}  // namespace dorn
