// A left click dispatched on g_pickState into the pick machines: see
// pick_dispatch.h. Each group of states is one function; a state not listed
// does nothing.
#include "kelto_dorn/window/pick_dispatch.h"

#include <algorithm>
#include <cmath>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/selection_box.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_routes.h"
#include "kelto_dorn/window/kel_view.h"

namespace dorn {

namespace {

constexpr int kPromptFigurePicked = 1016;
constexpr int kPromptAnalyse = 2;
constexpr int kPromptCurveSelected = 2000;
constexpr int kPromptJoin = 300;
constexpr int kPromptOriginChosen = 138;
constexpr int kPromptAddPoint = 137;
constexpr int kClipConnectCommand = 32826;
constexpr int kRegisterAsksTaper = 222;
constexpr int kTextRecordSearch = 0x8000;
constexpr int kAnyCurve = 0xFFFF;

bool In(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

// The surface and machining commands take a snapped point as a point pick.
bool IsDefinitionCommand(int command) {
  return (command >= 32941 && command <= 33073) || (command >= 32959 && command <= 32969);
}

bool Pick(int mode = 0) { return g_commandEngines.pickFigureOrCurve && g_commandEngines.pickFigureOrCurve(mode); }

// The point a snap left in g_curFigure (its start, relative to its origin),
// absolute.
Vec2 SnappedPoint() { return {g_curFigure.origin.x + g_curFigure.start.x, g_curFigure.origin.y + g_curFigure.start.y}; }

// The figure just picked goes to work slot 0, highlighted.
void KeepPickInSlot0(ClickContext& c) {
  StoreSegment(0);
  DrawFigure(kHighlightColour, c.dc);
  if (g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(c.dc);
}

// --- the zoom box and the boxes of the commands --------------------------

void ZoomBoxClick(ClickContext& c, platform::Point p) {
  ViewState& v = g_view;
  if (v.m_boxStage == 0) {
    v.m_boxStart = v.m_boxEnd = p;
    v.m_boxStage = 1;
    return;
  }
  c.view.DrawRubberBandBox(c.dc, 0);
  v.m_boxEnd = p;
  v.m_boxStage = 0;
  g_pickState = v.m_zoomBoxReturnState;
  c.view.FitViewToSelection();
  c.view.RedrawView();
}

void BoxClick(ClickContext& c, platform::Point p) {
  ViewState& v = g_view;
  if (v.m_boxStage == 0) {
    v.m_boxStart = v.m_boxEnd = p;
    v.m_boxStage = 4;
    return;
  }
  c.view.DrawRubberBandBox(c.dc, v.m_boxStage);
  v.m_boxEnd = p;
  v.m_boxStage = 0;
  const Vec2 origin = CurrentLayerOrigin();
  const Vec2 a = c.view.ScreenToDrawing(v.m_boxStart.x, v.m_boxStart.y);
  const Vec2 b = c.view.ScreenToDrawing(v.m_boxEnd.x, v.m_boxEnd.y);
  v.m_boxFirst = {a.x - origin.x, a.y - origin.y};
  v.m_boxSecond = {b.x - origin.x, b.y - origin.y};
  UpdateRubberBoxCorners();
  const int state = g_pickState;
  switch (state) {
    case 2:
      if (g_curCommand == 0) {
        ResetViewCommandInput();
      } else if (g_curCommand == cmd::kPointGroupCurve) {
        g_commandStep = 10;
        EnterMachineWith(c, g_curCommand);
      } else {
        EnterMachine(c);
      }
      return;
    case 10:
    case 11:
    case 12:
    case 13: {
      static constexpr int kBoxCommands[] = {32877, 32878, 32879, 33012};
      ++g_commandStep;
      EnterMachineWith(c, kBoxCommands[state - 10]);
      return;
    }
    case 17:
      if (g_commandEngines.dispatchCurveCommand) g_commandEngines.dispatchCurveCommand(cmd::kPointGroupCurve);
      return;
    case 33204:
      ++g_commandStep;
      if (g_commandEngines.dispatchCurveCommand) g_commandEngines.dispatchCurveCommand(33204);
      return;
    case 40:
      // The move is m_boxSecond - m_boxFirst; the rectangle keeps its outline.
      if (g_curCommand == cmd::kRectangleContour) c.view.DrawRubberBandBox(c.dc, 0);
      g_commandStep = 2;
      EnterMachineWith(c, g_curCommand);
      return;
    default:
      ++g_commandStep;
      EnterMachineWith(c, state);
      return;
  }
}

// --- figure picks -----------------------------------------------------------

// The angle of the picked line for the commands that take an angle from it.
void TakePickedAngle() {
  const int command = g_curCommand;
  if (!In(command, {32835, 32839, 32855, 32861, 32874, 32877, 32922})) return;
  LoadSegment(0);
  double angle = std::atan2(g_curFigure.dir.y, g_curFigure.dir.x) * kDegreesPerRadian;
  if (g_view.m_angleReference90 != 0) angle = In(command, {32874, 32877, 32922}) ? -angle : angle + 90.0;
  ValueInputValue = angle;
}

void FigurePickClick(ClickContext& c) {
  const int state = g_pickState;
  if (g_autoIntersection == 1 && state == kPickStateEndPoint && g_pickIndex == 0) {
    if (!g_commandEngines.pickFiguresNearCursor || g_commandEngines.pickFiguresNearCursor(2) <= 0) return;
    const Vec2 snapped = SnappedPoint();
    PointInputValue = FromCurrentOrigin(snapped);
    g_commandStep &= kStepCountMask;
    g_pickState = kPickStatePointOnFigure;
    if (g_view.m_twoPointMove) {
      c.view.ResumePickCommand();
    } else {
      g_pickPoint = snapped;
      EnterMachine(c);
    }
    return;
  }
  if (Pick()) {
    const FigureRecord picked = g_curFigure;
    if (g_pickIndex > 0) {
      if (state == 16) {
        CopySegment(0, 1);
      } else {
        DrawBlock(c.dc, 0);
      }
    }
    g_curFigure = picked;
    KeepPickInSlot0(c);
    g_pickIndex = 1;
    ShowPromptHook(kPromptFigurePicked);
    return;
  }
  if (g_pickIndex == 0) return;
  // A click on empty space confirms the pick.
  TakePickedAngle();
  g_pickIndex = 0;
  if (state == 42 || state == 141) {
    g_commandStep = 2;
  } else {
    ++g_commandStep;
  }
  if (state == 14) {
    g_pickState = g_returnPickState;
    EnterMachineWith(c, g_curCommand);
  } else if (state == 16) {
    g_commandStep = 11;
    if (g_commandEngines.dispatchCurveCommand) g_commandEngines.dispatchCurveCommand(cmd::kPointGroupCurve);
  } else {
    EnterMachineWith(c, g_curCommand);
  }
}

// --- points on figures --------------------------------------------------------

void PointOnFiguresClick(ClickContext& c) {
  const int state = g_pickState;
  if (g_pickIndex == kChoosingIntersection) {
    if (g_commandEngines.addPointOnFigure) g_commandEngines.addPointOnFigure(c.dc, 1);
    ShowPointPickPrompt();
    return;
  }
  if (g_autoIntersection == 1 && state != kPickStateHoleCircle) {
    if (g_commandEngines.pickFiguresNearCursor && g_commandEngines.pickFiguresNearCursor(1) > 0) {
      const Vec2 snapped = SnappedPoint();
      PointInputValue = FromCurrentOrigin(snapped);
      DrawPointAt(c.dc, snapped, kHighlightColour);
      if (g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(c.dc);
      c.view.ResumePickCommand();
    }
    return;
  }
  if (Pick()) {
    if (g_pickIndex >= 2) return;  // two figures are already picked
    StoreSegment(g_pickIndex);
    DrawFigure(kHighlightColour, c.dc);
    if (state == kPickStateHoleCircle) {
      // The hole circle is taken at once: its centre is the point.
      PointInputValue = FromCurrentOrigin(AbsoluteFigure(g_curFigure).centre);
      g_pickIndex = 1;
      c.view.ResumePickCommand();
      return;
    }
    ++g_pickIndex;
    g_view.m_pointProposed = false;
    if (g_pickIndex == 2) PickSecondFigurePoint(c);
    if (g_curCommand != 0) ShowPointPickPrompt();
    return;
  }
  if (g_pickIndex == 1) {
    LoadSegment(0);
    const FigureRecord f = AbsoluteFigure(g_curFigure);
    if (IsPointKindOf(f.kind)) {
      PointInputValue = FromCurrentOrigin(f.start);
      c.view.ResumePickCommand();
    } else if (f.kind == kKindArc) {
      // The centre is offered; the next click on empty space takes it.
      g_view.m_proposedPoint = f.centre;
      g_view.m_pointProposed = true;
      DrawPointAt(c.dc, f.centre, kHighlightColour);
      g_pickIndex = 2;
      ShowPointPickPrompt();
    }
    return;
  }
  if (g_pickIndex == 2) {
    PointInputValue = FromCurrentOrigin(g_view.m_pointProposed ? g_view.m_proposedPoint : g_pickPoint);
    g_view.m_pointProposed = false;
    c.view.ResumePickCommand();
  }
}

// --- work figures, collections and curves ----------------------------------------

void WorkFigureClick(ClickContext& c) {
  const bool taken = g_commandEngines.pickWorkFigure && g_commandEngines.pickWorkFigure(0) != 0;
  if (!taken) {
    if (g_commandEngines.drawPickHighlights) g_commandEngines.drawPickHighlights(c.dc);
    return;
  }
  const int command = g_curCommand;
  const int mode = g_commandEngines.workPickMode ? g_commandEngines.workPickMode() : 0;
  if (mode == kWorkPickCurveResult) {
    c.view.EndPick(command);
    if (g_continuousMode != 0 && g_commandEngines.beginCurveCommand) g_commandEngines.beginCurveCommand(command);
    return;
  }
  if (g_commandEngines.storeAndDrawFigure) g_commandEngines.storeAndDrawFigure(0);
  if (command == cmd::kMidLine) {
    g_pickState = kPickStateFreePoint;
    ShowPromptHook(160);
    g_commandStep = 3;
    return;
  }
  c.view.EndPick(command);
  if (g_continuousMode != 0 && g_commandEngines.beginFigureCommand) g_commandEngines.beginFigureCommand(command);
  c.view.RedrawView();
}

void PolylineBoxClick(ClickContext& c) {
  ViewState& v = g_view;
  if (v.m_polylineCount >= kPolylineBoxPoints) return;
  const Vec2 origin = CurrentLayerOrigin();
  const Vec2 point{g_pickPoint.x - origin.x, g_pickPoint.y - origin.y};
  v.m_polylineBox[static_cast<std::size_t>(v.m_polylineCount)] = point;
  if (v.m_polylineCount > 0) {
    const Vec2 prev = v.m_polylineBox[static_cast<std::size_t>(v.m_polylineCount - 1)];
    const FigureRecord saved = g_curFigure;
    g_curFigure = FigureRecord{};
    g_curFigure.kind = kKindLine;
    g_curFigure.origin = origin;
    g_curFigure.start = prev;
    g_curFigure.end = point;
    DrawFigure(kHighlightColour, c.dc);
    g_curFigure = saved;
  }
  ++v.m_polylineCount;
}

void CollectClick(ClickContext& c) {
  const int state = g_pickState;
  if (Pick()) {
    if (g_workCount >= kSegmentBlockCount) return;
    StoreSegment(g_workCount++);
    StoreSegment(0);
    StoreSegment(1);
    DrawFigure(kHighlightColour, c.dc);
    ++g_pickIndex;
    // The chain and join commands ask to confirm the figure, which a click
    // on empty space does (1010 would ask whether to delete it).
    ShowPromptHook(state == 33 || state == 34 ? 1111 : state == 35 ? 441 : kPromptFigurePicked);
    SignalBeep();
    // The repeating figure commands act on each pick at once.
    if (state == 33 || state == 34 || state == 35) EnterMachineWith(c, state);
    return;
  }
  if (g_pickIndex == 0) return;
  if (state == 35 || state == cmd::kCurveJoin) {
    g_pickState = kPickStateJoin;
    ShowPromptHook(kPromptJoin);
  } else if (state == 32905) {
    if (g_commandEngines.dispatchCurveCommand) g_commandEngines.dispatchCurveCommand(32905);
  } else {
    EnterCurveMachine();
  }
}

void AnalyseClick(ClickContext& c) {
  if (!Pick()) return;
  DrawFigure(kHighlightColour, c.dc);
  if (g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(c.dc);
  ShowPromptHook(kPromptAnalyse);
}

void OriginChoiceClick(ClickContext& c) {
  if (!g_commandEngines.selectOriginNearPoint) return;
  g_commandEngines.selectOriginNearPoint(g_pickPoint.x, g_pickPoint.y);
  if (g_curCommand == cmd::kOriginChange) {
    EnterCurveMachine();
  } else {
    c.view.EndPick(g_curCommand);
    c.view.RedrawView();
  }
}

bool PickCurve() { return g_commandEngines.findFigureAtPick && g_commandEngines.findFigureAtPick(kAnyCurve) != 0; }

void CurvePickClick(ClickContext& c) {
  if (!PickCurve()) return;
  HighlightCurvesHook(c.dc, kHighlightColour);
  g_commandStep = 1;
  // The text colour command of the figure family picks its character so.
  if (FamilyOf(g_curCommand) == RouteFamily::kFigure) return EnterMachineWith(c, g_curCommand);
  EnterCurveMachine();
}

void CurveSelectClick(ClickContext& c) {
  const int state = g_pickState;
  if (state == 50 && TakesDefinitionPicks(g_curCommand)) {
    // A definition takes each curve as it is picked.
    if (!PickCurve()) return;
    HighlightCurvesHook(c.dc, kHighlightColour);
    g_commandEngines.definitionCurvePick(true);
    return;
  }
  if (PickCurve()) {
    HighlightCurvesHook(c.dc, kHighlightColour);
    ++g_pickIndex;
    ShowPromptHook(kPromptCurveSelected);
    return;
  }
  if (g_pickIndex == 0) return;
  if (state == 6144) {
    const int result = g_commandEngines.registerCurve ? g_commandEngines.registerCurve() : 0;
    if (result == kRegisterAsksTaper) {
      g_pickState = kRegisterAsksTaper;
      g_curCommand = cmd::kTaperCurve;
    }
    return;
  }
  EnterCurveMachine();
}

void CurveFigureClick(ClickContext& c) {
  if (Pick()) {
    DrawFigure(kHighlightColour, c.dc);
    ++g_pickIndex;
    ShowPromptHook(g_pickState == 32917 ? 1010 : kPromptFigurePicked);
    return;
  }
  if (g_pickIndex == 0) return;
  ++g_commandStep;
  EnterCurveMachine();
}

void JoinClick(ClickContext& c) {
  if (g_curCommand == kClipConnectCommand) {
    // The figure clip-connect: each figure picked is connected at once.
    if (Pick()) {
      StoreSegment(0);
      EnterMachineWith(c, kPickStateJoin);
    }
    return;
  }
  if (g_workCount >= kSegmentBlockCount - 58) {
    // The work list is full: the join ends as the right button ends it.
    DispatchRightClick(c);
    return;
  }
  JoinNextFigure(c);
}

void WorkPointClick(ClickContext& c) {
  if (!g_commandEngines.pickPolylineWorkFigure) return;
  const int block = g_commandEngines.pickPolylineWorkFigure();
  if (block < 0) return;
  g_pickIndex = block;
  EnterMachineWith(c, g_pickState);
  if (g_pickState == 660) SignalBeep();
}

void RestyleClick(ClickContext& c) {
  if (!Pick()) return;
  DrawFigure(kHighlightColour, c.dc);
  const auto free = std::find(g_selectionList.begin(), g_selectionList.end(), kNone);
  // A figure picked twice is changed once.
  const bool listed = std::find(g_selectionList.begin(), free, g_pickFoundIndex) != free;
  if (free != g_selectionList.end() && !listed && g_pickFoundTable == g_curLayer) {
    *free = g_pickFoundIndex;
    // The work block lets a right click redraw the last pick as it was.
    if (g_workCount < kSegmentBlockCount) StoreSegment(g_workCount);
    ++g_workCount;
    ++g_pickIndex;
  }
  SignalBeep();
}

void OriginMoveClick(ClickContext& c) {
  if (!g_commandEngines.selectOriginNearPoint) return;
  if (g_curCommand != cmd::kOriginMove || g_commandStep == 0) {
    g_commandEngines.selectOriginNearPoint(g_pickPoint.x, g_pickPoint.y);
    g_curCommand = cmd::kOriginMove;
    g_commandStep = 1;
    SignalBeep();
    ShowPromptHook(kPromptOriginChosen);
    return;
  }
  if (g_commandEngines.reassignFigureOrigin) g_commandEngines.reassignFigureOrigin(g_pickPoint.x, g_pickPoint.y);
  OnCancelPick(c.view);
}

void DimensionTextClick(ClickContext& c) {
  if (!g_commandEngines.findFigureAtPick || g_commandEngines.findFigureAtPick(kTextRecordSearch) == 0) return;
  g_commandStep = 1;
  if (g_commandEngines.inputDimension) g_commandEngines.inputDimension(c.dc, cmd::kDimensionTextEdit);
}

}  // namespace

bool IsPointKindOf(int kind) {
  return kind == kKindPoint || kind == kKindPointMark || kind == kKindCurvePoint || kind == kKindCurvePointTangent ||
         kind == kKindCurvePointAngle;
}

bool TakesDefinitionPicks(int command) {
  if (!g_commandEngines.definitionCurvePick) return false;
  return (command >= 32959 && command <= 32966) || command == 32968 || (command >= 33188 && command <= 33190) ||
         command == 33203;
}

void DispatchLeftClick(ClickContext& c, platform::Point p) {
  const int state = g_pickState;
  if (state == kPickStateZoomBox) return ZoomBoxClick(c, p);
  if (In(state, {2, 10, 11, 12, 13, 17, 40, 33101, 33103, 33173, 33197, 33198, 33199, 33200, 33204}))
    return BoxClick(c, p);
  if (In(state, {3, 5, 14, 16, 42, 51, kPickStateEndPoint, 141, kPickStateDimLine})) return FigurePickClick(c);
  if (In(state, {kPickStateIntersection, kPickStateHoleCircle, kPickStateMoveTarget, kPickStateDimCross}))
    return PointOnFiguresClick(c);
  if (state == kPickStateWorkFigure) return WorkFigureClick(c);
  if (state == kPickStatePointOnFigure) {
    if (g_commandEngines.addPointOnFigure) g_commandEngines.addPointOnFigure(c.dc, kPromptAddPoint);
    return;
  }
  if (state == 9) return EnterMachine(c);
  if (state == kPickStatePolylineBox) return PolylineBoxClick(c);
  if (In(state, {33, 34, 35, 32905, cmd::kCurveJoin})) return CollectClick(c);
  if (state == 36) return AnalyseClick(c);
  if (state == 38) return OriginChoiceClick(c);
  if (state == 49) return CurvePickClick(c);
  if (In(state, {50, 55, 6144})) return CurveSelectClick(c);
  if (state == 222) return CurveFigureClick(c);
  // The figure picks inside a curve: the curve engine searches the curve.
  if (In(state, {32917, 33075, 32911, 32912, 32921, 32922, 32923, 32924, 32925, 32930, 33202, 32914, 32926, 32929, 33089})) {
    ++g_commandStep;
    return EnterCurveMachine();
  }
  if (state == kPickStateJoin) return JoinClick(c);
  if (state == 630) {
    if (g_commandEngines.pointGroupInput) g_commandEngines.pointGroupInput(c.dc);
    return;
  }
  if (state == 650 || state == 660) return WorkPointClick(c);
  if (In(state, {kPickStateFreePoint, 15, 37, 46, kPickStateDimensionPreview, 32908, 32913, 32915}))
    return TakeFreePoint(c);
  if (In(state, {cmd::kRestyleLineType, cmd::kRestyleColour, cmd::kRestyleWidth})) return RestyleClick(c);
  if (state == cmd::kOriginMove) return OriginMoveClick(c);
  if (state == cmd::kDimensionTextEdit) return DimensionTextClick(c);
}

}  // namespace dorn
