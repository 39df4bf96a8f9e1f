#pragma once
// The curve list of a definition (80 items, the first key 0 ends it) as the
// definition dialogs edit it: how many items it holds, removing one, and the
// definition name a chosen list name makes.
#include <string>
#include <string_view>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

// Items before the first key 0, at most 80.
int CountCurveItems(const MachiningDefinition& d);

// Removes item `item`: the later items move down one place within the 80
// and the last item is cleared. Returns the item to select afterwards (the
// one before when the last was removed).
int RemoveCurveItem(MachiningDefinition& d, int item);

// A name chosen from a list followed by the old name from its last '_' on
// (the whole old name when it has none), cut to 63 bytes on a character
// boundary (CP932).
std::string JoinChosenName(std::string_view chosen, std::string_view oldName);

}  // namespace dorn
