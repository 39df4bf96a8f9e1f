// The start-up before any window: work files read in order with their
// defaults, the start mode taken over once, the version check, the program
// number rename and the records that start-up hands to the run.
#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/auto_centering_record.h"
#include "shared/handover/machining_time_record.h"
#include "shared/handover/tool_comment_record.h"
#include "tests/end_to_end/four_hole_job.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

TEST_F(ShellTest, MissingWorkFilesGiveTheDefaultsAndNoRecordIsWrittenBack) {
  Companion& c = Start();
  const CQupApp& app = c.app;
  EXPECT_EQ(app.StartMode(), 99);
  EXPECT_EQ(app.SubMode(), 99);
  // A missing system record is never replaced by one of defaults, which
  // Kelto_Dorn would later take for its own.
  EXPECT_FALSE(fs::exists(home() / handover::kSystemRecordFileName));
  for (int i = 0; i < 32; ++i) EXPECT_EQ(app.colors.palette[i], kBuiltInPalette[i]) << i;
  EXPECT_EQ(app.colors.axisColor, 23);
  EXPECT_EQ(app.colors.backgroundIndex, 0);
  EXPECT_EQ(app.run.job.TimeFactor, 1.0);
  EXPECT_EQ(app.run.job.ToolChangeTime, 10.0);
  EXPECT_EQ(app.activeTimeRecord.rapidRate, 15000);
  EXPECT_EQ(app.machiningDefaults.spindleSpeed, 1200);
  EXPECT_EQ(app.machiningDefaults.holeRPoint, 5.0);
  for (int i = 0; i < 4; ++i) {
    const CentringRecord& r = app.run.output.Centring[static_cast<std::size_t>(i)];
    EXPECT_EQ(r.workNumber, 54 + i);
    EXPECT_EQ(r.macroCall, 1);
    EXPECT_EQ(r.active, 0);
  }
  EXPECT_TRUE(app.run.output.CentringMacroText.empty());
  const PathPanes& panes = app.panes;
  EXPECT_EQ(panes.Graphic().scale[0], 50.0);
  EXPECT_EQ(panes.Plane(), kPlaneArrow);
  EXPECT_EQ(panes.Graphic().lineColour, 6);
  EXPECT_EQ(panes.cgm.rotationStep, 10.0);
  EXPECT_EQ(panes.cgm.panStep, 20.0);
  EXPECT_EQ(app.run.elements.Capacity(), 3800);

  Dispatch();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ListLines(), std::vector<std::string>{"【実行終了】"});
}

TEST_F(ShellTest, AVersionMismatchShowsItsBoxWritesBack99AndRunsNothing) {
  testsupport::HandoverBuilder job = e2e::FourHoleJob();
  job.header.version = 34090;
  job.Write(home());
  Start();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"> Error::Version_Number... ??"});
  const handover::DrawingHeader onDisk = HeaderOnDisk();
  EXPECT_EQ(onDisk.startMode, 99);
  EXPECT_EQ(onDisk.subMode, 99);
  EXPECT_EQ(onDisk.version, 34090);
  Dispatch();
  EXPECT_FALSE(fs::exists(testsupport::DatFolder(home()) / "HOLE.NC"));
  EXPECT_EQ(ListLines(), std::vector<std::string>{"【実行終了】"});
}

TEST_F(ShellTest, TheProgramNumberRenamesTheOutputAndToolCommentsStayWithTheDrawingName) {
  testsupport::HandoverBuilder job = e2e::FourHoleJob();
  job.header.programNumberSwitch = 1;
  job.header.programNumber = 1234;
  job.Write(home());
  handover::ToolCommentRecord comment;
  comment.toolNumber = 5;
  comment.used = 1;
  platform::SetFieldText(comment.comment1, "END MILL");
  ASSERT_TRUE(platform::WriteRecord(testsupport::DatFolder(home()) / "HOLE.tcm", comment).ok());

  Companion& c = Start();
  EXPECT_EQ(platform::FieldText(c.app.Header().drawingName), "O1234");
  EXPECT_EQ(platform::FieldText(c.app.Header().dataExtension), "");
  ASSERT_EQ(c.app.run.output.ToolComments.size(), 1u);
  EXPECT_EQ(platform::FieldText(c.app.run.output.ToolComments[0].comment1), "END MILL");
  // The record on disk was written before the rename.
  EXPECT_EQ(platform::FieldText(HeaderOnDisk().drawingName), "HOLE");
  Dispatch();
  EXPECT_TRUE(fs::exists(testsupport::DatFolder(home()) / "O1234"));
}

TEST_F(ShellTest, DamagedWorkFilesAreNamedInTheListAndGiveTheirDefaults) {
  handover::DrawingHeader header = handover::DefaultDrawingHeader();
  WriteHeader(header);
  const char* damaged[] = {"$COLOR.@@@", "$KP_TIME.@@@", "$Cps_Post.@@@", "$DEF_KAKO2.@@@",
                           "$LIB.@@@",   "$CGM.@@@",     "$CG_WINDW.@@@"};
  for (const char* name : damaged) WriteFile(home() / name, std::string(100, '\x01'));
  WriteFile(home() / "SAMPLE" / "PGM" / "DAT" / "TEST.tcm", std::string(100, 'x'));

  Companion& c = Start();
  EXPECT_EQ(c.app.colors.palette[5], kBuiltInPalette[5]);
  EXPECT_EQ(c.app.run.job.TimeFactor, 1.0);
  EXPECT_EQ(c.app.machiningDefaults.spindleSpeed, 1200);
  EXPECT_EQ(c.app.panes.Graphic().scale[1], 50.0);
  EXPECT_EQ(c.app.panes.cgm.zoomStep, 20.0);
  EXPECT_TRUE(c.app.run.output.ToolComments.empty());
  EXPECT_EQ(c.app.run.output.Centring[0].macroCall, 1);
  Dispatch();
  // Lines listed before the list existed come after the dispatch emptied it.
  const std::vector<std::string> lines = ListLines();
  ASSERT_EQ(lines.size(), std::size(damaged) + 2);
  for (const char* name : damaged) {
    const bool named = std::any_of(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.find(name) != std::string::npos; });
    EXPECT_TRUE(named) << name;
  }
  EXPECT_NE(lines[lines.size() - 2].find("TEST.tcm"), std::string::npos);
  EXPECT_EQ(lines.back(), "【実行終了】");
}

TEST_F(ShellTest, TheSystemRecordChoosesTheMachiningTimeRecord) {
  handover::MachiningTimeTable table;
  for (int i = 0; i < 4; ++i) {
    table.records[i].machineNumber = i + 1;
    table.records[i].toolChangeTime = 11 + i;
    table.records[i].timeFactor = 1.5 + 0.5 * i;
  }
  ASSERT_TRUE(platform::WriteRecord(home() / handover::kMachiningTimeFileName, table).ok());
  struct Case {
    int stored;
    double factor;
    double toolChange;
  } cases[] = {{0, 1.5, 11}, {1, 1.5, 11}, {4, 3.0, 14}, {5, 1.5, 11}};
  for (const Case& k : cases) {
    handover::DrawingHeader header = handover::DefaultDrawingHeader();
    header.machiningTimeRecord = k.stored;
    WriteHeader(header);
    Companion& c = Start();
    EXPECT_EQ(c.app.run.job.TimeFactor, k.factor) << k.stored;
    EXPECT_EQ(c.app.run.job.ToolChangeTime, k.toolChange) << k.stored;
  }
}

TEST_F(ShellTest, CentringRecordsTakeTheSystemRecordsWorkAndTheControllerTextEndsPast512Bytes) {
  handover::DrawingHeader header = handover::DefaultDrawingHeader();
  header.workSizeX = 100.0;
  header.workSizeY = 80.0;
  header.workSizeZ = 20.0;
  header.workOriginPosition = 4;
  WriteHeader(header);
  std::array<handover::AutoCenteringRecord, 2> file{};
  file[0].active = 1;
  file[0].sideCode = 1;
  file[0].centringKind = 2;
  file[0].x = 5.0;  // the system record's work size wins
  file[0].b = 12.5;
  file[1].sideCode = 9;  // not a side: taken as 3
  ASSERT_TRUE(platform::WriteRecords(home() / handover::kAutoCenteringFileName, file.data(), file.size()).ok());
  std::string text;
  for (int line = 0; line < 10; ++line) text += std::string(100, static_cast<char>('A' + line)) + "\n";
  WriteFile(home() / "FANUC.txt", text);

  Companion& c = Start();
  const auto& t = c.app.run.output.Centring;
  EXPECT_EQ(t[0].active, 1);
  EXPECT_EQ(t[0].b, 12.5);
  EXPECT_EQ(t[0].x, 100.0);
  EXPECT_EQ(t[0].thickness, 20.0);
  EXPECT_EQ(t[0].cycleKind, 3);
  EXPECT_EQ(t[0].offsetX, -50.0);
  EXPECT_EQ(t[0].offsetY, -40.0);
  EXPECT_EQ(t[1].sideCode, 3);
  EXPECT_EQ(t[1].cycleKind, 1);
  EXPECT_EQ(t[1].offsetX, 50.0);
  // Records the file does not hold start from the system record's origin.
  EXPECT_EQ(t[2].sideCode, 4);
  EXPECT_EQ(t[2].cycleKind, 2);
  EXPECT_EQ(t[3].workNumber, 57);
  // Whole lines until the text is longer than 512 bytes: six of 101.
  EXPECT_EQ(c.app.run.output.CentringMacroText, text.substr(0, 606));
}

}  // namespace
}  // namespace qup::shell::test
