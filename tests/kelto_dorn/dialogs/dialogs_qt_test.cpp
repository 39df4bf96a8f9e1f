// Every dialog of the folder built by the desktop backend on the off-screen
// platform: each control gets its widget, a typed field reaches the model, and
// pictures of the view settings and the palette are written to look at.
#include <QAbstractButton>
#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/login_dialog.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/dialogs/view_settings_dialog.h"
#include "kelto_dorn/dialogs/work_settings_dialog.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/text.h"
#include "tests/platform/window/qt_test_support.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

namespace dorn::test {
namespace {

using testsupport::ControlWidget;
using testsupport::SettleQt;

class DialogsQtTest : public windowtest::QtTest {
 protected:
  void SetUp() override {
    windowtest::QtTest::SetUp();
    ResetAppState();
    ResetViewState();
    SetDefaultPalette(0);
    RebuildPenTable();
    g_shrinkRate = g_moveRate = 2.0;
    g_joinTolerance = 0.01;
    g_dimTextSlider = 5;
  }
  void TearDown() override { ResetAppState(); }

  // Opens the dialog on the desktop, checks that every control with an id
  // has its widget, and hands the window to `use`.
  void Open(platform::Dialog& dialog, const std::function<void(QDialog*)>& use = {}) {
    ASSERT_TRUE(dialog.CreateModeless());
    QDialog* w = platform::qt::DialogWindow(dialog);
    ASSERT_NE(w, nullptr);
    SettleQt();
    testsupport::ExpectWidgetForEveryControl(dialog, w);
    if (use) use(w);
    if (dialog.IsOpen()) dialog.DestroyWindow();
  }

  void Picture(QDialog* w, const char* name) {
    const QPixmap picture = w->grab();
    EXPECT_GT(picture.width(), 100);
    testsupport::SavePicture(picture, name);
  }
};

TEST_F(DialogsQtTest, EveryDialogIsBuiltOnTheDesktop) {
  std::unique_ptr<platform::Dialog> dialogs[] = {
      std::make_unique<CValueInputDlg>(),   std::make_unique<CPointPickDlg>(),      std::make_unique<CLineWidthDlg>(),
      std::make_unique<CLineTypePickDlg>(), std::make_unique<CResolutionPickDlg>(), std::make_unique<CPointInputDlg>(),
      std::make_unique<CSlopeAngleDlg>(),   std::make_unique<CWorkSettingsDlg>(),   std::make_unique<CLoginDlg>(),
  };
  for (auto& dialog : dialogs) Open(*dialog);
}

// The value dialog carries the command's question in its title: the window
// is wide enough to show it whole, not only the width of its few controls.
TEST_F(DialogsQtTest, TheValueDialogShowsItsWholeTitle) {
  g_inputTitle = platform::Sjis("[円弧 : (12.500000 -37.250000)角度図形] : 接線角度を入力して下さい...");
  g_valueLabel = platform::Sjis("［Ａ］＝ ");
  CValueInputDlg dialog;
  Open(dialog, [this](QDialog* w) {
    EXPECT_GE(w->width(), QFontMetrics(w->font()).horizontalAdvance(w->windowTitle()));
    Picture(w, "kelto_dorn_value_prompt.png");
  });
}

TEST_F(DialogsQtTest, ViewSettingsOnTheDesktop) {
  CViewSettingsDlg dialog;
  Open(dialog, [&](QDialog* w) {
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("\t 各 種 設 定"));
    auto* shrink = qobject_cast<QLineEdit*>(ControlWidget(w, 1008));
    ASSERT_NE(shrink, nullptr);
    shrink->setFocus();
    shrink->selectAll();
    QTest::keyClicks(shrink, "4");
    auto* dashed = qobject_cast<QAbstractButton*>(ControlWidget(w, 1466));
    ASSERT_NE(dashed, nullptr);
    dashed->click();  // a switch commits the field first
    SettleQt();
    EXPECT_EQ(g_shrinkRate, 4.0);
    EXPECT_EQ(g_showDashed, 1);
    Picture(w, "kelto_dorn_view_settings.png");
  });
}

TEST_F(DialogsQtTest, PaletteOnTheDesktop) {
  PaletteColors[5] = 0x00336699;
  CColorPaletteDlg dialog;
  Open(dialog, [&](QDialog* w) {
    Picture(w, "kelto_dorn_colour_palette.png");
    QTest::mouseClick(ControlWidget(w, PaletteButtonId(5)), Qt::LeftButton);
    SettleQt();
    EXPECT_TRUE(dialog.HasEnded());
    EXPECT_EQ(dialog.EndCode(), 5);
  });
}

}  // namespace
}  // namespace dorn::test
