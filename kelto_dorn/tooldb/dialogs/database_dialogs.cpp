// The database editors' entries: see database_dialogs.h.
#include "kelto_dorn/tooldb/dialogs/database_dialogs.h"

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"

namespace dorn {

void InstallDatabaseDialogs(std::function<DatabaseTables()> tables) {
  g_commandEngines.toolDatabaseDialog = [tables] {
    const DatabaseTables t = tables();
    if (t.tools == nullptr) return 0;
    CToolDatabaseDlg dialog(*t.tools);
    return dialog.DoModal();
  };
  g_commandEngines.machineAtcDialog = [tables] {
    const DatabaseTables t = tables();
    if (t.tools == nullptr || t.atc == nullptr) return 0;
    CMachineAtcDbDlg dialog(*t.atc, *t.tools);
    return dialog.DoModal();
  };
}

}  // namespace dorn
