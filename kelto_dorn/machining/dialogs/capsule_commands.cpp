#include "kelto_dorn/machining/dialogs/capsule_commands.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/capsule_file.h"
#include "kelto_dorn/machining/capsule_flow.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/process_folders.h"
#include "platform/text.h"

namespace dorn {

bool ExportCapsule(const DefinitionSlots& slots, DocAtcTable& atc) {
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", g_lastCapsuleName.c_str());
  FocusedEditIndex = kCapsuleFolderMode;
  CProcessNameDlg dialog;
  const int end = RunModalDialog(dialog);
  FocusedEditIndex = 0;
  if (end != 1) return false;
  g_lastCapsuleName = platform::FieldText(g_listTextBuffer);
  return ExportCapsuleFile(slots, atc, g_lastCapsuleName);
}

bool OnCapsuleMachining() {
  FocusedEditIndex = kCapsuleFolderMode;
  CProcessNameSelectDlg dialog;
  const int end = RunModalDialog(dialog);
  FocusedEditIndex = 0;
  if (end != 1) return false;
  g_capsuleName = platform::FieldText(g_listTextBuffer);
  return LoadCapsule();
}

}  // namespace dorn
