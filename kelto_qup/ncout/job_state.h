#pragma once
// JobState: the words of one NC creation job that the job load, the command
// interpreter, the process and tool commands, the hole output and the reports
// share. One instance lives in the run context; LoadJob and InitNcJob reset
// what a job or a run needs reset, nothing is allocated per command.
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shared/handover/code_line_record.h"
#include "shared/handover/display_record.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/post_definition.h"

namespace qup {

// The code-line table: a line of "$DORN_CDE.@@@" fills the first 80 bytes of
// its 86-byte slot; the rest stays zero, so every slot is terminated.
inline constexpr int kCodeLineCount = static_cast<int>(handover::kCodeLineCount);

// One level of the interpreter's call stack: the element being run and the
// last element of the range (inclusive), both table indices.
struct RangeFrame {
  std::uint32_t Current = 0;
  std::uint32_t End = 0;
};

// The selected start mode and sub-mode of a run and the modes derived from them.
struct RunModes {
  int StartMode = 0;
  int SubMode = 0;
};

// The values of one hole command, taken from the command and the process
// record before the first hole is written.
struct HoleValues {
  double CycleCode = 1.0;    // 81, 83, 84 ...; 1 = explicit moves
  double Diameter = 0.0;     // mm
  double TipLength = 0.0;    // mm, > 0 when the tool has a tip
  double MillValue = 0.0;    // mm, written as " MIL=" when there is no tip
  double RLevel = 0.0;       // R level above the hole's top, mm
  double Bottom = 0.0;       // Z of the hole bottom, mm
  double StartZ = 0.0;       // the start (initial) level, mm
  double Dwell = 0.0;        // P word
  double PeckDepth = 0.0;    // Q word, mm
  double RepeatCount = 0.0;  // K word
  double Feed = 0.0;         // mm/min
  double MCode = 0.0;        // M code of the hole process (tapping), 0 none
  double Spindle = 0.0;      // S word with the M code
  int Cycle84Return = 0;     // 1: cycle 84 returns to the R level and then G98 Z
  // The explicit peck form of type 0x6C00.
  double FirstDepth = 0.0;   // first feed depth below the R level, mm
  double PeckStep = 0.0;     // depth of each further peck, mm
  double Retract = 1.0;      // retract after each peck, mm, in (0, 100]
  double Spindle2 = 0.0;     // the high-speed spindle speed, 0 none
  double Feed2 = 0.0;        // the high-speed feed
  bool HighSpeedOn = false;  // the last hole left the spindle at Spindle2
  // The helical hole: the helix on the hole diameter under G41.
  bool HelixCompensated = false;
};

// Hole group states: no group open (the value after each hole command), and
// a group made by explicit moves (no cycle to cancel).
inline constexpr int kHoleGroupOpenNone = 606;
inline constexpr int kHoleGroupByMoves = 4369;

// One hole position: X, Y and the Z offset of its point (mm).
struct HolePoint {
  double x = 0.0;
  double y = 0.0;
  double zOffset = 0.0;
};

struct JobState {
  // ---- the run's copy of the system record (names, modes, work values)
  handover::DrawingHeader Header{};
  RunModes Modes;

  // ---- job load
  handover::CodeLineTable CodeLines{};
  int CodeLineCount = 0;
  handover::PostTable Posts{};
  int PostsLoaded = 0;
  int SelectedPost = 0;
  // The element count that the job load left; contour routines append
  // working elements behind it and the run cuts back to it.
  int JobElementCount = 0;
  int SurfaceJob = 0;
  double FirstProcessValue = 0.0;
  int FirstProcessNumber = 0;
  int FirstProcessProgram = 0;
  // Set when the load stopped with an error: no run starts on such a job.
  int LoadFailed = 0;

  // Engine defaults filled before every load; their meaning is that of the
  // engine routines that read them.
  std::array<int, 32> OrderTable{};
  std::array<int, 2> OrderTableTail{};
  std::array<std::array<std::uint32_t, 8>, 64> DefaultRecords32{};
  std::array<handover::NcElement, 10> DefaultElements{};
  std::array<int, 4> DefaultWords1115{};
  std::array<int, 3> DefaultNegativeWords{};
  int DefaultMinusOne = 0;
  std::array<int, 7> DefaultSequence{};
  std::array<double, 9> DefaultDoubles{};
  int DefaultWord16 = 0;
  std::array<int, 2> DefaultWords31{};
  std::string WorkPath;

  // ---- interpreter
  static constexpr int kCallLevels = 60;
  std::array<RangeFrame, kCallLevels + 1> CallStack{};
  std::uint32_t CallDepth = 0;
  int CurrentCommandNumber = 0;
  int PreviousCommandNumber = 0;
  int CommandModeWord = 0;
  std::array<double, 2> CommandModeValues{};
  int CallOnActive = 0;

  // ---- process state
  int ProgramHeadFlag = 0;  // 0 before the first head; 1; 2 or -1 after 0xD200
  int ChannelFlag = 0;
  double FeedOverride = 1.0;
  int ApproachIndex = 0;
  int GroupFlag = 0;
  int GroupFlags = 0;
  int GroupStartIndex = 0;
  double GroupStartZ = 0.0;
  int SavedFlags = 0;
  double Clearance = 0.0;
  int ClearanceOn = 0;
  int HoleOutputSwitch = 0;  // flags of 0x9F00
  int SpindleCheckFlag = 0;
  int HoleOutputSwitchLatched = 0;  // the process's own hole-output flag
  // Bit 0x8000 stops block output (set by process ends in start modes 6-9).
  int NcOutputMask = 0;
  double ToolChangeTime = 0.0;  // seconds added per process start
  int MacroSkipSwitch = 0;
  std::array<int, 2> ToolChangeWords{};
  int LastMacroTool = -1;
  double KeptContourD7 = 0.0;
  int ContourModeWord = 0;
  double ToolElementD2 = 0.0;
  // Flags and value of the process's cut-in (0x7300); bit 0x0800 makes the
  // holes return to the R level.
  int CutInFlags = 0;
  double CutInValue = 0.0;
  // On: code lines beginning with "O" keep it (a program number); off: "L".
  int OWordSwitch = 1;
  int ProgramEndWritten = 0;
  int SpindleOnFlag = 0;
  int BlockCounterWord = 0;
  int ToolKey = 0;
  int ToolMapSlot = 0;
  double Flag10Value = 0.0;
  double ToolRadius = 0.0;
  int ToolOffsetNumber = 0;
  handover::NcElement ToolFrame{};
  handover::NcElement SavedFrame8100{};
  int Index8100 = 0;
  int Index8400 = 0;
  int Flags8400 = 0;
  double Value8400 = 0.0;
  int ActiveIndex4x = 0;
  std::array<double, 3> CurrentPoint{};
  std::array<double, 3> PreviousPoint{};
  std::array<double, 3> SavedStartPoint{};
  std::array<double, 2> DirectionPair{};
  std::array<double, 3> EndRestorePoint{};
  std::array<double, 2> EndRestoreTail{};
  double DepthAddSwitch = 0.0;
  int ZModeWord = 0;
  int FeatureBits = 0;
  int PlaneWord = 0;
  int WorkOffsetCounter = 0;
  int WorkOffsetRequest = 0;
  int PreviousWorkOffset = 0;
  double MacroValue = -1.0;
  int StepCountSwitch = 0;
  int SeparatorWord = 0;
  int PendingReturns = 0;
  double Value6400 = 0.0, Value6400b = 0.0;
  int Flags6400 = 0;
  double Value6500 = 0.0, Value6500b = 0.0;
  double ApproachValue = 0.0;
  int ApproachFlags = 0;
  std::array<double, 2> ApproachPoint{};
  int MoveMark = 0;
  // The code of the last queued entry with a non-zero low nibble of its
  // flags (0x7300, 0x7500, 0x6200) that the queue's per-entry step recorded.
  int LastPendingEntryCode = 0;
  int DisplayStepCounter = 0;
  int ProcessCounter = 0;
  int ToolChangeCount = 0;
  double LastCentringD8 = 0.0;
  int LastCentringTool = 0;
  int LastCentringOffset = -1;
  int MacroRepeatFlag = 0;
  // Per process-tool index: the process number whose extents the entry holds.
  std::array<int, 512> ToolExtentProcess{};

  // ---- command queue and saved words
  static constexpr int kQueueSize = 32;
  std::array<int, kQueueSize> CommandQueue{};
  int QueueCount = 0;
  std::array<int, kQueueSize> QueueSnapshot{};
  int QueueSnapshotCount = 0;
  std::vector<std::pair<int, double>> SavedWordList;  // element index, saved d4

  // ---- MOVE, CHECK, rotation and marks
  static constexpr int kMoveStackSize = 7;
  struct MoveEntry {
    int Index = 0;
    handover::NcElement Frame{};
  };
  std::vector<MoveEntry> MoveStack;  // at most kMoveStackSize
  int MoveGroupIndex = 0;
  int MirrorSwitch = 0;
  int RepeatActive = 0;
  int TransformBits = 0;
  int TransformActive = 0;
  std::array<double, 2> SavedShift{};
  std::array<handover::NcElement, 2> SavedMoveFrames{};
  static constexpr int kCheckListSize = 32;
  static constexpr int kRotationListSize = 20;
  static constexpr int kMarkListSize = 130;
  std::array<int, kCheckListSize> CheckList1{};
  std::array<int, kCheckListSize> CheckList2{};
  std::array<int, kCheckListSize> PreviousCheckList{};
  std::array<int, kCheckListSize> CheckSurfaceList{};
  std::array<int, kRotationListSize> RotationList{};
  std::array<int, kMarkListSize> MarkList{};
  int MarkFlag = 0;
  int SavedCheckIndex = 0;
  // A repeat end that jumps back without a counter: bound on its jumps.
  int UncountedRepeatJumps = 0;

  // ---- hole output
  HoleValues Hole;
  int HoleGroupState = kHoleGroupOpenNone;
  handover::NcElement SavedHoleCommand{};
  int HoleCommandIndex = 0;
  std::array<double, 3> LastHole{};
  int HoleCount = 0;
  int SubprogramHeaderWritten = 0;
  int LastHoleRangeStart = 0;
  int LastHoleRangeEnd = 0;
  // Owed by the process head to the first hole: the "N" block (moved there
  // by the view's head suppression) and the spindle start (left out by a
  // repeated centring macro).
  int ProcessNBlockPending = 0;
  int SpindleStartPending = 0;
  std::FILE* HoleSubprogramFile = nullptr;
  std::string HoleSubprogramPath;
  int HoleSubprogramNumberBase = 0;

  // ---- NC job: side files, file state, run totals
  std::string NcPath;      // native path (UTF-8)
  int NcOpenResult = 241;  // 0 open, 241 no NC file, 0xFFFF failed
  char WireAxisLetter = 'A';
  std::array<char, 200> DbSelection{};  // two ints, three 64-byte names
  int CommentFilePresent = 0;
  int McodeFilePresent = 0;
  double RunStartSeconds = 0.0;
  std::array<double, 2> RunningMaxima{};
  double TimeFactor = 1.0;
  // The overrun distance past a contour's end (mm): MachiningDefaults'
  // overrun as start-up read "$DEF_KAKO2.@@@"; 0 without the file.
  float OverrunLength = 0.0f;
  int ReportWritten = 0;
  int RunIncomplete = 0;
  int NcExeWriteFailed = 0;
  int DisplayColourOffset = 0;
  // The document's display list as the reports write it ("$CG_DATA.LST");
  // the shell supplies it.
  std::function<std::vector<std::array<std::uint32_t, 8>>()> DisplayList;
};

}  // namespace qup
