// The stop poll, the yield with its step pause, the busy wait and the path
// extents, with a host whose event drain plays the user.
#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

class RunPacingTest : public ::testing::Test {
 protected:
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(RunPacingTest, PollDrainsOnEveryHundredthCall) {
  EXPECT_EQ(ctx.PollAbort(), 0);  // the countdown starts at 0: the first poll drains
  EXPECT_EQ(host.pumpCount, 1);
  for (int i = 0; i < 99; ++i) EXPECT_EQ(ctx.PollAbort(), 0);
  EXPECT_EQ(host.pumpCount, 1);
  EXPECT_EQ(ctx.PollAbort(), 0);
  EXPECT_EQ(host.pumpCount, 2);
}

TEST_F(RunPacingTest, StopSeenByThePollBecomes8FFF) {
  host.onPump = [&] { ctx.AbortFlag = kStopRun; };  // the user's forced end
  EXPECT_EQ(ctx.PollAbort(), kStopRun);
  EXPECT_EQ(ctx.AbortFlag, kStopSeen);
  // The countdown stayed 0: the next poll drains and reports again.
  EXPECT_EQ(ctx.PollAbort(), kStopRun);
  EXPECT_EQ(host.pumpCount, 2);
}

TEST_F(RunPacingTest, StopSeenByTheYieldKeepsFFFF) {
  host.onPump = [&] { ctx.AbortFlag = kStopRun; };
  EXPECT_EQ(ctx.YieldToUi(), kStopRun);
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
}

TEST_F(RunPacingTest, YieldDrainsEveryThirdCall) {
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ctx.YieldToUi(), 0);
  EXPECT_EQ(host.pumpCount, 2);
}

TEST_F(RunPacingTest, PauseModeWaitsUntilAKeyReleasesIt) {
  ctx.output.RunExecutionMode = 1;
  EXPECT_EQ(ctx.YieldToUi(), 0);  // arms the pause
  EXPECT_EQ(ctx.output.StepPause, 1);
  int drains = 0;
  host.onPump = [&] {
    if (++drains == 4) ctx.output.StepPause = 0;  // a key press in the view
  };
  ctx.output.RunExecutionMode = 0;
  EXPECT_EQ(ctx.YieldToUi(), 0);
  EXPECT_EQ(drains, 4);
  EXPECT_GE(host.refreshCount, 1);  // the wait asks for the device context again
  // A forced end ends the wait as well.
  ctx.output.StepPause = 1;
  host.onPump = [&] { ctx.AbortFlag = kStopRun; };
  EXPECT_EQ(ctx.YieldToUi(), kStopRun);
}

TEST_F(RunPacingTest, DrainRestoresTheWordsPaintingChanges) {
  ctx.output.CurrentTool = 5;
  ctx.engine.MoveFlag = 1;
  ctx.engine.MoveWord = 0x22;
  host.onPump = [&] {
    ctx.output.CurrentTool = 99;
    ctx.engine.MoveFlag = 0;
    ctx.engine.MoveWord = 0;
  };
  ctx.PollAbort();
  ctx.YieldToUi();
  ctx.StopWithError(9);          // the error stop drains as well
  EXPECT_EQ(host.pumpCount, 2);  // the poll and the error stop (the yield waits its turn)
  EXPECT_EQ(ctx.output.CurrentTool, 5);
  EXPECT_EQ(ctx.engine.MoveFlag, 1);
  EXPECT_EQ(ctx.engine.MoveWord, 0x22);
}

TEST_F(RunPacingTest, DelayWaitsOnTheTick) {
  std::uint64_t ticks = 1000;
  host.fakeTicks = &ticks;
  ctx.DelayMs(0);
  EXPECT_LE(ticks, 1002u);  // returns at once
  ctx.DelayMs(50);
  EXPECT_GE(ticks, 1050u);
  EXPECT_EQ(ctx.output.DcRefreshRequest, 11);
}

TEST_F(RunPacingTest, PathExtents) {
  ctx.output.StepKind = 3;
  ctx.ElementIndex = 7;
  ctx.output.ProcessToolIndex = 2;
  ctx.output.Extents.ToolMinZ[2] = 999999.0;
  ctx.output.Extents.ToolMaxZ[2] = -999999.0;
  ctx.registers.WorkAngle = 45;
  ctx.registers.WorkLength = 2.5;
  NcElement out;
  const double points[][3] = {{10, 20, -5}, {-3, 4, 2}};
  for (const auto& p : points) {
    ctx.R2.d6 = p[0];
    ctx.R2.d7 = p[1];
    ctx.R3.d1 = p[2];
    ctx.engine.MoveFlag = p[2] > 0;
    ctx.UpdatePathExtents(out);
  }
  const PathExtents& e = ctx.output.Extents;
  EXPECT_EQ(e.MinX, -3);
  EXPECT_EQ(e.MaxX, 10);
  EXPECT_EQ(e.MinY, 4);
  EXPECT_EQ(e.MaxY, 20);
  EXPECT_EQ(e.MinZ, -5);
  EXPECT_EQ(e.MaxZ, 2);
  EXPECT_EQ(e.ToolMinZ[2], -5);
  EXPECT_EQ(e.ToolMaxZ[2], 2);  // only while the move flag was set
  EXPECT_EQ(e.MoveMinZ, 2);
  EXPECT_EQ(out.d0, -3);
  EXPECT_EQ(out.d2, 2);
  EXPECT_EQ(out.d3, 45);
  EXPECT_EQ(out.d5, 2.5);

  // With ElementIndex 0 only the output record is filled.
  RecordingHost h;
  RunContext c(h);
  c.output.StepKind = 3;
  c.R2.d6 = 1e6;
  c.UpdatePathExtents(out);
  EXPECT_EQ(out.d0, 1e6);
  EXPECT_EQ(c.output.Extents.MaxX, -999999.0);
}

}  // namespace
}  // namespace qup
