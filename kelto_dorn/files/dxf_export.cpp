// The DXF export command: see dxf_export.h.
#include "kelto_dorn/files/dxf_export.h"

#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/files/dialogs/cad_file_list_dialog.h"
#include "kelto_dorn/files/dialogs/dxf_out_property_dialog.h"
#include "kelto_dorn/files/dxf_writer.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/message_box.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kDxfOutputMode = 0x8002;

void ShowOpenError(std::string_view reason) {
  const std::string text = platform::Sjis(" >>> DXF_FILE::オープンエラー！？") + "\n" + std::string(reason);
  platform::ShowMessageBox({text, "", platform::MessageButtons::Ok, platform::MessageIcon::Stop});
}

}  // namespace

bool WriteDxfFile(const std::filesystem::path& file) {
  const std::string text = BuildDxfText();
  const platform::FileResult written = platform::WriteFileAtomic(file, text.data(), text.size());
  if (!written.ok()) {
    ShowOpenError(platform::Utf8ToCp932(written.message));
    return false;
  }
  SignalBeep();
  return true;
}

bool ExportDxf(std::string_view chosenPath) {
  const std::string path = DxfOutputPath(chosenPath);
  CDxfOutPropertyDlg properties(path);
  if (properties.DoModal() != platform::kIdOk) return false;
  const auto file = ResolveUserPath(path);
  if (!file) {
    ShowOpenError(path);
    return false;
  }
  return WriteDxfFile(*file);
}

void OnDxfExport() {
  if (g_commandEngines.setActiveCommand) g_commandEngines.setActiveCommand(kCommandDxfExport, 1);
  const handover::DrawingHeader kept = g_drawingHeader;
  ++ModalDepth;
  ImportFileKind = kDxfOutputMode;
  CCadFileListDlg list;
  if (list.DoModal() == platform::kIdOk) ExportDxf(std::string(g_pathBuffer, strnlen(g_pathBuffer, sizeof g_pathBuffer)));
  ModalDepth = 0;
  g_drawingHeader = kept;
  if (g_commandEngines.setActiveCommand) g_commandEngines.setActiveCommand(kCommandDxfExport, 0);
}

}  // namespace dorn
