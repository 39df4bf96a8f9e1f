// The two-axis check of a contour before its walk: the range is offset in
// steps up to the full offset and the elements that survive are counted;
// arcs the offset turns inside out are marked consumed, and two neighbouring
// offset elements that no longer meet are bridged by a small arc of the
// corner radius. When bridges were made the range is rebuilt behind the last
// element of the table and the copy becomes the range to walk.
#include <algorithm>
#include <cmath>
#include <vector>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

constexpr int kContourCommand = 0x7100;
constexpr int kConsumedArc = 0x100FFFFF;
constexpr int kBridgeMarkOnly = 0x15000000;
constexpr double kLargestStep = 0.5;
constexpr double kReducedStep = 0.425;
constexpr double kStepDecrement = 0.152;
constexpr double kSmallestStep = 0.01;
// Room the contour routines keep free behind the table's last element.
constexpr int kTableHeadroom = 300;
constexpr int kTableGrowth = 1000;

bool IsPoint(const NcElement& e) { return (e.code & 0xFF00) == kCodePoint; }
bool IsArcCode(const NcElement& e) { return e.code == kCodeArc; }
bool IsArcKind(const NcElement& e) { return (e.code & 0xFF00) == kCodeArc; }

// The kept copies of the registers and range words that every exit of the
// check gives back.
struct KeptWalk {
  NcElement r0, r1;
  int start = 0, end = 0, step = 1;
};

}  // namespace

// Grows the table so that `needed` records fit; false (the run stopped with
// the memory box) when it cannot.
static bool EnsureTableRoom(RunContext& run, int needed) {
  if (run.elements.Capacity() >= needed) return true;
  const int wanted = std::max(needed, run.elements.Capacity() + kTableGrowth);
  if (run.AllocElementTable(run.elements.Capacity(), wanted) != 0) return false;
  if (run.elements.Capacity() >= needed) return true;
  run.host.ShowErrorBox(platform::Sjis("MEMORY_Over_ERROR... DORN_MAX98560 !"));
  run.AbortFlag = kStopRun;
  return false;
}

int RunContext::cal_2ax() {
  ContourWords& c = engine.contour;
  ContourLoopWords& w = core.loop;
  TraceStep(144, 1);
  // 1. Fewer than four elements: nothing to check.
  const bool small = RangeStep == 1 ? !(RangeStart + 2 < RangeEnd) : !(RangeEnd + 2 < RangeStart);
  if (small) {
    core.SideCheckFlags = 0;
    c.StyleResult = 0;
    return 0;
  }
  // 2.
  const KeptWalk kept{R0, R1, RangeStart, RangeEnd, RangeStep};
  const bool reversed = RangeStep != 1;
  if (reversed) {
    R2.d1 = -R2.d1;
    std::swap(RangeStart, RangeEnd);
    RangeStep = 1;
  }
  const double entryOffset = R2.d1;
  auto giveBack = [&]() {
    R0 = kept.r0;
    R1 = kept.r1;
    RangeStart = kept.start;
    RangeEnd = kept.end;
    RangeStep = kept.step;
  };

  const int selector = core.OutputFlags & 7;
  if (selector == 1) {
    // 3. Side selector 1.
    const SavedStepWords words{RangeStart,
                               engine.stepping.SubRangeFirst,
                               engine.stepping.SubRangeLast,
                               RangeEnd,
                               RangeStep,
                               engine.stepping.RangeSpan,
                               RangeOptions,
                               engine.stepping.GroupFlags,
                               core.OffsetMode};
    if ((core.SideCheckFlags & 0x10) != 0) {
      for (int i = RangeStart + 1; i < RangeEnd; ++i) {
        if (!CheckedIndex(i) || !CheckedIndex(i - 1)) return kStopRun;
        const NcElement& arc = elements[i];
        if ((arc.code & 0xFF00) != kCodeArc) continue;
        const NcElement& before = elements[i - 1];
        geom::Vec2 a = geom::UnitOr({before.d4 - arc.d6, before.d5 - arc.d7}, {1.0, 0.0});
        geom::Vec2 b = geom::UnitOr({arc.d4 - arc.d6, arc.d5 - arc.d7}, {1.0, 0.0});
        if (arc.d1 <= 0.0) std::swap(a, b);
        const double angle = RoundTo3Decimals(std::atan2(geom::Cross(a, b), geom::Dot(a, b)) * kDegreesPerRadian);
        if (angle <= 0.0 || angle == 180.0) {
          core.SideCheckFlags = 0;
          break;
        }
      }
    }
    if (core.SideCheckFlags == 0) {
      R2.d1 = reversed ? -entryOffset : entryOffset;
      giveBack();
      return 0;
    }
    const NcElement command = R2;
    R2 = w.CommandSave;
    R2.d4 = R2.d1;
    UnpackCommandValue(4);
    core.MotionPair = {Slot(SaveSlot::Slot551), core.Slot551Companion};
    const int met = IntersectElements();
    if (met == kStopRun || AbortFlag != 0) return kStopRun;
    if (met == 0) return 0;
    R2 = command;
    R2.d1 = R0.d4;
    if (engine.call.CallState == 17) {
      // The call's offset, bounded by the call command's values.
      R2.d1 = engine.call.CallValue + R2.d1;
      if (!CheckedIndex(engine.call.CallLimitIndex)) return kStopRun;
      const NcElement& limit = elements[engine.call.CallLimitIndex];
      R1.d1 = limit.d1;
      R1.d2 = limit.d2;
      R1.d3 = limit.d3;
      if (limit.d2 > 0.0 && R2.d1 > limit.d3) R2.d1 = limit.d3;
      if (limit.d2 <= 0.0 && R2.d1 > limit.d1) R2.d1 = limit.d1;
      core.OffsetMode = 1;
      core.OutputFlags &= ~0xF;
    }
    RangeStart = words.RangeStart;
    RangeEnd = words.RangeEnd;
    RangeStep = words.RangeStep;
    engine.stepping.GroupFlags = words.GroupFlags;
    engine.stepping.RangeSpan = words.RangeSpan;
    RangeOptions = words.RangeOptions;
    engine.stepping.SubRangeFirst = words.SubRangeFirst;
    engine.stepping.SubRangeLast = words.SubRangeLast;
  } else if ((core.SideCheckFlags & 0x20) != 0) {
    // 4.
    core.SideCheckFlags = 0;
    R2.d1 = reversed ? -entryOffset : entryOffset;
    giveBack();
    return 0;
  }

  // 5. The offset to reach.
  core.SideCheckFlags &= 0xF;
  const double walkOffset = R2.d1;
  double target = walkOffset;
  if ((R2.code & 0xFF00) == kContourCommand) {
    if (job.ToolOffsetNumber == 0) target = engine.stepping.ExtraOffset + walkOffset;
    if ((core.OutputFlags & 0xED10) == 0) target = R3.d0 + target;
  }

  // 6., 7. The offset walk in steps.
  double step = std::fabs(w.TwoAxisStep);
  if (step > kLargestStep) step = kReducedStep;
  w.TwoAxisStep = step;
  int n = 0;
  auto tryOffset = [&]() { return TryTwoAxisOffset(); };
  if (step > 0.0) {
    n = 1;
    const double d = R2.d1;
    bool stopped = false;
    if (d != 0.0) {
      R2.d1 = 0.0;
      const bool up = d > 0.0 && target >= 0.0, down = d < 0.0 && target <= 0.0;
      while (up || down) {
        const int r = tryOffset();
        if (r == kStopRun || AbortFlag != 0) return kStopRun;
        if (r != 0) {
          n += r;
          R2.d1 = 0.0;
        }
        if (n >= 8) {
          stopped = true;
          break;
        }
        R2.d1 += up ? w.TwoAxisStep : -w.TwoAxisStep;
        if (up ? R2.d1 > target : R2.d1 < target) break;
      }
    }
    if (!stopped) {
      R2.d1 = target;
      const int r = tryOffset();
      if (r == kStopRun || AbortFlag != 0) return kStopRun;
      if (r != 0) n = 8;
    }
  }

  // 8. The usable elements of the range.
  int usable = 0;
  bool firstArc = true;
  for (int i = RangeStart; i <= RangeEnd; ++i) {
    if (!CheckedIndex(i)) return kStopRun;
    const NcElement& e = elements[i];
    SubtypeWord = e.flags & 0xFFFF;
    if (IsPoint(e) || SubtypeWord == kConsumedMark) continue;
    usable += 1;
    if (IsArcCode(e) && firstArc && c.StyleResult == 2) usable += 1;
    if (IsArcCode(e)) firstArc = false;
  }
  // 9.
  if (RangeEnd - RangeStart > 4 && usable < 4) {
    n = 8;
  } else {
    c.ContourRunMark = 1;
  }
  // 10. Too few: an open range is cut as far as it goes.
  int result = n;
  if (n > 7) {
    const NcElement& first = elements[RangeStart];
    const NcElement& last = elements[RangeEnd];
    if (RoundTo3Decimals(std::hypot(first.d6 - last.d6, first.d7 - last.d7)) > 0.001) {
      c.ContourRunMark = 1;
      result = 3;
    }
  }
  // 11.
  R2.d1 = walkOffset;
  core.SideCheckFlags &= 0xF;
  if (selector == 1) R2.d1 = entryOffset;
  if (reversed) R2.d1 = -R2.d1;
  giveBack();
  // 12., 13.
  TraceMessage("CQupView::cal_2ax New_Sentaku=%d gvCallON=%d", c.StyleResult, job.CallOnActive);
  if (c.StyleResult != 2 && job.CallOnActive != 0) return result;
  // 14. The rebuild walks the range in index order with the offset of the
  // forward walk.
  const double keptOffset = R2.d1;
  const int lo = std::min(kept.start, kept.end), hi = std::max(kept.start, kept.end);
  if (reversed) R2.d1 = -R2.d1;
  const int rebuilt = RebuildTwoAxisRange(lo, hi, kept.step);
  R2.d1 = keptOffset;
  if (rebuilt == kStopRun) return kStopRun;
  return 0;
}

// The arc test of the rebuild: an arc the offset turns inside out is marked
// consumed and its successor (when it lies in the range) takes its side.
// True when the arc was consumed.
static bool ConsumeInvertedArc(ElementTable& elements, int index, int last, double offset) {
  NcElement& arc = elements[index];
  if (!IsArcCode(arc) || RoundTo3Decimals(arc.d1 - offset) * arc.d1 > 0.0) return false;
  const int oldFlags = arc.flags;
  arc.flags = kConsumedArc;
  if (index + 1 <= last) {
    NcElement& next = elements[index + 1];
    next.flags = (oldFlags & kReversedSide) != 0 ? (next.flags & 0xFFFF) : (oldFlags & static_cast<int>(0xFFFF0000u));
  }
  return true;
}

int RunContext::RebuildTwoAxisRange(int first, int last, int step) {
  const NcElement keptR0 = R0, keptR1 = R1;
  const int keptStart = RangeStart, keptEnd = RangeEnd, keptStep = RangeStep;
  const int before = elements.ElementCount;
  const double offset = R2.d1;
  const double g = job.Value8400 + 0.0001;  // the corner radius of the bridges
  std::vector<int> insertions;
  auto giveBack = [&]() {
    R0 = keptR0;
    R1 = keptR1;
    RangeStart = keptStart;
    RangeEnd = keptEnd;
    RangeStep = keptStep;
  };
  // 15. Over the kept range only: past its end an element belongs to
  // another contour and is left as it is.
  for (int i = first; i <= last; ++i) {
    const bool hasNext = i + 1 <= last;
    bool consumed = ConsumeInvertedArc(elements, i, last, offset);
    if (hasNext) consumed = ConsumeInvertedArc(elements, i + 1, last, offset) || consumed;
    if (!hasNext || consumed) continue;
    const NcElement e1 = elements[i], e2 = elements[i + 1];
    if (!IsArcKind(e1) && !IsArcKind(e2)) continue;
    // c. Do the offset copies still meet?
    R1 = e1;
    ResolveNextElement(0, 0);
    R0 = R1;
    R1 = e2;
    ResolveNextElement(0, 0);
    if (AbortFlag != 0) return kStopRun;
    const bool vanished = ElementIndex == 0;
    R0.d4 = R0.d6;
    R0.d5 = R0.d7;
    R1.d4 = R1.d6;
    R1.d5 = R1.d7;
    if (IntersectWithNext() != 0 || vanished) continue;
    // d. Where the elements, widened by the bridge radius, meet.
    R0 = e1;
    R1 = e2;
    for (NcElement* e : {&R0, &R1}) {
      if (e->d1 > 0.0) {
        e->d1 += g;
        e->d4 = e->d6;
        e->d5 = e->d7;
      } else {
        const double dx = -e->d3 * g, dy = e->d2 * g;
        e->d4 += dx;
        e->d5 += dy;
        e->d6 += dx;
        e->d7 += dy;
      }
    }
    R1.flags |= kReversedSide;
    if (IntersectWithNext() == 0) continue;
    const double px = R0.d4, py = R0.d5;
    NcElement bridge{};
    bridge.code = kCodeArc;
    bridge.d1 = -g;
    if (R0.d1 <= R1.d1 && R0.d1 != 0.0) {
      R1 = e2;
      if (R1.flags == kBridgeMarkOnly) R1.flags |= kReversedSide;
      R1.d4 = R1.d6;
      R1.d5 = R1.d7;
      R0 = bridge;
      R0.d6 = px;
      R0.d7 = py;
      IntersectWithNext();
      bridge = R0;
    } else {
      R0 = e1;
      R0.d4 = R0.d6;
      R0.d5 = R0.d7;
      R1 = bridge;
      R1.d4 = R1.d6 = px;
      R1.d5 = R1.d7 = py;
      IntersectWithNext();
      R1.d4 = R0.d4;
      R1.d5 = R0.d5;
      R1.d2 = R0.d2;
      R1.d3 = R0.d3;
      bridge = R1;
    }
    // f. The table grows before the bridge is written.
    if (!EnsureTableRoom(*this, elements.ElementCount + 1 + kTableHeadroom)) return kStopRun;
    elements[elements.ElementCount] = bridge;
    elements.ElementCount += 1;
    insertions.push_back(i);
  }
  // 16., 17.
  giveBack();
  if (elements.ElementCount == before) return 0;

  // 18. The range and its bridges copied behind the table, room made first.
  const int copyStart = elements.ElementCount + 1;
  const int copies = (last - first + 1) + static_cast<int>(insertions.size());
  if (!EnsureTableRoom(*this, copyStart + copies + kTableHeadroom)) return kStopRun;
  int at = copyStart;
  std::size_t nextInsertion = 0;
  bool clearNext = false;
  for (int i = first; i <= last; ++i) {
    elements[at] = elements[i];
    if (clearNext) elements[at].flags = 0;
    clearNext = false;
    at += 1;
    if (nextInsertion < insertions.size() && insertions[nextInsertion] == i) {
      elements[at] = elements[before + static_cast<int>(nextInsertion)];
      elements[at].flags = 0;
      at += 1;
      nextInsertion += 1;
      clearNext = true;
    }
  }
  // A backward walk starts at the copy's end, as it started at the range's.
  RangeStart = step < 0 ? at - 1 : copyStart;
  RangeEnd = step < 0 ? copyStart : at - 1;
  RangeStep = step;
  elements.ElementCount = at;
  ElementIndex = 0;
  return 0;
}

int RunContext::TryTwoAxisOffset() {
  // 1., 2.
  const int n = CountUsableOffsetElements();
  if (n == kStopRun || AbortFlag != 0) return kStopRun;
  if (RangeEnd - RangeStart <= 4 || n >= 3) return 0;
  // 3.
  if (PollAbort() == kStopRun) return 8;
  // 4.
  if (n == 0 && CheckedIndex(RangeStart + 1) && IsPoint(elements[RangeStart]) && IsArcCode(elements[RangeStart + 1])) {
    core.FlagWord = elements[RangeStart + 1].flags & 0xFFFF;
    return core.FlagWord != 0 ? 8 : 0;
  }
  // 5. The elements are free again; the next try takes a smaller step.
  for (int i = RangeStart; i <= RangeEnd; ++i) elements[i].flags &= static_cast<int>(0xFFFF0000u);
  core.loop.TwoAxisStep -= kStepDecrement;
  return core.loop.TwoAxisStep < kSmallestStep ? 9 : 1;
}

int RunContext::CountUsableOffsetElements() {
  ContourWords& c = engine.contour;
  const int keptStart = RangeStart, keptEnd = RangeEnd;
  auto result = [&](int value) {
    RangeStart = keptStart;
    RangeEnd = keptEnd;
    return value;
  };
  // 1.
  if (!CheckedIndex(RangeStart) || !CheckedIndex(RangeEnd)) return kStopRun;
  elements[RangeStart].flags &= static_cast<int>(0xFFFF0000u);
  R1 = elements[RangeStart];
  if (IsPoint(R1)) {
    ResolveNextElement(0, 0);
    core.MoveStartPoint = {R1.d4, R1.d5};
    RangeStart += 1;
    RangeEnd -= 1;
    if (!CheckedIndex(RangeStart)) return kStopRun;
    elements[RangeStart].flags &= static_cast<int>(0xFFFF0000u);
    R1 = elements[RangeStart];
  }
  // 2.
  ResolveNextElement(0, 0);
  if (AbortFlag != 0) return kStopRun;
  if (ElementIndex == 0) {
    elements[RangeStart].flags |= kConsumedMark;
    return result(0);
  }
  // 3., 4.
  R0 = R1;
  core.OffsetRadiusSum = 0.0;
  int count = 0, skipped = 0;
  bool firstArc = true;
  while (RangeStart < RangeEnd) {
    core.SideCheckFlags |= 0x8000;
    RangeStart += 1;
    if (!CheckedLoad(R1, RangeStart)) return kStopRun;
    if (core.OffsetRadiusSum < 0.0) {
      R1.flags |= kReversedSide;
      elements[RangeStart].flags |= kReversedSide;
    }
    core.OffsetRadiusSum = 0.0;
    if ((R1.flags & 0xFFFF) == kConsumedMark) {
      skipped += 1;
      continue;
    }
    const double radius = R1.d1;
    const bool arc = IsArcCode(R1);
    ResolveNextElement(c.StyleResult == 2 ? kResolveModeA : kResolveModeB, skipped);
    if (AbortFlag != 0) return kStopRun;
    if (ElementIndex == 0) {
      elements[RangeStart].flags |= kConsumedMark;
      core.OffsetRadiusSum = arc ? R2.d1 + radius : 0.0;
      skipped += 1;
      continue;
    }
    const double keepX = R1.d4, keepY = R1.d5;
    R0.d4 = R0.d6;
    R0.d5 = R0.d7;
    R1.d4 = R1.d6;
    R1.d5 = R1.d7;
    IntersectWithNext();
    R1.d4 = keepX;
    R1.d5 = keepY;
    core.MoveStartPoint = {R0.d4, R0.d5};
    R0 = R1;
    count += 1;
    if (arc && firstArc && c.StyleResult != 2) count += 1;
    if (arc) firstArc = false;
    skipped = 0;
  }
  // 5.
  ElementIndex = count;
  return result(count);
}

}  // namespace qup
