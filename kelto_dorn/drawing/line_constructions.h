#pragma once
// Lines constructed from picked figures, each written as a candidate into a
// segment block (the picks are in blocks 1 and 2): the tangents from a point
// to an arc, the tangent to an arc in a given direction, the common tangents
// of two arcs, and the mid line of two figures. A construction without a
// solution leaves its block empty. Points and results are in the frame of
// the pick they are built on (its origin).
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The direction of the tangent from `point` to the circle of `arc`; side 1
// takes the other tangent. A point on the circle gives the circle's tangent
// there; false for a point inside the circle (no tangent exists).
bool TangentDirection(int side, Vec2 point, const FigureRecord& arc, Vec2& direction);

// Both tangents from (x, y) to the arc of block 2 into blocks 6 and 7 (from
// the point to the touching point; a point on the arc gives lines of
// 10000 / scale each way), then ResetPickSlots(2).
void LineThroughPointTangentToArc(double x, double y);

// The tangent to the arc of block 1 with the unit direction `direction`, on
// one side (0 or 1), running from the touching point to the edge of the
// visible area, into `block`.
void LineTangentToArcAtAngle(int side, int block, Vec2 direction);

// One of the four common tangents of the arcs in blocks `first` and `second`
// (type 1 outer, 2 and 3 inner, 4 the other outer), from the touching point
// on the first arc to the one on the second, into `block`. Crossing arcs have
// no inner tangents, nested ones none at all.
void LineTangentToTwoArcs(int first, int second, int type, int block);

// The mid line of the figures in blocks 1 and 2 into block 6 (and 7): the two
// bisectors of crossing lines, the middle parallel of parallel lines, the
// perpendicular bisector of two points (an arc counts as its centre), the
// parallel half way between a point and its foot on a line; construction
// lines across the visible area. Returns the number of lines made.
int MidLineBetweenFigures();

}  // namespace dorn
