// The click that chooses a construction candidate: see work_figure_pick.h.
#include "kelto_dorn/drawing/work_figure_pick.h"

#include <algorithm>
#include <cstddef>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/curve_entries.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// The test index of PickWorkFigure: never equal to the exclude index -1.
constexpr int kWorkTestIndex = -2;
// No-hit distances: in the two-list mode a figure whose foot misses counts
// as far away; in the two-figure mode as nearest (0).
constexpr double kFarAway = 9999999990.0;
constexpr double kNearest = 0.0;
// Below this a pick has no direction towards an arc's centre (mm).
constexpr double kOnCentre = 1e-9;

void ResetFilter() {
  g_pickSameOriginOnly = 0;
  g_pickTestIndex = kWorkTestIndex;
  g_pickExcludeIndex = -1;
}

void EndEmptyPick() {
  EndPick(g_curCommand);
  RedrawView();
}

double BlockDistance(int block, double noHit) {
  const FigureRecord* f = g_figureStore.SegmentBlock(block);
  return f == nullptr ? noHit : WorkFigureDistance(AbsoluteFigure(*f), g_pickPoint, noHit);
}

int PickAmongCandidates() {
  bool any = false;
  for (int i = kFirstCandidateBlock; i <= kLastCandidateBlock; ++i) {
    LoadSegment(i);
    if (g_curFigure.kind == kKindEmpty) continue;
    any = true;
    if (TestFigureAtPick() != 1) continue;
    g_workCount = i;
    return 1;
  }
  if (!any) EndEmptyPick();
  return 0;
}

int PickNearerOfTwo() {
  const double d6 = BlockDistance(kFirstCandidateBlock, kNearest);
  const double d7 = BlockDistance(kFirstCandidateBlock + 1, kNearest);
  LoadSegment(d7 <= d6 ? kFirstCandidateBlock + 1 : kFirstCandidateBlock);
  g_drawingView.m_workPickMode = kWorkPickAmong;
  return 1;
}

double NearestInList(int first, int length) {
  double nearest = kFarAway;
  for (int i = first; i < first + length; ++i) nearest = std::min(nearest, BlockDistance(i, kFarAway));
  return nearest;
}

// The chosen list becomes a new curve that starts as a copy of `curve`.
void RegisterListAsNewCurve(int curve, int first, int length) {
  for (int i = 0; i < length; ++i) CopySegment(first + i, i);
  CopyCurveEntry(curve, g_curveCount);
  g_workCount = length;
  auto dc = GetViewDC();
  RegisterCurveEntry(kRegisterPlain, 1, dc.get());
}

// The chosen list replaces the figures of `curve`. The curves behind it are
// packed again from a copy taken first, so a longer list never overwrites
// them.
bool ReplaceCurveFigures(int curve, int first, int length) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(curve, range)) return false;
  const int total = GetFigureCount(kTableCurves) - range.count() + length;
  if (total > kFigureSlotLimit) {
    ShowErrorCode(-1);  // the drawing is too large
    return false;
  }
  if (!ClearCurveWorkTable()) return false;
  g_figureTableSelector = kTableCurves;
  for (int i = 0; i < length; ++i) {
    LoadSegment(first + i);
    PutFigure(range.first + i);
  }
  g_curveTable[static_cast<std::size_t>(curve)].end = range.first + length;
  RenumberCurveFigures(curve + 1);
  if (range.count() > length) DecrementFigureCount(kTableCurves, range.count() - length);
  g_figureTableSelector = g_curLayer;
  return true;
}

int PickBetweenLists() {
  const int lengthA = WorkListLength(kWorkListA);
  const int lengthB = WorkListLength(kWorkListB);
  const int curve = g_selectionList[0];
  CurveFigureRange range;
  if ((lengthA == 0 && lengthB == 0) || !GetCurveFigureRange(curve, range)) {
    EndEmptyPick();
    return 0;
  }
  // An empty list never wins; on equal distances the list at 20000 does.
  const bool listB =
      lengthB > 0 && (lengthA == 0 || NearestInList(kWorkListB, lengthB) <= NearestInList(kWorkListA, lengthA));
  const int first = listB ? kWorkListB : kWorkListA;
  const int length = listB ? lengthB : lengthA;
  g_curCurveIndex = curve;
  if (g_copyMode != 0)
    RegisterListAsNewCurve(curve, first, length);
  else
    ReplaceCurveFigures(curve, first, length);
  g_workCount = 0;
  return 1;
}

}  // namespace

double WorkFigureDistance(const FigureRecord& f, Vec2 p, double noHit) {
  const int kind = f.kind & 0xFF;
  if (kind == kKindLine) {
    FigureRecord across;
    across.kind = kKindLine;
    across.start = p;
    across.dir = {f.dir.y, -f.dir.x};
    const FigureRecord hit = IntersectFigures(across, f);
    if (hit.number != kHitOnePoint || PointOnFigure(f, hit.start) != kOnFigure) return noHit;
    return RoundedDistance(hit.start, p);
  }
  if (kind == kKindArc) {
    FigureRecord ray;
    ray.kind = kKindLine;
    ray.start = p;
    ray.dir = UnitVectorBetween(f.centre, p);
    if (g_lastDistance < kOnCentre) ray.dir = {1.0, 0.0};
    FigureRecord arc = f;
    arc.choice = kChoiceBothPoints;
    const FigureRecord hit = IntersectFigures(ray, arc);
    if (hit.number > kHitTwoPoints) return noHit;
    double nearest = -1.0;
    for (const Vec2& x : {hit.start, hit.end}) {
      if (PointOnFigure(f, x) != kOnFigure) continue;
      const double d = RoundedDistance(x, p);
      if (nearest < 0.0 || d < nearest) nearest = d;
      if (hit.number != kHitTwoPoints) break;
    }
    return nearest < 0.0 ? noHit : nearest;
  }
  return RoundedDistance(p, f.start);
}

int PickWorkFigure() {
  ResetFilter();
  switch (g_drawingView.m_workPickMode) {
    case kWorkPickTwoFigures:
      return PickNearerOfTwo();
    case kWorkPickTwoLists:
      return PickBetweenLists();
    default:
      return PickAmongCandidates();
  }
}

}  // namespace dorn
