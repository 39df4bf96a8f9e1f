#pragma once
// DocAtcTable: the document's 1200 AtcRecord slots holding the current
// machine's ATC table, stored per machine as "$ATC_DBS.@@@" in the folder
// <data root>\_ATC\<machine> (AtcRecords in slot order, no header).
//
// Slot roles:
//   0 .. 1015  the machine's rows, ATC numbers 1 .. 1016; the only slots that
//              a file fills and the only ones written back
//   1017       scratch: a record that is not an ATC row is copied here to be
//              formatted
//   1020       scratch and the blank tool record that every new step tool of a
//              machining definition copies
//   others     unused
#include <memory>
#include <string_view>

#include "kelto_dorn/tooldb/atc_record.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "platform/record_file.h"

namespace dorn {

class DocToolTable;

class DocAtcTable {
 public:
  static constexpr int kSlotCount = 1200;
  static constexpr int kRowCount = 1016;  // slots 0..1015, ATC numbers 1..1016
  static constexpr int kScratchSlot = 1017;
  static constexpr int kBlankToolSlot = 1020;

  DocAtcTable();
  DocAtcTable(const DocAtcTable&) = delete;
  DocAtcTable& operator=(const DocAtcTable&) = delete;

  // Slot access; an index outside 0..1199 is a broken invariant of the caller
  // and throws std::out_of_range.
  AtcRecord& Record(int slot);
  const AtcRecord& Record(int slot) const;

  // Rows read by the last load; bounds every scan that lists rows.
  int LoadedCount() const { return loadedCount_; }
  void SetLoadedCount(int count) { loadedCount_ = count; }

  // True when the machine's file exists but could not be read: the table
  // is empty only for want of its rows, and writing it would put an empty
  // table over the machine's tools. WriteAtcTable refuses then; an editor
  // asks here before it offers to change the table. The next load decides
  // again.
  bool ReadFailed() const { return readFailed_; }
  void SetReadFailed(bool failed) { readFailed_ = failed; }

 private:
  std::unique_ptr<AtcRecord[]> slots_;
  int loadedCount_ = 0;
  bool readFailed_ = false;
};

void CopyRecord168(AtcRecord& destination, const AtcRecord& source);

// Every field 0, both names empty, in-use 0, ATC number slot + 1.
void ClearAtcRecord(DocAtcTable& table, int slot);

// Clears all 1200 slots and reads the current machine's file into slots
// 0..1015; every row read is marked in use and numbered slot + 1, whatever the
// file held. Rows beyond the 1016th are ignored: they would overwrite the
// scratch slots and the blank tool record. Returns the rows read (0 for a
// missing file, an empty or refused machine name, or a file that cannot be
// read, which is reported in *result and marks the table ReadFailed). A tail
// shorter than a record is ignored.
int LoadAtcTable(DocAtcTable& table, platform::FileResult* result = nullptr);

// What the document does when it is created: reads the selection and, when
// it names a machine, loads that machine's ATC table. Returns the rows
// loaded; a file that cannot be read is reported in *result.
int LoadSelectionAndAtcTable(DocAtcTable& table, platform::FileResult* result = nullptr);

// Writes rows 0 .. the last row in use (at least row 0) to the machine's file.
// Nothing is written when the current machine or `machineName` is empty or
// refused, or when the table's file could not be read (ReadFailed); the
// machine's folder must exist. Returns the outcome.
platform::FileResult WriteAtcTable(const DocAtcTable& table, std::string_view machineName);

// Texts of a slot for the lists and for the CSV export.
AtcFieldTexts FormatAtcRecord(DocAtcTable& table, int slot);
AtcFieldTexts FormatAtcRecordCsv(DocAtcTable& table, int slot);

// Formats a record that is not an ATC row (a hole-process row, a step tool)
// through a scratch slot (1017 or 1020): the record is copied there, formatted,
// and a coolant repair is copied back into `record`.
AtcFieldTexts FormatThroughScratch(DocAtcTable& table, AtcRecord& record, int scratchSlot);

// A tool record's data as an ATC row: every shared field copied, K code, step
// word and post M code 0, the tool record's name as SEC name, `toolFolder` as
// tool name.
void ToolRecordToAtc(const ToolRecord& tool, std::string_view toolFolder, AtcRecord& row);

// 0 when the slot's SEC name, diameter, corner and flat radius and tip angle
// equal tool record `toolIndex` exactly; the slot then takes the record's data
// (in use, ATC number slot + 1, names kept). 99 otherwise, nothing changed.
int MatchAtcToToolRecord(DocAtcTable& table, int slot, const DocToolTable& tools, int toolIndex);

// For each leading row in use with a tool name: reads that tool folder of the
// current base into `tools` and takes the data of the first matching record;
// a row without a match is cleared, a folder that cannot be read leaves the
// row as it is.
void RefreshAtcFromToolDb(DocAtcTable& table, DocToolTable& tools);

}  // namespace dorn
