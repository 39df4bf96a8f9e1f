#include "tests/kelto_qup/support/contour_driver.h"

namespace testsupport {

namespace {

using handover::NcElement;
using qup::kStopRun;

constexpr int kCutIn = 0x7300;
constexpr int kContour = 0x7100;
constexpr int kFirstCommandCode = 0x3800;
constexpr int kPointGiven = 0x60;
constexpr int kValue5Present = 0x100;
// The CAM data writer marks a contour command's tool offset in d1 with
// flags 3: the driver reads the mark as the writer writes it.
constexpr int kOffsetGiven = 3;
constexpr int kFeedGiven = 0x9000;
constexpr int kWalkMode = 4;
constexpr int kElementRunKind = 6;  // the pending command word: run the element

// The next element of the range into R1, offset as the walk offsets it,
// after the current one went to R0; false at the end of the range.
bool AdvanceElement(qup::RunContext& run) {
  run.SwapR0R1();
  for (;;) {
    if (run.RangeStart == run.RangeEnd) return false;
    run.RangeStart += run.RangeStep;
    if (!run.CheckedLoad(run.R1, run.RangeStart)) return false;
    const int kind = run.R1.code & 0xFF00;
    if (kind == 0x1100 || run.R1.code > 0x1FFF) continue;
    const int fetched = run.FetchNextElement(0);
    if (fetched == kStopRun || run.AbortFlag != 0) return false;
    if (fetched == 1) break;
  }
  run.R1.d4 = run.R1.d6;
  run.R1.d5 = run.R1.d7;
  return true;
}

// The cut-in of the contour command at `index`: the nearest 0x7300 before it.
const NcElement* CutInBefore(const qup::RunContext& run, int index) {
  for (int i = index - 1; i > 0; --i) {
    if ((run.elements[i].code & 0xFF00) == kCutIn) return &run.elements[i];
  }
  return nullptr;
}

int RunElement(qup::RunContext& run) {
  run.output.PendingCommandWord = kElementRunKind;
  const int result = run.RunContourCommand();
  return run.AbortFlag != 0 ? kStopRun : result;
}

// The lead line out of the contour through the cut-in's tool-offset point,
// then the move along it to that point.
int LeaveContour(qup::RunContext& run, const NcElement& contour, const NcElement& cutIn) {
  run.R2 = cutIn;
  const int built = run.Set_TO(1);
  run.R2 = contour;
  if (run.AbortFlag != 0) return kStopRun;
  if (built != 1) return 0;
  run.R1.d4 = run.R1.d6;
  run.R1.d5 = run.R1.d7;
  const double toX = run.R1.d6, toY = run.R1.d7;
  // The lead line is not part of the contour: no corner is built onto it.
  run.core.TransformMode = 2;
  if (RunElement(run) == kStopRun) return kStopRun;
  run.SwapR0R1();
  run.R1 = NcElement{};
  run.R1.code = 0x1100;
  run.R1.d4 = run.R1.d6 = toX;
  run.R1.d5 = run.R1.d7 = toY;
  return RunElement(run) == kStopRun ? kStopRun : 0;
}

// The last element of the walk (in R0) run to its own end, as the lead
// out runs it to the lead line.
int EndAtLastElement(qup::RunContext& run) {
  // The walk keeps the element's start in d4/d5: its offset end comes from
  // the table entry fetched again.
  if (!run.CheckedLoad(run.R1, run.RangeStart)) return kStopRun;
  if (run.FetchNextElement(0) != 1 || run.AbortFlag != 0) return kStopRun;
  const double x = run.R1.d4, y = run.R1.d5;
  run.R1 = NcElement{};
  run.R1.code = 0x1100;
  run.R1.d4 = run.R1.d6 = x;
  run.R1.d5 = run.R1.d7 = y;
  return RunElement(run) == kStopRun ? kStopRun : 0;
}

// Stands in for the plain contour loop: the offset of the command, the
// range walked forwards, each element run, the lead out.
int WalkContour(qup::RunContext& run) {
  const NcElement contour = run.R2;
  const int commandIndex = run.CommandIndex();
  run.job.KeptContourD7 = run.R2.d7;
  run.UnpackCommandValue(1);
  run.UnpackCommandValue(5);
  run.QueueCommandIndex();
  run.core.OffsetMode = 0;
  run.core.StoredOffset = 0.0;
  if ((contour.flags & kOffsetGiven) != 0 && contour.d1 != 0.0) {
    run.core.StoredOffset = contour.d1;
    run.core.OffsetMode = 1;
  }
  run.RangeOptions = (contour.flags >> 15) & 0xA;
  run.core.FlagWord = run.RangeOptions;
  run.engine.contour.SnapshotCommandCode = contour.code;
  // The running contour command: its depth is the height of the
  // per-element motion, its feed the contour's feed.
  run.engine.contour.SectionCommand = contour;
  if (contour.d5 == 0.0) run.engine.contour.SectionCommand.d5 = run.engine.contour.CarriedValue5;
  run.engine.stepping.SectionCommand = run.engine.contour.SectionCommand;
  // Its first element starts the contour (an approach or a linking move).
  run.engine.contour.StartWord = 0;
  run.RangeStep = 1;
  if (!run.CheckedLoad(run.R1, run.RangeStart)) return kStopRun;
  if (run.FetchNextElement(0) != 1 || run.AbortFlag != 0) return kStopRun;
  run.R1.d4 = run.R1.d6;
  run.R1.d5 = run.R1.d7;

  if (RunElement(run) == kStopRun) return kStopRun;
  run.core.TransformMode = kWalkMode;
  while (AdvanceElement(run)) {
    const int result = RunElement(run);
    if (result == kStopRun) return kStopRun;
    if (result != 0) break;
  }
  if (run.AbortFlag != 0) return kStopRun;
  // A further pass of the same cut-in follows on from where this one ends:
  // the last element is cut to its end.
  if (commandIndex + 1 < run.elements.ElementCount && run.elements[commandIndex + 1].code == kContour) {
    return EndAtLastElement(run);
  }
  const NcElement* cutIn = CutInBefore(run, commandIndex);
  return cutIn != nullptr ? LeaveContour(run, contour, *cutIn) : 0;
}

// The interpreter's walk over the whole stream (one level, no calls), the
// plain contour commands handed to the driver.
int RunStream(qup::RunContext& run) {
  run.job.CallDepth = 1;
  qup::RangeFrame& frame = run.job.CallStack[1];
  frame.Current = 0;
  frame.End = static_cast<std::uint32_t>(run.elements.ElementCount - 1);
  for (; frame.Current <= frame.End; ++frame.Current) {
    if (run.AbortFlag != 0) return kStopRun;
    const int index = static_cast<int>(frame.Current);
    const NcElement& element = run.elements[index];
    if (element.code < kFirstCommandCode) continue;
    run.registers.RegisterStackDepth = 0;
    run.R2 = element;
    run.ElementIndex = index;
    run.job.PreviousCommandNumber = run.job.CurrentCommandNumber;
    run.job.CurrentCommandNumber = run.R2.number;
    int status = 0;
    if (element.code == kContour) {
      run.UnpackCommandValue(4);
      status = WalkContour(run);
    } else {
      status = run.RunElementCommand();
    }
    // The end of the stream ends the walk as a stop would; the run's result is AbortFlag.
    if (status == kStopRun || run.AbortFlag != 0) return kStopRun;
    if (run.job.CallDepth == 0) return 0;
  }
  return 0;
}

}  // namespace

void AddContour(HandoverBuilder& job, int number, const ContourOptions& options) {
  NcElement& cutIn = job.Add(number, kCutIn);
  cutIn.flags = kPointGiven | kValue5Present;
  cutIn.d2 = options.toX;
  cutIn.d3 = options.toY;
  cutIn.d5 = options.z;
  if (options.down != 0.0) {
    NcElement& down = job.Add(number, 0x6200);
    down.d4 = options.down;
  }
  NcElement& contour = job.Add(number, kContour);
  contour.flags = kFeedGiven;
  if (options.offset != 0.0) contour.flags |= kOffsetGiven;
  contour.d1 = options.offset;
  contour.d4 = RangeRef(options.figureNumber, options.figureNumber);
  contour.d5 = options.z;
  contour.d7 = options.feed;
  if (options.overrunCommand) {
    NcElement& overrun = job.Add(number, 0x7400);
    overrun.flags = kPointGiven;
    overrun.d2 = options.toX;
    overrun.d3 = options.toY;
  }
  if (options.up != 0.0) {
    NcElement& up = job.Add(number, 0x6300);
    up.d4 = options.up;
  }
}

int RunContourJob(qup::RunContext& run) {
  if (run.job.LoadFailed != 0) return kStopRun;
  run.AbortFlag = 0;
  if (run.ReadJobFiles() == kStopRun) return kStopRun;
  if (!run.BuildNcPath()) return run.StopWithError(qup::kErrorFileOpen);
  if (run.OpenJobNcFile() != 0) return run.StopWithError(qup::kErrorFileOpen);
  run.output.StepKind = 0;
  run.EmitElement();
  run.output.RunExecutionMode = run.job.Header.executionMode;
  run.job.ProcessCounter = 0;
  run.registers.RegisterStackDepth = 0;
  RunStream(run);
  const int status = run.AbortFlag != 0 ? kStopRun : 0;
  run.FinishNcCreation();
  return status;
}

}  // namespace testsupport
