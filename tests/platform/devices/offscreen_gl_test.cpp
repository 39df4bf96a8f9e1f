// The off-screen OpenGL context: a frame drawn with the fixed pipeline and
// GLU, as the 3-D display draws, is read back pixel by pixel.
#include "platform/gl/offscreen_gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <functional>

#include "platform/backend.h"
#include "platform/frame.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_view.h"

#include <gtest/gtest.h>

namespace {

using platform::Bitmap;
using platform::Color;
using platform::Size;

constexpr Color kBackground = platform::Rgb(0, 0, 64);

// A perspective camera 200 units in front of the origin, one directional
// light from the viewer, red material through colour tracking.
class SceneRenderer : public platform::GlRenderer {
 public:
  std::function<void()> draw;
  int initialized = 0;
  Size resizedTo{};
  GLfloat lightLevel = 0.2f;

  void InitializeGl(platform::GlContext&) override {
    ++initialized;
    glClearColor(0.0f, 0.0f, 64 / 255.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
  }
  void ResizeGl(platform::GlContext&, int width, int height) override {
    resizedTo = {width, height};
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(25.0, double(width) / double(height), 1.0, 99000.0);
    glMatrixMode(GL_MODELVIEW);
  }
  void PaintGl(platform::GlContext&) override {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, 0, 200, 0, 0, 0, 0, 1, 0);
    const GLfloat ambient[] = {lightLevel, lightLevel, lightLevel, 1};
    const GLfloat diffuse[] = {0.6f, 0.6f, 0.6f, 1};
    const GLfloat position[] = {0, 0, 1, 0};  // directional, from the viewer
    const GLfloat noSceneAmbient[] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noSceneAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    if (draw) draw();
  }
};

void Triangle(GLfloat normalZ, GLfloat yShift = 0) {
  glColor3f(1, 0, 0);
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 0, normalZ);
  glVertex3f(-30, -25 + yShift, 0);
  glVertex3f(30, -25 + yShift, 0);
  glVertex3f(0, 30 + yShift, 0);
  glEnd();
}

std::unique_ptr<platform::OffscreenGlContext> MakeContext(Size size) {
  platform::OffscreenGlResult r = platform::CreateOffscreenGlContext(size);
  EXPECT_TRUE(r.context) << r.message;
  return std::move(r.context);
}

Bitmap RenderScene(SceneRenderer& renderer, Size size = {160, 120}) {
  auto context = MakeContext(size);
  if (!context) return {};
  platform::OffscreenGlWindow window(std::move(context), renderer);
  EXPECT_TRUE(window.Render()) << window.LastError();
  return window.ReadPixels();
}

TEST(OffscreenGlTest, ALitTriangleIsDrawnOverTheClearColour) {
  SceneRenderer renderer;
  renderer.draw = [] { Triangle(1); };
  Bitmap frame = RenderScene(renderer);
  ASSERT_EQ(frame.Width(), 160);
  ASSERT_EQ(frame.Height(), 120);

  EXPECT_EQ(frame.Pixel(0, 0), kBackground);
  EXPECT_EQ(frame.Pixel(159, 119), kBackground);
  Color centre = frame.Pixel(80, 60);
  // Ambient 0.2 + diffuse 0.6 facing the light: about 0.8 of full red.
  EXPECT_NEAR(platform::RedOf(centre), 204, 3);
  EXPECT_EQ(platform::GreenOf(centre), 0);
  EXPECT_EQ(platform::BlueOf(centre), 0);
}

TEST(OffscreenGlTest, LightingDependsOnTheNormalAndTheLightLevel) {
  struct Case {
    GLfloat normalZ;
    GLfloat lightLevel;
    int red;
  } cases[] = {
      {1, 0.2f, 204},   // ambient + full diffuse
      {-1, 0.2f, 51},   // facing away: ambient only
      {-1, 0.5f, 128},  // brighter ambient
  };
  for (const Case& c : cases) {
    SceneRenderer renderer;
    renderer.lightLevel = c.lightLevel;
    renderer.draw = [&] { Triangle(c.normalZ); };
    Bitmap frame = RenderScene(renderer);
    EXPECT_NEAR(platform::RedOf(frame.Pixel(80, 60)), c.red, 3) << c.normalZ << " " << c.lightLevel;
  }
}

TEST(OffscreenGlTest, TheTopRowOfTheReadBackIsTheTopOfTheView) {
  SceneRenderer renderer;
  renderer.draw = [] { Triangle(1, 20); };  // moved up in the scene
  Bitmap frame = RenderScene(renderer);
  // The apex lies above the centre line, so the upper rows hold red first.
  int firstRedRow = -1;
  for (int y = 0; y < frame.Height() && firstRedRow < 0; ++y) {
    if (platform::RedOf(frame.Pixel(80, y)) > 100) firstRedRow = y;
  }
  EXPECT_GE(firstRedRow, 0);
  EXPECT_LT(firstRedRow, 30);
  EXPECT_EQ(frame.Pixel(80, 115), kBackground);
}

TEST(OffscreenGlTest, TheDepthBufferHidesFartherFacesWhateverTheDrawingOrder) {
  auto quad = [](GLfloat z, GLfloat r, GLfloat g) {
    glColor3f(r, g, 0);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex3f(-20, -20, z);
    glVertex3f(20, -20, z);
    glVertex3f(20, 20, z);
    glVertex3f(-20, 20, z);
    glEnd();
  };
  for (bool nearFirst : {true, false}) {
    SceneRenderer renderer;
    renderer.draw = [&] {
      if (nearFirst) quad(10, 0, 1);
      quad(-10, 1, 0);
      if (!nearFirst) quad(10, 0, 1);
    };
    Bitmap frame = RenderScene(renderer);
    Color centre = frame.Pixel(80, 60);
    EXPECT_GT(platform::GreenOf(centre), 100) << nearFirst;
    EXPECT_EQ(platform::RedOf(centre), 0) << nearFirst;
  }
}

TEST(OffscreenGlTest, TheContextReportsTheFormatItGot) {
  auto context = MakeContext({8, 8});
  ASSERT_TRUE(context);
  ASSERT_TRUE(context->MakeCurrent()) << context->LastError();
  platform::GlFormat got = context->ActualFormat();
  context->DoneCurrent();
  EXPECT_EQ(got.colorBits, 24);
  EXPECT_GE(got.depthBits, 24);
  RecordProperty("depth_bits", got.depthBits);
}

TEST(OffscreenGlTest, ResizingReachesTheRendererOnceAndInitialisationHappensOnce) {
  SceneRenderer renderer;
  renderer.draw = [] { Triangle(1); };
  auto context = MakeContext({100, 100});
  ASSERT_TRUE(context);
  platform::OffscreenGlWindow window(std::move(context), renderer);
  ASSERT_TRUE(window.Render());
  EXPECT_EQ(renderer.resizedTo, (Size{100, 100}));
  window.Resize({64, 32});
  ASSERT_TRUE(window.Render());
  ASSERT_TRUE(window.Render());
  EXPECT_EQ(renderer.initialized, 1);
  EXPECT_EQ(renderer.resizedTo, (Size{64, 32}));
  Bitmap frame = window.ReadPixels();
  EXPECT_EQ(frame.Width(), 64);
  EXPECT_EQ(frame.Height(), 32);
  EXPECT_GT(platform::RedOf(frame.Pixel(32, 16)), 100);
}

TEST(OffscreenGlTest, AnEmptySizeIsRefused) {
  platform::OffscreenGlResult r = platform::CreateOffscreenGlContext({0, 10});
  EXPECT_FALSE(r.context);
  EXPECT_FALSE(r.message.empty());
}

// A headless frame's view: only its client size matters to a GL window.
struct HeadlessViewFixture {
  HeadlessViewFixture()
      : backend(platform::headless::InstallHeadlessBackend()),
        frame(backend.CreateFrame()),
        view(static_cast<platform::headless::HeadlessView&>(frame->View())) {}
  ~HeadlessViewFixture() {
    frame.reset();  // the frame tells the backend it goes
    platform::UninstallBackend();
  }
  platform::headless::HeadlessBackend& backend;
  std::unique_ptr<platform::Frame> frame;
  platform::headless::HeadlessView& view;
};

TEST(OffscreenGlTest, InstalledOffscreenWindowsFollowTheViewSurface) {
  platform::InstallOffscreenGlWindows();
  HeadlessViewFixture headless;
  headless.view.Resize(120, 90);
  SceneRenderer renderer;
  renderer.draw = [] { Triangle(1); };
  platform::GlWindowResult made = platform::CreateGlWindow(headless.view, renderer);
  ASSERT_TRUE(made.window) << made.message;
  auto& window = static_cast<platform::OffscreenGlWindow&>(*made.window);

  window.Update();
  EXPECT_EQ(window.ReadPixels().Width(), 120);
  headless.view.Resize(60, 40);
  window.Update();
  Bitmap frame = window.ReadPixels();
  EXPECT_EQ(frame.Width(), 60);
  EXPECT_EQ(frame.Height(), 40);
  EXPECT_EQ(renderer.resizedTo, (Size{60, 40}));
  // A view without area (minimised) keeps the last frame instead of failing.
  headless.view.Resize(0, 0);
  window.Update();
  EXPECT_EQ(window.FrameCount(), 2);
  platform::SetGlWindowFactory({});
}

TEST(OffscreenGlTest, WithoutAnInstalledFactoryThereIsNoGlWindow) {
  platform::SetGlWindowFactory({});
  HeadlessViewFixture headless;
  SceneRenderer renderer;
  platform::GlWindowResult made = platform::CreateGlWindow(headless.view, renderer);
  EXPECT_FALSE(made.window);
  EXPECT_FALSE(made.message.empty());
}

}  // namespace
