// The drawing palette and its pens: see palette.h.
#include "kelto_dorn/app/palette.h"

#include <array>

#include "kelto_dorn/app/app_state.h"

namespace dorn {
namespace {

// The built-in colours, 0x00BBGGRR (blue in the high byte).
constexpr std::array<platform::Color, kPaletteSize> kFixedColours = {
    0x050505, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFAFAFA, 0x0090FF, 0x6464FF, 0x8CFF50,
    0xA0FFFF, 0xFF80A0, 0xCE26C1, 0xEFB01F, 0xFED0FF, 0x91B4F4, 0x4D4DB4, 0x32AA83, 0x50A0A0, 0xC8A696, 0xB40093,
    0xAE9C37, 0x9B9BAC, 0x2B88BB, 0x413371, 0x345634, 0x245C6F, 0x5E3020, 0x573267, 0x624D2F, 0x5C5C5C,
};

// Entries 4-21 of the light palette; the others are those of palette 0.
constexpr int kLightFirst = 4;
constexpr std::array<platform::Color, 18> kLightColours = {
    0xFF8080, 0xFF00FF, 0xFFFF00, 0xFAFAFA, 0x0090FF, 0xC4ABF1, 0xABF5A3, 0xACF4F2, 0xF9D599,
    0xEA95CC, 0xEFB01F, 0xFED0FF, 0x91B4F4, 0x8080FF, 0x28AA83, 0x28AEAE, 0xC8A696, 0xCCC499,
};

}  // namespace

platform::Color ColorFromIndex(int index) {
  if (index < 0 || index >= kPaletteSize) return static_cast<platform::Color>(index);
  return kFixedColours[static_cast<std::size_t>(index)];
}

void SetDefaultPalette(int light) {
  PaletteColors = kFixedColours;
  if (light == 0) return;
  for (std::size_t i = 0; i < kLightColours.size(); ++i) PaletteColors[kLightFirst + i] = kLightColours[i];
}

void RebuildPenTable() {
  for (std::size_t i = 0; i < PenTable.size(); ++i) {
    PenTable[i] = platform::Pen{PaletteColors[i], 1, platform::PenStyle::Solid};
  }
}

const platform::Pen& PenForColour(int c) {
  if (c < 0 || c >= kPaletteSize) c = 0;
  return PenTable[static_cast<std::size_t>(c)];
}

}  // namespace dorn
