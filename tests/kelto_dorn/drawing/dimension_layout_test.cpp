// The layout of a dimension at the cursor, per kind and cursor side, against
// positions worked out by hand.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/drawing/dimension_layout.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr double kTol = 1e-4;

class DimensionLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    style.textSize = 5.0;
    style.dimPrecision = 0;
    style.dimLineColor = 21;
    text.size = 5.0f;
  }
  DimensionLayout At(int command, Vec2 cursor) { return LayoutDimension(command, item, cursor, text, style); }
  static FigureRecord LineFigure(Vec2 a, Vec2 b) {
    FigureRecord f;
    f.kind = kKindLine;
    f.start = a;
    f.end = b;
    return f;
  }

  DimensionStyle style;
  TextRecord text;
  DimensionItem item;
};

void ExpectLine(const FigureRecord& f, std::int32_t kind, Vec2 a, Vec2 b) {
  EXPECT_EQ(f.kind, kind);
  EXPECT_NEAR(f.start.x, a.x, kTol);
  EXPECT_NEAR(f.start.y, a.y, kTol);
  EXPECT_NEAR(f.end.x, b.x, kTol);
  EXPECT_NEAR(f.end.y, b.y, kTol);
}

void ExpectText(const TextRecord& t, const std::string& value, Vec2 base, double angle) {
  EXPECT_EQ(std::string(t.text), value);
  EXPECT_NEAR(t.baseX, base.x, kTol);
  EXPECT_NEAR(t.baseY, base.y, kTol);
  EXPECT_NEAR(t.angle, angle, kTol);
}

TEST_F(DimensionLayoutTest, HorizontalAndVerticalFollowTheCursorSide) {
  item.work.start = {0, 0};
  item.work.end = {100, 10};
  // Below both points: the extension lines run down to 2 below the cursor.
  DimensionLayout l = At(dim::kHorizontal, {50, -20});
  ExpectLine(l.figures[0], kDimExtensionLine, {0, -0.5}, {0, -22});
  ExpectLine(l.figures[1], kDimExtensionLine, {100, 9.5}, {100, -22});
  ExpectLine(l.figures[2], kDimArrowLine, {0, -20}, {100, -20});
  ExpectText(l.text, "100", {50 - 9.375 / 2, -19.7}, 0);
  // Above: from 0.5 above each point to 2 above the cursor.
  l = At(dim::kHorizontal, {50, 30});
  ExpectLine(l.figures[0], kDimExtensionLine, {0, 0.5}, {0, 32});
  ExpectLine(l.figures[1], kDimExtensionLine, {100, 10.5}, {100, 32});

  item.work.end = {10, 40};
  l = At(dim::kVertical, {30, 5});
  ExpectLine(l.figures[0], kDimExtensionLine, {0.5, 0}, {32, 0});
  ExpectLine(l.figures[1], kDimExtensionLine, {10.5, 40}, {32, 40});
  ExpectLine(l.figures[2], kDimArrowLine, {30, 0}, {30, 40});
  ExpectText(l.text, "40", {29.7, 20 - 6.25 / 2}, 90);
}

TEST_F(DimensionLayoutTest, AlignedStandsOffTowardTheCursor) {
  item.work.start = {0, 0};
  item.work.end = {30, 40};  // length 50, d = (0.6, 0.8), left normal (-0.8, 0.6)
  DimensionLayout l = At(dim::kAligned, {0, 10});  // 6 to the left of d
  ExpectLine(l.figures[0], kDimExtensionLine, {-0.4, 0.3}, {-4.8, 3.6});
  ExpectLine(l.figures[1], kDimExtensionLine, {30 - 0.4, 40.3}, {25.2, 43.6});
  ExpectLine(l.figures[2], kDimArrowLine, {-2.0, 1.5}, {28.0, 41.5});
  // e1 - 3 n + (25 - 3.125) d
  ExpectText(l.text, "50", {-2.4 + 21.875 * 0.6, 1.8 + 21.875 * 0.8}, std::atan2(0.8, 0.6) * 57.29577951308232);
  // On the right side the normal turns and the text sits 4 back.
  l = At(dim::kAligned, {6, -8});  // cross = 0.6 * -8 - 0.8 * 6 = -9.6
  ExpectLine(l.figures[0], kDimExtensionLine, {0.4, -0.3}, {9.6 * 0.8, -9.6 * 0.6});
  EXPECT_NEAR(l.text.baseX, 9.6 * 0.8 - 4 * 0.8 + 21.875 * 0.6, kTol);
}

TEST_F(DimensionLayoutTest, DiameterAndRadiusTurnTheirTextToBeReadable) {
  item.work.centre = {50, 30};
  item.work.radius = 10;
  item.fixedText = platform::Sjis("φ") + "20";
  const double w = 5 * 0.625 * item.fixedText.size();
  // Cursor left of the centre: 180 degrees reads as 0, still centred.
  DimensionLayout l = At(dim::kDiameter, {20, 30});
  ExpectLine(l.figures[0], kDimArrowLine, {60, 30}, {40, 30});
  ExpectText(l.text, item.fixedText, {50 - w / 2, 30.2}, 0);
  EXPECT_EQ(l.figures[1].kind, 0);

  item.work.centre = {0, 0};
  item.fixedText = "R10";
  l = At(dim::kRadius, {0, 30});
  ExpectLine(l.figures[0], kDimRadiusLine, {0, 30}, {0, 10});
  ExpectText(l.text, "R10", {-0.2, 30}, 90);  // near upright: moved left
}

TEST_F(DimensionLayoutTest, AngleMeasuresTheSectorOfTheCursor) {
  item.work.start = {10, 0};
  item.work.end = {0, 10};
  item.work.centre = {0, 0};
  DimensionLayout l = At(dim::kAngle, {5, 5});
  const double r = std::hypot(5.0, 5.0) - 2.0;
  EXPECT_EQ(l.figures[2].kind, kDimAngleArc);
  ExpectLine(l.figures[2], kDimAngleArc, {r, 0}, {0, r});
  ExpectLine(l.figures[0], kDimExtensionLine, {0, 0}, {10, 0});
  const std::string degree = platform::Sjis("°");
  EXPECT_EQ(std::string(l.text.text), "90" + degree);
  EXPECT_NEAR(l.text.angle, 315, kTol);  // tangent at the 45-degree mid-angle
  const double half = 5 * 0.625 * (2 + degree.size()) / 2;
  const double c = std::sqrt(0.5);
  EXPECT_NEAR(l.text.baseX, r * c - half * c, kTol);
  EXPECT_NEAR(l.text.baseY, r * c + half * c, kTol);
  // The cursor outside the 90 degrees measures the other 270.
  l = At(dim::kAngle, {-5, -5});
  EXPECT_EQ(std::string(l.text.text), "270" + degree);

  // Two lines: the sector that holds the cursor, the lines not drawn again.
  item.anglePick = AnglePick::kTwoLines;
  item.work.dir = {1, 0};
  item.other.dir = {0, 1};
  l = At(dim::kAngle, {-5, 5});
  EXPECT_EQ(std::string(l.text.text), "90" + degree);
  EXPECT_EQ(l.figures[0].kind, 0);
  EXPECT_NEAR(l.figures[2].start.x, 0, kTol);
}

TEST_F(DimensionLayoutTest, OrdinatesAndLeadersByCursorSide) {
  item.work.start = {10, 5};
  DimensionLayout l = At(dim::kOrdinateX, {40, 30});
  ExpectLine(l.figures[0], kDimExtensionLine, {10, 5.5}, {10, 30});
  ExpectText(l.text, "X10", {10.2, 30}, -90);
  l = At(dim::kOrdinateX, {40, -30});
  ExpectText(l.text, "X10", {9.8, -30}, 90);
  l = At(dim::kOrdinateY, {40, 30});
  ExpectLine(l.figures[0], kDimExtensionLine, {10.5, 5}, {40, 5});
  ExpectText(l.text, "Y5", {25, 5.2}, 0);
  l = At(dim::kOrdinateY, {-40, 30});
  ExpectText(l.text, "Y5", {-40, 5.2}, 0);

  item.work.start = {0, 0};
  l = At(dim::kLeader, {-10, 10});  // left: the shelf runs left for 50 + 3
  ExpectLine(l.figures[0], kDimLeaderLine, {0, 0}, {-10, 10});
  ExpectLine(l.figures[1], kDimExtensionLine, {-10, 10}, {-63, 10});
  EXPECT_NEAR(l.text.baseX, -60.6, kTol);
  l = At(dim::kLeader, {0, 10});  // straight above: to the right
  ExpectLine(l.figures[1], kDimExtensionLine, {0, 10}, {53, 10});
  ExpectText(l.text, "", {1.4, 10.2}, 0);

  item.work.start = {3, 4};
  l = At(dim::kCoordinate, {13, 4});
  ExpectLine(l.figures[0], kDimLeaderLine, {3.5, 4}, {13, 4});
  ExpectLine(l.figures[1], kDimExtensionLine, {13, 4}, {13 + 7 * 3.125 + 3, 4});
  ExpectText(l.text, "(3 , 4)", {14.4, 4.2}, 0);
}

TEST_F(DimensionLayoutTest, DistancesMeetTheFiguresAtRightAngles) {
  item.work.start = {0, 10};
  item.other = LineFigure({-50, 0}, {50, 0});
  DimensionLayout l = At(dim::kPointToFigure, {20, 20});
  ExpectLine(l.figures[0], kDimArrowLine, {0, 10}, {0, 0});
  ExpectText(l.text, "10", {0, 5 - 3.125 + 0.2}, 90);

  item.work.start = {0, 0};
  item.other = FigureRecord{};
  item.other.kind = kKindArc;
  item.other.centre = {20, 0};
  item.other.radius = 5;
  item.other.start = item.other.end = {25, 0};
  l = At(dim::kPointToFigure, {0, 0});
  ExpectLine(l.figures[0], kDimArrowLine, {0, 0}, {15, 0});

  item.other = LineFigure({0, 0}, {100, 0});
  item.work = LineFigure({0, 20}, {100, 20});
  l = At(dim::kBetweenFigures, {30, 50});
  ExpectLine(l.figures[0], kDimArrowLine, {30, 0}, {30, 20});
  ExpectText(l.text, "20", {30, 10 - 3.125 + 0.2}, 90);
}

TEST_F(DimensionLayoutTest, TheTextFrameSurroundsTheValue) {
  item.work.start = {0, 0};
  item.work.end = {100, 10};
  const DimensionLayout l = At(dim::kHorizontal, {50, -20});
  const double x0 = 50 - 9.375 / 2;
  ExpectLine(l.frame[0], kDimExtensionLine, {x0, -19.7}, {x0 + 9.375, -19.7});
  ExpectLine(l.frame[1], kDimExtensionLine, {x0, -19.7 + 6.25}, {x0 + 9.375, -19.7 + 6.25});
  ExpectLine(l.frame[2], kDimExtensionLine, {x0, -19.7}, {x0, -19.7 + 6.25});
}

TEST(PickPointInsideArc, ChoosesTheCandidateInsideTheSpan) {
  FigureRecord arc;
  arc.kind = kKindArc;
  arc.centre = {0, 0};
  arc.radius = 10;
  arc.start = {10, 0};
  arc.end = {0, 10};
  const Vec2 outside{-10, 0}, inside{7.0710678, 7.0710678};
  EXPECT_EQ(PickPointInsideArc(arc, outside, inside), inside);
  EXPECT_EQ(PickPointInsideArc(arc, inside, outside), inside);
  // Clockwise: the span runs from the end round to the start.
  arc.radius = -10;
  std::swap(arc.start, arc.end);
  EXPECT_EQ(PickPointInsideArc(arc, outside, inside), inside);
}

}  // namespace
}  // namespace dorn
