// The choice among construction candidates: see candidate_choice.h.
#include "kelto_dorn/drawing/candidate_choice.h"

#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

// The candidate blocks each page shows.
struct PageBlocks {
  int first;
  int last;
};
constexpr PageBlocks kPages[4] = {{6, 21}, {6, 9}, {10, 15}, {16, 21}};

bool BlockUsed(int i) {
  const FigureRecord* f = g_figureStore.SegmentBlock(i);
  return f != nullptr && f->kind != kKindEmpty;
}

// Draws (when dc is given) the figures of one work list; returns their count.
int DrawWorkList(int first, platform::DeviceContext* dc) {
  const int n = WorkListLength(first);
  if (dc != nullptr) {
    for (int i = first; i < first + n; ++i) {
      LoadSegment(i);
      DrawFigure(kCandidateColour, *dc);
    }
  }
  return n;
}

int DrawCandidates(platform::DeviceContext* dc) {
  if (g_drawingView.m_workPickMode == kWorkPickTwoLists)
    return DrawWorkList(kWorkListA, dc) + DrawWorkList(kWorkListB, dc);
  const int page = g_drawingView.m_candidatePage;
  const PageBlocks shown = kPages[page >= 0 && page < 4 ? page : 0];
  int count = 0;
  for (int i = kFirstCandidateBlock; i <= kLastCandidateBlock; ++i) {
    if (!BlockUsed(i)) continue;
    ++count;
    if (dc == nullptr || i < shown.first || i > shown.last) continue;
    LoadSegment(i);
    DrawFigure(kCandidateColour, *dc);
  }
  return count;
}

void ShowOrEnd(int candidates) {
  if (candidates > 0) {
    ShowPromptHook(kPromptPickFigure);
    return;
  }
  EndPick(g_curCommand);
  RedrawView();
}

}  // namespace

int WorkListLength(int first) {
  int n = 0;
  while (n < kWorkListLimit && BlockUsed(first + n)) ++n;
  return n;
}

void ResetPickSlots(int n) {
  int clearFrom = 0;
  switch (n) {
    case 2:
      clearFrom = 8;
      break;
    case 4:
      clearFrom = 10;
      break;
    case 6:
      clearFrom = 12;
      break;
    case 8:
      clearFrom = 14;
      break;
    default:
      break;  // 16 and the rest keep every candidate
  }
  if (clearFrom != 0) {
    for (int i = clearFrom; i <= kLastCandidateBlock; ++i)
      if (FigureRecord* f = g_figureStore.SegmentBlock(i)) f->kind = kKindEmpty;
  }
  const int used = std::abs(n);
  g_commandStep = used;
  g_workCount = used + 5;
  g_drawingView.m_candidatePage = 0;
  g_pickIndex = 0;
  g_pickState = kPickStateChooseCandidate;
  g_drawingView.m_pendingChoice = 1;
  DrawPickHighlights();
}

void DrawPickHighlights(platform::DeviceContext& dc) {
  const FigureRecord saved = g_curFigure;
  const int candidates = DrawCandidates(&dc);
  g_curFigure = saved;
  ShowOrEnd(candidates);
}

void DrawPickHighlights() {
  if (auto dc = GetViewDC()) {
    DrawPickHighlights(*dc);
    return;
  }
  ShowOrEnd(DrawCandidates(nullptr));
}

void SetCandidatePage(int page) {
  if (page >= 0 && page < 4) g_drawingView.m_candidatePage = page;
}

}  // namespace dorn
