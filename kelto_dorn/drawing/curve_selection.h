#pragma once
// Selecting curves by the names chosen in the curve list.
namespace dorn {

// Clears g_selectionList and appends, for each name of g_curveNameBuffers
// in order, the first curve with that name. The first selected curve
// becomes current and its layer the current layer; the name buffers are
// cleared and the selection is highlighted in colour 1. The ALL marker
// selects every curve and sets the view's delete-all flag. Returns the
// number of curves selected (also left in g_workCount).
int SelectCurvesByName();

}  // namespace dorn
