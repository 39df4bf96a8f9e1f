#pragma once
// Every machine's ATC table as one CSV file, "ExPort\ATC_Export.csv" in the
// program folder: a header of Japanese column names, then one line per row:
// machine, ATC number and the row's 19 texts, "," between fields, no
// quoting, lines ending with a line feed (reading takes CR LF too).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/tooldb/atc_record.h"

namespace dorn {

class DocAtcTable;

std::filesystem::path AtcCsvPath();

// Stores CSV field `field` (0..20) of a line into `row`; field 0 is the
// machine name and goes to `machine`. An empty field changes nothing.
void ParseAtcCsvField(AtcRecord& row, int field, std::string_view text, std::string& machine);

// Writes the rows of every listed machine (0 .. the last row in use) and
// shows "<path>\n出力しました"; a file that cannot be written shows message 50
// with its path instead and the result is false. A machine whose table file
// cannot be read is left out and named. The current machine's table is
// loaded again afterwards.
bool ExportAtcTables(DocAtcTable& table, const std::vector<std::string>& machines);

// Reads the CSV back into the machines' tables. Before anything is touched:
// a missing or unreadable file shows message 50 with its path, the current
// machine's table is written, and "_ATC" is copied whole into "退避"; when that
// fails nothing is imported. Consecutive lines of one machine make its table
// (a machine split into two groups keeps the last); a machine keeps its first
// 1016 rows, the rest is named in the closing box, as are lines whose machine
// name cannot be a folder. The last machine of the file becomes current and
// its table stays loaded. Returns false when nothing was imported.
bool ImportAtcTables(DocAtcTable& table);

}  // namespace dorn
