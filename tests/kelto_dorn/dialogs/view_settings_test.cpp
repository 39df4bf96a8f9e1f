// The view settings: lower bounds, the grid pitch of every layer, switches,
// the colour buttons through the palette, the slider, and the close.
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/view_settings_dialog.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/dialogs/dialogs_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;
using platform::headless::DialogDriver;

constexpr int kShrink = 1008, kMove = 1029, kGrid = 1030, kJoin = 1031, kSlow = 1347, kShrinkLabel = 1269;
constexpr int kIpShown = 1148, kIpHidden = 1149, kDashed = 1466, kDxf = 1400, kNfs = 1451, kNcData = 1453;
constexpr int kSlider = 1471, kFigureColour = 1000, kBackground = 1005;

class ViewSettingsTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    g_shrinkRate = 2.0;
    g_moveRate = 2.0;
    g_joinTolerance = 0.01;
    g_dimTextSlider = 7;
    for (auto& v : g_layerViews) v.gridPitch = 10.0;
    g_layerGridPitch.fill(10.0);
  }
};

TEST_F(ViewSettingsTest, CommittedValuesKeepTheirLowerBounds) {
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Type(kShrink, "0");
  d->Type(kJoin, "0.0001");  // commits the shrink rate
  d->Type(kMove, "-5");      // commits the join tolerance
  d->Focus(kSlow);
  EXPECT_EQ(dialog.GetText(kShrink), "1.0");
  EXPECT_EQ(dialog.GetText(kJoin), "0.001");
  EXPECT_EQ(dialog.GetText(kMove), "1.0");
  EXPECT_EQ(g_shrinkRate, 1.0);
  EXPECT_EQ(g_joinTolerance, 0.001);
  d->Type(kSlow, "120.9");
  d->PressEscape();
  EXPECT_EQ(dialog.EndCode(), platform::kIdCancel);  // closing commits the pending field
  EXPECT_EQ(g_drawingHeader.slowFeed, 120);
}

TEST_F(ViewSettingsTest, ATypedGridPitchGoesToEveryLayer) {
  g_curLayer = 3;
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.GetText(kGrid), "10.0");
  d->Type(kGrid, "2.5");
  d->PressEnter();  // Enter commits and moves on
  for (int l = 0; l < kLayerCount; ++l) {
    EXPECT_EQ(g_layerGridPitch[l], 2.5) << l;
    EXPECT_EQ(g_layerViews[l].gridPitch, 2.5) << l;
  }
  EXPECT_FALSE(dialog.HasEnded());
}

TEST_F(ViewSettingsTest, TheLabelButtonShowsWhichEditHasTheFocus) {
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Focus(kShrink);
  EXPECT_EQ(dialog.GetCheck(kShrinkLabel), 1);
  d->Focus(kMove);
  EXPECT_EQ(dialog.GetCheck(kShrinkLabel), 0);
  EXPECT_EQ(dialog.GetCheck(1270), 1);
}

TEST_F(ViewSettingsTest, SwitchesToggleTheirSettings) {
  g_drawingHeader.ncDisplayFlags = 0;
  g_showIpPoint = 1.0;
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.GetCheck(kNcData), 1);  // ticked: the NC block list is shown
  EXPECT_EQ(dialog.GetCheck(kIpShown), 1);
  d->Click(kNcData);
  EXPECT_EQ(g_drawingHeader.ncDisplayFlags, 0x8000);
  EXPECT_EQ(dialog.GetCheck(kNcData), 0);
  d->Click(kNfs);
  EXPECT_EQ(g_drawingHeader.nfsSwitch, 15);
  d->Click(kNfs);
  EXPECT_EQ(g_drawingHeader.nfsSwitch, 0);
  g_dxfCompound = 6;
  d->Click(kDxf);
  EXPECT_EQ(g_dxfCompound, 7);
  d->Click(kDashed);
  EXPECT_EQ(g_showDashed, 1);
  d->Type(kShrink, "3");
  d->Click(kIpHidden);  // a switch commits the pending edit first
  EXPECT_EQ(g_showIpPoint, 0.0);
  EXPECT_EQ(g_shrinkRate, 3.0);
}

TEST_F(ViewSettingsTest, TheSliderIsCorrectedOnOpeningAndKeptAcrossCommits) {
  g_dimTextSlider = 25;
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  EXPECT_EQ(dialog.GetPos(kSlider), 5);
  EXPECT_EQ(dialog.Control(kSlider)->ticks, std::vector<int>{19});
  d->Scroll(kSlider, 12);
  d->Click(kDashed);  // a commit fills the controls again
  EXPECT_EQ(dialog.GetPos(kSlider), 12);
  d->PressEscape();
  EXPECT_EQ(g_dimTextSlider, 12);
  EXPECT_EQ(dialog.Title(), "\t" + Sjis(" 各 種 設 定"));
}

TEST_F(ViewSettingsTest, ColourButtonsStoreThePaletteChoice) {
  g_lineType = 0x2000;
  g_backgroundIndex = 0;
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.Click(PaletteButtonId(9)); });
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.Click(PaletteButtonId(4)); });
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.PressEscape(); });
  CViewSettingsDlg dialog;
  OpenDialog d(dialog);
  d->Click(kBackground);
  EXPECT_EQ(g_backgroundIndex, 9);
  EXPECT_EQ(dialog.Control(kBackground)->image, ColourSwatch(9));
  d->Click(kFigureColour);
  EXPECT_EQ(g_figureStyle, 4 | 0x2000);  // the line type of new figures stays
  d->Click(kBackground);                 // closed without a choice
  EXPECT_EQ(g_backgroundIndex, 9);
}

}  // namespace
}  // namespace dorn::test
