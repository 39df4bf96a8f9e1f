#pragma once
// "$RECT_BLD.@@@" in the program folder: the main window's rectangle and the
// styles of its three kinds of tool bar, read before the frame is made and
// written by the three exit commands.
//
// | off | type  | field        | meaning                                      |
// |-----|-------|--------------|----------------------------------------------|
// |   0 | int32 | left         | screen pixels                                |
// |   4 | int32 | top          |                                              |
// |   8 | int32 | right        | 0 (with bottom 0): open maximised            |
// |  12 | int32 | bottom       |                                              |
// |  16 | int32 | standardBar  | bar style, 0 = default 0x4074                |
// |  20 | int32 | barMenus     | bar style, 0 = default 0x1074                |
// |  24 | int32 | selectorBar  | bar style, 0 = default 0x2074                |
//
// A bar style's CBRS_ALIGN bits (0x1000 left, 0x2000 top, 0x4000 right,
// 0x8000 bottom) are the side the bar is docked on.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/frame.h"
#include "platform/geometry.h"
#include "platform/record_file.h"

namespace dorn {

struct WindowRectRecord {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t standardBar = 0;
  std::int32_t barMenus = 0;
  std::int32_t selectorBar = 0;
};
static_assert(std::is_standard_layout_v<WindowRectRecord>);
static_assert(sizeof(WindowRectRecord) == 28);
static_assert(offsetof(WindowRectRecord, standardBar) == 16);
static_assert(offsetof(WindowRectRecord, selectorBar) == 24);

inline constexpr char kWindowRectFileName[] = "$RECT_BLD.@@@";

inline constexpr std::int32_t kDefaultStandardBarStyle = 0x4074;
inline constexpr std::int32_t kDefaultBarMenuStyle = 0x1074;
inline constexpr std::int32_t kDefaultSelectorBarStyle = 0x2074;

// How the frame opens.
struct WindowPlacement {
  platform::Rect rect;  // screen pixels
  bool maximize = false;
  WindowRectRecord styles;  // the three styles as read (0 = default)
};

// Reads the file and decides the placement: without the file 0, 0, 1280,
// 1024; a stored rectangle with right or bottom 0, or a file that is short,
// damaged (an upside-down or absurd rectangle) or lies off the desktop,
// 1280 x 900 maximised.
WindowPlacement ReadWindowPlacement(const platform::Rect& desktop);

platform::FileResult WriteWindowRectFile(const WindowRectRecord& record);

// A bar style with its dock side in the align bits, and back.
std::int32_t StyleWithDockSide(std::int32_t style, platform::DockSide side);
platform::DockSide DockSideOfStyle(std::int32_t style);

}  // namespace dorn
