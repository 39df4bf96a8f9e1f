#pragma once
// The NC text editor (start mode 33 and the view's editor command): one NC
// program of the drawing's "DAT" folder, named by "$EDIT.@@@", in a rich
// edit with reload, save, find and replace. Saving writes the whole file
// under a temporary name and renames it; a file that cannot be written is
// named and keeps the modified mark, so no edit is lost on closing.
#include <filesystem>
#include <string>

#include "kelto_qup/engine/run_context.h"
#include "platform/dialog.h"

namespace qup::shell {

class CFindTextDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 145, kText = 1003, kOk = 1016;
  CFindTextDlg();
  const std::string& Text() const { return text_; }

 protected:
  void OnClick(int id) override;
  void OnOk() override { OnClick(kOk); }

 private:
  std::string text_;
};

class CReplaceTextDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 146, kOld = 1003, kNew = 1005, kReplace = 1016, kSkip = 1017, kStop = 1018;
  static constexpr int kNoConfirm = 300, kConfirm = 301;
  static constexpr int kSkipResult = 1234;
  CReplaceTextDlg(bool firstShow, bool confirm, const std::string& oldText, const std::string& newText);
  const std::string& OldText() const { return old_; }
  const std::string& NewText() const { return new_; }
  bool Confirm() const { return confirm_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;

 private:
  bool firstShow_;
  bool confirm_;
  std::string old_, new_;
};

class CNcEditDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 140, kEdit = 4435;
  static constexpr int kReload = 32827, kSave = 32828, kFind = 32833, kReplace = 32834;
  explicit CNcEditDlg(std::filesystem::path file, std::string titleCp932);
  // True when the text went to the file (the modified mark is cleared).
  bool Save();
  void Load();
  // The next match of `text` from the end of the selection; -1 when none.
  int FindNext(const std::string& text);

 protected:
  bool OnInit() override;
  void OnCommand(int commandId) override;
  bool OnKeyDown(int id, int key, unsigned modifiers) override;
  void OnOk() override {}
  void OnCancel() override;

 private:
  void Find();
  void Replace();
  std::filesystem::path file_;
  std::string searchText_;
  int searchPosition_ = -1;
};

// Runs the editor on the file the header names; 2 when it closes.
int RunNcEditor(RunContext& run);

}  // namespace qup::shell
