// The prompts in the title and the user-error boxes: see figure_prompts.h.
#include "kelto_dorn/drawing/figure_prompts.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/frame.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

const char kCaptionHead[] = "Kelto_Dorn  ";
constexpr unsigned kStopBoxStyle = 0x10;  // OK, stop icon
constexpr int kLastPickPrompt = 2799;
constexpr int kPromptCurvePosition = 911;
constexpr int kPromptCurveConfirm = 2000;
constexpr int kPromptSurfaceDelete = 3979;
constexpr int kPromptDrawingPick = 1000;
constexpr int kPromptDrawingPickMore = 1001;
constexpr int kPromptCadReading = 3001;
constexpr int kPromptIntersection = 13;
constexpr int kPromptEndPoint = 1600;
constexpr int kLegendDimension = 6;

constexpr int kLegendSelectEnd = 0;
constexpr int kHolePointCommand = 32908;

// While holes are collected, the right button with no pick pending registers
// what was picked: the pick prompts then show it as ending the input, not as
// a cancel.
bool RightButtonEndsHoleInput(int code) {
  return g_curCommand == kHolePointCommand && (code == 135 || code == 137 || code == 1527 || code == 16);
}

bool IsDimensionCommand(int command) {
  return command == 33142 || command == 33143 || command == 33144 || command == 33145 || command == 33148 ||
         command == 33149;
}

std::string CurveName() {
  if (g_curCurveIndex < 0 || g_curCurveIndex >= g_curveCount) return {};
  return platform::FieldText(g_curveTable[static_cast<std::size_t>(g_curCurveIndex)].name);
}

template <class Table>
std::string IndexName(const Table& table) {
  const int slot = table.currentSlot;
  if (slot < 0 || slot >= static_cast<int>(table.records.size())) return {};
  return platform::FieldText(table.records[static_cast<std::size_t>(slot)].name);
}

// printf into a string of any length: names and paths are never cut into a
// fixed caption buffer.
template <class... Args>
std::string Format(const std::string& format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  if (n <= 0) return {};
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format.c_str(), args...);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

// The texts that carry live values (CP932); false for the other codes.
bool LiveText(int code, const std::string& format, std::string& text) {
  switch (code) {
    case kPromptCurvePosition: {
      int position = 0, count = 0;
      if (g_curCurveIndex >= 0 && g_curCurveIndex < g_curveCount) {
        const CurveRecord& c = g_curveTable[static_cast<std::size_t>(g_curCurveIndex)];
        count = c.end - c.first;
        position = g_pickFoundIndex - c.first + 1;
      }
      text = Format(format, CurveName().c_str(), position, count, g_drawingView.m_analysisLength);
      return true;
    }
    case kPromptCurveConfirm:
      text = Format(format, CurveName().c_str());
      return true;
    case kPromptSurfaceDelete:
      text = Format(format, IndexName(g_surfaceIndexTable).c_str());
      return true;
    case kPromptDrawingPick:
    case kPromptDrawingPickMore:
      text = Format(format, IndexName(g_machiningIndexTable).c_str());
      return true;
    case kPromptCadReading:
      text = Format(format, platform::FieldText(g_textBuffer).c_str());
      return true;
    default:
      return false;
  }
}

std::string PlainText(const PromptText& row) {
  if (row.code == kPromptIntersection && g_autoIntersection == 1 &&
      (g_pickState == 6 || g_pickState == 33154 || g_snapMode == 2))
    return platform::Sjis("自動認識:交点をマウスでクリックして下さい");
  if (row.code == kPromptEndPoint && g_autoIntersection == 1)
    return platform::Sjis("自動認識:端点をマウスでクリックして下さい");
  return platform::Sjis(row.text);
}

void SetTitle(const std::string& caption) {
  if (platform::Frame* frame = GetAppMainWnd()) frame->SetTitle(caption);
}

}  // namespace

const std::string& PromptCaption() {
  if (g_figureView.caption.empty()) g_figureView.caption = kCaptionHead;
  return g_figureView.caption;
}

int ShowPromptLegend(int legend) {
  if (legend == 0 && IsDimensionCommand(g_curCommand)) legend = kLegendDimension;
  const char* text = PromptLegendText(legend);
  std::string& caption = g_figureView.caption;
  if (caption.empty()) caption = kCaptionHead;
  if (!text) return static_cast<int>(caption.size());
  // The legend stands at byte 54, after the text padded with blanks; a text
  // that reaches past it (a long name) is kept whole and the legend follows.
  if (caption.size() < kCaptionLegendAt) {
    caption.append(kCaptionLegendAt - caption.size(), ' ');
  } else {
    caption += ' ';
  }
  caption += platform::Sjis(text);
  return static_cast<int>(caption.size());
}

int ShowPrompt(int code) {
  std::string& caption = g_figureView.caption;
  if (code == kPromptCurvePosition || code == kPromptCurveConfirm || code == kPromptSurfaceDelete)
    g_figureView.lastPrompt = kNone;
  if (code == kPromptCleared) {
    caption = kCaptionHead;
  } else if (const PromptText* row = FindPromptText(code)) {
    std::string text;
    if (!LiveText(code, platform::Sjis(row->text), text)) text = PlainText(*row);
    caption = std::string(kCaptionHead) + " " + text;
    if (row->legend >= 0) ShowPromptLegend(RightButtonEndsHoleInput(code) ? kLegendSelectEnd : row->legend);
  }
  if (caption.empty()) caption = kCaptionHead;
  if (code != g_figureView.lastPrompt) {
    SetTitle(caption);
    if (code >= 1 && code <= kLastPickPrompt && code != kPromptCurvePosition && g_projection != kProjectionXY) {
      g_projection = kProjectionXY;
      RedrawView();
    }
  }
  g_figureView.lastPrompt = code;
  return static_cast<int>(caption.size());
}

void ShowTitleNote(const std::string& cp932) {
  g_figureView.caption = std::string(kCaptionHead) + " " + cp932;
  // The next prompt is shown even when it is the one shown before the note.
  g_figureView.lastPrompt = kNone;
  SetTitle(g_figureView.caption);
}

int ShowErrorBox(int code) {
  const char* text = ErrorBoxText(code);
  if (!text) return 0;
  ++ModalDepth;
  const int answer = platform::ShowMessageBox(platform::Sjis(text), std::string_view(), kStopBoxStyle);
  --ModalDepth;
  return answer;
}

void InstallPromptHooks() {
  g_drawingHooks.showPrompt = [](int code) { ShowPrompt(code); };
  g_drawingHooks.promptCaption = [] { return PromptCaption(); };
}

}  // namespace dorn
