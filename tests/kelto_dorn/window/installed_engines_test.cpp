// The program as it is installed and started (StartupSystem and
// InstallCommandEngines, with no test filling anything in): every entry of
// the command-engine table that a menu item, a bar button or a command
// reaches is filled, or each item that reaches it shows disabled. An empty
// entry behind an enabled item is a command that silently does nothing.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_routes.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

struct Entry {
  const char* name;
  bool filled;
  // The commands that reach the entry (a routing family's every id, a
  // dialog's menu command); empty: the entry is reached from inside other
  // commands only, so it must be filled.
  std::vector<int> reachedBy;
};

// The ids the view routes to a family.
std::vector<int> IdsOf(RouteFamily family) {
  std::vector<int> ids;
  for (int i = 0; i < kRoutedCommandCount; ++i) {
    if (FamilyOf(RoutedCommands()[i]) == family) ids.push_back(RoutedCommands()[i]);
  }
  return ids;
}

#define KELTO_ENTRY(name, ...) Entry{#name, static_cast<bool>(e.name), std::vector<int>{__VA_ARGS__}}

std::vector<Entry> Entries() {
  const CommandEngines& e = g_commandEngines;
  auto family = [&](const char* name, bool filled, RouteFamily f) { return Entry{name, filled, IdsOf(f)}; };
  std::vector<Entry> entries = {
      family("figureCommand", static_cast<bool>(e.figureCommand), RouteFamily::kFigure),
      family("viewModeCommand", static_cast<bool>(e.viewModeCommand), RouteFamily::kViewMode),
      family("originMoveCommand", static_cast<bool>(e.originMoveCommand), RouteFamily::kOriginMove),
      family("curveCommand", static_cast<bool>(e.curveCommand), RouteFamily::kCurve),
      family("pointGroupCurveCommand", static_cast<bool>(e.pointGroupCurveCommand), RouteFamily::kPointGroupCurve),
      family("dimensionCommand", static_cast<bool>(e.dimensionCommand), RouteFamily::kDimension),
      family("surfaceCommand", static_cast<bool>(e.surfaceCommand), RouteFamily::kSurface),
      family("machiningCommand", static_cast<bool>(e.machiningCommand), RouteFamily::kMachining),
      family("camDataRun", static_cast<bool>(e.camDataRun), RouteFamily::kCamDataRun),
      family("dxfExportOrPlot", static_cast<bool>(e.dxfExportOrPlot), RouteFamily::kDxfExportOrPlot),
      family("dxfExport", static_cast<bool>(e.dxfExport), RouteFamily::kDxfExport),
      KELTO_ENTRY(executeFigureCommand),
      KELTO_ENTRY(beginFigureCommand),
      KELTO_ENTRY(setActiveCommand),
      KELTO_ENTRY(eraseRubberBand),
      KELTO_ENTRY(drawRubberBand),
      KELTO_ENTRY(addPointOnFigure),
      KELTO_ENTRY(resetCommandInput),
      KELTO_ENTRY(storeAndDrawFigure),
      KELTO_ENTRY(showFigureAnalysis),
      KELTO_ENTRY(pickPolylineWorkFigure),
      KELTO_ENTRY(showErrorBox),
      KELTO_ENTRY(mirrorCurrentFigure),
      KELTO_ENTRY(pickFigureOrCurve),
      KELTO_ENTRY(pickFiguresNearCursor),
      KELTO_ENTRY(findFigureAtPick),
      KELTO_ENTRY(pickWorkFigure),
      KELTO_ENTRY(drawPickHighlights),
      KELTO_ENTRY(workPickMode),
      KELTO_ENTRY(setCandidatePage),
      KELTO_ENTRY(reverseFigureDirection),
      KELTO_ENTRY(beginCurveCommand),
      KELTO_ENTRY(dispatchCurveCommand),
      KELTO_ENTRY(cancelCurveCommand),
      KELTO_ENTRY(registerCurve),
      KELTO_ENTRY(selectCurvesByName),
      KELTO_ENTRY(pointGroupInput),
      KELTO_ENTRY(selectCurvesInBox),
      KELTO_ENTRY(reverseCurve),
      KELTO_ENTRY(toggleCornerJoin),
      KELTO_ENTRY(setCurveColour),
      KELTO_ENTRY(moveCurvesToLayer),
      KELTO_ENTRY(inputDimension),
      KELTO_ENTRY(selectOriginNearPoint),
      KELTO_ENTRY(reassignFigureOrigin),
      KELTO_ENTRY(previewDimension),
      KELTO_ENTRY(setDimensionPickMode),
      KELTO_ENTRY(runDimensionCommand),
      KELTO_ENTRY(highlightTextNearCursor),
      KELTO_ENTRY(readDxfFile),
      KELTO_ENTRY(toolDatabaseDialog, cmd::kToolDatabase),
      KELTO_ENTRY(machineAtcDialog, cmd::kMachineAtc),
      KELTO_ENTRY(holeProcessDialog, cmd::kHoleProcesses),
      KELTO_ENTRY(matchToolsToAtcTable),
      KELTO_ENTRY(renameDialog),
      KELTO_ENTRY(chooseMachineDialog),
      KELTO_ENTRY(defineMachining),
      KELTO_ENTRY(definitionCurvePick),
      KELTO_ENTRY(defineSurface, 32941, 32943, 32944, 32945, 32947, 32948, 32949, 32950, 32951, 32952, 32953, 33070,
                  33073),
      KELTO_ENTRY(boxHoleStyleDialog, cmd::kBoxHoleSettings),
      KELTO_ENTRY(atcRankDialog),
      KELTO_ENTRY(timeEstimateDialog, cmd::kTimeEstimate),
      KELTO_ENTRY(capsuleNameDialog, cmd::kCapsuleNames),
      KELTO_ENTRY(definitionGroupDialog),
      KELTO_ENTRY(machiningOrder),
      KELTO_ENTRY(ncDataCheck),
      KELTO_ENTRY(machiningInfoDialog, cmd::kMachiningInfo),
      KELTO_ENTRY(postSettingsDialog, cmd::kPostSettings),
      KELTO_ENTRY(ncTransferDialog, cmd::kNcTransfer),
      KELTO_ENTRY(printScrewLeadList, cmd::kPrintScrewLeads),
      KELTO_ENTRY(drawingFileListDialog, cmd::kFileNameList),
      KELTO_ENTRY(cadFileListDialog, cmd::kImportCadFile),
      KELTO_ENTRY(readCadFile, cmd::kImportCadFile),
      KELTO_ENTRY(importSelectDialog, cmd::kImportNetworkDrawing),
      KELTO_ENTRY(dataEditDialog, cmd::kDataEdit),
      KELTO_ENTRY(fileServerDialog),
      KELTO_ENTRY(fileListDialog),
      KELTO_ENTRY(printOutputDialog),
      KELTO_ENTRY(printListDialog),
      KELTO_ENTRY(textInputDialog),
  };
  // Which machining ids are in the program: empty means all of them.
  entries.push_back(Entry{"machiningCommandAvailable", true, {}});
  return entries;
}

#undef KELTO_ENTRY

// The table above names every entry: an entry added to CommandEngines
// without a line here makes this fail, so that it is checked too.
static_assert(sizeof(CommandEngines) == 81 * sizeof(std::function<void()>),
              "CommandEngines gained or lost an entry: list it in Entries()");

class InstalledEnginesTest : public WindowTest {
 protected:
  bool ShowsEnabled(int id) {
    platform::CommandUpdate update(id, platform::CommandState{});
    app().Update(update);
    return update.State().enabled;
  }
};

TEST_F(InstalledEnginesTest, EveryReachedEntryIsFilledOrItsItemsShowDisabled) {
  Start();
  for (const Entry& entry : Entries()) {
    SCOPED_TRACE(entry.name);
    if (entry.filled) continue;
    ASSERT_FALSE(entry.reachedBy.empty()) << "empty, and reached from inside other commands";
    for (int id : entry.reachedBy) EXPECT_FALSE(ShowsEnabled(id)) << "command " << id << " would do nothing";
  }
}

}  // namespace
}  // namespace dorn::test
