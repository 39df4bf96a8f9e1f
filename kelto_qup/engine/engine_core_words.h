#pragma once
// The working words of the tool-path engine core: fetching and offsetting the
// next element, path length and machining time, the save slots and frames of
// the motion, the element transform and tool normal, end directions and turn
// side, the traversal and ray search, and the guide-line lengths. They live in
// EngineState (member `core`), so the job start resets them with the rest.
//
// Where several engine families name one storage differently, it is one
// member here and the other names are reference aliases in RunContext.
#include <array>
#include <cstdint>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/register_state.h"
#include "shared/handover/nc_element.h"

namespace qup {

// Flag bits and mode words that several engine families test.
inline constexpr int kConsumedMark = 0xFFFF;       // low 16 flag bits all set: element consumed
inline constexpr int kReversedSide = 0x50000;      // flag bits: reversed side, second crossing
inline constexpr int kReady = 0xFFFF;              // ElementIndex: ready or found
inline constexpr int kResolveModeA = 0x2222;       // successor resolution, first kind
inline constexpr int kResolveModeB = 0x1112;       // successor resolution, second kind
inline constexpr int kWalkKeepReference = 0x1234;  // traversal: keep the reference point
inline constexpr int kCodeLineWalk = 0x9900;       // traversal of code lines
inline constexpr int kRangeBackward = 0x08;        // RangeOptions: walk the range backwards
inline constexpr int kCodePoint = 0x1100;
inline constexpr int kCodeLine = 0x1200;
inline constexpr int kCodeArc = 0x1300;
inline constexpr int kCodeEllipse = 0x1400;
// The error code of hand-over data that names no element ("GO figure").
inline constexpr int kErrorBadElement = 11;

// The numbered save slots of the motion. Each enumerator carries its slot
// number; only these slots exist, so a wrong number does not compile.
enum class SaveSlot : int {
  Slot52 = 52,  // motion frame A (FrameToggle 0)
  Slot53 = 53,  // motion frame B (FrameToggle non-zero)
  Slot61 = 61,  // best joint of the corner-radius guide walk
  Slot65 = 65,
  Slot160 = 160,
  Slot175 = 175,
  Slot224 = 224,  // fillet frame
  Slot225 = 225,  // fillet frame
  Slot227 = 227,  // fillet frame C
  Slot420 = 420,  // the current element before its transform
  Slot421 = 421,  // the current element after its transform (transform record)
  Slot424 = 424,
  Slot427 = 427,
  Slot437 = 437,
  Slot472 = 472,
  Slot542 = 542,  // "CALL_ON" record; also the companion of the call record's previous state
  Slot551 = 551,  // the call record of "CALL_ON" (RunContext::CallRecord)
  Slot726 = 726,  // frame of the element-end motion
};
inline constexpr int kSaveSlotCount = 18;

// The records that CurrentFrame may name. A name, not a pointer, so that the
// job's reset of EngineState can never leave it dangling.
enum class FrameRef : int {
  None = 0,
  Slot52,
  Slot53,
  Slot225,       // SetCurrentFrame
  FilletFrameB,  // SetCurrentFrameB
  Slot227,       // SetCurrentFrameC
  R0,            // SetCurrentFrameR0
  ArcPassFrame,  // SetCurrentFrameArc
  Slot726,
  SectionCommand,   // the copy of the command that describes the section figure
  BaseLineFrame,    // the frame of the second base line walk
  BaseLineCommand,  // the copy of the second base line command
};

// One entry of the run-start cache of CachedRunStart.
struct StartCacheEntry {
  int elementIndex = 0;  // 0 = free
  double d2 = 0.0, d3 = 0.0, d4 = 0.0, d5 = 0.0;
};

// The words of the contour walk of command 0x71 (hab_goo and its loop),
// the two-axis check before it and the overrun of command 0x74 after it.
struct ContourLoopWords {
  // The approach a figure group carries (flag 0x2000): its value and point;
  // ApproachMode 0 none, 1 given, 0xFFFF given on a one-way range.
  double ApproachValue = 0.0;
  std::array<double, 2> ApproachPoint{};
  int ApproachMode = 0;
  int ApproachFlag = 0;     // bit 0x1000 of the group's flags
  int OneShotApproach = 0;  // cleared at every contour start
  double CommandValue3 = 0.0;
  int RangeOptionsCopy = 0;
  int FirstElementIndex = 0;  // the range's first element (0: walked directly)
  int WalkBackwards = 0;      // flags 0x70000: the range is walked from its end
  int MarkReversed = 0;       // the first element is to carry the reversed side
  int OffsetsTaken = 0;       // the walk took R3's d0 and the extra offset over
  // The contour output word: 0x10 fillet run, 0x30 set-up run, 0x50 sub-pass.
  int ContourPassBits = 0;
  // The contour command's display colour (its int3), twice.
  std::array<int, 2> ColourWords{};
  // The step of the two-axis offset walk (mm); 0x7180 keeps its offset here.
  double TwoAxisStep = 0.0;
  // Set by the overrun of a 0x7410 command: the next loop leaves the
  // range's marks as they are.
  int ConsumedGuard = 0;
  int GroupEndFlag = 0;
  // The overrun: 0xFFFF while its traversal runs from a command with a
  // range; the range starts noted by the two kinds of traversal.
  int OverrunReverse = 0;
  int TraverseMarkA = 0;
  int TraverseMarkB = 0;
  int SavedTransformMode = 0;
  int StopRequest = 0;    // set before each contour run of the overrun
  int OneShotOutput = 0;  // the last contour run of the overrun writes once
  int CycleBlockWord = 0;
  // The lead save slot (the walk's first element) and the command save slot
  // (the command with the group's flags and side, as SelectOffsetSide left it).
  handover::NcElement LeadSave{};
  handover::NcElement CommandSave{};
  // The side selector SelectOffsetSide put into OutputFlags' low 3 bits.
  int SideSelector = 0;
  // The element a closed contour's walk ended on after joining its last
  // element back to its first (-1: none); the overrun leaves it there, at
  // the TO point's foot or, with ClosedAtStart, at the element's start.
  int ClosedOnElement = -1;
  int ClosedAtStart = 0;  // the cut began before that element: it ends at its start
  std::array<double, 2> ClosedStartPoint{};
  // Where the tool left that element the first time round: the overrun
  // after the closing joint runs on no further.
  std::array<double, 2> ClosedElementEnd{};
  // The lead out of the first pass of a there-and-back cut, kept by the
  // overrun before the return pass (0x7410): the return pass has no cut-in
  // of its own and enters by this lead, on the element the first pass ended
  // on (ReturnLeadElement). ReturnLeadCommand is that overrun's index (-1:
  // none kept); ReturnNothingCut: the first pass cut nothing.
  handover::NcElement ReturnLead{};
  int ReturnLeadElement = -1;
  int ReturnLeadCommand = -1;
  int ReturnNothingCut = 0;
  int ReturnPassPending = 0;  // hab_goo found a return pass for its loop
  int OffsetConsumed = 0;     // the walk leaves out elements the offset consumed
  // A closed contour walked from part-way round: once the walk reaches the
  // range's end it goes on from the range's other end (the element after
  // WrapFrom) up to WrapTo. -1: no wrap.
  int WrapFrom = -1;
  int WrapTo = -1;
};

struct EngineCoreWords {
  using NcElement = handover::NcElement;

  // ---- fetching and offsetting the next element
  int FlagWord = 0;           // low 16 flag bits of R1 as last tested
  int SubtypeWord = 0;        // command sub-type (also LeadStep)
  int OffsetMode = 0;         // low 4 bits: 0 none, 1 R2's d1, 2 trial+shift, 3 trial+scale
  double StoredOffset = 0.0;  // offset of the trial resolve of modes 2 and 3, mm
  double ScaleBase = 100.0;   // mode 3 scales by a percentage of this
  int ShiftMode = 0;          // 0x1234 add R2's d1 to R1's X points, 0x4321 subtract
  int PassFlags = 0;          // bit 0: after an offset, try again with R3's d0
  int ContourFlags = 0;       // 0x40000 keep a skipped arc's centre; 0x10000 one was kept
  std::array<double, 2> SkippedArcCentre{};
  double OffsetRadiusSum = 0.0;  // offset plus radius of the element just skipped, mm

  // ---- path length and machining time
  double PathLength = 0.0;     // running tool-path length, mm (also CuttingDistance)
  double TimedLength = 0.0;    // PathLength at the last feed change, mm
  double MachiningTime = 0.0;  // seconds (also PredictedMachiningTime)
  double CurrentFeed = 0.0;    // mm/min of the moves being timed; 0 before the first
  double NextFeed = 0.0;       // mm/min of the move just emitted
  int PlaneSelect = 0;         // low 2 bits: plane of an arc move (1, 2, 3)
  // The move being booked: end minus start. Its X and Y are R3's d2/d3 (the
  // work vector); only Z is kept here.
  double MoveVectorZ = 0.0;
  std::array<double, 3> MoveCentreOffsets{};  // I, J, K: centre minus start

  double DirectionUnit = 1.0;  // length of the axis directions built here
  // Factors kept exactly: results depend on them.
  double DegreesPerRadian = 57.29577951308232;
  double RadiansPerDegree = 0.017453292519943295;
  std::array<double, 2> ReferencePoint{};
  FrameRef CurrentFrame = FrameRef::ArcPassFrame;
  // The TRACE display: 0 off, 1 asked for, bit 0x8000 while the view replays
  // the trace; TraceRadius is the tool radius recorded with each drawn move.
  int TraceState = 0;
  double TraceRadius = 0.0;

  // ---- words that carry several names (aliases in RunContext)
  double CarriedOffset = 0.0;  // = FilletRadius: last non-zero command offset, signed fillet radius
  double StepUnit = 1.0;       // = FilletStep: the engine's step length, mm
  int JoinKind = 0;            // = LeadRangeLast = StepMode: scratch of the join and step routines
  int NextTransformKey = 0;    // = TransformSwitch
  int CornerKind = 0;          // = FilletStage
  int GroupIndex = 0;          // = SnapshotCounterNext
  int SweepRule = 0;           // = RangeEndCode: 0, 13999 or 13834 (closed arcs, below)

  // ---- save slots and frames
  std::array<NcElement, kSaveSlotCount> SlotRecords{};
  NcElement FilletFrameB{};
  NcElement ArcPassFrame{};
  NcElement Slot551Companion{};
  std::array<NcElement, 3> PreviousFrames{};
  // The two further motion records that the snapshot keeps as previous state
  // (second and third PreviousFrames).
  std::array<NcElement, 2> MotionRecords{};
  // The motion's state pairs: pair 1 is (PreviousFrames[0], slot 542), pairs 2
  // and 3 are these, pair 4 is MotionPair.
  std::array<std::array<NcElement, 2>, 2> StoredStatePairs{};
  std::array<NcElement, 2> MotionPair{};
  int MotionOptions = 0;  // the motion's option word, copied by the snapshot

  int TransformKey = 0;
  int TransformMode = 0;  // 2: the snapshot leaves the motion frames as they are
  int FrameToggle = 0;    // non-zero: slot 53 is being filled, else slot 52
  int SnapshotFlags = 0;
  int SnapshotCounter = 0;
  int SavedTransformKey = 0;
  int TransformRunning = 0;  // 0xFFFF while the snapshot transforms the tangents
  int SideToggleOption = 0;  // 0x400: toggle the side bits instead of setting them

  // ---- element transform, work directions and tool normal
  double TransformCos = 1.0, TransformSin = 0.0, TransformX0 = 0.0, TransformY0 = 0.0;
  int TransformFlags = 0;              // bit 0x400 mirrors Y
  std::array<double, 3> ToolNormal{};  // I, J, K
  double ToolPointZ = 0.0;
  int AxisMode = 0;
  double AxisStep = 0.0;
  double AxisFactor = 0.0;
  std::array<double, 2> AxisDirection{};
  std::array<double, 2> AxisCentre{};
  int AxisPointSwitch = 0;
  int SectionCount = 0;  // 0x5400 sections crossed by the motion
  // The value pairs of StoreRegisterByCode, by code: 11 R0's d1, 15 R0's d5,
  // 21 R1's d1, 24 R1's d4, 25 R1's d5, 56 R3's d1. The range value words are
  // the pairs of 24 and 25: first, millionths, first, millionths.
  std::array<FixedPointPair, 6> StoredValuePairs{};
  std::array<std::uint32_t, 2> KeptRangeValuePair{};
  // The scratch of RotateDirection and the axis step.
  std::array<double, 2> DirectionScratchPoint{};
  double DirectionScratchDot = 0.0;
  double DirectionScratchCross = 0.0;
  std::array<double, 2> ToolNormalScratch{};

  // ---- end directions, turn side and intersection choice
  std::array<double, 2> MoveStartPoint{};
  std::array<std::array<double, 2>, 3> TurnPoints{};
  int SideCheckFlags = 0;     // bit 0x8000 switches SetSideFromNext on
  int StartVectorOption = 0;  // bit 0x2: SetupCommandQ keeps the start vector
  std::array<double, 2> StartVector{};
  // The move-mode request of SetMoveMode: 0x8000 an axis move (0x8002 its
  // reversed form), 0x04 along Y, 0x08 negative. Callers that hand a request
  // such as 0x8002 or 0x8003 over (the zone sub-pass) put it here.
  int MoveFlags = 0;
  std::array<double, 4> EndDirectionScratch{};

  // ---- traversal and ray search
  int JoinPending = 0;        // 0 until the first joint of a walk, then 0xFFFF
  int ExtendedTolerance = 0;  // 0x1234: fine tolerances in the acceptance test
  int RayMode = 0;
  int LastIndexWord = 0;  // minus the index where a walk ended
  int OutputFlags = 0;    // bit 0x01 and 0x20: shift the next element back
  int MachineAxisSetting = 0;
  std::array<StartCacheEntry, 20> StartPositionCache{};

  // ---- guide-line lengths
  double ArcSweep = 0.0;  // degrees 0..360 of the last circle measured
  std::array<double, 2> GuideStartPoint{};
  std::array<double, 2> GuidePrevPoint{};
  double FilletOffset = 0.0;  // the fillet's offset that the corner radius is clamped to
  int FilletContour = 0;      // set by the contour pass driver: take the offset as radius
  int GuideCommandIndex = 0;  // table index of the fillet's guide command
  std::array<double, 2> FilletStartTangent{};
  NcElement BestJointRecord{};
  NcElement BestCommandRecord{};
  std::array<double, 2> GuideFarPoint{};
  int GuideJointPending = 0;  // the walk stopped at a joint inside the element in R1
  double GuideLength = 0.0;   // the measured guide length of the corner-radius pass
  int SpanCounter = 0;

  // ---- the element stepper's hand-over words
  int StepRunEndIndex = 0;  // the run's end index (integer part of R1's d6)
  int StepRunEndFraction = 0;
  std::array<double, 2> StepWorkPoint{};
  int StepKeptFlags = 0;
  int StepPassWord = 0;  // bit 0x08 turns the tool normal over
  double StepValue = 0.0;
  NcElement StepperLineRecord{};
  NcElement StepRecord{};  // d0 the length, d4/d5 R2's end point, d7 Z

  // ---- the joint-search set-ups
  NcElement StartRecord{};  // the stored start record of the run
  NcElement TwinRecord{};   // its twin (the other side of the run)
  int RunFirstIndex = 0;
  int RunLastIndex = 0;
  std::array<double, 2> RunMarks{};
  int MotionUpdateFlag = 0;
  int MotionModeCopy = 0;
  int StraightFeedSwitch = 0;
  int CornerWord = 0;  // bit 0x01: the rounded corner is searched along Y
  int WalkSign = 1;    // the walking sign word of the two-sided search
  std::array<double, 2> HitPoints{};
  std::array<double, 2> KeptStart{};
  double KeptLength = 0.0;

  // The 0-terminated list of call entries (element indices of commands).
  std::array<int, 36> CallEntries{};
  int CallPosition = 0;  // the call entry loaded at the end of the list

  // The contour walk, its two-axis check and the overrun.
  ContourLoopWords loop;
};

}  // namespace qup
