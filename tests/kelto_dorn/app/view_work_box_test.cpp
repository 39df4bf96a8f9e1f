// The work box: placement by origin position and offsets, the size texts,
// and its painting in the plan and side views.
#include <gtest/gtest.h>

#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/app/work_box.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using platform::PrimitiveKind;

class WorkBoxTest : public test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    g_workSizeX = 100;
    g_workSizeY = 60;
    g_globalZ = 20;
    g_showAxes = 1;
  }
  int CountSegmentsAtY(int y) const {
    int n = 0;
    for (const auto& p : Recorded(PrimitiveKind::Polyline))
      if (p.points.size() == 2 && p.points[0].y == y && p.points[1].y == y && p.points[0].x != p.points[1].x) ++n;
    return n;
  }
};

TEST_F(WorkBoxTest, CornersAndProjectionCentreForEachOriginPosition) {
  g_workOffsetX = 5;
  g_workOffsetY = 3;
  const double W = 100, H = 60, ox = 5, oy = 3;
  const struct {
    int position;
    Vec2 c1, c2, c3, c4, centre;
  } cases[] = {
      {0, {W / 2, H / 2}, {-W / 2, H / 2}, {W / 2, -H / 2}, {-W / 2, -H / 2}, {-ox, -oy}},
      {1, {0, 0}, {-W, 0}, {0, -H}, {-W, -H}, {-W / 2 - ox, -H / 2 - oy}},
      {2, {W, 0}, {0, 0}, {W, -H}, {0, -H}, {W / 2 - ox, -H / 2 - oy}},
      {3, {W, H}, {0, H}, {W, 0}, {0, 0}, {W / 2 - ox, H / 2 - oy}},
      {4, {0, H}, {-W, H}, {0, 0}, {-W, 0}, {-W / 2 - ox, H / 2 - oy}},
  };
  for (const auto& c : cases) {
    g_workOriginPosition = c.position;
    PlaceWork();
    const FigureRecord& w = g_workBoxFigure;
    EXPECT_EQ(w.origin, (Vec2{0, 0}));
    EXPECT_EQ(w.start, (Vec2{c.c1.x - ox, c.c1.y - oy})) << c.position;
    EXPECT_EQ(w.end, (Vec2{c.c2.x - ox, c.c2.y - oy})) << c.position;
    EXPECT_EQ(w.centre, (Vec2{c.c3.x - ox, c.c3.y - oy})) << c.position;
    EXPECT_EQ(w.dir, (Vec2{c.c4.x - ox, c.c4.y - oy})) << c.position;
    EXPECT_EQ(g_projectionCentre, c.centre) << c.position;
  }
  // An unknown position keeps the previous box.
  g_workOriginPosition = 7;
  g_workSizeX = 500;
  PlaceWork();
  EXPECT_EQ(g_workBoxFigure.dir, (Vec2{-W - ox, -oy}));
}

TEST_F(WorkBoxTest, SizeTextsCarryTheSizesBesideTheBox) {
  g_workOriginPosition = kWorkOriginLowerLeft;
  g_figureTableSelector = 4;
  PlaceWork();
  const struct {
    int index;
    std::string text;
    float x, y, angle;
  } cases[] = {{0, "100.0", 50 - 8, -15, 0}, {1, "60.0", -15, 30 - 8, 90}, {2, "20.0", -15, 0, 90}};
  for (const auto& c : cases) {
    const TextRecord& t = g_textRecords[c.index];
    EXPECT_EQ(std::string(t.text), c.text);
    EXPECT_FLOAT_EQ(t.baseX, c.x) << c.index;
    EXPECT_FLOAT_EQ(t.baseY, c.y) << c.index;
    EXPECT_FLOAT_EQ(t.angle, c.angle) << c.index;
    EXPECT_FLOAT_EQ(t.size, 7.0f);
    EXPECT_EQ(t.layer, 4);
    EXPECT_EQ(t.colour, 7);  // background 0
  }
  // On a dark background the texts are drawn in colour 0; a hidden box hides the X text.
  g_colorTable.backgroundIndex = 3;
  g_workBoxHidden = 1;
  PlaceWork();
  EXPECT_EQ(g_textRecords[1].colour, 0);
  EXPECT_EQ(g_textRecords[0].layer, kTextLayerHidden);
}

TEST_F(WorkBoxTest, AZeroSizeShowsNoBoxAndHidesTheTexts) {
  for (double* size : {&g_workSizeX, &g_workSizeY, &g_globalZ}) {
    const double saved = *size;
    *size = 0;
    PlaceWork();
    dc.ClearPrimitives();
    EXPECT_EQ(PaintWorkBox(dc), kWorkBoxNotDrawn);
    EXPECT_TRUE(dc.Primitives().empty());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g_textRecords[i].layer, kTextLayerHidden);
    *size = saved;
  }
  g_showAxes = 0;
  PlaceWork();
  EXPECT_EQ(PaintWorkBox(dc), kWorkBoxNotDrawn);
  EXPECT_TRUE(dc.Primitives().empty());
}

TEST_F(WorkBoxTest, UpperRightOriginPutsTheWorkAtNegativeXAndY) {
  g_workOriginPosition = kWorkOriginUpperRight;
  g_showDimensions = 0;
  PlaceWork();
  ASSERT_EQ(PaintWorkBox(dc), 0);
  // Every outline point lies at or left of and below the origin.
  const platform::Point origin = WorldToScreenRaw(0, 0);
  int edges = 0;
  for (const auto& p : Recorded(PrimitiveKind::Polyline)) {
    if (p.pen.color == PaletteColors[1]) continue;  // the corner mark
    ++edges;
    for (const auto& q : p.points) {
      EXPECT_LE(q.x, origin.x);
      EXPECT_GE(q.y, origin.y);
    }
  }
  EXPECT_EQ(edges, 4 * 2 + 4);  // top and bottom of four edges, four vertical edges
  // The corner mark: a right triangle of 10 mm legs at the origin corner.
  int marks = 0;
  for (const auto& p : Recorded(PrimitiveKind::Polyline))
    if (p.pen.color == PaletteColors[1]) ++marks;
  EXPECT_EQ(marks, 3);
}

TEST_F(WorkBoxTest, BottomFaceModeSpansZeroToThicknessInTheSideView) {
  g_workOriginPosition = kWorkOriginCentre;
  g_showDimensions = 0;
  g_projection = kProjectionXZ;
  const struct {
    int mode;
    double top, bottom;
  } cases[] = {{9999, 20, 0}, {0, 0, -20}};
  for (const auto& c : cases) {
    g_globalZMode = c.mode;
    PlaceWork();
    dc.ClearPrimitives();
    DrawDrawing(kDrawFull, dc);  // the paint puts the projection centre back at 0
    const int topY = WorldToScreenRaw(0, c.top).y, bottomY = WorldToScreenRaw(0, c.bottom).y;
    // The two X edges at each face; the Y edges are seen end-on.
    EXPECT_EQ(CountSegmentsAtY(topY), 2) << c.mode;
    EXPECT_EQ(CountSegmentsAtY(bottomY), 2) << c.mode;
  }
  // Figures lie on the top face in the bottom-face mode.
  g_globalZMode = 9999;
  AddLine(-10, 0, 10, 0, 2);
  dc.ClearPrimitives();
  DrawDrawing(kDrawFull, dc);
  bool onTop = false;
  for (const auto& p : Recorded(PrimitiveKind::Polyline))
    if (p.pen.color == PaletteColors[2] && p.points[0].y == WorldToScreenRaw(0, 20).y) onTop = true;
  EXPECT_TRUE(onTop);
}

TEST_F(WorkBoxTest, SizeDimensionsWithArrowsUnlessTheBoxIsHidden) {
  g_workOriginPosition = kWorkOriginLowerLeft;
  g_workDimColour = 21;
  PlaceWork();
  PaintWorkBox(dc);
  int arrows = 0, dimensionLines = 0;
  for (const auto& p : Recorded(PrimitiveKind::Polyline)) {
    if (p.pen.color != PaletteColors[21]) continue;
    if (p.points.size() == 3) ++arrows;
    if (p.points.size() == 2) ++dimensionLines;
  }
  EXPECT_EQ(arrows, 4);                          // both ends of the Y and the X dimension
  EXPECT_EQ(dimensionLines, 2 + 1 + 1 + 2 + 1);  // Y: 2 + line; Z: 1 (+ anchor line); X: 2 + line
  // The X dimension runs 15 mm below the lower edge.
  const platform::Point a = WorldToScreenRaw(0, -15), b = WorldToScreenRaw(100, -15);
  bool xLine = false;
  for (const auto& p : Recorded(PrimitiveKind::Polyline))
    if (p.points.size() == 2 && p.points[0] == a && p.points[1] == b) xLine = true;
  EXPECT_TRUE(xLine);

  dc.ClearPrimitives();
  g_workBoxHidden = 1;
  PlaceWork();
  PaintWorkBox(dc);
  arrows = 0;
  int outline = 0;
  for (const auto& p : Recorded(PrimitiveKind::Polyline)) {
    if (p.pen.color == PaletteColors[21] && p.points.size() == 3) ++arrows;
    if (p.pen.color == PaletteColors[7] || p.pen.color == PaletteColors[20]) ++outline;
  }
  EXPECT_EQ(arrows, 2);  // the Y dimension only
  EXPECT_EQ(outline, 0);
  EXPECT_EQ(g_textRecords[0].layer, kTextLayerHidden);
}

}  // namespace
}  // namespace dorn
