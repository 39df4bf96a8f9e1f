// Writing the current element whole: a line as one straight move, an arc as
// one arc block about its centre (rather than in chords), at the element's
// height and the contour's feed times the feed factor. The element-output
// word can hand the element to the linear path instead.
#include <cmath>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr int kLinearPath = 0x08;  // ElementOutputWord: written as a straight path

}  // namespace

int RunContext::EmitCurrentElement() {
  ContourWords& c = engine.contour;
  // 1. The feed factor: 0 stands for 1; any other factor overrides the feed
  // for this element only.
  c.FeedOverrideWord = 0;
  if (c.FeedFactor == 0.0) c.FeedFactor = 1.0;
  double feed = ContourFeed();
  if (c.FeedFactor != 1.0) {
    c.FeedOverrideWord = 0xFFFF;
    feed *= c.FeedFactor;
  }
  int status = 0;
  if ((c.ElementOutputWord & kLinearPath) != 0) {
    status = EmitLinearPath(0, feed);
  } else if (R0.d1 == 0.0) {
    status = EmitContourPoint(R0.d4, R0.d5, R1.d7, feed);
  } else {
    // 3. The arc from where the tool stands, its centre given from there.
    const double fromX = c.LastCommandPoint[0], fromY = c.LastCommandPoint[1];
    const double cx = c.ArcCentre[0], cy = c.ArcCentre[1];
    for (double v : {R0.d4, R0.d5, R1.d7, feed, cx, cy, R0.d1}) {
      if (!std::isfinite(v)) return StopWithError(kErrorNotFiniteValue);
    }
    status = EmitPathMove(1, R0.d4, R0.d5, R1.d7, feed, R0.d1, cx - fromX, cy - fromY);
    c.LastCommandPoint = {R0.d4, R0.d5};
    c.LastOutputPoint = {R0.d4, R0.d5};
  }
  c.FeedOverrideWord = 0;
  return status == kStopRun || AbortFlag != 0 ? kStopRun : 0;
}

int RunContext::EmitLinearPath(int /*mode*/, double feed) {
  // The element's end reached in one straight move from where the tool stands.
  return EmitContourPoint(R0.d4, R0.d5, R1.d7, feed);
}

}  // namespace qup
