// The view's mouse events: clicks before the dispatch (long operations, the
// layer tiles, the re-centring click, drags), moves with their read-out and
// XOR feedback, buttons up and the wheel. See pick_dispatch.h.
#include <cstdio>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "platform/key_codes.h"

namespace dorn {

namespace {

constexpr int kTileColumns = 4;
constexpr int kCurveNameInputEnded = 50;
constexpr int kCrossHairStartsAfter = 5;
constexpr int kOriginCrossHalf = 200;  // the 400-pixel cross of the origin move
constexpr int kReadoutWidth = 12;      // each read-out line is padded to 12 characters
constexpr platform::Color kReadoutDarkText = platform::Rgb(5, 5, 5);
constexpr platform::Color kReadoutLightText = platform::Rgb(255, 255, 255);
constexpr int kCrossHairColour = 7;

bool HoverShowsFigureCursor() {
  const int s = g_pickState;
  return g_autoIntersection == 1 && (s == kPickStateIntersection || s == kPickStateMoveTarget ||
                                     s == kPickStateEndPoint || s == kPickStateDimCross);
}

void LeaveTiles(CKelView& view) {
  g_layerOverview = 0;
  g_overviewFirstLayer = 0;
  g_layerDeleteMarking = 0;
  ShowPromptHook(0);
  view.RedrawView();
}

// The layer becomes the current one everywhere it is kept.
void MakeLayerCurrent(int layer) {
  g_figureTableSelector = layer;
  g_curLayer = layer;
  g_layerViews[0].values[0] = layer;  // the header's layer word: layer record 0
  g_curOriginIndex = g_layerOriginIndex[static_cast<std::size_t>(layer)];
}

std::string ReadoutLine(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  std::string s = text;
  if (s.size() < kReadoutWidth) s.append(kReadoutWidth - s.size(), ' ');
  return s;
}

void DrawReadout(CKelView& view, platform::DeviceContext& dc, const Vec2& point) {
  if (g_projection == kProjectionArrow) return;
  const Vec2 origin = CurrentLayerOrigin();
  std::string first, second;
  switch (g_projection) {
    case kProjectionXZ:
      first = ReadoutLine("X=%4.3f", point.x - origin.x);
      second = ReadoutLine("Z=%4.3f", point.y);
      break;
    case kProjectionYZ:
      first = ReadoutLine("Y=%4.3f", point.x - origin.y);
      second = ReadoutLine("Z=%4.3f", point.y);
      break;
    default:
      first = ReadoutLine("X=%4.3f", point.x - origin.x);
      second = ReadoutLine("Y=%4.3f", point.y - origin.y);
      break;
  }
  const int height = g_view.m_clientHeight;
  const platform::Font oldFont = dc.SelectFont(view.ReadoutFont());
  dc.SetBackgroundMode(platform::BackgroundMode::Opaque);
  dc.SetTextColor(IsLightBackground(g_backgroundIndex) ? kReadoutDarkText : kReadoutLightText);
  dc.SetTextAlign(platform::text_align::kLeft | platform::text_align::kTop);
  dc.TextOut({3, height - 42}, first);
  dc.TextOut({3, height - 21}, second);
  dc.SelectFont(oldFont);
}

void DrawXorCross(platform::DeviceContext& dc, platform::Point at, int half) {
  const platform::RasterOp oldOp = dc.SetRasterOp(platform::RasterOp::Xor);
  const platform::Pen oldPen = dc.SelectPen(PenForColour(kCrossHairColour));
  dc.Polyline({{at.x - half, at.y}, {at.x + half, at.y}});
  dc.Polyline({{at.x, at.y - half}, {at.x, at.y + half}});
  dc.SelectPen(oldPen);
  dc.SetRasterOp(oldOp);
}

void DrawXorPolylineEdge(CKelView& view, platform::DeviceContext& dc, platform::Point to) {
  const ViewState& v = g_view;
  const Vec2 origin = CurrentLayerOrigin();
  const Vec2 last = v.m_polylineBox[static_cast<std::size_t>(v.m_polylineCount - 1)];
  const platform::Point from = WorldToScreenRaw(last.x + origin.x, last.y + origin.y);
  (void)view;
  const platform::RasterOp oldOp = dc.SetRasterOp(platform::RasterOp::Xor);
  const platform::Pen oldPen = dc.SelectPen(PenForColour(kCrossHairColour));
  dc.Polyline({from, to});
  dc.SelectPen(oldPen);
  dc.SetRasterOp(oldOp);
}

// The curve-name input has just ended: its names select curves, or the
// command ends (or goes on where the curve command asked for it).
void FinishCurveNameInput(CKelView& view) {
  ViewState& v = g_view;
  v.m_curveNameMode = 0;
  const int named = g_commandEngines.selectCurvesByName ? g_commandEngines.selectCurvesByName() : 0;
  if (named > 0) {
    g_pickResult = 1;
  } else if (v.m_curveContinue) {
    g_pickResult = 0;
  } else {
    view.EndPick(g_curCommand);
    return;
  }
  EnterCurveMachine();
}

void DrawMoveFeedback(CKelView& view, platform::DeviceContext& dc, platform::Point p, platform::Point previous) {
  ViewState& v = g_view;
  const int state = g_pickState;
  if (state == kPickStateDimensionPreview) {
    if (g_commandEngines.previewDimension) g_commandEngines.previewDimension(dc);
  } else if (state == cmd::kDimensionTextEdit) {
    if (g_commandEngines.highlightTextNearCursor) {
      const Vec2 at = view.ScreenToDrawing(p.x, p.y);
      g_commandEngines.highlightTextNearCursor(dc, at.x, at.y);
    }
  } else if (state == cmd::kOriginMove) {
    DrawXorCross(dc, previous, kOriginCrossHalf);
    DrawXorCross(dc, p, kOriginCrossHalf);
  } else if (state == kPickStatePolylineBox && v.m_polylineCount > 0) {
    DrawXorPolylineEdge(view, dc, previous);
    DrawXorPolylineEdge(view, dc, p);
  } else if (g_commandEngines.drawRubberBand) {
    g_commandEngines.drawRubberBand(dc);
  }
  if (HoverShowsFigureCursor() && g_commandEngines.pickFigureOrCurve) {
    // Whether a figure lies under the cursor, without touching the command's words.
    const Vec2 savedPoint = g_pickPoint;
    const FigureRecord savedFigure = g_curFigure, savedPick = g_savedFigure;
    g_pickPoint = view.ScreenToDrawing(p.x, p.y);
    const bool over = g_commandEngines.pickFigureOrCurve(0);
    g_pickPoint = savedPoint;
    g_curFigure = savedFigure;
    g_savedFigure = savedPick;
    view.UpdateCursor(over);
  }
  if (v.m_crossHair != 0) {
    // The count starts at 1 with each redraw: the first five moves only
    // count, the sixth draws the cross, and each later one takes the cross
    // off where it was before drawing it here.
    const int half = 4 * (v.m_clientWidth + v.m_clientHeight);
    if (v.m_crossHair > kCrossHairStartsAfter) {
      if (v.m_crossHair > kCrossHairStartsAfter + 1) DrawXorCross(dc, v.m_crossHairAt, half);
      DrawXorCross(dc, p, half);
      v.m_crossHairAt = p;
    }
    if (v.m_crossHair <= kCrossHairStartsAfter + 1) ++v.m_crossHair;  // it stops counting once drawn
  }
  if (v.m_boxStage != 0) {
    view.DrawRubberBandBox(dc, v.m_boxStage);
    v.m_boxEnd = p;
    view.DrawRubberBandBox(dc, v.m_boxStage);
  }
}

}  // namespace

int OverviewTileAt(CKelView& view, platform::Point p) {
  (void)view;
  const int w = g_view.m_clientWidth, h = g_view.m_clientHeight;
  if (w <= 0 || h <= 0 || p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) return -1;
  return (p.y * kTileColumns / h) * kTileColumns + p.x * kTileColumns / w;
}

void CKelView::OnMouse(const platform::MouseEvent& event) {
  switch (event.action) {
    case platform::MouseAction::LeftDown:
    case platform::MouseAction::LeftDoubleClick:  // a double click is two clicks
      return OnLeftButtonDown(*this, event.position, event.modifiers);
    case platform::MouseAction::RightDown:
      return OnRightButtonDown(*this, event.position);
    case platform::MouseAction::Move:
      return OnMouseMoveTo(*this, event.position);
    case platform::MouseAction::LeftUp:
      return OnButtonUp(*this, true);
    case platform::MouseAction::RightUp:
      return OnButtonUp(*this, false);
    case platform::MouseAction::Wheel:
      return OnMouseWheel(*this, event.position, event.wheelDelta);
    case platform::MouseAction::RightDoubleClick:
      return;
  }
}

void OnLeftButtonDown(CKelView& view, platform::Point p, unsigned modifiers) {
  ViewState& v = g_view;
  if (g_abortCount != 0) return;
  if (g_layerDeleteMarking) {
    const int tile = OverviewTileAt(view, p);
    const int layer = g_overviewFirstLayer + tile;
    if (tile >= 0 && layer < kLayerCount) g_overviewMarks[static_cast<std::size_t>(layer)] = 1;
    g_layerOverview = kOverviewPending;
    view.RedrawView();
    return;
  }
  if (g_layerOverview != 0) {
    const int tile = OverviewTileAt(view, p);
    const int layer = g_overviewFirstLayer + tile;
    if (tile < 0 || layer >= kLayerCount) return;
    MakeLayerCurrent(layer);
    LeaveTiles(view);
    SaveDrawing(view.Document());
    return;
  }
  if (v.m_placeByMouse == 1) {
    v.m_placeByMouse = 0;
    view.CentreOnPoint(view.ScreenToDrawing(p.x, p.y));
    view.RedrawView();
    return;
  }
  if (g_pickState == 0) {
    CKelView::Drag& drag = view.DragState();
    drag.left = true;
    drag.start = p;
    v.m_zoomDrag = 1;
    v.m_lastMouseX = p.x;
    v.m_lastMouseY = p.y;
    return;
  }
  const bool ctrl = (modifiers & platform::kModControl) != 0;
  v.m_ctrlKeyState = ctrl ? -1 : 0;
  auto dc = view.GetPreparedDC();
  if (!dc) return;
  g_pickPoint = view.ScreenToDrawing(p.x, p.y);
  ClickContext c{view, *dc, ctrl};
  DispatchLeftClick(c, p);
}

void OnRightButtonDown(CKelView& view, platform::Point p) {
  ViewState& v = g_view;
  if (g_abortCount != 0) return;
  if (g_layerDeleteMarking) {
    const int tile = OverviewTileAt(view, p);
    const int layer = g_overviewFirstLayer + tile;
    if (tile >= 0 && layer < kLayerCount) g_overviewMarks[static_cast<std::size_t>(layer)] = 0;
    g_layerOverview = kOverviewPending;
    view.RedrawView();
    return;
  }
  if (g_layerOverview != 0) return LeaveTiles(view);
  if (g_pickState == 0) {
    CKelView::Drag& drag = view.DragState();
    drag.right = true;
    drag.start = p;
    v.m_panDrag = 1;
    v.m_lastMouseX = p.x;
    v.m_lastMouseY = p.y;
    return;
  }
  auto dc = view.GetPreparedDC();
  if (!dc) return;
  ClickContext c{view, *dc, false};
  DispatchRightClick(c);
}

void OnMouseMoveTo(CKelView& view, platform::Point p) {
  ViewState& v = g_view;
  if (g_abortCount != 0 || g_layerOverview != 0 || g_layerDeleteMarking) return;
  const platform::Point previous = v.m_lastCursor;
  v.m_lastCursor = p;
  const CKelView::Drag& drag = view.DragState();
  if (g_pickState == 0 && (drag.left || drag.right)) {
    if (ZoomPanByDrag(p.x, p.y)) view.RedrawView();
    return;
  }
  if (v.m_curveNameMode == kCurveNameInputEnded && g_pickState == 0) return FinishCurveNameInput(view);
  if (g_pickState == 0 && g_curCommand != 0 && g_copyMode == 0) view.EndPick(g_curCommand);
  auto dc = view.GetPreparedDC();
  if (!dc) return;
  DrawReadout(view, *dc, view.ScreenToDrawing(p.x, p.y));
  DrawMoveFeedback(view, *dc, p, previous);
}

void OnButtonUp(CKelView& view, bool left) {
  if (g_abortCount != 0) return;
  CKelView::Drag& drag = view.DragState();
  bool& flag = left ? drag.left : drag.right;
  int& viewFlag = left ? g_view.m_zoomDrag : g_view.m_panDrag;
  const bool wasSet = flag;
  flag = false;
  viewFlag = 0;
  // The drags paint a cut-short picture; the whole drawing comes back now.
  if (wasSet) view.RedrawView();
}

void OnMouseWheel(CKelView& view, platform::Point p, int delta) {
  ViewState& v = g_view;
  if (g_layerOverview != 0) {
    const int shown = g_layerOverview;
    g_layerOverview = kOverviewPending;
    if (PageOverviewByWheel(delta)) {
      view.RedrawView();
    } else {
      g_layerOverview = shown;
    }
    return;
  }
  v.m_lastCursor = p;
  v.m_lastMouseX = p.x;
  v.m_lastMouseY = p.y;
  // One notch is one zoom step: the flag holds for this step only, so the
  // moves that follow do not zoom.
  v.m_wheelZoom = 1;
  const bool changed = ZoomPanByDrag(p.x + delta / 10, p.y);
  v.m_wheelZoom = 0;
  if (changed) view.RedrawView();
}

}  // namespace dorn
