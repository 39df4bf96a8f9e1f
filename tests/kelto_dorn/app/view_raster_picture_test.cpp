// The sample drawing painted through the raster device context and kept as
// a PNG picture of the build (looked at, not compared).
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "platform/qt/raster_context.h"
#include "tests/kelto_dorn/app/view_fixture.h"
#include "tests/kelto_dorn/app/view_sample_drawing.h"

// Font look-ups keep a cache that the font library frees only at exit: that
// is the library's own memory, not a leak of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace dorn {
namespace {

class RasterPictureTest : public test::ViewTest {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_view_picture_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  }
};

TEST_F(RasterPictureTest, SampleDrawingIsPaintedIntoAnImageAndSavedAsPng) {
  test::MakeSampleDrawing();
  g_view.m_clientWidth = 1024;
  g_view.m_clientHeight = 768;
  g_layerScale[0] = 150;
  g_layerOffsetX[0] = -60 * 1.5;  // the work's middle at the window's middle
  g_layerOffsetY[0] = -40 * 1.5;
  g_layerGridPitch[0] = 10;
  const platform::Color background = 0x000000;
  platform::qt::RasterContext dc({1024, 768}, background);
  PaintAllDrawings(dc);
  EXPECT_TRUE(ShownTexts().empty());  // no faulty curve

  // Something of the drawing is on the image: not every pixel is background.
  QImage* image = dc.Image();
  ASSERT_NE(image, nullptr);
  int painted = 0;
  for (int y = 0; y < image->height(); y += 2)
    for (int x = 0; x < image->width(); x += 2)
      if ((image->pixel(x, y) & 0xFFFFFF) != background) ++painted;
  EXPECT_GT(painted, 2000);

  const std::filesystem::path out = std::filesystem::path(KELTO_VIEW_PICTURE_DIR) / "view_sample_drawing.png";
  ASSERT_TRUE(image->save(QString::fromStdString(out.string()), "PNG"));
  EXPECT_GT(std::filesystem::file_size(out), 1000u);
}

}  // namespace
}  // namespace dorn
