#pragma once
// The print choices: CPrintOutputDlg (IDD 233, "プリント出力") chooses NC data,
// machining information or the drawing with the tool-table range and the
// colours; CPrintListDlg (IDD 324, "◇ プリント出力") which database list.
// Both end with 120 when the user asks for the font choice (the caller shows
// it and opens the dialog again).
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kPrintOutputDialogId = 233;
inline constexpr int kPrintListDialogId = 324;
inline constexpr int kAskFontChoice = 120;
// The framework's print set-up and font commands.
inline constexpr int kPrintSetupButton = 57606;
inline constexpr int kFontButton = 1206;

inline constexpr int kPrintNcData = 20;
inline constexpr int kPrintMachiningInfo = 30;
inline constexpr int kPrintDrawingData = 40;

namespace print_output {
inline constexpr int kNcData = 1273, kInfo = 1274, kDrawing = 1275, kAll = 1203, kBothEnds = 1204, kStandard = 1148,
                     kBlack = 1149, kDark = 1150, kRun = 1178;
}
namespace print_list {
inline constexpr int kFirst = 1148, kSecond = 1149, kThird = 1150, kRun = 1178;
}

class CPrintOutputDlg : public platform::Dialog {
 public:
  explicit CPrintOutputDlg(int& printMode);
  void SetPrintMode(int mode);

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;

 private:
  int& printMode_;
};

class CPrintListDlg : public platform::Dialog {
 public:
  // printMode: 800 tool lists, 810 hole-process lists, 820 ATC lists.
  CPrintListDlg(int printMode, int& choice);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;

 private:
  int printMode_;
  int& choice_;
};

}  // namespace dorn
