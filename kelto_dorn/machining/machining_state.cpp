#include "kelto_dorn/machining/machining_state.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

MachiningDefinition g_curMachiningDef{};
int& g_machiningCount = g_machiningIndexTable.count;
int& g_curDefinitionSlot = g_machiningIndexTable.currentSlot;
int g_definitionEditMode = kEditModeNew;
int MachiningOrderValid = 0;
handover::MachiningDefaults g_machiningDefaults{};
double g_lastCornerDistance = 0.0;
double g_lastCornerRate = 0.0;

void ResetMachiningState() {
  g_curMachiningDef = MachiningDefinition{};
  g_machiningCount = 0;
  g_curDefinitionSlot = 0;
  g_definitionEditMode = kEditModeNew;
  MachiningOrderValid = 0;
  g_machiningDefaults = handover::MachiningDefaults{};
  g_lastCornerDistance = 0.0;
  g_lastCornerRate = 0.0;
}

}  // namespace dorn
