// Painting of dimension figures: see dimension_painter.h.
#include "kelto_dorn/app/dimension_painter.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"

namespace dorn {

namespace {

// The unit tangent of an arc in its sense of travel at the point p (relative).
Vec2 ArcTangent(const FigureRecord& arc, Vec2 p) {
  const double rx = p.x - arc.centre.x, ry = p.y - arc.centre.y;
  const double len = std::hypot(rx, ry);
  if (!(len > 0.0)) return {1.0, 0.0};
  const double ux = rx / len, uy = ry / len;
  return arc.radius < 0 ? Vec2{uy, -ux} : Vec2{-uy, ux};
}

}  // namespace

const std::array<Vec2, 4>& ArrowWingVectors() { return g_arrowWingVectors; }

void UpdateDimensionArrowShape() {
  const double a = g_dimensionStyle.arrowAngle;
  const double length = g_dimensionStyle.arrowLength;
  const double angles[4] = {a, 360.0 - a, 180.0 - a, 180.0 + a};
  std::array<Vec2, 4> wings{};
  for (int i = 0; i < 4; ++i) {
    const double t = angles[i] * kRadiansPerDegree;
    wings[static_cast<std::size_t>(i)] = {length * std::cos(t), length * std::sin(t)};
  }
  g_arrowWingVectors = wings;
}

void DrawArrowHead(platform::DeviceContext& dc, Vec2 tip, double dx, double dy, double z, int first) {
  const std::array<Vec2, 4>& wings = ArrowWingVectors();
  auto wingPoint = [&](int i) {
    const Vec2 w = wings[static_cast<std::size_t>(i)];
    return WorldToScreen(tip.x + w.x * dx - w.y * dy, tip.y + w.x * dy + w.y * dx, z);
  };
  const platform::Point t = WorldToScreen(tip.x, tip.y, z);
  const platform::Point w1 = wingPoint(first);
  const platform::Point w2 = wingPoint(first + 1);
  if (g_dimensionStyle.arrowFilled) {
    const platform::Brush old = dc.SelectBrush({dc.CurrentPen().color, platform::BrushStyle::Solid});
    dc.Polygon({t, w1, w2, t});
    dc.SelectBrush(old);
  } else {
    dc.Polyline({w1, t, w2});
  }
}

void DrawDimension(platform::DeviceContext& dc, Vec2 start, Vec2 end, double z, int code) {
  if (code == kDimensionTextAnchor) return;  // a text anchor: nothing of its own to draw
  if (code & kArrowArcCodes) {
    FigureRecord& arc = g_curFigure;
    const double depth = arc.depth;
    arc.depth = z;
    g_view.m_arrowCounter = 0;
    DrawArcFigure(arc.attribute & kAttrColourMask, dc);
    if (code & kArrowArcStart) {
      const Vec2 d = ArcTangent(arc, arc.start);
      DrawArrowHead(dc, arc.start, d.x, d.y, z, 0);
    }
    if (code & kArrowArcEnd) {
      const Vec2 d = ArcTangent(arc, arc.end);
      DrawArrowHead(dc, arc.end, d.x, d.y, z, 2);
    }
    if (code & kArrowArcTurned) {
      // The start turned about the centre by the angle kept as (cos, sin).
      const double rx = arc.start.x - arc.centre.x, ry = arc.start.y - arc.centre.y;
      const Vec2 p{arc.centre.x + rx * arc.dir.x - ry * arc.dir.y, arc.centre.y + rx * arc.dir.y + ry * arc.dir.x};
      const Vec2 d = ArcTangent(arc, p);
      DrawArrowHead(dc, p, d.x, d.y, z, 0);
    }
    arc.depth = depth;
    return;
  }
  double x1, y1, x2, y2;
  WorldToScreenExact(start.x, start.y, z, x1, y1);
  WorldToScreenExact(end.x, end.y, z, x2, y2);
  DrawClippedSegment(dc, x1, y1, x2, y2);
  if (!(code & (kArrowAtStart | kArrowAtEnd | kArrowAtDirPoint))) return;
  // The unit direction from start toward end; none for a zero-length line.
  const double length = std::hypot(end.x - start.x, end.y - start.y);
  if (!(length > 0.0)) return;
  const Vec2 u{(end.x - start.x) / length, (end.y - start.y) / length};
  if (code & kArrowAtStart) DrawArrowHead(dc, start, u.x, u.y, z, 0);
  if (code & kArrowAtEnd) DrawArrowHead(dc, (code & kArrowEndAtCentre) ? g_curFigure.centre : end, u.x, u.y, z, 2);
  if (code & kArrowAtDirPoint) DrawArrowHead(dc, g_curFigure.dir, u.x, u.y, z, 2);
}

}  // namespace dorn
