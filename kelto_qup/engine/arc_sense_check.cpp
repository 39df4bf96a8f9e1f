// The contour arc-sense check: before a contour is processed, every arc of
// its element range must turn the way its signed radius says, by less than
// half a circle. The elements are read in place; nothing is changed.
#include <cmath>

#include "kelto_qup/engine/run_context.h"

namespace qup {

int RunContext::Style_Check() {
  // The turn value |r| x sin(sweep) must clear this (mm) in the radius'
  // sense: a half circle or more, or a turn the wrong way, fails.
  constexpr double kMinTurn = 0.0001;
  const NcElement& first = elements[engine.RangeStart];
  double px = first.d4, py = first.d5;
  for (int i = engine.RangeStart + 1; i < engine.RangeEnd; ++i) {
    const NcElement& e = elements[i];
    if (e.code == 0x1300) {
      const double cx = e.d6, cy = e.d7;
      double ux = px - cx, uy = py - cy;
      const double length = std::sqrt(ux * ux + uy * uy);
      if (length > 0.0) {
        ux /= length;
        uy /= length;
      }
      const double vx = e.d4 - cx, vy = e.d5 - cy;
      const double turn = ux * vy - uy * vx;
      const bool consistent = e.d1 > 0.0 ? turn >= kMinTurn : turn <= -kMinTurn;
      if (!consistent) return 2;
    }
    px = e.d4;
    py = e.d5;
  }
  return 1;
}

}  // namespace qup
