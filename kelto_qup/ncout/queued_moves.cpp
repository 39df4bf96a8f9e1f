// Queued moves and the contour command kinds: approach, escape and lead
// moves are not computed when their command is met; the interpreter queues
// them and they run when the contour's first element is approached
// (ProcessQueuedCommands) or, for escapes, at once. RunContourCommand runs
// the motion of the pending command kind: a contour element, a move worker,
// the cycle words or the helical approach.
//
// A move worker forms the displacement of its move from the current
// element's direction. While the block mark is set (the approach is being
// traced back to where it starts) the current point moves back by the
// displacement and nothing is written; otherwise the move is written from
// the current point.
#include <algorithm>
#include <cmath>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kDefaultPendingWord = 6;
constexpr int kFirstMoveMarker = 33419;
constexpr int kInContour = 1;
constexpr int kInLeadArc = 0x2000;
constexpr int kFeedGiven = 0x9000;
constexpr int kErrorBadMove = 5;  // as the helical holes refuse a helix they cannot make
constexpr int kErrorNotFinite = 62;
constexpr double kMinHelixStep = 0.02;  // degrees
constexpr double kMaxHelixStep = 8.0;
// Entries the approach has written are marked so that a later pass over the
// queue does not write them again; the contour set-up clears the mark.
constexpr int kQueuedDone = 0x0100;

// The step code a queued command runs with; 0 for commands that run none.
int StepCodeOf(int code) {
  switch (code) {
    case 0x6200:
    case 0x6300:
      return 12;
    case 0x7510:
    case 0x7520:
      return 8;
    case 0x7560:
    case 0x7570:
      return 10;
    case 0x7580:
    case 0x7581:
    case 0x7590:
    case 0x7591:
      return 16;
    case 0x75A0:
    case 0x75B0:
      return 18;
    case 0x75C0:
    case 0x75D0:
      return 20;
    case 0x75F0:
      return 22;
    default:
      return 0;
  }
}

}  // namespace

int RunContext::RunContourCommand() {
  OutputState& o = output;
  ElementIndex = o.PendingCommandWord;
  engine.contour.ContourStopWord = 0;
  const int kind = o.PendingCommandWord & 0x3E;
  const bool replay = o.ReplaySwitch != 0 && engine.call.ContourPassWord == 2;
  const bool moveKind = kind == 8 || kind == 10 || kind == 12 || kind == 16 || kind == 18 || kind == 20 || kind == 22;
  int result = 0;
  if (moveKind && replay) {
    result = 0;
  } else {
    switch (kind) {
      case 2:
        if (!replay) result = RunContourElement();
        break;
      case 4:
      case 6: {
        const int saved = o.InContourWord;
        o.InContourWord = kInContour;
        result = RunJoinedContour();
        o.InContourWord = saved;
        break;
      }
      case 8:
      case 10:
      case 12:
      case 20:
        result = RunStraightMoveWorker(kind);
        break;
      case 14:
        QueuedEntryStep();
        break;
      case 16:
        result = RunLeadArcWorker();
        break;
      case 18:
        result = PutCycleWords();
        break;
      case 22:
        result = RunHelixWorker();
        break;
      default:
        result = 0;
        break;
    }
  }
  if (AbortFlag != 0) result = kStopRun;
  ElementIndex = result;
  return result;
}

// ---- the contour element run (kind 2)

int RunContext::RunContourElement() {
  ContourWords& c = engine.contour;
  TraceStep(103, 2);
  R2.d4 = JoinFixedPoint(static_cast<std::uint32_t>(RangeStart), static_cast<std::uint32_t>(RangeEnd));
  R2.d5 = JoinFixedPoint(static_cast<std::uint32_t>(RangeStep), static_cast<std::uint32_t>(engine.RangeStepFraction));
  c.SectionCommand.code = R2.code;
  output.CommandStartPoint = job.CurrentPoint;
  output.CommandStartDirection = {R0.d2, R0.d3};
  ExpandBlockTemplate(21);
  if (AbortFlag != 0) return kStopRun;
  const int joined = cal303();
  if (joined == kStopRun || AbortFlag != 0) return kStopRun;
  if (joined == 0) return StopWithError(16);
  if (R1.code == 0x1001 || R1.flags == 0x11300) {
    const int next = AdvanceToNextElement();
    if (next == kStopRun || AbortFlag != 0) return kStopRun;
    if (next == 0) return StopWithError(9);
  }
  RotateTangents();
  if (ProcessQueuedCommands() == kStopRun) return kStopRun;
  ShiftElementRegisters();
  return AbortFlag != 0 ? kStopRun : 0;
}

// ---- the queue

int RunContext::ProcessQueuedCommands() {
  OutputState& o = output;
  // The queue runs only inside an approach: traced back (phase 1) to find
  // where the approach starts, then written (phase 2).
  if (o.ApproachPhase == 0) return 0;
  const int stepKindOnEntry = o.StepKind;
  const NcElement command = R2;
  const int savedMark = o.BlockMark;
  o.BlockMark = o.ApproachPhase == 1 ? 1 : 0;
  int status = 0;
  for (int i = 0; i < job.QueueCount && status != kStopRun; ++i) {
    const int index = job.CommandQueue[static_cast<std::size_t>(i)];
    if (!CheckedIndex(index)) {
      status = kStopRun;
      break;
    }
    const int step = StepCodeOf(elements[index].code);
    if (step == 0 || (elements[index].flags & kQueuedDone) != 0) continue;
    R2 = elements[index];
    o.PendingCommandWord = step;
    status = RunContourCommand();
    if (status != kStopRun && o.BlockMark == 0) elements[index].flags |= kQueuedDone;
  }
  o.BlockMark = savedMark;
  o.PendingCommandWord = kDefaultPendingWord;
  R2 = command;
  if (stepKindOnEntry == 0) job.QueueCount = 0;
  return status == kStopRun || AbortFlag != 0 ? kStopRun : 0;
}

void RunContext::QueuedEntryStep() {
  job.GroupFlag = 1;
  job.GroupFlags = R2.flags & 0x9000;
  if (job.GroupFlags == 0x9000) {
    job.GroupStartZ = R2.d7;
    AddMachiningTime(0);
  }
  const int kind = R2.code & 0xFF00;
  if ((kind == 0x7300 || kind == 0x7500 || kind == 0x6200) && (R2.flags & 0xF) != 0) job.LastPendingEntryCode = R2.code;
}

// ---- the move-kind entries (escapes run at once)

int RunContext::RunMoveKind7520() {
  output.BlockMark = 0;
  R2.d4 = -R2.d4;
  MarkFirstMove();
  return RunStraightMoveWorker(8);
}

int RunContext::RunMoveKind7570() {
  output.BlockMark = 0;
  return RunStraightMoveWorker(10);
}

int RunContext::RunMoveKind75B0() {
  output.BlockMark = 0;
  MarkFirstMove();
  return PutCycleWords();
}

int RunContext::RunMoveKind75D0() {
  output.BlockMark = 0;
  MarkFirstMove();
  return RunStraightMoveWorker(20);
}

int RunContext::RunRoutMove() {
  TraceStep(103, 16);
  output.BlockMark = 0;
  const int saved = output.InContourWord;
  output.InContourWord = kInLeadArc;
  const double d4 = R2.d4;
  R2.d4 = -R2.d4;
  MarkFirstMove();
  const int status = RunLeadArcWorker();
  R2.d4 = d4;
  output.InContourWord = saved;
  return status;
}

void RunContext::MarkFirstMove() {
  if ((output.PostPlaneFlags & 0x40) == 0) return;
  if (BlockOutputOn()) output.EngineStartWord = kFirstMoveMarker;
  job.ToolChangeWords = {1, 1};
}

// ---- the workers

// A move without a feed of its own runs at the contour's feed.
double RunContext::QueuedMoveFeed() const {
  return (R2.flags & kFeedGiven) == kFeedGiven && R2.d7 > 0.0 ? R2.d7 : ContourFeed();
}

int RunContext::RunStraightMoveWorker(int kind) {
  const double dx = R0.d2, dy = R0.d3;
  WorkVectorX() = dx;
  WorkVectorY() = dy;
  const double length = R2.d4;
  double mx = 0.0, my = 0.0, mz = 0.0;
  switch (kind) {
    case 8: {  // along the element's normal
      // A normal escape leaves the wall: it moves to the side of the
      // element the tool was cut on (the contour's offset side, left of
      // travel for a positive offset), whatever the sign it was given.
      const NcElement& contour = engine.contour.SectionCommand;
      const double offset = (contour.flags & 3) != 0 ? contour.d1 : 0.0;
      const double away = (R2.code == 0x7520 && offset != 0.0) ? (offset > 0.0 ? 1.0 : -1.0) * std::fabs(length) : length;
      mx = -dy * away;
      my = dx * away;
      break;
    }
    case 10:  // along its tangent
      mx = dx * length;
      my = dy * length;
      break;
    case 12:  // straight down onto the contour (0x6200) or up off it (0x6300)
      mz = (R2.code & 0xFF00) == 0x6200 ? -std::fabs(length) : std::fabs(length);
      break;
    default:  // along the command's own vector
      mx = R2.d2 * R2.d0 * length;
      my = R2.d2 * R2.d1 * length;
      mz = R2.d3 * length;
      break;
  }
  return FinishQueuedMove(mx, my, mz, 0.0, 0.0, 0.0);
}

int RunContext::FinishQueuedMove(double mx, double my, double mz, double radius, double ci, double cj) {
  OutputState& o = output;
  const std::array<double, 3> from = job.CurrentPoint;
  if (o.BlockMark != 0) {
    job.CurrentPoint = {from[0] - mx, from[1] - my, from[2] - mz};
    o.PendingCommandWord = kDefaultPendingWord;
    return 0;
  }
  for (double v : {mx, my, mz, radius, ci, cj}) {
    if (!std::isfinite(v)) return StopWithError(kErrorNotFinite);
  }
  AddPendingSequence();
  const int status = EmitPathMove(1, from[0] + mx, from[1] + my, from[2] + mz, QueuedMoveFeed(), radius, ci, cj);
  o.PendingCommandWord = kDefaultPendingWord;
  return status;
}

// The direction of travel where a lead arc meets the contour. Entering, R0
// is still the lead line into the contour when one was built; it runs along
// the contour's normal, and the travel is that normal turned a quarter
// counter-clockwise (for a line and for a circle either way round). Leaving
// an arc (R0 a circle about d6/d7, counter-clockwise for a positive radius),
// the travel is the arc's tangent at the point where the tool leaves; R0's
// own direction is the one the arc began with.
std::array<double, 2> RunContext::LeadArcTangent(bool leaving) const {
  const int leadIndex = job.JobElementCount + 1;
  if (!leaving && (R0.code & 0xFF00) == 0x1200 && leadIndex > 0 && leadIndex < elements.ElementCount) {
    const NcElement& lead = elements[leadIndex];
    const bool isLead =
        (lead.code & 0xFF00) == 0x1200 && std::fabs(lead.d2 - R0.d2) < 1e-9 && std::fabs(lead.d3 - R0.d3) < 1e-9;
    if (isLead) return {-R0.d3, R0.d2};
  }
  const std::array<double, 3>& at = job.CurrentPoint;
  const double ux = at[0] - R0.d6, uy = at[1] - R0.d7, length = std::hypot(ux, uy);
  if (leaving && R0.d1 != 0.0 && length > 1e-9) {
    const double sense = R0.d1 > 0.0 ? 1.0 : -1.0;
    return {-sense * uy / length, sense * ux / length};
  }
  return {R0.d2, R0.d3};
}

int RunContext::RunLeadArcWorker() {
  // A quarter arc of radius |d4| tangent to the contour where it is entered
  // ("RIN", ending at the current point) or left ("ROUT", starting there),
  // on the side that d4's sign names: positive is the left of the direction
  // of travel, the side the writer puts the tool offset on (a reversed
  // contour negates both), so that the arc runs in the free room beside the
  // cut and never into the wall.
  const bool leaving = (R2.code & 0xF0) == 0x90;
  const auto [dx, dy] = LeadArcTangent(leaving);
  // RunRoutMove hands the distance over negated, as the escapes take it.
  const double d4 = leaving && output.InContourWord == kInLeadArc ? -R2.d4 : R2.d4;
  const double r = std::fabs(d4);
  if (r == 0.0) return FinishQueuedMove(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  const double side = d4 > 0.0 ? 1.0 : -1.0;
  const double nx = -side * dy, ny = side * dx;  // unit normal towards the arc's centre
  // A centre on the left of travel turns counter-clockwise (positive radius).
  const double signedRadius = side * r;
  if (!leaving) {
    // Entering at P: the centre C = P + r n, the start S = C - r t; the
    // move is P - S = r (t - n) and the centre lies r t from the start.
    return FinishQueuedMove(r * (dx - nx), r * (dy - ny), 0.0, signedRadius, r * dx, r * dy);
  }
  // Leaving from E: C = E + r n, the end C + r t; the move is r (n + t)
  // and the centre lies r n from the start.
  return FinishQueuedMove(r * (nx + dx), r * (ny + dy), 0.0, signedRadius, r * nx, r * ny);
}

int RunContext::PutCycleWords() {
  // 0x75A0 comes to the contour from its point (d4, d5), 0x75B0 leaves it
  // for that point. In a quoted program with the cycle switch on, the move
  // is written as a cycle block: scaling on ("G51"), the move with "G75".
  OutputState& o = output;
  const bool approach = (R2.code & 0xF0) == 0xA0;
  const double px = R2.d4, py = R2.d5;
  const std::array<double, 3> at = job.CurrentPoint;
  double mx = approach ? at[0] - px : px - at[0];
  double my = approach ? at[1] - py : py - at[1];
  // An approach is traced back from the contour's start: that pass knows
  // the move, the writing pass (which starts at the point) takes it over.
  if (approach && o.BlockMark != 0) {
    o.Cycle.Move = {mx, my};
  } else if (approach) {
    mx = o.Cycle.Move[0];
    my = o.Cycle.Move[1];
  }
  o.Cycle.Distance = std::hypot(mx, my);
  o.Cycle.Point = {px, py};
  o.Cycle.Letter = 'P';
  o.Cycle.BlockCode = 75;
  if (o.BlockMark == 0 && BlockOutputOn() && o.QuotedBlockMode != 0 && o.CycleSwitch != 0) {
    if (o.ScalingValue == 0.0) o.ScalingValue = 1.0;
    PutBlockText("G51");
    PutWordValue('P', o.ScalingValue);
    if (EndBlock() == kStopRun) return kStopRun;
    PutBlockText("G75");
  }
  return FinishQueuedMove(mx, my, 0.0, 0.0, 0.0, 0.0);
}

int RunContext::RunHelixWorker() {
  // The helical approach: the tool comes down round a circle of radius
  // d1 / 2 that passes through the point where the contour is entered, one
  // turn descending evenly by d3, in straight steps whose chord error is the
  // process tolerance (the 0x6500 value).
  const double r = R2.d1 * 0.5;
  const double t = job.Value6500;
  if (!(r > 0.0) || !(t > 0.0) || !std::isfinite(r) || !std::isfinite(t)) return StopWithError(kErrorBadMove);
  const double descent = std::max(R2.d3, 0.0);
  if (output.BlockMark != 0) {
    job.CurrentPoint[2] += descent;
    output.PendingCommandWord = kDefaultPendingWord;
    return 0;
  }
  double step = std::sqrt(2.0 * t / r) * core.DegreesPerRadian;
  step = std::clamp(step, kMinHelixStep, kMaxHelixStep);
  const int steps = static_cast<int>(std::ceil(360.0 / step - 1e-9));
  const std::array<double, 3> start = job.CurrentPoint;
  const double cx = start[0] - r, cy = start[1];
  const double feed = QueuedMoveFeed();
  AddPendingSequence();
  for (int k = 1; k <= steps; ++k) {
    const double a = 2.0 * 3.14159265358979323846 * k / steps;
    const double x = k == steps ? start[0] : cx + r * std::cos(a);
    const double y = k == steps ? start[1] : cy + r * std::sin(a);
    const double z = start[2] - descent * k / steps;
    if (EmitPathMove(1, x, y, z, feed) == kStopRun) return kStopRun;
    if ((k & 0x3F) == 0 && PollAbort() == kStopRun) return kStopRun;
  }
  output.PendingCommandWord = kDefaultPendingWord;
  return 0;
}

}  // namespace qup
