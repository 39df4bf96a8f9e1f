// The contour walk of command kind 0x71: hab_goo fixes the side, direction
// and offset of the walk over the range the command (or the figure group it
// names) gives, marks the range as in use, and HabGooLoop runs the contour
// element run for every usable element of it. The run boundaries of a
// one-shot command and the entry element of a subprogram call are built here
// too.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "kelto_qup/engine/inside_corners.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kContourCommand = 0x7100;
constexpr int kSetupVariant = 0x7140;
constexpr int kSideTestVariant = 0x7180;
constexpr int kOverrunCommand = 0x7400;
constexpr int kSecondPassOverrun = 0x7410;  // the overrun before the return pass
constexpr int kFilletGroup = 0x39;
constexpr int kFirstGroupCode = 0x3001;
constexpr int kLastGroupCode = 0x3FFF;
constexpr int kLastDirectCode = 0x1900;  // codes up to it are walked directly
constexpr int kLastGeometryCode = 0x1FFF;
constexpr int kRangeInUse = 0x10000000;
constexpr int kSavedReversed = 0x5000000;
constexpr int kMarkedReversed = 0x15050000;
constexpr int kNothingCut = 2;
constexpr int kEmptyElement = 0x1001;
constexpr int kErrorCallEntry = 7;
constexpr int kErrorRejoin = 9;
constexpr int kErrorBoundaryCommand = 10;
constexpr int kErrorNoOverrun = 14;
constexpr int kErrorNoCrossing = 16;
// The call state in which the call gives the contour its offset.
constexpr int kCallGivesOffset = 17;

int KindOf(const NcElement& e) { return (e.code >> 8) & 0xFF; }
bool IsPoint(const NcElement& e) { return (e.code & 0xFF00) == kCodePoint; }
bool IsCircle(const NcElement& e) { return (e.code & 0xFF00) == kCodeArc; }

}  // namespace

// The first line or circle of the range in walking order: the element at
// RangeStart, or the one after it (by `step`) when that is a point.
static int FirstLineOrCircle(const RunContext& run, int start, int step) {
  if (start < 0 || start >= run.elements.ElementCount) return -1;
  if (!IsPoint(run.elements[start])) return start;
  const int next = start + (step < 0 ? -1 : 1);
  return next >= 0 && next < run.elements.ElementCount ? next : -1;
}

bool RunContext::InDepthCall() const {
  return job.CallOnActive != 0 && job.CallDepth > engine.call.RecordedDepth && engine.call.CallMode != 0;
}

int RunContext::hab_goo() {
  ContourWords& c = engine.contour;
  ContourLoopWords& w = core.loop;
  TraceStep(143, 1);
  c.ContourRunMark = 0;
  if (AbortFlag != 0) return kStopRun;
  // The return pass of a there-and-back cut (the contour right after an
  // overrun 0x7410) has no cut-in of its own: it enters by the lead that
  // overrun kept (EnterReturnPass). Without one (the overrun left by a
  // figure or a range of its own) where the tool stands is not known, and
  // a walk joined to anything else would cut across the contour: stop with
  // the error of a cut that cannot be chained on from the one before.
  const bool returnPass = R2.code == kContourCommand && CommandIndex() > 0 &&
                          CommandIndex() < elements.ElementCount &&
                          elements[CommandIndex() - 1].code == kSecondPassOverrun;
  if (returnPass && w.ReturnLeadCommand != CommandIndex() - 1) return StopWithError(kErrorNoOverrun);
  // The first pass over the same contour with the same offset cut nothing:
  // neither does the way back, nor the overrun after it.
  if (returnPass && w.ReturnNothingCut != 0) {
    w.ReturnLeadCommand = -1;
    engine.call.ContourPassWord = kNothingCut;
    return 0;
  }
  w.ReturnPassPending = returnPass ? 1 : 0;

  // 2. The group's approach and flags are this command's own: nothing of
  // the previous contour carries over.
  w.ColourWords = {R2.int3, R2.int3};
  w.ApproachValue = 0.0;
  w.ApproachPoint = {};
  w.ApproachMode = 0;
  w.OneShotApproach = 0;
  engine.stepping.GroupFlags = 0;
  // Its first element starts the contour (an approach or a linking move).
  c.StartWord = 0;
  // The contour command describes the cut: its depth (d5) is the height of
  // the per-element motion, its d7 the feed.
  engine.stepping.SectionCommand = R2;
  c.SectionCommand = R2;
  if (c.SectionCommand.d5 == 0.0) c.SectionCommand.d5 = c.CarriedValue5;
  // A depth call (a joint stepping a value) cuts each pass at its value.
  if (InDepthCall()) engine.stepping.SectionCommand.d5 = engine.call.CallValue;

  // 3. An explicit offset (flags 0x300 with d1).
  core.OffsetMode = 0;
  core.StoredOffset = 0.0;
  core.FlagWord = R2.flags & 0x300;
  if ((R2.flags & 0x300) == 0x300 && R2.d1 != 0.0) {
    core.StoredOffset = R2.d1;
    core.FlagWord = R2.flags & 3;
    if ((R2.flags & 2) == 0) core.OffsetMode = 1;
  }

  // 4.
  engine.call.ContourPassWord = 0;
  w.ContourPassBits &= ~0xF0;
  c.CompensationRequest = (c.OutputOptionWord & 0x800) == 0 ? 0x8000 : 0;

  // 5. The variants keep their values aside; 0x7181 asks for the side test.
  core.SideCheckFlags = 0;
  c.StyleResult = 0;
  const int variantCode = R2.code;
  if (variantCode != kContourCommand) {
    core.StoredOffset = R2.d1;
    w.CommandValue3 = R2.d3;
    R2.d2 = 0.0;
    R2.code &= ~0xF;
    if (variantCode == kSideTestVariant + 1) {
      c.StyleResult = Style_Check();
      if (AbortFlag != 0) return kStopRun;
      core.SideCheckFlags = 17;
    }
  }

  // 6.
  w.WalkBackwards = (R2.flags & 0xF0000) == 0x70000 ? 1 : 0;
  if (w.WalkBackwards != 0) R2.flags &= ~0x20000;

  // 7.
  RangeOptions = (R2.flags >> 15) & 0xA;
  core.FlagWord = RangeOptions;
  w.RangeOptionsCopy = RangeOptions;
  if (!CheckedIndex(RangeStart) || !CheckedIndex(RangeEnd)) return kStopRun;
  if (w.ConsumedGuard != 0xFFFF) {
    const int first = FirstLineOrCircle(*this, RangeStart, 1);
    if (first >= 0) elements[first].flags &= 0xFFFF;
  }

  // 8. Side and direction.
  w.MarkReversed = 0;
  const int sideBits = R2.flags & 0xFF0000;
  if (sideBits == kReversedSide) {
    std::swap(RangeStart, RangeEnd);
  } else if (sideBits != 0) {
    RangeStep = 1;
    if (w.WalkBackwards != 0) {
      std::swap(RangeStart, RangeEnd);
      RangeStep = -1;
    } else {
      RangeOptions = 0;
    }
    const int first = FirstLineOrCircle(*this, RangeStart, RangeStep);
    if (first >= 0) elements[first].flags |= kReversedSide;
    w.MarkReversed = 1;
  }

  // 9.
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  w.FirstElementIndex = RangeStart;
  R1.code |= RangeOptions & 3;

  // 10. A range of geometry: walked directly.
  if (R1.code <= kLastDirectCode) {
    w.FirstElementIndex = 0;
    w.RangeOptionsCopy &= ~0x08;
    engine.stepping.GroupFlags = R2.flags;
    const bool negatedForCall = (RangeOptions & 8) != 0 && (engine.call.CallState & 1) != 0;
    if (negatedForCall) R2.d1 = -R2.d1;
    SelectOffsetSide();
    // Inside a call whose passes give the offset, the command's own offset
    // gives way to it; a depth call keeps it (each pass cuts the same path).
    if (job.CallOnActive != 0 && engine.call.CallState == kCallGivesOffset) {
      R2.d1 = 0.0;
      core.OffsetMode = 0;
    }
    if ((R2.code & 0xFFF0) == kSideTestVariant) {
      if (((core.OutputFlags >> 8) & 0xED) != 0) {
        engine.stepping.ExtraOffset = 0.0;
        core.OffsetMode = 1;
      }
    } else if (R3.d0 != 0.0 || engine.stepping.ExtraOffset != 0.0) {
      R3.d0 = 0.0;
      engine.stepping.ExtraOffset = 0.0;
      core.OffsetMode = 1;
      w.OffsetsTaken = 1;
    }
    // The command's tool offset (side bits with d1, as the CAM data writes
    // it) is the offset the walk cuts at.
    if (core.OffsetMode == 0 && R2.d1 != 0.0 && (R2.flags & 3) != 0) core.OffsetMode = 1;
    RangeStep = (RangeOptions & kRangeBackward) != 0 ? -1 : 1;
    // The offset is to the left of travel, and a backward walk turns every
    // element over: the command's offset (written for the contour as drawn)
    // changes sign, or the second pass of a there-and-back cut would run on
    // the other side of the wall, a tool diameter into it.
    if (RangeStep < 0 && core.OffsetMode == 1 && !negatedForCall) R2.d1 = -R2.d1;
    TraceStep(143, 10);
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
    if (fetched == 1) return HabGooLoop();
    engine.call.ContourPassWord = kNothingCut;
    return 0;
  }

  // 11.
  if (R1.code > kLastGroupCode || R1.code < kFirstGroupCode) {
    char text[160];
    std::snprintf(text, sizeof text, "%s md=%x%s%d", platform::Sjis("GO図形のエラーhab_goo").c_str(),
                  static_cast<unsigned>(R1.code), platform::Sjis("　No.").c_str(), R1.number);
    host.ShowErrorBox(text);
    return StopWithError(kErrorBadElement);
  }

  // 12. A figure group.
  GroupIndex = RangeStart;
  w.ApproachMode = 0;
  w.ApproachFlag = R1.flags & 0x1000;
  if ((R1.flags & 0x2000) != 0) {
    w.ApproachValue = R1.d0;
    w.ApproachPoint = {R1.d6, R1.d7};
    w.ApproachMode = w.RangeOptionsCopy != 0 ? 0xFFFF : 1;
    c.CommandOffset = 0.0;
    R1.d0 = R1.d6 = R1.d7 = 0.0;
    R2.d0 = 0.0;
  }

  // 13. Fillet groups are the fillet run's.
  if (KindOf(R1) == kFilletGroup) {
    RangeOptions = 0;
    w.RangeOptionsCopy = 0;
    RangeStep = 1;
    w.ContourPassBits |= 0x10;
    const double keptOffset = R3.d0;
    const int result = RunFilletMachining();
    R3.d0 = keptOffset;
    return result == kStopRun || AbortFlag != 0 ? kStopRun : 0;
  }

  // 14. The group's values become the command's.
  R2.d1 = R1.d1;
  R2.d2 = R1.d2;
  R2.d3 = R1.d3;
  R2.d4 = R1.d4;
  R2.d5 = R1.d5;
  R2.d6 = R1.d6;
  R2.d7 = R1.d7;
  UnpackCommandValue(1);
  UnpackCommandValue(4);
  UnpackCommandValue(5);
  engine.stepping.GroupFlags = R1.flags;
  if ((R1.flags & 0xF) == 3) {
    Slot(SaveSlot::Slot52).d2 = R1.d2;
    Slot(SaveSlot::Slot52).d3 = R1.d3;
    Slot(SaveSlot::Slot53).d2 = R1.d2;
    Slot(SaveSlot::Slot53).d3 = R1.d3;
  }
  if (!CheckedIndex(RangeStart) || !CheckedIndex(RangeEnd)) return kStopRun;
  if (w.ConsumedGuard != 0xFFFF) elements[RangeStart].flags &= 0xFFFF;
  if (w.MarkReversed != 0) elements[RangeStart].flags |= kReversedSide;
  RangeOptions = w.RangeOptionsCopy;
  w.RangeOptionsCopy &= ~0x08;
  SelectOffsetSide();

  // 15.
  if (R2.code == kSetupVariant) {
    w.ContourPassBits |= 0x30;
    return HabGooSetup();
  }

  // 16.
  const int setup = SetupCommand();
  if (setup == kStopRun || AbortFlag != 0) return kStopRun;
  if (setup == 0) {
    if (MarkElementFlags(w.MarkReversed) == kStopRun) return kStopRun;
  } else if (RangeStep != 1) {
    std::swap(RangeStart, RangeEnd);
    RangeStep = 0;
    const int again = SetupCommand();
    if (again == kStopRun || AbortFlag != 0) return kStopRun;
  }
  return HabGooLoop();
}

// Marks the range as in use by this loop (the reversed side kept in the
// saved bit) or, with `unmark`, gives every element of it back its side.
static void MarkRange(ElementTable& elements, int lo, int hi, bool setMarks) {
  for (int i = lo; i <= hi; ++i) {
    std::int32_t& flags = elements[i].flags;
    flags = (flags & kSavedReversed) != 0 ? kReversedSide : 0;
    if (setMarks) flags = (flags & kReversedSide) != 0 ? kMarkedReversed : kRangeInUse;
  }
}

// More than one line or arc in elements lo..hi, the last ending where the
// first begins (a line begins at d6/d7, an arc at d2/d3; both end at d4/d5).
static bool IsClosedChain(const ElementTable& elements, int lo, int hi) {
  int first = -1, last = -1, count = 0;
  for (int i = lo; i <= hi; ++i) {
    const NcElement& e = elements[i];
    if (IsPoint(e) || ((e.code & 0xFF00) != kCodeLine && !IsCircle(e))) continue;
    if (first < 0) first = i;
    last = i;
    ++count;
  }
  if (count < 2) return false;
  const NcElement& a = elements[first];
  const NcElement& b = elements[last];
  const double startX = IsCircle(a) ? a.d2 : a.d6, startY = IsCircle(a) ? a.d3 : a.d7;
  return std::fabs(b.d4 - startX) < 0.001 && std::fabs(b.d5 - startY) < 0.001;
}

// How far along the element `e` (as the table holds it, walked forwards or,
// with `backwards`, from its end) the lead line through (px, py) along
// (dx, dy) meets it: a length for a line, an arc length for an arc, whose
// lead runs through its centre. Negative: before the element's start.
static double LeadFootAlong(const NcElement& e, bool backwards, double px, double py, double dx, double dy) {
  if (IsCircle(e)) {
    const double cx = e.d6, cy = e.d7, r = std::fabs(e.d1);
    if (r < 1e-9 || std::hypot(px - cx, py - cy) < 1e-9) return 0.0;
    const double sx = backwards ? e.d4 : e.d2, sy = backwards ? e.d5 : e.d3;
    const double sense = (e.d1 > 0.0) != backwards ? 1.0 : -1.0;
    double turn = sense * (std::atan2(py - cy, px - cx) - std::atan2(sy - cy, sx - cx));
    constexpr double kTwoPi = 6.283185307179586;
    turn = std::fmod(turn, kTwoPi);
    if (turn < 0.0) turn += kTwoPi;
    if (turn > kTwoPi - 1e-9) turn = 0.0;
    return turn * r;
  }
  const double sx = backwards ? e.d4 : e.d6, sy = backwards ? e.d5 : e.d7;
  const double ex = backwards ? e.d6 : e.d4, ey = backwards ? e.d7 : e.d5;
  const double len = std::hypot(ex - sx, ey - sy);
  const double across = (ex - sx) * dy - (ey - sy) * dx;
  if (len < 1e-9 || std::fabs(across) < 1e-9 * len) return 0.0;
  const double t = ((px - sx) * dy - (py - sy) * dx) / across;
  return t * len;
}

// The length of the element `e` as the table holds it; a circle whose end
// is its start is whole.
static double TableElementLength(const NcElement& e) {
  if (!IsCircle(e)) return std::hypot(e.d4 - e.d6, e.d5 - e.d7);
  const double r = std::fabs(e.d1);
  const double along = LeadFootAlong(e, false, e.d4, e.d5, 0.0, 0.0);
  return along > 0.0 ? along : 6.283185307179586 * r;
}

// The TO point of the overrun command that leaves this contour (the first
// 0x74 command after it, when it names no range of its own).
static bool ExitPointOfContour(const ElementTable& elements, int commandIndex, double& x, double& y) {
  for (int i = commandIndex + 1; i > 0 && i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    const int kind = e.code & 0xFF00;
    if (kind == kContourCommand || kind == 0x7300) return false;
    if (kind != kOverrunCommand) continue;
    const int subtype = e.flags & 0xF0;
    if (e.d4 != 0.0 || (subtype != 0x00 && subtype != 0x60)) return false;
    x = e.d2;
    y = e.d3;
    return true;
  }
  return false;
}

// A closed contour whose walk begins part-way along its first element, or
// whose exit lies part-way along its last, would leave the rest of that
// element uncut when the walk ended with the last element: the walk then
// joins the last element back to the first and cuts the first once more, up
// to where it began, or up to its start when the cut began before it.
// Returns the first element's index when that closing joint is needed, else
// -1. The lead into the contour is in R0.
int RunContext::ClosingElementOfWalk(int lo, int hi) {
  ContourLoopWords& w = core.loop;
  w.ClosedAtStart = 0;
  if (R2.code != kContourCommand || !IsClosedChain(elements, lo, hi)) return -1;
  if ((R0.code & 0xFF00) != kCodeLine || std::hypot(R0.d2, R0.d3) < 1e-9) return -1;
  const NcElement& first = elements[RangeStart];
  const NcElement& last = elements[RangeEnd];
  for (const NcElement* e : {&first, &last}) {
    if (IsPoint(*e) || ((e->code & 0xFF00) != kCodeLine && !IsCircle(*e))) return -1;
  }
  const bool backwards = RangeStep < 0;
  const double entered = LeadFootAlong(first, backwards, R0.d6, R0.d7, R0.d2, R0.d3);
  // Entered on the inside corner of the offset path, the cut began where the
  // first element's offset begins: nothing of it is left before the entry.
  const NcElement& command = elements[CommandIndex()];
  const double offset = (command.flags & 3) != 0 ? command.d1 : 0.0;
  const bool atCorner = OnInsideCornerAtStart(elements, lo, hi, backwards, offset, R0.d6, R0.d7);
  bool exitShort = false;
  double ex = 0.0, ey = 0.0;
  const bool hasExit = ExitPointOfContour(elements, CommandIndex(), ex, ey);
  if (hasExit) {
    const double sign = backwards ? -1.0 : 1.0;
    const double left = LeadFootAlong(last, backwards, ex, ey, -sign * last.d3, sign * last.d2);
    exitShort = left < TableElementLength(last) - 0.001;
  }
  if (entered > 0.001 && !atCorner) {
    // An exit whose foot on the first element lies before where the cut
    // began (before the first element, or where the entry was moved off an
    // inside corner) would leave that part uncut, or run back over it into
    // the wall: the closing cut ends where the cut began.
    if (hasExit) {
      const double sign = backwards ? -1.0 : 1.0;
      const double exitOnFirst = LeadFootAlong(first, backwards, ex, ey, -sign * first.d3, sign * first.d2);
      if (exitOnFirst < entered - 0.001) {
        w.ClosedAtStart = 1;
        w.ClosedStartPoint = {R0.d6, R0.d7};
      }
    }
    return RangeStart;
  }
  if (!exitShort) return -1;
  // The cut began before the first element: it ends where that element
  // begins in walking order (a line begins at d6/d7, an arc at d2/d3).
  w.ClosedAtStart = 1;
  w.ClosedStartPoint = atCorner    ? std::array<double, 2>{R0.d6, R0.d7}
                       : backwards ? std::array<double, 2>{first.d4, first.d5}
                       : IsCircle(first) ? std::array<double, 2>{first.d2, first.d3}
                                         : std::array<double, 2>{first.d6, first.d7};
  return RangeStart;
}

// The advance that found the range's end has already moved the last element
// into R0; the closing element is joined to it as any next element. A
// corner built between them as an arc leaves its marker in R1 and steps the
// range back, and the element is fetched again after it, as the walk's own
// advance does.
int RunContext::WalkClosingElement(int index) {
  core.loop.ClosedOnElement = index;
  for (int round = 0; round < 2; ++round) {
    if (round > 0) SwapR0R1();
    if (!CheckedLoad(R1, index)) return kStopRun;
    R1.code |= RangeOptions & 3;
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
    if (fetched != 1) return StopWithError(kErrorNoCrossing);
    R1.d4 = R1.d6;
    R1.d5 = R1.d7;
    // While the closing element is joined the range stands on it, as it
    // stands on every next element of the walk: the join reads the element
    // as drawn there to pick an arc's crossing by the turn at the joint.
    const int keptStart = RangeStart;
    RangeStart = index;
    TraceStep(143, 9);
    if (RunContourCommand() == kStopRun || AbortFlag != 0) return kStopRun;
    const bool cornerMarker = RangeStart != index;
    RangeStart = keptStart;
    if (!cornerMarker) break;
  }
  // As after the last advance of the walk, the element the contour ends on
  // is R0's for the overrun.
  core.ContourFlags &= 0xFFFF;
  SwapR0R1();
  return 0;
}

// The return pass of a there-and-back cut: the tool stands where the first
// pass left the contour, at the foot of the lead the overrun before this
// pass (0x7410) built on the element the first pass ended on. The pass
// enters by that lead, as a cut-in's lead is entered, and walks back from
// there: an open contour's first pass ends on the element this walk begins
// with; on a closed one the walk begins on the element the tool stands on
// and goes on round past the range's end, and the closing joint brings it
// back onto that element up to the foot.
int RunContext::EnterReturnPass(int lo, int hi) {
  ContourLoopWords& w = core.loop;
  const int on = w.ReturnLeadElement;
  // The lead out ran from the contour to its TO point; the way in runs from
  // the TO point to the contour, as a cut-in's lead does, which picks the
  // crossing of a circle on the TO point's side.
  R0 = w.ReturnLead;
  R0.d2 = -R0.d2;
  R0.d3 = -R0.d3;
  R0.d4 = R0.d6;
  R0.d5 = R0.d7;
  w.ReturnLeadCommand = -1;
  if (on == RangeStart) return 0;
  // The first pass ended off the start of this walk on a contour that does
  // not close: walking on from there would leave part of it uncut, and
  // joining the lead to this walk's first element would cut across it.
  if (on < lo || on > hi || !IsClosedChain(elements, lo, hi)) return StopWithError(kErrorNoOverrun);
  w.WrapFrom = RangeStart - RangeStep;
  w.WrapTo = on - RangeStep;
  RangeStart = on;
  if (!CheckedLoad(R1, on)) return kStopRun;
  R1.code |= RangeOptions & 3;
  const int fetched = FetchNextElement(0);
  if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
  if (fetched != 1) return StopWithError(kErrorNoCrossing);
  return 0;
}

// Whether an overrun command takes this contour's end: the first overrun
// after the contour command, before anything that begins another cut or
// ends the process.
bool RunContext::OverrunFollows(int commandIndex) const {
  for (int i = commandIndex + 1; i > 0 && i < job.JobElementCount && i < elements.ElementCount; ++i) {
    switch (elements[i].code & 0xFF00) {
      case kOverrunCommand:
        return true;
      case kContourCommand:
      case 0x7300:  // the next cut-in
      case 0x6100:  // the next process
      case 0x7200:  // the process end
      case 0x6900:  // the end of machining
      case 0xFF00:  // the end of the data
        return false;
      default:
        break;
    }
  }
  return false;
}

// The walk leaves its last element in R0, joined to nothing: the overrun
// cuts it up to its lead. With no overrun to come it would be lost (and an
// escape would start where the element before it ended), so it is cut
// here, up to a lead square to it through its end in walking order, or,
// after the closing joint, through the point where the cut began.
int RunContext::CutLastElementToItsEnd(int closing) {
  const int index = closing >= 0 ? closing : RangeStart;
  if (!CheckedIndex(index)) return kStopRun;
  const NcElement last = elements[index];
  if (IsPoint(last)) return 0;
  const bool backwards = RangeStep < 0;
  double toX = last.d4, toY = last.d5;
  if (closing >= 0) {
    toX = engine.contour.ReferenceSlot.d6;
    toY = engine.contour.ReferenceSlot.d7;
  } else if (backwards) {
    toX = IsCircle(last) ? last.d2 : last.d6;
    toY = IsCircle(last) ? last.d3 : last.d7;
  }
  const int keptStart = RangeStart, keptEnd = RangeEnd, keptStep = RangeStep;
  const NcElement keptR0 = R0;
  R1 = NcElement{};
  if (PlaceLeadElement(last, toX, toY, 1, backwards) != 1) return StopWithError(kErrorRejoin);
  R1.d4 = R1.d6;
  R1.d5 = R1.d7;
  // The lead is not part of the contour: it is not offset with it, so the
  // cut ends at the foot of the lead on the offset element.
  const int keptOffsetMode = core.OffsetMode;
  core.OffsetMode = 0;
  TraceStep(143, 9);
  const int result = RunContourCommand();
  core.OffsetMode = keptOffsetMode;
  RangeStart = keptStart;
  RangeEnd = keptEnd;
  RangeStep = keptStep;
  if (result == kStopRun || AbortFlag != 0) return kStopRun;
  R1 = R0;
  R0 = keptR0;
  return 0;
}

int RunContext::HabGooLoop() {
  ContourWords& c = engine.contour;
  ContourLoopWords& w = core.loop;
  // 1. A loop inside a loop leaves the outer loop's marks alone.
  if (!CheckedIndex(RangeStart) || !CheckedIndex(RangeEnd)) return kStopRun;
  const int lo = std::min(RangeStart, RangeEnd), hi = std::max(RangeStart, RangeEnd);
  const bool markedHere = (elements[lo].flags & kRangeInUse) == 0;
  if (markedHere) MarkRange(elements, lo, hi, true);

  // 2. The two-axis check: a contour the offset leaves nothing of is not cut.
  if (core.SideCheckFlags != 0 || R2.code == kContourCommand) {
    if ((R2.code & 0xFFF0) == kSideTestVariant) w.TwoAxisStep = R2.d1;
    if (job.ToolOffsetNumber == 0) {
      const int count = cal_2ax();
      if (count == kStopRun || AbortFlag != 0) return kStopRun;
      if (count > 7) {
        engine.call.ContourPassWord = kNothingCut;
        return 0;
      }
    }
  }

  // What the offset consumes (a chamfer or step the tool cannot follow, a
  // notch narrower than it) is left out of the walk, as an element that
  // cannot be fetched is: cutting it would take the tool into the wall
  // beside it. A closed contour the tool fits nowhere along is not cut at
  // all: the message list names it and the program is marked incomplete.
  w.OffsetConsumed = 0;
  if (R2.code == kContourCommand && c.OneShotMark == 0 && RangeStep == 1 && core.OffsetMode == 1 &&
      CommandIndex() > 0 && CommandIndex() < elements.ElementCount) {
    const NcElement& command = elements[CommandIndex()];
    const double offset = (command.flags & 3) != 0 ? command.d1 : 0.0;
    const bool closed = IsClosedChain(elements, lo, hi);
    const OffsetConsumption consumption = MarkOffsetConsumed(elements, lo, hi, offset, closed);
    w.OffsetConsumed = 1;
    if (closed && consumption.consumed > 0 && consumption.left < 3) {
      if (markedHere) MarkRange(elements, lo, hi, false);
      host.AddListLine(platform::Sjis("＊＊＊ 工具が輪郭に入りません：輪郭 No." + std::to_string(elements[lo].number) +
                                      " は加工されません ＊＊＊"));
      job.RunIncomplete = 1;
      engine.call.ContourPassWord = kNothingCut;
      return 0;
    }
  }

  // 3.
  if (c.OneShotMark != 0 && JoinRunBoundaries() == kStopRun) return kStopRun;

  // 4. A range that begins with a point begins at the element after it.
  if (IsPoint(R1)) {
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
    if (fetched != 1) {
      engine.call.ContourPassWord = kNothingCut;
      return 0;
    }
  }

  // 5. A call that walks a contour from a distance along it enters the
  // contour there; every pass of a depth call enters it as the first pass
  // did, from the cut-in's lead kept in the reference slot.
  // The return pass of a there-and-back cut enters where the first pass
  // left the contour, in a call as outside one.
  w.WrapFrom = w.WrapTo = -1;
  if (w.ReturnPassPending != 0) {
    w.ReturnPassPending = 0;
    if (EnterReturnPass(lo, hi) == kStopRun || AbortFlag != 0) return kStopRun;
  } else if (InDepthCall()) {
    R0 = c.ReferenceSlot;
  } else if (job.CallOnActive != 0 && BuildCallEntryElement() == kStopRun) {
    return kStopRun;
  }

  // 6.
  w.LeadSave = R1;
  if (!CheckedIndex(RangeEnd)) return kStopRun;
  if (IsPoint(elements[RangeEnd]) && RangeEnd != RangeStart) RangeEnd -= RangeStep;
  R1 = w.LeadSave;
  R1.d4 = R1.d6;
  R1.d5 = R1.d7;
  c.SecondRangeWord = 0;
  if (core.TransformMode != 4) core.SnapshotFlags = 0;

  // A closed contour entered part-way along its first element is closed
  // after its last element (see ClosingElementOfWalk).
  // A walk that wraps round ends with the element before the one it began
  // on. A one-shot run cuts only the part between its boundaries, which is
  // never closed, whatever the whole range is.
  core.loop.ClosedOnElement = -1;
  const int segmentEnd = RangeEnd;
  if (w.WrapTo >= 0) RangeEnd = w.WrapTo;
  const int closing = c.OneShotMark != 0 ? -1 : ClosingElementOfWalk(lo, hi);
  RangeEnd = segmentEnd;

  // 7. The first element.
  RotateTangents();
  TraceStep(143, 7);
  if (RunContourCommand() == kStopRun || AbortFlag != 0) {
    // A first element that could not be joined to anything (no cut-in
    // before the contour) must not end the run without a word.
    return AbortFlag != 0 ? kStopRun : StopWithError(kErrorNoCrossing);
  }
  RotateR1Element();
  if (SnapshotElements() == kStopRun) return kStopRun;
  c.SnapshotCommandCode = R2.code;

  // 8. What waits in the queue is written where the tool stands.
  if (RunQueuedAtLastOutput(false) == kStopRun) return kStopRun;
  core.TransformMode = 4;

  // 9. The rest of the range.
  if (R2.code == kContourCommand) {
    bool firstEndPending = true;
    for (;;) {
      const int next = AdvanceToNextElement();
      if (next == kStopRun || AbortFlag != 0) return kStopRun;
      if (next == 0 && w.WrapTo >= 0) {
        // Round past the range's end: the advance moved the last element
        // into R0, and the next advance moves it there again.
        SwapR0R1();
        RangeStart = w.WrapFrom;
        RangeEnd = w.WrapTo;
        w.WrapFrom = w.WrapTo = -1;
        continue;
      }
      if (next == 0) {
        if (closing >= 0 && WalkClosingElement(closing) == kStopRun) return kStopRun;
        if (!OverrunFollows(CommandIndex()) && CutLastElementToItsEnd(closing) == kStopRun) return kStopRun;
        break;
      }
      const int result = RunContourCommand();
      if (result == kStopRun || AbortFlag != 0) return kStopRun;
      // The run of the second element wrote the first up to its far end:
      // an overrun along the closing element stops there.
      if (closing >= 0 && firstEndPending) {
        w.ClosedElementEnd = {output.TargetX, output.TargetY};
        firstEndPending = false;
      }
      if (result != 0) break;
    }
  } else if (R2.code == kSetupVariant) {
    return 0;
  } else {
    w.ContourPassBits |= 0x50;
    if (ContourSubPass() == kStopRun || AbortFlag != 0) return kStopRun;
  }

  // 10.
  if (markedHere) MarkRange(elements, lo, hi, false);
  return 0;
}

int RunContext::AdvanceToNextElement() {
  core.ContourFlags &= 0xFFFF;
  SwapR0R1();
  // A range that runs away from its end would walk into the next contour.
  if (RangeStep == 0 || (RangeStep > 0 && RangeStart > RangeEnd) || (RangeStep < 0 && RangeStart < RangeEnd)) {
    return StopWithError(kErrorBadElement);
  }
  for (;;) {
    if (RangeStart == RangeEnd) return 0;
    RangeStart += RangeStep;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    if (IsPoint(R1) || R1.code > kLastGeometryCode) continue;

    int request = 0;
    if (core.loop.OffsetConsumed != 0 && (R1.flags & 0xFFFF) == kConsumedMark) continue;
    if (core.SideCheckFlags != 0 && R0.code != kEmptyElement) {
      if ((R1.flags & 0xFFFF) == kConsumedMark) {
        if ((core.ContourFlags & 0x8000) != 0 && IsCircle(R1)) {
          core.SkippedArcCentre = {R1.d6, R1.d7};
          core.ContourFlags |= 0x10000;
        }
        continue;
      }
      request = RangeStep == 1 && R2.d1 == 0.0 ? kResolveModeB : 0;
    }
    // Cut mode 1: an arc the tool cannot follow is left out.
    if (job.ToolOffsetNumber == 1 && core.OffsetMode == 1 && IsCircle(R1) && R1.d1 > 0.0 &&
        R1.d1 - R2.d1 < job.ToolRadius) {
      continue;
    }
    if (IsCircle(R1) && (core.ContourFlags & 0x8000) != 0) core.ContourFlags |= 0x40000;
    const int fetched = FetchNextElement(request);
    if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
    if (fetched == 1) break;
    core.ContourFlags &= 0x1FFFF;
  }
  R1.d4 = R1.d6;
  R1.d5 = R1.d7;
  core.ContourFlags &= 0x1FFFF;
  return 1;
}

int RunContext::SelectOffsetSide() {
  ContourLoopWords& w = core.loop;
  const int groupFlags = engine.stepping.GroupFlags;
  // 1.
  const int s = groupFlags & 7;
  const int selector = s == 3 ? 4 : s == 4 ? 1 : s >= 5 ? 2 : s;
  core.OutputFlags = (core.OutputFlags & 0x3EF8) + selector;
  w.SideSelector = selector;
  // 2.
  if (selector != 0) {
    w.LeadSave = R1;
    if (GroupIndex >= 0 && GroupIndex < elements.ElementCount && elements[GroupIndex].code > 0x2000) {
      core.OutputFlags |= 0x4000;
    }
  } else if (engine.call.CallState == kCallGivesOffset) {
    // 3. The call's offset takes the command's place once.
    engine.call.CallState = 0;
  }
  // 4.
  const int style = groupFlags & 0xF;
  if ((groupFlags & 0x10) != 0) {
    core.OutputFlags |= 0x0900;
  } else if (style == 3 || style == 4) {
    core.OutputFlags |= 0x0100;
  } else {
    core.OutputFlags &= ~0x0100;
  }
  // 5. The command save slot: the command with the group's flags and its
  // side, for the routines that look at the group later.
  w.CommandSave = R2;
  w.CommandSave.d5 = R2.d5;
  w.CommandSave.flags = groupFlags;
  const std::uint32_t sideCode = static_cast<std::uint32_t>((R2.flags >> 16) & 0xF);
  w.CommandSave.d6 = JoinFixedPoint(sideCode, static_cast<std::uint32_t>(groupFlags & 0xFFFF));
  return 0;
}

int RunContext::MarkElementFlags(int reversed) {
  ContourLoopWords& w = core.loop;
  if (!CheckedIndex(RangeStart)) return kStopRun;
  // 1.
  StoreRegisterByCode(24);
  if (w.ConsumedGuard != 0xFFFF) elements[RangeStart].flags &= 0xFFFF;
  if (reversed != 0) elements[RangeStart].flags |= kReversedSide;
  // 2.
  if ((RangeOptions & kRangeBackward) != 0) {
    const FixedPointPair pair = SplitFixedPoint(R1.d4);
    R1.d4 = JoinFixedPoint(pair.millionths, pair.whole);
  }
  // 3. The group's side and flags go with the command.
  const int working = RangeStart + 1;
  if (!CheckedIndex(working)) return kStopRun;
  R2 = w.CommandSave;
  FixedPointPair side = SplitFixedPoint(R2.d6);
  side.millionths |= static_cast<std::uint32_t>(elements[RangeStart].flags & 0xFFFF);
  R2.d4 = R1.d4;
  R2.d5 = R1.d5;
  R2.d6 = JoinFixedPoint(side.whole, side.millionths);
  w.CommandSave = R2;
  R1 = elements[working];
  R1.d2 = R2.d2;
  R1.d3 = R2.d3;
  elements[working] = R1;
  UnpackCommandValue(4);
  R2.d1 = 0.0;
  // 4.
  const int setup = SetupCommand();
  if (setup == kStopRun || AbortFlag != 0) return kStopRun;
  if (setup == 0) return StopWithError(kErrorRejoin);
  core.OutputFlags |= 0x8000;
  return 0;
}

int RunContext::JoinRunBoundaries() {
  ContourWords& c = engine.contour;
  // 1. The boundaries are found walking forwards.
  const bool turned = RangeStep != 1;
  const int keptStep = RangeStep, keptOptions = RangeOptions;
  if (turned) {
    std::swap(RangeStart, RangeEnd);
    if (core.OffsetMode == 1) R2.d1 = -R2.d1;
    RangeStep = 1;
    RangeOptions = 0;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    const int fetched = FetchNextElement(0);
    if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
    if (fetched != 1) return StopWithError(kErrorRejoin);
  }
  const int firstIndex = RangeStart;
  // 2.
  const NcElement keptR0 = R0;
  R0 = c.ReferenceSlot;
  if (LocateRunBoundary(1) == kStopRun) return kStopRun;
  const int startBoundary = RangeStart;
  // 3. The overrun command that ends this run. The CAM data writes it
  // after the contour command whichever way the contour is walked, so it
  // is looked for forwards, and only up to the next contour or cut-in: an
  // overrun before the command, or after the next one, ends another run.
  int index = CommandIndex();
  for (;;) {
    ++index;
    if (index <= 0 || index >= elements.ElementCount) return StopWithError(kErrorNoOverrun);
    const int kind = elements[index].code & 0xFF00;
    if (kind == kOverrunCommand) break;
    if (kind == kContourCommand || kind == 0x7300) return StopWithError(kErrorNoOverrun);
  }
  // 4. Its range.
  const NcElement command = R2;
  const int keptStart = RangeStart, keptEnd = RangeEnd, keptRangeStep = RangeStep;
  const int keptOffsetMode = core.OffsetMode;
  core.OffsetMode = 0;
  if (!CheckedLoad(R2, index)) return kStopRun;
  UnpackCommandValue(4);
  if ((R2.flags & 0x200) != 0) core.OffsetMode = 1;
  RangeOptions = (R2.flags >> 15) & 0xA;
  int setup = SetupCommand();
  if (setup != kStopRun && setup != 0 && RangeStep != 1) {
    std::swap(RangeStart, RangeEnd);
    setup = SetupCommand();
  }
  if (setup == kStopRun || AbortFlag != 0) return kStopRun;
  if (setup == 0) return StopWithError(kErrorBoundaryCommand);
  // 5.
  R0 = R1;
  R2 = command;
  RangeStart = keptStart;
  RangeEnd = keptEnd;
  RangeStep = keptRangeStep;
  core.OffsetMode = keptOffsetMode;
  RangeOptions = 0;
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  int fetched = FetchNextElement(0);
  if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
  if (fetched != 1) return StopWithError(kErrorRejoin);
  if (LocateRunBoundary(2) == kStopRun) return kStopRun;
  // 6. The range from the first element to the boundary found.
  RangeStart = std::max(firstIndex, startBoundary);
  RangeEnd = std::max(RangeStart, core.loop.TraverseMarkA);
  if (turned) {
    std::swap(RangeStart, RangeEnd);
    if (core.OffsetMode == 1) R2.d1 = -R2.d1;
    RangeStep = keptStep;
    RangeOptions = keptOptions;
  }
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  fetched = FetchNextElement(0);
  if (fetched == kStopRun || AbortFlag != 0) return kStopRun;
  if (fetched != 1) return StopWithError(kErrorRejoin);
  R0 = keptR0;
  return 0;
}

// Where the line through `at` along `dir` crosses the element `e` as the
// table holds it (a line from d6/d7 to d4/d5, an arc about d6/d7 from
// d2/d3 to d4/d5): the crossings within the element, appended to `points`.
static void CrossingsWithElement(const NcElement& e, double ax, double ay, double dx, double dy,
                                 std::vector<std::array<double, 2>>& points) {
  if (IsCircle(e)) {
    const double cx = e.d6, cy = e.d7, r = std::fabs(e.d1);
    const double fx = ax - cx, fy = ay - cy;
    const double b = fx * dx + fy * dy, q = fx * fx + fy * fy - r * r;
    const double disc = b * b - q;
    if (disc < 0.0) return;
    for (const double t : {-b - std::sqrt(disc), -b + std::sqrt(disc)}) {
      const double px = ax + t * dx, py = ay + t * dy;
      // Within the arc's sweep: no farther round from its start than its end.
      const double along = LeadFootAlong(e, false, px, py, 0.0, 0.0);
      const double length = LeadFootAlong(e, false, e.d4, e.d5, 0.0, 0.0);
      if (length <= 0.0 || along <= length + 0.001 || along >= 6.283185307179586 * r - 0.001) points.push_back({px, py});
    }
    return;
  }
  const double ex = e.d4 - e.d6, ey = e.d5 - e.d7;
  const double len = std::hypot(ex, ey);
  const double across = ex * dy - ey * dx;
  if (len < 1e-9 || std::fabs(across) < 1e-9 * len) return;
  const double s = ((ax - e.d6) * dy - (ay - e.d7) * dx) / across;
  if (s < -0.001 / len || s > 1.0 + 0.001 / len) return;
  points.push_back({e.d6 + s * ex, e.d7 + s * ey});
}

int RunContext::LocateRunBoundary(int which) {
  // The boundary figure (the cut-in's for `which` 1, the overrun's for 2)
  // is in R0: a line through its point d6/d7 along d2/d3. The boundary is
  // the element of the range that the figure's line crosses nearest that
  // point: a figure drawn across the contour marks one place on it, even
  // where its line would cross the contour again farther on.
  // An arc as the boundary figure has no such line: it is refused rather
  // than cut to a guessed place.
  const double ax = R0.d6, ay = R0.d7;
  const double dirLength = std::hypot(R0.d2, R0.d3);
  if (dirLength < 1e-9 || R0.d1 != 0.0 || IsCircle(R0)) return StopWithError(kErrorNoCrossing);
  const double dx = R0.d2 / dirLength, dy = R0.d3 / dirLength;
  const int first = RangeStart;
  const int last = RangeEnd;
  if (!CheckedIndex(first) || !CheckedIndex(last)) return kStopRun;
  int boundary = -1;
  double nearest = 0.0;
  std::array<double, 2> at{};
  std::vector<std::array<double, 2>> points;
  for (int i = std::min(first, last); i <= std::max(first, last); ++i) {
    const NcElement& e = elements[i];
    if ((e.code & 0xFF00) != kCodeLine && !IsCircle(e)) continue;
    points.clear();
    CrossingsWithElement(e, ax, ay, dx, dy, points);
    for (const auto& p : points) {
      const double d = std::hypot(p[0] - ax, p[1] - ay);
      if (boundary < 0 || d < nearest - 1e-9) {
        boundary = i;
        nearest = d;
        at = p;
      }
    }
  }
  if (boundary < 0) return StopWithError(kErrorNoCrossing);
  // The way from the figure's point to the crossing, as the caller keeps it.
  R1.d2 = ax - at[0];
  R1.d3 = ay - at[1];
  R1.d4 = std::hypot(R1.d2, R1.d3);
  if (which == 1) {
    RangeStart = boundary;
  } else {
    core.loop.TraverseMarkA = boundary;
  }
  return 0;
}

int RunContext::BuildCallEntryElement() {
  CallWords& call = engine.call;
  ContourLoopWords& w = core.loop;
  // 1.
  if (FetchNextElement(0) == kStopRun || AbortFlag != 0) return kStopRun;
  const NcElement entryElement = R1;
  const int keptStart = RangeStart, keptEnd = RangeEnd, keptStep = RangeStep;
  const int keptOptions = RangeOptions, keptGroupFlags = engine.stepping.GroupFlags;
  if (PushRegs() == kStopRun) return kStopRun;
  R1.code &= 0xFF00;
  if ((R1.code & 0xFF00) != kCodeLine) {
    R1.d1 = 0.0;
    R1.d2 = 1.0;
    R1.d3 = 0.0;
  }
  RangeOptions = 0;
  engine.stepping.GroupFlags = 0;
  R0 = R1;

  auto finish = [&]() {
    RangeStart = keptStart;
    RangeEnd = keptEnd;
    RangeStep = keptStep;
    RangeOptions = keptOptions;
    engine.stepping.GroupFlags = keptGroupFlags;
    R1 = entryElement;
    const int fetched = FetchNextElement(0);
    return fetched == kStopRun || AbortFlag != 0 ? kStopRun : 0;
  };

  if ((R2.flags & 0x20) != 0) {
    // 2. An explicit entry point, turned by the call's value.
    R0.code = kCodeLine;
    R0.flags = 0;
    R0.d1 = 0.0;
    R0.d4 = R0.d6 = R2.d2;
    R0.d5 = R0.d7 = R2.d3;
    registers.WorkAngle = call.CallValue;
    UpdateRotationCosSin();
    const double cs = WorkVectorX(), sn = WorkVectorY();
    const double x = R0.d2, y = R0.d3;
    R0.d2 = cs * x - sn * y;
    R0.d3 = sn * x + cs * y;
    w.LeadSave = R0;
    if (PopRegs() == kStopRun) return kStopRun;
    R2.d2 = R2.d3 = 0.0;
    R2.flags &= 0xFFFFF & ~0x20;
    return finish();
  }

  // 3. The entry at a distance along the call's range; the walk never
  // leaves it.
  const int callEnd = call.CallEnd;
  if (!CheckedIndex(call.CallStart) || !CheckedIndex(callEnd)) return kStopRun;
  RangeStart = call.CallStart;
  RangeEnd = callEnd;
  RangeStep = 1;
  if (!CheckedLoad(R1, RangeStart)) return kStopRun;
  R0.d4 = R0.d6;
  R0.d5 = R0.d7;
  R0.d6 = R1.d4;
  R0.d7 = R1.d5;
  R0.flags = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const int result = TraverseElements(0);
    if (result == kStopRun || AbortFlag != 0) return kStopRun;
    if (result == 0) return StopWithError(kErrorCallEntry);
    if (result != 1) break;
  }
  R1.d2 = R0.d4 - R0.d6;
  R1.d3 = R0.d5 - R0.d7;
  R1.d4 = std::hypot(R1.d2, R1.d3);
  if ((R1.d4 > 0.001 || IsPoint(elements[RangeStart])) && RangeStart > call.CallStart) RangeStart -= 1;

  // 4. Along the contour by the call's value, at most to the range's end:
  // a longer distance ends at its last element.
  double remaining = call.CallValue;
  R3.d1 = remaining;
  R2.d3 = 0.0;
  while (AbortFlag == 0) {
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    R0.d6 = R0.d4;
    R0.d7 = R0.d5;
    R0.d4 = R1.d4;
    R0.d5 = R1.d5;
    R0.d1 = R1.d1;
    R3.d4 = R1.d6;
    R3.d5 = R1.d7;
    if (IsPoint(R1)) {
      remaining = 0.0;
      break;
    }
    AddElementLength(0x8000);
    const double rest = remaining - engine.ElementLength;
    if (rest <= 0.0 || RangeStart >= callEnd) break;
    remaining = rest;
    RangeStart += 1;
  }
  if (AbortFlag != 0) return kStopRun;
  remaining = std::min(remaining, engine.ElementLength);
  R3.d1 = remaining;

  // 5. The entry point at the remaining distance.
  double px = 0.0, py = 0.0, dx = 0.0, dy = 0.0;
  if (R0.d1 != 0.0) {
    const double vx = R0.d6 - R3.d4, vy = R0.d7 - R3.d5;
    registers.WorkAngle = remaining * 360.0 / (6.283185307179586 * std::fabs(R0.d1));
    UpdateRotationCosSin();
    const double cs = WorkVectorX(), sn = WorkVectorY();
    const bool ccw = R0.d1 > 0.0;
    const double tx = ccw ? cs * vx - sn * vy : cs * vx + sn * vy;
    const double ty = ccw ? sn * vx + cs * vy : cs * vy - sn * vx;
    px = R3.d4 + tx;
    py = R3.d5 + ty;
    WorkVectorX() = tx;
    WorkVectorY() = ty;
    NormalizeWorkVector();
    dx = ccw ? -WorkVectorX() : WorkVectorX();
    dy = ccw ? -WorkVectorY() : WorkVectorY();
  } else {
    px = R0.d6 + remaining * R1.d2;
    py = R0.d7 + remaining * R1.d3;
    dx = -R1.d3;
    dy = R1.d2;
  }
  // 6.
  R0 = NcElement{};
  R0.code = kCodeLine;
  R0.d2 = dx;
  R0.d3 = dy;
  R0.d4 = R0.d6 = px;
  R0.d5 = R0.d7 = py;
  w.LeadSave = R0;
  const NcElement entry = R0;
  if (PopRegs() == kStopRun) return kStopRun;
  R0 = entry;
  // 7.
  return finish();
}

}  // namespace qup
