#pragma once
// CColorButton: a push button that paints itself in one colour. A dialog
// declares the button as owner drawn and hands its paint (OnDrawItem) to the
// CColorButton that belongs to it.
#include <string_view>

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/dialog.h"

namespace dorn {

class CColorButton {
 public:
  CColorButton() = default;

  // Stores the face colour; the caller redraws the button.
  void SetColor(platform::Color face) { faceColor_ = face; }
  platform::Color GetColor() const { return faceColor_; }
  platform::Color GetTextColor() const { return textColor_; }
  platform::Color GetDisabledTextColor() const { return disabledTextColor_; }

  // Paints the button: the face, the caption centred on one line, a raised
  // edge; pressed with the focus a sunken edge and the focus frame; disabled
  // the caption again in grey.
  void DrawItem(platform::DeviceContext& dc, const platform::OwnerDrawItem& item, std::string_view captionCp932) const;

 private:
  platform::Color textColor_ = platform::Rgb(0, 0, 0);
  platform::Color faceColor_ = platform::Rgb(220, 220, 220);
  platform::Color disabledTextColor_ = platform::Rgb(128, 128, 128);
};

}  // namespace dorn
