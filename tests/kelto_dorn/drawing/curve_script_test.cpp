// Curve commands driven as a user drives them, through the whole program:
// the bar button, clicks on the drawing and the right button. The fixture
// drawing's layer 0 holds the lines (0, 0)-(100, 0) and (100, 0)-(100, 60)
// and the circle of radius 10 about (50, 30).
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kHolePoints = 32908;
constexpr int kCharacters = 33204;

using CurveScriptTest = FigureScriptTest;

TEST_F(CurveScriptTest, AClickedHoleCircleIsRegisteredAsAHoleCurveByTheRightButton) {
  int dialogs = 0;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](platform::headless::DialogDriver& d) {
    ++dialogs;
    d.Click(kCurveRegisterButton);
  });
  Start(kHolePoints);
  EXPECT_EQ(g_pickState, 66);
  ClickAt(60, 30);  // on the circle
  EXPECT_EQ(g_pickState, 66) << "waits for the next hole";
  RightClickAt(-150, -120);
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curveTable[0].kind, 1);
  const CurveRecord& c = g_curveTable[0];
  ASSERT_EQ(c.end - c.first, 1);
  const FigureRecord& hole = g_figureStore.Table(kTableCurves)->slot(c.first);
  EXPECT_EQ(hole.kind, kKindPointMark);
  EXPECT_NEAR(hole.start.x + hole.origin.x, 50.0, 1e-9);
  EXPECT_NEAR(hole.start.y + hole.origin.y, 30.0, 1e-9);
  EXPECT_NEAR(hole.radius, 10.0, 1e-9);
  EXPECT_FALSE(Pressed(kHolePoints));
}

TEST_F(CurveScriptTest, TheFiguresInAClickedBoxBecomeOneCurveOfCharacterFigures) {
  int dialogs = 0;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](platform::headless::DialogDriver& d) {
    ++dialogs;
    d.Click(kCurveRegisterButton);
  });
  Start(kCharacters);
  EXPECT_EQ(g_pickState, kCharacters);
  ClickAt(-10, -10);
  ClickAt(110, 70);
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(g_curveCount, 1);
  const CurveRecord& c = g_curveTable[0];
  EXPECT_EQ(c.kind, 1332);
  ASSERT_EQ(c.end - c.first, 3) << "the two touching lines and the circle";
  const FigureTable& t = *g_figureStore.Table(kTableCurves);
  EXPECT_EQ(t.slot(c.first).group, t.slot(c.first + 1).group) << "the lines are one stroke";
  EXPECT_NE(t.slot(c.first + 2).group, t.slot(c.first).group);
  EXPECT_FALSE(Pressed(kCharacters));
}

}  // namespace
}  // namespace dorn::test
