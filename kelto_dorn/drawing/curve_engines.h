#pragma once
// Installs the curve command entries of the command engine table: the
// routing family of the curve commands, the engine's begin, dispatch and
// cancel, the curve registration of the curve list and the name selection.
namespace dorn {

void InstallCurveEngines();

}  // namespace dorn
