// Whole curve entries: see curve_entries.h.
#include "kelto_dorn/drawing/curve_entries.h"

#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"

namespace dorn {

void CopyCurveEntry(int from, int to) {
  if (from < 0 || from >= kCurveTableSize || to < 0 || to >= kCurveTableSize) return;
  g_curveTable[static_cast<std::size_t>(to)] = g_curveTable[static_cast<std::size_t>(from)];
  LoadCurveEntry(to);
}

}  // namespace dorn
