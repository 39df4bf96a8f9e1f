// Deleting the marked layers: see layer_deletion.h.
#include "kelto_dorn/window/layer_deletion.h"

#include <algorithm>
#include <vector>

#include "kelto_dorn/app/figure_store.h"

namespace dorn {

namespace {

// Records 0-2 are the work box's size texts.
constexpr int kFirstUserText = 3;

bool Marked(const std::array<int, kLayerCount>& marks, int layer) {
  return layer >= 0 && layer < kLayerCount && marks[static_cast<std::size_t>(layer)] != 0;
}

// Removes the curves of marked layers and their figures from table 90; the
// figures of the kept curves (and any behind the last curve) move up and the
// kept curves' ranges follow them.
void DeleteCurvesOfMarkedLayers(const std::array<int, kLayerCount>& marks) {
  FigureTable* table = g_figureStore.Table(kTableCurves);
  if (!table) return;
  const int figureCount = table->count();
  std::vector<bool> removed(static_cast<std::size_t>(std::max(figureCount, 0)), false);
  const int curveCount = std::clamp(g_curveCount, 0, kCurveTableSize);
  for (int i = 0; i < curveCount; ++i) {
    const CurveRecord& c = g_curveTable[static_cast<std::size_t>(i)];
    if (!Marked(marks, c.layer)) continue;
    for (int f = std::max(c.first, 0); f < std::min(c.end, figureCount); ++f)
      removed[static_cast<std::size_t>(f)] = true;
  }
  // Where each old figure index lands.
  std::vector<int> newIndex(static_cast<std::size_t>(figureCount) + 1, 0);
  int w = 0;
  for (int f = 0; f < figureCount; ++f) {
    newIndex[static_cast<std::size_t>(f)] = w;
    if (removed[static_cast<std::size_t>(f)]) continue;
    if (w != f) table->slot(w) = table->slot(f);
    ++w;
  }
  newIndex[static_cast<std::size_t>(figureCount)] = w;
  for (int f = w; f < figureCount; ++f) table->slot(f) = FigureRecord{};
  table->set_count(w);
  int kept = 0;
  for (int i = 0; i < curveCount; ++i) {
    CurveRecord c = g_curveTable[static_cast<std::size_t>(i)];
    if (Marked(marks, c.layer)) continue;
    c.first = newIndex[static_cast<std::size_t>(std::clamp(c.first, 0, figureCount))];
    c.end = newIndex[static_cast<std::size_t>(std::clamp(c.end, 0, figureCount))];
    g_curveTable[static_cast<std::size_t>(kept++)] = c;
  }
  for (int i = kept; i < curveCount; ++i) ClearCurveEntry(i);
  g_curveCount = kept;
  if (g_curCurveIndex >= kept) g_curCurveIndex = kNone;
}

void DeleteTextsOfMarkedLayers(const std::array<int, kLayerCount>& marks) {
  int w = kFirstUserText;
  int r = kFirstUserText;
  for (; r < kTextRecordCount; ++r) {
    const TextRecord& t = g_textRecords[static_cast<std::size_t>(r)];
    if (t.layer < 0) break;  // the end of the list
    if (Marked(marks, t.layer)) continue;
    if (w != r) g_textRecords[static_cast<std::size_t>(w)] = t;
    ++w;
  }
  for (int i = w; i < r; ++i) {
    TextRecord free;
    free.layer = kTextRecordFree;
    g_textRecords[static_cast<std::size_t>(i)] = free;
  }
}

}  // namespace

void DeleteMarkedLayers(const std::array<int, kLayerCount>& marks) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (!Marked(marks, layer)) continue;
    ClearFigureTable(layer);
    const auto l = static_cast<std::size_t>(layer);
    g_originTable[l].fill(Vec2{});
    g_originCount[l] = 1;
    g_layerOriginIndex[l] = 0;
  }
  DeleteCurvesOfMarkedLayers(marks);
  DeleteTextsOfMarkedLayers(marks);
  g_curOriginIndex = g_layerOriginIndex[static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1))];
}

}  // namespace dorn
