#include "kelto_dorn/camdata/run_settings.h"

#include "kelto_dorn/app/app_state.h"

namespace dorn {

bool ClickRunSetting(int control) {
  using namespace run_settings;
  switch (control) {
    case kNormal:
    case kPause:
    case kSlow:
      g_drawingHeader.executionMode = control - kNormal;
      return true;
    case kScreenNew:
    case kScreenOverwrite:
      g_drawingHeader.displayListReload = control == kScreenNew ? 0 : 1;
      return true;
    default:
      return false;
  }
}

void ShowRunSettings(platform::Dialog& dialog) {
  using namespace run_settings;
  const int run = g_drawingHeader.executionMode;
  for (int i = 0; i < 3; ++i) dialog.SetCheck(kNormal + i, run == i ? 1 : 0);
  dialog.SetCheck(kScreenNew, g_drawingHeader.displayListReload == 0 ? 1 : 0);
  dialog.SetCheck(kScreenOverwrite, g_drawingHeader.displayListReload == 1 ? 1 : 0);
}

}  // namespace dorn
