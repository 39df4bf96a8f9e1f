// Holes machined as tool paths instead of drilled: a hole milled on a circle
// at its bottom (type 0x6800 with the path-milling flag), and a helical hole
// (type 0x6B00) that descends on a polygon of straight moves turn after turn
// and finishes with a full turn at the bottom. Every move leaves through the
// motion blocks, so it is written, drawn and timed like the engine's moves.
//
// The helical hole's fields: d0 the hole diameter, d1 the R level, d2 the
// descent per turn, d5 the bottom Z, d7 the feed (flags 0x9000). A milled
// hole carries its diameter in d8 (its items are points, so d8 holds no
// pitch), the other fields as a drilled hole.
#include <algorithm>
#include <cmath>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kErrorHoleRange = 5;
constexpr double kPi = 3.14159265358979323846;
// Straight moves per turn of a helical hole: 10 degrees each, a chord error
// of r (1 - cos 5 degrees), 0.019 mm on a 5 mm path radius.
constexpr int kHelixStepsPerTurn = 36;
// More turns than this is a descent per turn too small to be meant.
constexpr double kMaxHelixTurns = 10000.0;
// Below this path radius (mm) the tool fills the hole: it only plunges.
constexpr double kMinPathRadius = 0.001;

}  // namespace

int RunContext::EmitPathMove(int motion, double x, double y, double z, double arcRadius, double ci, double cj) {
  OutputState& o = output;
  o.PrevX = job.CurrentPoint[0];
  o.PrevY = job.CurrentPoint[1];
  o.PrevZ = job.CurrentPoint[2];
  SetOutputPoint({x, y, z});
  o.ArcRadius = arcRadius;
  o.CentreI = ci;
  o.CentreJ = cj;
  o.CentreK = 0.0;
  if (motion != 0) o.Feed = job.Hole.Feed;
  int status = 0;
  if (motion == 0) {
    o.MotionMode = 0;
    status = EmitMove(0);
  } else {
    status = EmitElementAt(0.0);
  }
  o.ArcRadius = 0.0;
  job.CurrentPoint = {x, y, z};
  return status == kStopRun || AbortFlag == kStopRun ? kStopRun : 0;
}

double RunContext::MillingToolRadius() const {
  // The hole command clears the run's tool radius (no offset applies to a
  // hole); the path about the hole centre needs the tool's own radius.
  return job.ToolFrame.d0 > 0.0 ? job.ToolFrame.d0 * 0.5 : 0.0;
}

int RunContext::MoveToHoleCentre(int mode, double x, double y, double level) {
  if (mode == 0) return 0;  // the first hole's approach is made already
  if (ExpandBlockTemplate(21) == kStopRun) return kStopRun;
  job.CurrentPoint = {x, y, level};
  SetOutputPoint(job.CurrentPoint);
  return EmitToolChange() == kStopRun ? kStopRun : 0;
}

int RunContext::EmitHoleByPath(int mode, double x, double y, double zOffset) {
  const HoleValues& h = job.Hole;
  job.HoleGroupState = kHoleGroupByMoves;
  const double level = h.StartZ + zOffset;
  const double rLevel = h.RLevel + zOffset;
  const double bottom = h.Bottom + zOffset;
  if (MoveToHoleCentre(mode, x, y, level) == kStopRun) return kStopRun;
  if (EmitPathMove(1, x, y, rLevel) == kStopRun || EmitPathMove(1, x, y, bottom) == kStopRun) return kStopRun;
  const double diameter = R2.d8 > 0.0 ? R2.d8 : h.Diameter;
  const double radius = diameter * 0.5 - MillingToolRadius();
  if (radius > kMinPathRadius) {
    // Out to the circle, round it in two half circles, back to the centre.
    if (EmitPathMove(1, x + radius, y, bottom) == kStopRun ||
        EmitPathMove(1, x - radius, y, bottom, radius, -radius, 0.0) == kStopRun ||
        EmitPathMove(1, x + radius, y, bottom, radius, radius, 0.0) == kStopRun ||
        EmitPathMove(1, x, y, bottom) == kStopRun) {
      return kStopRun;
    }
  }
  if (EmitPathMove(0, x, y, HoleReturnToR() ? rLevel : level) == kStopRun) return kStopRun;
  job.LastHole = {x, y, zOffset};
  DrawHolePath(x, y, rLevel, bottom);
  return 0;
}

void RunContext::LoadHelicalValues() {
  HoleValues& h = job.Hole;
  if (R2.d0 > 0.0) h.Diameter = R2.d0;
  h.RLevel = R2.d1;
  h.PeckDepth = R2.d2;  // the descent per turn
  h.Bottom = R2.d5;
  h.Feed = (R2.flags & 0x9000) ? R2.d7 * job.FeedOverride : 0.0;
  h.CycleCode = 1.0;
}

int RunContext::EmitHoleByPathB(int mode, double x, double y, double zOffset) {
  const HoleValues& h = job.Hole;
  job.HoleGroupState = kHoleGroupByMoves;
  const double level = h.StartZ + zOffset;
  const double rLevel = h.RLevel + zOffset;
  const double bottom = h.Bottom + zOffset;
  const double radius = h.Diameter * 0.5 - MillingToolRadius();
  if (MoveToHoleCentre(mode, x, y, level) == kStopRun) return kStopRun;
  if (EmitPathMove(1, x, y, rLevel) == kStopRun) return kStopRun;
  if (radius > kMinPathRadius) {
    if (EmitPathMove(1, x + radius, y, rLevel) == kStopRun) return kStopRun;
    const double depth = rLevel - bottom;
    if (h.PeckDepth > 0.0 && depth > 0.0) {
      if (depth / h.PeckDepth > kMaxHelixTurns) return StopWithError(kErrorHoleRange);
      const double drop = h.PeckDepth / kHelixStepsPerTurn;
      double z = rLevel;
      for (int step = 1; z > bottom; ++step) {
        z = std::max(rLevel - drop * step, bottom);  // the last step ends at the bottom
        const double a = 2.0 * kPi * step / kHelixStepsPerTurn;
        if (EmitPathMove(1, x + radius * std::cos(a), y + radius * std::sin(a), z) == kStopRun) return kStopRun;
        if ((step & 0x3F) == 0 && PollAbort() == kStopRun) return kStopRun;
      }
    } else {
      // No descent per turn: one plunge on the circle, then the bottom turn.
      if (EmitPathMove(1, job.CurrentPoint[0], job.CurrentPoint[1], bottom) == kStopRun) return kStopRun;
    }
    // A full turn at the bottom from where the descent ended.
    const double a0 = std::atan2(job.CurrentPoint[1] - y, job.CurrentPoint[0] - x);
    for (int step = 1; step <= kHelixStepsPerTurn; ++step) {
      const double a = a0 + 2.0 * kPi * step / kHelixStepsPerTurn;
      if (EmitPathMove(1, x + radius * std::cos(a), y + radius * std::sin(a), bottom) == kStopRun) return kStopRun;
    }
    if (EmitPathMove(1, x, y, bottom) == kStopRun) return kStopRun;
  } else if (EmitPathMove(1, x, y, bottom) == kStopRun) {
    return kStopRun;
  }
  if (EmitPathMove(0, x, y, HoleReturnToR() ? rLevel : level) == kStopRun) return kStopRun;
  job.LastHole = {x, y, zOffset};
  DrawHolePath(x, y, rLevel, bottom);
  return 0;
}

}  // namespace qup
