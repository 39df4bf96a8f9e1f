// The display settings dialogs and their number text.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_qup/shell/display_settings_dlg.h"
#include "kelto_qup/shell/number_text.h"
#include "platform/text.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

using Driver = platform::headless::DialogDriver;

TEST(NumberText, ExpressionsCombineFromLeftToRight) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"10*2.5", 25.0},
      {"2+3*4", 20.0},
      {"-5+10", 5.0},
      {"10/4", 2.5},
      {"7 8", 7.0},
      {"3,4", 3.0},
      {"10R5", 10.0},
      {"90A45+1", 91.0},
      {"1/0", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"2*", std::nullopt},
      {"1e308*10", std::nullopt},
  };
  for (const Case& k : cases) EXPECT_EQ(EvaluateExpression(k.text), k.value) << k.text;
}

TEST(NumberText, FixedThreeKeepsOneDecimal) {
  EXPECT_EQ(FormatFixed3(25.0), "25.0");
  EXPECT_EQ(FormatFixed3(0.125), "0.125");
  EXPECT_EQ(FormatFixed3(1.5), "1.5");
  EXPECT_EQ(FormatFixed3(-2.0), "-2.0");
  EXPECT_EQ(FormatFixed3(0.0004), "0.0");
}

TEST_F(ShellTest, TheDisplaySettingsDialogEditsTheStepsAxesAndColourShift) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  bool checked = false;
  backend().WhenDialogOpens(CDisplaySettingsDlg::kTemplateId, [&](Driver& d) {
    platform::Dialog& dlg = d.dialog();
    EXPECT_FALSE(dlg.IsEnabled(CDisplaySettingsDlg::kIntervalEdit)) << "axis mode 0";
    d.Type(CDisplaySettingsDlg::kPanStepEdit, "10*2.5");
    EXPECT_EQ(dlg.GetCheck(CDisplaySettingsDlg::kPanStepLabel), 1) << "the field in focus ticks its label";
    d.PressEnter();
    EXPECT_EQ(dlg.GetText(CDisplaySettingsDlg::kPanStepEdit), "25.0");
    EXPECT_FALSE(dlg.HasEnded()) << "Enter never closes the dialog";
    d.Type(CDisplaySettingsDlg::kZoomStepEdit, "1/0");
    d.PressEnter();
    EXPECT_EQ(dlg.GetText(CDisplaySettingsDlg::kZoomStepEdit), "20.0") << "no finite result keeps the value";
    d.Click(CDisplaySettingsDlg::kAxisBox);
    EXPECT_TRUE(dlg.IsEnabled(CDisplaySettingsDlg::kIntervalEdit));
    d.Type(CDisplaySettingsDlg::kIntervalEdit, "12.5");
    d.Click(CDisplaySettingsDlg::kAxisOff);
    EXPECT_FALSE(dlg.IsEnabled(CDisplaySettingsDlg::kPlaneEdit));
    d.Click(CDisplaySettingsDlg::kAxisBox);
    d.Scroll(CDisplaySettingsDlg::kColourSlider, 31);
    d.Click(CDisplaySettingsDlg::kRegister);
    checked = true;
  });
  const int beeps = backend().BeepCount();
  ASSERT_TRUE(frame().Invoke(32792));
  ASSERT_TRUE(checked);
  EXPECT_EQ(c.app.panes.cgm.panStep, 25.0);
  EXPECT_EQ(c.app.panes.cgm.zoomStep, 20.0);
  EXPECT_EQ(c.app.panes.AxisMode(), 2);
  EXPECT_EQ(c.app.panes.Graphic().axisInterval, 12.5) << "committed when the field lost the focus";
  EXPECT_EQ(c.app.panes.colorOffset, 31);
  EXPECT_EQ(backend().BeepCount(), beeps + 1);
  EXPECT_TRUE(c.view->IsIdle()) << "the run state is back after the dialog";

  backend().WhenDialogOpens(CDisplaySettingsDlg::kTemplateId, [&](Driver& d) {
    d.Click(CDisplaySettingsDlg::kDefaults);
    d.Click(CDisplaySettingsDlg::kRegister);
  });
  ASSERT_TRUE(frame().Invoke(32792));
  EXPECT_EQ(c.app.panes.cgm.panStep, 25.0);
  EXPECT_EQ(c.app.panes.AxisMode(), 0);
  EXPECT_EQ(c.app.panes.Graphic().axisInterval, 50.0);
  EXPECT_EQ(c.app.panes.colorOffset, 0);
}

TEST(View3DSettings, TheBrightnessDivisorNeverReachesZero) {
  EXPECT_EQ(CView3DSettingsDlg::DivisorOfPosition(10), 255);
  EXPECT_EQ(CView3DSettingsDlg::DivisorOfPosition(1), 484);
  EXPECT_EQ(CView3DSettingsDlg::DivisorOfPosition(20), 1) << "510 - 25.5 x 20 would be 0, later divided by";
  EXPECT_EQ(CView3DSettingsDlg::PositionOfDivisor(255), 10);
}

TEST_F(ShellTest, TheView3DDialogTakesItsValuesFromTheSliders) {
  View3DSettings settings;
  settings.viewAngle = 40.0;
  backend().WhenDialogOpens(CView3DSettingsDlg::kTemplateId, [](Driver& d) {
    EXPECT_EQ(d.dialog().GetPos(CView3DSettingsDlg::kAngleSlider), 40);
    EXPECT_EQ(d.dialog().GetPos(CView3DSettingsDlg::kBrightnessSlider), 10);
    d.Scroll(CView3DSettingsDlg::kBrightnessSlider, 20);
    d.Scroll(CView3DSettingsDlg::kLightSlider, 80);
    d.PressEnter();
  });
  CView3DSettingsDlg dialog(settings);
  EXPECT_EQ(dialog.DoModal(), platform::kIdOk);
  EXPECT_EQ(settings.brightnessDivisor, 1);
  EXPECT_DOUBLE_EQ(settings.lightIntensity, 0.8);
  EXPECT_EQ(settings.viewAngle, 40.0);
}

}  // namespace
}  // namespace qup::shell::test
