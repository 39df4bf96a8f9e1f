// The work list of the curve commands: see curve_work_list.h.
#include "kelto_dorn/drawing/curve_work_list.h"

#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

constexpr int kCommandCurveEndPoints = 32913;

}  // namespace

void CollectCurveFigures(int k) {
  g_workCount = k;
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return;
  const FigureRecord saved = g_curFigure;
  for (int i = range.first; i < range.end && g_workCount < kSegmentBlockCount; ++i) {
    GetFigure(kTableCurves, i);
    if (g_curCommand == kCommandCurveEndPoints && g_curFigure.kind == kKindPoint) continue;
    StoreSegment(g_workCount++);
  }
  g_curFigure = saved;
}

bool StoreCurveFigures(int k, int repack) {
  const int curve = g_curCurveIndex;
  CurveFigureRange range;
  if (k < 0 || !GetCurveFigureRange(curve, range)) return false;
  const int count = g_workCount > k ? g_workCount - k : 0;
  const int held = GetFigureCount(kTableCurves);
  if (held - range.count() + count > kFigureSlotLimit) {
    ShowErrorCode(-1);  // the drawing is too large
    return false;
  }
  const bool moves = repack != 0 || count != range.count();
  if (moves && !ClearCurveWorkTable()) return false;
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(curve)];
  const int colour = record.colour & kAttrColourMask;
  const FigureRecord saved = g_curFigure;
  for (int i = 0; i < count; ++i) {
    LoadSegment(k + i);
    g_curFigure.layer = g_curLayer;
    g_curFigure.attribute = (g_curFigure.attribute & ~kAttrColourMask) | colour;
    PutFigure(kTableCurvesAlias, range.first + i);
  }
  g_curFigure = saved;
  record.layer = g_curLayer;
  record.end = range.first + count;
  if (moves) {
    RenumberCurveFigures(curve + 1);
    if (range.count() > count) DecrementFigureCount(kTableCurves, range.count() - count);
  }
  if (repack != 0) {
    g_curCurveIndex = kNone;
  } else {
    g_curCurveRecord = record;
  }
  return true;
}

bool SkipChainedFigure(int i) {
  for (int b = 0; b < g_workCount; ++b) {
    const FigureRecord* f = g_figureStore.SegmentBlock(b);
    if (f != nullptr && f->number == i) return true;
  }
  return false;
}

}  // namespace dorn
