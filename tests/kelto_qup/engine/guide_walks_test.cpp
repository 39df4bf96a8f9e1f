// Guide-line walks: the joint of a guide nearest to a measured point, the
// length along the guide to it, and the fillet radius taken there.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

class GuideWalkTest : public EngineCoreTest {
 protected:
  // A point, 100 along +X, a quarter arc of radius 20 turning up, 80 up
  // along x = 120, a point.
  void Guide() {
    table.Point(0, 0);
    table.Line(0, 0, 100, 0);
    table.Arc(20, 120, 20, 100, 20);
    table.Line(120, 20, 120, 100);
    table.Point(120, 100);
    LoadTable();
  }
  // The walk from the guide's first point towards (x, y).
  int Nearest(double x, double y) {
    run.RangeStart = 0;
    run.RangeEnd = 4;
    run.RangeStep = 1;
    run.R1 = run.elements[0];
    EXPECT_EQ(run.StartGuideWalk(), 1);
    run.core.GuideStartPoint = {x, y};
    return run.FindNearestJoint();
  }
};

TEST_F(GuideWalkTest, NearestJointAndTheLengthToIt) {
  struct Case {
    const char* what;
    double x, y;
    double length, distance;
  };
  const Case cases[] = {
      {"on the last line, past the arc", 130, 60, 100 + 10 * kPi + 40, 10},
      {"on the first line", 50, 30, 50, 30},
      // (60, 60) lies 60 from both lines: the first joint found stays.
      {"two joints at the same distance", 60, 60, 60, 60},
      // Radially out from the arc's centre at 45 degrees.
      {"on the arc", 100 + 30 * std::sqrt(0.5), 20 - 30 * std::sqrt(0.5), 100 + 5 * kPi, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    table = ElementBuilder{};
    Guide();
    ASSERT_EQ(Nearest(c.x, c.y), 1);
    EXPECT_NEAR(run.R2.d3, c.length, 1e-9);
    EXPECT_NEAR(run.R3.d1, c.distance, 1e-9);
  }
}

TEST_F(GuideWalkTest, GlPositionOfAPointBesideTheGuide) {
  Guide();
  run.R2 = NcElement{};
  run.R2.code = 0x5000;
  run.R2.d2 = JoinFixedPoint(0, 4);
  run.R0 = NcElement{};
  run.R0.d4 = 130.0;
  run.R0.d5 = 60.0;
  run.RangeStart = 77;  // the caller's range words come back
  ASSERT_EQ(run.StepperArcSetup(), 1);
  EXPECT_NEAR(run.R0.d4, 120.0, 1e-9);
  EXPECT_NEAR(run.R0.d5, 60.0, 1e-9);
  // The joint lies behind the point along the guide's start direction (+X):
  // the dot term is negative and the distance stays positive.
  EXPECT_NEAR(run.R2.d2, 10.0, 1e-9);
  EXPECT_EQ(run.RangeStart, 77);
  EXPECT_EQ(run.SweepRule, 0);
}

TEST_F(GuideWalkTest, GlFigureThatDoesNotSetUpStopsWithError26) {
  Guide();
  table.Command(0x7100, 0, 0);
  LoadTable();
  run.R2 = NcElement{};
  run.R2.d2 = JoinFixedPoint(5, 5);  // a command, not geometry
  EXPECT_EQ(run.StepperArcSetup(), 0);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2026"), std::string::npos);
}

// A guide command with bit 0x80 carries the radius itself; a radius on the
// wrong side of the fillet's offset is replaced by the offset.
TEST_F(GuideWalkTest, FilletRadiusFromTheCommandIsClampedToTheOffset) {
  struct Case {
    double commandRadius;
    double radius;
  };
  const Case cases[] = {{8.0, 8.0}, {3.0, 5.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandRadius);
    table = ElementBuilder{};
    Guide();
    NcElement command{};
    command.code = 0x5000;
    command.flags = 0x80;
    command.d0 = c.commandRadius;
    command.d2 = JoinFixedPoint(0, 4);
    run.core.GuideCommandIndex = table.Add(command);
    LoadTable();
    run.core.FilletOffset = 5.0;
    run.R0 = NcElement{};
    run.R0.d4 = 50.0;
    run.R0.d5 = 10.0;
    run.R2 = NcElement{};
    run.R2.number = 99;
    ASSERT_EQ(run.ArcCirclePass(0), 1);
    EXPECT_DOUBLE_EQ(run.FilletRadius, c.radius);
    EXPECT_EQ(run.R2.number, 99);  // the registers come back
    EXPECT_EQ(run.registers.RegisterStackDepth, 0);
  }
}

// Corner radii given at points of a straight guide 100 long: the radius at
// a position is interpolated over the length along the guide between the
// two points around it.
TEST_F(GuideWalkTest, FilletRadiusIsInterpolatedAlongTheGuide) {
  struct Case {
    double x;
    double radius;
  };
  const Case cases[] = {{25, 4.0}, {50, 6.0}, {75, 8.0}, {0, 2.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    table = ElementBuilder{};
    table.Point(0, 0);
    table.Line(0, 0, 100, 0);
    table.Point(100, 0);
    const int first = table.Point(0, 0);  // radius 2 at the start
    table.records.back().d1 = 2.0;
    table.Point(50, 0);  // radius 6 half way
    table.records.back().d1 = 6.0;
    const int last = table.Point(100, 0);  // radius 10 at the end
    table.records.back().d1 = 10.0;
    NcElement command{};
    command.code = 0x5000;
    command.d2 = JoinFixedPoint(0, 2);
    command.d1 = JoinFixedPoint(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last));
    command.d6 = 2.0;
    run.core.GuideCommandIndex = table.Add(command);
    LoadTable();
    run.core.FilletOffset = 1.0;
    run.R0 = NcElement{};
    run.R0.d4 = c.x;
    run.R0.d5 = 5.0;
    ASSERT_EQ(run.ArcCirclePass(0), 1);
    EXPECT_NEAR(run.FilletRadius, c.radius, 1e-9);
    EXPECT_EQ(run.AbortFlag, 0);
  }
}

}  // namespace
}  // namespace qup::testing
