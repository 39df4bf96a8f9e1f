// The figure command engine: dispatch, start, reset, the active command's
// button and the shared steps. See figure_engine.h and figure_steps.h.
#include "kelto_dorn/drawing/figure_engine.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/work_points.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/missing_commands.h"
#include "kelto_dorn/drawing/rubber_band.h"
#include "platform/frame.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kPromptPickValue = 1527;
constexpr int kPromptMousePoint = 137;
constexpr int kPromptIntersection = 13;
constexpr int kPromptTransformPick = 1115;
constexpr int kPickStateFigure = 5;
constexpr int kPickStateEndPoint = 80;
constexpr int kPickStatePointOnFigure = 8;
constexpr int kFirstTransformBlock = 70;
constexpr int kCurveJoin = 32907;

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

bool IsSurfaceId(int id) { return id == 32945 || In(id, 32948, 32953) || id == 33070 || id == 33073; }
bool IsMachiningId(int id) { return In(id, 32959, 32966) || id == 32968 || In(id, 33188, 33190) || id == 33203; }
bool IsDimensionId(int id) { return In(id, 33142, 33151) || id == 33161 || id == 33162 || id == 33164 || id == 33248; }
bool IsCurveId(int id) {
  return id == 32908 || id == 32911 || id == 32913 || id == 32915 || In(id, 32921, 32925) || id == 32933 ||
         id == 33081 || id == 33089 || id == 33141 || id == 33202;
}
// The pick states the repeating commands re-enter the engine with.
bool IsContinuation(int kind) { return kind == 33 || kind == 34 || kind == 35 || kind == 350 || kind == 650; }

// Ids of other families go to their engines; false when `kind` is not one.
bool HandOn(int kind) {
  CommandEngines& e = g_commandEngines;
  if (IsSurfaceId(kind)) return CallOtherFamily(kind, e.surfaceCommand);
  if (IsMachiningId(kind)) return CallOtherFamily(kind, e.machiningCommand);
  if (IsDimensionId(kind)) {
    if (!e.inputDimension) return CallOtherFamily(kind, {});
    if (auto dc = GetViewDC()) e.inputDimension(*dc, kind);
    return true;
  }
  // The clip-connect of the curve family is its join registration, which
  // collects the figures into the curve being registered.
  if (IsCurveId(kind) || kind == kCurveJoin) {
    if (!e.dispatchCurveCommand) return CallOtherFamily(kind, {});
    e.dispatchCurveCommand(kind);
    return true;
  }
  return false;
}

int RunStep(int kind) {
  EraseRubberBand();
  g_pointDefaultX = g_pointDefaultY = "0";
  if (!IsContinuation(kind)) g_curCommand = kind;
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  if (g_pickState == kPickStateEndPoint && (g_commandStep & kStepFigurePick) != 0) {
    // The figure whose end or mid point is wanted was picked: the point on it
    // is clicked next, and the step waits for it.
    g_commandStep = (g_commandStep & kStepInputMask) - 1;
    g_pickState = kPickStatePointOnFigure;
    ShowPrompt(kPromptMousePoint);
    return 1;
  }
  if (HandOn(kind)) return 1;
  for (auto run : {RunLineCommand, RunCircleCommand, RunTransformCommand, RunEditCommand, RunOperationCommand,
                    RunAttributeCommand, RunPointGroupCommand}) {
    const int result = run(kind);
    if (result != -1) return result;
  }
  g_pickState = 0;
  return -1;
}

// The finished command: its button released and, in continuous mode, a
// restart once the outermost call has unwound.
void WayOut(int kind) {
  if (g_pickState != kPickStateFinished) return;
  g_pickState = 0;
  const int command = IsContinuation(kind) ? g_curCommand : kind;
  SetActiveCommand(command, 0);
  RedrawView();
  if (g_continuousMode != 0) g_figureView.restartCommand = command;
}

bool g_restarting = false;

}  // namespace

// --- The engine ---------------------------------------------------------------

int ExecuteFigureCommand(int kind) {
  FigureEngineView& v = g_figureView;
  ++v.depth;
  const int result = RunStep(kind);
  WayOut(kind);
  --v.depth;
  if (v.depth == 0 && !g_restarting) {
    g_restarting = true;
    while (v.restartCommand != 0) {
      const int again = v.restartCommand;
      v.restartCommand = 0;
      BeginFigureCommand(again);
    }
    g_restarting = false;
  }
  return result;
}

void BeginFigureCommand(int kind) {
  g_figureView.ctrlCollected = 0;
  g_inputResult = 0;
  g_returnCommand = 0;
  ResetCommandInput();
  SetActiveCommand(kind, 1);
  ExecuteFigureCommand(kind);
  if (g_inputResult < 0) SetActiveCommand(kind, 0);
}

void ResetCommandInput() {
  g_inputArea = CommandInputs{};
  g_selectionList.fill(kNone);
  g_view.m_crossHair = 0;
  g_pickExcludeIndex = -1;
  g_pickTestIndex = -1;
  CancelPickState(kCancelBlocksOnly);
  ClearCurrentFigure();
  g_commandStep = 0;
  g_pickState = 0;
  g_boxMode = 0;
  g_snapMode = 0;
  g_pickIndex = 0;
  g_drawingView.m_pendingChoice = 0;
  g_drawingView.m_workPickMode = kWorkPickAmong;
  g_rubberBandKind = kBandNone;
  g_figureView.bandDrawn = false;
  g_curCommand = 0;
  g_curCurveIndex = kNone;
  ShowPrompt(kPromptCleared);
}

void SetActiveCommand(int kind, int press) {
  FigureEngineView& v = g_figureView;
  g_curCommand = kind;
  platform::Frame* frame = GetAppMainWnd();
  if (press == 1) {
    if (frame && v.pressedCommand != 0 && v.pressedCommand != kind) frame->SetCommandPressed(v.pressedCommand, false);
    if (frame) frame->SetCommandPressed(kind, true);
    v.pressedCommand = kind;
  } else {
    if (frame) frame->SetCommandPressed(kind, false);
    v.pressedCommand = 0;
  }
  g_inputResult = 0;
  EraseRubberBand();
}

// --- Shared steps ----------------------------------------------------------------

int Step() { return g_commandStep & kStepInputMask; }

void AdvanceStep() { g_commandStep = (g_commandStep & ~kStepInputMask) | ((Step() + 1) & kStepInputMask); }

void SetValueTexts(const std::string& titleCp932, const char* label) {
  g_inputTitle = titleCp932;
  g_valueLabel = platform::Sjis(label);
}

void SetPointTexts(const std::string& titleCp932, const char* labelX, const char* labelY) {
  g_inputTitle = titleCp932;
  g_pointLabelX = platform::Sjis(labelX);
  g_pointLabelY = platform::Sjis(labelY);
}

namespace {
template <class... Args>
std::string FormatCp932(const char* utf8Format, Args... args) {
  const std::string& format = platform::Sjis(utf8Format);
  const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  if (n <= 0) return format;
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format.c_str(), args...);
  s.resize(static_cast<std::size_t>(n));
  return s;
}
}  // namespace

std::string Title(const char* utf8Format) { return platform::Sjis(utf8Format); }
std::string Title(const char* f, double a) { return FormatCp932(f, a); }
std::string Title(const char* f, double a, double b) { return FormatCp932(f, a, b); }
std::string Title(const char* f, double a, double b, double c) { return FormatCp932(f, a, b, c); }

namespace {

// A request ended without an answer: what the command shows then.
int AfterRequest(int result, bool point) {
  g_inputResult = result;
  if (result < 0) {
    ShowPrompt(kPromptCleared);
    g_pickState = 0;
    g_commandStep = 0;
    g_curCurveIndex = kNone;
    return result;
  }
  if (result == 1) ShowPrompt(point ? kPromptMousePoint : kPromptPickValue);
  if (point && result == 2) ShowPrompt(kPromptIntersection);
  if (point && result == 3) ShowPrompt(kPromptPickValue);
  return result;
}

// The point modes a command keeps for its next point: once the user chose
// the mouse, an intersection or an end point, the next point comes the same
// way without the dialog.
bool IsPointPickState(int state) { return state == 4 || state == 6 || state == 80 || state == 8; }

}  // namespace

int PromptValueStep(const std::function<bool(double)>& accept) {
  // A value is always asked by its dialog.
  g_pickState = 0;
  int result = PromptValue();
  while (result == kPromptTyped && (!std::isfinite(ValueInputValue) || (accept && !accept(ValueInputValue)))) {
    SignalBeep();
    result = PromptValue();
  }
  return AfterRequest(result, false);
}

int PromptPointStep() {
  if (IsPointPickState(g_pickState)) {
    if (g_pickState == 8) g_pickState = 80;
    g_pickIndex = 0;
  } else {
    g_pickState = 0;
  }
  int result = PromptPoint();
  while (result == kPromptTyped && (!std::isfinite(PointInputValue.x) || !std::isfinite(PointInputValue.y))) {
    SignalBeep();
    result = PromptPoint();
  }
  return AfterRequest(result, true);
}

void AwaitFigurePick(int prompt) {
  g_pickState = kPickStateFigure;
  if (Step() == 0) {
    g_commandStep = kStepFigurePick;
  } else {
    g_commandStep |= kStepFigurePick;
  }
  g_pickIndex = 0;
  ShowPrompt(prompt);
}

void TakePickedFigure(int block) {
  CopySegment(0, block);
  if (block >= 0 && block < static_cast<int>(g_inputArea.pickedIndex.size())) {
    g_inputArea.pickedIndex[static_cast<std::size_t>(block)] = g_pickFoundIndex;
    g_inputArea.pickedTable = g_pickFoundTable;
  }
}

void TakeUndoSnapshot() {
  g_undoSaved = 0;
  SnapshotForUndo(kUndoTypeTable);
}

bool StoreNewFigure() {
  g_curFigure.number = 0;
  g_curFigure.group = 0;
  return StoreAndDrawFigure(0);
}

Vec2 InFrame(Vec2 point, Vec2 origin) {
  const Vec2 current = CurrentLayerOrigin();
  return {point.x + current.x - origin.x, point.y + current.y - origin.y};
}

bool FinishFigure() {
  TakeUndoSnapshot();
  const bool stored = StoreNewFigure();
  g_pickState = kPickStateFinished;
  return stored;
}

void ChooseCandidates(int n) {
  TakeUndoSnapshot();
  ResetPickSlots(n);
}

void EndCommand() { g_pickState = kPickStateFinished; }

bool NonZero(double v) { return v != 0.0; }
bool Positive(double v) { return v > 0.0; }

// --- The start of the transforms ---------------------------------------------------

int SelectFiguresStep() {
  FigureEngineView& v = g_figureView;
  if (g_commandStep < 0) {
    g_pickState = 0;
    return -1;
  }
  if (g_boxMode != 0) {
    if (Step() == 0) g_commandStep = 1;
    return 0;
  }
  if (g_view.m_ctrlKeyState < 0 && Step() == 1) {
    // CTRL held: the figure joins the list and the next pick adds another.
    const int n = v.ctrlCollected;
    if (kFirstTransformBlock + n + 1 < kSegmentBlockCount) {
      CopySegment(0, kFirstTransformBlock + n);
      CopySegment(0, kFirstCandidateBlock);
      ++v.ctrlCollected;
      if (FigureRecord* end = g_figureStore.SegmentBlock(kFirstTransformBlock + n + 1)) end->kind = kKindEmpty;
    }
    g_commandStep = 0;
  }
  if (Step() == 0) {
    g_pickIndex = 0;
    g_pickState = kPickStateFigure;
    g_commandStep = kStepFigurePick;
    ShowPrompt(kPromptTransformPick);
    return 1;
  }
  if (v.ctrlCollected == 0) {
    // A single pick without CTRL: it alone is the list.
    CopySegment(0, kFirstTransformBlock);
    if (FigureRecord* end = g_figureStore.SegmentBlock(kFirstTransformBlock + 1)) end->kind = kKindEmpty;
  } else {
    // The last pick joins the collected ones.
    const int n = v.ctrlCollected;
    CopySegment(0, kFirstTransformBlock + n);
    ++v.ctrlCollected;
    if (FigureRecord* end = g_figureStore.SegmentBlock(kFirstTransformBlock + n + 1)) end->kind = kKindEmpty;
  }
  return 0;
}

}  // namespace dorn
