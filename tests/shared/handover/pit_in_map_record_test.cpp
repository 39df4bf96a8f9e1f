#include "shared/handover/pit_in_map_record.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::PitInMapRecord;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

ByteBuffer ItemImage(std::int32_t kind, std::int32_t toolMap) {
  ByteBuffer b(56);
  b.I32(0, kind).I32(4, toolMap).I32(8, 1301).I32(12, 2301).I32(16, 3301).I32(20, 4301);
  b.F64(24, 0.4).F64(32, 0.3).F64(40, 0.2).F64(48, 0.1);
  return b;
}

TEST(PitInMapRecordTest, FieldsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / handover::kPitInMapFileName;
  WriteBytes(in, ItemImage(1, 3).Append(ItemImage(2, 4)).bytes());
  std::vector<PitInMapRecord> items;
  ASSERT_TRUE(handover::ReadPitInMap(in, items).ok());
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].valid(), PitInMapRecord::kBottomFinish);
  EXPECT_EQ(items[0].processNumber(), 3);
  EXPECT_EQ(items[0].programNumbers()[0], 1301);
  EXPECT_EQ(items[0].sectionNumbers[3], 4301);
  EXPECT_EQ(items[0].depths[0], 0.4);
  EXPECT_EQ(items[0].depths[3], 0.1);
  EXPECT_EQ(items[1].kind, PitInMapRecord::kContourFinish);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WritePitInMap(out, items).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(PitInMapRecordTest, AKindOfZeroEndsTheTable) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "p.@@@";
  // What follows the end item is not looked at, even when it is nonsense.
  WriteBytes(path, ItemImage(1, 1).Append(ItemImage(0, 0)).Append(ItemImage(77, 9)).bytes());
  std::vector<PitInMapRecord> items;
  ASSERT_TRUE(handover::ReadPitInMap(path, items).ok());
  EXPECT_EQ(items.size(), 1u);

  std::vector<PitInMapRecord> table(5);
  table[0].kind = 2;
  table[1].kind = 1;
  ASSERT_TRUE(handover::WritePitInMap(path, table).ok());
  EXPECT_EQ(std::filesystem::file_size(path), 2 * 56u);
}

TEST(PitInMapRecordTest, DamagedMapsAreRefused) {
  testsupport::TempFolder dir;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    platform::FileStatus status;
  } cases[] = {
      {"torn item", std::vector<std::uint8_t>(56 + 20, 0), platform::FileStatus::WrongSize},
      {"129 items", std::vector<std::uint8_t>(56 * 129, 0), platform::FileStatus::WrongSize},
      {"unknown kind", ItemImage(3, 1).bytes(), platform::FileStatus::ReadError},
      {"depth not a number", ItemImage(1, 1).F64(40, std::numeric_limits<double>::quiet_NaN()).bytes(),
       platform::FileStatus::ReadError},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "p.@@@";
    WriteBytes(path, c.bytes);
    std::vector<PitInMapRecord> items(2);
    EXPECT_EQ(handover::ReadPitInMap(path, items).status, c.status) << c.name;
    EXPECT_EQ(items.size(), 2u) << c.name;
  }
}

TEST(PitInMapRecordTest, MoreItemsThanTheBuilderKeepsAreNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "p.@@@";
  std::vector<PitInMapRecord> items(handover::kMaxPitInItems + 1);
  for (auto& item : items) item.kind = 1;
  EXPECT_EQ(handover::WritePitInMap(path, items).status, platform::FileStatus::WriteError);
  items.pop_back();
  ASSERT_TRUE(handover::WritePitInMap(path, items).ok());
  EXPECT_EQ(std::filesystem::file_size(path), 56u * handover::kMaxPitInItems);
}

}  // namespace
