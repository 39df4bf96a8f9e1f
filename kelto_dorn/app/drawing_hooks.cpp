// The painters' calls into the drawing commands: see drawing_hooks.h.
#include "kelto_dorn/app/drawing_hooks.h"

namespace dorn {

TextRecord g_curTextRecord;

DrawingHooks g_drawingHooks;

void ShowPromptHook(int code) {
  if (g_drawingHooks.showPrompt) g_drawingHooks.showPrompt(code);
}

std::string PromptCaptionHook() {
  // The head the prompt buffer starts with: the program name and two blanks.
  return g_drawingHooks.promptCaption ? g_drawingHooks.promptCaption() : std::string("Kelto_Dorn  ");
}

bool LoadPendingFigureHook() { return g_drawingHooks.loadPendingFigure ? g_drawingHooks.loadPendingFigure() : false; }

void HighlightCurvesHook(platform::DeviceContext& dc, int colour) {
  if (g_drawingHooks.highlightCurves) g_drawingHooks.highlightCurves(dc, colour);
}

void DrawPickHighlightsHook(platform::DeviceContext& dc) {
  if (g_drawingHooks.drawPickHighlights) g_drawingHooks.drawPickHighlights(dc);
}

void DrawOriginMarkHook(platform::DeviceContext& dc, int mode) {
  if (g_drawingHooks.drawOriginMark) g_drawingHooks.drawOriginMark(dc, mode);
}

void ResetDrawingHooks() {
  ResetCommandState();
  g_curTextRecord = TextRecord{};
  g_drawingHooks = DrawingHooks{};
}

}  // namespace dorn
