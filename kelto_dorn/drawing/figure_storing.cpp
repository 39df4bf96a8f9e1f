// Storing and drawing new figures, and the clip-connect: see figure_storing.h.
#include "kelto_dorn/drawing/figure_storing.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"

namespace dorn {

namespace {

constexpr double kShortestLine = 0.0005;
constexpr double kLargestRadius = 10000000.0;
constexpr double kConnectTolerance = 0.001;
constexpr int kPointGroupColourShift = 3;
constexpr int kClipFirstEntry = 5;
constexpr int kPromptNextFigure = 300;
constexpr int kPickStateClipNext = 350;

bool Finite(const Vec2& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool FiniteFigure(const FigureRecord& f) {
  return Finite(f.origin) && Finite(f.start) && Finite(f.end) && Finite(f.centre) && Finite(f.dir) &&
         std::isfinite(f.radius) && std::isfinite(f.depth);
}

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Lines too short to see are dropped; an arc too large to draw is a line.
void NormaliseNewFigure(FigureRecord& f) {
  if (f.kind == kKindLine && Distance(f.start, f.end) < kShortestLine) f.kind = kKindEmpty;
  if (f.kind == kKindArc && std::fabs(f.radius) > kLargestRadius) {
    f.kind = kKindLine;
    f.centre = {};
    f.radius = 0.0;
  }
  if (f.kind == kKindLine) ComputeLineDirection(kCurrentFigure);
}

}  // namespace

bool StoreAndDrawFigure(int mode) {
  FigureRecord& f = g_curFigure;
  f.origin = CurrentLayerOrigin();
  NormaliseNewFigure(f);
  // A figure that is not a finite number would block every save of the drawing.
  if (f.kind == kKindEmpty || !FiniteFigure(f)) return false;
  f.layer = g_curLayer;
  g_figureTableSelector = g_curLayer;
  if (mode != kStoreKeepColour) f.attribute = g_figureAttribute | g_figureStyle;
  if (!AppendFigure(1)) return false;
  if (mode == kStoreKeepColour) return true;
  if (auto dc = GetViewDC()) {
    int colour = f.attribute & kAttrColourMask;
    if (f.kind == kKindCurvePoint || f.kind == kKindCurvePointTangent) colour += kPointGroupColourShift;
    DrawFigure(colour, *dc);
  }
  ShowPrompt(kPromptCleared);
  return true;
}

void ConnectFigureEnd(int keepStart, Vec2 point) {
  FigureRecord& f = g_curFigure;
  if (Distance(f.end, point) < kConnectTolerance) {
    f.end = point;
  } else if (Distance(f.start, point) >= kConnectTolerance && keepStart == 0) {
    f.end = point;
  } else {
    f.start = point;
  }
  if (f.kind == kKindLine) {
    ComputeLineDirection(kCurrentFigure);
    return;
  }
  if (f.kind != kKindArc) return;
  const double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x) * kDegreesPerRadian;
  const double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x) * kDegreesPerRadian;
  double sweep = a1 - a0;
  if (sweep < 0.0) sweep += 360.0;
  if (sweep > 0.0 && sweep < 360.0 && keepStart == 0 && g_figureView.clipWorkCount > kClipFirstEntry &&
      ((f.radius > 0.0 && sweep > 180.0) || (f.radius <= 0.0 && sweep < 180.0)))
    f.radius = -f.radius;
}

// --- Clip-connect ------------------------------------------------------------------

namespace {

// Whether the figure at g_editFigureIndex was connected before in this chain
// after its first entry (it is then appended as a new figure).
int EntryOf(int index) {
  const auto& entries = g_figureView.clipEntries;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == index) return static_cast<int>(i) + kClipFirstEntry;
  return -1;
}

void RecordEntry(int index) {
  FigureEngineView& v = g_figureView;
  if (v.clipWorkCount >= kSegmentBlockCount - kClipFirstEntry) {
    // The chain restarts its list past the first entry.
    v.clipWorkCount = kClipFirstEntry + 1;
    if (v.clipEntries.size() > 1) v.clipEntries.resize(1);
  }
  v.clipEntries.push_back(index);
  ++v.clipWorkCount;
}

void DrawCurrent(int colour) {
  if (auto dc = GetViewDC()) DrawFigure(colour, *dc);
}

}  // namespace

int ClipConnectFirst() {
  FigureEngineView& v = g_figureView;
  LoadSegment(0);
  DrawCurrent(v.connectColour);
  CopySegment(0, 1);
  v.chainEnd = g_curFigure;
  g_editFigureIndex = g_pickFoundIndex;
  v.clipEntries.clear();
  v.clipWorkCount = kClipFirstEntry;
  RecordEntry(g_editFigureIndex);
  v.pendingMove = {};
  v.keepFlag = 0;
  g_pickState = kPickStateClipNext;
  ShowPrompt(kPromptNextFigure);
  return 1;
}

int ClipConnectNext() {
  FigureEngineView& v = g_figureView;
  const FigureRecord previous = v.chainEnd;
  LoadSegment(0);
  const FigureRecord next = g_curFigure;
  const int nextIndex = g_pickFoundIndex;
  g_pickState = kPickStateClipNext;
  const FigureRecord hit = IntersectFigures(AbsoluteFigure(previous), AbsoluteFigure(next));
  if (hit.number != kHitOnePoint && hit.number != kHitTouching && hit.number != kHitTwoPoints) {
    ShowErrorBox(0);
    return 1;
  }
  // Of two points, the one nearer the click.
  Vec2 joint = hit.start;
  if (hit.number == kHitTwoPoints && Distance(hit.end, g_pickPoint) < Distance(hit.start, g_pickPoint)) joint = hit.end;
  // A figure met again later in the chain is connected as a copy; the
  // chain's first figure closes it in place.
  const bool append = EntryOf(nextIndex) > kClipFirstEntry || v.keepFlag != 0;
  v.keepFlag = 0;
  g_undoSaved = 0;
  SnapshotForUndo(kUndoTypeTable);
  g_figureTableSelector = g_curLayer;
  g_curFigure = previous;
  ConnectFigureEnd(0, {joint.x - previous.origin.x, joint.y - previous.origin.y});
  PutFigure(g_editFigureIndex);
  g_curFigure = next;
  ConnectFigureEnd(1, {joint.x - next.origin.x, joint.y - next.origin.y});
  if (append) {
    g_curFigure.layer = g_curLayer;
    if (!AppendFigure(0)) return 1;
    g_editFigureIndex = GetFigureCount(g_curLayer) - 1;
  } else {
    PutFigure(nextIndex);
    g_editFigureIndex = nextIndex;
  }
  v.chainEnd = g_curFigure;
  StoreSegment(1);
  RecordEntry(nextIndex);
  v.pendingMove = joint;
  RedrawView();
  ShowPrompt(kPromptNextFigure);
  return 1;
}

}  // namespace dorn
