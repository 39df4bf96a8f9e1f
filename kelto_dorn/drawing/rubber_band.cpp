// The rubber band in XOR: see rubber_band.h.
#include "kelto_dorn/drawing/rubber_band.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {

namespace {

constexpr int kBandColour = 7;
constexpr int kCrossHairColour = 7;
constexpr int kCrossHairShownAfter = 5;

// Draws the band of the current kind with the cursor at `cursor`, in XOR.
void DrawBand(platform::DeviceContext& dc, platform::Point cursor) {
  const FigureEngineView& v = g_figureView;
  const platform::RasterOp oldOp = dc.SetRasterOp(platform::RasterOp::Xor);
  const platform::Pen oldPen = dc.SelectPen(PenForColour(kBandColour));
  switch (g_rubberBandKind) {
    case kBandLineFromPoint:
      dc.Polyline({WorldToScreenRaw(v.bandAnchor.x, v.bandAnchor.y), cursor});
      break;
    case kBandCircleAtCursor: {
      const int r = static_cast<int>(std::lround(std::fabs(ValueInputValue) * g_view.m_unitsPerMm));
      const platform::Brush oldBrush = dc.SelectBrush(platform::Brush{0, platform::BrushStyle::Null});
      dc.Ellipse({cursor.x - r, cursor.y - r, cursor.x + r, cursor.y + r});
      dc.SelectBrush(oldBrush);
      break;
    }
    case kBandScreenLine:
      dc.Polyline({v.bandFrom, v.bandTo});
      break;
    default:
      break;
  }
  dc.SelectPen(oldPen);
  dc.SetRasterOp(oldOp);
}

// The view's cross-hair, drawn as the view draws it.
void DrawCrossHair(platform::DeviceContext& dc) {
  const ViewState& view = g_view;
  const int half = 4 * (view.m_clientWidth + view.m_clientHeight);
  const platform::Point at = view.m_crossHairAt;
  const platform::RasterOp oldOp = dc.SetRasterOp(platform::RasterOp::Xor);
  const platform::Pen oldPen = dc.SelectPen(PenForColour(kCrossHairColour));
  dc.Polyline({{at.x - half, at.y}, {at.x + half, at.y}});
  dc.Polyline({{at.x, at.y - half}, {at.x, at.y + half}});
  dc.SelectPen(oldPen);
  dc.SetRasterOp(oldOp);
}

bool BandFollowsCursor() {
  return g_rubberBandKind == kBandLineFromPoint || g_rubberBandKind == kBandCircleAtCursor;
}

}  // namespace

int EraseRubberBand() {
  FigureEngineView& v = g_figureView;
  const bool crossHair = g_view.m_crossHair > kCrossHairShownAfter;
  const bool band = v.bandDrawn && g_rubberBandKind != kBandNone;
  if (crossHair || band) {
    if (auto dc = GetViewDC()) {
      if (band) DrawBand(*dc, v.bandCursor);
      if (crossHair) DrawCrossHair(*dc);
    }
  }
  if (g_view.m_crossHair != 0) g_view.m_crossHair = 1;
  v.bandDrawn = false;
  g_rubberBandKind = kBandNone;
  return crossHair || band ? 1 : 0;
}

void DrawRubberBand(platform::DeviceContext& dc) {
  FigureEngineView& v = g_figureView;
  if (!BandFollowsCursor()) return;
  if (v.bandDrawn) DrawBand(dc, v.bandCursor);
  v.bandCursor = g_view.m_lastCursor;
  DrawBand(dc, v.bandCursor);
  v.bandDrawn = true;
}

void StartRubberBand(int kind, double anchorX, double anchorY) {
  FigureEngineView& v = g_figureView;
  const Vec2 origin = CurrentLayerOrigin();
  g_rubberBandKind = kind;
  v.bandAnchor = {anchorX + origin.x, anchorY + origin.y};
  v.bandDrawn = false;
}


}  // namespace dorn
