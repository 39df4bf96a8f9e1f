// Zoom, pan, the box outline and the clipboard copy of the view: see kel_view.h.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/drawing/selection_box.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

// No zoom or pan may pass this magnitude (percent, view units).
constexpr double kViewLimit = 1999999.0;
// The zoom 32994 puts the current origin at the centre with.
constexpr double kAxesCentreZoom = 40.0;
// A box wider than this many times its height fills the client width, else
// its height (the width-to-height ratio of the client area the zoom was made
// for).
constexpr double kBoxAspect = 1.493333333;
// The dimension preview's text size while it is placed (state 4101).
constexpr double kPreviewSizeMax = 50.0;
constexpr int kPromptZoomBox = 4012;
constexpr int kPromptZoomRefused = 4099;
// The box is drawn with the near-white pen in XOR: it shows on every
// background, and drawing it twice leaves the picture as it was.
constexpr int kBoxPenColour = 7;

std::size_t CurrentLayer() { return static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1)); }

// The dimension preview's text size steps by one while it is placed.
void StepPreviewSize(CKelView& view, int step) {
  double& size = g_dimensionStyle.textSize;
  size += step;
  if (size > kPreviewSizeMax) {
    size = kPreviewSizeMax;
    SignalBeep();
  } else if (size == 0.0) {
    size = 1.0;
    SignalBeep();
  }
  if (g_commandEngines.previewDimension)
    if (auto dc = view.GetPreparedDC()) g_commandEngines.previewDimension(*dc);
}

}  // namespace

void CKelView::ZoomIn() {
  if (g_pickState == kPickStateDimensionPreview) {
    StepPreviewSize(*this, +1);
    return;
  }
  const std::size_t l = CurrentLayer();
  const double zoom = g_layerScale[l] + g_shrinkRate;
  if (zoom > kViewLimit) return;
  g_layerScale[l] = zoom;
  SaveViewCentre();
  RedrawView();
}

void CKelView::ZoomOut() {
  if (g_pickState == kPickStateDimensionPreview) {
    StepPreviewSize(*this, -1);
    return;
  }
  const std::size_t l = CurrentLayer();
  const double old = g_layerScale[l];
  double zoom = old - g_shrinkRate;
  // Below 1 the zoom is halved instead; a half below 1 is doubled back, which
  // is the zoom as it was: nothing changes.
  if (zoom < 1.0) zoom = old * 0.5;
  if (zoom < 1.0) return;
  g_layerScale[l] = zoom;
  SaveViewCentre();
  RedrawView();
}

void CKelView::StartZoomBox() {
  const bool idle = g_pickState == 0;
  g_view.m_zoomBoxReturnState = g_pickState;
  g_pickState = kPickStateZoomBox;
  g_view.m_boxStage = 0;
  g_view.m_boxStart = g_view.m_boxEnd = {};
  g_view.m_polylineCount = 0;
  if (idle) ShowPromptHook(kPromptZoomBox);
}

void CKelView::PushZoomHistory(int layer) {
  const std::size_t l = static_cast<std::size_t>(layer);
  auto& history = zoomHistory_[l];
  int& depth = zoomDepth_[l];
  if (depth >= kZoomHistoryDepth) {
    // Full: the oldest step goes.
    std::rotate(history.begin(), history.begin() + 1, history.end());
    depth = kZoomHistoryDepth - 1;
  }
  history[static_cast<std::size_t>(depth)] = {g_figureTableSelector, g_layerScale[l], g_layerOffsetX[l],
                                              g_layerOffsetY[l]};
  ++depth;
}

int CKelView::ZoomDepth(int layer) const { return zoomDepth_[static_cast<std::size_t>(layer)]; }

const ZoomHistoryEntry& CKelView::ZoomEntry(int layer, int depth) const {
  return zoomHistory_[static_cast<std::size_t>(layer)][static_cast<std::size_t>(depth)];
}

bool CKelView::FitViewToSelection() {
  const ViewState& v = g_view;
  const platform::Rect box = platform::Rect{v.m_boxStart.x, v.m_boxStart.y, v.m_boxEnd.x, v.m_boxEnd.y}.Normalized();
  const std::size_t l = CurrentLayer();
  bool usable =
      box.Width() > 0 && box.Height() > 0 && v.m_unitsPerMm != 0.0 && v.m_clientWidth > 0 && v.m_clientHeight > 0;
  double zoom = 0.0, panX = 0.0, panY = 0.0;
  if (usable) {
    const Vec2 a = ScreenToWorld({box.left, box.top});
    const Vec2 b = ScreenToWorld({box.right, box.bottom});
    const Vec2 centre{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
    const double factor = box.Width() > kBoxAspect * box.Height()
                              ? static_cast<double>(v.m_clientWidth) / box.Width()
                              : static_cast<double>(v.m_clientHeight) / box.Height();
    zoom = g_layerScale[l] * factor;
    panX = centre.x * zoom * -0.01;
    panY = centre.y * zoom * -0.01;
    usable = std::isfinite(zoom) && std::fabs(zoom) <= kViewLimit && std::fabs(panX) <= kViewLimit &&
             std::fabs(panY) <= kViewLimit;
  }
  if (!usable) {
    ShowPromptHook(kPromptZoomRefused);
    return false;
  }
  PushZoomHistory(static_cast<int>(l));
  g_layerScale[l] = zoom;
  g_layerOffsetX[l] = panX;
  g_layerOffsetY[l] = panY;
  return true;
}

void CKelView::ZoomBack() {
  const std::size_t l = CurrentLayer();
  int& depth = zoomDepth_[l];
  if (depth > 0) --depth;
  ZoomHistoryEntry& e = zoomHistory_[l][static_cast<std::size_t>(depth)];
  if (e.table != g_figureTableSelector) return;
  g_layerScale[l] = e.zoom;
  g_layerOffsetX[l] = e.panX;
  g_layerOffsetY[l] = e.panY;
  e.table = kNone;
  RedrawView();
}

void CKelView::CentreOnPoint(const Vec2& point) {
  const std::size_t l = CurrentLayer();
  const double panX = point.x * g_layerScale[l] * -0.01;
  const double panY = point.y * g_layerScale[l] * -0.01;
  if (std::fabs(panX) > kViewLimit || std::fabs(panY) > kViewLimit) return;
  g_layerOffsetX[l] = panX;
  g_layerOffsetY[l] = panY;
}

void CKelView::CentreAxes() {
  ViewState& v = g_view;
  if (v.m_placeByMouse == 1 || (g_pickState == kPickStateFreePoint && g_curCommand == 0)) {
    v.m_crossHair = v.m_crossHair ? 0 : 1;
    g_pickState = 0;
    ShowPromptHook(0);
  } else {
    g_layerScale[CurrentLayer()] = kAxesCentreZoom;
    CentreOnPoint(CurrentLayerOrigin());
  }
  RedrawView();
}

void CKelView::PanStep(int dx, int dy) {
  const ViewState& v = g_view;
  const std::size_t l = CurrentLayer();
  const double unit = v.m_unitFactor != 0.0 ? v.m_unitFactor : kScreenUnitFactor;
  // The pan is measured from the window's centre in view units.
  if (dx != 0) {
    const double offset = g_layerOffsetX[l] + dx * g_moveRate;
    if (std::fabs(offset + v.m_extentX * 0.5 / unit) > kViewLimit) return;
    g_layerOffsetX[l] = offset;
  }
  if (dy != 0) {
    const double offset = g_layerOffsetY[l] + dy * g_moveRate;
    if (std::fabs(offset + v.m_extentY * 0.5 / unit) > kViewLimit) return;
    g_layerOffsetY[l] = offset;
  }
  RedrawView();
}

void CKelView::DrawRubberBandBox(platform::DeviceContext& dc, int mode) {
  std::array<Vec2, 5> outline;
  if (!SelectionBoxOutline(mode != 0 && mode != 10, outline)) return;
  std::vector<platform::Point> points;
  for (const Vec2& p : outline)
    points.push_back({static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))});
  const platform::RasterOp oldOp = dc.SetRasterOp(platform::RasterOp::Xor);
  const platform::Pen oldPen = dc.SelectPen(PenForColour(kBoxPenColour));
  dc.Polyline(points);
  dc.SelectPen(oldPen);
  dc.SetRasterOp(oldOp);
}

void CKelView::CopyViewToClipboard() {
  if (!surface_) return;
  const ViewState& v = g_view;
  platform::Rect area{0, 0, surface_->ClientSize().cx, surface_->ClientSize().cy};
  if (v.m_boxEnd.x != 0 && v.m_boxEnd.y != 0) {
    // Strictly inside the dragged box.
    const platform::Rect box = platform::Rect{v.m_boxStart.x, v.m_boxStart.y, v.m_boxEnd.x, v.m_boxEnd.y}.Normalized();
    area = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  }
  platform::ClipboardResult result{false, "the area to copy is empty"};
  if (!area.IsEmpty()) result = platform::CopyBitmapToClipboard(surface_->CopyClientArea(area));
  if (result.ok) {
    platform::ShowMessageBox(platform::Sjis("★ クリップボードにコピーしました ！！"), "", 0);
  } else {
    // The copy did not happen: say so and why, never confirm it.
    platform::ShowMessageBox(
        platform::Sjis("クリップボードにコピーできませんでした ：") + platform::Utf8ToCp932(result.message), "", 0x10);
  }
}

}  // namespace dorn
