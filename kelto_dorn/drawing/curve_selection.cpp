// Selecting curves by name: see curve_selection.h.
#include "kelto_dorn/drawing/curve_selection.h"

#include <cstddef>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_highlight.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

constexpr int kSelectionColour = 1;
constexpr std::size_t kNameBytes = sizeof(CurveRecord::name);

int FindCurveNamed(const char* name, int count) {
  for (int c = 0; c < count; ++c) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (curve.layer == kCurveEntryEmpty) continue;
    if (std::strncmp(curve.name, name, kNameBytes) == 0) return c;
  }
  return kNone;
}

bool IsAllMarker(const std::array<char, kCurveNameSlotSize>& slot) {
  return slot[0] == '\0' && slot[1] == kAllCurvesMarker;
}

}  // namespace

int SelectCurvesByName() {
  g_selectionList.fill(kNone);
  const int count = ScannableCurveCount();
  int selected = 0;
  if (IsAllMarker(g_curveNameBuffers[0])) {
    for (int c = 0; c < count; ++c) g_selectionList[static_cast<std::size_t>(selected++)] = c;
    g_drawingView.m_clearAllCurves = count > 0 ? 1 : 0;
  } else {
    for (const auto& slot : g_curveNameBuffers) {
      if (slot[0] == '\0') break;
      const int curve = FindCurveNamed(slot.data(), count);
      if (curve != kNone && selected < kCurveTableSize) g_selectionList[static_cast<std::size_t>(selected++)] = curve;
    }
  }
  for (auto& slot : g_curveNameBuffers) slot.fill(0);
  g_workCount = selected;
  if (selected == 0) return 0;
  g_curCurveIndex = g_selectionList[0];
  const int layer = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)].layer;
  if (layer >= 0 && layer < kLayerCount) g_curLayer = layer;
  HighlightCurves(kSelectionColour);
  return selected;
}

}  // namespace dorn
