// The contour dialogs and the layer choice built by the desktop backend on
// the off-screen platform: each control has its widget, a click on a widget
// reaches the dialog, and a picture of each is kept in the build folder
// (looked at, not compared).
#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <functional>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/drawing/contour_dialogs.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "kelto_dorn/drawing/taper_contour_dialog.h"
#include "platform/qt/qt_dialog_host.h"
#include "tests/platform/window/qt_test_support.h"
#include "tests/support/dialog_picture_qt.h"
#include "tests/support/test_support.h"

namespace dorn::test {
namespace {

using testsupport::ControlWidget;
using testsupport::SettleQt;

class OperationDialogsQtTest : public windowtest::QtTest {
 protected:
  void SetUp() override {
    windowtest::QtTest::SetUp();
    ResetAppState();
    ResetDrawingState();
    SetDefaultPalette(0);
    RebuildPenTable();
    g_figureStore.Start();
  }
  void TearDown() override { ResetAppState(); }

  void Open(platform::Dialog& dialog, const char* picture, const std::function<void(QDialog*)>& use) {
    ASSERT_TRUE(dialog.CreateModeless());
    QDialog* w = platform::qt::DialogWindow(dialog);
    ASSERT_NE(w, nullptr);
    SettleQt();
    testsupport::ExpectWidgetForEveryControl(dialog, w);
    use(w);
    SettleQt();
    const QPixmap image = w->grab();
    EXPECT_GT(image.width(), 100);
    testsupport::SavePicture(image, picture);
    if (dialog.IsOpen()) dialog.DestroyWindow();
  }
};

TEST_F(OperationDialogsQtTest, TheRectangleDialogTakesItsCornerModeFromAClick) {
  g_contourValues.size = 100;
  g_contourValues.height = 50;
  g_contourValues.corner = 10;
  CRectContourDlg dialog;
  Open(dialog, "idd318_rect_contour.png", [&](QDialog* w) {
    qobject_cast<QAbstractButton*>(ControlWidget(w, kCornerReliefRadio))->click();
    SettleQt();
    EXPECT_EQ(g_contourValues.cornerMode, kCornerRelief);
    EXPECT_NEAR(g_contourValues.reliefX, 10 * (1 - 1 / std::sqrt(2.0)), 1e-12);
    EXPECT_EQ(dialog.GetCheck(kCornerReliefRadio), 1);
  });
}

TEST_F(OperationDialogsQtTest, ThePolygonDialogShowsItsValues) {
  g_contourValues.size = 20;
  g_contourValues.corners = 6;
  CPolygonContourDlg dialog;
  Open(dialog, "idd319_polygon_contour.png", [&](QDialog* w) {
    auto* corners = qobject_cast<QLineEdit*>(ControlWidget(w, kContourEdit1031));
    ASSERT_NE(corners, nullptr);
    EXPECT_EQ(corners->text().trimmed(), QStringLiteral("6"));
    qobject_cast<QAbstractButton*>(ControlWidget(w, kPolygonCircumscribedRadio))->click();
    SettleQt();
    EXPECT_EQ(g_contourValues.sizeStyle, kPolygonCircumscribed);
  });
}

TEST_F(OperationDialogsQtTest, TheLayerChoiceColoursUsedLayersAndEndsOnAClick) {
  g_curLayer = 0;
  g_figureTableSelector = 3;
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindLine;
  AppendFigure(0);
  CLayerSplitDlg dialog;
  Open(dialog, "idd172_layer_split.png", [&](QDialog* w) {
    EXPECT_FALSE(ControlWidget(w, kFirstLayerButton)->isEnabled());
    QTest::mouseClick(ControlWidget(w, kFirstLayerButton + 3), Qt::LeftButton);
    SettleQt();
    EXPECT_EQ(dialog.EndCode(), kLayerChosenBase + 3);
  });
}

TEST_F(OperationDialogsQtTest, TheTaperDialogSwitchesItsReferenceFace) {
  g_curCurveRecord = CurveRecord{};
  g_curCurveRecord.endZ = -10;
  CTaperContourDlg dialog(3, 0, true);
  Open(dialog, "idd320_taper_contour.png", [&](QDialog* w) {
    qobject_cast<QAbstractButton*>(ControlWidget(w, kTaperBottomRadio))->click();
    SettleQt();
    EXPECT_EQ(g_curCurveRecord.zFlag, 1);
    EXPECT_EQ(dialog.GetCheck(kTaperBottomRadio), 1);
  });
}

}  // namespace
}  // namespace dorn::test
