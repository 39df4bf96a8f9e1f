#include "kelto_dorn/camdata/process_name_dialog.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace c = process_name_ctl;

namespace {

constexpr std::size_t kLongestName = 60;
constexpr int kHoleProcessMode = 1;

// The three "_"-separated parts of a name; the third keeps any further "_".
void SplitName(const std::string& name, std::string parts[3]) {
  const std::size_t a = name.find('_');
  if (a == std::string::npos) {
    parts[0] = name;
    return;
  }
  parts[0] = name.substr(0, a);
  const std::size_t b = name.find('_', a + 1);
  if (b == std::string::npos) {
    parts[1] = name.substr(a + 1);
    return;
  }
  parts[1] = name.substr(a + 1, b - a - 1);
  parts[2] = name.substr(b + 1);
}

}  // namespace

CProcessNameDlg::CProcessNameDlg()
    : platform::Dialog(kProcessNameDialogId, Sjis("  工程名の登録"),
                       {ControlSpec(ControlKind::Edit, c::kFirst, "", 0, 160, 0, 0, 24),
                        ControlSpec(ControlKind::StaticText, -1, "_"),
                        ControlSpec(ControlKind::Edit, c::kSecond, "", 0, 140, 0, 0, 20),
                        ControlSpec(ControlKind::StaticText, -1, "_"),
                        ControlSpec(ControlKind::Edit, c::kThird, "", 0, 200, 0, 0, 32),
                        ControlSpec(ControlKind::PushButton, c::kOk, "OK"),
                        ControlSpec(ControlKind::PushButton, c::kCancel, Sjis("ｷｬﾝｾﾙ"))}) {}

bool CProcessNameDlg::OnInit() {
  mode_ = FocusedEditIndex;
  FocusedEditIndex = 0;
  std::string parts[3];
  SplitName(g_listTextBuffer, parts);
  SetText(c::kFirst, parts[0]);
  SetText(c::kSecond, parts[1]);
  SetText(c::kThird, parts[2]);
  return true;
}

void CProcessNameDlg::OnClick(int id) {
  if (id == c::kOk) Register();
  if (id == c::kCancel) EndDialog(2);
}

void CProcessNameDlg::OnOk() { Register(); }

void CProcessNameDlg::Register() {
  const std::string name = GetText(c::kFirst) + "_" + GetText(c::kSecond) + "_" + GetText(c::kThird);
  if (name.size() > kLongestName) {
    platform::ShowMessageBox(Sjis("※ 穴工程名登録名が長すぎます ！?"), "", 0x10);
    return;
  }
  if (!IsSafeFolderName(name)) {
    // The name becomes a folder: it may not leave its database folder.
    platform::ShowMessageBox(Sjis("※ フォルダ名に使えない工程名です ！?"), "", 0x10);
    return;
  }
  const char* root = mode_ == kHoleProcessMode ? "_ANA\\" : "_CPS\\";
  std::error_code ec;
  if (std::filesystem::exists(platform::ResolvePath(platform::DataRoot(), root + name), ec)) {
    const std::string question = Sjis("★ 上書きしても良いですか ??    \n  ") + name;
    if (platform::ShowMessageBox(question, "", 0x24) != platform::kIdYes) return;
  }
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", name.c_str());
  EndDialog(1);
}

}  // namespace dorn
