#pragma once
// RunContext: the companion program's one working state of an NC creation
// run, shared by the tool-path engine and the block output: the element table
// and registers, the engine words, the output words with BlockBuffer, and the
// host through which the run reaches the window world.
//
// The routines are argument-light members that pass values through this
// state, grouped below in sections per family; each family is defined in its
// own source file (named in the section heading), the engine's in
// kelto_qup/engine, the block output's in kelto_qup/ncout. Both folders build
// one library, so a family may call any other.
//
// Status convention: a routine that can stop the run returns kStopRun
// (0xFFFF), and every caller passes it up unchanged.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kelto_qup/engine/element_table.h"
#include "kelto_qup/engine/engine_state.h"
#include "kelto_qup/engine/register_state.h"
#include "kelto_qup/engine/run_host.h"
#include "kelto_qup/ncout/job_state.h"
#include "kelto_qup/ncout/output_state.h"
#include "kelto_qup/ncout/transfer_state.h"
#include "shared/handover/nc_element.h"

namespace qup {

using handover::NcElement;

// The stop value of every engine and output routine, and AbortFlag's "stop".
inline constexpr int kStopRun = 0xFFFF;
// AbortFlag once the stop poll has noticed a pending stop: the run's start
// still writes its closing commands (after an error stop it does not).
inline constexpr int kStopSeen = 0x8FFF;

// Error codes of the block output (texts in run_errors.cpp).
inline constexpr int kErrorPointData = 17;       // point-group data form unknown
inline constexpr int kErrorDigitCount = 18;      // padded integer of 0 or > 6 digits
inline constexpr int kErrorFileOpen = 60;        // the NC file cannot be opened
inline constexpr int kErrorFileWrite = 61;       // writing the NC file failed
inline constexpr int kErrorNotFiniteValue = 62;  // a value that is not a finite number
inline constexpr int kErrorBlockTooLong = 63;    // a block longer than the block buffer
inline constexpr int kErrorPassTable = 64;       // a pass list without its end, a transform chain beyond 9
inline constexpr int kErrorStackUnderflow = 36;  // register stack pop at depth 0
inline constexpr int kErrorStackOverflow = 37;   // tenth register stack push
inline constexpr int kErrorComOpen = 80;         // the serial port cannot be opened
inline constexpr int kErrorComWrite = 81;        // sending to the port failed
inline constexpr int kErrorComRead = 82;         // receiving from the port failed

class RunContext {
 public:
  explicit RunContext(RunHost& host);
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  RunHost& host;

  ElementTable elements;
  RegisterState registers;
  EngineState engine;
  OutputState output;

  // Aliases of words that live in the state structs above.
  int& AbortFlag = engine.AbortFlag;
  int& ElementIndex = engine.ElementIndex;
  int& RangeStart = engine.RangeStart;
  int& RangeEnd = engine.RangeEnd;
  NcElement& R0 = registers.R[kR0];
  NcElement& R1 = registers.R[kR1];
  NcElement& R2 = registers.R[kR2];
  NcElement& R3 = registers.R[kR3];
  BlockBuffer& Block = output.Block;

  // WorkVector is R3's d2/d3.
  double& WorkVectorX() { return R3.d2; }
  double& WorkVectorY() { return R3.d3; }

  // ---- errors (kelto_qup/engine/run_errors.cpp)
  // The numbered error box ">>> ERROR.%04d <<<" (2000 + code) with the code's
  // text, shown only while AbortFlag is 0; sets AbortFlag to kStopRun first.
  // Always returns kStopRun.
  int ShowErrorCode(int code);
  // ShowErrorCode for the engine; the caller goes on (and stops at its next
  // test of AbortFlag).
  int EngineError(int code);
  // The error stop: flushes the panes, shows the error, drains the event
  // queue once, sets AbortFlag to kStopRun and returns kStopRun; every caller
  // returns kStopRun at once.
  int StopWithError(int code);
  // Stops the run with a box naming an operation that is not built yet
  // (placeholders in pending_operations.cpp).
  int StopMissingOperation(const char* name);
  // Ends the run after a broken invariant of the engine (an index that names
  // no element, an impossible state): a box naming the place, then the same
  // stop as an error stop. Returns kStopRun.
  int StopWithFault(std::string_view place);
  // The box text of a code (CP932): heading, line break, three blanks, text.
  std::string ErrorMessage(int code) const;
  // The path named by the file errors 60 and 61 (native path, UTF-8).
  std::string ErrorPath;
  // The engine's working value shown with error 13.
  double ErrorWorkingValue = 0.0;

  // ---- element table (kelto_qup/engine/element_table.cpp)
  // Grows the table from count records to wanted (at most 98560); returns 0,
  // or 1 on overflow after the "MEMORY_Over_ERROR" box and AbortFlag set.
  int AllocElementTable(int count, int wanted);

  // ---- temporary element array (kelto_qup/engine/temp_elements.cpp)
  // A contour routine's working copy of an element range (at most 12000
  // records, 12 of them kept free).
  std::vector<NcElement> TempElements;
  // Copies elements a..b (either order) into TempElements from its start,
  // which grows to fit. A range of more than 11988 records shows the
  // "DORN_MAX12000" box, a range outside ElementCount is refused as a fault;
  // both set AbortFlag and copy nothing. Returns 0, or 1 when refused.
  int AllocTempElements(int a, int b);
  // Copies TempElements back to the slots from min(a, b) on, at most up to
  // max(a, b) and never past ElementCount, then empties the array.
  void CopyBackTempElements(int a, int b);

  // ---- element registers (kelto_qup/engine/registers.cpp)
  void LoadR0FromTable();
  void LoadR1FromTable();
  void LoadR2FromTable();
  void StoreR0ToTable();
  void StoreR1ToTable();
  void StoreR2ToTable();
  void ReadTableElement(NcElement& out);
  void SetR0(const NcElement& rec) { R0 = rec; }
  void SetR1(const NcElement& rec) { R1 = rec; }
  void SetR2(const NcElement& rec) { R2 = rec; }
  NcElement& GetR0(NcElement& out) const { return out = R0; }
  NcElement& GetR1(NcElement& out) const { return out = R1; }
  NcElement& GetR2(NcElement& out) const { return out = R2; }
  void ExchangeR1(NcElement& out, const NcElement& rec);
  void SwapR0R1();
  // Keep-tail copies: the register (or rec) keeps its own d6/d7.
  void SetR0KeepTail(const NcElement& rec);
  void SetR1KeepTail(const NcElement& rec);
  void SetR2KeepTail(const NcElement& rec);
  void GetR0KeepTail(NcElement& rec) const;
  void GetR1KeepTail(NcElement& rec) const;
  void GetR2KeepTail(NcElement& rec) const;
  void ExchangeR1KeepTail(NcElement& out, const NcElement& rec);
  void SwapR0R1KeepTail();
  void RestoreAllRegs(const NcElement* block);
  NcElement* SaveAllRegs(NcElement* block) const;
  void ExchangeAllRegs(NcElement* block);
  // The 9-level stack: a tenth push shows error 37, a pop at depth 0 error 36;
  // both leave registers and stack as they were and return kStopRun.
  int PushRegs();
  int PopRegs();
  // Splits R2's value n (1, 2, 4, 5, 6) into its pair; returns the integer
  // part. Other n change nothing and return 0.
  std::uint32_t UnpackCommandValue(int n);
  // WorkVector := (cos WorkAngle, sin WorkAngle).
  void UpdateRotationCosSin();
  // R0's (d4, d5) as (x, y) becomes (length, angle in degrees 0 to < 360).
  void RegToPolar();
  // WorkLength := |WorkVector|; WorkVector := unit vector, (1, 0) when zero.
  void NormalizeWorkVector();

  // ---- element intersections (kelto_qup/engine/intersections.cpp)
  // Intersects R0 (current element) with R1 (next element): 1 found (the
  // point in R0's d4/d5, the kind of meeting in WorkLength), 0 none.
  int IntersectWithNext();
  // One line and one 0x1400 curve in either order (first, second as R0, R1):
  // CurveHitRecord with d0 the discriminant (negative: none), d2/d3 the unit
  // tangent of the curve, d4/d5 the point, flags 1 (curve first) or 2; its
  // other fields keep what they held. Any other pair gives d0 = -1.
  NcElement IntersectLineWithCurve(const NcElement& first, const NcElement& second);

  // ---- contour arc-sense check (kelto_qup/engine/arc_sense_check.cpp)
  // 1 when every arc of RangeStart .. RangeEnd - 1 turns as its radius sign
  // says by less than half a circle, else 2.
  int Style_Check();

  // ---- element range walks (kelto_qup/engine/range_walks.cpp)
  double MeasureElementRange(int start, int last, int leadMode);
  void PointAtLength(double length, int start, int last, int leadMode);
  void PointOnElement(double distance);
  void SetupLinearMove(int leadMode);
  void ExtendLeadPoint(int leadMode);
  void AdvanceCommandRecord();
  // The walk's steps: the previous point in R1's d6/d7, one element walked
  // (false at a point element), the walk's start.
  bool HasPreviousPoint() const;
  void SetPreviousPoint(double x, double y);
  bool WalkElement(int index, int start, int last, int leadMode);
  void StartWalk(int start, int* first);

  // ---- run pacing, stop poll and path extents (kelto_qup/ncout/run_pacing.cpp)
  void DelayMs(unsigned ms);
  int YieldToUi();
  int PollAbort();
  NcElement& UpdatePathExtents(NcElement& out);
  void RefreshViewDc();
  // Saves the words the shell's painting changes and restores them (a drain).
  struct DrainGuard;
  // Drains the event queue once with those words saved and restored.
  void DrainEvents();

  // ---- word and block output (kelto_qup/ncout/block_output.cpp)
  int PutBlockChar(char ch);
  void PutClosingChar(char ch);
  void PutBlockText(std::string_view text);
  void PutWordValue(char letter, double value);
  void PutValueOneDecimal(double value);
  void PutValueThreeDecimals(double value);
  // The mode letter of the block: the motion letter of the current move.
  void PutModeLetter();
  int PutPaddedInteger(double value, int digits);
  void OpenBlock();
  int EndBlock();
  // Length of a block holding nothing but what OpenBlock put there.
  int BarePrefixLength() const;
  // What OpenBlock put at the start of the open block (its quote and
  // sequence word); 0 while no block is open.
  int OpenedPrefixLength() const;
  // True (and the block marked refused, the run stopped) for a value that is
  // not a finite number: such a value never reaches the NC file.
  bool RefuseNotFinite(double value);
  // The block's echo in the message list (first 101 lines, separators, a
  // rolling window of the latest lines).
  void EchoBlock(std::string_view text);
  // One line with CR LF to the NC file; error 61 on a failed write.
  int WriteNcLine(std::string_view text);
  // Empties the buffer and opens the next block.
  void RestartBlock();
  // The NC file of the run: opened for writing (error 60 when it cannot be),
  // closed with a final flush (error 61 when that fails).
  int OpenNcOutput(const std::string& nativePath);
  int CloseNcOutput();
  // Writes the held code line into the open block and ends it (merge 1);
  // defined with the job's code-line commands.
  int EmitTextLine(int merge);

  // ---- motion blocks (kelto_qup/ncout/motion_blocks.cpp)
  int EmitElement();
  int EmitMove(int flag);
  int EmitElementAt(double offset);
  int EmitElementAtMode(double offset);
  void PrepareMove();
  int EmitMotionBlock();
  // The block of the move would hold no axis word (the axis values as
  // EmitMotionBlock writes them) and nothing else that a block carries.
  bool GoesNowhere(double x, double y, double z) const;
  // A return template (3 or 4), after which the motion code is written anew.
  int EmitReturnTemplate(int kind);
  void PutMotionWord();
  void PutPlaneAndCompensation();
  void PutFeedWord();
  void PutOffsetWord();
  void EmitSequenceWord();
  void AddPendingSequence();
  int EmitPointData(int code);
  // One step on one output channel (0 NC, 64/128 display, 2048 point data).
  int EmitOnChannel(int channel);
  // The signed R word of the current arc: negative beyond half a circle.
  double ArcRadiusWord() const;
  // The unit X/Y direction of the current move at its start (the tangent of
  // an arc); false when the move has no X/Y travel.
  bool MoveStartDirection(double& ux, double& uy) const;
  void PutCornerBlock();
  void PutToolChangeNumber();
  void PutAxisValue(char letter, double value);
  int EmitArcByQuadrants(int flag);
  void EmitPlaneBlockOnce();
  // The listing columns of start mode 1 (element number, X, Y, Z and, for
  // arcs, radius and centre) in front of the motion block being composed.
  void PutListingPrefix();
  // The listing words of one value, formatted with a decimal point at 0.001
  // whatever the post's number rule.
  std::string ListingWord(char letter, double value);
  // A listing line without a block: echoed and written, no sequence word used.
  void WriteListingLine(std::string_view text);
  // Axis words of the special runs (kelto_qup/ncout/uv_rotary_words.cpp):
  // X Y and the second contour's U V of a surface-range-offset run; the
  // rotary axis about X of screw mode 11. x, y, z are the block's axis values.
  void PutUVWords(double x, double y, double z);
  void PutRotaryAxisWords();
  // The return to the process's saved start point
  // (kelto_qup/ncout/start_point_restore.cpp): the start point becomes the
  // output's target again; an upward (or no) Z step writes a pending return
  // template and retracts by the step (ApplyZStep); a downward step only
  // decides whether step kind 2 skips its head and set-up template.
  int RestoreStartPoint();
  int ApplyZStep(double step);

  // ---- program head, tool change and block templates
  //      (kelto_qup/ncout/block_templates.cpp, kelto_qup/ncout/program_head.cpp)
  int ExpandBlockTemplate(int kind);
  void PutToolComment(int tool);
  int EmitProgramStart();
  int EmitProgramEnd();
  int EmitProgramHead();
  void EmitWorkOffsetWord();
  void EmitWorkOffsetMacro();
  int EmitToolChange();
  // False while a display channel without sub-mode output or a data file runs.
  bool HeadOutputAllowed() const;
  // The text as one block of its own.
  void WriteBlock(std::string_view text);
  const handover::ToolMapRecord* FindToolMapRecord(int tool) const;
  void PutDiameterComment();
  void EmitMachineMCode(bool start);
  void PutLeaderLines();
  void PutPercentLine();
  void PutWorkCoordinateWord();
  void PutToolLengthBlock();
  void EmitCoordinateSetting();
  void PutCentringMacroText();
  int EmitCentringApproach();

  // ---- tool-path engine core
  // (StopWithError and EngineError are defined with the errors above.)
  // Words: EngineState::core (engine_core_words.h). Where engine families name
  // one storage differently, the names below are references to one member.
  EngineCoreWords& core = engine.core;
  int& RangeStep = engine.RangeStep;
  int& RangeOptions = engine.RangeOptions;
  double& WorkLength = registers.WorkLength;
  double& FilletRadius = core.CarriedOffset;
  double& CarriedOffset = core.CarriedOffset;
  double& StepUnit = core.StepUnit;
  double& FilletStep = core.StepUnit;
  int& JoinKind = core.JoinKind;
  int& LeadRangeLast = core.JoinKind;
  int& StepMode = core.JoinKind;
  int& SubtypeWord = core.SubtypeWord;
  int& LeadStep = core.SubtypeWord;
  int& NextTransformKey = core.NextTransformKey;
  int& TransformSwitch = core.NextTransformKey;
  int& CornerKind = core.CornerKind;
  int& FilletStage = core.CornerKind;
  int& GroupIndex = core.GroupIndex;
  int& SnapshotCounterNext = core.GroupIndex;
  int& SweepRule = core.SweepRule;
  int& RangeEndCode = core.SweepRule;
  double& PathLength = core.PathLength;
  double& CuttingDistance = core.PathLength;
  double& MachiningTime = core.MachiningTime;
  double& PredictedMachiningTime = core.MachiningTime;

  // Fetching, offsetting and accounting (kelto_qup/engine/element_fetch.cpp,
  // kelto_qup/engine/path_accounting.cpp).
  // 1 when R1 holds the next usable element, 0 at the range end or a point.
  int FetchNextElement(int mode);
  // Offsets R1 by R2's d1; modes 0x1112 and 0x2222 resolve the successor.
  // The result is left in ElementIndex (0xFFFF ready, 0 not).
  int ResolveNextElement(int mode, int arg);
  // WorkLength := |WorkVector|; the unit vector into R0's (kind 1) or R1's
  // (kind 2) direction; a zero vector leaves the registers as they are.
  void NormalizeTangent(int kind);
  void ReverseNextIfBackward();
  int StepNextElement();
  int SetupCommand();
  void BuildDirectionElement();
  void AddMoveLength();
  int AddMachiningTime(int force);
  // The trace hooks: engine routines call them; they do nothing.
  void TraceStep(int /*routine*/, int /*line*/) {}
  void TraceMessage(std::string /*text*/, int /*a*/, int /*b*/) {}
  // The load of entry `index` of ElementTable into R0, R1 or R2 after a range
  // check: an index outside 0 .. ElementCount - 1 (hand-over data that names
  // no element) stops the run with error 11 and returns false.
  bool CheckedLoad(NcElement& reg, int index);
  bool CheckedIndex(int index);
  // The value pairs of registers by code (11, 15, 21, 24, 25, 56).
  void StoreRegisterByCode(int code);

  // Save slots and frames (kelto_qup/engine/save_slots.cpp).
  NcElement& Slot(SaveSlot slot);
  NcElement& CurrentFrameRecord();
  void SwapR1WithSlot(SaveSlot slot);
  void LoadR0FromSlot(SaveSlot slot);
  void LoadR1FromSlot(SaveSlot slot);
  void StoreR0ToSlot(SaveSlot slot);
  void StoreR2ToSlot(SaveSlot slot);
  void SetCurrentFrame();
  void SetCurrentFrameB();
  void SetCurrentFrameC();
  void SetCurrentFrameR0();
  void SetCurrentFrameArc();
  void ExchangeR1WithArcFrame();
  int SnapshotElements();
  // Applies the current offset to R0 and R1 (the corner fit's helper).
  void ApplyOffsetToRegs();

  // Element transforms, work directions, tool normal
  // (kelto_qup/engine/element_transforms.cpp).
  int LoadTransform();
  void MirrorIfFlagged();
  void RotateTangents();
  void RotateR1Element();
  void WorkDirectionByMode(int pair);
  void RotateDirection(int pair);
  // 0, or kStopRun when the axis step has no defined result.
  int RotateForAxis();
  int AxisModeThreeStep();
  int IsStraightOrMarked() const;
  void SwapR1WithStatePair(int pair);
  void UpdateToolNormal();
  void RotateByTangent();

  // End directions, turn side, intersection choice
  // (kelto_qup/engine/end_directions.cpp).
  int SetEndDirection();
  int SetSideFromNext(int index, int type);
  int SetupCommandQ();
  int SetMoveMode();
  int ChooseIntersection();

  // Successor resolution of offset contours
  // (kelto_qup/engine/successor_resolution.cpp).
  void ResolveSuccessorA(int a);
  void ResolveSuccessorB(int a);

  // Element traversal, the ray search and the joint set-ups
  // (kelto_qup/engine/element_traversal.cpp, kelto_qup/engine/ray_search.cpp,
  // kelto_qup/engine/joint_setups.cpp).
  int TraverseElements(int mode);
  int TraverseElementsAt(int final);
  int IntersectAndJoin(int side);
  int IntersectElements();
  int SetupSingleElement();
  int SetupRoundedEnd();
  void SwapSegmentEnds();
  void UpdateSegmentDelta();
  void UpdateSegmentDeltaPair();
  double ClampSegmentDelta(double dx, double dy, double second);
  int IntersectPairs();
  int IntersectHelper(int kind);
  void IntersectDirection();
  void ArcPointAt(double length);
  void ExtendEndElement();
  int ApproachFromSide(int side);
  int CachedRunStart();
  int TraverseToFirstJoint();
  int IntersectAtLevel(int kind);
  void ShiftNextElementBack();

  // Element lengths, guide-line walks, stepper helpers
  // (kelto_qup/engine/element_lengths.cpp, kelto_qup/engine/guide_walks.cpp,
  // kelto_qup/engine/stepper_helpers.cpp).
  int AddElementLength(int mode);
  void ArcEndVectors();
  void TangentFromChord();
  int WalkToNextJoint();
  int StartGuideWalk();
  void AddGuidePiece(double toX, double toY);
  geom::Vec2 GuideStartDirection() const;
  int GuidePositionOf(int index, double& length);
  int FindNearestJoint();
  int StepperArcSetup();
  int ArcCirclePass(int mode);
  int ArcPassEnd();
  void OpenGuideRange();
  int NextCallEntry(int position);
  void StepperHelperA();
  void StepperHelperB();
  void ClearStepFlags();
  void StepperHelperC();
  void StepperHelperD();
  void StepperHelperE();

  // Element stepping (kelto_qup/engine/element_stepping.cpp). StepElement,
  // LeaveElementStep and ResumeElementStep are declared with the engine
  // operations below.
  int StepFromFrame();
  int StepNewCommand();
  bool ApplyStepModifier();
  void SaveStepWords();
  void RestoreStepWords();
  int StepCommandKind();
  int StepLineCommand();
  int StepSectionWalk();
  void StepPlaceEndpoints(int a, int b);
  int StepSectionInterpolate(double value);
  int StepIntersectJoin(int pass);
  int CheckKind6Element();
  // Mirrors R0's point and direction about the axis through R3's points
  // (d4/d5 and d6/d7); coinciding points mirror through the first one.
  void MirrorDirection();
  // Loads the mirror axis that the modifier element in R1 names into R3's
  // points; false (the run stopped) when it names no element.
  bool LoadMirrorAxis();

  // The path-motion state machine (kelto_qup/engine/motion_machine.cpp).
  // RunMotionMachine is declared below; these are its state routines.
  int MotionEnter(int pair);
  int MotionSetup();
  int MotionSetupCommand88();
  int MotionSetSectionValues();
  int MotionSegmentDirections();
  int MotionInterpolateSegment();
  int MotionPlaceOnSegment();
  int MotionBlend();
  int MotionLeave(int pair);
  int MotionScaleByValue();
  int MotionEndSegment();
  int MotionSideOfSegment();
  int MotionFindSection();
  int MotionArcStep();
  int MotionEndValues();
  int MotionLeadElement();
  int MotionStepX();
  int MotionNextSegment();
  int MotionPrevSegment();
  void LoadR0FromStartFrame();
  void LoadR1FromEndFrame();
  // One element of the motion set up into R1 (index in ElementIndex): false
  // when it does not set up.
  bool MotionSetupElement(int index);
  // The state of motion pair n (1 to 4): its two records.
  NcElement* MotionStatePair(int pair);

  // Motion segment geometry (kelto_qup/engine/segment_geometry.cpp).
  // BuildSegmentPieces, CircleThroughThreePoints, MiddleDirection and
  // SegmentLengths are declared below. PointAtLength without arguments: the
  // point at length R2's d3 along the segment's pieces, in R0's d4/d5 (the
  // range walks have their own four-argument one above).
  int PointAtLength();

  // Per-element motion and the section drivers
  // (kelto_qup/engine/element_motion.cpp, kelto_qup/engine/second_base_line.cpp).
  // EmitElementMotion, RunSectionMotion, RunSecondBaseLine and
  // RejoinBaseLineElements are declared below.
  void LoadSectionCommand();
  void AlignNormalToSection();
  void AdvanceAlongNormal();
  int SetupSecondBaseLine();
  void StoreSectionFrame();
  void RestoreSectionFrame();
  void InterpolateSectionTwist();
  int RejoinSingleElement(int first);
  int RejoinLineAndArc(int first, int last);
  int RejoinLineArcLine(int first, int last);

  // Section offset pass and tool-contact offset
  // (kelto_qup/engine/section_offsets.cpp). RunOffsetPass,
  // RunOffsetPassAtStart, RunSectionOffsets and ToolContactOffset are
  // declared below.
  // The offset distance of the pass by OffsetPassMode; also sets KeptOffset.
  double ComputeOffsetDistance();
  void CheckSectionStep(int sectionIndex, int sectionKind);
  void UpdateSlopeBase();
  // The number of pieces a move of `length` is cut into (1: not cut).
  static int SubdivisionCount(double length, double stepUnit);
  int SubdivideMove(int final);
  int StepSection(int index);
  int EmitOffsetPiece(int index);
  int SearchSectionCrossing(double gap);
  void ScaleNormal();
  void LowerForSlope(int kind);
  void UnscalePoint();
  void ScalePoint(int withZ);

  // Engine operations declared here by family. Those whose family is not
  // written yet stop the run with a box naming them
  // (kelto_qup/engine/pending_engine_operations.cpp).
  int StepElement(int arg);
  int LeaveElementStep();
  int ResumeElementStep();
  int RunMotionMachine(int pair);
  int BuildSegmentPieces();
  int CircleThroughThreePoints();
  int MiddleDirection();
  int SegmentLengths();
  int EmitElementMotion(int mode);
  int RunSectionMotion();
  int RunSecondBaseLine();
  int RejoinBaseLineElements();
  int RunOffsetPass();
  int RunOffsetPassAtStart();
  int RunSectionOffsets(int list);
  int ToolContactOffset();
  int PrepareContourRun();
  int Set_TO(int end);
  // The straight lead through (toX, toY) square to the element `e` (through
  // an arc's centre), towards the contour (end 0) or away from it (end 1),
  // turned round for a reversed walk; written into its scratch entry
  // behind the job and made the range to walk. 1, or 0 when the table
  // cannot take it.
  int PlaceLeadElement(const NcElement& e, double toX, double toY, int end, bool reversed);
  int CarryCommandValues();
  int EmitContourPrelude();
  // The prelude's blocks at the last output position (prelude true), or
  // only the queued commands with no compensation (the contour walk).
  int RunQueuedAtLastOutput(bool prelude);
  int cal303();
  // The join's parts (kelto_qup/engine/corner_join.cpp): the join ended
  // (end direction set), two elements that are not points, whether a corner
  // is needed between elements that do not meet, the element offset of the
  // walk, whether the contour turns away from the offset side at the
  // crossing, and the corner: built as an arc of the offset's size about the
  // joint as drawn, left in R1 as the corner marker (code 0x1001, flags
  // 0x11300; d0 the turning sense, d1 the offset, d4/d5 the corner's end,
  // d6/d7 the joint), which the corner path (corner_steps.cpp) goes round.
  int FinishJoin();
  int JoinLineCircle();
  int SameKindAndApart() const;
  double ElementOffset() const;
  bool IsOutsideCorner(const NcElement& current);
  // The side bits of R1 for its crossing with R0, from how the contour as
  // drawn turns at their joint (set: R1 follows on the right).
  void MarkSideFromTurn();
  // In the walk: the offset has swallowed the straight element in R0 (its
  // end lies behind the tool); the join then stops the run with error 9.
  bool SwallowedByOffset() const;
  int CornerStep();
  int PrepareCornerOffset();
  int FitCorner();
  int RunJoinedContour();
  int ProcessContour();
  int FlushPendingMove(int kind);
  int ShiftElementRegisters();
  int JoinElementsForced();
  int hab_goo();
  int HabGooLoop();
  int SelectOffsetSide();
  int AdvanceToNextElement();
  int MarkElementFlags(int reversed);
  int cal_2ax();
  int ProcessOverrun();
  int RunTraversalFromCurrent();
  int SetSideFromCommand();
  // The contour walk's parts (kelto_qup/engine/contour_loop.cpp,
  // two_axis_check.cpp, overrun.cpp): the run boundaries of a one-shot
  // command, the call's entry element, the two-axis trial offsets; the
  // set-up pass, contour sub-pass and overrun pass are not built yet.
  int JoinRunBoundaries();
  int LocateRunBoundary(int which);
  // The closing joint of a closed contour entered part-way along its first
  // element: which element closes it (-1: none), and the walk over it.
  int ClosingElementOfWalk(int lo, int hi);
  int WalkClosingElement(int index);
  // The return pass of a there-and-back cut: the overrun before it keeps
  // the first pass's lead out, the pass enters by it where the tool stands.
  int EnterReturnPass(int lo, int hi);
  void KeepReturnLead(int overrunIndex, bool nothingCut);
  // A contour that no overrun command leaves: its last element is cut to
  // its end (or, closed, up to where the cut began) here.
  bool OverrunFollows(int commandIndex) const;
  int CutLastElementToItsEnd(int closing);
  int BuildCallEntryElement();
  // A "CALL_ON" that steps a value (kinds 0 and 1, a depth) is running.
  bool InDepthCall() const;
  int TryTwoAxisOffset();
  int CountUsableOffsetElements();
  // The two-axis rebuild: consumed arcs marked and bridging arcs inserted
  // over the kept range; 0, or kStopRun when the table cannot grow.
  int RebuildTwoAxisRange(int first, int last, int step);
  int HabGooSetup();
  int ContourSubPass();
  int OverrunPass();
  int ComputeElementStart();
  int ComputeElementPath(int flag);
  // The element path's parts (kelto_qup/engine/element_path.cpp): the
  // contour starts within 2.5 step units of where the last one ended; the
  // pending linking move opened, tested, extended and exchanged; one
  // straight move written (split into end zones when asked).
  bool IsWithinRadiusRange() const;
  // The tool change's moves to where the approach begins; an approach that
  // brings the tool down by nothing of its own is fed down from the level
  // the tool stands at (contourZ: the height of the contour's start).
  int EmitToolChangeToApproach(double contourZ);
  double ApproachDescentFeed() const;
  void OpenPendingMove();
  bool PendingMoveTakes();
  int ExtendPendingMove();
  void SwapWithPendingMove();
  int EmitStraightMove();
  // Arc steps (kelto_qup/engine/arc_steps.cpp): the chord angle of a radius
  // in degrees (0: not stepped), the steps set up and advanced, a sweep
  // within 0.00001 degrees of 0 or 360 taken as a full circle, the arc
  // element written step by step.
  double ChordStepDegrees(double radius);
  int StepArc();
  void AddArcSequenceWord();
  bool SnapFullCircle(double sweep) const;
  int AdvanceArcAngle();
  int ArcElementPath();
  // The current element written whole (kelto_qup/engine/element_emission.cpp):
  // a line as one move, an arc as one arc block, at the feed factor; or
  // handed to the linear path, one straight move to its end.
  int EmitCurrentElement();
  int EmitLinearPath(int mode, double feed);
  // The feed of the contour's moves: the feed element's d7, else the
  // contour command's, else the output's current feed.
  double ContourFeed() const;
  // One position of the contour written as a feed move from the current point.
  int EmitContourPoint(double x, double y, double z, double feed);
  int ComputeCornerPath();
  // The corner between two offset elements (kelto_qup/engine/corner_steps.cpp):
  // the two motion frames read about the corner's centre, the height's
  // slope over the corner, the steps round the joint with the tool normal
  // and the height moving from one frame to the other, and a merged
  // straight move written before them.
  NcElement& CurrentMotionFrame();
  void BuildArcFrame(int mode);
  int CornerFrames();
  void CornerSlope(const NcElement& start, const NcElement& end);
  int CornerSteps(const NcElement& marker);
  void InterpolateCornerStep();
  int WritePendingMove();
  // The set-up of an element's steps (step kind 0): one step, arc steps or
  // line steps, as the snapshot flags and the offsets ask.
  int StartElementSteps();
  // An arc stepped by the corner path, from where the tool stands.
  int StepArcFromTool();
  int StepLeadLine();
  int NextLeadLineStep();
  int RunContourPasses();
  int SetStartPoint(int mode);
  // The point a path length along the element range (R0's d4 or d5, as the
  // closing element says), moved sideways by the other value: R0's point and
  // direction, R1's point on the path and its left normal.
  int LocateByLength();
  int SetupPassFrame();
  int CalcContourPath();
  int FindFilletContact();
  int ComputeFilletFrame();
  int ChooseFilletStep();
  int RunFilletMachining();
  int RunFilletCalculation(int mode);
  int FilletWalkElements();
  int FilletSegmentSetup();
  int StepFilletRow();
  int EmitFilletRowPoint();
  int AdjustFilletStep();
  // Called by the stepping and the offset pass, specified with neither: the
  // call-entry step driver and its push, the angular move and the three
  // helpers of a 0x8800 motion set-up, the contour fillet, and the pass
  // driver's stepped passes. Each stops the run naming itself.
  int StepDriver();
  int PushCallEntry(int kind, int index);
  int AngularMove(double angle);
  int MotionHelper8800A();
  int MotionHelper8800B();
  int MotionHelper8800C();
  int CalcContourFillet(int mode, int mode2);
  int RunPassesWithStep(int kind);
  // The pass driver's parts (kelto_qup/engine/contour_passes.cpp): the pass
  // list run once (run 0 plain, 0xFFFF stepped), one pass element by its
  // kind, and the transformation chain applied to R0 (and an arc's centre
  // in R3's d4/d5).
  int RunPassList(int run);
  // The pass frame (R2: origin d6/d7, direction d2/d3, offset d4/d5): a
  // point turned about the origin and moved by the offset, a direction only
  // turned; the placement by the frame mode (0 the point, 16 its Y with the
  // height, any other the X from a direction pair), turning the work
  // direction with it.
  void RotateFrameAbout(double& x, double& y) const;
  void RotateFrameDirection(double& x, double& y) const;
  int PlacePassFrame();
  int RunPass();
  int LocateClosingPoint();
  int ApplyTransformChain();
  // The stepped run and the work direction after it (steps of
  // RunPassesWithStep), and the record of what the driver changed, which
  // RestoreChainedRegisters puts back once the position is written.
  int RunSteppedPasses();
  void SetUpWorkDirection();
  // With scaling on, scales the position about to be written (point, height,
  // an arc's radius and centre).
  void ScaleContourElement();
  void RecordPassDriverEntry();
  void RecordPassDriverExit();
  // The registers and words the pass driver changes, as they stand now.
  ContourWords::DriverRegisters DriverRegistersNow() const;
  void RestoreChainedRegisters();

  // ---- job load, interpreter and hole output
  // (EmitTextLine is declared with the block output and defined with the
  // code-line commands in kelto_qup/ncout/process_commands.cpp.)
  JobState job;

  // job load (kelto_qup/ncout/job_load.cpp, element_prepass.cpp, post_selection.cpp)
  int LoadJob();
  int LoadElementList();
  void SetEngineDefaults();
  int PrepareElements();
  int ExpandSurfaceElements();
  int ExpandOneSurfaceElement(int index);
  int FindFirstMarker();
  int FindNextMarker();
  int SelectPostDefinition();
  void DecodePostSwitches(const handover::PostDefinition& post);
  int ReportJobError(int code);
  int ScanJobElements();
  // Grows the table when fewer than 300 free slots stay ahead of the count.
  int KeepElementHeadroom();

  // job start-up and the NC file (kelto_qup/ncout/nc_job.cpp)
  void InitNcJob();
  void ResetRunWords();
  int ReadJobFiles();
  void ReadMachineMcodeTable();
  // The path "<unit>\<second>\DAT\<file>" (CP932) relative to the data root.
  std::string DatFolderRelative(std::string_view fileName) const;
  bool BuildNcPath();
  int StartNcCreation();
  void FinishNcCreation();
  int OpenJobNcFile();
  void CloseJobNcFile();
  int WriteNcExeFlag(int value);

  // reports (kelto_qup/ncout/reports.cpp)
  void WriteToolInfoReport();
  void WriteCgWindow(int which, int colourOffset);
  void WriteReportFile(const std::filesystem::path& path, const std::string& text);
  std::string PostNameOf(int postNumber) const;
  void ReadPitInItems(std::vector<handover::PitInMapRecord>& items);

  // interpreter (kelto_qup/ncout/command_interpreter.cpp)
  int RunElementRange();
  int RunElementCommand();
  // The index of the command being run (the innermost frame's current index).
  int CommandIndex() const { return static_cast<int>(job.CallStack[job.CallDepth].Current); }

  // subprogram call "CALL_ON" (kelto_qup/ncout/call_on.cpp)
  int RunCallOn();
  int FindCallGroup();
  int FinishCallGroup();
  int CountCallRepeat();
  int ResumeCallLoop();
  int ResetCallState();
  // The intersection pass of the call kinds 17 and 18 with a d7 range:
  // 0 another pass, 1 the last one was run; first: the set-up's pass.
  int RunCallIntersectionPass(bool first);
  // CallValue from the call record for the running kind.
  void UpdateCallValue();
  // The call record is save slot 551.
  NcElement& CallRecord() { return Slot(SaveSlot::Slot551); }

  // process, tool and state commands (kelto_qup/ncout/process_commands.cpp)
  int RunProcessStart();
  int EmitProcessHead();
  int RunProcessEnd();
  int EmitProcessEnd();
  int RunMachiningEnd();
  void RestoreQueuedWords();
  int SelectTool();
  int RunRepeatEnd();
  int RunMove();
  void RunMoveGroup();
  int RunCheck();
  int RunRotation();
  void RunMark();
  void ClearProcessLists();
  void EmptyCheckLists();
  bool ListsEmpty() const;
  void QueueCommandIndex();
  void PublishQueue();
  void BeginCommandGroup();
  void KeepProcessParameters();
  int RunPositioning();
  void RunToolRadius();
  int RunProgramSeparator();
  // The 0x7100 handler: the contour loop over the command's range.
  int RunContourGroupCommand();
  int RunCutIn();
  bool IsHoleCutIn(int index) const;
  int RunMoveKind();
  void AddDisplayMarker(std::uint32_t marker);
  // Blocks are written: the channel is the NC output or the sub-mode adds it.
  bool BlockOutputOn() const;
  void WriteSimpleBlock(const char* text);
  void WriteSpindleBlock(double speed);
  void ReadProcessParametersAhead(int index);
  double NextProcessTool(int index) const;
  // The tool map record of the process being run (named by its tool change),
  // and its number from 1 (0 when the map holds none of the tool).
  int ProcessToolMapSlot() const;
  const handover::ToolMapRecord* ProcessToolRecord() const;
  void FindCentringRepeat(int index);
  void EmitCentringMacroCall();
  void SetOutputPoint(const std::array<double, 3>& point);
  int SelectToolIndex(int toolIndex);

  // queued moves and contour command kinds (kelto_qup/ncout/queued_moves.cpp)
  // Runs the motion of the pending command kind (output.PendingCommandWord).
  int RunContourCommand();
  int RunContourElement();
  int ProcessQueuedCommands();
  void QueuedEntryStep();
  int RunMoveKind7520();
  int RunMoveKind7570();
  int RunRoutMove();
  int RunMoveKind75B0();
  int RunMoveKind75D0();
  void MarkFirstMove();
  double QueuedMoveFeed() const;
  // Kinds 8 (normal), 10 (tangent), 12 (down or up), 20 (the command's vector).
  int RunStraightMoveWorker(int kind);
  int RunLeadArcWorker();
  std::array<double, 2> LeadArcTangent(bool leaving) const;
  int PutCycleWords();
  int RunHelixWorker();
  // The common step of a move worker: undone while the block mark is set,
  // else written from the current point (an arc with radius and centre
  // offsets from its start).
  int FinishQueuedMove(double mx, double my, double mz, double radius, double ci, double cj);

  // ---- transfers: serial port, NC text check, plotter
  TransferState transfer;

  // serial port (kelto_qup/ncout/com_port.cpp)
  // Opens the port of the header's port byte in start mode 22, else the
  // plotter's (0 COM1, else COM2), with "$COM_DCB.@@@"; error 80 and -1
  // when it cannot be opened or configured, else 0.
  int OpenComPort();
  // The port index OpenComPort takes (-1: none names a port).
  int ComPortIndex() const;
  // Sets the port's XON or XOFF state as the baud word asks (flow XON/XOFF).
  void ApplyXonXoffState();
  // Writes the block buffer's text (up to its NUL) to the port, in slices
  // with the queue drained between them: 0 sent, kStopRun on a failure
  // (error 81) or a stop.
  int ComWriteLine();
  // Writes bytes as ComWriteLine does.
  int ComWriteBytes(std::string_view bytes);
  // Reads one line into the block buffer (end mode 0: "%" ends a line at
  // once); returns the characters stored. A failure shows error 82; a stop
  // ends the line with what came.
  int ComReadLine(int endMode);
  void CloseComPort();
  // "$com_dat.@@@": the path of the file to check, into the path buffer.
  void ReadCheckFileName();
  void ReadComDat() { ReadCheckFileName(); }

  // NC text check (kelto_qup/ncout/nc_text_check.cpp, nc_check_words.cpp,
  // nc_check_moves.cpp)
  // Start modes 11, 12 and 22: 0 when the whole file was read (and sent),
  // kStopRun when it stopped.
  int RunNcTextCheck();
  void ResetCheckState();
  // The tokeniser: one character of a line (comments, words).
  void ScanCheckChar(std::string_view line, std::size_t at);
  void CloseCheckWord();
  void InterpretCheckBlock();
  int CheckGCode(double value);
  void ShowMonitorValues();
  static double SafeAngle(double dx, double dy);
  static double Length3(double a, double b, double c);
  // The text of one line as the drip feed sends it (line end of the port);
  // `last` is set at the program's second "%".
  std::string DripFeedText(std::string_view line, bool& last);
  int SendCheckLine(std::string_view line, bool& last);
  void ListSentLine(std::string_view text);
  void CheckMove(double x, double y, double z, int kind);
  void CheckArc(const std::array<double, 6>& from, const std::array<double, 6>& to);
  void CheckHole(const std::array<double, 6>& to);
  void DrawDrillOutline(double x, double y, double top, double bottom);
  void FillMonitorTexts();

  // pen plotter (kelto_qup/ncout/plotter.cpp)
  int PlotBegin();
  void PlotPenForTool();
  void PlotDrawToCurrent(double x, double y, double z, bool cutting);
  void PlotEnd();
  int PlotSendCommand(std::string_view text);
  // The plotter point of a model point (after rotation and projection).
  std::array<int, 2> PlotPoint(double x, double y, double z) const;

  // hole output (kelto_qup/ncout/hole_output.cpp)
  int EmitHoleCycles();
  int EmitHolePointSubprogram();
  void LoadHoleValues();
  void LoadDeepHoleValues();
  // The hole blocks' axis words: targets in absolute programs, steps from
  // where the tool stands (job.CurrentPoint, which they follow) in
  // incremental ones.
  bool IncrementalHoleWords() const;
  void PutHoleXY(double x, double y);
  void PutHoleZ(double z);
  bool HoleReturnToR() const;
  int CollectHolePositions(int start, int last, std::vector<HolePoint>& holes);
  int ApproachFirstHole(double x, double y, double level);
  // A stop inside a hole group: the cycle cancelled and the tool taken up
  // to the group's return level before the closing commands run.
  int LeaveHoleGroupOnStop(bool cycleOpen);
  void PutHoleFeed(double feed);
  int EmitHoleComment();
  int EmitHoleFirstCycle(int repeat, double x, double y, double zOffset);
  int EmitReturnToStart(double startZ);
  int EmitExplicitHole(double x, double y, double rLevel, double bottom, double startZ, bool first);
  int EmitHoleNextPosition(double x, double y, double zOffset);
  int EmitHolePeckByMoves(int mode, double x, double y, double zOffset);
  void AddPeckTime();
  void DrawHolePath(double x, double y, double rLevel, double bottom);
  void UpdateHoleExtents(double x, double y, double top, double bottom);
  void AddDisplayListRecord(const handover::CDisplayRecord& record);
  // Holes as tool paths (kelto_qup/ncout/hole_path_milling.cpp).
  int EmitPathMove(int motion, double x, double y, double z, double feed, double arcRadius = 0.0, double ci = 0.0,
                   double cj = 0.0);
  int MoveToHoleCentre(int mode, double x, double y, double level);
  double MillingToolRadius() const;
  int EmitHoleByPath(int mode, double x, double y, double zOffset);
  int EmitHoleByPathB(int mode, double x, double y, double zOffset);
  void LoadHelicalValues();
  int HelixOffsetNumber() const;
};

}  // namespace qup
