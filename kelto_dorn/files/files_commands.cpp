#include "kelto_dorn/files/files_commands.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/files/cad_import.h"
#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/data_edit_dialog.h"
#include "kelto_dorn/files/dialogs/drawing_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/file_list_dialog.h"
#include "kelto_dorn/files/dialogs/file_server_dialog.h"
#include "kelto_dorn/files/dialogs/import_select_dialog.h"
#include "kelto_dorn/files/dialogs/print_dialogs.h"
#include "kelto_dorn/files/dxf_export.h"
#include "kelto_dorn/files/dxf_reader.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/plotter_output.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/paths.h"

namespace dorn {

namespace {

int RunCadFileList(CadFileChoice& choice) {
  CCadFileListDlg list;
  const int result = list.DoModal();
  if (result != platform::kIdOk) return result;
  const auto file = ResolveUserPath(std::string_view(g_pathBuffer, strnlen(g_pathBuffer, sizeof g_pathBuffer)));
  if (!file) return platform::kIdCancel;
  choice.file = *file;
  choice.kind = ImportFileKind & 0xF;
  return result;
}

// One character file of the stroke font, read quietly: the text command
// names what it could not read.
bool ReadStrokeFontFile(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  const bool ok = ReadDxfFile(file, platform::SystemName(path.filename()), true).ok;
  std::fclose(file);
  return ok;
}

// The file list in copy (1) or delete (2) mode; its result is not used.
void RunFileListInMode(int mode) {
  (mode == 2 ? g_deleteMode : g_fileCopyMode) = 1;
  CFileListDlg list;
  list.DoModal();
  g_deleteMode = g_fileCopyMode = 0;
}

}  // namespace

void InstallFileCommands() {
  CommandEngines& e = g_commandEngines;
  e.cadFileListDialog = RunCadFileList;
  e.readCadFile = ReadCadFile;
  e.dxfExport = [](int) { OnDxfExport(); };
  e.dxfExportOrPlot = [](int) { OnPlotterOutput(); };
  e.readDxfFile = ReadStrokeFontFile;
  e.dataEditDialog = RunDataEditDialog;
  e.drawingFileListDialog = [] { return CDrawingFileListDlg().DoModal(); };
  e.fileServerDialog = [] { return CFileServerDlg().DoModal(); };
  e.fileListDialog = RunFileListInMode;
  e.importSelectDialog = [] { return CImportSelectDlg().DoModal(); };
  e.printOutputDialog = [](int& printMode) { return CPrintOutputDlg(printMode).DoModal(); };
  e.printListDialog = [](int printMode, int& scope) { return CPrintListDlg(printMode, scope).DoModal(); };
  InstallRenameDialog();
}

}  // namespace dorn
