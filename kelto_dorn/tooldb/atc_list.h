#pragma once
// The ATC tool list that the tool choice and the hole-process editor show:
// the rows of the current machine's table whose tool name is the chosen one,
// one formatted line each. A listed slot carries its tag (10 + its line
// position) in its in-use word, so a chosen line finds its slot again; the
// tags hold until the next fill or load.
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/tooldb/atc_table.h"

namespace dorn {

// The tool name whose rows are listed (CP932, at most 61 bytes).
extern std::string g_toolNameFilter;
// The "[φ]=" value: rows are listed within ±1 of it while it is above 0;
// -1 while it is being typed.
extern double g_toolDiameterFilter;
// Rows of the ATC table loaded for the lists.
extern int g_atcListCount;

// Tag of the first listed line.
inline constexpr int kFirstListTag = 10;

// List modes: below 1 hole tools (canned cycle 1 or more) with the hole
// line; 9 every row of the name; any other mode rows with tip length 0 or
// tip angle exactly 90.
inline constexpr int kListHoleTools = 0;
inline constexpr int kListAllRows = 9;
inline constexpr int kListCutters = 1;

// True when a row passes the mode's test (the name filter aside).
bool AtcRowAdmitted(const AtcRecord& row, int mode);

// Fills the list: every slot below g_atcListCount is marked in use (1), then
// each admitted slot of the filtered name and diameter is tagged and gives
// one line, in slot order.
std::vector<std::string> FillAtcListBox(DocAtcTable& table, int mode);

// The slot whose tag is line `position` + 10, or -1 when none carries it.
int SlotOfListLine(const DocAtcTable& table, int position);

// The tool name of a typed or chosen text: leading blanks skipped, up to a
// blank, a "." or the end, never past position 61 nor through a double-byte
// character. It becomes g_toolNameFilter (and g_listTextBuffer's text).
// Returns 0, or 4 when the text is blank (the filter is then empty).
int ToolNameFromText(std::string_view textCp932);

// Back to the start-up state.
void ResetAtcListState();

}  // namespace dorn
