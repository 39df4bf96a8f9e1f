#include "shared/handover/nc_element.h"

#include <stdexcept>
#include <string>

#include "shared/handover/record_io.h"

namespace handover {

double& NcElement::DoubleAt(int i) {
  switch (i) {
    case 0:
      return d0;
    case 1:
      return d1;
    case 2:
      return d2;
    case 3:
      return d3;
    case 4:
      return d4;
    case 5:
      return d5;
    case 6:
      return d6;
    case 7:
      return d7;
    case 8:
      return d8;
    default:
      throw std::out_of_range("NcElement::DoubleAt: no double d" + std::to_string(i));
  }
}

std::array<double, 9> NcElement::DoubleValues() const { return {d0, d1, d2, d3, d4, d5, d6, d7, d8}; }

platform::FileResult ReadElementFile(const std::filesystem::path& path, std::vector<NcElement>& elements,
                                     std::size_t maxElements) {
  std::vector<NcElement> read;
  platform::FileResult result = ReadRecordVector(path, maxElements, read);
  if (!result.ok()) return result;
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (!AllFinite(read[i].DoubleValues())) {
      return DamagedFile(path, "element record " + std::to_string(i) + " holds a value that is not a number");
    }
  }
  elements.swap(read);
  return result;
}

platform::FileResult WriteElementFile(const std::filesystem::path& path, std::span<const NcElement> elements) {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (!AllFinite(elements[i].DoubleValues())) {
      return RefusedWrite(path, "element record " + std::to_string(i) + " (number " +
                                    std::to_string(elements[i].number) + ") holds a value that is not a number");
    }
  }
  return platform::WriteRecords(path, elements.data(), elements.size());
}

}  // namespace handover
