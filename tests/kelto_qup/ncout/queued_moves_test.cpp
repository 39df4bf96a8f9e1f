// Queued approach moves traced back to where they start and then written,
// the escape moves, the lead arcs in and out, the helical approach and the
// cycle words: the tool positions against hand-computed values. The contour
// element runs along +X from (50, 0) at Z -5, so its left side (inside a
// counter-clockwise contour, where the writer puts the tool offset) is +Y.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {
namespace {

using Point = std::array<double, 3>;

class QueuedMovesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000;  // decimal point, 0.001
    o.CodeFormat = 0x0040;           // absolute
    o.LastPlaneCode = 1;
    o.CurrentTool = 5;
    o.Feed = 100;
    o.StepKind = 3;
    ctx.engine.contour.SectionCommand.d7 = 100;  // the contour's feed  // the program has begun: the queue stays for the writing pass
    ASSERT_TRUE(ctx.elements.Grow(16));
    ctx.elements.ElementCount = 1;
    ctx.R0 = NcElement{};
    ctx.R0.code = 0x1200;
    ctx.R0.d2 = 1.0;
    ctx.job.CurrentPoint = {50.0, 0.0, -5.0};
  }
  // Appends a command to the table and the queue.
  int Queue(int code, double d4, int flags = 0, double d7 = 0.0) {
    NcElement e{};
    e.code = code;
    e.flags = flags;
    e.d4 = d4;
    e.d7 = d7;
    const int index = ctx.elements.ElementCount++;
    ctx.elements[index] = e;
    ctx.job.CommandQueue[static_cast<std::size_t>(ctx.job.QueueCount++)] = index;
    return index;
  }
  int Approach(int phase) {
    ctx.output.ApproachPhase = phase;
    const int status = ctx.ProcessQueuedCommands();
    ctx.output.ApproachPhase = 0;
    return status;
  }
  std::vector<std::string> NewLines(std::size_t from) const {
    return {host.listLines.begin() + static_cast<long>(from), host.listLines.end()};
  }
  static void ExpectPoint(const Point& p, double x, double y, double z) {
    EXPECT_NEAR(p[0], x, 1e-9);
    EXPECT_NEAR(p[1], y, 1e-9);
    EXPECT_NEAR(p[2], z, 1e-9);
  }
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(QueuedMovesTest, ApproachIsTracedBackThenWrittenOnce) {
  Queue(0x7300, 0.0);              // the cut-in itself runs no move
  Queue(0x6200, 3.0, 0x9000, 40);  // down 3 onto the contour at feed 40
  Queue(0x7510, 10.0);             // along the normal, from the right side
  ASSERT_EQ(Approach(1), 0);
  // Nothing written; the approach starts 10 to the right and 3 above.
  EXPECT_TRUE(host.listLines.empty());
  ExpectPoint(ctx.job.CurrentPoint, 50.0, -10.0, -2.0);

  ASSERT_EQ(Approach(2), 0);
  // Each move counts one sequence word.
  EXPECT_EQ(NewLines(0), (std::vector<std::string>{"N0301G01Z-5.F40 ", "N0302Y0.F100"}));
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -5.0);
  EXPECT_EQ(ctx.output.PendingCommandWord, 6);

  // A later pass over the same queue writes nothing again.
  const std::size_t before = host.listLines.size();
  ASSERT_EQ(Approach(2), 0);
  EXPECT_EQ(host.listLines.size(), before);
}

TEST_F(QueuedMovesTest, LeadArcsEnterAndLeaveTangentially) {
  // "RIN" of radius 5 as the writer sends it (positive: the left of travel,
  // the side of the tool offset): a counter-clockwise quarter from (45, 5)
  // about (50, 5) to the contour start.
  Queue(0x7580, 5.0);
  ASSERT_EQ(Approach(1), 0);
  ExpectPoint(ctx.job.CurrentPoint, 45.0, 5.0, -5.0);
  ASSERT_EQ(Approach(2), 0);
  ASSERT_FALSE(host.listLines.empty());
  EXPECT_EQ(host.listLines.back(), "N0301G03X50.Y0.I5.F100");
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -5.0);

  // "ROUT" likewise: from the contour's end a counter-clockwise quarter
  // about (100, 5) to (105, 5); a reversed contour (negative) turns the
  // other way on the right.
  struct Case {
    double d4;
    const char* block;
    double endY;
  };
  for (const Case& k : {Case{5.0, "N0302X105.Y5.J5.", 5.0}, Case{-5.0, "N0303G02X105.Y-5.J-5. ", -5.0}}) {
    SCOPED_TRACE(k.d4);
    ctx.job.CurrentPoint = {100.0, 0.0, -5.0};
    ctx.R2 = NcElement{};
    ctx.R2.code = 0x7590;
    ctx.R2.d4 = k.d4;
    ASSERT_EQ(ctx.RunRoutMove(), 0);
    EXPECT_EQ(host.listLines.back(), k.block);
    ExpectPoint(ctx.job.CurrentPoint, 105.0, k.endY, -5.0);
    EXPECT_EQ(ctx.R2.d4, k.d4);
  }
}

TEST_F(QueuedMovesTest, LeadArcsFollowTheContourWhereTheyMeetIt) {
  // Entering from the lead line (along the contour's normal, the scratch
  // entry behind the job), the arc meets the contour along the normal
  // turned a quarter: here -Y at (50, 0) for a lead along -X. Leaving a
  // counter-clockwise arc about (0, 0) at (0, 20), it leaves along -X.
  ctx.job.JobElementCount = 0;
  ctx.elements.ElementCount = 3;
  NcElement lead{};
  lead.code = 0x1200;
  lead.d2 = -1.0;
  ctx.elements[1] = lead;
  ctx.R0 = lead;
  ctx.R0.d6 = 50.0;
  Queue(0x7580, 5.0);
  ASSERT_EQ(Approach(1), 0);
  // Centre (55, 0) on the left of -Y; the start 5 back along -Y from it.
  ExpectPoint(ctx.job.CurrentPoint, 55.0, 5.0, -5.0);

  ctx.R0 = NcElement{};
  ctx.R0.code = 0x1300;
  ctx.R0.d1 = 20.0;
  ctx.R0.d2 = 1.0;  // the direction the arc began with
  ctx.job.CurrentPoint = {0.0, 20.0, -5.0};
  ctx.R2 = NcElement{};
  ctx.R2.code = 0x7590;
  ctx.R2.d4 = 5.0;
  ASSERT_EQ(ctx.RunRoutMove(), 0);
  // Centre (0, 15), the end 5 on along -X from it: inside the arc.
  ExpectPoint(ctx.job.CurrentPoint, -5.0, 15.0, -5.0);
}

TEST_F(QueuedMovesTest, EscapeMovesRunAtOnce) {
  struct Case {
    int code;
    double d4;
    Point end;
  };
  // From the contour's end (100, 0, -5) along +X.
  const Case cases[] = {
      {0x7520, 10.0, {100.0, -10.0, -5.0}},  // along the normal to the right side
      {0x7520, -10.0, {100.0, 10.0, -5.0}},  // a reversed walk: the other side
      {0x7570, 5.0, {105.0, 0.0, -5.0}},     // along the tangent
      {0x6300, 20.0, {100.0, 0.0, 15.0}},    // straight up off the contour
  };
  for (const Case& c : cases) {
    ctx.job.CurrentPoint = {100.0, 0.0, -5.0};
    ctx.R2 = NcElement{};
    ctx.R2.code = c.code;
    ctx.R2.d4 = c.d4;
    int status = 0;
    if (c.code == 0x7520) status = ctx.RunMoveKind7520();
    if (c.code == 0x7570) status = ctx.RunMoveKind7570();
    if (c.code == 0x6300) status = ctx.RunStraightMoveWorker(12);
    ASSERT_EQ(status, 0) << std::hex << c.code;
    ExpectPoint(ctx.job.CurrentPoint, c.end[0], c.end[1], c.end[2]);
  }
}

TEST_F(QueuedMovesTest, HelixComesDownOneTurnOnItsCircle) {
  ctx.job.Value6500 = 0.01;  // chord tolerance
  NcElement helix{};
  helix.code = 0x75F0;
  helix.d1 = 8.0;  // path diameter: radius 4
  helix.d3 = 2.0;  // descent
  const int index = ctx.elements.ElementCount++;
  ctx.elements[index] = helix;
  ctx.job.CommandQueue[0] = index;
  ctx.job.QueueCount = 1;
  ASSERT_EQ(Approach(1), 0);
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -3.0);
  ASSERT_EQ(Approach(2), 0);
  // sqrt(2 * 0.01 / 4) rad = 4.0514 degrees: 89 steps, each on the circle
  // about (46, 0), the Z falling evenly to the contour level.
  ASSERT_EQ(host.listLines.size(), 89u);
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -5.0);

  // Radius 0 or a tolerance of 0 or below gives no angle step: refused.
  for (const auto& [diameter, tolerance] : {std::pair{0.0, 0.01}, std::pair{8.0, 0.0}, std::pair{8.0, -1.0}}) {
    host.errorBoxes.clear();
    ctx.AbortFlag = 0;
    ctx.job.Value6500 = tolerance;
    ctx.elements[index].d1 = diameter;
    ctx.elements[index].flags = 0;
    EXPECT_EQ(Approach(2), kStopRun);
    EXPECT_EQ(ctx.AbortFlag, kStopRun);
    ASSERT_EQ(host.errorBoxes.size(), 1u);
    EXPECT_NE(host.errorBoxes[0].find("2005"), std::string::npos);
  }
}

TEST_F(QueuedMovesTest, HelixStepIsClamped) {
  struct Case {
    double tolerance;
    std::size_t moves;
  };
  // A step above 8 degrees becomes 8 (45 moves); below 0.02 becomes 0.02.
  // Counted on the display channel, which draws every move.
  ctx.output.OutputSuppress = 64;
  for (const Case& c : {Case{100.0, 45u}, Case{1e-12, 18000u}}) {
    host.pathSteps.clear();
    ctx.job.CurrentPoint = {50.0, 0.0, -5.0};
    ctx.job.Value6500 = c.tolerance;
    ctx.R2 = NcElement{};
    ctx.R2.code = 0x75F0;
    ctx.R2.d1 = 8.0;
    ctx.R2.d3 = 1.0;
    ASSERT_EQ(ctx.RunHelixWorker(), 0);
    ASSERT_EQ(host.pathSteps.size(), c.moves);
    for (const auto& step : host.pathSteps) EXPECT_NEAR(std::hypot(step.move.d4 - 46.0, step.move.d5), 4.0, 1e-9);
    EXPECT_NEAR(host.pathSteps.back().move.d8, -6.0, 1e-9);
  }
}

TEST_F(QueuedMovesTest, CycleWordsAroundThePointMove) {
  // 0x75B0 leaves for its point; with the cycle switch in a quoted program
  // the move is a "G75" block after scaling is switched on.
  ctx.job.CurrentPoint = {100.0, 0.0, -5.0};
  ctx.output.QuotedBlockMode = 1;
  ctx.output.CycleSwitch = 1;
  ctx.R2 = NcElement{};
  ctx.R2.code = 0x75B0;
  ctx.R2.d4 = 120.0;
  ctx.R2.d5 = -30.0;
  ASSERT_EQ(ctx.RunMoveKind75B0(), 0);
  ExpectPoint(ctx.job.CurrentPoint, 120.0, -30.0, -5.0);
  std::string text;
  for (const std::string& line : host.listLines) text += line + "\n";
  EXPECT_NE(text.find("G51P1."), std::string::npos) << text;
  EXPECT_NE(text.find("G75"), std::string::npos) << text;
  EXPECT_EQ(ctx.output.ScalingValue, 1.0);

  // 0x75A0 comes from its point: traced back, the approach starts there.
  host.listLines.clear();
  ctx.output.CycleSwitch = 0;
  ctx.job.CurrentPoint = {50.0, 0.0, -5.0};
  const int index = Queue(0x75A0, 20.0);
  ctx.elements[index].d5 = 15.0;
  ASSERT_EQ(Approach(1), 0);
  ExpectPoint(ctx.job.CurrentPoint, 20.0, 15.0, -5.0);
  ASSERT_EQ(Approach(2), 0);
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -5.0);
  for (const std::string& line : host.listLines) EXPECT_EQ(line.find("G75"), std::string::npos);
}

TEST_F(QueuedMovesTest, PendingKindDispatch) {
  // Kinds outside 2 to 22 give 0; a move kind does nothing in a replay pass.
  ctx.output.PendingCommandWord = 0x40;
  EXPECT_EQ(ctx.RunContourCommand(), 0);
  ctx.output.PendingCommandWord = 10;
  ctx.output.ReplaySwitch = 1;
  ctx.engine.call.ContourPassWord = 2;
  ctx.R2 = NcElement{};
  ctx.R2.d4 = 5.0;
  EXPECT_EQ(ctx.RunContourCommand(), 0);
  ExpectPoint(ctx.job.CurrentPoint, 50.0, 0.0, -5.0);
  ctx.output.ReplaySwitch = 0;
  EXPECT_EQ(ctx.RunContourCommand(), 0);
  ExpectPoint(ctx.job.CurrentPoint, 55.0, 0.0, -5.0);
  EXPECT_EQ(ctx.output.PendingCommandWord, 6);
}

}  // namespace
}  // namespace qup
