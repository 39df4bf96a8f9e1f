#pragma once
// The named hole processes: the one working record the editor and the hole
// definitions share, its file in <data root>\_ANA\<process>, the rebinding of
// its rows (and of a definition's step tools) to the current machine's ATC
// table by tool name, SEC name and diameter, and the row operations.
#include <filesystem>
#include <optional>
#include <string_view>

#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "platform/record_file.h"

namespace dorn {

// The working hole process.
extern HoleProcessRecord g_holeProcess;

// <data root>\_ANA\<process>\$HOLE_DBS.@@@, nothing for an unsafe name.
std::optional<std::filesystem::path> HoleProcessFilePath(std::string_view processCp932);

// Empties the rows (copies of the blank tool record, ATC numbers 0), the row
// numbers and the process name; the machine name too unless kept.
void ClearHoleProcess(HoleProcessRecord& record, DocAtcTable& atc, bool keepMachine);

// Reads a process file whole; a missing, short or damaged file leaves the
// record as it was and says why.
platform::FileResult ReadHoleProcess(std::string_view processCp932, HoleProcessRecord& record);

// Writes the record whole into its process folder (made first).
platform::FileResult WriteHoleProcess(const HoleProcessRecord& record);

// Rebinds rows to the loaded ATC table: each row with a diameter (and, when
// `needsName`, a tool name) takes a whole copy of the first slot with the
// same tool name, SEC name and exact diameter. An unmatched row is kept and
// named by message 76. Returns the number of unmatched rows.
int MatchRowsToAtcTable(AtcRecord* rows, int count, bool needsName, const DocAtcTable& atc);

// The hole-process form: the machine name is the current machine's.
int MatchHoleProcessToAtcTable(HoleProcessRecord& record, const DocAtcTable& atc);

// Removes row `row` (0-based): the rows behind it move up, the freed last
// row is emptied, and the row numbers are recomputed.
void DeleteHoleProcessRow(HoleProcessRecord& record, int row, DocAtcTable& atc);

// n for a row n with a diameter, else 0 (and its ATC number 0).
void RenumberHoleProcessRows(HoleProcessRecord& record);

}  // namespace dorn
