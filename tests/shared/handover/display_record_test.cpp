#include "shared/handover/display_record.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::CDisplayRecord;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

ByteBuffer MoveImage(std::int16_t kind, std::uint16_t color, float x) {
  ByteBuffer b(32);
  b.I16(0, kind).I16(2, static_cast<std::int16_t>(color));
  b.F32(4, x).F32(8, -2.5f).F32(12, 10.0f).F32(16, 0.6f).F32(20, 0.8f).F32(24, -1.0f).F32(28, 3.0f);
  return b;
}

TEST(DisplayRecordTest, FieldsSitAtTheirOffsetsAndRoundTripWithoutOffset) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / handover::kDisplayListFileName;
  WriteBytes(in, MoveImage(1, 0x8000 | 5, 12.5f).Append(MoveImage(-9999, 0, 0.0f)).bytes());
  std::vector<CDisplayRecord> list;
  ASSERT_TRUE(handover::ReadDisplayList(in, list).ok());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].kind, 1);
  EXPECT_EQ(list[0].colorWord & CDisplayRecord::kColorMask, 5);
  EXPECT_EQ(list[0].colorWord & CDisplayRecord::kSideOne, CDisplayRecord::kSideOne);
  EXPECT_EQ(list[0].x, 12.5f);
  EXPECT_EQ(list[0].y, -2.5f);
  EXPECT_EQ(list[0].z, 10.0f);
  EXPECT_EQ(list[0].dir[0], 0.6f);
  EXPECT_EQ(list[0].dir[1], 0.8f);
  EXPECT_EQ(list[0].dir[2], -1.0f);
  EXPECT_EQ(list[0].radius, 3.0f);
  EXPECT_EQ(list[1].kind, -9999);

  const auto out = dir.path() / "out.LST";
  ASSERT_TRUE(handover::WriteDisplayList(out, list, 0).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(DisplayRecordTest, SavingMovesTheColourOnAndKeepsTheSideFlags) {
  struct Case {
    std::uint16_t color;
    int offset;
    std::uint16_t saved;
  } cases[] = {
      {5, 3, 8},
      {0x8000 | 5, 3, 0x8000 | 8},
      {0x4000 | 0xFFE, 3, 0x4000 | 0x001},  // wraps inside the tool number
      {0x0FFF, 1, 0x0000},                  // never carries into the flags
      {7, -2, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(handover::OffsetColorWord(c.color, c.offset), c.saved) << c.color << " + " << c.offset;
  }
  testsupport::TempFolder dir;
  const auto path = dir.path() / "d.LST";
  std::vector<CDisplayRecord> list(1);
  list[0].colorWord = 0x8000 | 5;
  ASSERT_TRUE(handover::WriteDisplayList(path, list, 3).ok());
  ASSERT_TRUE(handover::ReadDisplayList(path, list).ok());
  ASSERT_TRUE(handover::WriteDisplayList(path, list, 3).ok());
  ASSERT_TRUE(handover::ReadDisplayList(path, list).ok());
  EXPECT_EQ(list[0].colorWord, 0x8000 | 11);  // each save adds the offset again
}

TEST(DisplayRecordTest, ATornTailIsLeftOutAndNamed) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "d.LST";
  auto bytes = MoveImage(1, 2, 1.0f).Append(MoveImage(0, 2, 2.0f)).bytes();
  bytes.resize(bytes.size() + 7, 0xAA);
  WriteBytes(path, bytes);
  std::vector<CDisplayRecord> list;
  const auto result = handover::ReadDisplayList(path, list);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(list.size(), 2u);
  EXPECT_NE(result.message.find("7 bytes"), std::string::npos) << result.message;
}

TEST(DisplayRecordTest, MissingFileLoadsNothing) {
  testsupport::TempFolder dir;
  std::vector<CDisplayRecord> list(4);
  EXPECT_TRUE(handover::ReadDisplayList(dir.path() / "none.LST", list).missing());
  EXPECT_EQ(list.size(), 4u);
}

TEST(DisplayRecordTest, APointThatIsNotANumberIsRefusedBothWays) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "d.LST";
  WriteBytes(path, MoveImage(1, 2, std::numeric_limits<float>::quiet_NaN()).bytes());
  std::vector<CDisplayRecord> list(1);
  EXPECT_EQ(handover::ReadDisplayList(path, list).status, platform::FileStatus::ReadError);

  const auto out = dir.path() / "out.LST";
  list[0].z = std::numeric_limits<float>::infinity();
  EXPECT_EQ(handover::WriteDisplayList(out, list, 0).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
