#include "kelto_dorn/document/cam_requests.h"

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/files/draw_state_dialog.h"
#include "kelto_dorn/files/port_setting_dialog.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/definition_store.h"
#include "kelto_dorn/surfaces/surface_state.h"

namespace dorn {

CamServices DocumentCamServices(CKelDoc& document) {
  CamServices s;
  s.definitions = &document.definitions;
  s.atc = &document.atc;
  s.surfaces = &g_surfaceSlots;
  s.finishPass = &g_finishPassRecord;
  CKelDoc* doc = &document;
  s.saveDrawing = [doc] { return SaveDrawing(*doc); };
  s.startCompanion = [](int mode, int subMode) { return StartCompanionProgram(mode, subMode); };
  s.storeDefinition = [doc](int result) {
    StoreServices store;
    store.resetFigureAndSurface = [] {
      ClearCurrentFigure();
      ResetSurfaceRecord();
    };
    store.saveDrawing = [doc] { SaveDrawing(*doc); };
    return StoreMachiningDefinition(result, doc->definitions, doc->atc, store);
  };
  if (g_commandEngines.atcRankDialog) s.atcRankDialog = g_commandEngines.atcRankDialog;
  if (g_commandEngines.fileListDialog) s.fileListDialog = g_commandEngines.fileListDialog;
  s.portSettingDialog = [](int port) { RunPortSettingDialog(port); };
  s.drawingStateDialog = [](int plotter) { RunDrawStateDialog(plotter != 0 ? 1 : 0); };
  return s;
}

CamServices CurrentDocumentCamServices() {
  return g_pDocument != nullptr ? DocumentCamServices(*g_pDocument) : CamServices{};
}

}  // namespace dorn
