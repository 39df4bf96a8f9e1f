// Word formatting by the post's number rules, the block rules of EndBlock,
// the message-list echo and the NC file with its CR LF line ends.
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace qup {
namespace {

constexpr int kDecimalPoint = 0x2000;
constexpr int kHundredths = 0x8000;
constexpr int kThousandths = 0x4000;
constexpr int kSequenceWords = 0x0008;

std::string BlockText(const RunContext& ctx) {
  return std::string(ctx.output.Block.Text.data(), static_cast<std::size_t>(ctx.output.Block.Position));
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class BlockOutputTest : public ::testing::Test {
 protected:
  std::string Word(int wordFormat, char letter, double value) {
    ctx.output.WordFormat = wordFormat;
    ctx.output.Block.Position = 0;
    ctx.PutWordValue(letter, value);
    return BlockText(ctx);
  }
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(BlockOutputTest, WordValueByNumberRule) {
  struct Case {
    int format;
    double value;
    const char* text;
  };
  const Case cases[] = {
      // Decimal point, least increment 0.001: trailing zeros cut.
      {kDecimalPoint | kThousandths, 12, "X12."},
      {kDecimalPoint | kThousandths, 12.5, "X12.5"},
      {kDecimalPoint | kThousandths, -0.25, "X-0.25"},
      {kDecimalPoint | kThousandths, 1.2346, "X1.235"},
      {kDecimalPoint | kThousandths, 100, "X100."},
      {kDecimalPoint | kThousandths, -3.05, "X-3.05"},
      {kDecimalPoint | kThousandths, 0.0003, "X0."},
      // The value as stored is rounded: an exact tie goes to the even digit,
      // 1.0005 is stored a little below its tie, long values keep every digit.
      {kDecimalPoint | kThousandths, 0.0625, "X0.062"},
      {kDecimalPoint | kThousandths, -2.0625, "X-2.062"},
      {kDecimalPoint | kThousandths, 1.0005, "X1."},
      {kDecimalPoint | kThousandths, 123456789012.3456, "X123456789012.346"},
      // Small negatives print as a positive zero; 0.000001 or less is no word.
      {kDecimalPoint | kThousandths, -0.0005, "X0."},
      {kDecimalPoint | kThousandths, 0, ""},
      {kDecimalPoint | kThousandths, 0.0000009, ""},
      {kDecimalPoint | kThousandths, -0.000001, "X0."},
      {kDecimalPoint | kThousandths, 0.00001, "X0."},
      // Integer notation in thousandths.
      {kThousandths, 12.5, "X12500"},
      {kThousandths, -0.5, "X-500"},
      {kThousandths, -0.0005, "X0"},
      {kThousandths, 0.00009999, "X0"},
      {kThousandths, 0.0625, "X62"},
      {kThousandths, 2.0625, "X2062"},
      // Integer notation in hundredths: rounded to 0.01 first.
      {kHundredths, 1.236, "X124"},
      {kHundredths, 1.235, "X124"},
      {kHundredths, -2.344, "X-234"},
      // Decimal point with hundredths.
      {kDecimalPoint | kHundredths, 2.346, "X2.35"},
      {kDecimalPoint | kHundredths, 7.0, "X7."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Word(c.format, 'X', c.value), c.text) << c.value << " format " << std::hex << c.format;
  }
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(BlockOutputTest, OneAndThreeDecimalValues) {
  struct Case {
    double value;
    const char* one;
    const char* three;
  };
  const Case cases[] = {
      {100, "100", "100."},    {12.5, "12", "12.5"}, {12.345, "12", "12.345"},
      {99.96, "100", "99.96"}, {-3.2, "-3", "-3.2"}, {0.00004, "0", "0."},
  };
  for (const Case& c : cases) {
    ctx.output.Block.Position = 0;
    ctx.PutValueOneDecimal(c.value);
    EXPECT_EQ(BlockText(ctx), c.one) << c.value;
    ctx.output.Block.Position = 0;
    ctx.PutValueThreeDecimals(c.value);
    EXPECT_EQ(BlockText(ctx), c.three) << c.value;
  }
}

TEST_F(BlockOutputTest, PaddedIntegers) {
  struct Case {
    double value;
    int digits;
    const char* text;
  };
  const Case cases[] = {{5, 2, "05"}, {301, 4, "0301"}, {12345, 4, "12345"}, {7.9, 1, "7"}, {0, 6, "000000"}};
  for (const Case& c : cases) {
    ctx.output.Block.Position = 0;
    EXPECT_EQ(ctx.PutPaddedInteger(c.value, c.digits), 0);
    EXPECT_EQ(BlockText(ctx), c.text);
  }
  // Digit counts outside 1 to 6 stop the run with error 18, appending nothing.
  for (int digits : {0, 7}) {
    RecordingHost h;
    RunContext c(h);
    EXPECT_EQ(c.PutPaddedInteger(5, digits), kStopRun);
    EXPECT_EQ(c.output.Block.Position, 0);
    ASSERT_EQ(h.errorBoxes.size(), 1u);
    EXPECT_EQ(platform::Cp932ToUtf8(h.errorBoxes[0]), ">>> ERROR.2018 <<<\n   出力デ－タ桁数が不正です");
  }
}

TEST_F(BlockOutputTest, ValueThatIsNotANumberNeverReachesTheFile) {
  testsupport::TempFolder folder;
  const auto path = folder.path() / "O1.NC";
  ctx.output.WordFormat = kDecimalPoint;
  ASSERT_EQ(ctx.OpenNcOutput(path.string()), 0);
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    ctx.PutBlockText("G01");
    ctx.PutWordValue('X', 1);
    ctx.PutWordValue('Y', bad);
    EXPECT_EQ(ctx.EndBlock(), kStopRun);
  }
  ctx.PutBlockText("G00");
  ctx.PutValueOneDecimal(-std::numeric_limits<double>::infinity());
  ctx.EndBlock();
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_TRUE(host.listLines.empty());
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);  // one box per stop
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2062"), std::string::npos);
}

TEST_F(BlockOutputTest, ABlockThatOutgrowsTheBufferStopsTheRunInsteadOfBeingCut) {
  // A block that lost its line ends runs on past the buffer; written cut
  // short it would send the tool to a point nobody asked for.
  testsupport::TempFolder folder;
  const auto path = folder.path() / "O1.NC";
  ctx.output.WordFormat = kDecimalPoint;
  ASSERT_EQ(ctx.OpenNcOutput(path.string()), 0);
  ctx.PutBlockText("G01X1.");
  EXPECT_EQ(ctx.EndBlock(), 0);
  for (int i = 0; i < 200; ++i) {
    ctx.PutBlockText("G01");
    ctx.PutWordValue('X', 100.125 + i);
  }
  EXPECT_EQ(ctx.EndBlock(), kStopRun);
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
  EXPECT_EQ(ReadFile(path), "G01X1.\r\n");
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(platform::Cp932ToUtf8(host.errorBoxes[0]), ">>> ERROR.2063 <<<\n   出力ブロックが長すぎます");
}

TEST_F(BlockOutputTest, AQuotedBlockAtTheLimitKeepsItsClosingCharacters) {
  ctx.output.QuotedBlockMode = 1;
  ctx.output.Block.Position = 0;
  ctx.PutBlockChar('"');
  while (ctx.output.Block.Position < BlockBuffer::kSize - 8) ctx.PutBlockChar('X');
  EXPECT_EQ(ctx.output.BlockRefused, 0);
  EXPECT_EQ(ctx.EndBlock(), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  ASSERT_FALSE(host.listLines.empty());
  EXPECT_EQ(host.listLines.back().substr(host.listLines.back().size() - 2), ";\"");
}

TEST_F(BlockOutputTest, UnquotedBlocksAreWrittenWithEvenLengthAndCrLf) {
  testsupport::TempFolder folder;
  const auto path = folder.path() / "O1.NC";
  ctx.output.WordFormat = kDecimalPoint;
  ASSERT_EQ(ctx.OpenNcOutput(path.string()), 0);
  ctx.PutBlockText("G00");
  ctx.PutWordValue('X', 1);
  EXPECT_EQ(ctx.EndBlock(), 0);
  ctx.PutBlockText("G00");
  ctx.PutWordValue('X', 12);
  EXPECT_EQ(ctx.EndBlock(), 0);
  EXPECT_EQ(ctx.EndBlock(), 0);  // an empty block writes nothing
  ASSERT_EQ(ctx.CloseNcOutput(), 0);
  EXPECT_EQ(ReadFile(path), "G00X1.\r\nG00X12. \r\n");
  EXPECT_EQ(ctx.output.NcByteCount, 8 + 10);
  ASSERT_EQ(host.listLines.size(), 2u);
  EXPECT_EQ(host.listLines[1], "G00X12. ");
}

TEST_F(BlockOutputTest, QuotedBlocks) {
  ctx.output.WordFormat = kDecimalPoint;
  ctx.output.QuotedBlockMode = 1;
  ctx.OpenBlock();
  ctx.EndBlock();  // only the opening quote: nothing is written
  EXPECT_TRUE(host.listLines.empty());
  EXPECT_EQ(BlockText(ctx), "\"");
  ctx.PutBlockText("G01");
  ctx.PutWordValue('X', 10);
  ctx.EndBlock();
  ASSERT_EQ(host.listLines.size(), 1u);
  EXPECT_EQ(host.listLines[0], "\"G01X10.;\"");
  EXPECT_EQ(BlockText(ctx), "\"");  // the next block already holds its quote
}

TEST_F(BlockOutputTest, SequenceWordsWrapAndBarePrefixStaysOpen) {
  ctx.output.WordFormat = kDecimalPoint | kSequenceWords;
  ctx.OpenBlock();
  ctx.PutBlockText("G00");
  ctx.EndBlock();
  EXPECT_EQ(host.listLines.back(), "L0001G00");
  // Right after the previous block: only the prefix, nothing is written and
  // the next words follow L0002 in the same block.
  ctx.EndBlock();
  EXPECT_EQ(host.listLines.size(), 1u);
  ctx.PutBlockText("M30");
  ctx.EndBlock();
  EXPECT_EQ(host.listLines.back(), "L0002M30");
  ctx.output.BlockSequenceNumber = 9998;
  ctx.output.Block.Position = 0;
  ctx.output.BlockOpenCount = 0;
  ctx.OpenBlock();
  ctx.PutBlockText("X");
  ctx.EndBlock();
  ctx.PutBlockText("Y");
  ctx.EndBlock();
  EXPECT_EQ(host.listLines[host.listLines.size() - 2], "L9999X");
  EXPECT_EQ(host.listLines.back(), "L0001Y");
}

TEST_F(BlockOutputTest, EchoKeepsHeadSeparatorsAndARollingWindow) {
  for (int i = 1; i <= 300; ++i) {
    ctx.PutBlockText("N" + std::to_string(1000 + i));
    ctx.EndBlock();
  }
  // The separators are not counted: 207 counted lines are 212 list lines,
  // and the line at index 106 (the oldest of the window) goes first.
  ASSERT_EQ(host.listLines.size(), 212u);
  EXPECT_EQ(ctx.output.ListLineCount, 207);
  EXPECT_EQ(host.listLines[100], "N1101 ");
  EXPECT_EQ(platform::Cp932ToUtf8(host.listLines[101]), "    ･ ");
  EXPECT_EQ(host.listLines[106], "N1195 ");
  EXPECT_EQ(host.listLines.back(), "N1300 ");
  EXPECT_EQ(host.selectedLine, static_cast<int>(host.listLines.size()) - 1);
}

TEST(ListLinesTest, DeletesAnywhereAsAPlainListWould) {
  // The echo deletes at one fixed place; other deletes move the split
  // between the two parts back and forth and must keep the order.
  ListLines lines;
  std::vector<std::string> model;
  for (int i = 0; i < 12; ++i) {
    lines.emplace_back("L" + std::to_string(i));
    model.push_back("L" + std::to_string(i));
  }
  for (int at : {5, 5, 2, 8, 0, 3, 3}) {
    lines.erase(std::as_const(lines).begin() + at);
    model.erase(model.begin() + at);
    lines.emplace_back("added after " + std::to_string(at));
    model.push_back("added after " + std::to_string(at));
    ASSERT_EQ(lines, model) << "after deleting at " << at;
  }
  EXPECT_EQ(lines.front(), model.front());
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()),
            std::vector<std::string>(model.begin() + 4, model.end()));
  lines.clear();
  EXPECT_TRUE(lines.empty());
}

TEST_F(BlockOutputTest, HiddenMonitorShowsOneProgressLine) {
  ctx.output.MonitorFlags = 0x8000;
  for (int i = 0; i < 3; ++i) {
    ctx.PutBlockText("G00");
    ctx.EndBlock();
  }
  ASSERT_EQ(host.listLines.size(), 3u);
  EXPECT_EQ(platform::Cp932ToUtf8(host.listLines[1]), " *** 計算中 *** ");
  EXPECT_EQ(host.selectedLine, 1);
  EXPECT_EQ(ctx.output.MonitorFlags, 15);
}

TEST_F(BlockOutputTest, OpenErrorNamesThePath) {
  EXPECT_EQ(ctx.OpenNcOutput("/nonexistent-folder/O1.NC"), kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], ">>> ERROR.2060 <<<\n   DATA_FILE::OPEN_ERROR[/nonexistent-folder/O1.NC]");
}

TEST_F(BlockOutputTest, FailedWriteShowsAnErrorOnceAndStops) {
  // /dev/full refuses every write as a full disk does.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  ASSERT_EQ(ctx.OpenNcOutput("/dev/full"), 0);
  int failedAt = -1;
  for (int i = 0; i < 2000 && failedAt < 0; ++i) {
    ctx.PutBlockText("G01X123.456Y-78.9");
    if (ctx.EndBlock() == kStopRun) failedAt = i;
  }
  ctx.CloseNcOutput();
  EXPECT_GE(failedAt, 0);
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], ">>> ERROR.2061 <<<\n   DATA_FILE::WRITE_ERROR[/dev/full]");
}

TEST_F(BlockOutputTest, StopNoticedByThePollBecomesAnOutputStop) {
  ctx.AbortFlag = kStopSeen;
  testsupport::TempFolder folder;
  ASSERT_EQ(ctx.OpenNcOutput((folder.path() / "O1.NC").string()), 0);
  ctx.PutBlockText("M30");
  ctx.EndBlock();
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  EXPECT_TRUE(host.errorBoxes.empty());
  ctx.CloseNcOutput();
}

}  // namespace
}  // namespace qup
