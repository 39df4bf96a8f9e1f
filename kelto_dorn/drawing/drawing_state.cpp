// The drawing commands' state: see drawing_state.h.
#include "kelto_dorn/drawing/drawing_state.h"

#include "kelto_dorn/drawing/dimensions.h"

#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/drawing/contour_dialogs.h"
#include "kelto_dorn/drawing/figure_operations.h"

namespace dorn {

int g_pickSameOriginOnly = 0;
int g_pickFoundIndex = kFoundNothing;
int g_pickFoundTable = -1;
DrawingViewState g_drawingView;
int g_listMode = 0;
double g_lastLength = 0.0;
int g_curveCommandId = 0;
int g_pickState2 = 0;
int g_markedCurve = kNone;
int g_markedCount = 0;
int g_curveListOpen = 0;
int g_pointGroupEdit = 0;
std::array<std::array<char, kCurveNameSlotSize>, kCurveNameSlots> g_curveNameBuffers{};
CurveEngineState g_curveEngine;
int g_inputResult = 0;
int g_editFigureIndex = 0;
int g_boxMode = 0;
int g_rubberBandKind = 0;
CommandInputs g_inputArea;
FigureEngineView g_figureView;

void ResetDrawingState() {
  ResetContourDialogValues();
  g_figureOperation = FigureOperationParams{};
  g_pickSameOriginOnly = 0;
  g_pickTestIndex = -1;
  g_pickExcludeIndex = -1;
  g_pickFoundIndex = kFoundNothing;
  g_pickFoundTable = -1;
  g_drawingView = DrawingViewState{};
  g_selectionList.fill(kNone);
  g_listMode = 0;
  g_lastLength = 0.0;
  g_curveCommandId = 0;
    g_pickState2 = 0;
  g_markedCurve = kNone;
  g_markedCount = 0;
  g_curveListOpen = 0;
  g_pointGroupEdit = 0;
  for (auto& slot : g_curveNameBuffers) slot.fill(0);
  g_curveEngine = CurveEngineState{};
  g_inputResult = 0;
  g_editFigureIndex = 0;
  g_boxMode = 0;
  g_rubberBandKind = 0;
  g_inputArea = CommandInputs{};
  g_figureView = FigureEngineView{};
  ResetDimensionCommandState();
}

}  // namespace dorn
