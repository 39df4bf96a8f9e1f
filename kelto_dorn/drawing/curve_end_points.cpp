// The start and end points of a curve: see curve_end_points.h.
#include "kelto_dorn/drawing/curve_end_points.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_highlight.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

// Blocks: 0 the highlighted figure, 2 the entered points, 3 the start point
// figure, 4.. the bare figures.
constexpr int kEnteredPointsBlock = 2;
constexpr int kStartPointBlock = 3;
constexpr int kFiguresBlock = 4;
constexpr int kMarkColour = 3;
constexpr int kHighlightColour = 1;
constexpr int kSnapshotCurves = 3;
constexpr int kPickStateMouse = 4;
constexpr int kPickStateIntersection = 6;
constexpr int kPickStateAnyFigure = 80;
constexpr int kCommandEndPoints = 32913;

FigureRecord& Block(int i) { return *g_figureStore.SegmentBlock(i); }

void DrawBlock(int i, int colour, platform::DeviceContext* dc) {
  if (dc == nullptr) return;
  const FigureRecord saved = g_curFigure;
  g_curFigure = Block(i);
  DrawFigure(colour, *dc);
  g_curFigure = saved;
}

// The entered point (current origin's frame) in the frame of `figure`.
Vec2 InFrameOf(const FigureRecord& figure) {
  const Vec2 origin = CurrentLayerOrigin();
  return {PointInputValue.x + origin.x - figure.origin.x, PointInputValue.y + origin.y - figure.origin.y};
}

void AskStartPoint(platform::DeviceContext* dc) {
  HighlightCurves(kHighlightColour);
  CollectCurveFigures(kFiguresBlock);
  if (g_workCount <= kFiguresBlock) return;
  DrawBlock(kFiguresBlock, kMarkColour, dc);
  CopySegment(kFiguresBlock, 0);
  g_pickIndex = 1;
  g_curveEngine.inputMode = 2;
  g_pickState = kPickStateIntersection;
  ShowPromptHook(162);
}

void TakeStartPoint(platform::DeviceContext* dc) {
  const FigureRecord& first = Block(kFiguresBlock);
  FigureRecord& points = Block(kEnteredPointsBlock);
  points = PointFigure(InFrameOf(first), first.origin);
  DrawBlock(g_workCount - 1, kMarkColour, dc);
  const int given = g_pickState;
  // An end point by intersection crosses the last figure with the next pick.
  CopySegment(g_workCount - 1, 0);
  g_pickIndex = given == kPickStateIntersection ? 1 : 0;
  if (given == kPickStateMouse || given == kCommandEndPoints) {
    g_curveEngine.inputMode = 1;
    g_pickState = kCommandEndPoints;
    ShowPromptHook(161);
  } else if (given == kPickStateIntersection) {
    g_curveEngine.inputMode = 2;
    ShowPromptHook(163);
  } else {
    g_curveEngine.inputMode = 3;
    g_pickState = kPickStateAnyFigure;
    ShowPromptHook(1527);
  }
}

bool StoreFramedCurve() {
  const int bare = g_workCount - kFiguresBlock;
  if (bare <= 0 || g_workCount + 1 >= kSegmentBlockCount) return false;
  const FigureRecord first = Block(kFiguresBlock);
  const FigureRecord last = Block(g_workCount - 1);
  Block(kEnteredPointsBlock).end = InFrameOf(last);
  const Vec2 startAt = Block(kEnteredPointsBlock).start;
  const Vec2 endAt = Block(kEnteredPointsBlock).end;
  Block(kStartPointBlock) = CurveEndPointFigure(first, startAt);
  Block(g_workCount) = CurveEndPointFigure(last, endAt);
  ++g_workCount;
  SnapshotForUndo(kSnapshotCurves);
  return StoreCurveFigures(kStartPointBlock, 1);
}

bool RemoveEndPoints() {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return false;
  // Nothing was left out when collecting: the curve had no end points.
  if (g_workCount == range.count() + kFiguresBlock) return false;
  SnapshotForUndo(kSnapshotCurves);
  return StoreCurveFigures(kFiguresBlock, 1);
}

}  // namespace

FigureRecord CurveEndPointFigure(const FigureRecord& figure, Vec2 at) {
  FigureRecord point = PointFigure(at, figure.origin);
  point.choice = 0;
  const FigureRecord hit = IntersectFigures(point, figure);
  Vec2 foot = at;
  if (hit.number <= kHitTwoPoints) foot = hit.start;
  FigureRecord p = figure;
  p.kind = kKindPoint;
  p.start = p.end = foot;
  p.centre = {};
  p.radius = 0.0;
  if (figure.kind == kKindArc) {
    p.dir = ArcTangentAtPoint(figure, foot);
  } else {
    const double len = std::hypot(figure.end.x - figure.start.x, figure.end.y - figure.start.y);
    p.dir = len > 0.0 ? Vec2{(figure.end.x - figure.start.x) / len, (figure.end.y - figure.start.y) / len} : figure.dir;
  }
  return p;
}

bool RunEndPointStep(platform::DeviceContext* dc) {
  switch (g_commandStep) {
    case 0:
      AskStartPoint(dc);
      return false;
    case 1:
      TakeStartPoint(dc);
      return false;
    case 2:
      StoreFramedCurve();
      return true;
    case 3:
      RemoveEndPoints();
      return true;
    default:
      return true;
  }
}

}  // namespace dorn
