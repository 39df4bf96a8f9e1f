#pragma once
// Circles of one radius fitted into the corners of curves: wherever two
// consecutive figures of a selected curve (lines or arcs) meet, a full circle
// tangent to both on the inside of the corner is stored in the current layer.

namespace dorn {

// For every curve of g_selectionList (up to the first empty entry), after an
// undo snapshot. Returns the number of circles stored; with none a message
// box says so.
int BatchTangentCircles(double radius);

}  // namespace dorn
