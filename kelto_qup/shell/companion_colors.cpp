#include "kelto_qup/shell/companion_colors.h"

#include "platform/application.h"

namespace qup::shell {

const std::uint32_t kBuiltInPalette[handover::ColorTable::kColorCount] = {
    0x080808, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF5050, 0xFF00FF, 0xFFFF00, 0xFAFAFA, 0x0090FF, 0x6464FF, 0x8CFF50,
    0xA0FFFF, 0xFF80A0, 0xCE26C1, 0xEFB01F, 0xFED0FF, 0x91B4F4, 0x4D4DB4, 0x32AA83, 0x50A0A0, 0xC8A696, 0xB40093,
    0xAE9C37, 0x9B9BAC, 0x2B88BB, 0x413371, 0x345634, 0x245C6F, 0x5E3020, 0x573267, 0x624D2F, 0x5C5C5C,
};

PenTable MakePenTable(const handover::ColorTable& colors) {
  PenTable pens;
  for (int i = 0; i < handover::ColorTable::kColorCount; ++i)
    pens[i] = {colors.palette[i], 1, platform::PenStyle::Solid};
  return pens;
}

void SetDialogColors(int theme) {
  constexpr platform::Color kThemes[] = {0x406565, 0x854544, 0x404065, 0x406575, 0x656540,
                                         0x654065, 0x408065, 0x654080, 0x806540};
  constexpr platform::Color kWhite = 0xFFFFFF;
  if (theme >= 1 && theme <= 9) {
    platform::SetDialogBkColor(kThemes[theme - 1], kWhite);
  } else {
    const auto colour = static_cast<platform::Color>(theme);
    platform::SetDialogBkColor(colour, colour);
  }
}

}  // namespace qup::shell
