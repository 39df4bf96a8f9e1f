// The section offset pass: a tool position of a surface run tested against
// every section command of the run's list. The position is stepped on each
// section (the element stepper), the sections' heights are compared and the
// deciding one kept, long moves between consecutive positions are cut into
// pieces no longer than the step unit, and where the deciding section
// changes between two positions the crossing is searched by halving.
//
// Also the conversion of a surface contact point into the tool position
// (ToolContactOffset, ScaleNormal, LowerForSlope) and the scaling of points
// into and out of the scaled space of a scaled surface.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/kept_range.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {

constexpr int kPassAtStart = 1;
constexpr int kPassPerPosition = 2048;
constexpr int kOwnOffsetSection = 0x8000;  // a section that does not lower the tool
constexpr int kTrackedSection = 0x8200;    // the section kind whose Z is tracked
constexpr int kSnapshotFlatNormal = 0xED00;
constexpr double kSqrt2 = 1.4142135623730950488;
// Corner radii within this of the tool radius (mm) make the tool a ball.
constexpr double kBallTolerance = 0.001;
// Consecutive positions closer than this in XY (mm) take the fine slope base.
constexpr double kCloseXY = 0.002;
// The crossing search halves its step down to this (mm).
constexpr double kSmallestSearchStep = 1e-12;
constexpr int kSearchPollPasses = 256;
// An XY normal shorter than this has no direction.
constexpr double kZeroNormal = 1e-14;

}  // namespace

double RunContext::ComputeOffsetDistance() {
  auto& s = engine.stepping;
  const double radius = job.ToolRadius;  // half the tool diameter D
  const double r = s.DepthStep;
  const double a = s.DepthStepAlt;
  double d = radius;
  if (a != 0.0) {
    d = std::sqrt((radius - a) * (radius - a) + radius * radius);
  } else {
    R3.d0 = radius - r;
    if (std::fabs(radius - r) >= kBallTolerance) d = r + (radius - r) * kSqrt2;
  }
  if (s.OffsetPassMode == kPassAtStart) {
    d += s.ExtraOffset;
    s.KeptOffset = d;
  } else {
    d = s.ExtraOffset;
    s.KeptOffset = 0.0;
  }
  R3.d0 = d;
  s.OffsetDistance = d;
  return d;
}

int RunContext::RunOffsetPass() {
  auto& s = engine.stepping;
  s.OffsetPassMode = kPassPerPosition;
  s.SectionListPosition = 0;
  return RunSectionOffsets(1) == kStopRun ? kStopRun : 0;
}

int RunContext::RunOffsetPassAtStart() {
  auto& s = engine.stepping;
  ToolContactOffset();
  s.PassState = 1;
  s.SectionTracking = 0;
  if (s.SectionListBCount != 0) {
    s.OffsetPassMode = kPassAtStart;
    const int kept = s.KeptStartSectionIndex;
    const int result = RunSectionOffsets(0);
    s.KeptStartSectionIndex = kept;
    return result == kStopRun ? kStopRun : 0;
  }
  s.KeptStartSectionIndex = -1;
  return 0;
}

int RunContext::RunSectionOffsets(int list) {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  if (AbortFlag != 0) return kStopRun;
  const double entryOffset = R3.d0;
  const std::vector<int>& sections = list == 1 ? s.SectionListA : s.SectionListB;
  if (sections.empty() || sections.front() == 0) return 0;

  ComputeOffsetDistance();
  s.SlopeRadius = job.ToolRadius;
  const int stackDepth = registers.RegisterStackDepth;
  NcElement saved[4];
  SaveAllRegs(saved);
  const KeptRangeWords range(*this);
  const int offsetMode = core.OffsetMode, stepMode = StepMode;
  s.KeptSectionIndex[0] = -1;
  int lastKind = 0;
  bool lastOwnOffset = false;
  for (const int index : sections) {
    if (index == 0) break;
    // 2. The section command at the position.
    R0 = saved[0];
    const double keptI = n[0];
    NcElement section{};
    if (!CheckedLoad(section, index)) return kStopRun;
    const int kind = section.code & 0xFF00;
    const bool ownOffset = (section.flags & kOwnOffsetSection) != 0;
    RangeStep = 1;  // the first entry of the step table
    s.SectionHitCount = 0;
    // 3.
    if (s.ScaleSwitch != 0) UnscalePoint();
    registers.RegisterStackDepth = stackDepth;
    R3.d0 = ownOffset ? section.d1 : s.OffsetDistance;
    // 4.
    ElementIndex = index;
    StepMode = 0;
    if (StepElement(0) == 1) {
      s.SectionHitCount += 1;
      if (s.ScaleSwitch != 0) {
        if (!ownOffset) R3.d0 = s.KeptOffset;
        ScalePoint(1);
      }
      if ((core.OutputFlags & 0x01) != 0 && s.DepthStepOn == 1 && !ownOffset) {
        R1.d7 -= job.ToolRadius;
        core.ToolPointZ -= job.ToolRadius;
      }
    } else if (s.ScaleSwitch != 0) {
      if (!ownOffset) R3.d0 = s.KeptOffset;
      ScalePoint(0);
    }
    // 5.
    if (AbortFlag != 0) {
      R3.d0 = entryOffset;
      return kStopRun;
    }
    // 6.
    R3.d0 = s.OffsetDistance;
    CheckSectionStep(index, kind);
    n[0] = keptI;
    R1.d7 = s.KeptSectionZ[0];
    lastKind = kind;
    lastOwnOffset = ownOffset;
  }

  // 7. A change of the deciding section between the last position and this
  // one: the crossing between them.
  bool crossed = false;
  if (list == 0 && s.AccumulatedOffset != 0.0 && s.KeptSectionIndex[0] != s.KeptSectionIndex[1] &&
      s.KeptSectionIndex[0] != -1 && s.KeptSectionIndex[1] != -1) {
    R3.d2 = s.KeptSectionZ[0] - s.KeptSectionZ[1];
    const int found = SearchSectionCrossing(R3.d2);
    if (found == kStopRun) return kStopRun;
    crossed = found == 1;
  }
  if (s.PassState == 2 && s.SectionTracking == 0 && !lastOwnOffset && !crossed) {
    if (SubdivideMove(0) == kStopRun) return kStopRun;
  }
  // 8. A tracked section keeps its position for the next one.
  if (lastKind == kTrackedSection) {
    s.TrackedPosition = {R0.d4, R0.d5, R1.d7};
    s.TrackedZLimit = s.KeptSectionZ[0];
    s.SectionTracking = 1;
  } else {
    s.SectionTracking = 0;
  }
  // 9. The registers and words given back; the deciding section kept.
  RestoreAllRegs(saved);
  if (s.SectionTracking != 0 && s.KeptSectionZ[0] <= s.TrackedZLimit) R0.d4 = s.TrackedPosition[0];
  range.Restore();
  core.OffsetMode = offsetMode;
  StepMode = stepMode;
  registers.RegisterStackDepth = stackDepth;
  s.KeptSectionIndex[1] = s.KeptSectionIndex[0];
  s.KeptSectionZ[1] = s.KeptSectionZ[0];
  UpdateSlopeBase();
  R3.d0 = entryOffset;
  return 0;
}

void RunContext::CheckSectionStep(int sectionIndex, int sectionKind) {
  auto& s = engine.stepping;
  if (s.SectionHitCount == 0) return;
  double gap = 0.0;
  if ((s.OffsetPassMode & 0x01) != 0) {
    // At the start of a run the lowest section decides.
    gap = core.ToolPointZ - s.KeptSectionZ[0];
    if (sectionKind == kTrackedSection && core.ToolPointZ < s.TrackedZLimit - 0.0001) {
      gap = 10.0;
      s.KeptSectionIndex[0] = -1;
    }
  } else {
    // Per position the highest section decides.
    gap = s.KeptSectionZ[0] - core.ToolPointZ;
  }
  if (s.KeptSectionIndex[0] == -1 || gap < 0.0) {
    s.KeptSectionIndex[0] = sectionIndex;
    s.KeptSectionZ[0] = core.ToolPointZ;
  }
}

void RunContext::UpdateSlopeBase() {
  auto& s = engine.stepping;
  const std::array<double, 3> current{R0.d4, R0.d5, R1.d7};
  const std::array<double, 3> previous = s.PreviousPosition;
  s.PreviousPosition = current;
  if (s.PassState == 0) return;
  if (s.PassState != 2) {
    s.PassState = 2;
    return;
  }
  const double xy = std::hypot(current[0] - previous[0], current[1] - previous[1]);
  WorkVectorX() = xy;
  WorkVectorY() = current[2] - previous[2];
  NormalizeWorkVector();
  s.SlopeBase = xy < kCloseXY ? kCloseXY : 1.0;
}

int RunContext::SubdivisionCount(double length, double stepUnit) {
  // A move longer than 2.2 step units is measured at twice its length, so
  // that steep or long moves get pieces of about half a step.
  if (!std::isfinite(length) || !std::isfinite(stepUnit) || stepUnit <= 0.0) return 1;
  if (length > 2.2 * stepUnit) length *= 2.0;
  const double limit = 1.01 * stepUnit;
  constexpr double kSlack = 0.005;  // mm a piece may exceed the limit
  if (length - limit <= kSlack) return 1;
  int pieces = 2;
  while (length / pieces - limit > kSlack) ++pieces;
  return pieces;
}

int RunContext::SubdivideMove(int final) {
  auto& s = engine.stepping;
  if (s.PassState != 2 || s.SectionTracking != 0) return 0;
  if (PushRegs() == kStopRun) return kStopRun;
  const Vec2 from{s.PreviousPosition[0], s.PreviousPosition[1]};
  const Vec2 to{R0.d4, R0.d5};
  WorkVectorX() = geom::Distance(from, to);
  WorkVectorY() = R1.d7 - s.PreviousPosition[2];
  NormalizeWorkVector();
  const int pieces = SubdivisionCount(WorkLength, StepUnit);
  const NcElement start = R0;
  for (int k = 1; k < pieces && AbortFlag == 0; ++k) {
    const double t = static_cast<double>(k) / pieces;
    R0 = start;
    geom::SetD4(R0, from + t * (to - from));
    if (StepSection(s.KeptSectionIndex[0]) == 1) {
      if (s.SectionTracking != 0) R0.d4 = s.TrackedPosition[0];
      if (EmitOffsetPiece(s.KeptSectionIndex[0]) == kStopRun) break;
    }
  }
  PopRegs();
  if (AbortFlag != 0) return kStopRun;
  if (final == 1 && s.SectionTracking == 0) return EmitOffsetPiece(s.KeptSectionIndex[0]);
  return 0;
}

int RunContext::StepSection(int index) {
  auto& s = engine.stepping;
  if (AbortFlag != 0) return 0;
  int command = index;
  bool ownOffset = false;
  if (index == -1) {
    if (s.CurrentSectionIndex == 0) return 1;
    command = s.CurrentSectionIndex;
    if (s.ToolKindSetting != 1) R3.d0 = s.KeptOffset;
  } else {
    NcElement section{};
    if (!CheckedLoad(section, index)) return 0;
    ownOffset = (section.flags & kOwnOffsetSection) != 0;
  }
  const int depth = registers.RegisterStackDepth;
  if (s.ScaleSwitch != 0) UnscalePoint();
  ElementIndex = command;
  const int mode = StepMode;
  StepMode = 0;
  const bool stepped = StepElement(0) == 1 && AbortFlag == 0;
  StepMode = mode;
  if (stepped) {
    if (s.ScaleSwitch != 0) ScalePoint(1);
    if ((core.OutputFlags & 0x01) != 0 && s.DepthStepOn == 1) {
      if (index == -1) {
        if (s.ToolKindSetting != 1) LowerForSlope(13);
      } else if (!ownOffset) {
        R1.d7 -= job.ToolRadius;
        core.ToolPointZ -= job.ToolRadius;
      }
    }
  } else if (s.ScaleSwitch != 0) {
    ScalePoint(0);
  }
  registers.RegisterStackDepth = depth;
  return stepped ? 1 : 0;
}

int RunContext::EmitOffsetPiece(int index) {
  auto& s = engine.stepping;
  const NcElement frame = CurrentFrameRecord();
  R0.d1 = 0.0;
  if (RunPassesWithStep(index == -1 ? 0 : 13) == kStopRun || AbortFlag != 0) return kStopRun;
  if (s.PieceMode != 0) {
    const double z = R1.d7;
    ComputeElementStart();
    if (s.PieceMode == 1) R1.d7 = z;
    ComputeElementPath(30583);
  } else {
    ComputeElementPath(0);
  }
  CurrentFrameRecord() = frame;
  return AbortFlag != 0 ? kStopRun : 0;
}

int RunContext::SearchSectionCrossing(double gap) {
  auto& s = engine.stepping;
  if (gap == 0.0) return 0;
  const int first = s.KeptSectionIndex[1];
  const int second = s.KeptSectionIndex[0];
  const Vec2 from{s.PreviousPosition[0], s.PreviousPosition[1]};
  const Vec2 to{R0.d4, R0.d5};
  const double length = geom::Distance(from, to);
  if (length == 0.0 || !std::isfinite(length)) return 0;
  const Vec2 unit = (1.0 / length) * (to - from);
  const NcElement start = R0;
  // The sign of (second's Z - first's Z) at the current position; the search
  // keeps the crossing between a point where it differs and one where not.
  auto heightOn = [&](int section, Vec2 at, double& z) {
    R0 = start;
    geom::SetD4(R0, at);
    if (StepSection(section) != 1) return false;
    z = core.ToolPointZ;
    return true;
  };
  double along = 0.0;
  double step = 0.5 * length;
  double direction = 1.0;
  bool found = false;
  double foundZ = 0.0;
  std::array<double, 3> foundNormal{};
  Vec2 foundPoint{};
  for (int pass = 1; step >= kSmallestSearchStep; ++pass) {
    if (pass % kSearchPollPasses == 0 && PollAbort() == kStopRun) return kStopRun;
    along += direction * step;
    const Vec2 at = from + along * unit;
    double z1 = 0.0;
    double z2 = 0.0;
    const bool on1 = heightOn(first, at, z1);
    const auto normal1 = core.ToolNormal;
    const bool on2 = heightOn(second, at, z2);
    if (AbortFlag != 0) return kStopRun;
    // Still on the first section's side: go on towards the current
    // position; past the crossing: go back.
    const bool firstDecides = on1 && (!on2 || (gap > 0.0 ? z1 >= z2 : z1 <= z2));
    direction = firstDecides ? 1.0 : -1.0;
    if (on1 && on2) {
      found = true;
      foundPoint = at;
      foundZ = firstDecides ? z1 : z2;
      foundNormal = firstDecides ? normal1 : core.ToolNormal;
    }
    step *= 0.5;
  }
  R0 = start;
  if (!found) return 0;
  geom::SetD4(R0, foundPoint);
  R1.d7 = foundZ;
  core.ToolPointZ = foundZ;
  core.ToolNormal = foundNormal;
  s.KeptSectionZ[0] = foundZ;
  if (geom::Distance(foundPoint, from) < 0.001) s.KeptSectionIndex[0] = first;
  return 1;
}

int RunContext::ToolContactOffset() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  const double radius = job.ToolRadius;
  const double r = s.DepthStep;
  const double a = s.DepthStepAlt;
  // 1. A tool that touches with its point.
  if (s.ToolKindSetting == 11) {
    core.ToolPointZ = R1.d7;
    return 0;
  }
  // 2. The corner of a flat tool: the contact moves out by the flat part.
  if (a == 0.0 && radius - r != 0.0) {
    Vec2 side{n[0], n[1]};
    if (geom::Length(side) > kZeroNormal) {
      side = (1.0 / geom::Length(side)) * side;
    } else {
      side = {-R0.d3, R0.d2};
      if ((RangeOptions & kRangeBackward) != 0) side = -1.0 * side;
      if (s.ReverseSideSetting != 0) side = -1.0 * side;
    }
    if (s.ScaleSwitch != 0) {
      side = {side.x * s.ScaleFactorX / core.ScaleBase, side.y * s.ScaleFactorY / core.ScaleBase};
      side = geom::UnitOr(side, {1.0, 0.0});
    }
    const bool flatFlags = (core.SnapshotFlags & kSnapshotFlatNormal) != 0;
    if (s.ToolKindSetting == 0 || (flatFlags && s.ToolKindSetting == 2 && n[2] != 1.0)) {
      R0.d4 += (radius - r) * side.x;
      R0.d5 += (radius - r) * side.y;
    }
  }
  // 3.
  if (s.ScaleSwitch != 0) ScaleNormal();
  // 4.-5. Along the normal by the offset or the corner radius, then down by
  // the depth step.
  const bool sectionFlag = s.SectionPassFlags != 0;
  if (core.FilletContour == 0) {
    if (s.ToolKindSetting == 0) {
      R1.d7 += n[2] * R3.d0;
      R0.d4 += n[0] * R3.d0;
      R0.d5 += n[1] * R3.d0;
      if (core.MotionModeCopy == 0 && n[2] == 0.0 && s.ZSetting == 1) R1.d7 += r;
    } else if (s.ToolKindSetting == 2) {
      if (n[2] != 0.0 || (core.SnapshotFlags & kSnapshotFlatNormal) != 0) {
        R1.d7 += n[2] * r;
        R0.d4 += n[0] * r;
        R0.d5 += n[1] * r;
      } else {
        R1.d7 += a != 0.0 ? a : r;
      }
    }
    if (s.DepthStepOn == 1) {
      if (a == 0.0 && core.MotionModeCopy != 0 && sectionFlag) {
        R0.d5 -= r;
        R3.d5 -= r;
      } else {
        R1.d7 -= a != 0.0 ? a : r;
        if (sectionFlag) {
          R0.d5 -= r;
          R3.d5 -= r;
        }
      }
    }
  } else if (s.DepthStepOn == 1) {
    R1.d7 -= r;
  }
  return 0;
}

void RunContext::ScaleNormal() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  const double base = core.ScaleBase;
  if (s.ScaleFactorX == base && s.ScaleFactorY == base && s.ScaleFactorZ == base) return;
  Vec2 side{n[0], n[1]};
  if (geom::Length(side) <= kZeroNormal) {
    side = {-R0.d3, R0.d2};
    if ((RangeOptions & kRangeBackward) != 0) side = -1.0 * side;
  }
  // Normals transform with the inverse scale: each axis by the other's factor.
  side = {side.x * s.ScaleFactorY / base, side.y * s.ScaleFactorX / base};
  const double xy = geom::Length(side);
  if (xy < kZeroNormal) {
    n = {0.0, 0.0, 1.0};
    return;
  }
  const Vec2 u = (1.0 / xy) * side;
  const double k = n[2];
  std::array<double, 3> v{-u.y * k * s.ScaleFactorX / base, -u.x * k * s.ScaleFactorY / base,
                          xy * s.ScaleFactorZ / base};
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length > 0.0) v = {v[0] / length, v[1] / length, v[2] / length};
  n = v;
}

void RunContext::LowerForSlope(int kind) {
  auto& s = engine.stepping;
  if (kind != 13 || s.DepthStepOn != 1) return;
  const double c = job.ToolRadius;
  const double k = core.ToolNormal[2];
  double drop = 0.0;
  if (s.DepthStepAlt >= c) {
    drop = c;
  } else if (k >= 1.0) {
    drop = c;
  } else if (k > 0.0) {
    const double across = std::sqrt(1.0 - k * k);
    drop = (s.SlopeRadius / across - c) * (across / k);
  }
  R1.d7 -= drop;
  core.ToolPointZ -= drop;
}

void RunContext::UnscalePoint() {
  auto& s = engine.stepping;
  const double base = core.ScaleBase;
  R0.d4 /= s.ScaleFactorX / base;
  R0.d5 /= s.ScaleFactorY / base;
  R3.d0 /= s.ScaleFactorZ / base;
}

void RunContext::ScalePoint(int withZ) {
  auto& s = engine.stepping;
  const double base = core.ScaleBase;
  R0.d4 *= s.ScaleFactorX / base;
  R0.d5 *= s.ScaleFactorY / base;
  if (withZ == 1) {
    R1.d7 *= s.ScaleFactorZ / base;
    core.ToolPointZ *= s.ScaleFactorZ / base;
  } else {
    R3.d0 *= s.ScaleFactorZ / base;
  }
}

}  // namespace qup
