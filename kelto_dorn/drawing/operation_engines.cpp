// The install of the operations' entries: see operation_engines.h.
#include "kelto_dorn/drawing/operation_engines.h"

#include <cmath>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "kelto_dorn/drawing/origins.h"

namespace dorn {

namespace {

constexpr int kMirrorAxisBlock = 5;

// The curve commands keep their mirror axis in block 5.
void MirrorAboutAxisBlock() {
  const FigureRecord* axis = g_figureStore.SegmentBlock(kMirrorAxisBlock);
  FigureOperationParams& p = g_figureOperation;
  p.mirrorPoint = {axis->start.x + axis->origin.x, axis->start.y + axis->origin.y};
  const Vec2 d{axis->end.x - axis->start.x, axis->end.y - axis->start.y};
  p.mirrorDirection = std::hypot(d.x, d.y) > 0.0 ? d : axis->dir;
  MirrorCurrentFigure();
}

}  // namespace

void InstallOperationEngines() {
  g_drawingHooks.drawOriginMark = [](platform::DeviceContext& dc, int mode) { DrawOriginMark(dc, mode); };
  CommandEngines& e = g_commandEngines;
  e.originMoveCommand = [](int) { BeginOriginMove(); };
  e.selectOriginNearPoint = [](double x, double y) { return SelectOriginNearPoint(0, x, y); };
  e.reassignFigureOrigin = [](double x, double y) {
    ReassignFigureOrigin(x, y);
    g_view.m_originMoveMode = 0;
    RedrawView();
  };
  e.mirrorCurrentFigure = [] { MirrorAboutAxisBlock(); };
  e.selectCurvesInBox = [] { return SelectCurvesInBox(); };
  e.reverseCurve = [] { ReverseCurve(); };
  e.toggleCornerJoin = [] { ToggleCornerJoin(); };
  e.setCurveColour = [] { SetCurveColour(); };
  e.moveCurvesToLayer = [] { MoveCurvesToLayer(); };
}

}  // namespace dorn
