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

class RasterContext : public DeviceContextBase {
 public:
  // Draws into an image it owns, filled with `fill`.
  RasterContext(Size size, Color fill);
  // Draws into an image owned by someone else (which must outlive it).
  explicit RasterContext(QImage* image);
  // Draws into any paint device (printer pages); CopyBitmap then reads nothing.
  RasterContext(QPaintDevice* device, Size deviceSize, bool isPrinter);
  ~RasterContext() override;

  // Called when the context goes away (the view then shows the new image).
  void SetOnFinished(std::function<void()> onFinished) { onFinished_ = std::move(onFinished); }
  QImage* Image() const { return image_; }

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
  void BitBlt(Point destTopLeft, Size size, const DeviceContext& source, Point sourceTopLeft,
              RasterOp op) override;
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
  QPainter painter_;
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

// Pixels of an image as a bitmap of the system, and back.
Bitmap ToBitmap(const QImage& image);
QImage ToQImage(const Bitmap& bitmap);

}  // namespace platform::qt
