#include "shared/handover/drawing_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::DrawingHeader;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

TEST(DrawingHeaderTest, TheFixtureRecordReadsFieldByFieldAndWritesBackUnchanged) {
  const auto fixture = handover_test::Fixture("system_record.@@@");
  DrawingHeader h;
  ASSERT_TRUE(handover::ReadDrawingHeader(fixture, h).ok());
  EXPECT_EQ(h.version, DrawingHeader::kVersionWord);
  EXPECT_EQ(h.machiningTimeRecord, 3);
  EXPECT_EQ(h.MachiningTimeRecordNumber(), 3);
  EXPECT_STREQ(h.drawingName, "BRACKET-01");
  EXPECT_STREQ(h.unitName, "SHOP");
  EXPECT_STREQ(h.secondName, "LOT7");
  EXPECT_STREQ(h.designerName, "ITO");
  EXPECT_STREQ(h.dataExtension, "NC");
  EXPECT_EQ(h.executionMode, 2);
  EXPECT_EQ(h.printOptions & 0xFF, 'S');
  EXPECT_EQ(h.printColourMode() & 0xF000, 0x1000);
  EXPECT_EQ(h.workBoxDisplay(), 1);
  EXPECT_EQ(h.SerialPortIndex(), 3);  // COM4
  EXPECT_EQ(h.portByte & DrawingHeader::kPortList, DrawingHeader::kPortList);
  EXPECT_EQ(h.startMode, 4);
  EXPECT_EQ(h.subMode, 6);
  EXPECT_EQ(h.ncDisplayFlags, DrawingHeader::kBlockListHidden);
  EXPECT_EQ(h.slowFeed, 75);
  EXPECT_EQ(h.workOriginPosition, 1);
  EXPECT_EQ(h.curOriginIndex, 5);
  EXPECT_EQ(h.programNumberSwitch, 1);
  EXPECT_EQ(h.programNumber, 1234);
  EXPECT_EQ(h.programNumberForm, 2);
  EXPECT_EQ(h.originOffsetX, -60.0);
  EXPECT_EQ(h.originOffsetY, -40.0);
  EXPECT_EQ(h.workSizeX, 120.0);
  EXPECT_EQ(h.workSizeY, 80.0);
  EXPECT_EQ(h.workSizeZ, 25.0);
  EXPECT_EQ(h.globalZ(), 25.0);
  EXPECT_STREQ(h.programComment, "FIRST OP");
  EXPECT_EQ(h.globalZMode, DrawingHeader::kGlobalZBottom);
  EXPECT_EQ(h.curveKeyCounter, 17);
  EXPECT_EQ(h.holeSubprogram, 1);

  testsupport::TempFolder dir;
  const auto out = dir.path() / handover::kSystemRecordFileName;
  ASSERT_TRUE(handover::WriteDrawingHeader(out, h).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(fixture));
}

TEST(DrawingHeaderTest, EveryIntegerFieldIsReadFromItsOwnOffset) {
  // Each integer word of the record gets its offset as its value.
  struct Field {
    std::size_t offset;
    std::int32_t DrawingHeader::*member;
  } fields[] = {
      {0, &DrawingHeader::version},
      {4, &DrawingHeader::machiningTimeRecord},
      {304, &DrawingHeader::fileListKind},
      {308, &DrawingHeader::continuousMode},
      {312, &DrawingHeader::showFigures},
      {316, &DrawingHeader::plotterSetting},
      {320, &DrawingHeader::executionMode},
      {324, &DrawingHeader::ncSetting324},
      {328, &DrawingHeader::ncSetting328},
      {332, &DrawingHeader::ncSetting332},
      {336, &DrawingHeader::frameCreatedWord},
      {340, &DrawingHeader::autoIntersection},
      {344, &DrawingHeader::printOptions},
      {348, &DrawingHeader::machiningOrderCount},
      {352, &DrawingHeader::cadImportKind},
      {356, &DrawingHeader::cadImportSetting},
      {360, &DrawingHeader::showAxes},
      {364, &DrawingHeader::reserved364},
      {368, &DrawingHeader::nfsSwitch},
      {372, &DrawingHeader::companionStarted},
      {376, &DrawingHeader::displayListReload},
      {380, &DrawingHeader::portByte},
      {384, &DrawingHeader::startMode},
      {388, &DrawingHeader::subMode},
      {392, &DrawingHeader::ncDisplayFlags},
      {396, &DrawingHeader::slowFeed},
      {400, &DrawingHeader::backupWord},
      {404, &DrawingHeader::word404},
      {408, &DrawingHeader::viewSetting},
      {412, &DrawingHeader::reserved412},
      {416, &DrawingHeader::reserved416},
      {420, &DrawingHeader::workOriginPosition},
      {424, &DrawingHeader::workBoxHidden},
      {428, &DrawingHeader::reserved428},
      {436, &DrawingHeader::programNumberSwitch},
      {440, &DrawingHeader::programNumber},
      {444, &DrawingHeader::machiningSetting444},
      {448, &DrawingHeader::programNumberForm},
      {452, &DrawingHeader::reserved452},
      {496, &DrawingHeader::reserved496},
      {500, &DrawingHeader::fileMenuWord},
      {600, &DrawingHeader::globalZMode},
      {604, &DrawingHeader::curveKeyCounter},
      {608, &DrawingHeader::reserved608},
      {612, &DrawingHeader::holeSubprogram},
  };
  ByteBuffer b(616);
  for (const Field& f : fields) b.I32(f.offset, static_cast<std::int32_t>(f.offset));
  testsupport::TempFolder dir;
  const auto path = dir.path() / "h.@@@";
  WriteBytes(path, b.bytes());
  DrawingHeader h;
  ASSERT_TRUE(handover::ReadDrawingHeader(path, h).ok());
  for (const Field& f : fields) EXPECT_EQ(h.*(f.member), static_cast<std::int32_t>(f.offset)) << f.offset;

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteDrawingHeader(out, h).ok());
  EXPECT_EQ(ReadBytes(out), b.bytes());
}

TEST(DrawingHeaderTest, MissingRecordIsTheFirstRunAndStartsNothing) {
  testsupport::TempFolder dir;
  DrawingHeader h;
  h.startMode = 4;
  const auto result = handover::ReadDrawingHeader(dir.path() / "none.@@@", h);
  EXPECT_TRUE(result.missing());
  EXPECT_STREQ(h.drawingName, "TEST");
  EXPECT_STREQ(h.unitName, "SAMPLE");
  EXPECT_STREQ(h.secondName, "PGM");
  EXPECT_STREQ(h.dataExtension, "DAT");
  EXPECT_EQ(h.showFigures, 1);
  EXPECT_EQ(h.portByte, 17);
  EXPECT_EQ(h.slowFeed, 75);
  EXPECT_EQ(h.word404, 2);
  EXPECT_EQ(h.startMode, DrawingHeader::kNoStartMode);
  EXPECT_EQ(h.subMode, DrawingHeader::kNoStartMode);
  EXPECT_EQ(h.designerName[0], 0);
  EXPECT_EQ(h.programComment[0], 0);
}

TEST(DrawingHeaderTest, DamagedRecordsLeaveTheHeaderAsItWas) {
  const auto fixture = handover_test::ReadBytes(handover_test::Fixture("system_record.@@@"));
  ASSERT_EQ(fixture.size(), 616u);
  auto with = [&](auto change) {
    std::vector<std::uint8_t> bytes = fixture;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    platform::FileStatus status;
  } cases[] = {
      {"short record", std::vector<std::uint8_t>(fixture.begin(), fixture.begin() + 612),
       platform::FileStatus::WrongSize},
      {"a drawing file's head with more behind it", with([](auto& v) { v.resize(700); }),
       platform::FileStatus::WrongSize},
      {"origin index 64", with([](auto& v) { v[432] = 64; }), platform::FileStatus::ReadError},
      {"negative origin index", with([](auto& v) { v[435] = 0x80; }), platform::FileStatus::ReadError},
      {"work size not a number", with([](auto& v) {
         v[478] = 0xF8;
         v[479] = 0x7F;
       }),
       platform::FileStatus::ReadError},
  };
  testsupport::TempFolder dir;
  for (const Case& c : cases) {
    const auto path = dir.path() / "h.@@@";
    WriteBytes(path, c.bytes);
    DrawingHeader h = handover::DefaultDrawingHeader();
    h.programNumber = 55;
    const auto result = handover::ReadDrawingHeader(path, h);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(h.programNumber, 55) << c.name;
    EXPECT_STREQ(h.drawingName, "TEST") << c.name;
  }
}

TEST(DrawingHeaderTest, CheckTerminatesEveryTextField) {
  DrawingHeader h;
  std::memset(h.drawingName, 'D', sizeof h.drawingName);
  std::memset(h.designerName, 'N', sizeof h.designerName);
  std::memset(h.dataExtension, 'E', sizeof h.dataExtension);
  std::memset(h.programComment, 'C', sizeof h.programComment);
  EXPECT_EQ(handover::CheckDrawingHeader(h), "");
  EXPECT_EQ(std::strlen(h.drawingName), 63u);
  EXPECT_EQ(std::strlen(h.designerName), 31u);
  EXPECT_EQ(std::strlen(h.dataExtension), 7u);
  EXPECT_EQ(std::strlen(h.programComment), 79u);
}

// Each damaged field is named and repaired by itself; the other fields stay.
TEST(DrawingHeaderTest, ValueFaultsAreNamedAndRepairedFieldByField) {
  DrawingHeader h = handover::DefaultDrawingHeader();
  h.programNumber = 1234;
  h.curveKeyCounter = 900;
  h.workSizeX = std::numeric_limits<double>::infinity();
  h.floats504[2] = std::numeric_limits<float>::quiet_NaN();
  h.curOriginIndex = 70;
  const std::vector<std::string> faults = handover::DrawingHeaderValueFaults(h);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0], "work size X (+472) is not a number");
  EXPECT_EQ(faults[1], "value +512 is not a number");
  const std::vector<std::string> repaired = handover::RepairDrawingHeader(h);
  EXPECT_EQ(repaired.size(), 3u);
  EXPECT_EQ(h.workSizeX, 0.0);
  EXPECT_EQ(h.floats504[2], 0.0f);
  EXPECT_EQ(h.curOriginIndex, 0);
  EXPECT_EQ(h.programNumber, 1234);
  EXPECT_EQ(h.curveKeyCounter, 900);
  EXPECT_TRUE(handover::DrawingHeaderValueFaults(h).empty());
  EXPECT_TRUE(handover::RepairDrawingHeader(h).empty());
}

TEST(DrawingHeaderTest, PortAndTimeRecordAccessorsKeepToTheirRanges) {
  struct Case {
    std::int32_t portByte;
    int port;
  } ports[] = {{0x00, 0}, {0x11, 1}, {0x48, 8}, {0x40, 0}, {0x09, -1}, {0x2F, -1}};
  for (const auto& c : ports) {
    DrawingHeader h;
    h.portByte = c.portByte;
    EXPECT_EQ(h.SerialPortIndex(), c.port) << c.portByte;
  }
  struct TimeCase {
    std::int32_t stored;
    int used;
  } records[] = {{0, 1}, {1, 1}, {4, 4}, {5, 1}, {-2, 1}};
  for (const auto& c : records) {
    DrawingHeader h;
    h.machiningTimeRecord = c.stored;
    EXPECT_EQ(h.MachiningTimeRecordNumber(), c.used) << c.stored;
  }
}

TEST(DrawingHeaderTest, AWorkSizeThatIsNotANumberIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "h.@@@";
  DrawingHeader h = handover::DefaultDrawingHeader();
  h.workSizeY = std::numeric_limits<double>::infinity();
  EXPECT_EQ(handover::WriteDrawingHeader(path, h).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
