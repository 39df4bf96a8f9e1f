#pragma once
// An OpenGL context that renders into memory through Mesa's off-screen
// renderer: the 3-D display runs in tests without a window and its frame is
// checked pixel by pixel. Single-buffered: SwapBuffers finishes the frame.
#include <functional>
#include <memory>
#include <string>

#include "platform/bitmap.h"
#include "platform/gl_context.h"

namespace platform {

class OffscreenGlContext : public GlContext {
 public:
  // The pixels of the last frame, top row first (0x00BBGGRR).
  virtual Bitmap ReadPixels() const = 0;
  // A new surface size; the next MakeCurrent binds it (at once when current).
  virtual void Resize(Size size) = 0;
};

struct OffscreenGlResult {
  std::unique_ptr<OffscreenGlContext> context;  // null on failure
  std::string message;
};

// A context of `size` pixels asking for `format` (colour bits are always 8 per
// channel in memory).
OffscreenGlResult CreateOffscreenGlContext(Size size, const GlFormat& format = kDisplayGlFormat);

// A GL window without a screen: it drives its renderer as the desktop's GL
// window does (InitializeGl once, ResizeGl when the size changed, then PaintGl
// and SwapBuffers, all with the context current), synchronously on Update.
class OffscreenGlWindow final : public GlWindow {
 public:
  // `sizeSource` gives the size for each frame (the view surface's client
  // size); without it the context keeps its own size.
  OffscreenGlWindow(std::unique_ptr<OffscreenGlContext> context, GlRenderer& renderer,
                    std::function<Size()> sizeSource = {});

  // One frame; false when the context cannot be made current (LastError says why).
  bool Render();
  Bitmap ReadPixels() const { return context_->ReadPixels(); }
  int FrameCount() const { return frames_; }
  void Resize(Size size) { context_->Resize(size); }

  void SetVisible(bool visible) override { visible_ = visible; }
  bool IsVisible() const override { return visible_; }
  void Update() override { Render(); }

  bool MakeCurrent() override { return context_->MakeCurrent(); }
  void DoneCurrent() override { context_->DoneCurrent(); }
  void SwapBuffers() override { context_->SwapBuffers(); }
  Size SurfaceSize() const override { return context_->SurfaceSize(); }
  GlFormat ActualFormat() const override { return context_->ActualFormat(); }
  const std::string& LastError() const override { return context_->LastError(); }

 private:
  std::unique_ptr<OffscreenGlContext> context_;
  GlRenderer& renderer_;
  std::function<Size()> sizeSource_;
  bool visible_ = true;
  bool initialized_ = false;
  Size renderedSize_{};
  int frames_ = 0;
};

// Makes CreateGlWindow give off-screen windows that follow the view surface's
// client size (tests of the 3-D display under the headless backend).
void InstallOffscreenGlWindows();

}  // namespace platform
