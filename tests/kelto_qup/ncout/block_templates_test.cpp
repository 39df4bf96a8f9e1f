// The post's block templates with every placeholder, tool comments, the
// diameter comment and the machine M codes after the set-up template.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {
namespace {

class BlockTemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.output.WordFormat = 0x2000;  // decimal point, no sequence words
    ctx.output.CurrentTool = 5;
    ctx.output.CurrentTCode = 5;
    ctx.output.NextTool = -1.0;
  }
  // Expands `text` as template `index` with `kind` and returns the blocks.
  std::vector<std::string> Expand(int index, const char* text, int kind) {
    ctx.output.Post.blocks[index].SetText(text);
    host.listLines.clear();
    ctx.ExpandBlockTemplate(kind);
    return host.listLines;
  }
  void AddComment(int tool, const char* c1, const char* c2 = "") {
    ToolCommentRecord r;
    r.toolNumber = tool;
    platform::SetFieldText(r.comment1, platform::Sjis(c1));
    platform::SetFieldText(r.comment2, platform::Sjis(c2));
    ctx.output.ToolComments.push_back(r);
  }
  using Blocks = std::vector<std::string>;
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(BlockTemplatesTest, CurrentToolWithItsComment) {
  AddComment(5, "END MILL");
  // Unquoted blocks are padded to even length.
  EXPECT_EQ(Expand(1, "T?M06;", 1), (Blocks{"T05 ", "(END MILL)M06 "}));
  AddComment(6, "DRILL", "HSS");
  ctx.output.CurrentTCode = 6;
  EXPECT_EQ(Expand(1, "T?M06;", 1), (Blocks{"T06 ", "(DRILL) ", "(HSS)M06"}));
}

TEST_F(BlockTemplatesTest, OffsetsOfTheCurrentTool) {
  ctx.output.CurrentTCode = 3;
  EXPECT_EQ(Expand(1, "H?+20;", 1), (Blocks{"H23 "}));
  ctx.output.CurrentTCode = 7;
  EXPECT_EQ(Expand(1, "D?+5;", 1), (Blocks{"D12 "}));
  EXPECT_EQ(Expand(1, "D?+X;", 1), (Blocks{"DX"}));      // no digit: nothing, "+" consumed
  EXPECT_EQ(Expand(1, "H?+993;", 1), (Blocks{"H100"}));  // at most 3 characters
}

TEST_F(BlockTemplatesTest, SectionKindsKeepTheOpeningOfTheirBlock) {
  // Kinds 11 and 21 drop what the open block holds, but not its opening
  // quote and sequence word: the numbering runs on and the line is whole.
  struct Case {
    const char* name;
    int quoted;
    Blocks blocks;
  };
  const Case cases[] = {{"quoted", 1, {"\"L0001G00;\"", "\"L0002G43H05;\"", "\"L0003M09;\""}},
                        {"plain", 0, {"L0001G00", "L0002G43H05 ", "L0003M09"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.listLines.clear();
    ctx.output.QuotedBlockMode = c.quoted;
    ctx.output.WordFormat = 0x2000 | 0x0008;  // sequence words
    ctx.output.BlockSequenceNumber = 0;
    ctx.output.Block.Position = 0;
    ctx.output.BlockOpenCount = 0;
    ctx.OpenBlock();
    ctx.WriteBlock("G00");
    ctx.PutBlockText("X1.");  // dropped by the section kind
    ctx.output.Post.blocks[2].SetText("M08{G43H?;}");
    ctx.ExpandBlockTemplate(21);
    ctx.WriteBlock("M09");
    EXPECT_EQ(host.listLines, c.blocks);
  }
}

TEST_F(BlockTemplatesTest, NextToolWords) {
  EXPECT_EQ(Expand(1, "M06T??;", 1), (Blocks{"M06 "}));  // no tool follows
  ctx.output.NextTool = 12;
  AddComment(12, "CENTER DRILL");
  EXPECT_EQ(Expand(1, "M06T??;", 1), (Blocks{"M06T12", "(CENTER DRILL)"}));
  ctx.output.NextTool = 4;
  EXPECT_EQ(Expand(1, "T??+100M06;", 1), (Blocks{"T104M06 "}));
  // Without a following tool the whole tool word goes, offset number and all:
  // a bare "100" would be no NC word.
  ctx.output.NextTool = -1;
  EXPECT_EQ(Expand(1, "T??+100M06;", 1), Blocks{});
  EXPECT_EQ(Expand(1, "H??+100;", 1), (Blocks{"H100"}));
}

TEST_F(BlockTemplatesTest, DiameterCommentOfTheCurrentTool) {
  handover::ToolMapRecord tool;
  tool.atcNumber = 5;
  tool.diameter = 10.0f;
  platform::SetFieldText(tool.toolName, platform::Sjis("FLAT END MILL"));
  ctx.output.ToolMap.push_back(tool);
  ctx.output.ToolMapLoaded = 1;
  ctx.output.NextTool = 8;
  EXPECT_EQ(Expand(1, "T??M06;", 1), (Blocks{"T08 ", "(DIA10.00 FLAT END MILL)M06 "}));
}

TEST_F(BlockTemplatesTest, SectionsOfTheReturnAndSetUpKinds) {
  EXPECT_EQ(Expand(2, "G00[X]{G43H?;}", 21), (Blocks{"G43H05"}));
  EXPECT_EQ(Expand(2, "M05[M09]M03", 20), (Blocks{"M09 "}));
  EXPECT_EQ(Expand(3, "G00[G91G28Z0.]", 30), (Blocks{"G91G28Z0. "}));
  // The whole kind stops at "{": the rest serves the brace kinds.
  EXPECT_EQ(Expand(1, "M06{G43H?;}", 1), (Blocks{"M06 "}));
  // Brackets are written as characters in the whole kind.
  EXPECT_EQ(Expand(4, "G28[M01]", 4), (Blocks{"G28[M01]"}));
}

TEST_F(BlockTemplatesTest, CompensationSideWord) {
  ctx.output.CompensationSide = 0x2;
  EXPECT_EQ(Expand(2, "GhhD?;", 2), (Blocks{"G41D05"}));
  ctx.output.CompensationSide = 0x4;
  EXPECT_EQ(Expand(2, "GhhD?;", 2), (Blocks{"G42D05"}));
  ctx.output.CompensationSide = 0;
  EXPECT_EQ(Expand(2, "GhhD?;", 2), (Blocks{"D05 "}));
}

TEST_F(BlockTemplatesTest, CentringAndSubprogramBrackets) {
  ctx.output.CentringMode = 1;
  ctx.output.OptionalStopSetting = 1;
  EXPECT_EQ(Expand(1, "M06[M01]G00;", 1), (Blocks{"M06M00G00 "}));
  ctx.output.OptionalStopSetting = 0;
  EXPECT_EQ(Expand(1, "M06[M01]G00;", 1), (Blocks{"M06M01G00 "}));
  ctx.output.CentringMode = 0;
  ctx.output.SubprogramMode = 1;
  EXPECT_EQ(Expand(1, "M06[M01]G00;", 1), (Blocks{"M06 "}));
}

TEST_F(BlockTemplatesTest, EmptyTemplateEndsTheOpenBlock) {
  ctx.PutBlockText("G00");
  EXPECT_EQ(Expand(5, "", 5), (Blocks{"G00 "}));
  EXPECT_EQ(Expand(5, "", 5), Blocks{});
}

TEST_F(BlockTemplatesTest, MachineMCodesFollowTheSetUpAndReturnTemplates) {
  handover::ToolMapRecord tool;
  tool.atcNumber = 5;
  tool.coolant = 2;
  ctx.output.ToolMap.push_back(tool);
  ctx.job.ToolMapSlot = 1;  // the process's record
  MachineMCodeEntry entry;
  platform::SetFieldText(entry.machineName, "MC-1");
  platform::SetFieldText(entry.kinds[1].start, "M08X");
  platform::SetFieldText(entry.kinds[1].end, "M09");
  ctx.output.MachineMCodes.push_back(entry);
  ctx.output.MachineMCodesLoaded = 1;
  ctx.output.JobMachineName = "MC-1";
  EXPECT_EQ(Expand(2, "G00;", 2), (Blocks{"G00 ", "M08 "}));
  EXPECT_EQ(Expand(3, "G28;", 3), (Blocks{"G28 ", "M09 "}));
  ctx.output.JobMachineName = "OTHER";
  EXPECT_EQ(Expand(2, "G00;", 2), (Blocks{"G00 "}));
}

}  // namespace
}  // namespace qup
