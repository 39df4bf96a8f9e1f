#pragma once
// The drawing palette and its pens. Colours are palette indexes 0-31
// everywhere; a figure's colour is the low byte of its attribute word.
//
// One rule for pens: pen i is a solid pen of width 1 in palette colour i, for
// every i in 0-31, wherever pens are made or looked up. (Looking a pen up as
// PenTable[c - 1] would give colour c the pen of colour c - 1 and colour 0 a
// pen before the table.)
#include <cstdint>

#include "platform/color.h"
#include "platform/device_context.h"

namespace dorn {

inline constexpr int kPaletteSize = 32;

// The fixed colour of a palette index (0x00BBGGRR). An index outside 0-31 is
// returned unchanged.
platform::Color ColorFromIndex(int index);

// Fills PaletteColors with standard palette 0 (light == 0, the ColorFromIndex
// colours) or the light palette (light != 0), which differs in entries 4-21.
void SetDefaultPalette(int light);

// Rebuilds the 32 pens of PenTable from PaletteColors: pen i is solid, width
// 1, in palette colour i.
void RebuildPenTable();

// The pen of palette index c (0-31); an index outside the palette gives the
// pen of colour 0.
const platform::Pen& PenForColour(int c);

}  // namespace dorn
