// The window rectangle file: see window_rect_file.h.
#include "kelto_dorn/window/window_rect_file.h"

#include <algorithm>

#include "kelto_dorn/document/system_state.h"

namespace dorn {

namespace {

constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 1024;
constexpr int kMaximizedHeight = 900;
// A stored window larger than this in either direction is damage, not a screen.
constexpr int kLargestWindow = 32768;

constexpr std::int32_t kAlignLeft = 0x1000;
constexpr std::int32_t kAlignTop = 0x2000;
constexpr std::int32_t kAlignRight = 0x4000;
constexpr std::int32_t kAlignBottom = 0x8000;
constexpr std::int32_t kAlignMask = 0xF000;
// Any other bit of a bar style is none the bars know: the file is damaged.
constexpr std::int32_t kKnownStyleBits = 0xF0FF;

WindowPlacement Maximized(int left, int top, const WindowRectRecord& styles) {
  WindowPlacement p;
  p.rect = {left, top, kDefaultWidth, kMaximizedHeight};
  p.maximize = true;
  p.styles = styles;
  return p;
}

bool StylesUsable(const WindowRectRecord& r) {
  for (std::int32_t s : {r.standardBar, r.barMenus, r.selectorBar})
    if ((s & ~kKnownStyleBits) != 0) return false;
  return true;
}

}  // namespace

WindowPlacement ReadWindowPlacement(const platform::Rect& desktop) {
  const std::filesystem::path file = g_programFolder / kWindowRectFileName;
  WindowRectRecord r;
  const platform::FileResult read = platform::ReadRecord(file, r);
  if (read.missing()) {
    WindowPlacement p;
    p.rect = {0, 0, kDefaultWidth, kDefaultHeight};
    return p;
  }
  if (!read.ok() || !StylesUsable(r)) return Maximized(0, 0, WindowRectRecord{});
  if (r.right == 0 || r.bottom == 0) {
    // The stored request to open maximised: the window then spans from the
    // stored corner to 1280 x 900.
    const int left = std::clamp(r.left, 0, kDefaultWidth - 1);
    const int top = std::clamp(r.top, 0, kMaximizedHeight - 1);
    WindowPlacement p = Maximized(left, top, r);
    p.rect = {left, top, kDefaultWidth, kMaximizedHeight};
    return p;
  }
  const platform::Rect rect{r.left, r.top, r.right, r.bottom};
  const bool sane = rect.right > rect.left && rect.bottom > rect.top && rect.Width() < kLargestWindow &&
                    rect.Height() < kLargestWindow;
  const bool onDesktop =
      rect.right > desktop.left && rect.left < desktop.right && rect.bottom > desktop.top && rect.top < desktop.bottom;
  if (!sane || !onDesktop) return Maximized(0, 0, r);
  WindowPlacement p;
  p.rect = rect;
  p.styles = r;
  return p;
}

platform::FileResult WriteWindowRectFile(const WindowRectRecord& record) {
  return platform::WriteRecord(g_programFolder / kWindowRectFileName, record);
}

std::int32_t StyleWithDockSide(std::int32_t style, platform::DockSide side) {
  std::int32_t align = kAlignTop;
  switch (side) {
    case platform::DockSide::Left:
      align = kAlignLeft;
      break;
    case platform::DockSide::Right:
      align = kAlignRight;
      break;
    case platform::DockSide::Bottom:
      align = kAlignBottom;
      break;
    case platform::DockSide::Top:
    case platform::DockSide::Floating:
      align = kAlignTop;
      break;
  }
  return (style & ~kAlignMask) | align;
}

platform::DockSide DockSideOfStyle(std::int32_t style) {
  if (style & kAlignLeft) return platform::DockSide::Left;
  if (style & kAlignRight) return platform::DockSide::Right;
  if (style & kAlignBottom) return platform::DockSide::Bottom;
  return platform::DockSide::Top;
}

}  // namespace dorn
