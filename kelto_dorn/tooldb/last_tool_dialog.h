#pragma once
// The last-tool dialog (IDD 343, "　ラスト工具"): the T number a post calls
// after the last process (0 = the first tool). It edits the option it is
// given; OK stores the typed number's leading digits (0 when there are none).
#include <cstdint>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kLastToolDialogId = 343;
inline constexpr int kLastToolEdit = 1008;

class CLastToolDlg : public platform::Dialog {
 public:
  explicit CLastToolDlg(std::int32_t& lastTCode);

 protected:
  bool OnInit() override;
  void OnOk() override;

 private:
  std::int32_t& lastTCode_;
};

}  // namespace dorn
