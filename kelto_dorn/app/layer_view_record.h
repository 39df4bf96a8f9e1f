#pragma once
// LayerViewRecord: the 64-byte view state of one layer (32 records), stored
// with the drawing.
//
// | off | type     | field     | meaning                                        |
// |-----|----------|-----------|------------------------------------------------|
// |   0 | int32    | marker    | 2842                                           |
// |   4 | int32[6] | values    | carried for the view; 0 after reset            |
// |  28 | int32    | spare     | padding before the doubles                     |
// |  32 | double   | gridPitch | mm; 9999 when no grid pitch was ever set       |
// |  40 | double   | centreX   | view units                                     |
// |  48 | double   | centreY   | view units                                     |
// |  56 | double   | scale     | percent                                        |
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct LayerViewRecord {
  std::int32_t marker = 0;
  std::int32_t values[6] = {};
  std::int32_t spare = 0;
  double gridPitch = 0.0;
  double centreX = 0.0;
  double centreY = 0.0;
  double scale = 0.0;
};

static_assert(std::is_standard_layout_v<LayerViewRecord>);
static_assert(sizeof(LayerViewRecord) == 64);
static_assert(offsetof(LayerViewRecord, values) == 4);
static_assert(offsetof(LayerViewRecord, gridPitch) == 32);
static_assert(offsetof(LayerViewRecord, centreX) == 40);
static_assert(offsetof(LayerViewRecord, centreY) == 48);
static_assert(offsetof(LayerViewRecord, scale) == 56);

inline constexpr std::int32_t kLayerViewMarker = 2842;

}  // namespace dorn
