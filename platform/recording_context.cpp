#include "platform/recording_context.h"

#include <cstdio>

#include "platform/text.h"

namespace platform {

namespace {

const char* KindName(PrimitiveKind k) {
  switch (k) {
    case PrimitiveKind::Line:
      return "Line";
    case PrimitiveKind::Polyline:
      return "Polyline";
    case PrimitiveKind::Polygon:
      return "Polygon";
    case PrimitiveKind::Rectangle:
      return "Rectangle";
    case PrimitiveKind::Ellipse:
      return "Ellipse";
    case PrimitiveKind::Arc:
      return "Arc";
    case PrimitiveKind::FillRect:
      return "FillRect";
    case PrimitiveKind::Edge:
      return "Edge";
    case PrimitiveKind::FocusRect:
      return "FocusRect";
    case PrimitiveKind::Pixel:
      return "Pixel";
    case PrimitiveKind::Text:
      return "Text";
    case PrimitiveKind::DrawText:
      return "DrawText";
    case PrimitiveKind::Bitmap:
      return "Bitmap";
    case PrimitiveKind::BitBlt:
      return "BitBlt";
    case PrimitiveKind::IntersectClip:
      return "IntersectClip";
    case PrimitiveKind::ExcludeClip:
      return "ExcludeClip";
    case PrimitiveKind::ResetClip:
      return "ResetClip";
  }
  return "?";
}

const char* StyleName(PenStyle s) {
  switch (s) {
    case PenStyle::Solid:
      return "Solid";
    case PenStyle::Dash:
      return "Dash";
    case PenStyle::Dot:
      return "Dot";
    case PenStyle::DashDot:
      return "DashDot";
    case PenStyle::DashDotDot:
      return "DashDotDot";
    case PenStyle::Null:
      return "Null";
  }
  return "?";
}

const char* RopName(RasterOp op) {
  switch (op) {
    case RasterOp::Copy:
      return "Copy";
    case RasterOp::Xor:
      return "Xor";
    case RasterOp::Not:
      return "Not";
  }
  return "?";
}

// Byte counts stand in for glyph widths: a single-byte character is half the
// font height wide, a double-byte one a full height, as a fixed-pitch CJK
// face would be.
int TextWidth(std::string_view cp932, int height) { return static_cast<int>(cp932.size()) * height / 2; }

}  // namespace

std::string Describe(const Primitive& p) {
  std::string s = KindName(p.kind);
  char buf[96];
  for (const Point& pt : p.points) {
    std::snprintf(buf, sizeof buf, " (%d,%d)", pt.x, pt.y);
    s += buf;
  }
  std::snprintf(buf, sizeof buf, " rect=(%d,%d,%d,%d) pen=0x%06X/%d/%s rop=%s", p.rect.left, p.rect.top, p.rect.right,
                p.rect.bottom, p.pen.color, p.pen.width, StyleName(p.pen.style), RopName(p.rasterOp));
  s += buf;
  if (!p.text.empty()) s += " text=\"" + Cp932ToUtf8(p.text) + "\"";
  return s;
}

RecordingContext::RecordingContext(Size deviceSize)
    : RecordingContext(deviceSize, std::make_shared<std::vector<Primitive>>()) {}

RecordingContext::RecordingContext(Size deviceSize, std::shared_ptr<std::vector<Primitive>> log)
    : deviceSize_(deviceSize), log_(std::move(log)) {
  if (!log_) log_ = std::make_shared<std::vector<Primitive>>();
}

Primitive& RecordingContext::Add(PrimitiveKind kind) {
  Primitive& p = log_->emplace_back();
  p.kind = kind;
  p.pen = state_.pen;
  p.brush = state_.brush;
  p.rasterOp = state_.rasterOp;
  p.font = state_.font;
  p.color = state_.textColor;
  return p;
}

void RecordingContext::LineTo(Point to) {
  Add(PrimitiveKind::Line).points = {state_.position, to};
  state_.position = to;
}

void RecordingContext::Polyline(const std::vector<Point>& points) { Add(PrimitiveKind::Polyline).points = points; }
void RecordingContext::Polygon(const std::vector<Point>& points) { Add(PrimitiveKind::Polygon).points = points; }
void RecordingContext::Rectangle(const Rect& r) { Add(PrimitiveKind::Rectangle).rect = r; }
void RecordingContext::Ellipse(const Rect& r) { Add(PrimitiveKind::Ellipse).rect = r; }

void RecordingContext::Arc(const Rect& bounds, Point start, Point end) {
  Primitive& p = Add(PrimitiveKind::Arc);
  p.rect = bounds;
  p.points = {start, end};
}

void RecordingContext::FillRect(const Rect& r, const Brush& brush) {
  Primitive& p = Add(PrimitiveKind::FillRect);
  p.rect = r;
  p.brush = brush;
}

void RecordingContext::DrawEdge(const Rect& r, EdgeKind kind, unsigned sides) {
  Primitive& p = Add(PrimitiveKind::Edge);
  p.rect = r;
  p.edgeKind = kind;
  p.flags = sides;
}

void RecordingContext::DrawFocusRect(const Rect& r) {
  Primitive& p = Add(PrimitiveKind::FocusRect);
  p.rect = r;
  p.rasterOp = RasterOp::Xor;
}

void RecordingContext::SetPixel(Point pt, Color c) {
  Primitive& p = Add(PrimitiveKind::Pixel);
  p.points = {pt};
  p.color = c & kColorMask;
}

void RecordingContext::TextOut(Point pt, std::string_view cp932) {
  Primitive& p = Add(PrimitiveKind::Text);
  p.points = {pt};
  p.text = std::string(cp932);
  p.flags = state_.textAlign;
}

int RecordingContext::DrawText(std::string_view cp932, Rect& r, unsigned format) {
  const int height = std::abs(state_.font.height);
  if (format & draw_text::kCalcRect) {
    r.right = r.left + TextWidth(cp932, height);
    r.bottom = r.top + height;
    return height;
  }
  Primitive& p = Add(PrimitiveKind::DrawText);
  p.rect = r;
  p.text = std::string(cp932);
  p.flags = format;
  return height;
}

Size RecordingContext::GetTextExtent(std::string_view cp932) const {
  const int height = std::abs(state_.font.height);
  return {TextWidth(cp932, height), height};
}

TextMetrics RecordingContext::GetTextMetrics() const {
  TextMetrics m;
  m.height = std::abs(state_.font.height);
  m.ascent = m.height * 4 / 5;
  m.descent = m.height - m.ascent;
  m.averageCharWidth = m.height / 2;
  m.maxCharWidth = m.height;
  return m;
}

void RecordingContext::IntersectClipRect(const Rect& r) { Add(PrimitiveKind::IntersectClip).rect = r; }
void RecordingContext::ExcludeClipRect(const Rect& r) { Add(PrimitiveKind::ExcludeClip).rect = r; }
void RecordingContext::ResetClip() { Add(PrimitiveKind::ResetClip); }

void RecordingContext::DrawBitmap(Point topLeft, const Bitmap& bitmap) {
  Primitive& p = Add(PrimitiveKind::Bitmap);
  p.points = {topLeft};
  p.rect = {0, 0, bitmap.Width(), bitmap.Height()};
}

Bitmap RecordingContext::CopyBitmap(const Rect&) const { return {}; }

void RecordingContext::BitBlt(Point dest, Size size, const DeviceContext&, Point source, RasterOp op) {
  Primitive& p = Add(PrimitiveKind::BitBlt);
  p.points = {dest, source};
  p.rect = {0, 0, size.cx, size.cy};
  p.rasterOp = op;
}

std::unique_ptr<DeviceContext> RecordingContext::CreateCompatible(Size size) const {
  return std::make_unique<RecordingContext>(size);
}

}  // namespace platform
