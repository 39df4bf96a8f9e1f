#include "shared/handover/color_table.h"

#include <algorithm>

#include "shared/handover/record_io.h"

namespace handover {

ColorTable DefaultColorTable(const std::uint32_t (&palette)[32]) {
  ColorTable table;
  std::copy(std::begin(palette), std::end(palette), std::begin(table.palette));
  return table;
}

std::string CheckColorIndexes(const ColorTable& t) {
  struct Named {
    const char* name;
    std::int32_t value;
  };
  const Named indexes[] = {
      {"axis colour", t.axisColor},   {"figure colour", t.figureColor},       {"second figure colour", t.figureColor2},
      {"curve colour", t.curveColor}, {"second curve colour", t.curveColor2}, {"background colour", t.backgroundIndex}};
  for (const Named& n : indexes) {
    if (n.value < 0 || n.value >= ColorTable::kColorCount) {
      return std::string(n.name) + " index " + std::to_string(n.value) + " is outside 0..31";
    }
  }
  return {};
}

platform::FileResult ReadColorTable(const std::filesystem::path& path, ColorTable& table) {
  ColorTable read;
  platform::FileResult result = platform::ReadRecord(path, read);
  if (!result.ok()) return result;
  if (std::string fault = CheckColorIndexes(read); !fault.empty()) return DamagedFile(path, fault);
  table = read;
  return result;
}

platform::FileResult WriteColorTable(const std::filesystem::path& path, const ColorTable& table) {
  ColorTable stored = table;
  stored.figureColor &= ColorTable::kStoredFigureColorMask;
  if (std::string fault = CheckColorIndexes(stored); !fault.empty()) return RefusedWrite(path, fault);
  return platform::WriteRecord(path, stored);
}

}  // namespace handover
