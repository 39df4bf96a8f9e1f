// Row operations of the machine ATC editor: see atc_rows.h.
#include "kelto_dorn/tooldb/atc_rows.h"

#include <string>

#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kLastRow = DocAtcTable::kRowCount - 1;

void Renumber(DocAtcTable& table) {
  for (int slot = 0; slot <= kLastRow; ++slot) table.Record(slot).atcNumber = slot + 1;
}

bool HoldsTool(const AtcRecord& row) {
  return row.inUse != 0 && (row.diameter > 0.0f || row.secName[0] != '\0' || row.toolName[0] != '\0');
}

void ReportUnreadable(std::string_view machine) {
  const auto path = AtcFilePath(machine);
  if (path) PutPathInTextBuffer(*path);
  ShowMessage(50);
}

}  // namespace

bool InsertAtcRow(DocAtcTable& table, int slot) {
  if (slot < 0 || slot > kLastRow) return false;
  if (HoldsTool(table.Record(kLastRow))) return false;
  for (int i = kLastRow; i > slot; --i) CopyRecord168(table.Record(i), table.Record(i - 1));
  ClearAtcRecord(table, slot);
  table.Record(slot).inUse = 1;
  Renumber(table);
  return true;
}

void DeleteAtcRow(DocAtcTable& table, int slot) {
  if (slot < 0 || slot > kLastRow) return;
  for (int i = slot; i < kLastRow; ++i) CopyRecord168(table.Record(i), table.Record(i + 1));
  ClearAtcRecord(table, kLastRow);
  Renumber(table);
}

void PlaceToolInAtcRow(DocAtcTable& table, int slot, const ToolRecord& tool, std::string_view toolFolder) {
  ClearAtcRecord(table, slot);
  AtcRecord& row = table.Record(slot);
  ToolRecordToAtc(tool, toolFolder, row);
  row.inUse = 1;
  row.atcNumber = slot + 1;
}

int LastAtcRowInUse(const DocAtcTable& table) {
  for (int slot = kLastRow; slot >= 1; --slot) {
    if (table.Record(slot).inUse != 0) return slot;
  }
  return 0;
}

bool CopyConvertAtcTable(DocAtcTable& table, DocToolTable& tools, std::string_view sourceMachine) {
  const std::string current = platform::FieldText(g_dbSelection.machineName);
  if (table.ReadFailed()) {
    ReportUnreadable(current);
    return false;
  }
  SetMachineName(sourceMachine);
  LoadAtcTable(table);
  const bool sourceUnreadable = table.ReadFailed();
  SetMachineName(current);
  if (sourceUnreadable) {
    ReportUnreadable(sourceMachine);
    LoadAtcTable(table);
    return false;
  }
  RefreshAtcFromToolDb(table, tools);
  return WriteAtcTable(table, current).ok();
}

}  // namespace dorn
