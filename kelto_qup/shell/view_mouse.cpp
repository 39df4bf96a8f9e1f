// The view's mouse: the zoom box with its XOR rubber band, zoom by a left
// drag or the wheel, pan by a right drag, the pane switch of a double click
// and the coordinate read-out in the title.
#include <cstdio>

#include "kelto_qup/shell/qup_view.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

constexpr int kReadOutBit = 0x8000;
constexpr unsigned kExclamationIcon = 0x30;
// Pane pixels per pane-offset unit.
constexpr double kPixelsPerUnit = 4.0;

}  // namespace

void CQupView::OnMouse(const platform::MouseEvent& e) {
  if ((TraceState() & kTraceRunning) != 0) return;
  if (GLMode != 0 && BoxMode != 2) return;  // the 3-D display's own mouse comes with it
  switch (e.action) {
    case platform::MouseAction::LeftDown:
      OnLeftDown(e.position);
      break;
    case platform::MouseAction::RightDown:
      OnRightDown(e.position);
      break;
    case platform::MouseAction::Move:
      OnMouseMove(e);
      break;
    case platform::MouseAction::LeftUp:
    case platform::MouseAction::RightUp:
      OnButtonUp();
      break;
    case platform::MouseAction::LeftDoubleClick:
      OnDoubleClick(e.position);
      break;
    case platform::MouseAction::Wheel:
      lastPoint_ = e.position;
      wheelDrag_ = true;
      DragZoomPan({e.position.x + e.wheelDelta / 10, e.position.y});
      wheelDrag_ = false;
      surface_.Invalidate();
      break;
    default:
      break;
  }
}

void CQupView::OnLeftDown(platform::Point p) {
  clickPane_ = app_.panes.PaneAtPoint(p, surface_.ClientSize(), drawBottom_);
  if (BoxMode != 0) {
    if (!BoxStarted) {
      BoxStarted = true;
      boxCorner_ = boxEnd_ = p;
      boxPane_ = clickPane_;
      return;
    }
    if (rubberBandShown_) DrawRubberBand(boxEnd_);
    rubberBandShown_ = false;
    BoxStarted = false;
    const int mode = BoxMode;
    BoxMode = 0;
    if (mode == 1 && ZoomToBoxChecked(boxPane_, {boxCorner_.x, boxCorner_.y, p.x, p.y})) surface_.Invalidate();
    return;
  }
  leftDrag_ = true;
  dragged_ = false;
  lastPoint_ = p;
}

void CQupView::OnRightDown(platform::Point p) {
  if (BoxMode != 0) {
    if (rubberBandShown_) DrawRubberBand(boxEnd_);
    rubberBandShown_ = false;
    BoxStarted = false;
    BoxMode = 0;
    return;
  }
  rightDrag_ = true;
  dragged_ = false;
  lastPoint_ = p;
}

void CQupView::OnMouseMove(const platform::MouseEvent& e) {
  if (BoxStarted) {
    if (rubberBandShown_) DrawRubberBand(boxEnd_);
    boxEnd_ = e.position;
    DrawRubberBand(boxEnd_);
    rubberBandShown_ = true;
    return;
  }
  if (leftDrag_ || rightDrag_) {
    if (!listHiddenByDrag_ && listCreated_) {
      list_.Show(false);
      listHiddenByDrag_ = true;
    }
    dragged_ = true;
    DragZoomPan(e.position);
    surface_.Invalidate();
    return;
  }
  if (IsIdle() && (app_.Header().ncDisplayFlags & kReadOutBit) != 0) ShowReadOut(e.position);
}

void CQupView::OnButtonUp() {
  if (listHiddenByDrag_) {
    list_.Show(true);
    listHiddenByDrag_ = false;
  }
  app_.panes.dragPane = -1;
  if (dragged_) surface_.Invalidate();
  leftDrag_ = rightDrag_ = dragged_ = false;
}

void CQupView::OnDoubleClick(platform::Point p) {
  if (GLMode != 0) return;
  PathPanes& panes = app_.panes;
  auto& g = panes.Graphic();
  panes.savedRecord = g;
  panes.hasSavedRecord = true;
  if (panes.FourPanes()) {
    const int pane = panes.PaneAtPoint(p, surface_.ClientSize(), drawBottom_);
    if (pane == 0) return;
    constexpr int kPlaneOfPane[5] = {0, 0, 2, 1, kPlaneArrow};
    g.paneWord = 0;
    g.viewingPlane = kPlaneOfPane[pane];
    if (pane <= 3) panes.zoomAccumulator = panes.panAccumulatorX = panes.panAccumulatorY = 0.0;
  } else {
    g.paneWord = 1;
    g.viewingPlane = kPlaneArrow;
  }
  surface_.Invalidate();
}

bool CQupView::ZoomToBoxChecked(int pane, platform::Rect box) {
  if (app_.panes.ZoomToBox(pane, box)) return true;
  platform::ShowMessageBox(platform::Sjis(kZoomLimitMessage), {}, kExclamationIcon);
  return false;
}

void CQupView::DragZoomPan(platform::Point p) {
  PathPanes& panes = app_.panes;
  panes.FoldAccumulators();
  const int pane = panes.PaneAtPoint(lastPoint_, surface_.ClientSize(), drawBottom_);
  panes.dragPane = panes.FourPanes() && pane != 0 ? pane : -1;
  auto& g = panes.Graphic();
  if (leftDrag_ || wheelDrag_) {
    // Zoom: the pane's rectangle shrunk (or grown) by twice the movement.
    const int inset = 2 * (p.x - lastPoint_.x);
    const platform::Rect box = panes.Pane(pane).rect.Inflated(
        -inset, -inset * panes.Pane(pane).rect.Height() / std::max(1, panes.Pane(pane).rect.Width()));
    if (!box.IsEmpty() && panes.ZoomToBox(pane, box) && !panes.zoomUndo.empty()) panes.zoomUndo.pop_back();
  } else if (rightDrag_) {
    // Pan: the pane's content follows the mouse.
    const double unit = kPixelsPerUnit * panes.printScale;
    g.centreX[pane] += (p.x - lastPoint_.x) / unit;
    g.centreY[pane] -= (p.y - lastPoint_.y) / unit;
  }
  lastPoint_ = p;
}

void CQupView::DrawRubberBand(platform::Point corner) {
  auto dc = surface_.GetDC();
  dc->SetRasterOp(platform::RasterOp::Xor);
  dc->SelectPen({0xFFFFFF, 1, platform::PenStyle::Solid});
  dc->Polyline({boxCorner_, {corner.x, boxCorner_.y}, corner, {boxCorner_.x, corner.y}, boxCorner_});
}

void CQupView::ShowReadOut(platform::Point p) {
  PathPanes& panes = app_.panes;
  const int pane = panes.PaneAtPoint(p, surface_.ClientSize(), drawBottom_);
  const auto m = panes.PaneToModel(pane, p);
  char text[96];
  if (pane == 2) {
    std::snprintf(text, sizeof text, "Kelto_Qup Z=%4.3f\t Y=%4.3f", -m[0], m[1]);
  } else if (pane == 3) {
    std::snprintf(text, sizeof text, "Kelto_Qup X=%4.3f\t Z=%4.3f", m[0], m[1]);
  } else {
    std::snprintf(text, sizeof text, "Kelto_Qup X=%4.3f\t Y=%4.3f", m[0], m[1]);
  }
  frame_.SetTitle(text);
}

}  // namespace qup::shell
