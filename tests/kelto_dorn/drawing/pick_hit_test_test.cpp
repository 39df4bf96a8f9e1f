// The hit test of one figure: points, lines, arcs, the end-point rule, the
// pick filter, and the on-figure test of the candidate choice.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_hit_test.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

using PickHitTest = test::DrawingTest;

struct HitCase {
  std::string name;
  FigureRecord figure;
  Vec2 pick;
  bool autoIntersection;
  int pickState;
  bool hit;
};

int HitAt(const FigureRecord& f, Vec2 pick) {
  g_curFigure = f;
  g_pickPoint = pick;
  g_pickTestIndex = 0;
  g_pickExcludeIndex = -1;
  return TestFigureAtPick();
}

TEST_F(PickHitTest, FiguresAreHitWithinTheToleranceAndEndsOnlyByTheEndPointRule) {
  using T = test::DrawingTest;
  const FigureRecord line = T::Line({0, 0}, {10, 0});
  const FigureRecord quarter = T::Arc({0, 0}, 10, 0, 90);
  const FigureRecord clockwise = T::Arc({0, 0}, -10, 90, 0);  // from (0, 10) to (10, 0)
  FigureRecord hole = T::Point({0, 5}, kKindPointMark);
  hole.radius = 5;
  FigureRecord shifted = line;
  shifted.origin = {100, 0};
  FigureRecord degenerateArc = T::Arc({3, 3}, 0, 0, 90);
  FigureRecord dimensionLine = line;
  dimensionLine.kind = 0xD002;
  FigureRecord unknown = line;
  unknown.kind = 99;
  const double s = std::sqrt(50.0);
  const HitCase cases[] = {
      {"line middle within tolerance", line, {5, 0.5}, false, 5, true},
      {"line at the tolerance edge", line, {5, 1.0}, false, 5, true},
      {"line just beyond the tolerance", line, {5, 1.0001}, false, 5, false},
      {"line start hits", line, {0, 0}, false, 5, true},
      {"line end misses without the end-point rule", line, {10, 0}, false, 5, false},
      {"line end misses in another state", line, {10, 0}, true, 5, false},
      {"line end hits in state 6", line, {10, 0}, true, 6, true},
      {"line end hits in state 616", line, {10, 0}, true, 616, true},
      {"line end hits off the line by the rule", line, {10.5, 0.5}, true, 6, true},
      {"beyond the line end", line, {11.5, 0}, false, 5, false},
      {"before the line start", line, {-0.5, 0}, false, 5, false},
      {"line of another origin", shifted, {105, 0.3}, false, 5, true},
      {"dimension line", dimensionLine, {5, 0.2}, false, 5, true},
      {"unknown kind", unknown, {5, 0}, false, 5, false},
      {"arc inside its sweep", quarter, {s, s}, false, 5, true},
      {"arc outside its sweep", quarter, {-10, 0}, false, 5, false},
      {"arc start misses", quarter, {10, 0}, false, 5, false},
      {"arc start hits by the rule", quarter, {10, 0}, true, 6, true},
      {"arc off the circle", quarter, {s + 1.5, s + 1.5}, false, 5, false},
      {"clockwise arc inside", clockwise, {s, s}, false, 5, true},
      {"clockwise arc outside", clockwise, {-s, -s}, false, 5, false},
      {"full circle anywhere", T::Circle({0, 0}, 10), {-s, -s}, false, 5, true},
      {"click on the centre", T::Circle({0, 0}, 0.5), {0, 0}, false, 5, false},
      {"zero radius arc", degenerateArc, {3, 3}, false, 5, false},
      {"zero length line", T::Line({3, 3}, {3, 3}), {3, 3}, false, 5, false},
      {"point", T::Point({2, 2}), {2.5, 2.5}, false, 5, true},
      {"point too far", T::Point({2, 2}), {3, 3}, false, 5, false},
      {"text position", T::Point({2, 2}, kKindText), {2, 2.9}, false, 5, true},
      {"box hole point", hole, {0, 5.5}, false, 5, true},
      {"box hole on its arc", hole, {5 / std::sqrt(2.0), 5 / std::sqrt(2.0)}, false, 5, true},
      {"box hole beyond its arc", hole, {-5, 0}, false, 5, false},
  };
  g_pickTolerance = 1.0;
  for (const HitCase& c : cases) {
    g_autoIntersection = c.autoIntersection ? 1 : 0;
    g_pickState = c.pickState;
    g_curFigure = c.figure;
    EXPECT_EQ(HitAt(c.figure, c.pick), c.hit ? 1 : 0) << c.name;
  }
}

TEST_F(PickHitTest, AHitKeepsTheFigureInThePickedSlotAndTheFilterRefusesOthers) {
  g_pickTolerance = 1.0;
  FigureRecord line = Line({0, 0}, {10, 0});
  line.origin = {5, 5};
  ASSERT_EQ(HitAt(line, {10, 5}), 1);
  EXPECT_EQ(g_savedFigure.origin, (Vec2{5, 5}));
  EXPECT_EQ(g_savedFigure.start, (Vec2{0, 0}));  // kept relative to its origin

  g_pickSameOriginOnly = 1;  // the current origin is (0, 0)
  EXPECT_EQ(HitAt(line, {10, 5}), 0);
  g_pickSameOriginOnly = 0;

  g_curFigure = line;
  g_pickPoint = {10, 5};
  g_pickTestIndex = g_pickExcludeIndex = 7;
  EXPECT_EQ(TestFigureAtPick(), 0) << "the excluded figure is never reported";
}

TEST_F(PickHitTest, PointOnFigureAcceptsPointsWithinLinesAndArcs) {
  const FigureRecord line = Line({0, 0}, {10, 0});
  const FigureRecord arc = Arc({0, 0}, 10, 0, 90);
  const FigureRecord clockwise = Arc({0, 0}, -10, 0, 90);  // the other three quarters
  struct Case {
    const char* name;
    FigureRecord f;
    Vec2 x;
    int expected;
  } cases[] = {
      {"line inside", line, {4, 0}, kOnFigure},
      {"line end", line, {10, 0}, kOnFigure},
      {"line start", line, {0, 0}, kOnFigure},
      {"beyond the end", line, {11, 0}, kOffFigure},
      {"before the start", line, {-1, 0}, kOffFigure},
      {"arc inside", arc, {0, 10}, kOnFigure},
      {"arc outside", arc, {-10, 0}, kOffFigure},
      {"clockwise arc inside", clockwise, {-10, 0}, kOnFigure},
      {"clockwise arc outside", clockwise, {7.07, 7.07}, kOffFigure},
      {"full circle", Circle({0, 0}, 10), {0, -10}, kOnFigure},
      {"a point accepts", Point({0, 0}), {50, 50}, kOnFigure},
  };
  for (const Case& c : cases) EXPECT_EQ(PointOnFigure(c.f, c.x), c.expected) << c.name;
}

}  // namespace
}  // namespace dorn
