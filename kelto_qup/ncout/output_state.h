#pragma once
// OutputState: the block output's words of a run. The block being composed
// (BlockBuffer), the post's switch words, the channel and mode words that the
// job start-up sets per start mode, the modal words of the motion blocks, the
// program-head words, run pacing and the path extents. The job start-up
// resets what a run needs reset; nothing here is allocated per run.
#include <array>
#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "shared/handover/auto_centering_record.h"
#include "shared/handover/post_definition.h"
#include "shared/handover/tool_comment_record.h"
#include "shared/handover/tool_map_record.h"

namespace qup {

// The text of the NC block being composed: not terminated while it grows;
// Position is its length so far. A block with its closing characters, the
// line end and a terminating zero always fits.
struct BlockBuffer {
  static constexpr int kSize = 1024;
  std::array<char, kSize> Text{};
  int Position = 0;
};

// One record of the drawing's tool comment table (".tcm", layout in
// shared/handover/tool_comment_record.h).
using ToolCommentRecord = handover::ToolCommentRecord;

// One entry of the machine M-code table (32 entries of 128 bytes): the machine
// name and, for M-code kinds 1 to 4, a start code (+64, +80, +96, +112) and an
// end code (+72, +88, +104, +120), each written as its first 3 characters.
struct MachineMCodeEntry {
  char machineName[64] = {};
  struct Codes {
    char start[8];
    char end[8];
  } kinds[4] = {};
};
static_assert(sizeof(MachineMCodeEntry) == 128);

// One automatic-centring record of "$Cps_Post.@@@" (G54 to G57), layout in
// shared/handover/auto_centering_record.h.
using CentringRecord = handover::AutoCenteringRecord;

// The NC file of a run: one stream written line by line.
struct NcOutputFile {
  std::FILE* Stream = nullptr;
  std::string Path;  // native path, for the error texts
  bool IsOpen() const { return Stream != nullptr; }
};

// Minimum and maximum of the computed path, overall and per tool.
struct PathExtents {
  static constexpr int kToolEntries = 512;
  double MinX = 999999.0, MinY = 999999.0, MinZ = 999999.0;
  double MaxX = -999999.0, MaxY = -999999.0, MaxZ = -999999.0;
  // The Z range kept only while the engine's move flag is set.
  double MoveMinZ = 999999.0, MoveMaxZ = -999999.0;
  // Per tool-map index: the maximum Z (move flag set) and the minimum Z.
  std::array<double, kToolEntries> ToolMaxZ{};
  std::array<double, kToolEntries> ToolMinZ{};
};

struct OutputState {
  // ---- block buffer and sequence words
  BlockBuffer Block;
  int BlockOpenCount = 0;
  double BlockSequenceNumber = 0.0;
  // A code line held to be merged into the next block (":" lines).
  int HeldTextLine = 0;
  int HeldTextLinePending = 0;
  // Non-zero when the block holds a refused value: EndBlock drops it.
  int BlockRefused = 0;

  // ---- post switch words (derived from the selected post at each selection)
  // WordFormat: 0xC000 least increment (0x8000: 0.01, else 0.001); 0x2000
  // decimal point; 0x0400 leader lines; 0x0100 no start "%"; 0x0080 no end
  // "%"; 0x0008 every block begins with a sequence word.
  int WordFormat = 0;
  // BlockFormat: 0x0004 short motion codes; 0x4000 no plane words; 0x0001
  // small-move rule; 0x0002 offset word with each block; 0x0200 I/J with the
  // offset word; 0x0080 coordinate-setting block.
  int BlockFormat = 0;
  // CodeFormat: 0x0080 incremental U V W; 0x4000 diameter form; 0x2000 Y
  // doubled; 0x0004 arcs by radius R; 0x0040 absolute values.
  int CodeFormat = 0;
  int AxisOutputMode = 0;
  int AxisOutputValue = 0;
  int CommentMode = 0;
  // The post's switches and values by option; their meanings in the output:
  // A work-offset dialect (G54.. in place of G92); B separate tool-length block;
  // D feed word with three decimals; F second dialect ("G15H1", "G56");
  // I variable feed "F=VC"; the others are read by the job's handlers.
  int PostSwitchA = 0, PostSwitchB = 0, PostSwitchC = 0, PostSwitchD = 0;
  int PostSwitchE = 0, PostSwitchF = 0, PostSwitchG = 0, PostSwitchH = 0;
  int PostSwitchI = 0, PostSwitchJ = 0, PostSwitchK = 0, PostSwitchL = 0;
  int PostValueA = 0, PostValueB = 0;
  // Non-zero: every block is written between double quotes, ending in ";".
  int QuotedBlockMode = 0;
  // Corner blocks as "G00" in place of "G39".
  int CornerRapid = 0;
  // Order of the rapid approach after a tool change: 0 X and Y together,
  // 1 X before Y, 2 Y before X.
  int ApproachOrder = 0;
  // The selected post (its six block templates among it).
  handover::PostDefinition Post{};

  // ---- channel and mode words set per start mode and sub-mode
  // Output channel: 0 NC output; 64 and 128 the display forms; 2048 point data.
  int OutputSuppress = 0;
  int SubModeOutput = 0;
  int SubModeEndWord = 0;
  int DataFileWord = 0;
  int ModeOutputKind = 0;
  int OutputLevel = 0;
  int EffectiveMode = 0;
  int RunExecutionMode = 0;  // 0 normal, 1 pause, 2 slow (the shell changes it)
  int MonitorFlags = 0;
  int ListLineCount = 0;
  int TemplateOnly = 0;   // the run writes block templates only
  int ListingSwitch = 0;  // listing prefix of EffectiveMode 1

  // ---- the NC file
  NcOutputFile NcFile;
  int NcFileOutputOff = 0;
  int NcByteCount = 0;

  // ---- run pacing
  int PumpCountdown = 0;
  int StepPause = 0;
  int DcRefreshRequest = 0;
  unsigned SlowModeDelayMs = 0;

  // ---- path extents
  PathExtents Extents;

  // ---- motion blocks
  // StepKind: 0 program start, 1 process head, 2 head in a subprogram and the
  // set-up template, 3 motion block, 4 return template 4, 5 program end,
  // 6 return template 3.
  int StepKind = 0;
  int MotionMode = 0;
  int LastMotionMode = 0xFFFF;
  int PlaneCode = 1;
  int LastPlaneCode = 0;
  int PlaneBase = 0;
  int CompensationState = 0;  // bit 0 active, bit 1 change pending
  int CompensationCode = 0;   // the next block's request: 0 none, 1 cancel, 2 left, 3 right
  int CompensationSide = 0;   // bit 1 left, bit 2 right (template "Ghh")
  int OffsetNumber = 0;
  int OffsetWordLetter = 'D';
  // The scaling in force (G51), 0 when none: a quoted subprogram cancels it
  // with G50 before G40.
  double ScalingValue = 0.0;
  // The direction last written with the offset word (I, J).
  double OffsetDirX = 0.0, OffsetDirY = 0.0;
  double LastFeed = 0.0;
  double Feed = 0.0;
  double RapidRate = 10000.0;
  int PendingSequenceWords = 0;
  int CornerRequest = 0;
  // Set when the small-move rule wrote no block for the move.
  int MoveSkipped = 0;
  // The move being written: target and previous point, arc centre, radius.
  double TargetX = 0.0, TargetY = 0.0, TargetZ = 0.0;
  double PrevX = 0.0, PrevY = 0.0, PrevZ = 0.0;
  double MoveX = 0.0, MoveY = 0.0, MoveZ = 0.0;
  double CentreI = 0.0, CentreJ = 0.0, CentreK = 0.0;
  double ArcRadius = 0.0;   // signed radius of the current arc, 0 for a line
  double RadiusWord = 0.0;  // the R word of an arc by radius
  double RotaryValue = 0.0;
  // Surface-range-offset runs: the second contour's point relative to the
  // first for the target (set with the target), and the U/V position of the
  // last block that wrote U and V.
  double UvOffsetX = 0.0, UvOffsetY = 0.0;
  double LastUvX = 0.0, LastUvY = 0.0;
  // Screw mode 11: the position last written on the rotary axis about X:
  // axial X, radius from the axis, angle in degrees (0 to 360).
  double RotaryAxial = 0.0, RotaryRadius = 0.0, RotaryAngle = 0.0;
  int CommandType = 0;
  // The two offset words of the run that EmitElementAt shifts for one move.
  double OffsetWordA = 0.0, OffsetWordB = 0.0;
  // Point-group data form: 0 X Y, 1 X Z, 2 Y Z, 3 XY distance from the
  // reference point and Z; bit 0x8000 makes the current point the reference.
  int PointDataForm = 0;
  double PointReferenceX = 0.0, PointReferenceY = 0.0;
  // The plane and compensation block written once per run.
  int OnceMask = 0;
  int PlaneBlockWritten = 0;
  // Set by the start-point restore: step kind 2 skips its head and set-up template.
  int SkipSubprogramHead = 0;
  // Set by the first downward step to a start point in a run.
  int DownwardRestoreSeen = 0;
  int CurrentStepCode = 1;

  // ---- words of the contour output that the engine reads or keeps
  int PathHold = 0;  // non-zero while a call or a held block is prepared
  int HeldCommandWord = 0;
  int HeldMoveFlags = 0;  // bits 0xF0: a held arc is written whole first
  int PathActiveWord = 0;
  int OutputGate = 0;  // bit 0x8000: the element path writes nothing
  int JumpGuard = 0;
  int HeightWatch = 0;  // a straight move jumping more than 780 in height is held
  double LastHeight = 0.0;
  int FeedElementIndex = 0;  // the element whose d7 is the feed (0: the contour command's)
  int EndZoneMode = 0;       // 0x1000 zones on; 0x01 after the first split; 0x02 no zone before the end
  double EndZoneLength = 0.0;
  double EndZoneFactor = 1.0;
  int StepDelayMode = 0;  // 2: wait StepDelay ms before every step
  unsigned StepDelay = 0;
  int StepDelayDefault = 0;
  int StepDelayCompanion = 0;
  int MergeMoveMode = 0;  // 4 with MergeGuard 0: at most 20 merges
  int MergeGuard = 0;
  int ResumedCornerMark = 0;

  // ---- queued moves (approach, escape) and the cycle words
  // The kind of the command whose motion runs next (bits 0x3E), 6 between moves.
  int PendingCommandWord = 6;
  int BlockMark = 0;       // set while a return leg runs: the move is undone, not written
  int InContourWord = 0;   // 1 in a contour element routine, 0x2000 in "RIN"/"ROUT"
  int ReplaySwitch = 0;    // with ContourPassWord 2 the move kinds do nothing
  int EngineStartWord = 0;  // 33419: the first move marker
  // The start of the command's move (current point and direction) that the
  // exact codes 0x7520, 0x7570 and 0x75D0 restore before they move.
  std::array<double, 3> CommandStartPoint{};
  std::array<double, 2> CommandStartDirection{};
  // The settings PutCycleWords keeps for the overrun to repeat.
  struct CycleSettings {
    double Distance = 0.0;
    double Value = 0.0;
    char Letter = 0;
    double Value2 = 0.0, Value3 = 0.0;
    int Options = 0;
    int Count = 0;
    int Switches = 0;
    int Variant = 0;
    std::array<double, 2> Point{};
    std::array<double, 2> Move{};  // the approach from the point, found when traced back
    int BlockCode = 0;
  } Cycle;
  int CycleSwitch = 0;      // the post's cycle switch
  int PostPlaneFlags = 0;   // bit 0x40: the move-kind entries mark the first move
  // The approach of a contour's first element: 1 while the queued approach
  // moves are traced back to where they start, 2 while they are written.
  int ApproachPhase = 0;

  // ---- program head, tool change and templates
  int CurrentTool = 0;
  // The block's second tool number: the panes add it to the tool colour of
  // the lines they draw (0 for most runs).
  int SegmentPen = 0;
  int CurrentTCode = 0;
  double NextTool = -1.0;
  int LastHeadTool = 0;
  int HeadToolStayed = 0;  // the head of this process kept the last head's tool
  // Set by a process head until a block takes the tool to the start Z: the
  // next approach goes there before it moves across.
  int StartZPending = 0;
  int CentringMode = 0;
  int CentringHeadFlag = 0;
  int WorkOffsetIndex = 0;
  int LastWorkOffsetIndex = -1;
  int SubprogramMode = 0;
  int ToolChangeNumber = 300;
  // Non-zero when the next tool change writes its "N" word.
  int ToolChangeNumberDue = 0;
  int ProcessToolIndex = 0;
  int PendingCommandCode = 0;
  // Set by each process head: the length offset number of the process's
  // tool (its tool record's H code; 0 writes the tool number) and the Z the
  // tool-length block goes to (the process start Z).
  int HNumber = 0;
  double ToolLengthZ = 0.0;
  double SpindleSpeed = 0.0;
  double HeadX = 0.0, HeadY = 0.0, HeadZ = 0.0;
  double WorkOriginX = 0.0, WorkOriginY = 0.0, WorkOriginZ = 0.0;
  // The "G52" local origin: the hand-over carries none, so it stays 0 and
  // no G52 block is written.
  double LocalOriginX = 0.0, LocalOriginY = 0.0;
  double StoredMacroValue = -1.0;
  int ScrewMode = 0;
  int ScrewSwitch = 0;
  int SurfaceRangeOffset = 0;
  // The view's settings that the head reads.
  int OptionalStopSetting = 0;
  int HeadSuppressSetting = 0;
  int CentringSetting = 0;
  // Tables the job load and start-up fill.
  std::vector<handover::ToolMapRecord> ToolMap;  // at most 768
  int ToolMapLoaded = 0;
  std::vector<ToolCommentRecord> ToolComments;   // at most 256
  std::vector<MachineMCodeEntry> MachineMCodes;  // at most 32
  int MachineMCodesLoaded = 0;
  std::string JobMachineName;  // CP932
  std::array<CentringRecord, 4> Centring{};
  std::string CentringMacroText;  // CP932, at most 768 bytes
};

}  // namespace qup
