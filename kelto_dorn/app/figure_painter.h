#pragma once
// Painting of one figure: pen choice from the colour word (palette index,
// thick bit, the three broken line types), and the primitives of points,
// lines, arcs and curve direction arrows, with the clipping that keeps far
// coordinates away from the device.
//
// Every painter reads the figure in g_curFigure and maps its points through
// WorldToScreen.
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/color.h"
#include "platform/device_context.h"

namespace dorn {

// Dimension figure kinds.
inline constexpr int kKindDirectionArrow = 9;
inline constexpr int kKindDimExtension = 53250;  // 0xD002

// Draws g_curFigure in colour c (its own colour is the attribute's low byte).
void DrawFigure(int c, platform::DeviceContext& dc);

// The colour index a figure is drawn in: the low byte of c folded into the
// palette, and the other-origin colour for a figure of another origin drawn
// in its own colour.
int FigurePaintColour(int c);
// Half the intensity of palette colour c (the dimmed print mode).
platform::Color DimmedColour(int c);
// The colour a figure of palette index c gets on the current device.
platform::Color DeviceColour(int c);

void DrawPointMark(int c, platform::DeviceContext& dc);
void DrawLineFigure(int c, platform::DeviceContext& dc);
void DrawArcFigure(int c, platform::DeviceContext& dc);
// The arc of g_curFigure (start, end, centre, signed radius) as polylines.
void DrawArcPolyline(platform::DeviceContext& dc, int pixelRadius);
// The direction arrow at g_curFigure's end point along (dirX, dirY) (model
// units), and the curve name while names are shown.
void DrawDirectionArrow(int c, double dirX, double dirY, platform::DeviceContext& dc);
// Draws a segment between logical points, leaving out what lies wholly
// outside the window and clipping far points to a circle about its centre.
void DrawClippedSegment(platform::DeviceContext& dc, double x1, double y1, double x2, double y2);
// The visible piece of a segment inside a circle (logical units); false when
// nothing of it is inside.
bool ClipLineToCircle(double cx, double cy, double radius, double& x1, double& y1, double& x2, double& y2);
void DrawFilledCircle(platform::DeviceContext& dc, int x, int y, int radius, int c);

// The pixel radius of an arc: truncated, plus 1 when the fraction exceeds 0.5.
int ArcPixelRadius(double radiusMm);

// What the view shows of the drawing at the current transform, in drawing
// millimetres, widened by a few pixels. Only the plain top view has one
// (`known`); the side and arrow views and the layer tiles do not.
struct VisibleWindow {
  bool known = false;
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};
VisibleWindow CurrentVisibleWindow();
// True when `figure` is a point, line or arc that lies wholly outside the
// window, so that drawing it would draw nothing: a paint passes it over
// before choosing a pen or mapping a point.
bool FigureOutsideWindow(const FigureRecord& figure, const VisibleWindow& window);

}  // namespace dorn
