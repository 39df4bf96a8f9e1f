// The small helpers of the element stepper: the hand-over of a step's end
// record, the tool normal from the element's direction, the unpacking of a
// command's values, the step towards the command point, the normal turned
// by the work pair, and the interpolation between two stations.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {
constexpr double kStepFixedPoint = 0.1;  // the step value 0.000100000 as a packed pair: 0 and 100000
}  // namespace

void RunContext::StepperHelperA() {
  const FixedPointPair end = SplitFixedPoint(R1.d6);
  core.StepRunEndIndex = static_cast<int>(end.whole);
  core.StepRunEndFraction = static_cast<int>(end.millionths);
  WorkVectorX() = R1.d2;
  WorkVectorY() = R1.d3;
  core.StepWorkPoint = {R1.d4, R1.d5};
  core.StepKeptFlags = R1.flags;
  StoreRegisterByCode(56);
  core.StepPassWord = core.StepRunEndIndex;
  R1 = core.StepperLineRecord;
}

void RunContext::StepperHelperB() {
  auto& n = core.ToolNormal;
  if ((core.SnapshotFlags & 0xED00) != 0) {
    n = {0.0, 0.0, 1.0};
    return;
  }
  n = {-R0.d3, R0.d2, 0.0};
  if ((core.StepPassWord & 0x08) != 0) {
    n[0] = -n[0];
    n[1] = -n[1];
  }
}

void RunContext::ClearStepFlags() {
  UnpackCommandValue(1);
  UnpackCommandValue(2);
  UnpackCommandValue(4);
}

void RunContext::StepperHelperC() {
  const geom::Vec2 d = geom::PointD4(R0) - geom::PointD4(R2);
  const double length = geom::Length(d);
  const geom::Vec2 u = geom::UnitOr(d, {1.0, 0.0});
  core.ToolNormal[0] = u.x;
  core.ToolNormal[1] = u.y;
  core.StepRecord.d0 = length;
  core.StepRecord.d4 = R2.d4;
  core.StepRecord.d5 = R2.d5;
  core.StepRecord.d7 = 0.0;
  ElementIndex = 0;
  core.StepValue = kStepFixedPoint;
  StepMode = 3;
}

void RunContext::StepperHelperD() {
  auto& n = core.ToolNormal;
  n[1] = -n[1];
  const double a = WorkVectorX() * n[2];
  const double b = -n[1] * WorkVectorY();
  n[2] = n[2] * WorkVectorY();
  if ((SubtypeWord & 0x200) != 0) {
    n[1] = a;
    n[0] = b;
  } else {
    n[0] = a;
    n[1] = b;
  }
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (length != 0.0) {
    n[0] /= length;
    n[1] /= length;
    n[2] /= length;
  }
}

void RunContext::StepperHelperE() {
  const double j = core.ToolNormal[1];
  const double k = core.ToolNormal[2];
  // Stations closer than 1e-7 have no span to interpolate in.
  const double percent = std::fabs(k - j) < 1e-7 ? 0.0 : (R2.d2 - j) * 100.0 / (k - j);
  const double t = percent * 0.01;
  R0.d4 = R1.d4 + (R0.d4 - R1.d4) * t;
  R0.d5 = R1.d5 + (R0.d5 - R1.d5) * t;
  const geom::Vec2 dir{R1.d2 + (R0.d2 - R1.d2) * t, R1.d3 + (R0.d3 - R1.d3) * t};
  geom::SetD2(R0, geom::UnitOr(dir, {1.0, 0.0}));
  double wx = -R0.d3;
  double wy = R0.d2;
  if (R0.d2 < 0.0) {
    wx = -wx;
    wy = -wy;
  }
  WorkVectorX() = wx;
  WorkVectorY() = wy;
}

}  // namespace qup
