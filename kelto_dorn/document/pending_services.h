#pragma once
// Entry points of subsystems that are not in the program yet. Each does the
// least safe thing until its owner fills it in: nothing, or what a missing
// file means.
namespace dorn {

}  // namespace dorn
