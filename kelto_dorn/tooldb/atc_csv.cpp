// The ATC tables' CSV: see atc_csv.h.
#include "kelto_dorn/tooldb/atc_csv.h"

#include <system_error>

#include "kelto_dorn/tooldb/atc_rows.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_csv.h"
#include "kelto_dorn/tooldb/tool_csv_columns.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "platform/csv.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

constexpr int kMessageOpenError = 50;

const char* const kHeaderUtf8 =
    "機械名,ATC番号,工具名,SEC名,工具φ,Ｒ径,Ｆ径,先端角,先端長,回転Ｓ,送りＦ,固定Ｇ,切込Ｑ,P_CODE,M_CODE,刃長,G84_2回,"
    "outＴ番号,H_CODE,D_CODE,油仕様\n";

void AppendRow(std::string& out, std::string_view machine, DocAtcTable& table, int slot) {
  const AtcFieldTexts t = FormatAtcRecordCsv(table, slot);
  const std::string* fields[] = {&t.toolName,  &t.secName,      &t.diameter,   &t.cornerRadius, &t.flatRadius,
                                 &t.tipAngle,  &t.tipLength,    &t.spindleSpeed, &t.feed,       &t.cannedCycle,
                                 &t.peckDepth, &t.pCode,        &t.mCode,      &t.fluteLength,  &t.tapTwice,
                                 &t.outputTNumber, &t.hCode,    &t.dCode,      &t.coolant};
  out.append(machine).append(",").append(std::to_string(table.Record(slot).atcNumber));
  for (const std::string* f : fields) out.append(",").append(*f);
  out.append("\n");
}

void ClearTable(DocAtcTable& table) {
  for (int i = 0; i < DocAtcTable::kSlotCount; ++i) ClearAtcRecord(table, i);
  table.SetReadFailed(false);
}

// Makes the machine's folder and writes the imported rows there.
void StoreMachine(const DocAtcTable& table, const std::string& machine) {
  const auto folder = MachineFolderPath(machine);
  std::error_code ec;
  if (folder) fs::create_directories(*folder, ec);
  const DbSelectionRecord saved = g_dbSelection;
  SetMachineName(machine);
  const bool written = WriteAtcTable(table, machine).ok();
  g_dbSelection = saved;
  if (!written) {
    const auto path = AtcFilePath(machine);
    if (path) PutPathInTextBuffer(*path);
    ShowMessage(kMessageOpenError);
  }
}

// The machine name of a line as the selection takes it; false when it cannot
// be a folder name.
bool TakeMachineName(std::string_view text, std::string& machine) {
  const DbSelectionRecord saved = g_dbSelection;
  SetMachineName(text);
  machine = platform::FieldText(g_dbSelection.machineName);
  g_dbSelection = saved;
  return IsSafeFolderName(machine);
}

}  // namespace

fs::path AtcCsvPath() { return platform::ResolvePath(platform::ProgramFolder(), "ExPort\\ATC_Export.csv"); }

void ParseAtcCsvField(AtcRecord& r, int field, std::string_view text, std::string& machine) {
  if (text.empty()) return;
  switch (field) {
    case 0: machine = std::string(text); return;
    case 1:
      r.atcNumber = static_cast<std::int32_t>(ParseDatabaseNumber(text));
      r.inUse = 1;
      return;
    case 2: platform::SetFieldText(r.toolName, text); return;
    default:
      // The SEC name and what follows it, as in the tool CSV.
      ParseToolCsvColumn(CsvColumnsOf(r), field - 3, text);
      return;
  }
}

bool ExportAtcTables(DocAtcTable& table, const std::vector<std::string>& machines) {
  const DbSelectionRecord saved = g_dbSelection;
  std::string out = platform::Sjis(kHeaderUtf8);
  std::vector<std::string> unreadable;
  for (const std::string& machine : machines) {
    SetMachineName(machine);
    LoadAtcTable(table);
    if (table.ReadFailed()) {
      // Its rows are unknown: an empty row here would empty it on re-import.
      unreadable.push_back(machine);
      continue;
    }
    const int last = LastAtcRowInUse(table);
    for (int slot = 0; slot <= last; ++slot) AppendRow(out, machine, table, slot);
  }
  g_dbSelection = saved;
  LoadAtcTable(table);

  const fs::path path = AtcCsvPath();
  if (!WriteExportCsv(path, out)) return false;
  std::string text = platform::SystemName(path) + "\n" + platform::Sjis("出力しました");
  for (const std::string& machine : unreadable) {
    text += "\n" + machine + platform::Sjis(" : ATCファイルが読めないため出力していません");
  }
  platform::ShowMessageBox(text, "", unreadable.empty() ? 0x40 : 0x30);
  return true;
}

bool ImportAtcTables(DocAtcTable& table) {
  const fs::path path = AtcCsvPath();
  std::string text;
  if (!ReadImportCsv(path, text)) return false;
  WriteAtcTable(table, platform::FieldText(g_dbSelection.machineName));
  if (!BackUpBeforeImport("_ATC")) return false;

  const std::vector<std::string_view> lines = CsvLines(text);
  std::vector<std::string> skipped;
  std::string machine;
  int row = 0, dropped = 0;
  ClearTable(table);
  std::vector<std::string> fields;
  auto finishMachine = [&] {
    if (machine.empty()) return;
    StoreMachine(table, machine);
    if (dropped > 0) {
      skipped.push_back(machine + platform::Sjis(" : 1016 行を超えた ") + std::to_string(dropped) +
                        platform::Sjis(" 行"));
    }
  };
  for (std::size_t n = 1; n < lines.size(); ++n) {
    if (lines[n].empty()) continue;
    fields.clear();
    platform::SplitCsvLine(lines[n], ",", fields);
    std::string lineMachine;
    if (!TakeMachineName(fields.empty() ? std::string_view() : std::string_view(fields[0]), lineMachine)) {
      skipped.push_back(std::to_string(n + 1) + platform::Sjis(" 行目: 名前が使えません"));
      continue;
    }
    if (lineMachine != machine) {
      finishMachine();
      ClearTable(table);
      machine = lineMachine;
      row = 0;
      dropped = 0;
    }
    if (row >= DocAtcTable::kRowCount) {
      ++dropped;
      continue;
    }
    std::string ignored;
    for (std::size_t k = 1; k < fields.size() && k <= 20; ++k) {
      ParseAtcCsvField(table.Record(row), static_cast<int>(k), fields[k], ignored);
    }
    ++row;
  }
  finishMachine();
  if (!machine.empty()) SetMachineName(machine);
  LoadAtcTable(table);
  ReportSkippedLines(platform::SystemName(path), skipped);
  return true;
}

}  // namespace dorn
