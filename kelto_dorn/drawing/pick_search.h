#pragma once
// Picking among the registered curves and the texts: the figure of a curve
// (any curve of the current layer, or one given curve), the IP point of a
// pocket, or a text record, at g_pickPoint. A curve that is hit becomes the
// current curve and joins the selection.
namespace dorn {

// FindFigureAtPick's index values besides a curve index.
inline constexpr int kFindAnyCurve = 0xFFFF;
inline constexpr int kFindText = 0x8000;

// kFindAnyCurve: the first figure of any curve but the current one that lies
// on the current layer and is hit (then the IP points of pockets of the
// current layer); the curve is selected (SelectPickedCurve). kFindText: the
// first text record of the current layer that is hit; its index goes to
// g_pickIndex. A curve index: a figure of that curve other than g_pickIndex,
// whose index then goes to g_pickIndex (so repeated clicks step through
// overlapping figures). Returns 1 on a hit, else 0; the figure table
// selection is the current layer afterwards.
int FindFigureAtPick(int index);

// Adds the curve to the selection (g_selectionList at g_workCount; advancing
// the count is the caller's) and makes it current. Outside the whole-list
// mode an earlier selection is un-highlighted and dropped first; in that mode
// a curve already selected is not entered twice. Returns 1 when entered.
int SelectPickedCurve(int curve);

}  // namespace dorn
