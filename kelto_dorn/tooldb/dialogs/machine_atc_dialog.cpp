// The machine ATC editor: see machine_atc_dialog.h.
#include "kelto_dorn/tooldb/dialogs/machine_atc_dialog.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/tooldb/atc_csv.h"
#include "kelto_dorn/tooldb/atc_rows.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
using platform::Sjis;
namespace id = machine_atc;
constexpr unsigned kToggle = platform::control_style::kCheckLook;

constexpr int kNameLimit = 48;
constexpr int kPrintAtc = 820;
constexpr int kRenameNewMachineMode = 0x400;
constexpr int kRenameMachineMode = 0x420;
// Scroll steps of the row view: one row, or twelve of the fifteen.
constexpr int kLineStep = 1;
constexpr int kPageStep = 12;
// A double click without a chosen record line: the error box without a text.
constexpr int kErrorNoRecordLine = -80;
constexpr unsigned kStopIcon = 0x10;
constexpr char kNoRowChosenText[] =
    "※ 工具を入れるＡＴＣ行の選択がありません ??\n\n"
    "先に左の ATC_ ボタン（または行）で行を選び、工具をダブルクリックして下さい。";

std::vector<platform::ControlSpec> ControlTable() {
  std::vector<platform::ControlSpec> c = {
      {ControlKind::StaticText, -1, Sjis("機 械 名")},
      {ControlKind::ComboBox, id::kMachineCombo, "", 0, 260, 0, 0, kNameLimit},
      {ControlKind::PushButton, id::kNewMachine, Sjis("新規")},
      {ControlKind::PushButton, id::kRenameMachine, Sjis("変更")},
      {ControlKind::PushButton, id::kDeleteMachine, Sjis("削除")},
      {ControlKind::StaticText, -1, Sjis("工具名")},
      {ControlKind::StaticText, -1, Sjis("SEC名")},
      {ControlKind::StaticText, -1, Sjis("工具φ")},
      {ControlKind::PushButton, id::kColumnToggle, Sjis("回転Ｓ")},
      {ControlKind::StaticText, -1, Sjis("送り[F]")},
      {ControlKind::StaticText, -1, Sjis("切削油")},
      {ControlKind::GroupBox, 1448, ""},
  };
  for (int r = 1; r <= id::kRows; ++r) {
    char caption[16];
    std::snprintf(caption, sizeof caption, "ATC_%04d", r);
    c.push_back({ControlKind::PushButton, id::kRowButtonBase + r, caption, 1448, 0, 0, kToggle});
    c.push_back({ControlKind::Edit, id::kRowFieldBase + r, "", 1448, 560, 0, platform::control_style::kReadOnly});
  }
  c.push_back({ControlKind::ScrollBar, id::kScroll, "", 0, 0, 300, platform::control_style::kVertical});
  for (auto [control, caption] : {std::pair{id::kInsert, "行追加"}, {id::kDeleteRows, "行削除"}, {id::kClear, "クリヤー"}}) {
    c.push_back({ControlKind::PushButton, control, Sjis(caption), 0, 0, 0, kToggle});
  }
  for (auto [control, caption] : {std::pair{id::kCopyConvert, "コピー変換"}, {id::kPrint, "プリント"},
                                  {id::kExport, "エクスポート"}, {id::kImport, "インポート"}}) {
    c.push_back({ControlKind::PushButton, control, Sjis(caption)});
  }
  c.push_back({ControlKind::StaticText, -1, Sjis("基本ベース名")});
  c.push_back({ControlKind::ComboBox, id::kBaseCombo, "", 0, 220, 0, 0, kNameLimit});
  c.push_back({ControlKind::GroupBox, 1449, Sjis("工具の選択")});
  c.push_back({ControlKind::ComboBox, id::kToolCombo, "", 1449, 220, 0, 0, kNameLimit});
  // Over the columns of the record lines ("%12s %7s %7s").
  c.push_back({ControlKind::StaticText, -1, ColumnHeading({{"SEC名", 12}, {"工具φ", 20}, {"Ｒ径", 28}}), 1449});
  c.push_back({ControlKind::ListBox, id::kRecordList, "", 1449, 260, 240, platform::control_style::kFixedPitch});
  c.push_back({ControlKind::PushButton, id::kClose, Sjis("終了")});
  return c;
}

std::string CurrentMachine() { return platform::FieldText(g_dbSelection.machineName); }

bool AskName(int mode, std::string& name) {
  return g_commandEngines.renameDialog && g_commandEngines.renameDialog(mode, name);
}

}  // namespace

CMachineAtcDbDlg::CMachineAtcDbDlg(DocAtcTable& atc, DocToolTable& tools)
    : platform::Dialog(kMachineAtcDialogId, Sjis("機械別ＡＴＣの登録"), ControlTable()), atc_(atc), tools_(tools) {}

CMachineAtcDbDlg::~CMachineAtcDbDlg() { tools_.Release(); }

bool CMachineAtcDbDlg::OnInit() {
  FocusedEditIndex = 0;
  ResetRowState();
  scroll_ = 0;
  showCornerRadius_ = false;
  SetRange(id::kScroll, 0, id::kScrollMax);
  SetSteps(id::kScroll, kLineStep, kPageStep);
  std::error_code ec;
  std::filesystem::create_directories(AtcRootPath(), ec);
  if (!tools_.Allocate()) ShowMessage(94);
  if (ReadDbSelection() != 0) {
    // Without a selection file the editor closes at once, leaving one for
    // the next opening.
    Close();
    return false;
  }
  FillToolDbLists();
  FillMachineList();
  return true;
}

std::vector<std::string> CMachineAtcDbDlg::Items(int combo) const {
  std::vector<std::string> items;
  for (int i = 0; i < GetCount(combo); ++i) items.push_back(GetItemText(combo, i));
  return items;
}

void CMachineAtcDbDlg::ResetRowState() {
  selectedRow_ = 0;
  insertMode_ = deleteMode_ = clearMode_ = false;
  for (int button : {id::kInsert, id::kDeleteRows, id::kClear}) SetCheck(button, 0);
}

// --- lists ---

void CMachineAtcDbDlg::FillToolDbLists() {
  ResetContent(id::kBaseCombo);
  ResetContent(id::kToolCombo);
  ResetContent(id::kRecordList);
  const std::vector<std::string> bases = ListBases();
  for (const std::string& b : bases) AddItem(id::kBaseCombo, b);
  if (bases.empty() && platform::FieldText(g_dbSelection.baseName).empty()) {
    SetFocus(id::kBaseCombo);
    return;
  }
  SetBaseName(ChooseListedName(bases, platform::FieldText(g_dbSelection.baseName)));
  const std::string base = platform::FieldText(g_dbSelection.baseName);
  const std::vector<std::string> tools = ListToolFolders(base);
  for (const std::string& t : tools) AddItem(id::kToolCombo, t);
  SetToolName(ChooseListedName(tools, platform::FieldText(g_dbSelection.toolName)));
  const std::string tool = platform::FieldText(g_dbSelection.toolName);
  SetText(id::kBaseCombo, base);
  SetText(id::kToolCombo, tool);
  ClearToolTable(tools_);
  g_dbSelection.chosenFlags = (base.empty() ? 0 : kBaseChosen) | (tool.empty() ? 0 : kToolFolderChosen);
  if (g_dbSelection.chosenFlags != (kBaseChosen | kToolFolderChosen)) return;
  const int count = LoadToolRecords(tools_);
  for (int i = 0; i < count; ++i) {
    const ToolFieldTexts t = FormatToolRecord(tools_, i);
    char line[96];
    std::snprintf(line, sizeof line, "%12s %7s %7s", t.secName.c_str(), t.diameter.c_str(), t.cornerRadius.c_str());
    AddItem(id::kRecordList, line);
  }
}

void CMachineAtcDbDlg::FillMachineList() {
  ResetContent(id::kMachineCombo);
  std::vector<std::string> machines = ListUserFolders(AtcRootPath());
  for (const std::string& m : machines) AddItem(id::kMachineCombo, m);
  if (CurrentMachine().empty() && machines.empty()) {
    SetFocus(id::kMachineCombo);
    return;
  }
  if (!machines.empty()) SetMachineName(ChooseListedName(machines, CurrentMachine()));
  SetText(id::kMachineCombo, CurrentMachine());
  LoadAtcTable(atc_);
  if (atc_.ReadFailed()) {
    const auto path = AtcFilePath(CurrentMachine());
    if (path) PutPathInTextBuffer(*path);
    ShowMessage(50);
  }
  selectedRow_ = 0;
  scroll_ = 0;
  SetPos(id::kScroll, 0);
  clearMode_ = false;
  SetCheck(id::kClear, 0);
  ShowAtcRows();
}

void CMachineAtcDbDlg::ShowAtcRows() {
  for (int r = 1; r <= id::kRows; ++r) {
    const int slot = scroll_ + r - 1;
    const AtcFieldTexts t = FormatAtcRecord(atc_, slot);
    const std::string& fourth = showCornerRadius_ ? t.cornerRadius : t.spindleSpeed;
    char line[256];
    std::snprintf(line, sizeof line, "%24s%s%-12s %7s %7s %7s  %7s", t.toolName.c_str(), Sjis("＿").c_str(),
                  t.secName.c_str(), t.diameter.c_str(), fourth.c_str(), t.feed.c_str(), t.coolant.c_str());
    SetText(id::kRowFieldBase + r, line);
    char caption[16];
    std::snprintf(caption, sizeof caption, "ATC_%04d", atc_.Record(slot).atcNumber);
    SetText(id::kRowButtonBase + r, caption);
    SetCheck(id::kRowButtonBase + r, r == selectedRow_);
  }
}

// --- rows ---

bool CMachineAtcDbDlg::TableLocked() {
  if (!atc_.ReadFailed()) return false;
  SignalBeep();  // the table's file could not be read: its rows are not to be changed
  return true;
}

void CMachineAtcDbDlg::SelectAtcRow(int row) {
  if (row < 1 || row > id::kRows) return;
  selectedRow_ = row;
  const int slot = scroll_ + row - 1;
  if ((insertMode_ || deleteMode_ || clearMode_) && TableLocked()) {
    ShowAtcRows();
    return;
  }
  if (insertMode_) {
    if (!InsertAtcRow(atc_, slot)) SignalBeep();  // the last row holds a tool
  } else if (deleteMode_) {
    DeleteAtcRow(atc_, slot);
  }
  if (clearMode_) ClearAtcRecord(atc_, slot);
  ShowAtcRows();
}

void CMachineAtcDbDlg::PickToolIntoAtcRow(int recordLine) {
  if (selectedRow_ == 0) {
    // Nothing says which row the tool is for: the user is told how to choose
    // one rather than left with a double click that does nothing.
    platform::ShowMessageBox(Sjis(kNoRowChosenText), "", kStopIcon);
    return;
  }
  if (recordLine < 0 || recordLine >= GetCount(id::kRecordList)) {
    g_textBuffer[0] = '\0';
    ShowErrorCode(kErrorNoRecordLine);
    return;
  }
  if (TableLocked() || !tools_.IsAllocated()) return;
  const int slot = scroll_ + selectedRow_ - 1;
  PlaceToolInAtcRow(atc_, slot, tools_.Record(recordLine), platform::FieldText(g_dbSelection.toolName));
  if (selectedRow_ < id::kRows) {
    ++selectedRow_;
  } else {
    scroll_ = std::min(scroll_ + 1, id::kScrollMax);
    SetPos(id::kScroll, scroll_);
  }
  clearMode_ = false;
  SetCheck(id::kClear, 0);
  ShowAtcRows();
}

void CMachineAtcDbDlg::ToggleMode(int button) {
  bool& mode = button == id::kInsert ? insertMode_ : button == id::kDeleteRows ? deleteMode_ : clearMode_;
  mode = !mode;
  if (mode && button == id::kInsert) deleteMode_ = false;
  if (mode && button == id::kDeleteRows) insertMode_ = false;
  SetCheck(id::kInsert, insertMode_);
  SetCheck(id::kDeleteRows, deleteMode_);
  SetCheck(id::kClear, clearMode_);
}

// --- events ---

void CMachineAtcDbDlg::OnFocusGained(int control) {
  const int row = control - id::kRowFieldBase;
  if (row >= 1 && row <= id::kRows) SelectAtcRow(row);
}

void CMachineAtcDbDlg::OnClick(int control) {
  const int row = control - id::kRowButtonBase;
  if (row >= 1 && row <= id::kRows) {
    SelectAtcRow(row);
    return;
  }
  switch (control) {
    case id::kInsert:
    case id::kDeleteRows:
    case id::kClear: ToggleMode(control); break;
    case id::kColumnToggle:
      showCornerRadius_ = !showCornerRadius_;
      SetText(id::kColumnToggle, Sjis(showCornerRadius_ ? "Ｒ径" : "回転Ｓ"));
      ShowAtcRows();
      break;
    case id::kNewMachine: NewMachine(); break;
    case id::kRenameMachine: RenameMachine(); break;
    case id::kDeleteMachine: DeleteMachine(); break;
    case id::kCopyConvert: CopyConvert(); break;
    case id::kPrint: Print(); break;
    case id::kExport: Export(); break;
    case id::kImport: Import(); break;
    case id::kClose: Close(); break;
    default: break;
  }
}

void CMachineAtcDbDlg::OnSelectionChanged(int control) {
  const int line = GetCurSel(control);
  if (line < 0) return;
  if (control == id::kBaseCombo) {
    SetBaseName(GetItemText(control, line));
    FillToolDbLists();
  } else if (control == id::kToolCombo) {
    SetToolName(GetItemText(control, line));
    FillToolDbLists();
  } else if (control == id::kMachineCombo) {
    WriteCurrentTable();
    SetMachineName(GetItemText(control, line));
    FillMachineList();
  }
}

void CMachineAtcDbDlg::OnDoubleClick(int control) {
  if (control == id::kRecordList) PickToolIntoAtcRow(GetCurSel(id::kRecordList));
}

void CMachineAtcDbDlg::OnScroll(int control) {
  if (control != id::kScroll) return;
  scroll_ = std::clamp(GetPos(id::kScroll), 0, id::kScrollMax);
  ShowAtcRows();
}

// --- machines ---

void CMachineAtcDbDlg::WriteCurrentTable() { WriteAtcTable(atc_, CurrentMachine()); }

void CMachineAtcDbDlg::NewMachine() {
  WriteCurrentTable();
  std::string name = CurrentMachine();
  if (!AskName(kRenameNewMachineMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  if (SetMachineName(name) != 0) {
    SetFocus(id::kMachineCombo);
    return;
  }
  const auto folder = MachineFolderPath(CurrentMachine());
  std::error_code ec;
  if (!folder || !(std::filesystem::create_directories(*folder, ec), std::filesystem::is_directory(*folder, ec))) {
    g_dbSelection = before;
    ShowMessage(44);
    return;
  }
  FillMachineList();
  SelectAtcRow(1);
}

void CMachineAtcDbDlg::RenameMachine() {
  WriteCurrentTable();
  std::string name = CurrentMachine();
  if (!AskName(kRenameMachineMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  if (SetMachineName(name) == 0) {
    const std::string newName = CurrentMachine();
    g_dbSelection = before;
    if (RenameDatabaseFolder(AtcRootPath(), CurrentMachine(), newName)) SetMachineName(newName);
  } else {
    g_dbSelection = before;
  }
  FillMachineList();
}

void CMachineAtcDbDlg::DeleteMachine() {
  WriteCurrentTable();
  const std::string machine = CurrentMachine();
  if (machine.empty()) return;
  if (ShowMessage(7) != kAnswerYes || ShowMessage(8) != kAnswerYes) return;
  if (const auto file = AtcFilePath(machine)) RemoveDatabaseFile(*file);
  if (const auto folder = MachineFolderPath(machine)) RemoveDatabaseFolder(*folder);
  for (const std::string& m : Items(id::kMachineCombo)) {
    if (m != machine) {
      SetMachineName(m);
      break;
    }
  }
  FillMachineList();
}

void CMachineAtcDbDlg::CopyConvert() {
  std::string source;
  FocusedEditIndex = 50;
  const bool chosen = g_commandEngines.chooseMachineDialog && g_commandEngines.chooseMachineDialog(source);
  if (chosen) {
    CopyConvertAtcTable(atc_, tools_, source);
    // The refresh read other tool folders into the tool table: list the
    // chosen folder again, so a double click takes the record it shows.
    FillToolDbLists();
  }
  selectedRow_ = 0;
  FocusedEditIndex = 0;
  scroll_ = 0;
  SetPos(id::kScroll, 0);
  ShowAtcRows();
}

void CMachineAtcDbDlg::Print() {
  WriteDbSelection();
  WriteCurrentTable();
  RegisterPrintLists lists;
  lists.bases = Items(id::kBaseCombo);
  lists.toolFolders = Items(id::kToolCombo);
  lists.machines = Items(id::kMachineCombo);
  SetupPrinterDC(kPrintAtc, lists);
  ReadDbSelection();
  FocusedEditIndex = 0;
  ResetRowState();
  LoadAtcTable(atc_);
  ShowAtcRows();
}

void CMachineAtcDbDlg::Export() {
  WriteDbSelection();
  WriteCurrentTable();
  ExportAtcTables(atc_, Items(id::kMachineCombo));
  ReadDbSelection();
  FocusedEditIndex = 0;
  ResetRowState();
  LoadAtcTable(atc_);
  ShowAtcRows();
}

void CMachineAtcDbDlg::Import() {
  const std::string question = Sjis("※「ATC_Export.csv」をＤＢに取り込みします。\n宜しいですか ？");
  if (platform::ShowMessageBox(question, "", 0x24) != platform::kIdYes) return;
  if (ImportAtcTables(atc_)) FillMachineList();
}

void CMachineAtcDbDlg::Close() {
  if (closed_) return;
  closed_ = true;
  WriteDbSelection();
  WriteCurrentTable();
  tools_.Release();
  EndDialog(1);
}

}  // namespace dorn
