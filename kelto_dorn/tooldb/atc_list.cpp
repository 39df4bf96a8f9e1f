#include "kelto_dorn/tooldb/atc_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "platform/text.h"

namespace dorn {

std::string g_toolNameFilter;
double g_toolDiameterFilter = 0.0;
int g_atcListCount = 0;

namespace {

constexpr std::size_t kLastNamePosition = 61;

int Loaded() { return std::min(g_atcListCount, DocAtcTable::kRowCount); }

std::string Line(AtcRecord& row, int mode) {
  const AtcFieldTexts t = FormatAtcFields(row);
  const std::string sec = platform::FieldText(row.secName);
  char line[512];
  if (mode == kListHoleTools) {
    std::snprintf(line, sizeof line, "ATC_%04d %-12s %7s %7s %7s  %7s %6s  %7s %7s %7s %7s %7s %7s %7s",
                  row.atcNumber, sec.c_str(), t.diameter.c_str(), t.tipAngle.c_str(), t.spindleSpeed.c_str(),
                  t.feed.c_str(), t.cannedCycle.c_str(), t.peckDepth.c_str(), t.pCode.c_str(), t.mCode.c_str(),
                  t.fluteLength.c_str(), t.hCode.c_str(), t.dCode.c_str(), t.coolant.c_str());
  } else {
    std::snprintf(line, sizeof line, "ATC_%04d  %12s   %7s %7s %7s  %7s %7s %7s %7s %7s %7s %7s", row.atcNumber,
                  sec.c_str(), t.diameter.c_str(), t.cornerRadius.c_str(), t.spindleSpeed.c_str(), t.feed.c_str(),
                  t.cannedCycle.c_str(), t.mCode.c_str(), t.fluteLength.c_str(), t.hCode.c_str(), t.dCode.c_str(),
                  t.coolant.c_str());
  }
  return line;
}

}  // namespace

bool AtcRowAdmitted(const AtcRecord& row, int mode) {
  if (mode < 1) return row.cannedCycle >= 1;
  if (mode == kListAllRows) return true;
  return row.tipLength == 0.0f || row.tipAngle == 90.0f;
}

std::vector<std::string> FillAtcListBox(DocAtcTable& table, int mode) {
  std::vector<std::string> lines;
  const int count = Loaded();
  for (int j = 0; j < count; ++j) table.Record(j).inUse = 1;
  int tag = kFirstListTag;
  for (int j = 0; j < count; ++j) {
    AtcRecord& row = table.Record(j);
    if (platform::FieldText(row.toolName) != g_toolNameFilter) continue;
    if (!AtcRowAdmitted(row, mode)) continue;
    if (g_toolDiameterFilter > 0.0 &&
        !(g_toolDiameterFilter - 1.0 <= row.diameter && row.diameter <= g_toolDiameterFilter + 1.0)) {
      continue;
    }
    row.inUse = tag++;
    lines.push_back(Line(row, mode));
  }
  return lines;
}

int SlotOfListLine(const DocAtcTable& table, int position) {
  if (position < 0) return -1;
  const int count = Loaded();
  for (int j = 0; j < count; ++j) {
    if (table.Record(j).inUse == position + kFirstListTag) return j;
  }
  return -1;
}

int ToolNameFromText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string name;
  while (i < text.size() && i < kLastNamePosition && text[i] != ' ' && text[i] != '.' && text[i] != '\0') {
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(text[i]))) {
      // A double-byte character is taken whole or not at all.
      if (i + 1 >= text.size() || i + 1 >= kLastNamePosition) break;
      name += text.substr(i, 2);
      i += 2;
      continue;
    }
    name += text[i++];
  }
  std::snprintf(g_listTextBuffer, sizeof g_listTextBuffer, "%s", name.c_str());
  g_toolNameFilter = name;
  return name.empty() ? 4 : 0;
}

void ResetAtcListState() {
  g_toolNameFilter.clear();
  g_toolDiameterFilter = 0.0;
  g_atcListCount = 0;
}

}  // namespace dorn
