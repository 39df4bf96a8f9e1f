#pragma once
// Reading one hole process, "$HOLE_DBS.@@@" in its folder
// <data root>\_ANA\<process>: the register print, the hole definitions and
// the hole-process editor all take a process through this one reader.
#include <filesystem>

#include "kelto_dorn/tooldb/hole_process_record.h"
#include "platform/record_file.h"

namespace dorn {

// Reads the whole record. Missing: status Missing, `process` left as it
// was. A size other than 1504 bytes, or a tool value of a row that is not a
// finite number, is a damaged file: an error naming it, and `process` is
// left as it was. The process name and each row's two names are
// terminated within their fields.
platform::FileResult ReadHoleProcessFile(const std::filesystem::path& path, HoleProcessRecord& process);

}  // namespace dorn
