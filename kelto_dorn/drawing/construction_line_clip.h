#pragma once
// Construction lines end at the edge of the visible area: the point where a
// line leaves the view's client rectangle (less the status rows at its foot),
// found among the two edges its direction runs towards.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// The point where the line from line.start along line.dir (side 0) or
// against it (side 1) meets the edge of the visible area, in the line's own
// frame (relative to its origin). False when no edge is met (an empty view).
bool ClipConstructionLineToView(const FigureRecord& line, int side, Vec2& point);

// A construction line through `through` along the unit direction `dir`,
// from edge to edge of the visible area, in the frame of `origin`; kind 0
// when the view gives no edges.
FigureRecord ConstructionLineAcrossView(Vec2 through, Vec2 dir, Vec2 origin);

}  // namespace dorn
