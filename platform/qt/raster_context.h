#pragma once
// The raster device context: draws with a QPainter into an image (the view's
// backing image, a memory bitmap) or any paint device (a printer page).
// Logical coordinates are mapped by the shared base; the painter itself always
// works in device pixels, so integer results match the system's expectations.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <functional>
#include <memory>
#include <vector>

#include "platform/device_context_base.h"

namespace platform::qt {

// One painter on one image, shared by every context taken on a view: the
// system may hold a context through a long run while the view repaints, and an
// image takes only one active painter. Each context puts its own pen, brush,
// mode and clip back before it draws.
class SharedPainter {
 public:
  explicit SharedPainter(QImage* image) : image_(image) {}
  ~SharedPainter() { End(); }
  QPainter& Painter() {
    if (!painter_.isActive() && image_) {
      painter_.begin(image_);
      painter_.setRenderHint(QPainter::Antialiasing, false);
      painter_.setRenderHint(QPainter::TextAntialiasing, true);
      owner_ = nullptr;
    }
    return painter_;
  }
  // Ends painting (before the image is replaced); the next use begins again.
  void End() {
    if (painter_.isActive()) painter_.end();
    owner_ = nullptr;
  }
  void SetImage(QImage* image) {
    End();
    image_ = image;
  }
  QImage* Image() const { return image_; }
  // Asks the window once to show the image again after drawing; the window
  // clears the request when it has shown it.
  void Changed() {
    if (updatePosted_ || !onChange_) return;
    updatePosted_ = true;
    onChange_();
  }
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }
  // The window is showing the image right now: drawing meanwhile asks nothing.
  void Showing() { updatePosted_ = true; }
  void Shown() { updatePosted_ = false; }
  const void* owner_ = nullptr;  // the context whose state the painter holds

 private:
  QImage* image_;
  QPainter painter_;
  std::function<void()> onChange_;
  bool updatePosted_ = false;
};

class RasterContext : public DeviceContextBase {
 public:
  // Draws into an image it owns, filled with `fill`.
  RasterContext(Size size, Color fill);
  // Draws into an image owned by someone else (which must outlive it).
  explicit RasterContext(QImage* image);
  // Draws through a view's shared painter into the view's image.
  explicit RasterContext(std::shared_ptr<SharedPainter> shared);
  // Draws into any paint device (printer pages); CopyBitmap then reads nothing.
  RasterContext(QPaintDevice* device, Size deviceSize, bool isPrinter);
  ~RasterContext() override;

  // Called when the context goes away (the view then shows the new image).
  void SetOnFinished(std::function<void()> onFinished) { onFinished_ = std::move(onFinished); }
  QImage* Image() const { return shared_ ? shared_->Image() : image_; }

  void LineTo(Point p) override;
  void Polyline(const std::vector<Point>& points) override;
  void Polygon(const std::vector<Point>& points) override;
  void Rectangle(const Rect& r) override;
  void Ellipse(const Rect& bounds) override;
  void Arc(const Rect& bounds, Point start, Point end) override;
  void FillRect(const Rect& r, const Brush& brush) override;
  void DrawEdge(const Rect& r, EdgeKind kind, unsigned sides) override;
  void DrawFocusRect(const Rect& r) override;
  void SetPixel(Point p, Color c) override;
  void TextOut(Point p, std::string_view cp932) override;
  int DrawText(std::string_view cp932, Rect& r, unsigned format) override;
  Size GetTextExtent(std::string_view cp932) const override;
  TextMetrics GetTextMetrics() const override;
  void IntersectClipRect(const Rect& r) override;
  void ExcludeClipRect(const Rect& r) override;
  void ResetClip() override;
  Size DeviceSize() const override { return size_; }
  void DrawBitmap(Point topLeft, const Bitmap& bitmap) override;
  Bitmap CopyBitmap(const Rect& deviceArea) const override;
  void BitBlt(Point destTopLeft, Size size, const DeviceContext& source, Point sourceTopLeft, RasterOp op) override;
  std::unique_ptr<DeviceContext> CreateCompatible(Size size) const override;
  bool IsPrinter() const override { return printer_; }

 protected:
  void OnObjectsChanged() override { dirty_ = true; }
  void OnSaveExtra() override { savedClips_.push_back({clip_, hasClip_}); }
  void OnRestoreExtra(int keptDepth) override;

 private:
  void Begin(QPaintDevice* device);
  // Brings the painter's pen, brush and composition in line with the state.
  void Prepare() {
    if (shared_) {
      shared_->Changed();
      QPainter& p = shared_->Painter();
      painter_ = &p;
      if (shared_->owner_ != this) {
        shared_->owner_ = this;
        dirty_ = true;
        ApplyClip();
      }
    }
    if (dirty_) ApplyState();
  }
  void ApplyState();
  void ApplyClip();
  QFont MakeFont() const;
  QPoint Dev(Point p) const {
    const Point d = MapPoint(p);
    return {d.x, d.y};
  }
  void DrawTextRun(QPoint devicePoint, const QString& text);

  std::unique_ptr<QImage> ownedImage_;
  QImage* image_ = nullptr;
  QPainter ownPainter_;
  QPainter* painter_ = &ownPainter_;
  std::shared_ptr<SharedPainter> shared_;
  Size size_;
  bool printer_ = false;
  bool dirty_ = true;
  QRegion clip_;
  bool hasClip_ = false;
  struct SavedClip {
    QRegion clip;
    bool hasClip;
  };
  std::vector<SavedClip> savedClips_;
  std::function<void()> onFinished_;
};

// A logical font as a Qt font of the given pixel size. Japanese faces of the
// system are matched to an installed CJK face of the same kind (serif for
// mincho faces, sans otherwise) when they are not installed themselves.
QFont ToQFont(const Font& font, int pixelSize);

// Pixels of an image as a bitmap of the system, and back.
Bitmap ToBitmap(const QImage& image);
QImage ToQImage(const Bitmap& bitmap);

}  // namespace platform::qt
