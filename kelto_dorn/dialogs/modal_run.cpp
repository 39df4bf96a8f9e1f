// Modal runs with ModalDepth raised: see modal_run.h.
#include "kelto_dorn/dialogs/modal_run.h"

#include "kelto_dorn/document/system_state.h"

namespace dorn {

int RunModalDialog(platform::Dialog& dialog) {
  ++ModalDepth;
  const int code = dialog.DoModal();
  if (ModalDepth > 0) --ModalDepth;
  return code;
}

}  // namespace dorn
