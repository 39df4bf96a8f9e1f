// Curve highlighting: see curve_highlight.h.
#include "kelto_dorn/drawing/curve_highlight.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

// A current curve index with this bit set is not highlighted on its own.
constexpr int kCurveNotHighlighted = 0x8000;

void DrawCurveFigures(int curve, int colour, platform::DeviceContext& dc) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(curve, range)) return;
  for (int i = range.first; i < range.end; ++i) {
    GetFigure(i);
    DrawFigure(colour == kOwnColours ? (g_curFigure.attribute & kAttrColourMask) : colour, dc);
  }
}

}  // namespace

void HighlightCurves(platform::DeviceContext& dc, int colour) {
  if (g_drawingView.m_clearAllCurves != 0) return;
  const FigureRecord saved = g_curFigure;
  const int table = g_figureTableSelector;
  g_figureTableSelector = kTableCurves;
  if (g_curCurveIndex == kNone || g_curCurveIndex < 0) {
    const int count = ScannableCurveCount();
    for (int c = 0; c < count; ++c)
      if (g_curveTable[static_cast<std::size_t>(c)].layer == g_curLayer) DrawCurveFigures(c, colour, dc);
  } else if (g_listMode == kListModeAll) {
    for (int c : g_selectionList) {
      if (c == kNone) break;
      DrawCurveFigures(c, colour, dc);
    }
  } else if ((g_curCurveIndex & kCurveNotHighlighted) == 0) {
    DrawCurveFigures(g_curCurveIndex, colour, dc);
  }
  g_figureTableSelector = table;
  g_curFigure = saved;
}

void HighlightCurves(int colour) {
  if (auto dc = GetViewDC()) HighlightCurves(*dc, colour);
}

}  // namespace dorn
