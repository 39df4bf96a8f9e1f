#pragma once
// The value texts of dimensions: the group number of an extended value, the
// extended value dialog when a dimension is stored, and the editor that
// highlights a stored text near the cursor and edits its four parts.
#include <array>
#include <string>

#include "kelto_dorn/app/text_record.h"
#include "platform/device_context.h"

namespace dorn {

// One more than the largest group number of the stored texts.
int NextTextGroupNumber();

// The four parts of a value: main value, raised part, lower part, suffix.
using ValueParts = std::array<std::string, 4>;

// Places parts two to four behind the main record along its direction (the
// raised part lifted by TextSize x 0.625, the suffix behind the longer of
// the two at half pitch). Returns the records of the parts given (empty
// parts give none); all share main.group.
std::array<TextRecord, 3> PlaceValueParts(const TextRecord& main, const ValueParts& parts, int& count);

// Asks for the extended value of the text just stored at `index` (dialog
// with the value in its first edit). On OK the main text is replaced, the
// further parts are appended with a new group number, and the group moves
// back along the text by half (align 0), all (align 2) or none (align 1) of
// the width the parts add. False when cancelled or the list is full.
bool AskExtendedDimensionValue(int index, int align);

// The text of the current layer (from record 3 on) within 400 / zoom of the
// cursor, with its group, highlighted; the earlier highlight drawn plainly.
void HighlightTextNearCursor(platform::DeviceContext& dc, double x, double y);
// Edits the highlighted text's parts; false when nothing was highlighted or
// the dialog was cancelled.
bool EditDimensionText();

}  // namespace dorn
