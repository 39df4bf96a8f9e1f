#include "kelto_dorn/camdata/choice_button.h"

namespace dorn {

void PaintChoiceButton(platform::DeviceContext& dc, const platform::OwnerDrawItem& item, std::string_view captionCp932,
                       platform::Color face) {
  CColorButton button;
  button.SetColor(face);
  button.DrawItem(dc, item, captionCp932);
}

}  // namespace dorn
