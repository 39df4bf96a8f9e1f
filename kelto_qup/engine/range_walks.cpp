// Element range walks: a range of consecutive lines and arcs (optionally
// opened by a point) taken as one guide curve. MeasureElementRange adds up
// its length; PointAtLength finds the point and tangent at a distance along
// it. Both ends are extended: the first element gets a lead point before its
// start, the last one is lengthened past its end, so that stations slightly
// outside the range still have a point.
//
// Words of the walk: R0 the element walked (kind only in its code), R1's
// d6/d7 the previous point (X -999999999 for none), R2's d3 the accumulated
// length, R3's d4/d5 an arc's centre, RangeElementCount last - start.
#include <cmath>
#include <numbers>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr double kNoPreviousPoint = -999999999.0;
// Lead lengths (mm): 50 before and after a range, 100 before and 200 along a
// lone line.
constexpr double kLeadLength = 50.0;
constexpr double kLoneLeadBack = 100.0;
constexpr double kLoneLength = 200.0;
// AddElementLength's mode in which an arc of no sweep is a whole circle.
constexpr int kWholeCircleMode = 0x8000;

bool IsArc(const NcElement& e) { return e.code == 0x1300; }

}  // namespace

bool RunContext::HasPreviousPoint() const { return R1.d6 != kNoPreviousPoint; }

void RunContext::SetPreviousPoint(double x, double y) {
  R1.d6 = x;
  R1.d7 = y;
}

void RunContext::SetupLinearMove(int leadMode) {
  if (leadMode == 0) {
    // The line X = 0 as the next element; the meeting point is the lead.
    const NcElement saved = R0;
    R1 = NcElement{};
    R1.code = 0x1200;
    R1.d3 = 1.0;
    R0.d4 = R0.d6;
    R0.d5 = R0.d7;
    const int met = IntersectWithNext();
    const double x = R0.d4, y = R0.d5;
    R0 = saved;
    if (met == 1) {
      SetPreviousPoint(x, y);
      return;
    }
    leadMode = 1;
  }
  if (leadMode != 1 && leadMode != 2) {
    // No lead: a line starts at its own start point, an arc at its end (a
    // whole circle).
    if (IsArc(R0))
      SetPreviousPoint(R0.d4, R0.d5);
    else
      SetPreviousPoint(R0.d6, R0.d7);
    return;
  }
  if (IsArc(R0)) {
    const double r = std::fabs(R0.d1);
    SetPreviousPoint(leadMode == 1 ? R0.d6 - r : R0.d6 + r, R0.d7);
  } else if (engine.RangeElementCount > 0) {
    SetPreviousPoint(R0.d4 - kLeadLength * R0.d2, R0.d5 - kLeadLength * R0.d3);
  } else {
    SetPreviousPoint(R0.d6 - kLoneLeadBack * R0.d2, R0.d7 - kLoneLeadBack * R0.d3);
    R0.d4 = R0.d6;
    R0.d5 = R0.d7;
  }
}

void RunContext::ExtendLeadPoint(int leadMode) {
  if (leadMode < 0 || leadMode > 2) return;
  if (IsArc(R0)) {
    R0.d4 = R0.d6 + std::fabs(R0.d1);
    R0.d5 = R0.d7;
    return;
  }
  // The last line runs a fixed length from its start, whatever its stored end.
  const double length = engine.RangeElementCount > 0 ? kLeadLength : kLoneLength;
  R0.d4 = R1.d6 + length * R0.d2;
  R0.d5 = R1.d7 + length * R0.d3;
}

bool RunContext::WalkElement(int index, int start, int last, int leadMode) {
  ElementIndex = index;
  LoadR0FromTable();
  R0.code &= 0xFF00;
  if (R0.code == 0x1100) return false;  // a point ends the walk
  engine.RangeElementCount = last - start;
  if (!HasPreviousPoint()) SetupLinearMove(leadMode);
  if (index == last) ExtendLeadPoint(leadMode);
  if (IsArc(R0)) {
    // The table keeps an arc's centre where the walk puts the start.
    R3.d4 = R0.d6;
    R3.d5 = R0.d7;
  }
  R0.d6 = R1.d6;
  R0.d7 = R1.d7;
  AddElementLength(kWholeCircleMode);
  SetPreviousPoint(R0.d4, R0.d5);
  return true;
}

void RunContext::StartWalk(int start, int* first) {
  ElementIndex = start;
  LoadR0FromTable();
  if ((R0.code & 0xFF00) == 0x1100) {
    SetPreviousPoint(R0.d6, R0.d7);
    *first = start + 1;
  } else {
    SetPreviousPoint(kNoPreviousPoint, 0.0);
    *first = start;
  }
  R2.d3 = 0.0;
}

double RunContext::MeasureElementRange(int start, int last, int leadMode) {
  int first = start;
  StartWalk(start, &first);
  bool firstElement = true;
  for (int i = first; i <= last && AbortFlag == 0; ++i) {
    if (!WalkElement(i, start, last, leadMode)) break;
    if (firstElement) engine.RangeFirstStartX = R0.d6;
    firstElement = false;
    engine.RangeLastEndX = R0.d4;
  }
  return R2.d3;
}

void RunContext::PointAtLength(double length, int start, int last, int leadMode) {
  int first = start;
  StartWalk(start, &first);
  bool walked = false;
  for (int i = first; i <= last && AbortFlag == 0; ++i) {
    if (!WalkElement(i, start, last, leadMode)) break;
    walked = true;
    if (length <= R2.d3) break;
  }
  // The point lies on the element walked last, at the distance from its
  // start; beyond the range that is the last element's extension.
  if (walked) PointOnElement(length - (R2.d3 - engine.ElementLength));
}

void RunContext::PointOnElement(double distance) {
  if (!IsArc(R0)) {
    engine.WalkPointX = R0.d6 + distance * R0.d2;
    engine.WalkPointY = R0.d7 + distance * R0.d3;
    engine.WalkTangentX = R0.d2;
    engine.WalkTangentY = R0.d3;
    WorkVectorX() = -R0.d3;  // the left normal
    WorkVectorY() = R0.d2;
    return;
  }
  const double r = std::fabs(R0.d1);
  const bool counterClockwise = R0.d1 > 0.0;
  const double degrees = distance * 360.0 / (2.0 * std::numbers::pi * r);
  const auto [c, s] = DegToCosSin(counterClockwise ? degrees : -degrees);
  const double vx = R0.d6 - R3.d4, vy = R0.d7 - R3.d5;
  const double rx = vx * c - vy * s, ry = vx * s + vy * c;
  engine.WalkPointX = R3.d4 + rx;
  engine.WalkPointY = R3.d5 + ry;
  const double length = std::sqrt(rx * rx + ry * ry);
  const double tx = counterClockwise ? -ry : ry, ty = counterClockwise ? rx : -rx;
  engine.WalkTangentX = length > 0.0 ? tx / length : 0.0;
  engine.WalkTangentY = length > 0.0 ? ty / length : 0.0;
}

void RunContext::AdvanceCommandRecord() { std::swap(R1, CurrentFrameRecord()); }

}  // namespace qup
