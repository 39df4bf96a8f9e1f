// The steps the click dispatch shares: entering the machines, ending and
// resuming a pick, the free point, the second figure's intersection and the
// join step of the curve join. See pick_dispatch.h.
#include <cmath>
#include <limits>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_routes.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"

namespace dorn {

namespace {

constexpr int kPromptCleared = 0;
constexpr int kPromptMoveTarget = 617;
constexpr int kPromptChooseIntersection = 442;
constexpr int kErrorNoJoint = 0;
constexpr int kJoinAppended = 32826;
// The work list of the join may not grow past the segment blocks less a margin.
constexpr int kJoinWorkLimit = kSegmentBlockCount - 58;
// The join keeps its first five blocks for itself.
constexpr int kJoinFirstWorkBlock = 5;

bool IsMoveCommand(int command) { return command == 32873 || command == 32878 || command == 32921; }

// Of two joints with the chain end, the one nearer to the click becomes the
// figure's own intersection choice (the low four bits of its choice word):
// the joint computed again from the chain is then the one the user chose.
void KeepJointNearestTo(FigureRecord& next, const FigureRecord& end, const Vec2& click) {
  constexpr int kChoiceBits = 0xF;
  double nearest = std::numeric_limits<double>::infinity();
  int chosen = next.choice & kChoiceBits;
  for (const int choice : {0, 1}) {
    FigureRecord candidate = next;
    candidate.choice = (next.choice & ~kChoiceBits) | choice;
    const FigureRecord joint = IntersectFigures(AbsoluteFigure(end), AbsoluteFigure(candidate));
    if (joint.number != kHitOnePoint && joint.number != kHitTouching) continue;
    const double distance = std::hypot(joint.start.x - click.x, joint.start.y - click.y);
    if (distance < nearest) {
      nearest = distance;
      chosen = choice;
    }
  }
  next.choice = (next.choice & ~kChoiceBits) | chosen;
}

}  // namespace

FigureRecord& PendingIntersectionChoice() {
  static FigureRecord choice;
  return choice;
}

void DrawBlock(platform::DeviceContext& dc, int block, int colour) {
  const FigureRecord saved = g_curFigure;
  LoadSegment(block);
  if (g_curFigure.kind != kKindEmpty) DrawFigure(colour < 0 ? (g_curFigure.attribute & kAttrColourMask) : colour, dc);
  g_curFigure = saved;
}

void DrawPointAt(platform::DeviceContext& dc, const Vec2& point, int colour) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindPoint;
  g_curFigure.start = point;
  DrawFigure(colour, dc);
  g_curFigure = saved;
}

void ShowPointPickPrompt() {
  if (g_curCommand == cmd::kClipping) return;
  const bool hole = g_pickState == kPickStateHoleCircle;
  int prompt = hole ? 135 : 13;
  if (g_pickIndex == kChoosingIntersection)
    prompt = kPromptChooseIntersection;
  else if (g_pickIndex == 1)
    prompt = 130;
  else if (g_pickIndex >= 2)
    prompt = hole ? 133 : 888;
  ShowPromptHook(prompt);
}

void EnterMachineWith(ClickContext& c, int command) {
  if (!g_commandEngines.executeFigureCommand) return;
  const int result = g_commandEngines.executeFigureCommand(command);
  if (result < 0 && !c.ctrl) c.view.EndPick(g_curCommand);
}

void EnterMachine(ClickContext& c) {
  ++g_commandStep;
  EnterMachineWith(c, g_curCommand);
}

void EnterCurveMachine() {
  if (g_commandEngines.dispatchCurveCommand) g_commandEngines.dispatchCurveCommand(g_curCommand);
}

void ResetViewCommandInput() {
  if (g_commandEngines.resetCommandInput) {
    g_commandEngines.resetCommandInput();
    return;
  }
  // Without the figure engine: the least of its reset, the view idle again.
  g_commandStep = 0;
  g_pickState = 0;
  g_snapMode = 0;
  g_pickIndex = 0;
  g_curCommand = 0;
  ShowPromptHook(kPromptCleared);
}

void CKelView::EndPick(int command) {
  if (auto dc = GetPreparedDC()) {
    DrawBlock(*dc, 0);
    DrawBlock(*dc, 1);
  }
  if (g_commandEngines.setActiveCommand) {
    g_commandEngines.setActiveCommand(command, 0);
  } else if (platform::Frame* frame = GetAppMainWnd()) {
    frame->SetCommandPressed(command, false);
  }
  ResetViewCommandInput();
  ViewState& v = g_view;
  v.m_polylineCount = 0;
  g_layerDeleteMarking = 0;
  v.m_boxStart = v.m_boxEnd = {};
  v.m_boxStage = 0;
  v.m_tiltAngle1 = v.m_tiltAngle2 = 0.0;
  v.m_placeByMouse = 0;
  v.m_pointProposed = false;
}

void CKelView::ResumePickCommand() {
  if (g_view.m_twoPointMove && IsMoveCommand(g_curCommand) && g_pickState != kPickStateMoveTarget) {
    // The first of two points: the move waits for its target.
    g_view.m_moveStart = PointInputValue;
    g_pickIndex = 0;
    ShowPromptHook(kPromptMoveTarget);
    g_pickState = kPickStateMoveTarget;
    return;
  }
  g_commandStep = (g_commandStep & kStepCountMask) + 1;
  ShowPromptHook(kPromptCleared);
  g_pickPoint = PointInputValue;
  g_snapMode = 0;
  g_pickResult = 1;
  // A point asked for by a curve command goes back to the curve engine.
  if (FamilyOf(g_curCommand) == RouteFamily::kCurve) return EnterCurveMachine();
  if (!g_commandEngines.executeFigureCommand) return;
  const int result = g_commandEngines.executeFigureCommand(g_curCommand);
  if (result < 0 && g_view.m_ctrlKeyState >= 0) EndPick(g_curCommand);
}

Vec2 FromCurrentOrigin(Vec2 absolute) {
  const Vec2 origin = CurrentLayerOrigin();
  return {absolute.x - origin.x, absolute.y - origin.y};
}

void TakeFreePoint(ClickContext& c) {
  const Vec2 origin = CurrentLayerOrigin();
  PointInputValue = FromCurrentOrigin(g_pickPoint);
  const FigureRecord saved = g_curFigure;
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindPoint;
  g_curFigure.origin = origin;
  g_curFigure.start = PointInputValue;
  DrawFigure(kHighlightColour, c.dc);
  if (g_pickState != 32915 && g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(c.dc);
  g_curFigure = saved;
  g_snapMode = 0;
  switch (g_pickState) {
    case kPickStateDimensionPreview:
      g_commandStep = 100;
      if (g_commandEngines.inputDimension) g_commandEngines.inputDimension(c.dc, g_curCommand);
      return;
    case 32908:
    case 32913:
    case 32915:
      ++g_commandStep;
      EnterCurveMachine();
      return;
    default:
      c.view.ResumePickCommand();
      return;
  }
}

void PickSecondFigurePoint(ClickContext& c) {
  LoadSegment(0);
  const FigureRecord first = AbsoluteFigure(g_curFigure);
  LoadSegment(1);
  const FigureRecord second = AbsoluteFigure(g_curFigure);
  const FigureRecord hit = IntersectFigures(first, second);
  if (hit.number == kHitOnePoint || hit.number == kHitTouching) {
    PointInputValue = FromCurrentOrigin(hit.start);
    DrawPointAt(c.dc, hit.start, kHighlightColour);
    c.view.ResumePickCommand();
  } else if (hit.number == kHitTwoPoints) {
    PendingIntersectionChoice() = hit;
    DrawPointAt(c.dc, hit.start, kHighlightColour);
    DrawPointAt(c.dc, hit.end, kHighlightColour);
    g_pickIndex = kChoosingIntersection;
  }
  // No intersection: the picks stay as they are.
}

int JoinNextFigure(ClickContext& c) {
  FigureRecord next;
  if (g_pickIndex == kChoosingIntersection) {
    // The chosen joint is the candidate nearer to the click.
    const FigureRecord& choice = PendingIntersectionChoice();
    DrawPointAt(c.dc, choice.start, 0);
    DrawPointAt(c.dc, choice.end, 0);
    g_pickIndex = 1;
    LoadSegment(1);
    const FigureRecord end = g_curFigure;
    LoadSegment(2);
    next = g_curFigure;
    KeepJointNearestTo(next, end, g_pickPoint);
  } else {
    if (!g_commandEngines.pickFigureOrCurve || !g_commandEngines.pickFigureOrCurve(0)) return 0;
    next = g_curFigure;
    LoadSegment(1);
    const FigureRecord end = g_curFigure;
    if (g_curCommand == cmd::kCurveJoin && next.number == end.number && next.start == end.start &&
        next.end == end.end) {
      TakeBackJoinedFigure(c);
      return 0;
    }
    const FigureRecord joint = IntersectFigures(AbsoluteFigure(end), AbsoluteFigure(next));
    if (joint.number == kHitSameLine || joint.number == kHitNone) {
      if (g_commandEngines.showErrorBox) g_commandEngines.showErrorBox(kErrorNoJoint);
      return 0;
    }
    if (joint.number == kHitTwoPoints) {
      PendingIntersectionChoice() = joint;
      g_curFigure = next;
      StoreSegment(2);  // the figure waits in block 2 for the choice
      DrawPointAt(c.dc, joint.start, kHighlightColour);
      DrawPointAt(c.dc, joint.end, kHighlightColour);
      g_pickIndex = kChoosingIntersection;
      ShowPromptHook(kPromptChooseIntersection);
      return 0;
    }
  }
  if (g_workCount < kJoinFirstWorkBlock) g_workCount = kJoinFirstWorkBlock;
  if (g_workCount >= kJoinWorkLimit) return 0;
  g_curFigure = next;
  StoreSegment(g_workCount++);
  StoreSegment(0);
  StoreSegment(1);
  DrawFigure(kHighlightColour, c.dc);
  return kJoinAppended;
}

void TakeBackJoinedFigure(ClickContext& c) {
  // Blocks 0-4 are the join's own; a chain figure lies beyond them.
  if (g_curCommand != cmd::kCurveJoin || g_workCount <= kJoinFirstWorkBlock) return;
  DrawBlock(c.dc, g_workCount - 1);
  --g_workCount;
  if (g_pickIndex > 0) --g_pickIndex;
  SignalBeep();
  if (g_workCount == kJoinFirstWorkBlock) {
    // The chain is empty again: no end figure.
    ClearCurrentFigure();
    StoreSegment(0);
    StoreSegment(1);
    return;
  }
  LoadSegment(g_workCount - 1);
  StoreSegment(0);
  StoreSegment(1);
  DrawFigure(kHighlightColour, c.dc);
  if (g_commandEngines.showFigureAnalysis) g_commandEngines.showFigureAnalysis(c.dc);
  g_pickPoint = AbsoluteFigure(g_curFigure).end;
}

}  // namespace dorn
