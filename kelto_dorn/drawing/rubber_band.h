#pragma once
// The rubber band: the temporary figure that follows the mouse while a
// command waits for a point (a line from the last entered point, a circle of
// the entered radius), drawn in XOR so that drawing it again removes it. One
// routine draws each band, for the move and for the erase.
#include "platform/device_context.h"

namespace dorn {

// Removes the band and the cross-hair from the screen; the band kind becomes
// 0. Nothing on screen: nothing is drawn. Returns 1 when something was erased.
int EraseRubberBand();
// The mouse moved (g_view.m_lastCursor): the band moves with it.
void DrawRubberBand(platform::DeviceContext& dc);
// Starts a band of `kind` (kBandLineFromPoint from `anchor`, relative to the
// current origin; kBandCircleAtCursor of radius |ValueInputValue|).
void StartRubberBand(int kind, double anchorX = 0.0, double anchorY = 0.0);

}  // namespace dorn
