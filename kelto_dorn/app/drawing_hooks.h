#pragma once
// Where the painting of the view reaches into the drawing commands: the
// command state words it reads and the calls it makes into the command
// engines (prompts, the pending figure, curve and pick highlights, origin
// marks, the hole definitions of a curve).
//
// The command engines live in a folder that depends on this one, so the
// painters call them through these hooks, which the engines install at
// start-up. A hook that is not installed does nothing (and draws nothing).
#include <cstdint>
#include <functional>
#include <string>

#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"
#include "platform/device_context.h"

namespace dorn {

// The command state words the painters read are in command_state.h.
// The text record being built or drawn (the text painter reads it).
extern TextRecord g_curTextRecord;

// Command ids and states the paint reacts to.
inline constexpr int kCommandOriginRecall = 32829;
inline constexpr int kCommandPointGroupEdit = 32907;
inline constexpr int kCommandPointGroupEdit2 = 32908;
inline constexpr int kCommandShowCurrentA = 32912;
inline constexpr int kCommandShowCurrentB = 32913;
inline constexpr int kPickStateNone = 0;
inline constexpr int kPickStatePickWork = 7;
inline constexpr int kPickStateThreePoint = 8;
inline constexpr int kPickStateNoCurveHighlight = 222;
inline constexpr int kInputStatePendingFigure = 0xFFFC;

// One step of a hole machining definition, as the hole painter needs it.
struct HoleStepShape {
  double toolDiameter = 0.0;  // mm; 0 ends the definition's steps
  double ownDiameter = 0.0;   // mm; the helical hole's own diameter
  double depth = 0.0;         // mm
  double angle = 0.0;         // degrees
  double upperZ = 0.0;        // mm
  double lowerZ = 0.0;        // mm
};

struct DrawingHooks {
  // Shows a numbered prompt in the title of the active window.
  std::function<void(int code)> showPrompt;
  // The caption the prompts have composed (CP932), which a repaint puts back
  // into the frame's title.
  std::function<std::string()> promptCaption;
  // Copies the command engine's pending figure into g_curFigure; false when
  // there is none.
  std::function<bool()> loadPendingFigure;
  // Highlights the selected curves (colour -1 redraws them plain).
  std::function<void(platform::DeviceContext&, int colour)> highlightCurves;
  // Redraws the picked candidate figures.
  std::function<void(platform::DeviceContext&)> drawPickHighlights;
  // Marks the current origin of the current layer (mode 0, 1, 5 or 9).
  std::function<void(platform::DeviceContext&, int mode)> drawOriginMark;
  // Calls `visit` for every hole machining definition whose figure list names
  // the curve key: its machining kind and its steps (up to 12).
  std::function<void(std::int32_t curveKey,
                     const std::function<void(int machiningKind, const HoleStepShape* steps, int count)>& visit)>
      forEachHoleDefinition;
};
extern DrawingHooks g_drawingHooks;

// The hook calls; each does nothing while its hook is not installed.
void ShowPromptHook(int code);
// The prompt caption; without prompts, the caption's head "Kelto_Dorn  ".
std::string PromptCaptionHook();
bool LoadPendingFigureHook();
void HighlightCurvesHook(platform::DeviceContext& dc, int colour);
void DrawPickHighlightsHook(platform::DeviceContext& dc);
void DrawOriginMarkHook(platform::DeviceContext& dc, int mode);

void ResetDrawingHooks();

}  // namespace dorn
