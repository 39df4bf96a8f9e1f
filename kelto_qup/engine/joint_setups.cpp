// Set-ups around a joint: the point at a kept length along the current line
// or arc, the direction and length from the kept start to R0's point, the
// run start taken from a small cache, the probe just below the next element,
// and the unpacking of a run's end index.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

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

// The joint set-up of a stepped run: the range's last element extended, the
// run's start record taken (through the corner search or the start cache as
// its flags say), the offset chosen, the start found by the ray search, and
// the offset ratio of the run. Returns 1 done, 0 stopped or not found.
int RunContext::IntersectElements() {
  if (AbortFlag != 0) return 0;
  ExtendEndElement();
  if (AbortFlag != 0) return 0;
  if (!CheckedLoad(R0, RangeEnd)) return 0;
  if ((core.OutputFlags & 0x01) != 0 && core.MachineAxisSetting == 3) {
    const double commandOffset = R2.d1;
    R2.d1 = R3.d0;
    R1 = R0;
    ResolveNextElement(0, 0);
    R0 = R1;
    R2.d1 = commandOffset;
  }
  SetR1KeepTail(core.StartRecord);
  StoreRegisterByCode(24);
  StoreRegisterByCode(25);
  if ((R1.flags & 0x08) != 0) {
    const int pairs = IntersectPairs();
    if (pairs == 1) return 0;
    if (pairs == 2) return 1;
  }
  if ((R1.flags & 0x8000) != 0) {
    const int cached = CachedRunStart();
    if (cached != 1) return 0;
    R0.d4 = R1.d0 * R0.d0 / core.ScaleBase;  // percentages of the start record
    R0.d5 = R1.d1 * R0.d1 / core.ScaleBase;
  }
  if ((R1.flags & 0x01) != 0) {
    core.OffsetMode |= 1;
    if ((R2.flags & 0x04) != 0) {
      // the command's own offset stays in R2's d1
    } else if ((R2.flags & 0x02) != 0) {
      R2.d1 = core.TwinRecord.d1;
    } else {
      R2.d1 = R3.d0;
    }
  }
  if (core.RayMode != 0) {
    const bool alongY = (core.CornerWord & 0x01) != 0;
    const NcElement start = R1;
    const int found = IntersectAndJoin(alongY ? 6 : 2);
    if (found != 1) return 0;
    const double hit = alongY ? R0.d5 : R0.d4;
    const double dx = R0.d2;
    const double dy = R0.d3;
    R1 = start;
    if (alongY) {
      R1.d5 = hit;
    } else {
      R1.d4 = hit;
    }
    R1.d2 = dx;
    R1.d3 = dy;
  }
  const double divisor = R1.d4 * R1.d1;
  // A divisor below 1e-6 has no ratio: the work block's offset stands.
  const double ratio = std::fabs(divisor) >= 1e-6 ? (R1.d2 * R3.d0 * R0.d1) / divisor : R3.d0;
  R2.d1 = RoundTo3Decimals(ratio);
  if ((core.OutputFlags & 0x04) != 0) std::swap(core.StartRecord, core.TwinRecord);
  R2.code &= ~0xF;
  return 1;
}

// A run of the single element ElementIndex: its range, its packed value in
// R2's d1 and d4, its start and rounded end, joined through IntersectElements
// unless the straight-feed switch is on.
int RunContext::SetupSingleElement() {
  const int index = ElementIndex;
  if (!CheckedIndex(index)) return 0;
  const int keptCornerWord = core.CornerWord;
  const int keptMoveFlags = core.MoveFlags;
  RangeStart = RangeEnd = core.RunFirstIndex = core.RunLastIndex = index;
  const double packed = JoinFixedPoint(static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(index));
  R2.d1 = packed;
  R2.d4 = packed;
  WorkVectorX() = core.RunMarks[0];
  WorkVectorY() = core.RunMarks[1];
  R1 = elements[index];
  if (core.MotionUpdateFlag == 4) {
    core.KeptStart = {R1.d1, R1.d7};
  } else if ((core.MotionModeCopy & 0x8000) == 0) {
    core.KeptStart = {R1.d4, R1.d5};
  }
  SetupRoundedEnd();
  if (core.StraightFeedSwitch != 0) {
    R1.d4 = 0.0;
    R1.d5 = 0.0;
  } else if (IntersectElements() != 1) {
    core.CornerWord = keptCornerWord;
    core.MoveFlags = keptMoveFlags;
    return 0;
  }
  core.CornerWord = keptCornerWord;
  core.MoveFlags = keptMoveFlags;
  R1.d4 = RoundTo3Decimals(R1.d4);
  R1.d5 = RoundTo3Decimals(R1.d5);
  return 1;
}

}  // namespace qup
