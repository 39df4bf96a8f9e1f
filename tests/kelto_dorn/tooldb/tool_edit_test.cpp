// Editing tool records and the cutting-speed calculator, without a window.
#include <cmath>
#include <cstring>
#include <fstream>

#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "kelto_dorn/tooldb/vmin_table.h"
#include "platform/text.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

namespace dorn::test {
namespace {

using namespace tool_field;

class ToolEditTest : public DatabaseTest {
 protected:
  // Structural steel, two-flute high-speed steel, Ad = Rd = 0.5, Vc 35.
  static VminTable SteelSettings() {
    VminTable s = DefaultVminTable();
    s.material = 0;
    s.toolKind = 0;
    s.cuttingSpeed = TableCuttingSpeed(s);
    return s;
  }
};

TEST_F(ToolEditTest, TheCoupledGeometryRules) {
  ToolRecord r{};
  ASSERT_TRUE(StoreToolField(r, kDiameter, "10"));
  // A corner radius above half the diameter is half the diameter.
  StoreToolField(r, kCornerRadius, "7");
  EXPECT_FLOAT_EQ(r.cornerRadius, 5.0f);
  EXPECT_FLOAT_EQ(r.flatRadius, 0.0f);
  StoreToolField(r, kCornerRadius, "1");
  EXPECT_FLOAT_EQ(r.flatRadius, 4.0f);
  StoreToolField(r, kFlatRadius, "3");
  EXPECT_FLOAT_EQ(r.cornerRadius, 2.0f);
  // A drill point of 118 degrees on 10 mm.
  StoreToolField(r, kTipAngle, "118");
  EXPECT_FLOAT_EQ(r.tipLength, 3.004f);
  EXPECT_FLOAT_EQ(r.cornerRadius, 0.0f);
  EXPECT_FLOAT_EQ(r.flatRadius, 0.0f);
  EXPECT_EQ(ToolFieldText(r, kCornerRadius), "  ----");
  EXPECT_EQ(ToolFieldText(r, kTipLength), "3.004");
  StoreToolField(r, kTipAngle, "0.5");
  EXPECT_FLOAT_EQ(r.tipAngle, 0.0f);
  EXPECT_FLOAT_EQ(r.tipLength, 0.0f);
  // Numbers are made positive; beyond 99999.999 they are taken as 0.
  StoreToolField(r, kSpindleSpeed, "-1200.7");
  EXPECT_EQ(r.spindleSpeed, 1200);
  StoreToolField(r, kFeed, "100000");
  EXPECT_FLOAT_EQ(r.feed, 0.0f);
  // An empty text stores nothing; the SEC name stops at a blank and 12 bytes.
  EXPECT_FALSE(StoreToolField(r, kSpindleSpeed, ""));
  EXPECT_EQ(r.spindleSpeed, 1200);
  StoreToolField(r, kSecName, "  ENDMILL-10-LONG X");
  EXPECT_EQ(platform::FieldText(r.secName), "ENDMILL-10-L");
}

TEST_F(ToolEditTest, SortDeleteAndConvert) {
  tools_.Record(0) = SampleTool("B", 10.0f);
  tools_.Record(1) = SampleTool("A", 8.0f);
  tools_.Record(2) = SampleTool("B", 6.0f);
  tools_.Record(3) = SampleTool("A", 8.0f, 5);
  SortToolRecords(tools_, 4);
  EXPECT_EQ(platform::FieldText(tools_.Record(0).secName), "A");
  EXPECT_EQ(tools_.Record(0).spindleSpeed, 1000);  // equal records keep their order
  EXPECT_EQ(tools_.Record(1).spindleSpeed, 1050);
  EXPECT_FLOAT_EQ(tools_.Record(2).diameter, 6.0f);  // the same name: the smaller first
  EXPECT_FLOAT_EQ(tools_.Record(3).diameter, 10.0f);

  tools_.Record(4) = SampleTool("INPUT", 1.0f);  // the record being typed in
  EXPECT_EQ(DeleteToolRecord(tools_, 4, 1), 3);
  EXPECT_FLOAT_EQ(tools_.Record(1).diameter, 6.0f);
  EXPECT_EQ(platform::FieldText(tools_.Record(3).secName), "INPUT");
  EXPECT_EQ(platform::FieldText(tools_.Record(4).secName), "");

  tools_.Record(0).spindleSpeed = 1234;
  tools_.Record(0).feed = 200.0f;
  ConvertToolData(tools_, 1, 1.0, 1.0);
  EXPECT_EQ(tools_.Record(0).spindleSpeed, 1234);
  ConvertToolData(tools_, 1, 1.2, 0.5);
  EXPECT_EQ(tools_.Record(0).spindleSpeed, 617);
  EXPECT_FLOAT_EQ(tools_.Record(0).feed, 240.0f);
}

TEST_F(ToolEditTest, SpeedAndFeedFromTheTables) {
  VminTable s = SteelSettings();
  EXPECT_DOUBLE_EQ(s.cuttingSpeed, 35.0);
  EXPECT_EQ(SpindleSpeedFor(s, 10.0), 1120);
  EXPECT_DOUBLE_EQ(InterpolateBaseValue(s, 10.0).baseValue, 14.2);
  EXPECT_EQ(FeedFor(s, 10.0), 198);
  // 4 mm lies halfway between the values at 3 and 5 mm.
  EXPECT_DOUBLE_EQ(InterpolateBaseValue(s, 4.0).baseValue, (4.2 + 6.8) / 2.0);
  EXPECT_DOUBLE_EQ(InterpolateBaseValue(s, 60.0).baseValue, 14.2);
  // Below 1 mm the value at 1 mm goes down to 0 at 0: small tools stay finite.
  EXPECT_DOUBLE_EQ(InterpolateBaseValue(s, 0.5).baseValue, 0.75);
  EXPECT_GT(FeedFor(s, 0.5), 0);
  EXPECT_EQ(SpindleSpeedFor(s, 0.5), 22400);
  EXPECT_EQ(SpindleSpeedFor(s, 0.0), 0);
  EXPECT_EQ(FeedFor(s, 0.0), 0);
  // Without a tool kind the factor is 1.5.
  s.toolKind = -1;
  EXPECT_DOUBLE_EQ(InterpolateBaseValue(s, 10.0).kindFactor, 1.5);
}

TEST_F(ToolEditTest, ANewSeriesAppendsSteppedDiameters) {
  tools_.Record(0) = SampleTool("OLD", 3.0f);
  VminTable s = SteelSettings();
  s.diameterFrom = 6.0;
  s.diameterTo = 10.0;
  s.diameterPitch = 2.0;
  platform::SetFieldText(s.secName, "EM");
  SetupResult r = ApplyToolSetup(tools_, 1, s);
  EXPECT_EQ(r.message, 0);
  ASSERT_EQ(r.recordCount, 4);
  EXPECT_FLOAT_EQ(tools_.Record(1).diameter, 6.0f);
  EXPECT_FLOAT_EQ(tools_.Record(3).diameter, 10.0f);
  EXPECT_EQ(tools_.Record(3).spindleSpeed, 1120);
  EXPECT_FLOAT_EQ(tools_.Record(3).feed, 198.0f);
  EXPECT_FLOAT_EQ(tools_.Record(3).flatRadius, 5.0f);  // flat end: flat radius D / 2
  EXPECT_EQ(platform::FieldText(tools_.Record(2).secName), "EM");

  // Pitch 0: one record of the first diameter.
  s.diameterPitch = 0.0;
  r = ApplyToolSetup(tools_, 0, s);
  EXPECT_EQ(r.recordCount, 1);
  // A pitch of 0.1 reaches the last diameter although the sum lands above it.
  s.diameterFrom = 1.0;
  s.diameterTo = 2.0;
  s.diameterPitch = 0.1;
  EXPECT_EQ(ApplyToolSetup(tools_, 0, s).recordCount, 11);

  // Bull nose with corner radius 3 at 4 mm: the radius is cut to 2.
  s.endShape = kEndShapeBullNose;
  s.tipAngleOrCorner = 3.0;
  s.diameterFrom = s.diameterTo = 4.0;
  r = ApplyToolSetup(tools_, 0, s);
  ASSERT_EQ(r.recordCount, 1);
  EXPECT_FLOAT_EQ(tools_.Record(0).cornerRadius, 2.0f);
  EXPECT_FLOAT_EQ(tools_.Record(0).flatRadius, 0.0f);
  EXPECT_DOUBLE_EQ(s.tipAngleOrCorner, 2.0);

  // Conditions that do not hold.
  s.diameterFrom = 0.5;
  EXPECT_EQ(ApplyToolSetup(tools_, 0, s).message, 100);
  s.material = -1;
  EXPECT_EQ(ApplyToolSetup(tools_, 0, s).message, 101);
  s = SteelSettings();
  s.axialRatio = 0.0;
  EXPECT_EQ(ApplyToolSetup(tools_, 0, s).message, 100);
}

TEST_F(ToolEditTest, EditingChangesTheEditorsRecordsOnly) {
  tools_.Record(0) = SampleTool("EM", 10.0f);
  tools_.Record(1) = SampleTool("DR", 8.0f);
  // The editor's input slot holds a copy of the last record.
  tools_.Record(2) = tools_.Record(1);
  VminTable s = SteelSettings();
  s.updateMode = kUpdateEdit;
  s.gCode = 83;
  SetupResult r = ApplyToolSetup(tools_, 2, s);
  EXPECT_EQ(r.recordCount, 2);
  EXPECT_EQ(tools_.Record(0).spindleSpeed, 1120);
  EXPECT_EQ(tools_.Record(1).fixedCycle, 83);
  EXPECT_EQ(tools_.Record(2).fixedCycle, SampleTool("DR", 8.0f).fixedCycle);  // the input slot is left alone
  // With a SEC name only the records of that name change.
  tools_.Record(1).spindleSpeed = 1;
  platform::SetFieldText(s.secName, "EM");
  ApplyToolSetup(tools_, 2, s);
  EXPECT_EQ(tools_.Record(1).spindleSpeed, 1);
}

TEST_F(ToolEditTest, TheSettingsFileKeepsItsPlaceAndADamagedOneIsNotOverwritten) {
  ASSERT_TRUE(ReadVminTable().missing());
  EXPECT_EQ(g_vminTable.material, -1);
  EXPECT_DOUBLE_EQ(g_vminTable.axialRatio, 0.5);
  g_vminTable.material = 3;
  ASSERT_TRUE(WriteVminTable().ok());
  EXPECT_EQ(fs::file_size(home() / "$DB_Vmin.@@@"), 128u);
  g_vminTable = DefaultVminTable();
  ASSERT_TRUE(ReadVminTable().ok());
  EXPECT_EQ(g_vminTable.material, 3);

  std::ofstream(home() / "$DB_Vmin.@@@", std::ios::binary) << "short";
  EXPECT_FALSE(ReadVminTable().ok());
  EXPECT_EQ(g_vminTable.material, -1);
  EXPECT_FALSE(WriteVminTable().ok());
  EXPECT_EQ(ReadFileBytes(home() / "$DB_Vmin.@@@"), "short");
  fs::remove(home() / "$DB_Vmin.@@@");
  ReadVminTable();
}

}  // namespace
}  // namespace dorn::test
