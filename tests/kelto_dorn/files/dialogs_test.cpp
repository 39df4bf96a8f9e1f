// The file management's small dialogs and the choices behind them, driven
// headless: the file server setting, the name dialog's text history, the
// data-edit hand-over, the import selection, the print choices, and the file
// list that the NC data transfer opens in copy or delete mode.
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/files/dialogs/data_edit_dialog.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/dialogs/import_select_dialog.h"
#include "kelto_dorn/files/dialogs/print_dialogs.h"
#include "kelto_dorn/files/file_server.h"
#include "kelto_dorn/files/files_commands.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "platform/drives.h"
#include "platform/headless/dialog_driver.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/kelto_dorn/files/files_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using platform::headless::DialogDriver;

class FileDialogsTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    ResetFilesState();
    g_fileServerSettings = {};
    platform::SetFieldText(g_drawingHeader.unitName, "SAMPLE");
    platform::SetFieldText(g_drawingHeader.secondName, "PGM");
  }
  void MapDrive(char letter, const fs::path& folder) {
    platform::SettingsStore store("Kelto_Dorn");
    store.SetString(platform::kDriveSection, std::string(1, letter), folder.string());
    ASSERT_TRUE(store.Save());
  }
  handover::FileServerSettings Written() {
    handover::FileServerSettings record;
    EXPECT_TRUE(platform::ReadRecord(Home() / handover::kFileServerFileName, record).ok());
    return record;
  }
};

TEST_F(FileDialogsTest, TheTransferOpensTheFileListInCopyOrDeleteMode) {
  ResetCommandEngines();
  InstallFileCommands();
  ASSERT_TRUE(g_commandEngines.fileListDialog);
  EXPECT_TRUE(g_commandEngines.dxfExportOrPlot) << "the plotter command is routed";
  for (const int mode : {1, 2}) {
    int copying = -1, deleting = -1;
    backend().WhenDialogOpens(kFileListDialogId, [&](DialogDriver& d) {
      copying = g_fileCopyMode;
      deleting = g_deleteMode;
      d.PressEscape();
    });
    g_commandEngines.fileListDialog(mode);
    EXPECT_EQ(copying, mode == 1 ? 1 : 0) << mode;
    EXPECT_EQ(deleting, mode == 2 ? 1 : 0) << mode;
    EXPECT_EQ(g_fileCopyMode + g_deleteMode, 0) << "the modes end with the list";
  }
  ResetCommandEngines();
}

TEST_F(FileDialogsTest, FileServerOnAndOff) {
  const fs::path server = Home() / "server";
  MapDrive('F', server);
  std::string message;
  ASSERT_TRUE(RegisterFileServer({true, 5, "CAM\\DATA"}, message)) << platform::Cp932ToUtf8(message);
  EXPECT_EQ(message, platform::Sjis("ファイルサーバーの設定をしました"));
  const fs::path root = server / "CAM" / "DATA";
  EXPECT_EQ(platform::DataRoot(), root);
  EXPECT_TRUE(fs::is_directory(root / "_DBS"));
  EXPECT_TRUE(fs::is_directory(root / "SAMPLE" / "PGM" / "SEG"));
  EXPECT_EQ(fs::file_size(Home() / handover::kFileServerFileName), 392u);
  EXPECT_EQ(platform::FieldText(Written().serverPath), platform::SystemName(root)) << "the resolved folder";

  ASSERT_TRUE(RegisterFileServer({false, 5, "CAM\\DATA"}, message));
  EXPECT_EQ(message, platform::Sjis("ファイルサーバーの設定を解除しました"));
  EXPECT_EQ(Written().enabled, 0);
  EXPECT_EQ(platform::FieldText(Written().serverPath), platform::FieldText(Written().programFolder));
  EXPECT_EQ(platform::DataRoot(), platform::ProgramFolder());
}

TEST_F(FileDialogsTest, FileServerRefusalsChangeNothing) {
  MapDrive('F', Home() / std::string(120, 'x'));
  const fs::path before = platform::DataRoot();
  std::string message;
  EXPECT_FALSE(RegisterFileServer({true, -1, "A"}, message));
  EXPECT_EQ(message, platform::Sjis("DRIVE:? 選択されていません"));
  EXPECT_FALSE(RegisterFileServer({true, 6, "A"}, message)) << "G: is not mapped";
  EXPECT_FALSE(RegisterFileServer({true, 5, std::string(40, 'y')}, message)) << "a folder the record cannot hold";
  EXPECT_FALSE(fs::exists(Home() / handover::kFileServerFileName));
  EXPECT_EQ(platform::DataRoot(), before);
}

TEST_F(FileDialogsTest, TextHistoryKeepsLinesNotWithinTheNewText) {
  ASSERT_TRUE(WriteTextHistory("ABC", {"A", "B", "AB"}));
  EXPECT_EQ(ReadTextHistory(), (std::vector<std::string>{"ABC"}));
  ASSERT_TRUE(WriteTextHistory("X", {"A", "B", "AB"}));
  EXPECT_EQ(ReadTextHistory(), (std::vector<std::string>{"X", "A", "B", "AB"}));
  // Through the dialog: a history line chosen and OK.
  backend().WhenDialogOpens(kRenameDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCount(rename_dialog::kHistory), 4);
    d.Select(rename_dialog::kHistory, 2);
    d.Click(rename_dialog::kOk);
  });
  std::string text;
  ASSERT_TRUE(RunRenameDialog(kRenameTextInput, text));
  EXPECT_EQ(text, "B");
  EXPECT_EQ(ReadTextHistory(), (std::vector<std::string>{"B", "X", "A", "AB"}));
  // An empty field in mode 0 gives the default name.
  backend().WhenDialogOpens(kRenameDialogId, [](DialogDriver& d) {
    EXPECT_NE(d.dialog().Title().find("PROG.NC"), std::string::npos);
    d.Type(rename_dialog::kName, "");
    d.Click(rename_dialog::kOk);
  });
  std::string name = "PROG.NC";
  ASSERT_TRUE(RunRenameDialog(kRenameCopiedFile, name));
  EXPECT_EQ(name, "PROG.NC");
}

// The wheel walks the text history in the field: down a line for a turn away
// from the user, up otherwise, round at both ends; other modes leave the wheel
// to the controls.
TEST_F(FileDialogsTest, TheWheelWalksTheTextHistoryRoundBothEnds) {
  ASSERT_TRUE(WriteTextHistory("X", {"A", "B"}));
  std::vector<std::string> shown;
  backend().WhenDialogOpens(kRenameDialogId, [&shown](DialogDriver& d) {
    const auto field = [&d] { return d.dialog().GetText(rename_dialog::kName); };
    for (int delta : {120, 120, 120, -120, -120, -120}) {
      EXPECT_TRUE(d.Wheel(rename_dialog::kHistory, delta));
      shown.push_back(field());
    }
    d.Click(rename_dialog::kOk);
  });
  std::string text;
  ASSERT_TRUE(RunRenameDialog(kRenameTextInput, text));
  EXPECT_EQ(shown, (std::vector<std::string>{"A", "B", "X", "B", "A", "X"}));
  EXPECT_EQ(text, "X");

  backend().WhenDialogOpens(kRenameDialogId, [](DialogDriver& d) {
    EXPECT_FALSE(d.Wheel(rename_dialog::kName, 120));
    EXPECT_EQ(d.dialog().GetText(rename_dialog::kName), "OLD");
    d.Click(rename_dialog::kOk);
  });
  std::string name = "OLD";
  ASSERT_TRUE(RunRenameDialog(kRenameCopiedFile, name));
  EXPECT_EQ(name, "OLD");
}

TEST_F(FileDialogsTest, EditRequestNamesOnlyTheChosenFile) {
  EditRequestRecord record;
  ASSERT_TRUE(MakeEditRequest(g_drawingHeader, "PROG.NC", record));
  EXPECT_EQ(std::string(record.unitName), "SAMPLE");
  EXPECT_EQ(std::string(record.fileName), "PROG");
  EXPECT_EQ(std::string(record.extension), "NC");
  ASSERT_TRUE(MakeEditRequest(g_drawingHeader, "PROG", record));
  EXPECT_EQ(std::string(record.extension), "");
  EXPECT_FALSE(MakeEditRequest(g_drawingHeader, "A.B.NC", record));
  EXPECT_FALSE(MakeEditRequest(g_drawingHeader, "PROG.NCDATA", record));

  const fs::path dat = Home() / "SAMPLE" / "PGM" / "DAT";
  fs::create_directories(dat);
  std::ofstream(dat / "PROG.NC") << "G0";
  backend().WhenDialogOpens(kDataEditDialogId, [](DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(data_edit::kList), 1);
    d.DoubleClick(data_edit::kList, 0);
  });
  handover::DrawingHeader header = g_drawingHeader;
  EXPECT_EQ(RunDataEditDialog(header), platform::kIdOk);
  EditRequestRecord written;
  ASSERT_TRUE(platform::ReadRecord(Home() / "$EDIT.@@@", written).ok());
  EXPECT_EQ(std::string(written.fileName), "PROG");
  EXPECT_NE(std::string(g_pathBuffer).find("PGM\\DAT\\PROG.NC"), std::string::npos);
}

TEST_F(FileDialogsTest, ImportSelectionNeedsFiguresOrCurves) {
  backend().WhenDialogOpens(kImportSelectDialogId, [](DialogDriver& d) {
    d.Click(import_select::kFigures);
    d.Click(import_select::kCurves);
    d.Click(import_select::kMachining);
    d.PressEscape();
    EXPECT_FALSE(d.dialog().HasEnded()) << "machining data alone";
    d.Click(import_select::kCurves);
    d.PressEscape();
  });
  EXPECT_EQ(CImportSelectDlg().DoModal(), 0x110);
}

TEST_F(FileDialogsTest, PrintChoices) {
  int printMode = 0;
  g_drawingHeader.printOptions = 0;
  backend().WhenDialogOpens(kPrintOutputDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCheck(print_output::kDrawing), 1);
    EXPECT_EQ(d.dialog().GetCheck(print_output::kBothEnds), 1);
    EXPECT_EQ(d.dialog().GetCheck(print_output::kStandard), 1);
    d.Click(print_output::kAll);
    d.Click(print_output::kBlack);
    d.Click(print_output::kNcData);
    d.Click(print_output::kRun);
  });
  EXPECT_EQ(CPrintOutputDlg(printMode).DoModal(), platform::kIdOk);
  EXPECT_EQ(printMode, kPrintNcData);
  EXPECT_EQ(PrintOptions, 0x1052);

  int choice = 0;
  backend().WhenDialogOpens(kPrintListDialogId, [](DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(print_list::kSecond));
    EXPECT_EQ(d.dialog().GetText(print_list::kThird), platform::Sjis("すべての穴工程リスト"));
    d.Click(print_list::kThird);
    d.Click(print_list::kRun);
  });
  EXPECT_EQ(CPrintListDlg(810, choice).DoModal(), platform::kIdOk);
  EXPECT_EQ(choice, 3);
  backend().WhenDialogOpens(kPrintListDialogId, [](DialogDriver& d) { d.Click(kFontButton); });
  EXPECT_EQ(CPrintListDlg(800, choice).DoModal(), kAskFontChoice);
}

}  // namespace
}  // namespace dorn::test
