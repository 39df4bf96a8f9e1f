// The view's command routing and its own commands: the zoom and pan
// commands, the snaps, the dialogs the view opens (post settings, NC transfer,
// data edit, work settings, view settings, font) and the line type and
// colour commands. See kel_view.h and command_routes.h.
#include <cstring>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/work_box.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/view_settings_dialog.h"
#include "kelto_dorn/dialogs/work_settings_dialog.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/command_routes.h"
#include "kelto_dorn/window/file_menu.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/pick_dispatch.h"
#include "kelto_dorn/window/printing.h"
#include "platform/choosers.h"

namespace dorn {

namespace {

constexpr int kStartModeNcTransfer = 22;
constexpr int kStartModeDataEdit = 33;
// Raised around the post settings instead of counting: the dialog's own
// dialogs see it and the bits fall away again afterwards.
constexpr int kModalPostSettings = 0x1000;
constexpr int kModalLowBits = 0x0FFF;

// Presses or releases a command's bar button (the figure engine also makes
// the command the active one).
void PressCommand(int id, bool on) {
  if (g_commandEngines.setActiveCommand) {
    g_commandEngines.setActiveCommand(id, on ? 1 : 0);
  } else if (platform::Frame* frame = GetAppMainWnd()) {
    frame->SetCommandPressed(id, on);
  }
}

void OnPostSettings() {
  if (!g_commandEngines.postSettingsDialog) return;
  PressCommand(cmd::kPostSettings, true);
  ModalDepth |= kModalPostSettings;
  g_commandEngines.postSettingsDialog();
  ModalDepth &= kModalLowBits;
  PressCommand(cmd::kPostSettings, false);
}

// The NC transfer and the data edit work on a copy of the system record; on
// OK the drawing is saved and the companion starts in its mode.
void OnHeaderDialog(CKelView& view, int id, const std::function<int(handover::DrawingHeader&)>& dialog, int startMode) {
  if (!dialog) return;
  PressCommand(id, true);
  handover::DrawingHeader copy = g_drawingHeader;
  ModalDepth = 1;
  const int result = dialog(copy);
  g_drawingHeader = copy;
  if (result == platform::kIdOk && SaveDrawing(view.Document())) StartCompanionProgram(startMode, 0);
  ModalDepth = 0;
  PressCommand(id, false);
}

void OnWorkSettings(CKelView& view) {
  if (ModalDepth == 0) SaveDrawing(view.Document());
  PressCommand(cmd::kWorkSettings, true);
  CWorkSettingsDlg dialog;
  RunModalDialog(dialog);
  PressCommand(cmd::kWorkSettings, false);
  PlaceWork();
  view.RedrawView();
  PurgeUndoSnapshots();
}

void OnViewSettings(CKelView& view) {
  CViewSettingsDlg dialog;
  RunModalDialog(dialog);
  view.RedrawView();  // the background and the steps apply from now on
}

void OnFontSettings(CKelView& view) {
  const std::optional<platform::Font> font = platform::ChooseFont(view.UserFont());
  if (font) view.SetUserFont(*font);
}

// A palette index chosen in the palette dialog, or -1.
int ChoosePaletteColour() {
  CColorPaletteDlg palette;
  const int index = RunModalDialog(palette);
  return index >= 0 && index < kPaletteSize ? index : -1;
}

void SetLineType(int lineType) {
  g_lineType = lineType;
  g_figureStyle = (g_figureStyle & kAttrColourMask) + lineType;
}

bool RunViewCommand(CKelView& view, int id) {
  switch (id) {
    case cmd::kZoomBox:
      view.StartZoomBox();
      return true;
    case cmd::kZoomIn:
      view.ZoomIn();
      return true;
    case cmd::kZoomOut:
      view.ZoomOut();
      return true;
    case cmd::kZoomBack:
      view.ZoomBack();
      return true;
    case cmd::kCentreAxes:
      view.CentreAxes();
      return true;
    case cmd::kViewSettings:
      OnViewSettings(view);
      return true;
    case cmd::kFontSettings:
      OnFontSettings(view);
      return true;
    case cmd::kPostSettings:
      OnPostSettings();
      return true;
    case cmd::kNcTransfer:
      OnHeaderDialog(view, id, g_commandEngines.ncTransferDialog, kStartModeNcTransfer);
      return true;
    case cmd::kDataEdit:
      OnHeaderDialog(view, id, g_commandEngines.dataEditDialog, kStartModeDataEdit);
      return true;
    case cmd::kWorkSettings:
      OnWorkSettings(view);
      return true;
    case cmd::kSnapMouse:
      OnSnapMouse(view);
      return true;
    case cmd::kSnapIntersection:
      OnSnapIntersection(view);
      return true;
    case cmd::kSnapEndPoint:
      OnSnapEndPoint(view);
      return true;
    case cmd::kAutoIntersection:
      OnToggleAutoIntersection();
      return true;
    case cmd::kCancelPick:
      OnCancelPick(view);
      return true;
    case cmd::kEndInput:
      OnEndInput(view);
      return true;
    case cmd::kDimensionExtension:
      OnToggleDimensionExtension();
      return true;
    case cmd::kOverwrite:
      OnToggleOverwrite();
      return true;
    case cmd::kPrinterOutput:
      OnPrinterOutput(view);
      return true;
    case cmd::kPrintScrewLeads:
      OnPrintScrewLeads(view);
      return true;
    case cmd::kLineSolid:
      SetLineType(0);
      return true;
    case cmd::kLineDashed:
      SetLineType(kAttrDashed);
      return true;
    case cmd::kLineChain1:
      SetLineType(kAttrChain1);
      return true;
    case cmd::kLineChain2:
      SetLineType(kAttrChain2);
      return true;
    case cmd::kLineColour:
      if (const int c = ChoosePaletteColour(); c >= 0) g_figureStyle = c + g_lineType;
      return true;
    case cmd::kCurveColour:
      if (const int c = ChoosePaletteColour(); c >= 0) g_curveColor = c;
      return true;
    default:
      return false;
  }
}

bool ViewCommandAvailable(int id) {
  switch (id) {
    case cmd::kPostSettings:
      return static_cast<bool>(g_commandEngines.postSettingsDialog);
    case cmd::kNcTransfer:
      return static_cast<bool>(g_commandEngines.ncTransferDialog);
    case cmd::kDataEdit:
      return static_cast<bool>(g_commandEngines.dataEditDialog);
    default:
      return PrintCommandAvailable(id);
  }
}

bool UndoAvailable() { return g_undo.position > 0 || g_undo.lastType != kUndoTypeNone; }

bool RedoAvailable() {
  const int next = g_undo.position + 1;
  return next >= 0 && next < kUndoSlotCount && g_undo.slots[static_cast<std::size_t>(next)].fileName[0] != '\0';
}

}  // namespace

bool CKelView::OnCommand(int id) {
  const RouteFamily family = FamilyOf(id);
  switch (family) {
    case RouteFamily::kNone:
      return false;
    case RouteFamily::kFileMenu:
      RunFileMenuCommand(*this, id);
      return true;
    case RouteFamily::kUndoRedo:
      id == cmd::kUndo ? OnEditUndo() : OnEditRedo();
      RedrawView();
      return true;
    case RouteFamily::kCadImport:
      OnImportCadFile(*this);
      return true;
    case RouteFamily::kView:
      RunViewCommand(*this, id);
      return true;
    case RouteFamily::kFrameworkPrint:
      OnFilePrint(*this, id);
      return true;
    default:
      // An engine that is not installed shows its ids disabled; a call that
      // reaches it anyway does nothing.
      RouteToEngine(family, id);
      return true;
  }
}

bool CKelView::OnUpdateCommand(platform::CommandUpdate& update) {
  const int id = update.Id();
  const RouteFamily family = FamilyOf(id);
  switch (family) {
    case RouteFamily::kNone:
      return false;
    case RouteFamily::kFileMenu:
    case RouteFamily::kCadImport:
      update.Enable(FileMenuCommandAvailable(id));
      return true;
    case RouteFamily::kUndoRedo:
      update.Enable(id == cmd::kUndo ? UndoAvailable() : RedoAvailable());
      return true;
    case RouteFamily::kView:
    case RouteFamily::kFrameworkPrint:
      update.Enable(ViewCommandAvailable(id));
      return true;
    case RouteFamily::kMachining: {
      const auto& available = g_commandEngines.machiningCommandAvailable;
      update.Enable(EngineInstalled(family) && (!available || available(id)));
      return true;
    }
    default:
      update.Enable(EngineInstalled(family));
      return true;
  }
}

}  // namespace dorn
