#include "kelto_qup/shell/nc_editor.h"

#include <cstdio>
#include <vector>

#include "platform/application.h"
#include "platform/key_codes.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace qup::shell {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxSearch = 48;
constexpr unsigned kYesNoCancel = 0x23;

std::vector<platform::MenuItem> EditorMenu() {
  using platform::MenuItem;
  return {MenuItem(0, platform::Sjis("ファイル"),
                   {MenuItem(CNcEditDlg::kReload, platform::Sjis("読み込み(RELOAD)")),
                    MenuItem(CNcEditDlg::kSave, platform::Sjis("ファイルの保存(&S)"))}),
          MenuItem(0, platform::Sjis("編集(&E)"),
                   {MenuItem(CNcEditDlg::kFind, platform::Sjis("文字列の検索 (&F)")),
                    MenuItem(CNcEditDlg::kReplace, platform::Sjis("文字列の置換 (&R)"))})};
}

// Characters of a CP932 text (a double-byte character is one).
int CharacterCount(const std::string& text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++count) {
    if (platform::IsCp932LeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return count;
}

}  // namespace

// ---- find and replace dialogs

CFindTextDlg::CFindTextDlg()
    : Dialog(kTemplateId, platform::Sjis("文字列の検索"),
             {{platform::ControlKind::Edit, kText, "", 0, 260, 0, 0, kMaxSearch},
              {platform::ControlKind::PushButton, kOk, "O K"}}) {}

void CFindTextDlg::OnClick(int id) {
  if (id != kOk) return;
  text_ = GetText(kText);
  EndDialog(1);
}

CReplaceTextDlg::CReplaceTextDlg(bool firstShow, bool confirm, const std::string& oldText, const std::string& newText)
    : Dialog(kTemplateId, platform::Sjis("文字列の置換"),
             {{platform::ControlKind::Edit, kOld, "", 0, 260, 0, 0, kMaxSearch},
              {platform::ControlKind::Edit, kNew, "", 0, 260, 0, 0, kMaxSearch},
              {platform::ControlKind::RadioButton, kNoConfirm, platform::Sjis("確認なし")},
              {platform::ControlKind::RadioButton, kConfirm, platform::Sjis("確認あり")},
              {platform::ControlKind::PushButton, kReplace, platform::Sjis("置 換")},
              {platform::ControlKind::PushButton, kSkip, platform::Sjis("スキップ")},
              {platform::ControlKind::PushButton, kStop, platform::Sjis("中 止")}}),
      firstShow_(firstShow),
      confirm_(confirm),
      old_(oldText),
      new_(newText) {}

bool CReplaceTextDlg::OnInit() {
  SetText(kOld, old_);
  SetText(kNew, new_);
  SetCheck(kNoConfirm, !confirm_);
  SetCheck(kConfirm, confirm_);
  return true;
}

void CReplaceTextDlg::OnClick(int id) {
  if (id == kNoConfirm || id == kConfirm) confirm_ = id == kConfirm;
  if (id == kStop) EndDialog(2);
  if (id != kReplace && !(id == kSkip && !firstShow_)) return;
  old_ = GetText(kOld);
  new_ = GetText(kNew);
  EndDialog(id == kReplace ? 1 : kSkipResult);
}

// ---- the editor

CNcEditDlg::CNcEditDlg(fs::path file, std::string title)
    : Dialog(kTemplateId, std::move(title),
             {{platform::ControlKind::RichEdit, kEdit, "", 0, 760, 520, platform::control_style::kWantReturn}},
             EditorMenu()),
      file_(std::move(file)) {}

bool CNcEditDlg::OnInit() {
  Load();
  return true;
}

void CNcEditDlg::Load() {
  std::vector<std::uint8_t> bytes;
  platform::ReadWholeFile(file_, bytes);  // a missing file leaves the editor empty
  SetLimit(kEdit, bytes.size() > 16383 ? static_cast<int>(bytes.size()) + 65536 : 32768);
  StreamIn(kEdit, std::string(bytes.begin(), bytes.end()));
  SetModified(kEdit, false);
}

bool CNcEditDlg::Save() {
  const std::string text = StreamOut(kEdit);
  const platform::FileResult written = platform::WriteFileAtomic(file_, text.data(), text.size());
  if (!written.ok()) {
    platform::ShowMessageBox(platform::Utf8ToCp932(written.message), {}, 0x10);
    return false;  // the mark stays: the edits are still to be saved
  }
  SetModified(kEdit, false);
  return true;
}

int CNcEditDlg::FindNext(const std::string& text) {
  if (text.empty()) return -1;  // an empty text finds nothing
  const int from = GetSelection(kEdit).second;
  const int at = FindText(kEdit, text, from);
  if (at >= 0) SetSelection(kEdit, at, at + CharacterCount(text));
  return at;
}

void CNcEditDlg::Find() {
  CFindTextDlg dialog;
  if (dialog.DoModal() != 1) return;
  searchText_ = dialog.Text();
  const int from = GetSelection(kEdit).second;
  searchPosition_ = FindNext(searchText_);
  if (searchPosition_ >= 0) return;
  char message[256];
  std::snprintf(message, sizeof message, platform::Sjis("文字列[ %s ] \n%d行以降には見つかりません").c_str(),
                searchText_.c_str(), LineFromChar(kEdit, from) + 1);
  platform::ShowMessageBox(message, {}, 0x30);
}

void CNcEditDlg::Replace() {
  bool confirm = false, first = true;
  std::string oldText, newText;
  for (;;) {
    int answer = 1;
    if (first || confirm) {
      CReplaceTextDlg dialog(first, confirm, oldText, newText);
      answer = dialog.DoModal();
      oldText = dialog.OldText();
      newText = dialog.NewText();
      confirm = dialog.Confirm();
    }
    if (answer != 1 && answer != CReplaceTextDlg::kSkipResult) return;
    const auto [start, end] = GetSelection(kEdit);
    if (!first && answer == 1 && end > start) ReplaceSelection(kEdit, newText);
    first = false;
    if (FindNext(oldText) < 0) {
      platform::Beep();
      return;
    }
  }
}

void CNcEditDlg::OnCommand(int commandId) {
  if (commandId == kReload) Load();
  if (commandId == kSave) Save();
  if (commandId == kFind) Find();
  if (commandId == kReplace) Replace();
}

bool CNcEditDlg::OnKeyDown(int id, int key, unsigned) {
  if (id != kEdit || key != platform::FunctionKey(5)) return false;
  if (searchPosition_ >= 0) searchPosition_ = FindNext(searchText_);
  return true;
}

void CNcEditDlg::OnCancel() {
  if (IsModified(kEdit)) {
    const int answer = platform::ShowMessageBox(platform::Sjis("データを保存しますか ?"), {}, kYesNoCancel);
    if (answer == platform::kIdCancel) return;
    if (answer == platform::kIdYes && !Save()) return;  // not saved: the editor stays open
  }
  EndDialog(2);
}

int RunNcEditor(RunContext& run) {
  const handover::DrawingHeader& h = run.job.Header;
  std::string name = platform::FieldText(h.drawingName);
  const std::string extension = platform::FieldText(h.dataExtension);
  name += "." + extension;
  const std::string relative = run.DatFolderRelative(name);
  const fs::path file = platform::ResolvePath(platform::DataRoot(), relative);
  std::string root = platform::SystemName(platform::DataRoot());
  CNcEditDlg dialog(file, root + "\\" + relative);
  return dialog.DoModal();
}

}  // namespace qup::shell
