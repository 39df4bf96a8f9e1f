// The job reports: the tool-information CSV, "$PROCESS.LST" and its copy,
// and the display files, after a whole hole-job run.
#include <cmath>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_qup/ncout/reports.h"
#include "platform/csv.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_qup/ncout/nc_run_fixture.h"

namespace {

using handover::NcElement;
using namespace ncrun;

const std::string& J(const char* utf8) { return platform::Sjis(utf8); }

class ReportsTest : public NcRunTest {
 protected:
  // Two processes: tool 5 drills two holes; tool 7 (compensation left with
  // D number 0, coolant 7, a long Japanese name) drills one.
  HandoverBuilder TwoTools() {
    HandoverBuilder job;
    job.Begin();
    job.Point(100, 10, 10);
    job.Point(100, 20, 10);
    job.Point(101, 30, 10);
    const testsupport::HoleProcess first;
    job.HoleProcessItem(400, 100, first);
    testsupport::HoleProcess deeper;
    deeper.tool.atcNumber = 7;
    deeper.tool.spindleSpeed = 800;
    deeper.tool.diameter = 6.0;
    deeper.tool.coolant = 7;
    deeper.tool.toolName = J("超硬ドリル先端角度百十八度ロングシャンク");
    deeper.step.compensation = 1;  // left, D number 0
    deeper.step.depth = -25.0;
    deeper.definition.atcZ = 40.0;
    job.HoleProcessItem(600, 101, deeper);
    job.End();
    return job;
  }
  // Runs the job (start mode 4, the builder's); the program the reports describe is one a
  // machine may run: both processes drill from R2, the second from its
  // start level 40.
  void RunToReports(HandoverBuilder& job) {
    ASSERT_EQ(Run(job), 0);
    ASSERT_TRUE(host.errorBoxes.empty());
    if (!fs::exists(NcPath())) return;
    ReadBack({.rLevel = 2.0, .startLevel = 40.0, .lengthOffsets = {}});
  }
};

TEST_F(ReportsTest, NumberTexts) {
  EXPECT_EQ(qup::FormatFixed3(12.0), "12.0");
  EXPECT_EQ(qup::FormatFixed3(12.5), "12.5");
  EXPECT_EQ(qup::FormatFixed3(0.5), "0.5");
  EXPECT_EQ(qup::FormatFixed3(-10.25), "-10.25");
  handover::ToolMapRecord record;
  record.coolant = 7;
  record.machiningKind = 0xB400;
  const qup::ToolInfoFields fields = qup::FormatToolInfoFields(record, "POST");
  EXPECT_EQ(fields.diameter, "0.0");
  EXPECT_EQ(fields.feed, "0");
  EXPECT_EQ(fields.coolant, "");
  EXPECT_EQ(record.coolant, 0);
  EXPECT_EQ(fields.machiningType, J("穴加工"));
}

TEST_F(ReportsTest, HeadsAreCutOnACharacterBoundary) {
  const std::string name = "* N0001    ATC_0005 " + J("超硬ドリル先端角度百十八度ロングシャンク");
  const std::string head = qup::FitToWidth(name, 52);
  EXPECT_EQ(head.size(), 52u);
  // Every double-byte character is whole: the text converts back cleanly.
  EXPECT_EQ(platform::Cp932ToUtf8(head).find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(qup::FitToWidth("abc", 5), "abc  ");
}

TEST_F(ReportsTest, ToolInformationAndProcessListAfterARun) {
  HandoverBuilder job = TwoTools();
  RunToReports(job);
  const fs::path dat = testsupport::DatFolder(home());
  const fs::path csvPath = platform::ResolvePath(home(), "UNIT\\PGM\\DAT\\HOLE" + J("加工詳細工具情報.csv"));
  const std::vector<std::string> csv = Lines(ReadText(csvPath));
  ASSERT_GE(csv.size(), 12u);
  EXPECT_EQ(csv[0], J("≪加工詳細情報≫"));
  EXPECT_EQ(csv[4], J("ファイル名　　　　　") + "HOLE");
  EXPECT_EQ(csv[5], J("プログラム番号　　　") + "1000");
  EXPECT_EQ(csv[6], J("ワークサイズ　　　　X100.0　Y80.0　Z20.0"));
  // Tool 5: start Z the R level of its holes, final Z the hole bottom.
  EXPECT_EQ(csv[12], "0001,0005,TOOLS DRILL,10.0,1200,100.0," + J("油") + ",81,0.0,0,0,2.0,-10.0,G54,50.0,0.0," +
                         J("穴加工") + ",TESTPOST,...");
  EXPECT_EQ(csv[13].substr(0, 10), "0002,0007,");
  EXPECT_NE(csv[13].find(",,81,0.0,0,0,2.0,-25.0,"), std::string::npos);  // coolant 7: empty

  const std::string list = ReadText(home() / "$PROCESS.LST");
  EXPECT_EQ(ReadText(dat / "HOLE.LST"), list);  // the copy beside the NC file
  const std::vector<std::string> lines = Lines(list);
  EXPECT_EQ(lines[1], "* [ \\UNIT\\PGM\\DAT\\HOLE.NC ]");
  bool sawLeft = false, sawSize = false;
  for (const std::string& line : lines) {
    if (line.rfind("* N0002", 0) == 0) {
      EXPECT_NE(line.find(" G41_D7 "), std::string::npos) << line;  // D 0 means the T number
      EXPECT_NE(line.find("Z=-25.0"), std::string::npos) << line;
      sawLeft = true;
    }
    if (line.find(J("ファイルサイズ")) != std::string::npos) sawSize = true;
  }
  EXPECT_TRUE(sawLeft);
  EXPECT_TRUE(sawSize);
  // The display files: the extents of the run and the display list.
  NcElement window;
  std::ifstream(home() / "$CG_WINDW.@@@", std::ios::binary).read(reinterpret_cast<char*>(&window), sizeof window);
  EXPECT_DOUBLE_EQ(window.d0, 0.0);  // the process start point
  EXPECT_DOUBLE_EQ(window.d1, 30.0);
  EXPECT_DOUBLE_EQ(window.d4, -25.0);
  EXPECT_EQ(fs::file_size(home() / "$CG_DATA.LST"), host.displayRecords.size() * 32);
}

// A contour process reports the Z it was cut at, like a hole process does:
// start and final Z in the CSV, "Z=" in the process list.
TEST_F(ReportsTest, AContourProcessReportsItsDepth) {
  HandoverBuilder job;
  job.Begin();
  job.Line(100, 0, 0, 60, 0);
  job.Line(100, 60, 0, 60, 40);
  job.Line(100, 60, 40, 0, 40);
  job.Line(100, 0, 40, 0, 0);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  testsupport::ContourOptions contour;
  contour.offset = -5.0;  // outside
  contour.z = -5.0;
  contour.toX = 0.0;
  contour.toY = -15.0;
  testsupport::AddContour(job, 401, contour);
  job.ProcessEnd(500);
  job.End();
  ASSERT_EQ(Run(job), 0);
  ASSERT_TRUE(host.errorBoxes.empty()) << host.errorBoxes.front();
  const fs::path csvPath = platform::ResolvePath(home(), "UNIT\\PGM\\DAT\\HOLE" + J("加工詳細工具情報.csv"));
  const std::vector<std::string> csv = Lines(ReadText(csvPath));
  ASSERT_GE(csv.size(), 13u);
  std::vector<std::string> fields;
  platform::SplitCsvLine(csv[12], ",", fields);
  ASSERT_GE(fields.size(), 13u) << csv[12];
  EXPECT_EQ(fields[11], "5.0") << "start Z: where the feed down onto the contour begins";
  EXPECT_EQ(fields[12], "-5.0") << "final Z: the contour's depth";
  bool sawDepth = false;
  for (const std::string& line : Lines(ReadText(home() / "$PROCESS.LST"))) {
    if (line.rfind("* N0001", 0) == 0) sawDepth = line.find("Z=-5.0") != std::string::npos;
  }
  EXPECT_TRUE(sawDepth) << ReadText(home() / "$PROCESS.LST");
}

TEST_F(ReportsTest, GraphicRunOmitsFileSizeAndTapeLength) {
  HandoverBuilder job = TwoTools();
  job.header.subMode = 0;  // (4, 0): no NC file
  RunToReports(job);
  const std::string list = ReadText(home() / "$PROCESS.LST");
  EXPECT_EQ(list.find(J("ファイルサイズ")), std::string::npos);
  EXPECT_EQ(list.find(J("紙テープ長")), std::string::npos);
  EXPECT_NE(list.find(J("切削距離")), std::string::npos);
}

TEST_F(ReportsTest, PitInLinesAndAMissingPitInMap) {
  for (bool withMap : {true, false}) {
    SCOPED_TRACE(withMap);
    host = qup::RecordingHost{};
    run = std::make_unique<qup::RunContext>(host);
    run->job.DisplayList = [this] { return host.displayRecords; };
    fs::remove(home() / handover::kPitInMapFileName);
    HandoverBuilder job = TwoTools();
    // A pit-in section before the end of the stream.
    job.elements.insert(job.elements.end() - 1, NcElement{});
    job.elements[job.elements.size() - 2].number = 990001;
    job.elements[job.elements.size() - 2].code = 0xD100;
    if (withMap) {
      handover::PitInMapRecord item;
      item.kind = 1;
      item.toolMapNumber = 2;
      item.sectionNumbers[0] = 1001;
      item.depths[0] = 0.2;
      job.pitIn.push_back(item);
    }
    RunToReports(job);
    const std::string list = ReadText(home() / "$PROCESS.LST");
    ASSERT_FALSE(list.empty());  // written with or without the map
    EXPECT_EQ(list.find("O1001   0.200") != std::string::npos, withMap);
  }
}

}  // namespace

// A damaged hand-over whose distances or feeds overflow the predicted time:
// the process list still comes, with the largest time it holds, instead of
// converting infinity to an integer.
TEST_F(ReportsTest, AnEndlessPredictedTimeIsCappedInTheProcessList) {
  HandoverBuilder job = TwoTools();
  RunToReports(job);
  for (double time : {INFINITY, NAN}) {
    run->engine.core.MachiningTime = time;
    run->WriteToolInfoReport();
    const std::string list = ReadText(home() / "$PROCESS.LST");
    const char* expected = std::isnan(time) ? "00" : "876000";
    EXPECT_NE(list.find(J("加工予測時間  ") + expected + J("時間")), std::string::npos) << list;
  }
}
