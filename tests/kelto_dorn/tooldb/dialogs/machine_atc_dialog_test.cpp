// The machine ATC editor driven headless: machines, rows, placing tools,
// scrolling and the copy from another machine.
#include <cstring>
#include <fstream>

#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/tooldb/database_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace id = machine_atc;

class MachineAtcDialogTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    InstallRenameDialog();
    InstallMachineChoiceDialog();
    WriteToolFolder("BASE", "END", {SampleTool("EM6", 6.0f, 1), SampleTool("EM8", 8.0f, 2)});
    WriteToolFolder("BASE", "DRILL", {SampleTool("DR5", 5.0f, 3)});
    SetBaseName("BASE");
    SetToolName("DRILL");
  }
  void Open(CMachineAtcDbDlg& dialog) {
    ASSERT_TRUE(WriteDbSelection().ok());
    ASSERT_TRUE(dialog.CreateModeless());
  }
  std::string RowText(const CMachineAtcDbDlg& dialog, int row) {
    return platform::Cp932ToUtf8(dialog.GetText(id::kRowFieldBase + row));
  }
  int RowsOnDisk(const std::string& machine) {
    return static_cast<int>(fs::file_size(AtcFile(machine)) / sizeof(AtcRecord));
  }
};

TEST_F(MachineAtcDialogTest, ANewMachineGetsToolsPlacedInsertedAndDeleted) {
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  backend().WhenDialogOpens(kRenameDialogId, [](DialogDriver& n) {
    EXPECT_EQ(platform::Cp932ToUtf8(n.dialog().Title()), "  工作機械名の新規作成");
    n.Type(rename_dialog::kName, "MC1");
    n.Click(rename_dialog::kOk);
  });
  d.Click(id::kNewMachine);
  EXPECT_TRUE(fs::is_directory(home() / "_ATC" / "MC1"));
  EXPECT_EQ(dialog.SelectedRow(), 1);
  EXPECT_EQ(dialog.GetCheck(id::kRowButtonBase + 1), 1);

  // Two double clicks fill rows 1 and 2 with the listed drill.
  ASSERT_EQ(dialog.GetCount(id::kRecordList), 1);
  d.DoubleClick(id::kRecordList, 0);
  d.DoubleClick(id::kRecordList, 0);
  EXPECT_EQ(dialog.SelectedRow(), 3);
  EXPECT_NE(RowText(dialog, 1).find("DRILL＿DR5"), std::string::npos) << RowText(dialog, 1);
  EXPECT_NE(RowText(dialog, 2).find("DR5"), std::string::npos);

  // Insert at row 1: the tools move down, row 1 is empty and in use.
  d.Click(id::kInsert);
  d.Click(id::kRowButtonBase + 1);
  EXPECT_EQ(RowText(dialog, 1).find("DR5"), std::string::npos);
  EXPECT_NE(RowText(dialog, 3).find("DR5"), std::string::npos);
  EXPECT_EQ(atc_.Record(0).inUse, 1);
  // Delete it again through the row's field.
  d.Click(id::kDeleteRows);
  EXPECT_EQ(dialog.GetCheck(id::kInsert), 0);
  d.Focus(id::kRowFieldBase + 1);
  EXPECT_NE(RowText(dialog, 1).find("DR5"), std::string::npos);
  EXPECT_EQ(atc_.Record(1015).inUse, 0);

  d.Click(id::kClose);
  EXPECT_TRUE(dialog.HasEnded());
  EXPECT_EQ(RowsOnDisk("MC1"), 2);
}

TEST_F(MachineAtcDialogTest, PlacingIntoRow15ScrollsOneDown) {
  WriteMachine("MC1", {});
  SetMachineName("MC1");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  d.Click(id::kRowButtonBase + 15);
  d.DoubleClick(id::kRecordList, 0);
  EXPECT_EQ(dialog.SelectedRow(), 15);
  EXPECT_EQ(dialog.ScrollPosition(), 1);
  EXPECT_EQ(dialog.GetText(id::kRowButtonBase + 1), "ATC_0002");
  EXPECT_EQ(dialog.GetText(id::kRowButtonBase + 15), "ATC_0016");
  EXPECT_NE(RowText(dialog, 14).find("DR5"), std::string::npos);  // ATC_0015
  EXPECT_EQ(atc_.Record(14).atcNumber, 15);
  // The scroll bar moves the view; its page step is 12 rows.
  EXPECT_EQ(dialog.Control(id::kScroll)->pageStep, 12);
  d.Scroll(id::kScroll, 100);
  EXPECT_EQ(dialog.GetText(id::kRowButtonBase + 1), "ATC_0101");
}

// A double click on a tool before any ATC row was chosen places nothing, but
// says which choice is missing.
TEST_F(MachineAtcDialogTest, ADoubleClickWithoutAChosenRowSaysSo) {
  WriteMachine("MC1", {});
  SetMachineName("MC1");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  ASSERT_EQ(dialog.SelectedRow(), 0);
  d.DoubleClick(id::kRecordList, 0);
  ASSERT_EQ(backend().MessageBoxes().size(), 1u);
  EXPECT_NE(platform::Cp932ToUtf8(backend().MessageBoxes()[0].request.text).find("ＡＴＣ行の選択がありません"), std::string::npos);
  EXPECT_EQ(RowText(dialog, 1).find("DR5"), std::string::npos);
  // Once a row is chosen the same double click places the tool.
  d.Click(id::kRowButtonBase + 1);
  d.DoubleClick(id::kRecordList, 0);
  EXPECT_NE(RowText(dialog, 1).find("DR5"), std::string::npos);
  EXPECT_EQ(backend().MessageBoxes().size(), 1u);
}

TEST_F(MachineAtcDialogTest, CopyConvertThenADoubleClickTakesTheListedRecord) {
  AtcRecord row{};
  row.inUse = 1;
  ToolRecordToAtc(SampleTool("EM8", 8.0f, 2), "END", row);
  WriteMachine("SRC", {row});
  WriteMachine("DST", {});
  SetMachineName("DST");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  backend().WhenDialogOpens(kPostListDialogId, [](DialogDriver& p) {
    const int line = p.dialog().FindPrefix(post_list::kList, "SRC");
    p.Select(post_list::kList, line);
    p.Click(post_list::kChoose);
  });
  d.Click(id::kCopyConvert);
  EXPECT_NE(RowText(dialog, 1).find("EM8"), std::string::npos);
  EXPECT_EQ(RowsOnDisk("DST"), 1);
  // The tool list shows DRILL again, and a double click places its record.
  d.Click(id::kRowButtonBase + 2);
  d.DoubleClick(id::kRecordList, 0);
  EXPECT_NE(RowText(dialog, 2).find("DR5"), std::string::npos) << RowText(dialog, 2);
  EXPECT_FLOAT_EQ(atc_.Record(1).diameter, 5.0f);
}

TEST_F(MachineAtcDialogTest, AnUnreadableTableIsShownAndNeverWrittenOver) {
  // A folder where the table's file should be: it exists but cannot be read.
  fs::create_directories(AtcFile("MC1") / "inside");
  SetMachineName("MC1");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  EXPECT_TRUE(WasShown("ファイルＯｐｅｎエラー"));
  DialogDriver d(dialog);
  d.Click(id::kRowButtonBase + 1);
  d.DoubleClick(id::kRecordList, 0);
  EXPECT_EQ(atc_.Record(0).inUse, 0);
  EXPECT_GE(backend().BeepCount(), 1);
  d.Click(id::kInsert);
  d.Click(id::kRowButtonBase + 1);
  EXPECT_EQ(atc_.Record(0).inUse, 0);
  d.Click(id::kClose);
  EXPECT_TRUE(fs::is_directory(AtcFile("MC1") / "inside"));
}

TEST_F(MachineAtcDialogTest, ChangingTheMachineWritesTheRowsFirst) {
  WriteMachine("M1", {});
  WriteMachine("M2", {});
  SetMachineName("M1");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  d.Click(id::kRowButtonBase + 1);
  d.DoubleClick(id::kRecordList, 0);
  d.Select(id::kMachineCombo, dialog.FindPrefix(id::kMachineCombo, "M2"));
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "M2");
  EXPECT_EQ(RowsOnDisk("M1"), 1);
  EXPECT_NE(ReadFileBytes(AtcFile("M1")).find("DR5"), std::string::npos);
  EXPECT_EQ(atc_.Record(0).inUse, 0);  // M2's empty table is shown
}

TEST_F(MachineAtcDialogTest, DeletingTheOnlyMachineLeavesItCurrentAndEmpty) {
  WriteMachine("A", {});
  SetMachineName("A");
  CMachineAtcDbDlg dialog(atc_, tools_);
  Open(dialog);
  DialogDriver d(dialog);
  backend().AnswerMessageBox(platform::kIdYes);
  backend().AnswerMessageBox(platform::kIdYes);
  d.Click(id::kDeleteMachine);
  EXPECT_FALSE(fs::exists(home() / "_ATC" / "A"));
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "A");
  EXPECT_EQ(dialog.GetCount(id::kMachineCombo), 0);
}

}  // namespace
}  // namespace dorn::test
