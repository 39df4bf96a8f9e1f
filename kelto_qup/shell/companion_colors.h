#pragma once
// The companion's colours: its built-in palette, the 32 pens made from the
// colour table, and the dialog colour themes.
#include <array>
#include <cstdint>

#include "platform/device_context.h"
#include "shared/handover/color_table.h"

namespace qup::shell {

// The palette of a missing "$COLOR.@@@" (COLORREF 0x00BBGGRR).
extern const std::uint32_t kBuiltInPalette[handover::ColorTable::kColorCount];

// The 32 pens, one per palette colour: solid, one pixel wide.
using PenTable = std::array<platform::Pen, handover::ColorTable::kColorCount>;
PenTable MakePenTable(const handover::ColorTable& colors);

// The dialog background of theme 1 to 9 with white text; any other value is
// used as both background and text colour.
void SetDialogColors(int theme);

}  // namespace qup::shell
