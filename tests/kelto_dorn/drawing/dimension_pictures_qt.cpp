// The dimension style (305), extended value (365) and RIB line (222) dialogs
// built by the desktop backend; each is saved as a PNG picture in the build
// folder (looked at, not compared).
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/drawing/dimension_style_dialog.h"
#include "kelto_dorn/drawing/dimension_value_dialog.h"
#include "kelto_dorn/drawing/rib_line_dialog.h"
#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace dorn::test {
namespace {

class DimensionPictureTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ResetAppState();
    InitLayerDefaults();
    SetDefaultPalette(0);
    RebuildPenTable();
    platform::UninstallBackend();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_dimension_picture_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
  }
  void TearDown() override {
    platform::UninstallBackend();
    ResetAppState();
    ProgramFolderTest::TearDown();
  }

  void Picture(platform::Dialog& dialog, const char* file, void (*act)(platform::Dialog&) = nullptr) {
    ASSERT_TRUE(dialog.CreateModeless());
    QDialog* window = platform::qt::DialogWindow(dialog);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    if (act != nullptr) act(dialog);
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QPixmap picture = window->grab();
    EXPECT_GT(picture.width(), 150);
    EXPECT_GT(picture.height(), 100);
    const std::filesystem::path out = testsupport::BinaryFolder() / "artefacts" / file;
    std::filesystem::create_directories(out.parent_path());
    EXPECT_TRUE(picture.save(QString::fromStdString(out.string()), "PNG"));
    dialog.DestroyWindow();
  }
};

TEST_F(DimensionPictureTest, StyleDialogWithItsSample) {
  CDimensionStyleDlg dialog;
  Picture(dialog, "dimension_style_305.png", [](platform::Dialog& d) {
    d.UserFocus(style_dialog::kArrowAngle);
    d.UserType(style_dialog::kArrowAngle, "30");
    d.UserFocus(style_dialog::kArrowLength);
    d.UserClick(style_dialog::kFilledTip);
  });
  EXPECT_DOUBLE_EQ(g_dimensionStyle.arrowAngle, 30.0);
  EXPECT_EQ(g_dimensionStyle.arrowFilled, 1);
}

TEST_F(DimensionPictureTest, ValueAndRibLineDialogs) {
  CDimensionValueDlg value({"25", "+0.1", "-0.05", "H7"});
  Picture(value, "dimension_value_365.png");
  g_curveTable[0].key = 7;
  std::snprintf(g_curveTable[0].name, 64, "RIB-A");
  g_curveCount = 1;
  ResetRibLines();
  RibLineKeys[1] = 7;
  CRibLineDlg rib;
  Picture(rib, "rib_lines_222.png");
}

}  // namespace
}  // namespace dorn::test
