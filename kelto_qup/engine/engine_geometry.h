#pragma once
// Small plane-geometry helpers of the engine core: polar angles in degrees,
// unit vectors with the engine's zero-length rule, and the direction of an
// element at a point. Pure functions; the registers are not touched.
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "shared/handover/nc_element.h"

namespace qup::geom {

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator*(double s, Vec2 a) { return {s * a.x, s * a.y}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
// a.x b.y - a.y b.x: positive when b lies counter-clockwise of a.
inline double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline double Length(Vec2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }
inline double Distance(Vec2 a, Vec2 b) { return Length(a - b); }

// Directions shorter than this (mm) have no defined direction.
inline constexpr double kZeroLength = 1e-7;

// The unit vector of v; a vector shorter than 1e-7 gives `fallback`.
inline Vec2 UnitOr(Vec2 v, Vec2 fallback) {
  const double len = Length(v);
  if (len < kZeroLength) return fallback;
  return {v.x / len, v.y / len};
}

// The polar angle of (x, y) in degrees, 0 up to below 360; a vector of length
// 1e-7 or less gives 0.
inline double PolarDegrees(double x, double y) {
  if (std::sqrt(x * x + y * y) <= kZeroLength) return 0.0;
  double a = std::atan2(y, x) * kDegreesPerRadian;
  if (a < 0.0) a += 360.0;
  // atan2 of a tiny negative y can round to exactly 360 after the addition.
  if (a >= 360.0) a -= 360.0;
  return a;
}

// The quarter turn of v: counter-clockwise for a non-negative radius sign,
// clockwise otherwise (the direction of travel on an arc from its radius).
inline Vec2 QuarterTurn(Vec2 v, double radiusSign) { return radiusSign >= 0.0 ? Vec2{-v.y, v.x} : Vec2{v.y, -v.x}; }

inline Vec2 PointD4(const handover::NcElement& e) { return {e.d4, e.d5}; }
inline Vec2 PointD6(const handover::NcElement& e) { return {e.d6, e.d7}; }
inline Vec2 DirectionD2(const handover::NcElement& e) { return {e.d2, e.d3}; }
inline void SetD4(handover::NcElement& e, Vec2 p) {
  e.d4 = p.x;
  e.d5 = p.y;
}
inline void SetD6(handover::NcElement& e, Vec2 p) {
  e.d6 = p.x;
  e.d7 = p.y;
}
inline void SetD2(handover::NcElement& e, Vec2 p) {
  e.d2 = p.x;
  e.d3 = p.y;
}

}  // namespace qup::geom
