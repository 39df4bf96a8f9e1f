// Fetching and offsetting the next element: offsets by mode, arcs swallowed
// by their offset, backward walks, skips, the straight command's axis line,
// and hand-over indices that name no element.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

TEST_F(EngineCoreTest, NoOffsetOrZeroOffsetAcceptsTheElementUnchanged) {
  table.Line(0, 0, 10, 0);
  LoadTable();
  for (int mode : {0, 1}) {
    SetRange(0, 0, 0.0, mode);
    run.R1 = run.elements[0];
    EXPECT_EQ(run.FetchNextElement(0), 1);
    EXPECT_EQ(run.R1.d4, 10.0);
    EXPECT_EQ(run.R1.d5, 0.0);
    EXPECT_EQ(run.R1.d7, 0.0);
  }
}

TEST_F(EngineCoreTest, LineOffsetGoesToTheLeftOfTravel) {
  table.Line(0, 0, 10, 0);
  LoadTable();
  SetRange(0, 0, 2.5);
  run.R1 = run.elements[0];
  ASSERT_EQ(run.FetchNextElement(0), 1);
  EXPECT_DOUBLE_EQ(run.R1.d5, 2.5);
  EXPECT_DOUBLE_EQ(run.R1.d7, 2.5);
  EXPECT_DOUBLE_EQ(run.R1.d4, 10.0);
  EXPECT_DOUBLE_EQ(run.R1.d6, 0.0);
}

// An arc of radius 5: offsets of 5 and 6 swallow it (radius 0 or a sign
// change) and the walk takes the next element; 4.999 leaves radius 0.001.
TEST_F(EngineCoreTest, ArcSwallowedByItsOffsetIsSkipped) {
  struct Case {
    double offset;
    bool kept;
    double radius;
  };
  const Case cases[] = {{5.0, false, 0.0}, {6.0, false, 0.0}, {4.999, true, 0.001}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    table = ElementBuilder{};
    table.Arc(5.0, 0, 5, 0, 0);  // quarter circle (5,0) -> (0,5) about the origin
    table.Line(0, 5, -10, 5);
    LoadTable();
    SetRange(0, 1, c.offset);
    run.R1 = run.elements[0];
    ASSERT_EQ(run.FetchNextElement(0), 1);
    if (c.kept) {
      EXPECT_EQ(run.RangeStart, 0);
      EXPECT_NEAR(run.R1.d1, c.radius, 1e-12);
      // The end point moved towards the centre by the offset.
      EXPECT_NEAR(run.R1.d5, 5.0 - c.offset, 1e-12);
      EXPECT_FALSE(Consumed(0));
    } else {
      EXPECT_EQ(run.RangeStart, 1);
      EXPECT_TRUE(Consumed(0));
      EXPECT_EQ(run.R1.code, 0x1200);
      EXPECT_NEAR(run.R1.d5, 5.0 - c.offset, 1e-12);  // the line, offset to its left (-Y)
    }
  }
}

TEST_F(EngineCoreTest, SkipAtTheRangeEndReturnsZeroWithoutLoading) {
  table.Arc(5.0, 0, 5, 0, 0);
  table.Line(0, 5, -10, 5);
  LoadTable();
  SetRange(0, 0, 6.0);
  run.R1 = run.elements[0];
  EXPECT_EQ(run.FetchNextElement(0), 0);
  EXPECT_EQ(run.RangeStart, 0);
  EXPECT_TRUE(Consumed(0));
  EXPECT_EQ(run.R1.code, 0x1300);
}

TEST_F(EngineCoreTest, SkipOntoAPointReturnsZeroWithThePointInR1) {
  table.Arc(5.0, 0, 5, 0, 0);
  table.Point(0, 5);
  LoadTable();
  SetRange(0, 1, 6.0);
  run.R1 = run.elements[0];
  EXPECT_EQ(run.FetchNextElement(0), 0);
  EXPECT_EQ(run.R1.code, 0x1100);
  EXPECT_EQ(run.RangeStart, 1);
}

TEST_F(EngineCoreTest, BackwardWalkReversesBeforeOffsetting) {
  table.Arc(5.0, 0, 5, 0, 0);
  LoadTable();
  SetRange(0, 0, 1.0);
  run.RangeStep = -1;
  run.R1 = run.elements[0];
  ASSERT_EQ(run.FetchNextElement(0), 1);
  // Reversed: clockwise radius -5; a positive offset goes to the left of the
  // new travel, away from the centre.
  EXPECT_DOUBLE_EQ(run.R1.d1, -6.0);
  EXPECT_NEAR(run.R1.d5, 6.0, 1e-12);
}

TEST_F(EngineCoreTest, ScaleModeScalesAboutTheCommandPoint) {
  struct Case {
    double percent;
    double x, y, radius;
  };
  // Arc end (10, 20), centre (10, 10), radius 10; scale centre (0, 0).
  const Case cases[] = {{100.0, 10, 20, 10}, {50.0, 5, 10, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    table = ElementBuilder{};
    table.Arc(10.0, 10, 20, 10, 10);
    LoadTable();
    SetRange(0, 0, c.percent, 3);
    run.core.StoredOffset = 0.0;  // the trial offset keeps the arc as it is
    run.R1 = run.elements[0];
    ASSERT_EQ(run.FetchNextElement(0), 1);
    EXPECT_DOUBLE_EQ(run.R1.d4, c.x);
    EXPECT_DOUBLE_EQ(run.R1.d5, c.y);
    EXPECT_DOUBLE_EQ(run.R1.d1, c.radius);
    EXPECT_EQ(run.R2.d1, c.percent);  // the command's value is given back
  }
}

// The trial of the shift mode swallows the arc: the command's own value must
// come back, or every later element would be shifted by the stored offset.
TEST_F(EngineCoreTest, ShiftModeKeepsTheCommandValueAfterASkip) {
  table.Arc(5.0, 0, 5, 0, 0);
  table.Line(0, 5, -10, 5);
  LoadTable();
  SetRange(0, 1, 3.0, 2);
  run.R2.d2 = 1.0;  // shift direction (1, 0) times the command value 3
  run.R2.d3 = 0.0;
  run.core.StoredOffset = 6.0;
  run.R1 = run.elements[0];
  ASSERT_EQ(run.FetchNextElement(0), 1);
  EXPECT_EQ(run.R2.d1, 3.0);
  EXPECT_TRUE(Consumed(0));
  // The line (0,5) -> (-10,5): the stored offset 6 to its left (-Y), then
  // the shift 3 along +X.
  EXPECT_DOUBLE_EQ(run.R1.d4, -10.0 + 3.0);
  EXPECT_DOUBLE_EQ(run.R1.d5, 5.0 - 6.0);
}

TEST_F(EngineCoreTest, StraightCommandBuildsItsAxisLine) {
  struct Case {
    int sub;
    double dx, dy, px, py;
  };
  const Case cases[] = {
      {0x10, 1, 0, 0, 7}, {0x20, -1, 0, 0, 7}, {0x30, 0, 1, 7, 0}, {0x40, 0, -1, 7, 0}, {0x90, 0, 1, 7, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sub);
    run.R2 = NcElement{};
    run.R2.code = 0x7300;
    run.R2.flags = c.sub;
    run.R2.d4 = 7.0;
    run.core.OffsetMode = 0;
    EXPECT_EQ(run.SetupCommand(), 1);
    EXPECT_EQ(run.R1.code, 0x1200);
    EXPECT_DOUBLE_EQ(run.R1.d2, c.dx);
    EXPECT_DOUBLE_EQ(run.R1.d3, c.dy);
    EXPECT_DOUBLE_EQ(run.R1.d4, c.px);
    EXPECT_DOUBLE_EQ(run.R1.d5, c.py);
    EXPECT_EQ(run.R2.d4, 0.0);
  }
  // 0x50: through the origin at 30 degrees.
  run.R2 = NcElement{};
  run.R2.code = 0x7300;
  run.R2.flags = 0x50;
  run.R2.d4 = 30.0;
  ASSERT_EQ(run.SetupCommand(), 1);
  EXPECT_NEAR(run.R1.d2, std::sqrt(3.0) / 2.0, 1e-15);
  EXPECT_NEAR(run.R1.d3, 0.5, 1e-15);
  EXPECT_EQ(run.R1.d4, 0.0);
}

TEST_F(EngineCoreTest, SetupCommandTakesTheRangeAndItsDirection) {
  table.Line(0, 0, 10, 0);
  table.Command(0x7100, 0, 0);
  LoadTable();
  run.R2 = run.elements[1];
  run.RangeStart = 0;
  run.RangeEnd = 0;
  run.RangeOptions = 0x08;  // backwards
  EXPECT_EQ(run.SetupCommand(), 1);
  EXPECT_EQ(run.RangeStep, -1);
  EXPECT_EQ(run.R1.d2, -1.0);
  // A command as the first element is refused.
  run.RangeStart = 1;
  EXPECT_EQ(run.SetupCommand(), 0);
}

TEST_F(EngineCoreTest, IndexThatNamesNoElementStopsWithError11) {
  table.Line(0, 0, 10, 0);
  LoadTable();
  run.R2 = NcElement{};
  run.RangeStart = 5;  // a packed range from the hand-over beyond the table
  EXPECT_EQ(run.SetupCommand(), kStopRun);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2011"), std::string::npos);
}

TEST_F(EngineCoreTest, StepNextElementWalksOverCommandsToTheNextGeometry) {
  table.Line(0, 0, 10, 0);
  table.Command(0x7500, 0, 0);
  table.Line(10, 0, 10, 10);
  LoadTable();
  SetRange(0, 2, 0.0, 0);
  run.R1 = run.elements[0];
  EXPECT_EQ(run.StepNextElement(), 1);
  EXPECT_EQ(run.RangeStart, 2);
  EXPECT_EQ(run.R0.d4, 10.0);
  EXPECT_EQ(run.R1.d3, 1.0);
  EXPECT_EQ(run.StepNextElement(), 0);
}

}  // namespace
}  // namespace qup::testing
