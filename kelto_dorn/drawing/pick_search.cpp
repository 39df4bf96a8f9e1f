// Picking among curves and texts: see pick_search.h.
#include "kelto_dorn/drawing/pick_search.h"

#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_highlight.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// The test index of FindFigureAtPick: never equal to the exclude index -1,
// so nothing is excluded by that pair here.
constexpr int kFindTestIndex = 0x77000;
// Pocket curves (a circle or a contour) carry an IP point that can be picked.
constexpr int kCurvePocketCircle = 5;
constexpr int kCurvePocketContour = 7;

void ResetFilter() {
  g_pickSameOriginOnly = 0;
  g_pickTestIndex = kFindTestIndex;
  g_pickExcludeIndex = -1;
}

bool IsPocket(const CurveRecord& c) { return c.kind == kCurvePocketCircle || c.kind == kCurvePocketContour; }

// Tests figure i of table 90 when it lies on the current layer.
bool CurveFigureHit(int i) {
  GetFigure(i);
  return g_curFigure.layer == g_curLayer && TestFigureAtPick() == 1;
}

int FindInAnyCurve() {
  const int count = ScannableCurveCount();
  for (int c = 0; c < count; ++c) {
    CurveFigureRange range;
    if (c == g_curCurveIndex || !GetCurveFigureRange(c, range)) continue;
    for (int i = range.first; i < range.end; ++i) {
      if (!CurveFigureHit(i)) continue;
      SelectPickedCurve(c);
      return 1;
    }
  }
  for (int c = 0; c < count; ++c) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (c == g_curCurveIndex || curve.layer != g_curLayer || !IsPocket(curve)) continue;
    // The IP point is stored in drawing coordinates.
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindPoint;
    g_curFigure.layer = g_curLayer;
    g_curFigure.start = {curve.ipX, curve.ipY};
    if (TestFigureAtPick() != 1) continue;
    SelectPickedCurve(c);
    return 1;
  }
  return 0;
}

int FindText() {
  g_pickIndex = kNone;
  for (std::size_t i = 0; i < g_textRecords.size(); ++i) {
    const TextRecord& t = g_textRecords[i];
    if (t.layer < 0) break;  // the end of the list
    if (t.layer != g_curLayer) continue;
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindText;
    g_curFigure.number = static_cast<int>(i);
    g_curFigure.layer = t.layer;
    g_curFigure.attribute = t.colour;
    g_curFigure.start = {t.baseX, t.baseY};
    g_curFigure.origin = {t.originX, t.originY};
    if (TestFigureAtPick() != 1) continue;
    g_pickIndex = static_cast<int>(i);
    return 1;
  }
  return 0;
}

int FindInCurve(int curve) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(curve, range)) return 0;
  for (int i = range.first; i < range.end; ++i) {
    if (i == g_pickIndex || !CurveFigureHit(i)) continue;
    g_pickIndex = i;
    return 1;
  }
  return 0;
}

}  // namespace

int FindFigureAtPick(int index) {
  ResetFilter();
  int found = 0;
  if (index == kFindText) {
    found = FindText();
  } else {
    g_figureTableSelector = kTableCurves;
    found = index == kFindAnyCurve ? FindInAnyCurve() : FindInCurve(index);
  }
  g_figureTableSelector = g_curLayer;
  return found;
}

int SelectPickedCurve(int curve) {
  if (g_workCount > 0 && g_listMode != kListModeAll) {
    HighlightCurves(kOwnColours);
    g_selectionList.fill(kNone);
    g_workCount = 0;
  }
  bool enter = g_workCount >= 0 && g_workCount < kCurveTableSize;
  if (enter && g_listMode == kListModeAll) {
    for (int i = 0; i < g_workCount; ++i)
      if (g_selectionList[static_cast<std::size_t>(i)] == curve) enter = false;
  }
  if (enter) g_selectionList[static_cast<std::size_t>(g_workCount)] = curve;
  g_curCurveIndex = curve;
  return enter ? 1 : 0;
}

}  // namespace dorn
