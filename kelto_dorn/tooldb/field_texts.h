#pragma once
// Texts of one tool or ATC record for the dialogs' list lines, the printed
// lists and the CSV lines (CP932 bytes). Formatting also repairs a coolant word
// outside 0..4 to 0 in the record itself.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "kelto_dorn/tooldb/atc_record.h"
#include "kelto_dorn/tooldb/tool_record.h"

namespace dorn {

struct ToolFieldTexts {
  std::string secName;
  std::string diameter, cornerRadius, flatRadius, tipAngle, tipLength;
  std::string feed, qValue, pValue, fluteLength;
  std::string spindleSpeed, fixedCycle, mCode, hCode, dCode;
  std::string g84Twice, tNumber, coolant;
};

struct AtcFieldTexts {
  std::string toolName, secName;
  std::string diameter, cornerRadius, flatRadius, tipAngle, tipLength;
  std::string spindleSpeed, feed, cannedCycle, peckDepth, pCode, mCode;
  std::string fluteLength, hCode, dCode, tapTwice, outputTNumber, coolant;
};

// Display form of a tool record.
ToolFieldTexts FormatToolFields(ToolRecord& record);

// Display and CSV forms of an ATC record.
AtcFieldTexts FormatAtcFields(AtcRecord& record);
AtcFieldTexts FormatAtcFieldsCsv(AtcRecord& record);

// CSV form of a tool record (the tool database's export).
ToolFieldTexts FormatToolRecordCsv(ToolRecord& record);

// The column titles over a list of fixed columns: each title (UTF-8) ends
// at the byte column where its column of the list's lines ends (exclusive),
// counted in CP932 bytes as the lines are; titles never run together.
struct ColumnTitle {
  const char* utf8;
  std::size_t end;
};
std::string ColumnHeading(std::initializer_list<ColumnTitle> titles);

// The coolant word as text: the four names for 1..4, else nothing.
const std::string& CoolantText(int coolant);

// The coolant word of a CSV text: the four names (the S forms also with a
// narrow "S"); any other text gives `current`.
int CoolantFromText(std::string_view cp932, int current);

}  // namespace dorn
