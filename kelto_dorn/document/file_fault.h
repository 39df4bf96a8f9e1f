#pragma once
// Shows a file failure in the error box: the platform's message (UTF-8) as
// CP932 in the shared text buffer.
#include <string_view>

#include "platform/record_file.h"

namespace dorn {

void ReportFileFault(std::string_view utf8Message);
void ReportFileFault(const platform::FileResult& result);

}  // namespace dorn
