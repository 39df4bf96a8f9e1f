// Finding the point that lies a given path length along the element range:
// a pass placed by its distance along the contour (the closing element says
// which of R0's two values is the length and which the distance beside the
// path) lands on the element that holds that length, moved sideways to the
// left of travel.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kCodeKindMask = 0xFF00;
constexpr int kLengthInX = 1;     // the closing element's flags: R0's d4 is the length
constexpr int kTurnedAcross = 2;  // the closing element's flags: the direction turns a right angle
// An arc whose end comes back to its start within this angle is a full circle.
constexpr double kClosedSweepDegrees = 1e-9;

// The sweep in degrees from `from` to `to` about `centre`, turning as the
// radius sign says, in (0, 360].
double SweepDegrees(geom::Vec2 centre, double radius, geom::Vec2 from, geom::Vec2 to) {
  const double a0 = std::atan2(from.y - centre.y, from.x - centre.x);
  const double a1 = std::atan2(to.y - centre.y, to.x - centre.x);
  double sweep = (radius > 0.0 ? a1 - a0 : a0 - a1) * 180.0 / std::numbers::pi;
  while (sweep < 0.0) sweep += 360.0;
  while (sweep >= 360.0) sweep -= 360.0;
  return sweep < kClosedSweepDegrees ? 360.0 : sweep;
}

// One element of the range walked from `start`: its length and the point
// and unit tangent at a distance v along it (v within 0 and the length).
struct Walked {
  double length = 0.0;
  bool arc = false;
  geom::Vec2 start{}, end{}, centre{}, direction{};
  double radius = 0.0, sweep = 0.0;

  void At(double v, geom::Vec2& point, geom::Vec2& tangent) const {
    if (!arc) {
      point = start + v * direction;
      tangent = direction;
      return;
    }
    const double turn = (radius > 0.0 ? 1.0 : -1.0) * v / std::fabs(radius);
    const double c = std::cos(turn), s = std::sin(turn);
    const geom::Vec2 r = start - centre;
    const geom::Vec2 turned{c * r.x - s * r.y, s * r.x + c * r.y};
    point = centre + turned;
    tangent = geom::QuarterTurn((1.0 / std::fabs(radius)) * turned, radius);
  }
};

Walked Measure(const NcElement& e, geom::Vec2 start) {
  Walked w;
  w.start = start;
  w.end = geom::PointD4(e);
  const int kind = e.code & kCodeKindMask;
  if (kind == kCodeArc && e.d1 != 0.0) {
    w.arc = true;
    w.radius = e.d1;
    w.centre = geom::PointD6(e);
    w.sweep = SweepDegrees(w.centre, w.radius, start, w.end);
    w.length = std::fabs(w.radius) * w.sweep * std::numbers::pi / 180.0;
    return w;
  }
  if (kind != kCodeLine) return w;  // points and markers have no length
  w.length = geom::Distance(start, w.end);
  w.direction = geom::UnitOr(w.end - start, geom::DirectionD2(e));
  return w;
}

}  // namespace

int RunContext::LocateByLength() {
  ContourWords& c = engine.contour;
  const double keptX = WorkVectorX(), keptY = WorkVectorY(), keptLength = WorkLength;
  const int first = RangeStart, last = RangeEnd, step = RangeStep;
  const NcElement command = R2;
  if (!CheckedLoad(R2, c.ClosingElement)) return kStopRun;
  const bool lengthInX = R2.flags == kLengthInX;
  const double target = lengthInX ? R0.d4 : R0.d5;
  const double beside = (lengthInX ? R0.d5 : R0.d4) - R2.d5;
  const bool turned = R2.flags == kTurnedAcross;
  TraceStep(63, 0);

  // The path begins where the range's first element ends.
  if (!CheckedLoad(R0, first)) return kStopRun;
  geom::Vec2 end = geom::PointD4(R0);
  Walked found = Measure(R0, end);
  double before = 0.0, walked = 0.0;
  for (int index = first + 1; index <= last; ++index) {
    if (!CheckedLoad(R0, index)) return kStopRun;
    if (R0.code > 0x1FFF) continue;  // commands inside the range are no path
    found = Measure(R0, end);
    before = walked;
    walked += found.length;
    end = found.end;
    if (target - walked <= 0.0) break;
  }

  // A length beyond the range (or before it) ends on its last (first) element.
  const double v = std::clamp(target - before, 0.0, found.length);
  geom::Vec2 onPath{}, tangent{};
  found.At(v, onPath, tangent);
  const geom::Vec2 across{-tangent.y, tangent.x};
  R1.d2 = across.x;
  R1.d3 = across.y;
  R1.d4 = onPath.x;
  R1.d5 = onPath.y;
  const geom::Vec2 point = onPath + beside * across;
  R0.d4 = point.x;
  R0.d5 = point.y;
  R0.d2 = turned ? -tangent.y : tangent.x;
  R0.d3 = turned ? tangent.x : tangent.y;
  // The pass direction: the auxiliary pair (the tool normal's I, J) turned
  // by the direction found, as a complex product.
  const double i = core.ToolNormal[0], j = core.ToolNormal[1];
  c.PassDirection = {i * R0.d2 - j * R0.d3, i * R0.d3 + j * R0.d2};

  R2 = command;
  WorkVectorX() = keptX;
  WorkVectorY() = keptY;
  WorkLength = keptLength;
  RangeStart = first;
  RangeEnd = last;
  RangeStep = step;
  return 0;
}

}  // namespace qup
