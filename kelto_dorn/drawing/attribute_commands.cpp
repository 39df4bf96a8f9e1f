// The figure commands that change the attributes of the figures in a BOX
// (line type 33101, colour 33103, width 33173), of figures picked one by one
// (33102, 33104, 33175), of every figure like a picked one (33100, 33105,
// 33172; 33079 deletes them), the colour of texts (33086) and the commands on the
// circles of one diameter in a BOX (colour 33197, delete 33198, layer move
// or copy 33199, diameter 33200). The choice dialog or the radius input
// comes last; a cancelled one changes nothing.
#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/layer_split.h"

namespace dorn {

namespace {

constexpr int kPromptBox = 12;
constexpr int kPromptCircle = 141;
constexpr int kPickStateCircle = 141;
constexpr int kPickStateCharacter = 49;
constexpr int kPromptPickCharacter = 1018;
constexpr int kPromptPickFigures = 1115;
constexpr int kPromptPickToRecolour = 1120;
constexpr int kLineWidthThick = 3;
constexpr std::int32_t kLineTypeBits[] = {0, kAttrDashed, kAttrChain1, kAttrChain2};

int AwaitBoxIn(int state) {
  g_pickState = state;
  g_boxMode = 1;
  g_view.m_boxStart = g_view.m_boxEnd = {};
  g_view.m_boxStage = 0;
  ShowPrompt(kPromptBox);
  return 1;
}

FigureOperationParams& Params() {
  g_figureOperation = FigureOperationParams{};
  g_figureOperation.copyOption = g_copyMode;
  return g_figureOperation;
}

// The whole plane: every figure of the layer meets it.
SelectionRegion WholeLayer() {
  constexpr double kFar = 1e12;
  return {{{-kFar, -kFar}, {kFar, -kFar}, {kFar, kFar}, {-kFar, kFar}}};
}

// The palette's choice, or -1.
int ChooseColour() {
  CColorPaletteDlg palette;
  const int c = RunModalDialog(palette);
  return c >= 0 && c < kPaletteSize ? c : -1;
}

int Finish(int op) {
  if (op != 0) EditFiguresInSelection(op);
  g_boxMode = 0;
  ShowPrompt(0);
  EndCommand();
  return 0;
}

// The new line type (22), colour (20) or width (24) asked from its dialog
// into the operation's values; false when the dialog was closed.
bool AskNewAttribute(int op, FigureOperationParams& p) {
  if (op == box_op::kLineType) {
    CLineTypePickDlg dialog;
    const int type = RunModalDialog(dialog);
    if (type == CLineTypePickDlg::kClosed) return false;
    p.lineType = type >= 1 && type <= 3 ? kLineTypeBits[type] : 0;
    return true;
  }
  if (op == box_op::kColour) {
    p.colour = ChooseColour();
    return p.colour >= 0;
  }
  CLineWidthDlg dialog;
  const int width = RunModalDialog(dialog);
  if (width != 1 && width != kLineWidthThick) return false;
  p.width = width == kLineWidthThick ? kAttrThick : 0;
  return true;
}

// The operation of each attribute command: line type, colour or width.
int AttributeOp(int kind) {
  switch (kind) {
    case 33100:
    case 33101:
    case 33102:
      return box_op::kLineType;
    case 33103:
    case 33104:
    case 33105:
      return box_op::kColour;
    default:
      return box_op::kWidth;
  }
}

// 33101, 33103, 33173: the BOX, then the new line type, colour or width.
int BoxAttribute(int kind) {
  if (Step() == 0) return AwaitBoxIn(kind);
  const int op = AttributeOp(kind);
  return Finish(AskNewAttribute(op, Params()) ? op : 0);
}

// 33102, 33104, 33175: figures picked one by one (the view keeps their
// indexes in the selection list); the copy command or the end of input
// comes back at step 1, and the dialog's choice goes to every one of them.
int PickedAttribute(int kind) {
  if (Step() == 0) {
    g_pickState = kind;
    g_pickIndex = 0;
    g_workCount = 0;
    ShowPrompt(kind == 33104 ? kPromptPickToRecolour : kPromptPickFigures);
    return 1;
  }
  const int op = AttributeOp(kind);
  FigureTable* table = g_figureStore.Table(g_curLayer);
  if (table == nullptr || g_selectionList[0] == kNone || !AskNewAttribute(op, Params())) return Finish(0);
  SnapshotForUndo(op == box_op::kLineType ? 1 : 0);
  for (const int index : g_selectionList) {
    if (index == kNone) break;
    if (index >= 0 && index < table->count()) EditFigure(op, table->slot(index));
  }
  g_undoSaved = 0;
  RedrawView();
  return Finish(0);
}

// 33086: the colour of the texts of the current layer that share the colour
// of the character picked first (a curve pick) becomes the palette's.
int TextColour() {
  if (Step() == 0) {
    g_pickState = kPickStateCharacter;
    g_pickIndex = 0;
    ShowPrompt(kPromptPickCharacter);
    return 1;
  }
  FigureOperationParams& p = Params();
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range) || range.count() <= 0) return Finish(0);
  const FigureTable* curves = g_figureStore.Table(kTableCurves);
  if (curves == nullptr) return Finish(0);
  p.reference = curves->slot(range.first);
  p.colour = ChooseColour();
  if (p.colour < 0) return Finish(0);
  SnapshotForUndo(0);
  ApplyBoxEdit(box_op::kTextColour, WholeLayer());
  g_undoSaved = 0;
  RedrawView();
  return Finish(0);
}

// 33197 to 33200: the BOX, then a circle whose diameter the others share.
int EqualCircles(int kind) {
  if (Step() == 0) return AwaitBoxIn(kind);
  if (Step() == 1) {
    g_pickState = kPickStateCircle;
    g_pickIndex = 0;
    ShowPrompt(kPromptCircle);
    return 1;
  }
  const FigureRecord* circle = g_figureStore.SegmentBlock(0);
  if (circle->kind != kKindArc) return Finish(0);
  if (Step() == 2) g_inputArea.values[0] = std::fabs(circle->radius);
  FigureOperationParams& p = Params();
  p.referenceRadius = g_inputArea.values[0];
  switch (kind) {
    case 33197:
      p.colour = ChooseColour();
      return Finish(p.colour < 0 ? 0 : box_op::kCircleColour);
    case 33198:
      return Finish(box_op::kCircleDelete);
    case 33199:
      p.code = kEngineCodeEqualCircles;
      SplitLayer();
      return Finish(0);
    default:
      break;
  }
  if (Step() == 2) {
    AdvanceStep();
    SetValueTexts(Title("半径を入力して下さい..."), "［Ｒ］＝ ");
    if (PromptValueStep(Positive) != 0) return 1;
  }
  p.newRadius = ValueInputValue;
  return Finish(box_op::kCircleRadius);
}

// 33100, 33105, 33172, 33079: a figure picked; every figure of the layer
// with its colour word and origin gets the new line type, colour or width,
// or (33079) is deleted.
int LikeFigures(int kind) {
  if (Step() == 0) {
    g_pickState = 42;
    g_pickIndex = 0;
    ShowPrompt(kind == 33105 ? 1121 : 1017);
    return 1;
  }
  FigureOperationParams& p = Params();
  p.code = kEngineCodeSameAttributes;
  p.reference = *g_figureStore.SegmentBlock(0);
  if (p.reference.kind == kKindEmpty) return Finish(0);
  const int op = kind == 33079 ? box_op::kDelete : AttributeOp(kind);
  if (op != box_op::kDelete && !AskNewAttribute(op, p)) return Finish(0);
  SnapshotForUndo(op == box_op::kLineType ? 1 : 0);
  ApplyBoxEdit(op, WholeLayer());
  return Finish(0);
}

}  // namespace

int RunAttributeCommand(int kind) {
  switch (kind) {
    case 33100:
    case 33105:
    case 33172:
    case 33079:
      return LikeFigures(kind);
    case 33101:
    case 33103:
    case 33173:
      return BoxAttribute(kind);
    case 33102:
    case 33104:
    case 33175:
      return PickedAttribute(kind);
    case 33086:
      return TextColour();
    case 33197:
    case 33198:
    case 33199:
    case 33200:
      return EqualCircles(kind);
    default:
      return -1;
  }
}

}  // namespace dorn
