// Process, tool and state commands: the start and end of a machining
// process, the tool element, positioning, process parameters, the repeat
// and MOVE commands, the CHECK, rotation and mark lists, the pending-command
// queue and the code-line text commands. They keep the per-process state
// that the block output and the tool-path engine read.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorMoveStack = 2;
constexpr int kErrorCheckStack = 3;
constexpr int kErrorRotationStack = 4;
constexpr int kErrorContourFigure = 9;
constexpr int kErrorToolIndex = 59;
// Tool indices of the per-tool extents: 0 to 511.
constexpr int kMaxToolIndex = 511;
// The extents a tool starts with (mm): nothing seen yet.
constexpr double kNoMaximum = -999999.0;
constexpr double kNoMinimum = 999999.0;
// A repeat end without a counter jumps back on every arrival; the streams
// leave such a loop through a surrounding call. This bound keeps a damaged
// stream from looping for ever.
constexpr int kMaxUncountedRepeatJumps = 100000;
constexpr std::uint32_t kProcessEndMarker = 0xD8F1;

// A whole tool number from a double of the stream, 0 when it is none.
int ToolNumberOf(double value) { return (value > 0.0 && value < 1.0e9) ? static_cast<int>(value) : 0; }

}  // namespace

bool RunContext::BlockOutputOn() const {
  return (output.OutputSuppress == 0 || output.SubModeOutput != 0) && job.NcOutputMask == 0 && output.DataFileWord == 0;
}

bool RunContext::ListsEmpty() const {
  for (int v : job.CheckList1)
    if (v != 0) return false;
  for (int v : job.CheckList2)
    if (v != 0) return false;
  for (int v : job.RotationList)
    if (v != 0) return false;
  return true;
}

void RunContext::WriteSimpleBlock(const char* text) {
  OpenBlock();
  PutBlockText(text);
  EndBlock();
}

void RunContext::WriteSpindleBlock(double speed) {
  OpenBlock();
  PutBlockChar('S');
  PutValueOneDecimal(speed);
  EndBlock();
}

// ---- process start and head

int RunContext::RunProcessStart() {
  job.CallOnActive = 0;
  job.ChannelFlag = R2.flags & 2;
  // d8 is the process's feed factor in percent; below 1 counts as 100.
  const double percent = R2.d8 < 1.0 ? 100.0 : R2.d8;
  job.FeedOverride = RoundTo3Decimals(percent * 0.01);
  job.CommandModeWord = 0;
  job.CommandModeValues = {0.0, 0.0};
  engine.core.MachiningTime += job.ToolChangeTime;

  job.ApproachIndex = 0;
  job.GroupFlag = 0;
  job.SavedFlags = 0;
  job.Clearance = 0.0;
  job.ClearanceOn = 0;
  job.QueueSnapshotCount = 0;
  job.HoleOutputSwitchLatched = 0;
  job.SpindleCheckFlag = 0;
  job.ProcessNBlockPending = 0;
  job.SpindleStartPending = 0;

  const bool firstProcess = job.ProgramHeadFlag == 0;
  if (BlockOutputOn() && (firstProcess || job.WorkOffsetCounter > 15 || job.WorkOffsetRequest == 16)) {
    EmitWorkOffsetMacro();
    if (job.WorkOffsetCounter == 16) job.WorkOffsetCounter = 17;
  }
  if (engine.EndOfDataFlag == 0 && firstProcess) {
    if (BlockOutputOn() && ExpandBlockTemplate(0) == kStopRun) return kStopRun;
    if (SelectToolIndex(1) == kStopRun) return kStopRun;
    output.ProcessToolIndex = 1;
    output.Extents.ToolMaxZ[1] = kNoMaximum;
    output.Extents.ToolMinZ[1] = kNoMinimum;
  }
  job.ProgramHeadFlag = 1;
  ++job.ProcessCounter;
  return EmitProcessHead();
}

void RunContext::ReadProcessParametersAhead(int index) {
  for (int i = index + 1; i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    if ((e.code & 0xFF00) == 0x6100) break;
    if (e.code == 0x6400) job.Value6400 = e.d4;
    if (e.code == 0x6500) job.Value6500 = e.d4;
  }
}

int RunContext::ProcessToolMapSlot() const {
  // The record the process's tool change named (the first process has
  // none: record 1). Two definitions may use one ATC number with different
  // tools, so the first record of that number is only the fallback of a
  // stream whose tool change names no record of this tool.
  const int named = output.ProcessToolIndex;
  const int count = static_cast<int>(output.ToolMap.size());
  if (named >= 1 && named <= count &&
      output.ToolMap[static_cast<std::size_t>(named - 1)].atcNumber == output.CurrentTool)
    return named;
  for (int i = 0; i < count; ++i) {
    if (output.ToolMap[static_cast<std::size_t>(i)].atcNumber == output.CurrentTool) return i + 1;
  }
  return 0;
}

const handover::ToolMapRecord* RunContext::ProcessToolRecord() const {
  const int slot = job.ToolMapSlot;
  if (slot < 1 || slot > static_cast<int>(output.ToolMap.size())) return nullptr;
  return &output.ToolMap[static_cast<std::size_t>(slot - 1)];
}

double RunContext::NextProcessTool(int index) const {
  for (int i = index + 1; i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    if (e.code != handover::element_code::kProcessStartAtc) continue;
    const int tool = e.int2 != 0 ? e.int2 : ToolNumberOf(e.d7);
    if (tool != job.ToolKey) return tool;
  }
  return -1.0;
}

int RunContext::EmitProcessHead() {
  const int index = CommandIndex();
  ElementIndex = index;
  ReadProcessParametersAhead(index);

  job.BlockCounterWord = 16;
  output.CurrentTool = ToolNumberOf(R2.d7);
  job.ToolMapSlot = ProcessToolMapSlot();
  job.ToolKey = R2.int2 != 0 ? R2.int2 : output.CurrentTool;
  output.CurrentTCode = job.ToolKey > 0 ? job.ToolKey : output.CurrentTool;
  output.SpindleSpeed = R2.d6;
  job.Flag10Value = (R2.flags & 0x10) ? R2.d0 : 0.0;
  if (R2.flags & 0x1) job.ChannelFlag = 2;
  output.NextTool = R2.code == handover::element_code::kProcessStartAtc ? NextProcessTool(index) : -1.0;

  const double z = R2.d3 + (job.DepthAddSwitch != 0.0 ? R2.d1 : 0.0);
  // The values the contour runs of this process start from: the tool's
  // corner and flat radii as offsets, the process's Z as the carried height.
  ContourWords& contour = engine.contour;
  contour.ProcessOffset1 = R2.d1;
  contour.ProcessOffset2 = R2.d2;
  engine.stepping.ExtraOffset = R2.d2;
  contour.CarriedValue5 = z;
  job.CurrentPoint = {R2.d4, R2.d5, z};
  job.PreviousPoint = job.CurrentPoint;
  job.SavedStartPoint = job.CurrentPoint;
  SetOutputPoint(job.CurrentPoint);
  // After the tool change the tool stands at the start point (the tool
  // change position, which the coordinate setting declares): the next moves
  // are measured from its X and Y. Its Z counts as reached only once a
  // tool-length block has moved there; until then the approach goes to the
  // start Z first.
  output.PrevX = R2.d4;
  output.PrevY = R2.d5;
  output.StartZPending = 1;
  output.HeadX = R2.d4;
  output.HeadY = R2.d5;
  output.HeadZ = z;
  // The tool-length block of this process: its own tool's offset number,
  // to its own start Z.
  const handover::ToolMapRecord* tool = ProcessToolRecord();
  output.HNumber = tool != nullptr ? tool->hCode : 0;
  output.ToolLengthZ = z;
  R3.d0 = R2.d1;
  job.DirectionPair = {R2.d2, R2.d2};

  if (FindNextMarker() != 0) {
    if (SelectPostDefinition() != 0) return kStopRun;
    if (output.EffectiveMode == 1) {
      output.OutputLevel = 2;
      output.WordFormat |= 0x18;
    }
  }
  ClearProcessLists();
  PrepareMove();

  if (output.CentringMode == 1 && job.MacroSkipSwitch == 0) FindCentringRepeat(index);

  output.StepKind = 1;
  if (EmitElement() == kStopRun) return kStopRun;

  if (job.HoleOutputSwitch == 0 && BlockOutputOn()) {
    const bool macroRepeat = output.CentringMode == 1 && job.MacroRepeatFlag == 1;
    if (!macroRepeat) {
      if (output.SpindleSpeed != 0.0 && job.Flag10Value == 0.0) {
        WriteSpindleBlock(output.SpindleSpeed);
        char mcode[16] = "M03";
        if (output.AxisOutputMode & 0x400) std::snprintf(mcode, sizeof mcode, "M%02d", output.AxisOutputValue);
        WriteSimpleBlock(mcode);
        job.SpindleOnFlag = 1;
        EmitCentringMacroCall();
        if (ExpandBlockTemplate(11) == kStopRun) return kStopRun;
      } else {
        EmitCentringMacroCall();
      }
    } else {
      EmitCentringMacroCall();
      // The repeated centring macro starts no spindle: a hole of this
      // process starts it before it cuts.
      if (output.SpindleSpeed != 0.0 && job.Flag10Value == 0.0) job.SpindleStartPending = 1;
    }
  }
  job.EndRestorePoint = job.CurrentPoint;
  job.EndRestoreTail = {R2.d6, R2.d7};
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::FindCentringRepeat(int index) {
  for (int i = index + 1; i < elements.ElementCount; ++i) {
    const NcElement& e = elements[i];
    if ((e.code & 0xFF00) != 0x7100) continue;
    job.MacroRepeatFlag = (e.d8 == job.LastCentringD8 && job.ToolKey == job.LastCentringTool &&
                           output.WorkOffsetIndex == job.LastCentringOffset)
                              ? 1
                              : 0;
    job.LastCentringD8 = e.d8;
    job.LastCentringTool = job.ToolKey;
    job.LastCentringOffset = output.WorkOffsetIndex;
    return;
  }
}

void RunContext::EmitCentringMacroCall() {
  if (output.CentringMode != 1) return;
  const int w = output.WorkOffsetIndex;
  if (w < 0 || w >= static_cast<int>(output.Centring.size()) || output.Centring[w].active != 1) return;
  WriteSimpleBlock("G65P7903Q1");
  if (job.MacroValue > 0.0) {
    OpenBlock();
    PutBlockText("/#5203");
    PutBlockChar('=');
    PutValueThreeDecimals(job.MacroValue);
    EndBlock();
    job.MacroValue = -1.0;
  }
}

void RunContext::SetOutputPoint(const std::array<double, 3>& p) {
  output.TargetX = p[0];
  output.TargetY = p[1];
  output.TargetZ = p[2];
  // The moves read the point where the engine leaves it: X/Y in the
  // command's d6/d7, Z in the work block's d1 (the path extents too).
  R2.d6 = p[0];
  R2.d7 = p[1];
  R3.d1 = p[2];
}

// ---- process end and machining end

int RunContext::RunProcessEnd() {
  job.ApproachIndex = 0;
  job.GroupFlag = 0;
  job.MoveMark = 0;
  job.SpindleCheckFlag = 1;
  const int status = EmitProcessEnd();
  // A process end carries its offset and height on to the next command.
  CarryCommandValues();
  RestoreQueuedWords();
  return status;
}

int RunContext::EmitProcessEnd() {
  const int startMode = job.Modes.StartMode;
  if (startMode >= 6 && startMode <= 9) job.NcOutputMask |= 0x8000;
  const bool holeOutput = job.HoleOutputSwitch != 0;
  if (job.HoleGroupState != 0 && job.HoleGroupState != kHoleGroupByMoves) {
    if (BlockOutputOn()) {
      ++job.PendingReturns;
      if (holeOutput) {
        if (ExpandBlockTemplate(4) == kStopRun) return kStopRun;
        WriteSimpleBlock("  ");
      }
    }
  }
  job.HoleGroupState = 0;

  const bool earlyEnd = R2.d5 != 0.0;
  if (earlyEnd) {
    job.CurrentPoint = job.EndRestorePoint;
  } else {
    job.CurrentPoint = job.SavedStartPoint;
    job.MoveStack.clear();
    job.MirrorSwitch = 0;
  }
  if (job.StepCountSwitch == 0 && job.PendingReturns != 0) {
    if (!holeOutput) {
      output.StepKind = 6;
      if (EmitElement() == kStopRun) return kStopRun;
    }
    job.PendingReturns = 0;
  }
  switch (R2.code & 0xFF) {
    case 0x10:
      job.PlaneWord = 4;
      break;
    case 0x20:
      job.PlaneWord = 8;
      break;
    case 0x00:
      job.PlaneWord = 0;
      break;
    default:
      break;
  }
  job.CurrentPoint = job.SavedStartPoint;
  SetOutputPoint(job.CurrentPoint);
  if (!holeOutput) {
    EmitPlaneBlockOnce();
    ++job.ToolChangeCount;
    if (EmitToolChange() == kStopRun) return kStopRun;
  }
  if (!earlyEnd) {
    const int w = output.WorkOffsetIndex;
    const bool centring = BlockOutputOn() && output.CentringMode == 1 && w >= 0 &&
                          w < static_cast<int>(output.Centring.size()) && output.Centring[w].active == 1;
    if (centring) {
      if (job.MacroValue < 0.0 && engine.EndOfDataFlag != 0) {
        WriteSimpleBlock("/#5203=0");
        job.MacroValue = 0.0;
      }
      WriteSimpleBlock("G65P7903Q0");
    }
    if (!holeOutput) {
      output.StepKind = 4;
      if (EmitElement() == kStopRun) return kStopRun;
    }
  }
  AddDisplayMarker(kProcessEndMarker);
  job.HoleOutputSwitch = 0;
  if (!earlyEnd && job.MacroValue < 0.0 && engine.EndOfDataFlag != 0 && BlockOutputOn()) {
    WriteSimpleBlock("/#5203=0");
    job.MacroValue = 0.0;
  }
  return AbortFlag == kStopRun ? kStopRun : 0;
}

int RunContext::RunMachiningEnd() {
  output.StepKind = 5;
  if (EmitElement() == kStopRun) return kStopRun;
  job.ProgramEndWritten = 1;
  job.CommandModeValues = {0.0, 0.0};
  AddMachiningTime(99);
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::RestoreQueuedWords() {
  elements.ElementCount = job.JobElementCount;
  for (const auto& [index, d4] : job.SavedWordList) {
    if (index >= 0 && index < elements.ElementCount) elements[index].d4 = d4;
  }
  job.SavedWordList.clear();
}

// ---- tools and positioning

int RunContext::SelectToolIndex(int toolIndex) {
  int status = 0;
  if (toolIndex < 0 || toolIndex > kMaxToolIndex) {
    status = StopWithError(kErrorToolIndex);
    toolIndex = 0;
  }
  output.ProcessToolIndex = toolIndex;
  job.ToolExtentProcess[static_cast<std::size_t>(toolIndex)] = toolIndex;
  output.Extents.ToolMaxZ[static_cast<std::size_t>(toolIndex)] = kNoMaximum;
  output.Extents.ToolMinZ[static_cast<std::size_t>(toolIndex)] = kNoMinimum;
  return status;
}

int RunContext::SelectTool() {
  if (SelectToolIndex(R2.flags) == kStopRun) return kStopRun;
  if (job.Modes.StartMode == 4 && job.Modes.SubMode == 0) return 0;
  if (ToolNumberOf(R2.d4) == output.CurrentTool && job.SpindleCheckFlag == 1 && R2.d6 > 0.0) {
    if (R2.d6 != output.SpindleSpeed && BlockOutputOn()) WriteSpindleBlock(R2.d6);
    output.SpindleSpeed = R2.d6;
  }
  job.SpindleCheckFlag = 0;
  job.BlockCounterWord = 0xFFFF;
  return AbortFlag == kStopRun ? kStopRun : 0;
}

void RunContext::RunToolRadius() {
  job.CallOnActive = 0;
  job.ToolRadius = R2.d0 * 0.5;
  job.ToolOffsetNumber = (R2.d3 != 0.0 && std::fabs(R2.d3) < 1.0e9) ? static_cast<int>(R2.d3) : 0;
  // 0.001 marks a tool without a diameter: no offset, and the display's
  // marker radius.
  if (R2.d0 == 0.001) {
    R2.d0 = 0.0;
    job.ToolRadius = 0.001;
  }
  job.ToolFrame = R2;
}

int RunContext::RunPositioning() {
  job.CurrentPoint[0] = R2.d4;
  job.CurrentPoint[1] = R2.d5;
  job.CurrentPoint[2] = (R2.flags & 0x100) ? R2.d3 : R3.d1;
  SetOutputPoint(job.CurrentPoint);
  const int status = EmitToolChange();
  job.ToolChangeWords = {0, 0};
  return status == kStopRun ? kStopRun : 0;
}

void RunContext::KeepProcessParameters() {
  switch (R2.code) {
    case 0x6400:
      job.Value6400 = R2.d4;
      job.Value6400b = R2.d2;
      job.Flags6400 = R2.flags & 0x41;
      break;
    case 0x6500:
      job.Value6500 = R2.d4;
      job.Value6500b = R2.d1;
      break;
    case 0x6A00:
      if (R2.d4 == 0.0) {
        job.Clearance = 0.0;
        job.ClearanceOn = 0;
      } else {
        // The smallest clearance the engine works with, mm.
        constexpr double kMinClearance = 0.0005;
        job.Clearance = std::fabs(R2.d4) < kMinClearance ? kMinClearance : R2.d4;
        job.ClearanceOn = 1;
      }
      break;
    default:
      break;  // variants with a low byte carry nothing here
  }
}

int RunContext::RunProgramSeparator() {
  job.MacroValue = R2.d5;
  job.ProgramHeadFlag = R2.d5 > 0.0 ? 2 : -1;
  job.ToolKey = -1;
  job.LastMacroTool = -1;
  job.SeparatorWord = 0;
  job.StepCountSwitch = 0;
  if (output.NcFile.IsOpen() && output.NcFileOutputOff == 0) {
    if (std::fputs("\n\n\n", output.NcFile.Stream) < 0) return StopWithError(kErrorFileWrite);
    output.NcByteCount += 6;  // each line end counts as CR LF
  }
  return 0;
}

// ---- contour-family commands: queue bookkeeping here, motion in the engine

int RunContext::RunContourGroupCommand() {
  job.KeptContourD7 = R2.d7;
  UnpackCommandValue(1);
  UnpackCommandValue(5);
  QueueCommandIndex();
  // The walk marks and consumes the elements of its range in the table; a
  // working copy taken here is written back afterwards, so the next command
  // over the same figures finds them as the hand-over gave them. The pair is
  // this command's own: the walk moves the range words.
  const int first = RangeStart, last = RangeEnd;
  const int count = elements.ElementCount;
  if (AllocTempElements(first, last) != 0) return kStopRun;
  const int result = hab_goo();
  CopyBackTempElements(first, last);
  // Lead lines and rebuilt ranges behind the job's elements are scratch.
  if (elements.ElementCount > count) elements.ElementCount = count;
  return result == kStopRun || AbortFlag != 0 ? kStopRun : result;
}

bool RunContext::IsHoleCutIn(int index) const {
  for (int i = index + 1; i < elements.ElementCount; ++i) {
    const int kind = elements[i].code & 0xFF00;
    if (kind == 0x6800 || kind == 0x6B00 || kind == 0x6C00) return true;
    if (kind == 0x7100 || kind == 0x7200 || kind == 0x6100 || kind == 0x7F00 || kind == 0x8000 || kind == 0xFF00) {
      return false;
    }
  }
  return false;
}

int RunContext::RunCutIn() {
  RestoreQueuedWords();
  job.QueueCount = 0;
  job.GroupFlag = 0;
  job.GroupFlags = 0;
  QueueCommandIndex();
  const int startMode = job.Modes.StartMode;
  if (startMode >= 6 && startMode <= 9) job.NcOutputMask |= 0x8000;
  if (IsHoleCutIn(CommandIndex())) {
    // The cut-in of a hole process carries the hole's return mode.
    job.CutInFlags = R2.flags;
    job.CutInValue = R2.d5;
    return 0;
  }
  return PrepareContourRun();
}

int RunContext::RunMoveKind() {
  const int sub = R2.code & 0xF0;
  switch (sub) {
    case 0x10:
    case 0xC0:
    case 0xF0:
      job.MoveMark = sub == 0xF0 ? 2 : 1;
      QueueCommandIndex();
      PublishQueue();
      return 0;
    case 0x80:
      QueueCommandIndex();
      PublishQueue();
      if (R2.code & 0x1) job.ApproachPoint = {R2.d2, R2.d3};
      return 0;
    case 0xA0:
      job.MoveMark = 2;
      QueueCommandIndex();
      PublishQueue();
      job.ApproachFlags = R2.flags;
      job.ApproachValue = R2.d6 * 0.1;
      if (job.StepCountSwitch != 0) ++job.DisplayStepCounter;
      return 0;
    case 0x60:
      if (SnapshotElements() == kStopRun) return kStopRun;
      QueueCommandIndex();
      PublishQueue();
      return 0;
    case 0x20:
      BeginCommandGroup();
      return RunMoveKind7520();
    case 0x70:
      BeginCommandGroup();
      return RunMoveKind7570();
    case 0x90:
      BeginCommandGroup();
      return RunRoutMove();
    case 0xB0:
      BeginCommandGroup();
      return RunMoveKind75B0();
    case 0xD0:
      BeginCommandGroup();
      return RunMoveKind75D0();
    default:
      return 0;
  }
}

// ---- queue

void RunContext::QueueCommandIndex() {
  // The stream holds at most 32 queued commands per process; a further one
  // is not queued rather than written past the queue.
  if (job.QueueCount < JobState::kQueueSize)
    job.CommandQueue[static_cast<std::size_t>(job.QueueCount++)] = CommandIndex();
}

void RunContext::PublishQueue() {
  job.QueueSnapshot = job.CommandQueue;
  job.QueueSnapshotCount = job.QueueCount;
}

void RunContext::BeginCommandGroup() {
  job.GroupFlag = 1;
  job.GroupFlags = R2.flags & 0x9000;
  if (job.GroupFlags == 0x9000) {
    job.GroupStartIndex = CommandIndex();
    job.GroupStartZ = R2.d7;
    AddMachiningTime(0);
  }
}

// ---- repeat and MOVE

int RunContext::RunRepeatEnd() {
  RangeFrame& frame = job.CallStack[job.CallDepth];
  if ((R2.flags & 0x1) == 0) {
    if (++job.UncountedRepeatJumps > kMaxUncountedRepeatJumps) return StopWithError(6);
    frame.Current = static_cast<std::uint32_t>(RangeStart) - 1u;
    return 0;
  }
  job.RepeatActive = 0xFFFF;
  if (R2.d3 < 0.0) {
    R2.d3 += 1.0;
  } else if (R2.d3 == 0.0) {
    // A count that is not positive repeats nothing.
    R2.d3 = R2.d2 > 0.0 ? -R2.d2 : 0.0;
  } else {
    R2.d3 = 0.0;  // a damaged positive counter would never reach 0
  }
  R2.d3 = RoundTo3Decimals(R2.d3);
  elements[CommandIndex()] = R2;
  if (R2.d3 != 0.0) {
    frame.Current = static_cast<std::uint32_t>(RangeStart) - 1u;
    return 0;
  }
  job.MirrorSwitch = 0;
  job.RepeatActive = 0;
  const int own = CommandIndex();
  for (auto it = job.MoveStack.begin(); it != job.MoveStack.end(); ++it) {
    if (it->Index == own - 1 && (it->Frame.flags & 0xFFFF) == 0x400) {
      job.MoveStack.erase(it);
      break;
    }
  }
  return 0;
}

int RunContext::RunMove() {
  UnpackCommandValue(1);
  const int index = CommandIndex();
  R1 = elements[index];
  job.TransformBits = R1.flags & 0xF0000;
  if (job.TransformBits != 0) job.TransformActive = 1;
  R1.flags &= 0xFFFF;
  const double keepD6 = R1.d6;
  const double keepD7 = R1.d7;
  switch (R1.flags) {
    case 0:
      R1.d2 = 1.0;
      R1.d3 = 0.0;
      job.SavedShift = {0.0, 0.0};
      break;
    case 0x400: {
      R1.d1 = 0.0;
      job.MirrorSwitch ^= 1;
      const int axis = static_cast<int>(registers.CommandValue1Pair.whole);
      if (axis >= elements.ElementCount) return StopWithError(kErrorContourFigure);
      const NcElement& line = elements[axis];
      const double a = line.d2, b = line.d3, e = line.d6, f = line.d7;
      const double c2 = a * a - b * b;
      const double s2 = 2.0 * a * b;
      R1.d2 = c2;
      R1.d3 = s2;
      // The reflection about the axis through (e, f) with direction (a, b).
      job.SavedShift = {e - (s2 * f + c2 * e), f - (s2 * e - c2 * f)};
      R1.d4 = 0.0;
      R1.d5 = 0.0;
      break;
    }
    case 0x200:
      job.SavedShift = {R1.d4, R1.d5};
      R1.d4 = 0.0;
      R1.d5 = 0.0;
      break;
    default:
      break;
  }
  NcElement frame = R1;
  frame.d6 = job.SavedShift[0];
  frame.d7 = job.SavedShift[1];
  for (JobState::MoveEntry& entry : job.MoveStack) {
    if (entry.Index != index) continue;
    if (R1.flags != 0x400) RotateTangents();
    entry.Frame = frame;
    R1.d6 = keepD6;
    R1.d7 = keepD7;
    return 0;
  }
  // Test before appending: a full stack stops the run and stays as it was.
  if (job.MoveStack.size() >= static_cast<std::size_t>(JobState::kMoveStackSize)) {
    return StopWithError(kErrorMoveStack);
  }
  job.MoveStack.push_back({index, frame});
  R1.d6 = keepD6;
  R1.d7 = keepD7;
  return 0;
}

void RunContext::RunMoveGroup() {
  job.MoveGroupIndex = CommandIndex();
  job.MoveStack.clear();
  job.SavedMoveFrames = {};
  job.MirrorSwitch = 0;
  job.RepeatActive = 0;
  ElementIndex = 8;
}

// ---- CHECK, rotation and marks

namespace {

template <std::size_t N>
bool InsertFirstFree(std::array<int, N>& list, int value) {
  for (int& slot : list) {
    if (slot == 0) {
      slot = value;
      return true;
    }
  }
  return false;
}

template <std::size_t N>
bool Contains(const std::array<int, N>& list, int value) {
  for (int slot : list) {
    if (slot == value) return true;
  }
  return false;
}

}  // namespace

void RunContext::EmptyCheckLists() {
  job.CheckList1.fill(0);
  job.CheckList2.fill(0);
  job.PreviousCheckList.fill(0);
  job.CheckSurfaceList.fill(0);
}

int RunContext::RunCheck() {
  const int flags = R2.flags & 0x3FFF;
  R2.flags = flags;
  const int index = CommandIndex();
  if (flags == 0x110) {
    if (RangeStart == 0) {
      EmptyCheckLists();
    } else {
      for (int& entry : job.CheckList1) {
        if (entry != 0) InsertFirstFree(job.PreviousCheckList, entry);
        entry = 0;
      }
      if (!Contains(job.CheckSurfaceList, RangeStart) && !InsertFirstFree(job.CheckSurfaceList, RangeStart)) {
        return StopWithError(kErrorCheckStack);
      }
    }
    job.FeatureBits |= 0x2000;
    return 0;
  }
  if (R2.d4 == 0.0) {
    EmptyCheckLists();
    job.Clearance = 0.0;
    job.ClearanceOn = 0;
    job.FeatureBits &= ~0x2000;
    bool rotations = false;
    for (int v : job.RotationList) rotations |= v != 0;
    if (!rotations) job.FeatureBits &= ~0x0800;
    return 0;
  }
  if (flags & 0x1000) {
    job.Clearance = 0.0;
    if (!InsertFirstFree(job.CheckList1, index)) return StopWithError(kErrorCheckStack);
  } else {
    // The clearance that keeps the tool off a check surface, mm.
    job.Clearance = 0.0005;
    if (!InsertFirstFree(job.CheckList2, index)) return StopWithError(kErrorCheckStack);
  }
  return 0;
}

int RunContext::RunRotation() {
  if (R2.code == 0x86F0) {
    job.RotationList.fill(0);
    bool checks = false;
    for (int v : job.CheckList1) checks |= v != 0;
    for (int v : job.CheckList2) checks |= v != 0;
    if (!checks) job.FeatureBits &= ~0x0800;
    return 0;
  }
  std::size_t last = 0;
  for (std::size_t i = 0; i < job.RotationList.size(); ++i) {
    if (job.RotationList[i] != 0) last = i + 1;
  }
  if (last >= job.RotationList.size()) return StopWithError(kErrorRotationStack);
  job.RotationList[last] = CommandIndex();
  job.FeatureBits |= 0x0800;
  return 0;
}

void RunContext::RunMark() {
  InsertFirstFree(job.MarkList, CommandIndex());  // a full list stays as it is
  job.MarkFlag = 1;
  if (R2.flags & 0x10) job.FeatureBits |= 0x0800;
}

void RunContext::ClearProcessLists() {
  EmptyCheckLists();
  job.RotationList.fill(0);
  job.MarkList.fill(0);
  job.MarkFlag = 0;
  job.SavedCheckIndex = 0;
  job.ZModeWord = 0;
  output.ScrewMode = output.ScrewMode == 11 ? 11 : 0;
  job.CommandModeWord = 0;
  job.CommandModeValues = {0.0, 0.0};
  job.MoveStack.clear();
  job.SavedMoveFrames = {};
  job.MirrorSwitch = 0;
  job.RepeatActive = 0;
  job.FeatureBits &= ~0x0800;
}

// ---- code-line text commands

int RunContext::EmitTextLine(int merge) {
  if (!BlockOutputOn()) return 0;
  // A held line joins the block being ended (merge 1): the block output
  // leaves its index in HeldTextLine; otherwise the command names the line.
  const int line = merge != 0 ? output.HeldTextLine : R2.flags;
  if (merge != 0) output.HeldTextLine = 0;
  // An index outside the table names no line: nothing is written.
  if (line < 0 || line >= kCodeLineCount) return 0;
  char* text = job.CodeLines[static_cast<std::size_t>(line)].text;
  constexpr int kSlot = static_cast<int>(handover::CodeLineSlot::kSize);
  int p = 0;
  while (p < kSlot && text[p] == ' ') ++p;
  if (merge == 0 && p < kSlot && text[p] == ':') {
    output.HeldTextLine = line;
    output.HeldTextLinePending = 1;
    return 0;
  }
  OpenBlock();
  if (p < kSlot && text[p] == 'O' && job.OWordSwitch == 0) text[p] = 'L';
  int colons = merge == 0 ? 0 : -1;
  for (; p < kSlot && text[p] != '\0'; ++p) {
    const char c = text[p];
    if (c == ' ') continue;
    if (c == ';') {
      if (EndBlock() == kStopRun) return kStopRun;
      colons = 0;
      OpenBlock();
      continue;
    }
    if (c == ':') {
      ++colons;
      continue;
    }
    if (c == '(') {
      output.HeldTextLinePending = 0;
      output.HeldTextLine = 0;
      PutBlockChar('(');
      ++p;
      // Blanks, the punctuation before '/' and every byte from 0x80 up
      // (read as a signed char) are dropped at the start of a comment.
      while (p < kSlot && text[p] != '\0' && static_cast<signed char>(text[p]) < 0x2F) ++p;
      for (; p < kSlot && text[p] != '\0'; ++p) PutBlockChar(text[p]);
      break;
    }
    PutBlockChar(c);
  }
  if (colons <= 0) return EndBlock() == kStopRun ? kStopRun : 0;
  return 0;
}

}  // namespace qup
