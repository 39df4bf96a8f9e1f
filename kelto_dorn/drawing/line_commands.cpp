// The steps of the line commands: horizontal and vertical lines with their
// clipping, a line by a point and an angle, the cross, the line through two
// points, the tangent lines, the polyline and the mid line.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/construction_line_clip.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/line_constructions.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"
#include "kelto_dorn/drawing/rubber_band.h"

namespace dorn {

namespace {

constexpr int kPromptArcPick = 5;
constexpr int kPromptFirstFigure = 13;
constexpr int kPromptSecondFigure = 130;
constexpr int kPromptClipStart = 160;
constexpr int kPromptClipEnd = 161;
constexpr int kPickStateMousePoint = 4;
constexpr int kPickStateClipEnd = 15;
constexpr int kStepClipStart = 3;
constexpr int kHighlightColour = 1;
constexpr int kPromptClosed = 99;

Vec2 Entered() { return PointInputValue; }

// A line of the current origin's frame along `dir` through `through`, from
// edge to edge of the visible area; kind 0 without a view.
FigureRecord AcrossView(Vec2 through, Vec2 dir) {
  return ConstructionLineAcrossView(through, dir, CurrentLayerOrigin());
}

void SetLine(Vec2 start, Vec2 end) {
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.start = start;
  g_curFigure.end = end;
  ComputeLineDirection(kCurrentFigure);
}

// The stored line becomes the figure to clip: highlighted in block 5, its
// start point awaited by mouse.
void OfferClipping() {
  g_editFigureIndex = GetFigureCount(g_curLayer) - 1;
  GetFigure(g_curLayer, g_editFigureIndex);
  StoreSegment(5);
  if (auto dc = GetViewDC()) DrawFigure(kHighlightColour, *dc);
  g_pickState = kPickStateMousePoint;
  ShowPrompt(kPromptClipStart);
  g_commandStep = kStepClipStart;
}

// Steps 4 and 5 of the construction lines: the two points between which the
// new line is kept.
int ClipNewLine() {
  if (Step() == kStepClipStart + 1) {
    g_inputArea.points[0] = Entered();
    g_inputArea.pointCount = 1;
    g_pickState = kPickStateClipEnd;
    ShowPrompt(kPromptClipEnd);
    return 1;
  }
  // The figure to clip is the line the command stored last (a mid line may
  // have come through the candidate choice).
  g_editFigureIndex = GetFigureCount(g_curLayer) - 1;
  GetFigure(g_curLayer, g_editFigureIndex);
  StoreSegment(5);
  PreparePickedLineOrArc(InFrame(g_inputArea.points[0], g_curFigure.origin), InFrame(Entered(), g_curFigure.origin),
                         g_curLayer, g_editFigureIndex);
  RedrawView();
  EndCommand();
  return 0;
}

// 32833 and 32834: a horizontal or vertical line across the view.
int AxisParallelLine(bool horizontal) {
  if (Step() > kStepClipStart) return ClipNewLine();
  if (Step() == 0) {
    SetValueTexts(Title(horizontal ? "＊＊　水平線を入力して下さい.........." : "＊＊　垂直線を入力して下さい.........."),
                  horizontal ? "［Ｙ］＝ " : "［Ｘ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  const double v = ValueInputValue;
  g_curFigure = horizontal ? AcrossView({0.0, v}, {1.0, 0.0}) : AcrossView({v, 0.0}, {0.0, 1.0});
  if (g_curFigure.kind == kKindEmpty || !FinishFigure()) {
    EndCommand();
    return 0;
  }
  OfferClipping();
  return 1;
}

// 32835: from a point in the direction of an angle up to the view's edge.
int PointAngleLine() {
  if (Step() == 0) {
    SetPointTexts(Title("[ １点角度 ] : 通る点を入力して下さい ......"), "［Ｘ］＝ ", "［Ｙ］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 1) {
    g_inputArea.points[0] = Entered();
    SetValueTexts(Title("[ １点角度 (%f %f)] : 角度を入力して下さい...", Entered().x, Entered().y), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  const Vec2 p = g_inputArea.points[0];
  FigureRecord line = LineFigure(p, UnitVectorFromAngle(ValueInputValue), CurrentLayerOrigin());
  Vec2 end;
  if (!ClipConstructionLineToView(line, 0, end)) {
    EndCommand();
    return 0;
  }
  SetLine(p, end);
  FinishFigure();
  return 0;
}

// 33054: two lines through a point, at the angle and the angle + 90.
int CrossLines() {
  if (Step() == 0) {
    SetPointTexts(Title("[ 十字線 ] : 中心点を入力して下さい ......"), "［Ｘ］＝ ", "［Ｙ］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 1) {
    g_inputArea.points[0] = Entered();
    SetValueTexts(Title("[ 十字線 (%f %f)] : 角度を入力して下さい...", Entered().x, Entered().y), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  const Vec2 p = g_inputArea.points[0];
  const double angle = ValueInputValue;
  TakeUndoSnapshot();
  for (double a : {angle, angle + 90.0}) {
    g_curFigure = AcrossView(p, UnitVectorFromAngle(a));
    if (g_curFigure.kind == kKindEmpty || !StoreNewFigure()) break;
  }
  EndCommand();
  return 0;
}

// 32837: the line between two points.
int TwoPointLine() {
  if (Step() == 0) {
    g_pointDefaultX.clear();
    g_pointDefaultY.clear();
    SetPointTexts(Title("[ ２点 ] : 通る点を入力して下さい ......"), "［SＸ］＝ ", "［SＹ］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 1) {
    const Vec2 p = Entered();
    g_inputArea.points[0] = p;
    g_pointDefaultX.clear();
    g_pointDefaultY.clear();
    SetPointTexts(Title("[ ２点 (%f %f) -> ] : 通る点を入力して下さい ...", p.x, p.y), "［EＸ］＝ ", "［EＹ］＝ ");
    const int result = PromptPointStep();
    if (result == 1) StartRubberBand(kBandLineFromPoint, p.x, p.y);
    if (result != 0) return 1;
    AdvanceStep();
  }
  SetLine(g_inputArea.points[0], Entered());
  FinishFigure();
  return 0;
}

// 32838: the tangents from a point to a picked arc.
int PointTangentLine() {
  if (Step() == 0) {
    SetPointTexts(Title("[ １点と接円 ] : 通る点を入力して下さい ..."), "［Ｘ］＝ ", "［Ｙ］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 1) {
    g_inputArea.points[0] = Entered();
    AwaitFigurePick(kPromptArcPick);
    return 1;
  }
  TakePickedFigure(2);
  LoadSegment(2);
  if (g_curFigure.kind != kKindArc) {
    AwaitFigurePick(kPromptArcPick);
    g_commandStep = kStepFigurePick | 1;
    return 1;
  }
  const Vec2 p = InFrame(g_inputArea.points[0], g_curFigure.origin);
  TakeUndoSnapshot();
  LineThroughPointTangentToArc(p.x, p.y);
  return 1;
}

// 32839: the two tangents of a picked arc at an angle.
int AngleTangentLine() {
  if (Step() == 0) {
    SetValueTexts(Title("[ 角度と接円 ] : 直線の角度を入力して下さい..."), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    g_inputArea.values[0] = ValueInputValue;
    AdvanceStep();
  }
  if (Step() == 1) {
    g_inputArea.values[0] = ValueInputValue;
    AwaitFigurePick(kPromptArcPick);
    return 1;
  }
  TakePickedFigure(1);
  LoadSegment(1);
  if (g_curFigure.kind != kKindArc) {
    AwaitFigurePick(kPromptArcPick);
    g_commandStep = kStepFigurePick | 1;
    return 1;
  }
  const Vec2 dir = UnitVectorFromAngle(g_inputArea.values[0]);
  LineTangentToArcAtAngle(0, kFirstCandidateBlock, dir);
  LineTangentToArcAtAngle(1, kFirstCandidateBlock + 1, dir);
  ChooseCandidates(2);
  return 1;
}

// 32841: the four common tangents of two picked arcs.
int TwoArcTangentLine() {
  const int step = Step();
  if (step == 0) {
    AwaitFigurePick(kPromptArcPick);
    return 1;
  }
  LoadSegment(0);
  if (g_curFigure.kind != kKindArc) {
    AwaitFigurePick(kPromptArcPick);
    g_commandStep = kStepFigurePick | (step - 1);
    return 1;
  }
  TakePickedFigure(step);
  if (step == 1) {
    AwaitFigurePick(kPromptArcPick);
    return 1;
  }
  for (int type = 1; type <= 4; ++type) LineTangentToTwoArcs(1, 2, type, kFirstCandidateBlock + type - 1);
  ChooseCandidates(4);
  return 1;
}

// 32843: lines through up to 480 points; closing the dialog closes the chain.
int PolylineThroughPoints() {
  CommandInputs& in = g_inputArea;
  for (;;) {
    const int step = Step();
    if (g_pickState == kPromptClosed) {
      // Closed: the line back to the first point.
      if (in.pointCount >= 2) {
        SetLine(in.points[static_cast<std::size_t>(in.pointCount - 1)], in.points[0]);
        TakeUndoSnapshot();
        StoreNewFigure();
      }
      in = CommandInputs{};
      EndCommand();
      return 0;
    }
    if (step > 0 && step == in.pointCount + 1) {
      in.points[static_cast<std::size_t>(in.pointCount)] = Entered();
      ++in.pointCount;
      if (in.pointCount >= 2) {
        SetLine(in.points[static_cast<std::size_t>(in.pointCount - 2)], in.points[static_cast<std::size_t>(in.pointCount - 1)]);
        TakeUndoSnapshot();
        if (!StoreNewFigure() && g_figureStore.full) {
          EndCommand();
          return 0;
        }
      }
    }
    if (in.pointCount >= kPolylinePoints) {
      in = CommandInputs{};
      EndCommand();
      return 0;
    }
    const std::string n = std::to_string(in.pointCount + 1);
    g_inputTitle = Title("[ 点直線 ] : 通る点を入力して下さい ...");
    g_pointLabelX = Title("［PX_%d］＝ ").replace(Title("［PX_%d］＝ ").find("%d"), 2, n);
    g_pointLabelY = Title("［PY_%d］＝ ").replace(Title("［PY_%d］＝ ").find("%d"), 2, n);
    const int result = PromptPointStep();
    if (result == kPromptClosed) continue;
    if (result == 1 && in.pointCount > 0) {
      const Vec2 last = in.points[static_cast<std::size_t>(in.pointCount - 1)];
      StartRubberBand(kBandLineFromPoint, last.x, last.y);
    }
    if (result != 0) return result < 0 ? 0 : 1;
    AdvanceStep();
  }
}

// 33216: the mid line of two picked figures.
int MidLine() {
  if (Step() > kStepClipStart) return ClipNewLine();
  const int step = Step();
  if (step == 0) {
    AwaitFigurePick(kPromptFirstFigure);
    return 1;
  }
  TakePickedFigure(step);
  if (step == 1) {
    AwaitFigurePick(kPromptSecondFigure);
    return 1;
  }
  const int made = MidLineBetweenFigures();
  if (made >= 2) {
    ChooseCandidates(2);
    return 1;
  }
  if (made == 0) {
    EndCommand();
    return 0;
  }
  LoadSegment(kFirstCandidateBlock);
  if (!FinishFigure()) return 0;
  OfferClipping();
  return 1;
}

}  // namespace

int RunLineCommand(int kind) {
  switch (kind) {
    case 32833:
      return AxisParallelLine(true);
    case 32834:
      return AxisParallelLine(false);
    case 32835:
      return PointAngleLine();
    case 33054:
      return CrossLines();
    case 32837:
      return TwoPointLine();
    case 32838:
      return PointTangentLine();
    case 32839:
      return AngleTangentLine();
    case 32841:
      return TwoArcTangentLine();
    case 32843:
      return PolylineThroughPoints();
    case 33216:
      return MidLine();
    default:
      return -1;
  }
}

}  // namespace dorn
