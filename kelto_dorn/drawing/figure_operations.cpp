// The figure and curve operations: see figure_operations.h.
#include "kelto_dorn/drawing/figure_operations.h"

#include <algorithm>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/pick_search.h"

namespace dorn {

FigureOperationParams g_figureOperation;

namespace {

constexpr int kSnapshotTable = 0;
constexpr int kSnapshotTableAndCurves = 1;
constexpr int kMarkColour = 7;
constexpr int kErrorCountOverflow = 4;
constexpr int kReversedColour = 5;
constexpr int kKindEllipse = 5;
constexpr double kOnEdge = 1e-9;
constexpr std::int32_t kLineTypeBits = kAttrDashed | kAttrChain1 | kAttrChain2;

Vec2 Plus(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Times(Vec2 a, double k) { return {a.x * k, a.y * k}; }

bool IsPointKind(int kind) {
  return kind == kKindPoint || kind == kKindCurvePoint || kind == kKindCurvePointTangent ||
         kind == kKindCurvePointAngle;
}

// The unit vector of v, or v itself when it has no length.
Vec2 Unit(Vec2 v) {
  const double len = std::hypot(v.x, v.y);
  return len > 0.0 ? Vec2{v.x / len, v.y / len} : v;
}

bool OnSegment(Vec2 a, Vec2 b, Vec2 p) {
  const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  if (std::fabs(cross) > kOnEdge * std::max(1.0, len)) return false;
  return p.x >= std::min(a.x, b.x) - kOnEdge && p.x <= std::max(a.x, b.x) + kOnEdge &&
         p.y >= std::min(a.y, b.y) - kOnEdge && p.y <= std::max(a.y, b.y) + kOnEdge;
}

bool SameRadius(double r, double reference) { return Round3(std::fabs(r)) == Round3(std::fabs(reference)); }

// Whether the op (and the engine code) lets this figure take part at all.
bool TakesPart(int op, const FigureRecord& f) {
  const FigureOperationParams& p = g_figureOperation;
  if (f.kind == kKindEmpty) return false;
  if (op == box_op::kCircleColour || op == box_op::kCircleDelete || op == box_op::kCircleRadius) {
    if (f.kind != kKindArc || !SameRadius(f.radius, p.referenceRadius)) return false;
  }
  if (p.code == kEngineCodeSameAttributes &&
      (f.attribute != p.reference.attribute || f.origin != p.reference.origin))
    return false;
  return true;
}

void Rotate(FigureRecord& f, Vec2 centre, double cs, double sn) {
  const Vec2 c = Minus(centre, f.origin);
  const auto turn = [c, cs, sn](Vec2 q) {
    const Vec2 d = Minus(q, c);
    return Vec2{c.x + d.x * cs - d.y * sn, c.y + d.x * sn + d.y * cs};
  };
  f.start = turn(f.start);
  f.end = turn(f.end);
  f.centre = turn(f.centre);
  f.dir = f.kind == kKindLine ? Unit(Minus(f.end, f.start)) : Vec2{f.dir.x * cs - f.dir.y * sn, f.dir.x * sn + f.dir.y * cs};
}

void Move(FigureRecord& f, Vec2 d) {
  f.start = Plus(f.start, d);
  f.end = Plus(f.end, d);
  f.centre = Plus(f.centre, d);
}

// An arc of the new radius about the same centre, its ends on their rays.
void ChangeRadius(FigureRecord& f, double r) {
  const auto onRay = [&f, r](Vec2 q) {
    const Vec2 u = Unit(Minus(q, f.centre));
    return Plus(f.centre, Times(u, r));
  };
  f.start = onRay(f.start);
  f.end = onRay(f.end);
  f.radius = f.radius < 0.0 ? -r : r;
}

// Applies an in-place edit; false when the op is not one.
bool EditInPlace(int op, FigureRecord& f) {
  const FigureOperationParams& p = g_figureOperation;
  switch (op) {
    case box_op::kReattachOrigin: {
      const Vec2 origin = CurrentLayerOrigin();
      Move(f, Minus(f.origin, origin));
      f.origin = origin;
      return true;
    }
    case box_op::kRotate: {
      const double a = p.rotationAngle * kRadiansPerDegree;
      Rotate(f, p.rotationCentre, std::cos(a), std::sin(a));
      return true;
    }
    case box_op::kMove:
      Move(f, p.moveVector);
      return true;
    case box_op::kDelete:
    case box_op::kCircleDelete:
      f.kind = kKindEmpty;
      return true;
    case box_op::kMirror:
    case box_op::kScale: {
      const FigureRecord saved = g_curFigure;
      g_curFigure = f;
      if (op == box_op::kMirror) {
        MirrorCurrentFigure();
      } else {
        ScaleCurrentFigure(p.scalePercent);
      }
      f = g_curFigure;
      g_curFigure = saved;
      return true;
    }
    case box_op::kColour:
    case box_op::kCircleColour:
      f.attribute = (f.attribute & ~kAttrColourMask) | (p.colour & kAttrColourMask);
      return true;
    case box_op::kLineType:
      f.attribute = (f.attribute & ~kLineTypeBits) | p.lineType;
      return true;
    case box_op::kWidth:
      f.attribute = (f.attribute & ~kAttrThick) | p.width;
      return true;
    default:
      return false;
  }
}

// Builds the copy of a copy op into g_curFigure; false when there is none.
bool MakeCopy(int op, const FigureRecord& f) {
  const FigureOperationParams& p = g_figureOperation;
  g_curFigure = f;
  switch (op) {
    case box_op::kMirrorCopy:
      MirrorCurrentFigure();
      return true;
    case box_op::kOffsetCopy:
      return OffsetFigure(p.offsetDistance) == 0;
    case box_op::kRotateCopy: {
      const double a = p.rotationAngle * kRadiansPerDegree;
      Rotate(g_curFigure, p.rotationCentre, std::cos(a), std::sin(a));
      return true;
    }
    case box_op::kMoveCopy:
      Move(g_curFigure, p.moveVector);
      return true;
    case box_op::kCircleRadius:
      ChangeRadius(g_curFigure, p.newRadius);
      return true;
    default:
      return false;
  }
}

bool IsCopyOp(int op) {
  if (op == box_op::kCircleRadius) return g_figureOperation.copyOption != 0;
  return op == box_op::kMirrorCopy || op == box_op::kOffsetCopy || op == box_op::kRotateCopy ||
         op == box_op::kMoveCopy;
}

// Op 21: the texts of the current layer in the reference figure's colour.
int RecolourTexts() {
  const int from = g_figureOperation.reference.attribute & kAttrColourMask;
  int n = 0;
  for (TextRecord& t : g_textRecords) {
    if (t.layer < 0) break;
    if (t.layer != g_curLayer || t.colour != from) continue;
    t.colour = g_figureOperation.colour;
    ++n;
  }
  return n;
}

// Whether the copies of every figure taking part fit the table; error box 4
// (nothing is copied) when not, rather than a copy that stops half way.
bool CopiesFit(int op, FigureTable& t, int n, const SelectionRegion& region) {
  long long copies = 0;
  for (int i = 0; i < n; ++i) {
    const FigureRecord& f = t.slot(i);
    if (TakesPart(op, f) && FigureMeetsRegion(f, region)) ++copies;
  }
  if (n + copies <= kFigureSlotLimit) return true;
  ShowErrorBox(kErrorCountOverflow);
  return false;
}

void DrawMarked(const FigureRecord& f, platform::DeviceContext& dc) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = f;
  DrawFigure(kMarkColour, dc);
  g_curFigure = saved;
}

bool Finite(Vec2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }
bool Finite(const FigureRecord& f) {
  return Finite(f.start) && Finite(f.end) && Finite(f.centre) && Finite(f.dir) && std::isfinite(f.radius);
}

}  // namespace

// --- The selection region ---------------------------------------------------------

SelectionRegion CurrentSelectionRegion() {
  const ViewState& v = g_view;
  const Vec2 o = CurrentLayerOrigin();
  SelectionRegion region;
  if (g_boxMode == 2 || (g_boxMode == 0 && v.m_boxKind == 2)) {
    const int n = std::clamp(v.m_polylineCount, 0, kPolylineBoxPoints);
    for (int i = 0; i < n; ++i) region.vertices.push_back(Plus(v.m_polylineBox[static_cast<std::size_t>(i)], o));
    return region;
  }
  const Vec2 a = Plus(v.m_boxFirst, o), b = Plus(v.m_boxSecond, o);
  region.vertices = {{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}};
  return region;
}

bool InsideRegion(const SelectionRegion& region, Vec2 p) {
  const std::vector<Vec2>& v = region.vertices;
  const std::size_t n = v.size();
  if (n < 3) return false;
  if (n == 4 && v[0].y == v[1].y && v[1].x == v[2].x && v[2].y == v[3].y && v[3].x == v[0].x) {
    // The BOX rectangle: strictly between its sides (an edge is outside).
    return p.x > std::min(v[0].x, v[1].x) && p.x < std::max(v[0].x, v[1].x) && p.y > std::min(v[1].y, v[2].y) &&
           p.y < std::max(v[1].y, v[2].y);
  }
  bool inside = false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = v[j], b = v[i];
    if (OnSegment(a, b, p)) return false;
    // Half-open in y: a vertex on the ray counts for one of its edges only.
    if ((a.y > p.y) == (b.y > p.y)) continue;
    const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
    if (x > p.x) inside = !inside;
  }
  return inside;
}

int InsideSelection(double x, double y) { return InsideRegion(CurrentSelectionRegion(), {x, y}) ? 0 : 1; }

bool FigureMeetsRegion(const FigureRecord& f, const SelectionRegion& region) {
  if (IsPointKind(f.kind)) return InsideRegion(region, Plus(f.start, f.origin));
  if (f.kind == kKindLine || f.kind == kKindArc)
    return InsideRegion(region, Plus(f.start, f.origin)) || InsideRegion(region, Plus(f.end, f.origin));
  if (f.kind == kKindEllipse) return InsideRegion(region, Plus(f.centre, f.origin));
  return false;
}

// --- Box edits ---------------------------------------------------------------------

int ApplyBoxEdit(int op, const SelectionRegion& region) {
  if (op == box_op::kTextColour) return RecolourTexts();
  const int table = g_curLayer;
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return 0;
  const int savedSelector = g_figureTableSelector;
  const FigureRecord saved = g_curFigure;
  g_figureTableSelector = table;
  // The copies land behind the count; only the figures there before are edited.
  const int n = std::min(t->count(), t->capacity());
  const bool copies = IsCopyOp(op);
  if (copies && !CopiesFit(op, *t, n, region)) {
    g_curFigure = saved;
    g_figureTableSelector = savedSelector;
    return 0;
  }
  int affected = 0;
  bool refused = false;
  auto dc = op == box_op::kMarkForDelete ? GetViewDC() : nullptr;
  for (int i = 0; i < n; ++i) {
    FigureRecord& f = t->slot(i);
    if (!TakesPart(op, f) || !FigureMeetsRegion(f, region)) continue;
    ++affected;
    if (op == box_op::kMarkForDelete) {
      if (dc) DrawMarked(f, *dc);
    } else if (copies) {
      if (!MakeCopy(op, f)) continue;
      if (!Finite(g_curFigure)) {
        refused = true;
        continue;
      }
      g_curFigure.number = 0;
      g_curFigure.group = 0;
      if (!AppendFigure(0)) break;  // the table is full: what was made stays
    } else {
      // A value that would make a coordinate infinite leaves the figure.
      FigureRecord edited = f;
      if (op == box_op::kCircleRadius) {
        ChangeRadius(edited, g_figureOperation.newRadius);
      } else {
        EditInPlace(op, edited);
      }
      if (!Finite(edited)) {
        refused = true;
        continue;
      }
      f = edited;
    }
  }
  if (refused) SignalBeep();
  if (op == box_op::kDelete || op == box_op::kCircleDelete) CompactFigureTable(table);
  if (affected > 0 && op != box_op::kMarkForDelete) g_undoSaved = 0;
  g_curFigure = saved;
  g_figureTableSelector = savedSelector;
  return affected;
}

bool EditFigure(int op, FigureRecord& f) { return EditInPlace(op, f); }

void EditFiguresInSelection(int op) {
  if (op != box_op::kMarkForDelete) SnapshotForUndo(op == box_op::kLineType ? kSnapshotTableAndCurves : kSnapshotTable);
  ApplyBoxEdit(op, CurrentSelectionRegion());
  ShowPrompt(0);
}

// --- Transforms of the current figure ---------------------------------------------

void ScaleCurrentFigure(double percent) {
  FigureRecord& f = g_curFigure;
  const double k = percent * 0.01;
  const Vec2 base = Minus(g_figureOperation.scaleBase, f.origin);
  const auto scaled = [base, k](Vec2 q) { return Plus(base, Times(Minus(q, base), k)); };
  f.start = scaled(f.start);
  f.end = scaled(f.end);
  f.centre = scaled(f.centre);
  f.radius *= k;
}

void MirrorCurrentFigure() {
  FigureRecord& f = g_curFigure;
  const Vec2 d = Unit(g_figureOperation.mirrorDirection);
  const double t = 2.0 * d.x * d.y, o = d.x * d.x - d.y * d.y;
  const Vec2 p = Minus(g_figureOperation.mirrorPoint, f.origin);
  const auto linear = [t, o](Vec2 q) { return Vec2{o * q.x + t * q.y, t * q.x - o * q.y}; };
  const Vec2 shift = Minus(p, linear(p));
  const auto mirrored = [&](Vec2 q) { return Plus(linear(q), shift); };
  f.start = mirrored(f.start);
  f.end = mirrored(f.end);
  f.centre = mirrored(f.centre);
  f.radius = -f.radius;
  // A point's direction is a vector: it turns without the line's offset.
  const Vec2 turned = Unit(linear(f.dir));
  if (f.kind == kKindPoint) {
    f.dir = turned;
  } else {
    const Vec2 chord = Minus(f.end, f.start);
    f.dir = std::hypot(chord.x, chord.y) > 0.0 ? Unit(chord) : turned;
  }
}

// --- Ranges of figures ---------------------------------------------------------------

void DeleteFigureRange(int a, int b) {
  FigureTable* t = g_figureStore.Table(g_figureTableSelector);
  if (t == nullptr) return;
  const int count = std::min(t->count(), t->capacity());
  a = std::max(a, 0);
  b = std::min(b, count);
  if (a >= b) return;
  // One pass moves the tail down over the range.
  const int removed = b - a;
  for (int i = b; i < count; ++i) t->slot(i - removed) = t->slot(i);
  for (int i = count - removed; i < count; ++i) t->slot(i).kind = kKindEmpty;
  t->set_count(count - removed);
  g_undoSaved = 0;
}

int CompactFigureTable(int table) {
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return 0;
  const int count = std::min(t->count(), t->capacity());
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (t->slot(i).kind == kKindEmpty) continue;
    if (kept != i) t->slot(kept) = t->slot(i);
    ++kept;
  }
  for (int i = kept; i < count; ++i) t->slot(i).kind = kKindEmpty;
  t->set_count(kept);
  return count - kept;
}

// --- Curves --------------------------------------------------------------------------

void ReverseCurve() {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return;
  FigureTable* t = g_figureStore.Table(kTableCurves);
  for (int i = range.first, j = range.end - 1; i < j; ++i, --j) std::swap(t->slot(i), t->slot(j));
  auto dc = GetViewDC();
  const FigureRecord saved = g_curFigure;
  for (int i = range.first; i < range.end; ++i) {
    FigureRecord& f = t->slot(i);
    std::swap(f.start, f.end);
    f.radius = -f.radius;
    f.dir = {-f.dir.x, -f.dir.y};
    f.choice = 0;
    f.layer = g_curLayer;
    if (dc) {
      g_curFigure = f;
      DrawFigure(kReversedColour, *dc);
    }
  }
  g_curFigure = saved;
  g_undoSaved = 0;
}

void ToggleCornerJoin() {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return;
  const int keep = g_pickIndex;
  g_pickIndex = kNone;
  const int i = FindFigureAtPick(g_curCurveIndex) != 0 ? g_pickIndex : keep;
  g_pickIndex = i;
  if (i <= range.first || i >= range.end) return;
  FigureTable* t = g_figureStore.Table(kTableCurves);
  FigureRecord& before = t->slot(i - 1);
  FigureRecord& figure = t->slot(i);
  if (figure.choice > 1) figure.choice = 0;
  figure.choice = figure.choice == 0 ? 1 : 0;
  FigureRecord a = before, b = figure;
  a.start = Plus(a.start, a.origin), a.end = Plus(a.end, a.origin), a.centre = Plus(a.centre, a.origin);
  b.start = Plus(b.start, b.origin), b.end = Plus(b.end, b.origin), b.centre = Plus(b.centre, b.origin);
  a.origin = b.origin = {};
  const FigureRecord hit = IntersectFigures(a, b);
  if (hit.number > kHitTwoPoints) return;
  before.end = Minus(hit.start, before.origin);
  figure.start = Minus(hit.start, figure.origin);
  before.layer = figure.layer = g_curLayer;
  g_undoSaved = 0;
}

void SetCurveColour() {
  CColorPaletteDlg palette;
  const int colour = RunModalDialog(palette);
  if (colour < 0 || colour >= kPaletteSize) return;
  FigureTable* t = g_figureStore.Table(kTableCurves);
  std::vector<int> curves;
  for (int c : g_selectionList) {
    if (c == kNone) break;
    curves.push_back(c);
  }
  if (curves.empty() && g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount) curves.push_back(g_curCurveIndex);
  for (int c : curves) {
    CurveFigureRange range;
    if (!GetCurveFigureRange(c, range)) continue;
    for (int i = range.first; i < range.end; ++i) {
      t->slot(i).attribute = colour;
      t->slot(i).layer = g_curLayer;
    }
    g_curveTable[static_cast<std::size_t>(c)].colour = colour;
  }
  g_undoSaved = 0;
  RedrawView();
}

int SelectCurvesInBox() {
  const SelectionRegion region = CurrentSelectionRegion();
  FigureTable* t = g_figureStore.Table(kTableCurves);
  g_selectionList.fill(kNone);
  int n = 0;
  for (int c = 0; c < g_curveCount && n < kCurveTableSize; ++c) {
    CurveFigureRange range;
    if (!GetCurveFigureRange(c, range)) continue;
    for (int i = range.first; i < range.end; ++i) {
      const FigureRecord& f = t->slot(i);
      if (f.layer != g_curLayer) continue;
      if (InsideRegion(region, Plus(f.start, f.origin)) || InsideRegion(region, Plus(f.end, f.origin))) {
        g_selectionList[static_cast<std::size_t>(n++)] = c;
        break;
      }
    }
  }
  g_workCount = n;
  return n;
}

}  // namespace dorn
