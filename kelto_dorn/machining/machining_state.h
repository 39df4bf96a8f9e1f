#pragma once
// Program-wide state of the machining definitions: the working definition
// that every dialog edits, the slot it is stored into, the count of stored
// definitions, the edit mode of the definition command, the defaults that a
// new definition starts from, the last corner-feed input, and the word that
// tells the machining-order list whether it is still up to date.
//
// Declared here, defined in machining_state.cpp; ResetMachiningState() brings
// it back to the state before start-up.
#include <cstdint>

#include "kelto_dorn/machining/machining_definition.h"
#include "shared/handover/machining_defaults.h"

namespace dorn {

// The working copy of the definition being defined or edited.
extern MachiningDefinition g_curMachiningDef;

// The number of stored definitions (and of their index records) and the slot
// the working definition is stored into. Both are the counters kept with the
// machining index table: one storage, two names.
extern int& g_machiningCount;
extern int& g_curDefinitionSlot;

// 0 a new definition; 1 re-editing a stored slot; 4096 return to the
// definition list when the command ends.
inline constexpr int kEditModeNew = 0;
inline constexpr int kEditModeStoredSlot = 1;
inline constexpr int kEditModeReturnToList = 4096;
extern int g_definitionEditMode;

// 11 while the machining-order list is up to date; every change to the stored
// definitions or their steps sets it to 0 so that the list is rebuilt.
inline constexpr int kMachiningOrderUpToDate = 11;
extern int MachiningOrderValid;

// The values a new definition starts from ("$DEF_KAKO2.@@@").
extern handover::MachiningDefaults g_machiningDefaults;

// The last distance and rate typed into the corner-feed condition; a new
// definition starts from them.
extern double g_lastCornerDistance;
extern double g_lastCornerRate;

void ResetMachiningState();

}  // namespace dorn
