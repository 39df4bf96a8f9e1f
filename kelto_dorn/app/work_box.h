#pragma once
// The work (the stock to be machined): its box placed against the drawing
// origin by the origin position and offsets of the work settings, the
// projection centre of the side views, the three size texts, and the
// painting of the box with its origin-corner mark and size dimensions.
#include <optional>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// Origin positions of the work settings.
inline constexpr int kWorkOriginCentre = 0;
inline constexpr int kWorkOriginUpperRight = 1;
inline constexpr int kWorkOriginUpperLeft = 2;
inline constexpr int kWorkOriginLowerLeft = 3;
inline constexpr int kWorkOriginLowerRight = 4;

// PaintWorkBox's result when nothing was drawn.
inline constexpr int kWorkBoxNotDrawn = 888;

// The four corners of the work box against the drawing origin, from the
// work size, origin position and offsets of the system record; nothing for
// an unknown origin position.
struct WorkBoxCorners {
  Vec2 upperRight, upperLeft, lowerRight, lowerLeft;
};
std::optional<WorkBoxCorners> FindWorkBoxCorners();

// Recomputes the corners (g_workBoxFigure), the projection centre and the
// three size texts (text records 0-2) from the work settings.
void PlaceWork();
// Draws the box, the origin-corner mark and the size dimensions while the
// axes are shown. Returns 0, or 888 when nothing was drawn.
int PaintWorkBox(platform::DeviceContext& dc);
// Draws the segment from start to end of g_curFigure at top and bottom Z
// (flag 0), or the vertical edges at its two ends (flag 1).
void DrawWorkBoxEdge(int vertical, platform::DeviceContext& dc);

}  // namespace dorn
