// Re-packing the curve figure ranges: see curve_figure_repack.h.
#include "kelto_dorn/drawing/curve_figure_repack.h"

#include <algorithm>
#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_figure_range.h"

namespace dorn {

bool ClearCurveWorkTable() {
  ClearFigureTable(kTableImport);
  FigureTable* from = g_figureStore.Table(kTableCurves);
  FigureTable* to = g_figureStore.Table(kTableImport);
  if (from == nullptr || to == nullptr) return false;
  const int n = std::min(from->count(), from->capacity());
  // The records are copied as they are: the store's layer rule would give
  // every curve figure the current layer.
  if (to->capacity() < n + kFreeSlotsKept && !FigureStoreGrow(kTableImport, to->capacity(), n + kFreeSlotsKept))
    return false;
  for (int i = 0; i < n; ++i) to->slot(i) = from->slot(i);
  to->set_count(n);
  return true;
}

void CopyFigureRange(int first, int end, int to) {
  for (int i = first; i < end; ++i) {
    GetFigure(kTableImport, i);
    PutFigure(kTableCurvesAlias, to + (i - first));
  }
}

void RenumberCurveFigures(int from) {
  const int count = ScannableCurveCount();
  if (from < 0 || from >= count) return;
  const int held = GetFigureCount(kTableImport);
  int write = from > 0 ? g_curveTable[static_cast<std::size_t>(from - 1)].end : 0;
  const FigureRecord saved = g_curFigure;
  for (int c = from; c < count; ++c) {
    CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (curve.layer == kCurveEntryEmpty) continue;
    const int first = std::clamp(curve.first, 0, held);
    const int end = std::clamp(curve.end, first, held);
    CopyFigureRange(first, end, write);
    curve.first = write;
    curve.end = write + (end - first);
    write = curve.end;
  }
  g_curFigure = saved;
}

}  // namespace dorn
