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
constexpr int kAutoConnect = 32905;

using CurveScriptTest = FigureScriptTest;

TEST_F(CurveScriptTest, AClickedHoleCircleIsRegisteredAsAHoleCurveByTheRightButton) {
  int dialogs = 0;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](platform::headless::DialogDriver& d) {
    ++dialogs;
    d.Click(kCurveRegisterButton);
  });
  Start(kHolePoints);
  EXPECT_EQ(g_pickState, 66);
  // The legend names what the right button does here: it ends the input
  // and registers the holes.
  EXPECT_NE(TitleUtf8().find("［右 : 終了］"), std::string::npos) << TitleUtf8();
  ClickAt(60, 30);  // on the circle
  EXPECT_EQ(g_pickState, 66) << "waits for the next hole";
  EXPECT_NE(TitleUtf8().find("［右 : 終了］"), std::string::npos) << TitleUtf8();
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
  EXPECT_FLOAT_EQ(c.values[6], 20.0f) << "the curve's hole diameter, which the hole definitions show";
  EXPECT_FALSE(Pressed(kHolePoints));
}

// Automatic connection: the first pick is confirmed by a click on empty
// space, and the prompt between asks for just that.
TEST_F(CurveScriptTest, AutomaticConnectionAsksToConfirmThePickedFigure) {
  backend().WhenDialogOpens(kCurveRegisterDialogId,
                            [](platform::headless::DialogDriver& d) { d.Click(kCurveRegisterButton); });
  Start(kAutoConnect);
  EXPECT_NE(TitleUtf8().find("先頭の図形をマウスでピックして下さい"), std::string::npos) << TitleUtf8();
  ClickAt(50, 0);  // on the line (0, 0)-(100, 0)
  EXPECT_NE(TitleUtf8().find("この図形で宜しいですか"), std::string::npos) << TitleUtf8();
  EXPECT_EQ(TitleUtf8().find("削除"), std::string::npos) << TitleUtf8();
  ClickAt(-150, -120);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curveTable[0].end - g_curveTable[0].first, 2) << "the two touching lines";
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
