#include "shared/handover/code_line_record.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/text.h"
#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::CodeLineTable;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

TEST(CodeLineRecordTest, EachUsedLineIsWrittenAsItsFirst80Bytes) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / handover::kCodeLineFileName;
  auto table = std::make_unique<CodeLineTable>();
  (*table)[0].SetText(" O1234 (' FIRST OP)");
  (*table)[1].SetText("/#5203=0");
  (*table)[2].SetText("never used");
  ASSERT_TRUE(handover::WriteCodeLineFile(path, *table, 2).ok());

  ByteBuffer expected(160);
  expected.Text(0, " O1234 (' FIRST OP)").Text(80, "/#5203=0");
  EXPECT_EQ(ReadBytes(path), expected.bytes());
}

TEST(CodeLineRecordTest, ReadingFillsClearedSlotsAndKeepsAFullLineTerminated) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  ByteBuffer file(240);
  file.Text(0, " (' A)").Text(80, std::string(80, 'X')).Text(160, "/#5203=0");
  WriteBytes(path, file.bytes());

  auto table = std::make_unique<CodeLineTable>();
  (*table)[3].SetText("left from before");
  std::size_t count = 99;
  ASSERT_TRUE(handover::ReadCodeLineFile(path, *table, &count).ok());
  EXPECT_EQ(count, 3u);
  EXPECT_EQ((*table)[0].Text(), " (' A)");
  EXPECT_EQ((*table)[1].Text(), std::string(80, 'X'));  // bytes 80..85 of the slot end it
  EXPECT_EQ((*table)[2].Text(), "/#5203=0");
  EXPECT_EQ((*table)[3].Text(), "");
}

TEST(CodeLineRecordTest, TextIsCutToTheBytesTheFileKeepsOnACharacterBoundary) {
  handover::CodeLineSlot slot;
  slot.SetText(std::string(100, 'A'));
  EXPECT_EQ(slot.Text().size(), 80u);
  // 79 single bytes and a double-byte character that would end at byte 81.
  const std::string kanji = platform::Sjis("工");
  slot.SetText(std::string(79, 'B') + kanji);
  EXPECT_EQ(slot.Text(), std::string(79, 'B'));
}

TEST(CodeLineRecordTest, MissingFileGivesAnEmptyTable) {
  testsupport::TempFolder dir;
  auto table = std::make_unique<CodeLineTable>();
  (*table)[0].SetText("old");
  std::size_t count = 5;
  EXPECT_TRUE(handover::ReadCodeLineFile(dir.path() / "none.@@@", *table, &count).missing());
  EXPECT_EQ(count, 0u);
  EXPECT_EQ((*table)[0].Text(), "");
}

TEST(CodeLineRecordTest, ATornLineIsADamagedFile) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  WriteBytes(path, std::vector<std::uint8_t>(80 + 30, 'Z'));
  auto table = std::make_unique<CodeLineTable>();
  (*table)[0].SetText("mine");
  std::size_t count = 1;
  EXPECT_EQ(handover::ReadCodeLineFile(path, *table, &count).status, platform::FileStatus::WrongSize);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ((*table)[0].Text(), "mine");
}

TEST(CodeLineRecordTest, LinesBeyondTheTableAreLeftOutAndNamed) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  ByteBuffer file(80 * 386);
  file.Text(80 * 383, "LAST KEPT").Text(80 * 384, "DROPPED");
  WriteBytes(path, file.bytes());
  auto table = std::make_unique<CodeLineTable>();
  std::size_t count = 0;
  const auto result = handover::ReadCodeLineFile(path, *table, &count);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(count, handover::kCodeLineCount);
  EXPECT_EQ((*table)[383].Text(), "LAST KEPT");
  EXPECT_NE(result.message.find("2 lines"), std::string::npos) << result.message;
}

TEST(CodeLineRecordTest, ACountBeyondTheTableIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  auto table = std::make_unique<CodeLineTable>();
  EXPECT_EQ(handover::WriteCodeLineFile(path, *table, 385).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(handover::WriteCodeLineFile(path, *table, 384).ok());
  EXPECT_EQ(std::filesystem::file_size(path), 80u * 384);
}

}  // namespace
