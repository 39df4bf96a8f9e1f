#include "shared/handover/color_table.h"

#include <gtest/gtest.h>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::ColorTable;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

ByteBuffer ColorImage() {
  ByteBuffer b(152);
  b.I32(0, 23).I32(4, 2).I32(8, 12).I32(12, 6).I32(16, 11).I32(20, 31);
  for (int i = 0; i < 32; ++i) b.I32(24 + 4 * i, 0x00010203 * i);
  return b;
}

TEST(ColorTableTest, IndexesAndPaletteSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / handover::kColorFileName;
  WriteBytes(in, ColorImage().bytes());
  ColorTable t;
  ASSERT_TRUE(handover::ReadColorTable(in, t).ok());
  EXPECT_EQ(t.axisColor, 23);
  EXPECT_EQ(t.figureColor, 2);
  EXPECT_EQ(t.figureColor2, 12);
  EXPECT_EQ(t.curveColor, 6);
  EXPECT_EQ(t.curveColor2, 11);
  EXPECT_EQ(t.backgroundIndex, 31);
  EXPECT_EQ(t.palette[0], 0u);
  EXPECT_EQ(t.palette[31], 0x00010203u * 31);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteColorTable(out, t).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(ColorTableTest, TheFigureColourIsStoredWithoutItsLineTypeBits) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  ColorTable t;
  t.figureColor = 0x2000 | 9;  // chain line, colour 9
  ASSERT_TRUE(handover::WriteColorTable(path, t).ok());
  EXPECT_EQ(ReadBytes(path)[4], 9);
  EXPECT_EQ(ReadBytes(path)[5], 0);
  ColorTable back;
  ASSERT_TRUE(handover::ReadColorTable(path, back).ok());
  EXPECT_EQ(back.figureColor, 9);
}

TEST(ColorTableTest, MissingFileKeepsTheCallersDefaults) {
  testsupport::TempFolder dir;
  std::uint32_t palette[32] = {};
  palette[1] = 0x0000FF;
  ColorTable t = handover::DefaultColorTable(palette);
  EXPECT_EQ(t.axisColor, 23);
  EXPECT_EQ(t.figureColor, 2);
  EXPECT_EQ(t.figureColor2, 12);
  EXPECT_EQ(t.curveColor, 6);
  EXPECT_EQ(t.curveColor2, 11);
  EXPECT_EQ(t.backgroundIndex, 0);
  EXPECT_EQ(t.palette[1], 0x0000FFu);
  EXPECT_TRUE(handover::ReadColorTable(dir.path() / "none.@@@", t).missing());
  EXPECT_EQ(t.palette[1], 0x0000FFu);
}

TEST(ColorTableTest, AnIndexOutsideThePaletteIsADamagedFile) {
  testsupport::TempFolder dir;
  struct Case {
    std::size_t offset;
    std::int32_t value;
  } cases[] = {{20, 32}, {20, -1}, {0, 99}, {4, 0x1002}, {16, 40}};
  for (const Case& c : cases) {
    const auto path = dir.path() / "c.@@@";
    WriteBytes(path, ColorImage().I32(c.offset, c.value).bytes());
    ColorTable t;
    t.backgroundIndex = 7;
    const auto result = handover::ReadColorTable(path, t);
    EXPECT_EQ(result.status, platform::FileStatus::ReadError) << c.offset << " " << c.value;
    EXPECT_EQ(t.backgroundIndex, 7);
  }
  const auto path = dir.path() / "short.@@@";
  WriteBytes(path, std::vector<std::uint8_t>(148, 0));
  ColorTable t;
  EXPECT_EQ(handover::ReadColorTable(path, t).status, platform::FileStatus::WrongSize);
}

TEST(ColorTableTest, ABackgroundOutsideThePaletteIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  ColorTable t;
  t.backgroundIndex = 32;
  EXPECT_EQ(handover::WriteColorTable(path, t).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
