// Curve registration: see curve_registration.h.
#include "kelto_dorn/drawing/curve_registration.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/taper_contour_dialog.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kCurveCharacters = 1332;
constexpr int kCurveTaper = 8;
constexpr int kCurveTaperSteps = 9;
// Keys run in tens from 10; those that would fall from 4000 to 99999 jump to
// 250000.
constexpr int kFirstCurveKey = 10;
constexpr int kKeyStep = 10;
constexpr int kKeyGapLow = 3999;
constexpr int kKeyGapHigh = 100000;
constexpr int kKeyAfterGap = 250000;
// Character strokes copied as a new curve get figure numbers above 400000.
constexpr int kCharacterNumberBase = 400000;
constexpr int kCharacterNumberShift = 399550;
constexpr int kCharacterBaseMargin = 100;
// The taper offsets that a figure style 0-5 selects: floats +144..+167.
constexpr int kTaperOffsetFirst = (144 - 72) / 4;
constexpr int kTaperStyleCount = 6;
constexpr int kNoTaperStyle = 0xFFFF;
constexpr int kErrorCountOverflow = 4;

// The keys and names of curves 0..count-1, kept while a batch registers.
struct CurveIndex {
  int count = 0;
  int largestKey = 0;  // over every entry, empty ones too
  std::unordered_set<int> keys;
  std::unordered_set<std::string> names;  // each a whole name field
  bool saveDue = false;  // a registration of the batch waits for its save
};

std::unique_ptr<CurveIndex> g_batchIndex;

std::string NameField(const CurveRecord& r) { return std::string(r.name, sizeof r.name); }

void AddToIndex(CurveIndex& index, const CurveRecord& r) {
  index.largestKey = std::max(index.largestKey, r.key);
  if (r.layer != kCurveEntryEmpty) {
    index.keys.insert(r.key);
    index.names.insert(NameField(r));
  }
  ++index.count;
}

// The batch's index when it still describes the curve table.
const CurveIndex* CurrentIndex() {
  return g_batchIndex != nullptr && g_batchIndex->count == g_curveCount ? g_batchIndex.get() : nullptr;
}

int LargestCurveKey() {
  if (const CurveIndex* index = CurrentIndex()) return index->largestKey;
  int largest = 0;
  for (int c = 0; c < std::min(g_curveCount, kCurveTableSize); ++c)
    largest = std::max(largest, g_curveTable[static_cast<std::size_t>(c)].key);
  return largest;
}

int NextCurveKey() {
  if (g_curveCount <= 0) return kFirstCurveKey;
  const int key = LargestCurveKey() + kKeyStep;
  return key > kKeyGapLow && key < kKeyGapHigh ? kKeyAfterGap : key;
}

bool IsLineOrArc(int kind) { return kind == kKindLine || kind == kKindArc; }

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Numbers, side flags and turn flags of the work figures.
void PrepareWorkFigures(const CurveRecord& record, int count) {
  const bool characters = record.kind == kCurveCharacters && g_copyMode != 0;
  const int base = characters ? MaxFigureField() + kCharacterBaseMargin : 0;
  for (int i = 0; i < count; ++i) {
    FigureRecord* f = g_figureStore.SegmentBlock(i);
    if (characters) {
      if (f->number < kCharacterNumberBase) f->number += kCharacterNumberBase;
      f->number += base - kCharacterNumberShift;
    }
    f->choice = 0;
    if (i == 0 || f->kind == kKindPointMark) continue;
    const FigureRecord& previous = *g_figureStore.SegmentBlock(i - 1);
    if (record.kind == kCurveCharacters && previous.number != f->number) continue;
    f->choice = ComputeJoinSide(previous, *f);
  }
}

void SaveTheDrawing() {
  if (g_pDocument != nullptr) SaveDrawing(*g_pDocument);
}

// After a registration: at once, or once at the end of the batch.
void SaveAfterRegistration() {
  if (g_batchIndex != nullptr) {
    g_batchIndex->saveDue = true;
    return;
  }
  SaveTheDrawing();
}

// The figures of the curve at g_curveCount into the work list, shown with
// their taper offsets (mode 1: from table 90; mode 8: the work list itself).
void PrepareTaperPreview(int mode) {
  const CurveRecord& record = g_curCurveRecord;
  if (mode == kRegisterTaperFigures) {
    g_workCount = 0;
    const int held = GetFigureCount(kTableCurves);
    for (int i = std::max(record.first, 0); i < std::min(record.end, held); ++i) {
      GetFigure(kTableCurves, i);
      StoreSegment(g_workCount++);
    }
  }
  for (int i = 0; i < g_workCount; ++i) {
    LoadSegment(i);
    const int style = g_curFigure.style;
    if (style >= 0 && style < kTaperStyleCount) {
      const float offset = record.values[kTaperOffsetFirst + style];
      if (offset != 0.0f) OffsetFigure(-offset);
    } else {
      g_curFigure.style = kNoTaperStyle;
    }
    StoreSegment(i);
  }
}

void RecolourCurveFigures() {
  const CurveRecord& record = g_curCurveRecord;
  const int held = GetFigureCount(kTableCurves);
  for (int i = std::max(record.first, 0); i < std::min(record.end, held); ++i) {
    GetFigure(kTableCurves, i);
    g_curFigure.attribute = (g_curFigure.attribute & ~kAttrColourMask) | (record.colour & kAttrColourMask);
    PutFigure(kTableCurvesAlias, i);
  }
}

int RunRegisterDialog() {
  CCurveRegisterDlg dialog;
  ++ModalDepth;
  const int code = dialog.DoModal();
  --ModalDepth;
  return code;
}

}  // namespace

int ComputeJoinSide(const FigureRecord& previous, const FigureRecord& figure) {
  if (!IsLineOrArc(previous.kind) || !IsLineOrArc(figure.kind)) return 0;
  // Two lines cross in one point whichever side is asked for, so neither
  // side is nearer the joint: no need to intersect them twice.
  if (previous.kind == kKindLine && figure.kind == kKindLine) return 0;
  FigureRecord second = figure;
  second.choice = 0;
  const FigureRecord first = IntersectFigures(previous, second);
  second.choice = 1;
  const FigureRecord other = IntersectFigures(previous, second);
  const auto meets = [](const FigureRecord& r) { return r.number <= kHitTwoPoints; };
  if (!meets(first) || !meets(other)) return 0;
  const Vec2 joint = figure.start;
  return Distance(other.start, joint) < Distance(first.start, joint) ? 1 : 0;
}

CurveRegistrationBatch::CurveRegistrationBatch() {
  auto index = std::make_unique<CurveIndex>();
  for (int c = 0; c < std::min(g_curveCount, kCurveTableSize); ++c)
    AddToIndex(*index, g_curveTable[static_cast<std::size_t>(c)]);
  index->count = g_curveCount;
  g_batchIndex = std::move(index);
}

CurveRegistrationBatch::~CurveRegistrationBatch() {
  const bool saveDue = g_batchIndex != nullptr && g_batchIndex->saveDue;
  g_batchIndex.reset();
  if (saveDue) SaveTheDrawing();
}

bool IsCurveNameUsed() {
  const int index = g_curveCount;
  if (index < 0 || index >= kCurveTableSize) return false;
  const CurveRecord& record = g_curveTable[static_cast<std::size_t>(index)];
  if (const CurveIndex* batch = CurrentIndex())
    return !batch->keys.contains(record.key) && !batch->names.contains(NameField(record));
  for (int c = 0; c < std::min(g_curveCount, kCurveTableSize); ++c) {
    const CurveRecord& other = g_curveTable[static_cast<std::size_t>(c)];
    if (c == index || other.layer == kCurveEntryEmpty) continue;
    if (other.key == record.key || std::memcmp(other.name, record.name, sizeof record.name) == 0) return false;
  }
  return true;
}

void StoreRegisteredFigures(int count, platform::DeviceContext* dc) {
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(g_curveCount)];
  const int colour = record.colour & kAttrColourMask;
  for (int i = 0; i < count; ++i) {
    LoadSegment(i);
    g_curFigure.attribute = (g_curFigure.attribute & ~kAttrColourMask) | colour;
    g_curFigure.layer = g_curLayer;
    if (dc != nullptr) DrawFigure(colour, *dc);
    PutFigure(kTableCurves, record.first + i);
  }
  record.end = record.first + count;
  FigureTable* table = g_figureStore.Table(kTableCurves);
  if (table != nullptr && table->count() < record.end) table->set_count(record.end);
  g_curCurveRecord = record;
  ClearFigureList();
}

// The taper contour dialog on the record being registered: its OK
// registers; "図形指定" (offered only to the taper contour command, which
// lets the user pick the section's figures) registers and asks for them.
int RunTaperDialog(int kind) {
  const bool allowPick = g_curveCommandId == curve_cmd::kTaper;
  CTaperContourDlg dialog(g_curCurveRecord.key, kind, allowPick);
  const int code = RunModalDialog(dialog);
  if (code == platform::kIdOk) return kCurveRegistered;
  return allowPick && code == kTaperPickSection ? kCurveTaperRequested : platform::kIdCancel;
}

int RegisterCurve(int mode) {
  for (;;) {
    LoadCurveEntry(g_curveCount);
    if (mode == kRegisterTaperFigures || mode == kRegisterTaper) PrepareTaperPreview(mode);
    const int kind = g_curCurveRecord.kind;
    const bool taper = kind == kCurveTaper || kind == kCurveTaperSteps;
    if (kind >= kCurveTaper && kind != kCurveCharacters && !taper) return kCurveRegistrationRefused;
    // A taper curve is named and given its wall in the taper contour dialog.
    const int code = taper ? RunTaperDialog(kind) : RunRegisterDialog();
    int outcome = 0;
    if (code == kCurveRegistered) {
      StoreCurveEntry(g_curveCount);
    } else if (code == kCurveTaperRequested) {
      StoreCurveEntry(g_curveCount);
      outcome = kCurveTaperRequested;
    } else {
      return code == platform::kIdCancel ? kCurveRegistrationRefused : code;
    }
    if (mode == kRegisterTaperFigures) RecolourCurveFigures();
    if (IsCurveNameUsed()) return outcome;
    platform::ShowMessageBox({platform::Sjis(" 曲線の登録名が重複しています "), "", platform::MessageButtons::Ok,
                              platform::MessageIcon::Stop});
    // A duplicate asks again, whichever button registered it.
  }
}

int RegisterCurveEntry(int mode, int grow, platform::DeviceContext* dc) {
  if (g_curveCount < 0 || g_curveCount >= kCurveTableSize) {
    // The table is full: nothing is written past it.
    ShowErrorBoxCall(kErrorCountOverflow);
    return kCurveRegistrationRefused;
  }
  if (g_workCount <= 0) return kCurveRegistrationRefused;
  const int count = std::min(g_workCount, kSegmentBlockCount);
  CurveRecord& record = g_curveTable[static_cast<std::size_t>(g_curveCount)];
  record.layer = g_curLayer;
  record.first = g_curveCount > 0 ? g_curveTable[static_cast<std::size_t>(g_curveCount - 1)].end : 0;
  record.end = record.first + count;
  record.key = NextCurveKey();
  if (record.end > kFigureSlotLimit) {
    ClearCurveEntry(g_curveCount);
    ShowErrorCode(-1);
    return kCurveRegistrationRefused;
  }
  PrepareWorkFigures(record, count);
  if (g_copyMode != 0)
    std::memset(record.name, 0, sizeof record.name);
  else
    record.colour = g_colorTable.curveColor;
  if (record.kind == kCurveTaper || record.kind == kCurveTaperSteps) mode = kRegisterTaper;
  int result = RegisterCurve(mode);
  if (result == kCurveRegisteredNew || result == kCurveTaperRequested) {
    StoreRegisteredFigures(count, dc);
    g_curCurveIndex = g_curveCount;
    if (grow != 0) {
      if (g_batchIndex != nullptr && g_batchIndex->count == g_curveCount)
        AddToIndex(*g_batchIndex, g_curveTable[static_cast<std::size_t>(g_curveCount)]);
      ++g_curveCount;
    } else
      result = kCurveRegisteredInPlace;
  } else if (result < 0 && grow != 0) {
    ClearCurveEntry(g_curveCount);
  }
  ShowPromptHook(0);
  SaveAfterRegistration();
  return result;
}

}  // namespace dorn
