// The point input of a curve through points: see curve_point_input.h.
//
// Each point is stored as soon as its tangent question is answered, so that
// it is drawn and stays where it was given; the step counter follows the
// number of points stored (a clicked point re-enters one step further).
#include "kelto_dorn/drawing/curve_point_input.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/work_points.h"

namespace dorn {

namespace {

constexpr int kCommandCurvePoints = 32821;
constexpr int kSaveSlot = 10;
// The point dialog's end-point snap.
constexpr int kEndPointMode = 3;
constexpr double kSameEnd = 1e-6;
// The value dialog's "図形参照": the tangent is taken from a figure picked
// in the drawing (pick state 3, the step marked as waiting for a pick).
constexpr int kPickStateFigureValue = 3;
constexpr int kStepPickFromDrawing = 0x8000;

// What became of a given point.
enum class Stored { kDone, kTableFull, kWaitingForTangent };

std::string Numbered(const char* utf8Label, int n) {
  std::string label = Title(utf8Label);
  label.replace(label.find("%d"), 2, std::to_string(n));
  return label;
}

// A number no figure of the drawing carries: neither 0 (every plain figure)
// nor one given before, so that a later edit of this curve deletes only it.
int FreshCurveNumber() {
  g_pointCurveNumber = std::max(g_pointCurveNumber + 1, g_nextFigureNumber);
  return g_pointCurveNumber;
}

void SetTangent(FigureRecord& point, Vec2 unit, double degrees) {
  point.kind = kKindCurvePointAngle;
  point.radius = degrees;
  point.dir = unit;
}

// Asks the tangent of the point in g_curFigure (relative to the current
// origin): a value gives it the tangent (kind 340); a cancelled question
// leaves it as it is (a snapped point keeps the tangent it came with). True
// when the user chose to take it from a figure of the drawing instead: the
// point is stored as it is and the pick gives it its tangent afterwards.
bool AskTangent() {
  FigureRecord point = g_curFigure;
  ValueInputValue = point.kind == kKindCurvePointAngle ? point.radius : 0.0;
  SetValueTexts(Title("  [%f %f] : 接線角度を入力して下さい", point.start.x, point.start.y), "［Ａ］＝ ");
  const int result = PromptValueStep();
  if (result == kPromptTyped) SetTangent(point, UnitVectorFromAngle(ValueInputValue), ValueInputValue);
  const bool pick = result > 0 && g_pickState == kPickStateFigureValue;
  if (result > 0 && !pick) g_pickState = 0;
  g_inputResult = 0;
  g_curFigure = point;
  return pick;
}

// The direction of travel of line or arc f at `at` (in the current origin's
// frame): a line's direction, or for an arc the tangent at the nearest
// point of its circle. False for other figures and for an arc's centre.
bool FigureTangentAt(const FigureRecord& f, Vec2 at, Vec2& tangent) {
  if (f.kind != kKindLine && f.kind != kKindArc) return false;
  const Vec2 current = CurrentLayerOrigin();
  const Vec2 local{at.x + current.x - f.origin.x, at.y + current.y - f.origin.y};
  Vec2 d = f.kind == kKindLine ? Vec2{f.end.x - f.start.x, f.end.y - f.start.y}
                               : Vec2{-(local.y - f.centre.y), local.x - f.centre.x};
  // An arc of negative radius runs clockwise.
  if (f.kind == kKindArc && f.radius < 0.0) d = {-d.x, -d.y};
  const double length = std::hypot(d.x, d.y);
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  tangent = {d.x / length, d.y / length};
  return true;
}

// A point snapped to an end of a line or arc (the end-point snap leaves the
// figure in block 0) carries the figure's direction there, so that the
// curve goes on from the figure without a kink. False for any other point.
bool SnappedTangent(Vec2 at, Vec2& tangent) {
  if (g_pointMode != kEndPointMode) return false;
  const FigureRecord* f = g_figureStore.SegmentBlock(0);
  if (f == nullptr) return false;
  const Vec2 current = CurrentLayerOrigin();
  const Vec2 local{at.x + current.x - f->origin.x, at.y + current.y - f->origin.y};
  const auto apart = [local](Vec2 end) { return std::hypot(local.x - end.x, local.y - end.y) > kSameEnd; };
  if (apart(f->start) && apart(f->end)) return false;
  return FigureTangentAt(*f, at, tangent);
}

// The pick of "図形参照" arrived (the picked figure in block 0): the point
// stored last takes the figure's direction as its tangent. A figure that
// gives none (not a line or arc) leaves the point without one, with a beep.
void TakePickedTangent() {
  const CommandInputs& in = g_inputArea;
  const int index = in.curvePointsFirst + in.pointCount - 1;
  if (in.curvePointsFirst < 0 || in.pointCount <= 0 || index >= GetFigureCount(g_curLayer)) return;
  GetFigure(g_curLayer, index);
  FigureRecord point = g_curFigure;
  Vec2 tangent;
  const FigureRecord* picked = g_figureStore.SegmentBlock(0);
  if (picked == nullptr || !FigureTangentAt(*picked, point.start, tangent)) {
    SignalBeep();
    return;
  }
  SetTangent(point, tangent, std::atan2(tangent.y, tangent.x) * kDegreesPerRadian);
  g_curFigure = point;
  PutFigure(g_curLayer, index);
  StoreSegment(kSaveSlot);
}

// Stores the point given last (PointInputValue) with its tangent, drawn in
// the point colour.
Stored StorePoint(Vec2 at) {
  CommandInputs& in = g_inputArea;
  if (in.curvePointsFirst < 0) {
    TakeUndoSnapshot();
    in.curvePointsFirst = GetFigureCount(g_curLayer);
    FreshCurveNumber();
  }
  ClearCurrentFigure();
  g_curFigure.kind = kKindCurvePoint;
  g_curFigure.start = g_curFigure.end = at;
  Vec2 tangent;
  if (SnappedTangent(at, tangent))
    SetTangent(g_curFigure, tangent, std::atan2(tangent.y, tangent.x) * kDegreesPerRadian);
  const bool pickTangent = AskTangent();
  g_curFigure.number = g_pointCurveNumber;
  g_curFigure.group = g_nextFigureNumber;
  const FigureRecord point = g_curFigure;
  if (!StoreAndDrawFigure(0)) return Stored::kTableFull;
  g_curFigure = point;
  StoreSegment(kSaveSlot);
  ++in.pointCount;
  if (!pickTangent) return Stored::kDone;
  // The click that confirms the picked figure comes back one step further,
  // still marked as a pick from the drawing.
  g_commandStep = in.pointCount | kStepPickFromDrawing;
  return Stored::kWaitingForTangent;
}

// A given point stored: false ends the input (the table is full), else
// `wait` tells whether a pick of its tangent is awaited.
bool Continue(Stored stored, bool& wait) {
  wait = stored == Stored::kWaitingForTangent;
  return stored != Stored::kTableFull;
}

// The end of the input: the curve through the points stored (two points
// build one only when both carry a tangent).
int FinishInput() {
  const CommandInputs& in = g_inputArea;
  if (in.curvePointsFirst >= 0 && in.pointCount > 1) {
    const int first = in.curvePointsFirst;
    const int end = std::min(first + in.pointCount, GetFigureCount(g_curLayer));
    g_figureTableSelector = g_curLayer;
    ComputeCurveFromPoints(first, end, end);
  }
  g_inputArea = CommandInputs{};
  RedrawView();
  EndCommand();
  return 0;
}

}  // namespace

int InputCurvePoints() {
  CommandInputs& in = g_inputArea;
  bool wait = false;
  if (g_pickState == kPickStateFigureValue && (g_commandStep & kStepPickFromDrawing) != 0 &&
      Step() == in.pointCount + 1) {
    // The figure whose direction is the last point's tangent was picked.
    TakePickedTangent();
    g_pickState = 0;
    g_commandStep = in.pointCount;
  } else if (Step() == in.pointCount + 1) {
    // A clicked point: the click handler moved the step on.
    if (!Continue(StorePoint(PointInputValue), wait)) return FinishInput();
    if (wait) return 1;
    g_commandStep = in.pointCount;
  }
  for (;;) {
    if (in.pointCount >= kCurveInputPoints) return FinishInput();
    const int n = in.pointCount + 1;
    SetPointTexts(Title("\t [ ＣＵＲＶＥ ] : 通る点を入力して下さい ..."), "", "");
    g_pointLabelX = Numbered("［PX_%d］＝ ", n);
    g_pointLabelY = Numbered("［PY_%d］＝ ", n);
    g_commandStep = in.pointCount;
    const int result = PromptPointStep();
    if (result < 0 || result == kPromptClosedWithoutPoint) return FinishInput();
    // A point by mouse, at an intersection or an end point: the click
    // comes back one step further.
    if (result != kPromptTyped) return 1;
    if (!Continue(StorePoint(PointInputValue), wait)) return FinishInput();
    if (wait) return 1;
  }
}

void CommitPointGroup() {
  // The group's points, taken before the reset empties the work blocks.
  std::vector<FigureRecord> points;
  for (int b = kFirstWorkPointBlock; b < g_workCount && b < kSegmentBlockCount; ++b) {
    const FigureRecord* f = g_figureStore.SegmentBlock(b);
    if (f != nullptr && (f->kind & 0xFF) == kKindCurvePointTangent) points.push_back(*f);
  }
  ResetCommandInput();
  SetActiveCommand(kCommandCurvePoints, 1);
  CommandInputs& in = g_inputArea;
  TakeUndoSnapshot();
  in.curvePointsFirst = GetFigureCount(g_curLayer);
  const int number = FreshCurveNumber();
  const Vec2 origin = CurrentLayerOrigin();
  for (FigureRecord point : points) {
    if (in.pointCount >= kCurveInputPoints) break;
    // An estimated tangent is estimated again with the new neighbours.
    if (point.kind != kKindCurvePointAngle) point.kind = kKindCurvePoint;
    point = FigureInFrame(point, origin);
    point.number = number;
    g_curFigure = point;
    if (!StoreAndDrawFigure(kStoreKeepColour)) break;
    g_curFigure = point;
    StoreSegment(kSaveSlot);
    ++in.pointCount;
  }
  g_workCount = 0;
  g_view.m_blockCount = 0;
  g_commandStep = in.pointCount;
  ExecuteFigureCommand(kCommandCurvePoints);
}

}  // namespace dorn
