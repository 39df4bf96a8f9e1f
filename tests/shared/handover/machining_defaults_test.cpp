#include "shared/handover/machining_defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::MachiningDefaults;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

ByteBuffer DefaultsImage() {
  ByteBuffer b(168);
  b.I32(0, 95).I32(4, 1).I32(8, 1).I32(12, 5000).I32(16, 2).I32(20, 1);
  const double doubles[] = {11, 22, 33, 4.5, 2.25, 12, 90, 210, 0.75, 0.15, 640, 30, 2};
  for (int i = 0; i < 13; ++i) b.F64(24 + 8 * i, doubles[i]);
  b.I32(128, 800).I32(132, 0).F64(136, 120.5).I32(144, 1).I32(148, 60);
  b.F32(152, -1.5f).F32(156, 0.25f).I32(160, 0).I32(164, 0);
  return b;
}

TEST(MachiningDefaultsTest, FieldsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / handover::kMachiningDefaultsFileName;
  WriteBytes(in, DefaultsImage().bytes());
  MachiningDefaults d;
  ASSERT_TRUE(handover::ReadMachiningDefaults(in, d).ok());
  EXPECT_EQ(d.arcFeedPercent, 95);
  EXPECT_EQ(d.generalA, 1);
  EXPECT_EQ(d.compensationCode, 1);
  EXPECT_EQ(d.spindleSpeed, 5000);
  EXPECT_EQ(d.generalB, 2);
  EXPECT_EQ(d.deepHoleReturn, 1);
  EXPECT_EQ(d.originZ, 11);
  EXPECT_EQ(d.moveZ, 22);
  EXPECT_EQ(d.holeIPoint, 33);
  EXPECT_EQ(d.holeRPoint, 4.5);
  EXPECT_EQ(d.holeThroughAmount, 2.25);
  EXPECT_EQ(d.toolDownAmount, 12);
  EXPECT_EQ(d.downFeed, 90);
  EXPECT_EQ(d.feedCode, 210);
  EXPECT_EQ(d.wireDivision, 0.75);
  EXPECT_EQ(d.wireStock, 0.15);
  EXPECT_EQ(d.toolFeed, 640);
  EXPECT_EQ(d.arcAngle, 30);
  EXPECT_EQ(d.deepHoleRest, 2);
  EXPECT_EQ(d.chamferSpindleSpeed, 800);
  EXPECT_EQ(d.chamferFeed, 120.5);
  EXPECT_EQ(d.useToolFeed, 1);
  EXPECT_EQ(d.returnFeedPercent, 60);
  EXPECT_EQ(d.holeTopZ, -1.5f);
  EXPECT_EQ(d.overrun, 0.25f);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteMachiningDefaults(out, d).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(MachiningDefaultsTest, MissingFileGivesTheBuiltInValues) {
  testsupport::TempFolder dir;
  MachiningDefaults d;
  d.originZ = -5;
  EXPECT_TRUE(handover::ReadMachiningDefaults(dir.path() / "none.@@@", d).missing());
  EXPECT_EQ(d.arcFeedPercent, 100);
  EXPECT_EQ(d.spindleSpeed, 1200);
  EXPECT_EQ(d.originZ, 100.0);
  EXPECT_EQ(d.moveZ, 100.0);
  EXPECT_EQ(d.holeIPoint, 100.0);
  EXPECT_EQ(d.holeRPoint, 5.0);
  EXPECT_EQ(d.holeThroughAmount, 3.0);
  EXPECT_EQ(d.toolDownAmount, 10.0);
  EXPECT_EQ(d.downFeed, 80.0);
  EXPECT_EQ(d.feedCode, 180.0);
  EXPECT_EQ(d.wireDivision, 0.5);
  EXPECT_EQ(d.wireStock, 0.3);
  EXPECT_EQ(d.toolFeed, 500.0);
  EXPECT_EQ(d.arcAngle, 90.0);
  EXPECT_EQ(d.deepHoleRest, 1.0);
  EXPECT_EQ(d.returnFeedPercent, 100);
  EXPECT_EQ(d.holeTopZ, 0.0f);
  EXPECT_EQ(d.overrun, 0.0f);
}

TEST(MachiningDefaultsTest, TheOlder128ByteFormLoadsWithBuiltInTail) {
  MachiningDefaults d;
  d.returnFeedPercent = 7;  // a value in memory that the older file does not cover
  ASSERT_TRUE(handover::ReadMachiningDefaults(handover_test::Fixture("def_kako2_128.@@@"), d).ok());
  EXPECT_EQ(d.arcFeedPercent, 90);
  EXPECT_EQ(d.spindleSpeed, 2400);
  EXPECT_EQ(d.originZ, 50.0);
  EXPECT_EQ(d.feedCode, 150.0);
  EXPECT_EQ(d.deepHoleRest, 0.5);
  EXPECT_EQ(d.chamferSpindleSpeed, 0);
  EXPECT_EQ(d.chamferFeed, 0.0);
  EXPECT_EQ(d.useToolFeed, 0);
  EXPECT_EQ(d.returnFeedPercent, 100);
  EXPECT_EQ(d.overrun, 0.0f);

  // Saved again it takes the current form.
  testsupport::TempFolder dir;
  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteMachiningDefaults(out, d).ok());
  const auto bytes = ReadBytes(out);
  ASSERT_EQ(bytes.size(), 168u);
  const auto old = ReadBytes(handover_test::Fixture("def_kako2_128.@@@"));
  EXPECT_TRUE(std::equal(old.begin(), old.end(), bytes.begin()));
  EXPECT_EQ(bytes[148], 100);
}

TEST(MachiningDefaultsTest, DamagedFilesLeaveTheRecordAsItWas) {
  testsupport::TempFolder dir;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    platform::FileStatus status;
  } cases[] = {
      {"empty", {}, platform::FileStatus::WrongSize},
      {"torn", std::vector<std::uint8_t>(100, 0), platform::FileStatus::WrongSize},
      {"between the two forms", std::vector<std::uint8_t>(144, 0), platform::FileStatus::WrongSize},
      {"too long", std::vector<std::uint8_t>(200, 0), platform::FileStatus::WrongSize},
      {"feed not a number", DefaultsImage().F64(80, std::numeric_limits<double>::quiet_NaN()).bytes(),
       platform::FileStatus::ReadError},
      {"overrun infinite", DefaultsImage().F32(156, std::numeric_limits<float>::infinity()).bytes(),
       platform::FileStatus::ReadError},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "d.@@@";
    WriteBytes(path, c.bytes);
    MachiningDefaults d;
    d.feedCode = 333.0;
    EXPECT_EQ(handover::ReadMachiningDefaults(path, d).status, c.status) << c.name;
    EXPECT_EQ(d.feedCode, 333.0) << c.name;
  }
}

TEST(MachiningDefaultsTest, AValueThatIsNotANumberIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "d.@@@";
  MachiningDefaults d;
  d.arcAngle = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(handover::WriteMachiningDefaults(path, d).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
