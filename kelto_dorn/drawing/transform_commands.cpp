// The steps of the transforms of picked figures: parallel move, rotation and
// offset, each making g_repeatCount copies (the originals stay).
#include <cmath>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/figure_storing.h"

namespace dorn {

namespace {

constexpr int kFirstTransformBlock = 70;
constexpr int kErrorTooMany = 4;

// The figures collected for the transform, in the current origin's frame.
std::vector<FigureRecord> CollectedFigures() {
  std::vector<FigureRecord> figures;
  const Vec2 origin = CurrentLayerOrigin();
  for (int i = kFirstTransformBlock; i < kSegmentBlockCount; ++i) {
    const FigureRecord* f = g_figureStore.SegmentBlock(i);
    if (f == nullptr || f->kind == kKindEmpty) break;
    figures.push_back(FigureInFrame(*f, origin));
  }
  return figures;
}

// Whether `copies` more figures fit the current table; error box 4 when not.
bool CopiesFit(long long copies) {
  if (GetFigureCount(g_curLayer) + copies <= kFigureSlotLimit) return true;
  ShowErrorBox(kErrorTooMany);
  return false;
}

// Appends a copy with its own colour and draws it. False when the table
// refused it.
bool StoreCopy(const FigureRecord& f) {
  g_curFigure = f;
  g_curFigure.number = 0;
  g_curFigure.group = 0;
  if (!StoreAndDrawFigure(kStoreKeepColour)) return false;
  if (auto dc = GetViewDC()) DrawFigure(g_curFigure.attribute & kAttrColourMask, *dc);
  return true;
}

Vec2 Moved(Vec2 p, Vec2 d) { return {p.x + d.x, p.y + d.y}; }

Vec2 Rotated(Vec2 p, Vec2 c, double cs, double sn) {
  const double x = p.x - c.x, y = p.y - c.y;
  return {c.x + x * cs - y * sn, c.y + x * sn + y * cs};
}

// Makes every copy of every collected figure with `make`(figure, k).
template <class Make>
void MakeCopies(Make make) {
  const std::vector<FigureRecord> figures = CollectedFigures();
  const int count = std::max(1, g_repeatCount);
  if (figures.empty() || !CopiesFit(static_cast<long long>(figures.size()) * count)) {
    EndCommand();
    return;
  }
  TakeUndoSnapshot();
  for (int k = 1; k <= count; ++k) {
    for (const FigureRecord& f : figures) {
      FigureRecord copy = f;
      if (!make(copy, k)) continue;
      if (!StoreCopy(copy)) {
        EndCommand();
        return;
      }
    }
  }
  EndCommand();
}

// The reference of a picked displacement: the first figure's start point,
// or an arc's centre.
Vec2 MoveReference() {
  const std::vector<FigureRecord> figures = CollectedFigures();
  if (figures.empty()) return {};
  return figures.front().kind == kKindArc ? figures.front().centre : figures.front().start;
}

// 32873: copies displaced by k times (dX, dY).
int ParallelMove() {
  if (SelectFiguresStep() != 0) return 1;
  if (Step() == 1) {
    FocusedEditIndex = kOfferCountField;
    SetPointTexts(Title("[ 平行移動 ] : 移動量を入力して下さい ..."), "［dX］＝ ", "［dY］＝ ");
    if (PromptPointStep() != 0) return 1;
    g_pointMode = 0;
    AdvanceStep();
  }
  Vec2 d = PointInputValue;
  if (g_view.m_twoPointMove) {
    d = {PointInputValue.x - g_view.m_moveStart.x, PointInputValue.y - g_view.m_moveStart.y};
  } else if (g_pointMode != 0) {
    const Vec2 ref = MoveReference();
    d = {PointInputValue.x - ref.x, PointInputValue.y - ref.y};
  }
  MakeCopies([d](FigureRecord& f, int k) {
    const Vec2 dk{d.x * k, d.y * k};
    f.start = Moved(f.start, dk);
    f.end = Moved(f.end, dk);
    f.centre = Moved(f.centre, dk);
    return true;
  });
  return 0;
}

// 32874: copies rotated by k times the angle about a centre.
int RotationMove() {
  if (SelectFiguresStep() != 0) return 1;
  if (Step() == 1) {
    FocusedEditIndex = kOfferCountField;
    SetValueTexts(Title("[ 回転移動 ] : 角度を入力して下さい..."), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 2) {
    g_inputArea.values[0] = ValueInputValue;
    SetPointTexts(Title("[ 回転 A=%f ] : 中心を入力して下さい ...", ValueInputValue), "［Cx］＝ ", "［Cy］＝ ");
    if (PromptPointStep() != 0) return 1;
    AdvanceStep();
  }
  const Vec2 c = PointInputValue;
  const double angle = g_inputArea.values[0];
  MakeCopies([c, angle](FigureRecord& f, int k) {
    const double a = angle * k * kRadiansPerDegree, cs = std::cos(a), sn = std::sin(a);
    f.start = Rotated(f.start, c, cs, sn);
    f.end = Rotated(f.end, c, cs, sn);
    f.centre = Rotated(f.centre, c, cs, sn);
    f.dir = {f.dir.x * cs - f.dir.y * sn, f.dir.x * sn + f.dir.y * cs};
    return true;
  });
  return 0;
}

// 32876: offset copies; one figure once by a positive distance offers both
// sides.
int OffsetMove() {
  if (SelectFiguresStep() != 0) return 1;
  if (Step() == 1) {
    FocusedEditIndex = kOfferCountField;
    SetValueTexts(Title("[ OFFSET ] : OFFSET量を入力して下さい..."), "［OFF] ＝ ");
    if (PromptValueStep(NonZero) != 0) return 1;
    AdvanceStep();
  }
  const double d = ValueInputValue;
  const std::vector<FigureRecord> figures = CollectedFigures();
  if (figures.size() == 1 && g_repeatCount <= 1 && d > 0.0) {
    FigureRecord plus, minus;
    const bool hasPlus = OffsetCopy(figures.front(), d, plus);
    const bool hasMinus = OffsetCopy(figures.front(), -d, minus);
    if (FigureRecord* b6 = g_figureStore.SegmentBlock(kFirstCandidateBlock)) *b6 = hasMinus ? minus : FigureRecord{};
    if (FigureRecord* b7 = g_figureStore.SegmentBlock(kFirstCandidateBlock + 1)) *b7 = hasPlus ? plus : FigureRecord{};
    g_copyMode = 0;
    g_drawingView.m_workPickMode = kWorkPickTwoFigures;
    ChooseCandidates(2);
    return 1;
  }
  MakeCopies([d](FigureRecord& f, int k) {
    FigureRecord out;
    if (!OffsetCopy(f, d * k, out)) return false;
    f = out;
    return true;
  });
  return 0;
}

}  // namespace

int RunTransformCommand(int kind) {
  switch (kind) {
    case 32873:
      return ParallelMove();
    case 32874:
      return RotationMove();
    case 32876:
      return OffsetMove();
    default:
      return -1;
  }
}

}  // namespace dorn
