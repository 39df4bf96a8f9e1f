// Element lengths: the length of the element in R0 added to the running
// length in R2's d3. An arc is measured by its sweep from the start radius to
// the end radius in its turning sense; SweepRule decides the closed cases.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {
// Sweeps of the closed-arc rules, degrees.
constexpr double kClosedSweep = 0.00001;  // below this a whole circle in mode 0x8000
constexpr double kNearlyFull = 359.0;     // above this nothing under SweepRule 13999
constexpr int kWholeCircleMode = 0x8000;
constexpr int kRuleManyElements = 13999;
constexpr int kRuleClosedCircle = 13834;
}  // namespace

void RunContext::ArcEndVectors() {
  // The centre is in R3's d4/d5, the start in R0's d6/d7, the end in d4/d5.
  const double cx = R3.d4;
  const double cy = R3.d5;
  const double sx = R0.d6 - cx;
  const double sy = R0.d7 - cy;
  double ex = R0.d4 - cx;
  double ey = R0.d5 - cy;
  const double endLength = std::sqrt(ex * ex + ey * ey);
  if (endLength != 0.0) {
    ex /= endLength;
    ey /= endLength;
  }
  R0.d2 = R0.d4;
  R0.d3 = R0.d5;
  // Cosine term and the sine term of the clockwise sweep (turned for a
  // counter-clockwise arc by AddElementLength).
  R0.d4 = sx * ex + sy * ey;
  R0.d5 = ex * sy - ey * sx;
}

int RunContext::AddElementLength(int mode) {
  if (mode != kWholeCircleMode) {
    R0.d6 = core.GuidePrevPoint[0];
    R0.d7 = core.GuidePrevPoint[1];
  }
  double length = 0.0;
  if (R0.d1 != 0.0) {
    ArcEndVectors();
    double sine = R0.d5;
    if (std::fabs(sine) < 1e-9) sine = 0.0;
    if (R0.d1 > 0.0) sine = -sine;
    double sweep = geom::PolarDegrees(R0.d4, sine);
    if (R0.d1 < 0.0) sweep = -sweep;
    if (mode == kWholeCircleMode && std::fabs(sweep) < kClosedSweep) sweep = 360.0;
    // The rules hold for either turning sense: a clockwise arc measures the
    // same as the counter-clockwise arc walked the other way.
    if (SweepRule == kRuleManyElements && std::fabs(sweep) > kNearlyFull) sweep = 0.0;
    if (SweepRule == kRuleClosedCircle && sweep == 0.0) sweep = 360.0;
    core.ArcSweep = sweep;
    R0.d4 = R0.d2;
    R0.d5 = R0.d3;
    length = std::fabs(R0.d1 * sweep / core.DegreesPerRadian);
  } else {
    WorkVectorX() = R0.d4 - R0.d6;
    WorkVectorY() = R0.d5 - R0.d7;
    NormalizeWorkVector();
    length = WorkLength;
  }
  engine.ElementLength = length;
  R2.d3 += length;
  return 0;
}

void RunContext::TangentFromChord() {
  double length = std::sqrt(WorkVectorX() * WorkVectorX() + WorkVectorY() * WorkVectorY());
  if (length == 0.0) {
    WorkVectorX() = R1.d4 - R0.d4;
    WorkVectorY() = R1.d5 - R0.d5;
    NormalizeTangent(1);
    return;
  }
  R0.d2 = WorkVectorX() / length;
  R0.d3 = WorkVectorY() / length;
}

}  // namespace qup
