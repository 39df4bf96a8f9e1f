#include "kelto_dorn/files/files_commands.h"

#include <cstring>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/files/cad_import.h"
#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"
#include "kelto_dorn/files/dxf_export.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "kelto_dorn/files/user_paths.h"

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

}  // namespace

void InstallFileCommands() {
  CommandEngines& e = g_commandEngines;
  e.cadFileListDialog = RunCadFileList;
  e.readCadFile = ReadCadFile;
  e.dxfExport = [](int) { OnDxfExport(); };
  InstallRenameDialog();
}

}  // namespace dorn
