// The NC data transfer and serial port settings dialogs built by the desktop
// backend over a drawing folder with three programs, and the plotter's output
// and progress windows; each is saved as a PNG
// picture in the build folder (looked at, not compared).
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/camdata/data_transfer_dialog.h"
#include "kelto_dorn/files/plotter_output.h"
#include "kelto_dorn/files/port_setting_dialog.h"
#include "platform/backend.h"
#include "platform/text.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

namespace {

class TransferPictureTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    testsupport::InstallOffscreenQtBackend("dorn_transfer_picture_tests");
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  void Picture(platform::Dialog& dialog, const char* file, int minHeight = 100) {
    testsupport::SaveDialogPicture(dialog, file, 150, minHeight);
  }
};

TEST_F(TransferPictureTest, TheTransferAndPortDialogsAsTheUserSeesThem) {
  handover::DrawingHeader header{};
  platform::SetFieldText(header.unitName, "UNIT");
  platform::SetFieldText(header.secondName, "PGM");
  header.portByte = 0x31;
  const auto dat = home() / "UNIT" / "PGM" / "DAT";
  std::filesystem::create_directories(dat);
  for (const char* file : {"O1000.NC", "O2000.NC", "HOLE PLATE.NC"}) std::ofstream(dat / file) << "%\nM30\n%\n";
  dorn::CamServices services;  // the program installs both; the buttons then show enabled
  services.fileListDialog = [](int) {};
  services.portSettingDialog = [](int) {};
  dorn::CDataTransferDlg transfer(services, header);
  Picture(transfer, "data_transfer_dialog.png");
  dorn::CPortSettingDlg port(1);
  Picture(port, "port_setting_dialog.png");
  dorn::CPlotterOutputDlg plotter;
  Picture(plotter, "plotter_output_dialog.png");
  bool stop = false;
  dorn::CPlotProgressDlg progress(stop);
  ASSERT_TRUE(progress.CreateModeless());
  progress.SetRange(dorn::plotter::kProgress, 0, 100);
  progress.SetPos(dorn::plotter::kProgress, 40);
  progress.DestroyWindow();
  Picture(progress, "plot_progress_dialog.png", 40);  // a bar and a button
}

}  // namespace
