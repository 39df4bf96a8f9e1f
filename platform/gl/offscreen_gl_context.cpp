// Off-screen rendering through Mesa's OSMesa interface.
#include "platform/gl/offscreen_gl_context.h"

#include <GL/osmesa.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/view_surface.h"

// Mesa's off-screen library keeps its framebuffers in a list of its own until
// the process ends; the leak checker of the test build is told so here, for
// every program that renders off-screen. Without the checker nothing calls it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }

namespace platform {
namespace {

class OsMesaContext final : public OffscreenGlContext {
 public:
  OsMesaContext(OSMesaContext context, Size size) : context_(context) { Allocate(size); }
  ~OsMesaContext() override {
    if (OSMesaGetCurrentContext() == context_) DoneCurrent();
    OSMesaDestroyContext(context_);
  }

  bool MakeCurrent() override {
    if (size_.cx <= 0 || size_.cy <= 0) {
      error_ = "the off-screen surface is empty";
      return false;
    }
    if (!OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, size_.cx, size_.cy)) {
      error_ = "cannot make the off-screen context current";
      return false;
    }
    // Row 0 of the buffer is the top row, as in a window's image.
    OSMesaPixelStore(OSMESA_Y_UP, 0);
    if (!formatKnown_) {
      GLint depth = 0, red = 0, green = 0, blue = 0;
      glGetIntegerv(GL_DEPTH_BITS, &depth);
      glGetIntegerv(GL_RED_BITS, &red);
      glGetIntegerv(GL_GREEN_BITS, &green);
      glGetIntegerv(GL_BLUE_BITS, &blue);
      if (red + green + blue == 0) {
        // The gl* calls went to another OpenGL library that has no context
        // (the system's GL loaded ahead of the off-screen renderer): every
        // frame would stay black without a word.
        error_ =
            "OpenGL calls do not reach the off-screen renderer: the program links the system's "
            "OpenGL library ahead of it (link kelto_platform_gl first)";
        DoneCurrent();
        return false;
      }
      format_ = {red + green + blue, depth, false};
      formatKnown_ = true;
    }
    return true;
  }

  void DoneCurrent() override { OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0); }
  void SwapBuffers() override { glFinish(); }
  Size SurfaceSize() const override { return size_; }
  GlFormat ActualFormat() const override { return format_; }
  const std::string& LastError() const override { return error_; }

  void Resize(Size size) override {
    if (size == size_) return;
    bool current = OSMesaGetCurrentContext() == context_;
    Allocate(size);
    if (current) MakeCurrent();  // the old buffer is gone: bind the new one
  }

  Bitmap ReadPixels() const override {
    Bitmap image(size_.cx, size_.cy);
    std::vector<Color>& out = image.Pixels();
    for (std::size_t i = 0; i < out.size(); ++i) {
      const std::uint8_t* rgba = &pixels_[i * 4];
      out[i] = Rgb(rgba[0], rgba[1], rgba[2]);
    }
    return image;
  }

 private:
  void Allocate(Size size) {
    size_ = {std::max(size.cx, 0), std::max(size.cy, 0)};
    pixels_.assign(std::size_t(size_.cx) * std::size_t(size_.cy) * 4, 0);
  }

  OSMesaContext context_;
  Size size_{};
  std::vector<std::uint8_t> pixels_;  // RGBA, 8 bits per channel
  GlFormat format_{};
  bool formatKnown_ = false;
  std::string error_;
};

}  // namespace

OffscreenGlResult CreateOffscreenGlContext(Size size, const GlFormat& format) {
  if (size.cx <= 0 || size.cy <= 0) return {nullptr, "an off-screen context needs a non-empty size"};
  // The fixed pipeline of OpenGL 1.1 is all the display uses; Mesa's
  // off-screen contexts are compatibility contexts.
  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, format.depthBits, 0, 0, nullptr);
  if (!context) {
    return {nullptr,
            "cannot create an off-screen OpenGL context with " + std::to_string(format.depthBits) + " depth bits"};
  }
  return {std::make_unique<OsMesaContext>(context, size), {}};
}

OffscreenGlWindow::OffscreenGlWindow(std::unique_ptr<OffscreenGlContext> context, GlRenderer& renderer,
                                     std::function<Size()> sizeSource)
    : context_(std::move(context)), renderer_(renderer), sizeSource_(std::move(sizeSource)) {}

bool OffscreenGlWindow::Render() {
  if (sizeSource_) {
    Size wanted = sizeSource_();
    // A minimised or not yet laid out view has no area; keep the last frame.
    if (wanted.cx <= 0 || wanted.cy <= 0) return true;
    context_->Resize(wanted);
  }
  if (!context_->MakeCurrent()) return false;
  Size size = context_->SurfaceSize();
  if (!initialized_) {
    renderer_.InitializeGl(*this);
    initialized_ = true;
  }
  if (size != renderedSize_) {
    renderer_.ResizeGl(*this, size.cx, size.cy);
    renderedSize_ = size;
  }
  renderer_.PaintGl(*this);
  context_->SwapBuffers();
  context_->DoneCurrent();
  ++frames_;
  return true;
}

void InstallOffscreenGlWindows() {
  SetGlWindowFactory([](ViewSurface& surface, GlRenderer& renderer, const GlFormat& format) -> GlWindowResult {
    Size size = surface.ClientSize();
    OffscreenGlResult made = CreateOffscreenGlContext({std::max(size.cx, 1), std::max(size.cy, 1)}, format);
    if (!made.context) return {nullptr, made.message};
    ViewSurface* source = &surface;
    return {std::make_unique<OffscreenGlWindow>(std::move(made.context), renderer,
                                                [source] { return source->ClientSize(); }),
            {}};
  });
}

}  // namespace platform
