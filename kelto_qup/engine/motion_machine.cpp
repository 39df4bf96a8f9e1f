// The path-motion state machine: the motion of one element of a path command
// between two element indexes of its range. The machine takes its start and
// end states from one of four stored state pairs, walks the section elements
// (0x5400 by angle, 0x5500/0x5600 by value) or the commands 0x5900 and
// 0x8800, interpolates the position and direction on the crossed segment,
// and leaves the result in MotionResultFrame for the element-motion emitter.
//
// A flat machine: the dispatcher holds a state number (the machine's own
// identifiers), each state acts inline or calls one state routine that
// returns the next state. The range words are the caller's again after every
// exit, and nothing that is not a finite number leaves the machine: a
// segment without extent (a zero divisor) fails the motion.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "shared/handover/record_io.h"

namespace qup {

using geom::Vec2;

namespace {

// The machine's states; the numbers are its own identifiers.
enum MotionState : int {
  kEnter = 321,
  kNextSegment = 400,
  kPreviousElement = 420,
  kSegmentFromB = 422,
  kSegmentAt = 425,
  kLastSegment = 430,
  kPrevSegment = 433,
  kSideOfSegment = 450,
  kEndFrameSwap = 453,
  kSide454 = 454,
  kStartAlongX = 455,
  kSide456 = 456,
  kSide457 = 457,
  kEndAlongX = 458,
  kInterpolate = 460,
  kCommand59 = 800,
  kStepX = 802,
  kFromFirst = 888,
  kCommand88 = 900,
  kPreviousOfLast = 999,
  kDeltaForm = 1111,
  kPlainPlace = 2222,
  kSwapEnds = 3333,
  kScaleByValue = 3420,
  kStartValue = 3561,
  kByKind = 3562,
  kPlace = 3577,
  kResolve = 4444,
  kArcStep = 5222,
  kScaleFactor = 5300,
  kHalfSweep = 5555,
  kSwapResult = 9999,
  kFailed = 10000,
  kDone = 10001,
  kIntersect = 20050,
  kEndDirection = 20115,
  kEndValues = 20117,
  kResult = 20136,
};

constexpr int kDeltaFormCode = 0x8009;
constexpr int kSwapWord = 0xFFFF;
// Sweeps below this size carry no arc step (degrees).
constexpr double kZeroSweep = 1e-13;

// The segment between the start and end frames, in R0 and R1, in the form
// the motion code word asks for: as deltas, or with its ends swapped.
void LoadSegmentBetweenFrames(RunContext& run) {
  run.LoadR0FromStartFrame();
  run.LoadR1FromEndFrame();
  if (run.engine.stepping.MotionCodeWord == kDeltaFormCode) {
    run.UpdateSegmentDelta();
  } else {
    run.SwapSegmentEnds();
  }
}

}  // namespace

NcElement* RunContext::MotionStatePair(int pair) {
  // Pair 1 (the previous state of the call record with slot 542) is two
  // separate records: MotionEnter and MotionLeave copy it themselves.
  switch (pair) {
    case 2:
      return core.StoredStatePairs[0].data();
    case 3:
      return core.StoredStatePairs[1].data();
    case 4:
      return core.MotionPair.data();
    default:
      return nullptr;
  }
}

int RunContext::RunMotionMachine(int pair) {
  auto& s = engine.stepping;
  const SavedMotionRange range{RangeStart,   RangeEnd,          RangeStep,         engine.RangeStepFraction,
                               RangeOptions, s.RangeValueWords, s.MotionFourthPair};
  const int keptIndex = ElementIndex;
  core.SectionCount = 0;
  int result = 0;
  int state = kEnter;
  auto failed = [&] { return AbortFlag != 0 ? kFailed : 0; };
  // The element before a segment, set up and kept as its first frame.
  auto setupPrevious = [&](int index) {
    s.MotionPrev = index;
    if (!MotionSetupElement(index)) return false;
    s.MotionSegFrame = R1;
    return true;
  };
  while (state != kFailed && state != kDone) {
    switch (state) {
      case kEnter:
        core.MotionUpdateFlag = 0;
        MotionEnter(pair);
        state = MotionSetup();
        break;
      case kNextSegment:
        state = MotionNextSegment();
        break;
      case kPreviousElement:
        if (!setupPrevious(s.MotionElemA - 1)) {
          state = kFailed;
          break;
        }
        state = s.MotionElemB == s.MotionLast ? kLastSegment : kSegmentFromB;
        break;
      case kSegmentFromB:
        s.MotionCursor = s.MotionElemB;
        ElementIndex = s.MotionElemB + 1;
        state = kSegmentAt;
        break;
      case kSegmentAt:
        if (!MotionSetupElement(ElementIndex)) {
          state = kFailed;
          break;
        }
        MotionSegmentDirections();
        state = failed() ? kFailed : kSideOfSegment;
        break;
      case kLastSegment:
        state = (s.MotionKindFlags & 0x8000) != 0 ? kPrevSegment : kFromFirst;
        break;
      case kPrevSegment:
        state = MotionPrevSegment();
        break;
      case kSideOfSegment:
        state = MotionSideOfSegment();
        break;
      case kEndFrameSwap:
        LoadR1FromEndFrame();
        s.MotionResultWord = kSwapWord;
        state = kResolve;
        break;
      case kSide454:
        state = R3.d5 >= 0.0 ? kStartAlongX : kSide456;
        break;
      case kStartAlongX:
        R0.d2 = core.DirectionUnit;
        R0.d3 = 0.0;
        state = kSide456;
        break;
      case kSide456:
        if (R3.d6 == 0.0) {
          state = kEndAlongX;
        } else if (R3.d6 > 0.0) {
          state = kSide457;
        } else {
          state = R3.d5 >= 0.0 ? kInterpolate : kEndAlongX;
        }
        break;
      case kSide457:
        state = R3.d5 >= 0.0 ? kEndAlongX : kInterpolate;
        break;
      case kEndAlongX:
        R1.d2 = 1.0;
        R1.d3 = 0.0;
        state = kInterpolate;
        break;
      case kInterpolate:
        if (MotionInterpolateSegment() != 0) {
          state = kFailed;
        } else if (s.MotionCodeWord == kDeltaFormCode) {
          R3.d5 = s.SegmentEndY;
          core.ToolNormal[1] = 0.0;
          R2.d2 = R3.d4 - s.SegmentStartX;
          WorkVectorX() = s.SegmentEndY - s.SegmentStartX;
          s.KeptWorkLength = WorkVectorX();
          state = kPlace;
        } else {
          state = kScaleFactor;
        }
        break;
      case kCommand59:
        if (s.MotionKind < 5) {
          state = kIntersect;
          break;
        }
        s.MotionFirst = static_cast<int>(s.RangeValueWords[0]);
        s.MotionLast = static_cast<int>(s.RangeValueWords[1]);
        s.MotionCommandValues = registers.CommandValue1Pair;
        state = kStepX;
        break;
      case kStepX:
        state = MotionStepX();
        break;
      case kFromFirst:
        s.MotionCursor = s.MotionFirst;
        ElementIndex = s.MotionFirst + 1;
        state = kSegmentAt;
        break;
      case kCommand88:
        state = MotionSetupCommand88();
        break;
      case kPreviousOfLast:
        state = setupPrevious(s.MotionLast - 1) ? kSegmentFromB : kFailed;
        break;
      case kDeltaForm:
        if (!CheckedLoad(R0, s.MotionElemA)) {
          state = kFailed;
          break;
        }
        if (R0.d1 == 0.0) geom::SetD2(R0, geom::UnitOr(geom::PointD4(R0) - geom::PointD6(R0), {1.0, 0.0}));
        R2.d2 = R3.d4;
        state = kPlace;
        break;
      case kPlainPlace:
        state = kPlace;
        break;
      case kSwapEnds:
        SwapSegmentEnds();
        state = kPlace;
        break;
      case kScaleByValue:
        state = MotionScaleByValue();
        break;
      case kStartValue:
        R2.d2 = R0.d6;
        result = 1;
        state = kDone;
        break;
      case kByKind:
        switch (R1.code & 0xFF00) {
          case 0x8800:
            state = kCommand88;
            break;
          case 0x5900:
            state = kCommand59;
            break;
          case 0x5400: {
            core.SectionCount += 1;
            R0.d4 = R0.d6;
            R0.d5 = R0.d7;
            WorkDirectionByMode(4);
            s.KeptWorkLength = WorkLength;
            R0.d4 = WorkVectorX();
            R0.d5 = WorkVectorY();
            RegToPolar();
            R2.d2 = R0.d5;
            state = MotionFindSection();
            break;
          }
          case 0x5500:
            R2.d2 = R0.d6;
            state = MotionFindSection();
            break;
          case 0x5600:
            R2.d2 = R0.d7;
            state = MotionFindSection();
            break;
          default:
            state = MotionFindSection();
            break;
        }
        break;
      case kPlace:
        MotionPlaceOnSegment();
        MotionBlend();
        state = kResult;
        break;
      case kResolve:
        if (!CheckedLoad(R0, s.MotionElemA)) {
          state = kFailed;
          break;
        }
        R2.d2 = R0.d2;
        if (R0.d1 == 0.0) geom::SetD2(R0, geom::UnitOr(geom::PointD4(R0) - geom::PointD6(R0), {1.0, 0.0}));
        LoadR0FromStartFrame();
        if (s.MotionResultWord == kSwapWord) {
          state = kSwapEnds;
        } else if (s.MotionResultWord == 1) {
          state = kPlace;
        } else {
          MotionEndSegment();
          MotionBlend();
          state = kResult;
        }
        break;
      case kArcStep:
        MotionArcStep();
        state = kScaleFactor;
        break;
      case kScaleFactor: {
        if (s.MotionCodeWord == kDeltaFormCode) {
          state = kDeltaForm;
          break;
        }
        LoadR0FromStartFrame();
        s.MotionResultWord = 0;
        const double endY = R1.d5;
        R3.d6 = R1.d5 - R3.d4;
        R1.d5 = R3.d4;
        WorkVectorX() = endY - R0.d5;
        WorkVectorY() = R1.d6 - R0.d6;
        // A segment without extent has no factor: the motion fails.
        if (WorkVectorX() == 0.0 || !std::isfinite(R3.d6 / WorkVectorX())) {
          state = kFailed;
          break;
        }
        s.InterpolationFactor = R3.d6 / WorkVectorX();
        state = kResolve;
        break;
      }
      case kHalfSweep:
        R0.d5 = 0.0;
        R0.d3 *= 0.5;
        R0.d1 = -R0.d3;
        R0.d4 = R0.d3;
        state = kArcStep;
        break;
      case kSwapResult:
        s.MotionResultWord = kSwapWord;
        state = kResolve;
        break;
      case kIntersect:
        if (s.LeadMode == 1) {
          MotionLeadElement();
        } else if (IntersectElements() != 1) {
          state = kFailed;
          break;
        }
        state = kResult;
        break;
      case kEndDirection:
        R1.d2 = R2.d2;
        R1.d3 = R2.d3;
        state = kEndValues;
        break;
      case kEndValues:
        MotionEndValues();
        state = kResult;
        break;
      case kResult:
        if (!handover::AllFinite(R1.DoubleValues())) {
          state = kFailed;
          break;
        }
        s.MotionResultFrame = R1;
        if (pair == 1) s.MotionResultCopy = R1;
        RestoreAllRegs(s.MotionSavedRegs.data());
        if (s.AngularDone != 0) {
          R2.d3 = s.MotionAngularValues[0];
          R2.d4 = s.MotionAngularValues[1];
        }
        result = 1;
        state = kDone;
        break;
      default:
        throw EngineInvariantError("motion machine: a state no row names");
    }
    if (state != kFailed && state != kDone && AbortFlag != 0) state = kFailed;
  }
  if (state == kFailed) {
    result = 0;
    ElementIndex = keptIndex;
  }
  MotionLeave(pair);
  RangeStart = range.RangeStart;
  RangeEnd = range.RangeEnd;
  RangeStep = range.RangeStep;
  engine.RangeStepFraction = range.RangeStepFraction;
  RangeOptions = range.RangeOptions;
  s.RangeValueWords = range.RangeValueWords;
  s.MotionFourthPair = range.MotionFourthPair;
  return result;
}

bool RunContext::MotionSetupElement(int index) {
  if (!CheckedIndex(index)) return false;
  ElementIndex = index;
  return SetupSingleElement() == 1 && AbortFlag == 0;
}

void RunContext::LoadR0FromStartFrame() { SetR0KeepTail(engine.stepping.MotionStartFrame); }
void RunContext::LoadR1FromEndFrame() { SetR1KeepTail(engine.stepping.MotionEndFrame); }

int RunContext::MotionEnter(int pair) {
  auto& s = engine.stepping;
  s.KeptSubtype = SubtypeWord;
  if (pair == 1) {
    core.MotionPair = {core.PreviousFrames[0], Slot(SaveSlot::Slot542)};
  } else if (NcElement* stored = MotionStatePair(pair)) {
    core.MotionPair = {stored[0], stored[1]};
  }
  s.MotionSegmentWord = 0;
  s.AngularDone = 0;
  SaveAllRegs(s.MotionSavedRegs.data());
  return 0;
}

int RunContext::MotionLeave(int pair) {
  if (pair == 1) {
    core.PreviousFrames[0] = core.MotionPair[0];
    Slot(SaveSlot::Slot542) = core.MotionPair[1];
  } else if (NcElement* stored = MotionStatePair(pair)) {
    stored[0] = core.MotionPair[0];
    stored[1] = core.MotionPair[1];
  }
  return 0;
}

int RunContext::MotionSetup() {
  auto& s = engine.stepping;
  if (SubtypeWord != 0) {
    R2 = core.PreviousFrames[1];
    UnpackCommandValue(1);
    UnpackCommandValue(4);
    RangeOptions = static_cast<int>(SplitFixedPoint(R2.d6).whole);
    s.MotionKind = R2.flags & 0xF;
    if (s.MotionKind > 4) {
      s.AngularDone = kSwapWord;
      AngularMove(s.MotionAngleSum);
      if (AbortFlag != 0) return kFailed;
    }
  } else {
    s.MotionKind = s.KeptMotionKind;
  }
  R0.d6 = s.MotionStoredCentre[0];
  R0.d7 = s.MotionStoredCentre[1];
  if (s.MotionKind == 4) core.MotionUpdateFlag = 4;
  if (s.MotionKind >= 5 && s.AngularDone == 0) {
    R2.d2 = s.MotionStoredDirection[0];
    R2.d3 = s.MotionStoredDirection[1];
  }
  R1 = core.MotionPair[0];
  StoreRegisterByCode(24);
  StoreRegisterByCode(25);
  const FixedPointPair& values24 = core.StoredValuePairs[3];
  const FixedPointPair& values25 = core.StoredValuePairs[4];
  s.RangeValueWords = {values24.whole, values24.millionths, values25.whole, values25.millionths};
  s.MotionCodeWord = static_cast<int>(s.RangeValueWords[3]);
  if (s.MotionKind == 0) return (s.RangeValueWords[2] & 7) != 0 ? kEndDirection : kEndValues;
  R2.d4 = R2.d1;
  R2.d5 = R2.d2;
  R1.d2 = R2.d2;
  R1.d3 = R2.d3;
  SetupRoundedEnd();
  R1.d4 = JoinFixedPoint(values24.whole, values24.millionths);
  R1.d5 = JoinFixedPoint(values25.whole, values25.millionths);
  core.MotionPair[0] = R1;
  if (!CheckedLoad(R1, RangeStart)) return kFailed;
  return R1.code < 0x1900 ? kIntersect : kByKind;
}

int RunContext::MotionSetupCommand88() {
  auto& s = engine.stepping;
  UnpackCommandValue(1);
  core.MotionUpdateFlag = 4;
  s.MotionFirst = static_cast<int>(s.RangeValueWords[0]);
  s.MotionLast = static_cast<int>(s.RangeValueWords[1]);
  s.MotionCommandValues = registers.CommandValue1Pair;
  const int sub = R1.flags & 0xF0;
  s.MotionCmdKind = sub == 0x00 ? 5 : sub == 0x10 ? 6 : sub == 0x20 ? 7 : sub;
  s.MotionKind = s.MotionCmdKind;
  s.MotionFourthPair = SplitFixedPoint(R1.d7);
  MotionHelper8800A();
  if (AbortFlag == 0) MotionHelper8800B();
  if (AbortFlag == 0) MotionHelper8800C();
  if (AbortFlag != 0) return kFailed;
  s.MotionFirst += 1;
  s.KeptMotionKind = s.MotionCmdKind;
  if (s.MotionCmdKind == 7) {
    s.MotionCmdKind |= 0x8000;
    NcElement first{};
    if (!CheckedLoad(first, s.MotionFirst) || !CheckedLoad(R1, s.MotionLast)) return kFailed;
    R3.d4 = first.d4;
    R3.d5 = first.d5;
    R3.d2 = R3.d4 - R1.d4;
    if (R3.d2 == 0.0 && R3.d3 == 0.0) s.MotionCmdKind &= 0x7000;
  }
  return kStepX;
}

int RunContext::MotionSetSectionValues() {
  auto& s = engine.stepping;
  R3.d6 = R1.d4;
  R3.d7 = R1.d5;
  LoadR1FromEndFrame();
  LoadR0FromStartFrame();
  if (s.MotionCodeWord == kDeltaFormCode) {
    R3.d2 = R3.d3 = 0.0;
    WorkLength = 0.0;
    UpdateSegmentDeltaPair();
  } else {
    SwapSegmentEnds();
  }
  const double formerY = R0.d5;
  R0.d5 = R1.d5;
  R0.d4 = 0.0;
  R3.d5 = R3.d7;
  NcElement a{};
  if (!CheckedLoad(a, s.MotionElemA) || !CheckedLoad(R1, s.MotionElemB)) return kFailed;
  const double v = a.d3;
  R1.d4 = v;
  R3.d2 = R3.d4 = R1.d3 + v;
  R1.d5 = formerY;
  return 0;
}

int RunContext::MotionSegmentDirections() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  s.MotionSegFrame2 = R1;
  R3.d4 = s.MotionSegFrame.d4;
  R3.d5 = s.MotionSegFrame.d5;
  R3.d6 = R1.d4;
  R3.d7 = R1.d5;
  LoadSegmentBetweenFrames(*this);
  std::swap(R0.d4, R1.d4);
  std::swap(R0.d5, R1.d5);
  NcElement previous{};
  NcElement a{};
  if (!CheckedLoad(previous, s.MotionPrev) || !CheckedLoad(a, s.MotionElemA)) return kFailed;
  n[0] = RoundTo3Decimals(previous.d3);
  n[1] = RoundTo3Decimals(a.d3);
  if (!CheckedLoad(R0, s.MotionCursor)) return kFailed;
  R0.d3 = RoundTo3Decimals(R0.d3);
  R0.d4 = n[0];
  R1.d4 = n[0] + n[1];
  R0.d3 += n[0] + n[1];
  R3.d6 = R0.d3;
  const Vec2 p0 = geom::PointD4(R0);
  const Vec2 p1 = geom::PointD4(R1);
  const Vec2 half0 = 0.5 * geom::UnitOr({R0.d4, R0.d5 - R3.d5}, {1.0, 0.0});
  const Vec2 half1 = 0.5 * geom::UnitOr(p1 - p0, {1.0, 0.0});
  geom::SetD2(R0, geom::UnitOr(half0 + half1, {1.0, 0.0}));
  const Vec2 toNext = geom::UnitOr(Vec2{R3.d6, R3.d7} - p1, {1.0, 0.0});
  geom::SetD2(R1, geom::UnitOr(0.5 * toNext + half1, {1.0, 0.0}));
  return 0;
}

int RunContext::MotionInterpolateSegment() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  n[0] = R0.d4;
  n[1] = R0.d5;
  n[2] = R1.d4;
  core.ToolPointZ = R1.d5;
  s.SegmentStartX = R0.d4;
  s.SegmentEndY = R1.d5;
  ElementIndex = 0;
  BuildSegmentPieces();
  s.MotionSegFrame = R0;
  s.MotionSegFrame2 = R1;
  SegmentLengths();
  if (!CheckedLoad(R0, s.MotionElemA)) return kFailed;
  R2.d2 = R0.d2;
  // The length along the segment in the ratio of the element's values; an
  // element without a value has no ratio and the motion fails.
  if (R0.d3 == 0.0) return kFailed;
  R2.d3 = R2.d3 * R0.d2 / R0.d3;
  if (!std::isfinite(R2.d3)) return kFailed;
  PointAtLength();
  R3.d4 = R0.d5;
  LoadR1FromEndFrame();
  return 0;
}

int RunContext::MotionPlaceOnSegment() {
  auto& s = engine.stepping;
  const auto& n = core.ToolNormal;
  LoadR0FromStartFrame();
  const double span = n[2] - n[1];
  const double t = span != 0.0 ? (R2.d2 - n[1]) / span : 0.0;
  s.InterpolationFactor = t;
  R1.d4 += t * (R0.d4 - R1.d4);
  R1.d5 += t * (R0.d5 - R1.d5);
  return 0;
}

int RunContext::MotionBlend() {
  auto& s = engine.stepping;
  if (core.SectionCount != 0 && s.KeptWorkLength != 0.0) {
    for (NcElement* r : {&R0, &R1}) {
      const double scale = r->d0 * r->d3 / s.KeptWorkLength;
      geom::SetD2(*r, geom::UnitOr(scale * geom::DirectionD2(*r), {1.0, 0.0}));
    }
  }
  const double t = s.InterpolationFactor;
  R1.d0 += t * (R0.d0 - R1.d0);
  R1.d1 += t * (R0.d1 - R1.d1);
  R1.d2 += t * (R0.d2 - R1.d2);
  R1.d3 += t * (R0.d3 - R1.d3);
  const Vec2 d = geom::UnitOr(geom::DirectionD2(R1), {1.0, 0.0});
  geom::SetD2(R1, d);
  Vec2 normal{-d.y, d.x};
  if (normal.x < 0.0) normal = -1.0 * normal;
  s.ScratchPair = {normal.x, normal.y};
  return 0;
}

int RunContext::MotionScaleByValue() {
  auto& s = engine.stepping;
  R3.d7 = R0.d5;
  NcElement a{};
  if (!CheckedLoad(a, s.MotionElemA) || !CheckedLoad(R0, s.MotionElemA - 1)) return kFailed;
  R1.d4 = a.d3;
  R0.d5 = R3.d7;
  R0.d4 = 0.0;
  R3.d2 = R3.d4 = R0.d3 + R1.d4;
  if (MiddleDirection() == 0) return kEndFrameSwap;
  std::swap(R0.d5, R1.d5);
  std::swap(R0.d2, R1.d2);
  std::swap(R0.d3, R1.d3);
  R0.d3 = -R0.d3;
  R1.d3 = -R1.d3;
  return kInterpolate;
}

int RunContext::MotionEndSegment() {
  R1.d4 += engine.stepping.InterpolationFactor * (R0.d4 - R1.d4);
  SwapSegmentEnds();
  return 0;
}

int RunContext::MotionSideOfSegment() {
  R3.d4 = R0.d5 - R3.d5;
  R3.d5 = R0.d5 - R1.d5;
  R3.d2 = R3.d6 = R3.d7 - R1.d5;
  if (R3.d5 == 0.0) return kEndFrameSwap;
  if (R3.d4 == 0.0) return kStartAlongX;
  if (R3.d4 > 0.0) return kSide454;
  if (R3.d5 > 0.0) return kSide456;
  return kStartAlongX;
}

// The section elements from RangeStart on, until the one whose value reaches
// the target (R2's d2); the point between that section and the one before.
int RunContext::MotionFindSection() {
  auto& n = core.ToolNormal;
  n[0] = R1.d1;
  n[1] = R1.d5;
  for (;;) {
    // Angles of 0x5400 sections run from -180: a target above 180 is the
    // same direction 360 lower.
    if (R1.Kind() == 0x5400 && (n[1] < 0.0 || R1.d5 < 0.0) && R2.d2 > 180.0) R2.d2 -= 360.0;
    if (R1.d5 >= R2.d2 || RangeStart >= RangeEnd) break;
    n[0] = R1.d1;
    n[1] = R1.d5;
    RangeStart += 1;
    if (!CheckedLoad(R1, RangeStart)) return kFailed;
  }
  n[2] = R1.d5;
  R2.d4 = R1.d1;
  UnpackCommandValue(4);
  if (IntersectElements() != 1) return kFailed;
  engine.stepping.MotionStartFrame = R1;
  R2.d4 = n[0];
  UnpackCommandValue(4);
  if (IntersectElements() != 1) return kFailed;
  return kPlace;
}

int RunContext::MotionArcStep() {
  const double sweep = core.ToolNormal[2];
  registers.WorkAngle = std::fabs(sweep) < kZeroSweep ? 0.0 : R2.d2 * 180.0 / sweep;
  UpdateRotationCosSin();
  R0.d4 += R0.d1 * WorkVectorX();
  R0.d5 += R0.d1 * WorkVectorY();
  R3.d4 = R0.d4;
  R3.d5 = R0.d5;
  return 0;
}

int RunContext::MotionEndValues() {
  const auto& w = engine.stepping.RangeValueWords;
  R1.d4 = JoinFixedPoint(w[0], w[1]);
  R1.d5 = JoinFixedPoint(w[2], w[3]);
  core.MotionPair[0] = R1;
  R1.d4 = R1.d0;
  R1.d5 = R1.d1;
  R1.d0 = w[2] == 3 ? -core.ScaleBase : 0.0;
  R1.d1 = 0.0;
  return 0;
}

int RunContext::MotionLeadElement() {
  R0 = R1;
  SetR1KeepTail(engine.stepping.MotionResultFrame);
  R1.d2 = R0.d2;
  R1.d3 = R0.d3;
  constexpr double kLeadLength = 100.0;  // mm along the element's direction
  R1.d4 = R0.d6 + kLeadLength * R0.d2;
  R1.d5 = R0.d7 + kLeadLength * R0.d3;
  return 0;
}

int RunContext::MotionStepX() {
  auto& s = engine.stepping;
  if (!MotionSetupElement(s.MotionElemB)) return kFailed;
  s.MotionStartFrame = R1;
  if (!MotionSetupElement(s.MotionElemA)) return kFailed;
  s.MotionKindFlags = s.MotionKind;
  if (s.MotionKind == 7) return kNextSegment;
  if (s.MotionKind != 6) {
    s.MotionResultWord = 1;
    return kResolve;
  }
  if (!CheckedLoad(R0, s.MotionElemA)) return kFailed;
  R2.d2 = R0.d2;
  core.ToolNormal[2] = R0.d3;
  core.ToolNormal[1] = 0.0;
  if (s.MotionCodeWord == kDeltaFormCode) return kHalfSweep;
  LoadR0FromStartFrame();
  SwapSegmentEnds();
  R0.d4 = (R1.d5 + R0.d5) / 2.0;
  const double half = (R1.d5 - R0.d5) / 2.0;
  R0.d1 = R3.d2 = half;
  R0.d5 = 0.0;
  return half != 0.0 ? kArcStep : kSwapResult;
}

int RunContext::MotionNextSegment() {
  auto& s = engine.stepping;
  s.MotionKindFlags = s.MotionCmdKind;
  s.MotionEndFrame = R1;
  if (s.MotionElemA != s.MotionFirst) return kPreviousElement;
  if ((s.MotionKindFlags & 0x8000) == 0) return kPreviousOfLast;
  if (s.MotionElemB == s.MotionLast) return kFailed;
  if (!MotionSetupElement(s.MotionElemB + 1)) return kFailed;
  if (MotionSetSectionValues() != 0) return kFailed;
  return MiddleDirection() != 0 ? kInterpolate : kEndFrameSwap;
}

int RunContext::MotionPrevSegment() {
  auto& s = engine.stepping;
  const int kept = ElementIndex;
  if (!MotionSetupElement(s.MotionElemA - 1)) {
    ElementIndex = kept;
    return kFailed;
  }
  R3.d4 = R1.d4;
  R3.d5 = R1.d5;
  LoadSegmentBetweenFrames(*this);
  return kScaleByValue;
}

}  // namespace qup
