// The desktop's GL window over a host widget. Where the display has no OpenGL
// (the off-screen platform of the test runs) the drawing checks are skipped;
// the requested format and the window's geometry are checked everywhere.
#include "platform/qt/gl_window_qt.h"

#include <QApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWidget>

#include "platform/backend.h"
#include "platform/frame.h"
#include "platform/headless/headless_backend.h"
#include "tests/platform/devices/qt_test_app.h"

#include <gtest/gtest.h>

namespace {

using devicetests::App;

class ClearRenderer : public platform::GlRenderer {
 public:
  int initialized = 0, painted = 0;
  platform::Size resized{};
  void InitializeGl(platform::GlContext&) override { ++initialized; }
  void ResizeGl(platform::GlContext&, int w, int h) override { resized = {w, h}; }
  void PaintGl(platform::GlContext&) override {
    ++painted;
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
};

TEST(QtGlWindowTest, TheRequestedFormatIsTheDisplaysPixelFormat) {
  QSurfaceFormat f = platform::qt::DisplaySurfaceFormat();
  EXPECT_EQ(f.redBufferSize(), 8);
  EXPECT_EQ(f.greenBufferSize(), 8);
  EXPECT_EQ(f.blueBufferSize(), 8);
  EXPECT_EQ(f.alphaBufferSize(), 0);
  EXPECT_EQ(f.depthBufferSize(), 32);
  EXPECT_EQ(f.stencilBufferSize(), 0);
  EXPECT_EQ(f.swapBehavior(), QSurfaceFormat::DoubleBuffer);
  EXPECT_EQ(f.profile(), QSurfaceFormat::CompatibilityProfile);
  EXPECT_EQ(f.renderableType(), QSurfaceFormat::OpenGL);
}

// Where the display has no OpenGL the window is refused with a reason
// instead of failing later inside Qt.
#define SKIP_WITHOUT_OPENGL(made)                                    \
  if (!(made).window) {                                              \
    EXPECT_FALSE((made).message.empty());                            \
    GTEST_SKIP() << "no OpenGL on this display: " << (made).message; \
  }

TEST(QtGlWindowTest, TheWindowFillsItsHostAndLeavesInputToIt) {
  App();
  QWidget host;
  host.resize(200, 150);
  host.show();
  ClearRenderer renderer;
  platform::GlWindowResult made = platform::qt::CreateGlWindowOver(&host, renderer, platform::kDisplayGlFormat);
  SKIP_WITHOUT_OPENGL(made);
  auto* widget = host.findChild<platform::qt::GlWindowWidget*>();
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->geometry(), host.rect());
  EXPECT_TRUE(widget->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
  host.resize(320, 240);
  QApplication::processEvents();
  EXPECT_EQ(widget->geometry(), QRect(0, 0, 320, 240));
}

TEST(QtGlWindowTest, AFrameIsPaintedThroughTheRendererWhereOpenGlExists) {
  App();
  QWidget host;
  host.resize(64, 48);
  ClearRenderer renderer;
  platform::GlWindowResult made = platform::qt::CreateGlWindowOver(&host, renderer, platform::kDisplayGlFormat);
  SKIP_WITHOUT_OPENGL(made);
  host.show();
  auto* widget = host.findChild<platform::qt::GlWindowWidget*>();
  ASSERT_NE(widget, nullptr);
  QImage frame = widget->grabFramebuffer();
  ASSERT_TRUE(widget->context() && widget->context()->isValid());
  EXPECT_EQ(renderer.initialized, 1);
  EXPECT_GE(renderer.painted, 1);
  EXPECT_EQ(renderer.resized, (platform::Size{64, 48}));
  QColor centre = frame.pixelColor(32, 24);
  EXPECT_EQ(centre.red(), 255);
  EXPECT_NEAR(centre.green(), 128, 1);
  EXPECT_EQ(centre.blue(), 0);
  platform::GlFormat got = made.window->ActualFormat();
  EXPECT_EQ(got.colorBits, 24);
  EXPECT_GE(got.depthBits, 16);
  RecordProperty("depth_bits", got.depthBits);
  std::printf("GL window depth bits: %d\n", got.depthBits);
}

TEST(QtGlWindowTest, AHandleThatOutlivesItsHostAnswersWithoutAContext) {
  App();
  auto host = std::make_unique<QWidget>();
  ClearRenderer renderer;
  platform::GlWindowResult made = platform::qt::CreateGlWindowOver(host.get(), renderer, platform::kDisplayGlFormat);
  SKIP_WITHOUT_OPENGL(made);
  host.reset();
  EXPECT_FALSE(made.window->MakeCurrent());
  EXPECT_FALSE(made.window->LastError().empty());
  EXPECT_FALSE(made.window->IsVisible());
  made.window->Update();
  made.window.reset();  // must not delete the widget twice
}

TEST(QtGlWindowTest, InstalledWindowsNeedADesktopView) {
  App();
  platform::qt::InstallQtGlWindows();
  // A headless view is no desktop window.
  platform::headless::HeadlessBackend& backend = platform::headless::InstallHeadlessBackend();
  std::unique_ptr<platform::Frame> frame = backend.CreateFrame();
  platform::ViewSurface& surface = frame->View();
  ClearRenderer renderer;
  platform::GlWindowResult made = platform::CreateGlWindow(surface, renderer);
  EXPECT_FALSE(made.window);
  EXPECT_FALSE(made.message.empty());
  platform::SetGlWindowFactory({});
  frame.reset();
  platform::UninstallBackend();
}

}  // namespace
