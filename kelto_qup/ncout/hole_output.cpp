// Hole machining output: one hole command (0x6800 drilling, 0x6B00 helical,
// 0x6C00 deep hole) names a range of points, or of lines and arcs along which
// holes are spaced at a pitch. Phases: the hole values are taken from the
// command and the process; the positions are collected; the first hole gets
// the approach, the set-up and its cycle block; each further hole a short
// position block; the group ends with "G80" (not after explicit moves).
// 0xCC00 writes the points of the last hole group as a subprogram file.
//
// The hole command's fields as the CAM data writes them: d0 repeat count K,
// d1 hole bottom Z, d2 peck depth Q (flags bit 0x1), d3 dwell P (flags bit
// 0x2), d4 the range of hole items, d5 R level, d6 the canned-cycle code
// (81, 83, 84 ...; 0 or 1: explicit moves), d7 the feed (flags 0x9000), d8
// the pitch of holes along lines and arcs. The tool values (diameter, tip,
// M code, tapping return) come from the process's tool map record.
#include <algorithm>
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
  h.Bottom = R2.d1;
  h.PeckDepth = (R2.flags & 0x1) ? R2.d2 : 0.0;
  h.Dwell = (R2.flags & 0x2) ? R2.d3 : 0.0;
  h.RLevel = R2.d5;
  h.Feed = (R2.flags & 0x9000) ? R2.d7 * job.FeedOverride : 0.0;
  h.StartZ = job.SavedStartPoint[2];
  h.Spindle = output.SpindleSpeed;
  h.MCode = job.Flag10Value;
  if (job.ToolMapSlot > 0 && job.ToolMapSlot <= static_cast<int>(output.ToolMap.size())) {
    const handover::ToolMapRecord& tool = output.ToolMap[static_cast<std::size_t>(job.ToolMapSlot - 1)];
    h.Diameter = tool.diameter;
    h.TipLength = tool.tipLength;
    h.MillValue = tool.cornerRadius;
    h.Cycle84Return = tool.tapTwice == 1 ? 1 : 0;
  }
  if (h.TipLength <= 0.0 && h.MillValue < kMinMillValue) h.MillValue = kMinMillPlaceholder;
  // The explicit peck form (0x6C00): first feed depth d3 below the R level,
  // then pecks of d2, retract d8 after each (outside (0, 100] it is 1 mm).
  h.FirstDepth = h.RLevel - std::fabs(R2.d3);
  h.PeckStep = std::fabs(R2.d2);
  h.Retract = (R2.d8 > 0.0 && R2.d8 <= 100.0) ? R2.d8 : 1.0;
  h.Spindle2 = h.Spindle;
  h.Feed2 = h.Feed;
}

bool RunContext::HoleReturnToR() const { return (job.CutInFlags & 0x0800) != 0; }

int RunContext::CollectHolePositions(int start, int last, std::vector<HolePoint>& holes) {
  // Pitch of holes along lines and arcs (mm); half the diameter when that
  // is more than twice the pitch, so that holes never overlap.
  double pitch = R2.d8;
  if (job.Hole.Diameter * 0.5 > 2.0 * pitch && pitch > 0.0) pitch = job.Hole.Diameter * 0.5;
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
  // A trailing element that is neither a hole point nor a path to space
  // holes along (the item's closing record) is not part of the holes.
  if (!IsPoint(elements[last]) && !IsPathElement(elements[last])) --last;
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

  if (job.SpindleStartPending != 0 && BlockOutputOn()) {
    WriteSpindleBlock(job.Hole.Spindle);
    WriteSimpleBlock("M03");
    job.SpindleStartPending = 0;
  }
  job.HoleGroupState = 1;
  job.HoleCount = 0;
  for (std::size_t n = 0; n < holes.size(); ++n) {
    if (AbortFlag != 0) return kStopRun;
    if (PollAbort() == kStopRun) {
      // A stop by the user: the open cycle is cancelled, so that the closing
      // blocks that still follow move as plain moves.
      if (n > 0 && job.HoleGroupState != kHoleGroupByMoves && BlockOutputOn()) {
        // Written as part of the run (the block output would take a write
        // under a noticed stop for a failure); the stop stays noticed.
        AbortFlag = 0;
        WriteSimpleBlock("G80");
        if (AbortFlag == 0) AbortFlag = kStopSeen;
      }
      output.LastMotionMode = 0xFFFF;
      job.HoleGroupState = kHoleGroupOpenNone;
      return kStopRun;
    }
    const HolePoint& hole = holes[n];
    const double x = RoundTo3Decimals(hole.x);
    const double y = RoundTo3Decimals(hole.y);
    const double level =
        RoundTo3Decimals((job.Hole.StartZ != 0.0 ? job.Hole.StartZ : job.SavedStartPoint[2]) + hole.zOffset);
    int status = 0;
    if (n == 0) {
      status = ApproachFirstHole(x, y, level);
      if (status == kStopRun) return kStopRun;
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
    if (status == kStopRun) return kStopRun;
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
  const double bottom = NonZero(h.Bottom + zOffset);
  const double rLevel = NonZero(h.RLevel + zOffset);
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
    PutWordValue('X', NonZero(x));
    PutWordValue('Y', NonZero(y));
    PutWordValue('Z', bottom);
    PutWordValue('R', rLevel);
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
  PutWordValue('Z', NonZero(startZ));
  return EndBlock();
}

int RunContext::EmitExplicitHole(double x, double y, double rLevel, double bottom, double startZ, bool first) {
  OpenBlock();
  if (first) PutBlockText("G00");
  PutWordValue('X', NonZero(x));
  PutWordValue('Y', NonZero(y));
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutWordValue('Z', rLevel);
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutBlockText("G01");
  PutWordValue('Z', bottom);
  PutHoleFeed(job.Hole.Feed);
  if (EndBlock() == kStopRun) return kStopRun;
  OpenBlock();
  PutBlockText("G00");
  PutWordValue('Z', NonZero(startZ));
  return EndBlock();
}

int RunContext::EmitHoleNextPosition(double x, double y, double zOffset) {
  HoleValues& h = job.Hole;
  if (std::fabs(x - job.LastHole[0]) < 1e-9 && std::fabs(y - job.LastHole[1]) < 1e-9) return 0;
  const double bottom = NonZero(h.Bottom + zOffset);
  const double rLevel = NonZero(h.RLevel + zOffset);
  const double startZ = h.StartZ + zOffset;
  if (h.CycleCode != 1.0) {
    const bool tapReturn = h.CycleCode == 84.0 && h.Cycle84Return == 1;
    OpenBlock();
    if (tapReturn) PutBlockText("G99");
    PutWordValue('X', NonZero(x));
    PutWordValue('Y', NonZero(y));
    if (EndBlock() == kStopRun) return kStopRun;
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
  if (mode != 0 && std::fabs(x - job.LastHole[0]) < 1e-9 && std::fabs(y - job.LastHole[1]) < 1e-9) return 0;
  if (mode != 0 && ExpandBlockTemplate(21) == kStopRun) return kStopRun;
  job.HoleGroupState = kHoleGroupByMoves;
  const double rLevel = NonZero(h.RLevel + zOffset);
  const double bottom = h.Bottom + zOffset;
  const double startZ = NonZero(h.StartZ + zOffset);
  if (mode != 0) {
    OpenBlock();
    PutBlockText("G00");
    PutWordValue('X', NonZero(x));
    PutWordValue('Y', NonZero(y));
    if (EndBlock() == kStopRun) return kStopRun;
  } else {
    OpenBlock();
    EmitSequenceWord();
    if (EndBlock() == kStopRun) return kStopRun;
    if (EmitHoleComment() == kStopRun) return kStopRun;
  }
  auto zBlock = [&](const char* code, double z, double feed) {
    OpenBlock();
    if (code != nullptr) PutBlockText(code);
    PutWordValue('Z', NonZero(z));
    if (feed > 0.0) PutHoleFeed(feed);
    return EndBlock();
  };
  if (std::fabs(job.CurrentPoint[2] - rLevel) > 1e-9 && zBlock(nullptr, rLevel, 0.0) == kStopRun) return kStopRun;
  const double first = std::max(h.FirstDepth + zOffset, bottom);
  if (zBlock("G01", first, h.Feed) == kStopRun) return kStopRun;
  if (h.Spindle2 > 0.0 && h.Spindle2 != h.Spindle) {
    WriteSpindleBlock(h.Spindle2);
    WriteSimpleBlock("M03");
  }
  // Pecks of the step value below the first depth while above the bottom; a
  // step of 0 makes a single pass straight to the bottom.
  if (h.PeckStep > 0.0) {
    bool firstPeck = true;
    for (double depth = first - h.PeckStep; depth > bottom; depth -= h.PeckStep) {
      if (zBlock(nullptr, depth, firstPeck ? h.Feed2 : 0.0) == kStopRun) return kStopRun;
      if (zBlock(nullptr, depth + h.Retract, 0.0) == kStopRun) return kStopRun;
      firstPeck = false;
      if (PollAbort() == kStopRun) return kStopRun;
    }
  }
  if (zBlock(nullptr, bottom, 0.0) == kStopRun) return kStopRun;
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
