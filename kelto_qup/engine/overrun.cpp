// The overrun of command kind 0x74: after a contour has been cut the tool
// runs on past its end along the last element by the overrun length, and
// the cycle words of the contour are repeated there. The end lead of the
// contour before it (Set_TO with end 1) or the command's own range is walked
// back to the contour, the contour element run is made there, then once more
// at the extended position.
#include <algorithm>
#include <array>
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kSecondPassOverrun = 0x7410;
constexpr int kContourElementKind = 6;  // the pending command kind of a contour element run
constexpr int kNothingCut = 2;
constexpr int kFlagOffsetNext = 0x200;
constexpr int kErrorNoOverrun = 14;
constexpr double kTwoPi = 6.283185307179586;
constexpr int kCycleMarkBlock = 33419;
constexpr int kCycleForwardBlock = 33435;
constexpr int kCycleBackwardBlock = 33451;

}  // namespace

int RunContext::SetSideFromCommand() {
  ContourLoopWords& w = core.loop;
  const FixedPointPair pair = SplitFixedPoint(R2.d6);
  engine.stepping.GroupFlags = static_cast<int>(pair.millionths);
  core.OutputFlags = (core.OutputFlags & ~7) | static_cast<int>(pair.millionths & 7);
  w.CommandSave = R2;
  w.CommandSave.d5 = 0.0;
  return 0;
}

// Moves the point (x, y) by the overrun length along the last element: round
// the centre of an arc (counter-clockwise for a positive radius), straight
// on along a line. The direction (dx, dy) turns with an arc.
static void ExtendAlongElement(RunContext& run, const NcElement& last, double length, double& x, double& y, double& dx,
                               double& dy) {
  if (last.d1 == 0.0) {
    x += length * last.d2;
    y += length * last.d3;
    return;
  }
  const double angle = length * 360.0 / std::fabs(kTwoPi * last.d1);
  const auto [cs, sn] = DegToCosSin(last.d1 > 0.0 ? angle : -angle);
  const double vx = x - last.d6, vy = y - last.d7;
  x = last.d6 + cs * vx - sn * vy;
  y = last.d7 + sn * vx + cs * vy;
  const double tx = cs * dx - sn * dy, ty = sn * dx + cs * dy;
  dx = tx;
  dy = ty;
  run.TraceMessage(platform::Sjis("オーバーラン位置"), 0, 0);
}

// How far the tool at (x, y) on the arc `arc` (centre d6/d7, radius d1,
// counter-clockwise when positive) may run on round it to `end`: the arc
// length in its turning sense.
static double ArcRoomTo(const NcElement& arc, double x, double y, const std::array<double, 2>& end) {
  const double ax = x - arc.d6, ay = y - arc.d7;
  const double bx = end[0] - arc.d6, by = end[1] - arc.d7;
  double turn = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
  if (arc.d1 < 0.0) turn = -turn;
  if (turn < -1e-6) turn += kTwoPi;  // at the end itself: no room
  return std::max(turn, 0.0) * std::fabs(arc.d1);
}

// The lead line out of a closed contour that was walked back onto its first
// element: the lead built for the range's last element is turned to stand
// on the first, with the same reversed sense, through the same TO point or,
// with `atStart`, through the first element's start.
static void AimLeadAtElement(RunContext& run, int leadIndex, int builtOn, int closedOn, bool atStart) {
  auto normal = [&](const NcElement& e, double& dx, double& dy) {
    if (e.d1 != 0.0) {
      const double vx = e.d1 < 0.0 ? run.R1.d6 - e.d6 : e.d6 - run.R1.d6;
      const double vy = e.d1 < 0.0 ? run.R1.d7 - e.d7 : e.d7 - run.R1.d7;
      const double len = std::hypot(vx, vy);
      dx = len > 1e-12 ? vx / len : 1.0;
      dy = len > 1e-12 ? vy / len : 0.0;
    } else {
      dx = -e.d3;
      dy = e.d2;
    }
  };
  double bx = 0.0, by = 0.0, cx = 0.0, cy = 0.0;
  normal(run.elements[builtOn], bx, by);
  if (atStart) {
    run.R1.d6 = run.core.loop.ClosedStartPoint[0];
    run.R1.d7 = run.core.loop.ClosedStartPoint[1];
  }
  normal(run.elements[closedOn], cx, cy);
  const double sense = bx * run.R1.d2 + by * run.R1.d3 < 0.0 ? -1.0 : 1.0;
  run.R1.d2 = sense * cx;
  run.R1.d3 = sense * cy;
  run.elements[leadIndex] = run.R1;
  run.engine.contour.LeadElementIndex = closedOn;
}

// The overrun before the return pass of a there-and-back cut leaves the tool
// at the foot of its lead (it runs on no further): the return pass enters
// by that lead (R1 as Set_TO built it and the closing joint turned it), on
// the element it stands on.
void RunContext::KeepReturnLead(int overrunIndex, bool nothingCut) {
  ContourLoopWords& w = core.loop;
  w.ReturnLeadCommand = overrunIndex;
  w.ReturnNothingCut = nothingCut ? 1 : 0;
  w.ReturnLead = R1;
  w.ReturnLeadElement = engine.contour.LeadElementIndex;
}

int RunContext::ProcessOverrun() {
  ContourWords& c = engine.contour;
  ContourLoopWords& w = core.loop;
  OutputState& o = output;
  // Every exit gives the transform mode back as it was on entry.
  w.SavedTransformMode = core.TransformMode;
  auto leave = [&](int result) {
    core.TransformMode = w.SavedTransformMode;
    return result;
  };
  // Leaving the called group early: the walks above the call's level end,
  // the call's frame moves past the group, and the next contour command runs
  // as a contour element again whatever move kind was pending here.
  auto leaveCall = [&]() {
    job.CallDepth = engine.call.RecordedDepth;
    output.PendingCommandWord = kContourElementKind;
    core.TransformMode = w.SavedTransformMode;
    w.GroupEndFlag = 0;
    w.ConsumedGuard = 0;
    ResumeCallLoop();
    return kStopRun;
  };

  // The walk's closing element is this overrun's alone.
  const int closedOn = w.ClosedOnElement;
  const bool closedAtStart = w.ClosedAtStart != 0;
  w.ClosedOnElement = -1;
  w.ClosedAtStart = 0;

  // 1. Nothing was cut: nothing to run on from.
  if (c.CompensationWord != 0) c.CompensationWord |= 0x02;
  if (engine.call.ContourPassWord == kNothingCut || c.ReferenceFromCommand != 0) {
    if (R2.code == kSecondPassOverrun) KeepReturnLead(CommandIndex(), true);
    return leave(0);
  }

  // 2.
  TraceStep(145, 2);
  const double overrunAsked = R2.d0;
  const int keptOptions = RangeOptions;
  core.OffsetMode = 0;
  const int commandIndex = CommandIndex();
  RangeStep = 0;
  RangeOptions = ((R2.flags >> 16) & 0xF) * 2;
  core.FlagWord = RangeOptions;

  // 3. A set-up pass holds the contour: the overrun pass machines it.
  if (((engine.call.ContourPassWord >> 8) & 0xFF) != 0) {
    if ((R2.flags & kFlagOffsetNext) != 0) core.OffsetMode = 1;
    OverrunPass();
    return leave(AbortFlag != 0 ? kStopRun : 0);
  }

  // 4.
  SetSideFromCommand();
  w.RangeOptionsCopy = RangeOptions & ~0x08;
  core.OffsetMode = (R2.flags & kFlagOffsetNext) != 0 ? 1 : 0;
  c.RangeCommandIndex = 0;

  // 5. The end lead of the contour, or the command's own range.
  bool cycleBlocks = false;
  bool setupFailed = false;
  double keptR3x = R3.d4, keptR3y = R3.d5;
  const int lead = Set_TO(1);
  if (AbortFlag != 0) return leave(kStopRun);
  if (lead == 1 && closedOn >= 0 && CheckedIndex(closedOn) && CheckedIndex(c.LeadElementIndex)) {
    AimLeadAtElement(*this, RangeStart, c.LeadElementIndex, closedOn, closedAtStart);
  }
  if (lead == 1 && R2.code == kSecondPassOverrun) KeepReturnLead(commandIndex, false);
  if (lead == 1 && (R2.flags & kFlagOffsetNext) != 0) {
    R1.d4 = R1.d6;
    R1.d5 = R1.d7;
    cycleBlocks = true;
    if (FetchNextElement(0) == kStopRun || AbortFlag != 0) return leave(kStopRun);
  } else if (lead != 1) {
    const int setup = SetupCommand();
    if (setup == kStopRun || AbortFlag != 0) return leave(kStopRun);
    setupFailed = setup == 0;
  }
  // 6.
  if (!setupFailed && RangeStep != 1) {
    std::swap(RangeStart, RangeEnd);
    const int setup = SetupCommand();
    if (setup == kStopRun || AbortFlag != 0) return leave(kStopRun);
    setupFailed = setup == 0;
  }
  if (!setupFailed) {
    R1.d4 = R1.d6;
    R1.d5 = R1.d7;
    // 7. Back to the contour by traversal.
    if ((R2.flags & 0xF0) != 0) {
      RangeStep = 1;
    } else if (RangeStart != RangeEnd) {
      w.OverrunReverse = 0xFFFF;
      c.RangeCommandIndex = commandIndex;
      const int found = RunTraversalFromCurrent();
      if (AbortFlag != 0) return leave(kStopRun);
      if (found == kStopRun) {
        // Outside a called group nothing found is a fault of the data, not
        // the end of it: the rest of the job must not be lost silently.
        if (job.CallOnActive == 0) return leave(StopWithError(kErrorNoOverrun));
        return leaveCall();
      }
      SwapR0R1();
      RangeStep = 1;
      R1.code = w.RangeOptionsCopy;
    } else {
      RangeStep = 1;
    }
  }

  // 8. The contour run at the contour's end.
  RangeOptions = keptOptions;
  const NcElement frameR0 = R0, frameR1 = R1;
  w.StopRequest = 0xFFFF;
  c.FineFitWord = 1;
  TraceStep(145, 8);
  if (RunContourCommand() == kStopRun || AbortFlag != 0) {
    c.FineFitWord = 0;
    return leave(kStopRun);
  }

  // 9. The run on past the end.
  if (overrunAsked > 0.0) {
    R0 = frameR0;
    R1 = frameR1;
    double length = job.OverrunLength;
    // After the closing joint of a closed contour the overrun runs over
    // what was cut first: on a line it ends where the first cut left the
    // element, at the corner, rather than run on into the next wall.
    if (closedOn >= 0) {
      const double room = R0.d1 == 0.0 ? (w.ClosedElementEnd[0] - R1.d4) * R0.d2 + (w.ClosedElementEnd[1] - R1.d5) * R0.d3
                                       : ArcRoomTo(R0, R1.d4, R1.d5, w.ClosedElementEnd);
      length = std::clamp(room, 0.0, length);
    }
    ExtendAlongElement(*this, R0, length, R1.d4, R1.d5, R1.d2, R1.d3);
    R1.d6 = R1.d4;
    R1.d7 = R1.d5;
    RangeOptions = keptOptions;
    w.StopRequest = 0xFFFF;
    c.FineFitWord = 1;
    TraceMessage(platform::Sjis("オーバーラン処理GOO"), 0, 0);
    if (RunContourCommand() == kStopRun || AbortFlag != 0) return leave(kStopRun);
  }

  // 10.-13. The cycle words of the contour repeated at the overrun position.
  if (cycleBlocks) {
    const OutputState::CycleSettings& cycle = o.Cycle;
    const bool allowed = BlockOutputOn();
    w.CycleBlockWord = 0xFFFF;
    if (cycle.Distance > 0.01) {
      if (allowed) ExpandBlockTemplate(3);
      const double keptX = R0.d4, keptY = R0.d5;
      const std::array<double, 2> keptPoint = cycle.Point;
      const double sign = (cycle.Options & 0x01) != 0 ? 1.0 : -1.0;
      double px = cycle.Variant == 0 ? R0.d4 : cycle.Point[0];
      double py = cycle.Variant == 0 ? R0.d5 : cycle.Point[1];
      px += sign * cycle.Distance * R1.d2;
      py += sign * cycle.Distance * R1.d3;
      R0.d4 = px;
      R0.d5 = py;
      o.Cycle.Point = {px, py};
      R2.d6 = c.LastCommandPoint[0];
      R2.d7 = c.LastCommandPoint[1];
      o.Cycle.BlockCode = kCycleMarkBlock;
      if (EmitElementAtMode(1) == kStopRun) return leave(kStopRun);
      if (allowed && o.CycleSwitch != 0 && w.ApproachMode != 0) WriteBlock("G75");
      if (allowed) ExpandBlockTemplate(30);
      R0.d4 = keptX;
      R0.d5 = keptY;
      o.Cycle.Point = keptPoint;
      o.Cycle.BlockCode = (cycle.Options & 0x01) != 0 ? kCycleForwardBlock : kCycleBackwardBlock;
      if (EmitElementAtMode(1) == kStopRun) return leave(kStopRun);
    }
    if (allowed && cycle.Value != 0.0 && w.ApproachMode == 0 &&
        ((cycle.Switches & 1) != 0 || (cycle.Switches & 2) == 0)) {
      PutBlockText((cycle.Options & 0x01) != 0 ? "G51" : "G52");
      PutWordValue(cycle.Letter != 0 ? cycle.Letter : 'P', cycle.Value);
      if (EndBlock() == kStopRun) return leave(kStopRun);
      const double further = cycle.Count != 0 ? cycle.Value2 : cycle.Value3;
      if (further != 0.0) {
        PutModeLetter();
        PutValueOneDecimal(further);
        if (EndBlock() == kStopRun) return leave(kStopRun);
      }
    }
    // 12. The contour run once more from the overrun position.
    R0 = frameR0;
    R1 = frameR1;
    R3.d4 = keptR3x;
    R3.d5 = keptR3y;
    RangeOptions = keptOptions;
    R2.d1 = 0.0;
    w.StopRequest = 0xFFFF;
    c.FineFitWord = 1;
    w.OneShotOutput = 1;
    if (RunContourCommand() == kStopRun || AbortFlag != 0) return leave(kStopRun);
    if (allowed) ExpandBlockTemplate(3);
  }

  // 14.
  R0.d4 = c.LastCommandPoint[0];
  R0.d5 = c.LastCommandPoint[1];
  c.FineFitWord = 0;
  if (ProcessQueuedCommands() == kStopRun) return leave(kStopRun);
  R1 = R0;
  R0 = frameR0;
  w.OverrunReverse = 0;

  // 15. The overrun before a second pass closes the call group it runs in.
  // The call record outlives its call: outside one (or after it ended) the
  // record names a call that is over, whose group must not be finished
  // again nor the walk moved past it.
  if (R2.code == kSecondPassOverrun) {
    w.GroupEndFlag = 0xFFFF;
    w.ConsumedGuard = 0xFFFF;
    const int callIndex = static_cast<int>(SplitFixedPoint(CallRecord().d4).whole);
    const bool inCall = job.CallOnActive != 0 && engine.call.CallRepeatCount > 0 &&
                        job.CallDepth > engine.call.RecordedDepth;
    if (callIndex != 0 && inCall) {
      if (!CheckedLoad(R2, callIndex)) return leave(kStopRun);
      const int finished = FinishCallGroup();
      if (finished != 0) return leaveCall();
    }
  }
  // 16.
  return leave(0);
}

int RunContext::RunTraversalFromCurrent() {
  ContourLoopWords& w = core.loop;
  // 1.
  if (job.CallOnActive != 0) R0 = w.LeadSave;
  int side = 0;
  if (w.OverrunReverse != 0) {
    w.TraverseMarkB = RangeStart;
    side = kReversedSide;
  } else {
    w.TraverseMarkA = RangeStart;
  }
  core.FlagWord = side;
  R0.flags |= side;
  // 2.
  if ((R1.code & 0xFF00) == kCodePoint) {
    R0.d6 = R1.d6;
    R0.d7 = R1.d7;
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    if (FetchNextElement(0) == kStopRun || AbortFlag != 0) return kStopRun;
  }
  // 3.
  engine.contour.SecondRangeWord = 0xFFF0;
  Slot(SaveSlot::Slot726) = R0;
  const int mode = RangeStep == 1 ? 0 : kWalkKeepReference;
  // 4.
  int result = 1;
  while (result == 1) {
    result = TraverseElements(mode);
    if (result == kStopRun || AbortFlag != 0) return kStopRun;
  }
  if (result == 0) {
    if (w.TraverseMarkA != w.TraverseMarkB) return StopWithError(kErrorNoOverrun);
    result = kStopRun;
  }
  // 5.
  R0.d4 = R3.d4;
  R0.d5 = R3.d5;
  R0.flags &= 0xFFFF;
  R1.flags &= 0xFFFF;
  SwapR1WithSlot(SaveSlot::Slot726);
  return result;
}

}  // namespace qup
