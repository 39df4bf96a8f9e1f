#pragma once
// The resets that give the working definition (g_curMachiningDef) and its
// steps their "new" values, the clearing of the document's definition table,
// and the through-hole depth of a step. The values come from
// g_machiningDefaults, the last corner-feed input and the drawing's global Z.
#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

class DocAtcTable;
class DefinitionSlots;

// Resets every field of g_curMachiningDef to its "new" value (reserved bytes
// stay as they are). The blank tool record (ATC slot 1020) is cleared, its ATC
// number set to 0, and copied into each of the 12 step tools, which then take
// the spindle speed and feed of the defaults. Returns 0.
int ResetMachiningRecord(DocAtcTable& atc);

// Step `step` (0..11) of g_curMachiningDef to its "new" values: colour 1;
// start depth the global Z in the 9999 mode, else 0; tool down amount, down
// feed, tool move Z and both feed code values from the defaults; the rest 0.
void ClearStepCondition(int step);

// Clears curve-list item `item` (0..79) of g_curMachiningDef. The definition
// dialogs know it as ClearCurveItem.
void ClearToolSlot(int item);
inline void ClearCurveItem(int item) { ClearToolSlot(item); }

// Option triple `row` (0..31) of g_curMachiningDef becomes 1, 1, 0.
void ClearFlagTriple(int row);

// Clears figure-table entry `entry` (0..147) of g_curMachiningDef: its first
// 20 bytes and its double; bytes 20-23 stay.
void ClearItemRecord(int entry);

// Copies one StepCondition.
void CopyMachiningRecord(StepCondition& destination, const StepCondition& source);

// Clears every machining definition: the working record is reset, the index
// records and the counters cleared, and the reset record copied into all 512
// slots.
void ClearMachiningTable(DefinitionSlots& slots, DocAtcTable& atc);

// The through-hole end depth of step `step` (0..11) of g_curMachiningDef from
// its tool: d = |corner radius| + |through amount| + |global Z| + tip length
// (less |global Z| in the 9999 mode); end depth -d, limited to start depth -
// flute length when the tool has a flute length and the cut would be deeper;
// rounded to 0.001; the depth-fixed flag set and the bottom stock cleared.
void ComputeRecordDepth(int step);

}  // namespace dorn
