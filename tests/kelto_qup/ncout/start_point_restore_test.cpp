// The return to a process's start point: the pending return template, the
// retract by the Z step (never a plunge), and the skip flag of the subprogram
// head by the target level.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

class StartPointRestoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000;  // decimal point, 0.001
    o.CodeFormat = 0x0040;           // absolute
    o.LastPlaneCode = 1;
    o.Post.blocks[3].SetText("G80;M09");
  }
  // The tool at (x, y, z) after a pass in the given motion mode; the saved
  // start point is (10, 20, startZ). Returns the blocks written.
  std::vector<std::string> Restore(double x, double y, double z, int mode, double startZ) {
    OutputState& o = ctx.output;
    o.PrevX = x;
    o.PrevY = y;
    o.PrevZ = z;
    o.MotionMode = mode;
    o.LastMotionMode = mode;
    ctx.job.SavedStartPoint = {10, 20, startZ};
    host.listLines.clear();
    EXPECT_EQ(ctx.RestoreStartPoint(), 0);
    return host.listLines;
  }
  using Lines = std::vector<std::string>;
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(StartPointRestoreTest, UpwardStepWritesPendingReturnAndRetracts) {
  ctx.job.PendingReturns = 1;
  // The template ends the modal code, so the retract writes G01 again; it
  // moves Z only, from where the tool is.
  EXPECT_EQ(Restore(40, 5, -10, 1, 50), (Lines{"G80 ", "M09 ", "G01Z50. "}));
  EXPECT_EQ(ctx.job.PendingReturns, 0);  // written once, not again at the process end
  EXPECT_DOUBLE_EQ(ctx.output.PrevX, 40);
  EXPECT_DOUBLE_EQ(ctx.output.PrevZ, 50);
  // The start point is the next approach's target.
  EXPECT_DOUBLE_EQ(ctx.output.TargetX, 10);
  EXPECT_DOUBLE_EQ(ctx.output.TargetY, 20);
  EXPECT_DOUBLE_EQ(ctx.output.TargetZ, 50);
}

TEST_F(StartPointRestoreTest, StepsByDirectionAndMode) {
  struct Case {
    const char* name;
    int pendingReturns, subprogram, mode;
    double z, startZ;
    Lines lines;
  };
  const Case cases[] = {
      {"rapid after an arc", 0, 0, 3, -10, 50, {"G00Z50. "}},
      {"no step: only the template", 1, 0, 0, 50, 50.0004, {"G80 ", "M09 "}},
      {"subprogram: no template", 1, 1, 0, -10, 50, {"Z50."}},
      {"downward: no plunge", 1, 0, 0, 50, -10, {}},
  };
  for (const Case& c : cases) {
    ctx.job.PendingReturns = c.pendingReturns;
    ctx.output.SubprogramMode = c.subprogram;
    EXPECT_EQ(Restore(40, 5, c.z, c.mode, c.startZ), c.lines) << c.name;
  }
}

TEST_F(StartPointRestoreTest, DownwardStepDecidesTheHeadSkip) {
  struct Case {
    double startZ;
    int subprogram;
    int skip;
  };
  const Case cases[] = {
      {-1500, 0, 0},   // the first downward step of the run never skips
      {-3000, 0, 0},   // a marker level between -9990 and -1999
      {-1500, 0, 1},   // below the ordinary levels
      {-999, 0, 0},    // an ordinary level
      {-9990, 0, 1},
      {-9990, 1, 0},   // a subprogram always writes its head
      {-10, 0, 0},
  };
  for (const Case& c : cases) {
    ctx.output.SubprogramMode = c.subprogram;
    ctx.output.SkipSubprogramHead = 1 - c.skip;
    EXPECT_EQ(Restore(0, 0, 100, 0, c.startZ), Lines{});
    EXPECT_EQ(ctx.output.SkipSubprogramHead, c.skip) << c.startZ << " " << c.subprogram;
  }
}

}  // namespace
}  // namespace qup
