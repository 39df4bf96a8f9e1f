#include "kelto_dorn/machining/definition_list_lines.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kNotFound = 0xFFFF;

// Surface kinds and the four-axis wire keep surface keys in their curve list.
bool NamesSurfaces(std::int32_t kind) {
  return kind > 0xE2FF || kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire);
}

bool HoleKind(std::int32_t kind) { return (kind & kKindGroupMask) == kHoleGroup; }
bool WireKind(std::int32_t kind) { return (kind & kKindGroupMask) == kWireGroup; }

int FindItem(std::int32_t kind, std::int32_t key) {
  return NamesSurfaces(kind) ? FindSurfaceByKey(key) : FindCurveByKey(key);
}

std::string Number(double v) {
  FormatNumber4(v);
  return platform::FieldText(g_textBuffer, kTextBufferSize);
}

// A line holds a name and a figure name of 64 bytes each, a few numbers
// and the fixed words: 512 bytes never cut it.
template <class... Args>
std::string Format(const std::string& format, Args... args) {
  char line[512];
  std::snprintf(line, sizeof line, format.c_str(), args...);
  return line;
}

// The name of the first figure: the surface's index name or the curve's name.
std::string FigureName(std::int32_t kind, int found) {
  if (NamesSurfaces(kind))
    return platform::FieldText(g_surfaceIndexTable.records[static_cast<std::size_t>(found)].name);
  return platform::FieldText(g_curveTable[static_cast<std::size_t>(found)].name);
}

}  // namespace

int DropDeadCurveItems(MachiningDefinition& d) {
  int removed = 0;
  int item = 0;
  while (item < kCurveItemCount && d.curves[item].key != 0) {
    if (FindItem(d.kind, d.curves[item].key) != kNotFound) {
      ++item;
      continue;
    }
    RemoveCurveItem(d, item);
    ++removed;
  }
  return removed;
}

std::string DefinitionListLine(const MachiningDefinition& d, const DefinitionIndexRecord& record) {
  const std::string name = platform::FieldText(record.name, sizeof record.name);
  const int found = d.curves[0].key != 0 ? FindItem(d.kind, d.curves[0].key) : kNotFound;
  if (found == kNotFound) {
    return Format(platform::Sjis("%-22s 図面名が見つかりません ???\n[seg]%d adr=%d"), name.c_str(), record.slot,
                  d.curves[0].key);
  }
  const int steps = CountProcessSteps(d);
  const std::string figureText =
      CountCurveItems(d) >= 2 ? Format(platform::Sjis("->%d図面"), CountCurveItems(d)) : std::string("  ");
  if (WireKind(d.kind)) {
    return Format(platform::Sjis("%-23s %3d回\t補正１) = %-3d\t 補正２) = %-3d\t  %s"), name.c_str(), steps,
                  d.steps[0].compensationD, d.steps[1].compensationD, figureText.c_str());
  }
  const AtcRecord& tool = d.stepTools[std::clamp(steps - 1, 0, kStepCount - 1)];
  const std::string figure = FigureName(d.kind, found);
  if (!HoleKind(d.kind) && tool.tipAngle == 0.0f) {
    return Format(platform::Sjis("%-23s %3d回  ATC#%03d 工具[%6sR %6sF]\t  %s %s"), name.c_str(), steps, tool.atcNumber,
                  Number(tool.cornerRadius).c_str(), Number(tool.flatRadius).c_str(), figure.c_str(),
                  figureText.c_str());
  }
  return Format(platform::Sjis("%-23s %3d回  ATC#%03d 工具[ %6sφ]\t\t %s %s"), name.c_str(), steps, tool.atcNumber,
                Number(tool.diameter).c_str(), figure.c_str(), figureText.c_str());
}

std::vector<std::string> DefinitionListLines(DefinitionSlots& slots) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(std::max(g_machiningCount, 0)));
  for (int i = 0; i < g_machiningCount; ++i) {
    const DefinitionIndexRecord& record = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
    MachiningDefinition& d = slots.Slot(std::clamp(record.slot, 0, DefinitionSlots::kSlotCount - 1));
    if (DropDeadCurveItems(d) > 0) MachiningOrderValid = 0;
    lines.push_back(DefinitionListLine(d, record));
  }
  return lines;
}

}  // namespace dorn
