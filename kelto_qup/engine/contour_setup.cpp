// The set-up of a contour command (code 0x7300) before its elements are
// walked: the queued elements are released, the command's offsets are merged
// with the running process's, values a command may leave empty are carried
// over from the last one, the range to walk is fixed and the block output is
// brought up to where the previous contour left the tool. Set_TO builds the
// straight lead element through a tool-offset (TO) point from which a
// contour is entered or left.
#include <cmath>
#include <utility>

#include "kelto_qup/engine/inside_corners.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kErrorSetupFailed = 8;
constexpr int kQueuedMarkBits = 0x0F00;
constexpr int kOneShotBit = 0x01;
constexpr int kFlagMissingValue5 = 0x100;
constexpr int kFlagOffsetNext = 0x200;
constexpr int kFlagAllowance2 = 0x400;
constexpr int kFlagAllowance1 = 0x800;
constexpr double kPresentMark = 1.0e-6;  // a d5 that counts as present
constexpr int kContourCommand = 0x7100;
constexpr int kGeometryAbove = 0x1F00;  // codes above it are commands or groups
constexpr int kFilletGroup = 0x3900;

int SubtypeCompensation(int code) {
  switch (code & 0xF0) {
    case 0x00:
      return 0;
    case 0x10:
      return 4;
    case 0x20:
      return 8;
    default:
      return -1;  // other sub-types leave the word as it is
  }
}

}  // namespace

int RunContext::PrepareContourRun() {
  ContourWords& c = engine.contour;
  TraceStep(140, 1);
  // Commands queued for this process are free again for the walk.
  for (int i = 0; i < job.QueueCount; ++i) {
    const int index = job.CommandQueue[static_cast<std::size_t>(i)];
    if (index == 0) break;
    if (!CheckedIndex(index)) return kStopRun;
    elements[index].flags &= ~kQueuedMarkBits;
  }
  c.ContourRunMark = 0;
  if (AbortFlag != 0) return kStopRun;
  if (c.ReferenceFromCommand != 0) c.ReferenceSlot = R2;

  // Offsets: the command's own with the running process's.
  c.CommandOffset = R2.d0;
  R3.d0 = c.ProcessOffset1 + c.CommandOffset;
  engine.stepping.ExtraOffset = c.ProcessOffset2;
  R2.d0 = 0.0;
  c.AllowanceMode = 0;
  if ((R2.flags & kFlagAllowance1) != 0) {
    engine.stepping.ExtraOffset = 0.0;
    R3.d0 = 0.0;
    c.AllowanceMode = 1;
  } else if ((R2.flags & kFlagAllowance2) != 0) {
    engine.stepping.ExtraOffset = 0.0;
    R3.d0 = 0.0;
    c.AllowanceMode = 2;
  }

  c.CommandFlagsCopy = R2.flags;
  c.OneShotMark = R2.code & kOneShotBit;
  R2.code &= ~kOneShotBit;
  if (SnapshotElements() == kStopRun) return kStopRun;
  CarryCommandValues();
  c.SectionCommand = R2;
  if (c.SectionCommand.d5 == 0.0) c.SectionCommand.d5 = c.CarriedValue5;
  // The per-element motion takes its height from this command's d5.
  engine.stepping.SectionCommand = c.SectionCommand;
  core.OffsetMode = (R2.flags & kFlagOffsetNext) != 0 ? 1 : 0;
  RangeOptions = (R2.flags >> 15) & 0xA;
  core.FlagWord = RangeOptions;

  const int lead = Set_TO(0);
  if (AbortFlag != 0) return kStopRun;
  if (lead == 1) {
    if ((R2.flags & kFlagOffsetNext) != 0 && FetchNextElement(0) == kStopRun) return kStopRun;
  } else {
    const int setup = SetupCommand();
    if (setup == kStopRun || AbortFlag != 0) return kStopRun;
    if (setup == 0) return StopWithError(kErrorSetupFailed);
  }
  if (RangeStep != 1) {
    std::swap(RangeStart, RangeEnd);
    ElementIndex = RangeEnd;
    const int setup = SetupCommand();
    if (setup == kStopRun || AbortFlag != 0) return kStopRun;
    if (setup == 0) return StopWithError(kErrorSetupFailed);
  }

  R1.d4 = R1.d6;
  R1.d5 = R1.d7;
  EmitContourPrelude();
  if (AbortFlag != 0) return kStopRun;
  R0 = R1;
  ElementIndex = RangeStart;
  if (c.ReferenceFromCommand == 0) c.ReferenceSlot = R1;

  if (RangeStart == RangeEnd) {
    c.RangeCommandIndex = 0;
    return 0;
  }
  engine.call.CallEnd = RangeEnd;
  engine.call.CallStart = RangeStart;
  RangeStart += RangeStep;
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  c.RangeCommandIndex = CommandIndex();
  return 0;
}

int RunContext::CarryCommandValues() {
  ContourWords& c = engine.contour;
  if (R2.d5 != 0.0) {
    c.CarriedValue5 = R2.d5;
  } else if ((R2.flags & kFlagMissingValue5) != 0) {
    c.CarriedValue5 = kPresentMark;
  }
  if (R2.d1 != 0.0) CarriedOffset = R2.d1;
  R2.d1 = CarriedOffset;
  return 0;
}

int RunContext::EmitContourPrelude() { return RunQueuedAtLastOutput(true); }

int RunContext::RunQueuedAtLastOutput(bool prelude) {
  ContourWords& c = engine.contour;
  const double r1x = R1.d6, r1y = R1.d7, r2x = R2.d6, r2y = R2.d7;
  R1.d6 = c.LastOutputPoint[0];
  R1.d7 = c.LastOutputPoint[1];
  R2.d6 = c.LastCommandPoint[0];
  R2.d7 = c.LastCommandPoint[1];

  int status = 0;
  if (prelude) {
    if ((core.OutputFlags & 0x40) != 0) EmitPlaneBlockOnce();
    if (c.StartPointRestored == 0) RestoreStartPoint();
    EmitPlaneBlockOnce();
    c.RangeCommandIndex = 0;
    ProcessQueuedCommands();
    core.TransformMode = 2;
    const int compensation = SubtypeCompensation(R2.code);
    if (compensation >= 0) c.CompensationWord = compensation;
  } else {
    c.CompensationWord = 0;
    status = ProcessQueuedCommands();
  }

  c.LastOutputPoint = {R1.d6, R1.d7};
  c.LastCommandPoint = {R2.d6, R2.d7};
  R1.d6 = r1x;
  R1.d7 = r1y;
  R2.d6 = r2x;
  R2.d7 = r2y;
  return status == kStopRun ? kStopRun : 0;
}

int RunContext::Set_TO(int end) {
  ContourWords& c = engine.contour;
  if (end > 0 && (c.SnapshotCommandCode & 0xFF00) != kContourCommand) return 0;
  if (end < 0) end = 1;
  if (R2.d4 != 0.0) return 0;
  const int subtype = R2.flags & 0xF0;
  if (subtype != 0x00 && subtype != 0x60) return 0;

  // The contour command this lead belongs to: the next 0x7100 after the
  // command (the lead into it) or the last one before it (the lead out).
  LeadStep = end == 0 ? 1 : -1;
  const int last = static_cast<int>(job.CallStack[job.CallDepth].End);
  int index = CommandIndex();
  int found = -1;
  while (index > 0 && index <= last && index < elements.ElementCount) {
    const int kind = elements[index].code & 0xFF00;
    if (kind == 0x6800 || kind == 0x6B00 || kind == 0x6C00 || kind == 0x8000) return 0;
    if (kind == kContourCommand) {
      found = index;
      break;
    }
    index += LeadStep;
  }
  if (found < 0) {
    host.ShowErrorBox(platform::Sjis("GO図形のエラー　Set_TO"));
    StopWithError(kErrorBadElement);
    return 0;
  }
  const NcElement contour = elements[found];

  // The contour's range: its own, or that of the group (at most two levels)
  // it names.
  FixedPointPair pair = SplitFixedPoint(contour.d4);
  for (int level = 0; level < 2; ++level) {
    if (!CheckedIndex(static_cast<int>(pair.whole))) return 0;
    const NcElement& named = elements[static_cast<int>(pair.whole)];
    if (named.code <= kGeometryAbove) break;
    if ((named.code & 0xFF00) == kFilletGroup) return 0;
    pair = SplitFixedPoint(named.d4);
  }
  const int first = static_cast<int>(pair.whole), lastIndex = static_cast<int>(pair.millionths);
  if (!CheckedIndex(first) || !CheckedIndex(lastIndex)) return 0;
  const int nonPoints = ((elements[first].code & 0xFF00) != kCodePoint ? 1 : 0) +
                        ((elements[lastIndex].code & 0xFF00) != kCodePoint ? 1 : 0);

  const bool reversed = (contour.flags & kReversedSide) != 0;
  int chosen = 0;
  if (reversed) {
    c.LeadRangeFirst = lastIndex;
    LeadRangeLast = first;
    chosen = end == 1 ? first : lastIndex;
    LeadStep = end == 1 ? 1 : -1;
  } else {
    c.LeadRangeFirst = first;
    LeadRangeLast = lastIndex;
    chosen = end == 0 ? first : lastIndex;
  }

  double toX = R2.d2, toY = R2.d3;
  if (nonPoints == 0 && (R2.flags & 0xFF) <= 15) {
    toX = elements[chosen].d6;
    toY = elements[chosen].d7;
    chosen += LeadStep;
    if (!CheckedIndex(chosen)) return 0;
  }
  c.LeadElementIndex = chosen;
  if (nonPoints == 2) {
    const double offset = (contour.flags & 3) != 0 ? contour.d1 : 0.0;
    KeepLeadOffInsideCorner(elements, first, lastIndex, end, reversed, offset, toX, toY);
  }
  return PlaceLeadElement(elements[chosen], toX, toY, end, reversed);
}

int RunContext::PlaceLeadElement(const NcElement& e, double toX, double toY, int end, bool reversed) {
  R1.d6 = toX;
  R1.d7 = toY;
  double dx = 0.0, dy = 0.0;
  if (e.d1 != 0.0) {
    WorkVectorX() = e.d1 < 0.0 ? toX - e.d6 : e.d6 - toX;
    WorkVectorY() = e.d1 < 0.0 ? toY - e.d7 : e.d7 - toY;
    NormalizeWorkVector();
    dx = end == 0 ? -WorkVectorX() : WorkVectorX();
    dy = end == 0 ? -WorkVectorY() : WorkVectorY();
  } else if (end == 0) {
    dx = e.d3;
    dy = -e.d2;
  } else {
    dx = -e.d3;
    dy = e.d2;
  }
  if (reversed) {
    dx = -dx;
    dy = -dy;
  }
  R1.d2 = dx;
  R1.d3 = dy;
  R1.code = kCodeLine;
  R1.flags = 0;
  R1.d1 = 0.0;

  // The lead line goes into the scratch entries behind the job's elements.
  const int base = job.JobElementCount;
  const int slot = base + (end == 0 ? 1 : 2);
  if (elements.Capacity() < base + 3 && AllocElementTable(elements.Capacity(), base + 3) != 0) return 0;
  elements[slot] = R1;
  elements.ElementCount = base + 3;
  RangeStart = RangeEnd = slot;
  RangeStep = 1;
  return 1;
}

}  // namespace qup
