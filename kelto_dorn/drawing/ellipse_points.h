#pragma once
// The points of an ellipse as a point group: the figures through which the
// curve of the ellipse is laid.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The number of points for a parameter step of `step` degrees:
// ceil(360 / step) + 1; 0 when the step is not positive or the points would
// not fit the work blocks of a point group.
int EllipsePointCount(double step);

// Appends the points of the ellipse about `centre` with radii a and b,
// turned by `slope` degrees, every `step` degrees of the parameter (the last
// step shortened to end at 360): kind 340 at 0 and 360 with the tangent
// direction, kind 68 between, all of one point group (g_nextFigureNumber),
// then the curve through them behind the points. After an undo snapshot;
// g_curFigure is reset first. Returns the number of points appended, 0 when
// the step is refused (nothing changes).
int AddEllipseFigures(Vec2 centre, double a, double b, double slope, double step);

}  // namespace dorn
