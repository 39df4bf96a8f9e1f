#pragma once
// The curve list (template 174, "  曲線一覧"): a modeless window beside the
// view that lists the curves of the current layer or of every layer. While
// a command runs, a double click hands the chosen names to the command
// (SelectCurvesByName); without a command it opens the chosen curve's
// registration record for editing. "ALL" (only while deleting) chooses every
// curve.
#include <vector>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCurveListDialogId = 174;
inline constexpr int kCurveListBox = 1024;
inline constexpr int kCurveListAll = 1000;
inline constexpr int kCurveListCurrentLayer = 1148;
inline constexpr int kCurveListAllLayers = 1149;
// At most this many list rows can be chosen at once.
inline constexpr int kCurveListSelectionLimit = 480;

class CCurveListDlg : public platform::Dialog {
 public:
  CCurveListDlg();
  // The rows chosen, in order (at most kCurveListSelectionLimit).
  const std::vector<int>& Chosen() const { return chosen_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Fill();
  void CopyChosenNames();
  void EditChosenCurve();
  void Close();

  int allLayers_ = 0;
  std::vector<int> chosen_;
};

// Command 33000: opens the curve list unless it is open or no curve exists.
void OnCurveList();
// Closes the open curve list (the cancel of a curve command).
void CloseCurveList();
// The open curve list, or null.
CCurveListDlg* OpenCurveList();

}  // namespace dorn
