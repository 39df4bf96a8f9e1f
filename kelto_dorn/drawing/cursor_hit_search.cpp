// The search under the cursor: see cursor_hit_search.h.
#include "kelto_dorn/drawing/cursor_hit_search.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// Pick states that accept only arcs and circles (a circle pick, the circle
// of equal-diameter circles).
constexpr int kStateCirclePick = 16;
constexpr int kStateEqualCircle = 141;
// Pocket curves carry an IP point.
constexpr int kCurvePocketCircle = 5;
constexpr int kCurvePocketContour = 7;
// The axis lines reach this far either side of the origin (mm): farther than
// any visible area.
constexpr double kAxisReach = 1.0e7;
// Work box sides are tested as lines of this style.
constexpr int kWorkBoxSideStyle = 20;
// Point-group blocks: block 19 keeps the picked figure, its group follows
// from block 20 while the next block plus 10 stays within the blocks.
constexpr int kPointGroupPickBlock = 19;
constexpr int kPointGroupFirstBlock = 20;
constexpr int kLastSegmentBlock = kSegmentBlockCount - 1;
// The snap search collects at most this many figures under the cursor.
constexpr int kMaxSnapFigures = 16;
// The snap tolerance is 1.1 times the plain pick radius.
constexpr double kSnapToleranceFactor = 1.1;

// The states whose figure pick also reaches curve figures, IP points, the
// axes and the work box: figure and point picks, analysis, move target and
// the dimension picks.
bool SearchesBeyondTable(int state) {
  switch (state) {
    case 3:
    case 5:
    case 6:
    case 36:
    case 616:
    case 33154:
    case 33155:
      return true;
    default:
      return false;
  }
}

bool Accepts(const FigureRecord& f, int mode) {
  if (f.kind == kKindEmpty || f.layer != g_curLayer) return false;
  if (mode == kPickModePointGroup && f.kind != kKindCurvePointTangent) return false;
  if ((g_pickState == kStateCirclePick || g_pickState == kStateEqualCircle) && f.kind != kKindArc) return false;
  return true;
}

void Found(int index, int table) {
  g_pickFoundIndex = index;
  g_pickFoundTable = table;
}

// Loads the figures of one table into g_curFigure in index order (the
// figure table selection kept) until `visit` returns true; true when it did.
template <class Visit>
bool ForEachFigure(int table, Visit visit) {
  const int saved = g_figureTableSelector;
  g_figureTableSelector = table;
  const int count = GetFigureCount(table);
  bool stop = false;
  for (int i = 0; i < count && !stop; ++i) {
    GetFigure(i);
    stop = visit(i);
  }
  g_figureTableSelector = saved;
  return stop;
}

// True when figure i (in g_curFigure) is accepted and hit.
bool AcceptedHit(int i, int mode) {
  g_pickTestIndex = i;
  return Accepts(g_curFigure, mode) && TestFigureAtPick() == 1;
}

// Scans one table in index order for the first accepted figure that is hit.
bool ScanTable(int table, int mode) {
  return ForEachFigure(table, [&](int i) {
    if (!AcceptedHit(i, mode)) return false;
    Found(i, table);
    return true;
  });
}

bool TestSpecial(const FigureRecord& f, int index) {
  g_curFigure = f;
  g_pickTestIndex = index;
  if (TestFigureAtPick() != 1) return false;
  Found(index, -1);
  return true;
}

bool ScanIpPoints() {
  const int count = ScannableCurveCount();
  for (int c = 0; c < count; ++c) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (curve.layer != g_curLayer || (curve.kind != kCurvePocketCircle && curve.kind != kCurvePocketContour)) continue;
    FigureRecord point;
    point.kind = kKindPoint;
    point.layer = g_curLayer;
    point.start = {curve.ipX, curve.ipY};
    if (TestSpecial(point, kFoundIpPointBase + c)) return true;
  }
  return false;
}

FigureRecord SideLine(Vec2 from, Vec2 to, Vec2 dir, Vec2 origin) {
  FigureRecord f;
  f.kind = kKindLine;
  f.style = kWorkBoxSideStyle;
  f.layer = g_curLayer;
  f.origin = origin;
  f.start = from;
  f.end = to;
  f.dir = dir;
  return f;
}

// The axes of the current origin, then the work box sides. A repeated click
// steps on from the axis or side found last.
bool ScanAxesAndWorkBox() {
  if (g_pickFoundIndex < kFoundAxesFirst) g_pickFoundIndex = kFoundNothing;
  g_pickExcludeIndex = g_pickFoundIndex;
  const Vec2 o = CurrentLayerOrigin();
  if (TestSpecial(SideLine({-kAxisReach, 0}, {kAxisReach, 0}, {1, 0}, o), kFoundAxisX)) return true;
  if (TestSpecial(SideLine({0, -kAxisReach}, {0, kAxisReach}, {0, 1}, o), kFoundAxisY)) return true;
  const FigureRecord& w = g_workBoxFigure;  // corners C1..C4 in start, end, centre, dir
  const FigureRecord sides[4] = {SideLine(w.start, w.end, {-1, 0}, {}), SideLine(w.end, w.dir, {0, -1}, {}),
                                 SideLine(w.dir, w.centre, {1, 0}, {}), SideLine(w.centre, w.start, {0, 1}, {})};
  for (int s = 0; s < 4; ++s)
    if (TestSpecial(sides[s], kFoundWorkBoxSide1 + s)) return true;
  return false;
}

// The point-group edit takes the picked figure into block 19 and every
// figure of its group (same figure number) into the blocks from 20.
void CollectPointGroup() {
  const FigureRecord picked = g_curFigure;
  StoreSegment(kPointGroupPickBlock);
  int block = kPointGroupFirstBlock;
  ForEachFigure(g_pickFoundTable, [&](int) {
    if (g_curFigure.kind != kKindEmpty && g_curFigure.number == picked.number) StoreSegment(block++);
    return block + 10 > kLastSegmentBlock;
  });
  g_workCount = block;
  g_curFigure = picked;
}

double SnapTolerance() {
  const int l = std::clamp(g_curLayer, 0, kLayerCount - 1);
  const double scale = std::max(g_layerScale[static_cast<std::size_t>(l)], 1.0);
  double factor = 1.0;
  if (g_pickApertureSize == 2) factor = 2.0;
  if (g_pickApertureSize == 3) factor = 3.0;
  return kSnapToleranceFactor * 100.0 / scale * factor;
}

// The figures of the current layer under the cursor: the current table,
// then table 90 when fewer than two were found there.
struct FiguresUnderCursor {
  std::array<FigureRecord, kMaxSnapFigures> relative{};
  int count = 0;
};

void CollectUnderCursor(int table, FiguresUnderCursor& out) {
  ForEachFigure(table, [&](int i) {
    if (AcceptedHit(i, 0)) out.relative[static_cast<std::size_t>(out.count++)] = g_curFigure;
    return out.count == kMaxSnapFigures;
  });
}

bool SnapToAbsolute(const FigureRecord& figure, Vec2 point) {
  g_curFigure = figure;
  return IsNearCursor(point.x - figure.origin.x, point.y - figure.origin.y);
}

bool SnapToIntersection(const FiguresUnderCursor& under) {
  for (int i = 0; i + 1 < under.count; ++i) {
    const FigureRecord& a = under.relative[static_cast<std::size_t>(i)];
    const FigureRecord hit =
        IntersectFigures(AbsoluteFigure(a), AbsoluteFigure(under.relative[static_cast<std::size_t>(i + 1)]));
    if (hit.number == kHitTouching || hit.number == kHitOnePoint || hit.number == kHitTwoPoints) {
      if (SnapToAbsolute(a, hit.start)) return true;
    }
    if (hit.number == kHitTwoPoints && SnapToAbsolute(a, hit.end)) return true;
  }
  return false;
}

bool SnapToCentreIn(int table) {
  return ForEachFigure(table, [](int) {
    return g_curFigure.kind == kKindArc && g_curFigure.layer == g_curLayer &&
           IsNearCursor(g_curFigure.centre.x, g_curFigure.centre.y);
  });
}

// The middle of a line or arc of g_curFigure (relative to its origin).
Vec2 MiddlePoint(const FigureRecord& f, Vec2 start, Vec2 end) {
  if (f.kind != kKindArc) {
    const double half = std::hypot(end.x - start.x, end.y - start.y) / 2.0;
    return {start.x + half * f.dir.x, start.y + half * f.dir.y};
  }
  const Vec2 c = f.centre;
  const double r = std::fabs(f.radius);
  const Vec2 a = UnitVectorBetween(start, c);
  const Vec2 b = UnitVectorBetween(end, c);
  const double sweep = VectorAngle(a.x * b.x + a.y * b.y, a.x * b.y - a.y * b.x);
  const Vec2 turn = UnitVectorFromAngle(sweep / 2.0);
  return {c.x + r * (a.x * turn.x - a.y * turn.y), c.y + r * (a.x * turn.y + a.y * turn.x)};
}

bool SnapToEndOrMiddleIn(int table) {
  return ForEachFigure(table, [](int i) {
    if (!AcceptedHit(i, 0)) return false;
    const FigureRecord f = g_curFigure;
    if (!IsLineKind(f.kind) && !IsArcKind(f.kind)) return IsNearCursor(f.start.x, f.start.y);
    Vec2 start = f.start, end = f.end;
    if (IsArcKind(f.kind) && f.radius < 0.0) std::swap(start, end);
    const Vec2 middle = MiddlePoint(f, start, end);
    return IsNearCursor(start.x, start.y) || IsNearCursor(end.x, end.y) || IsNearCursor(middle.x, middle.y);
  });
}

}  // namespace

bool PickFigureOrCurve(int mode) {
  g_pickExcludeIndex = -1;
  bool found = ScanTable(g_figureTableSelector, mode);
  if (!found && SearchesBeyondTable(g_pickState)) {
    found = ScanTable(kTableCurves, mode) || ScanIpPoints() || ScanAxesAndWorkBox();
    g_pickExcludeIndex = -1;
  }
  if (found && mode == kPickModePointGroup && g_pickFoundTable >= 0) CollectPointGroup();
  return found;
}

int PickFiguresNearCursor(int kind) {
  const double savedTolerance = g_pickTolerance;
  g_pickTolerance = SnapTolerance();
  g_pickExcludeIndex = -1;
  bool found = false;
  if (kind == kSnapIntersectionOrCentre) {
    FiguresUnderCursor under;
    CollectUnderCursor(g_figureTableSelector, under);
    if (under.count < 2) CollectUnderCursor(kTableCurves, under);
    found = under.count >= 2 ? SnapToIntersection(under)
                             : SnapToCentreIn(g_figureTableSelector) || SnapToCentreIn(kTableCurves);
  } else if (kind == kSnapEndOrMiddle) {
    found = SnapToEndOrMiddleIn(g_figureTableSelector) || SnapToEndOrMiddleIn(kTableCurves);
  }
  g_pickTolerance = savedTolerance;
  return found ? 1 : 0;
}

bool IsNearCursor(double dx, double dy) {
  const Vec2 p{g_curFigure.origin.x + dx, g_curFigure.origin.y + dy};
  if (std::hypot(p.x - g_pickPoint.x, p.y - g_pickPoint.y) > g_pickTolerance) return false;
  g_curFigure.start = {dx, dy};
  return true;
}

}  // namespace dorn
