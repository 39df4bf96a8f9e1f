#pragma once
// An OpenGL context that renders into memory through Mesa's off-screen
// renderer: the 3-D display runs in tests without a window and its frame is
// checked pixel by pixel. Single-buffered: SwapBuffers finishes the frame.
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/gl_context.h"

namespace platform {

class OffscreenGlContext : public GlContext {
 public:
  // The pixels of the last frame, top row first (0x00BBGGRR).
  virtual Bitmap ReadPixels() const = 0;
  // A new surface size; the next MakeCurrent binds it.
  virtual void Resize(Size size) = 0;
};

struct OffscreenGlResult {
  std::unique_ptr<OffscreenGlContext> context;  // null on failure
  std::string message;
};

// A context of `size` pixels asking for `format` (colour bits are always 8 per
// channel in memory).
OffscreenGlResult CreateOffscreenGlContext(Size size, const GlFormat& format = kDisplayGlFormat);

// Drives a renderer as the GL window would: InitializeGl once on the first
// frame, ResizeGl when the size changed, then PaintGl and SwapBuffers, all with
// the context current. Returns false when the context cannot be made current.
class OffscreenGlWindow {
 public:
  OffscreenGlWindow(OffscreenGlContext& context, GlRenderer& renderer) : context_(context), renderer_(renderer) {}
  bool Render();
  void Resize(Size size) { context_.Resize(size); }

 private:
  OffscreenGlContext& context_;
  GlRenderer& renderer_;
  bool initialized_ = false;
  Size renderedSize_{};
};

}  // namespace platform
