// Registering chained and joined figures as curves: see
// curve_chain_registration.h.
#include "kelto_dorn/drawing/curve_chain_registration.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_evaluation.h"
#include "kelto_dorn/drawing/curve_figure_repack.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/picked_figure_edits.h"

namespace dorn {
namespace {

using namespace curve_cmd;

constexpr int kChainColour = 1;
constexpr int kErrorCountOverflow = 4;
constexpr int kSnapshotCurves = 3;
// The chain keeps this many segment blocks free behind it.
constexpr int kChainReserve = 20;
// Beyond this many chained figures the search lets the window breathe.
constexpr int kPumpAfter = 300;
// Larger direction components than this decide a line's sense.
constexpr double kDirectionComponent = 0.1;
constexpr int kJoinReservedBlocks = 5;
constexpr int kPromptPickFirstFigure = 3;
constexpr int kPromptTaperFigure = 222;
constexpr int kPromptJoinMore = 300;
constexpr int kCurveKindPlain = 0;
constexpr int kCurveKindTaper = 8;
// A chain longer than this, or starting with an arc, gets an IP point.
constexpr int kIpPointAfter = 3;

double Length(const FigureRecord& f) { return std::hypot(f.end.x - f.start.x, f.end.y - f.start.y); }

bool SameSense(const FigureRecord& candidate, const FigureRecord& last) {
  if (candidate.kind == kKindArc) return candidate.radius * last.radius > 0.0;
  const bool useX = std::fabs(candidate.dir.x) > kDirectionComponent;
  return useX ? candidate.dir.x * last.dir.x > 0.0 : candidate.dir.y * last.dir.y > 0.0;
}

bool ChainClosed() {
  if (g_workCount < 2) return false;
  const FigureRecord& first = *g_figureStore.SegmentBlock(0);
  const FigureRecord& last = *g_figureStore.SegmentBlock(g_workCount - 1);
  const double t = g_joinTolerance > 0.0 ? g_joinTolerance : 1e-9;
  return std::hypot(first.start.x - last.end.x, first.start.y - last.end.y) <= t;
}

void Draw(platform::DeviceContext* dc) {
  if (dc != nullptr) DrawFigure(kChainColour, *dc);
}

// A collinear overlapping candidate: the chain's last figure grows over it.
void MergeIntoLast(platform::DeviceContext* dc) {
  FigureRecord& last = *g_figureStore.SegmentBlock(g_workCount - 1);
  if (!SameSense(g_curFigure, last)) return;
  last.end = g_curFigure.end;
  Draw(dc);
  if (g_workCount > 1 && last.kind == kKindLine && Length(last) == 0.0) --g_workCount;
}

bool Appendable(const FigureRecord& f, Vec2 origin) {
  if (f.kind != kKindLine && f.kind != kKindArc) return false;
  if (f.origin.x != origin.x || f.origin.y != origin.y) return false;
  return !(f.kind == kKindLine && Length(f) == 0.0);
}

// One pass over the table: the first figure that touches the chain's free
// end is appended (or merged); false when none does.
bool ExtendChain(int table, int count, std::vector<char>& chained, int& lastFound, Vec2 origin,
                 platform::DeviceContext* dc) {
  for (int i = 0; i < count; ++i) {
    if (chained[static_cast<std::size_t>(i)] != 0 || i == lastFound) continue;
    GetFigure(table, i);
    if (!Appendable(g_curFigure, origin)) continue;
    const int contact = TestEndpointsNearPicks(g_workCount - 1, g_workCount > 1 ? 1 : 0);
    if (contact == kHitNone) continue;
    lastFound = i;
    chained[static_cast<std::size_t>(i)] = 1;
    if (contact == kHitSameLine) {
      MergeIntoLast(dc);
    } else {
      g_curFigure.number = i;
      StoreSegment(g_workCount++);
      Draw(dc);
    }
    return true;
  }
  return false;
}

void RememberCommand(int id) {
  g_curveCommandId = id;
  g_curveEngine.commandRunning = 1;
}

}  // namespace

int AutoConnectChain(platform::DeviceContext* dc) {
  const int table = g_figureTableSelector;
  const int count = GetFigureCount(table);
  const int picked = g_pickFoundIndex;
  FigureRecord* first = g_figureStore.SegmentBlock(0);
  first->number = picked;
  g_workCount = 1;
  g_abortCount = 1;
  std::vector<char> chained(static_cast<std::size_t>(count > 0 ? count : 0), 0);
  if (picked >= 0 && picked < count) chained[static_cast<std::size_t>(picked)] = 1;
  int lastFound = picked;
  const Vec2 origin = first->origin;
  const FigureRecord saved = g_curFigure;
  while (!ChainClosed()) {
    if (g_workCount + kChainReserve > kSegmentBlockCount) {
      ShowErrorBoxCall(kErrorCountOverflow);
      break;
    }
    if (!ExtendChain(table, count, chained, lastFound, origin, dc)) break;
    if (g_workCount > kPumpAfter) PumpMessages();
    if (g_abortCount > 1) break;
  }
  g_abortCount = 0;
  g_curFigure = saved;
  return g_workCount;
}

void RegisterAutoConnectedCurve(platform::DeviceContext* dc) {
  const int id = g_curveCommandId;
  ShowPromptHook(0);
  AutoConnectChain(dc);
  if (g_curveCount >= kCurveTableSize) {
    ShowErrorBoxCall(kErrorCountOverflow);
    EndPick(g_curCommand);
    return;
  }
  ResetCurrentCurve();
  int kind = kCurveKindPlain;
  const bool arcFirst = g_figureStore.SegmentBlock(0)->kind == kKindArc;
  if (id == kPocket || id == kTaper) {
    EvaluateCurvePick(0);
    // A pocket keeps the kind the evaluation found (5 for a single circle).
    kind = id == kPocket ? g_curCurveRecord.kind : kCurveKindTaper;
  } else if (g_workCount > kIpPointAfter || arcFirst) {
    EvaluateCurvePick(0);
  }
  g_curCurveRecord.kind = kind;
  g_curveTable[static_cast<std::size_t>(g_curveCount)] = g_curCurveRecord;
  SnapshotForUndo(kSnapshotCurves);
  const int result = RegisterCurveEntry(kRegisterAutoConnect, 1, dc);
  if (result == kCurveTaperRequested) {
    g_curveEngine.noFigureUnderCursor = -1;
    RedrawView();
    g_pickState = kPickStateTaperFigure;
    g_curCommand = kTaper;
    ShowPromptHook(kPromptTaperFigure);
    g_commandStep = g_pickIndex = g_workCount = 0;
    return;
  }
  if (result != kCurveRegisteredNew) {
    EndPick(g_curCommand);
    RedrawView();
    RememberCommand(id);
    SetActiveCommandCall(id, 1);
    g_commandStep = 0;
    g_workCount = 0;
    g_pickState = kAutoConnect;
    ShowPromptHook(kPromptPickFirstFigure);
    return;
  }
  if (id == kPocket || id == kTaper) {
    FinishCurveCommand(id);
    return;
  }
  const int curve = g_curveCount - 1;
  g_returnCommand = kAutoConnect;
  EndPick(kAutoConnect);
  g_curCommand = kEndPoints;
  ResetCurveCommand();
  g_curCurveIndex = curve;
  LoadCurveEntry(curve);
  ExecuteCurveCommand(kEndPoints, dc);
}

namespace {

// The join picked its figures into blocks 5..; registration takes 0...
int MoveJoinedFiguresDown() {
  const int n = g_workCount - kJoinReservedBlocks;
  for (int i = 0; i < n; ++i) CopySegment(kJoinReservedBlocks + i, i);
  g_workCount = n > 0 ? n : 0;
  return g_workCount;
}

void WaitForMoreFigures(int n) {
  for (int i = n - 1; i >= 0; --i) CopySegment(i, kJoinReservedBlocks + i);
  g_workCount = n + kJoinReservedBlocks;
  LoadSegment(g_workCount - 1);
  StoreSegment(0);
  StoreSegment(1);
  g_pickIndex = 1;
  g_pickState = kPickStateJoinMore;
  ShowPromptHook(kPromptJoinMore);
}

void ContinueWithEndPoints(int curve, platform::DeviceContext* dc) {
  g_curCommand = kEndPoints;
  ResetCurveCommand();
  g_curCurveIndex = curve;
  LoadCurveEntry(curve);
  ExecuteCurveCommand(kEndPoints, dc);
}

// Appends the joined figures to the marked curve and goes on with its start
// and end points.
void AppendToMarkedCurve(platform::DeviceContext* dc) {
  const int curve = g_markedCurve;
  if (curve < 0 || curve >= g_curveCount) return;
  if (!ReregisterCurveInPlace(curve, dc)) {
    EndPick(g_curCommand);
    RedrawView();
    return;
  }
  ContinueWithEndPoints(curve, dc);
}

}  // namespace

bool ReregisterCurveInPlace(int curve, platform::DeviceContext* dc) {
  const int count = g_curveCount;
  if (curve < 0 || curve >= count) return false;
  const int key = g_curveTable[static_cast<std::size_t>(curve)].key;
  // The curves behind are packed again from this copy once the curve grew.
  if (!ClearCurveWorkTable()) return false;
  g_curveCount = curve;
  const int result = RegisterCurveEntry(kRegisterPlain, 0, dc);
  g_curveCount = count;
  g_curveTable[static_cast<std::size_t>(curve)].key = key;
  if (result != kCurveRegisteredInPlace) return false;
  RenumberCurveFigures(curve + 1);
  return true;
}

void RegisterJoinedCurve(platform::DeviceContext* dc) {
  ShowPromptHook(0);
  SnapshotForUndo(kSnapshotCurves);
  const int n = MoveJoinedFiguresDown();
  if (n <= 0) {
    EndPick(g_curCommand);
    RedrawView();
    return;
  }
  if (g_curveCommandId == kAppend) {
    AppendToMarkedCurve(dc);
    return;
  }
  if (g_curveCount >= kCurveTableSize) {
    ShowErrorBoxCall(kErrorCountOverflow);
    EndPick(g_curCommand);
    return;
  }
  ResetCurrentCurve();
  if (n > kIpPointAfter || g_figureStore.SegmentBlock(0)->kind == kKindArc) {
    const int saved = g_workCount;
    EvaluateCurvePick(1);
    g_workCount = saved;
  }
  g_curCurveRecord.kind = kCurveKindPlain;
  g_curveTable[static_cast<std::size_t>(g_curveCount)] = g_curCurveRecord;
  const int result = RegisterCurveEntry(kRegisterPlain, 1, dc);
  if (result == kCurveContinuePicking) {
    WaitForMoreFigures(n);
    return;
  }
  if (result != kCurveRegisteredNew) {
    EndPick(g_curCommand);
    RedrawView();
    return;
  }
  SetActiveCommandCall(kJoin, 0);
  ContinueWithEndPoints(g_curveCount - 1, dc);
}

}  // namespace dorn
