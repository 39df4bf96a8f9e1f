#pragma once
// The owner-drawn choice buttons of the NC dialogs: a pair per two-way
// option, the button of the stored choice drawn in a highlight colour and
// the other in the dialog grey, with a sunken edge while it is pressed.
#include <string_view>

#include "platform/color.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr platform::Color kChoiceGrey = platform::Rgb(230, 230, 230);
inline constexpr platform::Color kPostChoiceHighlight = platform::Rgb(100, 255, 255);
inline constexpr platform::Color kModeHighlight = platform::Rgb(255, 255, 0);
inline constexpr platform::Color kSubprogramHighlight = platform::Rgb(255, 0, 255);

void PaintChoiceButton(platform::DeviceContext& dc, const platform::OwnerDrawItem& item, std::string_view captionCp932,
                       platform::Color fill);

}  // namespace dorn
