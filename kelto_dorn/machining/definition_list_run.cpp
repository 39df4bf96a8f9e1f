#include "kelto_dorn/machining/definition_list_run.h"

#include <algorithm>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_list.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/definition_store.h"
#include "kelto_dorn/machining/machining_state.h"

namespace dorn {

namespace {

bool Chosen() { return g_selectionList[0] != kSelectionEnd; }

int ChosenSlot() {
  const int row = std::clamp(g_selectionList[0], 0, std::max(g_machiningCount - 1, 0));
  return g_machiningIndexTable.records[static_cast<std::size_t>(row)].slot;
}

void ResetWorking() {
  if (g_definitionFlow.resetFigureAndSurface) g_definitionFlow.resetFigureAndSurface();
  if (g_definitionFlow.atc) ResetMachiningRecord(*g_definitionFlow.atc);
}

int Edit(int command) {
  if (!Chosen() || g_selectionList[0] == kSelectionAll) {
    EndPick(command);
    g_definitionEditMode = kEditModeNew;
    ResetWorking();
    return 0;
  }
  const int slot = ChosenSlot();
  GetMachiningDefinition(*g_definitionFlow.definitions, slot, *g_definitionFlow.atc);
  g_shownDefinitionTotal = g_machiningCount;
  g_definitionEditMode = kEditModeStoredSlot;
  EditMachiningDefinition(slot);
  return kListActionEdit;
}

// The chosen definition becomes a new one at the end, numbered and named
// afresh, and is edited there; nothing is stored until its dialog stores it.
int Copy(int command) {
  MachiningOrderValid = 0;
  ResetWorking();
  if (!Chosen() || g_selectionList[0] == kSelectionAll) {
    EndPick(command);
    g_definitionEditMode = kEditModeNew;
    return 0;
  }
  if (g_machiningCount >= kMachiningSlotCount) {
    // No slot for the copy: refused before its dialog opens.
    ShowErrorCode(kErrorMachiningFull);
    EndPick(command);
    g_definitionEditMode = kEditModeNew;
    return 0;
  }
  GetMachiningDefinition(*g_definitionFlow.definitions, ChosenSlot(), *g_definitionFlow.atc);
  g_definitionEditMode = kEditModeNew;
  g_curDefinitionSlot = g_machiningCount;
  AssignDefinitionNumber();
  ++g_definitionPickCount;
  g_shownDefinitionTotal = g_machiningCount + 1;
  EditMachiningDefinition(g_machiningCount);
  return kListActionCopy;
}

int Delete() {
  MachiningOrderValid = 0;
  if (!Chosen()) return 0;
  const bool all = g_selectionList[0] == kSelectionAll;
  const std::vector<int> list(g_selectionList.begin(), g_selectionList.end());
  DeleteMachiningDefinitions(*g_definitionFlow.definitions, *g_definitionFlow.atc, list);
  if (all) {
    RedrawView();
    return 0;
  }
  return kListActionDelete;
}

}  // namespace

int RunDefinitionList(int action, int command) {
  g_selectionList.fill(kSelectionEnd);
  if (action == 0 || !g_definitionFlow.definitionList || !g_definitionFlow.definitions || !g_definitionFlow.atc)
    return 0;
  int finalAction = action;
  const int end = g_definitionFlow.definitionList(finalAction);
  if (end == kListEndAll) {
    g_selectionList[0] = kSelectionAll;
  } else if (end != 1) {
    g_selectionList[0] = kSelectionEnd;
  }
  switch (finalAction) {
    case kListActionEdit:
      return Edit(command);
    case kListActionCopy:
      return Copy(command);
    case kListActionDelete:
      return Delete();
    default:
      return 0;
  }
}

}  // namespace dorn
