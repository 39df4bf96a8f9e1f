// The owner-drawn colour button: see color_button.h.
#include "kelto_dorn/dialogs/color_button.h"

namespace dorn {

namespace {
constexpr int kFocusInset = 4;  // the focus frame sits this far inside the edge
constexpr unsigned kCaptionFormat =
    platform::draw_text::kCenter | platform::draw_text::kVCenter | platform::draw_text::kSingleLine;
}  // namespace

void CColorButton::DrawItem(platform::DeviceContext& dc, const platform::OwnerDrawItem& item,
                            std::string_view caption) const {
  platform::Rect r = item.rect;
  const platform::Rect inner{r.left + kFocusInset, r.top + kFocusInset, r.right - kFocusInset, r.bottom - kFocusInset};
  dc.FillRect(r, {faceColor_, platform::BrushStyle::Solid});
  const platform::Color oldText = dc.SetTextColor(textColor_);
  const platform::BackgroundMode oldMode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
  dc.DrawText(caption, r, kCaptionFormat);
  dc.DrawEdge(item.rect, platform::EdgeKind::Raised, platform::edge_side::kRect);
  if (item.focused) {
    if (item.selected) dc.DrawEdge(item.rect, platform::EdgeKind::Sunken, platform::edge_side::kRect);
    dc.DrawFocusRect(inner);
  } else if (item.disabled) {
    dc.SetTextColor(disabledTextColor_);
    r = item.rect;
    dc.DrawText(caption, r, kCaptionFormat);
  }
  dc.SetBackgroundMode(oldMode);
  dc.SetTextColor(oldText);
}

}  // namespace dorn
