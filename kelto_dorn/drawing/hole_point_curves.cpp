// Hole-point curves: see hole_point_curves.h.
#include "kelto_dorn/drawing/hole_point_curves.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_chain_registration.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_analysis.h"
#include "kelto_dorn/drawing/figure_operations.h"
#include "kelto_dorn/drawing/hole_circles.h"

namespace dorn {
namespace {

using namespace curve_cmd;

constexpr int kPickStateHole = 66;
constexpr int kPickStatePoint = 4;
constexpr int kPickStateAnyFigure = 80;
constexpr int kPickStateReference = 16;
constexpr int kPromptHoleCircle = 135;
constexpr int kPromptPoint = 137;
constexpr int kPromptAnyFigure = 1527;
constexpr int kPromptHoleBox = 16;
constexpr int kHoleStyle = 8;
constexpr int kHoleColour = 8;
constexpr int kCurveKindHoles = 1;
constexpr int kErrorCountOverflow = 4;
// The curve record's float at +96: the hole diameter of a hole-point curve.
constexpr int kCurveHoleDiameterValue = 6;
constexpr int kSnapshotCurves = 3;
// Holes stay below the blocks the hole collection may fill.
constexpr int kLastHoleWorkBlock = kLastHoleBlock;

// The hole record for the figure picked into block 0 (a circle gives its
// centre and radius) or, for a point pick, for the point entered.
FigureRecord HoleFromPick() {
  FigureRecord hole{};
  const FigureRecord picked = *g_figureStore.SegmentBlock(0);
  if (g_pickState == kPickStateHole && picked.kind != kKindEmpty) {
    hole.origin = picked.origin;
    hole.start = picked.kind == kKindArc ? picked.centre : picked.start;
    if (picked.kind == kKindArc) {
      hole.radius = std::fabs(picked.radius);
      g_curveEngine.holeDiameter = 2.0 * hole.radius;
    }
  } else {
    hole.origin = CurrentLayerOrigin();
    hole.start = PointInputValue;
  }
  if (hole.radius == 0.0) hole.radius = g_curveEngine.holeDiameter / 2.0;
  hole.kind = kKindPointMark;
  hole.style = kHoleStyle;
  hole.layer = g_curLayer;
  hole.end = hole.centre = hole.start;
  return hole;
}

void AskForNextHole() {
  g_pickIndex = 0;
  g_commandStep = 0;
  if (g_pickState == kPickStateHole) {
    ShowPromptHook(kPromptHoleCircle);
  } else if (g_pickState == kPickStatePoint) {
    ShowPromptHook(kPromptPoint);
  } else {
    g_pickState = kPickStateAnyFigure;
    ShowPromptHook(kPromptAnyFigure);
  }
}

// The band at the bottom of the view tells where the hole went (its point
// analysis), and the hole is marked in the drawing.
void ShowAddedHole(const FigureRecord& hole, platform::DeviceContext& dc) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = hole;
  ShowFigureAnalysis(dc);
  DrawFigure(kHoleColour, dc);
  g_curFigure = saved;
}

void AddPickedHole(platform::DeviceContext* dc) {
  if (g_workCount < kFirstHoleBlock) g_workCount = kFirstHoleBlock;
  const FigureRecord hole = HoleFromPick();
  if (!std::isfinite(hole.start.x) || !std::isfinite(hole.start.y)) {
    SignalBeep();
  } else if (g_workCount > kLastHoleWorkBlock) {
    ShowErrorBoxCall(kErrorCountOverflow);
  } else {
    *g_figureStore.SegmentBlock(g_workCount++) = hole;
    if (dc != nullptr) ShowAddedHole(hole, *dc);
  }
  AskForNextHole();
}

// The holes move down to blocks 0.. where registration takes its figures.
int MoveHolesDown() {
  const int n = g_workCount - kFirstHoleBlock;
  for (int i = 0; i < n; ++i) CopySegment(kFirstHoleBlock + i, i);
  g_workCount = n > 0 ? n : 0;
  return g_workCount;
}

bool RegisterNewCurve(platform::DeviceContext* dc) {
  if (g_curveCount >= kCurveTableSize) {
    ShowErrorBoxCall(kErrorCountOverflow);
    return false;
  }
  ResetCurrentCurve();
  g_curCurveRecord.kind = kCurveKindHoles;
  // The hole diameter the hole definitions show and machine from: that of
  // the first hole (a picked circle's, or the one entered for points).
  g_curCurveRecord.values[kCurveHoleDiameterValue] =
      static_cast<float>(2.0 * std::fabs(g_figureStore.SegmentBlock(0)->radius));
  g_curveTable[static_cast<std::size_t>(g_curveCount)] = g_curCurveRecord;
  return RegisterCurveEntry(kRegisterPlain, 1, dc) == kCurveRegisteredNew;
}

HoleReference ReferenceIn(int block) {
  const FigureRecord& f = *g_figureStore.SegmentBlock(block);
  if (f.kind != kKindArc) return {};
  return {std::fabs(f.radius), f.attribute};
}

// Step 11: the circles inside the BOX become the holes, in drilling order;
// circles picked as references (blocks 0 and 1) choose their diameters.
bool TakeHolesInBox(platform::DeviceContext* dc) {
  HoleReference first, second;
  if (g_pickState == kPickStateReference) {
    first = ReferenceIn(0);
    second = ReferenceIn(1);
    if (second.radius == first.radius) second = {};
  }
  if (g_workCount < kFirstHoleBlock) g_workCount = kFirstHoleBlock;
  g_workCount += CollectHoleCircles(g_workCount, first, second, CurrentSelectionRegion());
  return RegisterHolePoints(dc);
}

}  // namespace

void BeginHolePoints(bool keepHoles) {
  if (!keepHoles) g_workCount = kFirstHoleBlock;
  g_boxMode = 0;
  g_copyMode = 0;
  g_returnCommand = kHolePoints;
  g_curCommand = kHolePoints;
  g_pickState = kPickStateHole;
  g_pickIndex = 0;
  g_commandStep = 0;
  g_curveEngine.inputMode = 0;
  g_figureStore.SegmentBlock(0)->kind = kKindEmpty;
  g_figureStore.SegmentBlock(1)->kind = kKindEmpty;
  ShowPromptHook(kPromptHoleCircle);
}

bool RunHolePointStep(platform::DeviceContext* dc) {
  bool done = false;
  switch (g_commandStep) {
    case 0:
      break;
    case kHoleStepFinish:
      RegisterHolePoints(dc);
      done = true;
      break;
    case kHoleStepBox:
      if (g_boxMode != 0 && g_boxMode != 2) {
        TakeHolesInBox(dc);
        done = true;
      } else {
        // The circles of the box are chosen by one or two reference circles.
        g_figureStore.SegmentBlock(1)->kind = kKindEmpty;
        g_pickState = kPickStateReference;
        g_pickIndex = 0;
        ShowPromptHook(kPromptHoleBox);
      }
      break;
    case kHoleStepBoxTaken:
      TakeHolesInBox(dc);
      done = true;
      break;
    default:
      AddPickedHole(dc);
      break;
  }
  // Holes are stored relative to the current origin of the layer.
  if (!done) g_figureStore.SegmentBlock(0)->origin = CurrentLayerOrigin();
  return done;
}

bool RegisterHolePoints(platform::DeviceContext* dc) {
  ShowPromptHook(0);
  if (g_workCount - kFirstHoleBlock < 1) return false;
  SnapshotForUndo(kSnapshotCurves);
  MoveHolesDown();
  if (g_curveCommandId == kAppend) return ReregisterCurveInPlace(g_markedCurve, dc);
  return RegisterNewCurve(dc);
}

}  // namespace dorn
