#include "kelto_dorn/tooldb/last_tool_dialog.h"

#include <climits>
#include <string>

#include "platform/text.h"

namespace dorn {

CLastToolDlg::CLastToolDlg(std::int32_t& lastTCode)
    : platform::Dialog(
          kLastToolDialogId, platform::Sjis("　ラスト工具"),
          {{platform::ControlKind::StaticText, -1, platform::Sjis("Ｔ番号")},
           {platform::ControlKind::Edit, kLastToolEdit, "", 0, 80, 0, 0, 8},
           {platform::ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0, platform::control_style::kDefaultButton},
           {platform::ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      lastTCode_(lastTCode) {}

bool CLastToolDlg::OnInit() {
  SetText(kLastToolEdit, std::to_string(lastTCode_));
  return true;
}

void CLastToolDlg::OnOk() {
  const std::string text = GetText(kLastToolEdit);
  long long value = 0;
  std::size_t i = text.find_first_not_of(' ');
  for (; i != std::string::npos && i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = INT_MAX;
  }
  lastTCode_ = static_cast<std::int32_t>(value);
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
