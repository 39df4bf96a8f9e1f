#pragma once
// The current tool base, tool folder and machine, kept in "$DBS_NAME.@@@" of
// the data root. Read when the document is created, written whenever a dialog
// changes the choice.
#include "kelto_dorn/tooldb/tool_record.h"
#include "platform/record_file.h"

#include <string_view>

namespace dorn {

// The one selection record of the program.
extern DbSelectionRecord g_dbSelection;

// Reads the selection file. Returns 0 when it was read; 1 when it is missing or
// cannot be used, the selection then being empty (no base, tool folder or
// machine). A damaged file (wrong size, unreadable) is reported in *result and
// is not applied. Names read are terminated within their fields.
int ReadDbSelection(platform::FileResult* result = nullptr);

// Writes the selection file whole (the old file stays when writing fails).
platform::FileResult WriteDbSelection();

// Sets a name of the selection from typed text: leading blanks are skipped and
// characters are taken up to the first blank or '.', never from text position
// 47 on (55 for the machine), never splitting a double-byte character. Returns
// 0, or 2 (base), 4 (tool folder, machine) when the name comes out empty (it is
// then cleared).
int SetBaseName(std::string_view text);
int SetToolName(std::string_view text);
int SetMachineName(std::string_view text);

// Resets the selection to empty (start-up and tests).
void ResetDbSelection();

}  // namespace dorn
