#pragma once
// The job reports' text helpers: number texts and the tool-information
// fields of one tool map record (CP932 text).
#include <string>

#include "shared/handover/tool_map_record.h"

namespace qup {

// "%4.3f" with trailing zeros cut, one decimal kept: 12.5, 12.0, -3.25.
std::string FormatFixed3(double value);

// The texts of one tool map record as the reports print them.
struct ToolInfoFields {
  std::string diameter, field1, field2, field3, field4, feed, spindle, cannedCycle, cutInQ;
  std::string field9, field10, field11, hCode, dCode, onFlag, field15, coolant;
  std::string originZ, travelZ, field18, field19, machiningType, postName, remarks;
};

// Fills the fields; `postName` is the name of the record's post (CP932).
// A coolant kind outside 1..4 prints empty and is cleared in the record.
ToolInfoFields FormatToolInfoFields(handover::ToolMapRecord& record, const std::string& postName);

// The head of a process line: exactly `width` bytes, cut on a character
// boundary (a double-byte character is never split) and padded with blanks.
std::string FitToWidth(const std::string& text, std::size_t width);

}  // namespace qup
