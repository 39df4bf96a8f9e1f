#pragma once
// The tool details of every process step (template 149): one tab per step
// in use; each field edits the selected step's tool record at once. The
// radius fields and the point fields are coupled so that a tool stays either
// a radius tool (corner and flat radius) or a pointed tool (tip angle and
// tip length).
#include <string>

#include "platform/dialog.h"

namespace dorn {

struct AtcRecord;

inline constexpr int kToolDetailDialogId = 149;

// The fields of the dialog, which are also the control ids.
namespace tool_detail_ctl {
inline constexpr int kTabs = 1900;
inline constexpr int kToolName = 1901;
inline constexpr int kSecName = 1902;
inline constexpr int kDiameter = 1903;
inline constexpr int kCornerRadius = 1904;
inline constexpr int kFlatRadius = 1905;
inline constexpr int kTipAngle = 1906;
inline constexpr int kTipLength = 1907;
inline constexpr int kFluteLength = 1908;
inline constexpr int kSpindle = 1909;
inline constexpr int kFeed = 1910;
inline constexpr int kCycle = 1911;
inline constexpr int kPeck = 1912;
inline constexpr int kPCode = 1913;
inline constexpr int kMCode = 1914;
inline constexpr int kHCode = 1915;
inline constexpr int kKCode = 1916;
inline constexpr int kOutputT = 1917;
inline constexpr int kPostM = 1918;
inline constexpr int kCoolant = 1919;
inline constexpr int kTapTwice = 1920;
}  // namespace tool_detail_ctl

// Stores the text of one field into a tool record with the coupling rules;
// an empty text changes nothing (except the post M code, which becomes 0).
void CommitToolDetailField(AtcRecord& tool, int field, const std::string& textCp932);

class CToolDetailDlg : public platform::Dialog {
 public:
  CToolDetailDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;

 private:
  AtcRecord& Tool();
  void Commit();
  void ShowToolDetail();
  int tab_ = 0;
  int focused_ = 0;
};

}  // namespace dorn
