#pragma once
// Rebinding tools to the current machine: after a machine change the step
// tools of the working definition, and on opening a hole process its rows,
// take the ATC table's copy of the same tool (tool name, SEC name, diameter).
namespace dorn {

class DocAtcTable;

inline constexpr int kMatchHoleProcess = 0;  // the rows of g_holeProcess
inline constexpr int kMatchStepTools = 1;    // the step tools of g_curMachiningDef

// Works on the table as it stands (the caller loaded the current machine's).
// The record's machine name becomes the current machine's. Returns the number
// of tools that found no match (each named by message 76 and kept as it was);
// a step tool without a name is skipped silently.
int MatchToolsToAtcTable(int mode, const DocAtcTable& atc);

}  // namespace dorn
