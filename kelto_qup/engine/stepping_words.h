#pragma once
// The working words of the element stepper, the path-motion state machine,
// the motion segment geometry, the per-element motion with its section
// drivers, and the section offset pass. They live in EngineState (member
// `stepping`), so the job's engine defaults reset them with the rest.
//
// Most of them carry values from one routine to the next of one tool
// position; the section lists, the pass values and the kept previous position
// live from position to position within one run.
#include <array>
#include <cstdint>
#include <vector>

#include "kelto_qup/engine/register_state.h"
#include "shared/handover/nc_element.h"

namespace qup {

// The range words that a new step keeps and gives back on every exit.
struct SavedStepWords {
  int RangeStart = 0;
  int SubRangeFirst = 0;
  int SubRangeLast = 0;
  int RangeEnd = 0;
  int RangeStep = 1;
  int RangeSpan = 0;
  int RangeOptions = 0;
  int GroupFlags = 0;
  int OffsetMode = 0;
};

// The range words that the motion machine keeps and gives back on every
// exit: the four range words and the value words of the command.
struct SavedMotionRange {
  int RangeStart = 0;
  int RangeEnd = 0;
  int RangeStep = 1;
  int RangeStepFraction = 0;
  int RangeOptions = 0;
  std::array<std::uint32_t, 4> RangeValueWords{};
  FixedPointPair MotionFourthPair{};
};

struct SteppingWords {
  using NcElement = handover::NcElement;

  // ---- element stepping
  int StepTargetIndex = 0;  // the command element being stepped
  int StepStackDepth = 0;   // register stack depth at the outermost step
  int StepFlags = 0;        // 0x01 an offset sum runs in R3's d0; 0x80 set by a 0x300 modifier
  double SavedOffsetSum = 0.0;
  double StepLengthSum = 0.0;  // Z added by the 0x100 modifiers, mm
  int StepFrameFlags = 0;      // flags of the frame the move was taken from
  int Kind6Pending = 0;        // 0xFFFF while a 0x36 command still has to be applied
  int Kind6Index = 0;
  int SubRangeFirst = 0;  // the command's sub-elements; SubRangeLast walks
  int SubRangeLast = 0;
  int RangeSpan = 0;   // elements between the two section indexes
  int GroupFlags = 0;  // group flags of the running contour (cleared by a step)
  SavedStepWords Saved{};
  std::array<double, 2> LastStepPoint{};
  // Section value, X and second value found on the two ranges of a walk.
  std::array<double, 3> SectionPointA{};
  std::array<double, 3> SectionPointB{};
  int FlipSwitch = 0;                   // set by the 0x600/0x700 modifiers
  std::array<double, 2> ScratchPair{};  // the step's scratch pair (normal factors, old Z)
  double ScratchX = 0.0;                // the frame's X, the motion's result
  double ScratchFactor = 0.0;
  int DepthWord = 0;    // the first command value word of the step
  int NestingWord = 0;  // 1 while a nested step runs
  // The stored pass point (X, Y) and its Z: where the last step ended.
  std::array<double, 3> PassPoint{};
  NcElement StepFrame{};  // R1 as it was when a table entry was stepped

  // ---- path-motion state machine
  std::array<NcElement, 4> MotionSavedRegs{};
  int MotionKind = 0;       // R2's flags & 0xF of the command
  int MotionKindFlags = 0;  // the kind, bit 0x8000 when the motion goes on past its end
  int MotionCodeWord = 0;   // 0x8009: the delta form of the segment update
  int MotionCmdKind = 0;    // kind of a 0x8800 command
  int MotionFirst = 0;
  int MotionLast = 0;
  int MotionElemA = 0;  // the two elements that bound the segment
  int MotionElemB = 0;
  int MotionCursor = 0;
  int MotionPrev = 0;
  int MotionResultWord = 0;  // 0xFFFF swap the segment ends, 1 keep, 0 interpolate
  int AngularDone = 0;
  int LeadMode = 0;  // 0 none, 1 rejoin requested, 0xFFFF done for this position
  NcElement MotionStartFrame{};
  NcElement MotionEndFrame{};
  NcElement MotionSegFrame{};   // first piece of the segment
  NcElement MotionSegFrame2{};  // second piece; flags 0: none
  NcElement MotionResultFrame{};
  NcElement MotionResultCopy{};
  int KeptSubtype = 0;
  int KeptMotionKind = 0;
  int MotionSegmentWord = 0;
  // Written by the 0x8800 set-up helpers: the centre, direction and angle sum
  // of an angular motion, and the two angular values it leaves.
  std::array<double, 2> MotionStoredCentre{};
  std::array<double, 2> MotionStoredDirection{};
  double MotionAngleSum = 0.0;
  std::array<double, 2> MotionAngularValues{};
  double SegmentStartX = 0.0;  // the stored start X of the segment
  double SegmentEndY = 0.0;    // the stored end point (Y) of the segment
  double InterpolationFactor = 0.0;
  double KeptWorkLength = 0.0;
  // The range value words of the command: the pairs of register codes 24 and
  // 25 (first, millionths, first, millionths); the fourth pair of a 0x8800.
  std::array<std::uint32_t, 4> RangeValueWords{};
  FixedPointPair MotionCommandValues{};
  FixedPointPair MotionFourthPair{};

  // ---- motion segment geometry
  NcElement SegmentRecord{};  // d2 the first piece's length, d3 the second's
  std::array<double, 2> SegmentStart{};
  std::array<double, 2> ChordA{};
  std::array<double, 2> ChordB{};

  // ---- per-element motion and the section drivers
  // The command that describes the section figure, and the second base
  // line's command (filled by the run's set-up).
  NcElement SectionCommand{};
  NcElement SecondBaseLineCommand{};
  NcElement SecondBaseLineFrame{};
  NcElement NormalSnapshot{};
  int SectionPassFlags = 0;
  int PreviewJoin = 0;         // no writer yet: stays 0
  int StoredNormalSwitch = 0;  // no writer yet: stays 0
  int StoredNormalFlag = 0;
  double ZLift = 0.0;  // the Z lift of the run; no writer yet: stays 0
  double SectionZ = 0.0;
  double BaseLineZ = 0.0;
  int RejoinPending = 0;
  int RejoinFirst = 0;
  int RejoinLast = 0;
  std::array<double, 4> RejoinPoint{};  // R0's d2..d5 at the rejoin
  std::array<double, 2> RejoinShift{};  // (distance, Z difference) of the rejoin
  int BaseLineTieSetting = 0;           // 2: of two equal joints the later wins
  int BaseLineStartIndex = 0;
  std::array<double, 2> BaseLineStartPoint{};
  int BaseLineScaling = 0;
  double BaseLineScalePercent = 0.0;
  std::array<double, 4> ScalingPair{};
  int TwistCounter = 0;
  std::array<double, 2> TwistPercent{};  // left and right twist values
  std::array<double, 2> TwistBase{};
  std::array<double, 2> KeptSectionDirection{};
  double FilletDoneWord = 0.0;
  int RotaryCorrectionFlag = 0;
  double RotaryCorrection = 0.0;

  // ---- section offset pass
  // The 0-terminated lists of section command indices and their count words
  // (0 while a list is not in use).
  std::vector<int> SectionListA;
  std::vector<int> SectionListB;
  int SectionListACount = 0;
  int SectionListBCount = 0;
  int SectionListPosition = 0;
  int OffsetPassMode = 0;  // 1 start of a run, 2048 per position
  double OffsetDistance = 0.0;
  double KeptOffset = 0.0;
  int SectionHitCount = 0;
  double AccumulatedOffset = 0.0;
  // The kept previous position of the pass and its normal.
  std::array<double, 3> PreviousPosition{};
  std::array<double, 3> PreviousNormal{};
  double SlopeBase = 1.0;  // 0.002 when the last two positions lie closer than 0.002
  int PassState = 0;       // 2: long moves are subdivided
  std::array<int, 2> KeptSectionIndex{-1, -1};
  std::array<double, 2> KeptSectionZ{};
  int SectionTracking = 0;  // a 0x8200 section is being tracked
  std::array<double, 3> TrackedPosition{};
  double TrackedZLimit = 0.0;
  int KeptStartSectionIndex = -1;
  // The values of the running process that the pass uses (set by the pass
  // driver and the job's set-up): the tool radii r and a, the extra
  // allowance E, the Z lowering switch, the tool kind, Z and reverse-side
  // settings and the scaling of the scaled space.
  double DepthStep = 0.0;
  double DepthStepAlt = 0.0;
  int DepthStepOn = 0;
  double ExtraOffset = 0.0;
  int ToolKindSetting = 0;
  int ZSetting = 0;
  int ReverseSideSetting = 0;
  int ScaleSwitch = 0;
  double ScaleFactorX = 100.0;
  double ScaleFactorY = 100.0;
  double ScaleFactorZ = 100.0;
  double SlopeRadius = 0.0;     // the kept radius of the slope lowering (the tool radius)
  int CurrentSectionIndex = 0;  // the running section command for StepSection (-1); 0 none
  int PieceMode = 0;            // 1: a piece opens its own element start
};

}  // namespace qup
