#pragma once
// Painting of the registered curves of the current layer with their
// machining decorations (walls, vertical edges, holes, markers, direction
// arrows and names), and of text figures.
#include "kelto_dorn/app/drawing_hooks.h"
#include "platform/device_context.h"

namespace dorn {

// Results of CheckCurveForPaint besides 0 (paint).
inline constexpr int kCurveOtherLayer = 888;
inline constexpr int kCurveFaulty = 1;

// Machining kinds of the hole definitions.
inline constexpr int kMachiningHole = 0xB400;
inline constexpr int kMachiningHelicalHole = 0xB800;
inline constexpr int kMachiningDeepHole = 0xBC00;

// Faults found by CheckCurveForPaint during one paint; DrawDrawing reports
// them afterwards.
struct CurvePaintErrors {
  int countTooLarge = 0;  // more than 1024 curves
  int empty = 0;          // first == end
  int tooLong = 0;        // more figures than the segment blocks hold, or outside table 90
};
extern CurvePaintErrors g_curvePaintErrors;

// Checks the current curve (g_curCurveIndex): 0 paint, 888 another layer,
// any other value a faulty curve (counted in g_curvePaintErrors).
int CheckCurveForPaint();
// Paints the current curve; mode 0 also paints its figures.
void DrawCurve(int mode, platform::DeviceContext& dc);
void DrawCurveMarker(int curve, platform::DeviceContext& dc);
void DrawCurveHoles(int curve, platform::DeviceContext& dc);
// One hole step about g_curFigure's centre, for a definition of that kind.
void DrawHoleStep(const HoleStepShape& step, int machiningKind, platform::DeviceContext& dc);
// The line from the original figure's start at top Z to the offset figure's
// start at bottom Z (the taper or offset wall).
void DrawTaperWall(Vec2 originalStart, double topZ, double bottomZ, platform::DeviceContext& dc);
// A segment from (x, y) at top Z to the same point at bottom Z (relative to
// g_curFigure's origin).
void DrawVerticalEdge(Vec2 point, double topZ, double bottomZ, platform::DeviceContext& dc);
// Draws g_curTextRecord as a kind-55 figure in colour c.
void DrawTextFigure(int c, platform::DeviceContext& dc);

}  // namespace dorn
