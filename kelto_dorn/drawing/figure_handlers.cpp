// The figure command handlers, the view commands and the install of the
// engine's entries: see figure_handlers.h.
#include "kelto_dorn/drawing/figure_handlers.h"

#include <algorithm>
#include <initializer_list>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_analysis.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/rubber_band.h"

namespace dorn {

namespace {

constexpr int kPickStateDelete = 33;
constexpr int kPickStateReverse = 34;
constexpr int kPickStateClipFirst = 35;
constexpr int kPickStateClipNext = 350;
constexpr int kPickStateAnalyse = 36;
constexpr int kPickStateBox = 2;
constexpr int kPickStatePolylineBox = 22;
constexpr int kBoxPlain = 1;
constexpr int kBoxPolyline = 2;

bool In(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }

constexpr int kRestyleLineType = 33102;
constexpr int kRestyleColour = 33104;
constexpr int kRestyleWidth = 33175;
constexpr int kLikeColour = 33105;
constexpr int kPointGroupNumberStep = 257;

bool IsRestylePick(int state) { return In(state, {kRestyleLineType, kRestyleColour, kRestyleWidth}); }

// Reset, press and wait in a pick state with its prompt.
void StartPicking(int id, int state, int prompt) {
  ResetCommandInput();
  SetActiveCommand(id, 1);
  g_pickState = state;
  ShowPrompt(prompt);
}

// --- BOX selection -------------------------------------------------------------

bool WorksOnBox(int command) {
  return In(command, {0, 32824, 32871, 32873, 32874, 32875, 32876, 32877, 32878, 32879, 32883, 32885, 32908, 32911,
                      32921, 32922, 32923, 32924, 32925, 33012, 33081, 33100, 33101, 33102, 33103, 33104, 33105,
                      33172, 33173, 33175, 33197, 33198, 33199, 33200, 33202, 33204});
}

// The BOX command of an attribute change, or the command itself.
int BoxVariantOf(int command) {
  if (In(command, {33100, kRestyleLineType})) return 33101;
  if (In(command, {kRestyleColour, kLikeColour})) return 33103;
  if (In(command, {33172, kRestyleWidth})) return 33173;
  return command;
}

void StartBoxSelection(int kind) {
  if (g_boxMode != 0) {
    g_boxMode = 0;
    g_pickState = 0;
    RedrawView();
    return;
  }
  int command = g_curCommand;
  if (!WorksOnBox(command)) return;
  g_repeatCount = 1;
  g_inputResult = 0;
  g_returnCommand = 0;
  if (command == 32824) {
    // A running delete becomes the BOX delete.
    SetActiveCommand(command, 0);
    command = 32879;
  }
  const int boxVariant = BoxVariantOf(command);
  ResetCommandInput();
  if (boxVariant != command) {
    // The attribute changes by pick or of like figures take the BOX instead.
    SetActiveCommand(boxVariant, 1);
    command = boxVariant;
  }
  g_curCommand = command;
  g_pickState = kPickStateBox;
  ViewState& v = g_view;
  v.m_boxStart = v.m_boxEnd = {};
  v.m_boxStage = 0;
  v.m_boxFirst = v.m_boxSecond = {};
  g_boxMode = kind;
  if (kind == kBoxPlain) {
    ShowPrompt(12);
    return;
  }
  g_pickState = kPickStatePolylineBox;
  ShowPrompt(22);
  v.m_polylineCount = 0;
  g_rubberBandKind = kBandNone;
  v.m_polylineBox.fill(Vec2{});
}

// 32848 during the clip-connect: the next figure is kept as a new one.
void OnCopy() {
  FigureEngineView& f = g_figureView;
  if (g_pickState == kPickStateClipNext) {
    f.connectColour ^= 10;
    f.keepFlag = 1;
    if (auto dc = GetViewDC()) {
      const FigureRecord saved = g_curFigure;
      g_curFigure = f.chainEnd;
      DrawFigure(f.connectColour + 1, *dc);
      g_curFigure = saved;
    }
    SignalBeep();
    return;
  }
  if (IsRestylePick(g_pickState)) {
    // The figures picked so far take the new attribute.
    if (g_workCount <= 0) return;
    g_commandStep = 1;
    ExecuteFigureCommand(g_curCommand);
    return;
  }
  g_copyMode = g_copyMode == 0 ? 1 : 0;
}

// 33224: the figure colour by picks and the colour of all like figures, in
// turn on each use.
void StartColourChange() {
  g_copyMode = 0;
  FigureEngineView& f = g_figureView;
  const int id = f.colourAlternation == 0 ? kRestyleColour : kLikeColour;
  f.colourAlternation ^= 1;
  BeginFigureCommand(id);
}

}  // namespace

void OnFigureCommand(int id) {
  switch (id) {
    case 32823:
      ResetCommandInput();
      SetActiveCommand(id, 1);
      ExecuteFigureCommand(id);
      return;
    case 32824:
      if (g_layerOverview != 0) {
        g_layerDeleteMarking = 1;
        return;
      }
      StartPicking(id, kPickStateDelete, 290);
      return;
    case 32825:
      StartPicking(id, kPickStateReverse, 10);
      return;
    case 32826:
      StartPicking(id, kPickStateClipFirst, 3);
      g_figureView.clipWorkCount = 5;
      g_figureView.clipEntries.clear();
      g_workCount = 5;
      return;
    case 32827:
      StartPicking(id, kPickStateAnalyse, 2);
      return;
    case 33223:
      ResetCommandInput();
      BeginFigureCommand(id);
      return;
    case kRestyleLineType:
    case kRestyleColour:
    case kRestyleWidth:
      g_copyMode = 0;
      BeginFigureCommand(id);
      return;
    case 33224:
      StartColourChange();
      return;
    case 32821:
      // The points of each input are one point group.
      g_nextFigureNumber += kPointGroupNumberStep;
      BeginFigureCommand(id);
      return;
    case 33103:
      g_figureView.colourAlternation = 0;
      BeginFigureCommand(id);
      return;
    default:
      BeginFigureCommand(id);
      return;
  }
}

void OnViewModeCommand(int id) {
  switch (id) {
    case 33112:
    case 33113:
    case 33114:
    case 33115:
      g_projection = id - 33112;
      RedrawView();
      return;
    case 32776:
      g_showCurveArrows = g_showCurveArrows == 1 ? kCurveArrowNames : 1;
      g_rubberBandKind = kBandNone;
      g_figureView.bandDrawn = false;
      RedrawView();
      return;
    case 32775:
      g_continuousMode ^= 1;
      return;
    case 32864:
      StartBoxSelection(kBoxPlain);
      return;
    case 33247:
      g_boxMode = 0;
      StartBoxSelection(kBoxPolyline);
      return;
    case 32848:
      OnCopy();
      return;
    default:
      return;
  }
}

void InstallFigureEngines() {
  CommandEngines& e = g_commandEngines;
  e.figureCommand = [](int id) { OnFigureCommand(id); };
  e.viewModeCommand = [](int id) { OnViewModeCommand(id); };
  e.executeFigureCommand = [](int kind) { return ExecuteFigureCommand(kind); };
  e.beginFigureCommand = [](int kind) { BeginFigureCommand(kind); };
  e.setActiveCommand = [](int kind, int press) { SetActiveCommand(kind, press); };
  e.eraseRubberBand = [] { return EraseRubberBand(); };
  e.drawRubberBand = [](platform::DeviceContext& dc) { DrawRubberBand(dc); };
  e.addPointOnFigure = [](platform::DeviceContext& dc, int mode) { AddPointOnFigure(dc, mode); };
  e.resetCommandInput = [] { ResetCommandInput(); };
  e.storeAndDrawFigure = [](int mode) { StoreAndDrawFigure(mode); };
  e.showFigureAnalysis = [](platform::DeviceContext& dc) { ShowFigureAnalysis(dc); };
  e.showErrorBox = [](int code) { return ShowErrorBox(code); };
  InstallPromptHooks();
  g_drawingHooks.loadPendingFigure = [] {
    // The figure whose end or mid point is being taken.
    if (g_pickState != 8) return false;
    LoadSegment(0);
    return g_curFigure.kind != kKindEmpty;
  };
}

}  // namespace dorn
