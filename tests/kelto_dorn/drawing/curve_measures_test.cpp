// Lengths along figures and curves.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps = 1e-9;

class CurveMeasureTest : public test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    g_pickTolerance = 1.0;
  }
  // A closed 10 x 10 square framed by points at (0, 0).
  int AddSquare() {
    return AddCurve({Point({0, 0}), Line({0, 0}, {10, 0}), Line({10, 0}, {10, 10}), Line({10, 10}, {0, 10}),
                     Line({0, 10}, {0, 0}), Point({0, 0})});
  }
};

TEST_F(CurveMeasureTest, ArcLengthsFollowTheSenseOfTheArc) {
  const struct {
    const char* name;
    FigureRecord arc;
    double length;
  } cases[] = {
      {"quarter counter-clockwise", Arc({0, 0}, 10, 0, 90), 5 * kPi},
      {"quarter clockwise", Arc({0, 0}, -10, 90, 0), 5 * kPi},
      {"clockwise complement", Arc({0, 0}, -10, 0, 90), 15 * kPi},
      {"full circle", Circle({3, 4}, 10), 20 * kPi},
      {"zero radius", Arc({0, 0}, 0, 0, 90), 0.0},
  };
  for (const auto& c : cases) {
    g_curFigure = c.arc;
    EXPECT_NEAR(ArcLength(), c.length, 1e-9) << c.name;
    EXPECT_NEAR(g_lastLength, c.length, 1e-9) << c.name;
  }
  g_curFigure = Line({0, 0}, {3, 4});
  FigureLength();
  EXPECT_DOUBLE_EQ(g_lastLength, 5.0);
  g_curFigure = Point({2, 2});
  FigureLength();
  EXPECT_DOUBLE_EQ(g_lastLength, 0.0);
}

TEST_F(CurveMeasureTest, PartialLengthsRecogniseEndsInsideAndOutside) {
  g_curFigure = Arc({0, 0}, 10, 0, 90);
  EXPECT_EQ(PartialLengthToPoint(10, 0, 0), kPointAtStart);
  EXPECT_DOUBLE_EQ(g_lastLength, 0.0);
  EXPECT_EQ(PartialLengthToPoint(0, 10, 0), kPointAtEnd);
  EXPECT_NEAR(g_lastLength, 5 * kPi, kEps);
  const double s = 10 / std::sqrt(2.0);
  EXPECT_EQ(PartialLengthToPoint(s, s, 0), kPointInside);
  EXPECT_NEAR(g_lastLength, 2.5 * kPi, kEps);
  EXPECT_EQ(PartialLengthToPoint(s, s, kEndsOnly), kPointOutside);
  EXPECT_EQ(PartialLengthToPoint(-10, 0, 0), kPointOutside);
  EXPECT_NEAR(g_lastLength, 5 * kPi, kEps);
  EXPECT_NEAR(g_curFigure.end.y, 10.0, kEps) << "the figure is left as it was";

  g_curFigure = Line({0, 0}, {10, 0});
  EXPECT_EQ(PartialLengthToPoint(4, 0, 0), kPointInside);
  EXPECT_DOUBLE_EQ(g_lastLength, 4.0);
  EXPECT_EQ(PartialLengthToPoint(12, 0, 0), kPointOutside);
  EXPECT_DOUBLE_EQ(g_lastLength, 10.0);
  EXPECT_EQ(PartialLengthToPoint(-2, 0, 0), kPointOutside);
}

TEST_F(CurveMeasureTest, AClosedSquareMeasuresFromItsStart) {
  const int square = AddSquare();
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(0, 0, square, kStopAtFirst), 0.0);
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(0, 0, square, 0), 40.0) << "the start is found again at the end";
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(10, 5, square, 0), 15.0);
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(50, 50, square, 0), 40.0) << "a point on no figure";
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(0, 0, square + 3, 0), 0.0) << "no such curve";
  EXPECT_EQ(g_figureTableSelector, g_curLayer);
}

TEST_F(CurveMeasureTest, AFullCircleMeasuresItsWholeLengthAfterALongCurveWasWalked) {
  const int square = AddSquare();
  CurveLengthToPoint(10, 5, square, 0);
  EXPECT_EQ(g_drawingView.m_longCurveMarker, 0);
  g_curFigure = Circle({0, 0}, 10);
  EXPECT_NEAR(ArcLength(), 20 * kPi, kEps);
}

TEST_F(CurveMeasureTest, OnALongCurveAFullTurnCountsAsNothingDuringTheWalk) {
  // More than four figures: the circle among them adds nothing.
  const int c = AddCurve({Point({0, 0}), Line({0, 0}, {10, 0}), Circle({30, 0}, 5), Line({10, 0}, {10, 10}),
                          Line({10, 10}, {0, 10}), Point({0, 10})});
  EXPECT_DOUBLE_EQ(CurveLengthToPoint(5, 10, c, 0), 25.0);
  const int shortCurve = AddCurve({Line({0, 0}, {10, 0}), Circle({30, 0}, 5), Line({10, 0}, {10, 10})});
  EXPECT_NEAR(CurveLengthToPoint(10, 5, shortCurve, 0), 15.0 + 10 * kPi, 1e-9);
}

TEST_F(CurveMeasureTest, MiddlePointsAndTangents) {
  g_curFigure = Line({0, 0}, {10, 0});
  MidPointOfFigure();
  EXPECT_EQ(g_curFigure.kind, kKindPoint);
  EXPECT_EQ(g_curFigure.start, (Vec2{5, 0}));
  EXPECT_EQ(g_curFigure.dir, (Vec2{1, 0}));

  g_curFigure = Arc({0, 0}, 10, 0, 270);  // three quarters: the middle is at 135 degrees
  MidPointOfFigure();
  EXPECT_NEAR(g_curFigure.start.x, -10 / std::sqrt(2.0), kEps);
  EXPECT_NEAR(g_curFigure.start.y, 10 / std::sqrt(2.0), kEps);
  EXPECT_NEAR(g_curFigure.dir.x, -1 / std::sqrt(2.0), kEps);
  EXPECT_EQ(g_curFigure.radius, 0.0);

  g_curFigure = Arc({0, 0}, -10, 90, 0);  // clockwise quarter: the middle is at 45 degrees
  MidPointOfFigure();
  EXPECT_NEAR(g_curFigure.start.x, 10 / std::sqrt(2.0), kEps);
  EXPECT_NEAR(g_curFigure.dir.y, -1 / std::sqrt(2.0), kEps) << "heading clockwise";

  EXPECT_EQ(ArcTangentAtPoint(Circle({0, 0}, 2), {2, 0}), (Vec2{0, 1}));
  EXPECT_EQ(ArcTangentAtPoint(Circle({0, 0}, -2), {2, 0}), (Vec2{0, -1}));
}

TEST_F(CurveMeasureTest, AnalysisLengthEndPointsAndCancelling) {
  g_curFigure = Line({0, 0}, {3, 4});
  MeasurePickDistance(kKindLine);
  EXPECT_DOUBLE_EQ(g_drawingView.m_analysisLength, 5.0);
  g_curFigure = Arc({0, 0}, 10, 0, 90);
  MeasurePickDistance(kKindArc);
  EXPECT_NEAR(g_drawingView.m_analysisLength, 5 * kPi, kEps);
  MeasurePickDistance(kKindPoint);
  EXPECT_NEAR(g_drawingView.m_analysisLength, 5 * kPi, kEps);

  g_curCurveIndex = AddCurve({Point({1, 1}), Line({1, 1}, {5, 1}), Point({5, 1})});
  EXPECT_EQ(GetCurveEndPoint(false), (Vec2{1, 1}));
  EXPECT_EQ(GetCurveEndPoint(true), (Vec2{5, 1}));

  SetBlock(3, Line({0, 0}, {1, 0}));
  g_figureTableSelector = 5;
  g_pickFoundIndex = 4;
  CancelPickState(kCancelBlocksOnly);
  EXPECT_EQ(g_figureStore.SegmentBlock(3)->kind, kKindEmpty);
  EXPECT_EQ(g_figureTableSelector, 5);
  CancelPickState(0);
  EXPECT_EQ(g_figureTableSelector, 0);
  EXPECT_EQ(g_pickFoundIndex, kFoundNothing);
}

}  // namespace
}  // namespace dorn
