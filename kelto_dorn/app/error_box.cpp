// The error box and the beep: see error_box.h.
#include "kelto_dorn/app/error_box.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

// Writes the code's text (CP932) into g_textBuffer; memory errors carry the
// code, at least two digits.
void FormatErrorText(int code, std::string_view utf8Text) {
  const std::string& cp932 = platform::Sjis(utf8Text);
  std::memset(g_textBuffer, 0, sizeof g_textBuffer);
  const std::size_t mark = cp932.find("%02d");
  if (mark == std::string::npos) {
    const std::size_t n = std::min(cp932.size(), sizeof g_textBuffer - 1);
    std::memcpy(g_textBuffer, cp932.data(), n);
    return;
  }
  std::snprintf(g_textBuffer, sizeof g_textBuffer, "%s%02d%s", cp932.substr(0, mark).c_str(), code,
                cp932.substr(mark + 4).c_str());
}

}  // namespace

int ShowErrorCode(int code) {
  const std::string_view text = ErrorCodeText(code);
  if (!text.empty()) FormatErrorText(code, text);
  // The caller's own text may fill the buffer: it is shown terminated.
  g_textBuffer[sizeof g_textBuffer - 1] = '\0';
  return platform::ShowMessageBox(std::string_view(g_textBuffer), std::string_view(), kErrorBoxStyle);
}

int SignalBeep() {
  if (g_beepOff != 0) return 0;
  if (platform::Beep()) return 1;
  g_beepOff = 1;
  return 0;
}

}  // namespace dorn
