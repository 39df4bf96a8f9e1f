#pragma once
// The colours of the two-way choice buttons of the NC dialogs (CColorButton,
// kelto_dorn/app/color_button.h): the button of the stored choice in a
// highlight colour, the other in the dialog grey.
#include <string_view>

#include "kelto_dorn/app/color_button.h"
#include "platform/color.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr platform::Color kChoiceGrey = platform::Rgb(230, 230, 230);
inline constexpr platform::Color kPostChoiceHighlight = platform::Rgb(100, 255, 255);
inline constexpr platform::Color kModeHighlight = platform::Rgb(255, 255, 0);
inline constexpr platform::Color kSubprogramHighlight = platform::Rgb(255, 0, 255);

// Paints an owner-drawn choice button with its face colour.
void PaintChoiceButton(platform::DeviceContext& dc, const platform::OwnerDrawItem& item, std::string_view captionCp932,
                       platform::Color face);

}  // namespace dorn
