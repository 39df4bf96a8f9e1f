// The origins of a layer: see origins.h.
#include "kelto_dorn/drawing/origins.h"

#include <algorithm>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/tooldb/db_messages.h"

namespace dorn {

namespace {

constexpr int kMessageTooManyOrigins = 64;
constexpr int kPromptPickOrigin = 136;
constexpr int kOriginMoveCommand = 33169;
constexpr int kSnapshotTableAndCurves = 1;
constexpr int kSnapshotTable = 0;
constexpr int kMarkColour = 7;
constexpr int kChoiceColour = 1;
constexpr int kPlacedColour = 23;
constexpr double kDefaultAxisLength = 220.0;
constexpr double kAxisMargin = 10.0;
constexpr double kMarkRadiusViewUnits = 6.0;
constexpr int kHatchLines = 30;
constexpr double kHatchStepDegrees = 3.0;

std::size_t Layer() { return static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1)); }

int OriginCount() { return std::clamp(g_originCount[Layer()], 0, kOriginsPerLayer); }

Vec2& OriginEntry(int index) {
  return g_originTable[Layer()][static_cast<std::size_t>(std::clamp(index, 0, kOriginsPerLayer - 1))];
}

void MakeCurrent(int index) {
  g_layerOriginIndex[Layer()] = index;
  g_curOriginIndex = index;
}

Vec2 Rounded(Vec2 p) { return {Round3(p.x), Round3(p.y)}; }

// Calls `visit` for each figure of the table whose origin pair is `origin`.
template <class Visit>
void ForFiguresOfOrigin(int table, Vec2 origin, Visit visit) {
  FigureTable* t = g_figureStore.Table(table);
  if (t == nullptr) return;
  const int n = std::min(t->count(), t->capacity());
  for (int i = 0; i < n; ++i) {
    FigureRecord& f = t->slot(i);
    if (f.kind != kKindEmpty && f.origin == origin) visit(f);
  }
}

// Calls `visit` for each text of the layer whose origin, rounded to 0.001,
// is `origin` rounded.
template <class Visit>
void ForTextsOfOrigin(int layer, Vec2 origin, Visit visit) {
  const Vec2 want = Rounded(origin);
  for (TextRecord& t : g_textRecords) {
    if (t.layer < 0) break;
    if (t.layer != layer) continue;
    if (Rounded(Vec2{t.originX, t.originY}) == want) visit(t);
  }
}

void MakeAxisLine(int index, bool vertical) {
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.attribute = g_figureStyle | kAttrChain1;
  const double length = vertical ? g_workSizeY : g_workSizeX;
  const double offset = vertical ? g_workOffsetY : g_workOffsetX;
  const auto [from, to] = OriginAxisSpan(g_workOriginPosition, length, offset, vertical);
  if (vertical) {
    g_curFigure.dir = {0.0, 1.0};
    g_curFigure.start = {0.0, from};
    g_curFigure.end = {0.0, to};
  } else {
    g_curFigure.dir = {1.0, 0.0};
    g_curFigure.start = {from, 0.0};
    g_curFigure.end = {to, 0.0};
  }
  g_curFigure.origin = OriginEntry(index);
}

// The hatched circle of the mark: the circle, its horizontal diameter and 30
// more diameters 3 degrees apart.
void DrawHatchedCircle(platform::DeviceContext& dc, Vec2 centre) {
  const double scale = g_layerViews[Layer()].scale > 0.0 ? g_layerViews[Layer()].scale : 100.0;
  const double r = kMarkRadiusViewUnits * 100.0 / scale;
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindArc;
  g_curFigure.origin = centre;
  g_curFigure.radius = r;
  g_curFigure.start = g_curFigure.end = {r, 0.0};
  DrawFigure(kMarkColour, dc);
  for (int k = 0; k <= kHatchLines; ++k) {
    const double a = k * kHatchStepDegrees * kRadiansPerDegree;
    const Vec2 d{r * std::cos(a), r * std::sin(a)};
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindLine;
    g_curFigure.origin = centre;
    g_curFigure.start = {-d.x, -d.y};
    g_curFigure.end = d;
    g_curFigure.dir = {std::cos(a), std::sin(a)};
    DrawFigure(kMarkColour, dc);
  }
}

}  // namespace

int AddOrigin(Vec2 point, int exact) {
  const int count = OriginCount();
  if (count >= kMaxOriginsInUse) {
    ShowMessage(kMessageTooManyOrigins);
    return 0;
  }
  MakeCurrent(count);
  g_originCount[Layer()] = count + 1;
  if (exact != 1) point = Rounded(point);
  OriginEntry(count) = point;
  g_view.m_rememberedOrigin = point;
  if (auto dc = GetViewDC()) {
    PrepareDrawingDC(*dc);
    DrawOriginMark(*dc, kOriginMarkPlaced);
  }
  return 1;
}

int SelectOriginNearPoint(int from, double x, double y) {
  const int count = OriginCount();
  for (int i = std::max(from, 0); i < count; ++i) {
    const Vec2 o = OriginEntry(i);
    if (std::hypot(o.x - x, o.y - y) < g_pickTolerance) {
      MakeCurrent(i);
      return 1;
    }
  }
  return 0;
}

void BeginOriginMove() {
  if (g_view.m_originMoveMode != 0) {
    g_view.m_originMoveMode = 0;
    return;
  }
  g_view.m_originMoveMode = 1;
  SnapshotForUndo(kSnapshotTableAndCurves);
  if (auto dc = GetViewDC()) {
    PrepareDrawingDC(*dc);
    const int current = g_curOriginIndex;
    for (int i = 1; i < OriginCount(); ++i) {
      g_curOriginIndex = i;
      DrawOriginMark(*dc, kOriginMarkChoice);
    }
    g_curOriginIndex = current;
  }
  g_curCommand = kOriginMoveCommand;
  g_pickState = kOriginMoveCommand;
  g_commandStep = 0;
  ShowPrompt(kPromptPickOrigin);
}

void ReassignFigureOrigin(double x, double y) {
  const Vec2 to{Round3(x), Round3(y)};
  Vec2& entry = OriginEntry(g_curOriginIndex);
  const Vec2 from = entry;
  ForFiguresOfOrigin(g_curLayer, from, [to](FigureRecord& f) { f.origin = to; });
  // Curve figures of other layers may sit on an origin with the same
  // coordinates; only this layer's curves belong to this origin.
  ForFiguresOfOrigin(kTableCurves, from, [to](FigureRecord& f) {
    if (f.layer == g_curLayer) f.origin = to;
  });
  ForTextsOfOrigin(g_curLayer, from, [to](TextRecord& t) {
    t.originX = static_cast<float>(to.x);
    t.originY = static_cast<float>(to.y);
  });
  entry = to;
  g_undoSaved = 0;
}

void ShiftOriginContents(Vec2 offset) {
  const Vec2 reference = OriginEntry(g_curOriginIndex);
  SnapshotForUndo(kSnapshotTable);
  ForFiguresOfOrigin(g_figureTableSelector, reference, [offset](FigureRecord& f) {
    f.start = {f.start.x - offset.x, f.start.y - offset.y};
    f.end = {f.end.x - offset.x, f.end.y - offset.y};
    f.centre = {f.centre.x - offset.x, f.centre.y - offset.y};
  });
  ForTextsOfOrigin(g_figureTableSelector, reference, [offset](TextRecord& t) {
    t.baseX = static_cast<float>(t.baseX - offset.x);
    t.baseY = static_cast<float>(t.baseY - offset.y);
  });
}

void ShiftFigureOfOrigin(Vec2 offset) {
  FigureRecord& f = g_curFigure;
  if (f.origin != OriginEntry(g_curOriginIndex)) return;
  f.start = {f.start.x - offset.x, f.start.y - offset.y};
  f.end = {f.end.x - offset.x, f.end.y - offset.y};
  f.centre = {f.centre.x - offset.x, f.centre.y - offset.y};
}

std::pair<double, double> OriginAxisSpan(int placement, double workLength, double workOffset, bool vertical) {
  const double L = workLength == 0.0 ? kDefaultAxisLength : workLength;
  const double m = kAxisMargin;
  // Per placement: does the line run to the negative side (true) or the
  // positive side of the origin?
  bool negative = false;
  switch (placement) {
    case 1:
      negative = true;
      break;
    case 2:
      negative = vertical;
      break;
    case 3:
      negative = false;
      break;
    case 4:
      negative = !vertical;
      break;
    default: {
      double a = -L / 2 - m - workOffset, b = L / 2 + m - workOffset;
      if (a < 0 && b < 0) b = m;
      if (a > 0 && b > 0) a = -m;
      return {a, b};
    }
  }
  double a = (negative ? -L - m : -m) - workOffset;
  double b = (negative ? m : L + m) - workOffset;
  if (a < 0 && b < 0) b = m;
  if (a > 0 && b > 0) a = -m;
  return {a, b};
}

void MakeOriginAxisLineX(int index) { MakeAxisLine(index, false); }
void MakeOriginAxisLineY(int index) { MakeAxisLine(index, true); }

void DrawOriginMark(platform::DeviceContext& dc, int mode) {
  const FigureRecord saved = g_curFigure;
  const std::int32_t savedColour = g_figureStyle;
  g_figureStyle = kMarkColour;
  const Vec2 origin = OriginEntry(g_curOriginIndex);
  if (mode != kOriginMarkChoice && g_view.m_rememberedOrigin == origin) mode = kOriginMarkOwn;
  const int colour = mode == kOriginMarkChoice ? kChoiceColour : kPlacedColour;
  for (const bool vertical : {false, true}) {
    MakeAxisLine(g_curOriginIndex, vertical);
    DrawFigure(mode == kOriginMarkOwn ? g_curFigure.attribute : colour, dc);
  }
  if (mode != kOriginMarkPlaced && g_view.m_printFactor == 1.0) DrawHatchedCircle(dc, origin);
  g_figureStyle = savedColour;
  g_curFigure = saved;
}

}  // namespace dorn
