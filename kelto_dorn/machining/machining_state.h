#pragma once
// Program-wide state of the machining definitions: the working definition
// that every dialog edits, the slot it is stored into, the count of stored
// definitions, the edit mode of the definition command, the defaults that a
// new definition starts from, the last corner-feed input, and the word that
// tells the machining-order list whether it is still up to date.
//
// Declared here, defined in machining_state.cpp; ResetMachiningState() brings
// it back to the state before start-up.
#include <array>
#include <cstdint>
#include <string>

#include "kelto_dorn/machining/finish_pass_settings.h"
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

// The finishing-pass values ("$UrvoOikomi.@@@") the builder adds to the
// contour and bottom passes; read at start-up, edited by their dialog.
extern FinishPassSettings g_finishPassRecord;

// The last distance and rate typed into the corner-feed condition; a new
// definition starts from them.
extern double g_lastCornerDistance;
extern double g_lastCornerRate;

// --- The definition command's pick flow -----------------------------------
// 0 at the start; the flow sets an odd waiting value before a pick, the pick
// handler advances it by one and enters the flow again.
extern int g_definitionPickStep;
// The end code that asked for the pick (400, 410, 510 ...); the reopened
// dialog reopens the sub-dialog that belongs to it. Bit 15 set: nothing to
// reopen.
extern int g_pickResumeCode;
inline constexpr int kResumeNothing = 0x8000;
// The step the open dialog edits, the current curve-list item, the row the
// current pick fills, and the step and row saved across a pick.
extern int g_curStepIndex;
extern int g_curContourItem;
extern int g_pickTargetIndex;
extern int g_savedStepIndex;
extern int g_savedRowIndex;
// Non-zero while curves are taken one after another into successive items.
extern int g_multiPickFlag;
// The numbers in the definition dialog's title "[ index + 1 / total ]".
extern int g_shownDefinitionIndex;
extern int g_shownDefinitionTotal;
// Picks taken for the working definition; 0: not numbered yet.
extern int g_definitionPickCount;
// 321 or 345 while the dialog asked to store and move to the previous or
// next stored definition.
extern int g_stepMoveRequest;
// 1 when the last pick hit a curve, 0 when the user ended the picks.
extern int g_pickMade;
// The second pick-mode word: 50 while a curve prompt waits, or the point
// request flags 0x8000, 0x2000, 0x4000 of a point pick.
extern int g_pickMode2;
// The rows chosen in the definition list (definition indices, ended by
// 0xFFFF; 0x9999 first: all definitions).
extern std::array<int, 1024> g_selectionList;
// The view's command-active word of the definition commands.
extern int g_definitionCommandActive;

// --- The hole dialogs' step rows -------------------------------------------
// The step button last pressed (1-8; 0 none), the delete mode (0 or 0xFFFF)
// and the insert mode (0 or 1) of the hole definition's step rows.
extern int g_stepButtonNumber;
extern int g_stepDeleteMode;
extern int g_stepInsertMode;
inline constexpr int kStepDeleteOn = 0xFFFF;

// --- Capsule machining -------------------------------------------------------
// The capsule being applied (CP932), the definition count before it was
// loaded, the capsule slot whose curves are asked for, and the last end code
// of the capsule dialog (kCapsuleNoResult: none yet).
inline constexpr int kCapsuleNoResult = -999;
extern std::string g_capsuleName;
extern int g_capsuleBaseCount;
extern int g_capsuleSlot;
extern int g_capsuleResult;
// What one capsule definition hands to the next: the picked curve list, the
// steps of the definition just loaded, and the face and bottom Z confirmed
// for the ones that follow.
extern std::array<CurveListItem, kCurveItemCount> g_capsuleCurveList;
extern std::array<StepCondition, kStepCount> g_capsuleSavedSteps;
extern double g_capsuleFaceZ;
extern double g_capsuleBottomZ;
// The capsule name last exported (CP932); the definition list clears it.
extern std::string g_lastCapsuleName;

void ResetMachiningState();

}  // namespace dorn
