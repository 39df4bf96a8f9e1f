#pragma once
// The part of a device context that does not depend on the surface: the
// selected objects, modes and colours, the current position, the mapping from
// logical units to device pixels and the stack of saved states. The raster and
// the recording contexts derive from it and only draw.
#include <vector>

#include "platform/device_context.h"

namespace platform {

struct DeviceContextState {
  Pen pen;
  Brush brush;
  Font font;
  RasterOp rasterOp = RasterOp::Copy;
  BackgroundMode backgroundMode = BackgroundMode::Opaque;
  Color backgroundColor = 0xFFFFFF;
  Color textColor = 0x000000;
  unsigned textAlign = text_align::kLeft | text_align::kTop;
  MapMode mapMode = MapMode::Text;
  Size windowExtent{1, 1};
  Size viewportExtent{1, 1};
  Point windowOrigin;
  Point viewportOrigin;
  Point position;
};

class DeviceContextBase : public DeviceContext {
 public:
  Pen SelectPen(const Pen& pen) override;
  Brush SelectBrush(const Brush& brush) override;
  Font SelectFont(const Font& font) override;
  const Pen& CurrentPen() const override { return state_.pen; }
  const Brush& CurrentBrush() const override { return state_.brush; }
  const Font& CurrentFont() const override { return state_.font; }

  RasterOp SetRasterOp(RasterOp op) override;
  RasterOp GetRasterOp() const override { return state_.rasterOp; }
  BackgroundMode SetBackgroundMode(BackgroundMode mode) override;
  Color SetBackgroundColor(Color c) override;
  Color SetTextColor(Color c) override;
  unsigned SetTextAlign(unsigned align) override;

  void SetMapMode(MapMode mode) override;
  void SetWindowExtent(Size extent) override;
  void SetViewportExtent(Size extent) override;
  void SetWindowOrigin(Point origin) override;
  void SetViewportOrigin(Point origin) override;
  Point LogicalToDevice(Point logical) const override;
  Point DeviceToLogical(Point device) const override;

  void MoveTo(Point p) override { state_.position = p; }
  Point CurrentPosition() const override { return state_.position; }

  int Save() override;
  bool Restore(int depth = -1) override;

  const DeviceContextState& State() const { return state_; }

 protected:
  // Device pixels per logical unit along x and y (signed), after the
  // isotropic correction.
  double ScaleX() const { return scaleX_; }
  double ScaleY() const { return scaleY_; }
  Rect LogicalToDevice(const Rect& r) const;
  // LogicalToDevice without the virtual call; text mode (the view's drawing
  // outside the isotropic set-up) needs no arithmetic beyond the origins.
  Point MapPoint(Point p) const {
    if (state_.mapMode == MapMode::Text)
      return {p.x - state_.windowOrigin.x + state_.viewportOrigin.x,
              p.y - state_.windowOrigin.y + state_.viewportOrigin.y};
    return DeviceContextBase::LogicalToDevice(p);
  }
  // The pen width in device pixels (at least one).
  int DevicePenWidth() const;
  // The logical font height in device pixels (at least one).
  int DeviceFontHeight() const;

  // Hooks for what a derived context keeps beside the shared state (the
  // clip region of a raster context). Called after the shared state changed.
  virtual void OnObjectsChanged() {}
  virtual void OnSaveExtra() {}
  virtual void OnRestoreExtra(int keptDepth) { (void)keptDepth; }

  DeviceContextState state_;

 private:
  void UpdateScale();
  double scaleX_ = 1.0;
  double scaleY_ = 1.0;
  std::vector<DeviceContextState> saved_;
};

}  // namespace platform
