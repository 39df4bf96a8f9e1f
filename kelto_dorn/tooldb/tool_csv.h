#pragma once
// The tool database as one CSV file, "ExPort\DBS_Export.csv" in the program
// folder: a header line of Japanese column names, then one line per tool
// record: base, tool folder, SEC name and the 17 values, "," between fields,
// no quoting, lines ending with a line feed (reading takes CR LF too).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/tooldb/field_texts.h"
#include "kelto_dorn/tooldb/tool_folders.h"

namespace dorn {

class DocToolTable;

std::filesystem::path ToolCsvPath();

// Writes every tool folder of every base, each base with its own folders, and
// shows "<path>\n出力しました"; a file that cannot be written shows message 50
// with its path and the result is false. Loads folders through `table`.
bool ExportToolDatabase(DocToolTable& table);

// Stores one CSV field (2..19) into a record; an empty field stores nothing.
void ParseToolCsvField(ToolRecord& record, int field, std::string_view text);

// Reads the CSV back into the tool folders. Before anything is touched: a
// missing or unreadable file shows message 50 with its path, the open tool
// folder is saved, and the whole "_DBS" folder is copied into "退避"; when
// that fails nothing is imported. Lines of one base and tool folder make that
// folder's file; a group of more than 765 lines keeps 765 (message 102). A
// line whose base or tool name this system cannot use as a folder is left out
// and named in one closing box. The last group becomes the current tool
// folder and is saved through SaveToolFile. Returns false when nothing was
// imported.
bool ImportToolDatabase(DocToolTable& table, ToolFolderState& state);

// Helpers of both databases' CSV exchange.
// Writes an export file, its folder made first; the path goes into the text
// buffer, and a file that cannot be written shows message 50 and gives false.
bool WriteExportCsv(const std::filesystem::path& path, const std::string& text);
// Reads an import file whole; a missing or unreadable file shows message 50
// with its path and gives false.
bool ReadImportCsv(const std::filesystem::path& path, std::string& text);
// Copies a database folder ("_DBS", "_ATC") whole into "退避" before an import
// changes it; a failed copy is shown and gives false.
bool BackUpBeforeImport(const char* databaseFolder);

// The lines of a CSV text without their line ends (LF or CR LF).
std::vector<std::string_view> CsvLines(std::string_view text);

// Shows one box naming the lines that were left out, with why (CP932).
void ReportSkippedLines(std::string_view file, const std::vector<std::string>& reasons);

}  // namespace dorn
