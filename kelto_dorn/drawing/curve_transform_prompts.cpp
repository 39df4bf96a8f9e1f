// The input prompts of the transform commands (TransformCurves): see
// curve_transforms.h. Each transform asks for its values with the value and
// point prompts; a pick from the drawing instead of typing leaves the
// command waiting with the pick bit in its step, and the click re-enters
// here, where the prompt then takes the pick as its answer.
#include <cstdio>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_transforms.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

// The step bit the prompts set when the answer is to be picked.
constexpr int kPickFromDrawing = 0x8000;
constexpr int kPickStatePoint = 4;
constexpr int kPickStateAxis = 5;
constexpr int kStepPickAxis = 16385;
constexpr int kPromptPickAxis = 118;
constexpr int kMirrorAxisBlock = 5;
constexpr int kSnapshotCurves = 3;

// Once its values are complete the command takes one undo snapshot of the
// curves, before the transform edits (or copies) every selected curve.
void SnapshotBeforeTransform() { SnapshotForUndo(kSnapshotCurves); }

void SetCentreLabels() {
  g_pointLabelX = platform::Sjis("［Cx］＝ ");
  g_pointLabelY = platform::Sjis("［Cy］＝ ");
  g_pointDefaultX = g_pointDefaultY = "0";
}

std::string WithValue(const char* pattern, double value) {
  char text[160];
  std::snprintf(text, sizeof text, platform::Sjis(pattern).c_str(), value);
  return text;
}

// The outcome of one prompt: typed (or the pick arrived), waiting, cancelled.
int Outcome(int result) {
  if (result == kPromptTyped) return kTransformDone;
  if (result < 0 || result == kPromptClosedWithoutPoint) return kTransformCancelled;
  g_commandStep |= kPickFromDrawing;
  return kTransformWaiting;
}

Vec2 FirstFigureStart() {
  CurveFigureRange range;
  if (!GetCurveFigureRange(g_curCurveIndex, range)) return {};
  return g_figureStore.Table(kTableCurves)->slot(range.first).start;
}

int Translate(platform::DeviceContext* dc) {
  const bool picked = (g_commandStep & kPickFromDrawing) != 0;
  g_inputTitle = platform::Sjis("  [ 平行移動 ] : 移動量を入力して下さい ...");
  g_pointLabelX = platform::Sjis("［dX］＝ ");
  g_pointLabelY = platform::Sjis("［dY］＝ ");
  const int state = g_pickState;
  const int outcome = Outcome(PromptPoint());
  if (outcome != kTransformDone) return outcome;
  Vec2 d = PointInputValue;
  if (picked && state != kPickStatePoint) {
    const Vec2 s = FirstFigureStart();
    d = {d.x - s.x, d.y - s.y};
  }
  SnapshotBeforeTransform();
  TranslateCurves(d.x, d.y, dc);
  return kTransformDone;
}

// Rotate and scale: a value, then the centre.
int ValueThenCentre(int id, platform::DeviceContext* dc) {
  CurveEngineState& e = g_curveEngine;
  const bool rotate = id == curve_cmd::kRotate;
  if (e.transformStage == 0) {
    g_inputTitle = platform::Sjis(rotate ? "  [ 回転移動 ] : 角度を入力して下さい..."
                                         : "  [ 倍率変更 ] : 倍率を入力して下さい ......");
    g_valueLabel = platform::Sjis(rotate ? "［Ａ］＝ " : "［100%］＝ ");
    if (!rotate) CopySegment(0, 6);
    const int outcome = Outcome(PromptValue());
    if (outcome != kTransformDone) return outcome;
    e.transformValue = ValueInputValue;
    e.transformStage = 1;
    g_commandStep &= ~kPickFromDrawing;
  }
  SetCentreLabels();
  g_inputTitle = rotate ? WithValue("  [ 回転 A=%f ] : 中心を入力して下さい ...", e.transformValue)
                        : WithValue("  [ 倍率 = %f ] : 中心を入力して下さい ...", e.transformValue);
  const int outcome = Outcome(PromptPoint());
  if (outcome != kTransformDone) return outcome;
  e.transformStage = 0;
  SnapshotBeforeTransform();
  if (rotate) {
    RotateCurves(e.transformValue, PointInputValue, dc);
  } else {
    ScaleCurves(e.transformValue, PointInputValue, dc);
  }
  return kTransformDone;
}

int Mirror(platform::DeviceContext* dc) {
  if (g_commandStep != kStepPickAxis || g_pickIndex == 0) {
    g_pickState = kPickStateAxis;
    g_commandStep = kStepPickAxis;
    g_pickIndex = 0;
    ShowPromptHook(kPromptPickAxis);
    return kTransformWaiting;
  }
  // The view keeps the picked axis in block 0.
  CopySegment(0, kMirrorAxisBlock);
  SnapshotBeforeTransform();
  MirrorCurves(dc);
  return kTransformDone;
}

int Offset(platform::DeviceContext* dc) {
  g_inputTitle = platform::Sjis("  [ OFFSET ] : OFFSET量を入力して下さい. [ nnRmmF ]");
  g_valueLabel = platform::Sjis("［OFF] ＝ ");
  CopySegment(0, 6);
  g_valuePairCount = 0;
  const int outcome = Outcome(PromptValue());
  if (outcome != kTransformDone) return outcome;
  if (g_valuePairCount != 0) {
    // An amount with a trim radius ("nnRmmF") is not offset as a plain
    // amount: the curves stay as they are and the user is told.
    ShowCommandNotYet(curve_cmd::kOffset, " トリム半径付きのオフセット [ nnRmmF ] はまだ使えません ");
    return kTransformCancelled;
  }
  return OffsetCurves(ValueInputValue, dc) ? kTransformDone : kTransformCancelled;
}

}  // namespace

int TransformCurves(int id, platform::DeviceContext* dc) {
  switch (id) {
    case curve_cmd::kTranslate:
      return Translate(dc);
    case curve_cmd::kRotate:
    case curve_cmd::kScale:
      return ValueThenCentre(id, dc);
    case curve_cmd::kMirror:
      return Mirror(dc);
    case curve_cmd::kOffset:
      return Offset(dc);
    default:
      return kTransformCancelled;
  }
}

}  // namespace dorn
