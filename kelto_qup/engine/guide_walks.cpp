// Guide-line walks: from joint to joint along a guide range, adding element
// lengths, to find the joint nearest to a measured point (the position of a
// point along a developed figure) and the fillet's corner radius there.
//
// The walk: a ray from the measured point (GuideStartPoint, kept in
// ArcPassFrame) normal to each element meets it at its nearest point; each
// step of TraverseElements gives one joint; AddElementLength adds the way
// from the previous joint. Every routine gives back the registers and range
// words it kept, also when it fails.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {
constexpr int kErrorGlFigure = 26;      // the GL figure does not set up
constexpr int kErrorGuideLine = 33;     // the fillet guide line does not set up
constexpr int kErrorCornerRadius = 35;  // no joint for the corner-radius span
constexpr int kMoveModeRay = 0xFFF0;
constexpr double kTwoPi = 6.283185307179586;

// The range words and offset mode that a guide walk keeps and gives back.
struct KeptRange {
  explicit KeptRange(RunContext& r)
      : run(r),
        start(r.RangeStart),
        end(r.RangeEnd),
        step(r.RangeStep),
        options(r.RangeOptions),
        offsetMode(r.core.OffsetMode),
        moveFlags(r.core.MoveFlags) {}
  void Restore() {
    run.RangeStart = start;
    run.RangeEnd = end;
    run.RangeStep = step;
    run.RangeOptions = options;
    run.core.OffsetMode = offsetMode;
    run.core.MoveFlags = moveFlags;
  }
  RunContext& run;
  int start, end, step, options, offsetMode, moveFlags;
};

// R0 as a line through its point, kept as the ray frame.
void MakeRayFrame(RunContext& run) {
  run.R0.code = kCodeLine;
  run.R0.flags = 0;
  run.R0.d1 = 0.0;
  run.core.ArcPassFrame = run.R0;
}
}  // namespace

void RunContext::OpenGuideRange() {
  UnpackCommandValue(4);
  RangeStep = 1;
  core.RunMarks = {static_cast<double>(RangeStart), static_cast<double>(RangeEnd)};
}

int RunContext::NextCallEntry(int position) {
  auto loadCommand = [&](int index) {
    if (!CheckedLoad(R2, index)) return false;
    R2.d4 = R2.d5;
    UnpackCommandValue(4);
    return true;
  };
  for (int pos = position; pos >= 1 && pos <= static_cast<int>(core.CallEntries.size()); ++pos) {
    if (AbortFlag != 0) return -1;
    const int entry = core.CallEntries[static_cast<std::size_t>(pos - 1)];
    if (entry == 0) break;
    if (!loadCommand(entry)) return -1;
    if (entry == RangeStart || entry == RangeEnd) return pos;
  }
  if (AbortFlag == 0) loadCommand(core.CallPosition);
  return -1;
}

int RunContext::WalkToNextJoint() {
  for (;;) {
    core.GuidePrevPoint = {R0.d4, R0.d5};
    const NcElement& frame = core.ArcPassFrame;
    R0.code = frame.code;
    R0.flags = frame.flags;
    R0.d0 = frame.d0;
    R0.d1 = frame.d1;
    R0.d2 = frame.d2;
    R0.d3 = frame.d3;
    R0.d4 = frame.d4;
    R0.d5 = frame.d5;
    R1.code &= 0xFF00;
    if (R1.Kind() == kCodePoint) return 0;
    // The ray from the measured point normal to the element: towards an
    // arc's centre, across a line.
    if (R1.d1 != 0.0) {
      WorkVectorX() = R1.d6 - core.GuideStartPoint[0];
      WorkVectorY() = R1.d7 - core.GuideStartPoint[1];
      TangentFromChord();
      if (R1.d1 < 0.0) {
        R0.d2 = -R0.d2;
        R0.d3 = -R0.d3;
      }
    } else {
      R0.d2 = -R1.d3;
      R0.d3 = R1.d2;
    }
    core.GuideFarPoint = {R1.d4, R1.d5};
    NcElement& ray = core.ArcPassFrame;
    ray.code = R0.code;
    ray.flags = R0.flags;
    ray.d0 = R0.d0;
    ray.d1 = R0.d1;
    ray.d2 = R0.d2;
    ray.d3 = R0.d3;
    core.MoveFlags = kMoveModeRay;
    core.JoinPending = 0xFFFF;
    core.ExtendedTolerance = kWalkKeepReference;
    const int walked = TraverseElements(0);
    core.ExtendedTolerance = 0;
    if (walked == kStopRun) return kStopRun;
    if (walked == 0) return 0;
    AddElementLength(0);
    if (walked == 2) return 1;
  }
}

int RunContext::FindNearestJoint() {
  R3.d1 = 0.0;
  int nearest = 0;
  double bestLength = 0.0;
  for (;;) {
    const int walked = WalkToNextJoint();
    if (walked == kStopRun) return kStopRun;
    if (walked == 0) break;
    const double d = geom::Distance(geom::PointD4(R0), {core.GuideStartPoint[0], core.GuideStartPoint[1]});
    // Only a strictly nearer joint replaces the best: of two at the same
    // distance the first one found stays.
    if (nearest > 0 && d >= R3.d1) continue;
    ++nearest;
    R3.d1 = d;
    bestLength = R2.d3;
    core.BestJointRecord = core.ArcPassFrame;
  }
  if (nearest == 0) return 0;
  R2.d3 = bestLength;
  return 1;
}

int RunContext::StepperArcSetup() {
  KeptRange kept(*this);
  NcElement saved[4];
  SaveAllRegs(saved);
  core.OffsetMode = 0;
  const geom::Vec2 measured{R0.d4, R0.d5};
  MakeRayFrame(*this);
  R2.d1 = 0.0;
  const FixedPointPair range = SplitFixedPoint(R2.d2);
  RangeStart = static_cast<int>(range.whole);
  RangeEnd = static_cast<int>(range.millionths);
  SweepRule = range.millionths > range.whole + 2 ? 13999 : 0;

  auto finish = [&](int result, bool found, geom::Vec2 best, double signedDistance) {
    RestoreAllRegs(saved);
    kept.Restore();
    SweepRule = 0;
    if (found) {
      R0.d4 = best.x;
      R0.d5 = best.y;
      R2.d2 = signedDistance;
      WorkVectorX() = best.x;
      WorkVectorY() = best.y;
    }
    return result;
  };

  const int setup = SetupCommand();
  if (setup != 1) {
    if (setup != kStopRun) StopWithError(kErrorGlFigure);
    return finish(0, false, {}, 0.0);
  }
  SwapR0R1();
  core.GuidePrevPoint = {R0.d4, R0.d5};
  const geom::Vec2 startDirection = geom::DirectionD2(R0);
  if (RangeStart != RangeEnd) {
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return finish(0, false, {}, 0.0);
  }
  core.GuideStartPoint = {measured.x, measured.y};
  R2.d3 = 0.0;
  core.JoinPending = 0xFFFF;
  SetCurrentFrameArc();

  int nearest = 0;
  geom::Vec2 best{};
  double signedDistance = 0.0;
  R3.d1 = 0.0;
  for (;;) {
    const int walked = WalkToNextJoint();
    if (walked == kStopRun) return finish(0, false, {}, 0.0);
    if (walked == 0) break;
    const geom::Vec2 joint = geom::PointD4(R0);
    const geom::Vec2 w = joint - measured;
    const double dot = geom::Dot(w, startDirection);
    const double d = geom::Length(w);
    if (nearest > 0 && d >= R3.d1) continue;
    ++nearest;
    R3.d1 = d;
    signedDistance = dot >= 0.0 ? -d : d;
    best = joint;
    core.BestJointRecord = core.ArcPassFrame;
  }
  return finish(nearest > 0 ? 1 : 0, nearest > 0, best, signedDistance);
}

int RunContext::ArcPassEnd() {
  core.OffsetMode = 0;
  RangeOptions = 0;
  R0.d4 = core.KeptLength;
  R0.d5 = 0.0;
  const int found = IntersectAndJoin(6);
  if (found == kStopRun) return kStopRun;
  if (found != 1) return StopWithError(kErrorCornerRadius);
  FilletRadius = R0.d5;
  return 1;
}

int RunContext::ArcCirclePass(int mode) {
  KeptRange kept(*this);
  const std::array<double, 2> marks = core.RunMarks;
  if (PushRegs() == kStopRun) return 0;
  auto finish = [&](int result) {
    PopRegs();
    kept.Restore();
    core.RunMarks = marks;
    SweepRule = 0;
    if (result == 1) {
      // A radius on the wrong side of the fillet's offset is replaced by it.
      const double offset = core.FilletOffset;
      if ((FilletRadius > 0.0 && FilletRadius < offset) || (FilletRadius <= 0.0 && !(FilletRadius <= offset))) {
        FilletRadius = offset;
      }
    }
    return result;
  };

  // 1.-2. The guide command's range and its first element.
  const geom::Vec2 measured{R0.d4, R0.d5};
  MakeRayFrame(*this);
  if (!CheckedLoad(R2, core.GuideCommandIndex)) return finish(0);
  R2.d4 = R2.d2;
  UnpackCommandValue(4);
  SweepRule = RangeEnd > RangeStart + 2 ? 13999 : 0;
  const int setup = SetupCommand();
  if (setup != 1) {
    if (setup != kStopRun) StopWithError(kErrorGuideLine);
    return finish(0);
  }
  SwapR0R1();
  core.GuidePrevPoint = {R0.d4, R0.d5};
  const geom::Vec2 startDirection = geom::DirectionD2(R0);
  if (RangeStart != RangeEnd) {
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return finish(0);
  }
  SetCurrentFrameArc();
  core.GuideStartPoint = {measured.x, measured.y};
  R2.d3 = 0.0;
  core.JoinPending = 0xFFFF;

  // 3. The nearest joint of the guide and the length to it.
  core.SpanCounter = 0;
  R3.d1 = 0.0;
  double bestLength = 0.0;
  for (;;) {
    const int walked = WalkToNextJoint();
    if (walked == kStopRun) return finish(0);
    if (walked == 0) break;
    const double d = geom::Distance(geom::PointD4(R0), measured);
    if (core.SpanCounter > 0 && d >= R3.d1) continue;
    if (mode == 1 && core.SpanCounter == 0) core.FilletStartTangent = {-startDirection.x, -startDirection.y};
    ++core.SpanCounter;
    R3.d1 = d;
    bestLength = R2.d3;
    core.BestCommandRecord = R2;
    Slot(SaveSlot::Slot61) = core.ArcPassFrame;
  }
  if (core.SpanCounter == 0) return finish(0);

  // 4. The position along the guide; a closed guide of no length is a circle.
  core.GuideLength = bestLength;
  if (core.GuideLength == 0.0 && RangeEnd - 1 >= 0) {
    NcElement beforeEnd{};
    if (!CheckedLoad(beforeEnd, RangeEnd - 1)) return finish(0);
    core.GuideLength = kTwoPi * std::fabs(beforeEnd.d1);
  }
  // 5. The start radius of the kept command.
  FilletRadius = core.BestCommandRecord.d6;

  // 6. The corner-radius spans.
  if (!CheckedLoad(R2, core.GuideCommandIndex)) return finish(0);
  if (core.FilletContour != 0) {
    FilletRadius = core.FilletOffset;
    return finish(1);
  }
  if ((R2.flags & 0x80) != 0) {
    FilletRadius = R2.d0;
    return finish(1);
  }
  R2.d4 = R2.d1;
  OpenGuideRange();
  NcElement first{};
  if (!CheckedLoad(first, RangeStart)) return finish(0);
  if (first.Kind() != kCodePoint || first.d1 == 0.0) {
    core.KeptLength = core.GuideLength;
    const int ended = ArcPassEnd();
    return finish(ended == 1 ? 1 : 0);
  }
  if (AbortFlag != 0) return finish(0);
  if (RangeStart == RangeEnd) {
    FilletRadius = first.d1;
    return finish(1);
  }
  // 7.-8. Interpolation across several spans is not written yet.
  StopMissingOperation("ArcCirclePass span interpolation");
  return finish(0);
}

}  // namespace qup
