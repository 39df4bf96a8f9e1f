// The selection box: see selection_box.h.
#include "kelto_dorn/drawing/selection_box.h"

#include <cmath>

#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {

namespace {

// Where the line through p along u meets the line through q along v.
bool Meet(Vec2 p, Vec2 u, Vec2 q, Vec2 v, Vec2& at) {
  const double d = u.x * v.y - u.y * v.x;
  if (std::fabs(d) < 1e-12) return false;
  const double s = ((q.x - p.x) * v.y - (q.y - p.y) * v.x) / d;
  at = {p.x + s * u.x, p.y + s * u.y};
  return true;
}

platform::Point Pixel(Vec2 p) { return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))}; }

}  // namespace

bool SelectionBoxOutline(bool tilted, std::array<Vec2, 5>& outline) {
  const ViewState& v = g_view;
  const Vec2 first{static_cast<double>(v.m_boxStart.x), static_cast<double>(v.m_boxStart.y)};
  const Vec2 third{static_cast<double>(v.m_boxEnd.x), static_cast<double>(v.m_boxEnd.y)};
  Vec2 second{third.x, first.y}, fourth{first.x, third.y};
  if (tilted) {
    // Screen y grows downward, so an upward tilt is a negative y.
    const double a = v.m_tiltAngle1 * kRadiansPerDegree, b = v.m_tiltAngle2 * kRadiansPerDegree;
    const Vec2 along{std::cos(a), std::sin(a)}, up{std::sin(b), std::cos(b)};
    if (!Meet(first, along, third, up, second) || !Meet(first, up, third, along, fourth)) return false;
  }
  outline = {first, second, third, fourth, first};
  return true;
}

void UpdateRubberBoxCorners() {
  const ViewState& v = g_view;
  FigureEngineView& f = g_figureView;
  f.boxCentrePixel = {(v.m_boxStart.x + v.m_boxEnd.x) / 2, (v.m_boxStart.y + v.m_boxEnd.y) / 2};
  f.boxCentre = ScreenToWorld(f.boxCentrePixel);
  std::array<Vec2, 5> outline;
  if (!SelectionBoxOutline(true, outline)) SelectionBoxOutline(false, outline);
  for (std::size_t i = 0; i < outline.size(); ++i) f.boxOutline[i] = ScreenToWorld(Pixel(outline[i]));
}

}  // namespace dorn
