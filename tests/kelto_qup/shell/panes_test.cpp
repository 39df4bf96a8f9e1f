// The 2-D panes: colour rules, the stock box, clipping, the grid, zoom and
// its undo, and the pane tables read from "$LIB.@@@".
#include <gtest/gtest.h>

#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/path_panes.h"
#include "platform/key_codes.h"
#include "platform/paths.h"
#include "platform/recording_context.h"
#include "platform/text.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

class PanesTest : public ::testing::Test {
 protected:
  PanesTest() : colors(handover::DefaultColorTable(kBuiltInPalette)), pens(MakePenTable(colors)), panes(colors, pens) {
    panes.lib = DefaultDrawingState();
    panes.Setup({800, 600}, 0);
  }
  int CountLines(std::vector<platform::Primitive>& log) {
    int n = 0;
    for (const auto& p : log) {
      if (p.kind == platform::PrimitiveKind::Line) ++n;
      if (p.kind == platform::PrimitiveKind::Polyline) n += static_cast<int>(p.points.size()) - 1;
    }
    return n;
  }
  handover::ColorTable colors;
  PenTable pens;
  PathPanes panes;
};

TEST_F(PanesTest, ColourRulesAtTheirEdges) {
  panes.Graphic().lineColour = 6;
  EXPECT_EQ(panes.MovePen(25), 1) << "tool 25 is colour 1";
  EXPECT_EQ(panes.Graphic().lineColour, 1);
  EXPECT_EQ(panes.MovePen(24), 1) << "tool 24 (0 modulo 24) takes the last colour";
  panes.colorOffset = 5;
  EXPECT_EQ(panes.LinePen(3, 0), 8);
  panes.colorOffset = 30;
  EXPECT_EQ(panes.LinePen(3, 0), 9) << "33 is drawn in colour 9";
  panes.colorOffset = 0;
  EXPECT_EQ(panes.LinePen(0, 7), 1) << "no tool: the last colour";
  EXPECT_EQ(panes.LinePen(20, 7), 3) << "the block's two tools add up";
  EXPECT_EQ(panes.ReplayPen(0x8000 | 24), 24) << "0 is read as 24; the side bits are no colour";
  panes.colorOffset = 3;
  EXPECT_EQ(panes.ReplayPen(22), 1);
  EXPECT_EQ(PathPanes::RapidKind(2), -6);
  EXPECT_EQ(PathPanes::RapidKind(9), -7);
}

TEST_F(PanesTest, WorkBoxCornersFollowTheOriginPositionAndTheOffsets) {
  handover::DrawingHeader h;
  h.workSizeX = 100.0;
  h.workSizeY = 80.0;
  h.originOffsetX = 5.0;
  h.originOffsetY = -2.0;
  struct Case {
    int code;
    double xMin, xMax, yMin, yMax;
    std::array<double, 2> markCorner;
  } cases[] = {
      {0, -55, 45, -38, 42, {0, 0}}, {1, -105, -5, -78, 2, {-5, 2}}, {2, -5, 95, -78, 2, {-5, 2}},
      {3, -5, 95, 2, 82, {-5, 2}},   {4, -105, -5, 2, 82, {-5, 2}},
  };
  for (const Case& k : cases) {
    h.workOriginPosition = k.code;
    const WorkBoxCorners box = ComputeWorkBoxCorners(h);
    ASSERT_TRUE(box.valid) << k.code;
    EXPECT_EQ(box.corner[0], (std::array<double, 2>{k.xMax, k.yMax})) << k.code;
    EXPECT_EQ(box.corner[3], (std::array<double, 2>{k.xMin, k.yMin})) << k.code;
    EXPECT_EQ(box.hasMark, k.code != 0) << k.code;
    if (box.hasMark) {
      EXPECT_EQ(box.mark[0], k.markCorner) << k.code;
    }
  }
  h.workOriginPosition = 3;
  EXPECT_EQ(ComputeWorkBoxCorners(h).mark[1], (std::array<double, 2>{5.0, 2.0})) << "legs of 10 along the edges";
  h.workOriginPosition = 7;
  EXPECT_FALSE(ComputeWorkBoxCorners(h).valid);
}

TEST_F(PanesTest, SegmentsAreClippedToTheirPane) {
  const platform::Rect r{0, 0, 101, 101};
  struct Case {
    double ax, ay, bx, by;
    bool kept;
    double cax, cay, cbx, cby;
  } cases[] = {
      {10, 10, 90, 90, true, 10, 10, 90, 90},   {-50, 50, 50, 50, true, 0, 50, 50, 50},
      {50, -50, 50, 150, true, 50, 0, 50, 100}, {-10, -10, -20, 50, false, 0, 0, 0, 0},
      {150, 10, 200, 90, false, 0, 0, 0, 0},    {-100, 0, 0, -100, false, 0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    double ax = k.ax, ay = k.ay, bx = k.bx, by = k.by;
    EXPECT_EQ(ClipSegment(ax, ay, bx, by, r), k.kept) << k.ax << "," << k.ay;
    if (!k.kept) continue;
    EXPECT_NEAR(ax, k.cax, 1e-9);
    EXPECT_NEAR(ay, k.cay, 1e-9);
    EXPECT_NEAR(bx, k.cbx, 1e-9);
    EXPECT_NEAR(by, k.cby, 1e-9);
  }
}

// A work size no machine has, read from a damaged system record, projects
// past every number: the box is left out where it leaves the numbers, and
// whatever is drawn stays inside the panes.
TEST_F(PanesTest, AWorkBoxBeyondAnyNumberDrawsOnlyInsideThePanes) {
  auto log = std::make_shared<std::vector<platform::Primitive>>();
  platform::RecordingContext dc({800, 600}, log);
  panes.lib = DefaultDrawingState();
  panes.Setup({800, 600}, 0);
  struct Case {
    double offsetY, sizeX, sizeY, sizeZ;
    int originPosition, globalZMode;
  } cases[] = {
      {-1e87, 0.0, -1e270, 0.0, 0, 9999},
      {0.0, 1e308, 1e308, 1e308, 3, 0},
      {0.0, 1e200, -1e200, 1e200, 1, 0},
  };
  for (const Case& k : cases) {
    handover::DrawingHeader h;
    h.originOffsetY = k.offsetY;
    h.workSizeX = k.sizeX, h.workSizeY = k.sizeY, h.workSizeZ = k.sizeZ;
    h.workOriginPosition = k.originPosition;
    h.globalZMode = k.globalZMode;
    log->clear();
    panes.DrawWorkBox(dc, h);
    panes.Flush(dc);
    for (const platform::Primitive& p : *log) {
      for (const platform::Point& q : p.points) {
        EXPECT_TRUE(q.x >= 0 && q.x <= 800 && q.y >= 0 && q.y <= 600) << platform::Describe(p);
      }
    }
  }
}

TEST_F(PanesTest, AGridSpacingBelowAPixelDrawsOnlyTheBorderAndTheAxes) {
  panes.Graphic().axes = 2;
  panes.Graphic().viewingPlane = 0;
  auto log = std::make_shared<std::vector<platform::Primitive>>();
  platform::RecordingContext dc({800, 600}, log);
  panes.Graphic().axisInterval = 0.000001;
  // The grid reaches 800 pixels either way from its centre at any zoom.
  panes.Setup({1700, 1700}, 0);
  panes.DrawAxes(dc);
  panes.Flush(dc);
  EXPECT_LE(CountLines(*log), 6);
  log->clear();
  // At zoom 50 (2 pixels per mm) a 10 mm grid is 20 pixels apart: 400 mm
  // either way, 40 lines each way plus border and axes.
  panes.Graphic().axisInterval = 10.0;
  panes.DrawAxes(dc);
  panes.Flush(dc);
  EXPECT_EQ(CountLines(*log), 4 * 40 + 6);
  panes.Graphic().axisInterval = 0.0;
  panes.DrawAxes(dc);
  EXPECT_EQ(panes.Graphic().axisInterval, 50.0) << "an interval of 0 becomes 50, and is kept";
}

TEST_F(PanesTest, ZoomIsRefusedBeyondItsLimitAndUndoneStepByStep) {
  panes.Graphic().viewingPlane = 0;
  panes.Setup({800, 600}, 0);
  const double zoom = panes.Graphic().scale[0];
  EXPECT_FALSE(panes.ZoomToBox(0, {100, 100, 100, 100})) << "a box without size zooms without limit";
  EXPECT_EQ(panes.Graphic().scale[0], zoom);
  EXPECT_TRUE(panes.zoomUndo.empty());

  ASSERT_TRUE(panes.ZoomToBox(0, {300, 200, 500, 350}));
  EXPECT_NEAR(panes.Graphic().scale[0], zoom * 4.0, 1e-9) << "a box 200 wide in 800 pixels";
  panes.Setup({800, 600}, 0);
  // The box centre, (0, 12.5) mm, is the pane's centre now.
  EXPECT_EQ(panes.ProjectPointToPane(0.0, 12.5, 0.0), (platform::Point{400, 300}));
  for (int i = 0; i < 20; ++i) {
    panes.Setup({800, 600}, 0);
    ASSERT_TRUE(panes.ZoomToBox(0, {50, 50, 750, 550}));
  }
  EXPECT_EQ(panes.zoomUndo.size(), PathPanes::kZoomUndoDepth);
  EXPECT_TRUE(panes.UndoZoom(0));
  EXPECT_EQ(panes.zoomUndo.size(), PathPanes::kZoomUndoDepth - 1);
  while (panes.UndoZoom(0)) {
  }
  EXPECT_NEAR(panes.Graphic().scale[0], zoom, 1e-9) << "back to where the first zoom started";
  EXPECT_FALSE(panes.UndoZoom(0));

  panes.Graphic().scale[0] = 10.0;
  EXPECT_FALSE(panes.StepZoom(-1)) << "zoom out stops before pane 0 falls below 1";
  EXPECT_EQ(panes.zoomAccumulator, 0.0);
  EXPECT_TRUE(panes.StepZoom(1));
  EXPECT_EQ(panes.zoomAccumulator, 20.0);
}

TEST_F(ShellTest, TheViewRefusesAZoomBeyondItsLimitAndF2WithAnEmptyStackDoesNothing) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  const double zoom = c.app.panes.Graphic().scale[0];
  view().Key(platform::FunctionKey(2));
  EXPECT_EQ(c.app.panes.Graphic().scale[0], zoom);
  view().Paint();
  view().Key(platform::kKeyF1);
  const platform::Point p{300, 200};
  view().Mouse({platform::MouseAction::LeftDown, p, platform::mouse_buttons::kLeft});
  view().Mouse({platform::MouseAction::LeftDown, p, platform::mouse_buttons::kLeft});
  EXPECT_EQ(Boxes(), std::vector<std::string>{"これ以上のズームは出来ません...."});
  EXPECT_EQ(c.app.panes.Graphic().scale[0], zoom);
  EXPECT_EQ(c.view->BoxMode, 0);
}

TEST_F(ShellTest, PaneZoomsBelowOneInTheLibFileAreReadAsOne) {
  handover::PlotterSettings lib = DefaultDrawingState();
  lib.graphic.scale[0] = 0.5;
  lib.graphic.scale[3] = -4.0;
  lib.graphic.paneWord = 1;
  lib.graphic.viewingPlane = 0;
  lib.graphic.lineColour = 0;
  ASSERT_TRUE(handover::WritePlotterSettings(home() / handover::kDrawingStateFileName, lib).ok());
  const handover::ColorTable colors = handover::DefaultColorTable(kBuiltInPalette);
  const PenTable pens = MakePenTable(colors);
  PathPanes panes(colors, pens);
  EXPECT_TRUE(LoadDisplayWindow(panes, false).empty());
  EXPECT_EQ(panes.Graphic().scale[0], 1.0);
  EXPECT_EQ(panes.Graphic().scale[3], 1.0);
  EXPECT_EQ(panes.Plane(), kPlaneArrow) << "the four-pane display shows the arrow view alone as plane 3";
  EXPECT_EQ(panes.Graphic().lineColour, 1);
}

}  // namespace
}  // namespace qup::shell::test
