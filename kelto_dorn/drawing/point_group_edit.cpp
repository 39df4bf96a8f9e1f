// Editing a curve through points: see point_group_edit.h.
#include "kelto_dorn/drawing/point_group_edit.h"

#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/cursor_hit_search.h"
#include "kelto_dorn/drawing/curve_point_input.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/frame.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kPickStatePointGroup = 630;
constexpr int kPromptPointGroup = 630;
constexpr int kSnapshotTable = 0;
constexpr int kPickedBlock = 19;
constexpr int kFirstPointBlock = 20;
constexpr int kTangentKnown = 84;
constexpr int kNoTangent = 68;
constexpr int kCurveEditMenu = 33009;

bool IsPointOfCurve(int kind) { return (kind & 0xFF) == kTangentKnown || (kind & 0xFF) == kNoTangent; }

// Removes every figure with the number in one pass, keeping the order.
void DeleteFiguresNumbered(int number) {
  FigureTable* table = g_figureStore.Table(g_figureTableSelector);
  if (table == nullptr) return;
  const int count = table->count();
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (table->slot(i).number == number && table->slot(i).kind != kKindEmpty) continue;
    if (kept != i) table->slot(kept) = table->slot(i);
    ++kept;
  }
  for (int i = kept; i < count; ++i) table->slot(i).kind = kKindEmpty;
  table->set_count(kept);
}

}  // namespace

void BeginPointGroupEdit(int mode) {
  SnapshotForUndo(kSnapshotTable);
  g_pointGroupEdit = mode;
  SignalBeep();
  g_pickState = kPickStatePointGroup;
  ShowPromptHook(kPromptPointGroup);
  g_pickIndex = 0;
  g_workCount = 0;
  g_view.m_blockCount = 0;
}

void RoutePointGroupCommand(int id) {
  switch (id) {
    case 33048:
      BeginPointGroupEdit(kPointGroupAdd);
      break;
    case 33049:
      BeginPointGroupEdit(kPointGroupReplace);
      break;
    case 33050:
      BeginPointGroupEdit(kPointGroupDelete);
      break;
    case 33051:
      BeginPointGroupEdit(kPointGroupDeleteCurve);
      break;
    case kCurveEditMenu:
      if (const int chosen = ShowCurveEditMenu(); chosen != 0) RoutePointGroupCommand(chosen);
      break;
    default:
      break;
  }
}

int ShowCurveEditMenu() {
  platform::Frame* frame = GetAppMainWnd();
  if (frame == nullptr) return 0;
  const std::vector<platform::MenuItem> items = {
      {33048, platform::Sjis("点群の追加")},
      {33049, platform::Sjis("点群の置換")},
      {33050, platform::Sjis("点群の削除")},
      {33051, platform::Sjis("カーブの削除")},
  };
  const int chosen = frame->TrackPopupMenu(items, {g_view.m_lastMouseX, g_view.m_lastMouseY});
  // Only the four edits are taken: the menu cannot start itself again.
  return chosen >= 33048 && chosen <= 33051 ? chosen : 0;
}

void PointGroupInput(platform::DeviceContext& dc) {
  (void)dc;
  if (!PickFigureOrCurve(kPickStatePointGroup)) return;
  if (g_pointGroupEdit == kPointGroupDeleteCurve) {
    FinishCurveThroughPoints(kPointGroupDeleteCurve);
    EndPick(g_curCommand);
    RedrawView();
    return;
  }
  if (g_pointGroupEdit == kPointGroupAdd) {
    // The old curve goes; its points begin a new input that adds more.
    FinishCurveThroughPoints(kPointGroupDeleteCurve);
    CommitPointGroup();
    return;
  }
  // The next click picks a point of the group for the edit.
  g_view.m_blockCount = g_workCount;
  g_pickState = g_pointGroupEdit;
  g_curCommand = g_pointGroupEdit;
  RedrawView();
}

int FinishCurveThroughPoints(int code) {
  const FigureRecord picked = *g_figureStore.SegmentBlock(kPickedBlock);
  DeleteFiguresNumbered(picked.number);
  if (code == kPointGroupDeleteCurve) return GetFigureCount(g_figureTableSelector);
  const int first = GetFigureCount(g_figureTableSelector);
  const FigureRecord saved = g_curFigure;
  ++g_pointCurveNumber;
  for (int b = kFirstPointBlock; b < g_workCount && b < kSegmentBlockCount; ++b) {
    LoadSegment(b);
    if (!IsPointOfCurve(g_curFigure.kind)) continue;
    if (g_curFigure.kind != kKindCurvePointAngle) g_curFigure.kind = kNoTangent;
    g_curFigure.number = g_pointCurveNumber;
    AppendFigure(0);
  }
  const int end = GetFigureCount(g_figureTableSelector);
  g_curFigure = saved;
  return ComputeCurveFromPoints(first, end, end);
}

}  // namespace dorn
