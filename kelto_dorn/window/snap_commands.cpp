// The snap commands, the cancel (also Esc) and the end of input: see
// pick_dispatch.h.
#include <algorithm>
#include <initializer_list>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/layer_deletion.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kPromptFreePoint = 137;
constexpr int kPromptSecondFigure = 130;
constexpr int kPromptFirstFigure = 13;
constexpr int kPromptEndPoint = 1600;
constexpr int kCommandCancelled = 0xFFFF;

bool In(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

void EraseRubberBand() {
  if (g_commandEngines.eraseRubberBand) g_commandEngines.eraseRubberBand();
}

// The chain end of the join turns round (its work block; the stored figure
// stays as it is).
void ReverseChainEnd(CKelView& view) {
  auto dc = view.GetPreparedDC();
  if (!dc || g_workCount <= 0) return;
  DrawBlock(*dc, 1);
  ReverseFigure(1);
  LoadSegment(1);
  StoreSegment(0);
  StoreSegment(g_workCount - 1);
  DrawFigure(kHighlightColour, *dc);
  if (g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(*dc);
  SignalBeep();
}

bool IsDimensionChainCommand(int command) { return In(command, {33142, 33143, 33144, 33148, 33149, 33161}); }

// The question before the marked layers go; true when they were deleted.
bool DeleteMarkedLayersAsked(CKelView& view) {
  const int answer = platform::ShowMessageBox(
      platform::Sjis("選択されたレイヤーの[図面・曲線・寸法]全て削除されます。\n◆実行してもいいですか？"), "",
      0x24);  // Yes/No, question icon
  if (answer != platform::kIdYes) return false;
  SnapshotForUndo(kUndoTypeWhole);
  DeleteMarkedLayers(g_overviewMarks);
  SaveDrawing(view.Document());
  return true;
}

}  // namespace

void OnSnapMouse(CKelView& view) {
  EraseRubberBand();
  ViewState& v = g_view;
  if (++v.m_placeByMouse < 2) return;  // the next click re-centres the view
  const int state = g_pickState;
  if (state == 0) {
    ResetViewCommandInput();
    g_pickState = kPickStateIntersection;
  } else if (In(state, {kPickStateIntersection, kPickStateHoleCircle, kPickStateEndPoint, kPickStateMoveTarget})) {
    g_pickState = kPickStateFreePoint;
    ShowPromptHook(kPromptFreePoint);
    g_snapMode = 1;
  } else if (state == kPickStateWorkFigure) {
    v.m_workFigureSwitch = v.m_workFigureSwitch ? 0 : 1;
    SignalBeep();
  }
  (void)view;
}

void OnSnapIntersection(CKelView& view) {
  EraseRubberBand();
  const int state = g_pickState;
  if (state == 0) {
    ResetViewCommandInput();
    g_pickState = kPickStateFreePoint;
  } else if (In(state, {kPickStateFreePoint, 15, 37, 46, kPickStateHoleCircle, kPickStateEndPoint, 32908, 32913})) {
    g_returnPickState = state;
    g_pickState = kPickStateIntersection;
    ShowPromptHook(g_pickIndex > 0 ? kPromptSecondFigure : kPromptFirstFigure);
  } else if (state == kPickStateJoin) {
    ReverseChainEnd(view);
  } else if (state == kPickStateMoveTarget) {
    ShowPromptHook(kPickStateMoveTarget);
  }
  g_snapMode = 2;
}

void OnSnapEndPoint(CKelView& view) {
  (void)view;
  EraseRubberBand();
  const int state = g_pickState;
  if (state == 0) {
    ResetViewCommandInput();
    g_pickState = kPickStateIntersection;
  }
  if (In(g_pickState, {kPickStateFreePoint, kPickStateIntersection, 15, 37, 46, kPickStateHoleCircle,
                       kPickStateEndPoint, kPickStateMoveTarget, 32908, 32913, kPickStateDimCross})) {
    g_pickState = kPickStateEndPoint;
    g_commandStep |= kStepEndPointSnap;
    g_snapMode = 3;
    ShowPromptHook(kPromptEndPoint);
  }
}

void OnToggleAutoIntersection() { g_autoIntersection = g_autoIntersection == 1 ? 0 : 1; }

void OnCancelPick(CKelView& view) {
  ViewState& v = g_view;
  if (g_abortCount != 0) {
    // A long operation runs: it polls the count and stops.
    ++g_abortCount;
    return;
  }
  v.m_placeByMouse = 0;
  v.m_pointProposed = false;
  v.m_ctrlKeyState = 0;
  if (g_layerOverview != 0 || g_layerDeleteMarking) {
    g_overviewMarks.fill(0);
    g_layerOverview = 0;
    g_overviewFirstLayer = 0;
    g_layerDeleteMarking = 0;
    g_curCommand = kCommandCancelled;
    view.RedrawView();
    return;
  }
  if (g_curCommand != 0 && g_curCommand != kCommandCancelled) {
    view.EndPick(g_curCommand);
    view.RedrawView();
  } else if (g_pickState == kPickStateZoomBox) {
    // The zoom box of no command: its first corner goes and the view is idle.
    v.m_boxStage = 0;
    g_pickState = v.m_zoomBoxReturnState;
    view.RedrawView();
  }
}

void OnEndInput(CKelView& view) {
  if (g_layerDeleteMarking) {
    if (DeleteMarkedLayersAsked(view)) OnCancelPick(view);
    return;
  }
  if (IsDimensionChainCommand(g_curCommand)) {
    g_commandStep = 9;
    if (auto dc = view.GetPreparedDC())
      if (g_commandEngines.inputDimension) g_commandEngines.inputDimension(*dc, g_curCommand);
    return;
  }
  if (In(g_pickState, {cmd::kRestyleLineType, cmd::kRestyleColour, cmd::kRestyleWidth}) && g_workCount > 0) {
    g_commandStep = 1;
    if (g_commandEngines.executeFigureCommand) g_commandEngines.executeFigureCommand(g_curCommand);
    return;
  }
  OnCancelPick(view);
}

void OnToggleDimensionExtension() { g_view.m_dimensionExtension = g_view.m_dimensionExtension == 1 ? 0 : 1; }

void OnToggleOverwrite() {
  g_view.m_overwrite = g_view.m_overwrite ? 0 : 1;
  if (g_view.m_overwrite) SignalBeep();
}

}  // namespace dorn
