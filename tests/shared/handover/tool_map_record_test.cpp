#include "shared/handover/tool_map_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::ToolMapRecord;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

// One process of a drilling tool: compensation left with D 7, T 12.
ByteBuffer ToolImage() {
  ByteBuffer b(240);
  b.I32(0, 0x1000 | 7).I32(4, 12).I32(8, 3000).I32(12, 83).I32(16, 8).I32(20, 1).I32(24, 1);
  b.I16(28, 1).I16(30, 7).I32(32, 0);
  b.F32(36, 6.5f).F32(40, 0.5f).F32(44, 2.75f).F32(48, 118.0f).F32(52, 1.25f);
  b.F32(56, 250.0f).F32(60, 2.0f).F32(64, 0.25f).F32(68, 40.0f);
  b.I32(72, 112).I16(76, 3).I16(78, 2);
  b.Text(80, "DRILL-6.5").Text(104, "HSS-DRILLS");
  b.I32(168, 0xB400).I32(172, 1).I32(176, 3).I32(180, 9).I32(184, 1).I16(188, 12).I16(190, 0);
  b.F64(192, 100.0).F64(200, 50.5).F64(208, 5.0).F64(216, 3.0).F64(224, -12.5).F64(232, -0.125);
  return b;
}

TEST(ToolMapRecordTest, FieldsSitAtTheOffsetsTheCompanionReads) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / "in.@@@";
  WriteBytes(in, ToolImage().bytes());

  std::vector<ToolMapRecord> map;
  ASSERT_TRUE(handover::ReadToolMapFile(in, map).ok());
  ASSERT_EQ(map.size(), 1u);
  const ToolMapRecord& t = map[0];
  EXPECT_EQ(t.compensationWord & ToolMapRecord::kCompensationLeft, ToolMapRecord::kCompensationLeft);
  EXPECT_EQ(t.compensationWord & ToolMapRecord::kDNumberMask, 7);
  EXPECT_EQ(t.tNumber(), 12);
  EXPECT_EQ(t.spindleSpeed, 3000);
  EXPECT_EQ(t.cannedCycle, 83);
  EXPECT_EQ(t.mCode, 8);
  EXPECT_EQ(t.tapTwice, 1);
  EXPECT_EQ(t.mark, 1);
  EXPECT_EQ(t.stopFlag, 1);
  EXPECT_EQ(t.dCode, 7);
  EXPECT_EQ(t.diameter, 6.5f);
  EXPECT_EQ(t.cornerRadius, 0.5f);
  EXPECT_EQ(t.flatRadius, 2.75f);
  EXPECT_EQ(t.tipAngle, 118.0f);
  EXPECT_EQ(t.tipLength, 1.25f);
  EXPECT_EQ(t.feed, 250.0f);
  EXPECT_EQ(t.peckDepth, 2.0f);
  EXPECT_EQ(t.pCode, 0.25f);
  EXPECT_EQ(t.fluteLength, 40.0f);
  EXPECT_EQ(t.outputTNumber, 112);
  EXPECT_EQ(t.postMCode, 3);
  EXPECT_EQ(t.coolant, 2);
  EXPECT_STREQ(t.secName, "DRILL-6.5");
  EXPECT_STREQ(t.toolName, "HSS-DRILLS");
  EXPECT_EQ(t.machiningKind, 0xB400);
  EXPECT_EQ(t.workCoordinate, 1);
  EXPECT_EQ(t.postNumber, 3);
  EXPECT_EQ(t.kCode, 9);
  EXPECT_EQ(t.compensationSide, 1);
  EXPECT_EQ(t.hCode, 12);
  EXPECT_EQ(t.originZ, 100.0);
  EXPECT_EQ(t.travelZ(), 50.5);
  EXPECT_EQ(t.holeRPointZ, 5.0);
  EXPECT_EQ(t.holeThroughAmount, 3.0);
  EXPECT_EQ(t.stepDepth, -12.5);
  EXPECT_EQ(t.stepValue48, -0.125);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteToolMapFile(out, map).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(ToolMapRecordTest, RecordsKeepFileOrderSoThatToolChangesFindThemByNumber) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / handover::kToolMapFileName;
  ByteBuffer file = ToolImage();
  file.Append(ByteBuffer(240).I32(4, 20)).Append(ByteBuffer(240).I32(4, 30));
  WriteBytes(path, file.bytes());
  std::vector<ToolMapRecord> map;
  ASSERT_TRUE(handover::ReadToolMapFile(path, map).ok());
  ASSERT_EQ(map.size(), 3u);
  // Record number n (from 1) is map[n - 1].
  EXPECT_EQ(map[0].atcNumber, 12);
  EXPECT_EQ(map[1].atcNumber, 20);
  EXPECT_EQ(map[2].atcNumber, 30);
}

TEST(ToolMapRecordTest, UnterminatedNamesAreCutInsideTheirFields) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "m.@@@";
  ByteBuffer b = ToolImage();
  b.Text(80, std::string(24, 'S')).Text(104, std::string(64, 'N'));
  WriteBytes(path, b.bytes());
  std::vector<ToolMapRecord> map;
  ASSERT_TRUE(handover::ReadToolMapFile(path, map).ok());
  EXPECT_EQ(std::strlen(map[0].secName), 23u);
  EXPECT_EQ(std::strlen(map[0].toolName), 63u);
  EXPECT_EQ(map[0].machiningKind, 0xB400);  // the cut did not run into the next field
}

TEST(ToolMapRecordTest, DamagedMapsAreRefused) {
  testsupport::TempFolder dir;
  ByteBuffer nanDiameter = ToolImage();
  nanDiameter.F32(36, std::numeric_limits<float>::quiet_NaN());
  ByteBuffer infTravel = ToolImage();
  infTravel.F64(200, -std::numeric_limits<double>::infinity());
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    platform::FileStatus status;
  } cases[] = {
      {"short record", std::vector<std::uint8_t>(239, 0), platform::FileStatus::WrongSize},
      {"769 records", std::vector<std::uint8_t>(240 * 769, 0), platform::FileStatus::WrongSize},
      {"diameter not a number", nanDiameter.bytes(), platform::FileStatus::ReadError},
      {"travel Z infinite", infTravel.bytes(), platform::FileStatus::ReadError},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "m.@@@";
    WriteBytes(path, c.bytes);
    std::vector<ToolMapRecord> map(2);
    const auto result = handover::ReadToolMapFile(path, map);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(map.size(), 2u) << c.name;
  }
}

TEST(ToolMapRecordTest, TheCompanionsCapacityIsAccepted) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "m.@@@";
  WriteBytes(path, std::vector<std::uint8_t>(240 * handover::kMaxToolMapRecords, 0));
  std::vector<ToolMapRecord> map;
  ASSERT_TRUE(handover::ReadToolMapFile(path, map).ok());
  EXPECT_EQ(map.size(), handover::kMaxToolMapRecords);
}

TEST(ToolMapRecordTest, AValueThatIsNotANumberIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "m.@@@";
  std::vector<ToolMapRecord> map(1);
  map[0].feed = std::numeric_limits<float>::infinity();
  EXPECT_EQ(handover::WriteToolMapFile(path, map).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
