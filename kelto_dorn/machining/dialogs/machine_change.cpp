#include "kelto_dorn/machining/dialogs/machine_change.h"

#include <memory>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/definition_tools.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"

namespace dorn {

namespace {
constexpr int kAskRebindTools = 20;
constexpr int kYes = 6;
}  // namespace

bool ChangeMachine(DefinitionSlots& slots, DocAtcTable& atc) {
  MachiningOrderValid = 0;
  FocusedEditIndex = kPostListModeMachine;
  CPostListDlg chooser;
  const int chosen = RunModalDialog(chooser);
  FocusedEditIndex = 0;
  if (chosen != 1) return false;
  LoadAtcTable(atc);
  if (g_machiningCount > 0 && ShowMessage(kAskRebindTools) == kYes) {
    // The working definition is kept: the rebinding goes through it.
    const auto working = std::make_unique<MachiningDefinition>(g_curMachiningDef);
    for (int i = 0; i < g_machiningCount; ++i) {
      const int slot = g_machiningIndexTable.records[static_cast<std::size_t>(i)].slot;
      if (!GetMachiningDefinition(slots, slot, atc)) continue;
      MatchToolsToAtcTable(kMatchStepTools, atc);
      PutMachiningDefinition(slots, slot);
    }
    g_curMachiningDef = *working;
  }
  return true;
}

}  // namespace dorn
