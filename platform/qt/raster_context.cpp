#include "platform/qt/raster_context.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.h"

namespace platform::qt {

namespace {

Qt::PenStyle ToQtStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Solid:
      return Qt::SolidLine;
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::Null:
      return Qt::NoPen;
  }
  return Qt::SolidLine;
}

QPainter::CompositionMode ToComposition(RasterOp op) {
  switch (op) {
    case RasterOp::Copy:
      return QPainter::CompositionMode_SourceOver;
    case RasterOp::Xor:
      return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::Not:
      return QPainter::RasterOp_NotDestination;
  }
  return QPainter::CompositionMode_SourceOver;
}

// The degrees (counter-clockwise, 0 at three o'clock) of the ray from the
// centre of `r` towards p, on a device whose y grows downwards.
double RayAngle(const QRectF& r, QPoint p) {
  const double dx = p.x() - r.center().x();
  const double dy = r.center().y() - p.y();
  return std::atan2(dy, dx) * 57.29577951308232;  // degrees per radian
}

// A device rectangle whose outline, drawn with a one-pixel pen, covers the
// pixels from left/top to right - 1/bottom - 1, as the system's shapes do.
QRect OutlineRect(const Rect& d) {
  return QRect(d.left, d.top, std::max(0, d.Width() - 1), std::max(0, d.Height() - 1));
}

}  // namespace

RasterContext::RasterContext(Size size, Color fill)
    : ownedImage_(std::make_unique<QImage>(std::max(1, size.cx), std::max(1, size.cy), QImage::Format_RGB32)),
      image_(ownedImage_.get()),
      size_(size) {
  image_->fill(ToQColor(fill));
  Begin(image_);
}

RasterContext::RasterContext(QImage* image) : image_(image), size_{image->width(), image->height()} { Begin(image_); }

RasterContext::RasterContext(std::shared_ptr<SharedPainter> shared)
    : image_(shared->Image()), shared_(std::move(shared)), size_{image_->width(), image_->height()} {
  painter_ = &shared_->Painter();
}

RasterContext::RasterContext(QPaintDevice* device, Size deviceSize, bool isPrinter)
    : size_(deviceSize), printer_(isPrinter) {
  Begin(device);
}

RasterContext::~RasterContext() {
  if (shared_) {
    if (shared_->owner_ == this) shared_->owner_ = nullptr;
  } else if (ownPainter_.isActive()) {
    ownPainter_.end();
  }
  if (onFinished_) onFinished_();
}

void RasterContext::Begin(QPaintDevice* device) {
  ownPainter_.begin(device);
  // The system's drawings are exact pixel art (XOR feedback must cancel):
  // no antialiasing anywhere.
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  dirty_ = true;
}

void RasterContext::ApplyState() {
  dirty_ = false;
  const Pen& pen = state_.pen;
  const int width = DevicePenWidth();
  QPen qpen(ToQColor(pen.color));
  qpen.setStyle(ToQtStyle(pen.style));
  qpen.setWidth(width);
  // One-pixel lines leave their last pixel out, so joined XOR segments do
  // not cancel at the joints; wide pens are round as the system draws them.
  qpen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::FlatCap);
  qpen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
  qpen.setCosmetic(true);
  painter_->setPen(qpen);
  if (state_.brush.style == BrushStyle::Null)
    painter_->setBrush(Qt::NoBrush);
  else
    painter_->setBrush(ToQColor(state_.brush.color));
  painter_->setCompositionMode(ToComposition(state_.rasterOp));
}

void RasterContext::LineTo(Point p) {
  Prepare();
  painter_->drawLine(Dev(state_.position), Dev(p));
  state_.position = p;
}

void RasterContext::Polyline(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  Prepare();
  QPolygon poly(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) poly[static_cast<int>(i)] = Dev(points[i]);
  painter_->drawPolyline(poly);
}

void RasterContext::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  Prepare();
  QPolygon poly(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) poly[static_cast<int>(i)] = Dev(points[i]);
  painter_->drawPolygon(poly, Qt::OddEvenFill);
}

void RasterContext::Rectangle(const Rect& r) {
  Prepare();
  painter_->drawRect(OutlineRect(DeviceContextBase::LogicalToDevice(r)));
}

void RasterContext::Ellipse(const Rect& r) {
  Prepare();
  painter_->drawEllipse(OutlineRect(DeviceContextBase::LogicalToDevice(r)));
}

void RasterContext::Arc(const Rect& bounds, Point start, Point end) {
  Prepare();
  const QRect box = OutlineRect(DeviceContextBase::LogicalToDevice(bounds));
  const QRectF boxF(box);
  const double a0 = RayAngle(boxF, Dev(start));
  // Counter-clockwise as the screen shows it; equal rays draw the whole ellipse.
  double span = RayAngle(boxF, Dev(end)) - a0;
  while (span <= 0) span += 360.0;
  while (span > 360.0) span -= 360.0;
  painter_->drawArc(box, static_cast<int>(std::lround(a0 * 16)), static_cast<int>(std::lround(span * 16)));
}

void RasterContext::FillRect(const Rect& r, const Brush& brush) {
  if (brush.style == BrushStyle::Null) return;
  Prepare();
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  painter_->fillRect(QRect(d.left, d.top, d.Width(), d.Height()), ToQColor(brush.color));
}

// The two-pixel frames of raised and sunken controls: light and dark greys
// on the outer and inner ring.
void RasterContext::DrawEdge(const Rect& r, EdgeKind kind, unsigned sides) {
  Prepare();
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  const QColor white(255, 255, 255), light(227, 227, 227), shadow(160, 160, 160), dark(105, 105, 105);
  QColor outerTl = light, outerBr = dark, innerTl = white, innerBr = shadow;
  switch (kind) {
    case EdgeKind::Raised:
      break;
    case EdgeKind::Sunken:
      outerTl = shadow, outerBr = white, innerTl = dark, innerBr = light;
      break;
    case EdgeKind::Etched:
      outerTl = shadow, outerBr = white, innerTl = white, innerBr = shadow;
      break;
    case EdgeKind::Bump:
      outerTl = light, outerBr = dark, innerTl = dark, innerBr = light;
      break;
  }
  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  auto ring = [&](int inset, const QColor& tl, const QColor& br) {
    const int l = d.left + inset, t = d.top + inset, rr = d.right - 1 - inset, b = d.bottom - 1 - inset;
    if (sides & edge_side::kTop) painter_->fillRect(QRect(l, t, rr - l + 1, 1), tl);
    if (sides & edge_side::kLeft) painter_->fillRect(QRect(l, t, 1, b - t + 1), tl);
    if (sides & edge_side::kBottom) painter_->fillRect(QRect(l, b, rr - l + 1, 1), br);
    if (sides & edge_side::kRight) painter_->fillRect(QRect(rr, t, 1, b - t + 1), br);
  };
  ring(0, outerTl, outerBr);
  ring(1, innerTl, innerBr);
  painter_->restore();
  dirty_ = true;
}

void RasterContext::DrawFocusRect(const Rect& r) {
  Prepare();
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  painter_->save();
  QPen dotted(QColor(255, 255, 255));
  dotted.setStyle(Qt::DotLine);
  dotted.setCosmetic(true);
  dotted.setWidth(1);
  painter_->setPen(dotted);
  painter_->setBrush(Qt::NoBrush);
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter_->drawRect(OutlineRect(d));
  painter_->restore();
  dirty_ = true;
}

void RasterContext::SetPixel(Point p, Color c) {
  Prepare();
  const QPoint d = Dev(p);
  if (image_ && !hasClip_ && state_.rasterOp == RasterOp::Copy) {
    if (d.x() >= 0 && d.y() >= 0 && d.x() < image_->width() && d.y() < image_->height())
      image_->setPixel(d, ToQColor(c).rgb());
    return;
  }
  painter_->save();
  painter_->setPen(ToQColor(c));
  painter_->drawPoint(d);
  painter_->restore();
  dirty_ = true;
}

QFont RasterContext::MakeFont() const { return ToQFont(state_.font, DeviceFontHeight()); }

QFont ToQFont(const Font& f, int pixelSize) {
  QFont font;
  const QString face = ToQString(f.face);
  const QString fallback = face.contains(QString::fromUtf8("明朝")) ? QStringLiteral("Noto Serif CJK JP")
                                                                    : QStringLiteral("Noto Sans CJK JP");
  font.setFamilies(face.isEmpty() ? QStringList{fallback} : QStringList{face, fallback});
  font.setPixelSize(std::max(1, pixelSize));
  const int weight = f.weight <= 0 ? 400 : std::clamp(f.weight, 1, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(f.italic);
  font.setUnderline(f.underline);
  return font;
}

void RasterContext::DrawTextRun(QPoint p, const QString& text) {
  Prepare();
  const QFont font = MakeFont();
  painter_->save();
  painter_->setFont(font);
  painter_->setCompositionMode(ToComposition(state_.rasterOp));
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(text);
  int dx = 0;
  const unsigned h = state_.textAlign & 0x06;
  if (h == text_align::kCenter)
    dx = -width / 2;
  else if (h == text_align::kRight)
    dx = -width;
  int baseline = fm.ascent();  // top alignment: the point is the top of the cell
  const unsigned v = state_.textAlign & 0x18;
  if (v == text_align::kBaseline)
    baseline = 0;
  else if (v == text_align::kBottom)
    baseline = -fm.descent();
  painter_->translate(p);
  // Escapement turns the text counter-clockwise about its reference point.
  if (state_.font.escapement != 0) painter_->rotate(-state_.font.escapement / 10.0);
  if (state_.backgroundMode == BackgroundMode::Opaque)
    painter_->fillRect(QRect(dx, baseline - fm.ascent(), width, fm.height()), ToQColor(state_.backgroundColor));
  painter_->setPen(ToQColor(state_.textColor));
  painter_->drawText(QPoint(dx, baseline), text);
  painter_->restore();
  dirty_ = true;
}

void RasterContext::TextOut(Point p, std::string_view cp932) {
  if (cp932.empty()) return;
  DrawTextRun(Dev(p), ToQString(cp932));
}

int RasterContext::DrawText(std::string_view cp932, Rect& r, unsigned format) {
  const QFont font = MakeFont();
  const QString text = ToQString(cp932);
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  int flags = 0;
  flags |= (format & draw_text::kCenter)  ? Qt::AlignHCenter
           : (format & draw_text::kRight) ? Qt::AlignRight
                                          : Qt::AlignLeft;
  flags |= (format & draw_text::kVCenter)  ? Qt::AlignVCenter
           : (format & draw_text::kBottom) ? Qt::AlignBottom
                                           : Qt::AlignTop;
  if (format & draw_text::kSingleLine) flags |= Qt::TextSingleLine;
  if (format & draw_text::kWordBreak) flags |= Qt::TextWordWrap;
  const QFontMetrics fm(font);
  const QRect box(d.left, d.top, d.Width(), d.Height());
  if (format & draw_text::kCalcRect) {
    const QRect need =
        fm.boundingRect(QRect(d.left, d.top, (format & draw_text::kWordBreak) ? d.Width() : 100000, 100000),
                        flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom), text);
    const Point far = DeviceToLogical({d.left + need.width(), d.top + need.height()});
    r.right = far.x;
    r.bottom = far.y;
    return need.height();
  }
  Prepare();
  painter_->save();
  painter_->setFont(font);
  painter_->setCompositionMode(ToComposition(state_.rasterOp));
  if (!(format & draw_text::kNoClip)) painter_->setClipRect(box, hasClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
  QRect used = fm.boundingRect(box, flags, text);
  if (state_.backgroundMode == BackgroundMode::Opaque) painter_->fillRect(used, ToQColor(state_.backgroundColor));
  painter_->setPen(ToQColor(state_.textColor));
  painter_->drawText(box, flags, text);
  painter_->restore();
  dirty_ = true;
  return used.height();
}

Size RasterContext::GetTextExtent(std::string_view cp932) const {
  const QFontMetrics fm(MakeFont());
  const int w = fm.horizontalAdvance(ToQString(cp932));
  const int h = fm.height();
  // Back to logical units.
  return {static_cast<int>(std::lround(w / std::fabs(ScaleX()))),
          static_cast<int>(std::lround(h / std::fabs(ScaleY())))};
}

TextMetrics RasterContext::GetTextMetrics() const {
  const QFontMetrics fm(MakeFont());
  const double sy = std::fabs(ScaleY()), sx = std::fabs(ScaleX());
  TextMetrics m;
  m.height = static_cast<int>(std::lround(fm.height() / sy));
  m.ascent = static_cast<int>(std::lround(fm.ascent() / sy));
  m.descent = static_cast<int>(std::lround(fm.descent() / sy));
  m.externalLeading = static_cast<int>(std::lround(fm.leading() / sy));
  m.averageCharWidth = static_cast<int>(std::lround(fm.averageCharWidth() / sx));
  m.maxCharWidth = static_cast<int>(std::lround(fm.maxWidth() / sx));
  return m;
}

void RasterContext::ApplyClip() {
  if (hasClip_)
    painter_->setClipRegion(clip_);
  else
    painter_->setClipping(false);
}

void RasterContext::IntersectClipRect(const Rect& r) {
  Prepare();
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  const QRegion add(d.left, d.top, d.Width(), d.Height());
  clip_ = hasClip_ ? clip_.intersected(add) : add;
  hasClip_ = true;
  ApplyClip();
}

void RasterContext::ExcludeClipRect(const Rect& r) {
  Prepare();
  const Rect d = DeviceContextBase::LogicalToDevice(r);
  if (!hasClip_) clip_ = QRegion(0, 0, size_.cx, size_.cy);
  clip_ = clip_.subtracted(QRegion(d.left, d.top, d.Width(), d.Height()));
  hasClip_ = true;
  ApplyClip();
}

void RasterContext::ResetClip() {
  Prepare();
  hasClip_ = false;
  clip_ = QRegion();
  ApplyClip();
}

void RasterContext::OnRestoreExtra(int keptDepth) {
  Prepare();
  if (keptDepth < static_cast<int>(savedClips_.size())) {
    clip_ = savedClips_[static_cast<std::size_t>(keptDepth)].clip;
    hasClip_ = savedClips_[static_cast<std::size_t>(keptDepth)].hasClip;
    savedClips_.resize(static_cast<std::size_t>(keptDepth));
  }
  ApplyClip();
}

void RasterContext::DrawBitmap(Point topLeft, const Bitmap& bitmap) {
  if (bitmap.IsEmpty()) return;
  Prepare();
  painter_->drawImage(Dev(topLeft), ToQImage(bitmap));
}

Bitmap RasterContext::CopyBitmap(const Rect& deviceArea) const {
  if (!image_) return {};
  const Rect r = deviceArea.Normalized();
  return ToBitmap(image_->copy(r.left, r.top, r.Width(), r.Height()));
}

void RasterContext::BitBlt(Point dest, Size size, const DeviceContext& source, Point from, RasterOp op) {
  Prepare();
  const auto* src = dynamic_cast<const RasterContext*>(&source);
  if (!src || !src->image_ || size.cx <= 0 || size.cy <= 0) return;
  // A copy first: the source may be this very image.
  const QImage part = src->image_->copy(from.x, from.y, size.cx, size.cy);
  painter_->save();
  painter_->setCompositionMode(op == RasterOp::Copy ? QPainter::CompositionMode_Source : ToComposition(op));
  painter_->drawImage(QPoint(dest.x, dest.y), part);
  painter_->restore();
  dirty_ = true;
}

std::unique_ptr<DeviceContext> RasterContext::CreateCompatible(Size size) const {
  return std::make_unique<RasterContext>(size, 0xFFFFFF);
}

Bitmap ToBitmap(const QImage& image) {
  const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  Bitmap b(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) b.SetPixel(x, y, Rgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
  }
  return b;
}

QImage ToQImage(const Bitmap& bitmap) {
  QImage img(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) {
      const Color c = bitmap.Pixel(x, y);
      line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }
  }
  return img;
}

}  // namespace platform::qt
