// Hole machining output: one hole command (0x6800 drilling, 0x6B00 helical,
// 0x6C00 deep hole) names a range of points, or of lines and arcs along which
// holes are spaced at a pitch. Phases: the hole values are taken from the
// command and the process; the positions are collected; the first hole gets
// the approach, the set-up and its cycle block; each further hole a short
// position block; the group ends with "G80" (not after explicit moves).
// 0xCC00 writes the points of the last hole group as a subprogram file.
//
// The hole command's fields as the CAM data writes them (the whole layout is
// described with NcElement in shared/handover/nc_element.h): d0 repeat count
// K, d1 the R level, d2 peck depth Q (flags bit 0x1), d3 dwell P (flags bit
// 0x2), d4 the range of hole items, d5 the hole bottom Z, d6 the canned-cycle
// code (81, 83, 84 ...; 0 or 1: explicit moves), d7 the feed (flags 0x9000).
// No pitch is sent: holes along lines and arcs are spaced at half the tool
// diameter. The tool values (diameter, tip, M code, tapping return) come
// from the process's tool map record.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "shared/handover/display_record.h"

namespace qup {

namespace {

constexpr int kErrorHoleRange = 5;
constexpr double kPi = 3.14159265358979323846;
// A zero word that must still be written prints as the zero of its letter.
constexpr double kZeroPlaceholder = 0.00001;
// A milling value smaller than this is written as the smallest one (mm).
constexpr double kMinMillValue = 0.001;
constexpr double kMinMillPlaceholder = 0.000099;
// Holes closer than this (mm) are the same hole.
constexpr double kSameHole = 0.001;
// The back-off after each peck of a deep hole (mm): the writer sends no
// retract amount, so the default of the (0, 100] range holds.
constexpr double kDeepHoleRetract = 1.0;
// More pecks than this in one deep hole is a high-speed cut too small (or a
// hole too deep) to be meant: the run stops rather than write a program of
// millions of blocks.
constexpr int kMaxDeepHolePecks = 10000;
// More holes than this along one chain is a chain far longer than its pitch
// is meant for (a damaged length): the run stops instead of collecting them.
constexpr double kMaxChainHoles = 100000.0;

double NonZero(double v) { return v == 0.0 ? kZeroPlaceholder : v; }

bool IsPoint(const NcElement& e) { return (e.code & 0xFF00) == 0x1100; }
bool IsPathElement(const NcElement& e) {
  const int kind = e.code & 0xFF00;
  return kind == 0x1200 || kind == 0x1300;
}

// Start point of a line or arc of the stream; an arc written without its
// start (0, 0) starts where the previous element ended.
void StartOf(const NcElement& e, double prevX, double prevY, double& x, double& y) {
  if ((e.code & 0xFF00) == 0x1200) {
    x = e.d6;
    y = e.d7;
  } else if (e.d2 == 0.0 && e.d3 == 0.0) {
    x = prevX;
    y = prevY;
  } else {
    x = e.d2;
    y = e.d3;
  }
}

// Sweep of an arc in radians, in (0, 2 pi]: counter-clockwise for a
// positive radius. A start equal to the end is a full circle.
double ArcSweep(const NcElement& arc, double sx, double sy) {
  const double a0 = std::atan2(sy - arc.d7, sx - arc.d6);
  const double a1 = std::atan2(arc.d5 - arc.d7, arc.d4 - arc.d6);
  double sweep = arc.d1 >= 0.0 ? a1 - a0 : a0 - a1;
  while (sweep <= 1e-12) sweep += 2.0 * kPi;
  while (sweep > 2.0 * kPi + 1e-12) sweep -= 2.0 * kPi;
  return sweep;
}

}  // namespace

void RunContext::LoadHoleValues() {
  HoleValues& h = job.Hole;
  h = HoleValues{};
  h.CycleCode = (R2.d6 > 1.0 && R2.d6 < 100.0) ? std::floor(R2.d6) : 1.0;
  h.RepeatCount = R2.d0 > 0.0 ? std::floor(R2.d0) : 0.0;
  h.RLevel = R2.d1;
  h.PeckDepth = (R2.flags & 0x1) ? R2.d2 : 0.0;
  h.Dwell = (R2.flags & 0x2) ? R2.d3 : 0.0;
  h.Bottom = R2.d5;
  h.Feed = (R2.flags & 0x9000) ? R2.d7 * job.FeedOverride : 0.0;
  // The holes start from the definition's own start level (the I point
  // that the cut-in carries); only when that is 0 from the process start.
  h.StartZ = job.CutInValue != 0.0 ? job.CutInValue : job.SavedStartPoint[2];
  h.Spindle = output.SpindleSpeed;
  h.MCode = job.Flag10Value;
  if (const handover::ToolMapRecord* tool = ProcessToolRecord()) {
    h.Diameter = tool->diameter;
    h.TipLength = tool->tipLength;
    h.MillValue = tool->cornerRadius;
    h.Cycle84Return = tool->tapTwice == 1 ? 1 : 0;
  }
  if (h.TipLength <= 0.0 && h.MillValue < kMinMillValue) h.MillValue = kMinMillPlaceholder;
  if ((R2.code & 0xFF00) == 0x6C00) LoadDeepHoleValues();
}

void RunContext::LoadDeepHoleValues() {
  HoleValues& h = job.Hole;
  // The deep hole is always made by moves: its d6 is the high-speed spindle
  // speed, not a cycle code.
  h.CycleCode = 1.0;
  // The top cut (d2) at the first speed and feed, then pecks of the
  // high-speed cut (d3) at the high speed and feed, each backing off the
  // retract amount; the writer sends none, so the 1 mm default holds.
  h.FirstDepth = h.RLevel - ((R2.flags & 0x1) ? std::fabs(R2.d2) : 0.0);
  h.PeckStep = (R2.flags & 0x2) ? std::fabs(R2.d3) : 0.0;
  h.Retract = kDeepHoleRetract;
  h.Spindle2 = R2.d6 > 0.0 ? R2.d6 : 0.0;
  const handover::ToolMapRecord* tool = ProcessToolRecord();
  h.Feed2 = tool != nullptr && tool->mCode > 0 ? tool->mCode * job.FeedOverride : h.Feed;
  h.PeckDepth = 0.0;
  h.Dwell = 0.0;
}

bool RunContext::HoleReturnToR() const { return (job.CutInFlags & 0x0800) != 0; }

int RunContext::CollectHolePositions(int start, int last, std::vector<HolePoint>& holes) {
  // Pitch of holes along lines and arcs (mm): the writer sends none, so it
  // is raised to half the diameter (the rule for any pitch below a quarter
  // of the diameter, so that holes never overlap). Without a diameter the
  // holes go to the element ends.
  double pitch = 0.0;
  if (job.Hole.Diameter * 0.5 > 2.0 * pitch) pitch = job.Hole.Diameter * 0.5;
  double prevX = 0.0, prevY = 0.0;
  for (int i = start; i <= last; ++i) {
    const NcElement& e = elements[i];
    if (IsPoint(e)) {
      holes.push_back({e.d4, e.d5, e.d8});
      prevX = e.d4;
      prevY = e.d5;
      continue;
    }
    if (!IsPathElement(e)) continue;
    // The rest of the range is a chain of lines and arcs.
    double chainStartX = 0.0, chainStartY = 0.0;
    StartOf(e, prevX, prevY, chainStartX, chainStartY);
    const std::size_t firstOfChain = holes.size();
    double carried = 0.0;  // length already walked past the last hole
    bool first = true;
    for (int k = i; k <= last; ++k) {
      const NcElement& p = elements[k];
      if (!IsPathElement(p)) continue;
      double sx = 0.0, sy = 0.0;
      StartOf(p, prevX, prevY, sx, sy);
      const bool line = (p.code & 0xFF00) == 0x1200;
      const double sweep = line ? 0.0 : ArcSweep(p, sx, sy);
      const double radius = std::fabs(p.d1);
      const double length = line ? std::hypot(p.d4 - sx, p.d5 - sy) : radius * sweep;
      auto pointAt = [&](double s, double& x, double& y) {
        if (line) {
          const double t = length > 0.0 ? s / length : 0.0;
          x = sx + (p.d4 - sx) * t;
          y = sy + (p.d5 - sy) * t;
        } else {
          const double a0 = std::atan2(sy - p.d7, sx - p.d6);
          const double a = a0 + (p.d1 >= 0.0 ? 1.0 : -1.0) * (s / radius);
          x = p.d6 + radius * std::cos(a);
          y = p.d7 + radius * std::sin(a);
        }
      };
      if (!(pitch > 0.0) || !std::isfinite(pitch)) {
        // No pitch: a single pass that puts a hole at each element's ends.
        if (first) holes.push_back({sx, sy, 0.0});
        holes.push_back({p.d4, p.d5, 0.0});
      } else {
        double s = first ? 0.0 : pitch - carried;
        if ((length - s) / pitch + static_cast<double>(holes.size()) > kMaxChainHoles) {
          return StopWithError(kErrorHoleRange);
        }
        for (; s <= length + 1e-9; s += pitch) {
          double x = 0.0, y = 0.0;
          pointAt(std::min(s, length), x, y);
          holes.push_back({x, y, 0.0});
          if ((holes.size() & 0x3FF) == 0 && PollAbort() == kStopRun) return kStopRun;
        }
        carried = length - (s - pitch);
      }
      first = false;
      prevX = p.d4;
      prevY = p.d5;
    }
    // A closed chain ends where it began: that hole is already made.
    if (holes.size() > firstOfChain + 1) {
      const HolePoint& a = holes[firstOfChain];
      const HolePoint& b = holes.back();
      if (std::fabs(a.x - b.x) < kSameHole && std::fabs(a.y - b.y) < kSameHole) holes.pop_back();
    }
    break;
  }
  return 0;
}

int RunContext::EmitHoleCycles() {
  int start = RangeStart;
  int last = RangeEnd;
  if (start == 0 || last < start || last >= elements.ElementCount) return StopWithError(kErrorHoleRange);
  // The range's last element closes the item: unless it is a hole point it
  // gets no holes.
  if (!IsPoint(elements[last])) --last;
  job.LastHoleRangeStart = start;
  job.LastHoleRangeEnd = last;
  job.HoleCommandIndex = CommandIndex();
  LoadHoleValues();
  const int type = R2.code & 0xFF00;
  const bool helical = type == 0x6B00;
  const bool milled = type == 0x6800 && (R2.flags & 0x0008) != 0;
  if (helical) LoadHelicalValues();

  std::vector<HolePoint> holes;
  if (CollectHolePositions(start, last, holes) == kStopRun) return kStopRun;
  if (holes.empty()) return 0;

  if (job.ProcessNBlockPending != 0 && BlockOutputOn()) {
    OpenBlock();
    PutBlockChar('N');
    PutPaddedInteger(output.ProcessToolIndex, 4);
    EndBlock();
    job.ProcessNBlockPending = 0;
  }
  if (job.SpindleStartPending != 0 && BlockOutputOn()) {
    WriteSpindleBlock(job.Hole.Spindle);
    WriteSimpleBlock("M03");
    job.SpindleStartPending = 0;
  }
  job.HoleGroupState = 1;
  job.HoleCount = 0;
  for (std::size_t n = 0; n < holes.size(); ++n) {
    if (AbortFlag != 0) return kStopRun;
    if (PollAbort() == kStopRun) return LeaveHoleGroupOnStop(n > 0);
    const HolePoint& hole = holes[n];
    const double x = RoundTo3Decimals(hole.x);
    const double y = RoundTo3Decimals(hole.y);
    const double level = RoundTo3Decimals(job.Hole.StartZ + hole.zOffset);
    int status = 0;
    if (n == 0) {
      status = ApproachFirstHole(x, y, level);
      if (status == kStopRun) return LeaveHoleGroupOnStop(false);
      if (helical) {
        status = EmitHoleByPathB(0, x, y, hole.zOffset);
      } else if (milled) {
        status = EmitHoleByPath(0, x, y, hole.zOffset);
      } else {
        status =
            type == 0x6C00 ? EmitHolePeckByMoves(0, x, y, hole.zOffset) : EmitHoleFirstCycle(0, x, y, hole.zOffset);
      }
    } else if (helical) {
      status = EmitHoleByPathB(1, x, y, hole.zOffset);
    } else if (milled) {
      status = EmitHoleByPath(2, x, y, hole.zOffset);
    } else if (type == 0x6C00) {
      status = EmitHolePeckByMoves(2, x, y, hole.zOffset);
    } else if (hole.zOffset != job.LastHole[2]) {
      status = EmitHoleFirstCycle(1, x, y, hole.zOffset);
    } else {
      status = EmitHoleNextPosition(x, y, hole.zOffset);
    }
    if (status == kStopRun) return LeaveHoleGroupOnStop(false);
  }

  if (job.HoleGroupState != kHoleGroupByMoves && output.TemplateOnly == 0 && BlockOutputOn()) {
    WriteSimpleBlock("G80");
  }
  // The motion blocks that follow write their motion code again.
  output.LastMotionMode = 0xFFFF;
  const double endZ = (HoleReturnToR() ? job.Hole.RLevel : job.Hole.StartZ) + job.LastHole[2];
  job.CurrentPoint = {job.LastHole[0], job.LastHole[1], endZ};
  SetOutputPoint(job.CurrentPoint);
  output.PrevX = job.LastHole[0];
  output.PrevY = job.LastHole[1];
  output.PrevZ = endZ;
  job.HoleGroupState = kHoleGroupOpenNone;
  return AbortFlag == kStopRun ? kStopRun : 0;
}

int RunContext::LeaveHoleGroupOnStop(bool cycleOpen) {
  // An error stop writes nothing more; a stop by the user still ends the
  // program with its closing commands, which start from where the tool is.
  if (AbortFlag != kStopSeen) return kStopRun;
  // The blocks below are part of the run (a write under a noticed stop
  // would count as a failure); the stop stays noticed afterwards.
  AbortFlag = 0;
  const double level = (HoleReturnToR() ? job.Hole.RLevel : job.Hole.StartZ) + job.LastHole[2];
  if (BlockOutputOn() && output.TemplateOnly == 0) {
    if (cycleOpen && job.HoleGroupState != kHoleGroupByMoves) WriteSimpleBlock("G80");
    // Out of the hole first: straight up to the group's return level from
    // where the tool stands (mid-peck it is still in the hole).
    output.PrevX = job.CurrentPoint[0];
    output.PrevY = job.CurrentPoint[1];
    output.PrevZ = job.CurrentPoint[2];
    output.LastMotionMode = 0xFFFF;
    if (job.CurrentPoint[2] < level) {
      if (output.CompensationState & 0x1) output.CompensationCode = 1;
      output.ArcRadius = 0.0;
      output.MotionMode = 0;
      SetOutputPoint({job.CurrentPoint[0], job.CurrentPoint[1], level});
      EmitMove(0);
      job.CurrentPoint[2] = level;
    }
  }
  SetOutputPoint(job.CurrentPoint);
  output.PrevX = job.CurrentPoint[0];
  output.PrevY = job.CurrentPoint[1];
  output.PrevZ = job.CurrentPoint[2];
  output.LastMotionMode = 0xFFFF;
  // The group counts as ended: the process end writes its return template.
  job.HoleGroupState = kHoleGroupOpenNone;
  if (AbortFlag == 0) AbortFlag = kStopSeen;
  return kStopRun;
}

int RunContext::ApproachFirstHole(double x, double y, double level) {
  job.CurrentPoint = {x, y, level};
  SetOutputPoint(job.CurrentPoint);
  if (ExpandBlockTemplate(21) == kStopRun) return kStopRun;
  if (EmitToolChange() == kStopRun) return kStopRun;
  output.StepKind = 2;
  return EmitElement();
}

void RunContext::PutHoleFeed(double feed) {
  if (feed <= 0.0) return;
  PutBlockChar('F');
  if (output.PostSwitchD != 0) {
    PutValueThreeDecimals(feed);
  } else {
    PutValueOneDecimal(feed);
  }
}

int RunContext::EmitHoleComment() {
  // Diameter and tip (or milling value) as a comment, always with decimal points.
  const int keep = output.WordFormat;
  output.WordFormat |= 0x2000;
  OpenBlock();
  PutBlockText("(PAI");
  PutWordValue('=', job.Hole.Diameter);
  if (job.Hole.TipLength > 0.0) {
    PutBlockText(" TIP");
    PutWordValue('=', job.Hole.TipLength);
  } else {
    PutBlockText(" MIL");
    PutWordValue('=', job.Hole.MillValue);
  }
  PutBlockChar(')');
  const int status = EndBlock();
  output.WordFormat = keep;
  return status;
}

bool RunContext::IncrementalHoleWords() const { return (output.CodeFormat & 0x0040) == 0; }

void RunContext::PutHoleXY(double x, double y) {
  std::array<double, 3>& at = job.CurrentPoint;
  if (IncrementalHoleWords()) {
    // The step from where the tool stands; a zero step is no word.
    PutWordValue('X', RoundTo3Decimals(x - at[0]));
    PutWordValue('Y', RoundTo3Decimals(y - at[1]));
  } else {
    PutWordValue('X', NonZero(x));
    PutWordValue('Y', NonZero(y));
  }
  at[0] = x;
  at[1] = y;
}

void RunContext::PutHoleZ(double z) {
  std::array<double, 3>& at = job.CurrentPoint;
  PutWordValue('Z', IncrementalHoleWords() ? RoundTo3Decimals(z - at[2]) : NonZero(z));
  at[2] = z;
}

int RunContext::EmitHoleFirstCycle(int repeat, double x, double y, double zOffset) {
  HoleValues& h = job.Hole;
  const bool dialect = output.PostSwitchF != 0;
  const bool shortForm = dialect && (output.BlockFormat & 0x0001) != 0;
  if (h.MCode != 0.0 && BlockOutputOn()) {
    OpenBlock();
    EmitSequenceWord();
    PutBlockChar('M');
    PutValueOneDecimal(h.MCode);
    if (h.Spindle != 0.0) {
      PutBlockChar('S');
      PutValueOneDecimal(h.Spindle);
    }
    if (EndBlock() == kStopRun) return kStopRun;
  }
  const double bottom = h.Bottom + zOffset;
  const double rLevel = h.RLevel + zOffset;
  const double startZ = h.StartZ + zOffset;
  if (repeat != 1 && !shortForm && EmitHoleComment() == kStopRun) return kStopRun;

  if (h.CycleCode != 1.0) {
    const bool tapReturn = h.CycleCode == 84.0 && h.Cycle84Return == 1;
    OpenBlock();
    if (tapReturn) {
      PutBlockText("G99");
    } else if (!HoleReturnToR()) {
      PutBlockText(dialect ? "M53" : "G98");
    } else {
      PutBlockText(dialect ? "M54" : "G99");
    }
    PutBlockChar('G');
    PutPaddedInteger(h.CycleCode, 2);
    // The cycle starts from where the tool stands (its initial level). In an
    // incremental program R is the step from that level and Z the step from
    // R down to the bottom.
    const double initial = job.CurrentPoint[2];
    PutHoleXY(x, y);
    if (IncrementalHoleWords()) {
      PutWordValue('Z', NonZero(RoundTo3Decimals(bottom - rLevel)));
      PutWordValue('R', NonZero(RoundTo3Decimals(rLevel - initial)));
    } else {
      PutWordValue('Z', NonZero(bottom));
      PutWordValue('R', NonZero(rLevel));
    }
    if (h.Dwell > 0.0) {
      if (shortForm) {
        PutWordValue('J', h.Dwell);
      } else {
        PutBlockChar('P');
        PutValueOneDecimal(h.Dwell);
      }
    }
    if (h.PeckDepth != 0.0) PutWordValue(shortForm ? 'I' : 'Q', h.PeckDepth);
    if (h.RepeatCount > 0.0) {
      PutBlockChar('K');
      PutValueOneDecimal(h.RepeatCount);
    }
    PutHoleFeed(h.Feed);
    if (EndBlock() == kStopRun) return kStopRun;
    job.CurrentPoint[2] = (tapReturn || HoleReturnToR()) ? rLevel : initial;
    if (tapReturn && EmitReturnToStart(startZ) == kStopRun) return kStopRun;
  } else {
    job.HoleGroupState = kHoleGroupByMoves;
    if (EmitExplicitHole(x, y, rLevel, bottom, startZ, true) == kStopRun) return kStopRun;
  }
  AddPeckTime();
  job.LastHole = {x, y, zOffset};
  DrawHolePath(x, y, rLevel, bottom);
  return 0;
}

int RunContext::EmitReturnToStart(double startZ) {
  OpenBlock();
  PutBlockText("G98");
  PutHoleZ(startZ);
  return EndBlock();
}

int RunContext::EmitExplicitHole(double x, double y, double rLevel, double bottom, double startZ, bool first) {
  OpenBlock();
  if (first) PutBlockText("G00");
  PutHoleXY(x, y);
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutHoleZ(rLevel);
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutBlockText("G01");
  PutHoleZ(bottom);
  PutHoleFeed(job.Hole.Feed);
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutBlockText("G00");
  PutHoleZ(startZ);
  return EndBlock();
}

int RunContext::EmitHoleNextPosition(double x, double y, double zOffset) {
  HoleValues& h = job.Hole;
  if (std::fabs(x - job.LastHole[0]) < 1e-9 && std::fabs(y - job.LastHole[1]) < 1e-9) return 0;
  const double bottom = h.Bottom + zOffset;
  const double rLevel = h.RLevel + zOffset;
  const double startZ = h.StartZ + zOffset;
  if (h.CycleCode != 1.0) {
    const bool tapReturn = h.CycleCode == 84.0 && h.Cycle84Return == 1;
    OpenBlock();
    if (tapReturn) PutBlockText("G99");
    PutHoleXY(x, y);
    if (EndBlock() == kStopRun) return kStopRun;
    if (tapReturn) job.CurrentPoint[2] = rLevel;
    if (tapReturn && EmitReturnToStart(startZ) == kStopRun) return kStopRun;
  } else if (EmitExplicitHole(x, y, rLevel, bottom, startZ, false) == kStopRun) {
    return kStopRun;
  }
  AddPeckTime();
  job.LastHole = {x, y, zOffset};
  DrawHolePath(x, y, rLevel, bottom);
  return 0;
}

int RunContext::EmitHolePeckByMoves(int mode, double x, double y, double zOffset) {
  HoleValues& h = job.Hole;
  // Mode 0 the first hole (after its approach), 1 a hole at a new place of
  // its own (its set-up section first), 2 the next hole of the group.
  if (mode == 1) {
    if (std::fabs(x - job.LastHole[0]) < 1e-9 && std::fabs(y - job.LastHole[1]) < 1e-9) return 0;
    if (ExpandBlockTemplate(21) == kStopRun) return kStopRun;
  }
  job.HoleGroupState = kHoleGroupByMoves;
  const double rLevel = h.RLevel + zOffset;
  const double bottom = h.Bottom + zOffset;
  const double startZ = h.StartZ + zOffset;
  const double first = std::max(h.FirstDepth + zOffset, bottom);
  // Checked before the hole's first block, so that it is not begun.
  if (h.PeckStep > 0.0 && (first - bottom) / h.PeckStep > kMaxDeepHolePecks) {
    return StopWithError(kErrorHoleRange);
  }
  if (mode != 0) {
    OpenBlock();
    PutBlockText("G00");
    PutHoleXY(x, y);
    if (EndBlock() == kStopRun) return kStopRun;
    // The previous hole left the spindle at the high speed: the top cut of
    // this one runs at the first speed again, as its feed does.
    if (h.HighSpeedOn && h.Spindle > 0.0) {
      WriteSpindleBlock(h.Spindle);
      WriteSimpleBlock("M03");
      h.HighSpeedOn = false;
    }
  } else {
    OpenBlock();
    EmitSequenceWord();
    if (EndBlock() == kStopRun) return kStopRun;
    if (EmitHoleComment() == kStopRun) return kStopRun;
  }
  // Each Z block moves the tool: its level is kept (PutHoleZ), so that a
  // stop knows where the tool stands.
  auto zBlock = [&](const char* code, double z, double feed) {
    OpenBlock();
    if (code != nullptr) PutBlockText(code);
    PutHoleZ(z);
    if (feed > 0.0) PutHoleFeed(feed);
    return EndBlock();
  };
  if (std::fabs(job.CurrentPoint[2] - rLevel) > 1e-9 && zBlock(nullptr, rLevel, 0.0) == kStopRun) return kStopRun;
  if (zBlock("G01", first, h.Feed) == kStopRun) return kStopRun;
  if (h.Spindle2 > 0.0) {
    WriteSpindleBlock(h.Spindle2);
    WriteSimpleBlock("M03");
    h.HighSpeedOn = true;
  }
  // Pecks of the high-speed cut below the first depth while above the
  // bottom, at the high-speed feed from the first of them on; a cut of 0
  // goes straight to the bottom.
  double feed2 = h.Feed2;
  if (h.PeckStep > 0.0) {
    // Each depth from the first one by the count, so that the loop ends
    // even where a step is below the resolution of a far-off Z.
    for (int peck = 1; peck <= kMaxDeepHolePecks; ++peck) {
      const double depth = first - peck * h.PeckStep;
      if (!(depth > bottom)) break;
      if (zBlock(nullptr, depth, feed2) == kStopRun) return kStopRun;
      feed2 = 0.0;
      if (zBlock(nullptr, depth + h.Retract, 0.0) == kStopRun) return kStopRun;
      if (PollAbort() == kStopRun) return kStopRun;
    }
  }
  if (zBlock(nullptr, bottom, feed2) == kStopRun) return kStopRun;
  if (zBlock("G00", HoleReturnToR() ? rLevel : startZ, 0.0) == kStopRun) return kStopRun;
  job.CurrentPoint = {x, y, HoleReturnToR() ? rLevel : startZ};
  job.LastHole = {x, y, zOffset};
  DrawHolePath(x, y, rLevel, bottom);
  return 0;
}

void RunContext::AddPeckTime() {
  const HoleValues& h = job.Hole;
  // Cycle 83 retracts to the R level after every peck: the travel of those
  // retracts, at the feed, is added to the machining time.
  if (h.CycleCode != 83.0 || !(h.PeckDepth > 0.0) || !(h.Feed > 0.0)) return;
  const double depth = h.RLevel - h.Bottom;
  if (!(depth > 0.0)) return;
  // The retracts after the pecks 1 .. n - 1 rise p, 2p, ... (n - 1)p: summed
  // in closed form, so that no peck count of a damaged hand-over overflows
  // an integer or loops for ever.
  const double pecks = std::floor(depth / h.PeckDepth);
  const double travel = h.PeckDepth * pecks * (pecks + 1.0) / 2.0;
  engine.core.MachiningTime += travel / h.Feed * 60.0;
}

void RunContext::DrawHolePath(double x, double y, double rLevel, double bottom) {
  const double depth = std::fabs(rLevel - bottom);
  if (job.Hole.Feed > 0.0) engine.core.MachiningTime += depth / job.Hole.Feed * 60.0;
  engine.core.PathLength += depth;
  // The hole as a plunge on the display: a move to the R level, then a cut.
  handover::CDisplayRecord top;
  top.kind = 0;
  top.colorWord = static_cast<std::uint16_t>(output.CurrentTool % 24);
  top.x = static_cast<float>(x);
  top.y = static_cast<float>(y);
  top.z = static_cast<float>(rLevel);
  top.radius = static_cast<float>(job.Hole.Diameter > 0.0 ? job.Hole.Diameter * 0.5 : 0.001);
  handover::CDisplayRecord cut = top;
  cut.kind = 1;
  cut.z = static_cast<float>(bottom);
  AddDisplayListRecord(top);
  AddDisplayListRecord(cut);
  UpdateHoleExtents(x, y, rLevel, bottom);
  if (transfer.Plot.Active) {
    PlotDrawToCurrent(x, y, rLevel, false);
    PlotDrawToCurrent(x, y, bottom, true);
  }
}

void RunContext::UpdateHoleExtents(double x, double y, double top, double bottom) {
  PathExtents& ex = output.Extents;
  ex.MinX = std::min(ex.MinX, x);
  ex.MaxX = std::max(ex.MaxX, x);
  ex.MinY = std::min(ex.MinY, y);
  ex.MaxY = std::max(ex.MaxY, y);
  ex.MinZ = std::min(ex.MinZ, bottom);
  ex.MaxZ = std::max(ex.MaxZ, top);
  const int t = output.ProcessToolIndex;
  if (t >= 0 && t < PathExtents::kToolEntries && engine.EndOfDataFlag == 0) {
    ex.ToolMinZ[static_cast<std::size_t>(t)] = std::min(ex.ToolMinZ[static_cast<std::size_t>(t)], bottom);
    ex.ToolMaxZ[static_cast<std::size_t>(t)] = std::max(ex.ToolMaxZ[static_cast<std::size_t>(t)], top);
  }
}

void RunContext::AddDisplayListRecord(const handover::CDisplayRecord& record) {
  std::array<std::uint32_t, 8> words{};
  static_assert(sizeof words == sizeof record);
  std::memcpy(words.data(), &record, sizeof record);
  host.AddDisplayRecord(words);
}

int RunContext::EmitHolePointSubprogram() {
  if (output.SubModeOutput == 0 || job.HoleSubprogramFile == nullptr) return 0;
  int start = RangeStart;
  int last = RangeEnd;
  if (start == 0) {
    // The stream names no range here: the points of the hole group just written.
    start = job.LastHoleRangeStart;
    last = job.LastHoleRangeEnd;
  }
  if (start <= 0 || last < start || last >= elements.ElementCount) return 0;
  // The block being composed is kept and put back afterwards.
  const BlockBuffer keptBlock = output.Block;
  const int keptOpen = output.BlockOpenCount;
  std::FILE* file = job.HoleSubprogramFile;
  bool failed = false;
  if (job.SubprogramHeaderWritten == 0) {
    failed |= std::fprintf(file, "O%d\n", job.HoleSubprogramNumberBase + R2.flags) < 0;
    job.SubprogramHeaderWritten = 1;
  }
  for (int i = start; i <= last && !failed; ++i) {
    if (AbortFlag != 0) break;
    const NcElement& e = elements[i];
    if (!IsPoint(e)) continue;
    output.Block.Position = 0;
    PutWordValue('X', NonZero(RoundTo3Decimals(e.d4)));
    PutWordValue('Y', NonZero(RoundTo3Decimals(e.d5)));
    failed |= std::fwrite(output.Block.Text.data(), 1, static_cast<std::size_t>(output.Block.Position), file) !=
              static_cast<std::size_t>(output.Block.Position);
    failed |= std::fputc('\n', file) == EOF;
  }
  if (!failed && R2.int3 == 99) {
    failed |= std::fputs("M99 \n  \n", file) < 0;
    job.SubprogramHeaderWritten = 0;
  }
  output.Block = keptBlock;
  output.BlockOpenCount = keptOpen;
  if (failed) {
    ErrorPath = job.HoleSubprogramPath;
    return StopWithError(kErrorFileWrite);
  }
  return 0;
}

}  // namespace qup
