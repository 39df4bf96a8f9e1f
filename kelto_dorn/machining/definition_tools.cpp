#include "kelto_dorn/machining/definition_tools.h"

#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "platform/text.h"

namespace dorn {

int MatchToolsToAtcTable(int mode, const DocAtcTable& atc) {
  if (mode == kMatchHoleProcess) return MatchHoleProcessToAtcTable(g_holeProcess, atc);
  MachiningDefinition& d = g_curMachiningDef;
  // The definition holds 52 bytes of the name: cut on a character boundary.
  platform::SetFieldText(d.machineName, platform::FieldText(g_dbSelection.machineName));
  return MatchRowsToAtcTable(d.stepTools, kStepCount, true, atc);
}

}  // namespace dorn
