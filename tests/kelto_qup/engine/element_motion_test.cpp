// Per-element motion: positions of a plain contour (the section command's d5
// is the tool height) land in the two motion frames by turns, a run that has
// already stopped changes nothing, and the second base line's set-up and
// joint search stop with their errors.
#include <cmath>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

double Pack(int whole, int millionths) {
  return JoinFixedPoint(static_cast<std::uint32_t>(whole), static_cast<std::uint32_t>(millionths));
}

class ElementMotionTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    table.Point(0.0, 0.0);
    LoadTable();
    run.engine.stepping.SectionCommand.code = 0x7100;
    run.engine.stepping.SectionCommand.d5 = -2.5;  // the tool height
  }
  // The position at (x, y) moving along +X.
  int Emit(double x, double y) {
    run.R0.d2 = 1.0;
    run.R0.d3 = 0.0;
    run.R0.d4 = x;
    run.R0.d5 = y;
    return run.EmitElementMotion(0);
  }
};

TEST_F(ElementMotionTest, PositionsAlternateBetweenTheTwoFrames) {
  run.core.FrameToggle = 1;  // the position before went into slot 53
  const struct {
    double x;
    SaveSlot slot;
  } positions[] = {{1.0, SaveSlot::Slot52}, {2.0, SaveSlot::Slot53}, {3.0, SaveSlot::Slot52}};
  for (const auto& p : positions) {
    ASSERT_EQ(Emit(p.x, 4.0), 0);
    NcElement& frame = run.Slot(p.slot);
    EXPECT_EQ(&run.CurrentFrameRecord(), &frame);
    EXPECT_DOUBLE_EQ(frame.d4, p.x);
    EXPECT_DOUBLE_EQ(frame.d5, 4.0);
    EXPECT_DOUBLE_EQ(frame.d3, -2.5);  // Z: the section command's height
    // The normal: left of the travel, level.
    EXPECT_DOUBLE_EQ(frame.d0, 0.0);
    EXPECT_DOUBLE_EQ(frame.d1, 1.0);
    EXPECT_DOUBLE_EQ(frame.d2, 0.0);
  }
  // The previous position stays readable in the other frame.
  EXPECT_DOUBLE_EQ(run.Slot(SaveSlot::Slot53).d4, 2.0);
  EXPECT_DOUBLE_EQ(run.core.ReferencePoint[0], 3.0);
}

TEST_F(ElementMotionTest, AStoppedRunChangesNothing) {
  run.AbortFlag = kStopRun;
  run.R0.d2 = 1.0;
  run.R0.d4 = 5.0;
  run.R0.d5 = 1.0;
  run.R3.d0 = 0.5;
  const auto registers = run.registers.R;
  const NcElement frame52 = run.Slot(SaveSlot::Slot52);
  const NcElement frame53 = run.Slot(SaveSlot::Slot53);
  const int toggle = run.core.FrameToggle;
  EXPECT_EQ(run.EmitElementMotion(0), kStopRun);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(run.registers.R[static_cast<std::size_t>(r)].DoubleValues(),
              registers[static_cast<std::size_t>(r)].DoubleValues());
  }
  EXPECT_EQ(run.Slot(SaveSlot::Slot52).DoubleValues(), frame52.DoubleValues());
  EXPECT_EQ(run.Slot(SaveSlot::Slot53).DoubleValues(), frame53.DoubleValues());
  EXPECT_EQ(run.core.FrameToggle, toggle);
  EXPECT_TRUE(host.errorBoxes.empty());
}

class SecondBaseLineTest : public EngineCoreTest {
 protected:
  // A second base line from `first` to `last`, the section along +Y through
  // the point (x, 0).
  int Run(int first, int last, double x) {
    LoadTable();
    auto& s = run.engine.stepping;
    s.SectionCommand.code = 0x7100;
    s.SectionCommand.d1 = Pack(0, 0);  // names a point: no rejoin
    s.SecondBaseLineCommand.code = 0x7100;
    s.SecondBaseLineCommand.d4 = Pack(first, last);
    s.SecondBaseLineCommand.d5 = 1.5;
    run.core.SnapshotFlags = 0x8000;
    run.R0.d2 = 1.0;  // travel along +X: the section runs along Y
    run.R0.d3 = 0.0;
    run.R0.d4 = x;
    run.R0.d5 = 0.0;
    return run.EmitElementMotion(0);
  }
  bool Shown(int code) {
    return host.errorBoxes.size() == 1 &&
           host.errorBoxes[0].find("ERROR." + std::to_string(2000 + code)) != std::string::npos;
  }
};

TEST_F(SecondBaseLineTest, IndicesPastTheTableStopWithError11) {
  // Base-line ranges and the section command's joint elements name table
  // entries: a damaged one past the table stops the run with error 11
  // instead of reading outside it.
  table.Point(0.0, 0.0);
  const int a = table.Point(0.0, 5.0);
  table.Line(0.0, 5.0, 10.0, 5.0);
  const int b = table.Point(10.0, 5.0);
  constexpr int kPast = 9999;
  const struct {
    const char* name;
    int first, last;
    int joint;  // the section command's first joint element (0: a point, no rejoin)
  } cases[] = {
      {"base line ending past the table", a, kPast, 0},
      {"base line starting past the table", kPast - 1, kPast, 0},
      {"section joint past the table", a, b, kPast},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.errorBoxes.clear();
    run.AbortFlag = 0;
    LoadTable();
    auto& s = run.engine.stepping;
    s.SectionCommand.code = 0x7100;
    s.SectionCommand.d1 = Pack(c.joint, c.joint);
    s.SecondBaseLineCommand.code = 0x7100;
    s.SecondBaseLineCommand.d4 = Pack(c.first, c.last);
    s.SecondBaseLineCommand.d5 = 1.5;
    run.core.SnapshotFlags = 0x8000;
    run.R0.d2 = 1.0;
    run.R0.d3 = 0.0;
    run.R0.d4 = 3.0;
    run.R0.d5 = 0.0;
    EXPECT_EQ(run.EmitElementMotion(0), kStopRun);
    EXPECT_TRUE(Shown(11)) << (host.errorBoxes.empty() ? "no box" : host.errorBoxes[0]);
  }
}

TEST_F(SecondBaseLineTest, OnlyTwoPointsStopWithError39) {
  table.Point(0.0, 0.0);
  const int a = table.Point(0.0, 5.0);
  const int b = table.Point(10.0, 5.0);
  EXPECT_EQ(Run(a, b, 3.0), kStopRun);
  EXPECT_TRUE(Shown(39)) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
}

TEST_F(SecondBaseLineTest, ABaseLineTheSectionDoesNotMeetStopsWithError22) {
  // The base line lies at x 20..30; the section line through x = 3 misses it.
  table.Point(0.0, 0.0);
  const int a = table.Point(20.0, 5.0);
  table.Line(20.0, 5.0, 30.0, 5.0);
  const int b = table.Point(30.0, 5.0);
  EXPECT_EQ(Run(a, b, 3.0), kStopRun);
  EXPECT_TRUE(Shown(22)) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
}

TEST_F(SecondBaseLineTest, TheNearestJointOfTheBaseLineGivesThePosition) {
  // The section line x = 3 crosses the base line (drawn right to left at
  // y 5) at (3, 5): the base line's height (its command's d5) is taken there.
  table.Point(0.0, 0.0);
  const int a = table.Point(10.0, 5.0);
  table.Line(10.0, 5.0, 0.0, 5.0);
  const int b = table.Point(0.0, 5.0);
  EXPECT_EQ(Run(a, b, 3.0), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_DOUBLE_EQ(run.engine.stepping.BaseLineZ, 1.5);
}

}  // namespace
}  // namespace qup::testing
