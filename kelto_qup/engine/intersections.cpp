// Where the current element R0 meets the next element R1: line with line,
// line with circle, circle with circle (through their chord line), and a
// line with an ellipse. Every join, corner and offset of the engine stands on
// IntersectWithNext; it shows no message, each caller picks its own error.
#include <cmath>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// Lines whose unit directions have a cross product below this are parallel.
constexpr double kParallelCross = 0.00001;
// Points closer than this (mm) touch or coincide.
constexpr double kTouchDistance = 0.001;
// The element's reversed-side mark in its flags.
constexpr std::int32_t kSideNibbleMask = 0xF0000;
constexpr std::int32_t kReversedSideNibble = 0x50000;

struct Vec {
  double x, y;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

Vec Point(const NcElement& e) { return {e.d4, e.d5}; }
Vec Direction(const NcElement& e) { return {e.d2, e.d3}; }
bool ReversedSide(const NcElement& e) { return (e.flags & kSideNibbleMask) == kReversedSideNibble; }

enum class Meeting { kNone, kTouch, kCross };

// The line through p with unit direction u against the circle (centre c,
// radius r). On touching or crossing, *foot is the foot of the perpendicular
// from c and *half the half chord length.
Meeting LineMeetsCircle(Vec p, Vec u, Vec c, double r, Vec* foot, double* half) {
  *foot = p + Dot(c - p, u) * u;
  const double d = Length(*foot - c);
  const double delta = std::fabs(r) - d;
  if (std::fabs(delta) < kTouchDistance) return Meeting::kTouch;
  if (delta < -kTouchDistance) return Meeting::kNone;
  *half = std::sqrt(r * r - d * d);
  return Meeting::kCross;
}

// Where the line meets the circle: the foot where it touches, or of its two
// crossings the one ahead along u (`ahead`) or the one behind.
Meeting LineFootOnCircle(Vec p, Vec u, Vec c, double r, bool ahead, Vec* at) {
  double half = 0.0;
  const Meeting meeting = LineMeetsCircle(p, u, c, r, at, &half);
  if (meeting == Meeting::kCross) *at = ahead ? *at + half * u : *at - half * u;
  return meeting;
}

}  // namespace

int RunContext::IntersectWithNext() {
  double& workLength = registers.WorkLength;
  workLength = 1.0;

  if (R0.code == 0x1400 || R1.code == 0x1400) {
    registers.CurveHitRecord = IntersectLineWithCurve(R0, R1);
    const NcElement& hit = registers.CurveHitRecord;
    if (hit.d0 < 0.0) return 0;
    workLength = hit.d0;
    R0.d4 = hit.d4;
    R0.d5 = hit.d5;
    return 1;
  }

  const bool line0 = R0.d1 == 0.0;
  const bool line1 = R1.d1 == 0.0;
  if (line0 && line1) {
    const Vec u0 = Direction(R0), u1 = Direction(R1);
    const Vec p0 = Point(R0), p1 = Point(R1);
    const double h = u0.x * u1.y - u0.y * u1.x;
    if (h > -kParallelCross && h < kParallelCross) return 0;
    const double m = p0.x * u0.y - p0.y * u0.x;
    const double l = p1.x * u1.y - p1.y * u1.x;
    R0.d4 = (l * u0.x - m * u1.x) / h;
    R0.d5 = (l * u0.y - m * u1.y) / h;
    return 1;
  }

  if (!line0 && !line1) {
    const Vec c0 = Point(R0), c1 = Point(R1);
    const Vec d = c0 - c1;
    const double h = Length(d);
    if (h < kTouchDistance) return 0;  // concentric circles
    const double m = std::fabs(R0.d1), n = std::fabs(R1.d1);
    const Vec unit = (1.0 / h) * d;
    if (std::fabs(std::fabs(m - n) - h) < kTouchDistance) {  // touching from inside
      workLength = 0.0;
      const Vec p = m < n ? c0 + m * unit : c0 - m * unit;
      R0.d4 = p.x;
      R0.d5 = p.y;
      return 1;
    }
    if (std::fabs(h - m - n) < kTouchDistance) {  // touching from outside
      workLength = 0.0;
      const Vec p = c0 - m * unit;
      R0.d4 = p.x;
      R0.d5 = p.y;
      return 1;
    }
    if (h < std::fabs(m - n) || h > m + n) return 0;
    // R0 becomes the chord line of the two circles; the line-circle rule then
    // picks one of the two crossings by R1's radius sign and side.
    const double r0 = R0.d1, r1 = R1.d1;
    const double a = (r1 * r1 + h * h - r0 * r0) / (2.0 * h);
    const Vec chordPoint = c1 + a * unit;
    Vec chordDir = {d.y / h, -d.x / h};
    if (r0 < 0.0) chordDir = -1.0 * chordDir;
    R0.d4 = chordPoint.x;
    R0.d5 = chordPoint.y;
    R0.d2 = chordDir.x;
    R0.d3 = chordDir.y;
  }

  if (R0.d1 == 0.0 || !line1) {
    // A line in R0 (or the chord line) against the circle in R1.
    const double r = R1.d1;
    const bool ahead = ReversedSide(R1) ? r < 0.0 : r > 0.0;
    Vec foot{};
    const Meeting meeting = LineFootOnCircle(Point(R0), Direction(R0), Point(R1), r, ahead, &foot);
    if (meeting == Meeting::kNone) return 0;
    if (meeting == Meeting::kTouch) workLength = 0.0;
    R0.d4 = foot.x;
    R0.d5 = foot.y;
    return 1;
  }

  // The circle in R0 against the line in R1.
  const double r0 = R0.d1;
  const bool ahead = ReversedSide(R1) ? r0 > 0.0 : r0 < 0.0;
  Vec foot{};
  const Meeting meeting = LineFootOnCircle(Point(R1), Direction(R1), Point(R0), r0, ahead, &foot);
  if (meeting == Meeting::kNone) return 0;
  if (meeting == Meeting::kTouch) workLength = 0.0;
  R0.d4 = foot.x;
  R0.d5 = foot.y;
  return 1;
}

NcElement RunContext::IntersectLineWithCurve(const NcElement& first, const NcElement& second) {
  // The discriminant below this magnitude counts as touching.
  constexpr double kZeroDiscriminant = 0.0001;
  // A line direction whose component along the axis is below this runs
  // across the axis.
  constexpr double kAcrossAxis = 1e-7;
  NcElement hit = registers.CurveHitRecord;

  const int kind1 = first.code & 0xFF00, kind2 = second.code & 0xFF00;
  const bool curveFirst = kind1 == 0x1400 && kind2 == 0x1200;
  if (!curveFirst && !(kind1 == 0x1200 && kind2 == 0x1400)) {
    hit.d0 = -1.0;
    return hit;
  }
  const NcElement& curve = curveFirst ? first : second;
  const NcElement& line = curveFirst ? second : first;
  const double a = std::fabs(curve.d0), b = std::fabs(curve.d1);
  if (a < kAcrossAxis || b < kAcrossAxis) {  // a degenerate curve meets nothing
    hit.d0 = -1.0;
    return hit;
  }
  const Vec axis = Direction(curve), centre = Point(curve);
  const Vec p = Point(line) - centre, u = Direction(line);
  const double du = Dot(u, axis);
  const double dv = axis.x * u.y - axis.y * u.x;
  const double pu = Dot(p, axis);
  const double pv = axis.x * p.y - axis.y * p.x;

  // The travel sense decides which crossing is taken.
  double sigma = curve.d0;
  const bool anyReversed = (second.flags & kReversedSideNibble) != 0;
  if (curveFirst == anyReversed) sigma = -sigma;

  double lu = 0.0, lv = 0.0, discriminant = 0.0;
  if (std::fabs(du) >= kAcrossAxis) {
    const double s = dv / du, k = pv - s * pu;
    const double rho = (a * a) / (b * b);
    const double qa = 1.0 + rho * s * s, qb = 2.0 * rho * s * k;
    double disc = qb * qb - 4.0 * qa * (rho * k * k - a * a);
    if (std::fabs(disc) < kZeroDiscriminant) disc = 0.0;
    if (disc < 0.0) {
      hit.d0 = disc;
      return hit;
    }
    const double root = std::sqrt(disc);
    lu = sigma * du > 0.0 ? (-qb - root) / (2.0 * qa) : (root - qb) / (2.0 * qa);
    lv = k + s * lu;
    discriminant = disc;
  } else {
    lu = pu;
    if (std::fabs(pu) >= 0.00001) {
      double w = a * a - pu * pu;
      if (std::fabs(w) < kZeroDiscriminant) w = 0.0;
      if (w < 0.0) {
        hit.d0 = w;
        return hit;
      }
      lv = b * std::sqrt(w) / a;
      discriminant = std::sqrt(w);
    } else {
      lu = 0.0;
      lv = b;
      discriminant = b;
    }
    if (sigma * dv > 0.0) lv = -lv;
  }

  // Tangent of the curve at (lu, lv) in its own axes.
  Vec t{};
  if (std::fabs(lu) >= 0.0001) {
    t = lu * lv > 0.0 ? Vec{lu - a * a / lu, lv} : Vec{a * a / lu - lu, -lv};
    const double len = Length(t);
    t = len > 0.00001 ? (1.0 / len) * t : Vec{0.0, lu > 0.0 ? 1.0 : -1.0};
    if (curve.d0 < 0.0) t = -1.0 * t;
  } else {
    t = lv * curve.d0 > 0.0 ? Vec{-1.0, 0.0} : Vec{1.0, 0.0};
  }

  hit.d4 = lu * axis.x - lv * axis.y + centre.x;
  hit.d5 = lv * axis.x + lu * axis.y + centre.y;
  hit.d2 = t.x * axis.x - t.y * axis.y;
  hit.d3 = t.y * axis.x + t.x * axis.y;
  hit.d0 = discriminant;
  hit.flags = curveFirst ? 1 : 2;
  return hit;
}

}  // namespace qup
