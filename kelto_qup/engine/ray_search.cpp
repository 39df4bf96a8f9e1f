// The ray search: from the current point, the first element of the command's
// range that a ray along the start direction meets (IntersectAndJoin), and
// the small set-ups around it: the extension of the range's last element, the
// walk to the first joint, and the segment delta helpers of the motion.
//
// Phases of IntersectAndJoin: set up the command's first element, make the
// start a point element with a direction, choose the side of the crossing,
// build the ray in ArcPassFrame, then walk the range element by element
// until a crossing that lies on the element is found.
#include <array>
#include <cmath>
#include <utility>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/kept_range.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {
constexpr int kRayModeSearching = 32769;  // RayMode 1 while one search runs
constexpr int kMoveModeRay = 0xFFF0;      // SetMoveMode: keep R0's direction

// Steps 8 to 12 of the ray search: the ray in ArcPassFrame against the range
// from RangeStart on, until an element is met on itself (1) or the range
// ends (0). The two-sided corner search runs it a second time with the same
// ray from the element after the first hit.
int WalkRayOverRange(RunContext& run, bool pointStart) {
  for (;;) {
    // 8. The next element of the range.
    if (!run.CheckedLoad(run.R1, run.RangeStart)) return kStopRun;
    const int fetched = run.FetchNextElement(0);
    if (fetched == kStopRun) return kStopRun;
    run.core.RayMode &= 0xF;

    if (pointStart) {
      // 9. From a point start the joint walk finds the crossing.
      for (;;) {
        if (run.R1.Kind() == kCodePoint) return 0;
        const int walked = run.TraverseElements(0);
        if (walked == kStopRun) return kStopRun;
        if (walked == 0) return 0;
        if (walked == 2) {
          run.WorkVectorX() = -run.R0.d3;
          run.WorkVectorY() = run.R0.d2;
          return 1;
        }
      }
    }

    // 10. Intersect the element with the ray and test that the crossing lies
    // on the element.
    bool accepted = false;
    if (fetched == 1) {
      run.R0 = run.R1;
      run.R1 = run.core.ArcPassFrame;
      run.R3.d6 = run.R0.d4;
      run.R3.d7 = run.R0.d5;
      run.R3.d4 = run.R0.d6;
      run.R3.d5 = run.R0.d7;
      run.R0.d4 = run.R0.d6;
      run.R0.d5 = run.R0.d7;
      if (run.IntersectWithNext() != 0) {
        run.SetEndDirection();
        if (run.RangeStart == run.RangeEnd) {
          accepted = true;
        } else {
          const Vec2 joint = geom::PointD4(run.R0);
          const Vec2 end{run.R3.d6, run.R3.d7};
          double u = 0.0;
          bool decided = false;
          if (run.R0.d1 != 0.0) {
            const double h = std::fabs(run.R0.d1);
            const Vec2 centre = geom::PointD6(run.R0);
            auto unitOnCircle = [&](Vec2 p) {
              Vec2 v = (1.0 / h) * (p - centre);
              if (std::fabs(v.x) < 1e-9) v.x = 0.0;
              if (std::fabs(v.y) < 1e-9) v.y = 0.0;
              return v;
            };
            u = geom::Cross(unitOnCircle(joint), unitOnCircle(end));
            if (run.R0.d1 < 0.0) u = -u;
            if (std::fabs(u) < 1e-9) decided = accepted = true;
          } else {
            const Vec2 v = geom::UnitOr(end - joint, {1.0, 0.0});
            const double alongX = v.x * run.R0.d2;
            u = std::fabs(alongX) > 1e-10 ? alongX : v.y * run.R0.d3;
          }
          if (!decided) accepted = u >= 0.0 || std::fabs(u) <= 1e-10;
        }
      }
    }
    if (accepted) {
      // 12.
      if (run.RangeStart != run.RangeEnd) run.RangeStart += run.RangeStep;
      run.WorkVectorX() = -run.R0.d3;
      run.WorkVectorY() = run.R0.d2;
      run.core.RayMode &= 0xF;
      return 1;
    }
    // 11. Refused: the next element.
    if (run.RangeStart == run.RangeEnd) return 0;
    run.RangeStart += run.RangeStep;
  }
}

}  // namespace

int RunContext::IntersectAndJoin(int side) {
  // 1. The command's first element.
  RangeOptions &= ~kRangeBackward;
  const int setup = SetupCommand();
  if (setup == kStopRun) return kStopRun;
  if (setup != 1) return 0;
  R3.d6 = R0.d4;
  R3.d7 = R0.d5;
  if (core.RayMode == 1) core.RayMode = kRayModeSearching;

  bool pointStart = false;
  if (RangeStart != RangeEnd) {
    // 3. The start becomes a point element with the first element's direction.
    if (R1.Kind() == kCodePoint) {
      R0 = R1;
      RangeStart += RangeStep;
      if (!CheckedLoad(R1, RangeStart)) return kStopRun;
      pointStart = core.RayMode != kRayModeSearching;
    }
    if (!pointStart) {
      R0.code = kCodePoint;
      R0.flags = 0;
      R0.d0 = 0.0;
      R0.d1 = 0.0;
      if (R1.d1 == 0.0) {
        R0.d2 = R1.d2;
        R0.d3 = R1.d3;
      } else {
        const Vec2 radial = geom::PointD4(R1) - geom::PointD6(R1);
        const Vec2 tangent = geom::UnitOr(geom::QuarterTurn(radial, R1.d1), {1.0, 0.0});
        geom::SetD2(R0, tangent);
      }
    }
    // 4. The start is offset like the elements; its point stays.
    R1 = R0;
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun) return kStopRun;
    R0.d4 = R3.d6;
    R0.d5 = R3.d7;
  } else {
    // 5. An empty range: the ray's direction from the element itself.
    if (R1.code == kCodeArc && R1.d1 != 0.0) {
      const Vec2 c{RoundTo3Decimals(R1.d6), RoundTo3Decimals(R1.d7)};
      const double length = geom::Length(c);
      Vec2 dir = length > 0.0 ? Vec2{c.y / length, -c.x / length} : Vec2{0.0, 0.0};
      if (R1.d1 < 0.0) dir = -1.0 * dir;
      geom::SetD2(R0, dir);
    } else if (R1.code == kCodeEllipse) {
      R1.d3 = 1.0;
      R0.d2 = R1.d2;
      R0.d3 = R1.d3;
    } else {
      R0.d2 = R1.d2;
      R0.d3 = R1.d3;
    }
  }

  // 6. The side of the crossing.
  int sideValue = side;
  if (side == 2) {
    if (std::fabs(R0.d3) >= 5e-8) {
      sideValue = R0.d3 > 0.0 ? (R1.code == kCodeEllipse ? 3 : 2) : 3;
    } else if (RangeEnd >= RangeStart + 1) {
      NcElement after{};
      if (!CheckedLoad(after, RangeStart + 1)) return kStopRun;
      double value = after.d3;
      if (after.d1 != 0.0) {
        const Vec2 u = geom::UnitOr(geom::PointD4(after) - geom::PointD6(after), {1.0, 0.0});
        value = after.d1 < 0.0 ? -u.x : u.x;
      }
      if (std::fabs(value) < 1e-8) value = 0.0;
      sideValue = value > 0.0 ? 2 : 3;
    }
  } else {
    sideValue = side + 1;
  }

  // 7. The ray: R0 as an axis line in ArcPassFrame.
  SetCurrentFrameArc();
  core.MoveFlags = kMoveModeRay;
  SetMoveMode();
  core.MoveStartPoint = {R0.d4, R0.d5};
  if (sideValue % 2 == 0) core.ArcPassFrame.flags |= kReversedSide;
  core.JoinPending = 0xFFFF;

  return WalkRayOverRange(*this, pointStart);
}

// The two-sided joint search of a rounded corner. The ray search runs from
// the run's start along X (side 2) or, with bit 0x01 of the corner word,
// along Y (side 6); the same ray then goes on from the element after the
// first hit, because a later element can lie nearer on the ray. Of the hits,
// the nearest one ahead of the ray's start in the sense of the walking sign
// is taken; when none lies that way the sign word flips and the nearest one
// the other way is taken. Result: 2 with the joint in R0's d4/d5 (the other
// registers and the range words as they were), 1 when the run has to stop,
// 0 when the ray meets nothing.
int RunContext::IntersectPairs() {
  NcElement saved[4];
  SaveAllRegs(saved);
  KeptRangeWords range(*this);
  auto giveBack = [&](int result) {
    RestoreAllRegs(saved);
    range.Restore();
    return result;
  };
  const bool alongY = (core.CornerWord & 0x01) != 0;
  const int first = IntersectAndJoin(alongY ? 6 : 2);
  if (first == kStopRun || AbortFlag != 0) return giveBack(1);
  if (first != 1) return giveBack(0);

  const Vec2 rayStart{core.MoveStartPoint[0], core.MoveStartPoint[1]};
  const Vec2 rayDirection = geom::DirectionD2(core.ArcPassFrame);
  Vec2 hits[2] = {geom::PointD4(R0), geom::PointD4(R0)};
  int hitCount = 1;
  const int again = WalkRayOverRange(*this, false);
  if (again == kStopRun || AbortFlag != 0) return giveBack(1);
  if (again == 1) hits[hitCount++] = geom::PointD4(R0);
  core.HitPoints = {alongY ? hits[0].y : hits[0].x, alongY ? hits[hitCount - 1].y : hits[hitCount - 1].x};

  int chosen = -1;
  for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
    double best = 0.0;
    for (int i = 0; i < hitCount; ++i) {
      const double along = core.WalkSign * geom::Dot(hits[i] - rayStart, rayDirection);
      if (along >= 0.0 && (chosen < 0 || along < best)) {
        chosen = i;
        best = along;
      }
    }
    if (chosen < 0) core.WalkSign = -core.WalkSign;
  }
  if (chosen < 0) chosen = 0;
  const Vec2 joint = hits[chosen];
  giveBack(2);
  geom::SetD4(R0, joint);
  return 2;
}

// The approach point of a run from a given side: the joint is searched in
// the run's start cache, then by the probe just below the next element
// (kind 1 for side 1), then by the ray search (side 6). The approach point
// is the joint brought onto the start line: start + (joint - start) . d x d,
// with d the start direction; the work pair keeps that dot and the cross
// term (how far the joint lies beside the start line). Result 1 with the
// point in R0's d4/d5 (the other registers and range words as they were),
// 0 when no joint is found, 0xFFFF on a stop.
int RunContext::ApproachFromSide(int side) {
  NcElement saved[4];
  SaveAllRegs(saved);
  KeptRangeWords range(*this);
  const std::array<double, 2> marks = core.RunMarks;
  const Vec2 start = geom::PointD4(R0);
  const Vec2 direction = geom::UnitOr(geom::DirectionD2(R0), {1.0, 0.0});
  core.KeptStart = {start.x, start.y};
  auto giveBack = [&] {
    RestoreAllRegs(saved);
    range.Restore();
    core.RunMarks = marks;
  };

  bool found = false;
  Vec2 joint{};
  for (int state = 1; state <= 3 && !found; ++state) {
    int result = 0;
    if (state == 1) {
      if (core.RunFirstIndex == 0) continue;
      result = CachedRunStart();
    } else if (state == 2) {
      result = IntersectAtLevel(side == 1 ? 1 : 0);
    } else {
      result = IntersectAndJoin(6);
    }
    if (result == kStopRun || AbortFlag != 0) {
      giveBack();
      return kStopRun;
    }
    if (result == 1) {
      found = true;
      joint = geom::PointD4(R0);
    }
    giveBack();
  }
  if (!found) return 0;
  const Vec2 toJoint = joint - start;
  const double dot = geom::Dot(toJoint, direction);
  const double cross = geom::Cross(direction, toJoint);
  geom::SetD4(R0, start + dot * direction);
  WorkVectorX() = dot;
  WorkVectorY() = cross;
  return 1;
}

void RunContext::ExtendEndElement() {
  if (!CheckedIndex(RangeEnd)) return;
  NcElement& end = elements[RangeEnd];
  if (end.d1 != 0.0) {
    // A circle becomes the tangent line at its start, |R| further in X.
    end.d4 += std::fabs(end.d1);
    end.d2 = 0.0;
    end.d3 = end.d1 > 0.0 ? 1.0 : -1.0;
    end.d1 = 0.0;
    end.code = kCodeLine;
  } else {
    constexpr double kExtension = 100.0;  // mm beyond the end of a line
    end.d4 += kExtension * end.d2;
    end.d5 += kExtension * end.d3;
  }
}

double RunContext::ClampSegmentDelta(double dx, double dy, double second) {
  double length = std::fabs(dx);
  if (std::fabs(dx) - std::fabs(dy) < 0.0) length = second;
  return length;
}

void RunContext::UpdateSegmentDelta() {
  R3.d2 = R1.d4 - R3.d4;
  R3.d3 = R1.d5 - R3.d5;
  R3.d5 = 0.0;
  R3.d7 = ClampSegmentDelta(R3.d2, R3.d3, R3.d7);
  UpdateSegmentDeltaPair();
}

void RunContext::UpdateSegmentDeltaPair() {
  const double length1 = ClampSegmentDelta(R0.d4 - R1.d4, R0.d5 - R1.d5, R3.d7);
  const double length2 = ClampSegmentDelta(R3.d6 - R0.d4, R3.d7 - R0.d5, length1);
  R3.d7 = length2;
}

void RunContext::SwapSegmentEnds() {
  if ((core.OutputFlags & 0x01) == 0) {
    std::swap(R0.d4, R1.d4);
    std::swap(R0.d5, R1.d5);
    std::swap(R3.d4, R3.d6);
    std::swap(R3.d5, R3.d7);
    core.MotionPair[0] = R0;
  }
  core.MotionPair[1] = R1;
}

int RunContext::TraverseToFirstJoint() {
  UnpackCommandValue(4);
  UnpackCommandValue(6);
  if ((RangeOptions & kRangeBackward) != 0) std::swap(RangeStart, RangeEnd);
  const int setup = SetupCommand();
  if (setup == kStopRun) return kStopRun;
  if (setup != 1) return 0;
  if (R1.d1 == 0.0) {
    R0.d2 = R1.d2;
    R0.d3 = R1.d3;
  } else {
    const Vec2 chord = geom::PointD4(R1) - geom::PointD6(R1);
    geom::SetD2(R0, geom::UnitOr(geom::QuarterTurn(chord, R1.d1), {1.0, 0.0}));
  }
  const int fetched = FetchNextElement(0);
  if (fetched == kStopRun) return kStopRun;
  for (;;) {
    if (R1.Kind() == kCodePoint) return 0;
    const int walked = TraverseElements(0);
    if (walked == kStopRun) return kStopRun;
    if (walked == 2) return 1;
    if (walked == 0) return 0;
  }
}

}  // namespace qup
