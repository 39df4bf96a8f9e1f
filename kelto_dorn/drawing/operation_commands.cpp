// The figure commands whose work is the figure operations, the origins, the
// contour dialogs and the layer split: the BOX edits (rotate, move, delete,
// mirror), the scale and mirror of picked figures, origins added, recalled
// and spread over a box, the rectangle and polygon contours and the layer
// split. Each asks for its inputs in turn as the other figure commands do
// (figure_steps.h) and then calls its operation.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/contour_dialogs.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/layer_split.h"
#include "kelto_dorn/drawing/origins.h"

namespace dorn {

namespace {

constexpr int kPromptBox = 12;
constexpr int kPromptIntersection = 13;
constexpr int kPromptPickOrigin = 136;
constexpr int kPromptMousePoint = 137;
constexpr int kPromptMirrorAxis = 118;
constexpr int kPromptConfirm = 1010;
constexpr int kPickStateFreePoint = 4;
constexpr int kPickStateIntersection = 6;
constexpr int kPickStateConfirm = 9;
constexpr int kPickStateNewOrigin = 37;
constexpr int kPickStateOriginMovePoint = 46;
constexpr int kPickStateOriginChoice = 38;
constexpr int kPickStateSelectionBox = 40;
constexpr int kFirstTransformBlock = 70;
constexpr double kMaxCentreMark = 3.0;

Vec2 Absolute(Vec2 relative) {
  const Vec2 o = CurrentLayerOrigin();
  return {relative.x + o.x, relative.y + o.y};
}

// Waits for the corners of a BOX in `state`.
int AwaitBox(int state) {
  g_pickState = state;
  g_boxMode = 1;
  g_view.m_boxStart = g_view.m_boxEnd = {};
  g_view.m_boxStage = 0;
  ShowPrompt(kPromptBox);
  return 1;
}

// Waits for an intersection point; the snap commands may turn the pick into
// the free point of `returnState`.
int AwaitIntersection(int returnState) {
  g_pickState = kPickStateIntersection;
  g_returnPickState = returnState;
  g_snapMode = 2;
  ShowPrompt(kPromptIntersection);
  return 1;
}

// A fresh set of operation parameters for one command.
FigureOperationParams& Params() {
  g_figureOperation = FigureOperationParams{};
  g_figureOperation.copyOption = g_copyMode;
  return g_figureOperation;
}

// The mirror line of the axis picked into block 0.
void TakeMirrorAxis(FigureOperationParams& p) {
  const FigureRecord* axis = g_figureStore.SegmentBlock(0);
  p.mirrorPoint = {axis->start.x + axis->origin.x, axis->start.y + axis->origin.y};
  const Vec2 d{axis->end.x - axis->start.x, axis->end.y - axis->start.y};
  p.mirrorDirection = std::hypot(d.x, d.y) > 0.0 ? d : axis->dir;
}

// The end of a box edit: the view redrawn, the command finished.
int FinishEdit(int op) {
  EditFiguresInSelection(op);
  g_boxMode = 0;
  EndCommand();
  return 0;
}

// Stores a copy of each figure collected in blocks 70.. after `make`.
template <class Make>
int StoreCollectedCopies(Make make) {
  TakeUndoSnapshot();
  const Vec2 origin = CurrentLayerOrigin();
  for (int i = kFirstTransformBlock; i < kSegmentBlockCount; ++i) {
    const FigureRecord* f = g_figureStore.SegmentBlock(i);
    if (f == nullptr || f->kind == kKindEmpty) break;
    g_curFigure = *f;
    make();
    g_curFigure = FigureInFrame(g_curFigure, origin);
    g_curFigure.number = 0;
    g_curFigure.group = 0;
    if (!StoreAndDrawFigure(kStoreKeepColour)) break;
  }
  EndCommand();
  return 0;
}

// --- BOX edits ----------------------------------------------------------------------

// 32877: rotation of the figures in a BOX.
int BoxRotate() {
  if (Step() == 0) return AwaitBox(10);
  if (Step() == 1) {
    SetValueTexts(Title("[ 回転角度 ] : 角度を入力して下さい..."), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 2) {
    g_inputArea.values[0] = ValueInputValue;
    SetPointTexts(Title("[ 回転 A=%f ] : 中心を入力して下さい ...", ValueInputValue), "［Cx］＝ ", "［Cy］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  FigureOperationParams& p = Params();
  p.rotationAngle = g_inputArea.values[0];
  p.rotationCentre = Absolute(PointInputValue);
  return FinishEdit(box_op::kRotate);
}

// 32878: parallel move of the figures in a BOX.
int BoxMove() {
  if (Step() == 0) return AwaitBox(11);
  if (Step() == 1) {
    SetPointTexts(Title("[ 平行移動 ] : 移動量を入力して下さい ..."), "［dX］＝ ", "［dY］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  FigureOperationParams& p = Params();
  p.moveVector = PointInputValue;
  if (g_view.m_twoPointMove) p.moveVector = {PointInputValue.x - g_view.m_moveStart.x, PointInputValue.y - g_view.m_moveStart.y};
  return FinishEdit(box_op::kMove);
}

// 32879: the figures in a BOX are shown, and deleted on a confirming click.
int BoxDelete() {
  if (Step() == 0) return AwaitBox(12);
  if (Step() == 1) {
    Params();
    EditFiguresInSelection(box_op::kMarkForDelete);
    g_pickState = kPickStateConfirm;
    ShowPrompt(kPromptConfirm);
    return 1;
  }
  Params();
  return FinishEdit(box_op::kDelete);
}

// 33012: the figures in a BOX mirrored about a picked axis.
int BoxMirror() {
  if (Step() == 0) return AwaitBox(13);
  if (Step() == 1) {
    AwaitFigurePick(kPromptMirrorAxis);
    return 1;
  }
  FigureOperationParams& p = Params();
  TakeMirrorAxis(p);
  return FinishEdit(box_op::kMirror);
}

// --- Transforms of picked figures -------------------------------------------------

// 32871: scaled copies of the picked figures (in place for a BOX).
int Scale() {
  if (SelectFiguresStep() != 0) return 1;
  if (Step() == 1) {
    SetValueTexts(Title("[ 倍率変更 ] : 倍率を入力して下さい ......"), "［1=100%］＝ ");
    if (PromptValueStep(NonZero) != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 2) {
    g_inputArea.values[0] = ValueInputValue;
    SetPointTexts(Title("[ 倍率 = %f ] : 中心を入力して下さい ...", ValueInputValue), "［Cx］＝ ", "［Cy］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  FigureOperationParams& p = Params();
  // The field reads 1 as 100 percent.
  p.scalePercent = g_inputArea.values[0] * 100.0;
  p.scaleBase = Absolute(PointInputValue);
  if (g_boxMode != 0) return FinishEdit(box_op::kScale);
  return StoreCollectedCopies([&p] { ScaleCurrentFigure(p.scalePercent); });
}

// 32875: mirrored copies of the picked figures (of a BOX's figures).
int Mirror() {
  if (SelectFiguresStep() != 0) return 1;
  if (Step() == 1) {
    AwaitFigurePick(kPromptMirrorAxis);
    return 1;
  }
  FigureOperationParams& p = Params();
  TakeMirrorAxis(p);
  if (g_boxMode != 0) return FinishEdit(box_op::kMirrorCopy);
  return StoreCollectedCopies([] { MirrorCurrentFigure(); });
}

// --- Origins ------------------------------------------------------------------------------

// 32828: a clicked point becomes a new origin of the layer.
int NewOrigin() {
  if (Step() == 0) {
    g_pickState = kPickStateNewOrigin;
    ShowPrompt(kPromptPickOrigin);
    return 1;
  }
  SnapshotForUndo(0);
  AddOrigin(Absolute(PointInputValue), 0);
  EndCommand();
  return 0;
}

// 32829: the origins are shown; the click handler makes the chosen one current.
int RecallOrigin() {
  if (auto dc = GetViewDC()) {
    PrepareDrawingDC(*dc);
    const int current = g_curOriginIndex;
    const int count = g_originCount[static_cast<std::size_t>(g_curLayer)];
    for (int i = 0; i < count && i < kOriginsPerLayer; ++i) {
      g_curOriginIndex = i;
      DrawOriginMark(*dc, kOriginMarkChoice);
    }
    g_curOriginIndex = current;
  }
  g_pickState = kPickStateOriginChoice;
  ShowPrompt(kPromptPickOrigin);
  return 1;
}

// 32885: a BOX, then an intersection that becomes a new origin; the
// figures in the box are attached to it.
int OriginForBox() {
  if (Step() == 0) return AwaitBox(kPickStateSelectionBox);
  if (Step() == 2) return AwaitIntersection(kPickStateNewOrigin);
  if (Step() < 3) return 1;
  SnapshotForUndo(0);
  if (AddOrigin(Absolute(PointInputValue), 0) == 0) {
    EndCommand();
    return 0;
  }
  Params();
  ApplyBoxEdit(box_op::kReattachOrigin, CurrentSelectionRegion());
  g_boxMode = 0;
  ShowPrompt(0);
  EndCommand();
  return 0;
}

// 32884: the drawing's data moves so that an intersection point picked
// (or a point given) becomes the current origin's zero.
int MoveDrawingOrigin() {
  if (Step() == 0) return AwaitIntersection(kPickStateOriginMovePoint);
  const Vec2 p = PointInputValue;
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
    EndCommand();
    return 0;
  }
  g_figureTableSelector = g_curLayer;
  ShiftOriginContents(p);
  g_undoSaved = 0;
  RedrawView();
  EndCommand();
  return 0;
}

// --- Contours -------------------------------------------------------------------------------

// Stores the contour left in blocks 0.. by the dialog.
void StoreContour() {
  TakeUndoSnapshot();
  for (int i = 0; i < g_contourFigureCount; ++i) {
    LoadSegment(i);
    g_curFigure.number = 0;
    g_curFigure.group = 0;
    g_curFigure.choice = 0;
    if (!StoreAndDrawFigure(0)) break;
  }
}

// The reference point picked for a contour: the dialog opens again with it.
void TakeReferencePoint() {
  g_contourValues.moveX = PointInputValue.x;
  g_contourValues.moveY = PointInputValue.y;
}

int AwaitReferencePoint(int code) {
  if (code == kContourPickByMouse) {
    g_pickState = kPickStateFreePoint;
    g_snapMode = 1;
    ShowPrompt(kPromptMousePoint);
  } else {
    g_pickState = kPickStateIntersection;
    g_returnPickState = kPickStateFreePoint;
    g_snapMode = 2;
    ShowPrompt(kPromptIntersection);
  }
  g_commandStep = 0x100;
  return 1;
}

// 32842: the rectangle contour dialog; "マウス" takes the rectangle from a BOX.
int RectangleContour() {
  if (Step() == 2 && g_pickState == kPickStateSelectionBox) {
    const Vec2 a = g_view.m_boxFirst, b = g_view.m_boxSecond;
    RectContourValues r;
    r.width = std::fabs(b.x - a.x);
    r.height = std::fabs(b.y - a.y);
    r.position = 3;
    r.moveX = std::min(a.x, b.x);
    r.moveY = std::min(a.y, b.y);
    g_contourFigureCount = PutContourInBlocks(BuildRectangleContour(r));
    if (g_contourFigureCount > 0) StoreContour();
    g_boxMode = 0;
    EndCommand();
    return 0;
  }
  if (Step() > 0x100) TakeReferencePoint();
  CRectContourDlg dialog;
  const int code = RunModalDialog(dialog);
  if (code == platform::kIdOk) {
    StoreContour();
    EndCommand();
    return 0;
  }
  if (code == kContourPickByMouse) return AwaitBox(kPickStateSelectionBox);
  if (code == kRectPickIntersection) return AwaitReferencePoint(code);
  g_inputResult = -2;
  g_pickState = 0;
  return 0;
}

// 33140: the polygon contour dialog with a centre mark.
int PolygonContour() {
  if (Step() > 0x100) TakeReferencePoint();
  CPolygonContourDlg dialog;
  const int code = RunModalDialog(dialog);
  if (code == platform::kIdOk) {
    StoreContour();
    // The centre mark: a circle of half the size, 3 at most.
    ClearCurrentFigure();
    const double r = std::min(g_contourValues.size / 2, kMaxCentreMark);
    g_curFigure.kind = kKindArc;
    g_curFigure.radius = r;
    g_curFigure.centre = {g_contourValues.moveX, g_contourValues.moveY};
    g_curFigure.start = g_curFigure.end = {g_contourValues.moveX, g_contourValues.moveY + r};
    StoreAndDrawFigure(0);
    EndCommand();
    return 0;
  }
  if (code == kContourPickByMouse || code == kPolygonPickIntersection) return AwaitReferencePoint(code);
  g_inputResult = -2;
  g_pickState = 0;
  return 0;
}

// --- Layer split ------------------------------------------------------------------------------

// 32883: a BOX, then the target layer; the figures in the box go there.
int LayerSplit() {
  if (Step() == 0) return AwaitBox(kPickStateSelectionBox);
  if (Step() < 2) return 1;
  Params();
  SplitLayer();
  g_boxMode = 0;
  EndCommand();
  return 0;
}

}  // namespace

int RunOperationCommand(int kind) {
  switch (kind) {
    case 32877: return BoxRotate();
    case 32878: return BoxMove();
    case 32879: return BoxDelete();
    case 33012: return BoxMirror();
    case 32871: return Scale();
    case 32875: return Mirror();
    case 32828: return NewOrigin();
    case 32829: return RecallOrigin();
    case 32885: return OriginForBox();
    case 32884: return MoveDrawingOrigin();
    case 32842: return RectangleContour();
    case 33140: return PolygonContour();
    case 32883: return LayerSplit();
    default: return -1;
  }
}

}  // namespace dorn
