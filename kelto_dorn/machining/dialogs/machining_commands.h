#pragma once
// The machining definition commands in the program: the routing family of
// the machining menu, the definition flow's entry for the curve dispatcher
// and the pick handler of pick state 50, all installed in the command
// engines; and the flow's services (the document's tables, saving, the
// shared definition dialog and the point input).
namespace dorn {

// Installs the entries; the document is looked up at each command, so the
// entries hold across a new document.
void InstallMachiningCommands();

// The machining family's handler of one command id.
void RunMachiningMenuCommand(int id);

// True for the ids of the machining family that are in the program.
bool MachiningCommandAvailable(int id);

}  // namespace dorn
