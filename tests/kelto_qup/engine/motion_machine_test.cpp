// The path-motion state machine: the exits of a kind-0 motion, the section
// walk's 180-degree wrap, the arc step of a zero sweep, segments without
// extent (a zero divisor) failing the motion and the section driver stopping
// with error 19, and the range words given back after every exit.
#include <cmath>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

double Pack(std::uint32_t whole, std::uint32_t millionths) { return JoinFixedPoint(whole, millionths); }

class MotionMachineTest : public EngineCoreTest {
 protected:
  void SetRangeWords() {
    run.RangeStart = 11;
    run.RangeEnd = 12;
    run.RangeStep = -1;
    run.RangeOptions = 8;
  }
  void ExpectRangeWords() {
    EXPECT_EQ(run.RangeStart, 11);
    EXPECT_EQ(run.RangeEnd, 12);
    EXPECT_EQ(run.RangeStep, -1);
    EXPECT_EQ(run.RangeOptions, 8);
  }
};

TEST_F(MotionMachineTest, KindZeroEndsWithTheStoredEndValues) {
  const struct {
    std::uint32_t third;  // the third range value word
    double dx, dy;        // the direction of the result
    double d0;
  } cases[] = {
      {0, 0.6, 0.8, 0.0},     // through 20117: the start record's direction
      {2, 0.0, 1.0, 0.0},     // through 20115: the command's direction
      {3, 0.0, 1.0, -100.0},  // range word 3 = 3: d0 = -ScaleBase
  };
  table.Point(0.0, 0.0);
  LoadTable();
  for (const auto& c : cases) {
    NcElement& start = run.core.StoredStatePairs[0][0];
    start = NcElement{};
    start.d0 = 4.0;
    start.d1 = 7.0;
    start.d2 = 0.6;
    start.d3 = 0.8;
    start.d4 = Pack(5, 7);
    start.d5 = Pack(c.third, 9);
    run.SubtypeWord = 0;
    run.engine.stepping.KeptMotionKind = 0;
    run.R0 = NcElement{};
    run.R0.d4 = 1.5;
    run.R1 = NcElement{};
    run.R2 = NcElement{};
    run.R2.d2 = 0.0;
    run.R2.d3 = 1.0;
    SetRangeWords();
    const auto before = run.registers.R;
    ASSERT_EQ(run.RunMotionMachine(2), 1) << c.third;
    const NcElement& result = run.engine.stepping.MotionResultFrame;
    EXPECT_DOUBLE_EQ(result.d4, 4.0);
    EXPECT_DOUBLE_EQ(result.d5, 7.0);
    EXPECT_DOUBLE_EQ(result.d0, c.d0);
    EXPECT_DOUBLE_EQ(result.d1, 0.0);
    EXPECT_DOUBLE_EQ(result.d2, c.dx);
    EXPECT_DOUBLE_EQ(result.d3, c.dy);
    // The start record keeps the end values' packed point.
    EXPECT_NEAR(run.core.StoredStatePairs[0][0].d4, 5.000007, 1e-12);
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(run.registers.R[static_cast<std::size_t>(r)].DoubleValues(),
                before[static_cast<std::size_t>(r)].DoubleValues());
    }
    ExpectRangeWords();
  }
}

TEST_F(MotionMachineTest, SectionAnglesAboveHalfATurnWrapOnNegativeSections) {
  // A value section, then angle sections at -100 and 10 degrees. A target of
  // 200 degrees is -160 among negative angles: the walk stops at the first
  // angle section. A target of 170 does not wrap and walks to the last one.
  table.Point(0.0, 0.0);
  const int line = table.Line(0.0, 0.0, 10.0, 0.0);
  const struct {
    int code;
    double value;
  } sections[] = {{0x5500, -170.0}, {0x5400, -100.0}, {0x5400, 10.0}};
  int first = 0;
  for (const auto& s : sections) {
    NcElement e{};
    e.code = s.code;
    e.d5 = s.value;
    e.d1 = Pack(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(line));
    const int index = table.Add(e);
    if (first == 0) first = index;
  }
  LoadTable();
  const struct {
    double target;
    double found;
  } cases[] = {{200.0, -100.0}, {170.0, 10.0}};
  for (const auto& c : cases) {
    run.AbortFlag = 0;
    run.SubtypeWord = 0;
    run.engine.stepping.KeptMotionKind = 1;
    NcElement& start = run.core.StoredStatePairs[0][0];
    start = NcElement{};
    // A value section takes its target from R0's d6, where the motion puts
    // the stored centre.
    run.engine.stepping.MotionStoredCentre = {c.target, 0.0};
    run.R2 = NcElement{};
    run.R2.d1 = Pack(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(first + 2));
    SetRangeWords();
    run.RunMotionMachine(2);
    EXPECT_DOUBLE_EQ(run.core.ToolNormal[2], c.found) << c.target;
    ExpectRangeWords();
  }
}

TEST_F(MotionMachineTest, ArcStepOfAZeroSweepTurnsNothing) {
  const struct { double sweep, dx, dy; } cases[] = {{1e-14, 2.0, 0.0}, {0.0, 2.0, 0.0}, {90.0, 0.0, 2.0}};
  for (const auto& c : cases) {
    run.R0 = NcElement{};
    run.R0.d1 = 2.0;
    run.R2.d2 = 45.0;
    run.core.ToolNormal[2] = c.sweep;
    run.MotionArcStep();
    EXPECT_NEAR(run.R0.d4, c.dx, 1e-12) << c.sweep;
    EXPECT_NEAR(run.R0.d5, c.dy, 1e-12) << c.sweep;
    EXPECT_EQ(run.R3.d4, run.R0.d4);
  }
}

// A motion of kind 7 over four lines whose segment set-ups leave no extent:
// with the bounding element level (d3 = 0) the segment's length has no
// ratio, with a sloped one the interpolation factor has no span. Either way
// the motion fails, and the section driver stops with error 19.
class ZeroDivisorTest : public MotionMachineTest {
 protected:
  void Build(bool levelElement) {
    table.Point(0.0, 0.0);
    table.Line(0.0, 0.0, 1.0, 2.0);
    if (levelElement) {
      table.Line(1.0, 2.0, 3.0, 2.0);
    } else {
      table.Line(1.0, 2.0, 3.0, 4.0);
    }
    table.Line(3.0, 2.0, 4.0, 1.0);
    table.Line(4.0, 1.0, 6.0, 1.0);
    NcElement command{};
    command.code = 0x5900;
    command5900 = table.Add(command);
    LoadTable();
    auto& s = run.engine.stepping;
    run.SubtypeWord = 0;
    s.KeptMotionKind = 7;
    s.MotionElemA = 2;
    s.MotionElemB = 4;
    run.core.StraightFeedSwitch = 1;
    run.core.PreviousFrames[0] = NcElement{};
    run.core.PreviousFrames[0].d4 = Pack(1, 4);  // the motion's first and last element
    run.R2 = NcElement{};
    run.R2.d1 = Pack(static_cast<std::uint32_t>(command5900), static_cast<std::uint32_t>(command5900));
    SetRangeWords();
  }
  int command5900 = 0;
};

TEST_F(ZeroDivisorTest, ALevelBoundingElementFailsTheMotion) {
  Build(true);
  EXPECT_EQ(run.RunMotionMachine(1), 0);
  EXPECT_TRUE(std::isfinite(run.R2.d3));
  ExpectRangeWords();
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(ZeroDivisorTest, ASegmentWithoutSpanFailsTheMotion) {
  Build(false);
  EXPECT_EQ(run.RunMotionMachine(1), 0);
  for (double v : run.R3.DoubleValues()) EXPECT_TRUE(std::isfinite(v));
  ExpectRangeWords();
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(ZeroDivisorTest, TheSectionDriverStopsWithError19) {
  Build(false);
  run.core.SnapshotFlags = 1;  // a section motion mode
  EXPECT_EQ(run.EmitElementMotion(0), kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2019"), std::string::npos);
  EXPECT_EQ(run.AbortFlag, kStopRun);
}

}  // namespace
}  // namespace qup::testing
