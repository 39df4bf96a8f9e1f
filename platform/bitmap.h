#pragma once
// A bitmap held by value: width x height colours (0x00BBGGRR), rows from the
// top. Tool-bar and button images, swatches, clipboard copies and the pixels
// read back from a raster device context all travel as this type.
#include <cstddef>
#include <vector>

#include "platform/color.h"
#include "platform/geometry.h"

namespace platform {

class Bitmap {
 public:
  Bitmap() = default;
  // A bitmap of the given size filled with one colour; negative sizes give an
  // empty bitmap.
  Bitmap(int width, int height, Color fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }

  // Pixel access; reads outside the bitmap give 0 and writes there are ignored.
  Color Pixel(int x, int y) const;
  void SetPixel(int x, int y, Color c);
  void Fill(const Rect& area, Color c);

  // The same bitmap with every pixel of colour `from` replaced by `to` (the
  // mapped bitmap of the palette swatches).
  Bitmap WithColorReplaced(Color from, Color to) const;

  // The part of this bitmap inside `area` (clipped to the bitmap).
  Bitmap Copy(const Rect& area) const;

  const std::vector<Color>& Pixels() const { return pixels_; }
  std::vector<Color>& Pixels() { return pixels_; }

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace platform
