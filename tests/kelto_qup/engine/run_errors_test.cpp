// The numbered error box, the stop word and the element table's growth.
#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {
namespace {

TEST(RunErrors, FirstErrorOfAStopIsShownAndLaterOnesAreNot) {
  RecordingHost host;
  RunContext ctx(host);
  EXPECT_EQ(ctx.ShowErrorCode(37), kStopRun);
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(platform::Cp932ToUtf8(host.errorBoxes[0]), ">>> ERROR.2037 <<<\n   システムスタック[B]．オ－バ－フロ－");
  EXPECT_EQ(ctx.ShowErrorCode(36), kStopRun);
  EXPECT_EQ(host.errorBoxes.size(), 1u);
}

TEST(RunErrors, StopWithErrorFlushesShowsDrainsAndStops) {
  RecordingHost host;
  RunContext ctx(host);
  ctx.AbortFlag = kStopSeen;  // a stop the poll already noticed: no box
  EXPECT_EQ(ctx.StopWithError(18), kStopRun);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(host.flushCount, 1);
  EXPECT_EQ(host.pumpCount, 1);
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
}

TEST(RunErrors, FileErrorsNameThePath) {
  RecordingHost host;
  RunContext ctx(host);
  ctx.ErrorPath = "/tmp/DAT/部品.NC";
  EXPECT_EQ(platform::Cp932ToUtf8(ctx.ErrorMessage(kErrorFileOpen)),
            ">>> ERROR.2060 <<<\n   DATA_FILE::OPEN_ERROR[/tmp/DAT/部品.NC]");
  EXPECT_EQ(platform::Cp932ToUtf8(ctx.ErrorMessage(kErrorFileWrite)),
            ">>> ERROR.2061 <<<\n   DATA_FILE::WRITE_ERROR[/tmp/DAT/部品.NC]");
  // A code without a text shows the heading alone.
  EXPECT_EQ(ctx.ErrorMessage(99), ">>> ERROR.2099 <<<\n   ");
}

TEST(ElementTableGrowth, LimitsAndWorkingRoom) {
  struct Case {
    int count, wanted;
    int result, capacity;
  };
  const Case cases[] = {
      {0, 3800, 0, 3800},
      {90000, 98560, 0, 98552},  // growth to the limit stops 8 short
      {98500, 98560, 1, 0},      // 98500 + 120 reaches into the working room
  };
  for (const Case& c : cases) {
    RecordingHost host;
    RunContext ctx(host);
    EXPECT_EQ(ctx.AllocElementTable(c.count, c.wanted), c.result) << c.count;
    EXPECT_EQ(ctx.elements.Capacity(), c.capacity) << c.count;
    EXPECT_EQ(ctx.AbortFlag, c.result ? kStopRun : 0);
    EXPECT_EQ(host.errorBoxes.size(), c.result ? 1u : 0u);
  }
}

TEST(ElementTableGrowth, IndexOutsideTheTableIsAnInvariantFault) {
  RecordingHost host;
  RunContext ctx(host);
  ctx.AllocElementTable(0, 10);
  EXPECT_NO_THROW(ctx.elements[9]);
  EXPECT_THROW(ctx.elements[10], EngineInvariantError);
  EXPECT_THROW(ctx.elements[-1], EngineInvariantError);
}

}  // namespace
}  // namespace qup
