#include "kelto_dorn/machining/dialogs/hole_process_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/tooldb/atc_list.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_csv.h"
#include "kelto_dorn/tooldb/hole_processes.h"
#include "kelto_dorn/tooldb/process_folders.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace c = hole_process_ctl;

namespace {

constexpr int kRows = HoleProcessRecord::kRowCount;
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr int kNoFirstRow = 9;
constexpr int kPrintHoleProcesses = 810;

std::vector<ControlSpec> EditorControls() {
  std::vector<ControlSpec> v{
      ControlSpec(ControlKind::GroupBox, 2200, Sjis("工具の選択")),
      ControlSpec(ControlKind::PushButton, c::kMachineChange, Sjis("機械の変更"), 2200),
      ControlSpec(ControlKind::StaticText, -1, Sjis("工具名"), 2200),
      ControlSpec(ControlKind::ComboBox, c::kToolName, "", 2200, 320, 0, 0, 62),
      ControlSpec(ControlKind::StaticText, -1, Sjis("[φ]="), 2200),
      ControlSpec(ControlKind::Edit, c::kDiameter, "", 2200, 90, 0, 0, 24),
      ControlSpec(ControlKind::ListBox, c::kList, "", 2200, 760, 200, platform::control_style::kFixedPitch),
      ControlSpec(ControlKind::GroupBox, 2240, Sjis("穴工程::新規作成")),
      ControlSpec(ControlKind::PushButton, c::kProcessName, Sjis("工程名"), 2240),
      ControlSpec(ControlKind::Edit, c::kNameField, "", 2240, 360, 0, platform::control_style::kReadOnly),
      ControlSpec(ControlKind::PushButton, c::kRegister, Sjis("新規登録"), 2240),
      ControlSpec(ControlKind::PushButton, c::kDeleteMode, Sjis("削除"), 2240, 0, 0, kCheckLook),
      ControlSpec(ControlKind::PushButton, c::kReset, "RESET", 2240),
      ControlSpec(ControlKind::PushButton, c::kPrint, Sjis("プリント"), 2240),
      ControlSpec(ControlKind::StaticText, -1,
                  Sjis("ATC番号  工具名                    SEC名         工具[φ] 回転[S] 送り[F] 固定[G]    刃長"), 2240),
  };
  for (int r = 0; r < kRows; ++r) {
    char label[16];
    std::snprintf(label, sizeof label, "工程_%02d", r + 1);
    v.push_back(ControlSpec(ControlKind::PushButton, c::kRowButton + r, Sjis(label), 2240, 0, 0, kCheckLook));
    v.push_back(ControlSpec(ControlKind::Edit, c::kRowField + r, "", 2240, 700, 0,
                            platform::control_style::kReadOnly));
  }
  v.push_back(ControlSpec(ControlKind::PushButton, c::kExport, Sjis("エクスポート")));
  v.push_back(ControlSpec(ControlKind::PushButton, c::kImport, Sjis("インポート")));
  return v;
}

std::string Machine() { return platform::FieldText(g_dbSelection.machineName); }

}  // namespace

CHoleProcessDbDlg::CHoleProcessDbDlg(DocAtcTable& atc)
    : platform::Dialog(kHoleProcessDialogId, Sjis("  穴加工の機械別工程登録  "), EditorControls()), atc_(atc) {}

bool CHoleProcessDbDlg::OnInit() {
  g_toolDiameterFilter = 0.0;
  g_atcListCount = 0;
  row_ = -1;
  deleteMode_ = false;
  if (Machine().empty()) {
    EndDialog(platform::kIdCancel);
    return true;
  }
  ClearHoleProcess(g_holeProcess, atc_, false);
  SelectRow(0);
  FillToolNameCombo(false);
  ShowCaption();
  return true;
}

void CHoleProcessDbDlg::ShowCaption() { SetTitle(Sjis("  ＜ＤＢＳ＞ 穴加工の工程登録...  機械名 :: ") + Machine()); }

void CHoleProcessDbDlg::FillToolNameCombo(bool namesOnly) {
  ResetContent(c::kToolName);
  if (Machine().empty()) return;
  platform::SetFieldText(g_holeProcess.machineName, Machine());
  SetText(c::kNameField, " " + platform::FieldText(g_holeProcess.name));
  g_atcListCount = LoadAtcTable(atc_);
  const std::string kept = g_toolNameFilter;
  std::string filter;
  std::vector<std::string> names;
  for (int j = 0; j < std::min(g_atcListCount, DocAtcTable::kRowCount); ++j) {
    const AtcRecord& row = atc_.Record(j);
    const std::string name = platform::FieldText(row.toolName);
    if (row.cannedCycle < 1 || name == filter) continue;
    filter = name;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  for (const std::string& n : names) AddItem(c::kToolName, n);
  if (namesOnly) {
    g_toolNameFilter = kept;
    return;
  }
  g_toolNameFilter = filter;
  SetText(c::kToolName, filter);
  FillList();
  ShowRows();
}

void CHoleProcessDbDlg::FillList() {
  ResetContent(c::kList);
  for (const std::string& line : FillAtcListBox(atc_, kListHoleTools)) AddItem(c::kList, line);
}

void CHoleProcessDbDlg::ShowRows() {
  for (int r = 0; r < kRows; ++r) SetText(c::kRowField + r, "");
  for (int r = 0; r < kRows && g_holeProcess.rowNumbers[r] != 0; ++r) {
    AtcRecord& row = g_holeProcess.rows[r];
    const AtcFieldTexts t = FormatThroughScratch(atc_, row, DocAtcTable::kScratchSlot);
    char line[256];
    std::snprintf(line, sizeof line, "ATC_%04d %-24s  %-12s %7s %7s %7s %6s  %7s", row.atcNumber,
                  t.toolName.c_str(), t.secName.c_str(), t.diameter.c_str(), t.spindleSpeed.c_str(), t.feed.c_str(),
                  t.cannedCycle.c_str(), t.fluteLength.c_str());
    SetText(c::kRowField + r, line);
  }
  SetText(c::kNameField, " " + platform::FieldText(g_holeProcess.name));
}

void CHoleProcessDbDlg::SelectRow(int row) {
  row_ = row;
  for (int r = 0; r < kRows; ++r) SetCheck(c::kRowButton + r, r == row ? 1 : 0);
}

void CHoleProcessDbDlg::ResetEditor() {
  deleteMode_ = false;
  SetCheck(c::kDeleteMode, 0);
  lastName_ = platform::FieldText(g_holeProcess.name).empty() ? lastName_ : platform::FieldText(g_holeProcess.name);
  ClearHoleProcess(g_holeProcess, atc_, true);
  SelectRow(0);
  ShowRows();
}

void CHoleProcessDbDlg::ReopenLast() {
  if (lastName_.empty()) return;
  if (!ReadHoleProcess(lastName_, g_holeProcess).ok()) return;
  MatchHoleProcessToAtcTable(g_holeProcess, atc_);
  ShowRows();
}

void CHoleProcessDbDlg::TakeListLine() {
  if (row_ < 0) return;
  const int line = GetCurSel(c::kList);
  if (line < 0) {
    platform::ShowMessageBox(Sjis("※ 工具リストの選択が出来ません ??"), "", 0x10);
    return;
  }
  const int slot = SlotOfListLine(atc_, line);
  if (slot < 0) return;
  CopyRecord168(g_holeProcess.rows[row_], atc_.Record(slot));
  g_holeProcess.rowNumbers[row_] = row_ + 1;
  platform::SetFieldText(g_holeProcess.machineName, Machine());
  ShowRows();
  SelectRow(row_ + 1 < kRows ? row_ + 1 : -1);
}

void CHoleProcessDbDlg::ChooseProcess() {
  FocusedEditIndex = kProcessFolderMode;
  CProcessNameSelectDlg chooser;
  const int result = RunModalDialog(chooser);
  FocusedEditIndex = 0;
  if (result != 1) return;
  const std::string name = g_listTextBuffer;
  lastName_ = name;
  platform::SetFieldText(g_holeProcess.name, name);
  ReadHoleProcess(name, g_holeProcess);  // a missing file leaves the record
  MatchHoleProcessToAtcTable(g_holeProcess, atc_);
  ShowRows();
  SelectRow(-1);
}

void CHoleProcessDbDlg::RegisterProcess() {
  if (!(g_holeProcess.rows[0].diameter > 0.0f)) {
    ShowMessage(kNoFirstRow);
    return;
  }
  std::snprintf(g_listTextBuffer, kTextBufferSize, "%s", lastName_.c_str());
  FocusedEditIndex = kProcessFolderMode;
  CProcessNameDlg namer;
  const int result = RunModalDialog(namer);
  FocusedEditIndex = 0;
  if (result != 1) return;
  const std::string name = g_listTextBuffer;
  platform::SetFieldText(g_holeProcess.name, name);
  lastName_ = name;
  if (!WriteHoleProcess(g_holeProcess).ok()) {
    // The process stays in the editor, so nothing composed is lost.
    const auto path = HoleProcessFilePath(name);
    std::snprintf(g_textBuffer, sizeof g_textBuffer, "%s", path ? platform::SystemName(*path).c_str() : name.c_str());
    ShowMessage(50);
    ShowRows();
    return;
  }
  ResetEditor();
}

void CHoleProcessDbDlg::PrintProcesses() {
  RegisterPrintLists lists;
  lists.processes = ListProcessFolders(kProcessFolderMode);
  lists.currentProcess = &g_holeProcess;
  SetupPrinterDC(kPrintHoleProcesses, lists);
  ReopenLast();
  ResetEditor();
}

void CHoleProcessDbDlg::ChangeMachine() {
  FocusedEditIndex = kPostListModeMachine;
  CPostListDlg machines;
  const int result = RunModalDialog(machines);
  FocusedEditIndex = 0;
  if (result != 1) return;
  FillToolNameCombo(true);
  FillList();
  ShowRows();
  ShowCaption();
}

void CHoleProcessDbDlg::OnClick(int id) {
  if (id >= c::kRowButton && id < c::kRowButton + kRows) {
    const int row = id - c::kRowButton;
    SelectRow(row);
    if (deleteMode_) {
      DeleteHoleProcessRow(g_holeProcess, row, atc_);
      ShowRows();
    }
    return;
  }
  switch (id) {
    case c::kMachineChange:
      return ChangeMachine();
    case c::kDeleteMode:
      deleteMode_ = !deleteMode_;
      SetCheck(c::kDeleteMode, deleteMode_);
      return SelectRow(-1);
    case c::kReset:
      return ResetEditor();
    case c::kProcessName:
      deleteMode_ = false;
      SetCheck(c::kDeleteMode, 0);
      return ChooseProcess();
    case c::kRegister:
      deleteMode_ = false;
      SetCheck(c::kDeleteMode, 0);
      return RegisterProcess();
    case c::kPrint:
      return PrintProcesses();
    case c::kExport:
      ExportHoleProcesses(atc_);
      ResetEditor();
      FillToolNameCombo(false);
      ReopenLast();
      return ResetEditor();
    case c::kImport:
      ImportHoleProcesses(atc_);
      return ShowRows();
    default:
      return;
  }
}

void CHoleProcessDbDlg::OnFocusGained(int id) {
  if (id == c::kDiameter) g_toolDiameterFilter = -1.0;
  if (id >= c::kRowField && id < c::kRowField + kRows) OnClick(c::kRowButton + (id - c::kRowField));
}

void CHoleProcessDbDlg::OnOk() {
  if (FocusedControl() == c::kDiameter && g_toolDiameterFilter < 0.0) {
    const std::string text = GetText(c::kDiameter);
    if (text.find_first_not_of(' ') != std::string::npos) g_toolDiameterFilter = ParseNumber(text.c_str());
    SetText(c::kDiameter, NumberText(g_toolDiameterFilter));
    FillList();
    return;
  }
  NextControl();
}

void CHoleProcessDbDlg::OnSelectionChanged(int id) {
  if (id != c::kToolName) return;
  const int sel = GetCurSel(id);
  if (sel < 0) return;
  ToolNameFromText(GetItemText(id, sel));
  FillList();
}

void CHoleProcessDbDlg::OnDoubleClick(int id) {
  if (id == c::kList) TakeListLine();
}

int RunHoleProcessDialog(DocAtcTable& atc) {
  CHoleProcessDbDlg dialog(atc);
  return RunModalDialog(dialog);
}

}  // namespace dorn
