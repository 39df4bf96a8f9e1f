// Set-ups around a joint: the point at a kept length along the current line
// or arc, the direction and length from the kept start to R0's point, the
// run start taken from a small cache, the probe just below the next element,
// and the unpacking of a run's end index.
#include <algorithm>
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

void RunContext::IntersectDirection() {
  const Vec2 start{core.KeptStart[0], core.KeptStart[1]};
  const Vec2 point = geom::PointD4(R0);
  if (R0.d1 == 0.0) {
    geom::SetD2(R0, geom::UnitOr(point - start, {1.0, 0.0}));
    core.KeptLength = geom::Distance(point, start);
    return;
  }
  // On an arc (centre in R3's d4/d5): the turn from the start to the point
  // in the arc's sense, as a length along the arc.
  const Vec2 centre{R3.d4, R3.d5};
  const Vec2 s = start - centre;
  const Vec2 p = point - centre;
  const double sense = R0.d1 > 0.0 ? 1.0 : -1.0;
  const double angle = geom::PolarDegrees(geom::Dot(s, p), sense * geom::Cross(s, p));
  core.KeptLength = angle * std::fabs(R0.d1) / core.DegreesPerRadian;
  geom::SetD2(R0, geom::QuarterTurn(geom::UnitOr(s, {1.0, 0.0}), R0.d1));
}

void RunContext::ArcPointAt(double length) {
  const Vec2 start{core.KeptStart[0], core.KeptStart[1]};
  if (R0.d1 == 0.0) {
    geom::SetD4(R0, start + length * geom::DirectionD2(R0));
    return;
  }
  const Vec2 centre{R3.d4, R3.d5};
  registers.WorkAngle = length * core.DegreesPerRadian / R0.d1;  // signed by the turning sense
  UpdateRotationCosSin();
  const double c = WorkVectorX();
  const double s = WorkVectorY();
  const Vec2 v = start - centre;
  geom::SetD4(R0, centre + Vec2{c * v.x - s * v.y, s * v.x + c * v.y});
}

int RunContext::IntersectHelper(int kind) {
  if (kind == 3 && R0.Kind() != kCodePoint) core.KeptStart = {R0.d6, R0.d7};
  if (kind < 1 || kind > 3) return 0;
  ArcPointAt(core.KeptLength);
  return 1;
}

int RunContext::SetupRoundedEnd() {
  UnpackCommandValue(1);
  UnpackCommandValue(4);
  StoreRegisterByCode(56);
  const FixedPointPair end = SplitFixedPoint(WorkVectorY());
  core.RunLastIndex = static_cast<int>(end.whole);
  core.StepRunEndFraction = static_cast<int>(end.millionths);
  return 1;
}

int RunContext::CachedRunStart() {
  const int first = core.RunFirstIndex;
  const double nextIndexValue = R1.d5;
  StartCacheEntry* slot = nullptr;
  bool hit = false;
  for (StartCacheEntry& entry : core.StartPositionCache) {
    if (entry.elementIndex == first && first != 0) {
      slot = &entry;
      hit = true;
      break;
    }
    if (entry.elementIndex == 0 && slot == nullptr) slot = &entry;
  }
  if (hit) {
    R0.d2 = slot->d2;
    R0.d3 = slot->d3;
    R0.d4 = slot->d4;
    R0.d5 = slot->d5;
  } else {
    // Not cached: the run's first joint, kept when a free entry is left.
    const int walked = TraverseToFirstJoint();
    if (walked == kStopRun) return kStopRun;
    if (walked != 1) return 0;
    if (slot != nullptr && first != 0) *slot = StartCacheEntry{first, R0.d2, R0.d3, R0.d4, R0.d5};
  }
  const int next = static_cast<int>(SplitFixedPoint(nextIndexValue).whole);
  if (!CheckedLoad(R1, next)) return kStopRun;
  core.KeptStart = {R1.d6, R1.d7};
  R0.d4 = R1.d6;
  R0.d5 = R1.d7;
  core.ArcPassFrame = R0;
  return 1;
}

int RunContext::IntersectAtLevel(int kind) {
  // A probe falling in -Y from just left of the next element's X.
  double x = kind == 1 ? 0.0 : std::min(R1.d4 - 1.0, -1.0);
  if (kind != 1 && R1.d4 - 10.0 < 0.0) x = R1.d4 - 10.0;
  NcElement probe{};
  probe.code = kCodePoint;
  probe.d2 = 0.0;
  probe.d3 = -1.0;
  probe.d4 = x;
  probe.d5 = R1.d5;
  NcElement first{};
  if (!CheckedLoad(first, core.RunFirstIndex)) return kStopRun;
  R0 = probe;
  R1 = first;
  R1.d4 = R1.d6;
  R1.d5 = R1.d7;
  if (IntersectWithNext() != 0) return 1;
  // No joint: the run's first point.
  R0.d4 = first.d6;
  R0.d5 = first.d7;
  return 0;
}

}  // namespace qup
