// The pocket fields of a curve: see curve_evaluation.h.
#include "kelto_dorn/drawing/curve_evaluation.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// Ends closer than this close a contour (mm), as the joints are rounded.
constexpr double kClosedTolerance = 0.001;

Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }

Vec2 LineDirection(const FigureRecord& f) {
  const Vec2 d = Sub(f.end, f.start);
  const double len = std::hypot(d.x, d.y);
  return len > 0.0 ? Vec2{d.x / len, d.y / len} : f.dir;
}

// The unit tangent of a line or arc at one of its points.
Vec2 TangentAt(const FigureRecord& f, Vec2 at) {
  return f.kind == kKindArc ? ArcTangentAtPoint(f, at) : LineDirection(f);
}

FigureRecord EndPoint(const FigureRecord& f, Vec2 at) {
  FigureRecord p = f;
  p.kind = kKindPoint;
  p.start = p.end = at;
  p.dir = TangentAt(f, at);
  p.centre = {};
  p.radius = 0.0;
  p.choice = 0;
  return p;
}

void FrameWithEndPoints() {
  const int n = g_workCount;
  if (n <= 0 || n + 2 > kSegmentBlockCount) return;
  const FigureRecord first = *g_figureStore.SegmentBlock(0);
  const FigureRecord last = *g_figureStore.SegmentBlock(n - 1);
  for (int i = n - 1; i >= 0; --i) CopySegment(i, i + 1);
  *g_figureStore.SegmentBlock(0) = EndPoint(first, first.start);
  *g_figureStore.SegmentBlock(n + 1) = EndPoint(last, last.end);
  g_workCount = n + 2;
}

bool IsLineOrArc(const FigureRecord& f) { return f.kind == kKindLine || f.kind == kKindArc; }

// The signed distance along `normal` from `from` to the farthest crossing
// with a figure of the list other than `skip`, preferring the positive side.
bool FarthestCrossing(Vec2 from, Vec2 normal, int skip, double& distance) {
  FigureRecord ray = LineFigure(from, normal);
  double ahead = 0.0;
  double behind = 0.0;
  for (int i = 0; i < g_workCount; ++i) {
    if (i == skip) continue;
    FigureRecord f = *g_figureStore.SegmentBlock(i);
    if (!IsLineOrArc(f)) continue;
    f.origin = {};
    f.choice = kChoiceBothPoints;
    const FigureRecord hit = IntersectFigures(ray, f);
    if (hit.number > kHitTwoPoints) continue;
    for (const Vec2& x : {hit.start, hit.end}) {
      if (PointOnFigure(f, x) == kOnFigure) {
        const double t = Dot(Sub(x, from), normal);
        if (t > ahead) ahead = t;
        if (t < behind) behind = t;
      }
      if (hit.number != kHitTwoPoints) break;
    }
  }
  distance = ahead > 0.0 ? ahead : behind;
  return distance != 0.0;
}

// The first line or arc of the work list, or -1.
int FirstFigure() {
  for (int i = 0; i < g_workCount; ++i)
    if (IsLineOrArc(*g_figureStore.SegmentBlock(i))) return i;
  return -1;
}

int LastFigure() {
  for (int i = g_workCount - 1; i >= 0; --i)
    if (IsLineOrArc(*g_figureStore.SegmentBlock(i))) return i;
  return -1;
}

}  // namespace

void EvaluateCurvePick(int mode) {
  const int firstIndex = FirstFigure();
  if (firstIndex < 0) return;
  const int lastIndex = LastFigure();
  const FigureRecord first = *g_figureStore.SegmentBlock(firstIndex);
  const FigureRecord last = *g_figureStore.SegmentBlock(lastIndex);
  const bool singleCircle = firstIndex == lastIndex && first.kind == kKindArc &&
                            std::hypot(first.start.x - first.end.x, first.start.y - first.end.y) < kClosedTolerance;
  CurveRecord& record = g_curCurveRecord;
  record.kind = singleCircle ? kCurveKindPocketCircle : kCurveKindPocket;
  const bool closed = std::hypot(first.start.x - last.end.x, first.start.y - last.end.y) < kClosedTolerance;
  Vec2 ip = first.start;
  if (singleCircle) {
    ip = first.centre;
  } else if (closed) {
    FigureRecord middle = first;
    const FigureRecord saved = g_curFigure;
    g_curFigure = middle;
    MidPointOfFigure();
    middle = g_curFigure;
    g_curFigure = saved;
    const Vec2 normal{-middle.dir.y, middle.dir.x};
    double distance = 0.0;
    if (FarthestCrossing(middle.start, normal, firstIndex, distance))
      ip = {middle.start.x + normal.x * distance * 0.5, middle.start.y + normal.y * distance * 0.5};
  }
  record.ipX = ip.x + first.origin.x;
  record.ipY = ip.y + first.origin.y;
  record.flags |= kCurveIpPointSet;
  if (mode == 0) FrameWithEndPoints();
}

}  // namespace dorn
