#pragma once
// The definition list (IDD 292, "  加工定義の一覧"): every stored definition
// with its step count, tool and figure. The action buttons choose what the
// chosen rows are for (編集 re-edit, 複写 copy, 削除 delete); 選択 or a double
// click closes with the rows chosen (in g_selectionList, ended by 0xFFFF),
// ALL in delete mode closes with 9999. Inside the list the rows chosen so
// far move in front of a row by that row's number button, 並替 sorts by
// name, 機械名の変更 changes the machine and rebinds every definition's
// tools, カプセル登録 exports the definitions as a capsule and 実 行 opens the
// machining order. Deletions happen after the list has closed.
#include <vector>

#include "platform/dialog.h"

namespace dorn {

class DefinitionSlots;
class DocAtcTable;

inline constexpr int kDefineListDialogId = 292;

namespace define_list_ctl {
inline constexpr int kList = 1024;
inline constexpr int kScroll = 1191;
inline constexpr int kFirstRowButton = 1179;  // 12 of them, 1179-1190
inline constexpr int kRowButtons = 12;
inline constexpr int kEdit = 1175;
inline constexpr int kDelete = 1345;
inline constexpr int kCopy = 1344;
inline constexpr int kAll = 1000;
inline constexpr int kSort = 1564;
inline constexpr int kChangeMachine = 33168;
inline constexpr int kCapsule = 1563;
inline constexpr int kRun = 1523;
inline constexpr int kChoose = 1;
inline constexpr int kCancel = 2;
// The wheel moves the rows by this many.
inline constexpr int kWheelRows = 2;
}  // namespace define_list_ctl

class CDefineListDlg : public platform::Dialog {
 public:
  // Starts with `action` (0xF100, 0xF200 or 0xF300).
  CDefineListDlg(DefinitionSlots& slots, DocAtcTable& atc, int action);

  // The action the list ended in.
  int Action() const { return action_; }
  int TopRow() const { return top_; }
  // Moves the shown rows by `rows`.
  void ScrollRows(int rows);
  // The mouse wheel over the dialog (delta 120 a notch, positive away from
  // the user): kWheelRows rows a notch. The dialogs' wheel event calls it by
  // this name and signature.
  bool OnMouseWheel(int id, int delta);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnDoubleClick(int id) override;
  void OnScroll(int id) override;
  void OnOk() override { Choose(); }

 private:
  void Fill();
  void SetTop(int row);
  void SetAction(int action);
  void ShowTitle(const char* formatUtf8);
  std::vector<int> ChosenRows() const;
  void Choose();
  void MoveChosenBefore(int button);

  DefinitionSlots& slots_;
  DocAtcTable& atc_;
  int action_;
  int top_ = 0;
};

// Runs the list modally from `action`; the end code, the final action in
// `action`.
int RunDefineListDialog(DefinitionSlots& slots, DocAtcTable& atc, int& action);

}  // namespace dorn
