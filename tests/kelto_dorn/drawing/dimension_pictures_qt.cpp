// The dimension style (305), extended value (365) and RIB line (222) dialogs
// built by the desktop backend; each is saved as a PNG picture in the build
// folder (looked at, not compared).

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/drawing/dimension_style_dialog.h"
#include "kelto_dorn/drawing/dimension_value_dialog.h"
#include "kelto_dorn/drawing/rib_line_dialog.h"
#include "platform/backend.h"
#include "platform/text.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

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
    testsupport::InstallOffscreenQtBackend("dorn_dimension_picture_tests");
  }
  void TearDown() override {
    platform::UninstallBackend();
    ResetAppState();
    ProgramFolderTest::TearDown();
  }

  // Lets the dialog settle again after `act`, and after no act too.
  void Picture(platform::Dialog& dialog, const char* file, void (*act)(platform::Dialog&) = nullptr) {
    testsupport::SaveDialogPicture(dialog, file, 150, 100, [act](platform::Dialog& d) {
      if (act != nullptr) act(d);
    });
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
