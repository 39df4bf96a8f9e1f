#pragma once
// The definition list command: the list runs with a starting action and what
// it ends in is carried out: the chosen definition re-edited, copied to a new
// definition at the end, or the chosen definitions deleted.
namespace dorn {

// The list's actions (also its result).
inline constexpr int kListActionEdit = 0xF100;
inline constexpr int kListActionCopy = 0xF200;
inline constexpr int kListActionDelete = 0xF300;
// The list's end codes besides OK (1) and Cancel (2): ALL in delete mode.
inline constexpr int kListEndAll = 9999;

// Runs the list starting with `action` for the command `command` (whose
// picks end when nothing is chosen). Returns the action carried out, 0 when
// nothing was done (cancel, no choice, all definitions deleted).
int RunDefinitionList(int action, int command);

}  // namespace dorn
