#pragma once
// Curves derived from a curve: the spiral (a closed contour or a circle
// wound inward by a fixed offset per turn) and the developed curve (plan
// points with heights, drawn over their length along the curve).
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// Winds the current curve (framed by point figures at both ends) into a
// spiral after the spiral dialog: a circle (point, arc, point) as half
// circles, a contour as offset loops joined at their intersections. Nothing
// changes when the dialog is not confirmed. Returns the number of figures
// of the spiral (0 when nothing was built).
int BuildSpiralCurve();

// The half circles of a circle wound `turns` times by `width` per turn:
// twice `turns` half circles, each the same sense as `circle`.
std::vector<FigureRecord> SpiralHalfCircles(const FigureRecord& circle, double width, double turns);

// The development record input of command 32933 (plan points with Z) and,
// when the user ends it, the developed curve. True when the command ended.
bool RunDevelopedCurveInput(platform::DeviceContext* dc);

// Builds the developed curve of the records in blocks 5..5+count-1 (plan
// point as start, Z in end.y) along the current curve and registers it.
int BuildDevelopedCurve(int count, platform::DeviceContext* dc);

}  // namespace dorn
