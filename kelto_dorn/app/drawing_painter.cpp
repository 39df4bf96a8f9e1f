// The paint of the main view: see drawing_painter.h.
#include "kelto_dorn/app/drawing_painter.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/curve_text_painter.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/app/work_box.h"

namespace dorn {

namespace {

constexpr int kOverviewTiles = 16;
constexpr int kOverviewColumns = 4;
constexpr platform::Color kMarkedTileColour = 0x000080;  // dark red
constexpr int kGridColour = 23;
constexpr int kArrowCounterCurveStart = 500;
constexpr int kOriginMarkAll = 5;
constexpr int kOriginMarkRecall = 9;
constexpr int kOriginMarkCurrent = 0;
constexpr int kPendingFigureColour = 7;
constexpr int kPickHighlightColour = 1;
constexpr int kCurrentFigureColour = 3;
constexpr int kPromptOverview = 15;
constexpr int kFirstEditBlock = 5;
constexpr int kWorkTextCount = 3;

std::size_t LayerIndex(int layer) { return static_cast<std::size_t>(std::clamp(layer, 0, kLayerCount - 1)); }

void SelectCurrentOrigin() { g_curOriginIndex = g_layerOriginIndex[LayerIndex(g_curLayer)]; }

void RememberCurrentOrigin() { g_view.m_rememberedOrigin = CurrentLayerOrigin(); }

// Marks every origin of the current layer in the given mode, keeping the
// current origin.
void MarkEveryOrigin(platform::DeviceContext& dc, int mode) {
  const int current = g_curOriginIndex;
  const int count = std::clamp(g_originCount[LayerIndex(g_curLayer)], 0, kOriginsPerLayer);
  for (int i = 0; i < count; ++i) {
    g_curOriginIndex = i;
    DrawOriginMarkHook(dc, mode);
  }
  g_curOriginIndex = current;
}

void PrepareOverviewTile(platform::DeviceContext& dc) {
  g_view.m_unitsPerMm *= 0.25;
  const int t = g_curLayer - g_overviewFirstLayer;
  if (t < 0 || t >= kOverviewTiles) return;
  const platform::Rect tile = OverviewTile(t);
  dc.IntersectClipRect(tile);
  if (g_overviewMarks[LayerIndex(g_curLayer)]) dc.FillRect(tile, {kMarkedTileColour, platform::BrushStyle::Solid});
}

void DrawLayerFigures(platform::DeviceContext& dc) {
  const double depth = g_globalZMode == handover::DrawingHeader::kGlobalZBottom ? g_globalZ : 0.0;
  const bool dragging = IsDragging();
  const VisibleWindow window = CurrentVisibleWindow();
  const FigureTable* table = g_figureStore.Table(g_figureTableSelector);
  if (table == nullptr) return;
  int drawn = 0;
  // Each record is looked at where it lies; only a figure that may show is
  // copied into g_curFigure and drawn.
  for (int i = std::min(GetFigureCount(g_figureTableSelector), table->capacity()) - 1; i >= 0; --i) {
    const FigureRecord& figure = table->slot(i);
    if (figure.kind == kKindEmpty || FigureOutsideWindow(figure, window)) continue;
    GetFigure(i);
    g_curFigure.depth = depth;
    DrawFigure(g_curFigure.attribute & kAttrColourMask, dc);
    if (dragging && ++drawn >= kDragFigureLimit) break;
  }
}

void DrawCurves(platform::DeviceContext& dc) {
  const int savedTable = g_figureTableSelector;
  const int savedCurve = g_curCurveIndex;
  g_figureTableSelector = kTableCurves;
  g_curvePaintErrors = CurvePaintErrors{};
  for (int p = 0; p < std::min(g_curveCount, kCurveTableSize); ++p) {
    g_view.m_arrowCounter = kArrowCounterCurveStart;
    g_curCurveIndex = p;
    const int result = CheckCurveForPaint();
    if (result == kCurveOtherLayer) continue;
    if (result != 0) break;
    DrawCurve(0, dc);
  }
  g_view.m_arrowCounter = 0;
  g_curCurveIndex = savedCurve;
  g_figureTableSelector = savedTable;
}

// Whether text record i is drawn in the current projection: the work box's
// size texts by axis, every other text only in the XY and arrow views.
bool TextShownInProjection(int i) {
  switch (g_projection) {
    case kProjectionXY:
      return i != 2;
    case kProjectionXZ:
      return i == 0 || i == 2;
    case kProjectionYZ:
      return i == 1 || i == 2;
    case kProjectionArrow:
      return true;
    default:
      return false;
  }
}

bool IsWorkText(int i) { return i < kWorkTextCount; }

void DrawTexts(platform::DeviceContext& dc) {
  const platform::BackgroundMode oldMode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
  dc.SetTextAlign(platform::text_align::kBottom);
  for (int i = 0; i < kTextRecordCount; ++i) {
    if (g_layerOverview == kOverviewPending) break;
    const TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    if (t.layer < 0) break;  // the end of the list
    if (t.layer != g_curLayer) continue;
    if (IsWorkText(i) ? !TextShownInProjection(i)
                      : !(g_projection == kProjectionXY || g_projection == kProjectionArrow))
      continue;
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindText;
    g_curFigure.number = i;
    g_curFigure.layer = t.layer;
    g_curFigure.attribute = t.colour & kAttrColourMask;
    g_curFigure.origin = {t.originX, t.originY};
    g_curTextRecord = t;
    DrawFigure(t.colour, dc);
  }
  dc.SetTextAlign(platform::text_align::kLeft | platform::text_align::kTop);
  dc.SetBackgroundMode(oldMode);
}

void ReportCurveErrors() {
  const CurvePaintErrors& e = g_curvePaintErrors;
  if (e.countTooLarge) {
    ShowErrorCode(-10);
    ShowErrorCode(-13);
  }
  if (e.empty) ShowErrorCode(-11);
  if (e.tooLong) {
    ShowErrorCode(-12);
    ShowErrorCode(-13);
  }
  g_curvePaintErrors = CurvePaintErrors{};
}

void DrawGridLines(platform::DeviceContext& dc, int width, int height) {
  const ViewState& v = g_view;
  // Horizontal lines through the X axis's Y and every grid step from it
  // inside the height, vertical ones likewise from the Y axis's X. The first
  // line drawn is found directly, so a far axis costs nothing.
  auto run = [&dc](long long axis, long long step, long long limit, bool horizontal, int across) {
    if (step <= 0) return;
    long long k0 = 1;
    if (axis + step <= 0) k0 = (-axis) / step + 1;
    for (long long pos = axis + k0 * step; pos < limit; pos += step) {
      if (pos <= 0) continue;
      const int p = static_cast<int>(pos);
      dc.Polyline(horizontal ? std::vector<platform::Point>{{0, p}, {across, p}}
                             : std::vector<platform::Point>{{p, 0}, {p, across}});
    }
    long long k1 = 1;
    if (axis - step >= limit) k1 = (axis - limit) / step + 1;
    for (long long pos = axis - k1 * step; pos > 0; pos -= step) {
      if (pos >= limit) continue;
      const int p = static_cast<int>(pos);
      dc.Polyline(horizontal ? std::vector<platform::Point>{{0, p}, {across, p}}
                             : std::vector<platform::Point>{{p, 0}, {p, across}});
    }
  };
  run(v.m_axisXStart.y, v.m_gridStepY, height, true, width);
  run(v.m_axisYStart.x, v.m_gridStepX, width, false, height);
}

}  // namespace

platform::Rect OverviewTile(int t) {
  const ViewState& v = g_view;
  const int col = t % kOverviewColumns, row = t / kOverviewColumns;
  return {col * v.m_extentX / 4, row * v.m_extentY / 4, (col + 1) * v.m_extentX / 4, (row + 1) * v.m_extentY / 4};
}

void DrawGridAndFrames(platform::DeviceContext& dc) {
  const ViewState& v = g_view;
  int width = v.m_clientWidth, height = v.m_clientHeight;
  if (IsPrinting()) {
    width = static_cast<int>(width * v.m_printFactor);
    height = static_cast<int>(height * v.m_printFactor);
  }
  if (g_layerOverview == kOverviewPending) {
    for (int t = 0; t < kOverviewTiles; ++t)
      dc.DrawEdge(OverviewTile(t), platform::EdgeKind::Bump, platform::edge_side::kRect);
    return;
  }
  if (g_projection != kProjectionXY || !g_showAxes) return;
  const platform::Color colour = DeviceColour(kGridColour);
  const platform::Pen oldPen = dc.SelectPen({colour, 1, platform::PenStyle::DashDotDot});
  DrawGridLines(dc, width, height);
  dc.SelectPen({colour, 1, platform::PenStyle::Solid});
  const int axisY = v.m_axisXStart.y;
  if (axisY > 0 && axisY < height) dc.Polyline({{0, axisY}, {width, axisY}});
  const int axisX = v.m_axisYStart.x;
  if (axisX > 0 && axisX < width) dc.Polyline({{axisX, 0}, {axisX, height}});
  dc.SelectPen(oldPen);
  g_view.m_curPen = kPenUnknown;
}

void DrawDrawing(int mode, platform::DeviceContext& dc) {
  g_projectionCentre = {};
  const FigureRecord savedWork = g_savedFigure;
  BuildArrowViewMatrix();
  UpdateViewTransform();
  const bool overview = g_layerOverview == kOverviewPending;
  if (overview) PrepareOverviewTile(dc);
  UpdateAxisAndGrid();
  if (mode != kDrawFull) {
    g_savedFigure = savedWork;
    return;
  }
  if (g_pickState == kPickStateNone) g_snapMode = 0;
  DrawGridAndFrames(dc);
  if (!overview && g_curCommand != kCommandOriginRecall) {
    RememberCurrentOrigin();
    if (g_showAxes == 1) {
      MarkEveryOrigin(dc, kOriginMarkAll);
    } else {
      DrawOriginMarkHook(dc, kOriginMarkCurrent);
    }
  }
  g_view.m_curPen = kPenUnknown;
  if (g_showFigures) DrawLayerFigures(dc);
  if (!overview) PaintWorkBox(dc);
  DrawCurves(dc);
  if (!IsDragging() && g_showDimensions == 1 && g_showFigures) DrawTexts(dc);
  ReportCurveErrors();
  g_savedFigure = savedWork;
}

void PaintAllDrawings(platform::DeviceContext& dc) {
  ViewState& v = g_view;
  v.m_curveLabelOffset = 20;
  v.m_arrowCounter = 0;
  if (v.m_skipPaintOnce) {
    v.m_skipPaintOnce = 0;
    return;
  }
  const FigureRecord savedFigure = g_curFigure;
  SelectCurrentOrigin();
  if (g_layerOverview == kOverviewPending) {
    const int layer = g_curLayer, table = g_figureTableSelector;
    const int last = std::min(g_overviewFirstLayer + kOverviewTiles, kLayerCount);
    for (int i = std::max(g_overviewFirstLayer, 0); i < last; ++i) {
      dc.Save();
      g_curLayer = i;
      g_figureTableSelector = i;
      SelectCurrentOrigin();
      DrawDrawing(kDrawFull, dc);
      dc.Restore();
    }
    g_curLayer = layer;
    g_figureTableSelector = table;
    SelectCurrentOrigin();
    g_layerOverview = kOverviewShown;
    ShowPromptHook(kPromptOverview);
    g_curFigure = savedFigure;
    v.m_curPen = kPenUnknown;
    return;
  }
  DrawDrawing(kDrawFull, dc);
  g_figureTableSelector = g_curLayer;
  SelectCurrentOrigin();
  if (g_curCommand == kCommandOriginRecall) {
    RememberCurrentOrigin();
    MarkEveryOrigin(dc, kOriginMarkRecall);
  }
  // The curve a running command works on keeps its highlight through a
  // repaint, in the colour every pick is highlighted in. Colour 0 would be
  // the background's (the curve vanished), and a curve merely left current
  // by a finished command, or curve 0 after a drawing is loaded, is no pick:
  // without a command it is drawn in its own colours like every other.
  if (g_curCommand != 0 && g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount &&
      g_pickState != kPickStateNoCurveHighlight)
    HighlightCurvesHook(dc, kPickHighlightColour);
  if (g_curCommand == kCommandPointGroupEdit || g_curCommand == kCommandPointGroupEdit2) {
    for (int i = kFirstEditBlock; i < std::min(v.m_blockCount, kSegmentBlockCount); ++i) {
      LoadSegment(i);
      DrawFigure(g_curFigure.attribute & kAttrColourMask, dc);
    }
    if (g_curCommand == kCommandPointGroupEdit) {
      LoadSegment(1);
      DrawFigure(1, dc);
    }
  }
  if ((g_commandStep == kInputStatePendingFigure || g_pickState == kPickStateThreePoint) && LoadPendingFigureHook()) {
    DrawFigure(kPendingFigureColour, dc);
    const Vec2 start = g_curFigure.start;
    g_curFigure.start = g_curFigure.end;
    DrawFigure(kPendingFigureColour, dc);
    if (g_pickState == kPickStateThreePoint) {
      g_curFigure.start = g_curFigure.centre;
      DrawFigure(kPendingFigureColour, dc);
    }
    g_curFigure.start = start;
  }
  if (g_pickState == kPickStatePickWork) DrawPickHighlightsHook(dc);
  g_curFigure = savedFigure;
  if (g_curCommand == kCommandShowCurrentA || g_curCommand == kCommandShowCurrentB)
    DrawFigure(kCurrentFigureColour, dc);
  v.m_curPen = kPenUnknown;
}

}  // namespace dorn
