// The picking entries the view calls: see picking_engines.h.
#include "kelto_dorn/drawing/picking_engines.h"

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/curve_highlight.h"
#include "kelto_dorn/drawing/cursor_hit_search.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_search.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"
#include "kelto_dorn/drawing/work_figure_pick.h"
#include "kelto_dorn/drawing/work_points.h"

namespace dorn {

void InstallPickingEngines() {
  CommandEngines& e = g_commandEngines;
  e.pickFigureOrCurve = [](int mode) { return PickFigureOrCurve(mode); };
  e.pickFiguresNearCursor = [](int kind) { return PickFiguresNearCursor(kind); };
  e.findFigureAtPick = [](int index) { return FindFigureAtPick(index); };
  e.pickWorkFigure = [](int) { return PickWorkFigure(); };
  e.pickPolylineWorkFigure = [] { return PickPolylineWorkFigure(g_pickTolerance); };
  e.drawPickHighlights = [](platform::DeviceContext& dc) { DrawPickHighlights(dc); };
  e.workPickMode = [] { return g_drawingView.m_workPickMode; };
  e.setCandidatePage = [](int page) { SetCandidatePage(page); };
  e.reverseFigureDirection = [](int mode) { return ReverseFigureDirection(mode); };
  g_drawingHooks.drawPickHighlights = [](platform::DeviceContext& dc) { DrawPickHighlights(dc); };
  g_drawingHooks.highlightCurves = [](platform::DeviceContext& dc, int colour) { HighlightCurves(dc, colour); };
}

}  // namespace dorn
