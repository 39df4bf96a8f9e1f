#pragma once
// The desktop's GL window: a QOpenGLWidget laid over the view's widget. It
// fills the view and passes the mouse and the keys through to it, so the
// view's handlers work the same in the 2-D and the 3-D display.
#include <QOpenGLWidget>
#include <QSurfaceFormat>

#include "platform/gl_context.h"

namespace platform::qt {

// RGBA with the asked colour and depth bits, no alpha, no stencil, double
// buffered, compatibility profile so that the fixed pipeline is there.
QSurfaceFormat DisplaySurfaceFormat(const GlFormat& format = kDisplayGlFormat);

// The widget; the renderer sees it as its context. It belongs to its host
// widget, so GlWindow handles (below) only point at it.
class GlWindowWidget final : public QOpenGLWidget, public GlContext {
 public:
  GlWindowWidget(QWidget* host, GlRenderer& renderer, const GlFormat& format);
  ~GlWindowWidget() override;

  bool MakeCurrent() override;
  void DoneCurrent() override { doneCurrent(); }
  // Inside a paint Qt shows the frame when PaintGl returns; outside one
  // (a frame drawn from a mouse handler) the window is asked to repaint.
  void SwapBuffers() override;
  Size SurfaceSize() const override { return {width(), height()}; }
  GlFormat ActualFormat() const override;
  const std::string& LastError() const override { return error_; }

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GlRenderer& renderer_;
  bool painting_ = false;
  std::string error_;
};

// A GL window over a host widget: a handle on the widget, which the host owns
// (the handle deletes it when dropped first; a handle outliving its host
// answers as a window without a context).

GlWindowResult CreateGlWindowOver(QWidget* host, GlRenderer& renderer, const GlFormat& format);

// Makes CreateGlWindow (platform/gl_context.h) give GL windows over the view
// surface, which must be a QWidget of the desktop backend.
void InstallQtGlWindows();

}  // namespace platform::qt
