// Painting of single figures: pens from the colour word, points, lines with
// their clipping, arcs and circles, in each projection.
#include <gtest/gtest.h>

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using platform::PrimitiveKind;

class PaintingFiguresTest : public test::ViewTest {
 protected:
  static FigureRecord Line(double x1, double y1, double x2, double y2, int attribute) {
    FigureRecord f;
    f.kind = kKindLine;
    f.attribute = attribute;
    f.start = {x1, y1};
    f.end = {x2, y2};
    return f;
  }
  // Draws f through DrawFigure in its own colour and returns the pen of the
  // first line drawn.
  platform::Pen PenOf(const FigureRecord& f) {
    dc.ClearPrimitives();
    g_view.m_curPen = kPenUnknown;
    g_curFigure = f;
    DrawFigure(f.attribute & 0xFF, dc);
    const auto lines = Recorded(PrimitiveKind::Polyline);
    EXPECT_EQ(lines.size(), 1u);
    return lines.empty() ? platform::Pen{} : lines[0].pen;
  }
};

TEST_F(PaintingFiguresTest, PenIIsPaletteColourIOnScreenAndOnPaper) {
  for (int c : {0, 1, 5, 31}) {
    const platform::Pen pen = PenOf(Line(0, 0, 10, 10, c));
    EXPECT_EQ(pen.color, PaletteColors[c]) << c;
    EXPECT_EQ(pen.width, 1);
    EXPECT_EQ(pen.style, platform::PenStyle::Solid);
  }
  g_view.m_printing = true;
  for (int c : {0, 1, 5, 31}) EXPECT_EQ(PenOf(Line(0, 0, 10, 10, c)).color, PaletteColors[c]) << c;
}

TEST_F(PaintingFiguresTest, ColourIndexesBeyondThePaletteFoldBackIntoIt) {
  const struct { int colour, expected; } cases[] = {{32, 1}, {62, 31}, {63, 1}, {0x105, 5}, {255, 7}};
  for (const auto& c : cases) {
    g_curFigure = Line(0, 0, 10, 10, 2);
    EXPECT_EQ(FigurePaintColour(c.colour), c.expected) << c.colour;
  }
}

TEST_F(PaintingFiguresTest, ThickAndBrokenLineTypesGetPensOfTheirOwn) {
  const struct {
    int attribute;
    bool printing;
    int width;
    platform::PenStyle style;
  } cases[] = {
      {0x0102, false, 3, platform::PenStyle::Solid},   {0x1002, false, 1, platform::PenStyle::Dot},
      {0x2002, false, 1, platform::PenStyle::DashDot}, {0x4002, false, 1, platform::PenStyle::DashDotDot},
      {0x1102, false, 3, platform::PenStyle::Dot},     {0x8002, false, 1, platform::PenStyle::Solid},
      {0x0102, true, 6, platform::PenStyle::Solid},    {0x0002, true, 1, platform::PenStyle::Solid},
      {0x3002, false, 1, platform::PenStyle::Dot},
  };
  for (const auto& c : cases) {
    g_view.m_printing = c.printing;
    const platform::Pen pen = PenOf(Line(0, 0, 10, 10, c.attribute));
    EXPECT_EQ(pen.width, c.width) << std::hex << c.attribute;
    EXPECT_EQ(pen.style, c.style) << std::hex << c.attribute;
    EXPECT_EQ(pen.color, PaletteColors[2]);
    EXPECT_EQ(g_view.m_curPen, kPenMade) << std::hex << c.attribute;
    // The made pen is taken back after the figure, and the attribute restored.
    EXPECT_EQ(dc.CurrentPen(), platform::Pen{}) << std::hex << c.attribute;
    EXPECT_EQ(g_curFigure.attribute, c.attribute);
  }
}

TEST_F(PaintingFiguresTest, PlainFiguresReuseTheTablePenUntilTheColourChanges) {
  g_view.m_curPen = kPenUnknown;
  for (int c : {4, 4, 4}) {
    g_curFigure = Line(0, 0, 10, 10, c);
    DrawFigure(c, dc);
  }
  EXPECT_EQ(g_view.m_curPen, 4);
  EXPECT_EQ(dc.CurrentPen(), PenForColour(4));
  // A dimension figure is always drawn one pixel wide.
  FigureRecord dim = Line(0, 0, 10, 0, 0x0103);
  dim.kind = 53250;
  EXPECT_EQ(PenOf(dim).width, 1);
}

TEST_F(PaintingFiguresTest, PrintColourModesGiveColourZeroOrDimmedColours) {
  g_view.m_printing = true;
  g_printColourMode = kPrintAllColourZero;
  EXPECT_EQ(PenOf(Line(0, 0, 10, 10, 5)).color, PaletteColors[0]);
  g_printColourMode = kPrintDimmed;
  EXPECT_EQ(PenOf(Line(0, 0, 10, 10, 5)).color, (PaletteColors[5] >> 1) & 0x7F7F7F);
  // On the screen both modes are ignored.
  g_view.m_printing = false;
  EXPECT_EQ(PenOf(Line(0, 0, 10, 10, 5)).color, PaletteColors[5]);
}

TEST_F(PaintingFiguresTest, FiguresOfAnotherOriginTakeTheOtherOriginColourUnlessHighlighted) {
  g_originTable[0][0] = {0, 0};
  FigureRecord f = Line(0, 0, 10, 10, 5);
  f.origin = {50, 0};
  const struct { int table, colour, expected; } cases[] = {{0, 5, 13}, {8, 5, 13}, {9, 5, 14}, {90, 5, 14}, {0, 3, 3}};
  for (const auto& c : cases) {
    g_figureTableSelector = c.table;
    g_curFigure = f;
    EXPECT_EQ(FigurePaintColour(c.colour), c.expected) << c.table << " " << c.colour;
  }
  f.origin = {};
  g_curFigure = f;
  EXPECT_EQ(FigurePaintColour(5), 5);
}

TEST_F(PaintingFiguresTest, LinesOutsideTheWindowAreLeftOutAndFarLinesClipped) {
  const struct {
    const char* name;
    FigureRecord line;
    size_t drawn;
  } cases[] = {
      {"inside", Line(-10, -10, 10, 10, 2), 1},           {"both above", Line(-10, 80, 10, 90, 2), 0},
      {"both left", Line(-150, 0, -120, 10, 2), 0},       {"both right", Line(101, 0, 200, 10, 2), 0},
      {"both below", Line(-10, -76, 10, -200, 2), 0},     {"far through", Line(-1e6, 1, 1e6, 1, 2), 1},
      {"far diagonal", Line(-1e7, -1e7, 1e7, 1e7, 2), 1},
  };
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    g_curFigure = c.line;
    DrawFigure(2, dc);
    const auto lines = Recorded(PrimitiveKind::Polyline);
    ASSERT_EQ(lines.size(), c.drawn) << c.name;
    if (lines.empty()) continue;
    // What is drawn lies on the line and within reach of the window.
    for (const platform::Point& p : lines[0].points) {
      EXPECT_LT(std::abs(p.x - 400), 2000) << c.name;
      EXPECT_LT(std::abs(p.y - 300), 2000) << c.name;
      const Vec2 m = ScreenToWorld(p);
      const FigureRecord& l = c.line;
      const double cross = (l.end.x - l.start.x) * (m.y - l.start.y) - (l.end.y - l.start.y) * (m.x - l.start.x);
      EXPECT_LT(std::fabs(cross) / std::hypot(l.end.x - l.start.x, l.end.y - l.start.y), 0.5) << c.name;
    }
    // And it crosses the whole window.
    if (c.line.start.x < -1e5) {
      EXPECT_LT(std::min(lines[0].points[0].x, lines[0].points[1].x), 0) << c.name;
      EXPECT_GT(std::max(lines[0].points[0].x, lines[0].points[1].x), 800) << c.name;
    }
  }
}

TEST_F(PaintingFiguresTest, CircleClippingKeepsOnlyTheSegmentsOwnPart) {
  const struct {
    double x1, y1, x2, y2;
    bool visible;
    double ex1, ey1, ex2, ey2;
  } cases[] = {
      {-200, 0, 200, 0, true, -100, 0, 100, 0},  // both outside: between the intersections
      {0, 0, 200, 0, true, 0, 0, 100, 0},        // one inside: up to the intersection
      {150, 0, 300, 0, false, 0, 0, 0, 0},       // outside on one side: nothing, not the chord
      {-200, 150, 200, 150, false, 0, 0, 0, 0},  // misses the circle
      {-200, 100, 200, 100, false, 0, 0, 0, 0},  // touches it: fewer than two points
  };
  for (const auto& c : cases) {
    double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    ASSERT_EQ(ClipLineToCircle(0, 0, 100, x1, y1, x2, y2), c.visible) << c.x1 << " " << c.y1;
    if (!c.visible) continue;
    EXPECT_NEAR(x1, c.ex1, 1e-9);
    EXPECT_NEAR(y1, c.ey1, 1e-9);
    EXPECT_NEAR(x2, c.ex2, 1e-9);
    EXPECT_NEAR(y2, c.ey2, 1e-9);
  }
}

TEST_F(PaintingFiguresTest, ArcPointsLieOnTheCircleAndEndExactlyAtTheEnd) {
  // The last circle needs some 1600 points, each turned on from the one before.
  const struct {
    double r, a0, a1;
  } cases[] = {{20, 0, 90}, {20, 90, 0}, {5, 350, 10}, {60, 0, 0}, {-20, 90, 0}, {1000, 10, 10}};
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    FigureRecord f;
    f.kind = kKindArc;
    f.attribute = 3;
    f.centre = {10, 5};
    f.radius = c.r;
    const double k = 0.017453292519943295, r = std::fabs(c.r);
    f.start = {10 + r * std::cos(c.a0 * k), 5 + r * std::sin(c.a0 * k)};
    f.end = {10 + r * std::cos(c.a1 * k), 5 + r * std::sin(c.a1 * k)};
    g_curFigure = f;
    DrawFigure(3, dc);
    const auto runs = Recorded(PrimitiveKind::Polyline);
    ASSERT_FALSE(runs.empty()) << c.r << " " << c.a0;
    const platform::Point centre = WorldToScreen(10, 5, 0);
    for (const auto& run : runs)
      for (const platform::Point& p : run.points)
        EXPECT_NEAR(std::hypot(p.x - centre.x, p.y - centre.y), r * 4, 1.5) << c.r << " " << c.a0;
    // Counter-clockwise from the start, or from the end of a clockwise arc.
    const FigureRecord& g = g_curFigure;
    const Vec2 first = c.r < 0 ? g.end : g.start, last = c.r < 0 ? g.start : g.end;
    EXPECT_EQ(runs.front().points.front(), WorldToScreen(first.x, first.y, 0));
    EXPECT_EQ(runs.back().points.back(), WorldToScreen(last.x, last.y, 0));
  }
}

TEST_F(PaintingFiguresTest, ClockwiseArcFollowsTheSamePathAsItsTwin) {
  auto draw = [this](double radius, Vec2 start, Vec2 end) {
    dc.ClearPrimitives();
    FigureRecord f;
    f.kind = kKindArc;
    f.centre = {0, 0};
    f.radius = radius;
    f.start = start;
    f.end = end;
    g_curFigure = f;
    DrawFigure(3, dc);
    std::vector<platform::Point> all;
    for (const auto& run : Recorded(PrimitiveKind::Polyline))
      all.insert(all.end(), run.points.begin(), run.points.end());
    return all;
  };
  const auto ccw = draw(30, {30, 0}, {0, 30});
  const auto cw = draw(-30, {0, 30}, {30, 0});
  EXPECT_EQ(ccw, cw);
}

TEST_F(PaintingFiguresTest, ArcsTooSmallOrOutsideDrawNothingAndLongArcsFlushInJoinedRuns) {
  FigureRecord f;
  f.kind = kKindArc;
  f.radius = 0.1;  // 0.4 pixels: radius 0 on the screen
  f.start = f.end = {0.1, 0};
  g_curFigure = f;
  DrawFigure(3, dc);
  EXPECT_TRUE(dc.Primitives().empty());

  f.centre = {500, 0};  // wholly right of the window
  f.radius = 10;
  f.start = f.end = {510, 0};
  g_curFigure = f;
  DrawFigure(3, dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polyline).empty());

  // A large circle on a large zoom needs many points: runs of at most 301
  // points, each starting where the last one ended.
  g_layerScale[0] = 1000;
  UpdateViewTransform();
  f.centre = {0, 0};
  f.radius = 5;
  f.start = f.end = {5, 0};
  g_curFigure = f;
  DrawFigure(3, dc);
  const auto runs = Recorded(PrimitiveKind::Polyline);
  ASSERT_GT(runs.size(), 1u);
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_LE(runs[i].points.size(), 301u);
    if (i > 0) {
      EXPECT_EQ(runs[i].points.front(), runs[i - 1].points.back());
    }
  }
}

TEST_F(PaintingFiguresTest, ArcReachingFarOutsideIsDrawnInRunsInsideTheWindowLimit) {
  // A circle of 5 km on a scale of 100: most of it far beyond the window.
  FigureRecord f;
  f.kind = kKindArc;
  f.centre = {0, -5000};
  f.radius = 5000;
  f.start = f.end = {5000, -5000};
  g_curFigure = f;
  DrawFigure(3, dc);
  const auto runs = Recorded(PrimitiveKind::Polyline);
  ASSERT_FALSE(runs.empty());
  for (const auto& run : runs)
    for (const platform::Point& p : run.points) {
      EXPECT_LT(std::abs(p.x), 8480);
      EXPECT_LT(std::abs(p.y), 8480);
    }
}

TEST_F(PaintingFiguresTest, DirectionArrowsPointAlongTheTravelAndAreDrawnOncePerCurve) {
  g_showCurveArrows = 1;
  const struct {
    const char* name;
    double radius;
    Vec2 start, end;
    int baseSide;  // sign of (base - tip).x
  } cases[] = {
      {"line to the right", 0, {-20, 0}, {20, 0}, -1},
      {"counter-clockwise arc, leftward at its end", 20, {20, 0}, {0, 20}, 1},
      {"clockwise arc, rightward at its end", -20, {-20, 0}, {0, 20}, -1},
  };
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    FigureRecord f;
    f.kind = c.radius == 0 ? kKindLine : kKindArc;
    f.radius = c.radius;
    f.start = c.start;
    f.end = c.end;
    f.dir = {1, 0};
    g_curFigure = f;
    g_view.m_arrowCounter = 500;
    DrawFigure(2, dc);
    const auto arrows = Recorded(PrimitiveKind::Polygon);
    ASSERT_EQ(arrows.size(), 1u) << c.name;
    const platform::Point tip = WorldToScreen(c.end.x, c.end.y, 0);
    EXPECT_EQ(arrows[0].points[0], tip) << c.name;
    const int baseX = (arrows[0].points[1].x + arrows[0].points[2].x) / 2;
    EXPECT_EQ(baseX > tip.x ? 1 : -1, c.baseSide) << c.name;
    EXPECT_EQ(arrows[0].brush.color, PaletteColors[2]);
    EXPECT_EQ(g_view.m_arrowCounter, 0) << c.name;
    // The counter is spent: the next figure of the curve gets no arrow.
    dc.ClearPrimitives();
    DrawFigure(2, dc);
    EXPECT_TRUE(Recorded(PrimitiveKind::Polygon).empty()) << c.name;
  }
  // No arrows while dragging.
  g_view.m_zoomDrag = 1;
  g_view.m_arrowCounter = 500;
  dc.ClearPrimitives();
  g_curFigure = Line(-20, 0, 20, 0, 2);
  DrawFigure(2, dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polygon).empty());
}

TEST_F(PaintingFiguresTest, PointMarksAreFilledCirclesInsideTheWindowOnly) {
  const struct {
    int kind;
    bool printing;
    Vec2 at;
    int radius;  // 0: nothing drawn
  } cases[] = {{kKindPoint, false, {0, 0}, 3},
               {kKindPointMark, false, {0, 0}, 4},
               {kKindCurvePoint, false, {10, 0}, 3},
               {kKindCurvePointAngle, true, {0, 0}, 0},
               {kKindPoint, false, {200, 0}, 0}};
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    g_view.m_printing = c.printing;
    FigureRecord f;
    f.kind = c.kind;
    f.attribute = 9;
    f.start = c.at;
    g_curFigure = f;
    DrawFigure(9, dc);
    const auto ellipses = Recorded(PrimitiveKind::Ellipse);
    if (c.radius == 0) {
      EXPECT_TRUE(ellipses.empty()) << c.kind;
      continue;
    }
    ASSERT_EQ(ellipses.size(), 1u) << c.kind;
    const platform::Point p = WorldToScreen(c.at.x, c.at.y, 0);
    EXPECT_EQ(ellipses[0].rect, (platform::Rect{p.x - c.radius, p.y - c.radius, p.x + c.radius, p.y + c.radius}));
    EXPECT_EQ(ellipses[0].brush.color, PaletteColors[9]);
  }
}

TEST_F(PaintingFiguresTest, LinesAtDepthInEachProjection) {
  g_projectionCentre = {0, 0};
  const FigureRecord f = [] {
    FigureRecord r = Line(10, 20, 30, 20, 2);
    r.depth = -5;
    return r;
  }();
  const struct {
    int projection;
    Vec2 a, b;  // plane points in mm
  } cases[] = {{kProjectionXY, {10, 20}, {30, 20}},
               {kProjectionXZ, {10, -5}, {30, -5}},
               {kProjectionYZ, {20, -5}, {20, -5}},
               {kProjectionArrow, {10, -5}, {30, -5}}};
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    g_projection = c.projection;
    BuildArrowViewMatrix();
    g_curFigure = f;
    DrawFigure(2, dc);
    const auto lines = Recorded(PrimitiveKind::Polyline);
    ASSERT_EQ(lines.size(), 1u) << c.projection;
    EXPECT_EQ(lines[0].points[0], WorldToScreenRaw(c.a.x, c.a.y)) << c.projection;
    EXPECT_EQ(lines[0].points[1], WorldToScreenRaw(c.b.x, c.b.y)) << c.projection;
  }
}

}  // namespace
}  // namespace dorn
