// The return to the start point of a process: after a pass the tool goes
// back to the level it started from before the next approach. Going up (or
// staying) is done here as one Z move, after the return template that a
// finished hole group left pending. Going down is never done here: the next
// approach moves down in its own order; the step only decides whether the
// subprogram head and set-up template of step kind 2 are written again.
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kChannelNc = 0;
constexpr int kStepReturnTemplate3 = 6;

// Target levels (mm) at which a downward restore still writes the head: a
// level between -9990 and -1999 is one of the marker levels of a called
// group, a level from -999 up an ordinary start level.
constexpr double kMarkerLevelLow = -9990.0;
constexpr double kMarkerLevelHigh = -1999.0;
constexpr double kOrdinaryLevel = -999.0;

}  // namespace

int RunContext::ApplyZStep(double step) {
  OutputState& o = output;
  // A Z move is a straight one: the current rapid or feed mode, a rapid after an arc.
  if (o.MotionMode != 0 && o.MotionMode != 1) o.MotionMode = 0;
  o.TargetX = o.PrevX;
  o.TargetY = o.PrevY;
  o.TargetZ = o.PrevZ + step;
  o.ArcRadius = 0.0;
  return EmitMove(0);
}

int RunContext::RestoreStartPoint() {
  OutputState& o = output;
  job.CurrentPoint = job.SavedStartPoint;
  const double targetZ = job.SavedStartPoint[2];
  const double step = RoundTo3Decimals(targetZ - o.PrevZ);
  if (step >= 0.0) {
    if (job.PendingReturns != 0 && o.SubprogramMode == 0) {
      // The pending return template goes to the NC output whatever the channel.
      const int channel = o.OutputSuppress;
      const int kind = o.StepKind;
      o.OutputSuppress = kChannelNc;
      o.StepKind = kStepReturnTemplate3;
      const int status = EmitOnChannel(kChannelNc);
      o.OutputSuppress = channel;
      o.StepKind = kind;
      if (status == kStopRun) return kStopRun;
      job.PendingReturns = 0;
      o.LastMotionMode = 0xFFFF;  // the template may have changed the modal code
    }
    if (step > 0.0 && ApplyZStep(step) == kStopRun) return kStopRun;
  } else if ((targetZ > kMarkerLevelLow && targetZ < kMarkerLevelHigh) || o.SubprogramMode != 0) {
    o.SkipSubprogramHead = 0;
  } else if (o.DownwardRestoreSeen == 0) {
    o.DownwardRestoreSeen = 1;
    o.SkipSubprogramHead = 0;
  } else {
    o.SkipSubprogramHead = targetZ >= kOrdinaryLevel ? 0 : 1;
  }
  // The start point is the target of the next approach.
  SetOutputPoint(job.SavedStartPoint);
  return 0;
}

}  // namespace qup
