// Fetching the next element of a contour: the candidate in R1 is offset by
// the command's offset (R2's d1), optionally shifted or scaled, and accepted
// or skipped; a skipped element is marked consumed in the table and the walk
// takes the one after it. Also the set-up of a command's first element and
// the axis line that a straight command builds instead of a table element.
//
// Order of a fetch: reverse for a backward walk, offset (ResolveNextElement),
// shift or scale, optional second trial offset, then accept or skip.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

bool RunContext::CheckedIndex(int index) {
  // Indices come from hand-over data (packed ranges, frame words): one that
  // names no element of this job stops the run instead of reading past it.
  if (index >= 0 && index < elements.ElementCount) return true;
  StopWithError(kErrorBadElement);
  return false;
}

bool RunContext::CheckedLoad(NcElement& reg, int index) {
  if (!CheckedIndex(index)) return false;
  reg = elements[index];
  return true;
}

void RunContext::NormalizeTangent(int kind) {
  const double wx = WorkVectorX();
  const double wy = WorkVectorY();
  WorkLength = std::sqrt(wx * wx + wy * wy);
  if (WorkLength == 0.0) return;
  if (kind == 1) {
    R0.d2 = wx / WorkLength;
    R0.d3 = wy / WorkLength;
  } else if (kind == 2) {
    R1.d2 = wx / WorkLength;
    R1.d3 = wy / WorkLength;
  }
}

void RunContext::ReverseNextIfBackward() {
  // A backward walk travels every element the other way: the radius sign
  // and the direction turn over; the points stay (joints are intersected).
  if (RangeStep < 0) {
    R1.d1 = -R1.d1;
    R1.d2 = -R1.d2;
    R1.d3 = -R1.d3;
  }
}

int RunContext::ResolveNextElement(int mode, int arg) {
  const double offset = R2.d1;
  bool ready = false;
  if (R1.d1 != 0.0) {
    // Arc: the end point moves along the radius; the radius shrinks by the
    // offset. When its sign changes (or it becomes 0) the offset has
    // swallowed the arc.
    WorkVectorX() = R1.d6 - R1.d4;
    WorkVectorY() = R1.d7 - R1.d5;
    NormalizeTangent(2);
    if (R1.d1 < 0.0) {
      R1.d2 = -R1.d2;
      R1.d3 = -R1.d3;
    }
    ElementIndex = 0;
    R1.d4 += offset * R1.d2;
    R1.d5 += offset * R1.d3;
    const double radius = R1.d1;
    const double offsetRadius = radius - offset;
    WorkVectorX() = offsetRadius;
    R1.d1 = offsetRadius;
    ready = radius * offsetRadius > 0.0;
  } else {
    // Line: positive offsets go to the left of travel.
    const double dx = -offset * R1.d3;
    const double dy = offset * R1.d2;
    R1.d4 += dx;
    R1.d5 += dy;
    R1.d6 += dx;
    R1.d7 += dy;
    ready = true;
  }
  if (ready) {
    ElementIndex = kReady;
    if (mode == kResolveModeB || mode == kResolveModeA) {
      if ((R1.flags & 0xFFFF) == kConsumedMark) {
        ElementIndex = 0;
      } else {
        if (mode == kResolveModeB) {
          ResolveSuccessorB(arg);
        } else {
          ResolveSuccessorA(arg);
        }
        if (AbortFlag != 0) return kStopRun;
        if (!CheckedIndex(RangeStart)) return kStopRun;
        NcElement& entry = elements[RangeStart];
        if (ElementIndex != 0) {
          entry.flags &= ~0xFFFF;
        } else {
          entry.flags |= kConsumedMark;
        }
      }
    }
  }
  if (core.ShiftMode == 0x1234) {
    R1.d4 += offset;
    R1.d6 += offset;
  } else if (core.ShiftMode == 0x4321) {
    R1.d4 -= offset;
    R1.d6 -= offset;
  }
  return ElementIndex;
}

namespace {
// Offset modes of the low 4 bits of OffsetMode.
constexpr int kOffsetNone = 0;
constexpr int kOffsetByCommand = 1;
constexpr int kOffsetShift = 2;
constexpr int kOffsetScale = 3;
}  // namespace

int RunContext::FetchNextElement(int mode) {
  for (;;) {
    ReverseNextIfBackward();
    const int offsetMode = core.OffsetMode & 0xF;
    ElementIndex = offsetMode;
    if (offsetMode == kOffsetNone) return 1;

    bool skip = false;
    // The trial modes put the stored offset into R2's d1 for the resolve;
    // the command's own value is given back whatever the outcome (it is
    // the shift or scale of every later element of the command).
    bool restoreCommandValue = false;
    double commandValue = R2.d1;
    if (offsetMode == kOffsetByCommand) {
      if (R2.d1 == 0.0) return 1;
      ResolveNextElement(mode, 0);
      if (AbortFlag != 0) return kStopRun;
      if (ElementIndex != 0) return 1;
      skip = true;
    } else {
      R2.d1 = RangeStep < 0 ? -core.StoredOffset : core.StoredOffset;
      ResolveNextElement(mode, 0);
      if (AbortFlag != 0) {
        R2.d1 = commandValue;
        return kStopRun;
      }
      if (ElementIndex == 0) {
        skip = true;
        restoreCommandValue = true;
      } else {
        R2.d1 = commandValue;
        if (offsetMode == kOffsetShift) {
          const double dx = commandValue * R2.d2;
          const double dy = commandValue * R2.d3;
          R1.d4 += dx;
          R1.d5 += dy;
          R1.d6 += dx;
          R1.d7 += dy;
        } else if (offsetMode == kOffsetScale) {
          const double factor = commandValue / core.ScaleBase;
          R1.d4 = R2.d2 + (R1.d4 - R2.d2) * factor;
          R1.d5 = R2.d3 + (R1.d5 - R2.d3) * factor;
          R1.d6 = R2.d2 + (R1.d6 - R2.d2) * factor;
          R1.d7 = R2.d3 + (R1.d7 - R2.d3) * factor;
          if (R1.d1 != 0.0) R1.d1 *= factor;
        }
      }
    }

    if (!skip) {
      // Second trial: the element must also survive R3's d0 as offset.
      if ((core.PassFlags & 1) == 0) return 1;
      const double kept = R2.d1;
      R2.d1 = R3.d0;
      ResolveNextElement(0, 0);
      R2.d1 = kept;
      if (AbortFlag != 0) return kStopRun;
      if ((ElementIndex & 0x8000) != 0) return 1;
    }

    // Skip: the element is consumed for the rest of the run.
    if (!CheckedIndex(RangeStart)) return kStopRun;
    elements[RangeStart].flags |= kConsumedMark;
    if (RangeStart == RangeEnd) {
      if (restoreCommandValue) R2.d1 = commandValue;
      return 0;
    }
    if ((core.ContourFlags & 0x40000) != 0 && R1.code == kCodeArc) {
      core.SkippedArcCentre = {R1.d6, R1.d7};
      core.ContourFlags = (core.ContourFlags & 0xFFFF) + 0x10000;
    }
    core.OffsetRadiusSum = R2.d1 + R1.d1;
    if (restoreCommandValue) R2.d1 = commandValue;
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    if (R1.Kind() == kCodePoint) return 0;
    if (core.OffsetRadiusSum < 0.0) {
      R1.flags |= kReversedSide;
    } else if (RangeStep != 1) {
      R0.flags |= kReversedSide;
    }
  }
}

int RunContext::StepNextElement() {
  SwapR0R1();
  for (;;) {
    if (RangeStart == RangeEnd) return 0;
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    if (R1.code < 0x2FFF) {
      const int fetched = FetchNextElement(0);
      if (fetched == kStopRun) return kStopRun;
      if (fetched == 1) return 1;
    }
  }
}

int RunContext::SetupCommand() {
  R1.d1 = 0.0;
  const int sub = R2.flags & 0xF0;
  if (R2.code >= 0x7300 && R2.code <= 0x7499 && sub >= 0x10 && sub <= 0x90) {
    // A straight command: its first element is built, not taken from the table.
    R1.d4 = R2.d4;
    R1.d5 = R2.d5;
    R2.d4 = 0.0;
    R2.d5 = 0.0;
    if (sub == 0x60) {
      R1.code = kCodePoint;
      R1.d4 = R2.d2;
      R1.d5 = R2.d3;
      R1.d6 = R2.d2;
      R1.d7 = R2.d3;
      RangeStart = 0;
      RangeEnd = 0;
      RangeStep = 1;
      return 1;
    }
    R1.d2 = 0.0;
    R1.d3 = 0.0;
    SubtypeWord = sub;
    BuildDirectionElement();
    R1.d6 = R1.d4;
    R1.d7 = R1.d5;
    RangeStep = 1;
    RangeStart = 0;
    RangeEnd = 0;
    return FetchNextElement(0);
  }
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  if (R1.code >= 0x2FFF) return 0;
  RangeStep = (RangeOptions & kRangeBackward) != 0 ? -1 : 1;
  return FetchNextElement(0);
}

void RunContext::BuildDirectionElement() {
  const int sub = SubtypeWord;
  const double value = R1.d4;
  const double unit = core.DirectionUnit;
  switch (sub) {
    case 0x50: {  // through the origin at `value` degrees
      const double radians = value * core.RadiansPerDegree;
      R1.d2 = std::cos(radians) * unit;
      R1.d3 = std::sin(radians) * unit;
      R1.d4 = 0.0;
      R1.d5 = 0.0;
      break;
    }
    case 0x10:  // y = value, towards +X
    case 0x20:  // y = value, towards -X
      R1.d2 = sub == 0x10 ? unit : -unit;
      R1.d3 = 0.0;
      R1.d4 = 0.0;
      R1.d5 = value;
      break;
    case 0x30:
    case 0x70:
    case 0x80:
    case 0x90:  // x = value, towards +Y
    case 0x40:  // x = value, towards -Y
      R1.d2 = 0.0;
      R1.d3 = sub == 0x40 ? -unit : unit;
      R1.d4 = value;
      R1.d5 = 0.0;
      break;
    default:
      break;
  }
  R1.code = kCodeLine;
  R1.flags = 0;
  R1.d0 = 0.0;
  R1.d1 = 0.0;
}

}  // namespace qup
