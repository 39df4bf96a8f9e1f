#pragma once
// Deleting curves: the selected curves (or, by the curve list's ALL choice,
// every curve) leave the curve table and their figures leave table 90; the
// curves behind them move down, whole records, and their figures are packed
// again in one pass.
#include "platform/device_context.h"

namespace dorn {

// Deletes every curve of g_selectionList; with the delete-all flag of the
// view (set by the curve list's ALL choice) the whole curve table and table
// 90 are cleared instead and the flag is reset. Deleted figures are drawn in
// the background colour into dc when given. A selection that names no curve
// deletes nothing. Shows prompt 900 and returns the number of curves deleted.
int DeleteCurves(platform::DeviceContext* dc);

}  // namespace dorn
