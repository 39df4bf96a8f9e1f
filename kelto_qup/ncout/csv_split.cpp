// The CSV splitter of the job files.
#include "kelto_qup/ncout/csv_split.h"

namespace qup {

std::vector<std::string> SplitCsvLine(std::string_view line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t next = line.find(separator, start);
    if (next == std::string_view::npos) {
      if (start < line.size()) fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, next - start));
    start = next + 1;
  }
}

}  // namespace qup
