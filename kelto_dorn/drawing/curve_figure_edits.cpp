// Edits of single figures inside a curve: see curve_figure_edits.h.
#include "kelto_dorn/drawing/curve_figure_edits.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_deletion.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kJointMarkColour = 1;
constexpr int kErrorCannotReorder = 2;
constexpr int kMinHeadFigures = 4;
constexpr double kHalfDegreesPerRadian = 28.64788975654116;

FigureRecord& Block(int i) { return *g_figureStore.SegmentBlock(i); }
bool IsLineOrArc(const FigureRecord& f) { return f.kind == kKindLine || f.kind == kKindArc; }
double Dist(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The point of figure f nearest to p (its carrier: line or circle).
Vec2 FootOn(const FigureRecord& f, Vec2 p) {
  if (f.kind == kKindArc) {
    const double r = std::fabs(f.radius);
    const double d = Dist(p, f.centre);
    if (d == 0.0) return f.start;
    return {f.centre.x + (p.x - f.centre.x) * r / d, f.centre.y + (p.y - f.centre.y) * r / d};
  }
  const double t = (p.x - f.start.x) * f.dir.x + (p.y - f.start.y) * f.dir.y;
  return {f.start.x + f.dir.x * t, f.start.y + f.dir.y * t};
}

// The centre of a circle of radius r tangent to a and b: their offsets'
// intersection nearest `near`; false when they do not meet.
bool TangentCentre(const FigureRecord& a, const FigureRecord& b, double r, Vec2 near, Vec2& centre) {
  FigureRecord oa;
  FigureRecord ob;
  if (!OffsetCopy(a, r, oa) || !OffsetCopy(b, r, ob)) return false;
  ob.choice = kChoiceBothPoints;
  oa.choice = 0;
  const FigureRecord hit = IntersectFigures(oa, ob);
  if (hit.number > kHitTwoPoints) return false;
  centre = hit.start;
  if (hit.number == kHitTwoPoints && Dist(hit.end, near) < Dist(centre, near)) centre = hit.end;
  return true;
}

// The arc at `arc` tangent to its neighbours: their ends move to the
// tangent points.
void TrimToTangentArc(int before, int arc, int after) {
  FigureRecord& a = Block(before);
  FigureRecord& c = Block(arc);
  FigureRecord& b = Block(after);
  const Vec2 t1 = FootOn(a, c.centre);
  const Vec2 t2 = FootOn(b, c.centre);
  a.end = t1;
  c.start = t1;
  b.start = t2;
  c.end = t2;
}

double AskRadius(double proposal) {
  char title[160];
  std::snprintf(title, sizeof title, platform::Sjis("＊＊ 接円の半径を入力して下さい [Default = %f ]").c_str(),
                proposal);
  g_inputTitle = title;
  g_valueLabel = platform::Sjis("［Ｒ］＝ ");
  ValueInputValue = proposal;
  if (PromptValue() != kPromptTyped) return kTangentCancelled;
  const double r = std::fabs(ValueInputValue);
  if (!std::isfinite(r)) {
    SignalBeep();
    return kTangentCancelled;
  }
  return r == 0.0 ? proposal : r;
}

void InsertBlockAfter(int position, const FigureRecord& f) {
  for (int i = g_workCount - 1; i > position; --i) CopySegment(i, i + 1);
  Block(position + 1) = f;
  ++g_workCount;
}

}  // namespace

double InsertTangentCircle(double x, double y, double radius, platform::DeviceContext* dc) {
  if (g_workCount + 1 >= kSegmentBlockCount) return radius;
  for (int i = 0; i + 1 < g_workCount; ++i) {
    FigureRecord& a = Block(i);
    FigureRecord& b = Block(i + 1);
    if (!IsLineOrArc(a) || !IsLineOrArc(b)) continue;
    const Vec2 pick{x - a.origin.x, y - a.origin.y};
    if (Dist(a.end, pick) > g_pickTolerance) continue;
    const FigureRecord meet = IntersectFigures(a, b);
    if (meet.number == kHitNone || meet.number == kHitSameLine) continue;
    int side = a.kind == kKindArc ? a.choice : (b.kind == kKindArc ? b.choice : 0);
    if (a.kind == kKindLine && b.kind == kKindLine) side = a.dir.x * b.dir.y - a.dir.y * b.dir.x < 0.0 ? 1 : 0;
    const Vec2 joint = a.end;
    if (dc != nullptr) {
      const FigureRecord saved = g_curFigure;
      g_curFigure = PointFigure(joint, a.origin);
      DrawFigure(kJointMarkColour, *dc);
      g_curFigure = saved;
    }
    SignalBeep();
    const double entered = AskRadius(radius);
    if (entered == kTangentCancelled) return kTangentCancelled;
    const double r = side == 1 ? -entered : entered;
    Vec2 centre;
    if (!TangentCentre(a, b, r, joint, centre)) return entered;
    FigureRecord arc = a;
    arc.kind = kKindArc;
    arc.choice = 0;
    arc.radius = r;
    arc.centre = centre;
    arc.dir = {};
    InsertBlockAfter(i, arc);
    TrimToTangentArc(i, i + 1, i + 2);
    return entered;
  }
  return radius;
}

bool ChangeTangentRadius(int position) {
  if (position <= 0 || position + 1 >= g_workCount) return false;
  FigureRecord& arc = Block(position);
  if (arc.kind != kKindArc) return false;
  const double entered = AskRadius(std::fabs(arc.radius));
  if (entered == kTangentCancelled) return false;
  const double r = arc.radius < 0.0 ? -entered : entered;
  Vec2 centre;
  if (!TangentCentre(Block(position - 1), Block(position + 1), r, arc.centre, centre)) return false;
  arc.centre = centre;
  arc.radius = r;
  TrimToTangentArc(position - 1, position, position + 1);
  return true;
}

void ReverseCurveArcs(int position, platform::DeviceContext* dc) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range) || position < 0 || position >= range.count()) return;
  FigureTable* table = g_figureStore.Table(kTableCurves);
  const int i = range.first + position;
  FigureRecord f = table->slot(i);
  if (dc != nullptr) {
    const FigureRecord saved = g_curFigure;
    g_curFigure = f;
    DrawFigure(0, *dc);
    g_curFigure = saved;
  }
  const bool first = position == 0;
  const bool last = position == range.count() - 1;
  FigureRecord* next = last ? nullptr : &table->slot(i + 1);
  if (f.kind == kKindArc) {
    f.radius = -f.radius;
    const bool afterStartPoint = position == 1 && table->slot(range.first).kind == kKindPoint;
    const bool inner = !first && !last;
    if (range.count() > 1 && (last || (inner && !afterStartPoint))) f.choice ^= 1;
    if (next != nullptr && (first || inner)) next->choice ^= 1;
  } else if (f.kind == kKindLine && (first || last) && range.count() > 1) {
    const double len = Dist(f.start, f.end);
    f.dir = {-f.dir.x, -f.dir.y};
    if (first) {
      f.start = {f.end.x - len * f.dir.x, f.end.y - len * f.dir.y};
      if (next != nullptr) next->choice ^= 1;
    } else {
      f.end = {f.start.x + len * f.dir.x, f.start.y + len * f.dir.y};
      f.choice ^= 1;
    }
  } else if (f.kind == kKindLine && range.count() == 1) {
    f.dir = {-f.dir.x, -f.dir.y};
  }
  table->slot(i) = f;
}

void RemoveWorkFigure(int position) {
  if (position < 0 || position >= g_workCount) return;
  if (position > 0 && position + 1 < g_workCount) {
    FigureRecord& prev = Block(position - 1);
    FigureRecord& next = Block(position + 1);
    const FigureRecord hit = IntersectFigures(prev, next);
    if (hit.number < kHitSameLine) {
      prev.end = hit.start;
      next.start = hit.start;
      if (prev.kind == kKindPoint) prev.start = hit.start;
      if (next.kind == kKindPoint) next.end = hit.start;
      for (FigureRecord* f : {&prev, &next})
        if (f->kind == kKindArc) f->choice = f->radius < 0.0 ? 1 : 0;
    }
  }
  for (int i = position; i + 1 < g_workCount; ++i) CopySegment(i + 1, i);
  --g_workCount;
}

bool DeleteCurveFigure(int position) {
  CollectCurveFigures(0);
  RemoveWorkFigure(position);
  bool figure = false;
  for (int i = 0; i < g_workCount; ++i) figure = figure || Block(i).kind != kKindPoint;
  if (!figure) {
    // Nothing but its end points is left: the curve goes.
    g_selectionList.fill(kNone);
    g_selectionList[0] = g_curCurveIndex;
    DeleteCurves(nullptr);
    ShowPromptHook(0);
    return false;
  }
  return WriteBackCurveFigures();
}

int ChangeHeadFigure(int mode, int position) {
  CollectCurveFigures(0);
  std::vector<FigureRecord> figures;
  for (int i = 0; i < g_workCount; ++i)
    if (Block(i).kind != kKindPoint) figures.push_back(Block(i));
  const bool closed = figures.size() >= kMinHeadFigures && Dist(figures.back().end, figures.front().start) <=
                                                                 (g_joinTolerance > 0.0 ? g_joinTolerance : 0.001);
  if (!closed) {
    ShowErrorBoxCall(kErrorCannotReorder);
    return 1;
  }
  if (mode != 0) return 0;
  // The picked position counted among the bare figures.
  int index = position;
  for (int i = 0; i < position && i < g_workCount; ++i)
    if (Block(i).kind == kKindPoint) --index;
  if (index < 0 || index >= static_cast<int>(figures.size())) return 1;
  FigureRecord firstHalf = figures[static_cast<std::size_t>(index)];
  FigureRecord secondHalf = firstHalf;
  Vec2 middle;
  if (firstHalf.kind == kKindLine) {
    middle = {(firstHalf.start.x + firstHalf.end.x) * 0.5, (firstHalf.start.y + firstHalf.end.y) * 0.5};
  } else {
    const Vec2 c = firstHalf.centre;
    const Vec2 s{firstHalf.start.x - c.x, firstHalf.start.y - c.y};
    const Vec2 e{firstHalf.end.x - c.x, firstHalf.end.y - c.y};
    double sweep = std::atan2(s.x * e.y - s.y * e.x, s.x * e.x + s.y * e.y);
    if (firstHalf.radius > 0.0 && sweep <= 0.0) sweep += 2.0 * M_PI;
    if (firstHalf.radius < 0.0 && sweep >= 0.0) sweep -= 2.0 * M_PI;
    const Vec2 u = UnitVectorFromAngle(sweep * kHalfDegreesPerRadian);
    middle = {c.x + s.x * u.x - s.y * u.y, c.y + s.x * u.y + s.y * u.x};
  }
  firstHalf.end = middle;
  secondHalf.start = middle;
  g_workCount = 0;
  Block(g_workCount++) = secondHalf;
  for (std::size_t k = static_cast<std::size_t>(index) + 1; k < figures.size(); ++k) Block(g_workCount++) = figures[k];
  for (std::size_t k = 0; k < static_cast<std::size_t>(index); ++k) Block(g_workCount++) = figures[k];
  Block(g_workCount++) = firstHalf;
  return WriteBackCurveFigures() ? 0 : 1;
}

bool WriteBackCurveFigures() {
  const bool stored = StoreCurveFigures(0, 0);
  ShowPromptHook(0);
  return stored;
}

}  // namespace dorn
