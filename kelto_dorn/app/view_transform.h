#pragma once
// The mapping from model millimetres to the view's logical window units: the
// per-layer transform recomputed at every paint, the four projections (XY,
// XZ, YZ and the turned arrow view), the 16-tile layer overview, the axis
// lines and grid of the current origin, the pick tolerance, and zoom and pan
// by dragging.
//
// Logical units are pixels on the screen with Y growing downward; at a scale
// of 100 percent one millimetre is 4 pixels.
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/view_state.h"
#include "platform/geometry.h"

namespace dorn {

// Logical units per view unit on the screen.
inline constexpr double kScreenUnitFactor = 4.0;

// Recomputes the transform of the current layer from its scale, pan and grid
// and the client size (raising a scale or grid pitch below 1 to 1).
void UpdateViewTransform();
// Recomputes the axis end points of the current origin, the grid step and
// g_pickTolerance.
void UpdateAxisAndGrid();
// Rebuilds g_projectionMatrix: Rx(B) x Rz(A) in the arrow view, else identity.
void BuildArrowViewMatrix();

// The logical point of a model point, without projection or figure origin.
platform::Point WorldToScreenRaw(double x, double y);
// The logical point of (origin of g_curFigure + (dx, dy), z) under the
// current projection and overview tile.
platform::Point WorldToScreen(double dx, double dy, double z);
// The same before truncation (logical units as doubles).
void WorldToScreenExact(double dx, double dy, double z, double& x, double& y);
// The model point (mm, no figure origin) under a logical point in the XY
// projection: the inverse of WorldToScreenRaw up to its truncation.
Vec2 ScreenToWorld(platform::Point p);
// Truncates a logical coordinate toward zero, keeping values that are too
// large or not finite inside a range the clipping code can work with.
// Inline: the painters call it for every point they draw.
inline int TruncateLogical(double v) {
  constexpr double kLogicalLimit = 1.0e9;  // keeps extent + 1200 inside an int
  if (!(v == v)) return 0;                 // not a number
  if (v > kLogicalLimit) return static_cast<int>(kLogicalLimit);
  if (v < -kLogicalLimit) return -static_cast<int>(kLogicalLimit);
  return static_cast<int>(v);  // toward zero
}

// One step of drag zoom, drag pan or arrow-view turning toward mouse position
// (x, y). Returns true when the view changed and has to be redrawn.
bool ZoomPanByDrag(int x, int y);
// The wheel while the layer overview is up pages it by four layers: a
// forward turn (delta > 0) back toward layer 0, a backward turn on toward
// layer 16. Returns true when the page changed and has to be redrawn.
bool PageOverviewByWheel(int wheelDelta);
// Re-expresses the pan so that the model point at the window centre stays
// there under a changed scale.
void SaveViewCentre();

}  // namespace dorn
