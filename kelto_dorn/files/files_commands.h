#pragma once
// Installs the file management's entries in the command table: the CAD file
// list and the readers of the import command, the DXF export (32832), the
// name and text-input dialogs, and the file management dialogs the view and
// the frame open.
namespace dorn {

void InstallFileCommands();

}  // namespace dorn
