// Per-element motion: every tool position of a contour or surface run becomes
// a complete position here: the point (X, Y, Z) and the tool normal (I, J,
// K), written into the next of the two alternating motion frames (slots 52
// and 53) for the block output and the drawing.
//
// EmitElementMotion runs the section driver (RunSectionMotion: the motion
// state machine where the run has a section motion mode, the element
// stepper on the section command, the axis rotation or the second base
// line), then the section offset pass and the contour fillet where the run
// asks for them, and writes the frame.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/kept_range.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorSectionFigure = 19;     // the section motion failed
constexpr int kErrorProjectedSurface = 20;  // stepping on the projected surface failed
constexpr int kSectionModeMask = 7;         // SnapshotFlags: the section motion mode
constexpr int kContourFilletFlag = 0x2000;  // SnapshotFlags: the contour fillet after the position
constexpr int kSecondBaseLineFlag = 0x8000;
constexpr int kTakeFrameMove = 0xFFFF;
constexpr std::uint32_t kFrameIndexBits = 0x110;

}  // namespace

int RunContext::EmitElementMotion(int mode) {
  auto& s = engine.stepping;
  if (AbortFlag != 0) return kStopRun;
  const int offsetMode = core.OffsetMode;
  const double offset = R3.d0;
  core.OffsetMode = 0;
  R3.d0 = 0.0;
  R0.d6 = R0.d4;
  R0.d7 = R0.d5;
  core.ReferencePoint = {R0.d4, R0.d5};
  const NcElement slot160 = Slot(SaveSlot::Slot160);
  auto restore = [&] {
    core.OffsetMode = offsetMode;
    Slot(SaveSlot::Slot160) = slot160;
    R3.d0 = offset;
  };

  if (RunSectionMotion() == kStopRun || AbortFlag != 0) {
    restore();
    return kStopRun;
  }
  s.LeadMode = 0;
  core.MotionModeCopy = 0;
  core.MotionUpdateFlag = 0;
  if (s.SectionListACount != 0 && (core.SnapshotFlags & kContourFilletFlag) != 0 && s.PreviewJoin == 0) {
    s.AccumulatedOffset = 0.0;
    RunOffsetPass();
  }

  // The position goes into the frame not written last time, so that the
  // previous position stays readable in the other one.
  core.FrameToggle = core.FrameToggle != 0 ? 0 : 1;
  core.CurrentFrame = core.FrameToggle != 0 ? FrameRef::Slot53 : FrameRef::Slot52;
  NcElement& frame = CurrentFrameRecord();
  frame.d0 = core.ToolNormal[0];
  frame.d1 = core.ToolNormal[1];
  frame.d2 = core.ToolNormal[2];
  frame.d3 = R1.d7;
  frame.d4 = R0.d4;
  frame.d5 = R0.d5;

  if (s.PreviewJoin == 0 && AbortFlag == 0 && (core.SnapshotFlags & kContourFilletFlag) != 0) {
    core.FilletOffset = offset;
    CalcContourFillet(mode, mode);
    s.FilletDoneWord = 0.0;
  }
  restore();
  return AbortFlag != 0 ? kStopRun : 0;
}

int RunContext::RunSectionMotion() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  // 1. A second base line whose first joint elements lie close together
  // asks for a rejoin of those elements at this position.
  s.SectionPassFlags = 0;
  if ((core.SnapshotFlags & kSecondBaseLineFlag) != 0) {
    const FixedPointPair joint = SplitFixedPoint(s.SectionCommand.d1);
    NcElement first{};
    if (!CheckedLoad(first, static_cast<int>(joint.whole))) return kStopRun;
    const int kind = first.Kind() >> 8;
    if (kind >= 0x12 && kind <= 0x1F && joint.millionths < joint.whole + 3) {
      s.RejoinPoint = {R0.d2, R0.d3, R0.d4, R0.d5};
      s.RejoinFirst = static_cast<int>(joint.whole);
      s.RejoinLast = static_cast<int>(joint.millionths);
      s.RejoinPending = 1;
      s.LeadMode = 1;
    }
  }
  // 2. The section motion of the run's mode.
  if ((core.SnapshotFlags & kSectionModeMask) != 0 && RunMotionMachine(1) != 1) {
    return StopWithError(kErrorSectionFigure);
  }
  // 3.
  const NcElement sectionStart = R0;
  enum class Next { Stored, Step, Finish };
  Next next = Next::Step;
  if (s.StoredNormalSwitch != 0 && s.StoredNormalFlag != 0) {
    next = Next::Stored;
  } else if (s.PreviewJoin != 0 && s.RejoinPending == 0) {
    next = Next::Finish;
  }

  if (next == Next::Step) {
    // 4. The section command's height and its mode.
    WorkLength = s.SectionCommand.d5;
    const FixedPointPair modes = SplitFixedPoint(s.SectionCommand.d6);
    const bool namesCommand = (modes.millionths & kFrameIndexBits) == kFrameIndexBits;
    const int updateFlag = core.MotionUpdateFlag;
    bool pushed = false;
    KeptRangeWords range(*this);
    if (!namesCommand) {
      // 5. The height taken from the section command itself.
      core.CurrentFrame = FrameRef::SectionCommand;
      StepMode = kTakeFrameMove;
      s.LeadMode = 0;
      if (core.MotionUpdateFlag == 4) {
        if (PushRegs() == kStopRun) return kStopRun;
        pushed = true;
      }
    } else {
      // 6. A section command that names the command to step.
      if (PushRegs() == kStopRun) return kStopRun;
      pushed = true;
      LoadSectionCommand();
      core.MotionUpdateFlag = static_cast<int>(registers.CommandValue6Pair.whole & 0xF);
      ElementIndex = RangeStart;
      StepMode = 0;
    }
    if (StepElement(0) == 0 || AbortFlag != 0) {
      if (pushed) PopRegs();
      range.Restore();
      return StopWithError(kErrorProjectedSurface);
    }
    if (!pushed) {
      s.NormalSnapshot.d0 = n[0];
      s.NormalSnapshot.d1 = n[1];
      s.NormalSnapshot.d2 = n[2];
      s.NormalSnapshot.d5 = core.ToolPointZ;
    } else {
      // 7. The normal in the section's frame, the registers given back.
      if (!namesCommand) {
        RangeOptions = static_cast<int>(modes.whole);
        core.MotionModeCopy = static_cast<int>(modes.whole);
      }
      core.MotionUpdateFlag = updateFlag;
      AlignNormalToSection();
      R1.d5 = core.ToolPointZ;
      s.NormalSnapshot = R1;
      PopRegs();
      range.Restore();
      R1.d7 = core.ToolPointZ;
    }
  } else if (next == Next::Stored) {
    // 8. The normal and height stored with the last section step.
    SetR1KeepTail(s.NormalSnapshot);
    n = {R1.d0, R1.d1, R1.d2};
    core.ToolPointZ = R1.d5;
    R1.d7 = R1.d5;
  }

  // 9. The point back on the element, then the second base line or the
  // axis rotation.
  s.SectionZ = R1.d7;
  SetR0KeepTail(sectionStart);
  if ((core.SnapshotFlags & kSecondBaseLineFlag) != 0) {
    return RunSecondBaseLine() == kStopRun ? kStopRun : 0;
  }
  if ((core.SnapshotFlags & kSectionModeMask) != 0) {
    const int rotated = RotateForAxis();
    if (rotated == kStopRun) return kStopRun;
    if (rotated == 0) return StopWithError(kErrorSectionFigure);
    UpdateToolNormal();
    RotateDirection(1);
    AdvanceAlongNormal();
    return 0;
  }
  R1.d7 += s.ZLift;
  return 0;
}

void RunContext::LoadSectionCommand() {
  R2 = engine.stepping.SectionCommand;
  UnpackCommandValue(6);
  UnpackCommandValue(4);
  R2.d4 = R2.d5;
  R1.d4 = 0.0;
  if (RangeEnd == 0) RangeEnd = RangeStart;
  RangeStep = 1;  // the first entry of the step table
  engine.stepping.SectionPassFlags = 0;
}

void RunContext::AlignNormalToSection() {
  auto& n = core.ToolNormal;
  R1.d0 = n[0];
  R1.d1 = n[1];
  R1.d2 = n[2];
  R1.d3 = core.ToolPointZ;
  engine.stepping.OffsetDistance = 0.0;
  if (core.MotionUpdateFlag == 4) {
    double dx = R0.d2;
    double dy = R0.d3;
    if ((RangeOptions & kRangeBackward) != 0) {
      dx = -dx;
      dy = -dy;
    }
    // The normal's part along the element becomes its height component.
    n[2] = dy * n[1] + dx * n[0];
    WorkVectorX() = dx;
    WorkVectorY() = dy;
    NormalizeWorkVector();
    n[0] = dx * n[2] / core.DirectionUnit;
    n[1] = dy * n[2] / core.DirectionUnit;
  }
  R1.d4 = R0.d4;
  R1.d5 = R0.d5;
}

void RunContext::AdvanceAlongNormal() {
  // Slot 542 lends its record to R1; R1 keeps its own Z (d6/d7 never move).
  SwapR1WithSlot(SaveSlot::Slot542);
  const double advance = R1.d5;
  if (core.MotionUpdateFlag == 4) {
    const auto& n = core.ToolNormal;
    R0.d4 += advance * n[0];
    R0.d5 += advance * n[1];
    R1.d7 += advance * n[2];
  } else {
    RotateByTangent();
    R1.d7 += advance;
  }
  SwapR1WithSlot(SaveSlot::Slot542);
}

}  // namespace qup
