// The NC data creation, post settings and machining order dialogs built by
// the desktop backend with a small drawing behind them; each is saved as a
// PNG picture in the build folder (looked at, not compared).

#include <gtest/gtest.h>

#include "kelto_dorn/camdata/machining_order_dialog.h"
#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/post_setting_dialog.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/support/dialog_picture_qt.h"

namespace dorn::test {
namespace {

class DialogPictureTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    testsupport::InstallOffscreenQtBackend("dorn_camdata_picture_tests");
    AddPointCurve(501, {{10.0, 10.0}, {30.0, 10.0}});
    for (int i = 0; i < 3; ++i) {
      HoleDefinition h;
      h.number = 10000 + 1000 * i;
      h.atc = 3 + i;
      AddHoleDefinition(h);
    }
  }

  // Opens the dialog on the desktop backend, lets it lay out, saves it.
  void Picture(platform::Dialog& dialog, const char* file) { testsupport::SaveDialogPicture(dialog, file, 200, 150); }
};

TEST_F(DialogPictureTest, NcDataCreationDialog) {
  CNcDataCreateDlg dialog(Services());
  Picture(dialog, "idd239_nc_data_creation.png");
}

TEST_F(DialogPictureTest, PostSettingsDialog) {
  CPostSettingDlg dialog;
  Picture(dialog, "idd234_post_settings.png");
}

TEST_F(DialogPictureTest, MachiningOrderDialog) {
  CMachiningOrderM00Dlg dialog(Services());
  Picture(dialog, "idd353_machining_order.png");
}

}  // namespace
}  // namespace dorn::test
