#include "kelto_dorn/machining/dialogs/define_group_dialog.h"

#include <cstdio>

#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = define_group_ctl;

namespace {

constexpr int kNameBytes = 64;

std::vector<ControlSpec> GroupControls() {
  static const char* const kLabels[10] = {"レイヤ１", "レイヤ２", "レイヤ３", "レイヤ４", "レイヤ５",
                                          "レイヤ６", "レイヤ７", "レイヤ８", "レイヤ９", "レイヤ１０"};
  std::vector<ControlSpec> c;
  for (int i = 0; i < 10; ++i) {
    c.emplace_back(ControlKind::StaticText, -1, Sjis(kLabels[i]));
    c.emplace_back(ControlKind::Edit, ctl::kNames[i], "", 0, 320, 0, 0, kNameBytes - 1);
  }
  c.emplace_back(ControlKind::PushButton, ctl::kRegister, Sjis("登録"));
  c.emplace_back(ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ"));
  return c;
}

int FieldIndex(int id) {
  for (int i = 0; i < 10; ++i) {
    if (ctl::kNames[i] == id) return i;
  }
  return -1;
}

}  // namespace

CDefineGroupDlg::CDefineGroupDlg()
    : platform::Dialog(kDefineGroupDialogId, Sjis("  加工定義のグループ名の登録"), GroupControls()) {}

// The field that had the focus keeps its text without leading blanks and
// shows it as " %s".
void CDefineGroupDlg::Commit() {
  if (focused_ < 0) return;
  const std::string text = GetText(ctl::kNames[focused_]);
  const std::size_t first = text.find_first_not_of(' ');
  names_[static_cast<std::size_t>(focused_)] = first == std::string::npos ? std::string() : text.substr(first);
  SetText(ctl::kNames[focused_], " " + names_[static_cast<std::size_t>(focused_)]);
  focused_ = -1;
}

void CDefineGroupDlg::OnFocusGained(int id) {
  const int field = FieldIndex(id);
  if (field == focused_) return;
  Commit();
  focused_ = field;
}

void CDefineGroupDlg::OnClick(int id) {
  if (id == ctl::kRegister) {
    Commit();
    EndDialog(1);
  } else if (id == ctl::kCancel) {
    EndDialog(2);
  }
}

}  // namespace dorn
