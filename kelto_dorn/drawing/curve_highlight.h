#pragma once
// Highlighting of the curves a curve command works on: the current curve, or
// every selected curve while a command acts on the whole selection, or every
// curve of the current layer when none is current.
#include "platform/device_context.h"

namespace dorn {

// The colour that redraws every figure in its own colour (removes the
// highlight).
inline constexpr int kOwnColours = -1;

// Draws the figures of the highlighted curves in palette colour `colour`, or
// each in its own colour for kOwnColours, into a prepared device context.
// Nothing is drawn while a delete of every curve is pending. g_curFigure and
// the figure table selection are left as they were.
void HighlightCurves(platform::DeviceContext& dc, int colour);
// The same on a device context of the view; nothing without a view.
void HighlightCurves(int colour);

}  // namespace dorn
