#include "kelto_dorn/tooldb/hole_processes.h"
#include "kelto_dorn/tooldb/hole_process_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

HoleProcessRecord g_holeProcess{};

std::optional<std::filesystem::path> HoleProcessFilePath(std::string_view process) {
  if (!IsSafeFolderName(process)) return std::nullopt;
  std::string relative = "_ANA\\";
  relative.append(process);
  relative += "\\";
  relative += kHoleProcessFileName;
  return platform::ResolvePath(platform::DataRoot(), relative);
}

void ClearHoleProcess(HoleProcessRecord& record, DocAtcTable& atc, bool keepMachine) {
  ClearAtcRecord(atc, DocAtcTable::kBlankToolSlot);
  for (int r = 0; r < HoleProcessRecord::kRowCount; ++r) {
    CopyRecord168(record.rows[r], atc.Record(DocAtcTable::kBlankToolSlot));
    record.rows[r].atcNumber = 0;
    record.rowNumbers[r] = 0;
  }
  std::memset(record.name, 0, sizeof record.name);
  if (!keepMachine) std::memset(record.machineName, 0, sizeof record.machineName);
}

platform::FileResult ReadHoleProcess(std::string_view process, HoleProcessRecord& record) {
  const auto path = HoleProcessFilePath(process);
  if (!path) return {platform::FileStatus::Missing, "unsafe process name"};
  // The checked reader: a damaged file is named and leaves the record as it was.
  return ReadHoleProcessFile(*path, record);
}

platform::FileResult WriteHoleProcess(const HoleProcessRecord& record) {
  const auto path = HoleProcessFilePath(platform::FieldText(record.name));
  if (!path) return {platform::FileStatus::Missing, "unsafe process name"};
  std::error_code ec;
  std::filesystem::create_directories(path->parent_path(), ec);
  return platform::WriteRecord(*path, record);
}

int MatchRowsToAtcTable(AtcRecord* rows, int count, bool needsName, const DocAtcTable& atc) {
  int unmatched = 0;
  for (int r = 0; r < count; ++r) {
    AtcRecord& row = rows[r];
    if (!(row.diameter > 0.0f)) continue;
    const std::string name = platform::FieldText(row.toolName);
    if (needsName && name.empty()) continue;
    const std::string sec = platform::FieldText(row.secName);
    bool found = false;
    for (int slot = 0; slot < DocAtcTable::kSlotCount && !found; ++slot) {
      const AtcRecord& s = atc.Record(slot);
      if (s.diameter == row.diameter && platform::FieldText(s.toolName) == name &&
          platform::FieldText(s.secName) == sec) {
        CopyRecord168(row, s);
        found = true;
      }
    }
    if (!found) {
      ++unmatched;
      std::snprintf(g_textBuffer, sizeof g_textBuffer, "%s_%s [%3.2f]", name.c_str(), sec.c_str(),
                    static_cast<double>(row.diameter));
      ShowMessage(76);
    }
  }
  return unmatched;
}

int MatchHoleProcessToAtcTable(HoleProcessRecord& record, const DocAtcTable& atc) {
  platform::SetFieldText(record.machineName, platform::FieldText(g_dbSelection.machineName));
  return MatchRowsToAtcTable(record.rows, HoleProcessRecord::kRowCount, false, atc);
}

void RenumberHoleProcessRows(HoleProcessRecord& record) {
  for (int r = 0; r < HoleProcessRecord::kRowCount; ++r) {
    if (record.rows[r].diameter > 0.0f) {
      record.rowNumbers[r] = r + 1;
    } else {
      record.rowNumbers[r] = 0;
      record.rows[r].atcNumber = 0;
    }
  }
}

void DeleteHoleProcessRow(HoleProcessRecord& record, int row, DocAtcTable& atc) {
  constexpr int n = HoleProcessRecord::kRowCount;
  if (row < 0 || row >= n) return;
  for (int r = row; r + 1 < n; ++r) record.rows[r] = record.rows[r + 1];
  // The last place is freed, not left as a second copy of its row.
  ClearAtcRecord(atc, DocAtcTable::kBlankToolSlot);
  CopyRecord168(record.rows[n - 1], atc.Record(DocAtcTable::kBlankToolSlot));
  RenumberHoleProcessRows(record);
}

}  // namespace dorn
