// A whole NC program written from a scripted run: program start, the post's
// templates, a process head with a tool change and its comment, rapid and
// feed moves, arcs both ways in I/J and R form, the return template and the
// program end. The text is compared with the expected program (CR LF and the
// even-length padding included), and an independent G-code interpreter,
// rs274, must accept every block and make the moves the script asked for.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace qup {
namespace {

namespace fs = std::filesystem;

struct Move {
  int mode;  // 0 rapid, 1 feed, 2 clockwise arc, 3 counter-clockwise arc
  double x, y, z;
  double cx = 0, cy = 0;  // arc centre
};

// The moves of the script after the tool change, in order.
const std::vector<Move>& ScriptMoves() {
  static const std::vector<Move> moves = {
      {1, 10, 5, -1},         {1, 30, 5, -1}, {2, 40, -5, -1, 30, -5},  // clockwise quarter
      {3, 50, 5, -1, 50, -5},                                           // counter-clockwise half
      {2, 60, 15, -1, 60, 5},                                           // clockwise quarter (R form from here)
      {3, 70, 5, -1, 60, 5},                                            // counter-clockwise three quarters
      {2, 60, 15, -1, 60, 5},                                           // clockwise three quarters
      {0, 60, 15, 5},
  };
  return moves;
}

constexpr std::size_t kFirstRadiusForm = 4;

// A post with a decimal point, absolute values, G92 coordinate setting and a
// separate tool-length block, no sequence words.
void SetUpPost(RunContext& ctx) {
  OutputState& o = ctx.output;
  o.WordFormat = 0x2000 | 0x4000;
  o.CodeFormat = 0x0040;
  o.BlockFormat = 0x0080;
  o.PostSwitchA = 0;
  o.PostSwitchB = 1;
  const char* templates[6] = {"G21G17G40G49G80;G90G00;", "T?M06;", "S1000M03;",
                              "G91G28Z0.;G90;",          "M05;",   "M09M05;M30;"};
  for (int i = 0; i < 6; ++i) o.Post.blocks[i].SetText(templates[i]);
  ToolCommentRecord comment;
  comment.toolNumber = 5;
  platform::SetFieldText(comment.comment1, "END MILL");
  o.ToolComments.push_back(comment);
  o.CurrentTool = 5;
  o.CurrentTCode = 5;
  o.ProcessToolIndex = 1;
  o.HNumber = 5;
  o.ToolLengthZ = 100;
  o.RapidRate = 10000;
}

int Emit(RunContext& ctx, int step) {
  ctx.output.StepKind = step;
  return ctx.EmitElement();
}

// Runs the script into the NC file at path.
void WriteScriptedProgram(RunContext& ctx, const fs::path& path) {
  SetUpPost(ctx);
  OutputState& o = ctx.output;
  ASSERT_EQ(ctx.OpenNcOutput(path.string()), 0);
  ctx.OpenBlock();
  ASSERT_EQ(Emit(ctx, 0), 0);  // program start
  ASSERT_EQ(ctx.ExpandBlockTemplate(0), 0);
  ASSERT_EQ(Emit(ctx, 1), 0);  // process head with the tool change
  ASSERT_EQ(Emit(ctx, 2), 0);  // set-up template
  o.LastMotionMode = 0xFFFF;
  o.PrevX = 0;
  o.PrevY = 0;
  o.PrevZ = 100;  // where the tool-length block left the tool
  o.TargetX = 10;
  o.TargetY = 5;
  o.TargetZ = 5;
  ASSERT_EQ(ctx.EmitToolChange(), 0);
  o.Feed = 100;
  const std::vector<Move>& moves = ScriptMoves();
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const Move& m = moves[i];
    if (i == kFirstRadiusForm) o.CodeFormat |= 0x0004;
    o.MotionMode = m.mode;
    o.TargetX = m.x;
    o.TargetY = m.y;
    o.TargetZ = m.z;
    const bool arc = m.mode >= 2;
    const double r = std::hypot(o.PrevX - m.cx, o.PrevY - m.cy);
    o.ArcRadius = arc ? (m.mode == 3 ? r : -r) : 0.0;
    o.CentreI = arc ? m.cx - o.PrevX : 0.0;
    o.CentreJ = arc ? m.cy - o.PrevY : 0.0;
    ASSERT_EQ(ctx.EmitMove(0), 0) << i;
  }
  ASSERT_EQ(Emit(ctx, 6), 0);  // return template
  o.LastMotionMode = 0xFFFF;
  ASSERT_EQ(Emit(ctx, 5), 0);  // program end
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(NcProgram, ScriptedProgramText) {
  testsupport::TempFolder folder;
  RecordingHost host;
  RunContext ctx(host);
  const fs::path path = folder.path() / "O1000.NC";
  WriteScriptedProgram(ctx, path);
  const char* expected =
      "% \r\n"
      "G21G17G40G49G80 \r\n"
      "G90G00\r\n"
      "T05 \r\n"
      "(END MILL)M06 \r\n"
      "N0001 \r\n"
      "G92X0.Y0. \r\n"
      "G43Z100.H05 \r\n"
      "G90 \r\n"
      "S1000M03\r\n"
      "G17G00X10.Y5. \r\n"
      "Z5. \r\n"
      "G01Z-1.F100 \r\n"
      "X30.\r\n"
      "G02X40.Y-5.J-10.\r\n"
      "G03X50.Y5.I10.\r\n"
      "G02X60.Y15.R10. \r\n"
      "G03X70.Y5.R-10. \r\n"
      "G02X60.Y15.R-10.\r\n"
      "G00Z5.\r\n"
      "G91G28Z0. \r\n"
      "G90 \r\n"
      "M09M05\r\n"
      "M30 \r\n"
      "% \r\n";
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(ctx.output.NcByteCount, static_cast<int>(std::string(expected).size()));
}

// ---- the cross-check with rs274

TEST(NcProgram, Rs274AcceptsEveryBlockAndMakesTheScriptedMoves) {
  testsupport::TempFolder folder;
  RecordingHost host;
  RunContext ctx(host);
  const fs::path program = folder.path() / "O1000.NC";
  WriteScriptedProgram(ctx, program);
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(program, folder.path());
  if (!check.ran) GTEST_SKIP() << "rs274 (Debian package linuxcnc-uspace) is not installed; scripts/setup installs it";
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations);

  // The program's moves, from the tool change (line 5) on: the head's
  // tool-length block, the approach, then the script's moves.
  using Kind = testsupport::CanonMove::Kind;
  std::vector<testsupport::CanonMove> moves;
  for (const testsupport::CanonMove& m : check.moves) {
    if (m.line > 5) moves.push_back(m);
  }
  struct Expected {
    Kind kind;
    double x, y, z;
    double cx = 0, cy = 0;
    int turn = 0;
  };
  std::vector<Expected> expected = {
      {Kind::kTraverse, 0, 0, 100},
      {Kind::kTraverse, 10, 5, 100},
      {Kind::kTraverse, 10, 5, 5},
  };
  for (const Move& m : ScriptMoves()) {
    const Kind kind = m.mode == 0 ? Kind::kTraverse : m.mode == 1 ? Kind::kFeed : Kind::kArc;
    expected.push_back({kind, m.x, m.y, m.z, m.cx, m.cy, m.mode == 3 ? 1 : m.mode == 2 ? -1 : 0});
  }
  ASSERT_GE(moves.size(), expected.size());
  // After them only the return template's reference-point moves follow.
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(moves[i].kind, expected[i].kind) << "move " << i;
    EXPECT_NEAR(moves[i].x, expected[i].x, 0.001) << "move " << i;
    EXPECT_NEAR(moves[i].y, expected[i].y, 0.001) << "move " << i;
    EXPECT_NEAR(moves[i].z, expected[i].z, 0.001) << "move " << i;
    if (expected[i].kind != Kind::kArc) continue;
    EXPECT_NEAR(moves[i].centreFirst, expected[i].cx, 0.001) << "move " << i;
    EXPECT_NEAR(moves[i].centreSecond, expected[i].cy, 0.001) << "move " << i;
    EXPECT_EQ(moves[i].turn, expected[i].turn) << "move " << i;
  }
  for (std::size_t i = expected.size(); i < moves.size(); ++i) EXPECT_TRUE(moves[i].reference) << "move " << i;
}

}  // namespace
}  // namespace qup
