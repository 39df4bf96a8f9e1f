// Deleting curves: see curve_deletion.h.
#include "kelto_dorn/drawing/curve_deletion.h"

#include <cstddef>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

constexpr int kPromptCurvesDeleted = 900;
constexpr int kBackgroundColour = 7;

int ClearEveryCurve() {
  const int count = ScannableCurveCount();
  ResetCurveTable();
  g_curveCount = 0;
  ClearFigureTable(kTableCurves);
  g_curCurveIndex = kNone;
  g_drawingView.m_clearAllCurves = 0;
  return count;
}

void EraseCurve(int curve, platform::DeviceContext& dc) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(curve, range)) return;
  for (int i = range.first; i < range.end; ++i) {
    GetFigure(kTableCurves, i);
    DrawFigure(kBackgroundColour, dc);
  }
}

// Which curves the selection names (indexes inside the table only).
std::vector<char> MarkSelected(int count, int& marked) {
  std::vector<char> selected(static_cast<std::size_t>(count), 0);
  marked = 0;
  for (int c : g_selectionList) {
    if (c == kNone) break;
    if (c < 0 || c >= count || selected[static_cast<std::size_t>(c)] != 0) continue;
    selected[static_cast<std::size_t>(c)] = 1;
    ++marked;
  }
  return selected;
}

// Moves every kept record down over the deleted ones and packs the kept
// figures from the work copy, in record order.
void CompactCurves(const std::vector<char>& selected, int count) {
  int writeRecord = 0;
  int writeFigure = 0;
  const int held = GetFigureCount(kTableImport);
  for (int c = 0; c < count; ++c) {
    if (selected[static_cast<std::size_t>(c)] != 0) continue;
    CurveRecord record = g_curveTable[static_cast<std::size_t>(c)];
    const int first = record.first < 0 ? 0 : (record.first > held ? held : record.first);
    const int end = record.end < first ? first : (record.end > held ? held : record.end);
    CopyFigureRange(first, end, writeFigure);
    record.first = writeFigure;
    record.end = writeFigure + (end - first);
    writeFigure = record.end;
    g_curveTable[static_cast<std::size_t>(writeRecord++)] = record;
  }
  for (int c = writeRecord; c < count; ++c) ClearCurveEntry(c);
  g_curveCount = writeRecord;
  const int figures = GetFigureCount(kTableCurves);
  if (figures > writeFigure) DecrementFigureCount(kTableCurves, figures - writeFigure);
}

}  // namespace

int DeleteCurves(platform::DeviceContext* dc) {
  const FigureRecord saved = g_curFigure;
  int deleted = 0;
  if (g_drawingView.m_clearAllCurves != 0) {
    deleted = ClearEveryCurve();
  } else {
    const int count = ScannableCurveCount();
    std::vector<char> selected = MarkSelected(count, deleted);
    if (deleted > 0 && ClearCurveWorkTable()) {
      if (dc != nullptr)
        for (int c = 0; c < count; ++c)
          if (selected[static_cast<std::size_t>(c)] != 0) EraseCurve(c, *dc);
      CompactCurves(selected, count);
      g_curCurveIndex = kNone;
    } else {
      deleted = 0;
    }
  }
  g_selectionList.fill(kNone);
  g_curFigure = saved;
  g_figureTableSelector = g_curLayer;
  ShowPromptHook(kPromptCurvesDeleted);
  return deleted;
}

}  // namespace dorn
