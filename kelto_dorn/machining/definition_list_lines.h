#pragma once
// The lines of the definition list: one per stored definition with its step
// count, the tool of its last step and the figure it machines. Filling the
// list also drops the curve-list items whose curve (or surface) no longer
// exists from the stored definitions.
#include <string>
#include <vector>

namespace dorn {

class DefinitionSlots;
struct MachiningDefinition;
struct DefinitionIndexRecord;

// Removes the items of d's curve list whose key names no curve (no surface
// for the surface and four-axis wire kinds); later items move up. Returns
// the number removed.
int DropDeadCurveItems(MachiningDefinition& d);

// The list line of one definition (CP932); `slot` names it in the line of a
// definition whose first figure is gone.
std::string DefinitionListLine(const MachiningDefinition& d, const DefinitionIndexRecord& record);

// Every stored definition's line in index order, dead items dropped from the
// stored definitions first; no "[EOF]" line.
std::vector<std::string> DefinitionListLines(DefinitionSlots& slots);

}  // namespace dorn
