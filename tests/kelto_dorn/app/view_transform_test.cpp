// The view transform: per-layer scale and pan, the four projections, the
// overview tiles, the axis lines and grid, zoom and pan by dragging.
#include <gtest/gtest.h>

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using ViewTransformTest = test::ViewTest;

TEST_F(ViewTransformTest, DefaultTransformPutsTheOriginAtTheCentreWithFourPixelsPerMm) {
  EXPECT_DOUBLE_EQ(g_view.m_originX, 400.0);
  EXPECT_DOUBLE_EQ(g_view.m_originY, 300.0);
  EXPECT_DOUBLE_EQ(g_view.m_unitsPerMm, 4.0);
  EXPECT_EQ(WorldToScreenRaw(10.0, 5.0), (platform::Point{440, 280}));
  // Truncation is toward zero on both sides of the origin.
  EXPECT_EQ(WorldToScreenRaw(-100.1, 0.0), (platform::Point{0, 300}));
  EXPECT_EQ(WorldToScreenRaw(-100.3, 0.0).x, -1);
  // The pan moves the picture by 4 pixels per view unit, up for positive Y.
  g_layerOffsetX[0] = 10.0;
  g_layerOffsetY[0] = 5.0;
  UpdateViewTransform();
  EXPECT_EQ(WorldToScreenRaw(0.0, 0.0), (platform::Point{440, 280}));
  EXPECT_DOUBLE_EQ(g_layerViews[0].centreX, 110.0);
  EXPECT_DOUBLE_EQ(g_layerViews[0].centreY, 80.0);
  EXPECT_DOUBLE_EQ(g_layerViews[0].scale, 100.0);
}

TEST_F(ViewTransformTest, ScaleAndGridBelowOneAreRaisedAtTheNextPaint) {
  g_layerScale[0] = 0.2;
  g_layerGridPitch[0] = -3.0;
  UpdateViewTransform();
  EXPECT_EQ(g_layerScale[0], 1.0);
  EXPECT_EQ(g_layerGridPitch[0], 1.0);
  EXPECT_DOUBLE_EQ(g_view.m_unitsPerMm, 0.04);
}

TEST_F(ViewTransformTest, PrintFactorScalesExtentsAndUnitFactorOnlyWhenNotOne) {
  const struct {
    double factor;
    int extentX, extentY;
    double unitFactor;
  } cases[] = {{1.0, 800, 600, 4.0}, {2.5, 2000, 1500, 10.0}, {0.333, 266, 199, 1.332}};
  for (const auto& c : cases) {
    g_view.m_printFactor = c.factor;
    UpdateViewTransform();
    EXPECT_EQ(g_view.m_extentX, c.extentX) << c.factor;
    EXPECT_EQ(g_view.m_extentY, c.extentY) << c.factor;
    EXPECT_DOUBLE_EQ(g_view.m_unitFactor, c.unitFactor) << c.factor;
    // The model origin stays at the middle of the page.
    EXPECT_NEAR(g_view.m_originX, c.extentX * 0.5, 1e-9);
  }
}

TEST_F(ViewTransformTest, ProjectionsMapAFigurePointOntoTheirPlane) {
  g_curFigure.origin = {1.0, 2.0};
  g_projectionCentre = {3.0, 4.0};
  const double dx = 10.0, dy = 20.0, z = -5.0;
  const double px = 11.0, py = 22.0;  // with the figure's origin
  const struct {
    int projection;
    double qx, qy;  // the plane point in mm
  } cases[] = {
      {kProjectionXY, px, py},
      {kProjectionXZ, px, 4.0 + z},
      {kProjectionYZ, 3.0 + py, 4.0 + z},
      {kProjectionArrow, px, 4.0 + z},  // both angles 0: the XZ picture
  };
  for (const auto& c : cases) {
    g_projection = c.projection;
    BuildArrowViewMatrix();
    EXPECT_EQ(WorldToScreen(dx, dy, z), WorldToScreenRaw(c.qx, c.qy)) << c.projection;
  }
}

TEST_F(ViewTransformTest, ArrowViewTurnsAboutZThenTiltsAboutX) {
  g_projection = kProjectionArrow;
  g_curFigure.origin = {};
  g_projectionCentre = {};
  // A quarter turn about Z takes (10, 0, 0) to (0, 10, 0): X 0, no height.
  g_arrowAngles = {90.0, 0.0};
  BuildArrowViewMatrix();
  EXPECT_EQ(WorldToScreen(10.0, 0.0, 0.0), WorldToScreenRaw(0.0, 0.0));
  // A quarter tilt about X lifts (0, 10, 0) to height 10.
  g_arrowAngles = {0.0, 90.0};
  BuildArrowViewMatrix();
  EXPECT_EQ(WorldToScreen(0.0, 10.0, 0.0), WorldToScreenRaw(0.0, 10.0));
  // Other projections ignore the angles.
  g_projection = kProjectionXY;
  BuildArrowViewMatrix();
  EXPECT_EQ(g_projectionMatrix, (std::array<double, 9>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
}

TEST_F(ViewTransformTest, OverviewShiftsEachLayerToTheCentreOfItsTile) {
  g_layerOverview = kOverviewPending;
  g_overviewFirstLayer = 4;
  const struct {
    int layer;
    int shiftX, shiftY;  // in eighths of the extents
  } cases[] = {{4, -3, -3}, {5, -1, -3}, {11, 3, -1}, {19, 3, 3}, {3, 0, 0}, {20, 0, 0}};
  for (const auto& c : cases) {
    g_curLayer = c.layer;
    UpdateViewTransform();
    const platform::Point raw = WorldToScreenRaw(0.0, 0.0);
    const platform::Point p = WorldToScreen(0.0, 0.0, 0.0);
    EXPECT_EQ(p.x - raw.x, c.shiftX * 800 / 8) << c.layer;
    EXPECT_EQ(p.y - raw.y, c.shiftY * 600 / 8) << c.layer;
  }
}

TEST_F(ViewTransformTest, ZoomAndPanRoundTripThroughTheInverse) {
  const struct {
    double scale, panX, panY;
  } cases[] = {{100, 0, 0}, {2, 50, -20}, {1234.5, -3, 7}, {500000, 0.25, 0.5}, {17, -1000, 1000}};
  const Vec2 points[] = {{0, 0}, {12.5, -7.25}, {-300, 450}, {0.001, 0.002}};
  for (const auto& c : cases) {
    g_layerScale[0] = c.scale;
    g_layerOffsetX[0] = c.panX;
    g_layerOffsetY[0] = c.panY;
    UpdateViewTransform();
    for (const Vec2& p : points) {
      const Vec2 back = ScreenToWorld(WorldToScreenRaw(p.x, p.y));
      // Truncation loses less than one logical unit.
      EXPECT_NEAR(back.x, p.x, 1.0 / g_view.m_unitsPerMm) << c.scale;
      EXPECT_NEAR(back.y, p.y, 1.0 / g_view.m_unitsPerMm) << c.scale;
    }
    // And a screen point comes back to itself.
    const platform::Point s{123, 456};
    const Vec2 m = ScreenToWorld(s);
    const platform::Point again = WorldToScreenRaw(m.x, m.y);
    EXPECT_LE(std::abs(again.x - s.x), 1);
    EXPECT_LE(std::abs(again.y - s.y), 1);
  }
}

TEST_F(ViewTransformTest, DragZoomKeepsTheCentrePointAndStaysWithinItsLimits) {
  const Vec2 centre = ScreenToWorld({400, 300});
  g_view.m_zoomDrag = 1;
  g_view.m_lastMouseX = 100;
  ASSERT_TRUE(ZoomPanByDrag(140, 0));  // 40 pixels right: +0.5 per pixel
  EXPECT_DOUBLE_EQ(g_layerScale[0], 120.0);
  UpdateViewTransform();
  const Vec2 after = ScreenToWorld({400, 300});
  EXPECT_NEAR(after.x, centre.x, 1e-9);
  EXPECT_NEAR(after.y, centre.y, 1e-9);

  const struct {
    int toX;
    double expected;
  } cases[] = {{-100000, kMinDragScale}, {100000000, kMaxDragScale}};
  for (const auto& c : cases) {
    g_layerScale[0] = 100.0;
    UpdateViewTransform();
    g_view.m_lastMouseX = 0;
    g_view.m_lastMouseY = 0;
    ZoomPanByDrag(c.toX, 0);
    EXPECT_EQ(g_layerScale[0], c.expected);
    EXPECT_EQ(g_view.m_lastMouseX, c.toX);
  }
}

TEST_F(ViewTransformTest, DragPanFollowsTheMouseAndStopsAtTheLimitPerCoordinate) {
  g_view.m_panDrag = 1;
  ZoomPanByDrag(0, 0);
  ASSERT_TRUE(ZoomPanByDrag(20, 10));
  // 20 pixels = 5 mm = 10 view units at scale 100; Y moves up for a downward drag.
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], 10.0);
  EXPECT_DOUBLE_EQ(g_layerOffsetY[0], -5.0);

  g_layerOffsetX[0] = kMaxPanCentre - g_layerViews[0].centreX;  // at the limit
  g_layerOffsetY[0] = 0.0;
  ZoomPanByDrag(40, 10);   // right: X would pass the limit
  ZoomPanByDrag(60, -10);  // right and up: X stays, Y still moves
  EXPECT_DOUBLE_EQ(g_layerOffsetX[0], kMaxPanCentre - g_layerViews[0].centreX);
  EXPECT_DOUBLE_EQ(g_layerOffsetY[0], 10.0);

  // In the arrow view the drag turns the view instead.
  g_projection = kProjectionArrow;
  const auto offsets = std::make_pair(g_layerOffsetX[0], g_layerOffsetY[0]);
  ZoomPanByDrag(64, -6);
  EXPECT_DOUBLE_EQ(g_arrowAngles[0], 1.0);
  EXPECT_DOUBLE_EQ(g_arrowAngles[1], 1.0);
  EXPECT_EQ(std::make_pair(g_layerOffsetX[0], g_layerOffsetY[0]), offsets);

  // No drag flag: nothing changes but the last position.
  g_view.m_panDrag = 0;
  EXPECT_FALSE(ZoomPanByDrag(500, 500));
  EXPECT_EQ(g_view.m_lastMouseX, 500);
}

TEST_F(ViewTransformTest, AxisLinesGridStepAndPickTolerance) {
  UpdateAxisAndGrid();
  EXPECT_EQ(g_view.m_axisXStart.x, -120);
  EXPECT_EQ(g_view.m_axisXEnd.x, 920);
  EXPECT_EQ(g_view.m_axisYStart.y, 600 + 100);
  EXPECT_EQ(g_view.m_axisYEnd.y, 600 - 700);
  EXPECT_EQ(g_view.m_gridStepX, 40);  // 10 mm at 4 pixels per mm

  const struct {
    int aperture;
    double scale, tolerance;
  } cases[] = {{1, 100, 1.0}, {2, 100, 2.0}, {3, 50, 6.0}, {0, 200, 0.5}, {9, 400, 0.25}};
  for (const auto& c : cases) {
    g_pickApertureSize = c.aperture;
    g_layerScale[0] = c.scale;
    UpdateViewTransform();
    UpdateAxisAndGrid();
    EXPECT_DOUBLE_EQ(g_pickTolerance, c.tolerance) << c.aperture;
  }

  // A grid pitch smaller than one logical unit still steps by 1.
  g_layerScale[0] = 1.0;
  g_layerGridPitch[0] = 1.0;
  UpdateViewTransform();
  UpdateAxisAndGrid();
  EXPECT_EQ(g_view.m_gridStepX, 1);
  EXPECT_EQ(g_view.m_gridStepY, 1);
}

TEST_F(ViewTransformTest, WheelPagesTheOverviewByFourLayersWithinItsPages) {
  const struct {
    int overview, first, delta;
    bool changed;
    int expected;
  } cases[] = {{kOverviewPending, 0, -120, true, 4}, {kOverviewPending, 16, -120, false, 16},
               {kOverviewPending, 8, 120, true, 4},  {kOverviewPending, 0, 120, false, 0},
               {kOverviewShown, 8, 120, false, 8},   {0, 8, -120, false, 8}};
  for (const auto& c : cases) {
    g_layerOverview = c.overview;
    g_overviewFirstLayer = c.first;
    EXPECT_EQ(PageOverviewByWheel(c.delta), c.changed) << c.first << " " << c.delta;
    EXPECT_EQ(g_overviewFirstLayer, c.expected) << c.first << " " << c.delta;
  }
}

TEST_F(ViewTransformTest, CoordinatesThatCannotBeShownStayFinite) {
  g_layerScale[0] = kMaxDragScale;
  UpdateViewTransform();
  const platform::Point far = WorldToScreenRaw(1e12, -1e12);
  EXPECT_EQ(far.x, 1000000000);
  EXPECT_EQ(far.y, 1000000000);
  EXPECT_EQ(TruncateLogical(std::nan("")), 0);
  EXPECT_EQ(TruncateLogical(-2.9), -2);
}

}  // namespace
}  // namespace dorn
