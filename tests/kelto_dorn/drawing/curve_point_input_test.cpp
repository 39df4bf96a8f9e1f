// The point input of a curve through points (32821), driven as a user
// drives it: points typed or clicked, each tangent question answered or
// cancelled, the input ended by cancelling the point dialog. Points are
// placed away from the fixture drawing's figures near the origin.
#include <cmath>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

constexpr int kCurvePoints = 32821, kAddPoints = 33048, kUndo = 33076;
constexpr int kValueDialog = 158, kPointDialog = 161, kMouseButton = 1002;

using Driver = platform::headless::DialogDriver;

class CurvePointInputTest : public FigureScriptTest {
 protected:
  // Answers the point's dialog with (x, y) and its tangent question with
  // `tangent` (empty: cancelled).
  void TypePoint(double x, double y, const std::string& tangent = "") {
    AnswerPoint(x, y);
    if (tangent.empty()) {
      CancelNextDialog(kValueDialog);
    } else {
      AnswerValue(tangent);
    }
  }
  std::vector<FigureRecord> Added() const { return Figures(fixtureFigures); }
  static int CountKind(const std::vector<FigureRecord>& f, int lowByte) {
    int n = 0;
    for (const FigureRecord& r : f) n += (r.kind & 0xFF) == lowByte ? 1 : 0;
    return n;
  }
};

TEST_F(CurvePointInputTest, TypedPointsOnACircleGiveArcsOfItsRadiusUndoneAsOneStep) {
  TypePoint(-190, -100);
  TypePoint(-200, -90);
  TypePoint(-210, -100);
  CancelNextDialog(kPointDialog);  // ends the input
  Start(kCurvePoints);
  EXPECT_EQ(g_pickState, 0);
  EXPECT_FALSE(Pressed(kCurvePoints));
  const auto added = Added();
  ASSERT_EQ(added.size(), 5u);
  EXPECT_EQ(CountKind(added, 84), 3);  // the estimated tangents are kept
  std::set<int> numbers;
  for (const FigureRecord& f : added) numbers.insert(f.number);
  ASSERT_EQ(numbers.size(), 1u);
  EXPECT_NE(*numbers.begin(), 0) << "plain figures carry number 0";
  for (std::size_t i = 3; i < added.size(); ++i) {
    EXPECT_EQ(added[i].kind, kKindArc);
    EXPECT_NEAR(std::fabs(added[i].radius), 10.0, 1e-6);
    EXPECT_NEAR(added[i].centre.x, -200.0, 1e-6);
    EXPECT_NEAR(added[i].centre.y, -100.0, 1e-6);
  }
  EXPECT_NEAR(added[4].end.x, -210.0, 1e-9);
  Start(kUndo);
  EXPECT_EQ(FigureCount(), fixtureFigures);
}

TEST_F(CurvePointInputTest, TwoPointsBuildASpanOnlyWhenBothCarryATangent) {
  struct Case {
    const char* name;
    const char* tangent;
    std::size_t figures;
  };
  for (const Case& c : {Case{"no tangents: the points alone", "", 2u}, Case{"tangents 0: one line", "0", 3u}}) {
    SCOPED_TRACE(c.name);
    const int before = FigureCount();
    TypePoint(-200, -150, c.tangent);
    TypePoint(-180, -150, c.tangent);
    CancelNextDialog(kPointDialog);
    Start(kCurvePoints);
    const auto added = Figures(before);
    ASSERT_EQ(added.size(), c.figures);
    EXPECT_EQ(added[0].kind, *c.tangent ? kKindCurvePointAngle : kKindCurvePoint);
    if (c.figures == 3u) {
      EXPECT_EQ(added[2].kind, kKindLine);
      EXPECT_DOUBLE_EQ(added[2].start.x, -200.0);
      EXPECT_DOUBLE_EQ(added[2].end.x, -180.0);
    }
  }
}

TEST_F(CurvePointInputTest, ATangentTakenFromTheDrawingIsTheDirectionOfThePickedFigure) {
  constexpr int kFromDrawingButton = 1001;
  const auto fromDrawing = [](Driver& d) { d.Click(kFromDrawingButton); };
  struct Case {
    const char* name;
    Vec2 point;    // the curve point typed
    Vec2 pickAt;   // on a figure of the fixture drawing
    bool tangent;  // the point gets one
    double degrees;
  };
  const Case cases[] = {
      {"the line (100, 0)-(100, 60) runs up", {-200, 0}, {100, 30}, true, 90.0},
      {"the circle about (50, 30) at its top point runs to -X", {50, 40}, {60, 30}, true, 180.0},
      {"nothing picked but empty space", {-200, 0}, {-150, 150}, false, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = FigureCount();
    AnswerPoint(c.point.x, c.point.y);
    backend().WhenDialogOpens(kValueDialog, fromDrawing);
    Start(kCurvePoints);
    EXPECT_EQ(g_pickState, 3) << "waits for the figure";
    ASSERT_EQ(FigureCount(), before + 1) << "the point is kept while the figure is picked";
    // The next point follows the pick; its tangent is typed; then the end.
    TypePoint(-180, 0, "0");
    CancelNextDialog(kPointDialog);
    ClickAt(c.pickAt.x, c.pickAt.y);
    if (c.tangent) ClickAt(-150, 150);  // empty space confirms the pick
    if (!c.tangent) {
      // A click that picks nothing leaves the question open: give it up.
      RightClickAt(-150, 150);
      EXPECT_EQ(FigureCount(), before + 1);
      EXPECT_EQ(Figures(before)[0].kind, kKindCurvePoint);
      continue;
    }
    const auto added = Figures(before);
    ASSERT_GE(added.size(), 3u) << "two points and the span between them";
    EXPECT_EQ(added[0].kind, kKindCurvePointAngle);
    EXPECT_NEAR(added[0].radius, c.degrees, 1e-9);
    EXPECT_NEAR(added[0].dir.x, std::cos(c.degrees / 57.29577951308232), 1e-12);
    EXPECT_NEAR(added[0].dir.y, std::sin(c.degrees / 57.29577951308232), 1e-12);
    EXPECT_EQ(added[1].kind, kKindCurvePointAngle);
    EXPECT_DOUBLE_EQ(added[1].start.x, -180.0);
    // The span leaves the first point along the picked direction.
    const FigureRecord& span = added[2];
    EXPECT_NEAR(span.start.x, c.point.x, 1e-9);
    if (span.kind == kKindArc) {
      const Vec2 r{span.start.x - span.centre.x, span.start.y - span.centre.y};
      EXPECT_NEAR(r.x * added[0].dir.x + r.y * added[0].dir.y, 0.0, 1e-6) << "tangent at its start";
    }
  }
}

TEST_F(CurvePointInputTest, ClickedPointsAreNumberedOnAndTheCancelledFirstDialogChangesNothing) {
  CancelNextDialog(kPointDialog);
  Start(kCurvePoints);
  EXPECT_EQ(FigureCount(), fixtureFigures);
  EXPECT_FALSE(Pressed(kCurvePoints));

  std::vector<std::string> labels;
  const auto mouse = [&labels](Driver& d) {
    labels.push_back(g_pointLabelX);
    d.Click(kMouseButton);
  };
  for (int i = 0; i < 3; ++i) {
    backend().WhenDialogOpens(kPointDialog, mouse);
    CancelNextDialog(kValueDialog);
  }
  CancelNextDialog(kPointDialog);
  Start(kCurvePoints);
  EXPECT_TRUE(Pressed(kCurvePoints));
  ClickAt(-190, -100);
  ClickAt(-200, -90);
  ClickAt(-210, -100);
  const auto added = Added();
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_NE(labels[2].find("PX_3"), std::string::npos);
  ASSERT_EQ(added.size(), 5u);
  EXPECT_NEAR(added[1].start.x, -200.0, 1.0);
  EXPECT_NEAR(added[1].start.y, -90.0, 1.0);
  EXPECT_EQ(added[3].kind, kKindArc);
  EXPECT_FALSE(Pressed(kCurvePoints));
}

TEST_F(CurvePointInputTest, TheInputStopsAtItsFiveHundredthPoint) {
  int asked = 0;
  backend().WhenDialogOpensAlways(kPointDialog, [&asked](Driver& d) {
    const int i = asked++;
    d.Type(1015, std::to_string(-1000 + i));
    d.PressEnter();
    d.Type(1016, std::to_string(-300 + (i % 2) * 5));
    d.PressEnter();
  });
  backend().WhenDialogOpensAlways(kValueDialog, [](Driver& d) { d.PressEscape(); });
  Start(kCurvePoints);
  EXPECT_EQ(asked, 500);
  const auto added = Added();
  EXPECT_EQ(CountKind(added, 84), 500);
  EXPECT_GT(added.size(), 500u);
  EXPECT_EQ(g_pickState, 0);
}

TEST_F(CurvePointInputTest, AddingPointsToAGroupRebuildsItUnderANewNumber) {
  TypePoint(-190, -100);
  TypePoint(-200, -90);
  TypePoint(-210, -100);
  CancelNextDialog(kPointDialog);
  Start(kCurvePoints);
  const int oldNumber = Added()[0].number;
  // The fourth point on the same circle, given after the group was picked.
  TypePoint(-200, -110);
  CancelNextDialog(kPointDialog);
  Start(kAddPoints);
  ClickAt(-200, -90);
  const auto added = Added();
  ASSERT_EQ(CountKind(added, 84), 4);
  for (const FigureRecord& f : added) {
    EXPECT_NE(f.number, oldNumber);
    EXPECT_EQ(f.number, added[0].number);
  }
  EXPECT_NEAR(added[3].start.y, -110.0, 1e-9);
  ASSERT_EQ(added.size(), 7u);
  for (std::size_t i = 4; i < added.size(); ++i) EXPECT_NEAR(std::fabs(added[i].radius), 10.0, 1e-6) << i;
  EXPECT_EQ(FigureCount() - fixtureFigures, 7);
}

TEST_F(CurvePointInputTest, APointSnappedToALineEndGoesOnInTheLinesDirection) {
  // A line ending at (-250, -100) heading in +X.
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.start = {-300, -100};
  g_curFigure.end = {-250, -100};
  g_curFigure.dir = {1, 0};
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  const int before = FigureCount();
  AnswerPointButton(1003);         // the end point of a figure
  CancelNextDialog(kValueDialog);  // keeps the tangent the snap gave
  TypePoint(-230, -80, "90");
  CancelNextDialog(kPointDialog);
  Start(kCurvePoints);
  ClickAt(-270, -100);   // picks the line
  ClickAt(-270, -160);   // confirms the pick
  ClickAt(-250.5, -100);  // the end point near the click
  const auto added = Figures(before);
  ASSERT_GE(added.size(), 3u);
  EXPECT_EQ(added[0].kind, kKindCurvePointAngle);
  EXPECT_NEAR(added[0].start.x, -250, 1e-9);
  EXPECT_NEAR(added[0].radius, 0, 1e-9);
  EXPECT_EQ(added.size(), 3u);
  // Leaving along +X and arriving along +Y: the quarter circle about
  // (-250, -80).
  ASSERT_EQ(added[2].kind, kKindArc);
  EXPECT_NEAR(added[2].centre.x, -250, 1e-6);
  EXPECT_NEAR(added[2].centre.y, -80, 1e-6);
  EXPECT_NEAR(added[2].radius, 20, 1e-6);
}

}  // namespace
}  // namespace dorn::test
