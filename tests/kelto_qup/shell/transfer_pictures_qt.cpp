// The companion's transfer dialogs built by the desktop backend: receive, NC
// data copy, network-drive send with its folder list and drive slots, the
// check's monitor and the editor; each is
// saved as a PNG picture in the build folder (looked at, not compared).
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/shell/dnc_receive.h"
#include "kelto_qup/shell/nc_copy.h"
#include "kelto_qup/shell/nc_editor.h"
#include "kelto_qup/shell/nc_monitor_dlg.h"
#include "kelto_qup/shell/nfs_folder_dialogs.h"
#include "kelto_qup/shell/nfs_send.h"
#include "platform/backend.h"
#include "platform/drives.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

namespace {

class QupTransferPictureTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    testsupport::InstallOffscreenQtBackend("qup_transfer_picture_tests");
    handover::DrawingHeader& h = run.job.Header;
    platform::SetFieldText(h.unitName, "UNIT");
    platform::SetFieldText(h.secondName, "PGM");
    platform::SetFieldText(h.drawingName, "O100");
    platform::SetFieldText(h.dataExtension, "NC");
    h.programNumber = 100;
    std::filesystem::create_directories(home() / "UNIT" / "PGM" / "DAT");
    std::ofstream(home() / "UNIT" / "PGM" / "DAT" / "O100.NC") << "%\nO0100\nG90G00X0.Y0.\nG81X10.Y20.Z-5.R2.F80.\nM30\n%\n";
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  void Picture(platform::Dialog& dialog, const char* file) { testsupport::SaveDialogPicture(dialog, file, 100, 60); }
  qup::RecordingHost host;
  qup::RunContext run{host};
};

TEST_F(QupTransferPictureTest, TheTransferDialogsAsTheUserSeesThem) {
  qup::shell::CDncReceiveDlg receive(run);
  Picture(receive, "receive_dialog.png");
  qup::shell::CNcCopyDlg copy(run);
  Picture(copy, "nc_copy_dialog.png");
  handover::DrawingHeader header = run.job.Header;
  qup::shell::CNfsSendDlg send(run, header, 0);
  Picture(send, "nfs_send_dialog.png");
  // The folder list of drive C with two folders at its root.
  for (const char* folder : {"MACHINE_1", "MACHINE_2"}) std::filesystem::create_directories(home() / "cdrive" / folder);
  platform::SettingsStore store("Kelto_qup");
  store.SetString(platform::kDriveSection, "C", (home() / "cdrive").string());
  ASSERT_TRUE(store.Save());
  qup::shell::NfsSendSettings nfs{};
  qup::shell::ApplyNfsDefaults(nfs);
  nfs.selection = 2;
  qup::shell::CUserDirListDlg folders(nfs);
  Picture(folders, "nfs_folder_list_dialog.png");
  qup::shell::CSendDriveDlg drives(nfs);
  Picture(drives, "nfs_drive_slots_dialog.png");
  qup::shell::CNcMonitorDlg monitor(run);
  std::array<std::string, 16> lines{};
  lines[0] = "LINE = 4  ";
  lines[1] = platform::Sjis("Ｘ = 10.000   ");
  lines[2] = platform::Sjis("Ｙ = 20.000   ");
  lines[3] = platform::Sjis("Ｚ = -5.000   ");
  monitor.SetTexts(lines);
  Picture(monitor, "nc_monitor_dialog.png");
  qup::shell::CNcEditDlg editor(home() / "UNIT" / "PGM" / "DAT" / "O100.NC", "O100.NC");
  Picture(editor, "nc_editor_dialog.png");
}

}  // namespace
