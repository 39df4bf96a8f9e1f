#pragma once
// The modeless box that shows each source and target while a copy runs
// (IDD 251).
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCopyProgressDialogId = 251;

namespace copy_progress {
inline constexpr int kOutGroup = 1375, kInGroup = 1376, kTarget = 1377, kSource = 1378;
}

class CCopyProgressDlg : public platform::Dialog {
 public:
  CCopyProgressDlg();
  // Opens the box with its caption and labels.
  void Start(std::string_view captionCp932);
  void ShowFiles(const std::string& source, const std::string& target);
};

}  // namespace dorn
