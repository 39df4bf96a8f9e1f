#include "kelto_dorn/camdata/spindle_code_dialog.h"

#include <climits>

#include "kelto_dorn/camdata/post_table.h"
#include "platform/text.h"

namespace dorn {

int LeadingInteger(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = INT_MAX;  // more digits than a code has: the largest
  }
  return static_cast<int>(negative ? -value : value);
}

CSpindleCodeDlg::CSpindleCodeDlg()
    : platform::Dialog(
          kSpindleCodeDialogId, platform::Sjis("  主軸回転コード"),
          {{platform::ControlKind::StaticText, -1, platform::Sjis("Ｍコード =")},
           {platform::ControlKind::Edit, kSpindleCodeEdit, "", 0, 80, 0, 0, 8},
           {platform::ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0, platform::control_style::kDefaultButton},
           {platform::ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CSpindleCodeDlg::OnInit() {
  g_exchangeValue = 0;
  return true;
}

void CSpindleCodeDlg::OnOk() {
  g_exchangeValue = LeadingInteger(GetText(kSpindleCodeEdit));
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
