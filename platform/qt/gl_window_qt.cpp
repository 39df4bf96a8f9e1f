#include "platform/qt/gl_window_qt.h"

#include <QEvent>
#include <QOpenGLContext>
#include <QPointer>

#include "platform/view_surface.h"

namespace platform::qt {

QSurfaceFormat DisplaySurfaceFormat(const GlFormat& format) {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  // The display uses the fixed pipeline of OpenGL 1.1 (lights, matrices, GLU):
  // a core profile would not have it.
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  const int perChannel = format.colorBits / 3;  // 24 colour bits: 8 each
  f.setRedBufferSize(perChannel);
  f.setGreenBufferSize(perChannel);
  f.setBlueBufferSize(perChannel);
  f.setAlphaBufferSize(0);
  f.setDepthBufferSize(format.depthBits);
  f.setStencilBufferSize(0);
  f.setSwapBehavior(format.doubleBuffer ? QSurfaceFormat::DoubleBuffer : QSurfaceFormat::SingleBuffer);
  return f;
}

GlWindowWidget::GlWindowWidget(QWidget* host, GlRenderer& renderer, const GlFormat& format)
    : QOpenGLWidget(host), renderer_(renderer) {
  setFormat(DisplaySurfaceFormat(format));
  // Input stays with the view underneath.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  if (host) {
    setGeometry(host->rect());
    host->installEventFilter(this);
  }
}

GlWindowWidget::~GlWindowWidget() {
  if (parentWidget()) parentWidget()->removeEventFilter(this);
}

bool GlWindowWidget::MakeCurrent() {
  makeCurrent();
  if (!context() || !context()->isValid()) {
    error_ = "the OpenGL window has no context yet (it is created when the window is first shown)";
    return false;
  }
  return true;
}

void GlWindowWidget::SwapBuffers() {
  if (!painting_) update();
}

GlFormat GlWindowWidget::ActualFormat() const {
  QSurfaceFormat f = context() ? context()->format() : format();
  return {f.redBufferSize() + f.greenBufferSize() + f.blueBufferSize(), f.depthBufferSize(),
          f.swapBehavior() != QSurfaceFormat::SingleBuffer};
}

void GlWindowWidget::initializeGL() {
  if (!context() || !context()->isValid()) {
    error_ = "the OpenGL context could not be created";
    return;
  }
  renderer_.InitializeGl(*this);
}

void GlWindowWidget::resizeGL(int width, int height) { renderer_.ResizeGl(*this, width, height); }

void GlWindowWidget::paintGL() {
  painting_ = true;
  renderer_.PaintGl(*this);
  painting_ = false;
}

bool GlWindowWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QOpenGLWidget::eventFilter(watched, event);
}

namespace {

class GlWindowHandle final : public GlWindow {
 public:
  explicit GlWindowHandle(GlWindowWidget* widget) : widget_(widget) {}
  ~GlWindowHandle() override { delete widget_.data(); }

  void SetVisible(bool visible) override {
    if (widget_) widget_->setVisible(visible);
  }
  bool IsVisible() const override { return widget_ && widget_->isVisible(); }
  void Update() override {
    if (widget_) widget_->update();
  }
  bool MakeCurrent() override { return widget_ ? widget_->MakeCurrent() : Gone(); }
  void DoneCurrent() override {
    if (widget_) widget_->DoneCurrent();
  }
  void SwapBuffers() override {
    if (widget_) widget_->SwapBuffers();
  }
  Size SurfaceSize() const override { return widget_ ? widget_->SurfaceSize() : Size{}; }
  GlFormat ActualFormat() const override { return widget_ ? widget_->ActualFormat() : GlFormat{0, 0, false}; }
  const std::string& LastError() const override { return widget_ ? widget_->LastError() : goneError_; }

 private:
  bool Gone() {
    goneError_ = "the OpenGL window was closed with its view";
    return false;
  }
  QPointer<GlWindowWidget> widget_;
  std::string goneError_;
};

}  // namespace

GlWindowResult CreateGlWindowOver(QWidget* host, GlRenderer& renderer, const GlFormat& format) {
  if (!host) return {nullptr, "a GL window needs a window to lie over"};
  // A display without OpenGL (the off-screen platform, a remote session
  // without GLX) cannot host the widget at all: Qt would fail when it first
  // composes the window. Try a context first and report instead.
  QOpenGLContext probe;
  probe.setFormat(DisplaySurfaceFormat(format));
  if (!probe.create()) return {nullptr, "this display offers no OpenGL: the 3-D display cannot be shown"};
  auto* widget = new GlWindowWidget(host, renderer, format);  // owned by the host
  widget->show();
  return {std::make_unique<GlWindowHandle>(widget), {}};
}

void InstallQtGlWindows() {
  SetGlWindowFactory([](ViewSurface& surface, GlRenderer& renderer, const GlFormat& format) -> GlWindowResult {
    auto* host = dynamic_cast<QWidget*>(&surface);
    if (!host) return {nullptr, "the view is not a desktop window; no OpenGL window can lie over it"};
    return CreateGlWindowOver(host, renderer, format);
  });
}

}  // namespace platform::qt
