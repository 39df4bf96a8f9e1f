// The layouts of the work files Kelto_Dorn leaves for the companion and the
// companion's own display settings: fields at their offsets, whole files
// only, values that are not numbers refused.
#include <gtest/gtest.h>

#include <limits>

#include "shared/handover/auto_centering_record.h"
#include "shared/handover/display_settings_record.h"
#include "shared/handover/drawing_state_settings.h"
#include "shared/handover/machining_time_record.h"
#include "shared/handover/tool_comment_record.h"
#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover_test::ByteBuffer;
using handover_test::WriteBytes;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(CompanionWorkFiles, DrawingStateRecordsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto file = dir.path() / handover::kDrawingStateFileName;
  ByteBuffer b(384);
  b.F64(8, -3.0).F64(40 + 16, 4.5).F64(80 + 32, 150.0).F64(120, 30.0).F64(136, -30.0);
  b.I32(144, 1).I32(148, 1).I32(152, 6).I32(156, 3).I32(160, 1).I32(164, 2).F64(176, 5.0).F64(184, 20.0);
  b.F64(192 + 0, 190.0).I32(192 + 144, 1).I32(192 + 152, 4);
  WriteBytes(file, b.bytes());
  handover::PlotterSettings s;
  ASSERT_TRUE(handover::ReadPlotterSettings(file, s).ok());
  EXPECT_EQ(s.graphic.centreX[1], -3.0);
  EXPECT_EQ(s.graphic.centreY[2], 4.5);
  EXPECT_EQ(s.graphic.scale[4], 150.0);
  EXPECT_EQ(s.graphic.rotationX, 30.0);
  EXPECT_EQ(s.graphic.rotationZ, -30.0);
  EXPECT_EQ(s.graphic.paneWord, 1);
  EXPECT_EQ(s.graphic.colourChange, 1);
  EXPECT_EQ(s.graphic.lineColour, 6);
  EXPECT_EQ(s.graphic.viewingPlane, 3);
  EXPECT_EQ(s.graphic.rapidDisplay, 1);
  EXPECT_EQ(s.graphic.axes, 2);
  EXPECT_EQ(s.graphic.planeHeight, 5.0);
  EXPECT_EQ(s.graphic.axisInterval, 20.0);
  EXPECT_EQ(s.plotter.centreX[0], 190.0);
  EXPECT_EQ(s.plotter.paneWord, 1);
  EXPECT_EQ(s.plotter.lineColour, 4);
  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WritePlotterSettings(out, s).ok());
  EXPECT_EQ(handover_test::ReadBytes(out), b.bytes());

  handover::PlotterSettings kept;
  kept.graphic.lineColour = 9;
  WriteBytes(file, ByteBuffer(383).bytes());
  EXPECT_EQ(handover::ReadPlotterSettings(file, kept).status, platform::FileStatus::WrongSize);
  b.F64(80, kNan);
  WriteBytes(file, b.bytes());
  EXPECT_EQ(handover::ReadPlotterSettings(file, kept).status, platform::FileStatus::ReadError);
  EXPECT_EQ(kept.graphic.lineColour, 9) << "nothing taken from a damaged file";
  s.plotter.rotationY = kNan;
  EXPECT_FALSE(handover::WritePlotterSettings(out, s).ok());
}

TEST(CompanionWorkFiles, MachiningTimeRecordsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto file = dir.path() / handover::kMachiningTimeFileName;
  ByteBuffer b(224);
  for (int i = 0; i < 4; ++i)
    b.I32(56 * i, i + 1).I32(56 * i + 4, 11000 + i).I32(56 * i + 8, 10 + i).F64(56 * i + 24, 1.25 * (i + 1));
  WriteBytes(file, b.bytes());
  handover::MachiningTimeTable t;
  ASSERT_TRUE(handover::ReadMachiningTimeTable(file, t).ok());
  EXPECT_EQ(t.Record(4).machineNumber, 4);
  EXPECT_EQ(t.Record(4).rapidRate, 11003);
  EXPECT_EQ(t.Record(4).toolChangeTime, 13);
  EXPECT_EQ(t.Record(4).timeFactor, 5.0);
  EXPECT_EQ(t.Record(1).timeFactor, 1.25);
  WriteBytes(file, ByteBuffer(168).bytes());
  EXPECT_EQ(handover::ReadMachiningTimeTable(file, t).status, platform::FileStatus::WrongSize);
  b.F64(56 * 2 + 24, kNan);
  WriteBytes(file, b.bytes());
  EXPECT_FALSE(handover::ReadMachiningTimeTable(file, t).ok());
  EXPECT_EQ(t.Record(3).timeFactor, 3.75) << "left as it was";
}

TEST(CompanionWorkFiles, CentringRecordsAreReadWholeAndAtMostFour) {
  testsupport::TempFolder dir;
  const auto file = dir.path() / handover::kAutoCenteringFileName;
  ByteBuffer record(152);
  record.I32(0, 1).I32(4, 55).I32(8, 1).I32(12, 2).F64(16, 1.5).F64(48, 2.5).F64(80, 100.0).F64(88, 80.0);
  record.F64(96, 20.0).F64(104, 50.0).F64(112, -40.0).I32(128, 4).I32(132, 2);
  ByteBuffer five = ByteBuffer(152);
  for (int i = 0; i < 5; ++i) five.Append(record);
  WriteBytes(file, five.bytes());
  std::array<handover::AutoCenteringRecord, 4> records{};
  std::size_t count = 0;
  ASSERT_TRUE(handover::ReadAutoCenteringRecords(file, records, &count).ok());
  EXPECT_EQ(count, 4u) << "records beyond the fourth are not read";
  const handover::AutoCenteringRecord& r = records[1];
  EXPECT_EQ(r.active, 1);
  EXPECT_EQ(r.workNumber, 55);
  EXPECT_EQ(r.macroCall, 1);
  EXPECT_EQ(r.cycleKind, 2);
  EXPECT_EQ(r.b, 1.5);
  EXPECT_EQ(r.j, 2.5);
  EXPECT_EQ(r.x, 100.0);
  EXPECT_EQ(r.y, 80.0);
  EXPECT_EQ(r.thickness, 20.0);
  EXPECT_EQ(r.offsetX, 50.0);
  EXPECT_EQ(r.offsetY, -40.0);
  EXPECT_EQ(r.sideCode, 4);
  EXPECT_EQ(r.centringKind, 2);

  records[3].active = 7;
  WriteBytes(file, ByteBuffer(152 + 100).bytes());
  EXPECT_FALSE(handover::ReadAutoCenteringRecords(file, records, &count).ok()) << "a cut record";
  EXPECT_EQ(records[3].active, 7);
  WriteBytes(file, record.bytes());
  ASSERT_TRUE(handover::ReadAutoCenteringRecords(file, records, &count).ok());
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(records[3].active, 7) << "a short file replaces only the records it holds";
}

TEST(CompanionWorkFiles, ToolCommentsAreWholeTerminatedRecords) {
  testsupport::TempFolder dir;
  const auto file = dir.path() / "PART.tcm";
  ByteBuffer b(264 * 2);
  b.I32(0, 5).I32(4, 1).Text(8, "END MILL").I32(264, 12).Text(264 + 136, std::string(128, 'Z'));
  WriteBytes(file, b.bytes());
  std::vector<handover::ToolCommentRecord> comments;
  ASSERT_TRUE(handover::ReadToolComments(file, comments).ok());
  ASSERT_EQ(comments.size(), 2u);
  EXPECT_EQ(comments[0].toolNumber, 5);
  EXPECT_EQ(comments[0].used, 1);
  EXPECT_EQ(std::string(comments[0].comment1), "END MILL");
  EXPECT_EQ(comments[1].toolNumber, 12);
  EXPECT_EQ(std::string(comments[1].comment2), std::string(127, 'Z')) << "terminated within its field";

  WriteBytes(file, ByteBuffer(264 * 300).bytes());
  ASSERT_TRUE(handover::ReadToolComments(file, comments).ok());
  EXPECT_EQ(comments.size(), handover::kMaxToolComments);
  WriteBytes(file, ByteBuffer(264 + 1).bytes());
  EXPECT_FALSE(handover::ReadToolComments(file, comments).ok());
  EXPECT_EQ(comments.size(), handover::kMaxToolComments) << "left as it was";
}

TEST(CompanionWorkFiles, DisplaySettingsSitAtTheirOffsets) {
  testsupport::TempFolder dir;
  const auto file = dir.path() / handover::kDisplaySettingsFileName;
  ByteBuffer b(496);
  b.I32(0, 3).F64(8, 15.0).F64(16, 25.0).F64(24, 30.0);
  WriteBytes(file, b.bytes());
  handover::DisplaySettingsRecord r;
  ASSERT_TRUE(handover::ReadDisplaySettings(file, r).ok());
  EXPECT_EQ(r.colorOffset, 3);
  EXPECT_EQ(r.rotationStep, 15.0);
  EXPECT_EQ(r.panStep, 25.0);
  EXPECT_EQ(r.zoomStep, 30.0);
  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteDisplaySettings(out, r).ok());
  EXPECT_EQ(handover_test::ReadBytes(out), b.bytes());
  WriteBytes(file, ByteBuffer(64).bytes());
  EXPECT_EQ(handover::ReadDisplaySettings(file, r).status, platform::FileStatus::WrongSize);
  r.panStep = kNan;
  EXPECT_FALSE(handover::WriteDisplaySettings(out, r).ok());
}

}  // namespace
