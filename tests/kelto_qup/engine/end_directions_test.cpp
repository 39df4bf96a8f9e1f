// End directions, turn side, the first direction of a 0x71 command, the
// axis line of a straight move and the choice between two crossings.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

TEST_F(EngineCoreTest, EndDirectionOfLinesArcsAndVanishingArcs) {
  // A line keeps its direction.
  run.R0 = NcElement{};
  run.R0.d2 = 0.6;
  run.R0.d3 = 0.8;
  run.SetEndDirection();
  EXPECT_EQ(run.R0.d2, 0.6);
  // Counter-clockwise arc ending at (10, 0) about the origin (in R3): +Y.
  run.R0 = NcElement{};
  run.R0.d1 = 10.0;
  run.R0.d4 = 10.0;
  run.R3.d4 = 0.0;
  run.R3.d5 = 0.0;
  run.SetEndDirection();
  EXPECT_NEAR(run.R0.d2, 0.0, 1e-15);
  EXPECT_NEAR(run.R0.d3, 1.0, 1e-15);
  // Clockwise: -Y.
  run.R0.d1 = -10.0;
  run.SetEndDirection();
  EXPECT_NEAR(run.R0.d3, -1.0, 1e-15);
  // Radius 0.0004 rounds to 0: the next line's direction.
  run.R0.d1 = 0.0004;
  run.R1 = NcElement{};
  run.R1.d2 = -1.0;
  run.SetEndDirection();
  EXPECT_EQ(run.R0.d2, -1.0);
  EXPECT_EQ(run.R0.d3, 0.0);
}

TEST_F(EngineCoreTest, SideFromNextFollowsTheTurn) {
  table.Line(0, 0, 10, 0);
  table.Line(10, 0, 20, 0);
  LoadTable();
  run.core.SideCheckFlags = 0x8000;
  run.RangeStep = 1;
  struct Case {
    const char* what;
    double dx, dy;
    int side;
  };
  const Case cases[] = {{"straight on", 1, 0, 0}, {"left turn", 0, 1, 0}, {"right turn", 0, -1, kReversedSide}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run.R0 = run.elements[0];
    run.R1 = NcElement{};
    run.R1.d2 = c.dx;
    run.R1.d3 = c.dy;
    run.R1.flags = 0x01050000;
    const NcElement command = run.R2;
    EXPECT_EQ(run.SetSideFromNext(1, 0), 0);
    EXPECT_EQ(run.R1.flags & 0xF0000, c.side);
    EXPECT_EQ(run.R1.flags & 0xFF000000, 0x01000000);  // the high byte stays
    EXPECT_EQ(run.R2.d0, command.d0);                  // R2 is given back
  }
  // Switched off: nothing changes.
  run.core.SideCheckFlags = 0;
  run.R1.flags = 0x50000;
  run.SetSideFromNext(1, 0);
  EXPECT_EQ(run.R1.flags, 0x50000);
}

TEST_F(EngineCoreTest, MoveModeBuildsTheAxisLine) {
  struct Case {
    int flags;
    double dx, dy;
    int elementFlags;
  };
  const Case cases[] = {{0, 1, 0, 3}, {0x04, 0, 1, 3}, {0x08, -1, 0, 3}, {0x0C, 0, -1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    run.R0 = NcElement{};
    run.R0.d1 = 4.0;
    run.core.MoveFlags = c.flags;
    run.SetCurrentFrameArc();
    run.SetMoveMode();
    EXPECT_EQ(run.R0.code, 0x1200);
    EXPECT_EQ(run.R0.d1, 0.0);
    EXPECT_EQ(run.R0.d2, c.dx);
    EXPECT_EQ(run.R0.d3, c.dy);
    EXPECT_EQ(run.core.ArcPassFrame.flags, c.elementFlags);
  }
  run.core.MoveFlags = 0x8002;  // reversed axis move: side bits, direction kept
  run.R0.d2 = 0.6;
  run.SetMoveMode();
  EXPECT_EQ(run.R0.flags, kReversedSide);
  EXPECT_EQ(run.R0.d2, 0.6);
}

TEST_F(EngineCoreTest, CommandQTakesTheTangentAtTheToolPoint) {
  run.R2 = NcElement{};
  run.R2.code = 0x7100;
  run.R1 = NcElement{};
  run.R1.d1 = 5.0;  // counter-clockwise about (0, 0) (centre in d4/d5 here)
  run.core.ReferencePoint = {5.0, 0.0};
  run.core.StartVectorOption = 0x2;
  EXPECT_EQ(run.SetupCommandQ(), 1);
  EXPECT_NEAR(run.R0.d2, 0.0, 1e-15);
  EXPECT_NEAR(run.R0.d3, 1.0, 1e-15);
  EXPECT_NEAR(run.core.StartVector[1], 1.0, 1e-15);
  // Without the option the start vector is cleared.
  run.core.StartVectorOption = 0;
  EXPECT_EQ(run.SetupCommandQ(), 0);
  EXPECT_EQ(run.core.StartVector[1], 0.0);
  // Another kind of command: nothing.
  run.R2.code = 0x7300;
  run.R0.d3 = 9.0;
  EXPECT_EQ(run.SetupCommandQ(), 0);
  EXPECT_EQ(run.R0.d3, 9.0);
}

// R0 the current element (a line point or a circle centre in d4/d5 and again
// in d6/d7), R1 a circle about (10, 0) of radius 5.
class ChooseIntersectionTest : public EngineCoreTest {
 protected:
  void Circle() {
    run.R1 = NcElement{};
    run.R1.code = 0x1300;
    run.R1.d1 = 5.0;
    run.R1.d4 = 10.0;
    run.R1.d5 = 0.0;
    run.R1.flags = 0x00A00000;
  }
  void LineAlongX(double direction) {
    run.R0 = NcElement{};
    run.R0.code = 0x1200;
    run.R0.d2 = direction;
    run.R0.d4 = run.R0.d6 = 0.0;
  }
};

TEST_F(ChooseIntersectionTest, LineTakesTheNearerCrossingAhead) {
  LineAlongX(1.0);
  Circle();
  run.core.MoveStartPoint = {0.0, 0.0};
  ASSERT_EQ(run.ChooseIntersection(), 1);
  EXPECT_NEAR(run.R0.d4, 5.0, 1e-9);
  EXPECT_EQ(run.R1.flags & 0xFFF00000, 0x00A00000);  // the high bits stay
}

TEST_F(ChooseIntersectionTest, LineWithBothCrossingsBehindTakesTheFirst) {
  LineAlongX(1.0);
  Circle();
  run.core.MoveStartPoint = {30.0, 0.0};
  ASSERT_EQ(run.ChooseIntersection(), 1);
  EXPECT_EQ(run.R1.flags & 0xF0000, 0);  // the first crossing: no side bits
  // Which crossing is "first" is IntersectWithNext's choice without the side
  // flag; it must be one of the two.
  EXPECT_TRUE(std::fabs(run.R0.d4 - 5.0) < 1e-9 || std::fabs(run.R0.d4 - 15.0) < 1e-9);
}

TEST_F(ChooseIntersectionTest, MissingCrossingReturnsZero) {
  LineAlongX(1.0);
  run.R0.d4 = run.R0.d6 = 0.0;
  run.R0.d5 = run.R0.d7 = 20.0;  // the line y = 20
  Circle();
  EXPECT_EQ(run.ChooseIntersection(), 0);
}

TEST_F(ChooseIntersectionTest, ArcPrefersTheCrossingReachedFirstInItsSense) {
  // R0: a circle of radius 5 about the origin; R1 the circle about (5, 0):
  // crossings at (2.5, +-4.33). The move starts at (5, 0) on R0.
  for (double sense : {1.0, -1.0}) {
    SCOPED_TRACE(sense);
    run.R0 = NcElement{};
    run.R0.code = 0x1300;
    run.R0.d1 = 5.0 * sense;
    run.R1 = NcElement{};
    run.R1.code = 0x1300;
    run.R1.d1 = 5.0;
    run.R1.d4 = 5.0;
    run.core.MoveStartPoint = {5.0, 0.0};
    ASSERT_EQ(run.ChooseIntersection(), 1);
    EXPECT_NEAR(run.R0.d4, 2.5, 1e-9);
    // Counter-clockwise from (5, 0) the upper crossing comes first; clockwise
    // the one with the larger counter-clockwise angle, the lower.
    EXPECT_NEAR(run.R0.d5, sense * std::sqrt(18.75), 1e-9);
  }
}

}  // namespace
}  // namespace qup::testing
