// Lines constructed from picked figures: see line_constructions.h.
#include "kelto_dorn/drawing/line_constructions.h"

#include <algorithm>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/construction_line_clip.h"
#include "kelto_dorn/drawing/pick_hit_test.h"

namespace dorn {
namespace {

// Below this a point has no direction from a centre (mm).
constexpr double kNoDirection = 0.00001;
// A tangent whose second component vanishes is the circle's own tangent.
constexpr double kTouchingLimit = 1e-8;
// A touching point this close to the given point: the point lies on the arc.
constexpr double kOnArc = 0.001;
// A point on the arc gives tangent lines of this length divided by the view
// scale (percent).
constexpr double kOnArcLineLength = 10000.0;
// The tangent at an angle: direction components within this count as level.
constexpr double kLevel = 0.001;
// Below this two points or a point and its foot coincide (mm).
constexpr double kSamePoint = 1e-6;

double Length(Vec2 v) { return std::hypot(v.x, v.y); }

void StoreLine(int block, FigureRecord line) {
  FigureRecord* slot = g_figureStore.SegmentBlock(block);
  if (slot == nullptr) return;
  *slot = line;
  if (ComputeLineDirection(block) != 0) slot->kind = kKindEmpty;
}

void ClearBlock(int block) {
  if (FigureRecord* slot = g_figureStore.SegmentBlock(block)) slot->kind = kKindEmpty;
}

double CurrentScale() {
  const int l = std::clamp(g_curLayer, 0, kLayerCount - 1);
  return std::max(g_layerScale[static_cast<std::size_t>(l)], 1.0);
}

bool IsPointLike(int kind) { return IsPointKind(kind); }

// A pick as the mid line sees it: a line, or a point (an arc by its centre).
struct MidPick {
  bool line = false;
  Vec2 point;  // a point, or a line's start
  Vec2 dir;    // a line's direction
};

bool ReduceForMidLine(const FigureRecord& f, MidPick& out) {
  if (f.kind == kKindLine) {
    out = {true, f.start, f.dir};
    return true;
  }
  if (f.kind == kKindArc) {
    out = {false, f.centre, {}};
    return true;
  }
  if (!IsPointLike(f.kind)) return false;
  out = {false, f.start, {}};
  return true;
}

Vec2 FootOnLine(Vec2 p, const MidPick& line) {
  const double t = (p.x - line.point.x) * line.dir.x + (p.y - line.point.y) * line.dir.y;
  return {line.point.x + t * line.dir.x, line.point.y + t * line.dir.y};
}

int StoreAcross(int block, Vec2 through, Vec2 dir, Vec2 origin) {
  const FigureRecord across = ConstructionLineAcrossView(through, dir, origin);
  if (across.kind == kKindEmpty) return 0;
  FigureRecord line = CandidateFigure(kKindLine, origin);
  line.start = across.start;
  line.end = across.end;
  StoreLine(block, line);
  return 1;
}

int MidOfTwoLines(const MidPick& a, const MidPick& b, Vec2 origin) {
  const FigureRecord hit = IntersectFigures(LineFigure(a.point, a.dir), LineFigure(b.point, b.dir));
  if (hit.number == kHitOnePoint) {
    const double a1 = VectorAngle0(a.dir.x, a.dir.y), a2 = VectorAngle0(b.dir.x, b.dir.y);
    return StoreAcross(6, hit.start, UnitVectorFromAngle((a1 + a2) / 2.0), origin) +
           StoreAcross(7, hit.start, UnitVectorFromAngle((a1 + a2 + 180.0) / 2.0), origin);
  }
  if (hit.number != kHitNone) return 0;  // the same line
  // Parallel: the perpendicular from pick 1's start meets line A there and
  // line B at the foot; the mid line runs through their middle.
  const Vec2 onB = FootOnLine(a.point, b);
  return StoreAcross(6, {(a.point.x + onB.x) / 2, (a.point.y + onB.y) / 2}, a.dir, origin);
}

}  // namespace

bool TangentDirection(int side, Vec2 point, const FigureRecord& arc, Vec2& direction) {
  Vec2 v{point.x - arc.centre.x, point.y - arc.centre.y};
  double radius = arc.radius;
  if (side == 1) {
    v = {-v.x, -v.y};
    radius = -radius;
  }
  const double dist = Length(v);
  const Vec2 u = dist < kNoDirection ? Vec2{1.0, 0.0} : Vec2{v.x / dist, v.y / dist};
  const double gap = Round3(dist - std::fabs(radius));
  if (gap < 0.0) return false;  // inside the circle: no tangent
  if (gap == 0.0) {
    direction = {-u.y, u.x};
    return true;
  }
  const double l = radius / dist;
  const double m = std::sqrt(1.0 - l * l);
  direction = m < kTouchingLimit ? Vec2{-u.y, u.x} : Vec2{l * u.y + m * u.x, m * u.y - l * u.x};
  return true;
}

void LineThroughPointTangentToArc(double x, double y) {
  const FigureRecord arc = *g_figureStore.SegmentBlock(2);
  const Vec2 p{x, y};
  for (int i = 0; i < 2; ++i) {
    const int block = kFirstCandidateBlock + i;
    Vec2 d;
    if (!TangentDirection(i, p, arc, d)) {
      ClearBlock(block);
      continue;
    }
    const FigureRecord hit = IntersectFigures(LineFigure(p, d, arc.origin), arc);
    if (hit.number > kHitTwoPoints) {
      ClearBlock(block);
      continue;
    }
    FigureRecord line = CandidateFigure(kKindLine, arc.origin);
    line.start = p;
    line.end = hit.start;
    if (Length({hit.start.x - p.x, hit.start.y - p.y}) < kOnArc) {
      const double reach = kOnArcLineLength / CurrentScale();
      line.end = {p.x + d.x * reach, p.y + d.y * reach};
    }
    StoreLine(block, line);
  }
  ResetPickSlots(2);
}

void LineTangentToArcAtAngle(int side, int block, Vec2 d) {
  const FigureRecord arc = *g_figureStore.SegmentBlock(1);
  double e = std::fabs(arc.radius);
  if (side == 1) e = -e;
  const Vec2 touch{arc.centre.x + e * d.y, arc.centre.y - e * d.x};
  bool endTakesClip;
  if (d.y > kLevel)
    endTakesClip = e > 0.0;
  else if (d.y < -kLevel)
    endTakesClip = !(e >= 0.0);
  else
    endTakesClip = !(e * d.x >= 0.0);
  FigureRecord line = CandidateFigure(kKindLine, arc.origin);
  line.start = touch;
  line.dir = d;
  Vec2 clip;
  if (!ClipConstructionLineToView(line, endTakesClip ? 0 : 1, clip)) {
    ClearBlock(block);
    return;
  }
  if (endTakesClip) {
    line.end = clip;
  } else {
    line.start = clip;
    line.end = touch;
  }
  StoreLine(block, line);
}

void LineTangentToTwoArcs(int first, int second, int type, int block) {
  const FigureRecord a = *g_figureStore.SegmentBlock(first);
  const FigureRecord b = FigureInFrame(*g_figureStore.SegmentBlock(second), a.origin);
  double r1 = a.radius, r2 = b.radius;
  if (type == 3 || type == 4) r1 = -r1;
  if (type == 2 || type == 4) r2 = -r2;
  if (r1 * r2 < 0.0 && IntersectFigures(a, b).number <= kHitTwoPoints) {
    ClearBlock(block);  // crossing arcs have no inner tangent
    return;
  }
  FigureRecord reduced = a;
  reduced.radius = r1 - r2;
  Vec2 t;
  if (!TangentDirection(1, b.centre, reduced, t)) {
    ClearBlock(block);  // nested circles
    return;
  }
  // The line through the second centre along t touches the reduced circle
  // at the foot of the first centre; both touching points lie across from
  // their centres along that normal.
  const Vec2 c1 = a.centre, c2 = b.centre;
  const double along = (c1.x - c2.x) * t.x + (c1.y - c2.y) * t.y;
  const Vec2 foot{c2.x + along * t.x, c2.y + along * t.y};
  Vec2 normal{-t.y, t.x};
  if (std::fabs(r1 - r2) > kSamePoint) normal = {(foot.x - c1.x) / (r1 - r2), (foot.y - c1.y) / (r1 - r2)};
  FigureRecord line = CandidateFigure(kKindLine, a.origin);
  line.start = {c1.x + r1 * normal.x, c1.y + r1 * normal.y};
  line.end = {c2.x + r2 * normal.x, c2.y + r2 * normal.y};
  StoreLine(block, line);
}

int MidLineBetweenFigures() {
  const FigureRecord first = *g_figureStore.SegmentBlock(1);
  const Vec2 origin = first.origin;
  const FigureRecord second = FigureInFrame(*g_figureStore.SegmentBlock(2), origin);
  ClearBlock(6);
  ClearBlock(7);
  MidPick a, b;
  if (!ReduceForMidLine(first, a) || !ReduceForMidLine(second, b)) return 0;
  if (a.line && b.line) return MidOfTwoLines(a, b, origin);
  if (a.line || b.line) {
    const MidPick& line = a.line ? a : b;
    const Vec2 p = a.line ? b.point : a.point;
    const Vec2 foot = FootOnLine(p, line);
    if (Length({foot.x - p.x, foot.y - p.y}) < kSamePoint) return 0;
    return StoreAcross(6, {(p.x + foot.x) / 2, (p.y + foot.y) / 2}, line.dir, origin);
  }
  const Vec2 chord{b.point.x - a.point.x, b.point.y - a.point.y};
  const double len = Length(chord);
  if (len < kSamePoint) return 0;
  return StoreAcross(6, {(a.point.x + b.point.x) / 2, (a.point.y + b.point.y) / 2}, {-chord.y / len, chord.x / len},
                     origin);
}

}  // namespace dorn
