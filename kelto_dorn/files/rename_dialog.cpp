// The name dialog: see rename_dialog.h.
#include "kelto_dorn/files/rename_dialog.h"

#include <fstream>

#include "kelto_dorn/app/command_engines.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
namespace id = rename_dialog;

// Names typed here become folder or file names of at most 48 bytes.
constexpr int kNameLimit = 48;
constexpr std::size_t kHistoryLineLimit = 191;
constexpr char kHistoryFile[] = "SunText.txt";

struct ModeTexts {
  int mode;
  const char* caption;  // "%s": the default name
  const char* label;
};
constexpr ModeTexts kModes[] = {
    {kRenameCopiedFile, "  ファイル名の変更 :: %s ", "新しいファイル名"},
    {kRenameJoinedFile, "  ファイルの結合 :: %s ", "新しいファイル名"},
    {kRenameTextInput, "  テキストの入力", "テキスト"},
    {kRenameNewBase, "  ＤＢＳ基本ベース名の新規作成", "ＤＢＳ基本ベース名"},
    {kRenameBase, "  ＤＢＳ基本ベース名の変更", "ＤＢＳ基本ベース名"},
    {kRenameNewToolFolder, "  工具名の新規作成成", "工具名"},
    {kRenameToolFolder, "  工具名の変更", "工具名"},
    {kRenameNewMachine, "  工作機械名の新規作成", "工作機械名"},
    {kRenameMachine, "  工作機械名の変更", "工作機械名"},
    {kRenameDefaults, "  加工定義の初期値登録名の変更", "加工定義の初期値登録名"},
    {kRenameNewMaterial, "  加工_材料名の新規作成", "加工材料名"},
    {kRenameMaterial, "  加工_材料名の変更", "加工材料名"},
};

const ModeTexts* TextsOf(int mode) {
  for (const ModeTexts& m : kModes)
    if (m.mode == mode) return &m;
  return nullptr;
}

std::string Limited(const std::string& s) { return s.substr(0, platform::Cp932PrefixLength(s, kNameLimit)); }

}  // namespace

CRenameDlg::CRenameDlg(std::string_view currentName)
    : platform::Dialog(kRenameDialogId, platform::Sjis("ファイル名の変更"),
                       {{ControlKind::StaticText, id::kLabel, ""},
                        {ControlKind::Edit, id::kName, "", 0, 260, 0, 0, kNameLimit},
                        {ControlKind::ListBox, id::kHistory, "", 0, 260, 120},
                        {ControlKind::PushButton, id::kOk, "OK", 0, 0, 0, platform::control_style::kDefaultButton},
                        {ControlKind::PushButton, id::kCancel, platform::Sjis("キャンセル")}}),
      name_(currentName),
      default_(currentName) {}

bool CRenameDlg::OnInit() {
  if (const ModeTexts* texts = TextsOf(g_renameMode)) SetText(id::kLabel, platform::Sjis(texts->label));
  Show(id::kHistory, g_renameMode == kRenameTextInput);
  if (g_renameMode == kRenameTextInput) {
    for (const std::string& line : ReadTextHistory()) AddItem(id::kHistory, line);
  }
  SetText(id::kName, Limited(name_));
  SetFocus(id::kName);
  return false;
}

void CRenameDlg::OnShow() {
  const ModeTexts* texts = TextsOf(g_renameMode);
  if (texts == nullptr) {
    SetTitle("");  // a join in progress
    return;
  }
  std::string caption = platform::Sjis(texts->caption);
  const std::size_t at = caption.find("%s");
  if (at != std::string::npos) caption.replace(at, 2, default_);
  SetTitle(caption);
}

void CRenameDlg::OnSelectionChanged(int controlId) {
  // A history line chosen becomes the text.
  if (controlId == id::kHistory) SetText(id::kName, Limited(GetItemText(id::kHistory, GetCurSel(id::kHistory))));
}

// In text input the wheel walks the history, one line per turn (down for a
// turn away from the user), round from the last line to the first and back.
bool CRenameDlg::OnMouseWheel(int, int delta) {
  if (g_renameMode != kRenameTextInput) return false;
  const int count = GetCount(id::kHistory);
  if (count == 0) return true;
  historyPosition_ = (historyPosition_ + (delta > 0 ? 1 : count - 1)) % count;
  SetText(id::kName, Limited(GetItemText(id::kHistory, historyPosition_)));
  return true;
}

void CRenameDlg::OnClick(int controlId) {
  if (controlId == id::kOk) OnOk();
  if (controlId == id::kCancel) OnCancel();
}

void CRenameDlg::OnOk() {
  name_ = GetText(id::kName);
  if (name_.empty()) name_ = Limited(default_);
  if (g_renameMode == kRenameTextInput) {
    std::vector<std::string> history;
    for (int i = 0; i < GetCount(id::kHistory); ++i) history.push_back(GetItemText(id::kHistory, i));
    WriteTextHistory(name_, history);
  }
  ResetContent(id::kHistory);
  EndDialog(platform::kIdOk);
}

void CRenameDlg::OnCancel() {
  ResetContent(id::kHistory);
  EndDialog(platform::kIdCancel);
}

std::vector<std::string> ReadTextHistory() {
  std::vector<std::string> lines;
  std::ifstream in(platform::ProgramFolder() / kHistoryFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(line.substr(0, platform::Cp932PrefixLength(line, kHistoryLineLimit)));
  }
  return lines;
}

bool WriteTextHistory(const std::string& text, const std::vector<std::string>& history) {
  std::string out = text + "\n";
  for (const std::string& line : history)
    if (text.find(line) == std::string::npos) out += line + "\n";
  return platform::WriteFileAtomic(platform::ProgramFolder() / kHistoryFile, out.data(), out.size()).ok();
}

bool RunRenameDialog(int mode, std::string& name) {
  g_renameMode = mode;
  CRenameDlg dialog(name);
  const int result = dialog.DoModal();
  g_renameMode = 0;
  if (result != platform::kIdOk) return false;
  name = dialog.Name();
  return true;
}

void InstallRenameDialog() {
  g_commandEngines.renameDialog = RunRenameDialog;
  g_commandEngines.textInputDialog = [](std::string& text) { return RunRenameDialog(kRenameTextInput, text); };
}

}  // namespace dorn
