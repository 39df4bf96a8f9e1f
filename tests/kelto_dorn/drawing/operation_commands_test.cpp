// The commands that run on the figure operations, driven as a user drives
// them: the bar button, the dialogs answered, the BOX corners clicked. The
// fixture drawing's layer 0 holds the lines (0, 0)-(100, 0) and
// (100, 0)-(100, 60) and the circle of radius 10 about (50, 30).
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/drawing/contour_dialogs.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kBoxMove = 32878, kBoxDelete = 32879, kRectangle = 32842, kPolygon = 33140, kNewOrigin = 32828,
              kSplit = 32883;

void ExpectNear(Vec2 got, Vec2 want, double tolerance = 1e-9) {
  EXPECT_NEAR(got.x, want.x, tolerance);
  EXPECT_NEAR(got.y, want.y, tolerance);
}

using Driver = platform::headless::DialogDriver;

class OperationCommandTest : public FigureScriptTest {
 protected:
  // The BOX from (-10, -10) to (70, 45): the first line's start and the
  // circle's start point are inside, the second line is not.
  void ClickBox() {
    ClickAt(-10, -10);
    ClickAt(70, 45);
  }
  static void Type(Driver& d, int id, const char* text) {
    d.Focus(id);
    d.Type(id, text);
  }
};

TEST_F(OperationCommandTest, ABoxMoveShiftsWhatMeetsTheBoxAndIsUndone) {
  AnswerPoint(5, 7);
  Start(kBoxMove);
  ClickBox();
  const auto f = Figures();
  ASSERT_EQ(f.size(), static_cast<std::size_t>(fixtureFigures));
  ExpectNear(f[0].start, {5, 7});
  ExpectNear(f[0].end, {105, 7});
  ExpectNear(f[1].start, {100, 0});
  ExpectNear(f[2].centre, {55, 37});
  EXPECT_FALSE(Pressed(kBoxMove));
  Start(33076);  // undo
  ExpectNear(Figures()[0].start, {0, 0});
}

TEST_F(OperationCommandTest, ABoxDeleteShowsTheFiguresAndDeletesOnTheConfirmingClick) {
  Start(kBoxDelete);
  ClickAt(40, 15);
  ClickAt(65, 45);
  EXPECT_EQ(g_pickState, 9);
  EXPECT_EQ(FigureCount(), fixtureFigures);
  ClickAt(-150, -120);
  ASSERT_EQ(FigureCount(), fixtureFigures - 1);
  EXPECT_EQ(Figures()[0].kind, kKindLine);
  EXPECT_EQ(Figures()[1].kind, kKindLine);
}

TEST_F(OperationCommandTest, TheRectangleDialogStoresFourLinesFromItsUpperRightCorner) {
  backend().WhenDialogOpens(kRectContourDialogId, [](Driver& d) {
    Type(d, kContourSizeEdit, "100");
    Type(d, kContourEdit1029, "-50");  // sizes are taken as magnitudes
    d.Click(RectPositionRadio(3));
    d.Click(kContourRegisterButton);
  });
  Start(kRectangle);
  ASSERT_EQ(FigureCount(), fixtureFigures + 4);
  const auto f = Figures(fixtureFigures);
  const Vec2 corners[] = {{100, 50}, {0, 50}, {0, 0}, {100, 0}};
  for (int i = 0; i < 4; ++i) {
    ExpectNear(f[static_cast<std::size_t>(i)].start, corners[i]);
    ExpectNear(f[static_cast<std::size_t>(i)].end, corners[(i + 1) % 4]);
  }
  EXPECT_DOUBLE_EQ(g_contourValues.height, 50);
  // A cancelled dialog changes nothing and releases the button.
  backend().WhenDialogOpens(kRectContourDialogId, [](Driver& d) { d.Click(platform::kIdCancel); });
  Start(kRectangle);
  EXPECT_EQ(FigureCount(), fixtureFigures + 4);
  EXPECT_FALSE(Pressed(kRectangle));
}

TEST_F(OperationCommandTest, AHexagonByItsInscribedSizeWithItsCentreMark) {
  backend().WhenDialogOpens(kPolygonContourDialogId, [](Driver& d) {
    Type(d, kContourSizeEdit, "20");
    Type(d, kContourEdit1031, "6");
    d.Click(kPolygonInscribedRadio);
    d.Click(kContourRegisterButton);
  });
  Start(kPolygon);
  ASSERT_EQ(FigureCount(), fixtureFigures + 7);
  const auto f = Figures(fixtureFigures);
  const double r = 10 / std::cos(30 * M_PI / 180);
  ExpectNear(f[0].start, {r, 0});
  ExpectNear(f[0].end, {r * 0.5, r * std::sqrt(3.0) / 2});
  EXPECT_EQ(f[6].kind, kKindArc);
  EXPECT_DOUBLE_EQ(f[6].radius, 3);
}

TEST_F(OperationCommandTest, AClickedPointBecomesANewOriginOfTheLayer) {
  const int before = g_originCount[0];
  Start(kNewOrigin);
  ClickAt(30, 20);
  ASSERT_EQ(g_originCount[0], before + 1);
  const Vec2 o = g_originTable[0][static_cast<std::size_t>(before)];
  EXPECT_NEAR(o.x, 30, 1.0);
  EXPECT_NEAR(o.y, 20, 1.0);
  EXPECT_EQ(o.x, std::round(o.x * 1000) / 1000);
  EXPECT_EQ(g_curOriginIndex, before);
  // With a figure on it, it survives save and load (unused origins are
  // dropped when a drawing is saved).
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.end = {5, 0};
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  ASSERT_NE(g_pDocument, nullptr);
  ASSERT_TRUE(SaveDrawing(*g_pDocument));
  g_originCount[0] = before;
  g_originTable[0][static_cast<std::size_t>(before)] = {};
  LoadDrawing(*g_pDocument);
  ASSERT_EQ(g_originCount[0], before + 1);
  ExpectNear(g_originTable[0][static_cast<std::size_t>(before)], o);
}

TEST_F(OperationCommandTest, ALayerSplitMovesTheBoxsFiguresToTheChosenLayer) {
  backend().WhenDialogOpens(kLayerSplitDialogId, [](Driver& d) { d.Click(kFirstLayerButton + 5); });
  Start(kSplit);
  ClickBox();
  EXPECT_EQ(g_curLayer, 5);
  EXPECT_EQ(GetFigureCount(0), fixtureFigures - 2);
  ASSERT_EQ(GetFigureCount(5), 2);
  EXPECT_EQ(g_figureStore.Table(5)->slot(1).kind, kKindArc);
  EXPECT_EQ(g_figureStore.Table(5)->slot(0).layer, 5);
}

TEST_F(OperationCommandTest, AnOriginMovedOnTheScreenTakesItsFiguresAlong) {
  // An origin at (100, 0) holding the second line, which the BOX reattaches.
  g_originTable[0][1] = {100, 0};
  g_originCount[0] = 2;
  g_layerOriginIndex[0] = g_curOriginIndex = 1;
  {
    FigureRecord& second = g_figureStore.Table(0)->slot(1);
    second.start = {0, 0};
    second.end = {0, 60};
    second.origin = {100, 0};
  }
  Start(33169);
  EXPECT_EQ(g_pickState, 33169);
  ClickAt(100, 0);  // chooses the origin
  EXPECT_EQ(g_curOriginIndex, 1);
  ClickAt(120, 10);  // its new place
  const Vec2 o = g_originTable[0][1];
  EXPECT_NEAR(o.x, 120, 1.0);
  EXPECT_NEAR(o.y, 10, 1.0);
  const FigureRecord second = Figures()[1];
  ExpectNear(second.origin, o);
  ExpectNear(second.start, {0, 0});
  ExpectNear(Figures()[0].origin, {0, 0});  // the first line stays on origin 0
}

TEST_F(OperationCommandTest, CirclesOfOneDiameterInTheBoxAreDeletedAndRecoloured) {
  const auto addCircle = [](Vec2 c, double r) {
    FigureRecord f;
    f.kind = kKindArc;
    f.style = kNewFigureStyle;
    f.attribute = 3;
    f.centre = c;
    f.radius = r;
    f.start = f.end = {c.x + r, c.y};
    g_curFigure = f;
    g_figureTableSelector = 0;
    ASSERT_TRUE(AppendFigure(0));
  };
  addCircle({20, 20}, 10);
  addCircle({30, 20}, 5);
  addCircle({-60, 20}, 10);  // outside the box
  const int before = FigureCount();
  backend().WhenDialogOpens(kColorPaletteDialogId, [](Driver& d) { d.Click(PaletteButtonId(12)); });
  Start(33197);
  ClickAt(-5, -5);
  ClickAt(90, 55);
  ClickAt(60, 30);     // the fixture's circle of radius 10
  ClickAt(-150, -120);  // confirms it
  const auto f = Figures();
  EXPECT_EQ(f[2].attribute & kAttrColourMask, 12);   // (50, 30) r10
  EXPECT_EQ(f[4].attribute & kAttrColourMask, 3);    // r5 stays
  EXPECT_EQ(f[5].attribute & kAttrColourMask, 3);    // outside stays
  Start(33198);
  ClickAt(-5, -5);
  ClickAt(90, 55);
  ClickAt(60, 30);
  ClickAt(-150, -120);
  ASSERT_EQ(FigureCount(), before - 2);
  EXPECT_DOUBLE_EQ(Figures()[2].radius, 5);
  EXPECT_DOUBLE_EQ(Figures()[3].centre.x, -60);
}

TEST_F(OperationCommandTest, FiguresLikeAPickedOneAreDeletedTogether) {
  ASSERT_EQ(Figures()[0].attribute, Figures()[1].attribute);
  ASSERT_NE(Figures()[0].attribute, Figures()[2].attribute);
  Start(33079);
  ClickAt(50, 0);
  ClickAt(-150, -120);
  ASSERT_EQ(FigureCount(), fixtureFigures - 2);
  EXPECT_EQ(Figures()[0].kind, kKindArc);
}

}  // namespace
}  // namespace dorn::test
