#pragma once
// The message dialog (template 193): a question with OK and "ｷｬﾝｾﾙ", whose
// caption is g_messageCaption. Exit and the File menu ask through it.
#include <string_view>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kMessageDialogId = 193;
inline constexpr int kMessageTextId = 1045;

class CMessageDlg : public platform::Dialog {
 public:
  // The text is CP932; the caption is taken from g_messageCaption.
  explicit CMessageDlg(std::string_view textCp932);
};

// The about box (template 100): the version text and OK.
inline constexpr int kAboutDialogId = 100;
inline constexpr int kAboutTextId = 1046;

class CAboutDlg : public platform::Dialog {
 public:
  CAboutDlg();
};

}  // namespace dorn
