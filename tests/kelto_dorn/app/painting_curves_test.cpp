// Painting of curves with their decorations and faults, the grid and axes,
// and the calls the paint makes into the drawing commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/curve_text_painter.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "platform/text.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using platform::PrimitiveKind;

class PaintingCurvesTest : public test::ViewTest {
 protected:
  // A curve of `n` lines of layer `layer` in table 90, kind `kind`.
  static void AddCurve(int layer, int kind, int n, double topZ = 0, double endZ = 0) {
    const int first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    for (int i = 0; i < n; ++i) {
      FigureRecord f;
      f.kind = kKindLine;
      f.layer = layer;
      f.attribute = 6;
      f.start = {i * 10.0, 0};
      f.end = {i * 10.0 + 10.0, 0};
      f.dir = {1, 0};
      g_curFigure = f;
      ASSERT_TRUE(AppendFigure(0));
    }
    CurveRecord& c = g_curveTable[static_cast<std::size_t>(g_curveCount++)];
    c = CurveRecord{};
    c.layer = layer;
    c.kind = kind;
    c.key = g_curveCount;
    c.first = first;
    c.end = first + n;
    c.colour = 6;
    c.topZ = topZ;
    c.endZ = endZ;
    g_figureTableSelector = 0;
  }
};

TEST_F(PaintingCurvesTest, CurvesOfOtherLayersAreSkippedSilently) {
  AddCurve(3, 0, 2);
  AddCurve(0, 0, 1);
  PaintAllDrawings(dc);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 1u);
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(PaintingCurvesTest, AnEmptyCurveIsReportedOnceAndEndsTheCurveLoop) {
  AddCurve(0, 0, 0);
  AddCurve(0, 0, 2);
  PaintAllDrawings(dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polyline).empty());
  const auto texts = ShownTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find(platform::Sjis("曲線ＰＡＫサイズエラー")), std::string::npos);
  EXPECT_NE(texts[1].find(platform::Sjis("無効な曲線が存在します")), std::string::npos);
}

TEST_F(PaintingCurvesTest, ACurveReachingBeyondTable90IsNotPainted) {
  AddCurve(0, 0, 2);
  g_curveTable[0].end = 50;  // a damaged entry: only 2 figures stored
  PaintAllDrawings(dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polyline).empty());
  const auto texts = ShownTexts();
  ASSERT_EQ(texts.size(), 2u);  // codes -12 and -13
  EXPECT_NE(texts[0].find(platform::Sjis("破損")), std::string::npos);
}

TEST_F(PaintingCurvesTest, ACountAbove1024IsCutAndReportedOncePerPaint) {
  AddCurve(0, 0, 1);
  for (int i = 1; i < kCurveTableSize; ++i) g_curveTable[i].layer = kCurveEntryEmpty;
  g_curveCount = 1100;
  PaintAllDrawings(dc);
  EXPECT_EQ(g_curveCount, kCurveTableSize);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 1u);  // the first curve still paints
  const auto texts = ShownTexts();
  ASSERT_EQ(texts.size(), 3u);  // the count message, then codes -10 and -13
  EXPECT_NE(texts[0].find("1100"), std::string::npos);
}

TEST_F(PaintingCurvesTest, PocketCurvesDrawWallsAndVerticalEdgesInTheSideView) {
  g_projection = kProjectionXZ;
  AddCurve(0, 7, 2, 0, -10);
  GetFigure(kTableCurves, 0);
  g_curFigure.attribute = 0x0106;  // thick: a pen of its own, taken back after the figure
  PutFigure(kTableCurves, 0);
  PaintAllDrawings(dc);
  // Two figures at the bottom, two vertical edges at their starts, two at the top.
  const auto lines = Recorded(PrimitiveKind::Polyline);
  for (const auto& l : lines) EXPECT_EQ(l.pen.color, PaletteColors[6]);
  EXPECT_EQ(lines.size(), 6u);
  int vertical = 0;
  for (const auto& l : lines)
    if (l.points[0].x == l.points[1].x && l.points[0].y != l.points[1].y) ++vertical;
  EXPECT_EQ(vertical, 2);
  // A plain curve with equal Z values draws its figures only.
  dc.ClearPrimitives();
  g_curveTable[0].kind = 0;
  g_curveTable[0].endZ = 0;
  PaintAllDrawings(dc);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 2u);
}

TEST_F(PaintingCurvesTest, OffsetCurvesDrawEachFigureOffsetByTheValueOfItsStyle) {
  AddCurve(0, 8, 1, 0, -10);
  g_figureTableSelector = kTableCurves;
  GetFigure(0);
  g_curFigure.style = 2;
  PutFigure(0);
  g_figureTableSelector = 0;
  g_curveTable[0].values[18 + 2] = 5.0f;  // the offset of style 2
  g_curveTable[0].values[18] = 99.0f;     // style 0: not used
  PaintAllDrawings(dc);
  // The offset figure 5 mm to the left of the line (at Y 5), its wall, and
  // the figure itself.
  const auto lines = Recorded(PrimitiveKind::Polyline);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points[0], WorldToScreenRaw(0, 5));
  EXPECT_EQ(lines[0].points[1], WorldToScreenRaw(10, 5));
  EXPECT_EQ(lines[2].points[0], WorldToScreenRaw(0, 0));
}

TEST_F(PaintingCurvesTest, CurveMarkerIsACircleAndCrossAtItsPoint) {
  AddCurve(0, 0, 1);
  g_curveTable[0].flags = 0x80;
  g_curveTable[0].ipX = 20;
  g_curveTable[0].ipY = 20;
  g_showIpPoint = 1;
  PaintAllDrawings(dc);
  const auto lines = Recorded(PrimitiveKind::Polyline);
  // Circle, two cross arms, the figure.
  ASSERT_EQ(lines.size(), 4u);
  for (const auto& l : lines) EXPECT_EQ(l.pen.color, PaletteColors[6]);  // the curve's colour
  EXPECT_EQ(lines[1].points[0], WorldToScreenRaw(18, 20));
  EXPECT_EQ(lines[1].points[1], WorldToScreenRaw(22, 20));
  g_showIpPoint = 0;
  dc.ClearPrimitives();
  PaintAllDrawings(dc);
  EXPECT_EQ(Recorded(PrimitiveKind::Polyline).size(), 1u);
}

TEST_F(PaintingCurvesTest, HoleCurvesDrawEachStepUntilAToolDiameterOfZero) {
  AddCurve(0, 1, 2);
  for (int i = 0; i < 2; ++i) {
    GetFigure(kTableCurves, i);
    g_curFigure.kind = kKindArc;
    g_curFigure.centre = {i * 30.0, 0};
    PutFigure(kTableCurves, i);
  }
  std::vector<std::int32_t> askedKeys;
  HoleStepShape steps[3];
  steps[0].toolDiameter = 10;
  steps[0].lowerZ = -5;
  steps[1].toolDiameter = 0;  // ends the steps
  steps[2].toolDiameter = 6;
  int kind = kMachiningHole;
  g_drawingHooks.forEachHoleDefinition = [&](std::int32_t key, const auto& visit) {
    askedKeys.push_back(key);
    visit(kind, steps, 3);
  };
  g_projection = kProjectionXZ;
  DrawCurveHoles(0, dc);
  EXPECT_EQ(askedKeys, std::vector<std::int32_t>{1});
  // Per hole: the circle at the upper and at the lower Z and four vertical edges.
  int edges = 0;
  for (const auto& l : Recorded(PrimitiveKind::Polyline))
    if (l.points.size() == 2 && l.points[0].x == l.points[1].x) ++edges;
  EXPECT_EQ(edges, 8);
  // Kinds of the 0xA000 family draw no edges; a first step without a tool
  // draws nothing.
  dc.ClearPrimitives();
  kind = 0xA000;
  DrawCurveHoles(0, dc);
  edges = 0;
  for (const auto& l : Recorded(PrimitiveKind::Polyline))
    if (l.points.size() == 2 && l.points[0].x == l.points[1].x) ++edges;
  EXPECT_EQ(edges, 0);
  dc.ClearPrimitives();
  steps[0].toolDiameter = 0;
  DrawCurveHoles(0, dc);
  EXPECT_TRUE(dc.Primitives().empty());
}

TEST_F(PaintingCurvesTest, HelicalHoleRadiusGrowsWithAPositiveStepAngle) {
  g_curFigure = FigureRecord{};
  g_curFigure.centre = {0, 0};
  const struct {
    double diameter, depth, angle, radiusPixels;
  } cases[] = {{10, -4, 45, (5 + 4) * 4}, {10, -4, 0, 20}, {10, -4, -30, 20}};
  for (const auto& c : cases) {
    dc.ClearPrimitives();
    HoleStepShape s;
    s.ownDiameter = c.diameter;
    s.toolDiameter = 1;
    s.depth = c.depth;
    s.angle = c.angle;
    DrawHoleStep(s, kMachiningHelicalHole, dc);
    const auto lines = Recorded(PrimitiveKind::Polyline);
    ASSERT_FALSE(lines.empty());
    const platform::Point centre = WorldToScreenRaw(0, 0);
    EXPECT_NEAR(std::hypot(lines[0].points[0].x - centre.x, lines[0].points[0].y - centre.y), c.radiusPixels, 1.5)
        << c.angle;
  }
}

TEST_F(PaintingCurvesTest, GridAndAxesOnlyInXYWithTheAxesShown) {
  g_showAxes = 1;
  g_layerGridPitch[0] = 25;  // 100 pixels
  PaintAllDrawings(dc);
  int dashed = 0, solid = 0;
  for (const auto& l : Recorded(PrimitiveKind::Polyline)) {
    if (l.pen.style == platform::PenStyle::DashDotDot) ++dashed;
    if (l.pen.style == platform::PenStyle::Solid && l.pen.color == PaletteColors[23]) ++solid;
  }
  // Horizontal lines at 100, 200, 400, 500 around the axis at 300; vertical
  // at 100..300 and 500..700 around the axis at 400.
  EXPECT_EQ(dashed, 4 + 6);
  EXPECT_EQ(solid, 2);

  dc.ClearPrimitives();
  g_projection = kProjectionXZ;
  PaintAllDrawings(dc);
  EXPECT_TRUE(Recorded(PrimitiveKind::Polyline).empty());
}

TEST_F(PaintingCurvesTest, GridOfAFarAxisCostsNoLoopOverTheDistance) {
  g_showAxes = 1;
  g_layerOffsetY[0] = -5.0e8;  // the X axis two billion pixels above
  g_layerGridPitch[0] = 1;
  g_layerScale[0] = 25;  // a grid step of 1 pixel
  PaintAllDrawings(dc);
  int horizontal = 0;
  for (const auto& l : Recorded(PrimitiveKind::Polyline))
    if (l.pen.style == platform::PenStyle::DashDotDot && l.points[0].y == l.points[1].y) ++horizontal;
  EXPECT_EQ(horizontal, 599);  // y = 1..599
}

TEST_F(PaintingCurvesTest, PaintCallsTheDrawingCommandsWhereTheyShowState) {
  std::vector<int> originModes;
  std::vector<int> originIndexes;
  g_drawingHooks.drawOriginMark = [&](platform::DeviceContext&, int mode) {
    originModes.push_back(mode);
    originIndexes.push_back(g_curOriginIndex);
  };
  int pending = 0, highlights = 0, curveHighlights = 0;
  g_drawingHooks.loadPendingFigure = [&pending] {
    ++pending;
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindLine;
    g_curFigure.start = {0, 0};
    g_curFigure.end = {10, 0};
    return true;
  };
  g_drawingHooks.drawPickHighlights = [&highlights](platform::DeviceContext&) { ++highlights; };
  g_drawingHooks.highlightCurves = [&curveHighlights](platform::DeviceContext&, int) { ++curveHighlights; };

  g_originCount[0] = 3;
  g_layerOriginIndex[0] = 1;
  g_showAxes = 1;
  g_commandStep = kInputStatePendingFigure;
  PaintAllDrawings(dc);
  EXPECT_EQ(originModes, (std::vector<int>{5, 5, 5}));
  EXPECT_EQ(originIndexes, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(g_curOriginIndex, 1);
  EXPECT_EQ(pending, 1);
  // The pending figure twice in colour 7, the second time as a point.
  int sevens = 0;
  for (const auto& l : Recorded(PrimitiveKind::Polyline))
    if (l.pen.color == PaletteColors[7]) ++sevens;
  EXPECT_EQ(sevens, 2);
  EXPECT_EQ(highlights, 0);
  EXPECT_EQ(curveHighlights, 0);

  // Origin recall marks every origin in mode 9 after the drawing; the
  // picked figures and selected curves are redrawn on top.
  originModes.clear();
  g_commandStep = 0;
  g_curCommand = kCommandOriginRecall;
  g_pickState = kPickStatePickWork;
  AddCurve(0, 0, 1);
  g_curCurveIndex = 0;
  PaintAllDrawings(dc);
  EXPECT_EQ(originModes, (std::vector<int>{9, 9, 9}));
  EXPECT_EQ(highlights, 1);
  EXPECT_EQ(curveHighlights, 1);
  // Without hooks installed the paint draws the same and calls nothing.
  ResetDrawingHooks();
  dc.ClearPrimitives();
  PaintAllDrawings(dc);
  EXPECT_FALSE(dc.Primitives().empty());
}

}  // namespace
}  // namespace dorn
