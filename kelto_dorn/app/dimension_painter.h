#pragma once
// Painting of dimension figures: the dimension line (or arc) with its arrow
// heads, whose wings come from the dimension style.
#include <array>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// Arrow codes of DrawDimension.
inline constexpr int kArrowAtStart = 0x1;
inline constexpr int kArrowAtEnd = 0x2;
inline constexpr int kArrowAtDirPoint = 0x4;
inline constexpr int kArrowEndAtCentre = 0x8;
inline constexpr int kArrowArcStart = 0x10;
inline constexpr int kArrowArcEnd = 0x20;
inline constexpr int kArrowArcTurned = 0x40;
inline constexpr int kArrowArcCodes = 0xF0;
inline constexpr int kDimensionTextAnchor = 256;

// The four arrow wing vectors (mm) of the dimension style: ArrowLength x
// (cos, sin) of ArrowAngle, 360 - ArrowAngle, 180 - ArrowAngle and
// 180 + ArrowAngle. Heads pointing along a line take 0 and 1 at its start and
// 2 and 3 at its end. They are stored beside the style (g_arrowWingVectors):
// the painters and the DXF export read them through this accessor.
const std::array<Vec2, 4>& ArrowWingVectors();
// Recomputes the stored wings from the style: at start-up, after a drawing
// was loaded, on every style change and when the style dialog closes.
void UpdateDimensionArrowShape();

// Draws the dimension line from start to end (relative to g_curFigure's
// origin) at depth z with the heads of the arrow code; the arc codes draw
// g_curFigure as an arc.
void DrawDimension(platform::DeviceContext& dc, Vec2 start, Vec2 end, double z, int code);

// One arrow head with its tip at `tip` (relative mm), its wings turned to the
// unit direction (dx, dy), using wings `first` and `first + 1`.
void DrawArrowHead(platform::DeviceContext& dc, Vec2 tip, double dx, double dy, double z, int first);

}  // namespace dorn
