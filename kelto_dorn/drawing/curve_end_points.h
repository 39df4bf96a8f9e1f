#pragma once
// The start and end points of a curve (command 32913): the user gives a
// start and an end point; each becomes a point figure (kind 1) on the first
// or last figure, carrying the tangent there, framing the curve's figures.
#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// One step of 32913 by g_commandStep: 0 asks for the start point, 1 takes
// it and asks for the end point, 2 takes it and stores the framed curve,
// 3 removes the start and end points. Returns true when the command ended.
bool RunEndPointStep(platform::DeviceContext* dc);

// The point figure (kind 1) at the foot of `at` on `figure`, with the
// figure's side, layer, style, colour and origin and its unit tangent there.
FigureRecord CurveEndPointFigure(const FigureRecord& figure, Vec2 at);

}  // namespace dorn
