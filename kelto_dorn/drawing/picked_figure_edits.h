#pragma once
// Edits of a picked figure in place: reversing its direction, clipping a
// line or arc between two clicked points, and turning two figures so that
// they chain end to start.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Reverses the figure the last search found (g_pickFoundTable and
// g_pickFoundIndex) after an undo snapshot: the radius is negated; a line,
// and an arc in mode 1, also exchanges its ends and negates its direction,
// while an arc in mode 0 becomes its complement between the same ends. The
// figure is redrawn and written back. Returns 0, or 1 when no figure was
// found to reverse.
int ReverseFigureDirection(int mode);

// Moves the ends of the line or arc in block 5 to the projections of the two
// clicked points (a line whose points coincide keeps its end), after an undo
// snapshot, and writes it back as figure `index` of `table`. Points are in
// the figure's frame. Returns 0, or 1 when block 5 holds no line or arc.
int PreparePickedLineOrArc(Vec2 first, Vec2 second, int table, int index);

// Orients g_curFigure and segment block `block` so that the block's end
// meets the current figure's start within g_joinTolerance (reversing the
// current figure, or with keepBlock 0 also the block), then intersects them
// with both points asked for. Returns the intersection code, or 0xFFFF when
// no ends are near.
int TestEndpointsNearPicks(int block, int keepBlock);

}  // namespace dorn
