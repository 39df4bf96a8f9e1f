#pragma once
// Row operations of the machine ATC editor on the document's ATC table,
// without the window: inserting and deleting rows, placing a tool record into
// a row and copying another machine's table into the current one.
#include <string_view>

#include "kelto_dorn/tooldb/atc_table.h"

namespace dorn {

class DocToolTable;

// Inserts an empty row in use at `slot` (0..1015): the rows from there move
// down one place and every row is renumbered. Refused (false, nothing moved)
// when the last row, slot 1015, holds a tool, which would be pushed out.
bool InsertAtcRow(DocAtcTable& table, int slot);

// Deletes the row at `slot`: the rows after it move up one place, slot 1015
// is emptied (it would otherwise be there twice) and every row is renumbered.
void DeleteAtcRow(DocAtcTable& table, int slot);

// Puts a tool record into the row at `slot`: the row is cleared, then takes
// the record's data with `toolFolder` as tool name, in use, ATC number slot + 1.
void PlaceToolInAtcRow(DocAtcTable& table, int slot, const ToolRecord& tool, std::string_view toolFolder);

// The highest row in use (slot 1015 down to 1), else 0: what the writer stores.
int LastAtcRowInUse(const DocAtcTable& table);

// "コピー変換": loads `sourceMachine`'s table, refreshes every row from the
// tool folders of the current base, and writes it as the current machine's
// table, which stays loaded. Refused (false, nothing written, message 50 with
// the path) when the current machine's own file could not be read, or when
// the source's cannot be.
bool CopyConvertAtcTable(DocAtcTable& table, DocToolTable& tools, std::string_view sourceMachine);

}  // namespace dorn
