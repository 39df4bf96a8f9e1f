#pragma once
// A device context that draws nothing and keeps every primitive with the pen,
// brush, raster operation and text state it was drawn with, in logical units.
// The headless backend gives it to views, owner-drawn buttons and memory
// bitmaps, so a test can read back what the system drew.
#include <memory>
#include <string>
#include <vector>

#include "platform/device_context_base.h"

namespace platform {

enum class PrimitiveKind {
  Line,  // MoveTo/LineTo: points[0] -> points[1]
  Polyline,
  Polygon,
  Rectangle,      // rect
  Ellipse,        // rect
  Arc,            // rect, points[0] start ray, points[1] end ray
  FillRect,       // rect, brush
  Edge,           // rect, edgeKind, flags = sides
  FocusRect,      // rect
  Pixel,          // points[0], color
  Text,           // points[0], text
  DrawText,       // rect, text, flags = format
  Bitmap,         // points[0], rect = 0, 0, width, height
  BitBlt,         // points[0] destination, points[1] source, rect = 0, 0, width, height
  IntersectClip,  // rect
  ExcludeClip,    // rect
  ResetClip,
};

struct Primitive {
  PrimitiveKind kind = PrimitiveKind::Line;
  std::vector<Point> points;
  Rect rect;
  Pen pen;
  Brush brush;
  RasterOp rasterOp = RasterOp::Copy;
  Font font;
  Color color = 0;   // pixel colour, or the text colour of text primitives
  std::string text;  // CP932
  unsigned flags = 0;
  EdgeKind edgeKind = EdgeKind::Raised;
};

// A short text of a primitive ("Line (0,0)-(10,0) pen=0x0000FF/1/Solid rop=Xor"),
// for failure messages.
std::string Describe(const Primitive& p);

class RecordingContext : public DeviceContextBase {
 public:
  // Records into a log of its own.
  explicit RecordingContext(Size deviceSize = {0, 0});
  // Records into a shared log (every context taken on one headless view).
  RecordingContext(Size deviceSize, std::shared_ptr<std::vector<Primitive>> log);

  const std::vector<Primitive>& Primitives() const { return *log_; }
  void ClearPrimitives() { log_->clear(); }

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
  Size DeviceSize() const override { return deviceSize_; }
  void DrawBitmap(Point topLeft, const Bitmap& bitmap) override;
  Bitmap CopyBitmap(const Rect& deviceArea) const override;
  void BitBlt(Point destTopLeft, Size size, const DeviceContext& source, Point sourceTopLeft, RasterOp op) override;
  std::unique_ptr<DeviceContext> CreateCompatible(Size size) const override;

 private:
  Primitive& Add(PrimitiveKind kind);
  Size deviceSize_;
  std::shared_ptr<std::vector<Primitive>> log_;
};

}  // namespace platform
