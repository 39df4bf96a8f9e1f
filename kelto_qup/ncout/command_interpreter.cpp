// The command interpreter: walks a range of the element table and hands
// every command element (code 0x3800 and above) to its handler by the kind
// (code & 0xFF00). Geometry and figure groups are data that the handlers
// read through the registers. Handlers may walk a sub-range (a call), move
// the walk back (a repeat) or end the run (0xFF00).
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// Commands from this code up are run; below it the elements are data.
constexpr std::uint32_t kFirstCommandCode = 0x3800;
constexpr int kErrorCallStack = 41;

}  // namespace

int RunContext::RunElementRange() {
  ++job.CallDepth;
  if (job.CallDepth > static_cast<std::uint32_t>(JobState::kCallLevels)) {
    // The frame of this level does not exist: leave the depth at the last one.
    job.CallDepth = JobState::kCallLevels;
    return StopWithError(kErrorCallStack);
  }
  RangeFrame& frame = job.CallStack[job.CallDepth];
  frame.Current = static_cast<std::uint32_t>(RangeStart);
  frame.End = static_cast<std::uint32_t>(RangeEnd);
  job.CommandModeWord &= 0xF000;

  if (frame.Current <= frame.End) {
    do {
      if (AbortFlag != 0) return kStopRun;
      const std::uint32_t index = job.CallStack[job.CallDepth].Current;
      if (index >= static_cast<std::uint32_t>(elements.Capacity())) return StopWithError(kErrorCallStack);
      ElementIndex = static_cast<int>(index);
      const NcElement& element = elements[static_cast<int>(index)];
      if (static_cast<std::uint32_t>(element.code) >= kFirstCommandCode) {
        registers.RegisterStackDepth = 0;
        R2 = element;
        job.PreviousCommandNumber = job.CurrentCommandNumber;
        job.CurrentCommandNumber = R2.number;
        if (RunElementCommand() == kStopRun) return kStopRun;
        if (job.CallDepth == 0) return 0;
      }
      ++job.CallStack[job.CallDepth].Current;
    } while (job.CallStack[job.CallDepth].Current <= job.CallStack[job.CallDepth].End);
  }
  if (job.CallDepth != 0) --job.CallDepth;
  return 0;
}

int RunContext::RunElementCommand() {
  UnpackCommandValue(4);
  const int code = R2.code;
  const int kind = code & 0xFF00;
  const int index = CommandIndex();
  switch (kind) {
    case 0x4100:
    case 0x4200:
      job.ActiveIndex4x = index;
      job.FeatureBits |= 0x0800;
      if (index == 0 && ListsEmpty()) job.FeatureBits &= ~0x0800;
      return 0;
    case 0x5100:
    case 0x5200:
    case 0x5300:
      job.ZModeWord = (kind - 0x5100) >> 8;
      job.FeatureBits |= job.ZModeWord;
      return 0;
    case 0x6100:
      return RunProcessStart();
    case 0x6200:
      job.ApproachIndex = index;
      QueueCommandIndex();
      PublishQueue();
      return 0;
    case 0x6300:
      BeginCommandGroup();
      if (R2.d4 == 0.0) {
        AddPendingSequence();
        return 0;
      }
      output.BlockMark = 0;
      return RunStraightMoveWorker(12);
    case 0x6400:
    case 0x6500:
    case 0x6A00:
      KeepProcessParameters();
      return 0;
    case 0x6800:
    case 0x6B00:
    case 0x6C00:
      job.ToolRadius = 0.0;
      job.ContourModeWord = 0;
      return EmitHoleCycles();
    case 0x6900:
      job.ToolRadius = 0.0;
      return RunMachiningEnd();
    case 0x7000:
      return RunPositioning();
    case 0x7100:
      return RunContourGroupCommand();
    case 0x7200: {
      const int status = RunProcessEnd();
      if (job.CommandModeWord != 0) job.CommandModeWord = 0x1000;
      return status == kStopRun ? kStopRun : 0;
    }
    case 0x7300: {
      const int status = RunCutIn();
      if (job.CommandModeWord != 0) job.CommandModeWord = 0x1000;
      return status == kStopRun ? kStopRun : 0;
    }
    case 0x7400: {
      RestoreQueuedWords();
      QueueCommandIndex();
      const int result = ProcessOverrun();
      ElementIndex = result;
      return result;
    }
    case 0x7500:
      return RunMoveKind();
    case 0x7600:
      return RunMove();
    case 0x7700:
      return RunRepeatEnd();
    case 0x7800: {
      TraceMessage("CALL_ON", 9901, 0);
      job.CallOnActive = 1;
      const int status = RunCallOn();
      if (status == kStopRun) return kStopRun;
      AddDisplayMarker(0xD8F1);
      return 0;
    }
    case 0x7B00:
      job.SavedHoleCommand = R2;
      return 0;
    case 0x7F00:
      QueueCommandIndex();
      return StopMissingOperation("RunScrewPass");
    case 0x8000:
      QueueCommandIndex();
      return StopMissingOperation("RunSurfacePass");
    case 0x8100:
      job.Index8100 = index;
      job.SavedFrame8100 = R2;
      if ((code & 0xF0) == 0x10 && (R2.d3 != R2.d4 || R2.d3 != R2.d5)) job.FeatureBits |= 0x0400;
      return 0;
    case 0x8200:
    case 0x8300:
      return RunCheck();
    case 0x8400:
      job.Index8400 = R2.d4 != 0.0 ? index : 0;
      job.Flags8400 = R2.flags;
      job.Value8400 = R2.d4;
      return 0;
    case 0x8500:
    case 0x8600:
      return RunRotation();
    case 0x8700:
      RunMark();
      return 0;
    case 0x8A00:
      ElementIndex = job.MarkList[0];
      if (ElementIndex != 0) job.MarkFlag = 1;
      return 0;
    case 0x8B00:
      job.MarkFlag = 0;
      return 0;
    case 0x8C00:
      job.MarkList.fill(0);
      job.MarkFlag = 0;
      return 0;
    case 0x9700:
      ElementIndex = RangeStart;
      if (SelectPostDefinition() != 0) return kStopRun;
      if (output.EffectiveMode == 1) {
        output.OutputLevel = 2;
        output.WordFormat |= 0x18;
      }
      return 0;
    case 0x9800:
      RunMoveGroup();
      return 0;
    case 0x9900:
      return EmitTextLine(0) == kStopRun ? kStopRun : 0;
    case 0x9A00:
      if (engine.EndOfDataFlag != 0) return 0;
      R3.d0 = R2.d1;
      job.ToolElementD2 = R2.d2;
      return SelectTool();
    case 0x9F00:
      job.HoleOutputSwitch = R2.flags;
      return 0;
    case 0xA900:
      ClearProcessLists();
      return 0;
    case 0xBB00:
      RunToolRadius();
      return 0;
    case 0xBE00:
      job.WorkOffsetRequest = 16;
      return 0;
    case 0xCC00:
      if (job.Header.holeSubprogram == 1) return EmitHolePointSubprogram();
      return 0;
    case 0xD000:
      job.MacroValue = R2.d5;
      job.WorkOffsetCounter += 16;
      return 0;
    case 0xD100:
      engine.EndOfDataFlag = 1;
      return 0;
    case 0xD200:
      return RunProgramSeparator();
    case 0xD400:
      PutBlockText("M99");
      return EndBlock() == kStopRun ? kStopRun : 0;
    case 0xE700:
      job.CommandModeWord = 0x1000;
      job.CommandModeValues = {R2.d0, R2.d1 * 0.01};
      return 0;
    case 0xEC00:
      // Work coordinates G54..G59; any other value names none and is ignored.
      if (R2.flags >= 0 && R2.flags <= 5) {
        job.PreviousWorkOffset = output.WorkOffsetIndex;
        output.WorkOffsetIndex = R2.flags;
      }
      return 0;
    case 0xFA00:
      // Drawing the referenced path belongs to the shell's display; the
      // run itself has nothing to write for it.
      return 0;
    case 0xFF00:
      if (engine.EndOfDataFlag == 1) {
        PutBlockChar('%');
        EndBlock();
        output.Block.Position = 0;
      }
      return kStopRun;
    default:
      return 0;
  }
}

void RunContext::AddDisplayMarker(std::uint32_t marker) {
  std::array<std::uint32_t, 8> words{};
  words[0] = marker;
  host.AddDisplayRecord(words);
}

}  // namespace qup
