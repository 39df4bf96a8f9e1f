// The main frame's commands: bar menus, layers, the layer tiles, the exit
// commands, the display switches, the dimension pick modes, the settings it
// opens and the files it hands to the desktop. See main_frame.h.
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/login_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/main_frame.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kSwitchOn = 0xFFFF;
constexpr int kPromptDimensionCross = 13;
constexpr int kPromptDimensionLine = 14;

bool IsSameDiameterCommand(int id) { return id >= 33197 && id <= 33200; }
bool IsActiveDimensionCommand() { return g_curCommand >= 33145 && g_curCommand <= 33151; }

void ShowLayerTiles(bool markForDeletion) {
  g_layerOverview = kOverviewPending;
  g_overviewFirstLayer = 0;
  g_overviewMarks.fill(0);
  if (markForDeletion) g_layerDeleteMarking = 1;
  RedrawView();
}

}  // namespace

void CMainFrame::OnDimensionPickMode(int id) {
  int& mode = g_dimensionStyle.dimPickMode;
  if (id == cmd::kDimensionCrossMode && (g_curCommand == 33146 || g_curCommand == 33147 || g_curCommand == 33161)) {
    // The diameter, radius and distance dimensions only change their mode.
    mode = 1;
    return;
  }
  const bool cross = id == cmd::kDimensionCrossMode;
  mode = cross ? 0 : 1;
  g_pickState = id;
  ShowPromptHook(cross ? kPromptDimensionCross : kPromptDimensionLine);
  if (IsActiveDimensionCommand() && g_commandEngines.runDimensionCommand)
    g_commandEngines.runDimensionCommand(g_curCommand);
}

namespace {

// Hands a file to the desktop's program for its kind; a file that is not
// there, or no program for it, is said so with the file's name.
void OpenFileWithDesktop(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    ReportFileFault(file.string() + " does not exist");
    return;
  }
  const platform::ProcessResult opened = platform::OpenWithDesktop(file);
  if (!opened.started) ReportFileFault(file.string() + ": " + opened.message);
}

}  // namespace

void CMainFrame::OpenProgramFile(const char* name) {
  OpenFileWithDesktop(platform::ResolvePath(g_programFolder, name));
}

void CMainFrame::OpenToolReport() {
  const handover::DrawingHeader& h = g_drawingHeader;
  const std::string relative = platform::FieldText(h.unitName) + "\\" + platform::FieldText(h.secondName) + "\\DAT\\" +
                               platform::FieldText(h.drawingName) + platform::Sjis("加工詳細工具情報.CSV");
  OpenFileWithDesktop(platform::ResolvePath(g_dataFolder, relative));
}

bool CMainFrame::Handles(int id) const {
  static constexpr int kFrameIds[] = {
      cmd::kPreviousBarMenu,    cmd::kBarMenuAll,        cmd::kLayerOverview,    cmd::kLayerDelete,
      cmd::kExitSaveSize,       cmd::kExitStandardSize,  cmd::kExitMaximized,    cmd::kAngle90Reference,
      cmd::kDimensionValues,    cmd::kCadDisplay,        cmd::kCoordinateAxes,   cmd::kThickLine,
      cmd::kDimensionCrossMode, cmd::kDimensionLineMode, cmd::kDefinitionGroups, cmd::kFileServer,
      cmd::kCoordFileA,         cmd::kCoordFileB,        cmd::kToolReportA,      cmd::kToolReportB,
      cmd::kUnitName,           cmd::kSecondName,        cmd::kFileName,         cmd::kMachineName};
  if (BarMenuOfCommand(id) || LayerOfCommand(id) >= 0 || IsSameDiameterCommand(id)) return true;
  return std::find(std::begin(kFrameIds), std::end(kFrameIds), id) != std::end(kFrameIds);
}

bool CMainFrame::OnCommand(int id) {
  if (const BarMenu* menu = BarMenuOfCommand(id)) {
    ShowBarMenu(*menu);
    return true;
  }
  if (const int layer = LayerOfCommand(id); layer >= 0) {
    SelectLayer(layer);
    return true;
  }
  if (IsSameDiameterCommand(id)) {
    if (g_commandEngines.beginFigureCommand) g_commandEngines.beginFigureCommand(id);
    return true;
  }
  switch (id) {
    case cmd::kPreviousBarMenu:
      ShowPreviousBarMenu();
      return true;
    case cmd::kBarMenuAll:
      ToggleSimultaneousBarMenus();
      return true;
    case cmd::kLayerOverview:
      ShowLayerTiles(false);
      return true;
    case cmd::kLayerDelete:
      ShowLayerTiles(true);
      return true;
    case cmd::kExitSaveSize:
    case cmd::kExitStandardSize:
    case cmd::kExitMaximized:
      SaveRectAndClose(id);
      return true;
    case cmd::kAngle90Reference:
      g_view.m_angleReference90 = g_view.m_angleReference90 ? 0 : kSwitchOn;
      return true;
    case cmd::kDimensionValues:
      g_showDimensions = g_showDimensions == 1 ? 0 : 1;
      g_view.m_rubberBandCount = 0;
      RedrawView();
      return true;
    case cmd::kCadDisplay:
      // 0 -> 1 (dimension values on) -> 2 (dimension values off) -> 0.
      g_view.m_cadDisplayMode = (g_view.m_cadDisplayMode + 1) % 3;
      if (g_view.m_cadDisplayMode == 1) g_showDimensions = 1;
      if (g_view.m_cadDisplayMode == 2) g_showDimensions = 0;
      RedrawView();
      return true;
    case cmd::kCoordinateAxes:
      g_showAxes = g_showAxes ? 0 : 1;
      RedrawView();
      return true;
    case cmd::kThickLine:
      g_figureAttribute ^= kAttrThick;
      return true;
    case cmd::kDimensionCrossMode:
    case cmd::kDimensionLineMode:
      OnDimensionPickMode(id);
      return true;
    case cmd::kDefinitionGroups:
      if (g_commandEngines.definitionGroupDialog) {
        ++ModalDepth;
        g_commandEngines.definitionGroupDialog();
        if (ModalDepth > 0) --ModalDepth;
      }
      return true;
    case cmd::kFileServer: {
      CLoginDlg login;
      ++ModalDepth;
      if (login.DoModal() == platform::kIdOk && g_commandEngines.fileServerDialog) g_commandEngines.fileServerDialog();
      ModalDepth = 0;
      return true;
    }
    case cmd::kCoordFileA:
      OpenProgramFile("TOSNUC.txt");
      return true;
    case cmd::kCoordFileB:
      OpenProgramFile("FANUC.txt");
      return true;
    case cmd::kToolReportA:
    case cmd::kToolReportB:
      OpenToolReport();
      return true;
    default:
      return false;
  }
}

}  // namespace dorn
