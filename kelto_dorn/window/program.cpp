// The start of Kelto_Dorn: see program.h.
#include "kelto_dorn/window/program.h"

#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/camdata/nc_requests.h"
#include "kelto_dorn/document/cam_requests.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_handlers.h"
#include "kelto_dorn/drawing/picking_engines.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/window/main_frame.h"
#include "kelto_dorn/window/app_instance.h"
#include "kelto_dorn/window/printing.h"
#include "platform/application.h"
#include "platform/qt/qt_backend.h"

namespace dorn {

void InstallCommandEngines() {
  // The numbered messages name files through the kernel's shared text buffer.
  MessageValueSources sources;
  sources.textBuffer = [] { return std::string(g_textBuffer, ::strnlen(g_textBuffer, sizeof g_textBuffer)); };
  SetMessageValueSources(std::move(sources));
  InstallPickingEngines();
  InstallFigureEngines();
  InstallCamDataCommands(CurrentDocumentCamServices);
  // The drawing commands, picking, curves, dimensions, surfaces, machining,
  // CAM data and file exchange install their entries here as each joins the
  // program; an entry not installed leaves its commands disabled.
}

void ResetProgramState() {
  ResetAppState();
  ResetViewState();
  ResetDrawingHooks();
  ResetCommandEngines();
  ResetViewAccess();
  ResetSurfaceState();
  ResetMachiningState();
  ResetDbSelection();
  ResetPromptState();
  ResetDocumentState();
  ResetDrawingState();
  ResetMessageValueSources();
  g_printMode = kPrintIdle;
  g_curBarMenu = g_prevBarMenu = 2;
}

bool StartKeltoDorn(CKelApp& app) {
  ResetProgramState();
  StartupSystem();
  InstallCommandEngines();
  return app.InitInstance();
}

void FinishKeltoDorn() {
  // The exit released the store already; it is never released twice.
  if (g_figureStore.started()) ReleaseSystemResources();
}

int RunKeltoDorn(int& argc, char** argv, const ProgramHooks& hooks) {
  platform::qt::InstallQtBackend(argc, argv);
  int code = 0;
  {
    CKelApp app;
    if (!StartKeltoDorn(app)) {
      code = 1;
    } else {
      if (hooks.onShown) platform::PostTask([&app, &hooks] { hooks.onShown(app); });
      code = platform::RunEventLoop();
    }
  }
  FinishKeltoDorn();
  return code;
}

}  // namespace dorn
