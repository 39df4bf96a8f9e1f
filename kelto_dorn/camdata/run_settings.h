#pragma once
// The run and screen settings that the NC data creation and NC data check
// dialogs share: the run mode (NORMAL, PAUSE, SLOW: +320 of the system
// record) and the screen mode (new or overwrite: +376), with the same control
// ids in both dialogs.
#include "platform/dialog.h"

namespace dorn {

namespace run_settings {
inline constexpr int kNormal = 1345, kPause = 1346, kSlow = 1347;
inline constexpr int kScreenNew = 1348, kScreenOverwrite = 1350;
}  // namespace run_settings

// Stores the choice of a run or screen button; false for another control.
bool ClickRunSetting(int control);
// Shows the stored run and screen modes on their buttons.
void ShowRunSettings(platform::Dialog& dialog);

}  // namespace dorn
