// The figure commands driven as a user drives them: a bar button, the value
// and point dialogs answered, clicks at drawing points, right clicks; then
// what the figure table, the undo files, the title and the buttons show.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kLine2Points = 32837, kCircleRC = 32852, kCircleR2P = 32853, kPolyline = 32843;
constexpr int kMove = 32873, kOffset = 32876, kDelete = 32824, kClipConnect = 32826, kChamfer = 33107;
constexpr int kContinuous = 32775, kUndo = 33076, kMouse = 1002;

// One pixel of the test view in mm: clicked points are as exact as that.
double Pixel() { return 1.0 / g_view.m_unitsPerMm; }

void ExpectNear(Vec2 got, Vec2 want, double tolerance) {
  EXPECT_NEAR(got.x, want.x, tolerance);
  EXPECT_NEAR(got.y, want.y, tolerance);
}

class FigureCommandTest : public FigureScriptTest {
 protected:
  // A point dialog with the count field typed before the point.
  void AnswerPointWithCount(int count, double x, double y) {
    backend().WhenDialogOpens(161, [=](platform::headless::DialogDriver& d) {
      d.Focus(1477);
      d.Type(1477, std::to_string(count));
      d.PressEnter();
      d.Focus(1015);
      d.Type(1015, std::to_string(x));
      d.PressEnter();
      d.Type(1016, std::to_string(y));
      d.PressEnter();
    });
  }
  void AnswerValueWithCount(int count, const std::string& value) {
    backend().WhenDialogOpens(158, [=](platform::headless::DialogDriver& d) {
      d.Focus(1029);
      d.Type(1029, std::to_string(count));
      d.PressEnter();
      d.Focus(1008);
      d.Type(1008, value);
      d.PressEnter();
    });
  }
  // Picks the figure under (x, y) and confirms it with a click on empty space.
  void PickAndConfirm(double x, double y) {
    ClickAt(x, y);
    ClickAt(-150, -120);
  }
};

TEST_F(FigureCommandTest, ATypedLineIsStoredReleasedAndUndone) {
  AnswerPoint(10, 20);
  AnswerPoint(30, 45);
  Start(kLine2Points);
  ASSERT_EQ(FigureCount(), fixtureFigures + 1);
  const FigureRecord line = Figures(fixtureFigures)[0];
  EXPECT_EQ(line.kind, kKindLine);
  ExpectNear(line.start, {10, 20}, 1e-9);
  ExpectNear(line.end, {30, 45}, 1e-9);
  EXPECT_EQ(Dialogs(), (std::vector<int>{161, 161}));
  EXPECT_FALSE(Pressed(kLine2Points));
  EXPECT_EQ(TitleUtf8(), "Kelto_Dorn  ");
  ASSERT_TRUE(frame().Invoke(kUndo));
  EXPECT_EQ(FigureCount(), fixtureFigures);
}

TEST_F(FigureCommandTest, AClickedLineShowsItsPromptsAndFollowsTheMouse) {
  AnswerPointButton(kMouse);
  Start(kLine2Points);
  EXPECT_TRUE(Pressed(kLine2Points));
  EXPECT_NE(TitleUtf8().find("ポイントをマウスで指定して下さい"), std::string::npos);
  EXPECT_NE(TitleUtf8().find("［左 : 選択］［右 : 取消］"), std::string::npos);
  ClickAt(-100, -80);
  EXPECT_EQ(g_rubberBandKind, kBandLineFromPoint);
  MoveTo(-90, -70);
  EXPECT_TRUE(g_figureView.bandDrawn);
  ClickAt(-40, -80);
  EXPECT_EQ(g_rubberBandKind, kBandNone);
  ASSERT_EQ(FigureCount(), fixtureFigures + 1);
  const FigureRecord line = Figures(fixtureFigures)[0];
  ExpectNear(line.start, {-100, -80}, Pixel());
  ExpectNear(line.end, {-40, -80}, Pixel());
  EXPECT_FALSE(Pressed(kLine2Points));
  EXPECT_EQ(Dialogs(), (std::vector<int>{161}));
}

TEST_F(FigureCommandTest, ACircleByRadiusAndClickedCentre) {
  AnswerValue("5");
  AnswerPointButton(kMouse);
  Start(kCircleRC);
  EXPECT_EQ(g_rubberBandKind, kBandCircleAtCursor);
  MoveTo(-80, -60);
  MoveTo(-70, -60);
  ClickAt(-100, -80);
  EXPECT_EQ(g_rubberBandKind, kBandNone);
  ASSERT_EQ(FigureCount(), fixtureFigures + 1);
  const FigureRecord c = Figures(fixtureFigures)[0];
  EXPECT_EQ(c.kind, kKindArc);
  EXPECT_DOUBLE_EQ(c.radius, 5.0);
  ExpectNear(c.centre, {-100, -80}, Pixel());
  ExpectNear(c.start, {c.centre.x + 5, c.centre.y}, 1e-9);
}

// The ellipse takes its five inputs in order; a radius B of 0 (the preset)
// and a step that gives no points are asked again. Its points start at the
// centre plus A along the slope, and the curve through them follows.
TEST_F(FigureCommandTest, EllipseAsksFiveValuesAndRefusesAFlatOneOrNoPoints) {
  for (const char* value : {"20", "0", "10"}) AnswerValue(value);
  AnswerPoint(5, -3);
  for (const char* value : {"30", "-1", "9"}) AnswerValue(value);
  Start(32795);
  EXPECT_EQ(Dialogs(), (std::vector<int>{158, 158, 158, 161, 158, 158, 158}));
  const std::vector<FigureRecord> added = Figures(fixtureFigures);
  ASSERT_GT(added.size(), 41u);
  const double k = 0.017453292519943295;
  EXPECT_EQ(added[0].kind, kKindCurvePointAngle);
  ExpectNear(added[0].start, {5 + 20 * std::cos(30 * k), -3 + 20 * std::sin(30 * k)}, 1e-9);
  EXPECT_EQ(added[40].kind, kKindCurvePointAngle);
  ExpectNear(added[40].start, added[0].start, 1e-9);
  for (std::size_t i = 41; i < added.size(); ++i)
    EXPECT_TRUE(added[i].kind == kKindLine || added[i].kind == kKindArc) << i;
  EXPECT_FALSE(Pressed(32795));
}

TEST_F(FigureCommandTest, CancellingTheFirstDialogChangesNothing) {
  CancelNextDialog(161);
  Start(kLine2Points);
  EXPECT_EQ(FigureCount(), fixtureFigures);
  EXPECT_FALSE(Pressed(kLine2Points));
  EXPECT_EQ(g_pickState, 0);
  EXPECT_EQ(TitleUtf8(), "Kelto_Dorn  ");
}

TEST_F(FigureCommandTest, ASecondCommandReleasesTheFirst) {
  AnswerPointButton(kMouse);
  Start(kLine2Points);
  ASSERT_TRUE(Pressed(kLine2Points));
  AnswerValue("5");
  AnswerPointButton(kMouse);
  Start(kCircleRC);
  EXPECT_FALSE(Pressed(kLine2Points));
  EXPECT_TRUE(Pressed(kCircleRC));
}

TEST_F(FigureCommandTest, ContinuousModeStartsAgainWithEmptyInput) {
  ASSERT_TRUE(frame().Invoke(kContinuous));
  ASSERT_EQ(g_continuousMode & 1, 1);
  AnswerPoint(1, 2);
  AnswerPoint(3, 4);
  AnswerPoint(5, 6);
  AnswerPoint(7, 8);
  // The fifth dialog has no answer: it is cancelled and the restarts stop.
  Start(kLine2Points);
  ASSERT_EQ(FigureCount(), fixtureFigures + 2);
  ExpectNear(Figures(fixtureFigures)[1].start, {5, 6}, 1e-9);
  EXPECT_EQ(Dialogs().size(), 5u);
  EXPECT_EQ(g_figureView.depth, 0);
  EXPECT_FALSE(Pressed(kLine2Points));
}

TEST_F(FigureCommandTest, RadiusAndTwoPointsOffersTwoCirclesOrNone) {
  AnswerValue("5");
  AnswerPoint(-100, -100);
  AnswerPoint(-92, -100);
  Start(kCircleR2P);
  EXPECT_EQ(g_pickState, 7);
  const FigureRecord a = *g_figureStore.SegmentBlock(6), b = *g_figureStore.SegmentBlock(7);
  ExpectNear(a.centre, {-96, -97}, 1e-9);
  ExpectNear(b.centre, {-96, -103}, 1e-9);
  EXPECT_DOUBLE_EQ(a.radius, 5.0);
  EXPECT_DOUBLE_EQ(b.radius, -5.0);
  // The first arc is chosen by a click on it: it alone is stored.
  ClickAt(-96, -102);
  ASSERT_EQ(FigureCount(), fixtureFigures + 1);
  ExpectNear(Figures(fixtureFigures)[0].centre, {-96, -97}, 1e-9);

  AnswerValue("5");
  AnswerPoint(-100, -100);
  AnswerPoint(-89, -100);
  Start(kCircleR2P);
  EXPECT_EQ(FigureCount(), fixtureFigures + 1);
  EXPECT_EQ(g_pickState, 0);
}

TEST_F(FigureCommandTest, AParallelMoveMakesCopiesAtMultiples) {
  AnswerPointWithCount(3, 10, 0);
  Start(kMove);
  PickAndConfirm(50, 0);
  ASSERT_EQ(FigureCount(), fixtureFigures + 3);
  const auto copies = Figures(fixtureFigures);
  for (int k = 0; k < 3; ++k) {
    ExpectNear(copies[static_cast<std::size_t>(k)].start, {10.0 * (k + 1), 0}, 1e-9);
    ExpectNear(copies[static_cast<std::size_t>(k)].end, {100 + 10.0 * (k + 1), 0}, 1e-9);
  }
  ExpectNear(Figures()[0].start, {0, 0}, 1e-9);  // the original stays
}

TEST_F(FigureCommandTest, AnOffsetOfOneFigureOffersBothSidesAndACountMakesCopies) {
  AnswerValue("5");
  Start(kOffset);
  PickAndConfirm(50, 0);
  EXPECT_EQ(g_pickState, 7);
  EXPECT_EQ(g_drawingView.m_workPickMode, kWorkPickTwoFigures);
  EXPECT_NEAR(g_figureStore.SegmentBlock(7)->start.y, 5.0, 1e-9);
  EXPECT_NEAR(g_figureStore.SegmentBlock(6)->start.y, -5.0, 1e-9);
  Escape();

  AnswerValueWithCount(2, "5");
  Start(kOffset);
  PickAndConfirm(50, 0);
  ASSERT_EQ(FigureCount(), fixtureFigures + 2);
  EXPECT_NEAR(Figures(fixtureFigures)[0].start.y, 5.0, 1e-9);
  EXPECT_NEAR(Figures(fixtureFigures)[1].start.y, 10.0, 1e-9);
}

TEST_F(FigureCommandTest, APolylineClosesByTheDialogAndStopsAt480Points) {
  AnswerPoint(-100, -100);
  AnswerPoint(-90, -100);
  AnswerPoint(-90, -90);
  backend().WhenDialogOpens(161, [](platform::headless::DialogDriver& d) {
    d.Type(1015, "");
    d.Click(1178);
  });
  Start(kPolyline);
  ASSERT_EQ(FigureCount(), fixtureFigures + 3);
  const auto lines = Figures(fixtureFigures);
  ExpectNear(lines[2].start, {-90, -90}, 1e-9);
  ExpectNear(lines[2].end, {-100, -100}, 1e-9);

  const int before = FigureCount();
  for (int i = 0; i < 481; ++i) AnswerPoint(i, -200 + (i % 2));
  Start(kPolyline);
  EXPECT_EQ(FigureCount(), before + 479);
  EXPECT_EQ(g_pickState, 0);
}

TEST_F(FigureCommandTest, ClipConnectOfThreeLines) {
  AddLine({-100, 10}, {-50, 10});
  AddLine({-60, 0}, {-60, 50});
  AddLine({-70, 40}, {-40, 40});
  Start(kClipConnect);
  ClickAt(-90, 10);
  EXPECT_EQ(g_pickState, 350);
  ClickAt(-60, 25);
  ClickAt(-45, 40);
  const auto f = Figures(fixtureFigures);
  ASSERT_EQ(f.size(), 3u);
  ExpectNear(f[0].end, {-60, 10}, 1e-9);
  ExpectNear(f[1].start, {-60, 10}, 1e-9);
  ExpectNear(f[1].end, {-60, 40}, 1e-9);
  ExpectNear(f[2].start, {-60, 40}, 1e-9);
  ExpectNear(f[2].end, {-40, 40}, 1e-9);
}

TEST_F(FigureCommandTest, DeleteRepeatsUntilCancelled) {
  AddLine({-100, 10}, {-50, 10});
  AddLine({-100, 30}, {-50, 30});
  Start(kDelete);
  ClickAt(-80, 10);
  EXPECT_EQ(FigureCount(), fixtureFigures + 1);
  EXPECT_EQ(g_pickState, 33);
  ClickAt(-80, 30);
  EXPECT_EQ(FigureCount(), fixtureFigures);
  EXPECT_TRUE(Pressed(kDelete));
  RightClickAt(-150, -120);
  EXPECT_FALSE(Pressed(kDelete));
}

TEST_F(FigureCommandTest, AChamferCutsTheCorner) {
  AddLine({-100, -100}, {-90, -100});
  AddLine({-90, -100}, {-90, -90});
  AnswerValue("2");
  Start(kChamfer);
  PickAndConfirm(-95, -100);
  PickAndConfirm(-90, -95);
  const auto f = Figures(fixtureFigures);
  ASSERT_EQ(f.size(), 3u);
  ExpectNear(f[0].end, {-92, -100}, 1e-9);
  ExpectNear(f[1].start, {-90, -98}, 1e-9);
  ExpectNear(f[2].start, {-92, -100}, 1e-9);
  ExpectNear(f[2].end, {-90, -98}, 1e-9);
}

TEST_F(FigureCommandTest, AChamferOfFiguresThatDoNotMeetBuildsNothing) {
  AddLine({-100, -100}, {-90, -100});
  AddLine({-80, -100}, {-80, -90});
  AnswerValue("2");
  Start(kChamfer);
  PickAndConfirm(-95, -100);
  PickAndConfirm(-80, -95);
  EXPECT_EQ(FigureCount(), fixtureFigures + 2);
  ASSERT_FALSE(backend().MessageBoxes().empty());
  EXPECT_NE(ShownTexts().back().find("面取り"), std::string::npos);
}

TEST_F(FigureCommandTest, ACompletedBoxKeepsItsCentreAndOutlineInDrawingCoordinates) {
  struct Case {
    const char* name;
    double tilt;  // the first tilt angle, degrees
  };
  for (const Case& c : {Case{"rectangle", 0.0}, Case{"tilted by 30 degrees", 30.0}}) {
    SCOPED_TRACE(c.name);
    g_view.m_tiltAngle1 = c.tilt;
    Start(33101);
    ClickAt(-40, -10);
    ClickAt(60, 40);
    const FigureEngineView& v = g_figureView;
    const double pixel = 1.0 / g_view.m_unitsPerMm;
    EXPECT_NEAR(v.boxCentre.x, 10, pixel);
    EXPECT_NEAR(v.boxCentre.y, 15, pixel);
    EXPECT_NEAR(v.boxOutline[0].x, -40, pixel);
    EXPECT_NEAR(v.boxOutline[0].y, -10, pixel);
    EXPECT_NEAR(v.boxOutline[2].x, 60, pixel);
    EXPECT_NEAR(v.boxOutline[2].y, 40, pixel);
    EXPECT_EQ(v.boxOutline[4], v.boxOutline[0]);
    // The edge from the first corner leans by the tilt (screen y grows
    // downward, so the drawing's edge runs down to the right).
    const Vec2 edge{v.boxOutline[1].x - v.boxOutline[0].x, v.boxOutline[1].y - v.boxOutline[0].y};
    EXPECT_NEAR(std::atan2(-edge.y, edge.x) * 180 / 3.14159265358979, c.tilt, 0.5);
    Escape();
  }
  g_view.m_tiltAngle1 = 0;
}

TEST_F(FigureCommandTest, TheCurveClipConnectIsTheCurveJoin) {
  ASSERT_TRUE(g_commandEngines.executeFigureCommand);
  g_commandEngines.executeFigureCommand(32907);
  EXPECT_EQ(g_pickState, 32907);
  EXPECT_EQ(g_returnCommand, 32907);
  EXPECT_TRUE(ShownTexts().empty());
}

}  // namespace
}  // namespace dorn::test
