// The start of Kelto_Dorn: see program.h.
#include "kelto_dorn/window/program.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/camdata/nc_requests.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/document/cam_requests.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/files/files_commands.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/curve_engines.h"
#include "kelto_dorn/drawing/dimensions.h"
#include "kelto_dorn/drawing/figure_handlers.h"
#include "kelto_dorn/drawing/operation_engines.h"
#include "kelto_dorn/drawing/picking_engines.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/dialogs/centring_dialog.h"
#include "kelto_dorn/machining/dialogs/finish_pass_dialog.h"
#include "kelto_dorn/machining/dialogs/machining_commands.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/atc_list.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/database_dialogs.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "kelto_dorn/window/main_frame.h"
#include "kelto_dorn/window/app_instance.h"
#include "kelto_dorn/window/printing.h"
#include "platform/application.h"
#include "platform/text.h"
#include "platform/qt/qt_backend.h"

namespace dorn {

namespace {

// The key of the working definition's current curve-list item.
std::int32_t CurrentItemKey() {
  return g_curMachiningDef.curves[static_cast<std::size_t>(std::clamp(g_curContourItem, 0, kCurveItemCount - 1))].key;
}

}  // namespace

void InstallCommandEngines() {
  // The numbered messages name files through the kernel's shared text buffer.
  MessageValueSources sources;
  sources.textBuffer = [] { return std::string(g_textBuffer, ::strnlen(g_textBuffer, sizeof g_textBuffer)); };
  sources.holeProcessName = [] { return platform::FieldText(g_holeProcess.name); };
  // The step and curve-list item the open definition dialog shows.
  sources.currentStepIndex = [] { return g_curStepIndex; };
  sources.curveNameOfCurrentItem = []() -> std::optional<std::string> {
    const int curve = FindCurveByKey(CurrentItemKey());
    if (curve < 0 || curve >= g_curveCount) return std::nullopt;
    return platform::FieldText(g_curveTable[static_cast<std::size_t>(curve)].name);
  };
  sources.surfaceNameOfCurrentItem = []() -> std::optional<std::string> {
    const std::int32_t key = CurrentItemKey();
    const int n = std::min(g_surfaceIndexTable.count, kSurfaceSlotCount);
    for (int i = 0; i < n; ++i) {
      if (g_surfaceIndexTable.records[static_cast<std::size_t>(i)].key == key)
        return platform::FieldText(g_surfaceIndexTable.records[static_cast<std::size_t>(i)].name);
    }
    return std::nullopt;
  };
  SetMessageValueSources(std::move(sources));
  InstallPickingEngines();
  InstallCurveEngines();
  InstallFigureEngines();
  InstallDimensionEngines();
  InstallOperationEngines();
  // The NC dialogs open the finishing-pass and centring settings.
  InstallCamDataCommands([] {
    CamServices services = CurrentDocumentCamServices();
    services.finishPassDialog = [] {
      CFinishPassInitDlg dialog;
      RunModalDialog(dialog);
    };
    services.autoCentringDialog = [] {
      CAutoCenteringDlg dialog;
      RunModalDialog(dialog);
    };
    return services;
  });
  InstallFileCommands();
  InstallMachineChoiceDialog();
  InstallDatabaseDialogs([] {
    DatabaseTables tables;
    if (g_pDocument != nullptr) tables = {&g_pDocument->tools, &g_pDocument->atc};
    return tables;
  });
  InstallMachiningCommands();
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
  ResetAtcListState();
  ResetDbSelection();
  ResetPromptState();
  ResetDocumentState();
  ResetDrawingState();
  ResetMessageValueSources();
  ResetFilesState();
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
