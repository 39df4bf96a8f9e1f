// Run pacing: the stop poll of the engine's inner loops, the yield of the
// block output (with the step pause and the slow mode), the busy wait, and
// the extents of the computed path. Draining the event queue runs the
// shell's handlers inside the run; the three words that painting changes are
// saved before and restored after every drain.
#include <algorithm>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

// The poll drains the queue on every 100th call; the yield on every third.
constexpr int kPollInterval = 100;
constexpr int kYieldInterval = 3;
// DcRefreshRequest values: 11 take the device context again; 99 counts as 11.
constexpr int kRefreshDc = 11;
constexpr int kRefreshDcDeferred = 99;
// StepKind of a computed move.
constexpr int kStepMotion = 3;
// MotionMode of a rapid move (1-3 are feeds: a line, the two arcs).
constexpr int kMotionRapid = 0;

}  // namespace

// The words the shell's painting changes during a drain.
struct RunContext::DrainGuard {
  explicit DrainGuard(RunContext& c)
      : ctx(c), tool(c.output.CurrentTool), moveFlag(c.engine.MoveFlag), moveWord(c.engine.MoveWord) {}
  ~DrainGuard() {
    ctx.output.CurrentTool = tool;
    ctx.engine.MoveFlag = moveFlag;
    ctx.engine.MoveWord = moveWord;
  }
  RunContext& ctx;
  int tool, moveFlag, moveWord;
};

void RunContext::DrainEvents() {
  DrainGuard guard(*this);
  host.PumpMessages();
}

void RunContext::DelayMs(unsigned ms) {
  // A busy wait on the tick: no events are handled while it waits.
  const std::uint64_t until = host.TickMs() + ms;
  while (ms != 0 && host.TickMs() < until) {
  }
  output.DcRefreshRequest = kRefreshDc;
}

void RunContext::RefreshViewDc() { host.RefreshViewDc(); }

int RunContext::YieldToUi() {
  if (output.DcRefreshRequest == kRefreshDcDeferred) output.DcRefreshRequest = kRefreshDc;
  {
    DrainGuard guard(*this);
    if (output.StepPause != 0) {
      // Pause mode: wait for a key or a mode change (or a forced end).
      while (output.StepPause != 0 && AbortFlag == 0) host.PumpMessages();
      output.DcRefreshRequest = kRefreshDc;
    } else {
      if (output.PumpCountdown == 0) {
        host.PumpMessages();
        output.PumpCountdown = kYieldInterval;
      }
      --output.PumpCountdown;
    }
    if ((output.RunExecutionMode & 0x1) != 0) {  // pause mode arms the next wait
      output.StepPause = 1;
      output.PumpCountdown = kYieldInterval;
    }
    if (output.DcRefreshRequest != 0) RefreshViewDc();
  }
  output.DcRefreshRequest = 0;
  return AbortFlag != 0 ? kStopRun : 0;
}

int RunContext::PollAbort() {
  if (output.PumpCountdown == 0) {
    {
      DrainGuard guard(*this);
      host.PumpMessages();
      if (output.DcRefreshRequest != 0) RefreshViewDc();
    }
    output.DcRefreshRequest = 0;
    if (AbortFlag != 0) {
      // A stop noticed here lets the run write its closing commands; the
      // countdown stays 0 so the next poll drains again.
      AbortFlag = kStopSeen;
      return kStopRun;
    }
    output.PumpCountdown = kPollInterval;
  }
  --output.PumpCountdown;
  return 0;
}

NcElement& RunContext::UpdatePathExtents(NcElement& out) {
  const double x = R2.d6, y = R2.d7, z = R3.d1;
  if (ElementIndex != 0 && output.StepKind == kStepMotion) {
    PathExtents& e = output.Extents;
    e.MinX = std::min(e.MinX, x);
    e.MinY = std::min(e.MinY, y);
    e.MinZ = std::min(e.MinZ, z);
    const int tool = output.ProcessToolIndex;
    const bool toolInRange = tool >= 0 && tool < PathExtents::kToolEntries;
    if (engine.EndOfDataFlag == 0 && toolInRange) {
      double& toolMin = e.ToolMinZ[static_cast<std::size_t>(tool)];
      toolMin = std::min(toolMin, z);
      double& toolMax = e.ToolMaxZ[static_cast<std::size_t>(tool)];
      if (engine.MoveFlag != 0) toolMax = std::max(toolMax, z);
      // The Z a tool starts cutting at: the top of its feed moves, as a hole
      // process reports its R level. Without it a contour's report shows
      // neither its start nor its depth.
      if (output.MotionMode != kMotionRapid) toolMax = std::max(toolMax, std::max(z, output.PrevZ));
    }
    e.MaxX = std::max(e.MaxX, x);
    e.MaxY = std::max(e.MaxY, y);
    e.MaxZ = std::max(e.MaxZ, z);
    if (engine.MoveFlag != 0) {
      e.MoveMaxZ = std::max(e.MoveMaxZ, z);
      e.MoveMinZ = std::min(e.MoveMinZ, z);
    }
  }
  out.d0 = x;
  out.d1 = y;
  out.d2 = z;
  out.d3 = registers.WorkAngle;
  out.d4 = engine.SecondAngle;
  out.d5 = registers.WorkLength;
  return out;
}

}  // namespace qup
