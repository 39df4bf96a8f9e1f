// The set-up of a contour command: offsets merged with the process's,
// values carried from command to command, the lead line through a
// tool-offset point, and the offset of the corner fit's registers.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

#include "platform/text.h"

namespace qup::testing {
namespace {

class ContourSetupTest : public EngineCoreTest {
 protected:
  // The interpreter's frame: the command at `index`, the walk ending at `last`.
  void AtCommand(int index, int last) {
    run.job.CallDepth = 1;
    run.job.CallStack[1].Current = static_cast<std::uint32_t>(index);
    run.job.CallStack[1].End = static_cast<std::uint32_t>(last);
    run.job.JobElementCount = run.elements.ElementCount;
    run.R2 = run.elements[index];
  }
};

TEST_F(ContourSetupTest, CommandValuesCarryFromCommandToCommand) {
  struct Case {
    double d1, d5;
    int flags;
    double offset, value5;
  };
  // A run's first command without an offset gets 0; a later one the last
  // given; flag 0x100 stands in for a missing d5 with 1e-6, never 0.
  const Case cases[] = {
      {0.0, 0.0, 0, 0.0, 0.0},       {5.0, -3.0, 0, 5.0, -3.0}, {0.0, 0.0, 0, 5.0, -3.0},
      {0.0, 0.0, 0x100, 5.0, 1e-6}, {2.5, 0.0, 0, 2.5, 1e-6},
  };
  for (const Case& c : cases) {
    run.R2 = NcElement{};
    run.R2.d1 = c.d1;
    run.R2.d5 = c.d5;
    run.R2.flags = c.flags;
    EXPECT_EQ(run.CarryCommandValues(), 0);
    EXPECT_EQ(run.R2.d1, c.offset);
    EXPECT_EQ(run.engine.contour.CarriedValue5, c.value5);
  }
}

TEST_F(ContourSetupTest, LeadLineThroughTheFirstPointIsNormalToTheFirstElement) {
  // A cut-in without a range right before a contour whose range begins and
  // ends with points: the lead goes through the first point, at a right
  // angle to the first element (to the right of its travel for the lead in).
  table.Line(0, 0, 1, 0);  // the stream's first record
  const int cutIn = table.Command(0x7300, 0, 0);
  const int first = table.Point(10, -10);
  table.Line(10, -10, 110, -10);
  table.Line(110, -10, 110, 90);
  const int last = table.Point(110, 90);
  const int contour = table.Command(0x7100, first, last, 5.0);
  LoadTable();
  AtCommand(cutIn, contour);
  ASSERT_EQ(run.Set_TO(0), 1);
  const int slot = run.job.JobElementCount + 1;
  EXPECT_EQ(run.RangeStart, slot);
  EXPECT_EQ(run.RangeEnd, slot);
  EXPECT_EQ(run.elements.ElementCount, run.job.JobElementCount + 3);
  const NcElement& lead = run.elements[slot];
  EXPECT_EQ(lead.code, 0x1200);
  EXPECT_DOUBLE_EQ(lead.d6, 10.0);
  EXPECT_DOUBLE_EQ(lead.d7, -10.0);
  EXPECT_DOUBLE_EQ(lead.d2, 0.0);
  EXPECT_DOUBLE_EQ(lead.d3, -1.0);
  EXPECT_EQ(run.engine.contour.LeadElementIndex, first + 1);

  // The lead out of the same contour, after the walk took it: to the left
  // of the last element's travel, through the last point.
  AtCommand(cutIn, contour);
  run.job.CallStack[1].Current = static_cast<std::uint32_t>(contour + 0);
  run.R2.d4 = 0.0;
  run.R2.flags = 0;
  run.engine.contour.SnapshotCommandCode = 0x7100;
  ASSERT_EQ(run.Set_TO(1), 1);
  const NcElement& out = run.elements[run.job.JobElementCount + 2];
  EXPECT_DOUBLE_EQ(out.d6, 110.0);
  EXPECT_DOUBLE_EQ(out.d7, 90.0);
  EXPECT_DOUBLE_EQ(out.d2, -1.0);
  EXPECT_NEAR(out.d3, 0.0, 1e-15);
}

TEST_F(ContourSetupTest, LeadIsBuiltOnlyWhenAsked) {
  table.Line(0, 0, 1, 0);
  const int cutIn = table.Command(0x7300, 0, 0);
  const int first = table.Point(0, 0);
  table.Line(0, 0, 10, 0);
  const int last = table.Point(10, 0);
  table.Command(0x7100, first, last);
  LoadTable();
  // A range of its own: no lead.
  AtCommand(cutIn, run.elements.ElementCount - 1);
  run.R2.d4 = JoinFixedPoint(3, 4);
  EXPECT_EQ(run.Set_TO(0), 0);
  // A lead at the end without a contour walked before it.
  AtCommand(cutIn, run.elements.ElementCount - 1);
  run.engine.contour.SnapshotCommandCode = 0;
  EXPECT_EQ(run.Set_TO(1), 0);
  // A sub-type other than 0x00 and 0x60.
  AtCommand(cutIn, run.elements.ElementCount - 1);
  run.R2.flags = 0x10;
  EXPECT_EQ(run.Set_TO(0), 0);
  EXPECT_EQ(run.AbortFlag, 0);
}

TEST_F(ContourSetupTest, NoContourInReachIsReportedAndStops) {
  table.Line(0, 0, 1, 0);
  const int cutIn = table.Command(0x7300, 0, 0);
  table.Line(0, 0, 10, 0);
  LoadTable();
  AtCommand(cutIn, run.elements.ElementCount - 1);
  EXPECT_EQ(run.Set_TO(0), 0);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_GE(host.errorBoxes.size(), 2u);
  EXPECT_EQ(host.errorBoxes[0], platform::Sjis("GO図形のエラー　Set_TO"));
  EXPECT_NE(host.errorBoxes[1].find("2011"), std::string::npos);
}

TEST_F(ContourSetupTest, ContourRangeNamingNoElementStopsWithError11) {
  table.Line(0, 0, 1, 0);
  const int cutIn = table.Command(0x7300, 0, 0);
  table.Command(0x7100, 900, 901);
  LoadTable();
  AtCommand(cutIn, run.elements.ElementCount - 1);
  EXPECT_EQ(run.Set_TO(0), 0);
  EXPECT_EQ(run.AbortFlag, kStopRun);
}

TEST_F(ContourSetupTest, PrepareMergesOffsetsAndAllowanceModes) {
  struct Case {
    int flags;
    int allowance;
    double r3d0, extra;
  };
  // Both allowance flags behave as 0x800.
  const Case cases[] = {{0, 0, 1.0 + 0.5, 0.25}, {0x800, 1, 0.0, 0.0}, {0x400, 2, 0.0, 0.0}, {0xC00, 1, 0.0, 0.0}};
  for (const Case& c : cases) {
    table = ElementBuilder{};
    const int line = table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 100);
    const int cutIn = table.Command(0x7300, line, line + 1);
    LoadTable();
    run.AbortFlag = 0;
    AtCommand(cutIn, cutIn);
    run.R2.d0 = 0.5;
    run.R2.flags = c.flags;
    run.engine.contour.ProcessOffset1 = 1.0;
    run.engine.contour.ProcessOffset2 = 0.25;
    run.UnpackCommandValue(4);
    ASSERT_EQ(run.PrepareContourRun(), 0) << c.flags;
    EXPECT_EQ(run.engine.contour.AllowanceMode, c.allowance);
    EXPECT_DOUBLE_EQ(run.R3.d0, c.r3d0);
    EXPECT_DOUBLE_EQ(run.engine.stepping.ExtraOffset, c.extra);
    EXPECT_DOUBLE_EQ(run.engine.contour.CommandOffset, 0.5);
    EXPECT_EQ(run.R2.d0, 0.0);
    // The range is walked from its second element, the first in R0.
    EXPECT_EQ(run.RangeStart, line + 1);
    EXPECT_DOUBLE_EQ(run.R0.d4, 0.0);
    EXPECT_DOUBLE_EQ(run.R1.d4, 100.0);
    EXPECT_DOUBLE_EQ(run.R1.d5, 100.0);
  }
}

TEST_F(ContourSetupTest, OffsetOfTheCornerFitMovesBothRegistersToTheLeft) {
  // A line along +X and a counter-clockwise arc about the origin, offset by
  // 2: the line moves to Y = 2, the arc's radius shrinks to 8 and its end
  // point comes 2 closer to the centre.
  run.R0 = NcElement{};
  run.R0.code = 0x1200;
  run.R0.d2 = 1.0;
  run.R0.d4 = 10.0;
  run.R0.d6 = 0.0;
  run.R1 = NcElement{};
  run.R1.code = 0x1300;
  run.R1.d1 = 10.0;
  run.R1.d4 = 0.0;
  run.R1.d5 = 10.0;
  run.R3.d0 = 2.0;
  run.ApplyOffsetToRegs();
  EXPECT_DOUBLE_EQ(run.R0.d5, 2.0);
  EXPECT_DOUBLE_EQ(run.R0.d7, 2.0);
  EXPECT_DOUBLE_EQ(run.R0.d4, 10.0);
  EXPECT_DOUBLE_EQ(run.R1.d1, 8.0);
  EXPECT_DOUBLE_EQ(run.R1.d5, 8.0);
  // A clockwise arc grows away from its centre instead.
  run.R1.d1 = -10.0;
  run.R1.d5 = 10.0;
  run.ApplyOffsetToRegs();
  EXPECT_DOUBLE_EQ(run.R1.d1, -12.0);
  EXPECT_DOUBLE_EQ(run.R1.d5, 12.0);
}

}  // namespace
}  // namespace qup::testing
