// The recording device context and the mapping shared by every context.
#include <vector>

#include <gtest/gtest.h>

#include "platform/recording_context.h"
#include "platform/text.h"

namespace {

using platform::Point;
using platform::PrimitiveKind;
using platform::RasterOp;
using platform::RecordingContext;

TEST(RecordingContext, ListsThePrimitivesOfASmallDrawing) {
  RecordingContext dc({640, 480});
  const platform::Pen red{0x0000FF, 1, platform::PenStyle::Solid};
  const platform::Pen dash{0x00FF00, 1, platform::PenStyle::DashDot};
  dc.SelectPen(red);
  dc.MoveTo({0, 0});
  dc.LineTo({100, 0});
  dc.LineTo({100, 50});
  dc.SelectPen(dash);
  dc.SetRasterOp(RasterOp::Xor);
  dc.Polyline({{0, 0}, {10, 10}, {20, 0}});
  dc.SetRasterOp(RasterOp::Copy);
  dc.SelectBrush({0xFF0000, platform::BrushStyle::Null});
  dc.Ellipse({10, 10, 30, 30});
  dc.Arc({0, 0, 40, 40}, {40, 20}, {0, 20});
  dc.SetTextColor(0x00FFFF);
  dc.TextOut({5, 5}, platform::Sjis("原点"));

  const auto& p = dc.Primitives();
  ASSERT_EQ(p.size(), 6u);
  struct Expect {
    PrimitiveKind kind;
    platform::Pen pen;
    RasterOp rop;
  };
  const Expect expected[] = {
      {PrimitiveKind::Line, red, RasterOp::Copy},     {PrimitiveKind::Line, red, RasterOp::Copy},
      {PrimitiveKind::Polyline, dash, RasterOp::Xor}, {PrimitiveKind::Ellipse, dash, RasterOp::Copy},
      {PrimitiveKind::Arc, dash, RasterOp::Copy},     {PrimitiveKind::Text, dash, RasterOp::Copy},
  };
  for (std::size_t i = 0; i < p.size(); ++i) {
    SCOPED_TRACE(platform::Describe(p[i]));
    EXPECT_EQ(p[i].kind, expected[i].kind);
    EXPECT_EQ(p[i].pen, expected[i].pen);
    EXPECT_EQ(p[i].rasterOp, expected[i].rop);
  }
  EXPECT_EQ(p[1].points, (std::vector<Point>{{100, 0}, {100, 50}})) << "a line starts at the current position";
  EXPECT_EQ(p[3].brush.style, platform::BrushStyle::Null);
  EXPECT_EQ(p[4].points, (std::vector<Point>{{40, 20}, {0, 20}}));
  EXPECT_EQ(p[5].text, platform::Sjis("原点"));
  EXPECT_EQ(p[5].color, 0x00FFFFu);
  EXPECT_EQ(dc.CurrentPosition(), (Point{100, 50}));
}

TEST(DeviceContextMapping, IsotropicKeepsOneScaleForBothAxes) {
  struct Case {
    platform::Size window, viewport;
    Point origin;  // viewport origin
    Point logical, device;
  };
  const Case cases[] = {
      {{800, 600}, {800, 600}, {0, 0}, {100, 50}, {100, 50}},       // one to one
      {{400, 300}, {800, 600}, {0, 0}, {100, 50}, {200, 100}},      // doubled
      {{400, 400}, {800, 600}, {0, 0}, {100, 100}, {150, 150}},     // the smaller scale wins (1.5)
      {{400, 400}, {800, -600}, {0, 600}, {100, 100}, {150, 450}},  // y up keeps its sign
      {{0, 0}, {10, 10}, {5, 5}, {1, 1}, {15, 15}},                 // a zero extent counts as one unit
  };
  for (const Case& c : cases) {
    RecordingContext dc;
    dc.SetMapMode(platform::MapMode::Isotropic);
    dc.SetWindowExtent(c.window);
    dc.SetViewportExtent(c.viewport);
    dc.SetViewportOrigin(c.origin);
    EXPECT_EQ(dc.LogicalToDevice(c.logical), c.device);
    EXPECT_EQ(dc.DeviceToLogical(c.device), c.logical);
  }
}

TEST(DeviceContextState, SaveAndRestoreByDepth) {
  RecordingContext dc;
  dc.SelectPen({1, 1, platform::PenStyle::Solid});
  EXPECT_EQ(dc.Save(), 1);
  dc.SelectPen({2, 1, platform::PenStyle::Dot});
  dc.SetRasterOp(RasterOp::Xor);
  EXPECT_EQ(dc.Save(), 2);
  dc.SelectPen({3, 1, platform::PenStyle::Dash});
  EXPECT_TRUE(dc.Restore());  // the last save
  EXPECT_EQ(dc.CurrentPen().color, 2u);
  EXPECT_EQ(dc.GetRasterOp(), RasterOp::Xor);
  EXPECT_TRUE(dc.Save() == 2);
  EXPECT_TRUE(dc.Restore(1));  // back past both
  EXPECT_EQ(dc.CurrentPen().color, 1u);
  EXPECT_EQ(dc.GetRasterOp(), RasterOp::Copy);
  EXPECT_FALSE(dc.Restore()) << "nothing left to restore";
  EXPECT_FALSE(dc.Restore(3));
}

TEST(Bitmap, MappedColourAndCopyStayInside) {
  platform::Bitmap b(4, 3, 0x111111);
  b.Fill({1, 1, 10, 10}, 0x0000FF);
  const auto mapped = b.WithColorReplaced(0x0000FF, 0x00FF00);
  EXPECT_EQ(mapped.Pixel(0, 0), 0x111111u);
  EXPECT_EQ(mapped.Pixel(3, 2), 0x00FF00u);
  const auto part = b.Copy({2, -5, 8, 2});
  EXPECT_EQ(part.Width(), 2);
  EXPECT_EQ(part.Height(), 2);
  EXPECT_EQ(b.Pixel(9, 9), 0u) << "outside reads zero";
  EXPECT_TRUE(platform::Bitmap(-1, 5).IsEmpty());
}

}  // namespace
