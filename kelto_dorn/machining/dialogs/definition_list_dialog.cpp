#include "kelto_dorn/machining/dialogs/definition_list_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/definition_list.h"
#include "kelto_dorn/machining/definition_list_lines.h"
#include "kelto_dorn/machining/definition_list_run.h"
#include "kelto_dorn/machining/dialogs/capsule_commands.h"
#include "kelto_dorn/machining/dialogs/machine_change.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = define_list_ctl;

namespace {

constexpr int kFullTable = 512;

std::vector<ControlSpec> ListControls() {
  // The column headings over the list's fixed-pitch lines.
  std::vector<ControlSpec> c = {
      {ControlKind::StaticText, -1,
       Sjis("  加工定義名                         工程          工具情報                                  図面名")}};
  for (int k = 0; k < ctl::kRowButtons; ++k) c.push_back({ControlKind::PushButton, ctl::kFirstRowButton + k, "No.000"});
  c.push_back({ControlKind::ListBox, ctl::kList, "", 0, 860, 360,
               platform::control_style::kMultiSelect | platform::control_style::kFixedPitch});
  c.push_back({ControlKind::ScrollBar, ctl::kScroll, "", 0, 0, 0, platform::control_style::kVertical});
  const unsigned pressable = platform::control_style::kCheckLook;
  c.push_back({ControlKind::PushButton, ctl::kEdit, Sjis("編集"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kCopy, Sjis("複写"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kDelete, Sjis("削除"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kAll, "ALL"});
  c.push_back({ControlKind::PushButton, ctl::kSort, Sjis("並替")});
  c.push_back({ControlKind::PushButton, ctl::kChangeMachine, Sjis("機械名の変更"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kCapsule, Sjis("カプセル登録"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kRun, Sjis("実 行"), 0, 0, 0, pressable});
  c.push_back({ControlKind::PushButton, ctl::kChoose, Sjis("選択"), 0, 0, 0, platform::control_style::kDefaultButton});
  c.push_back({ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ")});
  return c;
}

// A button shown pressed while its work runs.
class Pressed {
 public:
  Pressed(platform::Dialog& dialog, int id) : dialog_(dialog), id_(id) { dialog_.SetCheck(id_, 1); }
  ~Pressed() { dialog_.SetCheck(id_, 0); }
  Pressed(const Pressed&) = delete;
  Pressed& operator=(const Pressed&) = delete;

 private:
  platform::Dialog& dialog_;
  int id_;
};

}  // namespace

CDefineListDlg::CDefineListDlg(DefinitionSlots& slots, DocAtcTable& atc, int action)
    : platform::Dialog(kDefineListDialogId, Sjis("  加工定義の一覧"), ListControls()),
      slots_(slots),
      atc_(atc),
      action_(action) {}

void CDefineListDlg::ShowTitle(const char* formatUtf8) {
  const std::string format = Sjis(formatUtf8);
  const std::string machine = platform::FieldText(g_dbSelection.machineName);
  char title[256];
  std::snprintf(title, sizeof title, format.c_str(), machine.c_str());
  SetTitle(title);
}

bool CDefineListDlg::OnInit() {
  g_lastCapsuleName.clear();
  ShowTitle("  ◇ 加工定義の一覧表    機械名::%s");
  SetSteps(ctl::kScroll, 1, 6);
  SetAction(action_);
  Fill();
  return true;
}

void CDefineListDlg::Fill() {
  ResetContent(ctl::kList);
  for (const std::string& line : DefinitionListLines(slots_)) AddItem(ctl::kList, line);
  AddItem(ctl::kList, "[EOF]");
  SetRange(ctl::kScroll, 0, std::max(0, g_machiningCount - ctl::kRowButtons));
  SetTop(top_);
}

void CDefineListDlg::SetTop(int row) {
  top_ = std::clamp(row, 0, std::max(0, g_machiningCount - ctl::kRowButtons));
  SetPos(ctl::kScroll, top_);
  for (int k = 0; k < ctl::kRowButtons; ++k) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "No.%03d", top_ + k + 1);
    SetText(ctl::kFirstRowButton + k, caption);
  }
}

void CDefineListDlg::ScrollRows(int rows) { SetTop(top_ + rows); }

bool CDefineListDlg::OnMouseWheel(int, int delta) {
  constexpr int kNotch = 120;
  const int notches = delta / kNotch;
  if (notches == 0) return false;
  ScrollRows(-notches * ctl::kWheelRows);
  return true;
}

void CDefineListDlg::SetAction(int action) {
  action_ = action;
  SetCheck(ctl::kEdit, action == kListActionEdit ? 1 : 0);
  SetCheck(ctl::kCopy, action == kListActionCopy ? 1 : 0);
  SetCheck(ctl::kDelete, action == kListActionDelete ? 1 : 0);
  Enable(ctl::kAll, action == kListActionDelete);
}

std::vector<int> CDefineListDlg::ChosenRows() const {
  std::vector<int> rows;
  for (const int row : GetSelectedRows(ctl::kList)) {
    if (row >= 0 && row < g_machiningCount && std::find(rows.begin(), rows.end(), row) == rows.end())
      rows.push_back(row);
  }
  return rows;
}

void CDefineListDlg::Choose() {
  const std::vector<int> rows = ChosenRows();
  g_selectionList.fill(kSelectionEnd);
  const std::size_t n = std::min(rows.size(), g_selectionList.size() - 2);
  std::copy_n(rows.begin(), n, g_selectionList.begin());
  if (n > 0) EndDialog(platform::kIdOk);
}

void CDefineListDlg::MoveChosenBefore(int button) {
  const std::vector<int> rows = ChosenRows();
  if (rows.empty() || g_machiningCount >= kFullTable) return;
  MoveDefinitionRows(slots_, rows, top_ + button);
  Fill();
}

void CDefineListDlg::OnClick(int id) {
  if (id >= ctl::kFirstRowButton && id < ctl::kFirstRowButton + ctl::kRowButtons) {
    MoveChosenBefore(id - ctl::kFirstRowButton);
    return;
  }
  switch (id) {
    case ctl::kEdit:
      SetAction(kListActionEdit);
      break;
    case ctl::kCopy:
      MachiningOrderValid = 0;
      SetAction(kListActionCopy);
      break;
    case ctl::kDelete:
      MachiningOrderValid = 0;
      SetAction(kListActionDelete);
      break;
    case ctl::kAll:
      if (action_ == kListActionDelete) EndDialog(kListEndAll);
      break;
    case ctl::kSort:
      if (SortDefinitionsByName(slots_)) Fill();
      break;
    case ctl::kChangeMachine: {
      Pressed pressed(*this, id);
      if (ChangeMachine(slots_, atc_)) {
        ShowTitle("  ◇ 加工定義の一覧表\t 機械名::%s");
        Fill();
      }
      break;
    }
    case ctl::kCapsule: {
      Pressed pressed(*this, id);
      ExportCapsule(slots_, atc_);
      break;
    }
    case ctl::kRun: {
      Pressed pressed(*this, id);
      if (g_commandEngines.machiningOrder) g_commandEngines.machiningOrder();
      break;
    }
    case ctl::kChoose:
      Choose();
      break;
    case ctl::kCancel:
      EndDialog(platform::kIdCancel);
      break;
    default:
      break;
  }
  // The action buttons show the action, not the click.
  if (id == ctl::kEdit || id == ctl::kCopy || id == ctl::kDelete) SetAction(action_);
}

void CDefineListDlg::OnDoubleClick(int id) {
  if (id == ctl::kList && action_ != 0xF000) Choose();
}

void CDefineListDlg::OnScroll(int id) {
  if (id == ctl::kScroll) SetTop(GetPos(ctl::kScroll));
}

int RunDefineListDialog(DefinitionSlots& slots, DocAtcTable& atc, int& action) {
  CDefineListDlg dialog(slots, atc, action);
  const int end = RunModalDialog(dialog);
  action = dialog.Action();
  return end;
}

}  // namespace dorn
