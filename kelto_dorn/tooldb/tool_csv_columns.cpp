// The columns the tool and ATC CSV files share: see tool_csv_columns.h.
#include "kelto_dorn/tooldb/tool_csv_columns.h"

#include "kelto_dorn/tooldb/field_texts.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "platform/text.h"

namespace dorn {

ToolCsvColumns CsvColumnsOf(ToolRecord& r) {
  return {r.secName,  r.diameter,   r.cornerRadius, r.flatRadius, r.tipAngle, r.tipLength,
          r.spindleSpeed, r.feed,   r.fixedCycle,   r.qValue,     r.pValue,   r.mCode,
          r.fluteLength, r.g84Twice, r.tNumber,     r.hCode,      r.dCode,    r.coolant};
}

ToolCsvColumns CsvColumnsOf(AtcRecord& r) {
  return {r.secName,  r.diameter,   r.cornerRadius, r.flatRadius, r.tipAngle, r.tipLength,
          r.spindleSpeed, r.feed,   r.cannedCycle,  r.peckDepth,  r.pCode,    r.mCode,
          r.fluteLength, r.tapTwice, r.outputTNumber, r.hCode,    r.dCode,    r.coolant};
}

void ParseToolCsvColumn(const ToolCsvColumns& r, int column, std::string_view text) {
  if (text.empty()) return;
  switch (column) {
    case 0: platform::SetFieldText(r.secName, text); return;
    case 13:
      if (text == "ON") r.tapTwice = 1;
      return;
    case 17: r.coolant = static_cast<std::int16_t>(CoolantFromText(text, r.coolant)); return;
    default: break;
  }
  const double v = ParseDatabaseNumber(text);
  const auto whole = static_cast<std::int32_t>(v);
  // The H and D codes are 16-bit words: a larger number stores 0.
  const auto small = static_cast<std::int16_t>(whole <= 32767 ? whole : 0);
  switch (column) {
    case 1: r.diameter = static_cast<float>(v); break;
    case 2: r.cornerRadius = static_cast<float>(v); break;
    case 3: r.flatRadius = static_cast<float>(v); break;
    case 4: r.tipAngle = static_cast<float>(v); break;
    case 5: r.tipLength = static_cast<float>(v); break;
    case 6: r.spindleSpeed = whole; break;
    case 7: r.feed = static_cast<float>(v); break;
    case 8: r.cycle = whole; break;
    case 9: r.qValue = static_cast<float>(v); break;
    case 10: r.pValue = static_cast<float>(v); break;
    case 11: r.mCode = whole; break;
    case 12: r.fluteLength = static_cast<float>(v); break;
    case 14: r.tNumber = whole; break;
    case 15: r.hCode = small; break;
    case 16: r.dCode = small; break;
    default: break;
  }
}

}  // namespace dorn
