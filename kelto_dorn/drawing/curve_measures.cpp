// Lengths along figures and curves: see curve_measures.h.
#include "kelto_dorn/drawing/curve_measures.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// A sweep below this (degrees) is a full circle.
constexpr double kFullSweep = 0.00001;
// While a long curve is walked, a sweep above this (degrees) counts as 0.
constexpr double kLongCurveSweep = 359.0;
constexpr int kLongCurve = 13999;
// A curve of more than this many figures is a long curve.
constexpr int kLongCurveFigures = 4;
// The ends of a figure are recognised within this (mm).
constexpr double kAtEnd = 0.001;
// An angle below this (degrees) about an arc's centre is the full turn.
constexpr double kZeroAngle = 1e-8;

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool IsLineFigure(const FigureRecord& f) { return !IsPointKind(f.kind) && (f.kind & 0xF) == kKindLine; }
bool IsArcFigure(const FigureRecord& f) { return !IsPointKind(f.kind) && (f.kind & 0xF) == kKindArc; }

// The angle of x about the arc's centre, counted from its start in its sense
// of travel: (0, 360].
double AngleFromStart(const FigureRecord& arc, Vec2 x) {
  const Vec2 a = UnitVectorBetween(arc.start, arc.centre);
  const Vec2 b = UnitVectorBetween(x, arc.centre);
  double angle = VectorAngle(a.x * b.x + a.y * b.y, a.x * b.y - a.y * b.x);
  if (arc.radius < 0.0) angle = 360.0 - angle;
  return angle < kZeroAngle ? 360.0 : angle;
}

int PartialOfArc(FigureRecord f, Vec2 x) {
  if (AngleFromStart(f, x) > AngleFromStart(f, f.end)) {
    g_curFigure = f;
    ArcLength();
    g_curFigure = f;
    return kPointOutside;
  }
  g_curFigure = f;
  g_curFigure.end = x;
  ArcLength();
  g_curFigure = f;
  return kPointInside;
}

int PartialOfLine(const FigureRecord& f, Vec2 x) {
  const double along = (x.x - f.start.x) * f.dir.x + (x.y - f.start.y) * f.dir.y;
  const double reach = Distance(x, f.start);
  if (along < 0.0 || reach > Distance(f.end, f.start)) {
    g_lastLength = Distance(f.end, f.start);
    return kPointOutside;
  }
  g_lastLength = reach;
  return kPointInside;
}

// The sweep of an arc in degrees, signed by its sense (full circle 360).
double SignedSweep(const FigureRecord& arc) {
  const double sweep = AngleFromStart(arc, arc.end);
  return arc.radius < 0.0 ? -sweep : sweep;
}

}  // namespace

double ArcLength() {
  const FigureRecord& f = g_curFigure;
  const Vec2 u = UnitVectorBetween(f.end, f.centre);
  const Vec2 w{f.start.x - f.centre.x, f.start.y - f.centre.y};
  const double c = u.x * w.y - u.y * w.x;
  const double d = u.x * w.x + u.y * w.y;
  double sweep = (f.radius > 0.0 ? std::atan2(-c, d) : std::atan2(c, d)) * kDegreesPerRadian;
  if (sweep < 0.0) sweep += 360.0;
  if (f.radius < 0.0) sweep = -sweep;
  if (std::fabs(sweep) < kFullSweep) sweep = 360.0;
  if (g_drawingView.m_longCurveMarker == kLongCurve && std::fabs(sweep) > kLongCurveSweep) sweep = 0.0;
  g_lastLength = std::fabs(f.radius * sweep * kRadiansPerDegree);
  return g_lastLength;
}

void FigureLength() {
  const FigureRecord& f = g_curFigure;
  if (IsLineFigure(f))
    g_lastLength = Distance(f.end, f.start);
  else if (IsArcFigure(f))
    ArcLength();
  else
    g_lastLength = 0.0;
}

int PartialLengthToPoint(double x, double y, int mode) {
  const FigureRecord f = g_curFigure;
  const Vec2 p{x, y};
  if (Distance(p, f.start) <= kAtEnd) {
    g_lastLength = 0.0;
    return kPointAtStart;
  }
  if (Distance(p, f.end) <= kAtEnd) {
    if (mode == 0) FigureLength();
    return kPointAtEnd;
  }
  if (mode == kEndsOnly) {
    FigureLength();
    return kPointOutside;
  }
  if (IsArcFigure(f)) return PartialOfArc(f, p);
  if (IsLineFigure(f)) return PartialOfLine(f, p);
  g_lastLength = 0.0;
  return kPointOutside;
}

double CurveLengthToPoint(double x, double y, int curve, int mode) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(curve, range)) return 0.0;
  g_drawingView.m_longCurveMarker = range.first + kLongCurveFigures < range.end ? kLongCurve : 0;
  const Vec2 p{x, y};
  double total = 0.0;
  for (int i = range.first; i < range.end; ++i) {
    GetFigure(kTableCurves, i);
    if (IsPointKind(g_curFigure.kind)) continue;
    if (IsLineFigure(g_curFigure)) ComputeLineDirection(kCurrentFigure);
    const Vec2 foot = IntersectFigures(g_curFigure, PointFigure(p)).start;
    if (Distance(p, foot) > g_pickTolerance) {
      FigureLength();
      total += g_lastLength;
      continue;
    }
    const int where = PartialLengthToPoint(x, y, 0);
    total += g_lastLength;
    if (where == kPointOutside) continue;
    if (total != 0.0 || mode == kStopAtFirst) break;
    // The point is the curve's start: measure on to where it is found again
    // (the end of a closed curve).
    FigureLength();
    total = g_lastLength;
  }
  // The long-curve rule belongs to this walk only: a later arc measure (the
  // analysis, a chamfer) must see a full circle as a full circle again.
  g_drawingView.m_longCurveMarker = 0;
  g_figureTableSelector = g_curLayer;
  return total;
}

void MeasurePickDistance(int kind) {
  const FigureRecord& f = g_curFigure;
  if (kind == kKindLine)
    g_drawingView.m_analysisLength = Distance(f.end, f.start);
  else if (kind == kKindArc)
    g_drawingView.m_analysisLength = ArcLength();
}

Vec2 GetCurveEndPoint(bool last) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range) || range.count() == 0) return {};
  const FigureRecord saved = g_curFigure;
  GetFigure(kTableCurves, last ? range.end - 1 : range.first);
  const Vec2 point = g_curFigure.start;
  g_curFigure = saved;
  return point;
}

void CancelPickState(int code) {
  ClearFigureList();
  if (code == kCancelBlocksOnly) return;
  g_figureTableSelector = 0;
  ClearCurrentFigure();
  g_pickFoundIndex = kFoundNothing;
  g_pickFoundTable = -1;
}

void MidPointOfFigure() {
  FigureRecord& f = g_curFigure;
  if (IsArcFigure(f)) {
    // Half the arc's own sweep, so the middle of an arc of more than half a
    // turn lies on its far side.
    const Vec2 from{f.start.x - f.centre.x, f.start.y - f.centre.y};
    const Vec2 turn = UnitVectorFromAngle(SignedSweep(f) / 2.0);
    const Vec2 middle{f.centre.x + from.x * turn.x - from.y * turn.y, f.centre.y + from.x * turn.y + from.y * turn.x};
    f.dir = ArcTangentAtPoint(f, middle);
    f.start = middle;
  } else {
    f.start = {(f.start.x + f.end.x) * 0.5, (f.start.y + f.end.y) * 0.5};
  }
  f.end = f.start;
  f.kind = kKindPoint;
  f.centre = {};
  f.radius = 0.0;
  f.choice = 0;
}

Vec2 ArcTangentAtPoint(const FigureRecord& arc, Vec2 p) {
  const double r = std::fabs(arc.radius);
  if (r == 0.0) return {};
  const Vec2 t{-(p.y - arc.centre.y) / r, (p.x - arc.centre.x) / r};
  return arc.radius > 0.0 ? t : Vec2{-t.x, -t.y};
}

}  // namespace dorn
