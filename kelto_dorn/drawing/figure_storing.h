#pragma once
// Storing the figure a command has built (g_curFigure) into the current
// layer's figure table and drawing it; moving a figure's end onto a
// connection point; the steps of the clip-connect.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Mode 39 keeps the figure's own colour word and neither draws it nor clears
// the prompt; any other mode gives it the colour and attribute of new
// figures, draws it and shows prompt 0. A line shorter than 0.0005 is
// dropped, an arc of radius above 10000000 becomes a line, and a figure with
// a coordinate that is not a finite number is refused. False when nothing
// was stored (dropped, refused or the table full).
inline constexpr int kStoreKeepColour = 39;
bool StoreAndDrawFigure(int mode);

// Moves an end of g_curFigure onto `point` (the end when it lies there or
// keepStart is 0 and the start does not, else the start) and repairs the
// figure: a line's direction, an arc's sense so that it keeps its shorter
// sweep while the clip-connect chain is under way.
void ConnectFigureEnd(int keepStart, Vec2 point);

// The clip-connect: kind 35 takes the first figure, kind 350 each next one.
int ClipConnectFirst();
int ClipConnectNext();

}  // namespace dorn
