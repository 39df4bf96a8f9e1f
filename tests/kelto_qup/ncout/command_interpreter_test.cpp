// The command interpreter and the state commands on a hand-made element
// table: range walks and their limits, repeats, MOVE, work coordinates,
// tools and code lines.
#include <memory>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace {

using handover::NcElement;

class InterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    run = std::make_unique<qup::RunContext>(host);
    ASSERT_TRUE(run->elements.Grow(200));
  }
  NcElement& Add(int code, int flags = 0) {
    NcElement& e = run->elements[run->elements.ElementCount++];
    e = NcElement{};
    e.number = run->elements.ElementCount;
    e.code = code;
    e.flags = flags;
    return e;
  }
  int Walk(int start, int end) {
    run->RangeStart = start;
    run->RangeEnd = end;
    return run->RunElementRange();
  }
  bool BoxNamed(int shown) const {
    for (const std::string& box : host.errorBoxes) {
      if (box.find("ERROR." + std::to_string(shown)) != std::string::npos) return true;
    }
    return false;
  }

  qup::RecordingHost host;
  std::unique_ptr<qup::RunContext> run;
};

TEST_F(InterpreterTest, ReversedRangesAndGeometryRunNothing) {
  Add(0x1100);
  Add(0x3500);  // figure groups stay data
  Add(0xD100);
  EXPECT_EQ(Walk(2, 1), 0);
  EXPECT_EQ(run->job.CallDepth, 0u);
  EXPECT_EQ(Walk(0, 1), 0);
  EXPECT_EQ(run->engine.EndOfDataFlag, 0);
  EXPECT_EQ(Walk(0, 2), 0);
  EXPECT_EQ(run->engine.EndOfDataFlag, 1);  // 0xD100 ran
}

TEST_F(InterpreterTest, TheSixtyFirstLevelStopsWithError41) {
  Add(0x1100);
  run->job.CallDepth = 59;
  EXPECT_EQ(Walk(0, 0), 0);  // level 60 still runs
  EXPECT_EQ(run->job.CallDepth, 59u);
  run->job.CallDepth = 60;
  EXPECT_EQ(Walk(0, 0), qup::kStopRun);
  EXPECT_TRUE(BoxNamed(2041));
  EXPECT_LE(run->job.CallDepth, 60u);
}

TEST_F(InterpreterTest, EndOfDataWritesPercentOnlyAfterAPitInSection) {
  Add(0xFF00);
  EXPECT_EQ(Walk(0, 0), qup::kStopRun);
  EXPECT_TRUE(host.listLines.empty());
  EXPECT_EQ(run->AbortFlag, 0);  // the end of data is no error
  run->engine.EndOfDataFlag = 1;
  EXPECT_EQ(Walk(0, 0), qup::kStopRun);
  ASSERT_EQ(host.listLines.size(), 1u);
  EXPECT_EQ(host.listLines[0], "% ");
}

TEST_F(InterpreterTest, CountedRepeatRunsTheBodyFourTimesAndCountsAgainLater) {
  // The body marks its own index each time it runs (one mark-list slot per run).
  Add(0x1100);                         // 0
  Add(0x8700);                         // 1: the body
  NcElement& repeat = Add(0x7700, 1);  // 2: back to element 1, three times
  repeat.d2 = 3.0;
  repeat.d4 = qup::JoinFixedPoint(1, 1);
  for (int arrival = 0; arrival < 2; ++arrival) {
    run->job.MarkList.fill(0);
    ASSERT_EQ(Walk(0, 2), 0);
    int runs = 0;
    for (int v : run->job.MarkList) runs += v != 0;
    EXPECT_EQ(runs, 4);
    EXPECT_DOUBLE_EQ(run->elements[2].d3, 0.0);  // ready to count from -3 again
  }
}

TEST_F(InterpreterTest, AnEighthMoveEntryStopsWithError2AndLeavesSeven) {
  for (int i = 0; i < 8; ++i) {
    NcElement& move = Add(0x7600, 0x200);
    move.d4 = i;
  }
  EXPECT_EQ(Walk(0, 7), qup::kStopRun);
  EXPECT_TRUE(BoxNamed(2002));
  EXPECT_EQ(run->job.MoveStack.size(), 7u);
}

TEST_F(InterpreterTest, WorkCoordinatesOutsideG54ToG59AreIgnored) {
  struct Case {
    int flags, expected;
  };
  const Case cases[] = {{3, 3}, {5, 5}, {6, 5}, {-1, 5}, {0, 0}, {0x10000, 0}};
  for (const Case& c : cases) {
    run->elements.ElementCount = 0;
    Add(0xEC54, c.flags);
    EXPECT_EQ(Walk(0, 0), 0);
    EXPECT_EQ(run->output.WorkOffsetIndex, c.expected) << c.flags;
  }
}

TEST_F(InterpreterTest, ToolIndicesOutside0To511StopWithError59) {
  struct Case {
    int flags;
    int result;
    int index;
  };
  const Case cases[] = {{12, 0, 12}, {511, 0, 511}, {512, qup::kStopRun, 0}, {-1, qup::kStopRun, 0}};
  for (const Case& c : cases) {
    host.errorBoxes.clear();
    run->AbortFlag = 0;
    run->elements.ElementCount = 0;
    Add(0x9A00, c.flags);
    EXPECT_EQ(Walk(0, 0), c.result) << c.flags;
    EXPECT_EQ(run->output.ProcessToolIndex, c.index);
    EXPECT_EQ(BoxNamed(2059), c.result != 0);
  }
}

TEST_F(InterpreterTest, TextLinesOutsideTheTableWriteNothing) {
  handover::CodeLineSlot& slot = run->job.CodeLines[0];
  slot.SetText("M01");
  for (int index : {-1, 384, 100000}) {
    run->elements.ElementCount = 0;
    Add(0x9900, index);
    EXPECT_EQ(Walk(0, 0), 0);
  }
  EXPECT_TRUE(host.listLines.empty());
  run->elements.ElementCount = 0;
  Add(0x9900, 0);
  EXPECT_EQ(Walk(0, 0), 0);
  EXPECT_EQ(host.listLines, std::vector<std::string>{"M01 "});
}

TEST_F(InterpreterTest, ContourCommandsStopNamingTheMissingEngineOperation) {
  Add(0x1200);
  NcElement& contour = Add(0x7100);
  contour.d4 = qup::JoinFixedPoint(0, 0);
  EXPECT_EQ(Walk(1, 1), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  // Either the engine's own error or the box that names what is missing.
  EXPECT_EQ(run->AbortFlag, qup::kStopRun);
}

}  // namespace
