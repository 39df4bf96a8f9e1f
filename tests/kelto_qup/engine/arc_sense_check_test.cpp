// The contour arc-sense check over an element range.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

NcElement PointAt(double x, double y) {
  NcElement e;
  e.code = 0x1100;
  e.d4 = e.d6 = x;
  e.d5 = e.d7 = y;
  return e;
}
// An arc ending at (ex, ey) about (cx, cy); as the table holds it.
NcElement ArcTo(double ex, double ey, double cx, double cy, double r, int code = 0x1300) {
  NcElement e;
  e.code = code;
  e.d1 = r;
  e.d4 = ex;
  e.d5 = ey;
  e.d6 = cx;
  e.d7 = cy;
  return e;
}

class ArcSenseTest : public ::testing::Test {
 protected:
  int Check(std::initializer_list<NcElement> range, int end = -1) {
    ctx.AllocElementTable(0, static_cast<int>(range.size()) + 1);
    int i = 0;
    for (const NcElement& e : range) ctx.elements[i++] = e;
    ctx.RangeStart = 0;
    ctx.RangeEnd = end < 0 ? i : end;
    return ctx.Style_Check();
  }
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(ArcSenseTest, Cases) {
  const NcElement start = PointAt(10, 0);
  // Quarter arc from (10,0) to (0,10) about the origin: counter-clockwise.
  EXPECT_EQ(Check({start, ArcTo(0, 10, 0, 0, 10), start}), 1);
  EXPECT_EQ(Check({start, ArcTo(0, 10, 0, 0, -10), start}), 2);
  // Clockwise quarter with a negative radius.
  EXPECT_EQ(Check({start, ArcTo(0, -10, 0, 0, -10), start}), 1);
  // Half a circle fails whatever the sign; so does more than half.
  EXPECT_EQ(Check({start, ArcTo(-10, 0, 0, 0, 10), start}), 2);
  EXPECT_EQ(Check({start, ArcTo(-10, 0, 0, 0, -10), start}), 2);
  EXPECT_EQ(Check({start, ArcTo(0, -10, 0, 0, 10), start}), 2);
  // Other arc codes are passed over; a range of one or two gives 1.
  EXPECT_EQ(Check({start, ArcTo(0, -10, 0, 0, 10, 0x1301), start}), 1);
  EXPECT_EQ(Check({start}), 1);
  // The element at RangeEnd itself is never examined.
  EXPECT_EQ(Check({start, ArcTo(0, -10, 0, 0, 10)}, 1), 1);
  EXPECT_EQ(Check({start, ArcTo(0, -10, 0, 0, 10)}, 2), 2);
}

TEST_F(ArcSenseTest, PreviousPointFollowsEveryElement) {
  NcElement line;
  line.code = 0x1200;
  line.d4 = 0;
  line.d5 = 10;
  // The line ends at (0,10); the arc from there to (-10,0) about the origin
  // turns counter-clockwise by a quarter.
  EXPECT_EQ(Check({PointAt(10, 0), line, ArcTo(-10, 0, 0, 0, 10), PointAt(0, 0)}), 1);
}

}  // namespace
}  // namespace qup
