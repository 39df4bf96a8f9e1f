#pragma once
// Text as stroke figures: each printable ASCII character has its own DXF file
// in "FONTS" under the data root; the text is read character by character
// into the work table and its strokes are copied, shifted to the text's base
// point, into the drawing.
#include <string>

#include "platform/device_context.h"

namespace dorn {

// The file name of a character's strokes, or empty for a byte that has none.
std::string FontCharacterFile(unsigned char c);

// True for the first byte of a double-byte (Shift-JIS) character.
bool IsDoubleByteLead(unsigned char c);

// Converts g_curTextRecord (its text and base point; size and angle are the
// font's own) into figures of the selected table and current layer. Returns
// the number of figures stored. A missing "FONTS" folder is named once in a
// box; a missing character file is silent.
int TextToStrokes(platform::DeviceContext& dc);

}  // namespace dorn
