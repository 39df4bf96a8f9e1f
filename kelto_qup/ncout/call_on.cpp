// The subprogram call "CALL_ON" (command 0x7800): the group of elements that
// follows the command (up to its closing 0x7400), or the range the command
// names, runs once (a step of 0) or once per pass while a value (a depth or
// an offset) steps from the start value to the final value. The group is
// walked by the interpreter one nesting level deeper.
//
// The call record is save slot 551 (CallRecord): d0 the value of the
// value-stepping kinds, d1 that of kinds 2, 18 and 258, d4 (call index, call
// extra) and d5 (pass kind, call flags) as FixedPointPairs. Calls whose flags
// carry bit 0x8 count their passes in save slot 542's d4/d5 (the two pass
// totals) instead.
//
// Every stepped call ends: the pass that reaches or passes the final value
// (or whose step leads away from it) is the last one.
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorCallRange = 6;   // the intersection range of the call is invalid
constexpr int kErrorCallGroup = 15;  // no closing 0x7400 for the call's group
constexpr std::uint32_t kPassTotalFlag = 0x8;
constexpr std::uint32_t kFromStartFlag = 0x8000;
constexpr std::uint32_t kGroupEndMarker = 0xE12E;
// Values closer than these count as the final value reached.
constexpr double kValueReached = 1e-6;
constexpr double kPassTotalReached = 0.00001;
// A stepped call of more passes than this has a damaged step (a step far too
// small for its range): it is refused instead of running for hours.
constexpr double kMaxCallPasses = 100000.0;

bool SecondValueKind(int kind) { return kind == 2 || kind == 18 || kind == 258; }

// True when `value` has reached or passed `end` going by `step`, or when the
// step leads away from `end`.
bool ReachedOrPassed(double value, double end, double step) { return step == 0.0 || (end - value) * step <= 0.0; }

// Where the line at `position` (x = position for kind 17, y = position for
// kind 18) crosses an element: a line between its two points, an arc on its
// sweep from the element before it.
bool ElementCrosses(const NcElement& e, const NcElement& before, bool alongX, double position) {
  auto coordinate = [alongX](double x, double y) { return alongX ? x : y; };
  if (e.Kind() == 0x1200) {
    const double a = coordinate(e.d6, e.d7);
    const double b = coordinate(e.d4, e.d5);
    return position >= std::fmin(a, b) && position <= std::fmax(a, b);
  }
  if (e.Kind() != 0x1300 || e.d1 == 0.0) return false;
  const double r = std::fabs(e.d1);
  const double cx = e.d6, cy = e.d7;
  const double offset = position - coordinate(cx, cy);
  if (std::fabs(offset) > r) return false;
  const double half = std::sqrt(r * r - offset * offset);
  const double sense = e.d1 > 0.0 ? 1.0 : -1.0;
  auto turn = [&](double fromX, double fromY, double toX, double toY) {
    // The angle from one radius to the other in the arc's turning sense.
    const double ux = fromX - cx, uy = fromY - cy, vx = toX - cx, vy = toY - cy;
    double a = std::atan2(sense * (ux * vy - uy * vx), ux * vx + uy * vy);
    if (a < 0.0) a += 2.0 * 3.14159265358979323846;
    return a;
  };
  const double sweep = turn(before.d4, before.d5, e.d4, e.d5);
  for (const double side : {half, -half}) {
    const double px = alongX ? position : cx + side;
    const double py = alongX ? cy + side : position;
    if (turn(before.d4, before.d5, px, py) <= sweep) return true;
  }
  return false;
}

}  // namespace

int RunContext::RunCallOn() {
  CallWords& c = engine.call;
  // 1.
  c.CallRepeatCount += 1;
  c.CallState = 0;
  c.CallMode = 0;
  c.SteppingWord = 0;
  c.IntersectionKind = 0;
  c.IntersectionValue = 0.0;
  c.StepValue = 0.0;
  c.SecondValueSwitch = 0;
  c.DescendingFlag = 0;
  c.OptionWord = R2.int1;
  c.CallIndex = CommandIndex();
  c.CallLimitIndex = c.CallIndex;
  c.RecordedDepth = job.CallDepth;

  // 2. A plain call: the group once.
  if (R2.d2 == 0.0) {
    c.CallValue = R2.d1;
    if (FindCallGroup() == kStopRun) return kStopRun;
    if (RunElementRange() == kStopRun) return kStopRun;
    return ResumeCallLoop() == kStopRun ? kStopRun : 0;
  }

  if (!(std::fabs(R2.d3 - R2.d1) / std::fabs(R2.d2) <= kMaxCallPasses)) return StopWithError(kErrorCallRange);

  // 3. The call record set up by the kind.
  SwapR1WithSlot(SaveSlot::Slot551);
  StoreRegisterByCode(25);
  const FixedPointPair kept = core.StoredValuePairs[4];
  std::uint32_t passKind = kept.whole;
  std::uint32_t callFlags = kept.millionths;
  const int kind = R2.flags & 0x1FFF;
  const double start = R2.d1;
  const double step = R2.d2;
  const bool firstCode = std::fabs(start) >= 11.0;
  c.CallMode = kind == 0 ? 1 : kind == 1 ? 2 : 0;
  bool intersect = false;
  switch (kind) {
    case 0:
    case 1:
      c.CallState = firstCode ? 17 : 18;
      if (kind == 0) c.StepValue = step;
      c.SteppingWord |= 0x10;
      R1.d0 = start;
      if (c.SteppingWord == 0x11) {
        if (step < 0.0) c.DescendingFlag = 1;
      } else {
        passKind = 1;
        callFlags = 1;
      }
      if (kind == 1) c.StepValue = 0.0;
      break;
    case 2:
      c.CallState = firstCode ? 49 : 50;
      R1.d1 = start;
      c.SteppingWord |= 0x1;
      c.SecondValueSwitch = 1;
      break;
    case 3:
      R1.d0 = start;
      passKind = 2;
      break;
    case 4:
      R1.d0 = start;
      passKind = 3;
      break;
    case 17:
    case 18:
      c.CallState = firstCode ? 49 : 50;
      c.StepValue = step;
      if (R2.d7 != 0.0) {
        // The first pass at the start value, on the part of the range that
        // the line there crosses.
        c.IntersectionKind = kind;
        c.IntersectionValue = -step;
        intersect = true;
        if (kind == 18) {
          R1.d1 = start;
          c.SteppingWord |= 0x1;
        }
      } else {
        R1.d0 = R1.d1 = 0.0;
        passKind = kind == 17 ? 1 : 0;
        callFlags = kind == 17 ? 9 : 8;
        ResetCallState();
        if (kind == 18) c.SteppingWord |= 0x1;
      }
      break;
    case 0x101:
    case 0x102:
      c.SavedCallFrames[0] = c.SavedCallFrames[1] = NcElement{};
      R1.d0 = kind == 0x101 ? start : 0.0;
      R1.d1 = kind == 0x101 ? 0.0 : start;
      passKind = kind == 0x101 ? 1 : 0;
      callFlags = kind == 0x101 ? 0x8001 : 0x8000;
      break;
    case 0x110:
      R1.d0 = R1.d1 = 0.0;
      passKind = 1;
      callFlags = 0x8009;
      ResetCallState();
      break;
    case 0x1001:
      R1.d0 = start;
      passKind = 1;
      callFlags = 1;
      c.RotationCallSwitch = 1;
      job.FeatureBits |= 0x0800;
      break;
    default:
      break;
  }

  // 4. The call recorded.
  R1.d4 = JoinFixedPoint(static_cast<std::uint32_t>(c.CallIndex), static_cast<std::uint32_t>(c.CallExtra));
  R1.d5 = JoinFixedPoint(passKind, callFlags);
  SwapR1WithSlot(SaveSlot::Slot551);
  if (intersect && RunCallIntersectionPass(true) == kStopRun) return kStopRun;
  UpdateCallValue();

  // 5. A screw run takes the call's values without running the group here.
  if (output.ScrewMode == 11) {
    c.CallRepeatCount = 0;
    return 0;
  }

  // 6. One pass per value.
  for (;;) {
    // Every pass lets the user stop the run.
    if (PollAbort() == kStopRun) return kStopRun;
    if (FindCallGroup() == kStopRun) return kStopRun;
    if (RunElementRange() == kStopRun) return kStopRun;
    if (job.CallDepth == 0 || (R2.code & 0xFF00) == 0x6900) return kStopRun;
    if (c.ContourPassWord == 0 || c.ContourPassWord == 2) {
      if (!CheckedLoad(R2, c.CallIndex)) return kStopRun;
      UnpackCommandValue(4);
      const int finished = FinishCallGroup();
      if (finished == kStopRun) return kStopRun;
      if (finished == 0) continue;
      if (CountCallRepeat() == kStopRun) return kStopRun;
      break;
    }
    // The contour loop stopped inside the group: the walk goes on where it
    // stopped.
    RangeFrame& frame = job.CallStack[job.CallDepth];
    frame.Current = job.CallStack[job.CallDepth + 1].Current - 1;
    c.CallRepeatCount = 0;
    c.CallState = 0;
    break;
  }
  // 7.
  AddDisplayMarker(0);
  return 0;
}

int RunContext::FindCallGroup() {
  if (RangeStart != 0) {
    // The command named its group: it must name elements of this job.
    if (!CheckedIndex(RangeStart) || !CheckedIndex(RangeEnd)) return kStopRun;
    return 0;
  }
  const RangeFrame& frame = job.CallStack[job.CallDepth];
  const int first = static_cast<int>(frame.Current) + 1;
  RangeStart = RangeEnd = first;
  int counted = 0;
  for (int index = first; static_cast<std::uint32_t>(index) <= frame.End && index < elements.ElementCount; ++index) {
    RangeEnd = index;
    const int code = elements[index].code;
    if (code == 0x7400) return 0;
    const int kind = code & 0xFF00;
    if (kind == 0x8000 || kind == 0x7F00) {
      counted += 1;
    } else if (counted != 0 && kind == 0x7400) {
      return 0;
    }
  }
  return StopWithError(kErrorCallGroup);
}

int RunContext::FinishCallGroup() {
  CallWords& c = engine.call;
  // 1.
  AddDisplayMarker(kGroupEndMarker);
  for (const int index : job.MarkList) {
    if (index > 0 && index < elements.ElementCount) elements[index].flags &= ~0x0F00;
  }
  // The next pass comes down again by the approach queued before the call:
  // the queue as it was published, its entries free to be written again.
  job.CommandQueue = job.QueueSnapshot;
  job.QueueCount = job.QueueSnapshotCount;
  for (int i = 0; i < job.QueueCount; ++i) {
    const int index = job.CommandQueue[static_cast<std::size_t>(i)];
    if (index > 0 && index < elements.ElementCount) elements[index].flags &= ~0x0F00;
  }
  const int kind = R2.flags & 0x1FFF;
  const double step = R2.d2;
  const double end = R2.d3;
  // 2.
  SwapR1WithSlot(SaveSlot::Slot551);
  StoreRegisterByCode(25);
  const std::uint32_t callFlags = core.StoredValuePairs[4].millionths;
  int result = 0;
  if ((callFlags & kPassTotalFlag) != 0) {
    // 3. The pass totals in slot 542.
    c.CallPassWord = 0xFFFF;
    SwapR1WithSlot(SaveSlot::Slot551);
    NcElement& totals = Slot(SaveSlot::Slot542);
    double pass = kind == 18 ? totals.d5 : totals.d4;
    double base = 0.0;
    if ((callFlags & kFromStartFlag) != 0) {
      if (c.AngularSwitch == 0) {
        base = c.SavedCallStart;
        pass += base;
      } else {
        pass = end;
      }
    }
    if (ReachedOrPassed(pass, end, step)) pass = end;
    const double distance = pass - end;
    if (std::fabs(distance) > kPassTotalReached) {
      // The next pass, never beyond the final value.
      double next = pass + step;
      if (ReachedOrPassed(next, end, step)) next = end;
      totals.d4 += next - pass;
      totals.d5 += next - pass;
      result = 0;
    } else {
      totals.d5 = 0.0;
      result = 1;
    }
  } else if (c.IntersectionKind != 0) {
    // 4.
    SwapR1WithSlot(SaveSlot::Slot551);
    result = RunCallIntersectionPass(false);
    if (result == kStopRun) return kStopRun;
  } else {
    // 5. Value stepping in the call record.
    double& stored = SecondValueKind(kind) ? R1.d1 : R1.d0;
    const double current = stored;
    if (std::fabs(current - end) < kValueReached) {
      stored = 0.0;
      result = 1;
    } else {
      double next = current + step;
      double remaining = end - next;
      if (step < 0.0) remaining = -remaining;
      if (RoundTo3Decimals(remaining) <= 0.0) {
        next = end;
        if (step < 0.0 && (c.OptionWord & 0xFF) != 0) c.OptionWord |= 0x8000;
      }
      stored = next;
      result = 0;
    }
    SwapR1WithSlot(SaveSlot::Slot551);
  }
  if (c.ContourPassWord == 2) {
    c.ContourPassWord = 0;
    return 2;
  }
  if (result == 0) UpdateCallValue();
  return result;
}

int RunContext::RunCallIntersectionPass(bool first) {
  CallWords& c = engine.call;
  if (first) c.IntersectionLastRun = 0;
  if (c.IntersectionLastRun != 0) return 1;  // the pass at the final value has run
  c.IntersectionValue += R2.d2;
  double position = R2.d1 + c.IntersectionValue;
  if (std::fabs(R2.d3 - position) < kValueReached || ReachedOrPassed(position, R2.d3, R2.d2)) {
    position = R2.d3;
    c.IntersectionValue = R2.d3 - R2.d1;
    c.IntersectionLastRun = 1;
  }
  // The range the line crosses: its first and last crossed elements.
  const FixedPointPair range = SplitFixedPoint(R2.d7);
  const int from = static_cast<int>(range.whole);
  const int to = static_cast<int>(range.millionths);
  if (!CheckedIndex(from) || !CheckedIndex(to)) return kStopRun;
  if (from > to) return StopWithError(kErrorCallRange);
  const bool alongX = c.IntersectionKind == 17;
  int firstHit = -1;
  int lastHit = -1;
  for (int index = from; index <= to; ++index) {
    const NcElement& before = elements[index > from ? index - 1 : index];
    if (ElementCrosses(elements[index], before, alongX, position)) {
      if (firstHit < 0) firstHit = index;
      lastHit = index;
    }
  }
  if (firstHit < 0) {
    if (first) return StopWithError(kErrorCallRange);
    return 1;  // the line has left the range: no further pass
  }
  c.CallStart = firstHit;
  c.CallEnd = lastHit;
  c.CallValue = position;
  return 0;
}

int RunContext::CountCallRepeat() {
  CallWords& c = engine.call;
  UnpackCommandValue(4);
  if (RangeStart == 0) {
    if (FindCallGroup() == kStopRun) return kStopRun;
    // The walk goes on after the group.
    job.CallStack[job.CallDepth].Current = static_cast<std::uint32_t>(RangeEnd);
  }
  c.CallRepeatCount -= 1;
  if (c.CallRepeatCount <= 0) {
    c.CallRepeatCount = 0;
    c.CallState = 0;
    c.CallMode = 0;
    c.SteppingWord = 0;
    c.IntersectionKind = 0;
  }
  return 0;
}

int RunContext::ResumeCallLoop() {
  if (!CheckedLoad(R2, CommandIndex())) return kStopRun;
  return CountCallRepeat();
}

int RunContext::ResetCallState() {
  CallWords& c = engine.call;
  c.SavedCallStart = R2.d1;
  c.SavedCallEnd = R2.d3;
  c.CallOffsets = {};
  c.SteppingWord = 0;
  c.SavedCallFrames = {};
  NcElement& totals = Slot(SaveSlot::Slot542);
  totals.d4 = 0.0;
  totals.d5 = 0.0;
  return 0;
}

void RunContext::UpdateCallValue() {
  CallWords& c = engine.call;
  const NcElement& record = CallRecord();
  const std::uint32_t callFlags = SplitFixedPoint(record.d5).millionths;
  const int kind = R2.flags & 0x1FFF;
  if ((callFlags & kPassTotalFlag) != 0) {
    const NcElement& totals = Slot(SaveSlot::Slot542);
    double value = kind == 18 ? totals.d5 : totals.d4;
    if ((callFlags & kFromStartFlag) != 0) value = c.AngularSwitch == 0 ? value + c.SavedCallStart : R2.d3;
    c.CallValue = value;
  } else if (c.IntersectionKind != 0) {
    c.CallValue = R2.d1 + c.IntersectionValue;
  } else {
    c.CallValue = SecondValueKind(kind) ? record.d1 : record.d0;
  }
}

}  // namespace qup
