// Range walks over lines and arcs: total length with the lead and extension
// rules, and the point and tangent at a distance along the range.
#include <cmath>
#include <numbers>
#include <vector>

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
// A line as the table holds it: direction, end d4/d5, start d6/d7.
NcElement LineFromTo(double sx, double sy, double ex, double ey) {
  NcElement e;
  e.code = 0x1200;
  const double len = std::hypot(ex - sx, ey - sy);
  e.d2 = (ex - sx) / len;
  e.d3 = (ey - sy) / len;
  e.d4 = ex;
  e.d5 = ey;
  e.d6 = sx;
  e.d7 = sy;
  return e;
}
// An arc as the table holds it: signed radius, end d4/d5, centre d6/d7.
NcElement ArcTo(double ex, double ey, double cx, double cy, double r) {
  NcElement e;
  e.code = 0x1300;
  e.d1 = r;
  e.d4 = ex;
  e.d5 = ey;
  e.d6 = cx;
  e.d7 = cy;
  return e;
}

class RangeWalkTest : public ::testing::Test {
 protected:
  void Load(const std::vector<NcElement>& elements) {
    ctx.AllocElementTable(0, static_cast<int>(elements.size()));
    for (std::size_t i = 0; i < elements.size(); ++i) ctx.elements[static_cast<int>(i)] = elements[i];
    ctx.elements.ElementCount = static_cast<int>(elements.size());
  }
  RecordingHost host;
  RunContext ctx{host};
};

constexpr double kQuarter = 10.0 * std::numbers::pi / 2.0;  // quarter arc of radius 10

TEST_F(RangeWalkTest, MeasureFromAnOpeningPoint) {
  Load({PointAt(0, 0), LineFromTo(0, 0, 10, 0), ArcTo(20, 10, 10, 10, 10)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 2, 1), 10.0 + kQuarter, 1e-9);
  EXPECT_NEAR(ctx.engine.RangeFirstStartX, 0.0, 1e-12);
  EXPECT_NEAR(ctx.engine.RangeLastEndX, 20.0, 1e-12);
  EXPECT_EQ(ctx.engine.RangeElementCount, 2);
  // The table keeps its records: the walk works on copies.
  EXPECT_EQ(ctx.elements[2].d6, 10.0);
}

TEST_F(RangeWalkTest, LeadAndExtensionOfLines) {
  // A range opened by a line takes its lead 50 back from that line's end;
  // the last line is always 50 long from its start.
  Load({LineFromTo(0, 0, 10, 0), LineFromTo(10, 0, 10, 30)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 1, 1), 50.0 + 50.0, 1e-9);
  // A lone line: 100 back from its start, 200 long.
  Load({LineFromTo(0, 0, 10, 0)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 0, 2), 200.0, 1e-9);
  EXPECT_NEAR(ctx.engine.RangeFirstStartX, -100.0, 1e-9);
}

TEST_F(RangeWalkTest, LeadModeZeroMeetsTheLineXZero) {
  // The line y = 5 from x = 10 towards +X meets X = 0 at (0, 5): its lead.
  Load({LineFromTo(10, 5, 20, 5), LineFromTo(20, 5, 30, 5)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 1, 0), 20.0 + 50.0, 1e-9);
  EXPECT_NEAR(ctx.engine.RangeFirstStartX, 0.0, 1e-9);
  // A vertical line never meets X = 0: mode 1's lead, 50 back from the end.
  Load({LineFromTo(10, 0, 10, 20), LineFromTo(10, 20, 30, 20)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 1, 0), 50.0 + 50.0, 1e-9);
}

TEST_F(RangeWalkTest, PointInsideTheRangeEndsTheWalk) {
  Load({PointAt(0, 0), LineFromTo(0, 0, 10, 0), PointAt(10, 0), LineFromTo(10, 0, 10, 30)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 3, 1), 10.0, 1e-9);
}

TEST_F(RangeWalkTest, ArcWithoutSweepIsAWholeCircle) {
  Load({PointAt(10, 0), ArcTo(10, 0, 0, 0, 10)});
  EXPECT_NEAR(ctx.MeasureElementRange(0, 1, 1), 2.0 * std::numbers::pi * 10.0, 1e-9);
}

TEST_F(RangeWalkTest, PointAtLengthOnLinesArcsAndBeyond) {
  const std::vector<NcElement> range = {PointAt(0, 0), LineFromTo(0, 0, 10, 0), ArcTo(20, 10, 10, 10, 10)};
  struct Case {
    double s, x, y, tx, ty;
  };
  const double h = std::sqrt(0.5);
  const Case cases[] = {
      {5.0, 5.0, 0.0, 1.0, 0.0},
      {10.0, 10.0, 0.0, 1.0, 0.0},
      {10.0 + kQuarter / 2, 10.0 + 10.0 * h, 10.0 - 10.0 * h, h, h},
      {10.0 + kQuarter, 20.0, 10.0, 0.0, 1.0},
      // Beyond the range: on the last arc's circle, a further quarter on.
      {10.0 + 2 * kQuarter, 10.0, 20.0, -1.0, 0.0},
  };
  for (const Case& c : cases) {
    Load(range);
    ctx.PointAtLength(c.s, 0, 2, 1);
    EXPECT_NEAR(ctx.engine.WalkPointX, c.x, 1e-9) << c.s;
    EXPECT_NEAR(ctx.engine.WalkPointY, c.y, 1e-9) << c.s;
    EXPECT_NEAR(ctx.engine.WalkTangentX, c.tx, 1e-9) << c.s;
    EXPECT_NEAR(ctx.engine.WalkTangentY, c.ty, 1e-9) << c.s;
  }
  // On a line the work vector is the left normal.
  Load({PointAt(0, 0), LineFromTo(0, 0, 0, 10), LineFromTo(0, 10, 0, 20)});
  ctx.PointAtLength(5, 0, 2, 1);
  EXPECT_NEAR(ctx.WorkVectorX(), -1.0, 1e-12);
  EXPECT_NEAR(ctx.WorkVectorY(), 0.0, 1e-12);
  // Beyond a range that ends in a line: on its extension.
  ctx.PointAtLength(10 + 50 + 7, 0, 2, 1);
  EXPECT_NEAR(ctx.engine.WalkPointY, 67.0, 1e-9);
}

TEST_F(RangeWalkTest, ClockwiseArcTurnsTheOtherWay) {
  // From (10, 0) clockwise about the origin: a quarter on is (0, -10).
  Load({PointAt(10, 0), ArcTo(0, -10, 0, 0, -10), PointAt(0, 0)});
  ctx.PointAtLength(kQuarter, 0, 1, 1);
  EXPECT_NEAR(ctx.engine.WalkPointX, 0.0, 1e-9);
  EXPECT_NEAR(ctx.engine.WalkPointY, -10.0, 1e-9);
  EXPECT_NEAR(ctx.engine.WalkTangentX, -1.0, 1e-9);
  EXPECT_NEAR(ctx.engine.WalkTangentY, 0.0, 1e-9);
}

TEST_F(RangeWalkTest, WalkStopsWhenTheRunStops) {
  Load({PointAt(0, 0), LineFromTo(0, 0, 10, 0), LineFromTo(10, 0, 20, 0)});
  ctx.AbortFlag = kStopRun;
  EXPECT_EQ(ctx.MeasureElementRange(0, 2, 1), 0.0);
}

}  // namespace
}  // namespace qup
