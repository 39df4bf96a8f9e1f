// Hole circles in a box: see hole_circles.h.
#include "kelto_dorn/drawing/hole_circles.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/document/system_state.h"

namespace dorn {

namespace {

// Settings words of "$Box_Ana.@@@".
enum SettingWord { kSameDiameter = 1, kByColour = 2, kXOrder = 3, kYOrder = 4, kAxis = 5, kPath = 6 };

int Setting(SettingWord w) { return g_boxHoleSettings.words[w]; }

// A centre rounded to 0.001 as one key.
long long CentreKey(Vec2 c) {
  const long long x = std::llround(c.x * 1000.0), y = std::llround(c.y * 1000.0);
  return x * 1000003LL ^ y;
}

void SortBlocks(int first, int end, bool descending, bool byY) {
  if (first < 0 || end > kSegmentBlockCount || first >= end) return;
  std::vector<FigureRecord> blocks;
  blocks.reserve(static_cast<std::size_t>(end - first));
  for (int i = first; i < end; ++i) blocks.push_back(*g_figureStore.SegmentBlock(i));
  std::stable_sort(blocks.begin(), blocks.end(), [descending, byY](const FigureRecord& a, const FigureRecord& b) {
    const double ka = byY ? a.start.y : a.start.x, kb = byY ? b.start.y : b.start.x;
    return descending ? ka > kb : ka < kb;
  });
  for (int i = first; i < end; ++i) *g_figureStore.SegmentBlock(i) = blocks[static_cast<std::size_t>(i - first)];
}

// Along the axis first, then each column (neighbours within the tolerance)
// across it, the cross direction turning at each column when back and forth.
void OrderHoles(int first, int end) {
  const bool byY = Setting(kAxis) == 1;
  const bool mainDown = (byY ? Setting(kYOrder) : Setting(kXOrder)) == 1;
  bool crossDown = (byY ? Setting(kXOrder) : Setting(kYOrder)) == 1;
  const double tolerance = std::fabs(g_boxHoleSettings.tolerance);
  SortBlocks(first, end, mainDown, byY);
  const auto key = [byY](int i) {
    const FigureRecord* f = g_figureStore.SegmentBlock(i);
    return byY ? f->start.y : f->start.x;
  };
  for (int from = first; from < end;) {
    int to = from + 1;
    while (to < end && std::fabs(key(to) - key(to - 1)) <= tolerance) ++to;
    SortBlocks(from, to, crossDown, !byY);
    if (Setting(kPath) == 1) crossDown = !crossDown;
    from = to;
  }
}

}  // namespace

void SortBlocksByX(bool descending, int end, int first) { SortBlocks(first, end, descending, false); }
void SortBlocksByY(bool descending, int end, int first) { SortBlocks(first, end, descending, true); }

int CollectHoleCircles(int start, const HoleReference& first, const HoleReference& second,
                       const SelectionRegion& region) {
  const double r1 = Round3(std::fabs(first.radius)), r2 = Round3(std::fabs(second.radius));
  const bool pairs = r1 != 0.0 && r2 != 0.0;
  const double pairRadius = std::max(r1, r2);
  const bool sameDiameter = Setting(kSameDiameter) == 1 || pairs;
  const bool byColour = Setting(kByColour) == 1;
  const Vec2 origin = CurrentLayerOrigin();
  FigureTable* t = g_figureStore.Table(g_curLayer);
  if (t == nullptr || start < 0) return 0;
  std::unordered_map<long long, int> collected;  // centre key -> block
  int end = start;
  const int n = std::min(t->count(), t->capacity());
  for (int i = 0; i < n && end <= kLastHoleBlock; ++i) {
    const FigureRecord& f = t->slot(i);
    if (f.kind != kKindArc || f.origin != origin) continue;
    const double r = Round3(std::fabs(f.radius));
    const HoleReference* match = r == r1 ? &first : r == r2 ? &second : nullptr;
    if (sameDiameter && match == nullptr) continue;
    if (byColour && match != nullptr && f.attribute != match->colour) continue;
    const Vec2 centre{f.centre.x + f.origin.x, f.centre.y + f.origin.y};
    if (!InsideRegion(region, centre)) continue;
    const long long k = CentreKey(centre);
    int mark = 0;
    if (const auto it = collected.find(k); it != collected.end()) {
      // A circle about a centre already taken: only the other circle of a pair.
      if (!pairs || Round3(std::fabs(g_figureStore.SegmentBlock(it->second)->radius)) == r) continue;
      mark = kHolePairMark;
    }
    FigureRecord hole = f;
    hole.kind = kKindPointMark;
    hole.start = hole.end = hole.centre = f.centre;
    hole.radius = mark != 0 ? pairRadius : r;
    hole.choice = mark;
    *g_figureStore.SegmentBlock(end) = hole;
    if (mark == 0) collected.emplace(k, end);
    ++end;
  }
  if (pairs) {
    // Only the pair records remain, filtered in place.
    int kept = start;
    for (int i = start; i < end; ++i) {
      if (g_figureStore.SegmentBlock(i)->choice == kHolePairMark) *g_figureStore.SegmentBlock(kept++) = *g_figureStore.SegmentBlock(i);
    }
    end = kept;
  }
  OrderHoles(start, end);
  return end - start;
}

}  // namespace dorn
