// Painting of a whole layer: a small drawing of every figure kind, curves
// with their names, texts and dimensions, in each projection; the layer
// overview, the drag limit, the grid, faulty curves and the calls into the
// drawing commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/curve_text_painter.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "platform/text.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using platform::Point;
using platform::PrimitiveKind;

class PaintingDrawingTest : public test::ViewTest {
 protected:
  // The small drawing: a line, an arc, a circle, a point, a thick dashed
  // line, a linear and a radius dimension on layer 0; a curve with its name;
  // a text.
  void MakeSmallDrawing() {
    AddLine(-40, 30, 40, 30, 2);
    AddArc(0, 0, 20, 0, 90, 3);
    AddArc(-50, -10, 8, 0, 0, 4);
    FigureRecord point;
    point.kind = kKindPoint;
    point.attribute = 5;
    point.start = {60, 10};
    AddFigure(point);
    AddLine(-40, -40, 40, -40, 0x1100 | 6);
    FigureRecord linear;
    linear.kind = 54018;
    linear.attribute = 21;
    linear.start = {-30, -60};
    linear.end = {30, -60};
    AddFigure(linear);
    FigureRecord radius;
    radius.kind = 53762;
    radius.attribute = 21;
    radius.start = {0, 0};
    radius.end = {14.142135623730951, 14.142135623730951};
    AddFigure(radius);

    g_figureTableSelector = kTableCurves;
    FigureRecord c;
    c.kind = kKindLine;
    c.attribute = 6;
    c.start = {-60, 50};
    c.end = {-20, 50};
    c.dir = {1, 0};
    g_curFigure = c;
    ASSERT_TRUE(AppendFigure(0));
    g_curveTable[0] = CurveRecord{};
    g_curveTable[0].layer = 0;
    g_curveTable[0].key = 1;
    g_curveTable[0].end = 1;
    g_curveTable[0].colour = 6;
    std::strcpy(g_curveTable[0].name, "P1");
    g_curveCount = 1;
    g_showCurveArrows = kCurveArrowNames;

    for (int i = 0; i < 3; ++i) g_textRecords[i].layer = kTextLayerHidden;
    TextRecord& t = g_textRecords[3];
    t.layer = 0;
    t.colour = 7;
    t.size = 5;
    t.angle = 30;
    t.baseX = 10;
    t.baseY = -20;
    SetTextRecordText(t, "ABC");
    g_textRecords[4].layer = kTextRecordFree;
    g_figureTableSelector = 0;
  }

  bool HasSegment(Point a, Point b) const {
    for (const auto& p : Recorded(PrimitiveKind::Polyline))
      if (p.points.size() == 2 && ((p.points[0] == a && p.points[1] == b) || (p.points[0] == b && p.points[1] == a)))
        return true;
    return false;
  }
  // Open arrow heads: three-point polylines with their tip in the middle.
  std::vector<Point> ArrowTips() const {
    std::vector<Point> tips;
    for (const auto& p : Recorded(PrimitiveKind::Polyline))
      if (p.points.size() == 3) tips.push_back(p.points[1]);
    return tips;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& p : Recorded(PrimitiveKind::Text)) out.push_back(p.text);
    return out;
  }
};

TEST_F(PaintingDrawingTest, SmallDrawingInEachProjection) {
  MakeSmallDrawing();
  const struct {
    int projection;
    bool planView;  // XY and arrow view show the free text
  } cases[] = {{kProjectionXY, true}, {kProjectionXZ, false}, {kProjectionYZ, false}, {kProjectionArrow, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.projection);
    dc.ClearPrimitives();
    g_projection = c.projection;
    PaintAllDrawings(dc);
    auto plane = [&c](double x, double y) {
      // Every figure lies at depth 0 and the projection centre is 0.
      switch (c.projection) {
        case kProjectionXY:
          return WorldToScreenRaw(x, y);
        case kProjectionYZ:
          return WorldToScreenRaw(y, 0);
        default:
          return WorldToScreenRaw(x, 0);
      }
    };
    // The line, the dashed thick line with its own pen, and the curve figure.
    EXPECT_TRUE(HasSegment(plane(-40, 30), plane(40, 30)));
    bool dashedThick = false;
    for (const auto& p : Recorded(PrimitiveKind::Polyline))
      if (p.pen.style == platform::PenStyle::Dot && p.pen.width == 3 && p.pen.color == PaletteColors[6])
        dashedThick = true;
    EXPECT_TRUE(dashedThick);
    EXPECT_TRUE(HasSegment(plane(-60, 50), plane(-20, 50)));
    // The point mark.
    ASSERT_EQ(Recorded(PrimitiveKind::Ellipse).size(), 1u);
    // The arc and the circle: polylines of many points in their colours.
    int arcs = 0, circles = 0;
    for (const auto& p : Recorded(PrimitiveKind::Polyline)) {
      if (p.points.size() > 3 && p.pen.color == PaletteColors[3]) ++arcs;
      if (p.points.size() > 3 && p.pen.color == PaletteColors[4]) ++circles;
    }
    EXPECT_GE(arcs, 1);
    EXPECT_GE(circles, 1);
    // Dimensions: the linear one has heads at both ends, the radius one at
    // the circle.
    const auto tips = ArrowTips();
    EXPECT_NE(std::find(tips.begin(), tips.end(), plane(-30, -60)), tips.end());
    EXPECT_NE(std::find(tips.begin(), tips.end(), plane(30, -60)), tips.end());
    EXPECT_NE(std::find(tips.begin(), tips.end(), plane(14.142135623730951, 14.142135623730951)), tips.end());
    EXPECT_EQ(tips.size(), 3u);
    // The curve's name in every projection, its arrow triangle only in the
    // XY view, the free text only in the plan views.
    const auto texts = Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "P1"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "ABC"), c.planView ? 1 : 0);
    EXPECT_EQ(Recorded(PrimitiveKind::Polygon).size(), c.projection == kProjectionXY ? 1u : 0u);
  }
}

TEST_F(PaintingDrawingTest, TextFontFollowsZoomSliderAndProjection) {
  MakeSmallDrawing();
  const struct {
    int projection;
    double tilt;
    double scale;
    int slider;
    int height, escapement;
    bool drawn;
  } cases[] = {
      {kProjectionXY, 0, 100, 5, 25, 300, true},
      {kProjectionXY, 0, 300, 2, 30, 300, true},
      // Untilted, the arrow view sees the text's base edge-on: along X.
      {kProjectionArrow, 0, 100, 5, 25, 0, true},
      // Tilted a quarter about X, it sees the text from above.
      {kProjectionArrow, 90, 100, 5, 25, 300, true},
      {kProjectionXY, 0, 3, 5, 0, 0, false},  // below 2 logical units high
  };
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    g_projection = c.projection;
    g_arrowAngles = {0.0, c.tilt};
    g_layerScale[0] = c.scale;
    g_dimTextSlider = c.slider;
    PaintAllDrawings(dc);
    const auto texts = Recorded(PrimitiveKind::Text);
    const auto it = std::find_if(texts.begin(), texts.end(), [](const auto& p) { return p.text == "ABC"; });
    ASSERT_EQ(it != texts.end(), c.drawn) << c.scale;
    if (!c.drawn) continue;
    EXPECT_EQ(it->font.height, c.height);
    EXPECT_EQ(it->font.escapement, c.escapement);
    EXPECT_EQ(it->color, PaletteColors[7]);
    g_curFigure.origin = {};
    BuildArrowViewMatrix();
    EXPECT_EQ(it->points[0], WorldToScreen(10, -20, 0));
  }
}

TEST_F(PaintingDrawingTest, PrintedPagesScaleByThePrintFactorAndUsePaperColours) {
  MakeSmallDrawing();
  FigureRecord curvePoint;
  curvePoint.kind = kKindCurvePoint;
  curvePoint.start = {5, 5};
  AddFigure(curvePoint);
  g_view.m_printing = true;
  g_view.m_printFactor = 2.0;
  g_printColourMode = kPrintAllColourZero;
  DrawDrawing(kDrawFull, dc);
  EXPECT_EQ(g_view.m_extentX, 1600);
  EXPECT_DOUBLE_EQ(g_view.m_unitsPerMm, 8.0);
  const auto texts = Recorded(PrimitiveKind::Text);
  const auto it = std::find_if(texts.begin(), texts.end(), [](const auto& p) { return p.text == "ABC"; });
  ASSERT_NE(it, texts.end());
  EXPECT_EQ(it->font.height, 50);
  EXPECT_EQ(it->color, PaletteColors[0]);
  // Every line in colour 0; the thick dashed line 6 wide.
  bool thick = false;
  for (const auto& p : Recorded(PrimitiveKind::Polyline)) {
    EXPECT_EQ(p.pen.color, PaletteColors[0]);
    if (p.pen.width == 6) thick = true;
  }
  EXPECT_TRUE(thick);
  // The point mark is printed twice as large; curve points are screen-only.
  const auto marks = Recorded(PrimitiveKind::Ellipse);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].rect.Width(), 12);
}

TEST_F(PaintingDrawingTest, TextsFarOutsideTheWindowAreNotDrawn) {
  for (int i = 0; i < 3; ++i) g_textRecords[i].layer = kTextLayerHidden;
  const struct {
    float x, y;
    bool drawn;
  } cases[] = {{0, 0, true},    {-420, 0, true},  {-430, 0, false}, {110, 0, false},
               {0, -300, true}, {0, -310, false}, {0, 300, true},   {0, 310, false}};
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    TextRecord& t = g_textRecords[3];
    t = TextRecord{};
    t.size = 5;
    t.colour = 1;
    t.baseX = c.x;
    t.baseY = c.y;
    SetTextRecordText(t, "T");
    g_textRecords[4].layer = kTextRecordFree;
    PaintAllDrawings(dc);
    EXPECT_EQ(Recorded(PrimitiveKind::Text).size(), c.drawn ? 1u : 0u) << c.x << " " << c.y;
  }
}

TEST_F(PaintingDrawingTest, DimensionHeadsFollowTheStyle) {
  g_curFigure = FigureRecord{};
  g_curFigure.kind = 54018;
  g_dimensionStyle.arrowLength = 5;
  g_dimensionStyle.arrowAngle = 30;
  // The wings are stored: a style change shows once they are recomputed.
  UpdateDimensionArrowShape();
  DrawDimension(dc, {0, 0}, {50, 0}, 0, kArrowAtStart | kArrowAtEnd);
  auto heads = Recorded(PrimitiveKind::Polyline);
  ASSERT_EQ(heads.size(), 3u);
  // The start head's wings point into the line at +-30 degrees, 5 mm long.
  const Point tip = WorldToScreenRaw(0, 0);
  EXPECT_EQ(heads[1].points[1], tip);
  EXPECT_EQ(heads[1].points[0], WorldToScreenRaw(5 * 0.8660254037844387, 2.5));
  EXPECT_EQ(heads[1].points[2], WorldToScreenRaw(5 * 0.8660254037844387, -2.5));
  EXPECT_EQ(heads[2].points[1], WorldToScreenRaw(50, 0));
  EXPECT_EQ(heads[2].points[0], WorldToScreenRaw(50 - 5 * 0.8660254037844387, 2.5));

  // Filled heads: a four-point polygon; code 8 puts the end head on the centre.
  dc.ClearPrimitives();
  g_dimensionStyle.arrowFilled = 1;
  g_curFigure.centre = {20, 0};
  DrawDimension(dc, {0, 0}, {50, 0}, 0, 10);
  const auto polygons = Recorded(PrimitiveKind::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].points.size(), 4u);
  EXPECT_EQ(polygons[0].points[0], WorldToScreenRaw(20, 0));

  // A zero-length dimension line gets no heads; the text anchor draws nothing.
  dc.ClearPrimitives();
  DrawDimension(dc, {5, 5}, {5, 5}, 0, 3);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polygon).empty());
  DrawDimension(dc, {0, 0}, {9, 9}, 0, kDimensionTextAnchor);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 1u);  // the zero-length line only
}

TEST_F(PaintingDrawingTest, AngleDimensionDrawsTheArcWithHeadsAlongItsTangent) {
  g_curFigure = FigureRecord{};
  g_curFigure.kind = 54019;
  g_curFigure.centre = {0, 0};
  g_curFigure.radius = 30;
  g_curFigure.start = {30, 0};
  g_curFigure.end = {0, 30};
  DrawDimension(dc, g_curFigure.start, g_curFigure.end, 0, kArrowArcStart | kArrowArcEnd);
  const auto tips = ArrowTips();
  ASSERT_EQ(tips.size(), 2u);
  EXPECT_EQ(tips[0], WorldToScreenRaw(30, 0));
  EXPECT_EQ(tips[1], WorldToScreenRaw(0, 30));
  // The start head points along the travel (up at (30, 0)): its wings lie above.
  const auto heads = Recorded(PrimitiveKind::Polyline);
  const auto& start = *std::find_if(heads.begin(), heads.end(), [](const auto& p) { return p.points.size() == 3; });
  EXPECT_LT(start.points[0].y, tips[0].y);
  EXPECT_LT(start.points[2].y, tips[0].y);
}

TEST_F(PaintingDrawingTest, OverviewPaintsSixteenTilesWithoutTextsThenOnePlainPaint) {
  MakeSmallDrawing();
  std::vector<int> prompts;
  g_drawingHooks.showPrompt = [&prompts](int code) { prompts.push_back(code); };
  g_layerOverview = kOverviewPending;
  g_overviewMarks[0] = 1;
  PaintAllDrawings(dc);
  EXPECT_EQ(prompts, std::vector<int>{15});
  EXPECT_EQ(g_layerOverview, kOverviewShown);
  const auto overviewTexts = Texts();
  EXPECT_EQ(std::count(overviewTexts.begin(), overviewTexts.end(), "ABC"), 0);
  EXPECT_EQ(Recorded(PrimitiveKind::Edge).size(), 16u * 16u);
  EXPECT_EQ(Recorded(PrimitiveKind::FillRect).size(), 1u);  // the marked tile
  EXPECT_EQ(g_curLayer, 0);
  EXPECT_EQ(g_figureTableSelector, 0);
  // Layer 0's 80 mm line is drawn at a quarter of 4 pixels per mm.
  bool quarter = false;
  for (const auto& p : Recorded(PrimitiveKind::Polyline))
    if (p.points.size() == 2 && std::abs(p.points[1].x - p.points[0].x) == 80) quarter = true;
  EXPECT_TRUE(quarter);

  dc.ClearPrimitives();
  PaintAllDrawings(dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Edge).empty());
  const auto texts = Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "ABC"), 1);
}

TEST_F(PaintingDrawingTest, DragDrawsAtMost778FiguresNewestFirstAndNoTexts) {
  for (int i = 0; i < 1000; ++i) AddLine(0, i * 0.05, 10, i * 0.05, 2);
  for (int i = 0; i < 3; ++i) g_textRecords[i].layer = kTextLayerHidden;
  g_textRecords[3].layer = 0;
  g_textRecords[3].size = 5;
  SetTextRecordText(g_textRecords[3], "T");
  g_textRecords[4].layer = kTextRecordFree;
  g_view.m_panDrag = 1;
  PaintAllDrawings(dc);
  const auto lines = Recorded(PrimitiveKind::Polyline);
  ASSERT_EQ(lines.size(), 778u);
  // Newest first: the last line appended is the first drawn.
  EXPECT_EQ(lines.front().points[0], WorldToScreenRaw(0, 999 * 0.05));
  EXPECT_TRUE(Recorded(PrimitiveKind::Text).empty());

  g_view.m_panDrag = 0;
  dc.ClearPrimitives();
  PaintAllDrawings(dc);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 1000u);
  EXPECT_EQ(Recorded(PrimitiveKind::Text).size(), 1u);
}

}  // namespace
}  // namespace dorn
