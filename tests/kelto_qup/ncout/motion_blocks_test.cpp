// Motion blocks: modal words, compensation and offset words, the small-move
// rule, feed words, the axis forms of the post, arcs split at quadrants,
// corner blocks, point-group data and the output channels.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {
namespace {

class MotionBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000;  // decimal point, 0.001
    o.CodeFormat = 0x0040;           // absolute
    o.LastPlaneCode = 1;             // the plane word is already written
    o.CurrentTool = 5;
    o.Feed = 100;
  }
  // One move to (x, y, z) in the given motion mode; returns the new lines.
  std::vector<std::string> Move(int mode, double x, double y, double z, double radius = 0, double i = 0, double j = 0) {
    OutputState& o = ctx.output;
    const std::size_t before = host.listLines.size();
    o.MotionMode = mode;
    o.TargetX = x;
    o.TargetY = y;
    o.TargetZ = z;
    o.ArcRadius = radius;
    o.CentreI = i;
    o.CentreJ = j;
    status = ctx.EmitMove(0);
    return {host.listLines.begin() + static_cast<long>(before), host.listLines.end()};
  }
  using Lines = std::vector<std::string>;
  RecordingHost host;
  RunContext ctx{host};
  int status = 0;
};

TEST_F(MotionBlocksTest, ModalWordsAreWrittenOnChange) {
  EXPECT_EQ(Move(0, 10, 0, 0), (Lines{"G00X10. "}));
  EXPECT_EQ(Move(0, 10, 5, 0), (Lines{"Y5. "}));
  EXPECT_EQ(Move(1, 10, 5, -2), (Lines{"G01Z-2.F100 "}));
  EXPECT_EQ(Move(1, 20, 5, -2), (Lines{"X20."}));
  ctx.output.Feed = 80;
  EXPECT_EQ(Move(1, 20, 0, -2), (Lines{"Y0.F80"}));  // a zero target still prints
  ctx.output.BlockFormat |= 0x0004;                  // short motion codes
  EXPECT_EQ(Move(0, 0, 0, -2), (Lines{"G0X0. "}));   // Y does not move
}

TEST_F(MotionBlocksTest, PlaneWordAndCompensation) {
  ctx.output.LastPlaneCode = 0;
  ctx.output.CompensationCode = 2;  // left
  EXPECT_EQ(Move(1, 10, 0, 0), (Lines{"G17G01G41X10.F100D05"}));
  EXPECT_EQ(ctx.output.CompensationState & 0x1, 1);
  EXPECT_EQ(Move(1, 20, 0, 0), (Lines{"X20."}));  // no second G41, no second D
  ctx.output.CompensationCode = 1;                // cancel
  EXPECT_EQ(Move(1, 30, 0, 0), (Lines{"G40X30. "}));
  ctx.output.CompensationCode = 3;
  ctx.output.OffsetNumber = 12;
  EXPECT_EQ(Move(1, 40, 0, 0), (Lines{"G42X40.D12"}));
  // A cancel with a plane change ends the block after the plane word.
  ctx.output.PlaneCode = 2;
  ctx.output.CompensationCode = 1;
  EXPECT_EQ(Move(1, 50, 0, 0), (Lines{"G18 ", "G40X50. "}));
}

TEST_F(MotionBlocksTest, OffsetDirectionWordsWithTheOffsetWord) {
  ctx.output.BlockFormat = 0x0200;
  struct Case {
    int compensation;  // 1 cancel, 2 left, 3 right
    int elementFlags;  // the reversed-side bits of the element
    double x, y, z, radius, i, j;
    const char* line;
  };
  const Case cases[] = {
      {2, 0, 10, 0, 0, 0, 0, 0, "G01G41X10.F100D05I1."},
      {1, 0, 20, 0, 0, 0, 0, 0, "G40X20. "},
      // A move without X/Y travel keeps the last direction.
      {3, 0, 20, 0, -2, 0, 0, 0, "G42Z-2.D05I1. "},
      {1, 0, 20, 10, -2, 0, 0, 0, "G40Y10. "},
      // The reversed side negates the direction: (0.6, -0.8) becomes (-0.6, 0.8).
      {2, 0x10000, 26, 2, -2, 0, 0, 0, "G41X26.Y2.D05I-0.6J0.8"},
      {1, 0, 30, 2, -2, 0, 0, 0, "G40X30. "},
      // An arc starts along its tangent: counter-clockwise about (30, 7) from (30, 2).
      {3, 0, 35, 7, -2, 5, 0, 5, "G03G42X35.Y7.J5.D05I1."},
  };
  for (const Case& c : cases) {
    ctx.output.CompensationCode = c.compensation;
    NcElement element;
    element.flags = c.elementFlags;
    ctx.SetR0(element);
    EXPECT_EQ(Move(1, c.x, c.y, c.z, c.radius, c.i, c.j), (Lines{c.line})) << c.line;
  }
}

TEST_F(MotionBlocksTest, ScalingIsCancelledBeforeTheCompensationInQuotedSubprograms) {
  struct Case {
    int subprogram, quoted;
    double scaling;
    const char* line;
  };
  const Case cases[] = {
      {1, 1, 0.5, "\"G50G40X20.;\""},
      {1, 1, 0, "\"G40X20.;\""},
      {0, 1, 0.5, "\"G40X20.;\""},
      {1, 0, 0.5, "G40X20. "},
  };
  for (const Case& c : cases) {
    ctx.output.SubprogramMode = c.subprogram;
    ctx.output.QuotedBlockMode = c.quoted;
    ctx.output.ScalingValue = c.scaling;
    ctx.output.LastMotionMode = 1;
    ctx.output.LastFeed = 100;
    ctx.output.PrevX = 10;
    ctx.output.CompensationState = 0x1;
    ctx.output.CompensationCode = 1;
    ctx.RestartBlock();
    EXPECT_EQ(Move(1, 20, 0, 0), (Lines{c.line})) << c.line;
    EXPECT_EQ(ctx.output.CompensationState & 0x1, 0);
  }
}

TEST_F(MotionBlocksTest, RapidMovesCountInThePredictedTime) {
  ctx.output.RapidRate = 6000;  // mm/min
  ctx.PredictedMachiningTime = 10;
  Move(0, 30, 40, 0);  // 50 mm at 100 mm/s
  EXPECT_NEAR(ctx.PredictedMachiningTime, 10.5, 1e-12);
  Move(1, 60, 40, 0);  // feed moves are timed by the engine, not here
  EXPECT_NEAR(ctx.PredictedMachiningTime, 10.5, 1e-12);
}

TEST_F(MotionBlocksTest, SmallMoveRule) {
  ctx.output.CodeFormat = 0;  // incremental
  ctx.output.BlockFormat = 0x0001;
  EXPECT_EQ(Move(1, 5, 0, 0), (Lines{"G01X5.Y0.F100 "}));  // in-plane axes always written
  EXPECT_EQ(Move(1, 5, 0, -1), (Lines{"Z-1."}));           // only Z moves: X and Y omitted
  // Moves of nothing write no block, and what they moved is not lost: the
  // next block carries it (incremental output must add up).
  EXPECT_EQ(Move(1, 5.0006, 0, -1), Lines{});
  EXPECT_EQ(Move(1, 5.0012, 0, -1), (Lines{"X0.001Y0. "}));
  EXPECT_EQ(Move(0, 5.0012, 7, -1), (Lines{"G00Y7."}));  // rapids keep the plain rule
}

TEST_F(MotionBlocksTest, AReturnTemplateMakesTheNextMoveWriteItsMotionCode) {
  // A return template may leave any motion code in force (here G00): the
  // feed move after it writes G01 again.
  ctx.output.Post.blocks[3].SetText("G00");
  ctx.output.Post.blocks[4].SetText("G00");
  EXPECT_EQ(Move(1, 10, 0, -2), (Lines{"G01X10.Z-2.F100 "}));
  for (int step : {6, 4}) {  // return templates 3 and 4
    SCOPED_TRACE(step);
    EXPECT_EQ(Move(1, 20, 0, -2), (Lines{"X20."}));
    ctx.output.StepKind = step;
    ctx.EmitElement();
    EXPECT_EQ(Move(1, 30, 0, -2), (Lines{"G01X30. "}));
  }
}

TEST_F(MotionBlocksTest, FeedWords) {
  ctx.output.PostSwitchD = 1;  // three decimals
  ctx.output.Feed = 12.5;
  EXPECT_EQ(Move(1, 1, 0, 0), (Lines{"G01X1.F12.5 "}));
  ctx.output.Feed = 100;
  EXPECT_EQ(Move(1, 2, 0, 0), (Lines{"X2.F100."}));
  ctx.output.PostSwitchD = 0;
  ctx.output.Feed = 250.04;
  EXPECT_EQ(Move(1, 3, 0, 0), (Lines{"X3.F250 "}));
  ctx.output.PostSwitchI = 1;  // variable feed
  ctx.output.Feed = 300;
  EXPECT_EQ(Move(1, 4, 0, 0), (Lines{"X4.F=VC300"}));
  ctx.output.Feed = 0;  // no feed: no word
  EXPECT_EQ(Move(1, 5, 0, 0), (Lines{"X5. "}));
}

TEST_F(MotionBlocksTest, ArcsInTheAxisFormsOfThePost) {
  EXPECT_EQ(Move(1, 10, 0, 0), (Lines{"G01X10.F100 "}));
  EXPECT_EQ(Move(2, 20, 10, 0, -10, 0, 10), (Lines{"G02X20.Y10.J10. "}));
  EXPECT_EQ(Move(3, 30, 20, 0, 10, 10, 0), (Lines{"G03X30.Y20.I10. "}));
  ctx.output.CodeFormat = 0x0080;  // incremental U V W
  EXPECT_EQ(Move(1, 35, 25, -1), (Lines{"G01U5.V5.W-1. "}));
  ctx.output.CodeFormat = 0x4000;  // diameter form: X twice Y, Z the X value
  EXPECT_EQ(Move(3, 45, 35, -1, 10, 10, 0), (Lines{"G03X20.Z10.K10. "}));
}

TEST_F(MotionBlocksTest, RadiusWordSignByTheSweepInTheArcsOwnSense) {
  ctx.output.CodeFormat = 0x0040 | 0x0004;
  ctx.output.PrevX = 10;
  // Clockwise quarter from (10,0) about the origin to (0,-10): R positive.
  EXPECT_EQ(Move(2, 0, -10, 0, -10, -10, 0), (Lines{"G02X0.Y-10.R10.F100 "}));
  // Clockwise three quarters back to (10,0) the long way round: R negative.
  ctx.output.PrevX = 0;
  ctx.output.PrevY = 10;
  EXPECT_EQ(Move(2, -10, 0, 0, -10, 0, -10), (Lines{"X-10.Y0.R-10. "}));
  // Counter-clockwise half plus a little: R negative; exactly a half: positive.
  ctx.output.PrevX = 10;
  ctx.output.PrevY = 0;
  EXPECT_EQ(Move(3, -10, 0, 0, 10, -10, 0), (Lines{"G03X-10.R10."}));
  ctx.output.PrevX = 10;
  ctx.output.PrevY = 0;
  const double a = 181.0 * std::acos(-1.0) / 180.0;
  EXPECT_EQ(Move(3, 10 * std::cos(a), 10 * std::sin(a), 0, 10, -10, 0), (Lines{"X-9.998Y-0.175R-10. "}));
}

TEST_F(MotionBlocksTest, ArcSplitAtQuadrants) {
  OutputState& o = ctx.output;
  o.PrevX = 10;
  o.PrevY = 0;
  o.MotionMode = 3;
  o.ArcRadius = 10;
  o.CentreI = -10;
  o.CentreJ = 0;
  o.TargetX = 0;
  o.TargetY = -10;  // three quarters counter-clockwise
  EXPECT_EQ(ctx.EmitArcByQuadrants(1), 0);
  EXPECT_EQ(host.listLines, (Lines{"G03X0.Y10.I-10.F100 ", "X-10.Y0.J-10. ", "X0.Y-10.I10."}));
  EXPECT_EQ(o.PrevY, -10);
}

TEST_F(MotionBlocksTest, CornerBlock) {
  ctx.output.CornerRequest = 1;
  EXPECT_EQ(Move(1, 0, 10, 0), (Lines{"G39J1000. ", "G01Y10.F100 "}));
  EXPECT_EQ(ctx.output.CornerRequest, 0);
  ctx.output.CornerRequest = 1;
  ctx.output.CornerRapid = 1;
  EXPECT_EQ(Move(1, 0, 20, 0), (Lines{"G00 ", "G01Y20. "}));
}

TEST_F(MotionBlocksTest, PendingSequenceWordLeadsTheBlock) {
  ctx.AddPendingSequence();
  EXPECT_EQ(Move(0, 1, 0, 0), (Lines{"N0301G00X1. "}));
  EXPECT_EQ(Move(0, 2, 0, 0), (Lines{"X2. "}));
}

// A move that goes nowhere (a linking or closing cut of length 0) writes no
// block, not even its sequence word: the next move that goes somewhere
// takes the next number, and writes its motion code and feed as they were
// left by the last block written.
TEST_F(MotionBlocksTest, AMoveThatGoesNowhereWritesNoBlock) {
  for (const int codeFormat : {0x0040, 0}) {  // absolute, incremental
    SCOPED_TRACE(codeFormat == 0 ? "incremental" : "absolute");
    ctx.output = OutputState{};
    SetUp();
    ctx.output.CodeFormat = codeFormat;
    ctx.output.ToolChangeNumber = 300;
    EXPECT_EQ(Move(0, 10, 0, -2), (Lines{"G00X10.Z-2. "}));
    ctx.AddPendingSequence();
    ctx.output.Feed = 80;
    EXPECT_EQ(Move(1, 10, 0, -2), Lines{});
    ctx.AddPendingSequence();
    EXPECT_EQ(Move(1, 10, 0, -2), Lines{});
    ctx.AddPendingSequence();
    EXPECT_EQ(Move(1, 20, 0, -2), (Lines{codeFormat == 0 ? "N0301G01X10.F80 " : "N0301G01X20.F80 "}));
    EXPECT_EQ(ctx.output.PendingSequenceWords, 0);
    // An arc back to where it starts is a full circle: it is written.
    ctx.AddPendingSequence();
    EXPECT_EQ(Move(3, 20, 0, -2, 5, -5, 0).size(), 1u);
  }
}

TEST_F(MotionBlocksTest, DisplayChannelsDrawAndTheSubModeWritesToo) {
  ctx.output.OutputSuppress = 64;
  EXPECT_EQ(Move(1, 10, 0, 0), Lines{});
  ASSERT_EQ(host.pathSteps.size(), 1u);
  EXPECT_EQ(host.pathSteps[0].channel, 64);
  EXPECT_EQ(host.pathSteps[0].move.d4, 10);
  ctx.output.SubModeOutput = 1;
  ctx.output.SubModeEndWord = 0;  // the second pass writes the NC output
  EXPECT_EQ(Move(1, 20, 0, 0), (Lines{"G01X20.F100 "}));
  EXPECT_EQ(host.pathSteps.size(), 2u);
  EXPECT_EQ(ctx.output.OutputSuppress, 64);
  ctx.output.SubModeEndWord = 0xFFFF;  // nothing
  EXPECT_EQ(Move(1, 30, 0, 0), Lines{});
}

TEST_F(MotionBlocksTest, PointGroupData) {
  ctx.output.OutputSuppress = 2048;
  ctx.output.PrevX = 1;
  EXPECT_EQ(Move(1, 10, 5, -1), (Lines{"5 0 10.000000 5.000000 10.000000 5.000000 0 0 0 ; "}));
  EXPECT_EQ(Move(0, 20, 5, -1), Lines{});  // only linear feed moves
  ctx.output.PointDataForm = 0x8000 | 3;   // distance from this point, and Z
  EXPECT_EQ(Move(1, 13, 9, -2), (Lines{"5 0 0.000000 -2.000000 0.000000 -2.000000 0 0 0 ; "}));
  ctx.output.PointDataForm = 3;
  EXPECT_EQ(Move(1, 16, 13, -2), (Lines{"5 0 5.000000 -2.000000 5.000000 -2.000000 0 0 0 ; "}));
  ctx.output.PointDataForm = 7;
  Move(1, 20, 13, -2);
  EXPECT_EQ(status, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(platform::Cp932ToUtf8(host.errorBoxes[0]), ">>> ERROR.2017 <<<\n   点群デ－タ出力が出来ません");
}

TEST_F(MotionBlocksTest, TemplateOnlyRunsWriteNoMotion) {
  ctx.output.TemplateOnly = 1;
  EXPECT_EQ(Move(1, 10, 0, 0), Lines{});
}

}  // namespace
}  // namespace qup
