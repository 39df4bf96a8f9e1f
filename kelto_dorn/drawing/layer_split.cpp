// Layer split and curve layer move: see layer_split.h.
#include "kelto_dorn/drawing/layer_split.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_entries.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/origins.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kSnapshotTable = 0;
constexpr int kSnapshotCurves = 3;
constexpr int kPromptCurvesMoved = 902;
constexpr int kMessageTooManyOrigins = 64;
constexpr int kErrorCountOverflow = 4;
constexpr platform::Color kEmptyLayerColour = platform::Rgb(255, 255, 255);
constexpr platform::Color kUsedLayerColour = platform::Rgb(255, 190, 120);

std::vector<platform::ControlSpec> LayerButtons() {
  std::vector<platform::ControlSpec> controls;
  static const char* const kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  // Four rows of eight buttons, each row a frame of its own.
  constexpr int kRows = 4, kPerRow = 8, kFirstRowGroup = 1180;
  for (int row = 0; row < kRows; ++row) {
    controls.emplace_back(platform::ControlKind::GroupBox, kFirstRowGroup + row, std::string());
    for (int k = row * kPerRow; k < (row + 1) * kPerRow; ++k) {
      const int n = k + 1;
      const std::string caption = std::string("【") + kDigits[n / 10] + kDigits[n % 10] + "】";
      controls.emplace_back(platform::ControlKind::OwnerDrawButton, kFirstLayerButton + k, platform::Sjis(caption),
                            kFirstRowGroup + row);
    }
  }
  controls.emplace_back(platform::ControlKind::PushButton, platform::kIdCancel, platform::Sjis("キャンセル"));
  return controls;
}

Vec2 Plus(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }

bool IsEqualCircle(const FigureRecord& f, double radius) {
  return f.kind == kKindArc && Round3(std::fabs(f.radius)) == Round3(std::fabs(radius));
}

// The target layer's origin for a figure's origin: the first within the
// pick distance, else a new one. -1 when the table is full.
int TargetOrigin(int target, Vec2 origin) {
  const std::size_t t = static_cast<std::size_t>(target);
  const int count = std::clamp(g_originCount[t], 0, kOriginsPerLayer);
  for (int i = 0; i < count; ++i) {
    const Vec2 o = g_originTable[t][static_cast<std::size_t>(i)];
    if (std::hypot(o.x - origin.x, o.y - origin.y) < g_pickTolerance) return i;
  }
  if (count >= kMaxOriginsInUse) return -1;
  g_originTable[t][static_cast<std::size_t>(count)] = origin;
  g_originCount[t] = count + 1;
  return count;
}

// The texts of the source layer whose reference point is in the region.
void MoveTexts(int source, int target, const SelectionRegion& region, LayerMoveResult& result) {
  const FigureOperationParams& p = g_figureOperation;
  if (p.code == kEngineCodeEqualCircles) return;
  const bool copy = p.copyOption != 0;
  const int n = TextRecordsInUse();
  for (int i = 0; i < n; ++i) {
    TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    if (t.layer != source) continue;
    if (p.code == kEngineCodeSameAttributes && t.colour != (p.reference.attribute & kAttrColourMask)) continue;
    if (!InsideRegion(region, {double(t.originX) + t.baseX, double(t.originY) + t.baseY})) continue;
    if (!copy) {
      t.layer = target;
      ++result.texts;
      continue;
    }
    TextRecord moved = t;
    moved.layer = target;
    if (AppendTextRecord(moved) < 0) {
      result.textsFull = true;
      return;
    }
    ++result.texts;
  }
}

}  // namespace

// --- The layer choice ------------------------------------------------------------

CLayerSplitDlg::CLayerSplitDlg()
    : platform::Dialog(kLayerSplitDialogId, platform::Sjis("レイヤー選択"), LayerButtons()) {}

bool CLayerSplitDlg::OnInit() {
  char title[96];
  std::snprintf(title, sizeof title, "%s", platform::Sjis("レイヤー(%d) -> 分割先のレイヤー選択").c_str());
  char text[128];
  std::snprintf(text, sizeof text, title, g_curLayer + 1);
  SetTitle(text);
  for (int k = 0; k < kLayerCount; ++k) {
    const bool used = GetFigureCount(k) > 0;
    buttons_[static_cast<std::size_t>(k)].SetColor(used ? kUsedLayerColour : kEmptyLayerColour);
    Enable(kFirstLayerButton + k, k != g_curLayer);
  }
  return true;
}

void CLayerSplitDlg::OnClick(int id) {
  const int k = id - kFirstLayerButton;
  if (k < 0 || k >= kLayerCount) return;
  SetCheck(id, 1);
  EndDialog(kLayerChosenBase + k);
}

void CLayerSplitDlg::OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  const int k = id - kFirstLayerButton;
  if (k < 0 || k >= kLayerCount) return;
  const platform::ControlState* c = Control(id);
  buttons_[static_cast<std::size_t>(k)].DrawItem(dc, item, c != nullptr ? c->decl.caption : std::string());
}

int ChooseTargetLayer() {
  CLayerSplitDlg dialog;
  const int code = RunModalDialog(dialog) - kLayerChosenBase;
  return code >= 0 && code < kLayerCount ? code : kNone;
}

// --- Figures -----------------------------------------------------------------------

LayerMoveResult MoveFiguresToLayer(int source, int target, double radius, const SelectionRegion& region) {
  LayerMoveResult result;
  FigureTable* from = g_figureStore.Table(source);
  if (from == nullptr || g_figureStore.Table(target) == nullptr || source == target) return result;
  const FigureOperationParams& p = g_figureOperation;
  const bool copy = p.copyOption != 0;
  const FigureRecord saved = g_curFigure;
  const int savedSelector = g_figureTableSelector;
  g_figureTableSelector = target;
  const int n = std::min(from->count(), from->capacity());
  // Figures of one origin come in runs: its target origin is looked up once.
  Vec2 lastOrigin{};
  int lastTarget = -2;
  for (int i = 0; i < n; ++i) {
    FigureRecord& f = from->slot(i);
    if (f.kind == kKindEmpty) continue;
    if (p.code == kEngineCodeSameAttributes && (f.attribute != p.reference.attribute || f.origin != p.reference.origin))
      continue;
    if (p.code == kEngineCodeEqualCircles && !IsEqualCircle(f, radius)) continue;
    if (!FigureMeetsRegion(f, region)) continue;
    if (lastTarget == -2 || f.origin != lastOrigin) {
      lastOrigin = f.origin;
      lastTarget = TargetOrigin(target, f.origin);
    }
    if (lastTarget < 0) {
      ++result.stayed;
      continue;
    }
    const Vec2 o = g_originTable[static_cast<std::size_t>(target)][static_cast<std::size_t>(lastTarget)];
    g_curFigure = f;
    const Vec2 shift = Minus(f.origin, o);
    g_curFigure.start = Plus(f.start, shift);
    g_curFigure.end = Plus(f.end, shift);
    g_curFigure.centre = Plus(f.centre, shift);
    g_curFigure.origin = o;
    if (!AppendFigure(0)) break;  // the target is full: the rest stays
    ++result.figures;
    if (!copy) {
      f.kind = kKindEmpty;
      f.number = 0;
      f.choice = 0;
    }
  }
  if (result.stayed > 0) ShowMessage(kMessageTooManyOrigins);
  MoveTexts(source, target, region, result);
  if (result.textsFull) ShowErrorBox(kErrorCountOverflow);
  if (!copy) {
    // Compact the source: the figures left keep their order.
    int kept = 0;
    for (int i = 0; i < n; ++i) {
      if (from->slot(i).kind == kKindEmpty) continue;
      if (kept != i) from->slot(kept) = from->slot(i);
      ++kept;
    }
    for (int i = kept; i < n; ++i) from->slot(i).kind = kKindEmpty;
    from->set_count(kept);
  }
  g_curFigure = saved;
  g_figureTableSelector = savedSelector;
  g_undoSaved = 0;
  return result;
}

void SplitLayer() {
  const int source = g_curLayer;
  const SelectionRegion region = CurrentSelectionRegion();
  const int target = ChooseTargetLayer();
  if (target == kNone || target == source) return;
  SnapshotForUndo(kSnapshotTable);
  LayerViewRecord& to = g_layerViews[static_cast<std::size_t>(target)];
  const LayerViewRecord& from = g_layerViews[static_cast<std::size_t>(source)];
  if (to.scale > from.scale) {
    to.centreX = from.centreX;
    to.centreY = from.centreY;
    to.scale = from.scale;
  }
  MoveFiguresToLayer(source, target, g_figureOperation.referenceRadius, region);
  g_curLayer = target;
  g_figureTableSelector = target;
  g_curOriginIndex = g_layerOriginIndex[static_cast<std::size_t>(target)];
  ShowPrompt(0);
}

// --- Curves ------------------------------------------------------------------------

int MoveCurvesToLayer() {
  const int savedLayer = g_curLayer;
  const int target = ChooseTargetLayer();
  if (target == kNone || target == savedLayer) return savedLayer;
  SnapshotForUndo(kSnapshotCurves);
  // The selection a pick or a BOX made; else the current curve; else all.
  std::vector<int> curves;
  for (int c : g_selectionList) {
    if (c == kNone) break;
    curves.push_back(c);
  }
  if (curves.empty() && g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount) curves.push_back(g_curCurveIndex);
  if (curves.empty()) {
    for (int c = 0; c < g_curveCount; ++c) curves.push_back(c);
  }
  FigureTable* t = g_figureStore.Table(kTableCurves);
  auto dc = GetViewDC();
  for (int c : curves) {
    CurveFigureRange range;
    if (!GetCurveFigureRange(c, range)) continue;
    if (g_copyMode == 0) {
      g_curveTable[static_cast<std::size_t>(c)].layer = target;
      for (int i = range.first; i < range.end; ++i) t->slot(i).layer = target;
      continue;
    }
    if (g_curveCount >= kCurveTableSize || range.count() >= kSegmentBlockCount) {
      ShowErrorBox(kErrorCountOverflow);
      break;
    }
    CopyCurveEntry(c, g_curveCount);
    g_curveTable[static_cast<std::size_t>(g_curveCount)].layer = target;
    g_workCount = 0;
    for (int i = range.first; i < range.end; ++i) {
      g_curFigure = t->slot(i);
      g_curFigure.layer = target;
      StoreSegment(g_workCount++);
    }
    g_curLayer = target;
    const int registered = RegisterCurveEntry(kRegisterPlain, 1, dc.get());
    g_curLayer = savedLayer;
    if (registered < 0) break;
  }
  ShowPrompt(kPromptCurvesMoved);
  g_selectionList.fill(kNone);
  g_curLayer = savedLayer;
  g_figureTableSelector = savedLayer;
  g_undoSaved = 0;
  return savedLayer;
}

}  // namespace dorn
