#pragma once
// The spindle-code dialog (IDD 291, "  主軸回転コード"): the M number of the
// second spindle code. Opening it sets g_exchangeValue to 0; OK stores the
// typed number there (an optional sign and the leading digits; none give 0).
#include <string_view>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kSpindleCodeDialogId = 291;
inline constexpr int kSpindleCodeEdit = 1008;

// The integer of a typed text: an optional sign and the leading decimal
// digits after leading blanks; 0 when there are none.
int LeadingInteger(std::string_view text);

class CSpindleCodeDlg : public platform::Dialog {
 public:
  CSpindleCodeDlg();

 protected:
  bool OnInit() override;
  void OnOk() override;
};

}  // namespace dorn
