// Checked curve figure ranges: see curve_figure_range.h.
#include "kelto_dorn/drawing/curve_figure_range.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"

namespace dorn {

int ScannableCurveCount() { return std::clamp(g_curveCount, 0, kCurveTableSize); }

bool GetCurveFigureRange(int curve, CurveFigureRange& range) {
  if (curve < 0 || curve >= ScannableCurveCount()) return false;
  const CurveRecord& c = g_curveTable[static_cast<std::size_t>(curve)];
  if (c.layer == kCurveEntryEmpty) return false;
  if (c.first < 0 || c.end < c.first || c.end > GetFigureCount(kTableCurves)) return false;
  range.first = c.first;
  range.end = c.end;
  return true;
}

}  // namespace dorn
