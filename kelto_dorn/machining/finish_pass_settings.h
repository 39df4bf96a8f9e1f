#pragma once
// FinishPassSettings: the 80-byte finishing-pass ("追込み") record, the whole
// of "$UrvoOikomi.@@@" in the program folder. Written by the finishing-pass
// initial settings dialog; read at start-up into the application's copy and
// by the CAM data builder, which adds the passes of the selected program
// groups O1000..O4000 to the element stream.
//
// | off | type      | field     | meaning                                      |
// |-----|-----------|-----------|----------------------------------------------|
// |   0 | int32     | flags     | 0x2, 0x4, 0x8, 0x10: XY contour passes of    |
// |     |           |           | O1000..O4000; 0x20, 0x40, 0x80, 0x100: bottom|
// |     |           |           | Z passes of O1000..O4000                      |
// |   4 | 4 bytes   | reserved4 | 0                                            |
// |   8 | double[4] | contour   | XY contour values of O1000..O4000, mm        |
// |  40 | double[4] | bottom    | bottom Z values of O1000..O4000, mm          |
// |  72 | double    | extZ      | EXT_Z, mm                                    |
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct FinishPassSettings {
  std::int32_t flags = 0;
  std::uint8_t reserved4[4] = {};
  double contour[4] = {};
  double bottom[4] = {};
  double extZ = 0.0;

  // The flag of contour pass i (0..3) and of bottom pass i.
  static constexpr std::int32_t ContourBit(int i) { return 0x2 << i; }
  static constexpr std::int32_t BottomBit(int i) { return 0x20 << i; }
};
static_assert(std::is_standard_layout_v<FinishPassSettings> && std::is_trivially_copyable_v<FinishPassSettings>);
static_assert(sizeof(FinishPassSettings) == 80);
static_assert(offsetof(FinishPassSettings, contour) == 8);
static_assert(offsetof(FinishPassSettings, bottom) == 40);
static_assert(offsetof(FinishPassSettings, extZ) == 72);

}  // namespace dorn
