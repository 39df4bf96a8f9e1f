// Arcs of a contour written as chords: the arc in R0 (signed radius d1,
// positive counter-clockwise, centre in the work block's d4/d5) runs from
// the previous command point (R2's d6/d7) to R0's point. The chord angle is
// sqrt(2 t / R) for the chord tolerance t; a tolerance of a quarter of the
// radius or more is taken as an eighth of it. An arc whose start and end
// coincide is a full circle. The pending linking move is written when the
// element ends.
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr double kFullCircleSnap = 0.00001;  // degrees
constexpr int kMergeFlags = 0xED00;
constexpr int kHeldArcFlags = 0xF0;  // HeldMoveFlags: a held arc move

}  // namespace

double RunContext::ChordStepDegrees(double radius) {
  ContourWords& c = engine.contour;
  const double r = std::fabs(radius);
  if (r == 0.0) return 0.0;
  double tolerance = c.ArcTolerance;
  if (tolerance >= r / 4.0) {
    const double eighth = RoundTo3Decimals(r / 8.0);
    if (eighth == 0.0) return 0.0;
    tolerance = eighth;
  }
  return std::sqrt(2.0 * tolerance / r) * core.DegreesPerRadian;
}

int RunContext::StepArc() {
  // The sweep from the start to the end in the arc's sense, a full circle
  // when they coincide.
  ContourWords& c = engine.contour;
  const double cx = R3.d4, cy = R3.d5;
  const double a0 = Atan2Degrees360(R2.d6 - cx, R2.d7 - cy);
  const double a1 = Atan2Degrees360(R0.d4 - cx, R0.d5 - cy);
  double sweep = R0.d1 > 0.0 ? a1 - a0 : a0 - a1;
  if (sweep < 0.0) sweep += 360.0;
  if (SnapFullCircle(sweep)) sweep = 360.0;
  c.ArcSaveWords = {cx, cy, a0, sweep, R0.d4, R0.d5, R0.d1};
  const double step = ChordStepDegrees(R0.d1);
  // From here each step is a straight move (the arc's radius is kept in
  // the save words), so the element path writes it as one.
  R0.d1 = 0.0;
  if (step == 0.0) {
    // Not stepped: the arc is written as its chord.
    AddArcSequenceWord();
    CornerKind = 1;
    return 1;
  }
  c.ArcStepCount = static_cast<int>(std::ceil(sweep / step - 1e-9));
  if (c.ArcStepCount < 1) c.ArcStepCount = 1;
  c.ArcStepIndex = 0;
  CornerKind = 2;
  return AdvanceArcAngle();
}

void RunContext::AddArcSequenceWord() {
  // The last chord of an arc carries a sequence number. When the element's
  // own number is still waiting (an arc of one chord), that one serves: a
  // second would stay pending, and every later block would be run on into
  // the one before it.
  if (output.PendingSequenceWords == 0) AddPendingSequence();
}

bool RunContext::SnapFullCircle(double sweep) const { return std::fabs(sweep) < kFullCircleSnap || sweep > 360.0 - kFullCircleSnap; }

int RunContext::AdvanceArcAngle() {
  ContourWords& c = engine.contour;
  const auto& w = c.ArcSaveWords;
  c.ArcStepIndex += 1;
  if (c.ArcStepIndex >= c.ArcStepCount) {
    // The last step ends exactly on the element's end point.
    R0.d4 = w[4];
    R0.d5 = w[5];
    AddArcSequenceWord();
    CornerKind = 1;
  } else {
    const double sense = w[6] > 0.0 ? 1.0 : -1.0;
    const double angle = (w[2] + sense * w[3] * c.ArcStepIndex / c.ArcStepCount) * core.RadiansPerDegree;
    const double r = std::fabs(w[6]);
    R0.d4 = w[0] + r * std::cos(angle);
    R0.d5 = w[1] + r * std::sin(angle);
    // The tangent in the arc's sense.
    R0.d2 = -sense * std::sin(angle);
    R0.d3 = sense * std::cos(angle);
  }
  return 1;
}

int RunContext::ArcElementPath() {
  // Every step is written as a straight move; the element ends with its
  // last step.
  ContourWords& c = engine.contour;
  OutputState& o = output;
  if (o.StepDelayMode == 2) DelayMs(o.StepDelay);
  if (o.HeldCommandWord != 0 && (o.HeldMoveFlags == 0 || (o.HeldMoveFlags & kHeldArcFlags) != 0)) {
    // The output holds a command for this arc: it is written whole, as one
    // arc block. It is not stepped as well, which would cut it twice.
    const double radius = R0.d1;
    const int status = EmitCurrentElement();
    R0.d1 = radius;
    if ((o.HeldMoveFlags & kHeldArcFlags) != 0) o.ResumedCornerMark = 1;
    return status == kStopRun ? kStopRun : 0;
  }
  const int savedDelayMode = o.StepDelayMode;
  o.StepDelayMode = 0;
  const double radius = R0.d1;
  const double endX = R0.d4, endY = R0.d5;
  R3.d4 = c.ArcCentre[0];
  R3.d5 = c.ArcCentre[1];
  if (StepArc() == kStopRun) return kStopRun;
  const double z = R1.d7;
  for (;;) {
    if (EmitContourPoint(R0.d4, R0.d5, z, ContourFeed()) == kStopRun) return kStopRun;
    if (CornerKind == 1) break;
    AdvanceArcAngle();
    if ((c.ArcStepIndex & 0x3F) == 0 && PollAbort() == kStopRun) return kStopRun;
  }
  R0.d4 = endX;
  R0.d5 = endY;
  R0.d1 = radius;
  o.StepDelayMode = o.StepDelayDefault != 0 ? o.StepDelayDefault : savedDelayMode;
  return 0;
}

int RunContext::FlushPendingMove(int kind) {
  ContourWords& c = engine.contour;
  const PendingMoveRecord& p = c.Pending;
  const bool isLine = R0.d1 == 0.0 && R0.code != 0x1001 && R0.flags != 0x11300;
  if (c.PendingMove != 0 && c.CompensationRequest != 0 && (core.SnapshotFlags & kMergeFlags) != 0 && isLine &&
      c.LineSkip == 0) {
    R2.d6 = c.LastCommandPoint[0];
    R2.d7 = c.LastCommandPoint[1];
    WorkVectorX() = R3.d4 - c.LastCommandPoint[0];
    WorkVectorY() = R3.d5 - c.LastCommandPoint[1];
    const double x = p.MoveEnd[0], y = p.MoveEnd[1];
    if (x != c.LastCommandPoint[0] || y != c.LastCommandPoint[1]) {
      if (EmitContourPoint(x, y, p.MoveHeight, ContourFeed()) == kStopRun) return kStopRun;
    }
    R0.d1 = 0.0;
  }
  if (kind != 66) ShiftElementRegisters();
  c.PendingMove = 0;
  return 0;
}

int RunContext::ShiftElementRegisters() {
  ContourWords& c = engine.contour;
  c.LastOutputPoint = {R1.d6, R1.d7};
  R1.d6 = c.ContourRefPoint1[0];
  R1.d7 = c.ContourRefPoint1[1];
  R2.d6 = c.ContourRefPoint2[0];
  R2.d7 = c.ContourRefPoint2[1];
  return 0;
}

double RunContext::ContourFeed() const {
  const int index = output.FeedElementIndex;
  if (index > 0 && index < elements.ElementCount && elements[index].d7 > 0.0) return elements[index].d7;
  const double own = engine.contour.SectionCommand.d7;
  return own > 0.0 ? own : output.Feed;
}

int RunContext::EmitContourPoint(double x, double y, double z, double feed) {
  for (double v : {x, y, z, feed}) {
    if (!std::isfinite(v)) return StopWithError(kErrorNotFiniteValue);
  }
  const double saved = R0.d1;
  const int status = EmitPathMove(1, x, y, z, feed);
  R0.d1 = saved;
  engine.contour.LastCommandPoint = {x, y};
  engine.contour.LastOutputPoint = {x, y};
  return status;
}

}  // namespace qup
