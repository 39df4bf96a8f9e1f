// A right click by pick state: always one input back, or the end of the
// command. See pick_dispatch.h.
#include <algorithm>
#include <initializer_list>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"

namespace dorn {

namespace {

constexpr int kDimensionModeLine = 101;
constexpr int kDimensionModeCross = 102;
// The hole-point command waits for the circle that chooses the holes of a BOX.
constexpr int kPickStateHoleReference = 16;

bool In(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

bool IsBoxState(int s) {
  return In(s, {kPickStateZoomBox, 2, 10, 11, 12, 13, 17, 40, 33101, 33103, 33173, 33197, 33198, 33199, 33200, 33204});
}
bool IsPointState(int s) {
  return In(s, {kPickStateIntersection, kPickStateHoleCircle, kPickStateMoveTarget, kPickStateDimCross});
}
bool IsFigureState(int s) {
  return In(s, {3, 5, 14, kPickStateHoleReference, 42, 51, kPickStateEndPoint, 141, kPickStateDimLine});
}
bool IsCollectState(int s) {
  return In(s, {33, 34, 35, 32905, cmd::kCurveJoin, 222, 32917, 33075, 50, 55, 6144, cmd::kRestyleLineType,
                cmd::kRestyleColour, cmd::kRestyleWidth});
}
// The curve, surface and machining commands step on instead of ending.
bool StepsOnWithoutPick(int command) { return command >= 32941 && command <= 33073; }

void EndAndRedraw(ClickContext& c) {
  c.view.EndPick(g_curCommand);
  c.view.RedrawView();
}

void BoxRightClick(ClickContext& c) {
  ViewState& v = g_view;
  if (v.m_boxStage != 0) c.view.DrawRubberBandBox(c.dc, v.m_boxStage);
  v.m_boxStage = 0;
  if (g_pickState == kPickStateZoomBox) {
    g_pickState = v.m_zoomBoxReturnState;
    return;
  }
  if (g_commandEngines.setActiveCommand) g_commandEngines.setActiveCommand(g_curCommand, 0);
  g_pickState = 0;
}

void PointRightClick(ClickContext& c) {
  if (g_pickIndex == kChoosingIntersection) {
    const FigureRecord& choice = PendingIntersectionChoice();
    DrawPointAt(c.dc, choice.start, 0);
    DrawPointAt(c.dc, choice.end, 0);
    g_pickIndex = 2;
  } else {
    DrawBlock(c.dc, g_pickIndex - 1);
    g_pickIndex = g_pickState == kPickStateHoleCircle ? 0 : g_pickIndex - 1;
    g_view.m_pointProposed = false;
  }
  ShowPointPickPrompt();
}

void NoPickRightClick(ClickContext& c) {
  if (g_pickState == kPickStateDimLine || g_pickState == kPickStateDimCross) {
    if (g_commandEngines.setDimensionPickMode)
      g_commandEngines.setDimensionPickMode(g_pickState == kPickStateDimLine ? kDimensionModeLine
                                                                             : kDimensionModeCross);
    return;
  }
  if (StepsOnWithoutPick(g_curCommand)) return EnterMachine(c);
  EndAndRedraw(c);
}

void CollectRightClick(ClickContext& c) {
  if (g_pickIndex <= 0) return EndAndRedraw(c);
  if (g_workCount > 0) DrawBlock(c.dc, --g_workCount);
  --g_pickIndex;
  if (In(g_pickState, {cmd::kRestyleLineType, cmd::kRestyleColour, cmd::kRestyleWidth})) {
    auto last = std::find(g_selectionList.begin(), g_selectionList.end(), kNone);
    if (last != g_selectionList.begin()) *std::prev(last) = kNone;
  }
}

void PolylineRightClick(ClickContext& c) {
  if (g_view.m_polylineCount > 2) {
    // The polygon closes and goes to its command.
    return EnterMachine(c);
  }
  EndAndRedraw(c);
}

}  // namespace

void DispatchRightClick(ClickContext& c) {
  const int state = g_pickState;
  if (state == 50 && TakesDefinitionPicks(g_curCommand)) {
    // The right button ends the picks of a definition: its dialog opens.
    g_commandEngines.definitionCurvePick(false);
    return;
  }
  if (g_curCommand == cmd::kPointGroupCurve && g_pickIndex == 0 &&
      In(state, {kPickStateHoleCircle, kPickStateFreePoint, 80, kPickStateHoleReference})) {
    // The holes picked so far are registered as a curve; asked for the
    // reference circle of a BOX, the box is given up but they still are.
    g_commandStep = 2;
    return EnterCurveMachine();
  }
  if (state == 222 && g_curCommand == cmd::kTaperCurve && g_pickIndex == 0) {
    // The section's figures are chosen: the taper dialog opens again.
    g_commandStep = 222;
    return EnterCurveMachine();
  }
  if (IsBoxState(state)) return BoxRightClick(c);
  if (IsPointState(state) || IsFigureState(state)) {
    if (g_pickIndex == 0) return NoPickRightClick(c);
    if (IsPointState(state)) return PointRightClick(c);
    DrawBlock(c.dc, 0);
    g_pickIndex = 0;
    return;
  }
  if (state == kPickStatePolylineBox) return PolylineRightClick(c);
  if (state == kPickStateJoin) {
    // The chain is complete: the join registration takes it.
    g_commandStep = 1;
    return EnterCurveMachine();
  }
  if (IsCollectState(state)) return CollectRightClick(c);
  EndAndRedraw(c);
}

}  // namespace dorn
