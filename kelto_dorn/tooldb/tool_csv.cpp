// The tool database CSV: see tool_csv.h.
#include "kelto_dorn/tooldb/tool_csv.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_csv_columns.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/csv.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

constexpr int kMessageOpenError = 50;
constexpr int kMessageTooMany = 102;
// Lines named in the closing box of an import, at most.
constexpr std::size_t kReportedLines = 20;

const char* const kHeaderUtf8 =
    "基本ベース名,工具名,SEC名,工具φ,Ｒ径,Ｆ径,先端角,先端長,回転Ｓ,送りＦ,固定Ｇ,切込Ｑ,P_CODE,M_CODE,刃長,G84_2回,"
    "outＴ番号,H_CODE,D_CODE,油仕様\n";

void AppendLine(std::string& out, std::string_view base, std::string_view tool, ToolRecord& r) {
  const ToolFieldTexts t = FormatToolRecordCsv(r);
  const std::string* fields[] = {&t.secName,     &t.diameter, &t.cornerRadius, &t.flatRadius, &t.tipAngle,
                                 &t.tipLength,   &t.spindleSpeed, &t.feed,     &t.fixedCycle, &t.qValue,
                                 &t.pValue,      &t.mCode,    &t.fluteLength,  &t.g84Twice,   &t.tNumber,
                                 &t.hCode,       &t.dCode,    &t.coolant};
  out.append(base).append(",").append(tool);
  for (const std::string* f : fields) out.append(",").append(*f);
  out.append("\n");
}

// The names of a line as the selection would take them; empty when this
// system cannot make a folder of them.
bool TakeNames(const std::vector<std::string>& fields, std::string& base, std::string& tool) {
  const DbSelectionRecord saved = g_dbSelection;
  SetBaseName(fields.size() > 0 ? fields[0] : std::string());
  SetToolName(fields.size() > 1 ? fields[1] : std::string());
  base = platform::FieldText(g_dbSelection.baseName);
  tool = platform::FieldText(g_dbSelection.toolName);
  g_dbSelection = saved;
  return IsSafeFolderName(base) && IsSafeFolderName(tool);
}

void WriteGroup(const DocToolTable& table, int count, const std::string& base, const std::string& tool) {
  if (WriteToolFile(table, count, base, tool).ok()) return;
  const auto path = ToolFilePath(base, tool);
  if (path) PutPathInTextBuffer(*path);
  ShowMessage(1);
}

}  // namespace

fs::path ToolCsvPath() { return platform::ResolvePath(platform::ProgramFolder(), "ExPort\\DBS_Export.csv"); }

bool ExportToolDatabase(DocToolTable& table) {
  std::string out = platform::Sjis(kHeaderUtf8);
  for (const std::string& base : ListBases()) {
    for (const std::string& tool : ListToolFolders(base)) {
      const int count = LoadToolRecordsFrom(table, base, tool, nullptr, false);
      for (int i = 0; i < count; ++i) AppendLine(out, base, tool, table.Record(i));
    }
  }
  const fs::path path = ToolCsvPath();
  if (!WriteExportCsv(path, out)) return false;
  platform::ShowMessageBox(platform::SystemName(path) + "\n" + platform::Sjis("出力しました"), "", 0x40);
  return true;
}

void ParseToolCsvField(ToolRecord& r, int field, std::string_view text) {
  // Field 2, the SEC name, is the first of the columns the ATC CSV shares.
  ParseToolCsvColumn(CsvColumnsOf(r), field - 2, text);
}

bool WriteExportCsv(const fs::path& path, const std::string& text) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  PutPathInTextBuffer(path);
  if (!platform::WriteFileAtomic(path, text.data(), text.size()).ok()) {
    ShowMessage(kMessageOpenError);
    return false;
  }
  return true;
}

bool ReadImportCsv(const fs::path& path, std::string& text) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes).ok()) {
    PutPathInTextBuffer(path);
    ShowMessage(kMessageOpenError);
    return false;
  }
  text.assign(bytes.begin(), bytes.end());
  return true;
}

bool BackUpBeforeImport(const char* databaseFolder) {
  const platform::FileResult backup = BackupDatabaseFolder(databaseFolder);
  if (backup.ok()) return true;
  platform::ShowMessageBox(platform::Utf8ToCp932(backup.message), "", 0x10);
  return false;
}

std::vector<std::string_view> CsvLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

void ReportSkippedLines(std::string_view file, const std::vector<std::string>& reasons) {
  if (reasons.empty()) return;
  std::string text(file);
  text += "\n" + platform::Sjis("取り込まなかった行があります:");
  for (std::size_t i = 0; i < reasons.size() && i < kReportedLines; ++i) text += "\n" + reasons[i];
  if (reasons.size() > kReportedLines) text += "\n...";
  platform::ShowMessageBox(text, "", 0x30);
}

bool ImportToolDatabase(DocToolTable& table, ToolFolderState& state) {
  const fs::path path = ToolCsvPath();
  std::string text;
  if (!ReadImportCsv(path, text)) return false;
  if (SaveToolFile(table, state) == SaveOutcome::Failed) return false;
  if (!BackUpBeforeImport("_DBS")) return false;

  const std::vector<std::string_view> lines = CsvLines(text);
  std::vector<std::string> skipped;
  std::string base, tool;
  bool haveGroup = false, groupFull = false;
  int count = 0;
  ClearToolTable(table);
  std::vector<std::string> fields;
  for (std::size_t n = 1; n < lines.size(); ++n) {
    if (lines[n].empty()) continue;
    fields.clear();
    platform::SplitCsvLine(lines[n], ",", fields);
    std::string lineBase, lineTool;
    if (!TakeNames(fields, lineBase, lineTool)) {
      skipped.push_back(std::to_string(n + 1) + platform::Sjis(" 行目: 名前が使えません"));
      continue;
    }
    if (!haveGroup || lineBase != base || lineTool != tool) {
      if (haveGroup) WriteGroup(table, count, base, tool);
      ClearToolTable(table);
      count = 0;
      groupFull = false;
      base = lineBase;
      tool = lineTool;
      haveGroup = true;
      MakeToolFolder(base, tool);
    }
    if (groupFull) continue;
    if (count >= DocToolTable::kMaxLoadedRecords) {
      ShowMessage(kMessageTooMany);
      groupFull = true;
      continue;
    }
    ToolRecord& r = table.Record(count);
    for (std::size_t k = 2; k < fields.size() && k < 20; ++k) ParseToolCsvField(r, static_cast<int>(k), fields[k]);
    ++count;
  }
  if (haveGroup) {
    SetBaseName(base);
    SetToolName(tool);
  }
  state.count = count;
  state.modified = true;
  SaveToolFile(table, state);
  ReportSkippedLines(platform::SystemName(path), skipped);
  return true;
}

}  // namespace dorn
