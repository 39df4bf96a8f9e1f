// The steps of each curve command once its curve is picked
// (ExecuteCurveCommand, declared in curve_engine.h): on its first entry a
// command shows its prompt and sets its pick state; the entries after each
// click do the edit through the transforms, the figure edits and the
// curve bookkeeping. A command that finished ends its pick and, in
// continuous mode, starts again.
#include <cmath>
#include <initializer_list>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_deletion.h"
#include "kelto_dorn/drawing/curve_end_points.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_evaluation.h"
#include "kelto_dorn/drawing/curve_figure_edits.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/curve_highlight.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/curve_shapes.h"
#include "kelto_dorn/drawing/curve_transforms.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_chains.h"
#include "kelto_dorn/drawing/hole_point_curves.h"
#include "kelto_dorn/drawing/pick_search.h"
#include "kelto_dorn/drawing/taper_curve_sections.h"

namespace dorn {
namespace {

using namespace curve_cmd;

constexpr int kSnapshotCurves = 3;
constexpr int kStepNothingSelected = 99;
constexpr int kPickFromDrawing = 0x8000;
constexpr int kPickStateIntersection = 6;
constexpr int kPickStateOrigin = 38;
constexpr int kOriginMarkAll = 9;
constexpr int kCurveKindHolePoints = 1;
constexpr int kColourOwn = -1;
constexpr int kPickStateNewFigure = 3;
constexpr int kCurveKindCharacters = 1332;
constexpr int kCurveKindTaper = 8;
constexpr int kCurveKindTaperSteps = 9;
constexpr int kStepTaperDialog = 222;
constexpr int kPromptTaperFigure = 222;
constexpr int kErrorCountOverflow = 4;
constexpr int kReplaceFirstBlock = 5;
constexpr int kReplacedColour = 7;

// Box selection first, where the command allows it; false when the box
// held no curve.
bool SelectByBoxIfAsked() {
  if (g_view.m_boxKind == 0 || !g_commandEngines.selectCurvesInBox) return true;
  if (g_commandEngines.selectCurvesInBox() > 0) return true;
  g_commandStep = kStepNothingSelected;
  return false;
}

// The figure of the current curve under the last click: its position in
// the curve, or -1.
int PickedPosition() {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return -1;
  g_pickIndex = kNone;
  if (FindFigureAtPick(g_curCurveIndex) == 0) return -1;
  const int position = g_pickIndex - range.first;
  return position >= 0 && position < range.count() ? position : -1;
}

int FigureCount() {
  CurveFigureRange range;
  return GetCurveFigureRange(g_curCurveIndex, range) ? range.count() : 0;
}

void Wait(int pickState, int prompt) {
  g_pickState = pickState;
  ShowPromptHook(prompt);
}

bool Delete(platform::DeviceContext* dc) {
  if (g_commandStep == 0) {
    if (!SelectByBoxIfAsked()) return true;
    HighlightCurves(4);
    Wait(kDelete, 9);
    return false;
  }
  SnapshotForUndo(kSnapshotCurves);
  DeleteCurves(dc);
  return true;
}

bool Analyse(platform::DeviceContext* dc) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return true;
  CurveEngineState& e = g_curveEngine;
  if (g_commandStep == 0) {
    e.analysisIndex = range.first;
    e.analysisLength = 0.0;
    HighlightCurves(1);
    Wait(kAnalyse, 911);
    return false;
  }
  if (e.analysisIndex > range.first && dc != nullptr) {
    GetFigure(kTableCurves, e.analysisIndex - 1);
    DrawFigure(g_curFigure.attribute & kAttrColourMask, *dc);
  }
  if (e.analysisIndex >= range.end) {
    SetActiveCommandCall(kAnalyse, 0);
    ResetCommandInputCall();
    return false;
  }
  GetFigure(kTableCurves, e.analysisIndex++);
  if (g_commandEngines.showFigureAnalysis && dc != nullptr) g_commandEngines.showFigureAnalysis(*dc);
  FigureLength();
  e.analysisLength += g_lastLength;
  ShowPromptHook(911);
  if (dc != nullptr) DrawFigure(3, *dc);
  g_commandStep = 1;
  return false;
}

// The edits that pick one figure of the curve and go back to their first
// prompt afterwards.
bool PickFigureThen(int id, int prompt, int highlight, platform::DeviceContext* dc) {
  if (g_commandStep == 0) {
    HighlightCurves(highlight);
    CollectCurveFigures(0);
    g_pickIndex = kNone;
    Wait(id, prompt);
    return false;
  }
  const int position = PickedPosition();
  g_commandStep = 0;
  if (position < 0) {
    Wait(id, prompt);  // a pick outside the curve waits for another
    return false;
  }
  SnapshotForUndo(kSnapshotCurves);
  CollectCurveFigures(0);
  switch (id) {
    case kReverseArcs:
      ReverseCurveArcs(position, dc);
      break;
    case kTangentRadius:
      if (position > 0 && position + 1 < g_workCount && ChangeTangentRadius(position)) WriteBackCurveFigures();
      RedrawView();
      break;
    default:
      break;
  }
  Wait(id, prompt);
  return false;
}

// The figure picked to replace one of the curve is joined to its
// neighbours in their frame: it takes the origin of the marked figure, its
// points moved so that it stays where it is drawn.
void TakeIntoMarkedFrame(FigureRecord& picked) {
  for (int i = kReplaceFirstBlock; i < g_workCount; ++i) {
    const FigureRecord& marked = *g_figureStore.SegmentBlock(i);
    if (marked.kind != kKindReplaceMark) continue;
    const Vec2 d{picked.origin.x - marked.origin.x, picked.origin.y - marked.origin.y};
    for (Vec2* p : {&picked.start, &picked.end, &picked.centre}) *p = {p->x + d.x, p->y + d.y};
    picked.origin = marked.origin;
    return;
  }
}

// 33089: a figure of the curve is marked (step 1), then the figure picked
// next from the drawing takes its place, joined to both neighbours.
bool ReplaceFigure(platform::DeviceContext* dc) {
  if (g_pickState == kPickStateNewFigure) {
    SnapshotForUndo(kSnapshotCurves);
    TakeIntoMarkedFrame(*g_figureStore.SegmentBlock(0));
    BuildCornerFigure(g_workCount, 0);
    StoreCurveFigures(kReplaceFirstBlock, 0);
    ClearCurveWorkTable();
    RedrawView();
    g_commandStep = 0;
  }
  if (g_commandStep == 0) {
    HighlightCurves(1);
    g_pickIndex = kNone;
    Wait(kReplaceFigure, 1115);
    return false;
  }
  const int position = PickedPosition();
  g_commandStep = 0;
  if (position < 0) {
    Wait(kReplaceFigure, 1115);  // a pick outside the curve waits for another
    return false;
  }
  if (dc != nullptr) {
    GetFigure(kTableCurves, g_pickIndex);
    DrawFigure(kReplacedColour, *dc);
  }
  CollectCurveFigures(kReplaceFirstBlock);
  g_figureStore.SegmentBlock(kReplaceFirstBlock + position)->kind = kKindReplaceMark;
  g_pickIndex = 0;
  Wait(kPickStateNewFigure, 301);
  return false;
}

bool TangentCircle(platform::DeviceContext* dc) {
  if (g_commandStep == 0) {
    HighlightCurves(1);
    CollectCurveFigures(0);
    Wait(kTangentCircle, 442);
    return false;
  }
  g_commandStep = 0;
  SnapshotForUndo(kSnapshotCurves);
  CollectCurveFigures(0);
  const Vec2 origin = CurrentLayerOrigin();
  const double used = InsertTangentCircle(PointInputValue.x + origin.x, PointInputValue.y + origin.y,
                                          g_curveEngine.promptValue, dc);
  if (used != kTangentCancelled) {
    g_curveEngine.promptValue = used;
    WriteBackCurveFigures();
    ClearCurveWorkTable();
    RedrawView();
  }
  Wait(kTangentCircle, 442);
  return false;
}

bool DeleteFigure(int id, platform::DeviceContext* dc) {
  (void)dc;
  if (g_commandStep == 0) {
    if (id == kHeadFigure && ChangeHeadFigure(99, 0) != 0) return true;
    RedrawView();
    HighlightCurves(3);
    g_workCount = 0;
    g_pickIndex = kNone;
    Wait(id, id == kHeadFigure ? 3 : 1110);
    return false;
  }
  const int position = PickedPosition();
  if (position < 0) {
    g_commandStep = 0;
    Wait(id, id == kHeadFigure ? 3 : 1110);
    return false;
  }
  SnapshotForUndo(kSnapshotCurves);
  if (id == kHeadFigure) {
    ChangeHeadFigure(0, position);
    return true;
  }
  // A curve of one figure ends the command; it is not removed here.
  if (FigureCount() <= 1) return true;
  if (!DeleteCurveFigure(position)) return true;
  ClearCurveWorkTable();
  RedrawView();
  g_commandStep = 0;
  return DeleteFigure(id, dc);
}

bool Transform(int id, platform::DeviceContext* dc) {
  if ((g_commandStep & ~kPickFromDrawing) <= 1 && (g_commandStep & kPickFromDrawing) == 0 &&
      g_curveEngine.transformStage == 0 && !SelectByBoxIfAsked())
    return true;
  const int result = TransformCurves(id, dc);
  if (result == kTransformWaiting) return false;
  g_curveEngine.transformStage = 0;
  g_commandStep = 0;
  // The two-sided offset waits for the click that chooses a side.
  return g_drawingView.m_workPickMode != kWorkPickTwoLists;
}

bool PocketIp() {
  const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)];
  if (g_commandStep == 0) {
    if (curve.kind == kCurveKindHolePoints && (curve.flags & kCurveIpPointSet) == 0) return true;
    HighlightCurves(1);
    g_pickIndex = 0;
    g_curveEngine.inputMode = 2;
    Wait(kPickStateIntersection, 165);
    return false;
  }
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)];
  const Vec2 origin = CurrentLayerOrigin();
  SnapshotForUndo(kSnapshotCurves);
  record.ipX = PointInputValue.x + origin.x;
  record.ipY = PointInputValue.y + origin.y;
  record.flags |= kCurveIpPointSet;
  g_curCurveIndex = kNone;
  return true;
}

bool OriginChange(platform::DeviceContext* dc) {
  // The origin pick comes back without a step of its own.
  if (g_pickState != kPickStateOrigin) {
    g_markedCurve = g_curCurveIndex;
    if (dc != nullptr) DrawOriginMarkHook(*dc, kOriginMarkAll);
    Wait(kPickStateOrigin, 136);
    return false;
  }
  CurveFigureRange range;
  g_curCurveIndex = g_markedCurve;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return true;
  SnapshotForUndo(kSnapshotCurves);
  const Vec2 origin = CurrentLayerOrigin();
  FigureTable* table = g_figureStore.Table(kTableCurves);
  for (int i = range.first; i < range.end; ++i) table->slot(i).origin = origin;
  return true;
}

// The commands carried out by the figure and curve operations.
bool Operation(int id) {
  CommandEngines& e = g_commandEngines;
  if (g_commandStep == 0 && id == kReverse) {
    HighlightCurves(7);
    g_pickIndex = kNone;
    Wait(kReverse, 1111);
    return false;
  }
  if (g_commandStep == 0 && id == kSwapIntersection) {
    HighlightCurves(1);
    g_workCount = 0;
    g_pickIndex = kNone;
    Wait(kSwapIntersection, 1115);
    return false;
  }
  if ((id == kColour || id == kLayerMove) && !SelectByBoxIfAsked()) return true;
  SnapshotForUndo(kSnapshotCurves);
  switch (id) {
    case kReverse:
      if (CallOperation(static_cast<bool>(e.reverseCurve))) e.reverseCurve();
      return true;
    case kSwapIntersection:
      if (CallOperation(static_cast<bool>(e.toggleCornerJoin))) e.toggleCornerJoin();
      RedrawView();
      g_commandStep = 0;
      return Operation(id);
    case kColour:
      if (CallOperation(static_cast<bool>(e.setCurveColour))) e.setCurveColour();
      return true;
    case kLayerMove:
      HighlightCurves(4);
      if (CallOperation(static_cast<bool>(e.moveCurvesToLayer))) e.moveCurvesToLayer();
      return true;
    default:
      return true;
  }
}

bool Append(platform::DeviceContext* dc) {
  (void)dc;
  CollectCurveFigures(5);
  g_markedCurve = g_curCurveIndex;
  g_markedCount = g_curveCount;
  const FigureRecord& first = *g_figureStore.SegmentBlock(5);
  if (first.kind == kKindPointMark) {
    // A curve of hole points grows by picking more holes.
    g_curveEngine.holeDiameter = 2.0 * std::fabs(first.radius);
    SetActiveCommandCall(kAppend, 0);
    BeginHolePoints(true);
    return false;
  }
  LoadSegment(g_workCount - 1);
  StoreSegment(0);
  StoreSegment(1);
  SetActiveCommandCall(kAppend, 0);
  g_curCommand = g_returnCommand = kJoin;
  g_pickState = kPickStateJoinMore;
  g_pickIndex = 1;
  ShowPromptHook(300);
  RedrawView();
  return false;
}

// 33127 after a registration that asked for taper figures: each picked
// figure of the taper curve joins the section being chosen (its style); the
// right button (step 222) opens the taper dialog on the curve again.
bool TaperFigure() {
  const int curve = g_curCurveIndex;
  if (curve < 0 || curve >= g_curveCount) return true;
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(curve)];
  if (record.kind != kCurveKindTaper && record.kind != kCurveKindTaperSteps) return true;
  if (g_commandStep == kStepTaperDialog) {
    SnapshotForUndo(kSnapshotCurves);
    const int result = ReopenTaperDialog(curve);
    RedrawView();
    if (result != kCurveTaperRequested) return true;
  }
  const int position = g_commandStep == kStepTaperDialog ? -1 : PickedPosition();
  if (position >= 0) {
    SnapshotForUndo(kSnapshotCurves);
    MoveFigureToSection(record, record.first + position, record.taperCode & 0xFF);
    RedrawView();
  }
  g_commandStep = 0;
  g_pickIndex = 0;
  Wait(kPickStateTaperFigure, kPromptTaperFigure);
  return false;
}

// 33204: the text strokes inside the box, chained, become one curve of
// character figures.
bool RegisterCharacterFigures(platform::DeviceContext* dc) {
  const FigureRecord saved = g_curFigure;
  const int chained = AutoConnectFigures(CurrentSelectionRegion());
  g_curFigure = saved;
  if (chained == 0) {
    SignalBeep();  // no stroke lies wholly inside the box
  } else if (g_curveCount >= kCurveTableSize) {
    ShowErrorBoxCall(kErrorCountOverflow);
  } else {
    SnapshotForUndo(kSnapshotCurves);
    ResetCurrentCurve();
    g_curCurveRecord.kind = kCurveKindCharacters;
    g_curveTable[static_cast<std::size_t>(g_curveCount)] = g_curCurveRecord;
    RegisterCurveEntry(kRegisterPlain, 1, dc);
  }
  SetActiveCommandCall(kCharacters, 0);
  ResetCurveCommand();
  g_boxMode = 0;
  ResetCommandInputCall();
  ResetCurrentCurve();
  return true;
}

// The steps of one command; true when the command finished.
bool RunSteps(int id, platform::DeviceContext* dc) {
  switch (id) {
    case kDelete:
      return Delete(dc);
    case kAnalyse:
      return Analyse(dc);
    case kEndPoints:
      return RunEndPointStep(dc);
    case kReverseArcs:
      return PickFigureThen(id, 10, 1, dc);
    case kTangentRadius:
      return PickFigureThen(id, 1115, 1, dc);
    case kTangentCircle:
      return TangentCircle(dc);
    case kDeleteFigure:
    case kHeadFigure:
      return DeleteFigure(id, dc);
    case kTranslate:
    case kRotate:
    case kMirror:
    case kOffset:
    case kScale:
      return Transform(id, dc);
    case kPocketIp:
      return PocketIp();
    case kOriginChange:
      return OriginChange(dc);
    case kReverse:
    case kSwapIntersection:
    case kColour:
    case kLayerMove:
      return Operation(id);
    case kSpiral:
      BuildSpiralCurve();
      return true;
    case kDeveloped:
      return RunDevelopedCurveInput(dc);
    case kAppend:
      return Append(dc);
    case kHolePoints:
      return RunHolePointStep(dc);
    case kReplaceFigure:
      return ReplaceFigure(dc);
    case kCharacters:
      return RegisterCharacterFigures(dc);
    case kTaper:
      return TaperFigure();
    default:
      return true;
  }
}

}  // namespace

void ExecuteCurveCommand(int id, platform::DeviceContext* dc) {
  g_curveEngine.noFigureUnderCursor = -1;
  g_curCommand = id;
  const bool done = RunSteps(id, dc);
  if (!done || g_drawingView.m_workPickMode == kWorkPickTwoLists) return;
  FinishCurveCommand(id);
}

}  // namespace dorn
