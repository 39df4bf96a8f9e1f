// Joining consecutive contour elements: the current element (R0) must end
// where the next one (R1) begins, both offset by the tool offset. A point
// hands its position over; elements that meet are cut at their crossing;
// elements that do not meet are joined by a corner.
#include <cmath>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

// Offsets one element register to the left of its travel, as the fetch of
// the next element offsets it: a line moves both its points along its left
// normal; an arc moves its end point along the radius (from the centre in
// d6/d7) and its radius shrinks by the offset.
void OffsetElement(NcElement& e, double offset) {
  if ((e.code & 0xFF00) == kCodeArc || e.d1 != 0.0) {
    double ux = e.d6 - e.d4, uy = e.d7 - e.d5;
    const double length = std::hypot(ux, uy);
    if (length == 0.0) return;
    ux /= length;
    uy /= length;
    if (e.d1 < 0.0) {
      ux = -ux;
      uy = -uy;
    }
    e.d4 += offset * ux;
    e.d5 += offset * uy;
    e.d1 -= offset;
    return;
  }
  if ((e.code & 0xFF00) != kCodeLine) return;  // points and markers stay
  const double dx = -offset * e.d3, dy = offset * e.d2;
  e.d4 += dx;
  e.d5 += dy;
  e.d6 += dx;
  e.d7 += dy;
}

}  // namespace

void RunContext::ApplyOffsetToRegs() {
  const double offset = R3.d0;
  if (offset == 0.0) return;
  OffsetElement(R0, offset);
  OffsetElement(R1, offset);
}

}  // namespace qup

namespace qup {

namespace {

constexpr int kErrorNoCrossing = 16;
constexpr int kErrorCorner = 13;
constexpr int kFirstNonGeometry = 0x1A;

}  // namespace

int RunContext::cal303() {
  ContourWords& c = engine.contour;
  if (R0.code == 0x1001 || R0.flags == 0x11300) return 1;
  R3.d4 = R0.d4;
  R3.d5 = R0.d5;
  if (R0.code == 0) return 0;
  const int kind0 = (R0.code >> 8) & 0xFF, kind1 = (R1.code >> 8) & 0xFF;
  JoinKind = kind1 == 0x11 ? 2 : kind0 == 0x11 ? 1 : 0;
  if (kind0 >= kFirstNonGeometry || kind1 >= kFirstNonGeometry) {
    const bool first = kind0 >= kFirstNonGeometry;
    const std::string text = platform::Sjis(first ? "GO図形のエラーcal303　aNo.%d" : "GO図形のエラーcal303　bNo.%d");
    const std::size_t at = text.find("%d");
    host.ShowErrorBox(text.substr(0, at) + std::to_string(first ? R0.number : R1.number));
    StopWithError(kErrorBadElement);
    return 0;
  }
  if (JoinKind == 2) {
    // The next element is a point: the current one ends there.
    R0.d4 = R1.d4;
    R0.d5 = R1.d5;
  } else if (JoinKind == 0) {
    c.CornerFactors = {0.0, 0.0};
    TraceStep(141, 1);
    if (IntersectWithNext() == 0) {
      if (core.TransformMode != 4) {
        StopWithError(kErrorNoCrossing);
        return 0;
      }
      // Elements that do not meet need a corner built between them, which
      // this system does not compute yet: stop rather than cut a wrong path.
      c.NoCrossingMark = 0xFFFF;
      StopWithError(kErrorCorner);
      return 0;
    }
  }
  SetEndDirection();
  c.NoCrossingMark = 0;
  return 1;
}

}  // namespace qup
