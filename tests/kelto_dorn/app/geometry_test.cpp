// Geometry kernel: intersections, angles, directions, offsets and the block
// helpers.
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using GeometryTest = test::KernelTest;

FigureRecord Line(Vec2 start, Vec2 end) {
  FigureRecord f;
  f.kind = kKindLine;
  f.start = start;
  f.end = end;
  const double len = std::hypot(end.x - start.x, end.y - start.y);
  f.dir = {(end.x - start.x) / len, (end.y - start.y) / len};
  return f;
}

FigureRecord Circle(Vec2 centre, double radius, int choice = 0) {
  FigureRecord f;
  f.kind = kKindArc;
  f.centre = centre;
  f.radius = radius;
  f.start = f.end = {centre.x + std::fabs(radius), centre.y};
  f.choice = choice;
  return f;
}

FigureRecord Point(Vec2 p, int kind = kKindPoint) {
  FigureRecord f;
  f.kind = kind;
  f.start = p;
  return f;
}

FigureRecord WithChoice(FigureRecord f, int choice) {
  f.choice = choice;
  return f;
}

constexpr double kEps = 1e-9;

struct HitCase {
  const char* name;
  FigureRecord a;
  FigureRecord b;
  int code;
  Vec2 first;
  Vec2 second;  // checked for two-point results only
};

TEST_F(GeometryTest, IntersectFiguresCoversEveryPairAndItsDegenerateCases) {
  const HitCase cases[] = {
      {"lines crossing at 90 degrees", Line({0, 0}, {10, 0}), Line({3, -5}, {3, 5}), kHitOnePoint, {3, 0}, {}},
      {"oblique lines", Line({0, 0}, {1, 1}), Line({0, 4}, {4, 0}), kHitOnePoint, {2, 2}, {}},
      {"parallel lines 5 apart", Line({0, 0}, {10, 0}), Line({0, 5}, {10, 5}), kHitNone, {}, {}},
      {"the same line twice", Line({0, 0}, {10, 0}), Line({0, 0}, {10, 0}), kHitSameLine, {}, {}},
      {"overlapping collinear lines", Line({0, 0}, {10, 0}), Line({20, 0}, {30, 0}), kHitSameLine, {}, {}},
      {"opposite collinear lines", Line({0, 0}, {10, 0}), Line({10, 0}, {0, 0}), kHitSameLine, {}, {}},
      {"point onto line: foot", Point({4, 7}), Line({0, 0}, {10, 0}), kHitOnePoint, {4, 0}, {}},
      {"line onto point: foot", Line({0, 0}, {0, 10}), Point({3, 6}), kHitOnePoint, {0, 6}, {}},
      {"foot class onto line", Point({4, 7}, 0x18), Line({0, 0}, {10, 0}), kHitOnePoint, {4, 0}, {}},
      {"point onto circle", Point({0, 20}), Circle({0, 0}, 5), kHitOnePoint, {0, 5}, {}},
      {"circle onto point", Circle({10, 0}, 2), Point({0, 0}), kHitOnePoint, {8, 0}, {}},
      {"line tangent to circle", Line({-10, 5}, {10, 5}), Circle({0, 0}, 5), kHitTouching, {0, 5}, {}},
      {"line 0.0009 inside tangent",
       Line({-10, 4.9991}, {10, 4.9991}),
       Circle({0, 0}, 5),
       kHitTouching,
       {0, 4.9991},
       {}},
      {"line 0.0011 outside", Line({-10, 5.0011}, {10, 5.0011}), Circle({0, 0}, 5), kHitNone, {}, {}},
      {"line through centre, mode 0", Line({-10, 0}, {10, 0}), Circle({0, 0}, 5, 0), kHitOnePoint, {5, 0}, {}},
      {"line through centre, mode 1", Line({-10, 0}, {10, 0}), Circle({0, 0}, 5, 1), kHitOnePoint, {-5, 0}, {}},
      {"clockwise circle, mode 0", Line({-10, 0}, {10, 0}), Circle({0, 0}, -5, 0), kHitOnePoint, {-5, 0}, {}},
      {"both points ahead first", Line({-10, 0}, {10, 0}), Circle({0, 0}, 5, 15), kHitTwoPoints, {5, 0}, {-5, 0}},
      {"both points, clockwise: behind first",
       Line({-10, 0}, {10, 0}),
       Circle({0, 0}, -5, 15),
       kHitTwoPoints,
       {-5, 0},
       {5, 0}},
      {"arc-line, mode 0 turns to 1", Circle({0, 0}, 5), Line({-10, 0}, {10, 0}), kHitOnePoint, {-5, 0}, {}},
      {"arc-line, mode 1 turns to 0",
       Circle({0, 0}, 5),
       WithChoice(Line({-10, 0}, {10, 0}), 1),
       kHitOnePoint,
       {5, 0},
       {}},
      {"arc-line, mode 15 stays",
       Circle({0, 0}, 5),
       WithChoice(Line({-10, 0}, {10, 0}), 15),
       kHitTwoPoints,
       {5, 0},
       {-5, 0}},
      {"circles touching outside", Circle({0, 0}, 5), Circle({8, 0}, 3), kHitTouching, {5, 0}, {}},
      {"circles touching inside (first bigger)", Circle({0, 0}, 5), Circle({2, 0}, 3), kHitTouching, {5, 0}, {}},
      {"circles touching inside (first smaller)", Circle({2, 0}, 3), Circle({0, 0}, 5), kHitTouching, {5, 0}, {}},
      {"concentric equal circles", Circle({1, 1}, 5), Circle({1, 1}, -5), kHitSameLine, {}, {}},
      {"concentric different circles", Circle({1, 1}, 5), Circle({1, 1}, 4), kHitNone, {}, {}},
      {"circles far apart", Circle({0, 0}, 1), Circle({10, 0}, 1), kHitNone, {}, {}},
      {"circle inside circle", Circle({0, 0}, 10), Circle({1, 0}, 2), kHitNone, {}, {}},
      {"crossing circles, both points", Circle({0, 0}, 5), Circle({6, 0}, 5, 15), kHitTwoPoints, {3, 4}, {3, -4}},
      {"unsupported kinds", Point({0, 0}), Point({1, 1}), kHitNone, {}, {}},
      {"kind with low bits 5", Line({0, 0}, {1, 0}), Point({0, 0}, 0x25), kHitNone, {}, {}},
  };
  for (const HitCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FigureRecord r = IntersectFigures(c.a, c.b);
    ASSERT_EQ(r.number, c.code);
    EXPECT_NEAR(r.start.x, c.first.x, 1e-6);
    EXPECT_NEAR(r.start.y, c.first.y, 1e-6);
    if (c.code == kHitTwoPoints || c.code == kHitSameLine || c.code == kHitNone) {
      EXPECT_NEAR(r.end.x, c.second.x, 1e-6);
      EXPECT_NEAR(r.end.y, c.second.y, 1e-6);
    }
  }
}

TEST_F(GeometryTest, CrossingCirclesGiveBothPointsOnBothCircles) {
  const FigureRecord a = Circle({1, 2}, 4);
  const FigureRecord b = Circle({4, 6}, -3, 15);
  const FigureRecord r = IntersectFigures(a, b);
  ASSERT_EQ(r.number, kHitTwoPoints);
  for (const Vec2& p : {r.start, r.end}) {
    EXPECT_NEAR(std::hypot(p.x - 1, p.y - 2), 4.0, 1e-9);
    EXPECT_NEAR(std::hypot(p.x - 4, p.y - 6), 3.0, 1e-9);
  }
  EXPECT_GT(std::hypot(r.start.x - r.end.x, r.start.y - r.end.y), 1.0);
}

TEST_F(GeometryTest, VectorAnglesAndUnitVectors) {
  EXPECT_DOUBLE_EQ(VectorAngle(1, 0), 360.0);
  EXPECT_DOUBLE_EQ(VectorAngle0(1, 0), 0.0);
  EXPECT_DOUBLE_EQ(VectorAngle(0, -1), 270.0);
  EXPECT_DOUBLE_EQ(VectorAngle0(0, 1), 90.0);
  EXPECT_DOUBLE_EQ(VectorAngle(-1, 0), 180.0);
  EXPECT_DOUBLE_EQ(VectorAngle0(1, -1e-9), 0.0);  // within 1e-6 degrees of 360

  const Vec2 u = UnitVectorFromAngle(90.0);
  EXPECT_NEAR(u.x, 0.0, kEps);
  EXPECT_NEAR(u.y, 1.0, kEps);

  const Vec2 v = UnitVectorBetween({3, 4}, {0, 0});
  EXPECT_DOUBLE_EQ(v.x, 0.6);
  EXPECT_DOUBLE_EQ(v.y, 0.8);
  EXPECT_DOUBLE_EQ(g_lastDistance, 5.0);
  const Vec2 none = UnitVectorBetween({2, 2}, {2, 2});
  EXPECT_EQ(none, (Vec2{0, 0}));
  EXPECT_DOUBLE_EQ(g_lastDistance, 0.0);

  EXPECT_DOUBLE_EQ(RoundedDistance({0, 0}, {1.23456, 0}), 1.235);
}

TEST_F(GeometryTest, RotateOffsetPointAndRotateVector) {
  const Vec2 left = RotateOffsetPoint(1, 2.0, 1.0, {1, 1}, {2, 1});
  EXPECT_EQ(left, (Vec2{3, 2}));
  const Vec2 right = RotateOffsetPoint(-1, 2.0, 1.0, {1, 1}, {2, 1});
  EXPECT_EQ(right, (Vec2{3, 0}));

  const Vec2 turned = RotateVector(1, 0.0, 1.0, {1, 0});
  EXPECT_NEAR(turned.x, 0.0, kEps);
  EXPECT_NEAR(turned.y, 1.0, kEps);
  const Vec2 mirrored = RotateVector(-1, 0.0, 1.0, {0, 1});
  EXPECT_NEAR(mirrored.x, 1.0, kEps);
  EXPECT_NEAR(mirrored.y, 0.0, kEps);
}

TEST_F(GeometryTest, ComputeLineDirectionSetsTheUnitDirection) {
  g_curFigure = Line({0, 0}, {1, 0});
  g_curFigure.end = {3, 4};
  EXPECT_EQ(ComputeLineDirection(kCurrentFigure), 0);
  EXPECT_DOUBLE_EQ(g_curFigure.dir.x, 0.6);
  EXPECT_DOUBLE_EQ(g_curFigure.dir.y, 0.8);
  EXPECT_DOUBLE_EQ(g_lineLength, 5.0);
}

// A degenerate line after a long one: the long line's length must not be
// reused, which would report "done" with a zero direction.
TEST_F(GeometryTest, DegenerateLineReportsOneAndKeepsItsDirection) {
  const struct {
    Vec2 end;
    int block;
  } cases[] = {
      {{0, 0}, kCurrentFigure},
      {{0.0004, 0}, kCurrentFigure},  // below 0.0005 mm
      {{1e-6, 0}, kCurrentFigure},    // squared length below 1e-11
      {{0, 0}, 7},
      {{0.000009, 0}, 7},  // below 0.00001 mm for a block
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.end.x);
    g_curFigure = Line({0, 0}, {10, 0});
    ASSERT_EQ(ComputeLineDirection(kCurrentFigure), 0);  // leaves a length of 10
    FigureRecord degenerate = Line({0, 0}, {1, 0});
    degenerate.dir = {0.0, -1.0};
    degenerate.end = c.end;
    if (c.block == kCurrentFigure) {
      g_curFigure = degenerate;
    } else {
      *g_figureStore.SegmentBlock(c.block) = degenerate;
    }
    EXPECT_EQ(ComputeLineDirection(c.block), 1);
    const FigureRecord& after = c.block == kCurrentFigure ? g_curFigure : *g_figureStore.SegmentBlock(c.block);
    EXPECT_EQ(after.dir, (Vec2{0.0, -1.0}));
  }
  // A block line just long enough.
  *g_figureStore.SegmentBlock(7) = Line({0, 0}, {0, 0.00002});
  EXPECT_EQ(ComputeLineDirection(7), 0);
  EXPECT_EQ(ComputeLineDirection(56000), 1);  // no such block
}

TEST_F(GeometryTest, ReverseFigureTurnsABlockRound) {
  *g_figureStore.SegmentBlock(3) = Line({1, 2}, {4, 6});
  ReverseFigure(3);
  const FigureRecord& f = *g_figureStore.SegmentBlock(3);
  EXPECT_EQ(f.start, (Vec2{4, 6}));
  EXPECT_EQ(f.end, (Vec2{1, 2}));
  EXPECT_DOUBLE_EQ(f.dir.x, -0.6);
  EXPECT_DOUBLE_EQ(f.dir.y, -0.8);
}

TEST_F(GeometryTest, OffsetFigureMovesLinesLeftAndShrinksArcs) {
  g_curFigure = Line({0, 0}, {10, 0});
  EXPECT_EQ(OffsetFigure(2.0), 0);
  EXPECT_EQ(g_curFigure.start, (Vec2{0, 2}));
  EXPECT_EQ(g_curFigure.end, (Vec2{10, 2}));
  // The offset line keeps its distance from the original.
  EXPECT_EQ(OffsetFigure(-3.0), 0);
  EXPECT_EQ(g_curFigure.start, (Vec2{0, -1}));

  g_curFigure = Circle({0, 0}, 5);
  g_curFigure.start = {5, 0};
  g_curFigure.end = {0, 5};
  EXPECT_EQ(OffsetFigure(2.0), 0);
  EXPECT_DOUBLE_EQ(g_curFigure.radius, 3.0);
  EXPECT_NEAR(g_curFigure.start.x, 3.0, kEps);
  EXPECT_NEAR(g_curFigure.end.y, 3.0, kEps);

  // An arc that would vanish or turn inside out: 1, radius changed anyway.
  g_curFigure = Circle({0, 0}, 5);
  EXPECT_EQ(OffsetFigure(5.0), 1);
  EXPECT_DOUBLE_EQ(g_curFigure.radius, 0.0);
  g_curFigure = Circle({0, 0}, -5);
  EXPECT_EQ(OffsetFigure(-6.0), 1);

  // A clockwise arc grows with a positive distance.
  g_curFigure = Circle({0, 0}, -5);
  EXPECT_EQ(OffsetFigure(1.0), 0);
  EXPECT_DOUBLE_EQ(g_curFigure.radius, -6.0);
  EXPECT_NEAR(g_curFigure.start.x, 6.0, kEps);

  g_curFigure = FigureRecord{};
  EXPECT_EQ(OffsetFigure(1.0), 1);
  g_curFigure.kind = kKindText;
  EXPECT_EQ(OffsetFigure(1.0), 0);
}

TEST_F(GeometryTest, TranslateAndUntranslateAreInverse) {
  g_curFigure = Line({1, 1}, {2, 2});
  g_curFigure.centre = {3, 3};
  g_curFigure.origin = {100, -50};
  TranslateCurrentFigure();
  EXPECT_EQ(g_curFigure.start, (Vec2{101, -49}));
  EXPECT_EQ(g_curFigure.centre, (Vec2{103, -47}));
  UntranslateCurrentFigure();
  EXPECT_EQ(g_curFigure.end, (Vec2{2, 2}));
  EXPECT_EQ(g_curFigure.centre, (Vec2{3, 3}));
}

TEST_F(GeometryTest, ComputeArcAnglesFindsTheMiddleOfTheArc) {
  FigureRecord arc = Circle({0, 0}, 2);
  arc.start = {2, 0};
  arc.end = {0, 2};
  ComputeArcAngles(arc);
  EXPECT_DOUBLE_EQ(arc.dir.x, 0.0);
  EXPECT_DOUBLE_EQ(arc.dir.y, 90.0);
  EXPECT_NEAR(arc.start.x, std::sqrt(2.0), kEps);
  EXPECT_NEAR(arc.start.y, std::sqrt(2.0), kEps);

  // Across 0 degrees: from 270 to 90 the middle lies at 0 degrees.
  arc.start = {0, -2};
  arc.end = {0, 2};
  ComputeArcAngles(arc);
  EXPECT_NEAR(arc.start.x, 2.0, kEps);
  EXPECT_NEAR(arc.start.y, 0.0, kEps);
}

TEST_F(GeometryTest, StepValueSteps) {
  const struct {
    int down;
    double base, value, expected;
  } cases[] = {
      {0, 1500, 1500, 2000}, {0, 150, 150, 151}, {0, 0.5, 0.5, 1.0}, {1, 3000, 3000, 1500},
      {0, 200, 10, 15},      {1, 1, 10, 9},      {1, 0.25, 1, 0.75}, {0, 2000, 0, 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.base);
    EXPECT_DOUBLE_EQ(StepValue(c.down, c.base, c.value), c.expected);
  }
}

TEST_F(GeometryTest, MakeArcFigureStoresNewCirclesAndRefusesDuplicates) {
  *g_figureStore.SegmentBlock(1) = Circle({0, 0}, 3);
  g_figureStore.SegmentBlock(1)->origin = {7, 8};
  g_curFigure = FigureRecord{};
  g_curFigure.centre = {10, 0};
  EXPECT_EQ(MakeArcFigure(-2.0, 6), 0);
  const FigureRecord& stored = *g_figureStore.SegmentBlock(6);
  EXPECT_EQ(stored.kind, kKindArc);
  EXPECT_DOUBLE_EQ(stored.radius, 2.0);
  EXPECT_EQ(stored.start, (Vec2{12, 0}));
  EXPECT_EQ(stored.origin, (Vec2{7, 8}));
  EXPECT_EQ(stored.attribute & kAttrColourMask, 5);

  // The same circle again is refused; the next free block is 7.
  g_curFigure.centre = {10, 0.00005};
  EXPECT_EQ(MakeArcFigure(2.0, 6), 1);
  EXPECT_EQ(g_figureStore.SegmentBlock(7)->kind, kKindEmpty);
  // The picked circle is a duplicate too.
  g_curFigure.centre = {0, 0};
  EXPECT_EQ(MakeArcFigure(3.0005, 6), 1);
  // A different one goes to block 7.
  g_curFigure.centre = {20, 0};
  EXPECT_EQ(MakeArcFigure(2.0, 6), 0);
  EXPECT_EQ(g_figureStore.SegmentBlock(7)->kind, kKindArc);
}

TEST_F(GeometryTest, MakeArcFigureStoresNothingWhenEveryCandidateBlockIsTaken) {
  for (int i = 6; i <= 21; ++i) *g_figureStore.SegmentBlock(i) = Circle({100.0 + i, 0}, 1);
  g_curFigure = FigureRecord{};
  g_curFigure.centre = {0, 0};
  EXPECT_EQ(MakeArcFigure(1.0, 6), kNoFreeBlock);
  EXPECT_EQ(g_figureStore.SegmentBlock(21)->centre, (Vec2{121, 0})) << "the solution in block 21 is kept";
  EXPECT_EQ(g_figureStore.SegmentBlock(22)->kind, kKindEmpty);
  g_figureStore.SegmentBlock(21)->kind = kKindEmpty;
  EXPECT_EQ(MakeArcFigure(1.0, 6), 0);
  EXPECT_EQ(g_figureStore.SegmentBlock(21)->centre, (Vec2{0, 0}));
}

TEST_F(GeometryTest, OffsetReferenceFrameMovesTheLineAndSetsTheRadius) {
  FigureRecord line = Line({0, 0}, {10, 0});
  FigureRecord circle = Circle({0, 0}, 1);
  const FigureRecord base = Circle({0, 0}, 4);
  OffsetReferenceFrame(2.0, 1, line, circle, base);
  EXPECT_EQ(line.start, (Vec2{0, 2}));
  EXPECT_EQ(line.end, (Vec2{10, 2}));
  EXPECT_DOUBLE_EQ(circle.radius, 2.0);
  OffsetReferenceFrame(2.0, 0, line, circle, base);
  EXPECT_DOUBLE_EQ(circle.radius, 6.0);
}

TEST_F(GeometryTest, BuildCornerFigureJoinsTheNewFigureToItsNeighbours) {
  // Chain 5..7: a line along X, the marked block, a line along Y at x = 10.
  *g_figureStore.SegmentBlock(5) = Line({0, 0}, {8, 0});
  FigureRecord mark;
  mark.kind = kKindReplaceMark;
  mark.group = 77;
  mark.choice = 1;
  *g_figureStore.SegmentBlock(6) = mark;
  *g_figureStore.SegmentBlock(7) = Line({10, 12}, {10, 20});
  // The new figure: a diagonal from (6, -2) towards (12, 4).
  *g_figureStore.SegmentBlock(0) = Line({6, -2}, {12, 4});

  BuildCornerFigure(8, 0);
  const FigureRecord& first = *g_figureStore.SegmentBlock(5);
  const FigureRecord& placed = *g_figureStore.SegmentBlock(6);
  const FigureRecord& last = *g_figureStore.SegmentBlock(7);
  EXPECT_EQ(placed.kind, kKindLine);
  EXPECT_EQ(placed.group, 77);  // the marked block's two words stay
  EXPECT_EQ(placed.choice, 1);
  // Consecutive figures meet.
  EXPECT_NEAR(first.end.x, 8.0, kEps);
  EXPECT_NEAR(placed.start.x, 8.0, kEps);
  EXPECT_NEAR(placed.start.y, 0.0, kEps);
  EXPECT_NEAR(placed.end.x, 10.0, kEps);
  EXPECT_NEAR(placed.end.y, 2.0, kEps);
  EXPECT_EQ(last.start, placed.end);
  // The joined line got its direction from its new ends.
  EXPECT_NEAR(last.dir.y, 1.0, kEps);
}

TEST_F(GeometryTest, BuildCornerFigureForAPointElementPlacesAPointOnly) {
  *g_figureStore.SegmentBlock(0) = Circle({3, 4}, 2);
  *g_figureStore.SegmentBlock(5) = Line({0, 0}, {8, 0});
  BuildCornerFigure(6, kKindPointMark);
  const FigureRecord& target = *g_figureStore.SegmentBlock(6);
  EXPECT_EQ(target.kind, kKindPointMark);
  EXPECT_EQ(target.start, (Vec2{3, 4}));
  EXPECT_EQ(g_figureStore.SegmentBlock(5)->end, (Vec2{8, 0}));
}

TEST_F(GeometryTest, ComputeDrawingExtentsWidensPerLayer) {
  DrawingExtents e;
  e.minX.fill(99999999);
  e.minY.fill(99999999);
  e.maxX.fill(-99999999);
  e.maxY.fill(-99999999);
  g_figureTableSelector = 4;
  g_curFigure = Line({-3, 2}, {5, 9});
  ASSERT_TRUE(AppendFigure(0));
  g_curFigure = Circle({0, 0}, 100);  // counts by its end points only
  g_curFigure.start = {100, 0};
  g_curFigure.end = {0, -100};
  ASSERT_TRUE(AppendFigure(0));
  g_figureTableSelector = 9;
  ComputeDrawingExtents(e);
  EXPECT_EQ(g_figureTableSelector, 9);
  EXPECT_DOUBLE_EQ(e.minX[4], -3);
  EXPECT_DOUBLE_EQ(e.maxX[4], 100);
  EXPECT_DOUBLE_EQ(e.minY[4], -100);
  EXPECT_DOUBLE_EQ(e.maxY[4], 9);
  EXPECT_DOUBLE_EQ(e.minX[0], 99999999);  // an empty layer stays as set up
}

}  // namespace
}  // namespace dorn
