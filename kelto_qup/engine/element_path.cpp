// The start and the path of one contour element. At a contour's first
// element the tool is brought to the contour (the queued approach moves
// traced back to where they start, the rapid moves there, then the approach
// written), unless the contour begins where the last one ended: then a
// linking move is opened instead. Straight moves that go on in one
// direction and one slope are collected in the pending linking move and
// written as one; a long move can get zones of reduced feed at its ends.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kOutputGateClosed = 0x8000;
constexpr int kMergeFlags = 0xED00;  // SnapshotFlags: moves are collected
constexpr double kHeightJump = 780.0;
constexpr int kMaxMerges = 20;
constexpr double kCrossLimit = 0.00001;
constexpr double kSlopeLimit = 0.001;
constexpr double kTiny = 1e-7;
constexpr double kZoneFactor = 2.1;  // a move longer than this many zones is split
constexpr int kZonesOn = 0x1000;
constexpr int kZoneSplitSeen = 0x01;
constexpr int kNoZoneBeforeEnd = 0x02;
// Heights closer than this (mm) are one level: below the 0.001 the program writes.
constexpr double kLevelTolerance = 0.0005;

bool IsCornerMarker(const NcElement& e) { return e.code == 0x1001 || e.flags == 0x11300; }

double SlopeDegrees(double rise, double run, double degreesPerRadian) {
  if (std::hypot(rise, run) <= kTiny) return 0.0;
  const double angle = std::atan2(rise, run) * degreesPerRadian;
  return std::fabs(angle) < kTiny ? 0.0 : angle;
}

}  // namespace

bool RunContext::IsWithinRadiusRange() const {
  const ContourWords& c = engine.contour;
  const double dx = R0.d4 - c.LastCommandPoint[0];
  const double dy = R0.d5 - c.LastCommandPoint[1];
  const double dz = R1.d7 - R3.d1;
  return 2.5 * StepUnit >= std::sqrt(dx * dx + dy * dy + dz * dz);
}

int RunContext::ComputeElementStart() {
  ContourWords& c = engine.contour;
  OutputState& o = output;
  PendingMoveRecord& p = c.Pending;
  if (o.PathHold == 0 && IsWithinRadiusRange()) {
    // The contour goes on where the last one ended: a linking move, no approach.
    c.LineSkip = 0;
    c.PendingMove += 1;
    p.MoveSlope = RoundTo3Decimals(R1.d7 - R3.d1);
    p.MoveStart = c.LastCommandPoint;
    p.MoveEnd = c.LastCommandPoint;
    p.MovePen = o.SegmentPen;
    p.MoveHeight = R3.d1;
    p.MoveBaseHeight = R3.d1;  // the slope of the link is measured from where it begins
    p.MoveNormal = core.ToolNormal;
    c.EmissionOffset = 0.0;
    R0.d1 = 0.0;
    return ComputeElementPath(0);
  }

  // The approach: its queued moves traced back from the contour's start to
  // where they begin, the rapid moves there, then the moves written.
  const int feedIndex = o.FeedElementIndex;
  const int transformMode = core.TransformMode;
  const NcElement keptR1 = R1, keptR3 = R3;
  R2.d6 = c.LastCommandPoint[0];
  R2.d7 = c.LastCommandPoint[1];
  if (RestoreStartPoint() == kStopRun) return kStopRun;
  R1.d7 = keptR1.d7;
  const std::array<double, 3> start = {R0.d4, R0.d5, keptR1.d7};
  job.CurrentPoint = start;
  ElementIndex = 1;
  o.ApproachPhase = 1;
  int status = ProcessQueuedCommands();
  if (status != kStopRun) status = EmitToolChangeToApproach(start[2]);
  if (status != kStopRun) {
    job.CurrentPoint = {o.TargetX, o.TargetY, o.TargetZ};
    ElementIndex = 0;
    o.ApproachPhase = 2;
    status = ProcessQueuedCommands();
  }
  o.ApproachPhase = 0;
  if (status == kStopRun || AbortFlag != 0) return kStopRun;
  // The approach ends at the contour's start whatever the queue held.
  if (std::fabs(job.CurrentPoint[0] - start[0]) > 1e-9 || std::fabs(job.CurrentPoint[1] - start[1]) > 1e-9 ||
      std::fabs(job.CurrentPoint[2] - start[2]) > 1e-9) {
    if (EmitPathMove(1, start[0], start[1], start[2], ContourFeed()) == kStopRun) return kStopRun;
  }
  c.LastCommandPoint = {start[0], start[1]};
  c.LastOutputPoint = {start[0], start[1]};
  // Slopes of the contour's moves are measured from the height it starts at.
  p.MoveBaseHeight = start[2];

  R1 = keptR1;
  const double d1 = R3.d1;
  R3 = keptR3;
  R3.d1 = d1;
  o.FeedElementIndex = feedIndex;
  core.TransformMode = transformMode;
  ElementIndex = kReady;
  core.NextFeed = ContourFeed();
  AddMachiningTime(0);
  return 1;
}

int RunContext::EmitToolChangeToApproach(double contourZ) {
  OutputState& o = output;
  const std::array<double, 3> approach = job.CurrentPoint;
  // The level the tool change leaves the tool at before it goes sideways.
  const double level = o.StartZPending != 0 ? o.HeadZ : o.PrevZ;
  // An approach that comes down onto the contour begins above it: the rapid
  // moves go there. One that does not (none queued, or one of length 0)
  // begins at the cutting depth, where a rapid move would take the tool into
  // the part: the rapids end above that point at the level the tool stands
  // at (the process's start level), and it is fed down from there.
  const bool approachComesDown = approach[2] > contourZ + kLevelTolerance;
  if (approachComesDown || level <= approach[2] + kLevelTolerance) {
    SetOutputPoint(approach);
    return EmitToolChange();
  }
  SetOutputPoint({approach[0], approach[1], level});
  if (EmitToolChange() == kStopRun) return kStopRun;
  job.CurrentPoint = {o.TargetX, o.TargetY, o.TargetZ};
  return EmitPathMove(1, approach[0], approach[1], approach[2], ApproachDescentFeed());
}

// The feed of an approach of length 0 where one is queued with a feed of
// its own, else the contour's.
double RunContext::ApproachDescentFeed() const {
  constexpr int kFeedGiven = 0x9000;
  for (int i = 0; i < job.QueueCount; ++i) {
    const int index = job.CommandQueue[static_cast<std::size_t>(i)];
    if (index < 0 || index >= elements.ElementCount) continue;
    const NcElement& e = elements[index];
    if (e.code == 0x6200 && (e.flags & kFeedGiven) == kFeedGiven && e.d7 > 0.0) return e.d7;
  }
  return ContourFeed();
}

int RunContext::ComputeElementPath(int flag) {
  ContourWords& c = engine.contour;
  OutputState& o = output;
  o.ResumedCornerMark = 0;
  if (flag == 0 && o.PathHold != 0) return 1;
  o.PathActiveWord = 1;

  R2.d6 = c.LastCommandPoint[0];
  R2.d7 = c.LastCommandPoint[1];
  ElementIndex = o.OutputGate;
  if ((o.OutputGate & kOutputGateClosed) != 0) return 1;
  // A corner marker's d1 is the offset it went round at: its steps were
  // written by the corner path already.
  if (R0.d1 != 0.0 && !IsCornerMarker(R0)) {
    R0.d1 = RoundTo3Decimals(R0.d1);
    if (R0.d1 != 0.0) return ArcElementPath();
    SetupCommandQ();
    return 0;
  }
  if (o.HeightWatch != 0 && o.JumpGuard == 0 && std::fabs(R1.d7 - o.LastHeight) > kHeightJump) {
    // A jump in height this large is a move between levels, not a cut.
    o.LastHeight = R1.d7;
    return 1;
  }
  if (IsCornerMarker(R0)) {
    SetupCommandQ();
    return 0;
  }
  if ((core.SnapshotFlags & kMergeFlags) == 0) {
    host.FlushPanes();
    return EmitStraightMove();
  }
  if (c.CompensationRequest == 0) return EmitStraightMove();
  if (c.PendingMove == 0) {
    OpenPendingMove();
    return ExtendPendingMove();
  }
  if (c.LineSkip != 0) return EmitStraightMove();
  if (!PendingMoveTakes()) {
    SwapWithPendingMove();
    return EmitStraightMove();
  }
  return ExtendPendingMove();
}

void RunContext::OpenPendingMove() {
  ContourWords& c = engine.contour;
  PendingMoveRecord& p = c.Pending;
  R3.d3 = R1.d7 - p.MoveBaseHeight;
  p.MoveStart = {R0.d4, R0.d5};
  p.MoveHeight = R1.d7;
  p.MergedCount = 0;
  c.LineSkip = 0;
  c.PendingMove = 1;
  R3.d2 = StepUnit;
  p.MoveSlope = SlopeDegrees(R3.d3, StepUnit, core.DegreesPerRadian);
  p.MoveBaseHeight = R1.d7;
}

bool RunContext::PendingMoveTakes() {
  PendingMoveRecord& p = engine.contour.Pending;
  const double ux0 = R0.d4 - p.MoveStart[0], uy0 = R0.d5 - p.MoveStart[1];
  const double h = std::hypot(ux0, uy0);
  // A move ending where the pending move began turns back along it.
  if (h == 0.0) return false;
  const double ux = ux0 / h, uy = uy0 / h;
  const double ex = p.MoveEnd[0] - p.MoveStart[0], ey = p.MoveEnd[1] - p.MoveStart[1];
  if (std::fabs(ex * uy - ey * ux) >= kCrossLimit) return false;
  // On the same line, only a move that goes on past the pending end extends
  // it; one that turns back would lose the stretch out and back.
  if ((R0.d4 - p.MoveEnd[0]) * ex + (R0.d5 - p.MoveEnd[1]) * ey < 0.0) return false;
  const double slope = SlopeDegrees(R1.d7 - p.MoveBaseHeight, h, core.DegreesPerRadian);
  if (std::fabs(slope - p.MoveSlope) < kSlopeLimit) return true;
  p.MoveSlope = slope;
  return false;
}

int RunContext::ExtendPendingMove() {
  ContourWords& c = engine.contour;
  OutputState& o = output;
  PendingMoveRecord& p = c.Pending;
  p.MergedCount += 1;
  if (p.MergedCount > kMaxMerges && o.MergeMoveMode == 4 && o.MergeGuard == 0) {
    SwapWithPendingMove();
    return EmitStraightMove();
  }
  p.MoveNormal = core.ToolNormal;
  p.MoveEnd = {R0.d4, R0.d5};
  p.MoveHeight = R1.d7;
  p.MovePen = o.SegmentPen;
  c.EmissionOffset = 0.0;
  R0.d1 = 0.0;
  return 1;
}

void RunContext::SwapWithPendingMove() {
  PendingMoveRecord& p = engine.contour.Pending;
  std::swap(R0.d4, p.MoveEnd[0]);
  std::swap(R0.d5, p.MoveEnd[1]);
  std::swap(R1.d7, p.MoveHeight);
  std::swap(core.ToolNormal, p.MoveNormal);
  std::swap(output.SegmentPen, p.MovePen);
  WorkVectorX() = R3.d4 - R2.d6;
  WorkVectorY() = R3.d5 - R2.d7;
}

int RunContext::EmitStraightMove() {
  ContourWords& c = engine.contour;
  OutputState& o = output;
  PendingMoveRecord& p = c.Pending;
  p.MergedCount = 1;
  if (o.StepDelayMode == 2) DelayMs(o.StepDelay);
  const double x = R0.d4, y = R0.d5, z = R1.d7;
  const double fromX = R2.d6, fromY = R2.d7;
  const double length = std::hypot(x - fromX, y - fromY);
  if ((core.SnapshotFlags & kMergeFlags) == 0) R0.d1 = 0.0;
  const bool split = (core.SnapshotFlags & kMergeFlags) == 0 && (o.EndZoneMode & kZonesOn) != 0 &&
                     o.EndZoneLength > 0.0 && length > kZoneFactor * o.EndZoneLength;
  if (split) {
    const double f = ContourFeed();
    const double slow = f * o.EndZoneFactor;
    const double ux = (x - fromX) / length, uy = (y - fromY) / length;
    const double zone = o.EndZoneLength;
    // After the first split move every long move also starts in a zone.
    if ((o.EndZoneMode & kZoneSplitSeen) != 0 &&
        EmitContourPoint(fromX + zone * ux, fromY + zone * uy, z, slow) == kStopRun)
      return kStopRun;
    o.EndZoneMode |= kZoneSplitSeen;
    double lastFeed = f;
    if ((o.EndZoneMode & kNoZoneBeforeEnd) == 0) {
      if (EmitContourPoint(x - zone * ux, y - zone * uy, z, f) == kStopRun) return kStopRun;
      lastFeed = slow;
    }
    if (EmitContourPoint(x, y, z, lastFeed) == kStopRun) return kStopRun;
    p.MoveStart = {x, y};
  } else {
    p.MoveStart = {x, y};
    p.MoveBaseHeight = z;
    if (EmitContourPoint(x, y, z, ContourFeed()) == kStopRun) return kStopRun;
  }
  c.EmissionOffset = 0.0;
  R0.d1 = 0.0;
  return 1;
}

}  // namespace qup
