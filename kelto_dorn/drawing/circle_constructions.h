#pragma once
// Circles constructed from picked figures. The typed-radius constructions
// write one candidate into a segment block each (the type or side chooses
// which solution); the others fill an output record, whose kind is 0 when
// there is no circle. Points and results are in the frame of the pick they
// are built on.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// A circle of `radius` touching the figure of block 5 with its centre on the
// line of block 1. Type 1-4 choose the side and the intersection (a touched
// line has two distinct answers, types 1 and 2).
void CircleRadiusTangentCentreLine(int type, int block, double radius);
// A circle of `radius` through `point` with its centre on the line of block
// 1; type 0 and 1 choose the two answers.
void CircleRadiusPointCentreLine(int type, int block, double radius, Vec2 point);
// A circle of `radius` (its sign chooses the offset side) touching the
// figures of blocks 1 and 2; type 1-4 turn neither, the first, the second or
// both around. Its start and end are its touching point on pick 1.
void CircleRadiusTangentToTwo(int type, int block, double radius);
// A circle of `radius` through `point` touching the figure of block 1; side 0
// or 1. The arc runs from the point to the touching point (the other way
// for side 1).
void CircleRadiusPointTangent(int side, int block, double radius, Vec2 point);

// The circle through the point of `pointFigure` whose tangent there has the
// point figure's direction, touching `figure` (a line or an arc; turning the
// figure around gives the other answer). Its signed radius follows the
// tangent direction; none when the radius would exceed 999999 or fall below
// 0.0001.
void CirclePointAngleTangent(FigureRecord& out, const FigureRecord& figure, const FigureRecord& pointFigure);

// The arc through p1, p2 and p3 from p1 to p3; none for collinear points.
void CircleThroughThreePoints(FigureRecord& out, Vec2 p1, Vec2 p2, Vec2 p3);

// The circle about `centre` touching `figure`: for a line the one circle;
// for an arc the near one (far = false) or the far one enclosing it (far =
// true). None when the centre lies on the figure.
void CircleCentreTangent(FigureRecord& out, const FigureRecord& figure, Vec2 centre, bool far);

}  // namespace dorn
