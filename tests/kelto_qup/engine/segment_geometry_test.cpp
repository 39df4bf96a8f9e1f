// Motion segment geometry against segments worked by hand: the pieces from A
// (direction t0) to B (direction t1), the circle through three points, the
// direction at the middle point, and lengths and points along the pieces.
#include <cmath>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

struct Segment {
  double ax, ay, t0x, t0y;
  double bx, by, t1x, t1y;
};

class SegmentGeometryTest : public EngineCoreTest {
 protected:
  // Loads A and B with their directions and builds the pieces.
  void Build(const Segment& s) {
    run.R0 = NcElement{};
    run.R1 = NcElement{};
    run.R0.d4 = s.ax;
    run.R0.d5 = s.ay;
    run.R0.d2 = s.t0x;
    run.R0.d3 = s.t0y;
    run.R1.d4 = s.bx;
    run.R1.d5 = s.by;
    run.R1.d2 = s.t1x;
    run.R1.d3 = s.t1y;
    run.core.ToolNormal = {s.ax, s.ay, 0.0};
    EXPECT_EQ(run.BuildSegmentPieces(), 0);
  }
  // Keeps the built pieces as the segment and measures it.
  double Measure() {
    run.engine.stepping.MotionSegFrame = run.R0;
    run.engine.stepping.MotionSegFrame2 = run.R1;
    run.SegmentLengths();
    return run.R2.d3;
  }
  // The point at `length` along the measured segment.
  std::pair<double, double> PointAt(double length) {
    run.R2.d3 = length;
    run.PointAtLength();
    return {run.R0.d4, run.R0.d5};
  }
};

constexpr double kL = 10.0;

TEST_F(SegmentGeometryTest, EqualPointsBuildNothing) {
  Build({1.0, 2.0, 1.0, 0.0, 1.0004, 2.0, 0.0, 1.0});
  EXPECT_EQ(run.R0.flags, 15);
  EXPECT_EQ(run.R1.flags, 15);
  EXPECT_DOUBLE_EQ(run.R0.d4, 1.0);
  EXPECT_DOUBLE_EQ(run.R1.d4, 1.0004);
}

TEST_F(SegmentGeometryTest, EndsAlongTheChordGiveTheStraightLine) {
  Build({0.0, 0.0, 1.0, 0.0, kL, 0.0, 1.0, 0.0});
  EXPECT_EQ(run.R0.code, 0x1200);
  EXPECT_EQ(run.R0.d1, 0.0);
  EXPECT_DOUBLE_EQ(run.R0.d6, 0.0);
  EXPECT_DOUBLE_EQ(run.R0.d4, kL);
  EXPECT_EQ(run.R1.flags, 0);  // no second piece
  EXPECT_NEAR(Measure(), kL, 1e-12);
  const auto [x, y] = PointAt(4.0);
  EXPECT_NEAR(x, 4.0, 1e-12);
  EXPECT_NEAR(y, 0.0, 1e-12);
  // A length past the end stops at the end.
  const auto [ex, ey] = PointAt(25.0);
  EXPECT_NEAR(ex, kL, 1e-12);
  EXPECT_NEAR(ey, 0.0, 1e-12);
}

TEST_F(SegmentGeometryTest, EqualEndsAcrossTheChordGiveTwoQuarterChordArcsMeetingAtTheMiddle) {
  // Both ends run up (+Y) with the chord to their right: a clockwise half
  // circle about (L/4, 0), then a counter-clockwise one about (3L/4, 0).
  Build({0.0, 0.0, 0.0, 1.0, kL, 0.0, 0.0, 1.0});
  EXPECT_DOUBLE_EQ(run.R0.d1, -kL / 4.0);
  EXPECT_DOUBLE_EQ(run.R1.d1, kL / 4.0);
  EXPECT_NEAR(run.R0.d4, kL / 2.0, 1e-9);
  EXPECT_NEAR(run.R0.d5, 0.0, 1e-9);
  EXPECT_NEAR(run.R0.d6, kL / 4.0, 1e-12);
  EXPECT_NEAR(run.R1.d6, 3.0 * kL / 4.0, 1e-12);
  EXPECT_DOUBLE_EQ(run.R1.d4, kL);
  EXPECT_EQ(run.R1.flags, 15);

  // Two half circles of radius L/4.
  const double half = kPi * kL / 4.0;
  EXPECT_NEAR(Measure(), 2.0 * half, 1e-9);
  EXPECT_NEAR(run.engine.stepping.SegmentRecord.d2, half, 1e-9);
  EXPECT_NEAR(run.engine.stepping.SegmentRecord.d3, half, 1e-9);
  const struct {
    double length, x, y;
  } points[] = {
      {half / 2.0, kL / 4.0, kL / 4.0},                // top of the first arc
      {half + half / 2.0, 3.0 * kL / 4.0, -kL / 4.0},  // bottom of the second
      {3.0 * half, kL, 0.0},                           // past the end: the end
  };
  for (const auto& p : points) {
    const auto [x, y] = PointAt(p.length);
    EXPECT_NEAR(x, p.x, 1e-9) << p.length;
    EXPECT_NEAR(y, p.y, 1e-9) << p.length;
  }
}

TEST_F(SegmentGeometryTest, NearlyAlongTheChordFallsBackToTheCorner) {
  // t1 nearly along the chord makes the S shape's radius smaller than 0.001:
  // the corner of the two end lines, which meet on x = 0.
  const double d = 1e-4;
  Build({0.0, 0.0, 0.0, 1.0, kL, 0.0, std::cos(d), -std::sin(d)});
  EXPECT_EQ(run.R0.code, 0x1200);
  EXPECT_EQ(run.R1.code, 0x1200);
  EXPECT_NEAR(run.R0.d4, 0.0, 1e-9);
  EXPECT_NEAR(run.R0.d5, kL * std::tan(d), 1e-9);
  EXPECT_DOUBLE_EQ(run.R1.d4, kL);
  EXPECT_EQ(run.R1.flags, 15);
}

TEST_F(SegmentGeometryTest, ArcsTooFarApartFallBackToTheCornerThenTheStraightLine) {
  // Both ends 6.25e-6 off the chord: radii of 400000 each way, 800000 apart;
  // the corner lines are parallel, so the chord remains.
  const double e = 6.25e-6;
  const double n = std::hypot(1.0, e);
  Build({0.0, 0.0, 1.0 / n, e / n, kL, 0.0, 1.0 / n, e / n});
  EXPECT_EQ(run.R0.code, 0x1200);
  EXPECT_EQ(run.R0.d1, 0.0);
  EXPECT_DOUBLE_EQ(run.R0.d6, 0.0);
  EXPECT_DOUBLE_EQ(run.R0.d4, kL);
  EXPECT_EQ(run.R1.flags, 0);
}

TEST_F(SegmentGeometryTest, ACrossingOutsideTheSegmentFallsBackToTheArcAboutTheFirstCentre) {
  // The arcs meet at x = 5, which is not between A (x 10) and B (x 0).
  Build({kL, 0.0, 0.0, -1.0, 0.0, 0.0, 0.0, -1.0});
  EXPECT_EQ(run.R0.code, 0x1300);
  EXPECT_DOUBLE_EQ(run.R0.d1, -kL / 4.0);
  EXPECT_NEAR(run.R0.d6, 3.0 * kL / 4.0, 1e-12);  // centre 1
  EXPECT_NEAR(run.R0.d7, 0.0, 1e-12);
  EXPECT_DOUBLE_EQ(run.R0.d4, 0.0);
  EXPECT_EQ(run.R1.flags, 0);
}

TEST_F(SegmentGeometryTest, CircleThroughThreePoints) {
  run.R0.d4 = 0.0, run.R0.d5 = 0.0;
  run.R1.d4 = 1.0, run.R1.d5 = 1.0;
  run.R3.d4 = 2.0, run.R3.d5 = 0.0;
  ASSERT_EQ(run.CircleThroughThreePoints(), 1);
  EXPECT_NEAR(run.R0.d6, 1.0, 1e-12);  // centre
  EXPECT_NEAR(run.R0.d7, 0.0, 1e-12);
  EXPECT_NEAR(run.WorkLength, -1.0, 1e-12);  // radius, negative: a clockwise turn
  EXPECT_NEAR(run.R0.d2, 0.0, 1e-12);        // the tangent at A runs up
  EXPECT_NEAR(run.R0.d3, 1.0, 1e-12);

  run.R0.d4 = 0.0, run.R0.d5 = 0.0;
  run.R1.d4 = 1.0, run.R1.d5 = 1.0;
  run.R3.d4 = 2.0, run.R3.d5 = 2.0;
  EXPECT_EQ(run.CircleThroughThreePoints(), 0);  // collinear
}

TEST_F(SegmentGeometryTest, MiddleDirection) {
  const double r = 1.0 / std::sqrt(2.0), s = 1.0 / std::sqrt(5.0);
  const struct {
    double ax, ay, bx, by, cx, cy;
    int result;
    double dx, dy;
  } cases[] = {
      {0, 0, 1, 1, 2, 0, 1, 1.0, 0.0},                        // the highest middle point
      {0, 0, 1, -1, 2, 0, 1, 1.0, 0.0},                       // the lowest
      {0, 0, 1, 1, 2, 1, 1, 1.0, 0.0},                        // level with the last point
      {0, 1, 1, 1, 2, 3, 0, 0.0, 0.0},                        // level with the first only: undefined
      {0, 0, 1, 1, 2, 2, 0, 0.0, 0.0},                        // collinear
      {0, 0, 1, 1, 2, 3, 1, 0.5 * r + 0.5 * s, 0.5 * r + s},  // rising: the mean chord direction
  };
  for (const auto& c : cases) {
    run.R0.d4 = c.ax, run.R0.d5 = c.ay;
    run.R1.d4 = c.bx, run.R1.d5 = c.by;
    run.R3.d4 = c.cx, run.R3.d5 = c.cy;
    ASSERT_EQ(run.MiddleDirection(), c.result) << c.by << " " << c.cy;
    if (c.result == 0) continue;
    const double length = std::hypot(c.dx, c.dy);
    EXPECT_NEAR(run.R1.d2, c.dx / length, 1e-12);
    EXPECT_NEAR(run.R1.d3, c.dy / length, 1e-12);
  }
}

}  // namespace
}  // namespace qup::testing
