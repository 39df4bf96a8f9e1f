// Where the current element meets the next: lines, circles, the chord line
// of two circles, touching and parallel cases, and the line-ellipse routine.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

// A line through (px, py) with direction (dx, dy) (normalised here).
NcElement Line(double px, double py, double dx, double dy) {
  NcElement e;
  e.code = 0x1200;
  const double len = std::hypot(dx, dy);
  e.d2 = dx / len;
  e.d3 = dy / len;
  e.d4 = px;
  e.d5 = py;
  return e;
}
// A circle as the intersection routines read it: centre in d4/d5.
NcElement Circle(double cx, double cy, double r, int flags = 0) {
  NcElement e;
  e.code = 0x1300;
  e.d1 = r;
  e.d4 = cx;
  e.d5 = cy;
  e.flags = flags;
  return e;
}

class IntersectTest : public ::testing::Test {
 protected:
  int Run(const NcElement& a, const NcElement& b) {
    ctx.R0 = a;
    ctx.R1 = b;
    return ctx.IntersectWithNext();
  }
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(IntersectTest, LineWithLine) {
  ASSERT_EQ(Run(Line(0, 0, 1, 0), Line(5, -3, 0, 1)), 1);
  EXPECT_NEAR(ctx.R0.d4, 5, 1e-12);
  EXPECT_NEAR(ctx.R0.d5, 0, 1e-12);
  EXPECT_EQ(ctx.registers.WorkLength, 1.0);
  ASSERT_EQ(Run(Line(1, 1, 1, 1), Line(4, 0, -1, 1)), 1);
  EXPECT_NEAR(ctx.R0.d4, 2, 1e-12);
  EXPECT_NEAR(ctx.R0.d5, 2, 1e-12);
}

TEST_F(IntersectTest, ParallelLinesMeetNowhereAndLeaveR0) {
  const NcElement a = Line(0, 0, 1, 0);
  // Cross product 0.000009: still parallel.
  ASSERT_EQ(Run(a, Line(0, 1, 1, 0.000009)), 0);
  EXPECT_EQ(ctx.R0.d4, 0);
  EXPECT_EQ(ctx.R0.d5, 0);
  EXPECT_EQ(Run(a, Line(0, 1, -1, 0)), 0);
  // 0.00002 is no longer parallel.
  EXPECT_EQ(Run(a, Line(0, 1, 1, 0.00002)), 1);
}

TEST_F(IntersectTest, LineWithCircleChoosesByRadiusSignAndSide) {
  struct Case {
    double radius;
    int flags;
    double x;
  };
  // Line y = 0 towards +X through the circle of radius 5 at the origin.
  const Case cases[] = {
      {5, 0, 5},        {-5, 0, -5},     {5, 0x50000, -5},
      {-5, 0x50000, 5}, {5, 0x10000, 5},  // only the whole nibble 5 marks the reversed side
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(Line(-10, 0, 1, 0), Circle(0, 0, c.radius, c.flags)), 1);
    EXPECT_NEAR(ctx.R0.d4, c.x, 1e-12) << c.radius << " " << c.flags;
    EXPECT_NEAR(ctx.R0.d5, 0, 1e-12);
    EXPECT_EQ(ctx.registers.WorkLength, 1.0);
  }
}

TEST_F(IntersectTest, LineTouchingACircleWithinTolerance) {
  // Distance r + 0.0005 from the centre counts as touching: the foot point.
  ASSERT_EQ(Run(Line(-10, 5.0005, 1, 0), Circle(2, 0, 5)), 1);
  EXPECT_NEAR(ctx.R0.d4, 2, 1e-12);
  EXPECT_NEAR(ctx.R0.d5, 5.0005, 1e-12);
  EXPECT_EQ(ctx.registers.WorkLength, 0.0);
  // r + 0.002 misses.
  EXPECT_EQ(Run(Line(-10, 5.002, 1, 0), Circle(2, 0, 5)), 0);
}

TEST_F(IntersectTest, CircleWithLine) {
  // Circle first: without the reversed side a positive radius takes the
  // crossing behind the line's direction.
  ASSERT_EQ(Run(Circle(0, 0, 5), Line(0, 3, 1, 0)), 1);
  EXPECT_NEAR(ctx.R0.d4, -4, 1e-12);
  EXPECT_NEAR(ctx.R0.d5, 3, 1e-12);
  ASSERT_EQ(Run(Circle(0, 0, 5), Line(0, 3, 1, 0)), 1);
  NcElement reversed = Line(0, 3, 1, 0);
  reversed.flags = 0x50000;
  ASSERT_EQ(Run(Circle(0, 0, 5), reversed), 1);
  EXPECT_NEAR(ctx.R0.d4, 4, 1e-12);
}

TEST_F(IntersectTest, CircleWithCircle) {
  // Radius 5 at (0,0) and (6,0): crossings (3, 4) and (3, -4).
  ASSERT_EQ(Run(Circle(0, 0, 5), Circle(6, 0, 5)), 1);
  EXPECT_NEAR(ctx.R0.d4, 3, 1e-9);
  EXPECT_NEAR(std::fabs(ctx.R0.d5), 4, 1e-9);
  const double first = ctx.R0.d5;
  // The other radius sign of R1 selects the other crossing.
  ASSERT_EQ(Run(Circle(0, 0, 5), Circle(6, 0, -5)), 1);
  EXPECT_NEAR(ctx.R0.d4, 3, 1e-9);
  EXPECT_NEAR(ctx.R0.d5, -first, 1e-9);
}

TEST_F(IntersectTest, CirclesTouchingConcentricAndApart) {
  // From outside: radius 2 at (0,0), radius 3 at (5,0) meet at (2, 0).
  ASSERT_EQ(Run(Circle(0, 0, 2), Circle(5, 0, 3)), 1);
  EXPECT_NEAR(ctx.R0.d4, 2, 1e-12);
  EXPECT_NEAR(ctx.R0.d5, 0, 1e-12);
  EXPECT_EQ(ctx.registers.WorkLength, 0.0);
  // From inside: radius 2 at (1,0) inside radius 3 at (0,0): at (3, 0).
  ASSERT_EQ(Run(Circle(1, 0, 2), Circle(0, 0, 3)), 1);
  EXPECT_NEAR(ctx.R0.d4, 3, 1e-12);
  EXPECT_EQ(ctx.registers.WorkLength, 0.0);
  // Centres closer than 0.001: concentric, no answer.
  EXPECT_EQ(Run(Circle(0, 0, 2), Circle(0.0009, 0, 3)), 0);
  // Apart and nested without contact.
  EXPECT_EQ(Run(Circle(0, 0, 2), Circle(10, 0, 3)), 0);
  EXPECT_EQ(Run(Circle(0, 0, 1), Circle(0.5, 0, 5)), 0);
}

TEST_F(IntersectTest, LineWithEllipse) {
  NcElement ellipse;
  ellipse.code = 0x1400;
  ellipse.d0 = 4;  // semi-axis along the axis direction, counter-clockwise
  ellipse.d1 = 2;
  ellipse.d2 = 1;
  ellipse.d3 = 0;
  ellipse.d4 = 10;
  ellipse.d5 = 0;
  // The ellipse first, a horizontal line through its centre second.
  ASSERT_EQ(Run(ellipse, Line(0, 0, 1, 0)), 1);
  EXPECT_NEAR(ctx.R0.d4, 6, 1e-9);
  EXPECT_NEAR(ctx.R0.d5, 0, 1e-9);
  const NcElement& hit = ctx.registers.CurveHitRecord;
  EXPECT_EQ(hit.flags, 1);
  EXPECT_GT(hit.d0, 0.0);
  EXPECT_NEAR(ctx.registers.WorkLength, hit.d0, 0);
  // At the left vertex of a counter-clockwise ellipse the tangent points -Y.
  EXPECT_NEAR(hit.d2, 0, 1e-9);
  EXPECT_NEAR(hit.d3, -1, 1e-9);
  // A vertical line (across the axis) at x = 12: v = 2 sqrt(16-4)/4.
  ASSERT_EQ(Run(Line(12, -10, 0, 1), ellipse), 1);
  EXPECT_NEAR(ctx.R0.d4, 12, 1e-9);
  EXPECT_NEAR(std::fabs(ctx.R0.d5), std::sqrt(3.0), 1e-9);
  EXPECT_EQ(ctx.registers.CurveHitRecord.flags, 2);
  // A line that passes by gives 0 and a negative discriminant.
  EXPECT_EQ(Run(ellipse, Line(0, 5, 1, 0)), 0);
  EXPECT_LT(ctx.registers.CurveHitRecord.d0, 0.0);
  // Two curves are not a pair this routine solves.
  EXPECT_EQ(ctx.IntersectLineWithCurve(ellipse, ellipse).d0, -1.0);
}

}  // namespace
}  // namespace qup
