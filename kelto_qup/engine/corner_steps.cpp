// The corner between two offset elements: the tool goes round the joint as
// drawn from P (where the current element ended) to Q (where the next one
// begins). The corner compares the motion frame at P (kept in CornerFrame)
// with the frame at Q: when neither the tool normal, nor the height, nor the
// position about the joint changes there is nothing to cut; otherwise the
// corner is stepped as an arc about the joint, and at every step the tool
// normal turns and the height moves from the first frame's towards the
// second's.
//
// A frame is read as angles about the corner's centre (BuildArcFrame): d0
// the tilt of its tool normal, d1 the azimuth of its point seen from the
// centre, d2 the sine of that azimuth (the height of a proportional corner
// follows it), d3 its height, d4/d5 its point.
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kCodeCornerArc = 0x1300;
constexpr int kSurfaceCorner = 0x800;  // OutputFlags / SnapshotFlags: every corner is stepped
constexpr double kShortest = 1e-7;     // a shorter direction has no angle
constexpr int kLastStep = 1;
constexpr int kArcSetUp = 3;

double AngleOf(double y, double x, double degreesPerRadian) {
  if (std::hypot(x, y) < kShortest) return 0.0;
  return std::atan2(y, x) * degreesPerRadian;
}

}  // namespace

NcElement& RunContext::CurrentMotionFrame() {
  return Slot(core.FrameToggle != 0 ? SaveSlot::Slot53 : SaveSlot::Slot52);
}

void RunContext::BuildArcFrame(int mode) {
  ContourWords& c = engine.contour;
  const double dpr = core.DegreesPerRadian;
  const double rx = R1.d4 - R3.d4, ry = R1.d5 - R3.d5;
  double azimuth = AngleOf(ry, rx, dpr);
  if (mode == 0) {
    c.CornerAzimuth = azimuth;
  } else {
    // The end frame's azimuth is taken on from the start frame's in the
    // sense the corner turns, so that their difference is its sweep.
    double change = azimuth - c.CornerAzimuth;
    if (c.CornerSense > 0.0 && change < 0.0) change += 360.0;
    if (c.CornerSense < 0.0 && change > 0.0) change -= 360.0;
    azimuth = c.CornerAzimuth + change;
  }
  const double tilt = AngleOf(R1.d2, std::hypot(R1.d0, R1.d1), dpr);
  R1.d0 = tilt;
  R1.d1 = azimuth;
  R1.d2 = std::sin(azimuth * core.RadiansPerDegree);
}

int RunContext::CornerFrames() {
  ContourWords& c = engine.contour;
  const NcElement marker = R0;
  // 1. The frame where the corner begins is the last position written; the
  // motion then takes the corner's end.
  const double keptD3 = R1.d3;
  c.CornerFrame = CurrentMotionFrame();
  if (EmitElementMotion(336) == kStopRun || AbortFlag != 0) return kStopRun;
  // 2. The centre: the joint as drawn, the offset away from Q across the
  // next element's direction (d2/d3).
  if (marker.d0 != 0.0) c.CornerSense = marker.d0 > 0.0 ? 1.0 : -1.0;
  R3.d4 = marker.d4 + marker.d1 * marker.d3;
  R3.d5 = marker.d5 - marker.d1 * marker.d2;
  // 3.-4. Both frames read about the centre; the start frame waits in slot 175.
  const NcElement keptR1 = R1;
  R1 = c.CornerFrame;
  BuildArcFrame(0);
  Slot(SaveSlot::Slot175) = R1;
  R1 = CurrentMotionFrame();
  BuildArcFrame(1);
  const NcElement end = R1;
  const NcElement& start = Slot(SaveSlot::Slot175);
  R1 = keptR1;
  // 5. The end's point; the changes of tilt, azimuth and height.
  R0.d4 = end.d4;
  R0.d5 = end.d5;
  c.CornerTilt = RoundTo3Decimals(start.d0);
  c.CornerAzimuth = RoundTo3Decimals(start.d1);
  c.CornerTiltChange = RoundTo3Decimals(end.d0) - c.CornerTilt;
  c.CornerAzimuthChange = RoundTo3Decimals(end.d1) - c.CornerAzimuth;
  const double heightChange = RoundTo3Decimals(end.d3 - start.d3);
  // 6. Stepped when the height changes, when an offset corner turns the
  // normal or goes round the joint, or when the run steps every corner.
  const bool offset = c.CommandOffset + R3.d0 != 0.0 || RoundTo3Decimals(marker.d1) != 0.0;
  const bool turns = c.CornerAzimuthChange != 0.0 || c.CornerTiltChange != 0.0;
  if (heightChange != 0.0 || (offset && turns) || ((core.OutputFlags | core.SnapshotFlags) & kSurfaceCorner) != 0) {
    CornerSlope(start, end);
    return CornerSteps(marker);
  }
  // 7. Nothing to step: the tool stands at the end frame.
  CornerKind = c.CornerNextState;
  const NcElement& frame = CurrentMotionFrame();
  core.ToolNormal = {frame.d0, frame.d1, frame.d2};
  R1.d3 = keptD3;
  return 2;
}

void RunContext::CornerSlope(const NcElement& start, const NcElement& end) {
  ContourWords& c = engine.contour;
  // The height over the corner: in proportion to the sine of the azimuth
  // (the Y of the radius) when that changes more than the height does, else
  // evenly over the sweep.
  const double p = end.d2 - start.d2;
  const double q = end.d3 - start.d3;
  const double ap = RoundTo3Decimals(std::fabs(p)), aq = RoundTo3Decimals(std::fabs(q));
  c.ProportionalCorner = ap != 0.0 && aq - ap < 0.0 ? 1 : 0;
  if (c.ProportionalCorner != 0) {
    c.CornerSlope = q / p;
    c.CornerBase = start.d3 - start.d2 * c.CornerSlope;
  } else {
    c.CornerSlope = q;
    c.CornerBase = start.d3;
  }
}

int RunContext::CornerSteps(const NcElement& marker) {
  ContourWords& c = engine.contour;
  OutputState& o = output;
  // A straight move still waiting to be merged is written before the
  // corner, or the corner's moves would run ahead of it.
  if (WritePendingMove() == kStopRun) return kStopRun;
  // The corner as an arc about the centre from where the tool stands; a
  // corner that does not go round the joint is one step to its end, never
  // a full circle.
  const NcElement endFrame = CurrentMotionFrame();
  R0.code = kCodeCornerArc;
  R0.flags = 0;
  R0.d1 = c.CornerAzimuthChange == 0.0 ? 0.0 : std::fabs(marker.d1) * (c.CornerAzimuthChange > 0.0 ? 1.0 : -1.0);
  R2.d6 = c.LastCommandPoint[0];
  R2.d7 = c.LastCommandPoint[1];
  CornerKind = kArcSetUp;
  int status = 0;
  for (;;) {
    core.AxisPointSwitch = 1;
    const int step = ComputeCornerPath();
    if (step == kStopRun || AbortFlag != 0) {
      status = kStopRun;
      break;
    }
    if (step == 0) break;
    if (CornerKind == kLastStep) {
      core.ToolNormal = {endFrame.d0, endFrame.d1, endFrame.d2};
      R0.d4 = endFrame.d4;
      R0.d5 = endFrame.d5;
      R1.d7 = endFrame.d3;
    } else {
      InterpolateCornerStep();
    }
    if (RunContourPasses() == kStopRun || AbortFlag != 0 ||
        ((c.ArcStepIndex & 0x3F) == 0 && PollAbort() == kStopRun)) {
      status = kStopRun;
      break;
    }
    if (c.ReentryWord == 0 && o.PathHold == 0) {
      R2.d6 = c.LastCommandPoint[0];
      R2.d7 = c.LastCommandPoint[1];
      if (EmitContourPoint(R0.d4, R0.d5, R1.d7, ContourFeed()) == kStopRun) {
        status = kStopRun;
        break;
      }
    }
    // The transform chain moved this step's written position only: the
    // next step is computed about the corner as drawn.
    RestoreChainedRegisters();
  }
  RestoreChainedRegisters();
  core.AxisPointSwitch = 0;
  // The marker stays in R0, standing at the corner's end.
  const double x = R0.d4, y = R0.d5;
  R0 = marker;
  R0.d4 = x;
  R0.d5 = y;
  return status;
}

void RunContext::InterpolateCornerStep() {
  ContourWords& c = engine.contour;
  // t: how much of the sweep is done.
  const double t = c.ArcStepCount > 0 ? static_cast<double>(c.ArcStepIndex) / c.ArcStepCount : 1.0;
  core.ToolPointZ = t;
  const double rpd = core.RadiansPerDegree;
  const double azimuth = (t * c.CornerAzimuthChange + c.CornerAzimuth) * rpd;
  const double tilt = (t * c.CornerTiltChange + c.CornerTilt) * rpd;
  core.ToolNormal = {std::cos(tilt) * std::cos(azimuth), std::cos(tilt) * std::sin(azimuth), std::sin(tilt)};
  R1.d7 = c.ProportionalCorner != 0 ? c.CornerSlope * std::sin(azimuth) + c.CornerBase
                                    : t * c.CornerSlope + c.CornerBase;
}

int RunContext::WritePendingMove() {
  ContourWords& c = engine.contour;
  const PendingMoveRecord& p = c.Pending;
  if (c.PendingMove == 0) return 0;
  c.PendingMove = 0;
  if (p.MoveEnd[0] == c.LastCommandPoint[0] && p.MoveEnd[1] == c.LastCommandPoint[1]) return 0;
  return EmitContourPoint(p.MoveEnd[0], p.MoveEnd[1], p.MoveHeight, ContourFeed());
}

}  // namespace qup
