// Painting of curves and texts: see curve_text_painter.h.
#include "kelto_dorn/app/curve_text_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

CurvePaintErrors g_curvePaintErrors;

namespace {

// A curve may hold at most as many figures as there are segment blocks.
constexpr int kMaxCurveFigures = kSegmentBlockCount;
// Text anchors further out than this are not drawn (logical units).
constexpr int kTextLeftMargin = 1300;
constexpr int kTextBottomMargin = 900;
// Fonts higher than this are not made (logical units); such a text is far
// larger than any window.
constexpr int kMaxFontHeight = 32767;
// Curve marker: circle radius 2 and cross arms 4 long (mm).
constexpr double kMarkerRadius = 2.0;
constexpr double kMarkerCross = 4.0;
// The index of the work box's Z size text, drawn half-way up the work.
constexpr int kWorkZText = 2;
// Curve types.
constexpr int kCurvePlain = 0;
constexpr int kCurveHoles = 1;
constexpr int kCurvePocket5 = 5;
constexpr int kCurvePocket7 = 7;
constexpr int kCurveOffset = 8;
constexpr int kCurveTaper = 9;
// The taper offsets of a curve: the last six floats of its values.
constexpr int kTaperOffsetFirst = 18;

// Decorations are drawn in the curve's colour with a plain pen; the next
// figure then chooses its pen afresh.
void SelectCurvePen(platform::DeviceContext& dc, int colour) {
  dc.SelectPen({DeviceColour(colour), 1, platform::PenStyle::Solid});
  g_view.m_curPen = kPenUnknown;
}

bool ValidCurveIndex(int i) { return i >= 0 && i < kCurveTableSize; }

const CurveRecord& Curve(int i) { return g_curveTable[static_cast<std::size_t>(i)]; }

void ShowCurveMessage(const std::string& utf8) {
  platform::ShowMessageBox(platform::Utf8ToCp932(utf8), std::string_view(), kErrorBoxStyle);
}

std::string CurveName(const CurveRecord& c) { return std::string(c.name, strnlen(c.name, sizeof c.name)); }

// A figure range of table 90 that can be read.
bool CurveRangeReadable(const CurveRecord& c) {
  return c.first >= 0 && c.end > c.first && c.end <= GetFigureCount(kTableCurves) &&
         c.end - c.first <= kMaxCurveFigures;
}

// Draws a full circle of radius r about `centre` (relative to `origin`) at z.
void DrawCircleAt(Vec2 origin, Vec2 centre, double r, double z, int c, platform::DeviceContext& dc) {
  if (!(r > 0.0)) return;
  const FigureRecord saved = g_curFigure;
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindArc;
  g_curFigure.origin = origin;
  g_curFigure.centre = centre;
  g_curFigure.start = g_curFigure.end = {centre.x + r, centre.y};
  g_curFigure.radius = r;
  g_curFigure.depth = z;
  g_curFigure.attribute = c;
  const int counter = g_view.m_arrowCounter;
  g_view.m_arrowCounter = 0;
  const int pixels = ArcPixelRadius(r);
  if (pixels > 0) DrawArcPolyline(dc, pixels);
  g_view.m_arrowCounter = counter;
  g_curFigure = saved;
}

// Vertical edges at the given angles of a circle about `centre`.
void DrawCircleEdges(Vec2 centre, double r, double topZ, double bottomZ, double firstAngle, double step, int count,
                     platform::DeviceContext& dc) {
  for (int i = 0; i < count; ++i) {
    const double t = (firstAngle + i * step) * kRadiansPerDegree;
    DrawVerticalEdge({centre.x + r * std::cos(t), centre.y + r * std::sin(t)}, topZ, bottomZ, dc);
  }
}

// The middle point of the arc in g_curFigure.
Vec2 ArcMiddle() {
  FigureRecord arc = g_curFigure;
  ComputeArcAngles(arc);
  return arc.start;
}

// Every figure of the curve at bottom Z with vertical edges at its start and,
// for an arc, at its middle (pocket curves of type 7 and plain curves whose
// Z values differ).
void DrawPocketWalls(const CurveRecord& p, platform::DeviceContext& dc) {
  for (int i = p.first; i < p.end; ++i) {
    GetFigure(kTableCurves, i);
    g_curFigure.depth = p.endZ;
    DrawFigure(p.colour, dc);
    SelectCurvePen(dc, p.colour);
    DrawVerticalEdge(g_curFigure.start, p.topZ, p.endZ, dc);
    if (g_curFigure.kind == kKindArc) DrawVerticalEdge(ArcMiddle(), p.topZ, p.endZ, dc);
  }
}

void DrawRoundPocket(const CurveRecord& p, platform::DeviceContext& dc) {
  for (int i = p.first; i < p.end; ++i) {
    GetFigure(kTableCurves, i);
    g_curFigure.depth = p.endZ;
    DrawFigure(p.colour, dc);
    if (g_curFigure.kind == kKindArc) {
      SelectCurvePen(dc, p.colour);
      DrawCircleEdges(g_curFigure.centre, std::fabs(g_curFigure.radius), p.topZ, p.endZ, 0.0, 45.0, 8, dc);
    }
  }
}

void DrawOffsetWalls(const CurveRecord& p, platform::DeviceContext& dc) {
  for (int i = p.first; i < p.end; ++i) {
    GetFigure(kTableCurves, i);
    const Vec2 originalStart = g_curFigure.start;
    int style = g_curFigure.style;
    if (style < 0 || style > 5) style = 0;
    const double offset = p.values[kTaperOffsetFirst + style];
    if (OffsetFigure(offset) != 0) continue;
    g_curFigure.depth = p.endZ;
    DrawFigure(p.colour, dc);
    SelectCurvePen(dc, p.colour);
    DrawTaperWall(originalStart, p.topZ, p.endZ, dc);
  }
}

}  // namespace

int CheckCurveForPaint() {
  if (!ValidCurveIndex(g_curCurveIndex)) return kCurveFaulty;
  const CurveRecord& p = Curve(g_curCurveIndex);
  if (p.layer != g_curLayer) return kCurveOtherLayer;
  char line[256];
  if (g_curveCount > kCurveTableSize) {
    std::snprintf(line, sizeof line, "adr曲線ＰＡＫサイズ超えています：%d", g_curveCount);
    ShowCurveMessage(line);
    ++g_curvePaintErrors.countTooLarge;
    g_curveCount = kCurveTableSize;
  }
  if (p.first == p.end) {
    std::snprintf(line, sizeof line, "fig(%x)曲線ＰＡＫサイズエラー：%d\nレイヤ(%d)pak(%s) ", p.first, g_curCurveIndex,
                  p.layer, platform::Cp932ToUtf8(CurveName(p)).c_str());
    ShowCurveMessage(line);
    ++g_curvePaintErrors.empty;
    return kCurveFaulty;
  }
  const long long size = static_cast<long long>(p.end) - p.first;
  if (size > kMaxCurveFigures || size < 0 || p.first < 0) {
    std::snprintf(line, sizeof line, "fig(%x)曲線セグメントエラー：SIZE(%llx) レイヤ(%d)　pak.st(%x) 　pak.ed(%x)",
                  p.first, size, p.layer, p.first, p.end);
    ShowCurveMessage(line);
    ++g_curvePaintErrors.tooLong;
    return kCurveFaulty;
  }
  if (p.end > kFigureTableLimit || p.end > GetFigureCount(kTableCurves)) {
    // Figures beyond the table cannot be read: the curve is not painted.
    ++g_curvePaintErrors.tooLong;
    return kCurveFaulty;
  }
  return 0;
}

void DrawVerticalEdge(Vec2 point, double topZ, double bottomZ, platform::DeviceContext& dc) {
  double x1, y1, x2, y2;
  WorldToScreenExact(point.x, point.y, topZ, x1, y1);
  WorldToScreenExact(point.x, point.y, bottomZ, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
}

void DrawTaperWall(Vec2 originalStart, double topZ, double bottomZ, platform::DeviceContext& dc) {
  double x1, y1, x2, y2;
  WorldToScreenExact(originalStart.x, originalStart.y, topZ, x1, y1);
  WorldToScreenExact(g_curFigure.start.x, g_curFigure.start.y, bottomZ, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
}

void DrawHoleStep(const HoleStepShape& step, int machiningKind, platform::DeviceContext& dc) {
  double r = 0.0;
  if (machiningKind == kMachiningHelicalHole) {
    r = step.ownDiameter * 0.5;
    if (step.angle > 0) r += std::fabs(step.depth) * std::tan(step.angle * kRadiansPerDegree);
  } else {
    r = step.toolDiameter * 0.5;
  }
  if (!(r > 0.0) || !std::isfinite(r)) return;
  const int c = g_curFigure.attribute & kAttrColourMask;
  DrawCircleAt(g_curFigure.origin, g_curFigure.centre, r, step.upperZ, c, dc);
  DrawCircleAt(g_curFigure.origin, g_curFigure.centre, r, step.lowerZ, c, dc);
  if ((machiningKind & 0xF000) != 0xA000) {
    DrawCircleEdges(g_curFigure.centre, r, step.upperZ, step.lowerZ, 0.0, 90.0, 4, dc);
  }
}

void DrawCurveHoles(int curve, platform::DeviceContext& dc) {
  if (!ValidCurveIndex(curve) || !g_drawingHooks.forEachHoleDefinition) return;
  const CurveRecord& p = Curve(curve);
  if (!CurveRangeReadable(p)) return;
  const FigureRecord saved = g_curFigure;
  SelectCurvePen(dc, p.colour);
  g_drawingHooks.forEachHoleDefinition(p.key, [&](int kind, const HoleStepShape* steps, int count) {
    for (int i = p.first; i < p.end; ++i) {
      GetFigure(kTableCurves, i);
      if (g_curFigure.layer != g_curLayer) continue;
      g_curFigure.attribute = p.colour;
      for (int s = 0; s < count && steps[s].toolDiameter != 0.0; ++s) DrawHoleStep(steps[s], kind, dc);
    }
  });
  g_curFigure = saved;
}

void DrawCurveMarker(int curve, platform::DeviceContext& dc) {
  if (!ValidCurveIndex(curve)) return;
  const CurveRecord& p = Curve(curve);
  if (p.kind == kCurveHoles) DrawCurveHoles(curve, dc);
  const FigureRecord saved = g_curFigure;
  SelectCurvePen(dc, p.colour);
  g_curFigure.origin = {};
  const Vec2 ip{p.ipX, p.ipY};
  DrawCircleAt({}, ip, kMarkerRadius, p.topZ, p.colour, dc);
  const double h = kMarkerCross * 0.5;
  double x1, y1, x2, y2;
  WorldToScreenExact(ip.x - h, ip.y, p.topZ, x1, y1);
  WorldToScreenExact(ip.x + h, ip.y, p.topZ, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
  WorldToScreenExact(ip.x, ip.y - h, p.topZ, x1, y1);
  WorldToScreenExact(ip.x, ip.y + h, p.topZ, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
  g_curFigure = saved;
}

void DrawCurve(int mode, platform::DeviceContext& dc) {
  if (!ValidCurveIndex(g_curCurveIndex)) return;
  const int index = g_curCurveIndex;
  const CurveRecord& p = Curve(index);
  if (!CurveRangeReadable(p)) return;
  GetFigure(kTableCurves, p.first);
  if (g_curFigure.layer != g_curLayer) return;

  // Decorations first, without the curve's direction arrow.
  const int counter = g_view.m_arrowCounter;
  g_view.m_arrowCounter = 0;
  // The marker shows the curve's IP point: only when one is set and IP
  // points are shown.
  const bool marker = (p.flags & 0x80) && g_showIpPoint > 0;
  switch (p.kind) {
    case kCurvePlain:
      if (marker) DrawCurveMarker(index, dc);
      if (p.topZ != p.endZ) DrawPocketWalls(p, dc);
      break;
    case kCurvePocket7:
      DrawPocketWalls(p, dc);
      if (marker) DrawCurveMarker(index, dc);
      break;
    case kCurveHoles:
      DrawCurveHoles(index, dc);
      break;
    case kCurvePocket5:
      DrawRoundPocket(p, dc);
      if (marker) DrawCurveMarker(index, dc);
      break;
    case kCurveOffset:
    case kCurveTaper:
      DrawOffsetWalls(p, dc);
      if (marker) DrawCurveMarker(index, dc);
      break;
    default:
      break;
  }
  g_view.m_arrowCounter = counter;
  if (mode) return;
  // A stamped hole curve shows only the direction arrow of its first figure:
  // its holes are drawn by their definitions.
  if (p.kind == kCurveHoles && HoleFlag(p) != 0) {
    GetFigure(kTableCurves, p.first);
    DrawDirectionArrow(g_curFigure.attribute & kAttrColourMask, g_curFigure.dir.x, g_curFigure.dir.y, dc);
    g_view.m_arrowCounter = 0;
    return;
  }
  // Offset and taper contours whose reference face is the bottom lie at END Z.
  const double z = p.kind > kCurvePocket7 && p.zFlag != 0 ? p.endZ : p.topZ;
  for (int i = p.first; i < p.end; ++i) {
    GetFigure(kTableCurves, i);
    g_curFigure.depth = z;
    DrawFigure(g_curFigure.attribute & kAttrColourMask, dc);
  }
}

void DrawTextFigure(int c, platform::DeviceContext& dc) {
  const ViewState& v = g_view;
  const TextRecord& t = g_curTextRecord;
  const bool bottomMode = g_globalZMode == handover::DrawingHeader::kGlobalZBottom;
  double z = bottomMode ? g_globalZ : 0.0;
  if (g_curFigure.number == kWorkZText) z = bottomMode ? z * 0.5 - 8.0 : g_globalZ * -0.5 - 8.0;
  const platform::Point anchor = WorldToScreen(t.baseX, t.baseY, z);
  if (anchor.x < -kTextLeftMargin || anchor.x > v.m_extentX) return;
  if (anchor.y < -kTextBottomMargin || anchor.y > v.m_extentY + kTextBottomMargin) return;

  double scale = g_layerScale[static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1))];
  if (g_layerOverview == kOverviewPending) scale *= 0.25;
  double height = static_cast<double>(g_dimTextSlider) * t.size * scale * 0.01;
  if (IsPrinting()) height *= v.m_printFactor;
  if (!(height < kMaxFontHeight)) return;
  const int h = static_cast<int>(height);
  if (h <= 1) return;

  int escapement = 0;
  if (g_projection == kProjectionXY) {
    escapement = static_cast<int>(t.angle * 10.0);
  } else if (g_projection == kProjectionArrow) {
    if (g_curFigure.number == kWorkZText) {
      escapement = static_cast<int>(t.angle * 10.0);
    } else {
      const double a = t.angle * kRadiansPerDegree;
      double x0, y0, x1, y1;
      WorldToScreenExact(t.baseX, t.baseY, z, x0, y0);
      WorldToScreenExact(t.baseX + std::cos(a), t.baseY + std::sin(a), z, x1, y1);
      double screenAngle = VectorAngle(x1 - x0, y0 - y1);
      if (screenAngle > 180.0) screenAngle -= 360.0;
      escapement = static_cast<int>(screenAngle * 10.0);
    }
  }
  platform::Font font;
  font.face = v.m_fontFace;
  font.height = h;
  font.escapement = escapement;
  const platform::Font oldFont = dc.SelectFont(font);
  dc.SetTextColor(IsPrinting() ? PaletteColors[0] : DeviceColour(c));
  if (IsPrinting()) dc.SetRasterOp(platform::RasterOp::Copy);
  dc.TextOut(anchor, std::string_view(t.text, strnlen(t.text, sizeof t.text)));
  dc.SelectFont(oldFont);
}

}  // namespace dorn
