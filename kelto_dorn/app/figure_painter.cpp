// Painting of one figure: see figure_painter.h.
#include "kelto_dorn/app/figure_painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/curve_text_painter.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"

namespace dorn {

namespace {

constexpr std::int32_t kAttrLineTypes = 0xF000;
constexpr std::int32_t kKindDimensionBit = 0x8000;
// Pen widths of thick figures (logical units): the printer's pixels are finer.
constexpr int kThickScreenWidth = 3;
constexpr int kThickPrintWidth = 6;
// Point mark radii (logical units): the hole record's mark is larger.
constexpr int kPointMarkRadius = 3;
constexpr int kHolePointMarkRadius = 4;
// The visible window's margin (logical units) for passing figures over.
constexpr double kCullMarginPixels = 4.0;
// Far points: more than this beyond the extents goes to circle clipping.
constexpr int kFarMargin = 1200;
// Clip circle radius in view units: 400 in XY, 8000 in the side projections.
constexpr double kClipRadiusXY = 400.0;
constexpr double kClipRadiusSide = 8000.0;
// Arc polylines: window limit 8480 logical units per print factor, flushed
// every 300 points.
constexpr double kArcWindowLimit = 8480.0;
constexpr std::size_t kArcFlushPoints = 300;
// Arc step in degrees: sqrt(0.03 / pixel radius x 2) radians, kept in 0.03..8.
constexpr double kArcChordError = 0.03;
constexpr double kMinArcStep = 0.03;
constexpr double kMaxArcStep = 8.0;
// Arc points carry their turn from one to the next; every 64th is computed
// afresh.
constexpr int kExactEvery = 64;
// Arrow at an arc end: 800 / pixel radius degrees before the end, in 1..18.
constexpr double kArrowArcAngle = 800.0;
// The arrow counter value at the start of a curve (its first figure).
constexpr int kArrowCounterCurveStart = 500;
// Curve name leader: the offset grows by 20 and wraps above 61.
constexpr int kLabelOffsetStart = 20;
constexpr int kLabelOffsetStep = 20;
constexpr int kLabelOffsetMax = 61;

// The contour definitions (plane, taper, character): the side a contour is
// cut on follows its curve's direction, so the directions are drawn while
// one of them is made.
constexpr int kDefineContourCommand = 32959;
constexpr int kDefineTaperCommand = 32968;
constexpr int kDefineCharContourCommand = 33203;

bool CurveDirectionsShown() {
  return g_showCurveArrows != 0 || g_curCommand == kDefineContourCommand || g_curCommand == kDefineTaperCommand ||
         g_curCommand == kDefineCharContourCommand;
}

// The figure's own colour word with the pen it needs.
struct PenChoice {
  bool made = false;
  platform::Pen pen;
};

platform::PenStyle LineTypeStyle(std::int32_t attribute) {
  if (attribute & kAttrDashed) return platform::PenStyle::Dot;
  if (attribute & kAttrChain1) return platform::PenStyle::DashDot;
  if (attribute & kAttrChain2) return platform::PenStyle::DashDotDot;
  return platform::PenStyle::Solid;
}

PenChoice ChoosePen(int c, std::int32_t attribute, std::int32_t kind) {
  ViewState& v = g_view;
  PenChoice choice;
  const bool thick = (attribute & kAttrThick) != 0;
  const bool lineTyped = (attribute & kAttrLineTypes) != 0;
  choice.pen.style = LineTypeStyle(attribute);
  if (lineTyped) v.m_curPen = kPenNeedsOwn;
  choice.pen.color = DeviceColour(c);
  if (IsPrinting()) {
    choice.pen.width = thick ? kThickPrintWidth : 1;
    choice.made = true;
  } else if (!thick && !lineTyped) {
    choice.made = false;
  } else {
    choice.pen.width = thick ? kThickScreenWidth : 1;
    choice.made = true;
  }
  if (kind & kKindDimensionBit) choice.pen.width = 1;
  return choice;
}

bool IsOnScreen(int x, int y) { return x >= 0 && x <= g_view.m_extentX && y >= 0 && y <= g_view.m_extentY; }

int ScaledByPrintFactor(int value) {
  const double f = g_view.m_printFactor;
  return f != 1.0 ? static_cast<int>(value * f) : value;
}

// Flushes a run of arc points as one polyline, keeping its last point as the
// start of the next run.
void FlushRun(platform::DeviceContext& dc, std::vector<platform::Point>& run, bool keepLast) {
  if (run.size() > 1) dc.Polyline(run);
  if (keepLast && !run.empty()) {
    const platform::Point last = run.back();
    run.clear();
    run.push_back(last);
  } else {
    run.clear();
  }
}

void DispatchDimension(std::int32_t kind, double z, platform::DeviceContext& dc) {
  int code = -1;
  switch (kind) {
    case 53250:
      code = 0;
      break;
    case 53506:
      code = 1;
      break;
    case 53762:
      code = 2;
      break;
    case 54018:
      code = 3;
      break;
    case 54019:
      code = 48;
      break;
    case 54274:
      code = 4;
      break;
    case 54275:
      code = 64;
      break;
    case 54530:
      code = 11;
      break;
    case 54786:
      code = 10;
      break;
    default:
      return;
  }
  if (g_showDimensions != 1 || !g_showFigures) return;
  DrawDimension(dc, g_curFigure.start, g_curFigure.end, z, code);
}

}  // namespace

int FigurePaintColour(int c) {
  c &= 0xFF;
  if (c >= kPaletteSize) c = ((c - 1) % 31) + 1;
  const int own = g_curFigure.attribute & kAttrColourMask;
  if (c == own && !(g_curFigure.origin == CurrentLayerOrigin())) {
    c = g_figureTableSelector > 8 ? g_otherOriginColourHigh : g_otherOriginColourLow;
  }
  if (c < 0 || c >= kPaletteSize) c = 0;
  return c;
}

platform::Color DimmedColour(int c) {
  if (c < 0 || c >= kPaletteSize) c = 0;
  return (PaletteColors[static_cast<std::size_t>(c)] >> 1) & 0x7F7F7F;
}

platform::Color DeviceColour(int c) {
  if (c < 0 || c >= kPaletteSize) c = 0;
  if (IsPrinting()) {
    if (g_printColourMode & kPrintAllColourZero) return PaletteColors[0];
    if (g_printColourMode & kPrintDimmed) return DimmedColour(c);
  }
  return PaletteColors[static_cast<std::size_t>(c)];
}

void DrawFigure(int colour, platform::DeviceContext& dc) {
  ViewState& v = g_view;
  const double z = g_globalZMode == handover::DrawingHeader::kGlobalZBottom ? g_globalZ : 0.0;
  const std::int32_t savedAttribute = g_curFigure.attribute;
  const int c = FigurePaintColour(colour);
  g_curFigure.attribute &= kAttrColourMask;

  const PenChoice choice = ChoosePen(c, savedAttribute, g_curFigure.kind);
  platform::Pen oldPen;
  if (choice.made) {
    oldPen = dc.SelectPen(choice.pen);
    v.m_curPen = kPenMade;
  } else if (c != v.m_curPen || !(dc.CurrentPen() == PenForColour(c))) {
    // The remembered pen is that of the last figure drawn, perhaps on
    // another device context: a context whose pen is not it gets it, or a
    // figure would come out in that context's default (black) pen.
    dc.SelectPen(PenForColour(c));
    v.m_curPen = c;
  }

  switch (g_curFigure.kind) {
    case kKindPoint:
      DrawPointMark(c, dc);
      break;
    case kKindPointMark:
      DrawPointMark(c, dc);
      if (CurveDirectionsShown()) DrawDirectionArrow(c, g_curFigure.dir.x, g_curFigure.dir.y, dc);
      break;
    case kKindLine:
      DrawLineFigure(c, dc);
      break;
    case kKindArc:
      DrawArcFigure(c, dc);
      break;
    case kKindDirectionArrow:
      if (CurveDirectionsShown()) DrawDirectionArrow(c, g_curFigure.dir.x, g_curFigure.dir.y, dc);
      break;
    case kKindText:
      DrawTextFigure(c, dc);
      break;
    case kKindCurvePoint:
    case kKindCurvePointTangent:
    case kKindCurvePointAngle:
      if (!IsPrinting()) DrawPointMark(c, dc);
      break;
    default:
      DispatchDimension(g_curFigure.kind, z, dc);
      break;
  }

  if (choice.made) dc.SelectPen(oldPen);
  g_curFigure.attribute = savedAttribute;
}

void DrawFilledCircle(platform::DeviceContext& dc, int x, int y, int radius, int c) {
  if (!IsOnScreen(x, y)) return;
  const platform::Brush old = dc.SelectBrush({DeviceColour(c), platform::BrushStyle::Solid});
  dc.Ellipse({x - radius, y - radius, x + radius, y + radius});
  dc.SelectBrush(old);
}

void DrawPointMark(int c, platform::DeviceContext& dc) {
  const platform::Point p = WorldToScreen(g_curFigure.start.x, g_curFigure.start.y, g_curFigure.depth);
  const int radius = ScaledByPrintFactor(g_curFigure.kind == kKindPointMark ? kHolePointMarkRadius : kPointMarkRadius);
  DrawFilledCircle(dc, p.x, p.y, radius, c);
}

void DrawLineFigure(int c, platform::DeviceContext& dc) {
  double x1, y1, x2, y2;
  WorldToScreenExact(g_curFigure.start.x, g_curFigure.start.y, g_curFigure.depth, x1, y1);
  WorldToScreenExact(g_curFigure.end.x, g_curFigure.end.y, g_curFigure.depth, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
  if (g_view.m_arrowCounter && CurveDirectionsShown()) DrawDirectionArrow(c, g_curFigure.dir.x, g_curFigure.dir.y, dc);
}

bool ClipLineToCircle(double cx, double cy, double radius, double& x1, double& y1, double& x2, double& y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double fx = x1 - cx, fy = y1 - cy;
  const double a = dx * dx + dy * dy;
  if (!(a > 0.0)) return false;
  const double b = 2.0 * (fx * dx + fy * dy);
  const double cc = fx * fx + fy * fy - radius * radius;
  const double disc = b * b - 4.0 * a * cc;
  if (!(disc > 0.0)) return false;  // fewer than two intersections
  const double root = std::sqrt(disc);
  // Only the part of the segment (0..1) that lies between the intersections.
  const double t1 = std::max(0.0, (-b - root) / (2.0 * a));
  const double t2 = std::min(1.0, (-b + root) / (2.0 * a));
  if (!(t1 < t2)) return false;
  const double sx = x1, sy = y1;
  x1 = sx + t1 * dx;
  y1 = sy + t1 * dy;
  x2 = sx + t2 * dx;
  y2 = sy + t2 * dy;
  return true;
}

void DrawClippedSegment(platform::DeviceContext& dc, double x1, double y1, double x2, double y2) {
  const ViewState& v = g_view;
  if (!(x1 == x1 && y1 == y1 && x2 == x2 && y2 == y2)) return;  // not a number
  if (x1 < 0 && x2 < 0) return;
  if (x1 > v.m_extentX && x2 > v.m_extentX) return;
  if (y1 < 0 && y2 < 0) return;
  if (y1 > v.m_extentY && y2 > v.m_extentY) return;
  auto far = [&v](double x, double y) {
    return std::fabs(x) > v.m_extentX + kFarMargin || std::fabs(y) > v.m_extentY + kFarMargin;
  };
  if (far(x1, y1) || far(x2, y2)) {
    // A circle about the window centre, 400 view units (8000 in the side
    // projections) in radius, holds every visible part of the line.
    const double radius = (g_projection == kProjectionXY ? kClipRadiusXY : kClipRadiusSide) * v.m_unitFactor;
    if (!ClipLineToCircle(v.m_extentX * 0.5, v.m_extentY * 0.5, radius, x1, y1, x2, y2)) return;
  }
  // One point pair reused for every segment of a paint: no allocation per line.
  static std::vector<platform::Point> pair(2);
  pair[0] = {TruncateLogical(x1), TruncateLogical(y1)};
  pair[1] = {TruncateLogical(x2), TruncateLogical(y2)};
  dc.Polyline(pair);
}

VisibleWindow CurrentVisibleWindow() {
  const ViewState& v = g_view;
  VisibleWindow w;
  if (g_projection != kProjectionXY || g_layerOverview == kOverviewPending || !(v.m_unitsPerMm > 0.0)) return w;
  // The painters leave out what lies beyond the extents by whole pixels; the
  // margin keeps the test on the safe side of their rounding.
  const double margin = kCullMarginPixels / v.m_unitsPerMm;
  w.minX = -v.m_originX / v.m_unitsPerMm - margin;
  w.maxX = (v.m_extentX - v.m_originX) / v.m_unitsPerMm + margin;
  w.minY = (v.m_originY - v.m_extentY) / v.m_unitsPerMm - margin;
  w.maxY = v.m_originY / v.m_unitsPerMm + margin;
  w.known = true;
  return w;
}

bool FigureOutsideWindow(const FigureRecord& f, const VisibleWindow& w) {
  if (!w.known) return false;
  double minX, maxX, minY, maxY;
  switch (f.kind) {
    case kKindLine:
      minX = std::min(f.start.x, f.end.x), maxX = std::max(f.start.x, f.end.x);
      minY = std::min(f.start.y, f.end.y), maxY = std::max(f.start.y, f.end.y);
      break;
    case kKindArc: {
      const double r = std::fabs(f.radius);
      minX = f.centre.x - r, maxX = f.centre.x + r;
      minY = f.centre.y - r, maxY = f.centre.y + r;
      break;
    }
    case kKindPoint:
    case kKindPointMark:
    case kKindCurvePoint:
    case kKindCurvePointTangent:
    case kKindCurvePointAngle:
      minX = maxX = f.start.x;
      minY = maxY = f.start.y;
      break;
    default:
      return false;  // texts, dimensions and arrows reach beyond their points
  }
  // Not a number compares false everywhere: such a figure is kept.
  return f.origin.x + maxX < w.minX || f.origin.x + minX > w.maxX || f.origin.y + maxY < w.minY ||
         f.origin.y + minY > w.maxY;
}

int ArcPixelRadius(double radiusMm) {
  const double r = std::fabs(radiusMm) * g_view.m_unitsPerMm;
  if (!(r < 1.0e9)) return 1000000000;
  int pixels = static_cast<int>(r);
  if (r - pixels > 0.5) ++pixels;
  return pixels;
}

void DrawArcFigure(int c, platform::DeviceContext& dc) {
  const int pixelRadius = ArcPixelRadius(g_curFigure.radius);
  if (pixelRadius == 0) return;
  DrawArcPolyline(dc, pixelRadius);
  if (!(g_view.m_arrowCounter && CurveDirectionsShown())) return;
  // The tangent in the sense of travel a few degrees before the end.
  const double g = std::clamp(kArrowArcAngle / (std::fabs(g_curFigure.radius) * g_view.m_unitsPerMm), 1.0, 18.0);
  const Vec2 e{g_curFigure.end.x - g_curFigure.centre.x, g_curFigure.end.y - g_curFigure.centre.y};
  const bool clockwise = g_curFigure.radius < 0;
  const double theta = VectorAngle0(e.x, e.y) + (clockwise ? g : -g);
  const double t = theta * kRadiansPerDegree;
  const double dx = clockwise ? std::sin(t) : -std::sin(t);
  const double dy = clockwise ? -std::cos(t) : std::cos(t);
  DrawDirectionArrow(c, dx, dy, dc);
}

void DrawArcPolyline(platform::DeviceContext& dc, int pixelRadius) {
  const ViewState& v = g_view;
  const FigureRecord& f = g_curFigure;
  const platform::Point centre = WorldToScreen(f.centre.x, f.centre.y, f.depth);
  if (g_projection == kProjectionXY) {
    if (static_cast<double>(centre.x) + pixelRadius < 0 || static_cast<double>(centre.x) - pixelRadius > v.m_extentX ||
        static_cast<double>(centre.y) + pixelRadius < 0 || static_cast<double>(centre.y) - pixelRadius > v.m_extentY)
      return;
  }
  // Counter-clockwise from a to b.
  Vec2 a = f.start, b = f.end;
  double radius = f.radius;
  if (radius < 0) {
    std::swap(a, b);
    radius = -radius;
  }
  const Vec2 sa{a.x - f.centre.x, a.y - f.centre.y};
  const Vec2 sb{b.x - f.centre.x, b.y - f.centre.y};
  double sweep = VectorAngle(sb.x, sb.y) - VectorAngle(sa.x, sa.y);
  while (sweep <= 0.0) sweep += 360.0;
  while (sweep > 360.0) sweep -= 360.0;
  double pixelR = radius * v.m_unitsPerMm;
  if (!(pixelR > 0.0)) return;
  const double step =
      std::clamp(std::sqrt(kArcChordError / pixelR * 2.0) * kDegreesPerRadian, kMinArcStep, kMaxArcStep);

  // The points are the start vector turned by i x step. The turn is carried
  // from point to point (one rotation each, no sine or cosine per point) and
  // taken afresh every kExactEvery points, so the carried rounding stays far
  // below a pixel however long the arc.
  const double stepRadians = step * kRadiansPerDegree;
  const double stepCos = std::cos(stepRadians), stepSin = std::sin(stepRadians);
  double turnCos = 1.0, turnSin = 0.0;
  // In the plain top view the mapping is written out here, in the very
  // operations of WorldToScreenExact, so the points are the same.
  const bool plainTop = g_projection == kProjectionXY && g_layerOverview != kOverviewPending;
  auto pointAt = [&](double c, double s, double& x, double& y) {
    const double dx = f.centre.x + sa.x * c - sa.y * s, dy = f.centre.y + sa.x * s + sa.y * c;
    if (plainTop) {
      x = (f.origin.x + dx) * v.m_unitsPerMm + v.m_originX;
      y = v.m_originY - v.m_unitsPerMm * (f.origin.y + dy);
    } else {
      WorldToScreenExact(dx, dy, f.depth, x, y);
    }
  };
  // Points beyond the window limit are left out; the arc is drawn in runs
  // inside it, so a left-out stretch never becomes a chord across the view.
  // The limit grows to the first screen step when that is longer; a screen
  // chord is never longer than its arc, so a short step needs no measuring.
  double limit = std::trunc(v.m_printFactor * kArcWindowLimit);
  const double firstTurn = std::min(step, sweep) * kRadiansPerDegree;
  if (pixelR * firstTurn >= limit) {
    double x0, y0, x1, y1;
    pointAt(1.0, 0.0, x0, y0);
    pointAt(std::cos(firstTurn), std::sin(firstTurn), x1, y1);
    limit = std::max(limit, std::hypot(x1 - x0, y1 - y0));
  }
  // One run buffer reused by every arc of a paint.
  static std::vector<platform::Point> run;
  run.clear();
  const int count = static_cast<int>(std::ceil(sweep / step));
  for (int i = 0; i <= count; ++i) {
    double x, y;
    if (i == count) {
      WorldToScreenExact(b.x, b.y, f.depth, x, y);
    } else {
      if (i % kExactEvery == 0) {
        const double t = i * step * kRadiansPerDegree;
        turnCos = std::cos(t);
        turnSin = std::sin(t);
      }
      pointAt(turnCos, turnSin, x, y);
      const double c = turnCos * stepCos - turnSin * stepSin;
      turnSin = turnSin * stepCos + turnCos * stepSin;
      turnCos = c;
    }
    if (!(std::fabs(x) < limit && std::fabs(y) < limit)) {
      FlushRun(dc, run, false);
      continue;
    }
    run.push_back({TruncateLogical(x), TruncateLogical(y)});
    if (run.size() > kArcFlushPoints) FlushRun(dc, run, true);
  }
  FlushRun(dc, run, false);
}

void DrawDirectionArrow(int c, double dirX, double dirY, platform::DeviceContext& dc) {
  ViewState& v = g_view;
  if (IsDragging() || g_layerOverview == kOverviewPending) return;
  double tx, ty;
  WorldToScreenExact(g_curFigure.end.x, g_curFigure.end.y, g_curFigure.depth, tx, ty);
  const platform::Point tip{TruncateLogical(tx), TruncateLogical(ty)};
  if (g_curFigure.kind != kKindPointMark && g_projection == kProjectionXY) {
    if (!IsOnScreen(tip.x, tip.y)) return;
    const double scale = g_layerScale[static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1))];
    const double k = v.m_unitFactor * std::min(std::max(scale * 0.0125, 0.7), 1.0);
    // Screen direction: Y grows downward.
    const double sx = dirX, sy = -dirY;
    const double bx = tx - 3.0 * k * sx, by = ty - 3.0 * k * sy;
    const platform::Color colour = v.m_arrowCounter < 0 ? PaletteColors[0] : DeviceColour(c);
    const platform::Brush old = dc.SelectBrush({colour, platform::BrushStyle::Solid});
    dc.Polygon({tip,
                {TruncateLogical(bx - k * sy), TruncateLogical(by + k * sx)},
                {TruncateLogical(bx + k * sy), TruncateLogical(by - k * sx)}});
    dc.SelectBrush(old);
  }
  if (v.m_arrowCounter == kArrowCounterCurveStart && (g_showCurveArrows & kCurveArrowNames) && g_curCurveIndex >= 0 &&
      g_curCurveIndex < kCurveTableSize) {
    const double pf = v.m_printFactor;
    const double length = pf * v.m_curveLabelOffset;
    const platform::Point end{TruncateLogical(tip.x - length * dirY), TruncateLogical(tip.y - length * dirX)};
    dc.MoveTo(tip);
    dc.LineTo(end);
    platform::Point at = end;
    if (dirY > 0) at.x -= static_cast<int>(22 * pf);
    if (dirX >= 0) at.y -= static_cast<int>(17 * pf);
    const char* name = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)].name;
    dc.SetTextColor(dc.CurrentPen().color);
    const platform::BackgroundMode oldMode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
    dc.TextOut(at, std::string_view(name, strnlen(name, sizeof g_curveTable[0].name)));
    dc.SetBackgroundMode(oldMode);
    v.m_curveLabelOffset += kLabelOffsetStep;
    if (v.m_curveLabelOffset > kLabelOffsetMax) v.m_curveLabelOffset = kLabelOffsetStart;
  }
  v.m_arrowCounter = 0;
}

}  // namespace dorn
