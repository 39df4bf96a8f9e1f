// The work points of a point-group edit: see work_points.h.
#include "kelto_dorn/drawing/work_points.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/curve_point_input.h"
#include "kelto_dorn/drawing/curve_through_points.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/pick_hit_test.h"
#include "kelto_dorn/drawing/point_group_edit.h"

namespace dorn {

namespace {

constexpr int kPickedCurveBlock = 19;
constexpr int kTangentLowByte = 84;
constexpr int kPickStateReplace = 650;
constexpr int kPickStateDelete = 660;
constexpr int kCommandCurvePoints = 32821;
// The reload stops this far short of the last work block.
constexpr int kReloadMargin = 10;

bool IsWorkPoint(const FigureRecord& f) { return (f.kind & 0xFF) == kTangentLowByte; }

std::string Fixed(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", v);
  return text;
}

// The rebuilt curve's figures, points and pieces, back in the work blocks
// so that the edit can go on; block 19 takes the new number, which the next
// rebuild deletes.
void ReloadWorkPoints(int number) {
  FigureTable* table = g_figureStore.Table(g_figureTableSelector);
  int block = kFirstWorkPointBlock;
  if (table != nullptr) {
    for (int i = 0; i < table->count() && block + kReloadMargin < kSegmentBlockCount; ++i) {
      if (table->slot(i).number != number || table->slot(i).kind == kKindEmpty) continue;
      g_curFigure = table->slot(i);
      StoreSegment(block++);
    }
  }
  g_workCount = block;
  g_view.m_blockCount = block;
  if (FigureRecord* picked = g_figureStore.SegmentBlock(kPickedCurveBlock)) picked->number = number;
}

// Rebuilds the curve from the work points and waits for the next point.
int RebuildAndWait(int state) {
  g_pointGroupEdit = state;
  // The rebuild numbers the curve with the next curve number.
  const int number = g_pointCurveNumber + 1;
  FinishCurveThroughPoints(state);
  ReloadWorkPoints(number);
  g_commandStep = 0;
  g_curCommand = state;
  g_pickState = state;
  RedrawView();
  ShowPrompt(state);
  return 1;
}

// 650: the point in `block` gets typed coordinates, then a tangent angle or
// none.
int InputCurvePointValues(int block) {
  FigureRecord* point = g_figureStore.SegmentBlock(block);
  if (block < kFirstWorkPointBlock || block >= g_workCount || point == nullptr) {
    EndCommand();
    return -1;
  }
  if (Step() == 0) {
    const std::string n = std::to_string(block - kPickedCurveBlock);
    // Points are typed relative to the current origin.
    const Vec2 current = CurrentLayerOrigin();
    g_pointDefaultX = Fixed(point->start.x + point->origin.x - current.x);
    g_pointDefaultY = Fixed(point->start.y + point->origin.y - current.y);
    SetPointTexts(Title("\t [ ＣＵＲＶＥ ] : 通る点を入力して下さい ..."), ("［PX_" + n + "］＝ ").c_str(),
                  ("［PY_" + n + "］＝ ").c_str());
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 1) {
    point->start = point->end = InFrame(PointInputValue, point->origin);
    ValueInputValue = point->radius;
    SetValueTexts(Title("  [%f %f] : 接線角度を入力して下さい", point->start.x, point->start.y), "［Ａ］＝ ");
    const int result = PromptValueStep();
    if (result == 0) {
      point->kind = kKindCurvePointAngle;
      point->radius = ValueInputValue;
      point->dir = UnitVectorFromAngle(ValueInputValue);
    } else if (result < 0) {
      point->kind = kKindCurvePoint;
    } else {
      return 1;
    }
    AdvanceStep();
  }
  return RebuildAndWait(kPickStateReplace);
}

// 660: the picked point leaves the group.
int DeleteWorkPoint() {
  const int block = g_pickIndex;
  if (block < kFirstWorkPointBlock || block >= g_workCount) return 1;
  for (int b = block; b + 1 < g_workCount; ++b) CopySegment(b + 1, b);
  --g_workCount;
  if (FigureRecord* last = g_figureStore.SegmentBlock(g_workCount)) last->kind = kKindEmpty;
  return RebuildAndWait(kPickStateDelete);
}

}  // namespace

void DrawWorkFigures(int colour, platform::DeviceContext& dc) {
  const FigureRecord saved = g_curFigure;
  int c = colour;
  for (int b = kFirstWorkPointBlock; b < g_workCount && b < kSegmentBlockCount; ++b) {
    LoadSegment(b);
    if (c == 0) c = g_curFigure.attribute & kAttrColourMask;
    DrawFigure(c, dc);
  }
  g_curFigure = saved;
}

int PickPolylineWorkFigure(double tolerance) {
  g_pickExcludeIndex = -1;
  g_pickTestIndex = -2;
  if (g_workCount < kFirstWorkPointBlock + 1) return -1;
  bool any = false;
  for (int b = kFirstWorkPointBlock; b < g_workCount && b < kSegmentBlockCount; ++b) {
    const FigureRecord* f = g_figureStore.SegmentBlock(b);
    if (f == nullptr || !IsWorkPoint(*f)) continue;
    any = true;
    FigureRecord absolute = *f;
    for (Vec2* p : {&absolute.start, &absolute.end, &absolute.centre})
      *p = {p->x + absolute.origin.x, p->y + absolute.origin.y};
    if (FigureHitAt(absolute, g_pickPoint, tolerance)) return b;
  }
  return any ? 0 : -1;
}

int RunPointGroupCommand(int kind) {
  switch (kind) {
    case kPickStateReplace:
      // The block picked is kept for the steps that follow.
      if (Step() == 0) g_inputArea.pickedIndex[0] = g_pickIndex;
      return InputCurvePointValues(g_inputArea.pickedIndex[0]);
    case kPickStateDelete:
      return DeleteWorkPoint();
    case kCommandCurvePoints:
      return InputCurvePoints();
    default:
      return -1;
  }
}

}  // namespace dorn
