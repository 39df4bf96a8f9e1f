// Angles, unit vectors, rotation, line directions, reversal and offsets of
// figures: see geometry.h.
#include "kelto_dorn/app/geometry.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"

namespace dorn {
namespace {

// VectorAngle reports a direction along +X as 360, VectorAngle0 as 0.
constexpr double kAngleAtZero = 1e-8;  // degrees
constexpr double kAngleAt360 = 1e-6;   // degrees
// Shortest line that gets a direction: the current figure (mm) and a block (mm).
constexpr double kMinLineLength = 0.0005;
constexpr double kMinBlockLineLength = 0.00001;
// An offset arc keeps its sense only while (r - d) * r stays above this (mm²).
constexpr double kMinOffsetArcProduct = 1e-7;

double RawAngle(double x, double y) {
  double a = std::atan2(y, x) * kDegreesPerRadian;
  if (a < 0.0) a += 360.0;
  return a;
}

int SetLineDirection(FigureRecord& f, double minLength) {
  const double dx = f.end.x - f.start.x;
  const double dy = f.end.y - f.start.y;
  // The length is always the one of this line: a stale length from an earlier
  // call would turn a degenerate line into a "done" with a zero direction.
  g_lineLength = std::sqrt(dx * dx + dy * dy);
  if (!(g_lineLength > minLength)) return 1;
  f.dir = {dx / g_lineLength, dy / g_lineLength};
  return 0;
}

}  // namespace

double VectorAngle(double x, double y) {
  const double a = RawAngle(x, y);
  return std::fabs(a) < kAngleAtZero ? 360.0 : a;
}

double VectorAngle0(double x, double y) {
  const double a = RawAngle(x, y);
  return std::fabs(a - 360.0) < kAngleAt360 ? 0.0 : a;
}

Vec2 UnitVectorFromAngle(double degrees) {
  const double rad = degrees * kRadiansPerDegree;
  return {std::cos(rad), std::sin(rad)};
}

Vec2 UnitVectorBetween(Vec2 a, Vec2 b) {
  const Vec2 v{a.x - b.x, a.y - b.y};
  g_lastDistance = std::sqrt(v.x * v.x + v.y * v.y);
  if (g_lastDistance == 0.0) return {};
  return {v.x / g_lastDistance, v.y / g_lastDistance};
}

double RoundedDistance(Vec2 a, Vec2 b) { return Round3(std::hypot(a.x - b.x, a.y - b.y)); }

Vec2 RotateOffsetPoint(int side, double along, double across, Vec2 p, Vec2 q) {
  const Vec2 u{q.x - p.x, q.y - p.y};
  const Vec2 n = side == -1 ? Vec2{u.y, -u.x} : Vec2{-u.y, u.x};
  return {p.x + along * u.x + across * n.x, p.y + along * u.y + across * n.y};
}

Vec2 RotateVector(int side, double c, double s, Vec2 v) {
  if (side == -1) return {v.x * c + v.y * s, v.x * s - v.y * c};
  return {v.x * c - v.y * s, v.x * s + v.y * c};
}

int ComputeLineDirection(int block) {
  if (block == kCurrentFigure) return SetLineDirection(g_curFigure, kMinLineLength);
  FigureRecord* f = g_figureStore.SegmentBlock(block);
  if (f == nullptr) return 1;
  return SetLineDirection(*f, kMinBlockLineLength);
}

void ReverseFigure(int block) {
  FigureRecord* f = g_figureStore.SegmentBlock(block);
  if (f == nullptr) return;
  f->dir = {-f->dir.x, -f->dir.y};
  const Vec2 start = f->start;
  f->start = f->end;
  f->end = start;
}

int OffsetFigure(double d) {
  FigureRecord& f = g_curFigure;
  switch (f.kind) {
    case kKindEmpty:
      return 1;
    case kKindPoint:
    case kKindLine:
    case kKindCurvePointTangent:
    case kKindCurvePointAngle: {
      const Vec2 shift{-d * f.dir.y, d * f.dir.x};
      f.start = {f.start.x + shift.x, f.start.y + shift.y};
      f.end = {f.end.x + shift.x, f.end.y + shift.y};
      return 0;
    }
    case kKindArc: {
      const double r = f.radius;
      f.radius = r - d;
      if (!((r - d) * r >= kMinOffsetArcProduct)) return 1;
      const double newRadius = std::fabs(f.radius);
      const Vec2 us = UnitVectorBetween(f.start, f.centre);
      const Vec2 ue = UnitVectorBetween(f.end, f.centre);
      f.start = {f.centre.x + newRadius * us.x, f.centre.y + newRadius * us.y};
      f.end = {f.centre.x + newRadius * ue.x, f.centre.y + newRadius * ue.y};
      return 0;
    }
    default:
      return 0;
  }
}

void TranslateCurrentFigure() {
  FigureRecord& f = g_curFigure;
  for (Vec2* p : {&f.start, &f.end, &f.centre}) *p = {p->x + f.origin.x, p->y + f.origin.y};
}

void UntranslateCurrentFigure() {
  FigureRecord& f = g_curFigure;
  for (Vec2* p : {&f.start, &f.end, &f.centre}) *p = {p->x - f.origin.x, p->y - f.origin.y};
}

double StepValue(int down, double base, double value) {
  double step = base;
  if (base > 2000.0) {
    step = base / 2.0;
  } else if (base > 1000.0) {
    step = 500.0;
  } else if (base >= 200.0) {
    step = 5.0;
  } else if (base >= 1.0) {
    step = 1.0;
  }
  return down != 0 ? value - step : value + step;
}

}  // namespace dorn
