// Edits of a picked figure: see picked_figure_edits.h.
#include "kelto_dorn/drawing/picked_figure_edits.h"

#include <cmath>
#include <utility>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

// Undo snapshot of one figure table.
constexpr int kUndoOneTable = kUndoTypeTable;
// The picked figure for the clipping stands in block 5.
constexpr int kEditBlock = 5;
// Two clicked points this close coincide (mm).
constexpr double kSamePoint = 1e-9;
constexpr int kEraseColour = 0;

bool ValidFigure(int table, int index) {
  return index >= 0 && index < GetFigureCount(table) && g_figureStore.Table(table) != nullptr;
}

// Curve figures are written back without taking the current layer.
int WriteTable(int table) { return table == kTableCurves ? kTableCurvesAlias : table; }

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

void Reverse(FigureRecord& f) { f = ReversedFigure(f); }

}  // namespace

int ReverseFigureDirection(int mode) {
  const int table = g_pickFoundTable, index = g_pickFoundIndex;
  if (!ValidFigure(table, index)) return 1;
  SnapshotForUndo(kUndoOneTable);
  GetFigure(table, index);
  FigureRecord f = g_curFigure;
  auto dc = GetViewDC();
  if (dc) DrawFigure(kEraseColour, *dc);
  f.radius = -f.radius;
  if (f.kind == kKindLine || (f.kind == kKindArc && mode == 1)) {
    std::swap(f.start, f.end);
    f.dir = {-f.dir.x, -f.dir.y};
  }
  g_curFigure = f;
  if (dc) DrawFigure(f.attribute & kAttrColourMask, *dc);
  PutFigure(WriteTable(table), index);
  return 0;
}

int PreparePickedLineOrArc(Vec2 first, Vec2 second, int table, int index) {
  FigureRecord f = *g_figureStore.SegmentBlock(kEditBlock);
  const int kind = f.kind & 0xF;
  if (kind != kKindLine && kind != kKindArc) return 1;
  SnapshotForUndo(kUndoOneTable);
  const Vec2 from = IntersectFigures(f, PointFigure(first)).start;
  Vec2 to = f.end;
  if (!(kind == kKindLine && Distance(first, second) < kSamePoint)) to = IntersectFigures(f, PointFigure(second)).start;
  f.start = from;
  f.end = to;
  *g_figureStore.SegmentBlock(kEditBlock) = f;
  if (kind == kKindLine) ComputeLineDirection(kEditBlock);
  LoadSegment(kEditBlock);
  if (ValidFigure(table, index)) PutFigure(WriteTable(table), index);
  return 0;
}

int TestEndpointsNearPicks(int block, int keepBlock) {
  FigureRecord* other = g_figureStore.SegmentBlock(block);
  if (other == nullptr) return kHitNone;
  FigureRecord& f = g_curFigure;
  const double t = g_joinTolerance;
  if (Distance(other->end, f.start) <= t) {
    // already chained
  } else if (Distance(other->end, f.end) <= t) {
    Reverse(f);
  } else if (keepBlock == 0 && Distance(other->start, f.start) <= t) {
    Reverse(*other);
  } else if (keepBlock == 0 && Distance(other->start, f.end) <= t) {
    Reverse(f);
    Reverse(*other);
  } else {
    return kHitNone;
  }
  f.choice = kChoiceBothPoints;
  const FigureRecord hit = IntersectFigures(*other, f);
  f.choice = 0;
  return hit.number;
}

}  // namespace dorn
