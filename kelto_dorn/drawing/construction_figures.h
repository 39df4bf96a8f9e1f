#pragma once
// The small figure records the constructions work with: figures moved into
// another origin's frame, turned around or offset as copies, the auxiliary
// points, lines and circles fed to IntersectFigures, and the touching point
// of a circle on a figure.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The figure with start, end and centre made absolute (its origin added).
FigureRecord AbsoluteFigure(const FigureRecord& f);
// The same figure expressed relative to `origin` (which becomes its origin).
FigureRecord FigureInFrame(const FigureRecord& f, Vec2 origin);

// The figure turned around: radius and direction negated, start and end
// exchanged.
FigureRecord ReversedFigure(FigureRecord f);
// A copy of f offset by d as OffsetFigure does (lines to the left of their
// direction, arcs to radius - d); false when the offset fails.
bool OffsetCopy(const FigureRecord& f, double d, FigureRecord& out);

// Auxiliary figures in the frame of `origin`.
FigureRecord PointFigure(Vec2 at, Vec2 origin = {});
FigureRecord LineFigure(Vec2 start, Vec2 dir, Vec2 origin = {});
// A full circle: start = end = centre + (|radius|, 0).
FigureRecord CircleFigure(Vec2 centre, double radius, Vec2 origin = {});

// A new figure of the given kind for a candidate: the defaults of a new
// figure (layer, style, colour, depth) with the given origin.
FigureRecord CandidateFigure(int kind, Vec2 origin);

// The point where a circle about `centre` of radius `radius` touches the
// line or arc f (the foot on a line; on an arc the one of the two points on
// the centre's ray whose distance from `centre` is nearer |radius|).
Vec2 TouchingPoint(const FigureRecord& f, Vec2 centre, double radius);

}  // namespace dorn
