#pragma once
// Colours as the system stores them: 0x00BBGGRR (red in the low byte, blue in
// the high byte), the layout of the palette and colour files.
#include <cstdint>

namespace platform {

using Color = std::uint32_t;

constexpr Color Rgb(int red, int green, int blue) {
  return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// Pixels of a bitmap keep only the 24 colour bits.
constexpr Color kColorMask = 0x00FFFFFF;

}  // namespace platform
