// Axis words of the special runs: U V of the second contour in a
// surface-range-offset run, the rotary axis about X of screw mode 11 (with
// the screw switch's W U H letters), and the A/B words of the rotary commands.
// The rotary program is also read back by rs274.
#include <cmath>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace qup {
namespace {

class UvRotaryWordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000;  // decimal point, 0.001
    o.LastPlaneCode = 1;
    o.Feed = 100;
  }
  std::vector<std::string> Move(double x, double y, double z) {
    OutputState& o = ctx.output;
    const std::size_t before = host.listLines.size();
    o.MotionMode = 1;
    o.TargetX = x;
    o.TargetY = y;
    o.TargetZ = z;
    EXPECT_EQ(ctx.EmitMove(0), 0);
    return {host.listLines.begin() + static_cast<long>(before), host.listLines.end()};
  }
  std::vector<std::string> UvMove(double x, double y, double z, double u, double v) {
    ctx.output.UvOffsetX = u;
    ctx.output.UvOffsetY = v;
    return Move(x, y, z);
  }
  using Lines = std::vector<std::string>;
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(UvRotaryWordsTest, SecondContourAsUVIncremental) {
  ctx.output.SurfaceRangeOffset = 1;
  ctx.output.CodeFormat = 0;                                         // incremental
  EXPECT_EQ(UvMove(10, 0, 0, 1, 0), (Lines{"G01X10.U1.V0.F100 "}));  // a zero step prints as V0.
  // A Z-only move writes no U/V; their step waits for the next X/Y move.
  EXPECT_EQ(UvMove(10, 0, -2, 1.5, 0), (Lines{"Z-2."}));
  EXPECT_EQ(UvMove(20, 5, -2, 1.5, 0.25), (Lines{"X10.Y5.U0.5V0.25"}));
  // Offsets are rounded to 0.001 before the step is taken.
  EXPECT_EQ(UvMove(30, 5, -2, 1.50049, 0.2504), (Lines{"X10.U0.V0."}));
}

TEST_F(UvRotaryWordsTest, SecondContourAsUVAbsolute) {
  ctx.output.SurfaceRangeOffset = 1;
  ctx.output.CodeFormat = 0x0040;
  EXPECT_EQ(UvMove(10, 0, 0, 1, -0.5), (Lines{"G01X10.U1.V-0.5F100 "}));
  // Absolute U/V go with every block, even one that moves only Z.
  EXPECT_EQ(UvMove(10, 0, -3, 1, -0.5), (Lines{"U1.V-0.5Z-3."}));
}

TEST_F(UvRotaryWordsTest, RotaryAxisAboutXIncremental) {
  OutputState& o = ctx.output;
  o.ScrewMode = 11;
  o.CodeFormat = 0;
  const double a340 = 340.0 / 57.29577951308232;
  struct Case {
    double x, y, z;
    const char* line;
  };
  const Case cases[] = {
      {5, 10, 0, "G01X5.Z10.F100"},  // angle 0: no A step
      {5, 0, 10, "A90."},
      {7, -10, 0, "X2.A90. "},
      {7, 10 * std::cos(a340), 10 * std::sin(a340), "A160. "},
      // Back at 0 degrees from above 333: the turn ends at 360, not at 0.
      {7, 10, 0, "A20."},
      // ...and the next step counts from 0 again.
      {7, 10 * std::cos(10 / 57.29577951308232), 10 * std::sin(10 / 57.29577951308232), "A10."},
      {7, 0, 6, "Z-4.A80."},
  };
  for (const Case& c : cases) EXPECT_EQ(Move(c.x, c.y, c.z), (Lines{c.line})) << c.line;
}

TEST_F(UvRotaryWordsTest, RotaryAxisAbsoluteWithScrewLetters) {
  OutputState& o = ctx.output;
  o.ScrewMode = 11;
  o.CodeFormat = 0x0040;
  o.ScrewSwitch = 1;
  // W is the axial value negated, U the diameter, H the angle.
  EXPECT_EQ(Move(5, 10, 0), (Lines{"G01W-5.U20.F100 "}));
  // An axis that returns to zero still writes its word; unchanged axes none.
  EXPECT_EQ(Move(0, 0, 10), (Lines{"W0.H90. "}));
  o.ScrewSwitch = 0;
  EXPECT_EQ(Move(0, -3, 0), (Lines{"Z3.A180."}));
}

TEST_F(UvRotaryWordsTest, RotaryCommandsWriteAOrB) {
  OutputState& o = ctx.output;
  o.CodeFormat = 0x0040;
  o.CommandType = 0x8210;
  o.RotaryValue = 45;
  EXPECT_EQ(Move(10, 3, -1), (Lines{"G01X10.Z-1.A45.F100 "}));  // Y belongs to the turn
  EXPECT_EQ(o.RotaryValue, 0.0);
  o.CommandType = 0x8220;
  o.RotaryValue = 30;
  EXPECT_EQ(Move(20, 6, -1), (Lines{"Y6.B30. "}));
}

TEST_F(UvRotaryWordsTest, RotaryProgramReadByRs274) {
  testsupport::TempFolder folder;
  const auto program = folder.path() / "O1.NC";
  ASSERT_EQ(ctx.OpenNcOutput(program.string()), 0);
  OutputState& o = ctx.output;
  o.ScrewMode = 11;
  o.CodeFormat = 0x0040;
  ctx.WriteBlock("%");
  ctx.WriteBlock("G90G21");
  ctx.WriteBlock("S1000M03");
  Move(5, 10, 0);
  Move(5, 0, 10);
  Move(8, -4, 0);
  Move(8, 0, -4);
  ctx.WriteBlock("M05");
  ctx.WriteBlock("M30");
  ctx.WriteBlock("%");
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(program, folder.path());
  if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations);
  // The interpreter sees axial X, radius Z and the angle A of every point.
  const std::regex feed(R"(STRAIGHT_FEED\(([-0-9.]+), [-0-9.]+, ([-0-9.]+), ([-0-9.]+),)");
  std::vector<std::string> moves;
  const std::string& text = check.trace;
  for (std::sregex_iterator it(text.begin(), text.end(), feed), end; it != end; ++it)
    moves.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str());
  EXPECT_EQ(moves, (std::vector<std::string>{"5.0000 10.0000 0.0000", "5.0000 10.0000 90.0000",
                                             "8.0000 4.0000 180.0000", "8.0000 4.0000 270.0000"}));
}

}  // namespace
}  // namespace qup
