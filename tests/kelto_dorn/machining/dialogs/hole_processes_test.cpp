// Hole processes: rebinding to the machine, row deletion, and the CSV
// exchange with its refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_tools.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/machining/dialogs/hole_process_dialog.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_csv.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class HoleProcessTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    WriteMachine({{"CENTER", "CD3", 3.0f, 0.0f, 90.0f, 1.5f, 0, 81},
                  {"DRILL", "DR8.5", 8.5f, 0.0f, 118.0f, 2.5f, 0, 83},
                  {"DRILL", "DR8.5", 8.5f, 0.0f, 118.0f, 2.5f, 0, 73},
                  {"TAP", "M10", 10.0f, 0.0f, 0.0f, 1.0f, 0, 84}});
  }
  // A row as a stored process holds it: the tool as it was, ATC number 0.
  AtcRecord RowOf(int slot, float diameter) {
    AtcRecord r = document().atc.Record(slot);
    r.atcNumber = 0;
    r.spindleSpeed = 1;
    r.diameter = diameter;
    return r;
  }
  void MakeProcess(const char* name, int rows) {
    HoleProcessRecord p{};
    ClearHoleProcess(p, document().atc, false);
    platform::SetFieldText(p.name, name);
    for (int r = 0; r < rows; ++r) p.rows[r] = RowOf(r, document().atc.Record(r).diameter);
    RenumberHoleProcessRows(p);
    ASSERT_TRUE(WriteHoleProcess(p).ok());
  }
};

TEST_F(HoleProcessTest, RowsRebindToTheFirstExactMatchAndUnmatchedRowsAreNamed) {
  HoleProcessRecord& p = g_holeProcess;
  ClearHoleProcess(p, document().atc, false);
  p.rows[0] = RowOf(1, 8.5f);        // two equal slots: the lower one wins
  p.rows[1] = RowOf(3, 10.0001f);    // the tap, but not its diameter
  ASSERT_EQ(MatchToolsToAtcTable(kMatchHoleProcess, document().atc), 1);
  EXPECT_EQ(p.rows[0].atcNumber, 2);
  EXPECT_EQ(p.rows[0].cannedCycle, 83);
  EXPECT_EQ(p.rows[1].atcNumber, 0);  // kept as it was
  EXPECT_EQ(p.rows[1].spindleSpeed, 1);
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_NE(ShownTexts()[0].find("TAP_M10 [10.00]"), std::string::npos) << ShownTexts()[0];
  EXPECT_EQ(platform::FieldText(p.machineName), "MC1");
}

TEST_F(HoleProcessTest, StepToolsRebindAndANamelessToolIsSkippedSilently) {
  ResetMachiningRecord(document().atc);
  g_curMachiningDef.stepTools[0] = RowOf(3, 10.0f);
  g_curMachiningDef.stepTools[1] = RowOf(0, 3.0f);
  platform::SetFieldText(g_curMachiningDef.stepTools[1].toolName, "");
  platform::SetFieldText(g_dbSelection.machineName, std::string(56, 'M'));
  EXPECT_EQ(MatchToolsToAtcTable(kMatchStepTools, document().atc), 0);
  EXPECT_EQ(g_curMachiningDef.stepTools[0].atcNumber, 4);
  EXPECT_EQ(g_curMachiningDef.stepTools[1].atcNumber, 0);
  EXPECT_TRUE(ShownTexts().empty());
  EXPECT_EQ(platform::FieldText(g_curMachiningDef.machineName).size(), 51u);
}

TEST_F(HoleProcessTest, DeletingARowMovesTheRestUpAndFreesTheLastPlace) {
  HoleProcessRecord p{};
  ClearHoleProcess(p, document().atc, false);
  for (int r = 0; r < 8; ++r) p.rows[r] = RowOf(r % 4, 1.0f + static_cast<float>(r));
  RenumberHoleProcessRows(p);
  DeleteHoleProcessRow(p, 7, document().atc);
  EXPECT_EQ(p.rows[7].diameter, 0.0f);
  EXPECT_EQ(p.rowNumbers[7], 0);
  DeleteHoleProcessRow(p, 0, document().atc);
  EXPECT_EQ(p.rows[0].diameter, 2.0f);
  EXPECT_EQ(p.rows[5].diameter, 7.0f);
  EXPECT_EQ(p.rows[6].diameter, 0.0f);
  EXPECT_EQ(p.rowNumbers[5], 6);
  EXPECT_EQ(p.rowNumbers[6], 0);
}

TEST_F(HoleProcessTest, ExportAndImportRoundTripTwoProcesses) {
  MakeProcess("A_M10_TAP", 3);
  MakeProcess("B_CD", 1);
  ASSERT_TRUE(ExportHoleProcesses(document().atc));
  const fs::path csv = HoleProcessCsvPath();
  ASSERT_TRUE(fs::exists(csv));

  // Another program reads it: 22 columns, cp932.
  const fs::path check = home() / "check.py";
  std::ofstream(check) << "import csv,sys\n"
                          "rows=list(csv.reader(open(sys.argv[1],encoding='cp932',newline='')))\n"
                          "assert all(len(r)==22 for r in rows), [len(r) for r in rows]\n"
                          "print(len(rows)-1, rows[1][0], rows[1][1], rows[3][3])\n";
  const fs::path result = home() / "check.txt";
  const std::string command = "python3 '" + check.string() + "' '" + csv.string() + "' > '" + result.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::string line;
  std::getline(std::ifstream(result), line);
  EXPECT_EQ(line, "4 A_M10_TAP 01 DRILL");

  fs::remove_all(home() / "_ANA");
  backend().AnswerMessageBox(platform::kIdYes);
  const HoleImportReport report = ImportHoleProcesses(document().atc);
  ASSERT_TRUE(report.done);
  EXPECT_EQ(report.processes.size(), 2u);
  HoleProcessRecord a{}, b{};
  ASSERT_TRUE(ReadHoleProcess("A_M10_TAP", a).ok());
  ASSERT_TRUE(ReadHoleProcess("B_CD", b).ok());
  EXPECT_EQ(a.rowNumbers[2], 3);
  EXPECT_EQ(a.rows[2].diameter, 8.5f);
  EXPECT_EQ(a.rows[2].cannedCycle, 83);  // bound to the lower of the two equal slots
  EXPECT_EQ(a.rows[3].diameter, 0.0f);
  EXPECT_EQ(b.rows[0].diameter, 3.0f);
  EXPECT_EQ(b.rows[1].diameter, 0.0f);
}

TEST_F(HoleProcessTest, ImportKeepsEightRowsAndRefusesUnsafeNames) {
  const fs::path csv = HoleProcessCsvPath();
  fs::create_directories(csv.parent_path());
  std::string text = "header\n";
  for (int k = 1; k <= 10; ++k) text += "LONG," + std::to_string(k) + ",1,DRILL,D," + std::to_string(k) + "\n";
  text += "..,1,1,DRILL,D,5\n";
  text += "GOOD," + std::string(1, '1') + ",1," + std::string(80, 'T') + ",D,5\n";
  std::ofstream(csv, std::ios::binary) << text;
  backend().AnswerMessageBox(platform::kIdYes);
  const HoleImportReport report = ImportHoleProcesses(document().atc);
  EXPECT_EQ(report.processes, (std::vector<std::string>{"LONG", "GOOD"}));
  ASSERT_EQ(report.problems.size(), 2u);
  HoleProcessRecord p{};
  ASSERT_TRUE(ReadHoleProcess("LONG", p).ok());
  EXPECT_EQ(p.rows[7].diameter, 8.0f);
  EXPECT_EQ(fs::file_size(*HoleProcessFilePath("LONG")), sizeof(HoleProcessRecord));
  EXPECT_FALSE(fs::exists(home() / "_ANA" / ".."/ "$HOLE_DBS.@@@"));
  ASSERT_TRUE(ReadHoleProcess("GOOD", p).ok());
  EXPECT_EQ(platform::FieldText(p.rows[0].toolName).size(), 63u);
  // The editor is left empty, not holding the last process.
  EXPECT_EQ(platform::FieldText(g_holeProcess.name), "");
}

TEST_F(HoleProcessTest, AMissingFileOrAFailedBackupChangesNothing) {
  MakeProcess("A", 1);
  backend().AnswerMessageBox(platform::kIdYes);
  EXPECT_FALSE(ImportHoleProcesses(document().atc).done);  // no CSV: message 50
  EXPECT_NE(ShownTexts().back().find("ANA_Export.csv"), std::string::npos);

  const fs::path csv = HoleProcessCsvPath();
  fs::create_directories(csv.parent_path());
  std::ofstream(csv, std::ios::binary) << "header\nA,1,1,NEW,N,4\n";
  // A file where the backup folder must go.
  std::ofstream(home() / platform::DiskName(platform::Sjis("退避"))) << "x";
  backend().AnswerMessageBox(platform::kIdYes);
  EXPECT_FALSE(ImportHoleProcesses(document().atc).done);
  HoleProcessRecord p{};
  ASSERT_TRUE(ReadHoleProcess("A", p).ok());
  EXPECT_EQ(platform::FieldText(p.rows[0].toolName), "CENTER");
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace hp = hole_process_ctl;

// The editor: compose two rows, register, reopen; an unwritable folder keeps
// the composed process in the editor.
TEST_F(HoleProcessTest, TheEditorComposesRegistersAndReopensAProcess) {
  backend().WhenDialogOpens(kProcessNameDialogId, [](DialogDriver& d) {
    d.Type(process_name_ctl::kFirst, "M10");
    d.Type(process_name_ctl::kSecond, "TAP");
    d.Type(process_name_ctl::kThird, "A");
    d.Click(process_name_ctl::kOk);
  });
  backend().WhenDialogOpens(kProcessSelectDialogId, [](DialogDriver& d) {
    d.Select(process_select_ctl::kFolders, 0);
    d.Click(process_select_ctl::kChoose);
  });
  backend().WhenDialogOpens(kHoleProcessDialogId, [](DialogDriver& d) {
    // Hole tools only: CENTER, DRILL, TAP; the last name is listed.
    EXPECT_EQ(d.dialog().GetCount(hp::kToolName), 3);
    d.Select(hp::kToolName, 0);  // CENTER
    d.DoubleClick(hp::kList, 0);
    EXPECT_EQ(d.dialog().GetCheck(hp::kRowButton + 1), 1);  // on to row 2
    d.Select(hp::kToolName, 1);  // DRILL: two rows
    ASSERT_EQ(d.dialog().GetCount(hp::kList), 2);
    d.Select(hp::kList, 1);
    d.DoubleClick(hp::kList, 1);
    EXPECT_NE(d.dialog().GetText(hp::kRowField + 1).find("ATC_0003"), std::string::npos);
    d.Click(hp::kRegister);
    EXPECT_EQ(d.dialog().GetText(hp::kRowField), "");  // registered and cleared
    d.Click(hp::kProcessName);
    EXPECT_NE(d.dialog().GetText(hp::kNameField).find("M10_TAP_A"), std::string::npos);
    EXPECT_NE(d.dialog().GetText(hp::kRowField + 1).find("DR8.5"), std::string::npos);
    d.PressEscape();
  });
  EXPECT_EQ(RunHoleProcessDialog(document().atc), platform::kIdCancel);
  EXPECT_TRUE(backend().Problems().empty()) << backend().Problems().front();
  HoleProcessRecord p{};
  ASSERT_TRUE(ReadHoleProcess("M10_TAP_A", p).ok());
  EXPECT_EQ(p.rows[0].atcNumber, 1);
  EXPECT_EQ(p.rows[1].atcNumber, 3);
  EXPECT_EQ(p.rowNumbers[1], 2);
  EXPECT_EQ(p.rowNumbers[2], 0);
}

TEST_F(HoleProcessTest, RegisteringIntoAnUnwritableFolderKeepsTheProcess) {
  std::ofstream(home() / "_ANA") << "not a folder";
  backend().WhenDialogOpens(kProcessNameDialogId, [](DialogDriver& d) {
    d.Type(process_name_ctl::kFirst, "X");
    d.Click(process_name_ctl::kOk);
  });
  backend().WhenDialogOpens(kHoleProcessDialogId, [](DialogDriver& d) {
    d.Click(hp::kRegister);  // no first row: message 9
    d.DoubleClick(hp::kList, 0);
    d.Click(hp::kRegister);
    EXPECT_NE(d.dialog().GetText(hp::kRowField).find("ATC_0004"), std::string::npos);
    d.PressEscape();
  });
  RunHoleProcessDialog(document().atc);
  const std::vector<std::string> texts = ShownTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find("穴工程を入力してから"), std::string::npos);
  EXPECT_NE(texts[1].find("ファイルＯｐｅｎエラー"), std::string::npos);
}

}  // namespace
}  // namespace dorn::test
