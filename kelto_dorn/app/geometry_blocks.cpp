// Kernel helpers that work on the segment blocks and the figure tables: arc
// angles and candidate circles, the tangent solvers' reference frame, corner
// trimming of a block chain, and the drawing extents. See geometry.h.
#include <algorithm>
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"

namespace dorn {
namespace {

// Candidate circles live in blocks 6..21; the picked figures in 1..3.
constexpr int kFirstPickBlock = 1;
constexpr int kLastPickBlock = 3;
constexpr int kFirstCandidateBlock = 6;
constexpr int kLastCandidateBlock = 21;
// A candidate circle is shown in palette colour 5.
constexpr int kCandidateColour = 5;
// Same circle: radius within 0.001 mm, centre within 0.0001 mm.
constexpr double kSameRadius = 0.001;
constexpr double kSameCentre = 0.0001;
// The chain of a corner edit starts at block 5 (block 0 holds the new figure).
constexpr int kFirstChainBlock = 5;

bool IsArcBlock(int i) {
  const FigureRecord* f = g_figureStore.SegmentBlock(i);
  return f != nullptr && f->kind == kKindArc;
}

// Compares g_curFigure with the arc in block i.
bool MatchesArcBlock(int i) {
  const FigureRecord* f = g_figureStore.SegmentBlock(i);
  return f != nullptr && f->kind == kKindArc && IsSameArcPoint(f->radius, f->centre.x, f->centre.y) == 1;
}

}  // namespace

void ComputeArcAngles(FigureRecord& arc) {
  const double a1 = VectorAngle0(arc.start.x - arc.centre.x, arc.start.y - arc.centre.y);
  const double a2 = VectorAngle0(arc.end.x - arc.centre.x, arc.end.y - arc.centre.y);
  arc.dir = {a1, a2};
  Vec2 m = UnitVectorFromAngle((a1 + a2) / 2.0);
  if (a1 > a2) m = {-m.x, -m.y};
  arc.start = {arc.centre.x + arc.radius * m.x, arc.centre.y + arc.radius * m.y};
}

int IsSameArcPoint(double r, double cx, double cy) {
  const FigureRecord& f = g_curFigure;
  const bool sameRadius = std::fabs(f.radius - r) < kSameRadius;
  const bool sameCentre = std::hypot(f.centre.x - cx, f.centre.y - cy) < kSameCentre;
  return sameRadius && sameCentre ? 1 : 0;
}

int MakeArcFigure(double r, int n) {
  if (n < kLastCandidateBlock + 1) {
    while (n < kLastCandidateBlock) {
      const FigureRecord* f = g_figureStore.SegmentBlock(n);
      if (f == nullptr || f->kind == kKindEmpty) break;
      ++n;
    }
  }
  FigureRecord& c = g_curFigure;
  const double radius = std::fabs(r);
  c.kind = kKindArc;
  c.radius = radius;
  c.group = 0;
  c.start = c.end = {c.centre.x + radius, c.centre.y};
  if (const FigureRecord* pick = g_figureStore.SegmentBlock(kFirstPickBlock)) c.origin = pick->origin;

  int matches = 0;
  for (int i = kFirstPickBlock; i <= kLastPickBlock && matches == 0; ++i) {
    if (IsArcBlock(i) && MatchesArcBlock(i)) ++matches;
  }
  for (int i = kFirstCandidateBlock; i < n && matches == 0; ++i) {
    if (IsArcBlock(i) && MatchesArcBlock(i)) ++matches;
  }
  c.attribute = (c.attribute & ~kAttrColourMask) | kCandidateColour;
  if (matches != 0) return matches;
  // Every candidate block taken: the circle is not stored, so no earlier
  // solution is lost.
  const FigureRecord* target = g_figureStore.SegmentBlock(n);
  if (target == nullptr || (n <= kLastCandidateBlock && target->kind != kKindEmpty)) return kNoFreeBlock;
  StoreSegment(n);
  return 0;
}

void OffsetReferenceFrame(double d, int flag, FigureRecord& workLine, FigureRecord& workCircle,
                          const FigureRecord& baseCircle) {
  const Vec2 shift{-d * workLine.dir.y, d * workLine.dir.x};
  workLine.start = {workLine.start.x + shift.x, workLine.start.y + shift.y};
  workLine.end = {workLine.end.x + shift.x, workLine.end.y + shift.y};
  workCircle.radius = flag != 0 ? baseCircle.radius - d : baseCircle.radius + d;
}

void BuildCornerFigure(int workCount, int pendingElementKind) {
  LoadSegment(0);
  const FigureRecord block0 = g_curFigure;
  int target = workCount;
  for (int i = kFirstChainBlock; i < workCount; ++i) {
    const FigureRecord* f = g_figureStore.SegmentBlock(i);
    if (f != nullptr && f->kind == kKindReplaceMark) {
      target = i;
      break;
    }
  }
  FigureRecord* slot = g_figureStore.SegmentBlock(target);
  if (slot == nullptr) return;

  if (pendingElementKind == kKindPointMark) {
    FigureRecord point = block0;
    point.kind = kKindPointMark;
    point.start = block0.kind == kKindArc ? block0.centre : block0.start;
    *slot = point;
    return;
  }
  FigureRecord placed = block0;
  placed.group = slot->group;
  placed.choice = slot->choice;
  *slot = placed;

  const int chainEnd = std::max(workCount, target + 1);
  for (int k = kFirstChainBlock + 1; k < chainEnd; ++k) {
    FigureRecord* prev = g_figureStore.SegmentBlock(k - 1);
    FigureRecord* next = g_figureStore.SegmentBlock(k);
    if (prev == nullptr || next == nullptr) break;
    const FigureRecord hit = IntersectFigures(*prev, *next);
    if (hit.number != kHitTouching && hit.number != kHitOnePoint && hit.number != kHitTwoPoints) continue;
    prev->end = hit.start;
    next->start = hit.start;
    if (prev->kind == kKindLine) ComputeLineDirection(k - 1);
    if (next->kind == kKindLine) ComputeLineDirection(k);
  }
}

void ComputeDrawingExtents(DrawingExtents& extents) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const FigureTable* t = g_figureStore.Table(layer);
    if (t == nullptr) continue;
    const std::size_t l = static_cast<std::size_t>(layer);
    const int n = std::min(t->count(), t->capacity());
    for (int i = 0; i < n; ++i) {
      const FigureRecord& f = t->slot(i);
      if (f.kind == kKindEmpty) continue;
      for (const Vec2& p : {f.start, f.end}) {
        extents.minX[l] = std::min(extents.minX[l], p.x);
        extents.minY[l] = std::min(extents.minY[l], p.y);
        extents.maxX[l] = std::max(extents.maxX[l], p.x);
        extents.maxY[l] = std::max(extents.maxY[l], p.y);
      }
    }
  }
}

}  // namespace dorn
