#include "kelto_dorn/machining/dialogs/capsule_name_dialogs.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/machining/settings_writes.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = capsule_name_ctl;

namespace {

constexpr int kNameLimit = 14;
constexpr char kFileName[] = "$cps_name.@@@";

std::filesystem::path NameFile() { return platform::DataRoot() / kFileName; }

std::vector<ControlSpec> NameControls() {
  std::vector<ControlSpec> c = {ControlSpec(ControlKind::GroupBox, 1300, Sjis("カプセル加工名"))};
  char label[8];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(label, sizeof label, "%02d.", i + 1);
    c.emplace_back(ControlKind::StaticText, -1, label, 1300);
    c.emplace_back(ControlKind::Edit, ctl::kNames[i], "", 1300, 150, 0, 0, kNameLimit);
  }
  c.emplace_back(ControlKind::PushButton, ctl::kRegister, Sjis("登録"));
  c.emplace_back(ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ"));
  return c;
}

}  // namespace

CapsuleNameTable ReadCapsuleNames() {
  CapsuleNameTable table;
  CapsuleNameTable read;
  const platform::FileResult r = platform::ReadRecord(NameFile(), read);
  if (r.ok()) {
    for (auto& name : read.names) name[sizeof name - 1] = '\0';
    return read;
  }
  if (!r.missing()) ReportFileFault(r);
  return table;
}

CCapsuleNameSetDlg::CCapsuleNameSetDlg() : platform::Dialog(kCapsuleNameSetDialogId, Sjis("加工名の設定"), NameControls()) {}

bool CCapsuleNameSetDlg::OnInit() {
  table_ = ReadCapsuleNames();
  for (int i = 0; i < 16; ++i) SetText(ctl::kNames[i], platform::FieldText(table_.names[i], 32));
  return true;
}

// Leading blanks are dropped; the rest is the name.
void CCapsuleNameSetDlg::Commit() {
  if (focused_ < 0) return;
  const std::string text = GetText(ctl::kNames[focused_]);
  const std::size_t first = text.find_first_not_of(' ');
  platform::SetFieldText(table_.names[focused_], first == std::string::npos ? std::string() : text.substr(first));
  focused_ = -1;
}

void CCapsuleNameSetDlg::OnFocusGained(int id) {
  Commit();
  for (int i = 0; i < 16; ++i) {
    if (ctl::kNames[i] == id) focused_ = i;
  }
}

void CCapsuleNameSetDlg::OnClick(int id) {
  if (id == ctl::kRegister) {
    Commit();
    if (WriteSettingsFile(NameFile(), &table_, sizeof table_)) EndDialog(1);
  } else if (id == ctl::kCancel) {
    EndDialog(2);
  }
}

CCapsuleNameListDlg::CCapsuleNameListDlg()
    : platform::Dialog(kCapsuleNameListDialogId, Sjis("カプセル名一覧"),
                       {ControlSpec(ControlKind::ListBox, ctl::kList, "", 0, 220, 260),
                        ControlSpec(ControlKind::PushButton, ctl::kRegister, Sjis("選択"))}) {}

bool CCapsuleNameListDlg::OnInit() {
  const CapsuleNameTable table = ReadCapsuleNames();
  char line[48];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(line, sizeof line, "%02d.%s", i + 1, platform::FieldText(table.names[i], 32).c_str());
    AddItem(ctl::kList, line);
  }
  return true;
}

void CCapsuleNameListDlg::Take() {
  const int row = GetCurSel(ctl::kList);
  if (row < 0) return;
  platform::SetFieldText(g_textBuffer, GetItemText(ctl::kList, row));
  EndDialog(platform::kIdOk);
}

void CCapsuleNameListDlg::OnClick(int id) {
  if (id == ctl::kRegister) Take();
}

void CCapsuleNameListDlg::OnDoubleClick(int id) {
  if (id == ctl::kList) Take();
}

}  // namespace dorn
