#pragma once
// SplitCsvLine: the one field splitter of the CSV files of both programs
// (database exports and imports, the machine M-code table): no quoting, one
// record per line, empty fields kept.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Appends the fields of `line` (CP932 bytes) to `fields`; the caller empties
// the array first. The separator is the first character of `separator`. A
// line end (LF or CR LF) is not part of the last field. Two adjacent
// separators give an empty field between them and a separator at the start an
// empty first field; after the last separator the rest is appended only when
// it is not empty, so a separator at the end gives no empty last field. The
// line is scanned character by character, so the second byte of a double-byte
// character is never taken for a separator. An empty separator appends the
// whole line as one field (when it is not empty).
void SplitCsvLine(std::string_view line, std::string_view separator, std::vector<std::string>& fields);

}  // namespace platform
