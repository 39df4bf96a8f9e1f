#pragma once
// Entry points of subsystems that are not in the program yet. Each does the
// least safe thing until its owner fills it in: nothing, or what a missing
// file means.
namespace dorn {

// The machining order list of the CAM data: entries from `from` on cleared;
// here only its count in the system record (+348) is cleared (the list itself
// belongs to the CAM data).
void TruncateMachiningOrder(int from);
// The post table of the CAM data ("$POST.@@@"): nothing to read into yet.
void ReadDornPostTable();
// The dimension arrow wings after a drawing was loaded: nothing yet.
void UpdateDimensionArrowShape();

}  // namespace dorn
