// The value texts of dimensions: see dimension_texts.h.
#include "kelto_dorn/drawing/dimension_texts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/curve_text_painter.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/dimension_layout.h"
#include "kelto_dorn/drawing/dimension_value_dialog.h"
#include "kelto_dorn/drawing/dimensions.h"
#include "kelto_dorn/drawing/figure_prompts.h"

namespace dorn {

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kRaisePerSize = 0.625;
constexpr double kHalfPitch = 0.3125;
constexpr double kHighlightReach = 400.0;
constexpr int kErrorTooMany = 4;
constexpr int kHighlightColour = 3;
constexpr int kPlainHighlight = 1;
constexpr int kUndoOneTable = 0;  // the layer with the text list

double Width(const TextRecord& t, std::size_t characters) { return DimensionTextWidth(t.size, characters); }
double Width(const TextRecord& t) { return Width(t, std::strlen(t.text)); }
Vec2 Direction(const TextRecord& t) { return {std::cos(t.angle / kDegrees), std::sin(t.angle / kDegrees)}; }

void MoveAlong(TextRecord& t, Vec2 d, double distance) {
  t.baseX = static_cast<float>(t.baseX + d.x * distance);
  t.baseY = static_cast<float>(t.baseY + d.y * distance);
}

// Everything the group's parts reach past the main text's own width.
double AddedWidth(const TextRecord& main, const std::array<TextRecord, 3>& parts, int count, double mainWidth) {
  const Vec2 d = Direction(main);
  double reach = Width(main);
  for (int i = 0; i < count; ++i) {
    const TextRecord& p = parts[static_cast<std::size_t>(i)];
    const double along = (p.baseX - main.baseX) * d.x + (p.baseY - main.baseY) * d.y;
    reach = std::max(reach, along + Width(p));
  }
  return reach - mainWidth;
}

TextRecord& Record(int i) { return g_textRecords[static_cast<std::size_t>(i)]; }

void DrawText(int index, int colour, platform::DeviceContext& dc) {
  const TextRecord saved = g_curTextRecord;
  const FigureRecord savedFigure = g_curFigure;
  const TextRecord& t = Record(index);
  g_curFigure = FigureRecord{};
  g_curFigure.kind = kKindText;
  g_curFigure.number = index;
  g_curFigure.layer = t.layer;
  g_curFigure.origin = {t.originX, t.originY};
  g_curTextRecord = t;
  DrawFigure(colour, dc);
  g_curTextRecord = saved;
  g_curFigure = savedFigure;
}

// The records of the group of `main` (main first), at most four.
std::array<int, 4> GroupOf(int main) {
  std::array<int, 4> list{main, -1, -1, -1};
  const int group = Record(main).group;
  if (group == 0) return list;
  std::size_t n = 1;
  const int used = TextRecordsInUse();
  for (int i = kFirstFreeTextRecord; i < used && n < list.size(); ++i) {
    if (i != main && Record(i).group == group && Record(i).layer == Record(main).layer) list[n++] = i;
  }
  return list;
}

}  // namespace

int NextTextGroupNumber() {
  int largest = 0;
  const int used = TextRecordsInUse();
  for (int i = 0; i < used; ++i) largest = std::max(largest, Record(i).group);
  return largest + 1;
}

std::array<TextRecord, 3> PlaceValueParts(const TextRecord& main, const ValueParts& parts, int& count) {
  std::array<TextRecord, 3> out{};
  count = 0;
  const Vec2 d = Direction(main);
  const Vec2 up{-d.y, d.x};
  const double mainWidth = Width(main);
  for (std::size_t k = 1; k < parts.size(); ++k) {
    if (parts[k].empty()) continue;
    TextRecord t = main;
    SetTextRecordText(t, parts[k]);
    MoveAlong(t, d, mainWidth);
    if (k == 1) MoveAlong(t, up, main.size * kRaisePerSize);
    if (k == 3) {
      const std::size_t longer = std::max(parts[1].size(), parts[2].size());
      MoveAlong(t, d, main.size * kHalfPitch * static_cast<double>(longer));
    }
    out[static_cast<std::size_t>(count++)] = t;
  }
  return out;
}

bool AskExtendedDimensionValue(int index, int align) {
  TextRecord& main = Record(index);
  ValueParts parts{std::string(main.text), {}, {}, {}};
  CDimensionValueDlg dialog(parts);
  if (RunModalDialog(dialog) != kDimensionValueOk) return false;
  parts = dialog.Parts();
  const double oldWidth = Width(main);
  SetTextRecordText(main, parts[0]);
  int count = 0;
  std::array<TextRecord, 3> added = PlaceValueParts(main, parts, count);
  if (count == 0) return true;
  if (!TextStoreHasRoom(count)) {
    ShowErrorBox(kErrorTooMany);
    return false;
  }
  main.group = NextTextGroupNumber();
  // The group keeps the value's place: centred, ending where it ended, or
  // starting where it started.
  const double shift = align == 0 ? AddedWidth(main, added, count, oldWidth) / 2.0
                       : align == 2 ? AddedWidth(main, added, count, oldWidth)
                                    : 0.0;
  const Vec2 d = Direction(main);
  MoveAlong(main, d, -shift);
  for (int i = 0; i < count; ++i) {
    TextRecord& t = added[static_cast<std::size_t>(i)];
    t.group = main.group;
    MoveAlong(t, d, -shift);
    AppendTextRecord(t);
  }
  return true;
}

void HighlightTextNearCursor(platform::DeviceContext& dc, double x, double y) {
  DimensionCommandState& s = g_dimensionCommand;
  if ((g_commandStep & 0x3FF) != 0) return;
  for (int i : s.editList) {
    if (i >= 0) DrawText(i, Record(i).colour, dc);
  }
  s.editList.fill(-1);
  const double scale = g_layerViews[static_cast<std::size_t>(std::clamp(g_curLayer, 0, kLayerCount - 1))].scale;
  const double reach = kHighlightReach / (scale > 0.0 ? scale : 100.0);
  const int used = TextRecordsInUse();
  for (int i = kFirstFreeTextRecord; i < used; ++i) {
    const TextRecord& t = Record(i);
    if (t.layer != g_curLayer) continue;
    if (RoundedDistance({t.baseX + t.originX, t.baseY + t.originY}, {x, y}) > reach) continue;
    s.editList = GroupOf(i);
    break;
  }
  for (int i : s.editList) {
    if (i >= 0) DrawText(i, Record(i).colour == kPlainHighlight ? kHighlightColour : kPlainHighlight, dc);
  }
}

bool EditDimensionText() {
  DimensionCommandState& s = g_dimensionCommand;
  const int main = s.editList[0];
  if (main < 0) return false;
  ValueParts parts{};
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (s.editList[k] >= 0) parts[k] = Record(s.editList[k]).text;
  }
  CDimensionValueDlg dialog(parts);
  if (RunModalDialog(dialog) != kDimensionValueOk) return false;
  parts = dialog.Parts();
  SnapshotForUndo(kUndoOneTable);
  TextRecord& m = Record(main);
  const double oldWidth = Width(m);
  const bool grouped = m.group != 0;
  SetTextRecordText(m, parts[0]);
  // A value of a group stays centred where it was.
  if (grouped) MoveAlong(m, Direction(m), -(Width(m) - oldWidth) / 2.0);
  if (!grouped) m.group = NextTextGroupNumber();
  int count = 0;
  const std::array<TextRecord, 3> placed = PlaceValueParts(m, parts, count);
  // Write the placed parts back into the group's records in order; an empty
  // slot of the list takes a new record.
  int next = 0;
  for (std::size_t k = 1; k < parts.size(); ++k) {
    const int slot = s.editList[k];
    if (parts[k].empty()) {
      if (slot >= 0) Record(slot).text[0] = '\0';
      continue;
    }
    TextRecord t = placed[static_cast<std::size_t>(next++)];
    t.group = m.group;
    if (slot >= 0) {
      Record(slot) = t;
    } else if (AppendTextRecord(t) < 0) {
      ShowErrorBox(kErrorTooMany);
      break;
    }
  }
  s.editList.fill(-1);
  return true;
}

}  // namespace dorn
