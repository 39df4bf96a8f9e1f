// The second base line of a two-base-line surface: at each position the
// section plane through the point (along the work direction) is intersected
// with the second base line; the nearest joint gives the section's second
// end, the height of the second base line there, and the twist and scaling
// of the section between the two base lines.
//
// Phases of RunSecondBaseLine: set up the base line (its first and last
// elements must be points), walk it for joints and keep the nearest, step
// the base line's height at the joint, rejoin the section's first elements
// when the run asked for it, then turn and scale the section.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/kept_range.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {

constexpr int kErrorProjectedSurface = 20;
constexpr int kErrorBaseLineFigure = 21;  // the second base line does not set up
constexpr int kErrorNoJoint = 22;         // no joint of the second base line
constexpr int kErrorRejoin = 23;          // the section's elements do not rejoin
constexpr int kErrorBaseLineEnds = 39;    // no start and end points on the base line
constexpr int kSectionModeMask = 7;
constexpr int kTakeFrameMove = 0xFFFF;
constexpr int kMoveModeRay = 0xFFF0;
// Joints nearer than this to each other (mm) count as equally near.
constexpr double kTieDistance = 0.00001;

}  // namespace

int RunContext::SetupSecondBaseLine() {
  auto& s = engine.stepping;
  R2 = s.SecondBaseLineCommand;
  UnpackCommandValue(4);
  UnpackCommandValue(6);
  RotateDirection(1);
  R0.d2 = WorkVectorX();
  R0.d3 = WorkVectorY();
  const int setup = SetupCommand();
  if (setup == kStopRun) return kStopRun;
  if (setup != 1) return StopWithError(kErrorBaseLineFigure);
  NcElement first{};
  NcElement last{};
  if (!CheckedLoad(first, RangeStart) || !CheckedLoad(last, RangeEnd)) return kStopRun;
  if (first.Kind() != kCodePoint || last.Kind() != kCodePoint || RangeEnd - RangeStart < 2) {
    return StopWithError(kErrorBaseLineEnds);
  }
  // The section line through the point along the work direction is the
  // line of the walk: it starts in R1 and waits in the base-line frame
  // between the steps, so that every step crosses it with the next element.
  core.CurrentFrame = FrameRef::BaseLineFrame;
  core.MoveFlags = kMoveModeRay;
  SetMoveMode();
  core.JoinPending = 0xFFFF;
  SwapR0R1();
  s.BaseLineStartIndex = RangeStart;
  s.BaseLineStartPoint = {R0.d4, R0.d5};
  return 0;
}

int RunContext::RunSecondBaseLine() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  // 1. The normal at the point, the registers and range kept.
  const bool backward = (RangeOptions & kRangeBackward) != 0;
  if (backward) geom::SetD2(R0, -1.0 * geom::DirectionD2(R0));
  UpdateToolNormal();
  if (backward) geom::SetD2(R0, -1.0 * geom::DirectionD2(R0));
  R3.d2 = n[0];
  R3.d3 = n[1];
  NcElement saved[4];
  SaveAllRegs(saved);
  const KeptRangeWords range(*this);
  if (SetupSecondBaseLine() != 0 || AbortFlag != 0) return kStopRun;

  // 2. The joints of the walk; the nearest to the base line's start wins.
  int candidates = 0;
  double best = 0.0;
  NcElement bestR0{};
  for (;;) {
    if (R1.Kind() == kCodePoint) break;
    const int walked = TraverseElements(0);

    if (walked == kStopRun || AbortFlag != 0) return kStopRun;
    if (walked == 0) break;
    if (walked != 2) continue;
    WorkVectorX() = R0.d4 - s.BaseLineStartPoint[0];
    WorkVectorY() = R0.d5 - s.BaseLineStartPoint[1];
    NormalizeTangent(0);
    const double distance = WorkLength;
    const bool nearer = distance <= best - kTieDistance;
    const bool tie = std::fabs(distance - best) < kTieDistance && s.BaseLineTieSetting == 2;
    if (candidates == 0 || nearer || tie) {
      best = distance;
      bestR0 = R0;
    }
    candidates += 1;
  }
  // 3.
  if (candidates == 0) return StopWithError(kErrorNoJoint);
  R3.d1 = best;

  // 4. The base line's height at the joint.
  SetR0KeepTail(bestR0);
  if (!(s.PreviewJoin != 0 && s.RejoinPending == 0)) {
    ElementIndex = s.BaseLineStartIndex;
    core.CurrentFrame = FrameRef::BaseLineCommand;
    StepMode = kTakeFrameMove;
    if (StepElement(0) == 0 || AbortFlag != 0) return StopWithError(kErrorProjectedSurface);
    s.BaseLineZ = R1.d7;
  }
  UpdateToolNormal();

  // 5. The section's first elements rejoined to reach the joint.
  if (s.RejoinPending != 0) {
    s.RejoinShift = {R3.d1, s.BaseLineZ - s.SectionZ};
    const double i = n[0], j = n[1];
    if (PushRegs() == kStopRun) return kStopRun;
    const int rejoined = RejoinBaseLineElements();
    if (rejoined == kStopRun || AbortFlag != 0) return kStopRun;
    if (rejoined != 0) {
      R0.d2 = s.RejoinPoint[0];
      R0.d3 = s.RejoinPoint[1];
      R0.d4 = s.RejoinPoint[2];
      R0.d5 = s.RejoinPoint[3];
      R0.d6 = s.RejoinPoint[2];
      R0.d7 = s.RejoinPoint[3];
      s.LeadMode = 0xFFFF;
      if ((core.SnapshotFlags & kSectionModeMask) != 0 && RunMotionMachine(1) != 1) {
        return StopWithError(kErrorRejoin);
      }
    }
    PopRegs();
    n[0] = i;
    n[1] = j;
  }

  // 6. The section turned between the base lines.
  const Vec2 direction = geom::DirectionD2(R0);
  const Vec2 point = geom::PointD4(R0);
  const double z = R1.d7;
  RestoreAllRegs(saved);
  range.Restore();
  StoreSectionFrame();
  s.TwistCounter = 0;
  InterpolateSectionTwist();
  RestoreSectionFrame();

  // 7. The scaling of the section and the normal turned by the tangent.
  if (s.BaseLineScaling != 0) {
    s.ScalingPair = {R2.d4, R2.d5, R2.d6, R2.d7};
    const Vec2 unit = geom::UnitOr({R1.d0, R1.d1}, {1.0, 0.0});
    R1.d2 = unit.x;
    R1.d3 = unit.y;
    if (s.BaseLineScalePercent > 0.0) {
      const double share = 100.0 / s.BaseLineScalePercent;
      for (int k = 0; k < 2; ++k) {
        s.ScalingPair[2 * k] += share * (R2.d4 - s.ScalingPair[2 * k]);
        s.ScalingPair[2 * k + 1] += share * (R2.d5 - s.ScalingPair[2 * k + 1]);
      }
    }
  }
  RotateByTangent();
  if (s.TwistCounter != 0) n = {-n[0], -n[1], -n[2]};

  // 8.
  RestoreAllRegs(saved);
  range.Restore();
  geom::SetD2(R0, direction);
  geom::SetD4(R0, point);
  R1.d7 = z;
  return AbortFlag != 0 ? kStopRun : 0;
}

void RunContext::StoreSectionFrame() {
  auto& s = engine.stepping;
  SetR1KeepTail(Slot(SaveSlot::Slot542));
  R2.d0 = R0.d2;
  R2.d1 = R0.d3;
  R2.d2 = WorkVectorX();
  R2.d3 = WorkVectorY();
  R2.d4 = s.BaseLineStartPoint[0];
  R2.d5 = s.BaseLineStartPoint[1];
  R2.d6 = R0.d4;
  R2.d7 = R0.d5;
  RotateDirection(1);
  if ((RangeOptions & kRangeBackward) != 0) geom::SetD2(R0, -1.0 * geom::DirectionD2(R0));
}

void RunContext::RestoreSectionFrame() {
  auto& s = engine.stepping;
  NcElement& slot = Slot(SaveSlot::Slot542);
  const double d6 = slot.d6, d7 = slot.d7;
  slot = R1;
  slot.d6 = d6;
  slot.d7 = d7;
  R0.d2 = R2.d0;
  R0.d3 = R2.d1;
  R0.d4 = R2.d6;
  R0.d5 = R2.d7;
  const double sign = (RangeOptions & kRangeBackward) != 0 ? -1.0 : 1.0;
  s.KeptSectionDirection = {sign * R2.d0, sign * R2.d1};
}

void RunContext::InterpolateSectionTwist() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  // The angle between the element's direction and the section's, as a
  // share of the twist of the side the split value names.
  const Vec2 along = geom::DirectionD2(R0);
  const Vec2 section{R2.d0, R2.d1};
  const double angle = std::atan2(geom::Cross(along, section), geom::Dot(along, section)) * kDegreesPerRadian * 0.01;
  const int side = static_cast<int>(registers.CommandValue6Pair.whole & 1);
  const double twist = angle * (s.TwistPercent[side] + s.TwistBase[side]);
  const std::pair<double, double> turned = DegToCosSin(twist);
  const double c = turned.first;
  const double sn = turned.second;
  auto turn = [c, sn](double& x, double& y) {
    const double tx = c * x - sn * y;
    y = sn * x + c * y;
    x = tx;
  };
  turn(R2.d0, R2.d1);
  turn(n[0], n[1]);
  if (geom::Dot({R2.d0, R2.d1}, along) < 0.0) s.TwistCounter += 1;
  if (std::fabs(R1.d1) >= 0.001) R1.d5 *= n[2] / R1.d1;
  if (std::fabs(R1.d0) >= 0.001) R1.d4 *= geom::Length({R2.d2, R2.d3}) / R1.d0;
  R2.d6 += R2.d2;
  R2.d7 += R2.d3;
}

int RunContext::RejoinBaseLineElements() {
  auto& s = engine.stepping;
  const int first = s.RejoinFirst;
  const int last = s.RejoinLast;
  if (static_cast<unsigned>(last) > static_cast<unsigned>(first) + 2u || last < first) {
    return StopWithError(kErrorRejoin);
  }
  NcElement head{};
  if (!CheckedLoad(head, first)) return kStopRun;
  if ((head.Kind() >> 8) >= 0x19) return 0;
  R1.d4 = s.RejoinShift[0];
  R1.d5 = s.RejoinShift[1];
  R0.d4 = 0.0;
  R0.d5 = 0.0;
  int result = 0;
  if (first == last) {
    result = RejoinSingleElement(first);
  } else if (last == first + 1) {
    result = RejoinLineAndArc(first, last);
  } else {
    result = RejoinLineArcLine(first, last);
  }
  if (result != 1) return result;
  s.RejoinPoint[2] = s.RejoinShift[0];
  s.RejoinPoint[3] = s.RejoinShift[1];
  return 1;
}

// One element between the origin and the rejoin point P: a line turns to
// P; an arc keeps its radius and moves its centre to where circles of that
// radius about the origin and about P cross.
int RunContext::RejoinSingleElement(int index) {
  auto& s = engine.stepping;
  NcElement& e = elements[index];
  const Vec2 p{s.RejoinShift[0], s.RejoinShift[1]};
  if (e.Kind() == kCodeLine) {
    geom::SetD2(e, geom::UnitOr(p, {1.0, 0.0}));
    return 1;
  }
  if (e.Kind() != kCodeArc && e.Kind() != kCodeEllipse) return StopWithError(kErrorRejoin);
  R0 = NcElement{};
  R1 = NcElement{};
  R0.code = R1.code = kCodeArc;
  R0.d1 = R1.d1 = e.d1;
  geom::SetD4(R1, p);
  if (e.d1 < 0.0) R1.flags = kReversedSide;
  if (IntersectWithNext() == 0) return StopWithError(kErrorRejoin);
  geom::SetD6(e, geom::PointD4(R0));
  geom::SetD4(e, p);
  return 1;
}

namespace {

// The circle of an arc with its centre where the intersection routines read
// it (d4/d5).
NcElement CircleOf(const NcElement& arc) {
  NcElement circle = arc;
  circle.code = kCodeArc;
  circle.d4 = arc.d6;
  circle.d5 = arc.d7;
  return circle;
}

}  // namespace

// A line and an arc: the line keeps its fixed end (the origin when it comes
// first, P when it comes second) and meets the arc's circle.
int RunContext::RejoinLineAndArc(int first, int last) {
  auto& s = engine.stepping;
  NcElement& a = elements[first];
  NcElement& b = elements[last];
  const bool lineFirst = a.Kind() == kCodeLine && (b.Kind() == kCodeArc || b.Kind() == kCodeEllipse);
  const bool lineSecond = b.Kind() == kCodeLine && (a.Kind() == kCodeArc || a.Kind() == kCodeEllipse);
  if (!lineFirst && !lineSecond) return StopWithError(kErrorRejoin);
  NcElement& line = lineFirst ? a : b;
  NcElement& arc = lineFirst ? b : a;
  const Vec2 fixed = lineFirst ? Vec2{0.0, 0.0} : Vec2{s.RejoinShift[0], s.RejoinShift[1]};
  geom::SetD6(line, fixed);
  R0 = line;
  geom::SetD4(R0, fixed);
  R1 = CircleOf(arc);
  if (IntersectWithNext() == 0) return StopWithError(kErrorRejoin);
  const Vec2 joint = geom::PointD4(R0);
  if (lineFirst) {
    geom::SetD4(line, joint);
  } else {
    geom::SetD4(arc, joint);
  }
  return 1;
}

// Line, arc, line: the first line from the origin, the last one from P, each
// meeting the arc's circle in turn.
int RunContext::RejoinLineArcLine(int first, int last) {
  auto& s = engine.stepping;
  NcElement& a = elements[first];
  NcElement& arc = elements[first + 1];
  NcElement& b = elements[last];
  if (a.Kind() != kCodeLine || b.Kind() != kCodeLine || (arc.Kind() != kCodeArc && arc.Kind() != kCodeEllipse)) {
    return StopWithError(kErrorRejoin);
  }
  const int offsetMode = core.OffsetMode;
  geom::SetD6(a, {0.0, 0.0});
  geom::SetD6(b, {s.RejoinShift[0], s.RejoinShift[1]});
  R0 = a;
  geom::SetD4(R0, {0.0, 0.0});
  R1 = CircleOf(arc);
  const bool firstMeets = IntersectWithNext() != 0;
  if (firstMeets) geom::SetD4(a, geom::PointD4(R0));
  R0 = CircleOf(arc);
  R1 = b;
  geom::SetD4(R1, geom::PointD6(b));
  const bool secondMeets = firstMeets && IntersectWithNext() != 0;
  core.OffsetMode = offsetMode;
  if (!secondMeets) return StopWithError(kErrorRejoin);
  geom::SetD4(arc, geom::PointD4(R0));
  return 1;
}

}  // namespace qup
