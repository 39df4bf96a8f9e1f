// The hit test of one figure and the on-figure test: see pick_hit_test.h.
#include "kelto_dorn/drawing/pick_hit_test.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

// A foot of the perpendicular this close to a line's end point is not a hit
// by itself (mm): the end belongs to the end-point rule.
constexpr double kFootOnEnd = 0.001;
// Direction components and length differences this small count as 0, so a
// foot exactly on the start point is inside.
constexpr double kZeroComponent = 1e-6;
constexpr double kZeroLength = 1e-8;
// An arc whose ends are this close is a full circle (mm).
constexpr double kFullCircle = 0.001;
// Below this a radius or a distance from the centre has no direction (mm).
constexpr double kNoDirection = 1e-9;
// The pick states in which the ends of lines and arcs are hit under
// automatic intersection recognition: the point on figures, and the target
// of a two-point move.
constexpr int kStatePointOnFigures = 6;
constexpr int kStateMoveTarget = 616;

double Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
double ZeroSmall(double v, double eps) { return std::fabs(v) < eps ? 0.0 : v; }

bool EndPointHit(const FigureRecord& f, Vec2 p, double t) {
  if (g_autoIntersection != 1) return false;
  if (g_pickState != kStatePointOnFigures && g_pickState != kStateMoveTarget) return false;
  return Length(Minus(p, f.start)) <= t || Length(Minus(p, f.end)) <= t;
}

bool LineHit(const FigureRecord& f, Vec2 p, double t) {
  const Vec2 s = f.start, e = f.end, d = f.dir;
  const Vec2 n{d.y, -d.x};
  const double along = p.x * d.x + p.y * d.y;
  const double across = s.x * n.x + s.y * n.y;
  const Vec2 foot{along * d.x + across * n.x, along * d.y + across * n.y};
  if (Length(Minus(foot, p)) > t) return EndPointHit(f, p, t);
  const double len = Length(Minus(e, s));
  const double m = Length(Minus(e, foot));
  if (m <= kFootOnEnd) return EndPointHit(f, p, t);
  const double gx = ZeroSmall((e.x - foot.x) / m * d.x, kZeroComponent);
  const double gy = ZeroSmall((e.y - foot.y) / m * d.y, kZeroComponent);
  const double rest = ZeroSmall(len - m, kZeroLength);
  if (rest >= 0.0 && gx >= 0.0 && gy >= 0.0) return true;
  return EndPointHit(f, p, t);
}

// The arc of centre c and signed radius r from s to e (counter-clockwise for
// r > 0).
bool ArcHit(const FigureRecord& f, Vec2 c, double r, Vec2 s, Vec2 e, Vec2 p, double t) {
  const double radius = std::fabs(r);
  const Vec2 v = Minus(p, c);
  const double dist = Length(v);
  if (radius < kNoDirection || dist < kNoDirection || std::fabs(dist - radius) >= t) return EndPointHit(f, p, t);
  if (Length(Minus(s, e)) <= kFullCircle) return true;
  const Vec2 q{v.x / dist, v.y / dist};  // the pick projected onto the circle, as a unit vector
  Vec2 a{(s.x - c.x) / radius, (s.y - c.y) / radius};
  Vec2 b{(e.x - c.x) / radius, (e.y - c.y) / radius};
  if (r < 0.0) std::swap(a, b);
  // VectorAngle counts a zero angle as 360, so the start itself is outside.
  const double sweep = VectorAngle(a.x * b.x + a.y * b.y, a.x * b.y - a.y * b.x);
  const double at = VectorAngle(a.x * q.x + a.y * q.y, a.x * q.y - a.y * q.x);
  if (at < sweep) return true;
  return EndPointHit(f, p, t);
}

bool PointKindHit(const FigureRecord& f, Vec2 p, double t) {
  if (Length(Minus(p, f.start)) <= t) return true;
  // A box hole is also hit on its circle, from its right-hand point to its
  // start point.
  if (f.kind != kKindPointMark || f.radius == 0.0) return false;
  const Vec2 from{f.centre.x + f.radius, f.centre.y};
  return ArcHit(f, f.centre, f.radius, from, f.start, p, t);
}

bool SameAsCurrentOrigin(const FigureRecord& f) {
  const Vec2 o = CurrentLayerOrigin();
  return f.origin.x == o.x && f.origin.y == o.y;
}

}  // namespace

bool IsPointKind(int kind) {
  switch (kind) {
    case kKindPoint:
    case kKindPointMark:
    case kKindText:
    case kKindCurvePoint:
    case kKindCurvePointTangent:
    case kKindCurvePointAngle:
      return true;
    default:
      return false;
  }
}

bool IsLineKind(int kind) {
  return kind == kKindLine || kind == 0xD002 || kind == 0xD102 || kind == 0xD202 || kind == 0xD302;
}

bool IsArcKind(int kind) {
  return kind == kKindArc || kind == 0xD003 || kind == 0xD103 || kind == 0xD203 || kind == 0xD303;
}

bool FigureHitAt(const FigureRecord& f, Vec2 p, double tolerance) {
  if (IsPointKind(f.kind)) return PointKindHit(f, p, tolerance);
  if (IsArcKind(f.kind)) return ArcHit(f, f.centre, f.radius, f.start, f.end, p, tolerance);
  if (IsLineKind(f.kind)) return LineHit(f, p, tolerance);
  return false;
}

int TestFigureAtPick() {
  const FigureRecord& f = g_curFigure;
  if (g_pickSameOriginOnly != 0 && !SameAsCurrentOrigin(f)) return 0;
  if (!FigureHitAt(AbsoluteFigure(f), g_pickPoint, g_pickTolerance)) return 0;
  if (g_pickTestIndex == g_pickExcludeIndex) return 0;
  SaveCurrentFigure();
  return 1;
}

int PointOnFigure(const FigureRecord& f, Vec2 x) {
  const int kind = f.kind & 0xFF;
  if (kind == kKindLine) {
    const Vec2 u = UnitVectorBetween(f.end, x);
    if (u.x * f.dir.x + u.y * f.dir.y < 0.0) return kOffFigure;
    return RoundedDistance(f.end, x) > RoundedDistance(f.end, f.start) ? kOffFigure : kOnFigure;
  }
  if (kind == kKindArc) {
    const Vec2 c = f.centre;
    const double as = Round3(VectorAngle0(f.start.x - c.x, f.start.y - c.y));
    const double ae = Round3(VectorAngle0(f.end.x - c.x, f.end.y - c.y));
    const double ax = Round3(VectorAngle0(x.x - c.x, x.y - c.y));
    if (as == ae) return kOnFigure;  // a full circle
    double a = ax - as;
    double w = ae - as;
    if (a < 0.0) a += 360.0;
    if (w < 0.0) w += 360.0;
    const bool outside = f.radius > 0.0 ? (a < 0.0 || a > w) : (a > 0.0 && a < w);
    return outside ? kOffFigure : kOnFigure;
  }
  return kOnFigure;
}

}  // namespace dorn
