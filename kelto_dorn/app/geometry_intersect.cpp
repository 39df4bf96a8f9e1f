// IntersectFigures: the intersection of two figures. The pair of kind classes
// chooses the case; points are reduced to a perpendicular line (against a
// line) or to the nearest circle point (against an arc), arc-line is turned
// into line-arc, and arc-arc into the common chord against the second circle.
#include <cmath>

#include "kelto_dorn/app/geometry.h"

namespace dorn {
namespace {

// Tolerances of the intersection (mm unless stated).
constexpr double kParallelDet = 0.0001;  // |cross product of unit directions|
constexpr double kSamePoint = 1e-6;      // parallel lines through one point
constexpr double kOnLineCross = 0.0005;  // |sin| of the offset of a parallel line
constexpr double kTouch = 0.001;         // tangent and concentric tolerance

enum KindClass { kClassPoint = 1, kClassLine = 2, kClassArc = 3, kClassFoot = 8 };

int ClassOf(int kind) {
  switch (kind) {
    case 1:
    case 8:
    case 55:
    case 68:
    case 84:
    case 340:
      return kClassPoint;
    default:
      return kind & 0xF;
  }
}

constexpr int Pair(int a, int b) { return 16 * a + b; }

double Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

FigureRecord Result(FigureRecord work, int code, Vec2 first, Vec2 second) {
  work.number = code;
  work.start = first;
  work.end = second;
  return work;
}

FigureRecord NoHit(const FigureRecord& work, int code) { return Result(work, code, {}, {}); }

FigureRecord LineLine(const FigureRecord& a, const FigureRecord& b) {
  const Vec2 da = a.dir;
  const Vec2 db = b.dir;
  const double det = da.x * db.y - da.y * db.x;
  if (det > -kParallelDet && det < kParallelDet) {
    const Vec2 w{a.start.x - b.end.x, a.start.y - b.end.y};
    const double len = Length(w);
    if (len < kSamePoint) return NoHit(a, kHitSameLine);
    const double cross = (w.y / len) * da.x - (w.x / len) * da.y;
    return NoHit(a, std::fabs(cross) < kOnLineCross ? kHitSameLine : kHitNone);
  }
  const double ca = a.start.x * da.y - a.start.y * da.x;
  const double cb = b.start.x * db.y - b.start.y * db.x;
  const Vec2 p{(cb * da.x - ca * db.x) / det, (cb * da.y - ca * db.y) / det};
  return Result(a, kHitOnePoint, p, a.end);
}

// The point of the circle of `arc` nearest to `point`'s start.
FigureRecord PointArc(const FigureRecord& point, const FigureRecord& arc) {
  const Vec2 u = UnitVectorBetween(point.start, arc.centre);
  const double r = std::fabs(arc.radius);
  const Vec2 p{arc.centre.x + r * u.x, arc.centre.y + r * u.y};
  return Result(point, kHitOnePoint, p, point.end);
}

// The line through `through`'s start, perpendicular to `line`.
FigureRecord PerpendicularThrough(FigureRecord through, const FigureRecord& line) {
  through.dir = {-line.dir.y, line.dir.x};
  return through;
}

// Line L (start S, unit direction d) against the circle of `arc`.
FigureRecord LineArc(const FigureRecord& line, const FigureRecord& arc, int mode) {
  const Vec2 s = line.start;
  const Vec2 d = line.dir;
  const Vec2 c = arc.centre;
  const double r = arc.radius;
  const double t = (c.x - s.x) * d.x + (c.y - s.y) * d.y;
  const Vec2 foot{s.x + t * d.x, s.y + t * d.y};
  const double dist = Length({foot.x - c.x, foot.y - c.y});
  const double gap = std::fabs(r) - dist;
  if (gap > -kTouch && gap < kTouch) return Result(line, kHitTouching, foot, line.end);
  if (gap <= -kTouch) return NoHit(line, kHitNone);
  const double h = std::sqrt(r * r - dist * dist);
  const Vec2 ahead{foot.x + h * d.x, foot.y + h * d.y};
  const Vec2 behind{foot.x - h * d.x, foot.y - h * d.y};
  switch (mode) {
    case 1:
      return Result(line, kHitOnePoint, r >= 0.0 ? behind : ahead, line.end);
    case kChoiceBothPoints:
      return r < 0.0 ? Result(line, kHitTwoPoints, behind, ahead) : Result(line, kHitTwoPoints, ahead, behind);
    default:  // 0, 2, 3 and the unused modes
      return Result(line, kHitOnePoint, r > 0.0 ? ahead : behind, line.end);
  }
}

FigureRecord ArcArc(const FigureRecord& a, const FigureRecord& b, int mode) {
  const double ra = std::fabs(a.radius);
  const double rb = std::fabs(b.radius);
  const Vec2 diff{a.centre.x - b.centre.x, a.centre.y - b.centre.y};
  const double dist = Length(diff);
  if (dist < kTouch) return NoHit(a, std::fabs(ra - rb) < kTouch ? kHitSameLine : kHitNone);
  const Vec2 u{diff.x / dist, diff.y / dist};
  if (std::fabs(std::fabs(ra - rb) - dist) < kTouch) {
    const double side = ra >= rb ? -ra : ra;  // internal touching
    return Result(a, kHitTouching, {a.centre.x + u.x * side, a.centre.y + u.y * side}, a.end);
  }
  if (std::fabs(ra + rb - dist) < kTouch) {  // external touching
    return Result(a, kHitTouching, {a.centre.x - u.x * ra, a.centre.y - u.y * ra}, a.end);
  }
  if (std::fabs(ra - rb) > dist || dist > ra + rb) return NoHit(a, kHitNone);
  // The common chord, as a line against circle B.
  const double along = (b.radius * b.radius + dist * dist - a.radius * a.radius) / 2.0 / dist;
  FigureRecord chord = a;
  chord.start = {b.centre.x + along * u.x, b.centre.y + along * u.y};
  chord.dir = a.radius < 0.0 ? Vec2{-u.y, u.x} : Vec2{u.y, -u.x};
  return LineArc(chord, b, mode);
}

}  // namespace

FigureRecord IntersectFigures(FigureRecord a, FigureRecord b) {
  int mode = b.choice & 0xF;
  switch (Pair(ClassOf(a.kind), ClassOf(b.kind))) {
    case Pair(kClassPoint, kClassLine):
    case Pair(kClassFoot, kClassLine):
      return LineLine(PerpendicularThrough(a, b), b);
    case Pair(kClassLine, kClassPoint):
    case Pair(kClassLine, kClassFoot):
      return LineLine(a, PerpendicularThrough(b, a));
    case Pair(kClassLine, kClassLine):
      return LineLine(a, b);
    case Pair(kClassPoint, kClassArc):
    case Pair(kClassFoot, kClassArc):
      return PointArc(a, b);
    case Pair(kClassArc, kClassPoint):
    case Pair(kClassArc, kClassFoot):
      return PointArc(b, a);
    case Pair(kClassLine, kClassArc):
      return LineArc(a, b, mode);
    case Pair(kClassArc, kClassLine):
      // Exchanged, with the choice turned round for the exchanged order.
      mode = mode == 1 ? 0 : (mode == kChoiceBothPoints ? kChoiceBothPoints : 1);
      return LineArc(b, a, mode);
    case Pair(kClassArc, kClassArc):
      return ArcArc(a, b, mode);
    default:
      return NoHit(a, kHitNone);
  }
}

}  // namespace dorn
