// The steps of the edits of picked figures: the repeating delete and
// reverse, the clip-connect, the clipping between two points, the corner
// chamfer and the two-figure analysis.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_analysis.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/pick_hit_test.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"

namespace dorn {

namespace {

constexpr int kPickStateDelete = 33;
constexpr int kPickStateReverse = 34;
constexpr int kPickStateClipFigure = 14;
constexpr int kPickStateClipEnd = 15;
constexpr int kPickStateCornerFigure = 51;
constexpr int kPickStateMousePoint = 4;
constexpr int kPromptDelete = 290;
constexpr int kPromptReverse = 10;
constexpr int kPromptPickFigure = 1527;
constexpr int kPromptFirstFigure = 13;
constexpr int kPromptSecondFigure = 130;
constexpr int kPromptClipStart = 160;
constexpr int kPromptClipEnd = 161;
constexpr int kErrorNotTouching = -20;

// The repeating commands wait for their next figure.
void AwaitNext(int state, int prompt) {
  g_workCount = 0;
  g_pickIndex = 0;
  g_commandStep = 0;
  g_pickState = state;
  ShowPrompt(prompt);
}

// 33: the figure just picked is deleted.
int DeletePicked() {
  const int table = g_pickFoundTable, index = g_pickFoundIndex;
  if (table >= 0 && index >= 0 && index < GetFigureCount(table)) {
    g_editFigureIndex = index;
    g_undoSaved = 0;
    SnapshotForUndo(kUndoTypeTable);
    const int saved = g_figureTableSelector;
    g_figureTableSelector = table;
    DeleteFigure(index);
    g_figureTableSelector = saved;
    RedrawView();
  }
  AwaitNext(kPickStateDelete, kPromptDelete);
  return 1;
}

// 34: the figure just picked is reversed.
int ReversePicked() {
  ReverseFigureDirection(1);
  AwaitNext(kPickStateReverse, kPromptReverse);
  return 1;
}

// 32823: a picked line or arc is clipped between two points.
int ClipBetweenPoints() {
  const int step = Step();
  if (step == 0) {
    g_pickState = kPickStateClipFigure;
    g_returnPickState = kPickStateMousePoint;
    ShowPrompt(kPromptPickFigure);
    return 1;
  }
  if (step == 1) {
    LoadSegment(0);
    if (g_curFigure.kind != kKindLine && g_curFigure.kind != kKindArc) {
      g_commandStep = 0;
      return ClipBetweenPoints();
    }
    CopySegment(0, 5);
    g_editFigureIndex = g_pickFoundIndex;
    g_inputArea.pickedTable = g_pickFoundTable;
    SetPointTexts(Title("[ クリッピング表示 ] : 始点を入力して下さい ..."), "［Cx］＝ ", "［Cy］＝ ");
    const int result = PromptPointStep();
    if (result == 1) ShowPrompt(kPromptClipStart);
    if (result == 2) ShowPrompt(kPromptSecondFigure);
    if (result != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 2) {
    g_inputArea.points[0] = PointInputValue;
    SetPointTexts(Title("[ クリッピング表示 ] : 終点を入力して下さい ..."), "［Cx］＝ ", "［Cy］＝ ");
    const int result = PromptPointStep();
    if (result == 1) {
      g_pickState = kPickStateClipEnd;
      ShowPrompt(kPromptClipEnd);
    }
    if (result != 0) return 1;
    AdvanceStep();
  }
  const FigureRecord* f = g_figureStore.SegmentBlock(5);
  PreparePickedLineOrArc(InFrame(g_inputArea.points[0], f->origin), InFrame(PointInputValue, f->origin),
                         g_inputArea.pickedTable, g_editFigureIndex);
  RedrawView();
  // The command waits for the next figure.
  g_commandStep = 0;
  return ClipBetweenPoints();
}

// The point at distance c from the corner along the figure, and which end
// of the figure is the corner: false when neither end lies on `reference`.
bool CornerEnd(const FigureRecord& figure, const FigureRecord& reference, double c, FigureRecord& shortened) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = figure;
  int at = kPointOutside;
  Vec2 corner;
  for (Vec2 p : {reference.start, reference.end}) {
    const Vec2 local{p.x + reference.origin.x - figure.origin.x, p.y + reference.origin.y - figure.origin.y};
    at = PartialLengthToPoint(local.x, local.y, kEndsOnly);
    if (at == kPointAtStart || at == kPointAtEnd) {
      corner = local;
      break;
    }
  }
  g_curFigure = saved;
  if (at != kPointAtStart && at != kPointAtEnd) return false;
  shortened = figure;
  const bool atStart = at == kPointAtStart;
  if (figure.kind == kKindLine) {
    const Vec2 d = figure.dir;
    if (atStart) {
      shortened.start = {figure.start.x + c * d.x, figure.start.y + c * d.y};
    } else {
      shortened.end = {figure.end.x - c * d.x, figure.end.y - c * d.y};
    }
    return true;
  }
  // An arc: where a circle of radius c about the corner crosses it.
  const FigureRecord hit = IntersectFigures(figure, CircleFigure(corner, c, figure.origin));
  if (hit.number != kHitOnePoint && hit.number != kHitTwoPoints && hit.number != kHitTouching) return false;
  Vec2 p = hit.start;
  if (hit.number == kHitTwoPoints && PointOnFigure(figure, hit.start) != kOnFigure) p = hit.end;
  (atStart ? shortened.start : shortened.end) = p;
  return true;
}

// The end of `f` that was moved (the one that differs from `original`).
Vec2 MovedEnd(const FigureRecord& f, const FigureRecord& original) {
  const Vec2 local = f.start == original.start ? f.end : f.start;
  return {local.x + f.origin.x, local.y + f.origin.y};
}

void WriteBack(const FigureRecord& f, int table, int index) {
  g_curFigure = f;
  if (f.kind == kKindLine) ComputeLineDirection(kCurrentFigure);
  PutFigure(table, index);
}

// 33107: the chamfer of the corner between two picked figures.
int CornerChamfer() {
  const int step = Step();
  if (step == 0 || step == 1) {
    if (step == 1) TakePickedFigure(1);
    g_pickState = kPickStateCornerFigure;
    g_commandStep = step == 0 ? kStepFigurePick : (g_commandStep | kStepFigurePick);
    g_pickIndex = 0;
    ShowPrompt(step == 0 ? kPromptFirstFigure : kPromptSecondFigure);
    return 1;
  }
  if (step == 2) {
    TakePickedFigure(2);
    SetValueTexts(Title("[ 面取り ] : カット量を入力して下さい..."), "［Ｃ］= ");
    if (PromptValueStep(Positive) != 0) return 1;
    AdvanceStep();
  }
  const double c = ValueInputValue;
  const FigureRecord first = *g_figureStore.SegmentBlock(1), second = *g_figureStore.SegmentBlock(2);
  FigureRecord newFirst, newSecond;
  // Both corner ends are sought against the other figure as it was picked.
  if (!CornerEnd(first, second, c, newFirst) || !CornerEnd(second, first, c, newSecond)) {
    ShowErrorCode(kErrorNotTouching);
    EndCommand();
    return 0;
  }
  TakeUndoSnapshot();
  const int table = g_inputArea.pickedTable;
  WriteBack(newFirst, table, g_inputArea.pickedIndex[1]);
  WriteBack(newSecond, table, g_inputArea.pickedIndex[2]);
  const Vec2 a = MovedEnd(newFirst, first), b = MovedEnd(newSecond, second);
  const Vec2 origin = CurrentLayerOrigin();
  g_curFigure = first;
  g_curFigure.kind = kKindLine;
  g_curFigure.number = g_curFigure.group = 0;
  g_curFigure.start = {a.x - origin.x, a.y - origin.y};
  g_curFigure.end = {b.x - origin.x, b.y - origin.y};
  g_curFigure.centre = {};
  g_curFigure.radius = 0.0;
  ComputeLineDirection(kCurrentFigure);
  StoreAndDrawFigure(kStoreKeepColour);
  RedrawView();
  EndCommand();
  return 0;
}

// 33223: the analysis of two picked figures.
int AnalyseTwo() {
  const int step = Step();
  if (step == 0) {
    AwaitFigurePick(kPromptFirstFigure);
    return 1;
  }
  if (step == 1) {
    CopySegment(0, 8);
    AwaitFigurePick(kPromptSecondFigure);
    return 1;
  }
  CopySegment(0, 9);
  AnalyseTwoFigures();
  EndCommand();
  return 0;
}

}  // namespace

int RunEditCommand(int kind) {
  switch (kind) {
    case kPickStateDelete:
      return DeletePicked();
    case kPickStateReverse:
      return ReversePicked();
    case 35:
      return ClipConnectFirst();
    case 350:
      return ClipConnectNext();
    case 32823:
      return ClipBetweenPoints();
    case 33107:
      return CornerChamfer();
    case 33223:
      return AnalyseTwo();
    default:
      return -1;
  }
}

}  // namespace dorn
