#include "platform/headless/dialog_driver.h"

namespace platform::headless {

std::vector<Primitive> DialogDriver::Paint(int id, const OwnerDrawItem& state) {
  RecordingContext dc(Size{state.rect.Width(), state.rect.Height()});
  OwnerDrawItem item = state;
  item.controlId = id;
  dialog_.PaintItem(id, dc, item);
  return dc.Primitives();
}

}  // namespace platform::headless
