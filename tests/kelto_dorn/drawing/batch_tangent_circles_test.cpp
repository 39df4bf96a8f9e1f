// Circles fitted into the corners of picked curves, checked against corners
// worked out by hand.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/batch_tangent_circles.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/headless/headless_backend.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

class BatchTangentCirclesTest : public test::DrawingTest {
 protected:
  static void Select(std::initializer_list<int> curves) {
    g_selectionList.fill(kNone);
    int i = 0;
    for (int c : curves) g_selectionList[static_cast<std::size_t>(i++)] = c;
  }
  static std::vector<FigureRecord> Layer0() {
    std::vector<FigureRecord> out;
    for (int i = 0; i < GetFigureCount(0); ++i) out.push_back(g_figureStore.Table(0)->slot(i));
    return out;
  }
};

// A counter-clockwise square of side 100, framed by its start and end points
// as a registered curve is: the three corners between its sides get circles
// (the curve is not closed round from the last side to the first), whatever
// the sign of the radius typed.
TEST_F(BatchTangentCirclesTest, TheInsideOfEachCornerOfASquare) {
  std::vector<FigureRecord> square = {Point({0, 0}), Line({0, 0}, {100, 0}), Line({100, 0}, {100, 100}),
                                      Line({100, 100}, {0, 100}), Line({0, 100}, {0, 0}), Point({0, 0})};
  AddCurve(square);
  Select({0});
  ASSERT_EQ(BatchTangentCircles(-5.0), 3);
  const std::vector<FigureRecord> circles = Layer0();
  ASSERT_EQ(circles.size(), 3u);
  const Vec2 want[] = {{95, 5}, {95, 95}, {5, 95}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(circles[i].kind, kKindArc);
    EXPECT_DOUBLE_EQ(circles[i].radius, 5.0);
    EXPECT_NEAR(circles[i].centre.x, want[i].x, 1e-9) << i;
    EXPECT_NEAR(circles[i].centre.y, want[i].y, 1e-9) << i;
    EXPECT_NEAR(circles[i].start.x, want[i].x + 5, 1e-9) << i;
    EXPECT_EQ(circles[i].start.x, circles[i].end.x);
  }
}

// A line along +X turning down into a counter-clockwise arc about (70, 0) of
// radius 20 (a right turn): the circle lies below the line and outside the
// arc, at the corner, not where the arc's full circle meets the line again.
TEST_F(BatchTangentCirclesTest, ALineIntoAnArcTurningRight) {
  AddCurve({Line({0, 0}, {50, 0}), Arc({70, 0}, 20, 180, 270)});
  Select({0});
  ASSERT_EQ(BatchTangentCircles(5.0), 1);
  const FigureRecord c = Layer0().at(0);
  EXPECT_NEAR(c.centre.x, 70 - std::sqrt(600.0), 1e-9);
  EXPECT_NEAR(c.centre.y, -5, 1e-9);
}

// Tangent joins and figures that are not lines or arcs make no corner: the
// user is told and nothing is stored.
TEST_F(BatchTangentCirclesTest, NoCornerStoresNothingAndSaysSo) {
  AddCurve({Line({0, 0}, {50, 0}), Arc({50, 20}, 20, 270, 360), Point({70, 20})});
  Select({0});
  EXPECT_EQ(BatchTangentCircles(5.0), 0);
  EXPECT_EQ(GetFigureCount(0), 0);
  EXPECT_FALSE(backend().MessageBoxes().empty());
}

}  // namespace
}  // namespace dorn
