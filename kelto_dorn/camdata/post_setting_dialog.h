#pragma once
// The post settings dialog (IDD 234, "  ポスト設定 "): edits the current post
// of the post table on three pages: two pages of option rows, each a pair of
// choice buttons, and a page of the six block templates; the post's name on
// every page. "登 録" writes "$POST.@@@" and closes with 1; "ｷｬﾝｾﾙ" closes
// with 2 and reads the file again, so that the table the builder uses keeps
// what the companion will read.
#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "shared/handover/post_definition.h"

namespace dorn {

inline constexpr int kPostSettingDialogId = 234;

namespace post_setting {
inline constexpr int kTabs = 1600, kNumberText = 1601;
inline constexpr int kNameButton = 1610, kNameEdit = 1620;
inline constexpr int kFirstBlockButton = 1611, kFirstBlockEdit = 1621;  // six each
inline constexpr int kNewPost = 1630, kPostList = 1631, kRegister = 1632, kCancel = 1633;
inline constexpr int kRows = 18;
inline constexpr int kFirstRowCaption = 3000;  // + row
inline constexpr int kFirstChoice = 3100;      // + 2 row (first choice), + 2 row + 1 (second)
}  // namespace post_setting

class CPostSettingDlg : public platform::Dialog {
 public:
  CPostSettingDlg();

  int Page() const { return page_; }
  // The colour a row's choice button is drawn in (for the tests).
  platform::Color ChoiceColour(int buttonId) const;
  std::string ChoiceCaption(int buttonId) const;

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  handover::PostDefinition& Post();
  const handover::PostDefinition& Post() const;
  void LabelPage();
  void ShowValues();
  void CommitPending();
  void ClickChoice(int row, int choice);
  void Register();
  void NewPost();

  int page_ = 0;     // 0, 1 or 2
  int pending_ = 0;  // the edit whose text is not yet in the post, 0 none
  bool firstDisplayDone_ = false;
};

}  // namespace dorn
