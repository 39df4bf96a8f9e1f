#pragma once
// The origins of a layer: local coordinate systems its figures and texts are
// attached to. A figure keeps its coordinates relative to its origin, so
// moving an origin moves everything attached to it. Adding an origin,
// choosing one near a point, the on-screen move (command 33169), shifting an
// origin's contents, and the origin mark with its two axis lines (which the
// painter, the plotter and the DXF output draw).
#include <utility>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// A layer keeps 62 of its 64 origin slots in use at most.
inline constexpr int kMaxOriginsInUse = 62;
// The marks' modes: 0 own colours (nothing new placed), 1 just placed (no
// circle), 9 every origin shown for a choice.
inline constexpr int kOriginMarkOwn = 0;
inline constexpr int kOriginMarkPlaced = 1;
inline constexpr int kOriginMarkChoice = 9;

// Appends `point` (absolute, mm) as a new origin of the current layer and
// makes it current; unless `exact` is 1 both coordinates are rounded to
// 0.001. A full table shows message 64 and changes nothing. 1 added, 0 full.
int AddOrigin(Vec2 point, int exact);
// The first origin of the current layer from index `from` on within the pick
// tolerance of (x, y) becomes current. 1 found, 0 none.
int SelectOriginNearPoint(int from, double x, double y);
// Command 33169: the first call switches the move mode on (undo snapshot,
// every origin marked, prompt 136); a second call switches it off.
void BeginOriginMove();
// Moves the current origin to (x, y) (rounded to 0.001) with every figure of
// the current layer and of the curve figures, and every text of the layer,
// that is attached to it.
void ReassignFigureOrigin(double x, double y);
// Subtracts `offset` from every figure and text of the selected table that is
// attached to the current origin (undo snapshot first).
void ShiftOriginContents(Vec2 offset);
// The same for g_curFigure alone, when it is attached to the current origin.
void ShiftFigureOfOrigin(Vec2 offset);
// The horizontal and the vertical axis line of origin `index` of the current
// layer, built in g_curFigure.
void MakeOriginAxisLineX(int index);
void MakeOriginAxisLineY(int index);
// Where an axis line runs along its axis, relative to the origin: by the
// work placement mode 0..4, the work length (0 means 220) and the work
// offset along that axis; the line always crosses the origin.
std::pair<double, double> OriginAxisSpan(int placement, double workLength, double workOffset, bool vertical);
// Draws the current origin's mark: both axis lines and, on screen and unless
// the mode is 1, a hatched circle.
void DrawOriginMark(platform::DeviceContext& dc, int mode);

}  // namespace dorn
