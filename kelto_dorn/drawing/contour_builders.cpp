// The contours of the contour dialogs: see contour_builders.h.
#include "kelto_dorn/drawing/contour_builders.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"

namespace dorn {

namespace {

constexpr double kMinRectSide = 0.001;
constexpr double kMinPolygonSize = 0.1;
constexpr int kMinCorners = 3;
constexpr int kMaxCorners = 99;

Vec2 Plus(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Times(Vec2 a, double k) { return {a.x * k, a.y * k}; }
double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

Vec2 Unit(Vec2 v) {
  const double len = std::hypot(v.x, v.y);
  return len > 0.0 ? Vec2{v.x / len, v.y / len} : v;
}

FigureRecord Line(Vec2 a, Vec2 b) {
  FigureRecord f;
  f.kind = kKindLine;
  f.style = kNewFigureStyle;
  f.start = a;
  f.end = b;
  f.dir = Unit(Minus(b, a));
  return f;
}

// A counter-clockwise arc about `centre`; its ends come from the joints.
FigureRecord Arc(Vec2 centre, double r) {
  FigureRecord f;
  f.kind = kKindArc;
  f.style = kNewFigureStyle;
  f.centre = centre;
  f.radius = r;
  f.start = f.end = Plus(centre, {r, 0.0});
  return f;
}

// Where figure `next` starts after `prev`: of their intersections the one a
// line reaches first (nearest its start), or, after an arc, the one nearest
// the end of the line that follows. False when they do not meet.
bool JoinPoint(const FigureRecord& prev, const FigureRecord& next, Vec2& at) {
  FigureRecord a = prev, b = next;
  b.choice = kChoiceBothPoints;
  const FigureRecord hit = IntersectFigures(a, b);
  if (hit.number > kHitTwoPoints) return false;
  at = hit.start;
  if (hit.number != kHitTwoPoints) return true;
  const Vec2 near = prev.kind == kKindLine ? prev.start : next.end;
  if (Distance(hit.end, near) < Distance(hit.start, near)) at = hit.end;
  return true;
}

// The corners P1 (upper right), P2, P3, P4 counter-clockwise by set position.
std::array<Vec2, 4> RectCorners(double w, double h, int position) {
  switch (position) {
    case 1:
      return {Vec2{0, 0}, Vec2{-w, 0}, Vec2{-w, -h}, Vec2{0, -h}};
    case 2:
      return {Vec2{w, 0}, Vec2{0, 0}, Vec2{0, -h}, Vec2{w, -h}};
    case 3:
      return {Vec2{w, h}, Vec2{0, h}, Vec2{0, 0}, Vec2{w, 0}};
    case 4:
      return {Vec2{0, h}, Vec2{-w, h}, Vec2{-w, 0}, Vec2{0, 0}};
    default:
      return {Vec2{w / 2, h / 2}, Vec2{-w / 2, h / 2}, Vec2{-w / 2, -h / 2}, Vec2{w / 2, -h / 2}};
  }
}

// The corner figure at Q between the incoming direction `in` and the
// outgoing direction `out` (unit, axis-parallel).
FigureRecord RectCorner(Vec2 q, Vec2 in, Vec2 out, const RectContourValues& v) {
  const double c = v.corner;
  if (v.cornerMode == kCornerChamfer) return Line(Minus(q, Times(in, c)), Plus(q, Times(out, c)));
  // The tangent arc's centre lies c inside both edges; the relief moves it
  // towards the corner.
  const Vec2 inside = Plus(Minus(q, Times(in, c)), Times(out, c));
  const Vec2 towardsCorner = Minus(q, inside);
  const Vec2 relief{std::copysign(v.reliefX, towardsCorner.x), std::copysign(v.reliefY, towardsCorner.y)};
  return Arc(Plus(inside, relief), c);
}

Vec2 Turned(Vec2 p, double cs, double sn) { return {p.x * cs - p.y * sn, p.x * sn + p.y * cs}; }

// Rotation about (0, 0), then the move; lines get their direction again.
void PlaceFigures(std::vector<FigureRecord>& figures, double degrees, Vec2 move) {
  const double a = degrees * kRadiansPerDegree, cs = std::cos(a), sn = std::sin(a);
  for (FigureRecord& f : figures) {
    f.start = Plus(Turned(f.start, cs, sn), move);
    f.end = Plus(Turned(f.end, cs, sn), move);
    f.centre = Plus(Turned(f.centre, cs, sn), move);
    if (f.kind == kKindLine) f.dir = Unit(Minus(f.end, f.start));
  }
}

// Joins each figure to the next, the last to the first.
void JoinClosed(std::vector<FigureRecord>& figures) {
  const std::size_t n = figures.size();
  for (std::size_t i = 0; i < n; ++i) {
    FigureRecord& prev = figures[i];
    FigureRecord& next = figures[(i + 1) % n];
    Vec2 at;
    if (!JoinPoint(prev, next, at)) continue;
    prev.end = at;
    next.start = at;
  }
  for (FigureRecord& f : figures) {
    if (f.kind == kKindLine) f.dir = Unit(Minus(f.end, f.start));
  }
}

// The intersection of the lines p + t u and q + s w; false when parallel.
bool CrossLines(Vec2 p, Vec2 u, Vec2 q, Vec2 w, Vec2& at) {
  const double det = u.x * w.y - u.y * w.x;
  if (std::fabs(det) < 1e-12) return false;
  const Vec2 d = Minus(q, p);
  const double t = (d.x * w.y - d.y * w.x) / det;
  at = Plus(p, Times(u, t));
  return true;
}

}  // namespace

double CornerRelief(double c) { return (std::sqrt(2.0) * c - c) * std::cos(45.0 * kRadiansPerDegree); }

std::vector<FigureRecord> BuildRectangleContour(const RectContourValues& v) {
  std::vector<FigureRecord> figures;
  if (v.width < kMinRectSide || v.height < kMinRectSide) return figures;
  const auto [p1, p2, p3, p4] = RectCorners(v.width, v.height, v.position);
  const Vec2 left{-1, 0}, down{0, -1}, right{1, 0}, up{0, 1};
  const bool corners = v.corner != 0.0;
  figures.push_back(Line(p1, p2));
  if (corners) figures.push_back(RectCorner(p2, left, down, v));
  figures.push_back(Line(p2, p3));
  if (corners) figures.push_back(RectCorner(p3, down, right, v));
  figures.push_back(Line(p3, p4));
  if (corners) figures.push_back(RectCorner(p4, right, up, v));
  figures.push_back(Line(p4, p1));
  if (corners) figures.push_back(RectCorner(p1, up, left, v));
  PlaceFigures(figures, v.angle, {v.moveX, v.moveY});
  if (corners) JoinClosed(figures);
  return figures;
}

double PolygonVertexRadius(const PolygonContourValues& v) {
  if (v.corners < kMinCorners) return 0.0;
  const double half = v.size / 2;
  if (v.sizeStyle == kPolygonCircumscribed) return half;
  return half / std::sin((180.0 - 360.0 / v.corners) / 2 * kRadiansPerDegree);
}

std::vector<FigureRecord> BuildPolygonContour(const PolygonContourValues& v) {
  std::vector<FigureRecord> lines;
  if (v.corners < kMinCorners || v.corners > kMaxCorners || v.size < kMinPolygonSize) return lines;
  const int n = v.corners;
  const double r = PolygonVertexRadius(v);
  const Vec2 c{v.centreX, v.centreY};
  const auto vertex = [&](int k) {
    const double a = (v.baseAngle + k * 360.0 / n) * kRadiansPerDegree;
    return Plus(c, Vec2{r * std::cos(a), r * std::sin(a)});
  };
  for (int k = 0; k < n; ++k) lines.push_back(Line(vertex(k), vertex(k + 1)));
  const double f = std::fabs(v.fillet);
  if (f == 0.0) return lines;
  // Each corner: both lines offset inwards (to the left) by the fillet
  // radius meet at the fillet's centre.
  std::vector<FigureRecord> figures;
  std::vector<FigureRecord> arcs;
  for (int k = 0; k < n; ++k) {
    const FigureRecord& l1 = lines[static_cast<std::size_t>(k)];
    const FigureRecord& l2 = lines[static_cast<std::size_t>((k + 1) % n)];
    const Vec2 n1{-l1.dir.y, l1.dir.x}, n2{-l2.dir.y, l2.dir.x};
    Vec2 centre;
    if (!CrossLines(Plus(l1.start, Times(n1, f)), l1.dir, Plus(l2.start, Times(n2, f)), l2.dir, centre)) return lines;
    FigureRecord arc = Arc(centre, f);
    arc.start = Plus(centre, Times({l1.dir.y, -l1.dir.x}, f));
    arc.end = Plus(centre, Times({l2.dir.y, -l2.dir.x}, f));
    arcs.push_back(arc);
  }
  for (int k = 0; k < n; ++k) {
    FigureRecord line = lines[static_cast<std::size_t>(k)];
    line.start = arcs[static_cast<std::size_t>((k + n - 1) % n)].end;
    line.end = arcs[static_cast<std::size_t>(k)].start;
    figures.push_back(line);
    figures.push_back(arcs[static_cast<std::size_t>(k)]);
  }
  return figures;
}

int PutContourInBlocks(const std::vector<FigureRecord>& contour) {
  const int n = static_cast<int>(contour.size());
  if (n == 0 || n + 1 >= kSegmentBlockCount) return 0;
  const Vec2 origin = CurrentLayerOrigin();
  for (int i = 0; i <= n; ++i) {
    FigureRecord f = contour[static_cast<std::size_t>(i % n)];
    f.layer = g_curLayer;
    f.attribute = DefaultSegmentColour();
    f.origin = origin;
    f.depth = NewFigureDepth();
    *g_figureStore.SegmentBlock(i) = f;
  }
  return n;
}

TaperSectionOffsets ComputeTaperSection(double topZ, double endZ, double angleDegrees, double upperRadius,
                                        double lowerRadius, int referenceFace) {
  const double a = angleDegrees * kRadiansPerDegree;
  const double sn = std::sin(a), cs = std::cos(a);
  const double c = std::fabs(endZ - topZ) * sn / cs;
  const bool bottom = referenceFace != 0;
  TaperSectionOffsets out;
  if (upperRadius == 0.0 && lowerRadius == 0.0) {
    out.topToBottom = bottom ? -c : c;
    return out;
  }
  // The wall through (0, 0) runs along (sin a, -cos a); offset by d it meets
  // the horizontal face at height h at x.
  const auto faceX = [sn, cs](double d, double h) {
    const double t = (d * sn - h) / cs;
    return t * sn + d * cs;
  };
  const double x1 = faceX(-upperRadius, -upperRadius);
  const double x2 = faceX(lowerRadius, lowerRadius + (endZ - topZ));
  out.topToBottom = bottom ? -(x2 + std::fabs(x1)) : x2 + std::fabs(x1);
  out.reference = bottom ? x2 - c : -std::fabs(x1);
  return out;
}

float TaperAngleFromEntry(double entered, float current) {
  constexpr double kLimit = 89.999;
  double angle = entered < 0.0 ? entered + 90.0 : entered;
  // The limit applies to what is stored: a tiny negative entry would
  // otherwise become almost 90 degrees, with offsets beyond any wall.
  if (!std::isfinite(angle) || std::fabs(angle) >= kLimit) return current;
  return static_cast<float>(angle);
}

}  // namespace dorn
