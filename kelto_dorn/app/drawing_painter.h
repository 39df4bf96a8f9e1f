#pragma once
// The paint of the main view: the current layer (or the 16-tile layer
// overview) with grid and axes, origin marks, the layer's figures, the work
// box, the registered curves and the texts and dimensions, and what the
// active drawing command shows on top. Printing paints through DrawDrawing
// with the print factor set.
#include "platform/device_context.h"

namespace dorn {

// The mode of DrawDrawing that paints everything.
inline constexpr int kDrawFull = 99;
// During a zoom or pan drag at most this many figures are drawn.
inline constexpr int kDragFigureLimit = 778;

void PaintAllDrawings(platform::DeviceContext& dc);
void DrawDrawing(int mode, platform::DeviceContext& dc);
void DrawGridAndFrames(platform::DeviceContext& dc);

// The logical rectangle of overview tile t (0..15) of the extents.
platform::Rect OverviewTile(int t);

}  // namespace dorn
