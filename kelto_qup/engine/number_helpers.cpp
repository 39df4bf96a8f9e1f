// Rounding, fixed-point packing and angle helpers of the engine.
#include "kelto_qup/engine/number_helpers.h"

#include <cmath>

namespace qup {

namespace {
// Beyond this magnitude the rounding helpers give 0 rather than overflow the
// 32-bit integer forms they feed.
constexpr double kLargestRounded = 2147483647.0;
// A nudge of 1e-9 on the scaled fraction absorbs the binary error of values
// written with the digits of the half-way case (1.2345 is 1.23449999...).
constexpr double kHalfwayNudge = 1e-9;

double RoundFraction(double x, double scale, double step) {
  const double magnitude = std::fabs(x);
  const double whole = std::floor(magnitude);
  const auto n = static_cast<long long>((magnitude - whole) * scale + kHalfwayNudge);
  const double rounded = whole + static_cast<double>(n / 10 + (n % 10 >= 5 ? 1 : 0)) * step;
  return x < 0 ? -rounded : rounded;
}
}  // namespace

double RoundTo3Decimals(double x) {
  const double magnitude = std::fabs(x);
  // Below 0.0001 the value cannot round to 0.001 (nor can a NaN).
  if (!(magnitude <= kLargestRounded) || magnitude < 0.0001) return 0.0;
  return RoundFraction(x, 10000.0, 0.001);
}

double RoundTo2Decimals(double x) {
  if (!(std::fabs(x) <= kLargestRounded)) return 0.0;
  // The same half-way rule as RoundTo3Decimals, nudge included: without it
  // 1.235 would give 1.23 but 1.245 give 1.25, by the binary digits alone.
  return RoundFraction(x, 1000.0, 0.01);
}

FixedPointPair SplitFixedPoint(double x) {
  // Largest value whose integer part fits the unsigned 32-bit word.
  constexpr double kLargestPacked = 4294967295.0;
  if (!(x >= 0.0 && x <= kLargestPacked)) return {};
  const double whole = std::trunc(x);
  // The fraction is taken in hundred-millionths and rounded up before it is
  // cut to millionths, so 12.000034 (stored as 12.0000339999...) gives 34.
  const double scaled = std::ceil((x - whole) * 1e8);
  return {static_cast<std::uint32_t>(whole), static_cast<std::uint32_t>(scaled) / 100u};
}

double JoinFixedPoint(std::uint32_t whole, std::uint32_t millionths) {
  return static_cast<double>(whole) + static_cast<double>(millionths) * 1e-6;
}

double Atan2Degrees360(double x, double y) {
  double angle = std::atan2(y, x) * kDegreesPerRadian;
  if (angle < 0.0) angle += 360.0;
  // Zero angle within 1e-8 degrees is reported as a full turn.
  if (std::fabs(angle) <= 1e-8) angle = 360.0;
  return angle;
}

std::pair<double, double> DegToCosSin(double degrees) {
  const double radians = degrees * kRadiansPerDegree;
  return {std::cos(radians), std::sin(radians)};
}

}  // namespace qup
