// Circles constructed from picked figures: see circle_constructions.h.
#include "kelto_dorn/drawing/circle_constructions.h"

#include <cmath>
#include <utility>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/construction_figures.h"

namespace dorn {
namespace {

// A constructed radius outside these bounds is no circle (mm).
constexpr double kLargestRadius = 999999.0;
constexpr double kSmallestRadius = 0.0001;
// A chord shorter than this has no perpendicular of its own (mm).
constexpr double kShortChord = 0.00001;
// Below this a vector or a denominator counts as zero.
constexpr double kTiny = 1e-9;

double Length(Vec2 v) { return std::hypot(v.x, v.y); }

FigureRecord Block(int i) { return *g_figureStore.SegmentBlock(i); }

void Store(int block, const FigureRecord& f) {
  if (FigureRecord* slot = g_figureStore.SegmentBlock(block)) *slot = f;
}

void StoreEmpty(int block) { Store(block, FigureRecord{}); }

bool Meets(const FigureRecord& hit) { return hit.number <= kHitTwoPoints; }

FigureRecord FullCircle(Vec2 centre, double radius, Vec2 origin) {
  FigureRecord c = CandidateFigure(kKindArc, origin);
  c.centre = centre;
  c.radius = radius;
  c.start = c.end = {centre.x + std::fabs(radius), centre.y};
  return c;
}

void NoCircle(FigureRecord& out) { out.kind = kKindEmpty; }

bool Acceptable(double radius) {
  const double r = std::fabs(radius);
  return r <= kLargestRadius && r >= kSmallestRadius;
}

}  // namespace

void CircleRadiusTangentCentreLine(int type, int block, double radius) {
  FigureRecord centreLine = Block(1);
  FigureRecord touched = FigureInFrame(Block(5), centreLine.origin);
  double r = radius;
  if (type == 2) {
    if (touched.kind == kKindLine)
      r = -r;
    else
      centreLine = ReversedFigure(centreLine);
  }
  if (type == 3 || type == 4) touched = ReversedFigure(touched);
  if (type == 4) centreLine = ReversedFigure(centreLine);
  FigureRecord offset;
  if (!OffsetCopy(touched, r, offset)) return StoreEmpty(block);
  const FigureRecord hit = IntersectFigures(offset, centreLine);
  if (!Meets(hit)) return StoreEmpty(block);
  Store(block, FullCircle(hit.start, std::fabs(radius), centreLine.origin));
}

void CircleRadiusPointCentreLine(int type, int block, double radius, Vec2 point) {
  FigureRecord centreLine = Block(1);
  if (type == 1) centreLine = ReversedFigure(centreLine);
  const FigureRecord around = CircleFigure(point, std::fabs(radius), centreLine.origin);
  const FigureRecord hit = IntersectFigures(centreLine, around);
  if (!Meets(hit)) return StoreEmpty(block);
  FigureRecord c = FullCircle(hit.start, std::fabs(radius), centreLine.origin);
  c.start = c.end = point;
  Store(block, c);
}

void CircleRadiusTangentToTwo(int type, int block, double radius) {
  FigureRecord first = Block(1);
  FigureRecord second = FigureInFrame(Block(2), first.origin);
  if (type == 2 || type == 4) first = ReversedFigure(first);
  if (type == 3 || type == 4) second = ReversedFigure(second);
  FigureRecord a, b;
  if (!OffsetCopy(first, radius, a) || !OffsetCopy(second, radius, b)) return StoreEmpty(block);
  b.choice = radius < 0.0 ? 1 : 0;
  const FigureRecord hit = IntersectFigures(a, b);
  if (!Meets(hit)) return StoreEmpty(block);
  FigureRecord c = FullCircle(hit.start, radius, first.origin);
  c.start = c.end = TouchingPoint(first, hit.start, radius);
  Store(block, c);
}

void CircleRadiusPointTangent(int side, int block, double radius, Vec2 point) {
  const FigureRecord pick = Block(1);
  FigureRecord around = CircleFigure(point, radius, pick.origin);
  around.choice = (radius < 0.0 ? 1 : 0) ^ (side == 1 ? 1 : 0);
  FigureRecord offset;
  if (!OffsetCopy(pick, radius, offset)) return StoreEmpty(block);
  const FigureRecord hit = IntersectFigures(offset, around);
  if (!Meets(hit)) return StoreEmpty(block);
  FigureRecord c = FullCircle(hit.start, radius, pick.origin);
  c.start = point;
  c.end = TouchingPoint(pick, hit.start, radius);
  if (side == 1) std::swap(c.start, c.end);
  Store(block, c);
}

void CirclePointAngleTangent(FigureRecord& out, const FigureRecord& figure, const FigureRecord& pointFigure) {
  const Vec2 p = pointFigure.start;
  const Vec2 t = pointFigure.dir;
  const Vec2 n{-t.y, t.x};
  out = CandidateFigure(kKindArc, pointFigure.origin);
  double radius = 0.0;
  if (figure.kind == kKindArc) {
    // The centre lies where a circle through P' (P moved by R along the
    // normal) centred on the normal line passes through the arc's centre.
    const double r = figure.radius;
    const Vec2 moved{p.x + r * n.x, p.y + r * n.y};
    Vec2 w{figure.centre.x - moved.x, figure.centre.y - moved.y};
    if (Length(w) < kTiny) w = n;
    const double across = 2.0 * (w.x * n.x + w.y * n.y);
    if (std::fabs(across) < kTiny) return NoCircle(out);
    radius = (w.x * w.x + w.y * w.y) / across + r;
  } else if (figure.kind == kKindLine) {
    // The centre P + h n lies at the distance h to the left of the line.
    const Vec2 m{-figure.dir.y, figure.dir.x};
    const double side = (p.x - figure.start.x) * m.x + (p.y - figure.start.y) * m.y;
    const double across = 1.0 - (n.x * m.x + n.y * m.y);
    if (std::fabs(across) < kTiny) return NoCircle(out);
    radius = side / across;
  } else {
    return NoCircle(out);
  }
  if (!std::isfinite(radius) || !Acceptable(radius)) return NoCircle(out);
  out.centre = {p.x + radius * n.x, p.y + radius * n.y};
  out.radius = radius;
  out.start = out.end = p;
}

void CircleThroughThreePoints(FigureRecord& out, Vec2 p1, Vec2 p2, Vec2 p3) {
  const auto bisector = [](Vec2 a, Vec2 b) {
    const Vec2 chord{b.x - a.x, b.y - a.y};
    const double len = Length(chord);
    const Vec2 dir = len < kShortChord ? Vec2{1.0, 0.0} : Vec2{-chord.y / len, chord.x / len};
    return LineFigure({(a.x + b.x) / 2, (a.y + b.y) / 2}, dir);
  };
  out = CandidateFigure(kKindArc, {});
  const FigureRecord hit = IntersectFigures(bisector(p1, p2), bisector(p2, p3));
  if (hit.number != kHitOnePoint) return NoCircle(out);
  const Vec2 c = hit.start;
  const double r = Length({p1.x - c.x, p1.y - c.y});
  if (!Acceptable(r)) return NoCircle(out);
  // Counter-clockwise (positive radius) when p2 lies on the left-turning way.
  const double turn = (p2.x - p1.x) * (p3.y - p2.y) - (p2.y - p1.y) * (p3.x - p2.x);
  out.centre = c;
  out.radius = turn >= 0.0 ? r : -r;
  out.start = p1;
  out.end = p3;
}

void CircleCentreTangent(FigureRecord& out, const FigureRecord& figure, Vec2 centre, bool far) {
  out = CandidateFigure(kKindArc, figure.origin);
  double radius = 0.0;
  if (figure.kind == kKindLine) {
    if (far) return NoCircle(out);
    const Vec2 foot = IntersectFigures(PointFigure(centre), figure).start;
    radius = Length({foot.x - centre.x, foot.y - centre.y});
  } else if (figure.kind == kKindArc) {
    const double d = Length({centre.x - figure.centre.x, centre.y - figure.centre.y});
    const double r = std::fabs(figure.radius);
    if (far && d < kTiny) return NoCircle(out);  // concentric: the far circle is the near one
    radius = far ? d + r : std::fabs(d - r);
  } else {
    return NoCircle(out);
  }
  if (!Acceptable(radius)) return NoCircle(out);
  out = FullCircle(centre, radius, figure.origin);
}

}  // namespace dorn
