// The program start and end lines, the process head with its coordinate
// setting and tool-length blocks, the work-offset word (G54 .. G59) or the
// centring macro text, the centring macro calls and the tool-change approach.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

using Lines = std::vector<std::string>;

class ProgramHeadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OutputState& o = ctx.output;
    o.WordFormat = 0x2000 | 0x4000;
    o.CodeFormat = 0x0040;
    o.CurrentTool = 3;
    o.CurrentTCode = 3;
    o.ProcessToolIndex = 2;
    o.HNumber = 3;
    o.ToolLengthZ = 50;
    for (int i = 0; i < 6; ++i) o.Post.blocks[i].SetText("");
    o.Post.blocks[1].SetText("T?M06;");
  }
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(ProgramHeadTest, StartAndEndLines) {
  ctx.output.Post.blocks[5].SetText("M30;");
  EXPECT_EQ(ctx.EmitProgramStart(), 0);
  EXPECT_EQ(ctx.EmitProgramEnd(), 0);
  EXPECT_EQ(host.listLines, (Lines{"% ", "M30 ", "% "}));
  // Leader lines, no start "%", and the end "%" left out by the command's flag.
  host.listLines.clear();
  ctx.output.WordFormat |= 0x0400 | 0x0100;
  ctx.EmitProgramStart();
  ctx.R2.flags = 0x80;
  ctx.EmitProgramEnd();
  const std::string blanks(64, ' ');
  EXPECT_EQ(host.listLines, (Lines{blanks, blanks, "M30 ", blanks, blanks}));
}

TEST_F(ProgramHeadTest, QuotedAndListingPercentLines) {
  ctx.output.QuotedBlockMode = 1;
  ctx.EmitProgramStart();
  ctx.output.QuotedBlockMode = 0;
  ctx.output.EffectiveMode = 1;
  ctx.EmitProgramStart();
  EXPECT_EQ(host.listLines, (Lines{"\"%;\"", std::string(38, ' ') + "% "}));
}

TEST_F(ProgramHeadTest, HeadWithG92AndToolLength) {
  OutputState& o = ctx.output;
  o.BlockFormat = 0x0080;  // coordinate setting
  o.PostSwitchB = 1;       // separate tool-length block
  o.HeadX = 12.5;
  EXPECT_EQ(ctx.EmitProgramHead(), 0);
  EXPECT_EQ(host.listLines, (Lines{"T03M06", "N0002 ", "G92X12.5Y0. ", "G43Z50.H03", "G90 "}));
  // The same tool again: no tool-change template.
  host.listLines.clear();
  ctx.EmitProgramHead();
  EXPECT_EQ(host.listLines, (Lines{"N0002 ", "G92X12.5Y0. ", "G43Z50.H03", "G90 "}));
}

TEST_F(ProgramHeadTest, HeadInTheSecondDialect) {
  OutputState& o = ctx.output;
  o.BlockFormat = 0x0080;
  o.PostSwitchA = 1;  // work-offset dialect
  o.PostSwitchF = 1;  // second dialect: G15H1 and G56
  o.PostSwitchB = 1;
  o.PostValueA = 1;  // no process number word
  o.CodeFormat = 0;  // incremental
  ctx.EmitProgramHead();
  EXPECT_EQ(host.listLines, (Lines{"T03M06", "G15H1X0.Y0. ", "G56Z50.H03", "G91 "}));
}

TEST_F(ProgramHeadTest, WorkOffsetWordsForEveryIndex) {
  const char* words[] = {"G54 ", "G55 ", "G56 ", "G57 ", "G58 ", "G59 "};
  for (int i = 0; i < 6; ++i) {
    RecordingHost h;
    RunContext c(h);
    c.output.WorkOffsetIndex = i;
    // Inactive centring records with a centring kind would write the macro
    // text; G58 and G59 have no centring record and always write their word.
    for (CentringRecord& r : c.output.Centring) r.centringKind = 0;
    c.EmitWorkOffsetWord();
    c.EndBlock();
    ASSERT_EQ(h.listLines.size(), 1u) << i;
    EXPECT_EQ(h.listLines[0], words[i]) << i;
  }
  // An index outside 0 .. 5 writes no word at all.
  RecordingHost h;
  RunContext c(h);
  c.output.WorkOffsetIndex = 6;
  c.EmitWorkOffsetWord();
  c.EndBlock();
  EXPECT_TRUE(h.listLines.empty());
}

TEST_F(ProgramHeadTest, ChangedWorkOffsetWithTheSameToolReturnsToZReferenceFirst) {
  OutputState& o = ctx.output;
  o.HeadToolStayed = 1;  // the head found tool 3 still in the spindle
  o.LastWorkOffsetIndex = 0;
  o.WorkOffsetIndex = 1;
  ctx.EmitWorkOffsetWord();
  ctx.EndBlock();
  EXPECT_EQ(host.listLines, (Lines{"G91G28Z0. ", "G90 ", "G55 "}));
}

TEST_F(ProgramHeadTest, CentringMacroTextReplacesTheWord) {
  OutputState& o = ctx.output;
  o.WorkOffsetIndex = 1;
  o.Centring[1].active = 0;
  o.Centring[1].centringKind = 2;
  o.CentringMacroText = "G65P9001X_Y_\nG10L2P2Z_\x1AG55";
  o.WorkOriginX = 12.5;
  o.WorkOriginY = -3;
  o.WorkOriginZ = 0;
  ctx.EmitWorkOffsetWord();
  ctx.EndBlock();
  EXPECT_EQ(host.listLines, (Lines{"G65P9001X12.5Y-3. ", "G10L2P2Z0.", "G55 "}));
  // An active record writes the plain word.
  host.listLines.clear();
  o.Centring[1].active = 1;
  ctx.EmitWorkOffsetWord();
  ctx.EndBlock();
  EXPECT_EQ(host.listLines, (Lines{"G55 "}));
}

TEST_F(ProgramHeadTest, CentringMacroCalls) {
  OutputState& o = ctx.output;
  o.Centring[0].active = 1;
  o.Centring[0].cycleKind = 2;
  o.Centring[0].x = 10;
  o.Centring[0].y = 20;
  o.Centring[2].active = 1;
  o.Centring[2].cycleKind = 1;
  o.Centring[2].k = -5;
  o.Centring[3].active = 2;  // only exactly 1 is active
  ctx.EmitWorkOffsetMacro();
  EXPECT_EQ(o.CentringMode, 1);
  EXPECT_EQ(host.listLines, (Lines{"G65P7901W54C2X10.Y20.I0.J0.K-10.", "G65P7901W56C1I0.J0.K-5. "}));
  host.listLines.clear();
  o.PendingCommandCode = 16;
  o.Centring[2].active = 0;
  ctx.EmitWorkOffsetMacro();
  EXPECT_EQ(host.listLines, (Lines{"/G65P7901W54C2X10.Y20.I0.J0.K-10. "}));
}

TEST_F(ProgramHeadTest, ToolChangeApproachOrders) {
  struct Case {
    int order;
    Lines lines;
  };
  const Case cases[] = {
      {0, {"G00X10.Y20. ", "Z5. "}},
      {1, {"G00X10. ", "Y20.", "Z5. "}},
      {2, {"G00Y20. ", "X10.", "Z5. "}},
  };
  for (const Case& c : cases) {
    RecordingHost h;
    RunContext x(h);
    x.output.WordFormat = 0x2000 | 0x4000;
    x.output.CodeFormat = 0x0040;
    x.output.LastPlaneCode = 1;
    x.output.ApproachOrder = c.order;
    x.output.PrevZ = 100;
    x.output.TargetX = 10;
    x.output.TargetY = 20;
    x.output.TargetZ = 5;
    EXPECT_EQ(x.EmitToolChange(), 0);
    EXPECT_EQ(h.listLines, c.lines) << c.order;
  }
  // Upward: Z first. With the N word due: N0301 before the moves.
  ctx.output.LastPlaneCode = 1;
  ctx.output.ToolChangeNumberDue = 1;
  ctx.output.PrevZ = -5;
  ctx.output.TargetX = 0;
  ctx.output.TargetY = 0;
  ctx.output.TargetZ = 50;
  ctx.EmitToolChange();
  EXPECT_EQ(host.listLines, (Lines{"N0301 ", "G00Z50. "}));
}

TEST_F(ProgramHeadTest, NothingOnADisplayChannel) {
  ctx.output.OutputSuppress = 64;
  ctx.EmitProgramStart();
  ctx.EmitProgramHead();
  EXPECT_TRUE(host.listLines.empty());
}

}  // namespace
}  // namespace qup
