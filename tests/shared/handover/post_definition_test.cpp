#include "shared/handover/post_definition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/text.h"
#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::BlockKind;
using handover::PostDefinition;
using handover::PostTable;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

constexpr std::size_t kRecord = 1352;
constexpr std::size_t kBlockOffsets[6] = {8, 198, 388, 578, 768, 958};

std::int32_t IntAt(const PostDefinition& post, std::size_t offset) {
  std::int32_t v;
  std::memcpy(&v, reinterpret_cast<const char*>(&post) + offset, 4);
  return v;
}

// A post whose header, six blocks, name and 39 options each hold a value
// that tells them apart; option k (offset 1196 + 4k) holds 1000 + k.
ByteBuffer PostImage(std::int32_t current, std::int32_t count, const char* tag) {
  ByteBuffer b(kRecord);
  b.I32(0, current).I32(4, count);
  for (int i = 0; i < 6; ++i) b.Text(kBlockOffsets[i], std::string(tag) + "-BLOCK" + std::to_string(i) + ";G90?");
  b.Text(1148, std::string(tag) + "-NAME");
  for (int k = 0; k < 39; ++k) b.I32(1196 + 4 * k, 1000 + k);
  return b;
}

std::unique_ptr<PostTable> NewTable() { return std::make_unique<PostTable>(); }

TEST(PostDefinitionTest, BlocksNameAndOptionsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / "in.@@@";
  ByteBuffer file = PostImage(2, 3, "H");
  file.Append(PostImage(0, 0, "A")).Append(PostImage(0, 0, "B"));
  WriteBytes(in, file.bytes());

  auto table = NewTable();
  ASSERT_TRUE(handover::ReadPostTable(in, *table).ok());
  EXPECT_EQ((*table)[0].currentPost, 2);
  EXPECT_EQ((*table)[0].postCount, 3);
  const PostDefinition& b = (*table)[2];
  EXPECT_EQ(b.Block(BlockKind::Init).Text(), "B-BLOCK0;G90?");
  EXPECT_EQ(b.Block(BlockKind::Atc).Text(), "B-BLOCK1;G90?");
  EXPECT_EQ(b.Block(BlockKind::Set).Text(), "B-BLOCK2;G90?");
  EXPECT_EQ(b.Block(BlockKind::Back00).Text(), "B-BLOCK3;G90?");
  EXPECT_EQ(b.Block(BlockKind::Back99).Text(), "B-BLOCK4;G90?");
  EXPECT_EQ(b.Block(BlockKind::End).Text(), "B-BLOCK5;G90?");
  EXPECT_EQ(b.Name(), "B-NAME");
  EXPECT_EQ(b.decimalPointOutput, 1000);
  EXPECT_EQ(b.reserved1212, 1004);
  EXPECT_EQ(b.lastTCode, 1018);
  EXPECT_EQ(b.spindleCode, 1027);
  EXPECT_EQ(b.originCode, 1030);
  EXPECT_EQ(b.toolLengthG43, 1034);
  EXPECT_EQ(b.renumberPrograms, 1036);
  EXPECT_EQ(b.reserved1348, 1038);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WritePostTable(out, *table).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(PostDefinitionTest, ResetGivesTheDefaultsAndKeepsTheHeaderIntegers) {
  PostDefinition post;
  std::memset(static_cast<void*>(&post), 0x5A, sizeof post);
  post.currentPost = 7;
  post.postCount = 9;
  handover::ResetPostRecord(post);

  EXPECT_EQ(post.currentPost, 7);
  EXPECT_EQ(post.postCount, 9);
  for (int i = 0; i < handover::kBlockTemplateCount; ++i) {
    EXPECT_EQ(post.blocks[i].Text(), handover::kBlockTemplateDefaults[i]);
    // The rest of the field is cleared, not left with old bytes.
    EXPECT_EQ(post.blocks[i].text[handover::BlockTemplate::kSize - 1], 0);
  }
  EXPECT_EQ(post.Name(), platform::Sjis("標準ポスト"));
  EXPECT_EQ(post.name[47], 0);
  // Offsets whose default is 1; every other option is 0.
  const std::size_t ones[] = {1204, 1208, 1224, 1240, 1244, 1248, 1260, 1272, 1284, 1292, 1296, 1328};
  for (std::size_t offset = 1196; offset < kRecord; offset += 4) {
    const bool one = std::find(std::begin(ones), std::end(ones), offset) != std::end(ones);
    EXPECT_EQ(IntAt(post, offset), one ? 1 : 0) << "option at " << offset;
  }
}

TEST(PostDefinitionTest, MissingFileGivesRecordZeroAndOneDefaultPost) {
  testsupport::TempFolder dir;
  auto table = NewTable();
  const auto result = handover::ReadPostTable(dir.path() / handover::kPostFileName, *table);
  EXPECT_TRUE(result.missing());
  EXPECT_EQ((*table)[0].currentPost, 1);
  EXPECT_EQ((*table)[0].postCount, 2);
  EXPECT_EQ((*table)[1].Block(BlockKind::End).Text(), "(END_POST)");
  EXPECT_EQ((*table)[1].dataMode, 1);
}

TEST(PostDefinitionTest, CountAndCurrentPostAreBroughtIntoTheTable) {
  testsupport::TempFolder dir;
  struct Case {
    const char* name;
    std::size_t records;
    std::int32_t fileCurrent, fileCount;
    std::int32_t count, current;
  } cases[] = {
      {"fewer records than the header says", 3, 2, 9, 3, 2},
      {"header count below what was read", 5, 1, 2, 5, 1},
      {"full table takes the header count", 31, 4, 20, 20, 4},
      {"full table with a count beyond it", 31, 4, 500, 31, 4},
      {"full table with a negative count", 31, 4, -3, 31, 4},
      {"records after the 31st are ignored", 35, 30, 31, 31, 30},
      {"current post beyond the count", 4, 12, 4, 4, 1},
      {"current post is the header", 4, 0, 4, 4, 1},
      {"header alone has no post to choose", 1, 3, 1, 1, 0},
  };
  for (const Case& c : cases) {
    ByteBuffer file = PostImage(c.fileCurrent, c.fileCount, "H");
    for (std::size_t i = 1; i < c.records; ++i) file.Append(PostImage(0, 0, "P"));
    const auto path = dir.path() / "p.@@@";
    WriteBytes(path, file.bytes());
    auto table = NewTable();
    ASSERT_TRUE(handover::ReadPostTable(path, *table).ok()) << c.name;
    EXPECT_EQ((*table)[0].postCount, c.count) << c.name;
    EXPECT_EQ((*table)[0].currentPost, c.current) << c.name;
  }
}

TEST(PostDefinitionTest, SlotsBeyondTheFileHoldTheDefaultPost) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "p.@@@";
  WriteBytes(path, PostImage(1, 2, "H").Append(PostImage(0, 0, "A")).bytes());
  auto table = NewTable();
  (*table)[5].SetName("stale");
  ASSERT_TRUE(handover::ReadPostTable(path, *table).ok());
  EXPECT_EQ((*table)[5].Name(), platform::Sjis("標準ポスト"));
  EXPECT_EQ((*table)[5].Block(BlockKind::Atc).Text(), "(ATC_POST)");
}

TEST(PostDefinitionTest, DamagedFilesLeaveTheTableAsItWas) {
  testsupport::TempFolder dir;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"empty file", {}},
      {"half a record", std::vector<std::uint8_t>(kRecord / 2, 0)},
      {"two records and a torn third",
       [] {
         ByteBuffer b = PostImage(1, 3, "H");
         b.Append(PostImage(0, 0, "A")).Append(ByteBuffer(100));
         return b.bytes();
       }()},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "p.@@@";
    WriteBytes(path, c.bytes);
    auto table = NewTable();
    handover::SetDefaultPostTable(*table);
    (*table)[1].SetName("mine");
    const auto result = handover::ReadPostTable(path, *table);
    EXPECT_EQ(result.status, platform::FileStatus::WrongSize) << c.name;
    EXPECT_EQ((*table)[1].Name(), "mine") << c.name;
    EXPECT_EQ((*table)[0].postCount, 2) << c.name;
  }
}

TEST(PostDefinitionTest, UnterminatedTextsAreCutInsideTheirFields) {
  testsupport::TempFolder dir;
  ByteBuffer b = PostImage(1, 1, "H");
  for (std::size_t offset : kBlockOffsets) b.Text(offset, std::string(190, 'X'));
  b.Text(1148, std::string(48, 'N'));
  const auto path = dir.path() / "p.@@@";
  WriteBytes(path, b.bytes());
  auto table = NewTable();
  ASSERT_TRUE(handover::ReadPostTable(path, *table).ok());
  for (const auto& block : (*table)[0].blocks) EXPECT_EQ(block.Text().size(), 189u);
  EXPECT_EQ((*table)[0].Name().size(), 47u);
}

TEST(PostDefinitionTest, WritesRecordsUpToTheCountOnly) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / handover::kPostFileName;
  auto table = NewTable();
  handover::SetDefaultPostTable(*table);
  (*table)[0].postCount = 3;
  (*table)[2].Block(BlockKind::Set).SetText("G54;");
  ASSERT_TRUE(handover::WritePostTable(path, *table).ok());
  EXPECT_EQ(std::filesystem::file_size(path), 3 * kRecord);

  auto back = NewTable();
  ASSERT_TRUE(handover::ReadPostTable(path, *back).ok());
  EXPECT_EQ((*back)[2].Block(BlockKind::Set).Text(), "G54;");
  EXPECT_EQ((*back)[0].postCount, 3);
}

TEST(PostDefinitionTest, ACountOutsideTheTableIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / handover::kPostFileName;
  auto table = NewTable();
  handover::SetDefaultPostTable(*table);
  ASSERT_TRUE(handover::WritePostTable(path, *table).ok());
  for (std::int32_t count : {0, -1, 32, 1000}) {
    (*table)[0].postCount = count;
    EXPECT_EQ(handover::WritePostTable(path, *table).status, platform::FileStatus::WriteError) << count;
  }
  EXPECT_EQ(std::filesystem::file_size(path), 2 * kRecord);  // the earlier file stands
}

TEST(PostDefinitionTest, ABlockTemplateKeepsItsTerminator) {
  handover::BlockTemplate block;
  block.SetText(std::string(300, 'G'));
  EXPECT_EQ(block.Text().size(), 189u);
  EXPECT_EQ(block.text[189], 0);
}

}  // namespace
