#pragma once
// Installs the picking entries of the command engine table (the calls the
// view makes) and the painter hooks of the pick and curve highlights.
namespace dorn {

void InstallPickingEngines();

}  // namespace dorn
