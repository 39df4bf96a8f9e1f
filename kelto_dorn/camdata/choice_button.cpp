#include "kelto_dorn/camdata/choice_button.h"

namespace dorn {

void PaintChoiceButton(platform::DeviceContext& dc, const platform::OwnerDrawItem& item, std::string_view captionCp932,
                       platform::Color fill) {
  platform::Rect r = item.rect;
  dc.FillRect(r, platform::Brush{fill});
  dc.DrawEdge(r, item.selected ? platform::EdgeKind::Sunken : platform::EdgeKind::Raised, platform::edge_side::kRect);
  dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
  dc.SetTextColor(item.disabled ? platform::Rgb(128, 128, 128) : platform::Rgb(0, 0, 0));
  dc.DrawText(captionCp932, r,
              platform::draw_text::kCenter | platform::draw_text::kVCenter | platform::draw_text::kSingleLine);
}

}  // namespace dorn
