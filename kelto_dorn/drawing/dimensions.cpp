// The dimension and text commands: see dimensions.h.
#include "kelto_dorn/drawing/dimensions.h"

#include <cmath>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/dimension_style_dialog.h"
#include "kelto_dorn/drawing/dimension_texts.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/text_strokes.h"
#include "platform/text.h"

namespace dorn {

DimensionCommandState g_dimensionCommand;

void ResetDimensionCommandState() { g_dimensionCommand = DimensionCommandState{}; }

namespace {

using namespace dim;

constexpr int kPromptPoint = 13;
constexpr int kPromptFigure = 14;
constexpr int kPromptPlace = 137;
constexpr int kPromptTextEdit = 4801;
constexpr int kErrorTooMany = 4;
constexpr int kUndoOneTable = 0;
constexpr int kTextInputMode = 2;
constexpr int kStepEndPicks = 9;
constexpr int kStepStore = 99;
constexpr int kTextDisplayFactorDefault = 5;
constexpr int kTextDisplayFactorMax = 19;
// A leader's shelf is as long as its text at this width per character, plus 3.
constexpr double kShelfPerCharacter = 0.65;
constexpr double kSmallestTextSize = 0.3;

bool IsMultiple(int id) {
  return id == kHorizontal || id == kVertical || id == kAligned || id == kOrdinateX || id == kOrdinateY ||
         id == kBetweenFigures;
}
bool IsTextCommand(int id) { return id == kFreeText || id == kStrokeText; }
bool IsArc(const FigureRecord& f) { return f.kind == kKindArc; }

Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Add(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }

// The picked point relative to the current origin.
Vec2 PickedPoint() { return Sub(g_pickPoint, CurrentLayerOrigin()); }

// The figure picked last (block 0), moved onto the current origin; an arc of
// negative radius turned round so that its radius is positive.
FigureRecord PickedFigure() {
  LoadSegment(0);
  FigureRecord f = g_curFigure;
  const Vec2 shift = Sub(f.origin, CurrentLayerOrigin());
  f.start = Add(f.start, shift);
  f.end = Add(f.end, shift);
  f.centre = Add(f.centre, shift);
  f.origin = CurrentLayerOrigin();
  if (IsArc(f) && f.radius < 0.0) {
    std::swap(f.start, f.end);
    f.radius = -f.radius;
  }
  return f;
}

bool FigureMode(int id) {
  if (id == kDiameter || id == kRadius || id == kBetweenFigures) return true;
  if (id == kCoordinate || id == kLeader) return false;
  if (id == kPointToFigure) return g_dimensionCommand.picks > 0;
  return g_dimensionStyle.dimPickMode == 1;
}

void AskForPick(int id) {
  const bool figures = FigureMode(id);
  g_pickIndex = 0;  // the next pick starts afresh
  g_pickState = figures ? kPickStateDimensionFigure : kPickStateDimensionPoint;
  ShowPrompt(id == kLeader ? kPromptPlace : figures ? kPromptFigure : kPromptPoint);
}

// The end of the command: button released, input reset, view redrawn.
void EndCommand(int id) {
  DimensionCommandState& s = g_dimensionCommand;
  SetActiveCommand(id, 0);
  ResetCommandInput();
  s.itemCount = 0;
  s.picks = 0;
  s.placing = false;
  s.previewDrawn = false;
  RedrawView();
}

// --- items --------------------------------------------------------------------

// Puts an aligned item's points in the order that keeps its text readable,
// and a horizontal or vertical one's start at the smaller coordinate.
void NormaliseItem(int id, DimensionItem& item) {
  FigureRecord& w = item.work;
  if (id == kHorizontal && w.start.x > w.end.x) std::swap(w.start, w.end);
  if (id == kVertical && w.start.y > w.end.y) std::swap(w.start, w.end);
  if (id == kAligned) {
    double a = VectorAngle0(w.end.x - w.start.x, w.end.y - w.start.y);
    if (a > 90.0 && a < 270.0) std::swap(w.start, w.end);
    a = VectorAngle0(w.end.x - w.start.x, w.end.y - w.start.y);
    w.dir = UnitVectorFromAngle(a);
  }
}

void StartPlacing() {
  DimensionCommandState& s = g_dimensionCommand;
  s.placing = true;
  s.previewMoves = 0;
  s.previewDrawn = false;
  g_commandStep = 10;
  g_pickState = kPickStateDimensionPlacing;
  ShowPrompt(kPromptPlace);
}

void FinishItem(int id) {
  DimensionCommandState& s = g_dimensionCommand;
  DimensionItem item = s.picking;
  item.work.origin = CurrentLayerOrigin();
  item.work.layer = g_curLayer;
  item.work.depth = NewFigureDepth();
  NormaliseItem(id, item);
  s.items[static_cast<std::size_t>(s.itemCount++)] = item;
  s.picking = DimensionItem{};
  s.picks = 0;
  if (IsMultiple(id) && g_copyMode != 0 && s.itemCount < kMaxDimensionItems) {
    AskForPick(id);
    return;
  }
  StartPlacing();
}

// A figure of the wrong kind: the prompt again.
void RepeatPick(int id) { AskForPick(id); }

void TakeLineEnds(DimensionItem& item, const FigureRecord& f) {
  item.work.start = f.start;
  item.work.end = f.end;
}

// One pick toward the current item; the item is finished when complete.
void TakePick(int id) {
  DimensionCommandState& s = g_dimensionCommand;
  DimensionItem& item = s.picking;
  const bool figure = g_pickState == kPickStateDimensionFigure;
  const FigureRecord f = figure ? PickedFigure() : FigureRecord{};
  const Vec2 p = figure ? Vec2{} : PickedPoint();
  const int n = s.picks++;
  switch (id) {
    case kHorizontal:
    case kVertical:
    case kAligned:
      if (figure) {
        TakeLineEnds(item, f);
        return FinishItem(id);
      }
      (n == 0 ? item.work.start : item.work.end) = p;
      if (n == 1) return FinishItem(id);
      return AskForPick(id);
    case kAngle:
      if (!figure) {
        (n == 0 ? item.work.start : n == 1 ? item.work.end : item.work.centre) = p;
        item.anglePick = AnglePick::kThreePoints;
        if (n == 2) return FinishItem(id);
        return AskForPick(id);
      }
      if (n == 0 && IsArc(f)) {
        item.anglePick = AnglePick::kArc;
        item.work.centre = f.centre;
        TakeLineEnds(item, f);
        return FinishItem(id);
      }
      if (f.kind != kKindLine) {
        --s.picks;
        return RepeatPick(id);
      }
      if (n == 0) {
        item.other = f;
        return AskForPick(id);
      }
      {
        const FigureRecord hit = IntersectFigures(item.other, f);
        if (hit.number != kHitOnePoint && hit.number != kHitTouching) {
          --s.picks;  // parallel lines make no angle
          return RepeatPick(id);
        }
        // The sides run along the lines as drawn, from their start points.
        item.anglePick = AnglePick::kTwoLines;
        item.work.centre = hit.start;
        item.work.dir = UnitVectorFromAngle(VectorAngle0(item.other.end.x - item.other.start.x,
                                                         item.other.end.y - item.other.start.y));
        item.other.dir = UnitVectorFromAngle(VectorAngle0(f.end.x - f.start.x, f.end.y - f.start.y));
      }
      return FinishItem(id);
    case kDiameter:
    case kRadius: {
      if (!IsArc(f)) {
        --s.picks;
        return RepeatPick(id);
      }
      item.work.centre = f.centre;
      item.work.radius = f.radius;
      const double value = id == kDiameter ? 2.0 * f.radius : f.radius;
      item.fixedText =
          (id == kDiameter ? platform::Sjis("φ") : std::string("R")) + DimensionNumber(g_dimensionStyle.dimPrecision, value);
      return FinishItem(id);
    }
    case kOrdinateX:
    case kOrdinateY:
      if (figure) {
        TakeLineEnds(item, f);
        item.bothEnds = true;
      } else {
        item.work.start = p;
      }
      return FinishItem(id);
    case kCoordinate:
    case kLeader:
      item.work.start = p;
      return FinishItem(id);
    case kBetweenFigures:
      if (f.kind != kKindLine && !IsArc(f)) {
        --s.picks;
        return RepeatPick(id);
      }
      if (n == 0) {
        item.other = f;
        return AskForPick(id);
      }
      item.work = f;
      return FinishItem(id);
    case kPointToFigure:
      if (n == 0) {
        item.work.start = p;
        return AskForPick(id);
      }
      if (f.kind != kKindLine && !IsArc(f)) {
        --s.picks;
        return RepeatPick(id);
      }
      item.other = f;
      return FinishItem(id);
    default:
      return;
  }
}

// Free text and text as strokes: the text first, then its place.
void StartTextCommand(int id) {
  DimensionCommandState& s = g_dimensionCommand;
  std::string text;
  if (g_view.m_dimensionExtension != 1) {
    const bool typed = g_commandEngines.renameDialog && g_commandEngines.renameDialog(kTextInputMode, text);
    if (!typed) {
      s.resultNegative = true;
      EndCommand(id);
      return;
    }
  }
  SetTextRecordText(g_curTextRecord, text);
  s.picking = DimensionItem{};
  s.picking.fixedText = std::string(g_curTextRecord.text);
  FinishItem(id);
}

// --- the preview ------------------------------------------------------------------

void DrawLayout(platform::DeviceContext& dc, const DimensionLayout& layout) {
  const FigureRecord saved = g_curFigure;
  const int colour = g_dimensionStyle.dimLineColor;
  for (const FigureRecord& f : layout.figures) {
    if (f.kind == 0) continue;
    if (f.kind != kDimAngleArc && f.start == f.end) continue;  // a line of length 0
    g_curFigure = f;
    DrawFigure(colour, dc);
  }
  for (const FigureRecord& f : layout.frame) {
    g_curFigure = f;
    DrawFigure(colour, dc);
  }
  g_curFigure = saved;
}

void DrawAllLayouts(platform::DeviceContext& dc) {
  const DimensionCommandState& s = g_dimensionCommand;
  const platform::RasterOp old = dc.SetRasterOp(platform::RasterOp::Xor);
  for (int i = 0; i < s.itemCount; ++i) DrawLayout(dc, s.layouts[static_cast<std::size_t>(i)]);
  dc.SetRasterOp(old);
}

// Every item laid out at the cursor (absolute mm).
void LayoutAll(int id, Vec2 cursor) {
  DimensionCommandState& s = g_dimensionCommand;
  for (int i = 0; i < s.itemCount; ++i) {
    const DimensionItem& item = s.items[static_cast<std::size_t>(i)];
    TextRecord text = g_curTextRecord;
    text.layer = g_curLayer;
    if (!item.fixedText.empty()) SetTextRecordText(text, item.fixedText);
    s.layouts[static_cast<std::size_t>(i)] =
        LayoutDimension(id, item, Sub(cursor, item.work.origin), text, g_dimensionStyle);
  }
}

// --- storing -------------------------------------------------------------------------

// Appends a text record; a full list says so once per command.
int AppendText(const TextRecord& text) {
  DimensionCommandState& s = g_dimensionCommand;
  const int index = AppendTextRecord(text);
  if (index < 0 && !s.textFullShown) {
    s.textFullShown = true;
    ShowErrorBox(kErrorTooMany);
  }
  return index;
}

// The leader's text, typed now; false when the dialog was cancelled.
bool TakeLeaderText(DimensionLayout& layout, int& align) {
  std::string text;
  if (g_view.m_dimensionExtension != 1) {
    if (!g_commandEngines.renameDialog || !g_commandEngines.renameDialog(kTextInputMode, text)) return false;
  }
  SetTextRecordText(layout.text, text);
  FigureRecord& shelf = layout.figures[1];
  const double length = g_dimensionStyle.textSize * kShelfPerCharacter * std::strlen(layout.text.text) + 3.0;
  const bool left = shelf.end.x < shelf.start.x;
  shelf.end = {shelf.start.x + (left ? -length : length), shelf.start.y};
  if (left) layout.text.baseX = static_cast<float>(shelf.end.x + 2.4);
  align = left ? 2 : 1;
  return true;
}

// The second text of an ordinate picked as a figure: the value at its end.
void AppendEndOrdinate(int id, const DimensionItem& item, const TextRecord& first) {
  TextRecord t = first;
  const Vec2 e = item.work.end;
  const bool xAxis = id == kOrdinateX;
  SetTextRecordText(t, (xAxis ? "X" : "Y") + DimensionNumber(g_dimensionStyle.dimPrecision, xAxis ? e.x : e.y));
  if (xAxis) {
    t.baseX = static_cast<float>(e.x + (first.angle < 0.0f ? 0.2 : -0.2));
  } else {
    t.baseY = static_cast<float>(e.y + 0.2);
  }
  AppendText(t);
}

void StoreFigures(const DimensionLayout& layout) {
  for (const FigureRecord& f : layout.figures) {
    if (f.kind == 0) continue;
    g_curFigure = f;
    g_curFigure.number = 0;
    g_figureTableSelector = g_curLayer;
    AppendFigure(0);
  }
}

// Stores item i; false when the leader's text was cancelled.
bool StoreItem(int id, int i) {
  DimensionCommandState& s = g_dimensionCommand;
  DimensionLayout& layout = s.layouts[static_cast<std::size_t>(i)];
  int align = g_dimensionStyle.dimTextAlign;
  if (id == kFreeText) {
    layout.figures = {};
    align = 1;
  }
  if (id == kLeader && !TakeLeaderText(layout, align)) return false;
  g_dimensionStyle.dimTextAlign = align;
  const int index = AppendText(layout.text);
  if (index >= 0 && g_view.m_dimensionExtension == 1) AskExtendedDimensionValue(index, align);
  const DimensionItem& item = s.items[static_cast<std::size_t>(i)];
  if (item.bothEnds && (id == kOrdinateX || id == kOrdinateY)) AppendEndOrdinate(id, item, layout.text);
  StoreFigures(layout);
  return true;
}

void StoreStrokeText(platform::DeviceContext& dc) {
  DimensionCommandState& s = g_dimensionCommand;
  const TextRecord& placed = s.layouts[0].text;
  g_curTextRecord.baseX = placed.baseX;
  g_curTextRecord.baseY = placed.baseY;
  SnapshotForUndo(kUndoOneTable);
  TextToStrokes(dc);
  EndPick(kStrokeText);
  g_figureTableSelector = g_curLayer;
  UpdateViewTransform();
  EndCommand(kStrokeText);
  g_pickState = 0;
}

}  // namespace

// --- entries -----------------------------------------------------------------------------

void RunDimensionCommand(int id) {
  DimensionCommandState& s = g_dimensionCommand;
  g_commandStep = 0;
  s.resultNegative = false;
  ResetCommandInput();
  SetActiveCommand(id, 1);
  if (g_dimTextSlider == 0 || g_dimTextSlider > kTextDisplayFactorMax) g_dimTextSlider = kTextDisplayFactorDefault;
  s.command = id;
  s.itemCount = 0;
  s.picks = 0;
  s.picking = DimensionItem{};
  s.placing = false;
  s.previewMoves = 0;
  s.previewDrawn = false;
  s.textFullShown = false;
  TextRecord& t = g_curTextRecord;
  t = TextRecord{};
  t.layer = g_curLayer;
  t.colour = g_dimensionStyle.textColor;
  t.size = static_cast<float>(g_dimensionStyle.textSize);
  const Vec2 origin = CurrentLayerOrigin();
  t.originX = static_cast<float>(origin.x);
  t.originY = static_cast<float>(origin.y);
  g_dimensionStyle.dimTextAlign = 0;
  if (auto dc = GetViewDC()) {
    InputDimension(*dc, id);
  }
  if (s.resultNegative) SetActiveCommand(id, 0);
}

void InputDimension(platform::DeviceContext& dc, int id) {
  DimensionCommandState& s = g_dimensionCommand;
  const int step = g_commandStep & kStepInputMask;
  if (step == 0 && s.command != id) return RunDimensionCommand(id);  // started by another engine
  g_curCommand = id;
  if (id == kEditText) {
    if (step == 0) {
      s.editList.fill(-1);
      g_pickState = kEditText;
      ShowPrompt(kPromptTextEdit);
    } else if (EditDimensionText()) {
      RedrawView();
    }
    g_commandStep = 0;
    return;
  }
  if (step == 0) {
    if (IsTextCommand(id)) return StartTextCommand(id);
    return AskForPick(id);
  }
  if (step >= kStepStore) return StoreDimension(dc);
  if (s.placing) return;
  if (step == kStepEndPicks) {
    if (s.itemCount == 0) return EndCommand(id);  // nothing was picked
    return StartPlacing();
  }
  TakePick(id);
  if (!s.placing) g_commandStep = 1;  // the next pick counts from here
}

void PreviewDimension(platform::DeviceContext& dc) {
  DimensionCommandState& s = g_dimensionCommand;
  if (!s.placing) return;
  if (s.previewMoves < 4) {
    ++s.previewMoves;
    return;
  }
  if (s.previewDrawn) DrawAllLayouts(dc);  // erase the last picture
  LayoutAll(s.command, ScreenToWorld(g_view.m_lastCursor));
  DrawAllLayouts(dc);
  s.previewDrawn = true;
}

void StoreDimension(platform::DeviceContext& dc) {
  DimensionCommandState& s = g_dimensionCommand;
  const int id = s.command;
  if (!s.placing) return;
  if (s.previewDrawn) DrawAllLayouts(dc);
  s.previewDrawn = false;
  LayoutAll(id, g_pickPoint);
  if (id == kStrokeText) return StoreStrokeText(dc);
  SnapshotForUndo(kUndoOneTable);
  for (int i = 0; i < s.itemCount; ++i) {
    if (!StoreItem(id, i)) break;  // a cancelled leader text stores nothing more
  }
  EndCommand(id);
  if (g_continuousMode == 1) RunDimensionCommand(id);
}

void SetDimensionPickMode(int choice) {
  const int id = g_curCommand;
  const bool points = choice == kDimensionChoicePoints;
  g_dimensionStyle.dimPickMode = points ? 0 : 1;
  g_pickState = points ? kPickStateDimensionPoint : kPickStateDimensionFigure;
  ShowPrompt(points ? kPromptPoint : kPromptFigure);
  if (id == kAngle || id == kOrdinateX || id == kOrdinateY) RunDimensionCommand(id);
}

void OnDimensionStyle() {
  RunDimensionStyleDialog();
  g_curTextRecord.colour = g_dimensionStyle.textColor;
  g_curTextRecord.size = static_cast<float>(g_dimensionStyle.textSize < 1.0 ? kSmallestTextSize
                                                                             : g_dimensionStyle.textSize);
  RedrawView();
}

namespace {
int ChooseColour() {
  CColorPaletteDlg palette;
  return RunModalDialog(palette);
}
}  // namespace

void OnDimensionLineColor() {
  const int c = ChooseColour();
  if (c >= 0 && c < kPaletteSize) g_dimensionStyle.dimLineColor = c;
}

void OnDimensionTextColor() {
  const int c = ChooseColour();
  if (c < 0 || c >= kPaletteSize) return;
  g_dimensionStyle.textColor = c;
  g_curTextRecord.colour = c;
}

void OnDimensionCommand(int id) {
  switch (id) {
    case kStyle:
      return OnDimensionStyle();
    case kLineColour:
      return OnDimensionLineColor();
    case kTextColour:
      return OnDimensionTextColor();
    case kAngle:
    case kDiameter:
    case kRadius:
      g_dimensionStyle.dimPickMode = 1;
      return RunDimensionCommand(id);
    default:
      return RunDimensionCommand(id);
  }
}

void DrawTextFrame(platform::DeviceContext& dc, int mode) {
  static std::array<FigureRecord, 4> last{};
  FigureRecord pattern;
  pattern.origin = {g_curTextRecord.originX, g_curTextRecord.originY};
  pattern.layer = g_curLayer;
  if (mode != -1) last = TextFrame(g_curTextRecord, pattern);
  const platform::RasterOp old = dc.SetRasterOp(platform::RasterOp::Xor);
  const FigureRecord saved = g_curFigure;
  for (const FigureRecord& f : last) {
    g_curFigure = f;
    DrawFigure(g_dimensionStyle.dimLineColor, dc);
  }
  g_curFigure = saved;
  dc.SetRasterOp(old);
}

void InstallDimensionEngines() {
  CommandEngines& e = g_commandEngines;
  e.dimensionCommand = OnDimensionCommand;
  e.runDimensionCommand = RunDimensionCommand;
  e.inputDimension = InputDimension;
  e.previewDimension = PreviewDimension;
  e.setDimensionPickMode = SetDimensionPickMode;
  e.highlightTextNearCursor = HighlightTextNearCursor;
}

}  // namespace dorn
