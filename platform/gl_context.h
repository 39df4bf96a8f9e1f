#pragma once
// The OpenGL context of the 3-D display. The display calls OpenGL 1.1 and GLU
// itself (the fixed pipeline: lights, perspective, look-at, unproject); the
// platform only supplies a context to draw in:
//  - the desktop: a GL window (platform/qt) with a compatibility profile;
//  - tests: an off-screen context (platform/gl, Mesa's off-screen renderer)
//    whose pixels can be read back.
// The display owns one context for its whole life and makes it current only
// for the length of one operation (a paint, a resize, a mouse rotation).
#include <functional>
#include <memory>
#include <string>

#include "platform/geometry.h"

namespace platform {

// A pixel format: colour bits (red + green + blue) and depth-buffer bits.
struct GlFormat {
  int colorBits = 24;
  int depthBits = 32;
  bool doubleBuffer = true;
  friend bool operator==(const GlFormat&, const GlFormat&) = default;
};

// What the 3-D display asks for: RGBA with 8 bits per colour (24 colour bits,
// no alpha needed), a 32-bit depth buffer for the deep models, double-buffered.
// Drivers may give less depth; the context reports what it got.
inline constexpr GlFormat kDisplayGlFormat{24, 32, true};

class GlContext {
 public:
  virtual ~GlContext() = default;
  // Makes the context current on this thread; false (with LastError) when
  // the context is gone or cannot be bound.
  virtual bool MakeCurrent() = 0;
  virtual void DoneCurrent() = 0;
  // Shows the frame drawn (for a single-buffered context: finishes it).
  virtual void SwapBuffers() = 0;
  virtual Size SurfaceSize() const = 0;
  // The format the driver gave, which can differ from the one asked for.
  virtual GlFormat ActualFormat() const = 0;
  virtual const std::string& LastError() const = 0;
};

// The 3-D display's side: the GL window calls these with the context current.
class GlRenderer {
 public:
  virtual ~GlRenderer() = default;
  virtual void InitializeGl(GlContext& context) { (void)context; }
  virtual void ResizeGl(GlContext& context, int width, int height) { (void)context, (void)width, (void)height; }
  virtual void PaintGl(GlContext& context) = 0;
};

class ViewSurface;

// The window the 3-D display draws in, laid over a view surface: it takes the
// surface's client area and leaves the mouse and the keys to the surface, so
// the view's handlers stay the same in 2-D and 3-D.
class GlWindow : public GlContext {
 public:
  virtual void SetVisible(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  // Asks for a frame: the renderer's PaintGl runs with the context current
  // (at the next event processing in the desktop, at once off-screen).
  virtual void Update() = 0;
};

struct GlWindowResult {
  std::unique_ptr<GlWindow> window;  // null on failure
  std::string message;
};

// The backend's way of making GL windows: the desktop backend installs the
// real one, tests install off-screen windows (platform/gl).
using GlWindowFactory = std::function<GlWindowResult(ViewSurface&, GlRenderer&, const GlFormat&)>;
void SetGlWindowFactory(GlWindowFactory factory);

// A GL window over `surface` that calls `renderer` (not owned; it must outlive
// the window). Fails with a message when the backend has no OpenGL.
GlWindowResult CreateGlWindow(ViewSurface& surface, GlRenderer& renderer, const GlFormat& format = kDisplayGlFormat);

}  // namespace platform
