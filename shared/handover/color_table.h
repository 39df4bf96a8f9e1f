#pragma once
// ColorTable: the 152-byte colour record "$COLOR.@@@" in the program folder.
//
// Written by Kelto_Dorn (the settings write before each start of the
// companion and at exit) from its palette and the view settings dialog; read
// by Kelto_Dorn at start-up and by Kelto_qup at start-up for its 32 pens, the
// pane frames and the background. Colour indexes are palette indexes 0-31.
//
// | off | type      | field           | meaning                                  |
// |-----|-----------|-----------------|------------------------------------------|
// |   0 | int32     | axisColor       | axis colour; the companion draws its     |
// |     |           |                 | pane frames in it (first run 23)         |
// |   4 | int32     | figureColor     | colour of new figures (2); stored        |
// |     |           |                 | without the line-type bits               |
// |   8 | int32     | figureColor2    | second figure colour (12)                |
// |  12 | int32     | curveColor      | colour of new curves and segment blocks  |
// |     |           |                 | (6)                                      |
// |  16 | int32     | curveColor2     | second curve colour (11)                 |
// |  20 | int32     | backgroundIndex | background colour (0)                    |
// |     |           |                 | (the background lives here, not in the   |
// |     |           |                 | first integer: the settings dialog that  |
// |     |           |                 | writes it puts the axis colour first)    |
// |  24 | uint32[32]| palette         | COLORREF 0x00BBGGRR, the drawing palette |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/record_file.h"

namespace handover {

struct ColorTable {
  std::int32_t axisColor = 23;
  std::int32_t figureColor = 2;
  std::int32_t figureColor2 = 12;
  std::int32_t curveColor = 6;
  std::int32_t curveColor2 = 11;
  std::int32_t backgroundIndex = 0;
  std::uint32_t palette[32] = {};

  static constexpr int kColorCount = 32;
  // Only the colour index of the figure colour word is stored; the line-type
  // bits above it stay in memory.
  static constexpr std::int32_t kStoredFigureColorMask = 0xFF;
};

static_assert(sizeof(ColorTable) == 152);
static_assert(offsetof(ColorTable, axisColor) == 0);
static_assert(offsetof(ColorTable, figureColor) == 4);
static_assert(offsetof(ColorTable, figureColor2) == 8);
static_assert(offsetof(ColorTable, curveColor) == 12);
static_assert(offsetof(ColorTable, curveColor2) == 16);
static_assert(offsetof(ColorTable, backgroundIndex) == 20);
static_assert(offsetof(ColorTable, palette) == 24);
static_assert(platform::FileRecord<ColorTable>);

inline constexpr char kColorFileName[] = "$COLOR.@@@";

// The six indexes of a missing file (23, 2, 12, 6, 11, 0) with the given
// palette (each program has its own built-in colours).
ColorTable DefaultColorTable(const std::uint32_t (&palette)[32]);

// Empty when every colour index lies in 0..31, else what is wrong.
std::string CheckColorIndexes(const ColorTable& table);

// Reads the whole record. Missing: status Missing, `table` unchanged (the
// caller keeps its defaults). Wrong size or an index outside 0..31: damaged,
// `table` unchanged.
platform::FileResult ReadColorTable(const std::filesystem::path& path, ColorTable& table);

// Writes the record with the figure colour masked to its index. An index
// outside 0..31 is refused and nothing is written.
platform::FileResult WriteColorTable(const std::filesystem::path& path, const ColorTable& table);

}  // namespace handover
