// Guide-line walks: from joint to joint along a guide range, adding element
// lengths, to find the joint nearest to a measured point (the position of a
// point along a developed figure) and the fillet's corner radius there.
//
// The walk: a ray from the measured point (GuideStartPoint, kept in
// ArcPassFrame) normal to each element meets it at its nearest point; each
// step of TraverseElements gives one joint; AddElementLength adds the way
// from the previous joint. Every routine gives back the registers and range
// words it kept, also when it fails.
#include <algorithm>
#include <array>
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

namespace {
// Joints closer than this (mm) to an element's ends still lie on it.
constexpr double kOnElement = 0.001;
}  // namespace

// Adds the way along the element in R1 from GuidePrevPoint to `to` and makes
// `to` the previous point. R0 carries the piece for AddElementLength.
void RunContext::AddGuidePiece(double toX, double toY) {
  const geom::Vec2 from{core.GuidePrevPoint[0], core.GuidePrevPoint[1]};
  if (geom::Distance(from, {toX, toY}) > 1e-9) {
    R0 = R1;
    R0.d4 = toX;
    R0.d5 = toY;
    R3.d4 = R1.d6;  // an arc's centre
    R3.d5 = R1.d7;
    AddElementLength(0);
  }
  core.GuidePrevPoint = {toX, toY};
}

// The joints of a guide walk are the feet of the measured point on each
// element: the perpendicular foot on a line, the radial point on an arc,
// where it lies on the element between the previous point and its end.
int RunContext::WalkToNextJoint() {
  const geom::Vec2 measured{core.GuideStartPoint[0], core.GuideStartPoint[1]};
  for (;;) {
    if (AbortFlag != 0) return kStopRun;
    if (R1.Kind() == kCodePoint) return 0;
    const geom::Vec2 start{core.GuidePrevPoint[0], core.GuidePrevPoint[1]};
    const geom::Vec2 end = geom::PointD4(R1);
    if (core.GuideJointPending == 0) {
      bool onElement = false;
      geom::Vec2 foot{};
      geom::Vec2 tangent{};
      if (R1.d1 == 0.0) {
        const double length = geom::Distance(end, start);
        const geom::Vec2 u = length > geom::kZeroLength ? (1.0 / length) * (end - start) : geom::DirectionD2(R1);
        const double t = geom::Dot(measured - start, u);
        onElement = t >= -kOnElement && t <= length + kOnElement;
        foot = start + std::clamp(t, 0.0, length) * u;
        tangent = u;
      } else {
        const geom::Vec2 centre = geom::PointD6(R1);
        const double radius = std::fabs(R1.d1);
        const geom::Vec2 toMeasured = measured - centre;
        if (geom::Length(toMeasured) > geom::kZeroLength) {
          foot = centre + (radius / geom::Length(toMeasured)) * toMeasured;
          const double sense = R1.d1 > 0.0 ? 1.0 : -1.0;
          const geom::Vec2 s = start - centre;
          auto sweepTo = [&](geom::Vec2 p) {
            const geom::Vec2 v = p - centre;
            return geom::PolarDegrees(geom::Dot(s, v), sense * geom::Cross(s, v));
          };
          double endSweep = sweepTo(end);
          if (endSweep == 0.0) endSweep = 360.0;  // a closed circle
          onElement = sweepTo(foot) <= endSweep + kOnElement * core.DegreesPerRadian / radius;
          tangent = geom::QuarterTurn((1.0 / radius) * (foot - centre), R1.d1);
        }
      }
      if (onElement) {
        AddGuidePiece(foot.x, foot.y);
        R0 = R1;
        geom::SetD4(R0, foot);
        geom::SetD2(R0, tangent);
        core.GuideFarPoint = {end.x, end.y};
        core.GuideJointPending = 1;
        return 1;
      }
    }
    // The rest of the element, then the next one.
    AddGuidePiece(end.x, end.y);
    core.GuideJointPending = 0;
    if (RangeStart == RangeEnd) return 0;
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  }
}

// The direction in which the guide leaves its first point.
geom::Vec2 RunContext::GuideStartDirection() const {
  if (R1.d1 == 0.0) return geom::DirectionD2(R1);
  const geom::Vec2 radial{core.GuidePrevPoint[0] - R1.d6, core.GuidePrevPoint[1] - R1.d7};
  return geom::QuarterTurn(geom::UnitOr(radial, {1.0, 0.0}), R1.d1);
}

// After SetupCommand: a leading point element is the walk's first previous
// point; a line starts at its own start; a lone arc at its end (a circle).
int RunContext::StartGuideWalk() {
  core.GuideJointPending = 0;
  R2.d3 = 0.0;
  if (R1.Kind() == kCodePoint) {
    core.GuidePrevPoint = {R1.d4, R1.d5};
    if (RangeStart == RangeEnd) return 1;
    RangeStart += RangeStep;
    return CheckedLoad(R1, RangeStart) ? 1 : kStopRun;
  }
  core.GuidePrevPoint = R1.d1 == 0.0 ? std::array<double, 2>{R1.d6, R1.d7} : std::array<double, 2>{R1.d4, R1.d5};
  return 1;
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
  if (StartGuideWalk() != 1) return finish(0, false, {}, 0.0);
  const geom::Vec2 startDirection = GuideStartDirection();
  core.GuideStartPoint = {measured.x, measured.y};
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
  if (StartGuideWalk() != 1) return finish(0);
  const geom::Vec2 startDirection = GuideStartDirection();
  SetCurrentFrameArc();
  core.GuideStartPoint = {measured.x, measured.y};

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
  // 7.-8. The corner-radius points (point elements carrying a radius in d1)
  // are placed on the guide by the same nearest-joint walk; the span that
  // holds the current position gives the radius by linear interpolation
  // over the length along the guide.
  const double position = core.GuideLength;
  const int spanFirst = RangeStart;
  const int spanLast = RangeEnd;
  double startLength = 0.0;
  double startRadius = first.d1;
  if (GuidePositionOf(spanFirst, startLength) != 1) return finish(0);
  for (int index = spanFirst + 1; index <= spanLast; ++index) {
    if (AbortFlag != 0) return finish(0);
    NcElement point{};
    if (!CheckedLoad(point, index)) return finish(0);
    double endLength = 0.0;
    if (GuidePositionOf(index, endLength) != 1) return finish(0);
    endLength = RoundTo3Decimals(endLength);
    const bool lastSpan = index == spanLast;
    // On a closed guide the last point lies at its start: the span ends at
    // the guide's whole length.
    if (lastSpan && endLength < startLength) endLength = core.GuideLength;
    if (position <= endLength || lastSpan) {
      const double span = endLength - startLength;
      if (position - startLength != 0.0 && span != 0.0) {
        const double t = (position - startLength) / span;
        R3.d1 = t;
        FilletRadius = startRadius + (point.d1 - startRadius) * t;
      } else {
        FilletRadius = startRadius;
      }
      return finish(1);
    }
    startLength = endLength;
    startRadius = point.d1;
  }
  FilletRadius = startRadius;
  return finish(1);
}

// The length along the fillet's guide to the joint nearest to the point
// element `index`; 1 found, 0 none (error 35) or stopped. The registers and
// the range words come back as they were.
int RunContext::GuidePositionOf(int index, double& length) {
  NcElement saved[4];
  SaveAllRegs(saved);
  KeptRange kept(*this);
  auto giveBack = [&](int result) {
    RestoreAllRegs(saved);
    kept.Restore();
    return result;
  };
  NcElement point{};
  if (!CheckedLoad(point, index)) return giveBack(0);
  if (!CheckedLoad(R2, core.GuideCommandIndex)) return giveBack(0);
  R2.d4 = R2.d2;
  UnpackCommandValue(4);
  core.OffsetMode = 0;
  const int setup = SetupCommand();
  if (setup != 1) {
    if (setup != kStopRun) StopWithError(kErrorGuideLine);
    return giveBack(0);
  }
  if (StartGuideWalk() != 1) return giveBack(0);
  core.GuideStartPoint = {point.d4, point.d5};
  const int found = FindNearestJoint();
  if (found != 1) {
    if (found != kStopRun) StopWithError(kErrorCornerRadius);
    return giveBack(0);
  }
  length = R2.d3;
  return giveBack(1);
}

}  // namespace qup
