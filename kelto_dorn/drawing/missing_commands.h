#pragma once
// Commands of the figure family whose work belongs to a part of the system
// that is not in the program yet, and ids handed on to another family whose
// engine is not installed: each says so in a box and changes nothing.
#include <functional>

namespace dorn {

// True for a figure command whose work is not in the program.
bool IsMissingCommand(int id);
// The box that names the command and what it still needs.
void ReportMissingCommand(int id);
// Calls `entry` with the id when it is installed; otherwise reports the id as
// missing. True in both cases (the id was handled).
bool CallOtherFamily(int id, const std::function<void(int)>& entry);

}  // namespace dorn
