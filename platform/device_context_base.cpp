#include "platform/device_context_base.h"

#include <cmath>
#include <cstdlib>

namespace platform {

Pen DeviceContextBase::SelectPen(const Pen& pen) {
  Pen old = state_.pen;
  state_.pen = pen;
  OnObjectsChanged();
  return old;
}

Brush DeviceContextBase::SelectBrush(const Brush& brush) {
  Brush old = state_.brush;
  state_.brush = brush;
  OnObjectsChanged();
  return old;
}

Font DeviceContextBase::SelectFont(const Font& font) {
  Font old = state_.font;
  state_.font = font;
  OnObjectsChanged();
  return old;
}

RasterOp DeviceContextBase::SetRasterOp(RasterOp op) {
  RasterOp old = state_.rasterOp;
  state_.rasterOp = op;
  OnObjectsChanged();
  return old;
}

BackgroundMode DeviceContextBase::SetBackgroundMode(BackgroundMode mode) {
  BackgroundMode old = state_.backgroundMode;
  state_.backgroundMode = mode;
  return old;
}

Color DeviceContextBase::SetBackgroundColor(Color c) {
  Color old = state_.backgroundColor;
  state_.backgroundColor = c & kColorMask;
  return old;
}

Color DeviceContextBase::SetTextColor(Color c) {
  Color old = state_.textColor;
  state_.textColor = c & kColorMask;
  return old;
}

unsigned DeviceContextBase::SetTextAlign(unsigned align) {
  unsigned old = state_.textAlign;
  state_.textAlign = align;
  return old;
}

void DeviceContextBase::SetMapMode(MapMode mode) {
  state_.mapMode = mode;
  UpdateScale();
  OnObjectsChanged();
}

void DeviceContextBase::SetWindowExtent(Size extent) {
  state_.windowExtent = extent;
  UpdateScale();
  OnObjectsChanged();
}

void DeviceContextBase::SetViewportExtent(Size extent) {
  state_.viewportExtent = extent;
  UpdateScale();
  OnObjectsChanged();
}

void DeviceContextBase::SetWindowOrigin(Point origin) { state_.windowOrigin = origin; }
void DeviceContextBase::SetViewportOrigin(Point origin) { state_.viewportOrigin = origin; }

// Text mode maps one to one. The isotropic mode keeps one scale for both axes
// by shrinking the viewport extent of the axis that would scale more, keeping
// its sign, so a window extent taller than the view still fits whole.
void DeviceContextBase::UpdateScale() {
  if (state_.mapMode == MapMode::Text) {
    scaleX_ = scaleY_ = 1.0;
    return;
  }
  // A zero extent would divide by zero; it is taken as one unit.
  const double wx = state_.windowExtent.cx != 0 ? state_.windowExtent.cx : 1;
  const double wy = state_.windowExtent.cy != 0 ? state_.windowExtent.cy : 1;
  const double vx = state_.viewportExtent.cx != 0 ? state_.viewportExtent.cx : 1;
  const double vy = state_.viewportExtent.cy != 0 ? state_.viewportExtent.cy : 1;
  scaleX_ = vx / wx;
  scaleY_ = vy / wy;
  if (state_.mapMode == MapMode::Isotropic) {
    const double s = std::min(std::fabs(scaleX_), std::fabs(scaleY_));
    scaleX_ = std::copysign(s, scaleX_);
    scaleY_ = std::copysign(s, scaleY_);
  }
}

Point DeviceContextBase::LogicalToDevice(Point p) const {
  const double x = (p.x - state_.windowOrigin.x) * scaleX_ + state_.viewportOrigin.x;
  const double y = (p.y - state_.windowOrigin.y) * scaleY_ + state_.viewportOrigin.y;
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

Point DeviceContextBase::DeviceToLogical(Point p) const {
  const double x = (p.x - state_.viewportOrigin.x) / scaleX_ + state_.windowOrigin.x;
  const double y = (p.y - state_.viewportOrigin.y) / scaleY_ + state_.windowOrigin.y;
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

Rect DeviceContextBase::LogicalToDevice(const Rect& r) const {
  const Point a = LogicalToDevice(Point{r.left, r.top});
  const Point b = LogicalToDevice(Point{r.right, r.bottom});
  return Rect{a.x, a.y, b.x, b.y}.Normalized();
}

int DeviceContextBase::DevicePenWidth() const {
  const long w = std::lround(std::abs(state_.pen.width) * std::fabs(scaleX_));
  return w < 1 ? 1 : static_cast<int>(w);
}

int DeviceContextBase::DeviceFontHeight() const {
  const long h = std::lround(std::abs(state_.font.height) * std::fabs(scaleY_));
  return h < 1 ? 1 : static_cast<int>(h);
}

int DeviceContextBase::Save() {
  saved_.push_back(state_);
  OnSaveExtra();
  return static_cast<int>(saved_.size());
}

bool DeviceContextBase::Restore(int depth) {
  const int size = static_cast<int>(saved_.size());
  const int target = depth < 0 ? size + depth + 1 : depth;  // the depth to restore
  if (target < 1 || target > size) return false;
  state_ = saved_[static_cast<std::size_t>(target - 1)];
  saved_.resize(static_cast<std::size_t>(target - 1));
  UpdateScale();
  OnRestoreExtra(target - 1);
  OnObjectsChanged();
  return true;
}

}  // namespace platform
