#pragma once
// Runs a dialog of the system modally with ModalDepth raised around it, so a
// repaint meanwhile leaves the window title alone.
#include "platform/dialog.h"

namespace dorn {

int RunModalDialog(platform::Dialog& dialog);

}  // namespace dorn
