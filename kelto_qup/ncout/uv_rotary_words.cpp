// Axis words of the two special runs:
// - a surface-range-offset run machines two contours at once (a tapered cut):
//   the first contour's point is written as X Y, the second contour's point
//   relative to it as U V;
// - screw mode 11 turns the work about the X axis: the point is written as the
//   axial position X, the radius Z from the axis and the angle A about it
//   (W, U as a diameter, and H with the screw switch of the post).
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// A zero value that must still be written (prints as U0. or U0).
constexpr double kZeroPlaceholder = 0.00009999;
// U and V steps, and X or Y values, below this (mm) count as no move.
constexpr double kNoMove = 0.0001;
// A rotary value that must be written as zero: prints as X0., A0.
constexpr double kRotaryZero = 0.00001;
// An angle this close to 0 degrees, reached from above 333 degrees, is the
// end of a turn and is written as 360 so that the axis does not spin back.
constexpr double kTurnEndTolerance = 0.0009;
constexpr double kTurnEndFrom = 333.0;
constexpr int kAbsolute = 0x0040;

double UvWordValue(double value) { return std::fabs(value) < kNoMove ? kZeroPlaceholder : value; }

// The angle of (y, z) about the X axis in degrees, 0 to below 360.
double AngleAboutX(double y, double z) {
  double angle = std::atan2(z, y) * kDegreesPerRadian;
  if (angle < 0.0) angle += 360.0;
  if (angle >= 360.0) angle -= 360.0;
  return angle;
}

double RotaryWordValue(double value) { return std::fabs(value) <= 0.000001 ? kRotaryZero : value; }

}  // namespace

void RunContext::PutUVWords(double x, double y, double z) {
  OutputState& o = output;
  const bool absolute = (o.CodeFormat & kAbsolute) != 0;
  PutAxisValue('X', x);
  PutAxisValue('Y', y);
  const double u = RoundTo3Decimals(o.UvOffsetX);
  const double v = RoundTo3Decimals(o.UvOffsetY);
  if (absolute || std::fabs(x) >= kNoMove || std::fabs(y) >= kNoMove) {
    // Incremental U/V are steps from the last written U/V position; a block
    // that writes none carries its step over to the next one.
    PutWordValue('U', UvWordValue(absolute ? u : RoundTo3Decimals(u - o.LastUvX)));
    PutWordValue('V', UvWordValue(absolute ? v : RoundTo3Decimals(v - o.LastUvY)));
    o.LastUvX = u;
    o.LastUvY = v;
  }
  // A Z move is never dropped: both contours share it.
  PutAxisValue('Z', z);
}

void RunContext::PutRotaryAxisWords() {
  OutputState& o = output;
  const bool absolute = (o.CodeFormat & kAbsolute) != 0;
  const double axial = o.TargetX;
  const double radius = std::sqrt(o.TargetY * o.TargetY + o.TargetZ * o.TargetZ);
  double angle = AngleAboutX(o.TargetY, o.TargetZ);
  const double kept = angle;  // the position the next step starts from
  if (o.RotaryAngle > kTurnEndFrom && (angle < kTurnEndTolerance || 360.0 - angle < kTurnEndTolerance)) {
    angle = 360.0;
  }
  // Steps between positions at the output's 0.001, so that the written
  // steps add up to the written positions and rounding noise is no step.
  const double axialStep = RoundTo3Decimals(axial) - RoundTo3Decimals(o.RotaryAxial);
  const double radiusStep = RoundTo3Decimals(radius) - RoundTo3Decimals(o.RotaryRadius);
  const double angleStep = RoundTo3Decimals(angle) - RoundTo3Decimals(o.RotaryAngle);
  // Absolute: the target value of each axis that moves (a zero target still
  // prints); incremental: the step itself (a zero step is no word).
  auto word = [absolute](double step, double target) {
    if (!absolute) return step;
    return std::fabs(step) <= 0.000001 ? 0.0 : RotaryWordValue(target);
  };
  const double xWord = word(axialStep, axial);
  const double zWord = word(radiusStep, radius);
  const double aWord = word(angleStep, angle);
  if (o.ScrewSwitch != 0) {
    PutWordValue('W', xWord == kRotaryZero ? kRotaryZero : -xWord);
    PutWordValue('U', zWord == kRotaryZero ? kRotaryZero : 2.0 * zWord);
    PutWordValue('H', aWord);
  } else {
    PutWordValue('X', xWord);
    PutWordValue('Z', zWord);
    PutWordValue('A', aWord);
  }
  o.RotaryAxial = axial;
  o.RotaryRadius = radius;
  o.RotaryAngle = kept;
}

}  // namespace qup
