#include "kelto_dorn/machining/dialogs/machining_commands.h"

#include <memory>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/approach_dialogs.h"
#include "kelto_dorn/machining/dialogs/capsule_commands.h"
#include "kelto_dorn/machining/dialogs/capsule_machining_dialog.h"
#include "kelto_dorn/machining/dialogs/capsule_name_dialogs.h"
#include "kelto_dorn/machining/dialogs/define_group_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_list_dialog.h"
#include "kelto_dorn/machining/dialogs/machine_change.h"
#include "kelto_dorn/machining/dialogs/time_estimate_dialog.h"
#include "kelto_dorn/machining/dialogs/condition_openers_install.h"
#include "kelto_dorn/machining/dialogs/defaults_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"
#include "kelto_dorn/machining/dialogs/contour_define_dialog.h"
#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"
#include "kelto_dorn/machining/dialogs/hole_define_dialog.h"
#include "kelto_dorn/machining/dialogs/hole_process_dialog.h"
#include "kelto_dorn/machining/dialogs/single_step_hole_dialogs.h"
#include "kelto_dorn/machining/hole_shapes.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/tooldb/hole_processes.h"

namespace dorn {
namespace {

// The flow reaches the document that is open now.
bool BindDocument() {
  CKelDoc* doc = g_pDocument;
  g_definitionFlow.definitions = doc != nullptr ? &doc->definitions : nullptr;
  g_definitionFlow.atc = doc != nullptr ? &doc->atc : nullptr;
  return doc != nullptr;
}

void InstallFlowServices() {
  DefinitionFlowServices& f = g_definitionFlow;
  f.saveDrawing = [] {
    if (g_pDocument != nullptr) SaveDrawing(*g_pDocument);
  };
  f.resetFigureAndSurface = [] {
    ClearCurrentFigure();
    ResetSurfaceRecord();
  };
  f.openFrame = [](DefinitionRunner runner) {
    return g_definitionFlow.atc != nullptr ? OpenDefinitionFrame(runner, *g_definitionFlow.atc) : define_end::kCancel;
  };
  f.kindDialogs[static_cast<int>(DefinitionRunner::Hole)] = [] {
    return g_definitionFlow.atc != nullptr ? RunHoleDefineDialog(*g_definitionFlow.atc) : define_end::kCancel;
  };
  f.kindDialogs[static_cast<int>(DefinitionRunner::HelicalHole)] = [] {
    return g_definitionFlow.atc != nullptr ? RunHelicalHoleDialog(*g_definitionFlow.atc) : define_end::kCancel;
  };
  f.kindDialogs[static_cast<int>(DefinitionRunner::DeepHole)] = [] {
    return g_definitionFlow.atc != nullptr ? RunDeepHoleDialog(*g_definitionFlow.atc) : define_end::kCancel;
  };
  for (DefinitionRunner runner : {DefinitionRunner::Contour, DefinitionRunner::CharContour}) {
    f.kindDialogs[static_cast<int>(runner)] = [runner] {
      return g_definitionFlow.atc != nullptr ? RunContourDefineDialog(runner, *g_definitionFlow.atc)
                                             : define_end::kCancel;
    };
  }
  f.pointInput = [](const char* title, const char* xLabel, const char* yLabel, double& x, double& y) {
    return AskConditionPoint(xLabel, yLabel, x, y, 0, title);
  };
  f.definitionList = [](int& action) {
    if (g_definitionFlow.definitions == nullptr || g_definitionFlow.atc == nullptr) return 2;
    return RunDefineListDialog(*g_definitionFlow.definitions, *g_definitionFlow.atc, action);
  };
  f.capsuleDialog = [] {
    CCapsuleMachiningDlg dialog;
    return RunModalDialog(dialog);
  };
}

// The settings dialogs of the definition menu.
void InstallSettingsDialogs() {
  CommandEngines& e = g_commandEngines;
  e.timeEstimateDialog = [] {
    CTimeEstimateDlg dialog;
    return RunModalDialog(dialog);
  };
  e.capsuleNameDialog = [] {
    CCapsuleNameSetDlg dialog;
    return RunModalDialog(dialog);
  };
  e.definitionGroupDialog = [] {
    auto dialog = std::make_unique<CDefineGroupDlg>();
    return dialog->DoModal();
  };
}

}  // namespace

bool MachiningCommandAvailable(int id) {
  switch (id) {
    case define_cmd::kContour:
    case define_cmd::kCharContour:
    case define_cmd::kTaper:
    case define_cmd::kHole:
    case define_cmd::kHelicalHole:
    case define_cmd::kDeepHole:
    case define_cmd::kAxis25:
    case define_cmd::kDefaults:
    case define_cmd::kDefinitionList:
    case define_cmd::kCapsule:
    case define_cmd::kChangeMachine:
      return true;
    default:
      // The surface kinds, the wire and the screw wait for the surfaces; the
      // program number for its dialog.
      return false;
  }
}

void RunMachiningMenuCommand(int id) {
  if (!MachiningCommandAvailable(id) || !BindDocument()) return;
  if (id == define_cmd::kDefaults) {
    CDefineDefaultsDlg dialog;
    RunModalDialog(dialog);
    return;
  }
  if (id == define_cmd::kCapsule) {
    OnCapsuleMachining();
    return;
  }
  if (id == define_cmd::kChangeMachine) {
    ChangeMachine(g_pDocument->definitions, g_pDocument->atc);
    return;
  }
  if (id == define_cmd::kDefinitionList && g_machiningCount <= 0) return;
  if (id == define_cmd::kContour || id == define_cmd::kCharContour) g_pickMode2 = 0;
  RunMachiningCommand(id);
}

void InstallMachiningCommands() {
  InstallFlowServices();
  InstallConditionOpeners();
  InstallSettingsDialogs();
  CommandEngines& e = g_commandEngines;
  e.machiningCommand = [](int id) { RunMachiningMenuCommand(id); };
  e.machiningCommandAvailable = [](int id) { return MachiningCommandAvailable(id); };
  e.defineMachining = [](int command) { return BindDocument() ? DefineMachining(command) : 0; };
  e.definitionCurvePick = [](bool picked) {
    if (BindDocument()) DefinitionCurvePick(picked);
  };
  e.holeProcessDialog = [] { return g_pDocument != nullptr ? RunHoleProcessDialog(g_pDocument->atc) : 0; };
  e.boxHoleStyleDialog = [] {
    CBoxHoleStyleDlg dialog;
    return RunModalDialog(dialog);
  };
  e.atcRankDialog = [] { return g_pDocument != nullptr ? RunAtcRankConfirmDialog(g_pDocument->definitions) : 2; };
  // The drawing paints the hole definitions on their hole figures.
  g_drawingHooks.forEachHoleDefinition = [](std::int32_t key, const HoleDefinitionVisit& visit) {
    if (g_pDocument != nullptr) ForEachHoleDefinition(g_pDocument->definitions, g_machiningCount, key, visit);
  };
  // The register print rebinds each hole process it prints.
  e.matchToolsToAtcTable = [](HoleProcessRecord& process) {
    if (g_pDocument != nullptr) MatchHoleProcessToAtcTable(process, g_pDocument->atc);
  };
}

}  // namespace dorn
