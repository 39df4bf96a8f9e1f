// The main dialogs of the file management built by the desktop backend off
// screen; each picture is saved in the build folder ("artefacts") to be
// looked at, not compared.
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dialogs/backup_dialog.h"
#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/drawing_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/dxf_out_property_dialog.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/dialogs/file_server_dialog.h"
#include "kelto_dorn/files/dialogs/print_dialogs.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "platform/backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class FileDialogPictureTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetAppState();
    ResetFilesState();
    testsupport::InstallOffscreenQtBackend("dorn_files_picture_test");
    platform::SetFieldText(g_drawingHeader.unitName, "SAMPLE");
    platform::SetFieldText(g_drawingHeader.secondName, "PGM");
    const fs::path dat = home() / "SAMPLE" / "PGM" / "DAT";
    const fs::path seg = home() / "SAMPLE" / "PGM" / "SEG";
    fs::create_directories(dat);
    fs::create_directories(seg);
    std::ofstream(dat / "PART1.DXF") << "0\nEOF\n";
    std::ofstream(dat / "PART2.DXF") << "0\nSECTION\n0\nEOF\n";
    std::ofstream(seg / "A.MZF") << "x";
    std::ofstream(seg / "B.MZF") << "yy";
  }
  void TearDown() override {
    platform::UninstallBackend();
    ResetAppState();
    ProgramFolderTest::TearDown();
  }

  void Picture(platform::Dialog& dialog, const char* file) { testsupport::SaveDialogPicture(dialog, file, 150, 80); }
};

TEST_F(FileDialogPictureTest, MainFileDialogs) {
  ImportFileKind = 2;
  CCadFileListDlg cadList;
  Picture(cadList, "idd246_cad_file_list.png");
  g_deleteMode = 1;
  CFileListDlg fileList;
  Picture(fileList, "idd249_file_list.png");
  g_deleteMode = 0;
  CDxfOutPropertyDlg properties(platform::SystemName(home()) + "\\SAMPLE\\PGM\\DAT\\PART.DXF");
  Picture(properties, "idd275_dxf_out_property.png");
  CFileServerDlg server;
  Picture(server, "idd340_file_server.png");
  int mode = 0;
  CPrintOutputDlg print(mode);
  Picture(print, "idd233_print_output.png");
  CDrawingFileListDlg drawings;
  Picture(drawings, "idd245_drawing_file_list.png");
  FocusedEditIndex = 0;
  CBackupDlg backupDialog;
  Picture(backupDialog, "idd268_backup.png");
  g_renameMode = kRenameTextInput;
  CRenameDlg rename("");
  Picture(rename, "idd261_rename.png");
  g_renameMode = 0;
}

}  // namespace
}  // namespace dorn::test
