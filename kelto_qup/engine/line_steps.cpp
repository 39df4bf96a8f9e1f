// Stepping a straight element: the tool is taken along the line in steps
// of the stored step length (scaled by the step factor, at least 0.001 mm)
// from the last point the motion wrote, until a step reaches or passes the
// end, which is then written as the last step.
#include <algorithm>
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kLeadLineSteps = 4;
constexpr double kShortestStep = 0.001;

}  // namespace

int RunContext::StepLeadLine() {
  // The end of the line is kept: every step is measured against it.
  R3.d6 = R0.d4;
  R3.d7 = R0.d5;
  return NextLeadLineStep();
}

int RunContext::NextLeadLineStep() {
  ContourWords& c = engine.contour;
  CornerKind = kLeadLineSteps;
  const double step = std::max(std::fabs(c.StoredStep) * c.StepFactor, kShortestStep);
  R0.d4 = core.ReferencePoint[0] + step * R0.d2;
  R0.d5 = core.ReferencePoint[1] + step * R0.d3;
  // How far the step went past the end, along the line.
  const double past = RoundTo3Decimals((R0.d4 - R3.d6) * R0.d2 + (R0.d5 - R3.d7) * R0.d3);
  if (!(past < 0.0)) {
    R0.d4 = R3.d6;
    R0.d5 = R3.d7;
    CornerKind = c.CornerNextState;
  }
  return 1;
}

}  // namespace qup
