// Element traversal: the walk over a run of elements between RangeStart and
// RangeEnd (direction RangeStep) that intersects the line held in R0 with
// each next element, and the test whether a joint lies ahead of the point
// before it or has already been passed (a loop to be cut off).
//
// One call is one step: R0 takes the previous R1, the next usable element is
// loaded and offset, the joint is made and tested, and R1 is exchanged with
// the frame that CurrentFrame names (AdvanceCommandRecord) for the next call.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {
// Codes above this are not geometry and are stepped over by the walk.
constexpr int kLastGeometryCode = 10649;  // 0x2999

// An element offset to the reversed side carries either bit of 0x50000, as
// the successor resolution reads them. The high bits (a contour loop's
// marks on the range it holds, 0x10000000 and the saved side 0x5000000) say
// nothing about the side: an element of a held range is joined exactly as
// the same element outside one.
bool OnReversedSide(const NcElement& e) { return (e.flags & kReversedSide) != 0; }
}  // namespace

void RunContext::ShiftNextElementBack() {
  // Moves R1 back along the ray by the work block's offset R3's d0.
  const double dx = R3.d0 * core.ArcPassFrame.d2;
  const double dy = R3.d0 * core.ArcPassFrame.d3;
  R1.d4 -= dx;
  R1.d5 -= dy;
  R1.d6 -= dx;
  R1.d7 -= dy;
}

int RunContext::TraverseElements(int mode) {
  bool firstPass = true;
  for (;;) {
    // 1. End of the range.
    if (RangeStart == RangeEnd) {
      core.LastIndexWord = -RangeStart;
      core.JoinPending = 0;
      SwapR0R1();
      return 0;
    }
    // 2. The line of the walk becomes R0; the next element is loaded.
    if (firstPass) {
      R0 = R1;
      firstPass = false;
    }
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    // 3. Commands, consumed elements (in mode 0x1234) and elements that the
    // offset swallows are stepped over.
    if (R1.code > kLastGeometryCode) continue;
    if (mode == kWalkKeepReference && (R1.flags & 0xFFFF) == kConsumedMark) continue;
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun) return kStopRun;
    if (fetched != 1) continue;

    bool joined = true;
    // 4. A reversed element, or any in mode 0x1234: a trial joint first.
    if ((OnReversedSide(R1) || mode == kWalkKeepReference) && R1.Kind() != kCodePoint) {
      R1.code &= 0xFF00;
      R0.d4 = R0.d6;
      R0.d5 = R0.d7;
      const double keptX = R1.d4;
      const double keptY = R1.d5;
      R1.d4 = R1.d6;
      R1.d5 = R1.d7;
      joined = IntersectWithNext() != 0;
      R1.d4 = keptX;
      R1.d5 = keptY;
    }
    int result = 1;
    if (joined) {
      // 5. Shift the next element back along the ray when the output asks.
      if ((core.OutputFlags & 0x01) != 0 && (core.OutputFlags & 0x20) != 0) ShiftNextElementBack();
      // 6. The very first element of the table.
      if (RangeStart == 0 && R1.Kind() != kCodePoint) {
        AdvanceCommandRecord();
        if (IntersectWithNext() == 0) return 0;
        core.JoinPending = 0;
        SetEndDirection();
        AdvanceCommandRecord();
        return 1;
      }
      // 7. The first joint of a walk: the element becomes the line.
      if (core.JoinPending == 0) {
        R3.d2 = R0.d6;
        R3.d3 = R0.d7;
        SwapR0R1();
        if (RangeStart == RangeEnd) {
          core.LastIndexWord = -RangeStart;
          SwapR0R1();
          return 0;
        }
        RangeStart += RangeStep;
        if (!CheckedLoad(R1, RangeStart)) return kStopRun;
        AdvanceCommandRecord();
        R1.d6 = R3.d2;
        R1.d7 = R3.d3;
        core.JoinPending = 0xFFFF;
      }
      // 8. The point before the joint goes to d6/d7; the kept start point or
      // centre waits in R3's d4/d5.
      R3.d4 = R0.d6;
      R3.d5 = R0.d7;
      if (mode == kWalkKeepReference) {
        const NcElement& frame = CurrentFrameRecord();
        R0.d6 = frame.d4;
        R0.d7 = frame.d5;
      } else {
        R0.d6 = R0.d4;
        R0.d7 = R0.d5;
      }
      R0.d4 = R3.d4;
      R0.d5 = R3.d5;
      // 9. The joint, tested for lying ahead.
      joined = false;
      if (IntersectWithNext() != 0) {
        SetEndDirection();
        const double dx = RoundTo3Decimals(R0.d6 - R1.d6);
        const double dy = RoundTo3Decimals(R0.d7 - R1.d7);
        if (dx != 0.0 || dy != 0.0) {
          joined = TraverseElementsAt(0) != 0;
        } else {
          joined = R0.d1 != 0.0;
        }
      }
      if (joined) {
        // 11. Accepted joint.
        core.JoinPending = 0;
        result = 2;
        if (mode == kCodeLineWalk) {
          const double ex = RoundTo3Decimals(R0.d4 - R1.d6);
          const double ey = RoundTo3Decimals(R0.d5 - R1.d7);
          if (ex == 0.0 && ey == 0.0) {
            R0.d4 = R0.d6;
            R0.d5 = R0.d7;
            result = 1;
          }
        }
        R1.d6 = R0.d6;
        R1.d7 = R0.d7;
        AdvanceCommandRecord();
        return result;
      }
    }
    // 10. No joint, or one that lies behind: the elements stand as they are.
    R0.d4 = R0.d6;
    R0.d5 = R0.d7;
    R1.d6 = R0.d6;
    R1.d7 = R0.d7;
    AdvanceCommandRecord();
    return 1;
  }
}

int RunContext::TraverseElementsAt(int final) {
  const bool fine = core.ExtendedTolerance == kWalkKeepReference;
  const Vec2 joint = geom::PointD4(R0);
  const Vec2 before = geom::PointD6(R0);
  const Vec2 nextStart = geom::PointD6(R1);
  if (R0.d1 != 0.0) {
    // Arc in R0 (centre in R3's d4/d5). Both points are measured in the frame
    // of the arc's end (the next element's start), with angles counted in
    // the arc's turning sense: T >= 0 lies beyond the end, T < 0 before it.
    const Vec2 centre{R3.d4, R3.d5};
    const Vec2 toEnd = geom::UnitOr(nextStart - centre, {1.0, 0.0});
    const Vec2 toBefore = geom::UnitOr(before - centre, {0.0, 1.0});
    if (toEnd.x != toBefore.x || toEnd.y != toBefore.y) {
      const double sense = R0.d1 > 0.0 ? 1.0 : -1.0;
      const Vec2 vb = before - centre;
      const Vec2 vj = joint - centre;
      const double t1 = sense * RoundTo3Decimals(geom::Cross(toEnd, vb));
      double t2 = sense * RoundTo3Decimals(geom::Cross(toEnd, vj));
      // A joint on the end radius itself is the end, not beyond it.
      if (t2 == 0.0 && geom::Dot(toEnd, vj) > 0.0) t2 = -1.0;
      double m = geom::Dot(toEnd, vj) - geom::Dot(toEnd, vb);
      if (fine) {
        if (std::fabs(m) < 0.00003) m = 0.0;
      } else {
        m = RoundTo3Decimals(m);
      }
      const bool beyond = (t1 >= 0.0 && t2 >= 0.0 && m > 0.0) || (t1 < 0.0 && (t2 >= 0.0 || m < 0.0));
      if (beyond) return 0;
    }
  } else {
    // Line in R0: the joint must lie ahead of the next element's start along
    // the line, and no farther from it than the point before.
    const double l = RoundTo3Decimals(geom::Distance(nextStart, joint));
    if (l != 0.0) {
      const Vec2 v = (1.0 / l) * (joint - nextStart);
      if (geom::Dot(v, geom::DirectionD2(R0)) < 0.0) return 0;
      const double m = geom::Distance(nextStart, before);
      if (fine) {
        if (std::fabs(m - l) >= 0.0001 && m < l) return 0;
      } else if (RoundTo3Decimals(m - l) < 0.0) {
        return 0;
      }
    }
  }
  if (final != 0) return 1;
  if (R1.d1 != 0.0) return 1;
  // A line in R1 must turn to the side its side bits say.
  const double c = R1.d3 * R0.d2 - R1.d2 * R0.d3;
  const bool reversed = OnReversedSide(R1);
  return ((c >= 0.0 && !reversed) || (c < 0.0 && reversed)) ? 1 : 0;
}

}  // namespace qup
