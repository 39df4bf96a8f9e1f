// Pre-pass 1 turns every element-number range reference into a table-index
// reference; pre-pass 2 expands the marked 3-D surface elements into lines
// between two point lists. Both run once per job load, after the element
// list is read and before the post is selected.
#include "kelto_qup/ncout/element_prepass.h"

#include <cmath>
#include <unordered_map>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr std::uint32_t D(int n) { return 1u << n; }

// Where a number first appears and the last index of the run of equal
// numbers that starts there.
struct NumberRun {
  int first = 0;
  int last = 0;
};

// Below this distance two section points coincide: the section is closed (mm).
constexpr double kClosedSectionDistance = 1e-8;
// Below this length a connecting line has no direction of its own (mm).
constexpr double kZeroLineLength = 1e-10;

}  // namespace

std::uint32_t RangeFieldMask(const NcElement& e) {
  const int kind = e.code & 0xFF00;
  const int flags = e.flags;
  switch (kind) {
    case 0x1100:  // section point of a SPACE surface: its section curve
      return (flags & 0x8000) ? D(1) : 0;
    case 0x3100:  // surface group, contour range, figure reference
    case 0xFA00:
      return D(4) | ((flags & 0xF) ? D(1) : 0) | ((flags & 0x10) ? D(5) : 0);
    case 0x7100:
      // The contour command's d1 is its tool offset (flags 3 say it is
      // given), never an element number: converting it would lose the offset.
      return D(4) | ((flags & 0x10) ? D(5) : 0);
    case 0x3200:
    case 0x3600:
      return D(1) | D(4);
    case 0x3300:
      return D(1) | D(2) | D(4);
    case 0x3500:
    case 0x5400:
    case 0x5500:
    case 0x5600:
      return D(1);
    case 0x3700:
    case 0x7600:  // MOVE: the mirror axis element
      return (flags & 0x400) ? D(1) : 0;
    case 0x3900:
      return ((flags & 0x80) ? 0 : D(1)) | D(2) | D(3) | D(5);
    case 0x4100:
    case 0x4200:
    case 0x5700:
    case 0x7700:
    case 0x8000:
    case 0x8200:
    case 0x8300:
      return D(4);
    case 0x8700:
      return D(4) | ((flags & 0x10) ? D(5) : 0);
    case 0x7300:
    case 0x7400:  // a figure reference; flags 0x60 and up carry a point or an angle
      return ((flags & 0xFF) < 16) ? D(4) : 0;
    case 0x7800:  // "CALL_ON": the next element and the guide reference
      return (e.d7 != 0.0 ? D(7) : 0) | (e.d4 != 0.0 ? D(4) : 0);
    case 0x7F00:
      return D(1) | D(4) | D(5);
    case 0x5800:
    case 0x5900:
      return D(4) | D(5);
    case 0x8400:
      return (e.code & 0xF0) ? D(4) : 0;
    case 0x6800:  // hole cycles: the hole items
    case 0x6B00:
    case 0x6C00:
    case 0xCC00:
      return D(4);
    default:
      return 0;
  }
}

int RunContext::PrepareElements() {
  const int count = elements.ElementCount;
  std::unordered_map<std::int32_t, NumberRun> runs;
  runs.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::int32_t number = elements[i].number;
    auto found = runs.find(number);
    if (found == runs.end()) {
      runs.emplace(number, NumberRun{i, i});
    } else if (found->second.last == i - 1 && elements[i - 1].number == number) {
      found->second.last = i;  // still inside the first run of this number
    }
  }
  auto lookup = [&](std::uint32_t number) -> const NumberRun* {
    if (number > 0x7FFFFFFFu) return nullptr;
    auto found = runs.find(static_cast<std::int32_t>(number));
    return found == runs.end() ? nullptr : &found->second;
  };

  for (int i = 0; i < count; ++i) {
    NcElement& e = elements[i];
    const std::uint32_t mask = RangeFieldMask(e);
    if (mask == 0) continue;
    for (int n = 0; n < 9; ++n) {
      if ((mask & D(n)) == 0) continue;
      double& field = e.DoubleAt(n);
      // A zero field names no range; it stays zero.
      if (field == 0.0) continue;
      const FixedPointPair pair = SplitFixedPoint(field);
      const NumberRun* first = lookup(pair.whole);
      const NumberRun* last = lookup(pair.millionths);
      field = (first != nullptr && last != nullptr)
                  ? JoinFixedPoint(static_cast<std::uint32_t>(first->first), static_cast<std::uint32_t>(last->last))
                  : 0.0;
    }
  }
  return 0;
}

int RunContext::ExpandSurfaceElements() {
  // New elements are appended behind the table and visited too.
  for (int index = 0; index < elements.ElementCount; ++index) {
    {
      const NcElement& e = elements[index];
      if ((e.code & 0xFF00) != 0x3100 || (e.flags & 0x4000) == 0) continue;
    }
    const int status = ExpandOneSurfaceElement(index);
    NcElement& e = elements[index];
    // Afterwards, also after a failure: bits 0x1 and 0x4 set, 0x4000 and the
    // other low bits cleared.
    e.flags = (e.flags & 0xFBFF0) + 5;
    if (status != 0) return status;
  }
  return 0;
}

int RunContext::ExpandOneSurfaceElement(int index) {
  const int count = elements.ElementCount;
  auto valid = [count](std::uint32_t i) { return i < static_cast<std::uint32_t>(count); };
  const FixedPointPair own = SplitFixedPoint(elements[index].d1);
  const FixedPointPair lists = SplitFixedPoint(elements[index].d4);
  if (!valid(lists.whole) || !valid(lists.millionths)) return ReportJobError(2);
  const NcElement& listA = elements[static_cast<int>(lists.whole)];
  const NcElement& listB = elements[static_cast<int>(lists.millionths)];
  if (static_cast<unsigned>(listA.code) < 0x5700u) return ReportJobError(2);
  const FixedPointPair a = SplitFixedPoint(listA.d4);
  const FixedPointPair b = SplitFixedPoint(listB.d4);
  if (!valid(a.whole) || !valid(a.millionths) || !valid(b.whole) || !valid(b.millionths) || a.whole > a.millionths ||
      b.whole > b.millionths || a.millionths - a.whole != b.millionths - b.whole) {
    return ReportJobError(2);
  }
  const int first = static_cast<int>(a.whole);
  const int end = static_cast<int>(a.millionths);
  const int other = static_cast<int>(b.whole);
  const int lines = end - first;
  if (lines == 0) return 0;

  // Connecting lines from the k-th point of the first list to the k-th of
  // the second, in the line layout of the stream: direction d2/d3, end
  // point d4/d5, start point d6/d7.
  const int firstLine = elements.ElementCount;
  for (int k = 0; k < lines; ++k) {
    if (KeepElementHeadroom() != 0) return kStopRun;
    const NcElement& pa = elements[first + k];
    const NcElement& pb = elements[other + k];
    NcElement line;
    line.code = 0x1200;
    line.d6 = pa.d4;
    line.d7 = pa.d5;
    line.d4 = pb.d4;
    line.d5 = pb.d5;
    const double dx = pb.d4 - pa.d4;
    const double dy = pb.d5 - pa.d5;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length >= kZeroLineLength) {
      line.d2 = dx / length;
      line.d3 = dy / length;
    } else {
      // No length: across the point's own direction.
      line.d2 = -pa.d3;
      line.d3 = pa.d2;
    }
    elements[elements.ElementCount++] = line;
  }
  // One range element per line: the surface's own points and the line.
  const int firstRange = elements.ElementCount;
  for (int k = 0; k < lines; ++k) {
    if (KeepElementHeadroom() != 0) return kStopRun;
    NcElement range;
    range.code = 0x5900;
    range.d4 = JoinFixedPoint(own.whole, own.millionths);
    const auto line = static_cast<std::uint32_t>(firstLine + k);
    range.d5 = JoinFixedPoint(line, line);
    elements[elements.ElementCount++] = range;
  }
  const int lastRange = elements.ElementCount - 1;
  const NcElement& sectionStart = elements[first];
  const NcElement& sectionEnd = elements[end];
  if (std::hypot(sectionStart.d6 - sectionEnd.d6, sectionStart.d7 - sectionEnd.d7) < kClosedSectionDistance) {
    // A closed section: the last range names the first line again.
    const auto line = static_cast<std::uint32_t>(firstLine);
    elements[lastRange].d5 = JoinFixedPoint(line, line);
  }
  elements[index].d1 = JoinFixedPoint(static_cast<std::uint32_t>(firstRange), static_cast<std::uint32_t>(lastRange));
  return 0;
}

}  // namespace qup
