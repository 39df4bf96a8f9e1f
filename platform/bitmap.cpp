#include "platform/bitmap.h"

#include <algorithm>

namespace platform {

Bitmap::Bitmap(int width, int height, Color fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill & kColorMask);
}

Color Bitmap::Pixel(int x, int y) const {
  if (!Inside(x, y)) return 0;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Bitmap::SetPixel(int x, int y, Color c) {
  if (!Inside(x, y)) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = c & kColorMask;
}

void Bitmap::Fill(const Rect& area, Color c) {
  const Rect r = area.Normalized();
  const int x0 = std::max(r.left, 0), x1 = std::min(r.right, width_);
  const int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, height_);
  for (int y = y0; y < y1; ++y)
    std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + x0, std::max(0, x1 - x0), c & kColorMask);
}

Bitmap Bitmap::WithColorReplaced(Color from, Color to) const {
  Bitmap out = *this;
  from &= kColorMask;
  for (Color& p : out.pixels_)
    if (p == from) p = to & kColorMask;
  return out;
}

Bitmap Bitmap::Copy(const Rect& area) const {
  const Rect r = area.Normalized();
  const int x0 = std::max(r.left, 0), x1 = std::min(r.right, width_);
  const int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, height_);
  Bitmap out(x1 - x0, y1 - y0);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) out.SetPixel(x - x0, y - y0, Pixel(x, y));
  return out;
}

}  // namespace platform
