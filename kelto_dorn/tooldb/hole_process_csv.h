#pragma once
// The hole processes exchanged as one CSV file, "ExPort\ANA_Export.csv" of
// the program folder: a header line of Japanese column names, then one line
// per row of each process, 22 fields separated by "," without quoting.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/hole_process_record.h"

namespace dorn {

inline constexpr int kHoleCsvFieldCount = 22;

std::filesystem::path HoleProcessCsvPath();

// Writes every process under <data root>\_ANA whose file can be read,
// rebound to the current machine first. False when the file could not be
// written (message 50 names it).
bool ExportHoleProcesses(DocAtcTable& atc);

// One field of an import line into row `row` of the record: an empty field
// changes nothing; texts are cut on a character boundary to fit; numbers are
// the absolute value, above 99999.999 taken as 0.
void ParseHoleCsvField(HoleProcessRecord& record, int row, int field, std::string_view textCp932);

// What an import did.
struct HoleImportReport {
  bool done = false;                   // the file was read (after the backup)
  std::vector<std::string> processes;  // CP932 names written
  std::vector<std::string> problems;   // UTF-8, one line each, also shown
};

// Reads the CSV into process files, after copying "_ANA" of the data root
// into "退避\_ANA" of the program folder; a failed copy or a missing file
// changes nothing. A process keeps its first eight rows; a process whose
// name is not a safe folder name is refused. Asks first; the working record
// is left empty afterwards.
HoleImportReport ImportHoleProcesses(DocAtcTable& atc);

}  // namespace dorn
