#pragma once
// The selection box of the BOX commands as the view shows it: its outline
// in client pixels (a rectangle, or the parallelogram of the view's two tilt
// angles) and, once the box is complete, its centre and outline in drawing
// coordinates.
#include <array>

#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The outline through the box corners g_view.m_boxStart and m_boxEnd (client
// pixels), the first point repeated last. With `tilted` the edges through the
// first corner lean by the first tilt angle from the horizontal and by the
// second from the vertical; false when tilted edges do not meet.
bool SelectionBoxOutline(bool tilted, std::array<Vec2, 5>& outline);

// The box is complete: its centre is the integer midpoint of the corner
// pixels; it and the five outline points are kept in the view in drawing
// coordinates (absolute, mm).
void UpdateRubberBoxCorners();

}  // namespace dorn
