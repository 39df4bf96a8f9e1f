#include "kelto_dorn/document/file_fault.h"

#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "platform/text.h"

namespace dorn {

namespace {
// A code without a text of its own: the box shows the shared text buffer.
constexpr int kCallerTextCode = -80;
}  // namespace

void ReportFileFault(std::string_view utf8Message) {
  const std::string cp932 = platform::Utf8ToCp932(utf8Message);
  const std::size_t n = platform::Cp932PrefixLength(cp932, sizeof g_textBuffer - 1);
  std::memcpy(g_textBuffer, cp932.data(), n);
  g_textBuffer[n] = '\0';
  ShowErrorCode(kCallerTextCode);
}

void ReportFileFault(const platform::FileResult& result) { ReportFileFault(result.message); }

}  // namespace dorn
