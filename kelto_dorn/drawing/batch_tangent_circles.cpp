// The batch tangent circles: see batch_tangent_circles.h.
#include "kelto_dorn/drawing/batch_tangent_circles.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kEmptyEntry = 0xFFFF;
// Tangents closer to parallel than this make no corner to fit a circle in.
constexpr double kStraightJoin = 1e-9;

bool IsLineOrArc(const FigureRecord& f) { return f.kind == kKindLine || f.kind == kKindArc; }

Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }

// The unit tangent in the sense of travel at the start (atEnd false) or end.
Vec2 Tangent(const FigureRecord& f, bool atEnd) {
  if (f.kind == kKindLine) return f.dir;
  const Vec2 p = atEnd ? f.end : f.start;
  const Vec2 r = Sub(p, f.centre);
  const double len = std::hypot(r.x, r.y);
  if (len == 0.0) return {};
  // Counter-clockwise (positive radius) travels to the left of the radius.
  const double s = f.radius >= 0.0 ? 1.0 : -1.0;
  return {-s * r.y / len, s * r.x / len};
}

double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

// The signed offset that puts both figures' offsets on the inside of the
// corner (positive offsets lie to the left of the travel). Two lines turn by
// their directions; where an arc takes part the turn is read from the
// tangents at the joint, and a joint without a turn falls back to the
// second figure's sense.
double InsideOffset(const FigureRecord& a, const FigureRecord& b, double r) {
  if (a.kind == kKindLine && b.kind == kKindLine) return Cross(a.dir, b.dir) < 0.0 ? -r : r;
  const double turn = Cross(Tangent(a, true), Tangent(b, false));
  if (std::fabs(turn) > kStraightJoin) return turn < 0.0 ? -r : r;
  return b.kind == kKindArc && b.radius < 0.0 ? -r : r;
}

// The figure offset by d, or false when it vanishes.
bool Offset(FigureRecord f, double d, FigureRecord& out) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = f;
  const bool ok = OffsetFigure(d) == 0;
  out = g_curFigure;
  g_curFigure = saved;
  return ok;
}

// One corner: the circle is stored when the offsets meet.
bool FitCorner(const FigureRecord& a, const FigureRecord& b, double r) {
  const int code = IntersectFigures(a, b).number;
  if (code != kHitOnePoint && code != kHitTwoPoints) return false;
  const double d = InsideOffset(a, b, r);
  FigureRecord oa, ob;
  if (!Offset(a, d, oa) || !Offset(b, d, ob)) return false;
  ob.choice = (ob.choice & ~0xF) | kChoiceBothPoints;
  const FigureRecord hit = IntersectFigures(oa, ob);
  if (hit.number >= 3) return false;
  // Of two meeting points the one at this corner: the other lies where the
  // full circle of an arc comes round again.
  const Vec2 joint = b.start;
  const bool second = hit.number == kHitTwoPoints &&
                      std::hypot(hit.end.x - joint.x, hit.end.y - joint.y) <
                          std::hypot(hit.start.x - joint.x, hit.start.y - joint.y);
  const Vec2 at = second ? hit.end : hit.start;
  // The circle is stored relative to the current layer's origin.
  const Vec2 origin = CurrentLayerOrigin();
  const Vec2 centre{at.x - origin.x, at.y - origin.y};
  ClearCurrentFigure();
  g_curFigure.kind = kKindArc;
  g_curFigure.centre = centre;
  g_curFigure.radius = r;
  g_curFigure.start = g_curFigure.end = {centre.x + r, centre.y};
  return StoreAndDrawFigure(0);
}

int FitCurve(const CurveRecord& curve, double r) {
  int stored = 0;
  FigureRecord previous;
  bool havePrevious = false;
  for (int i = curve.first; i < curve.end; ++i) {
    // In drawing coordinates, whatever origin each figure hangs on.
    GetFigure(kTableCurves, i);
    TranslateCurrentFigure();
    const FigureRecord f = g_curFigure;
    if (havePrevious && IsLineOrArc(previous) && IsLineOrArc(f) && FitCorner(previous, f, r)) ++stored;
    previous = f;
    havePrevious = true;
  }
  return stored;
}

}  // namespace

int BatchTangentCircles(double radius) {
  const double r = std::fabs(radius);
  g_undoSaved = 0;
  SnapshotForUndo(kUndoTypeTable);
  const int savedSelector = g_figureTableSelector;
  int stored = 0;
  for (const int index : g_selectionList) {
    if (index == kEmptyEntry) break;
    if (index < 0 || index >= g_curveCount) continue;
    stored += FitCurve(g_curveTable[static_cast<std::size_t>(index)], r);
    g_figureTableSelector = savedSelector;
  }
  g_figureTableSelector = savedSelector;
  if (stored == 0) platform::ShowMessageBox(platform::Sjis("接円一括作成 作成出来る箇所がありませんでした"), "", 0);
  return stored;
}

}  // namespace dorn
