// The NC data creation, post settings and machining order dialogs built by
// the desktop backend with a small drawing behind them; each is saved as a
// PNG picture in the build folder (looked at, not compared).
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "kelto_dorn/camdata/machining_order_dialog.h"
#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/post_setting_dialog.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_dialog_host.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

// Font look-ups keep a cache that the font library frees only at exit: that
// is the library's own memory, not a leak of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace dorn::test {
namespace {

class DialogPictureTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    platform::UninstallBackend();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_camdata_picture_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
    AddPointCurve(501, {{10.0, 10.0}, {30.0, 10.0}});
    for (int i = 0; i < 3; ++i) {
      HoleDefinition h;
      h.number = 10000 + 1000 * i;
      h.atc = 3 + i;
      AddHoleDefinition(h);
    }
  }

  // Opens the dialog on the desktop backend, lets it lay out, saves it.
  void Picture(platform::Dialog& dialog, const char* file) {
    ASSERT_TRUE(dialog.CreateModeless());
    QDialog* window = platform::qt::DialogWindow(dialog);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QPixmap picture = window->grab();
    EXPECT_GT(picture.width(), 200);
    EXPECT_GT(picture.height(), 150);
    const std::filesystem::path out = testsupport::BinaryFolder() / "artefacts" / file;
    std::filesystem::create_directories(out.parent_path());
    EXPECT_TRUE(picture.save(QString::fromStdString(out.string()), "PNG"));
    dialog.DestroyWindow();
  }
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
