// The raster device context and the desktop view: pixels as drawn.
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <vector>

#include "platform/frame.h"
#include "platform/key_codes.h"
#include "platform/qt/qt_frame.h"
#include "platform/qt/qt_backend.h"
#include "platform/text.h"
#include "qt_test_support.h"


namespace {

using platform::Bitmap;
using platform::DeviceContext;
using platform::Pen;
using platform::PenStyle;
using platform::RasterOp;

constexpr platform::Size kImage{200, 150};

Bitmap Pixels(const DeviceContext& dc) { return dc.CopyBitmap({0, 0, dc.DeviceSize().cx, dc.DeviceSize().cy}); }

// A background that is not uniform, so XOR cannot cancel by chance.
void PaintBackground(DeviceContext& dc) {
  for (int y = 0; y < kImage.cy; y += 10)
    dc.FillRect({0, y, kImage.cx, y + 10}, platform::Brush{platform::Rgb(y, 255 - y, (y * 7) & 0xFF)});
}

using QtRasterTest = windowtest::QtTest;

TEST_F(QtRasterTest, XorFiguresDrawnTwiceLeaveTheImageUnchanged) {
  struct Case {
    const char* name;
    Pen pen;
    void (*draw)(DeviceContext&);
  };
  const Case cases[] = {
      {"solid line",
       {0xFFFFFF, 1, PenStyle::Solid},
       [](DeviceContext& dc) {
         dc.MoveTo({3, 4});
         dc.LineTo({190, 140});
       }},
      {"dotted line",
       {0x00FF00, 1, PenStyle::Dot},
       [](DeviceContext& dc) {
         dc.MoveTo({0, 75});
         dc.LineTo({199, 75});
       }},
      {"dash-dot-dot",
       {0x123456, 1, PenStyle::DashDotDot},
       [](DeviceContext& dc) {
         dc.MoveTo({10, 140});
         dc.LineTo({150, 5});
       }},
      {"wide line",
       {0xFF00FF, 3, PenStyle::Solid},
       [](DeviceContext& dc) {
         dc.MoveTo({20, 20});
         dc.LineTo({180, 30});
       }},
      {"rubber band",
       {0xFFFFFF, 1, PenStyle::Solid},
       [](DeviceContext& dc) {
         dc.Polyline({{10, 10}, {120, 10}, {120, 90}, {10, 90}, {10, 10}});
       }},
      {"hollow ellipse",
       {0x0000FF, 1, PenStyle::Solid},
       [](DeviceContext& dc) {
         dc.SelectBrush({0, platform::BrushStyle::Null});
         dc.Ellipse({30, 30, 170, 120});
       }},
      {"focus frame",
       {0, 1, PenStyle::Solid},
       [](DeviceContext& dc) {
         dc.DrawFocusRect({5, 5, 100, 60});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto dc = platform::qt::CreateRasterContext(kImage);
    PaintBackground(*dc);
    const Bitmap before = Pixels(*dc);
    dc->SelectPen(c.pen);
    dc->SetRasterOp(RasterOp::Xor);
    c.draw(*dc);
    const Bitmap once = Pixels(*dc);
    EXPECT_NE(once, before) << "the figure must show";
    c.draw(*dc);
    EXPECT_EQ(Pixels(*dc), before);
  }
}

TEST_F(QtRasterTest, XorCombinesThePenWithEachPixel) {
  auto dc = platform::qt::CreateRasterContext(kImage, 0x204060);
  dc->SelectPen({0x0F0F0F, 1, PenStyle::Solid});
  dc->SetRasterOp(RasterOp::Xor);
  dc->MoveTo({0, 10});
  dc->LineTo({100, 10});
  const Bitmap b = Pixels(*dc);
  EXPECT_EQ(b.Pixel(50, 10), 0x204060u ^ 0x0F0F0Fu);
  EXPECT_EQ(b.Pixel(50, 11), 0x204060u);
  EXPECT_EQ(b.Pixel(100, 10), 0x204060u) << "a line leaves its end point out";
}

TEST_F(QtRasterTest, IsotropicMappingAndClippingPlacePixels) {
  auto dc = platform::qt::CreateRasterContext(kImage);
  dc->SetMapMode(platform::MapMode::Isotropic);
  dc->SetWindowExtent({100, 100});
  dc->SetViewportExtent({200, 150});  // the smaller scale, 1.5, holds for both axes
  dc->FillRect({10, 10, 20, 20}, platform::Brush{0x0000FF});
  const Bitmap b = Pixels(*dc);
  EXPECT_EQ(b.Pixel(15, 15), 0x0000FFu);
  EXPECT_EQ(b.Pixel(29, 29), 0x0000FFu);
  EXPECT_EQ(b.Pixel(30, 30), 0xFFFFFFu);
  EXPECT_EQ(b.Pixel(14, 14), 0xFFFFFFu);

  auto clip = platform::qt::CreateRasterContext(kImage);
  clip->Save();
  clip->ExcludeClipRect({50, 0, 100, 150});
  clip->FillRect({0, 0, 200, 150}, platform::Brush{0x00FF00});
  clip->Restore();
  clip->FillRect({60, 0, 61, 1}, platform::Brush{0xFF0000});  // after the restore, no clip
  const Bitmap c = Pixels(*clip);
  EXPECT_EQ(c.Pixel(10, 10), 0x00FF00u);
  EXPECT_EQ(c.Pixel(70, 10), 0xFFFFFFu) << "the excluded strip stays";
  EXPECT_EQ(c.Pixel(60, 0), 0xFF0000u);
}

TEST_F(QtRasterTest, MemoryBitmapsCopyBetweenContexts) {
  auto source = platform::qt::CreateRasterContext({20, 20}, 0x00FF00);
  source->FillRect({0, 0, 10, 10}, platform::Brush{0x0000FF});
  auto dest = source->CreateCompatible({50, 50});
  dest->BitBlt({5, 5}, {20, 20}, *source, {0, 0});
  const Bitmap d = Pixels(*dest);
  EXPECT_EQ(d.Pixel(6, 6), 0x0000FFu);
  EXPECT_EQ(d.Pixel(20, 20), 0x00FF00u);
  EXPECT_EQ(d.Pixel(30, 30), 0xFFFFFFu);

  Bitmap swatch(8, 8, 0x0000FF);
  dest->DrawBitmap({40, 40}, swatch.WithColorReplaced(0x0000FF, 0x123456));
  EXPECT_EQ(Pixels(*dest).Pixel(44, 44), 0x123456u);
}

TEST_F(QtRasterTest, JapaneseTextIsMeasuredAndDrawn) {
  auto dc = platform::qt::CreateRasterContext(kImage);
  dc->SelectFont({platform::Sjis("ＭＳ 明朝"), 20, 400});
  const platform::Size extent = dc->GetTextExtent(platform::Sjis("原点設定"));
  EXPECT_GT(extent.cx, 40) << "four CJK glyphs";
  EXPECT_GE(extent.cy, 18);
  dc->SetBackgroundMode(platform::BackgroundMode::Transparent);
  dc->SetTextColor(0x000000);
  dc->TextOut({10, 10}, platform::Sjis("原点設定"));
  const Bitmap b = Pixels(*dc);
  int inked = 0;
  for (int y = 10; y < 10 + extent.cy; ++y)
    for (int x = 10; x < 10 + extent.cx; ++x) inked += b.Pixel(x, y) != 0xFFFFFFu;
  EXPECT_GT(inked, 40);
  int outside = 0;
  for (int x = 0; x < kImage.cx; ++x) outside += b.Pixel(x, 100) != 0xFFFFFFu;
  EXPECT_EQ(outside, 0);
}

// The view: XOR feedback drawn outside painting and erased by drawing it
// again leaves the backing image as painted.
TEST_F(QtRasterTest, ViewFeedbackOutsidePaintingIsErasedByDrawingItAgain) {
  struct Painter : platform::ViewHandler {
    int paints = 0;
    void OnPaint(DeviceContext& dc) override {
      ++paints;
      dc.FillRect({0, 0, 80, 60}, platform::Brush{0x406575});
    }
  } handler;
  auto frame = platform::CreateFrame();
  platform::ViewSurface& view = frame->View();
  view.SetHandler(&handler);
  view.SetBackgroundColor(0x000000);
  frame->Show();
  view.Invalidate();
  view.UpdateNow();
  platform::PumpMessages();
  ASSERT_GE(handler.paints, 1);
  const platform::Size size = view.ClientSize();
  const Bitmap painted = view.CopyClientArea({0, 0, size.cx, size.cy});
  EXPECT_EQ(painted.Pixel(10, 10), 0x406575u);

  auto rubber = [&] {
    auto dc = view.GetDC();
    dc->SelectPen({0xFFFFFF, 1, PenStyle::Solid});
    dc->SetRasterOp(RasterOp::Xor);
    dc->Polyline({{5, 5}, {70, 5}, {70, 50}, {5, 50}, {5, 5}});
  };
  rubber();
  platform::PumpMessages();
  EXPECT_NE(view.CopyClientArea({0, 0, size.cx, size.cy}), painted);
  rubber();
  platform::PumpMessages();
  EXPECT_EQ(view.CopyClientArea({0, 0, size.cx, size.cy}), painted);
  view.SetHandler(nullptr);
}

// A run holds its context on the view while events (repaints among them)
// are pumped; both keep drawing into the one image.
TEST_F(QtRasterTest, AContextHeldThroughARepaintKeepsDrawing) {
  struct Painter : platform::ViewHandler {
    int paints = 0;
    void OnPaint(DeviceContext& dc) override {
      ++paints;
      dc.SelectPen({0x00FF00, 1, PenStyle::Solid});
      dc.MoveTo({0, 2});
      dc.LineTo({50, 2});
    }
  } handler;
  auto frame = platform::CreateFrame();
  platform::ViewSurface& view = frame->View();
  view.SetHandler(&handler);
  view.SetBackgroundColor(0x000000);
  frame->Show();
  platform::PumpMessages();

  auto held = view.GetDC();
  held->SelectPen({0x0000FF, 1, PenStyle::Solid});
  held->MoveTo({0, 20});
  held->LineTo({50, 20});
  const int paintsBefore = handler.paints;
  view.Invalidate();
  view.UpdateNow();
  platform::PumpMessages();
  EXPECT_GT(handler.paints, paintsBefore);
  held->MoveTo({0, 30});
  held->LineTo({50, 30});  // the held context's own pen, after the paint used its own
  const Bitmap b = view.CopyClientArea({0, 0, 60, 40});
  EXPECT_EQ(b.Pixel(10, 2), 0x00FF00u) << "the repaint drew";
  EXPECT_EQ(b.Pixel(10, 20), 0x000000u) << "the repaint cleared the earlier feedback";
  EXPECT_EQ(b.Pixel(10, 30), 0x0000FFu) << "the held context still draws, with its own pen";
  held.reset();
  view.SetHandler(nullptr);
}

// The view's list box: keys pressed in it are the view's keys.
TEST_F(QtRasterTest, KeysInTheViewListBoxReachTheView) {
  struct Keys : platform::ViewHandler {
    std::vector<int> keys;
    void OnKeyDown(int key, unsigned) override { keys.push_back(key); }
  } handler;
  auto frame = platform::CreateFrame();
  frame->View().SetHandler(&handler);
  frame->Show();
  platform::ViewListBox& list = frame->View().ListBox();
  list.SetRect({0, 100, 200, 150});
  list.Show(true);
  list.AddString("N0010 G00");
  list.SetCurSel(0);
  auto* widget = dynamic_cast<platform::qt::QtViewListBox&>(list).Widget();
  QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
  QApplication::sendEvent(widget, &f12);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(widget, &down);
  EXPECT_EQ(handler.keys, (std::vector<int>{platform::kKeyF12, platform::kKeyDown}));
  EXPECT_EQ(list.GetCurSel(), 0) << "the list itself does not act on them";
  EXPECT_EQ(list.GetString(0), "N0010 G00");
  frame->View().SetHandler(nullptr);
}

}  // namespace
