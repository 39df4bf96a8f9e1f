// Figures of the constructions: see construction_figures.h.
#include "kelto_dorn/drawing/construction_figures.h"

#include <cmath>
#include <utility>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"

namespace dorn {
namespace {

Vec2 Plus(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }

}  // namespace

FigureRecord AbsoluteFigure(const FigureRecord& f) {
  FigureRecord a = f;
  a.start = Plus(f.start, f.origin);
  a.end = Plus(f.end, f.origin);
  a.centre = Plus(f.centre, f.origin);
  a.origin = {};
  return a;
}

FigureRecord FigureInFrame(const FigureRecord& f, Vec2 origin) {
  if (f.origin == origin) return f;
  const Vec2 shift = Minus(f.origin, origin);
  FigureRecord g = f;
  g.start = Plus(f.start, shift);
  g.end = Plus(f.end, shift);
  g.centre = Plus(f.centre, shift);
  g.origin = origin;
  return g;
}

FigureRecord ReversedFigure(FigureRecord f) {
  f.radius = -f.radius;
  f.dir = {-f.dir.x, -f.dir.y};
  std::swap(f.start, f.end);
  return f;
}

bool OffsetCopy(const FigureRecord& f, double d, FigureRecord& out) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = f;
  const bool done = OffsetFigure(d) == 0;
  out = g_curFigure;
  g_curFigure = saved;
  return done;
}

FigureRecord PointFigure(Vec2 at, Vec2 origin) {
  FigureRecord f;
  f.kind = kKindPoint;
  f.origin = origin;
  f.start = f.end = at;
  return f;
}

FigureRecord LineFigure(Vec2 start, Vec2 dir, Vec2 origin) {
  FigureRecord f;
  f.kind = kKindLine;
  f.origin = origin;
  f.start = start;
  f.end = Plus(start, dir);
  f.dir = dir;
  return f;
}

FigureRecord CircleFigure(Vec2 centre, double radius, Vec2 origin) {
  FigureRecord f;
  f.kind = kKindArc;
  f.origin = origin;
  f.centre = centre;
  f.radius = radius;
  f.start = f.end = {centre.x + std::fabs(radius), centre.y};
  return f;
}

FigureRecord CandidateFigure(int kind, Vec2 origin) {
  const FigureRecord saved = g_curFigure;
  ClearCurrentFigure();
  FigureRecord f = g_curFigure;
  g_curFigure = saved;
  f.kind = kind;
  f.origin = origin;
  return f;
}

Vec2 TouchingPoint(const FigureRecord& f, Vec2 centre, double radius) {
  if (f.kind != kKindArc) return IntersectFigures(PointFigure(centre), f).start;
  const double r = std::fabs(f.radius);
  Vec2 u = UnitVectorBetween(centre, f.centre);
  if (g_lastDistance == 0.0) u = {1.0, 0.0};
  const Vec2 near{f.centre.x + r * u.x, f.centre.y + r * u.y};
  const Vec2 far{f.centre.x - r * u.x, f.centre.y - r * u.y};
  const double want = std::fabs(radius);
  const double dNear = std::fabs(std::hypot(near.x - centre.x, near.y - centre.y) - want);
  const double dFar = std::fabs(std::hypot(far.x - centre.x, far.y - centre.y) - want);
  return dFar < dNear ? far : near;
}

}  // namespace dorn
