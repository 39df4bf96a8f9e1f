// Lines and circles constructed from picked figures, on hand-computed cases,
// and the edits of a picked figure.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/circle_constructions.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/line_constructions.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

using ConstructionTest = test::DrawingTest;

constexpr double kEps = 1e-6;

const FigureRecord& BlockAt(int i) { return *g_figureStore.SegmentBlock(i); }

// The distance of point p from the carrier line of `line`.
double DistanceFromLine(const FigureRecord& line, Vec2 p) {
  return std::fabs((p.x - line.start.x) * line.dir.y - (p.y - line.start.y) * line.dir.x);
}

// True when `line` touches the circle (centre c, radius r).
bool Touches(const FigureRecord& line, Vec2 c, double r) { return std::fabs(DistanceFromLine(line, c) - r) < kEps; }

TEST_F(ConstructionTest, TangentsFromAPointTouchTheCircleAndAPointOnItGivesLongLines) {
  SetBlock(2, Circle({0, 0}, 5));
  LineThroughPointTangentToArc(10, 0);
  const FigureRecord& a = BlockAt(6);
  const FigureRecord& b = BlockAt(7);
  ASSERT_EQ(a.kind, kKindLine);
  ASSERT_EQ(b.kind, kKindLine);
  EXPECT_EQ(a.start, (Vec2{10, 0}));
  EXPECT_NEAR(a.end.x, 2.5, kEps);
  EXPECT_NEAR(b.end.x, 2.5, kEps);
  EXPECT_NEAR(std::fabs(a.end.y), 4.330127, kEps);
  EXPECT_NEAR(a.end.y, -b.end.y, kEps);
  EXPECT_EQ(g_pickState, kPickStateChooseCandidate);

  LineThroughPointTangentToArc(0, 5);  // on the circle; the scale is 100
  EXPECT_NEAR(std::hypot(BlockAt(6).end.x - 0, BlockAt(6).end.y - 5), 100.0, kEps);
  EXPECT_NEAR(BlockAt(6).end.x, -BlockAt(7).end.x, kEps);
  EXPECT_NEAR(BlockAt(6).end.y, 5.0, kEps);

  LineThroughPointTangentToArc(1, 1);  // inside: no tangent, the pick ends
  EXPECT_EQ(BlockAt(6).kind, kKindEmpty);
  EXPECT_EQ(BlockAt(7).kind, kKindEmpty);
  EXPECT_EQ(endPicks, 1);
}

TEST_F(ConstructionTest, CommonTangentsOfTwoCirclesMeetOnTheCentreLine) {
  SetBlock(1, Circle({0, 0}, 2));
  SetBlock(2, Circle({10, 0}, 3));
  for (int type = 1; type <= 4; ++type) LineTangentToTwoArcs(1, 2, type, 5 + type);
  for (int type = 1; type <= 4; ++type) {
    const FigureRecord& l = BlockAt(5 + type);
    ASSERT_EQ(l.kind, kKindLine) << type;
    EXPECT_TRUE(Touches(l, {0, 0}, 2)) << type;
    EXPECT_TRUE(Touches(l, {10, 0}, 3)) << type;
    const bool outer = type == 1 || type == 4;
    EXPECT_NEAR(DistanceFromLine(l, outer ? Vec2{-20, 0} : Vec2{4, 0}), 0.0, kEps) << type;
  }
  EXPECT_NE(BlockAt(6).end.y, BlockAt(9).end.y) << "the two outer tangents differ";

  SetBlock(2, Circle({3, 0}, 3));  // crossing circles: no inner tangent
  for (int type = 1; type <= 4; ++type) LineTangentToTwoArcs(1, 2, type, 5 + type);
  EXPECT_EQ(BlockAt(6).kind, kKindLine);
  EXPECT_EQ(BlockAt(7).kind, kKindEmpty);
  EXPECT_EQ(BlockAt(8).kind, kKindEmpty);
  SetBlock(2, Circle({0.5, 0}, 8));  // nested: none at all
  for (int type = 1; type <= 4; ++type) LineTangentToTwoArcs(1, 2, type, 5 + type);
  for (int type = 1; type <= 4; ++type) EXPECT_EQ(BlockAt(5 + type).kind, kKindEmpty) << type;
  SetBlock(2, Circle({10, 0}, 2));  // equal radii: the outer tangents are parallel
  LineTangentToTwoArcs(1, 2, 1, 6);
  LineTangentToTwoArcs(1, 2, 4, 9);
  EXPECT_NEAR(std::fabs(BlockAt(6).start.y), 2.0, kEps);
  EXPECT_NEAR(BlockAt(6).start.y, -BlockAt(9).start.y, kEps);
}

TEST_F(ConstructionTest, TheTangentAtAnAngleTouchesOnEitherSideAndRunsToTheViewEdge) {
  SetBlock(1, Circle({0, 0}, 5));
  LineTangentToArcAtAngle(0, 6, {1, 0});
  LineTangentToArcAtAngle(1, 7, {1, 0});
  EXPECT_EQ(BlockAt(6).end, (Vec2{0, -5}));
  EXPECT_EQ(BlockAt(7).start, (Vec2{0, 5}));
  EXPECT_TRUE(Touches(BlockAt(6), {0, 0}, 5));
  EXPECT_EQ(BlockAt(6).dir, (Vec2{1, 0}));
  EXPECT_LT(BlockAt(6).start.x, -50.0) << "from the left edge of the view";
  EXPECT_GT(BlockAt(7).end.x, 50.0) << "to the right edge";
}

TEST_F(ConstructionTest, TypedRadiusCirclesTouchBothAxes) {
  SetBlock(1, Line({0, 0}, {10, 0}));
  SetBlock(2, Line({0, 0}, {0, 10}));
  for (int type = 1; type <= 4; ++type) CircleRadiusTangentToTwo(type, 5 + type, 2.0);
  int quadrants = 0;
  for (int type = 1; type <= 4; ++type) {
    const FigureRecord& c = BlockAt(5 + type);
    ASSERT_EQ(c.kind, kKindArc);
    EXPECT_NEAR(std::fabs(c.centre.x), 2.0, kEps);
    EXPECT_NEAR(std::fabs(c.centre.y), 2.0, kEps);
    EXPECT_NEAR(c.start.y, 0.0, kEps) << "it starts at its touching point on pick 1";
    quadrants |= 1 << ((c.centre.x > 0 ? 0 : 1) + (c.centre.y > 0 ? 0 : 2));
  }
  EXPECT_EQ(quadrants, 15) << "one circle in each quadrant";

  SetBlock(5, Circle({20, 0}, 4));  // touched by a circle of R 2 centred on the x axis
  for (int type = 1; type <= 4; ++type) CircleRadiusTangentCentreLine(type, 5 + type, 2.0);
  for (int type = 1; type <= 4; ++type) {
    const FigureRecord& c = BlockAt(5 + type);
    ASSERT_EQ(c.kind, kKindArc);
    EXPECT_NEAR(c.centre.y, 0.0, kEps);
    const double d = std::fabs(c.centre.x - 20);
    EXPECT_TRUE(std::fabs(d - 2) < kEps || std::fabs(d - 6) < kEps) << type << " at " << c.centre.x;
  }

  CircleRadiusPointCentreLine(0, 6, 5.0, {3, 4});
  CircleRadiusPointCentreLine(1, 7, 5.0, {3, 4});
  EXPECT_NEAR(std::fabs(BlockAt(6).centre.x - BlockAt(7).centre.x), 6.0, kEps);
  EXPECT_EQ(BlockAt(6).start, (Vec2{3, 4}));

  CircleRadiusPointTangent(0, 6, 5.0, {0, 8});  // touching the x axis, through (0, 8)
  CircleRadiusPointTangent(1, 7, 5.0, {0, 8});
  for (int b : {6, 7}) {
    const FigureRecord& c = BlockAt(b);
    ASSERT_EQ(c.kind, kKindArc) << b;
    EXPECT_NEAR(c.centre.y, 5.0, kEps);
    EXPECT_NEAR(std::fabs(c.centre.x), 4.0, kEps);
  }
  EXPECT_NEAR(BlockAt(6).centre.x, -BlockAt(7).centre.x, kEps);
}

TEST_F(ConstructionTest, CirclesThroughPointsAndAboutACentre) {
  FigureRecord out;
  CircleThroughThreePoints(out, {0, 0}, {4, 0}, {0, 3});
  ASSERT_EQ(out.kind, kKindArc);
  EXPECT_NEAR(out.centre.x, 2.0, kEps);
  EXPECT_NEAR(out.centre.y, 1.5, kEps);
  EXPECT_NEAR(out.radius, 2.5, kEps) << "(4, 0) lies on the counter-clockwise way";
  EXPECT_EQ(out.start, (Vec2{0, 0}));
  EXPECT_EQ(out.end, (Vec2{0, 3}));
  CircleThroughThreePoints(out, {0, 3}, {4, 0}, {0, 0});
  EXPECT_NEAR(out.radius, -2.5, kEps);
  CircleThroughThreePoints(out, {0, 0}, {1, 1}, {3, 3});
  EXPECT_EQ(out.kind, kKindEmpty) << "collinear";

  FigureRecord tangentPoint = Point({0, 0});
  tangentPoint.dir = {1, 0};
  CirclePointAngleTangent(out, Line({0, 10}, {10, 10}), tangentPoint);
  EXPECT_EQ(out.kind, kKindEmpty) << "this side has no circle";
  CirclePointAngleTangent(out, Line({10, 10}, {0, 10}), tangentPoint);
  ASSERT_EQ(out.kind, kKindArc);
  EXPECT_NEAR(out.centre.x, 0.0, kEps);
  EXPECT_NEAR(out.centre.y, 5.0, kEps);
  EXPECT_NEAR(out.radius, 5.0, kEps);
  CirclePointAngleTangent(out, Circle({0, 10}, 2), tangentPoint);
  EXPECT_NEAR(out.centre.y, 6.0, kEps) << "encloses the arc";
  CirclePointAngleTangent(out, Circle({0, 10}, -2), tangentPoint);
  EXPECT_NEAR(out.centre.y, 4.0, kEps) << "touches it from outside";

  CircleCentreTangent(out, Line({0, 0}, {10, 0}), {3, 4}, false);
  EXPECT_NEAR(out.radius, 4.0, kEps);
  CircleCentreTangent(out, Line({0, 0}, {10, 0}), {3, 4}, true);
  EXPECT_EQ(out.kind, kKindEmpty);
  CircleCentreTangent(out, Circle({0, 0}, 10), {3, 4}, false);
  EXPECT_NEAR(out.radius, 5.0, kEps);
  CircleCentreTangent(out, Circle({0, 0}, 10), {3, 4}, true);
  EXPECT_NEAR(out.radius, 15.0, kEps);
  CircleCentreTangent(out, Line({0, 0}, {10, 0}), {3, 0}, false);
  EXPECT_EQ(out.kind, kKindEmpty) << "a centre on the line";
}

TEST_F(ConstructionTest, MidLinesOfParallelAndCrossingLinesPointsAndArcs) {
  SetBlock(1, Line({0, 0}, {10, 0}));
  SetBlock(2, Line({20, 4}, {0, 4}));
  ASSERT_EQ(MidLineBetweenFigures(), 1);
  EXPECT_NEAR(BlockAt(6).start.y, 2.0, kEps);
  EXPECT_NEAR(BlockAt(6).end.y, 2.0, kEps);
  EXPECT_EQ(BlockAt(7).kind, kKindEmpty);

  SetBlock(2, Line({5, -5}, {5, 5}));
  ASSERT_EQ(MidLineBetweenFigures(), 2);
  const Vec2 d6 = BlockAt(6).dir, d7 = BlockAt(7).dir;
  EXPECT_NEAR(d6.x * d7.x + d6.y * d7.y, 0.0, kEps) << "the bisectors are 90 degrees apart";
  EXPECT_NEAR(std::fabs(d6.x), std::sqrt(0.5), kEps);
  EXPECT_NEAR(DistanceFromLine(BlockAt(6), {5, 0}), 0.0, kEps);

  SetBlock(1, Point({0, 0}));
  SetBlock(2, Circle({4, 0}, 3));  // an arc counts as its centre
  ASSERT_EQ(MidLineBetweenFigures(), 1);
  EXPECT_NEAR(BlockAt(6).start.x, 2.0, kEps);
  EXPECT_NEAR(BlockAt(6).end.x, 2.0, kEps);

  SetBlock(2, Line({-10, 6}, {10, 6}));
  ASSERT_EQ(MidLineBetweenFigures(), 1);
  EXPECT_NEAR(BlockAt(6).start.y, 3.0, kEps);

  SetBlock(2, Point({0, 0}));
  EXPECT_EQ(MidLineBetweenFigures(), 0) << "two equal points";
}

TEST_F(ConstructionTest, ReversingAnArcInMode0GivesItsComplementAndInMode1TheSameArcBackwards) {
  g_curFigure = Arc({0, 0}, 10, 0, 90);
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  g_pickFoundTable = 0;
  g_pickFoundIndex = 0;
  ASSERT_EQ(ReverseFigureDirection(0), 0);
  GetFigure(0, 0);
  EXPECT_EQ(g_curFigure.radius, -10.0);
  EXPECT_NEAR(g_curFigure.start.x, 10.0, kEps) << "the same ends";
  ASSERT_EQ(ReverseFigureDirection(1), 0);
  GetFigure(0, 0);
  EXPECT_EQ(g_curFigure.radius, 10.0);
  EXPECT_NEAR(g_curFigure.start.y, 10.0, kEps) << "the ends exchanged";
  EXPECT_FALSE(ViewLog().empty());
  g_pickFoundIndex = 5;
  EXPECT_EQ(ReverseFigureDirection(0), 1) << "no such figure";
}

TEST_F(ConstructionTest, ClippingMovesTheEndsToTheProjectionsOfTheClicks) {
  g_curFigure = Line({0, 0}, {10, 0});
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  SetBlock(5, Line({0, 0}, {10, 0}));
  ASSERT_EQ(PreparePickedLineOrArc({8, 3}, {2, -1}, 0, 0), 0);
  GetFigure(0, 0);
  EXPECT_EQ(g_curFigure.start, (Vec2{8, 0}));
  EXPECT_EQ(g_curFigure.end, (Vec2{2, 0}));
  EXPECT_EQ(g_curFigure.dir, (Vec2{-1, 0}));
  SetBlock(5, Point({0, 0}));
  EXPECT_EQ(PreparePickedLineOrArc({8, 3}, {2, -1}, 0, 0), 1);
}

TEST_F(ConstructionTest, EndsNearEachOtherAreTurnedToChainAndIntersected) {
  g_joinTolerance = 0.01;
  SetBlock(3, Line({0, 0}, {10, 0}));
  g_curFigure = Line({10, 5}, {10, 0});  // its end meets the block's end
  EXPECT_EQ(TestEndpointsNearPicks(3, 1), kHitOnePoint);
  EXPECT_EQ(g_curFigure.start, (Vec2{10, 0})) << "the current figure was reversed";
  EXPECT_EQ(g_curFigure.choice, 0);
  g_curFigure = Line({0, 0}, {0, 5});  // starts at the block's start
  EXPECT_EQ(TestEndpointsNearPicks(3, 1), kHitNone) << "the block is kept";
  EXPECT_EQ(TestEndpointsNearPicks(3, 0), kHitOnePoint);
  EXPECT_EQ(BlockAt(3).end, (Vec2{0, 0})) << "the block was reversed";
}

}  // namespace
}  // namespace dorn
