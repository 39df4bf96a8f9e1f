// Element stepping: one step of a path command at the current point. The
// step finds the height (ToolPointZ) and the tool normal of the surface that
// the command describes at R0's point, and leaves them for the motion.
//
// Phases of StepElement:
//  1. the move is taken from the current frame or a table entry, or a new
//     command starts at ElementIndex;
//  2. a new command saves the registers and the range words, then walks the
//     sub-elements of each reform command (0x36) backwards, applying their
//     modifiers to the point (shift, Z shift, offset sum, mirror, pass frame);
//  3. the command kind is dispatched (0x31 call entries, 0x32/0x33 section
//     sweeps, 0x35 motion through the state machine);
//  4. CheckKind6Element applies the reform modifiers forwards to the result
//     and gives the registers and the range words back.
// Every exit, also a failed one, gives the registers and SavedStepWords back.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {

constexpr int kTakeFrameMove = 0xFFFF;  // StepMode: the move comes from CurrentFrame
constexpr int kFrameIndexMark = 0x110;  // frame flags & 0xFF0: the frame names a command
constexpr int kReformCommand = 0x3600;
constexpr int kOffsetSumRunning = 0x01;  // StepFlags
constexpr int kOffsetSumStarted = 0x80;
constexpr int kErrorProjectedSurface = 5;  // a command kind the step cannot take
constexpr int kErrorRemoveSurface = 24;    // a modifier outside the table, or nesting too deep
constexpr int kErrorCheckSurface = 25;     // a command kind outside the table during an offset sum
constexpr int kRayModeSearching = 32769;
// Reform commands nest at most this deep (the model builder's limit too).
constexpr int kMaxReformLevels = 23;
// Rotation components below this size are exactly 0.
constexpr double kZeroComponent = 1e-9;

double ZeroTiny(double v) { return std::fabs(v) < kZeroComponent ? 0.0 : v; }

}  // namespace

void RunContext::SaveStepWords() {
  auto& s = engine.stepping;
  s.Saved = {RangeStart,  s.SubRangeFirst, s.SubRangeLast, RangeEnd,       RangeStep,
             s.RangeSpan, RangeOptions,    s.GroupFlags,   core.OffsetMode};
}

void RunContext::RestoreStepWords() {
  auto& s = engine.stepping;
  RangeStart = s.Saved.RangeStart;
  s.SubRangeFirst = s.Saved.SubRangeFirst;
  s.SubRangeLast = s.Saved.SubRangeLast;
  RangeEnd = s.Saved.RangeEnd;
  RangeStep = s.Saved.RangeStep;
  s.RangeSpan = s.Saved.RangeSpan;
  RangeOptions = s.Saved.RangeOptions;
  s.GroupFlags = s.Saved.GroupFlags;
  core.OffsetMode = s.Saved.OffsetMode;
}

int RunContext::StepElement(int arg) {
  auto& s = engine.stepping;
  if (AbortFlag != 0) return 0;
  s.FlipSwitch = 0;
  if (arg != 9) s.StepStackDepth = registers.RegisterStackDepth;
  s.LastStepPoint = {R0.d4, R0.d5};
  s.StepTargetIndex = ElementIndex;
  if (StepMode != 0) {
    const int taken = StepFromFrame();
    if (taken != 0) return taken == 1 ? 1 : 0;
  }
  return StepNewCommand();
}

// Steps 3 to 5: the move of the frame (or of a table entry) at the current
// point. 1 the move is done, 0 a new command starts at StepTargetIndex, -1
// failed (nothing was changed).
int RunContext::StepFromFrame() {
  auto& s = engine.stepping;
  if (StepMode == kTakeFrameMove) {
    const NcElement& frame = CurrentFrameRecord();
    s.ScratchPair = {frame.d6, frame.d7};
    s.ScratchX = frame.d4;
    WorkLength = frame.d5;
    StoreRegisterByCode(56);
    s.DepthWord = static_cast<int>(registers.CommandValue1Pair.whole);
    s.StepFrameFlags = frame.flags;
  } else {
    const NcElement kept = R1;
    if (!CheckedLoad(R1, s.StepTargetIndex)) return -1;
    s.StepFrame = kept;
    StepperHelperA();
    s.StepFrameFlags = core.StepKeptFlags;
  }
  if ((s.StepFrameFlags & 0xFF0) == kFrameIndexMark) {
    // The frame names the command to step: the integer part of its value.
    const int index = static_cast<int>(SplitFixedPoint(WorkLength).whole);
    s.StepTargetIndex = s.DepthWord = ElementIndex = index;
    return 0;
  }
  const double oldZ = R1.d7;
  core.ToolNormal[0] = oldZ;
  core.ToolNormal[1] = R2.d0;
  double z = WorkLength;
  if ((s.StepFlags & kOffsetSumRunning) != 0) {
    z += R3.d0;
    s.ScratchFactor = R2.d0;
  }
  s.ScratchPair[0] = oldZ;
  R1.d7 = z;
  core.ToolPointZ = z;
  StepperHelperB();
  return 1;
}

// Steps 6 to 9: a new command, with the sub-element walk of every reform
// command on the way to the command that describes the surface.
int RunContext::StepNewCommand() {
  auto& s = engine.stepping;
  s.Kind6Pending = 0;
  s.Kind6Index = ElementIndex;
  if (PushRegs() == kStopRun) return 0;
  SaveStepWords();
  s.GroupFlags = 0;
  RangeOptions = 0;
  core.ToolPointZ = R1.d7;
  s.StepLengthSum = 0.0;
  for (int level = 0;; ++level) {
    if (level > kMaxReformLevels) {
      StopWithError(kErrorRemoveSurface);
      return LeaveElementStep();
    }
    if (!CheckedLoad(R2, s.StepTargetIndex)) return LeaveElementStep();
    core.OffsetMode = 0;
    ClearStepFlags();
    s.SubRangeFirst = static_cast<int>(registers.CommandValue1Pair.whole);
    s.SubRangeLast = static_cast<int>(registers.CommandValue1Pair.millionths);
    R2.code &= 0xFF00;
    if (R2.code != kReformCommand) break;
    s.Kind6Pending = 0xFFFF;
    // The modifiers from the last to the first (at least one is applied).
    do {
      if (!CheckedLoad(R1, s.SubRangeLast)) return LeaveElementStep();
      StoreRegisterByCode(21);
      if (!ApplyStepModifier()) return LeaveElementStep();
      s.SubRangeLast -= 1;
    } while (s.SubRangeLast >= s.SubRangeFirst);
    // The point as the modifiers left it is the step's point from here on.
    s.LastStepPoint = {R0.d4, R0.d5};
    R0.d6 = R0.d4;
    R0.d7 = R0.d5;
    s.StepTargetIndex = RangeStart;
  }
  return StepCommandKind();
}

// One modifier (in R1) on the point in R0; false after an error stop.
bool RunContext::ApplyStepModifier() {
  auto& s = engine.stepping;
  const int modifier = R1.flags & 0xF00;
  SubtypeWord = modifier;
  switch (modifier) {
    case 0x000:  // shift
      R0.d4 -= R1.d4;
      R0.d5 -= R1.d5;
      return true;
    case 0x100:  // Z shift
      s.StepLengthSum += R1.d1;
      return true;
    case 0x600:
    case 0x700:
      s.FlipSwitch = 1;
      [[fallthrough]];
    case 0x200:  // the point in the modifier's frame
      R1.d3 = -R1.d3;
      SetupPassFrame();
      return AbortFlag == 0;
    case 0x300: {  // offset along the normal, summed in R3's d0
      s.SavedOffsetSum = R3.d0;
      const bool running = (s.StepFlags & kOffsetSumRunning) != 0;
      s.StepFlags |= kOffsetSumStarted | kOffsetSumRunning;
      R3.d0 = running ? R3.d0 + R1.d1 : R1.d1;
      return true;
    }
    case 0x400:  // mirror about the modifier's axis
      if (!LoadMirrorAxis()) return false;
      MirrorDirection();
      return true;
    default:
      StopWithError(kErrorRemoveSurface);
      return false;
  }
}

bool RunContext::LoadMirrorAxis() {
  // A mirror modifier names its axis in d1 (a line: start d6/d7, end d4/d5);
  // without one the axis is the one already in R3.
  if (R1.d1 == 0.0) return true;
  NcElement axis{};
  if (!CheckedLoad(axis, static_cast<int>(SplitFixedPoint(R1.d1).whole))) return false;
  if (axis.Kind() == kCodeLine) {
    R3.d4 = axis.d6;
    R3.d5 = axis.d7;
    R3.d6 = axis.d4;
    R3.d7 = axis.d5;
  } else {
    // A point (or the centre of an arc) mirrors through itself.
    R3.d4 = R3.d6 = axis.Kind() == kCodeArc ? axis.d6 : axis.d4;
    R3.d5 = R3.d7 = axis.Kind() == kCodeArc ? axis.d7 : axis.d5;
  }
  return true;
}

void RunContext::MirrorDirection() {
  const Vec2 origin{R3.d4, R3.d5};
  const Vec2 along = Vec2{R3.d6, R3.d7} - origin;
  const Vec2 p = geom::PointD4(R0) - origin;
  const Vec2 d = geom::DirectionD2(R0);
  if (geom::Length(along) < geom::kZeroLength) {
    geom::SetD4(R0, origin - p);
    geom::SetD2(R0, -1.0 * d);
    return;
  }
  // Reflection about the axis: v' = 2 (v . a) a - v.
  const Vec2 a = geom::UnitOr(along, {1.0, 0.0});
  auto reflect = [&a](Vec2 v) { return 2.0 * geom::Dot(v, a) * a - v; };
  geom::SetD4(R0, origin + reflect(p));
  geom::SetD2(R0, reflect(d));
}

int RunContext::StepCommandKind() {
  auto& s = engine.stepping;
  core.ReferencePoint = {R0.d4, R0.d5};
  R2.code &= 0xFF00;
  switch (R2.code) {
    case 0x3100: {
      if ((R2.flags & 0x3000) != 0) {
        StopWithError(kErrorProjectedSurface);
        break;
      }
      NcElement entry{};
      if (!CheckedLoad(entry, RangeStart)) break;
      if (entry.code > 8191) {
        const int named = static_cast<int>(SplitFixedPoint(entry.d4).whole);
        NcElement target{};
        if (!CheckedLoad(target, named)) break;
        if (target.Kind() != kCodePoint && target.code < 0x3000) PushCallEntry(2, RangeStart);
      } else if (entry.Kind() != kCodePoint) {
        PushCallEntry(1, s.StepTargetIndex);
      }
      if (AbortFlag != 0) break;
      const int driven = StepDriver();
      if (AbortFlag != 0) break;
      return driven;
    }
    case 0x3200:
    case 0x3300:
      return StepLineCommand();
    case 0x3500: {
      StepperHelperC();
      const int moved = RunMotionMachine(2);
      core.RayMode &= 0xF;
      if (moved != 1 || AbortFlag != 0) break;
      // The section of the rotation: its distance from the axis, its height
      // and the factor that turns the normal.
      const NcElement& result = s.MotionResultFrame;
      R0.d4 = -result.d4;
      core.ToolPointZ = result.d5;
      s.ScratchX = result.d2;
      core.ToolNormal[0] *= s.ScratchX;
      core.ToolNormal[1] *= s.ScratchX;
      return CheckKind6Element();
    }
    default:
      StopWithError((s.StepFlags & kOffsetSumRunning) != 0 ? kErrorCheckSurface : kErrorProjectedSurface);
      break;
  }
  LeaveElementStep();
  core.RayMode &= 0xF;
  return 0;
}

int RunContext::LeaveElementStep() {
  auto& s = engine.stepping;
  if ((s.StepFlags & kOffsetSumStarted) != 0) s.StepFlags &= ~(kOffsetSumStarted | kOffsetSumRunning);
  // Back to the registers pushed when the outermost step began.
  const int level = s.StepStackDepth + 1;
  if (level >= 1 && level <= RegisterState::kStackLevels) {
    registers.RegisterStackDepth = level;
    PopRegs();
  }
  RestoreStepWords();
  return 0;
}

int RunContext::ResumeElementStep() {
  auto& s = engine.stepping;
  const SavedStepWords saved = s.Saved;
  const int offsetMode = core.OffsetMode;
  const auto lastPoint = s.LastStepPoint;
  const int groupFlags = s.GroupFlags;
  const double lengthSum = s.StepLengthSum;
  const int rayMode = core.RayMode;
  const std::uint32_t thirdRangeValue = s.RangeValueWords[2];
  core.RayMode = 0;
  s.NestingWord = 1;
  const int result = StepElement(9);
  s.Saved = saved;
  core.OffsetMode = offsetMode;
  s.LastStepPoint = lastPoint;
  s.GroupFlags = groupFlags;
  s.StepLengthSum = lengthSum;
  core.RayMode = rayMode;
  s.RangeValueWords[2] = thirdRangeValue;
  s.NestingWord = 0;
  return result;
}

// Kinds 0x32 and 0x33: a section swept along a guide. The section gives the
// height at the point's across coordinate, the guide the height (or the
// offset) at its along coordinate.
int RunContext::StepLineCommand() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  // 1. A single section element that is a command gives its own section.
  if (s.SubRangeFirst == s.SubRangeLast && CheckedIndex(s.SubRangeFirst)) {
    const NcElement& only = elements[s.SubRangeFirst];
    if (only.code > 8192) {
      R2.d1 = only.d1;
      UnpackCommandValue(1);
    }
  }
  if (AbortFlag != 0) return LeaveElementStep();
  // 2.-3. The along coordinate into R2's d2, the across one into R0's X.
  const int style = R2.flags & 0xF0;
  core.FlagWord = style;
  if (style == 0 && (R2.code & 0xF00) == 0x200) {
    R2.d2 = R0.d5;
  } else {
    if (style != 0 && StepperArcSetup() != 1) return LeaveElementStep();
    R2.d2 = R0.d4;
    R0.d4 = R0.d5;
  }
  // 4. The section at the across coordinate.
  R2.d3 = R2.d4;
  R2.d4 = R2.d1;
  R2.d1 = 0.0;
  UnpackCommandValue(4);
  s.StepTargetIndex = RangeStart;
  if (!CheckedLoad(R1, RangeStart)) return LeaveElementStep();
  if (R1.code < 0x1801) {
    if (StepIntersectJoin(0) != 1) return LeaveElementStep();
  } else if (StepSectionWalk() != 1) {
    return 0;
  }
  // 5. The guide at the along coordinate.
  n[0] = s.ScratchPair[0];
  n[1] = s.ScratchPair[1];
  const double sectionZ = R0.d5;
  core.ToolPointZ = sectionZ;
  R2.d4 = R2.d3;
  R0.d4 = R2.d2;
  R0.d5 = R2.d3;
  if ((R2.flags & 1) != 0) {
    // The section's height offsets the guide instead of adding to it.
    core.ToolPointZ = 0.0;
    core.OffsetMode |= 1;
    R2.d1 += sectionZ;
  }
  if ((s.StepFlags & kOffsetSumRunning) != 0) core.OffsetMode |= 1;
  UnpackCommandValue(4);
  if (core.RayMode == 1) core.RayMode = kRayModeSearching;
  if (IntersectAndJoin(6) != 1) return LeaveElementStep();
  // 6. The normal.
  if ((R2.flags & 1) != 0) {
    if ((R2.code & 0xF00) == 0x300) {
      n[0] = n[2] * s.ScratchX;
    } else {
      n[0] = n[1];
      n[1] = n[2] * s.ScratchX;
    }
    n[2] *= s.ScratchPair[1];
  } else {
    StepperHelperD();
  }
  // 7. The height, and the normal turned into the step frame.
  core.ToolPointZ += R0.d5;
  if ((R2.flags & 0xFF) > 15) {
    SetR1KeepTail(s.StepFrame);
    R1.d2 = -R1.d2;
    WorkVectorX() = R1.d3;
    WorkVectorY() = -R1.d2;
    const double i = n[0];
    const double j = n[1];
    n[0] = ZeroTiny(i * R1.d2 - j * R1.d3);
    n[1] = ZeroTiny(i * R1.d3 + j * R1.d2);
  }
  return CheckKind6Element();
}

// Several sections along the guide: the two sections around the along
// coordinate (R2's d2) are placed and the point and direction interpolated
// between them.
int RunContext::StepSectionWalk() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  UnpackCommandValue(4);
  n[0] = R1.d1;
  n[1] = R1.d5;
  RangeStep = 1;
  s.RangeSpan = 0;
  if (!CheckedLoad(R1, RangeStart)) return LeaveElementStep();
  if (R1.d5 <= R2.d2) {
    for (;;) {
      n[0] = R1.d1;
      n[1] = R1.d5;
      if (RangeStart >= RangeEnd) break;
      RangeStart += 1;
      if (!CheckedLoad(R1, RangeStart)) return LeaveElementStep();
      if (R1.d5 >= R2.d2) break;
    }
  }
  n[2] = R1.d5;
  const FixedPointPair before = SplitFixedPoint(n[0]);
  const FixedPointPair after = SplitFixedPoint(R1.d1);
  const NcElement keptR0 = R0;
  const NcElement keptR1 = R1;
  StepPlaceEndpoints(static_cast<int>(before.whole), static_cast<int>(before.millionths));
  s.SectionPointA = {n[1], R0.d4, R1.d6};
  StepPlaceEndpoints(static_cast<int>(after.whole), static_cast<int>(after.millionths));
  s.SectionPointB = {n[2], R0.d4, R1.d6};
  if (AbortFlag != 0) return LeaveElementStep();
  StepSectionInterpolate(R2.d2);
  R0 = keptR0;
  R1 = keptR1;
  R2.d4 = R1.d1;
  R0.d4 = s.SectionPointB[1];
  if (StepIntersectJoin(1) != 1) return LeaveElementStep();
  const NcElement onSecond = R0;
  R0.d4 = s.SectionPointA[1];
  R2.d4 = n[0];
  if (StepIntersectJoin(2) != 1) return LeaveElementStep();
  SetR1KeepTail(R0);
  R0 = onSecond;
  StepperHelperE();
  return 1;
}

void RunContext::StepPlaceEndpoints(int a, int b) {
  auto& s = engine.stepping;
  core.OffsetMode = 0;
  if ((s.StepFlags & kOffsetSumRunning) != 0) {
    core.OffsetMode = 1;
    R2.d1 = R3.d0;
  }
  if (!CheckedLoad(R0, a)) return;
  s.RangeSpan = b - a;
  engine.RangeElementCount = s.RangeSpan;
  if (R0.Kind() != kCodePoint) {
    SetupLinearMove(1);
    R0.d4 = R1.d6;
    R0.d5 = R1.d7;
  }
  R1.d6 = R0.d4;
  R1.d7 = R0.d5;
  if (!CheckedLoad(R0, b)) return;
  if (R0.Kind() != kCodePoint) {
    R3.d4 = R0.d6;
    R3.d5 = R0.d7;
    ExtendLeadPoint(1);
  }
}

int RunContext::StepSectionInterpolate(double value) {
  auto& s = engine.stepping;
  const auto& a = s.SectionPointA;
  const auto& b = s.SectionPointB;
  auto crossing = [&](Vec2 through, Vec2 direction) {
    R0 = NcElement{};
    R1 = NcElement{};
    R0.code = R1.code = kCodeLine;
    R0.d4 = value;
    R0.d3 = 1.0;
    geom::SetD4(R1, through);
    geom::SetD2(R1, geom::UnitOr(direction, {1.0, 0.0}));
    return IntersectWithNext();
  };
  if (crossing({a[0], a[2]}, {b[0] - a[0], b[2] - a[2]}) == 0) return 0;
  const double first = R0.d5;
  const int result = crossing({a[0], a[1]}, {b[0] - a[0], b[1] - a[1]});
  const double second = R0.d5;
  const double gap = second - first;
  const double percent = gap != 0.0 ? (value - first) * 100.0 / gap : 0.0;
  WorkLength = percent;
  const double t = percent * 0.01;
  s.SectionPointA[2] += t * (b[2] - a[2]);
  s.SectionPointB[2] += t * (b[2] - a[2]);
  return result;
}

int RunContext::StepIntersectJoin(int /*pass*/) {
  auto& s = engine.stepping;
  const bool offsetSum = (s.StepFlags & kOffsetSumRunning) != 0;
  core.OffsetMode = 0;
  if (offsetSum) {
    core.OffsetMode = 1;
    R2.d1 = R3.d0;
  }
  R2.code &= ~0xF;
  UnpackCommandValue(4);
  if (core.RayMode == 1) core.RayMode = kRayModeSearching;
  if (IntersectAndJoin(6) != 1) return 0;
  if (offsetSum) {
    R2.d1 = R3.d0;
    R0.d5 -= R3.d0;
    core.ToolPointZ = R0.d5;
  }
  return 1;
}

// The reform modifiers applied forwards to the result, then the registers
// and range words given back. Returns 1, or 0 after a stop.
int RunContext::CheckKind6Element() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  if (s.Kind6Pending != 0) {
    NcElement reform{};
    if (!CheckedLoad(reform, s.Kind6Index)) return LeaveElementStep();
    if (reform.Kind() == kReformCommand) {
      R2 = reform;
      UnpackCommandValue(4);
      R0.d4 = R2.d1;
      R0.d5 = R2.d2;
      core.ToolPointZ += s.StepLengthSum;
      s.Kind6Pending = 0;
    }
  }
  for (int level = 0;; ++level) {
    if (level > kMaxReformLevels) {
      StopWithError(kErrorRemoveSurface);
      return LeaveElementStep();
    }
    if (!CheckedLoad(R2, s.Kind6Index)) return LeaveElementStep();
    UnpackCommandValue(1);
    UnpackCommandValue(4);
    if (R2.Kind() != kReformCommand) break;
    s.SubRangeFirst = static_cast<int>(registers.CommandValue1Pair.whole);
    s.SubRangeLast = static_cast<int>(registers.CommandValue1Pair.millionths);
    bool stop = false;
    for (; s.SubRangeFirst <= s.SubRangeLast && !stop; s.SubRangeFirst += 1) {
      if (!CheckedLoad(R1, s.SubRangeFirst)) return LeaveElementStep();
      const int modifier = R1.flags & 0xF00;
      bool passFrame = false;
      switch (modifier) {
        case 0x000:
        case 0x100:
          break;
        case 0x200:
        case 0x600:
          passFrame = true;
          break;
        case 0x300:
          R3.d0 = s.SavedOffsetSum;
          break;
        case 0x400: {
          // The normal mirrored about the same axis as the point was.
          if (!LoadMirrorAxis()) return LeaveElementStep();
          const NcElement kept = R0;
          R0.d4 = R3.d4;
          R0.d5 = R3.d5;
          R0.d2 = n[0];
          R0.d3 = n[1];
          MirrorDirection();
          n[0] = R0.d2;
          n[1] = R0.d3;
          R0 = kept;
          break;
        }
        default:
          if (modifier == 0x700) {
            passFrame = true;
          } else {
            stop = true;
          }
          break;
      }
      if (passFrame) {
        R0.d4 = s.PassPoint[0];
        R0.d5 = s.PassPoint[1];
        SetupPassFrame();
        if (AbortFlag != 0) return LeaveElementStep();
        if (core.StepPassWord == 0) s.Kind6Pending = 0;
      }
    }
    if (stop) break;
    s.Kind6Index = RangeStart;
  }
  // 6. The result kept, the registers and range words given back.
  s.PassPoint = {R0.d4, R0.d5, core.ToolPointZ};
  PopRegs();
  RestoreStepWords();
  s.ScratchPair[0] = R1.d7;
  R1.d7 = core.ToolPointZ;
  return 1;
}

}  // namespace qup
