#pragma once
// DocToolTable: the document's table of the tool records of one tool folder.
// Its 768 record buffers exist only while a dialog that uses the table is open
// (the tool database and machine ATC dialogs allocate them when they open and
// free them when they close). At most 765 slots hold records read from a
// file: the slot after the last record is the record being typed in and the
// slot two places after it the sort's scratch space.
#include <memory>
#include <string_view>

#include "kelto_dorn/tooldb/field_texts.h"
#include "kelto_dorn/tooldb/tool_record.h"
#include "platform/record_file.h"

namespace dorn {

// The slot being typed in or edited; while loading, the records read so far.
extern int g_curToolIndex;

class DocToolTable {
 public:
  static constexpr int kSlotCount = 768;
  // Records a file may fill: kSlotCount less the record being typed in, the
  // sort's scratch slot and one spare (the load stops once count + 4 > 768).
  static constexpr int kMaxLoadedRecords = 765;

  DocToolTable() = default;
  DocToolTable(const DocToolTable&) = delete;
  DocToolTable& operator=(const DocToolTable&) = delete;

  // Allocates the 768 zeroed buffers; false when memory runs out (the caller
  // shows message 94). Allocating again keeps the buffers.
  bool Allocate();
  void Release();
  bool IsAllocated() const { return records_ != nullptr; }

  // Slot access; an index outside 0..767, or a table without buffers, is a
  // broken invariant of the caller and throws std::out_of_range.
  ToolRecord& Record(int index);
  const ToolRecord& Record(int index) const;

 private:
  std::unique_ptr<ToolRecord[]> records_;
};

void CopyToolRecord(ToolRecord& destination, const ToolRecord& source);

// The display texts of slot `index` for the list and the printed tool list
// (a coolant word outside 0..4 becomes 0 in the slot).
ToolFieldTexts FormatToolRecord(DocToolTable& table, int index);
void ClearToolRecord(DocToolTable& table, int index);
void ClearToolTable(DocToolTable& table);

// Reads the tool folder of the current selection into the table (cleared
// first) and returns the number of records, which is also left in
// g_curToolIndex. A missing file gives 0 records and no message. A length that
// is not a whole number of records loads the whole ones. Once 765 records are
// in, message 102 is shown and the rest of the file is ignored. A table
// without buffers, a refused name or an unreadable file gives 0 records and is
// reported in *result.
int LoadToolRecords(DocToolTable& table, platform::FileResult* result = nullptr);

// The same for a named base and tool folder, without touching the selection.
// With `warnWhenFull` false a full folder shows no message (a scan over many
// folders).
int LoadToolRecordsFrom(DocToolTable& table, std::string_view base, std::string_view tool,
                        platform::FileResult* result = nullptr, bool warnWhenFull = true);

// Writes slots 0..count-1 to the tool file of the named base and tool folder
// (the folder must exist). A refused name, a count outside 0..765 or a value
// that is not finite writes nothing and is reported.
platform::FileResult WriteToolFile(const DocToolTable& table, int count, std::string_view base, std::string_view tool);

}  // namespace dorn
