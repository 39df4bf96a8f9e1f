// Construction lines cut at the edge of the view: see construction_line_clip.h.
#include "kelto_dorn/drawing/construction_line_clip.h"

#include <cmath>

#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"

namespace dorn {
namespace {

// The visible area leaves out the two right-hand pixels and the 53 rows at
// the foot of the client area, where the coordinate read-out is written.
constexpr int kRightMargin = 3;
constexpr int kBottomMargin = 53;
// The nearest edge point wins; the search starts beyond any drawing.
constexpr double kNoEdge = 9999999999999.0;
// Below this a direction runs along an edge (no crossing).
constexpr double kAlongEdge = 1e-12;

}  // namespace

bool ClipConstructionLineToView(const FigureRecord& line, int side, Vec2& point) {
  const ViewState& v = g_view;
  if (v.m_clientWidth <= kRightMargin || v.m_clientHeight <= kBottomMargin) return false;
  const Vec2 topLeft = ScreenToWorld({0, 0});
  const Vec2 bottomRight = ScreenToWorld({v.m_clientWidth - kRightMargin, v.m_clientHeight - kBottomMargin});
  const double left = topLeft.x - line.origin.x, right = bottomRight.x - line.origin.x;
  const double top = topLeft.y - line.origin.y, bottom = bottomRight.y - line.origin.y;
  const Vec2 d = side == 1 ? Vec2{-line.dir.x, -line.dir.y} : line.dir;
  const double angle = VectorAngle(d.x, d.y);
  // The quadrant of the direction picks the vertical and the horizontal edge
  // the line runs towards.
  const double edgeX = angle <= 90.0 || angle > 270.0 ? right : left;
  const double edgeY = angle <= 180.0 ? top : bottom;
  const Vec2 s = line.start;
  double nearest = kNoEdge;
  bool found = false;
  const auto consider = [&](Vec2 p) {
    const double dist = std::hypot(p.x - s.x, p.y - s.y);
    if (dist < nearest) {
      nearest = dist;
      point = p;
      found = true;
    }
  };
  if (std::fabs(d.x) > kAlongEdge) consider({edgeX, s.y + (edgeX - s.x) / d.x * d.y});
  if (std::fabs(d.y) > kAlongEdge) consider({s.x + (edgeY - s.y) / d.y * d.x, edgeY});
  return found;
}

FigureRecord ConstructionLineAcrossView(Vec2 through, Vec2 dir, Vec2 origin) {
  FigureRecord line;
  line.kind = kKindLine;
  line.origin = origin;
  line.start = through;
  line.dir = dir;
  Vec2 from, to;
  if (!ClipConstructionLineToView(line, 1, from) || !ClipConstructionLineToView(line, 0, to)) {
    line.kind = kKindEmpty;
    return line;
  }
  line.start = from;
  line.end = to;
  return line;
}

}  // namespace dorn
