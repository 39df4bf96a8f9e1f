#pragma once
// The columns that a tool record's line of the tool CSV and an ATC row's line
// of the ATC CSV share: from the SEC name to the coolant, in the same order
// in both files. Each file has its own leading columns before them.
#include <cstdint>
#include <string_view>

#include "kelto_dorn/tooldb/atc_record.h"
#include "kelto_dorn/tooldb/tool_record.h"

namespace dorn {

// The shared columns in file order, as the fields of one record.
struct ToolCsvColumns {
  char (&secName)[24];
  float& diameter;
  float& cornerRadius;
  float& flatRadius;
  float& tipAngle;
  float& tipLength;
  std::int32_t& spindleSpeed;
  float& feed;
  std::int32_t& cycle;
  float& qValue;  // peck depth
  float& pValue;
  std::int32_t& mCode;
  float& fluteLength;
  std::int32_t& tapTwice;
  std::int32_t& tNumber;
  std::int16_t& hCode;
  std::int16_t& dCode;
  std::int16_t& coolant;
};

ToolCsvColumns CsvColumnsOf(ToolRecord& record);
ToolCsvColumns CsvColumnsOf(AtcRecord& record);

// Stores shared column `column` (0, the SEC name, .. 17, the coolant) of a
// line; an empty text or a column outside 0..17 stores nothing.
void ParseToolCsvColumn(const ToolCsvColumns& record, int column, std::string_view text);

}  // namespace dorn
