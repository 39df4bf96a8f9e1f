#pragma once
// Fills g_conditionOpeners (condition_openers.h) with the condition
// sub-dialogs that are in the program.
namespace dorn {

void InstallConditionOpeners();

}  // namespace dorn
