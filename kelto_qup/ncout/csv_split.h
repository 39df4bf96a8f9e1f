#pragma once
// SplitCsvLine: the one CSV splitter of the job files (the machine M-code
// table among them).
#include <string>
#include <string_view>
#include <vector>

namespace qup {

// Every field between separators in order; an empty field (two separators
// in a row, or one at the start) is an empty string; the text after the last
// separator is a field only when it is not empty.
std::vector<std::string> SplitCsvLine(std::string_view line, char separator);

}  // namespace qup
