// Element transforms, work directions and the tool normal. A path command can
// carry a plane transform (rotation about an origin, optionally mirrored in
// Y) that applies to the elements it walks: RotateTangents brings R1 into the
// transformed frame and RotateR1Element back. The work direction of the
// current element depends on the command's axis mode; the axis step moves the
// current point along it. The tool normal (I, J, K) follows the path's turns.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {
// Directions whose cross product is below this are parallel (the engine's
// parallel-line tolerance): an axis step across them has no defined point.
constexpr double kParallelCross = 0.00001;

int PairPosition(int code) {
  switch (code) {
    case 11:
      return 0;
    case 15:
      return 1;
    case 21:
      return 2;
    case 24:
      return 3;
    case 25:
      return 4;
    case 56:
      return 5;
    default:
      return -1;
  }
}
}  // namespace

void RunContext::StoreRegisterByCode(int code) {
  double value = 0.0;
  switch (code) {
    case 11:
      value = R0.d1;
      break;
    case 15:
      value = R0.d5;
      break;
    case 21:
      value = R1.d1;
      break;
    case 24:
      value = R1.d4;
      break;
    case 25:
      value = R1.d5;
      break;
    case 56:
      value = R3.d1;
      break;
    default:
      return;
  }
  const FixedPointPair pair = SplitFixedPoint(value);
  core.StoredValuePairs[static_cast<std::size_t>(PairPosition(code))] = pair;
  registers.UnpackedPair = pair;
}

int RunContext::LoadTransform() {
  if (core.TransformKey == 0) return 0;
  const NcElement& record = Slot(core.TransformRunning == 0xFFFF ? SaveSlot::Slot421 : SaveSlot::Slot420);
  core.TransformCos = record.d2;
  core.TransformSin = record.d3;
  core.TransformX0 = record.d4;
  core.TransformY0 = record.d5;
  core.TransformFlags = record.flags;
  return 1;
}

void RunContext::MirrorIfFlagged() {
  if ((core.TransformFlags & 0x400) == 0) return;
  R1.d1 = -R1.d1;
  R1.d3 = -R1.d3;
  R1.d5 = -R1.d5;
}

void RunContext::RotateTangents() {
  if (LoadTransform() == 0) return;
  MirrorIfFlagged();
  const double c = core.TransformCos;
  const double s = core.TransformSin;
  const double dx = R1.d2;
  const double dy = R1.d3;
  R1.d2 = c * dx - s * dy;
  R1.d3 = s * dx + c * dy;
  const double px = R1.d4;
  const double py = R1.d5;
  R1.d4 = core.TransformX0 + c * px - s * py;
  R1.d5 = core.TransformY0 + s * px + c * py;
}

void RunContext::RotateR1Element() {
  if (LoadTransform() == 0) return;
  const double c = core.TransformCos;
  const double s = core.TransformSin;
  const double px = R1.d4 - core.TransformX0;
  const double py = R1.d5 - core.TransformY0;
  R1.d4 = c * px + s * py;
  R1.d5 = c * py - s * px;
  const double dx = R1.d2;
  const double dy = R1.d3;
  R1.d2 = c * dx + s * dy;
  R1.d3 = c * dy - s * dx;
  MirrorIfFlagged();
}

void RunContext::SwapR1WithStatePair(int pair) {
  NcElement* record = nullptr;
  switch (pair) {
    case 1:
      record = &core.PreviousFrames[0];
      break;
    case 2:
      record = &core.StoredStatePairs[0][0];
      break;
    case 3:
      record = &core.StoredStatePairs[1][0];
      break;
    case 4:
      record = &core.MotionPair[0];
      break;
    default:
      return;
  }
  std::swap(R1, *record);
  std::swap(R1.d6, record->d6);
  std::swap(R1.d7, record->d7);
}

void RunContext::WorkDirectionByMode(int pair) {
  SwapR1WithStatePair(pair);
  StoreRegisterByCode(24);
  StoreRegisterByCode(25);
  const FixedPointPair& values24 = core.StoredValuePairs[3];
  const FixedPointPair& values25 = core.StoredValuePairs[4];
  core.AxisMode = static_cast<int>(values25.whole & 0xF);
  const bool backward = (RangeOptions & kRangeBackward) != 0;
  switch (core.AxisMode) {
    case 0:
    case 1:
    case 4: {
      // The left normal of the element (the right one on a backward walk).
      double wx = -R0.d3;
      double wy = R0.d2;
      if (backward) {
        wx = -wx;
        wy = -wy;
      }
      WorkVectorX() = wx;
      WorkVectorY() = wy;
      core.DirectionScratchPoint = {wx, wy};
      break;
    }
    case 3: {
      // Towards or away from the axis point kept with the previous state.
      const double ax = core.PreviousFrames[2].d2;
      const double ay = core.PreviousFrames[2].d3;
      if (core.AxisPointSwitch != 0) {
        WorkVectorX() = R0.d4 - ax;
        WorkVectorY() = R0.d5 - ay;
        NormalizeWorkVector();
        const double cross = WorkVectorY() * R0.d2 - WorkVectorX() * R0.d3;
        if ((!backward && cross < 0.0) || (backward && cross > 0.0)) {
          WorkVectorX() = -WorkVectorX();
          WorkVectorY() = -WorkVectorY();
        }
      } else {
        WorkVectorX() = ax - R0.d4;
        WorkVectorY() = ay - R0.d5;
        NormalizeWorkVector();
      }
      R1.d2 = WorkVectorX();
      R1.d3 = WorkVectorY();
      break;
    }
    default:
      WorkVectorX() = R1.d2;
      WorkVectorY() = R1.d3;
      break;
  }
  core.ToolPointZ = R1.d4;
  core.KeptRangeValuePair = {values24.whole, values24.millionths};
  SwapR1WithStatePair(pair);
}

void RunContext::RotateDirection(int pair) {
  WorkDirectionByMode(pair);
  const double wx = WorkVectorX();
  const double wy = WorkVectorY();
  core.DirectionScratchPoint = {wx, wy};
  core.DirectionScratchDot = R0.d2 * wx + R0.d3 * wy;
  core.DirectionScratchCross = wy * R0.d2 - R0.d3 * wx;
}

int RunContext::IsStraightOrMarked() const {
  return (R0.d1 == 0.0 || R0.code == 0x1001 || R0.flags == 0x11300) ? 1 : 0;
}

int RunContext::RotateForAxis() {
  WorkDirectionByMode(1);
  core.ToolNormalScratch = {core.AxisStep, core.AxisFactor};
  const int mode = core.AxisMode;
  if (mode == 3) return AxisModeThreeStep();
  const double dx = core.AxisStep * WorkVectorX();
  const double dy = core.AxisStep * WorkVectorY();
  R0.d4 += dx;
  R0.d5 += dy;
  if (mode < 2 || mode == 4) {
    // Stepping across an arc keeps it concentric: its radius changes.
    if (IsStraightOrMarked() == 0) {
      const double step = (RangeOptions & kRangeBackward) != 0 ? -core.AxisStep : core.AxisStep;
      R0.d1 -= step;
    }
  } else if (R0.d1 != 0.0) {
    R3.d4 += dx;
    R3.d5 += dy;
  }
  return 1;
}

int RunContext::AxisModeThreeStep() {
  const double dot = core.DirectionScratchDot;
  const double cross = core.DirectionScratchCross;
  // An element parallel to the work direction has no crossing with the
  // axis line: the step fails and the caller reports it, instead of a
  // division by zero sending a non-finite point on.
  if (std::fabs(cross) < kParallelCross) return 0;
  const double c = dot * WorkLength / cross;
  R0.d4 += c * WorkVectorX();
  R0.d5 += c * WorkVectorY();
  if (core.SectionCount == 0 && WorkLength != 0.0) {
    const double ax = WorkVectorX();
    const double ay = core.AxisStep * WorkVectorY() / WorkLength;
    const double length = std::sqrt(ax * ax + ay * ay);
    if (length != 0.0) core.AxisDirection = {ax / length, ay / length};
  }
  if (IsStraightOrMarked() == 0) {
    double vx = R3.d4 - core.AxisCentre[0];
    double vy = R3.d5 - core.AxisCentre[1];
    double length = std::sqrt(vx * vx + vy * vy);
    if (length != 0.0) {
      vx /= length;
      vy /= length;
    } else {
      length = 0.0;
    }
    const double r = -(length * dot) / cross;
    R3.d4 += r * vx;
    R3.d5 += r * vy;
    R0.d1 = (vy - dot) * R0.d1 / cross;
  }
  return 1;
}

void RunContext::UpdateToolNormal() {
  double& i = core.ToolNormal[0];
  double& j = core.ToolNormal[1];
  const double k = core.ToolNormal[2];
  if (k == 0.0) {
    i = core.DirectionUnit;
    j = 0.0;
    return;
  }
  WorkVectorX() = k;
  WorkVectorY() = -(i * R0.d2 + j * R0.d3);
  const double length = std::sqrt(WorkVectorX() * WorkVectorX() + WorkVectorY() * WorkVectorY());
  if (length != 0.0) {
    i = WorkVectorX() / length;
    j = WorkVectorY() / length;
  } else {
    i = 1.0;
    j = 0.0;
  }
}

void RunContext::RotateByTangent() {
  double& i = core.ToolNormal[0];
  double& j = core.ToolNormal[1];
  double& k = core.ToolNormal[2];
  const double dx = R0.d2;
  const double dy = R0.d3;
  const double wx = WorkVectorX();
  const double wy = WorkVectorY();
  const double dot = dx * wx + dy * wy;
  const double cross = wy * dx - dy * wx;
  core.DirectionScratchDot = dot;
  core.DirectionScratchCross = cross;
  const double f = R1.d2 * j;

  WorkVectorX() = -f * cross;
  WorkVectorY() = f * dot - R1.d3 * i;
  NormalizeWorkVector();
  double ux = WorkVectorX();
  double uy = WorkVectorY();
  double g = cross * uy + dot * ux;

  if (i - R1.d2 >= 0.0) {
    if (g < -1e-15) {
      ux = -ux;
      uy = -uy;
      g = -g;
    }
    WorkVectorX() = g * R1.d2;
    WorkVectorY() = R1.d3;
  } else {
    if (ux < 0.0) {
      ux = -ux;
      uy = -uy;
    }
    WorkVectorX() = i * ux;
    WorkVectorY() = j;
  }
  if (WorkVectorY() == 0.0) {
    i = 0.0;
    j = 0.0;
    k = 1.0;
    return;
  }
  i = ux;
  j = uy;
  NormalizeWorkVector();
  const double s = -WorkVectorY();
  k = WorkVectorX();
  const double cPrime = i * dx - j * dy;
  const double sPrime = i * dy + dx * j;
  i = cPrime * s;
  j = s * sPrime;
}

}  // namespace qup
