// The curve command engine's entries: see curve_engine.h.
#include "kelto_dorn/drawing/curve_engine.h"

#include <algorithm>
#include <initializer_list>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/curve_chain_registration.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/curve_list_dialog.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/hole_point_curves.h"

namespace dorn {
namespace {

using namespace curve_cmd;

constexpr int kPromptPickFirstFigure = 3;
constexpr int kPromptPickCurve = 910;
constexpr int kPromptPickPlanCurve = 922;
constexpr int kPromptPickBox = 12;
constexpr int kJoinReservedBlocks = 5;
constexpr int kCharacterCurveKind = 1332;
// Bits of the continuous-mode word above this mask are transient markers.
constexpr int kContinuousMask = 0xFFF;

bool In(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

bool IsSurfaceId(int id) {
  return id == 32941 || (id >= 32943 && id <= 32945) || (id >= 32947 && id <= 32953) || id == 33070 || id == 33073;
}
bool IsMachiningId(int id) {
  return (id >= 32959 && id <= 32966) || id == 32968 || (id >= 33188 && id <= 33190) || id == 33203;
}

// The commands that act on every selected curve.
bool ActsOnSelection(int id) { return In(id, {kDelete, kTranslate, kRotate, kMirror, kOffset, kScale, kColour, kLayerMove}); }
bool PicksACurve(int id) {
  return ActsOnSelection(id) || In(id, {kAppend, kAnalyse, kEndPoints, kReverseArcs, kTangentCircle, kDeleteFigure,
                                        kTangentRadius, kSwapIntersection, kReverse, kDeveloped, kHeadFigure,
                                        kReplaceFigure, kSpiral, kOriginChange, kPocketIp});
}

bool CurvePicked() {
  const int c = g_selectionList[0];
  return c != kNone && c >= 0 && c < g_curveCount && g_curveCount > 0;
}

void AskForCurve(int id) {
  if (g_curveCount <= 0) {
    SetActiveCommandCall(id, 0);
    return;
  }
  g_workCount = 0;
  g_pickState = g_pickState2 = kPickCurve;
  ShowPromptHook(id == kDeveloped ? kPromptPickPlanCurve : kPromptPickCurve);
}

void CurvePickStep(int id, platform::DeviceContext* dc) {
  if (g_pickState != 0 && g_pickState != kPickCurve) {
    ExecuteCurveCommand(id, dc);
    return;
  }
  if (!CurvePicked()) {
    if (ActsOnSelection(id)) g_listMode = kListModeAll;
    AskForCurve(id);
    return;
  }
  const int curve = g_selectionList[0];
  ResetCurveCommand();
  g_curCurveIndex = curve;
  LoadCurveEntry(curve);
  if (ActsOnSelection(id)) g_listMode = kListModeAll;
  if (In(id, {kTranslate, kRotate, kMirror, kOffset, kScale, kColour})) g_commandStep = 1;
  ExecuteCurveCommand(id, dc);
}

void AutoConnectStep(int id, platform::DeviceContext* dc) {
  if (g_pickState == kAutoConnect && g_workCount > 0) {
    RegisterAutoConnectedCurve(dc);
    return;
  }
  (void)id;
  g_pickState = kAutoConnect;
  ShowPromptHook(kPromptPickFirstFigure);
}

void JoinStep(platform::DeviceContext* dc) {
  if (g_pickState == kPickStateJoinMore || g_commandStep > 0) {
    RegisterJoinedCurve(dc);
    return;
  }
  g_workCount = kJoinReservedBlocks;
  g_pickState = g_returnCommand = kJoin;
  ShowPromptHook(kPromptPickFirstFigure);
}

void CharacterStep(platform::DeviceContext* dc) {
  if (g_pickState == kCharacters && g_commandStep > 0) {
    ExecuteCurveCommand(kCharacters, dc);
    return;
  }
  g_copyMode = 0;
  g_pickState = kCharacters;
  g_view.m_boxStart = g_view.m_boxEnd = {};
  g_boxMode = 1;
  ShowPromptHook(kPromptPickBox);
  g_curCurveRecord.kind = kCharacterCurveKind;
}

}  // namespace

void BeginCurveCommand(int id) {
  ResetCommandInputCall();
  g_listMode = 0;
  g_curveCommandId = id;
  g_curveEngine.transformStage = 0;
  // A side chosen for the last offset ends that choice.
  g_drawingView.m_workPickMode = kWorkPickAmong;
  g_commandStep = 0;
  g_pickIndex = 0;
  g_workCount = 0;
  if (id != kEndPoints) g_returnCommand = 0;
  g_pickState = 0;
  g_pickState2 = 0;
  g_selectionList.fill(kNone);
  g_curCurveIndex = kNone;
  ResetCurrentCurve();
  if (g_curveCount > kCurveCommandLimit && id != kDelete) return;
  if (id != kPocketIp && id != kSpiral) {
    SetActiveCommandCall(id, 1);
  } else {
    g_curCommand = id;
  }
  g_curveEngine.commandRunning = 1;
  DispatchCurveCommand(id);
}

int DispatchCurveCommand(int id) {
  EraseRubberBandCall();
  g_curCommand = id;
  if (IsSurfaceId(id)) {
    if (g_commandEngines.defineSurface) g_commandEngines.defineSurface(id);
    return 0;
  }
  if (IsMachiningId(id)) {
    if (g_commandEngines.defineMachining) g_commandEngines.defineMachining(id);
    return 0;
  }
  auto dc = GetViewDC();
  switch (id) {
    case kAutoConnect:
    case kPocket:
    case kTaper:
      if (g_pickState == kPickStateTaperFigure) {
        ExecuteCurveCommand(kTaper, dc.get());
      } else {
        AutoConnectStep(id, dc.get());
      }
      break;
    case kJoin:
      JoinStep(dc.get());
      break;
    case kHolePoints:
      if (g_workCount < kFirstHoleBlock && g_commandStep == 0) {
        BeginHolePoints(false);
      } else {
        ExecuteCurveCommand(id, dc.get());
      }
      break;
    case kCharacters:
      CharacterStep(dc.get());
      break;
    case kBatchTangentCircles:
      // A figure command that picks its curves like a curve command: the
      // figure engine takes the list from here.
      if (g_commandEngines.executeFigureCommand) g_commandEngines.executeFigureCommand(id);
      break;
    default:
      if (PicksACurve(id)) CurvePickStep(id, dc.get());
      break;
  }
  return 0;
}

void ResetCurveCommand() {
  g_curveEngine.noFigureUnderCursor = -1;
  g_pickState = 0;
  g_commandStep = 0;
  g_pickIndex = 0;
  g_workCount = 0;
  g_curveEngine.promptValue = 10.0;
  ClearCurveWorkTable();
  CancelPickState(kCancelBlocksOnly);
}

void CancelCurveCommand() {
  if (g_curveListOpen == kCurveListOpen) CloseCurveList();
  ShowPromptHook(0);
  g_curveListOpen = 0;
  g_pickState = 0;
  g_pickState2 = 0;
}

void FinishCurveCommand(int id) {
  EndPick(id);
  RedrawView();
  if (g_continuousMode == 0) return;
  g_continuousMode &= kContinuousMask;
  BeginCurveCommand(id);
}

}  // namespace dorn
