#pragma once
// The range of figure table 90 that one curve occupies, checked before use:
// a curve index outside the table, an empty entry or a range that leaves the
// figures stored (a damaged drawing) gives no range, so every scan over curve
// figures stays inside the table.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

struct CurveFigureRange {
  int first = 0;  // first figure index in table 90
  int end = 0;    // end figure index (exclusive)
  int count() const { return end - first; }
};

// The figure range of curve `curve` of g_curveTable; false for an index
// outside 0..g_curveCount-1 (and the table), an empty entry, or a range that
// is reversed or reaches beyond the figures of table 90.
bool GetCurveFigureRange(int curve, CurveFigureRange& range);

// The number of curves a scan may visit: g_curveCount kept inside the table.
int ScannableCurveCount();

}  // namespace dorn
