// A paint passes over the figures that lie outside the view before choosing a
// pen or mapping a point. What it draws must be exactly what drawing every
// figure would draw: nothing visible may be passed over, at any zoom or pan,
// with figures on other origins, lines from far outside crossing the view and
// arcs whose centre lies outside.
#include <gtest/gtest.h>

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "tests/kelto_dorn/app/view_fixture.h"

namespace dorn {
namespace {

using platform::PrimitiveKind;

class ViewCullingTest : public test::ViewTest {
 protected:
  // Figures scattered over 160 x 120 mm about the centre, of every size from
  // a fraction of a millimetre to twice the area, some on another origin.
  void Scatter(int count) {
    unsigned seed = 4711;
    auto next = [&seed](double span) {
      seed = seed * 1103515245u + 12345u;
      return ((seed >> 8) & 0xFFFF) / 65535.0 * span;
    };
    for (int i = 0; i < count; ++i) {
      const double x = next(160) - 80, y = next(120) - 60;
      const double size = i % 7 == 0 ? next(300) : next(6);
      FigureRecord f;
      f.layer = 0;
      f.attribute = 1 + i % 30;
      if (i % 11 == 0) f.origin = {next(40) - 20, next(40) - 20};
      switch (i % 3) {
        case 0:
          f.kind = kKindLine;
          f.start = {x, y};
          f.end = {x + size * std::cos(i), y + size * std::sin(i)};
          break;
        case 1: {
          const double a0 = next(6.3), a1 = a0 + 0.3 + next(5.5), r = 0.1 + size / 2;
          f.kind = kKindArc;
          f.centre = {x, y};
          f.radius = i % 2 ? r : -r;
          f.start = {x + r * std::cos(a0), y + r * std::sin(a0)};
          f.end = {x + r * std::cos(a1), y + r * std::sin(a1)};
          break;
        }
        default:
          f.kind = i % 2 ? kKindPoint : kKindCurvePoint;
          f.start = {x, y};
          break;
      }
      AddFigure(f);
    }
  }

  // Every figure of layer 0 drawn one by one, newest first, with the
  // transform of the last paint.
  static std::vector<platform::Primitive> DrawEveryFigure() {
    platform::RecordingContext each({800, 600});
    g_view.m_curPen = kPenUnknown;
    g_figureTableSelector = 0;
    for (int i = GetFigureCount(0) - 1; i >= 0; --i) {
      GetFigure(i);
      if (g_curFigure.kind == kKindEmpty) continue;
      g_curFigure.depth = 0.0;
      DrawFigure(g_curFigure.attribute & kAttrColourMask, each);
    }
    return each.Primitives();
  }

  static std::vector<platform::Primitive> Shapes(const std::vector<platform::Primitive>& all) {
    std::vector<platform::Primitive> out;
    for (const auto& p : all)
      if (p.kind == PrimitiveKind::Polyline || p.kind == PrimitiveKind::Ellipse) out.push_back(p);
    return out;
  }
};

TEST_F(ViewCullingTest, APaintDrawsExactlyWhatEveryFigureDraws) {
  Scatter(3000);
  struct View {
    double scale, panX, panY;
  };
  const View views[] = {{100, 0, 0}, {1000, 0, 0}, {1000, 30, -12}, {20000, -5, 3}, {3, 0, 0}, {1000, 500, 0}};
  for (const View& view : views) {
    SCOPED_TRACE(testing::Message() << "scale " << view.scale << " pan " << view.panX << "," << view.panY);
    g_layerScale[0] = view.scale;
    g_layerOffsetX[0] = view.panX;
    g_layerOffsetY[0] = view.panY;
    platform::RecordingContext painted({800, 600});
    DrawDrawing(kDrawFull, painted);
    const auto viaPaint = Shapes(painted.Primitives());
    const auto viaEach = Shapes(DrawEveryFigure());
    ASSERT_EQ(viaPaint.size(), viaEach.size());
    for (std::size_t i = 0; i < viaPaint.size(); ++i) {
      EXPECT_EQ(viaPaint[i].points, viaEach[i].points) << i;
      EXPECT_EQ(viaPaint[i].rect, viaEach[i].rect) << i;
      EXPECT_EQ(viaPaint[i].pen, viaEach[i].pen) << i;
    }
  }
}

TEST_F(ViewCullingTest, OnlyTheTopViewHasAVisibleWindow) {
  UpdateViewTransform();
  VisibleWindow w = CurrentVisibleWindow();
  ASSERT_TRUE(w.known);
  // 800 x 600 pixels at 4 pixels per mm about (0, 0), widened by 4 pixels.
  EXPECT_DOUBLE_EQ(w.minX, -101.0);
  EXPECT_DOUBLE_EQ(w.maxX, 101.0);
  EXPECT_DOUBLE_EQ(w.minY, -76.0);
  EXPECT_DOUBLE_EQ(w.maxY, 76.0);
  g_projection = kProjectionXZ;
  EXPECT_FALSE(CurrentVisibleWindow().known);
  g_projection = kProjectionXY;
  g_layerOverview = kOverviewPending;
  EXPECT_FALSE(CurrentVisibleWindow().known);
}

}  // namespace
}  // namespace dorn
