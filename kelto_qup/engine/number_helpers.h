#pragma once
// The engine's number helpers: rounding to the NC increments, the packed
// FixedPointPair form of command values, and angles in degrees.
#include <cstdint>
#include <utility>

#include "kelto_qup/engine/register_state.h"

namespace qup {

// Degrees to radians and back: the engine's results depend on these exact values.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;
inline constexpr double kDegreesPerRadian = 57.29577951308232;

// Rounds half away from zero to 0.001. Magnitudes above 2147483647 and below
// 0.0001 give 0.
double RoundTo3Decimals(double x);
// Rounds half away from zero to 0.01. Magnitudes above 2147483647 give 0.
double RoundTo2Decimals(double x);

// x as (integer part, millionths); the millionths are rounded up from the
// eighth decimal so that 12.000034 names 12 and 34. A value that is not
// finite, negative or beyond the 32-bit range packs nothing: (0, 0).
FixedPointPair SplitFixedPoint(double x);
// whole + millionths x 1e-6.
double JoinFixedPoint(std::uint32_t whole, std::uint32_t millionths);

// atan2(y, x) in degrees, brought into (0, 360]: a result within 1e-8 of 0
// is 360. Note the argument order: x first.
double Atan2Degrees360(double x, double y);
// (cos a, sin a) of an angle in degrees.
std::pair<double, double> DegToCosSin(double degrees);

// Whole-record helpers of the element registers.
inline NcElement& CopyNcElement(NcElement& dst, const NcElement& src) { return dst = src; }
inline void ExchangeElements(NcElement& a, NcElement& b) { std::swap(a, b); }
inline void ClearNcElement(NcElement& rec) { rec = NcElement{}; }
// a with b's d6/d7 (the second point).
inline NcElement WithTailOf(const NcElement& a, const NcElement& b) {
  NcElement out = a;
  out.d6 = b.d6;
  out.d7 = b.d7;
  return out;
}
// Zeroes one entry of eight 32-bit words.
inline void ClearRecord32(std::uint32_t (&entry)[8]) {
  for (std::uint32_t& word : entry) word = 0;
}

}  // namespace qup
