#pragma once
// Installs the figure and curve operations, the origins and the layer
// move into the view's entries (command_engines.h) and the origin mark
// into the painter's hooks (drawing_hooks.h).
namespace dorn {

void InstallOperationEngines();

}  // namespace dorn
