#pragma once
// Moving curves: translate, rotate, mirror, scale and offset every selected
// curve (g_selectionList), in place or, in copy mode, as new curves that
// start as copies of their sources. TransformCurves runs the input prompts
// of each transform command first.
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"

namespace dorn {

// TransformCurves' results.
inline constexpr int kTransformDone = 0;
inline constexpr int kTransformWaiting = 1;   // a pick from the drawing was asked for
inline constexpr int kTransformCancelled = -1;

// Runs the prompts of command id (32921-32925) and, once they are complete,
// the transform.
int TransformCurves(int id, platform::DeviceContext* dc);

// The transforms; each acts on every selected curve. Translate, rotate,
// mirror and scale take no undo snapshot: the command takes one before it
// calls them (TransformCurves), so a batch of copies is one undo step. Copy
// mode registers each result as a new curve (the drawing is saved once, when
// the batch ends) and stops (with error box 4) when the curve table is full;
// what was registered stays. Centres are in the frame of the current origin.
void TranslateCurves(double dx, double dy, platform::DeviceContext* dc);
void RotateCurves(double degrees, Vec2 centre, platform::DeviceContext* dc);
// Mirrors about the axis figure in segment block 5 (through the figure and
// curve operations' mirror).
void MirrorCurves(platform::DeviceContext* dc);
// factor in percent about centre; 0 counts as 100.
void ScaleCurves(double factor, Vec2 centre, platform::DeviceContext* dc);
// One selected curve and a positive amount: both sides are left as
// candidates (blocks 10000.. and 20000..) for the choosing click; else every
// curve is offset by the signed amount. Returns false when the curve is too
// long for the candidate lists (error box 4, nothing changed). It takes its
// own undo snapshot once it knows there is something to offset.
bool OffsetCurves(double amount, platform::DeviceContext* dc);

// The figures offset by d (lines and points to the left of their direction,
// arcs to radius - d), arcs that vanish dropped, and every two neighbouring
// lines or arcs joined again at their intersection nearest the old joint.
std::vector<FigureRecord> OffsetChain(const std::vector<FigureRecord>& figures, double d);

}  // namespace dorn
