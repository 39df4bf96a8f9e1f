// The tool database editor: see tool_database_dialog.h.
#include "kelto_dorn/tooldb/dialogs/tool_database_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/dialogs/tool_info_convert_dialog.h"
#include "kelto_dorn/tooldb/dialogs/tool_setup_dialog.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_csv.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
using platform::Sjis;
namespace id = tool_db;
constexpr unsigned kToggle = platform::control_style::kCheckLook;

// Names typed into the two lists keep at most 48 bytes.
constexpr int kNameLimit = 48;
// The record list shows this many lines at a time.
constexpr int kVisibleLines = 15;
// Typing in stops before the input slot would pass this index (the load
// limit of 765 records less the input and scratch slots).
constexpr int kLastTypedIndex = 764;
constexpr int kPrintTools = 800;
// Modes of the name dialog.
constexpr int kRenameNewBaseMode = 0x100;
constexpr int kRenameBaseMode = 0x110;
constexpr int kRenameNewToolMode = 0x200;
constexpr int kRenameToolMode = 0x220;

// The record fields in tab order, with their labels.
struct FieldLabel {
  int field;
  const char* labelUtf8;
};
constexpr FieldLabel kFields[] = {
    {tool_field::kSecName, "SEC名"},     {tool_field::kDiameter, "工具φ"},     {tool_field::kCornerRadius, "Ｒ径"},
    {tool_field::kFlatRadius, "Ｆ径"},   {tool_field::kTipAngle, "先端角"},    {tool_field::kTipLength, "先端長"},
    {tool_field::kSpindleSpeed, "回転[S]"}, {tool_field::kFeed, "送り[F]"},    {tool_field::kFixedCycle, "固定[G]"},
    {tool_field::kQValue, "切込[Q]"},    {tool_field::kPValue, "P_CODE"},      {tool_field::kMCode, "M_CODE"},
    {tool_field::kFluteLength, "刃長"},  {tool_field::kG84Twice, "G842回"},    {tool_field::kTNumber, "Tｺｰﾄﾞ"},
    {tool_field::kHCode, "H_CODE"},      {tool_field::kDCode, "D_CODE"},       {tool_field::kCoolant, "切削油"},
};

int FieldControl(int field) { return id::kFieldBase + field; }
int FieldOfControl(int control) {
  const int field = control - id::kFieldBase;
  return (field >= 1 && field <= tool_field::kLast) || field == tool_field::kSecName ? field : 0;
}

int NextField(int field) {
  for (std::size_t i = 0; i + 1 < std::size(kFields); ++i) {
    if (kFields[i].field == field) return kFields[i + 1].field;
  }
  return 0;
}

std::vector<platform::ControlSpec> ControlTable() {
  std::vector<platform::ControlSpec> c = {
      {ControlKind::StaticText, -1, Sjis("基本ベース名")},
      {ControlKind::ComboBox, id::kBaseCombo, "", 0, 220, 0, 0, kNameLimit},
      {ControlKind::PushButton, id::kNewBase, Sjis("新規作成")},
      {ControlKind::PushButton, id::kRenameBase, Sjis("名前の変更")},
      {ControlKind::PushButton, id::kDeleteBase, Sjis("削  除")},
      {ControlKind::StaticText, -1, Sjis("工具名")},
      {ControlKind::ComboBox, id::kToolCombo, "", 0, 220, 0, 0, kNameLimit},
      {ControlKind::PushButton, id::kNewTool, Sjis("新規作成")},
      {ControlKind::PushButton, id::kRenameTool, Sjis("名前の変更")},
      {ControlKind::PushButton, id::kDeleteTool, Sjis("削  除")},
      {ControlKind::PushButton, id::kInput, Sjis("データ入力"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kEdit, Sjis("データ編集"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kDelete, Sjis("データ削除"), 0, 0, 0, kToggle},
      {ControlKind::ListBox, id::kList, "", 0, 1000, 260},
  };
  c.push_back({ControlKind::GroupBox, 2999, Sjis("工具データ")});
  for (const FieldLabel& f : kFields) {
    c.push_back({ControlKind::StaticText, -1, Sjis(f.labelUtf8), 2999});
    c.push_back({ControlKind::Edit, FieldControl(f.field), "", 2999, 90, 0, 0, 32});
  }
  c.push_back({ControlKind::StaticText, -1, Sjis("1:油 2:エア"), 2999});
  c.push_back({ControlKind::StaticText, -1, Sjis("3:Ｓ油 4:Ｓエア"), 2999});
  for (auto [control, caption] : {std::pair{id::kSort, "工具φ順に並び替え"}, {id::kConvert, "データ変換"},
                                  {id::kSetup, "工具セットＵＰ"}, {id::kPrint, "プリント"},
                                  {id::kExport, "エクスポート"}, {id::kImport, "インポート"},
                                  {id::kRegister, "登  録"}, {id::kCancel, "キャンセル"}}) {
    c.push_back({ControlKind::PushButton, control, Sjis(caption)});
  }
  return c;
}

std::string ListLine(ToolFieldTexts t) {
  char line[512];
  std::snprintf(line, sizeof line,
                "%12s %7s  %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s %7s %5s %5s %7s %7s %7s", t.secName.c_str(),
                t.diameter.c_str(), t.cornerRadius.c_str(), t.flatRadius.c_str(), t.tipAngle.c_str(),
                t.tipLength.c_str(), t.spindleSpeed.c_str(), t.feed.c_str(), t.fixedCycle.c_str(), t.qValue.c_str(),
                t.pValue.c_str(), t.mCode.c_str(), t.fluteLength.c_str(), t.g84Twice.c_str(), t.tNumber.c_str(),
                t.hCode.c_str(), t.dCode.c_str(), t.coolant.c_str());
  return line;
}

std::string CurrentBase() { return platform::FieldText(g_dbSelection.baseName); }
std::string CurrentTool() { return platform::FieldText(g_dbSelection.toolName); }

// Runs the name dialog; false when cancelled or not installed.
bool AskName(int mode, std::string& name) {
  return g_commandEngines.renameDialog && g_commandEngines.renameDialog(mode, name);
}

}  // namespace

CToolDatabaseDlg::CToolDatabaseDlg(DocToolTable& table)
    : platform::Dialog(kToolDatabaseDialogId, Sjis("工具データベースの登録"), ControlTable()), table_(table) {}

CToolDatabaseDlg::~CToolDatabaseDlg() { table_.Release(); }

bool CToolDatabaseDlg::OnInit() {
  state_ = ToolFolderState{};
  g_curToolIndex = 0;
  editMode_ = kEditInput;
  deleteMode_ = false;
  feedFactor_ = spindleFactor_ = 1.0;
  if (!table_.Allocate()) ShowMessage(94);
  if (ReadDbSelection() != 0) {
    // A first opening: the user names a first base and tool folder.
    NewBase();
    NewToolFolder();
  }
  RefreshLists();
  return false;
}

std::vector<std::string> CToolDatabaseDlg::Items(int combo) const {
  std::vector<std::string> items;
  for (int i = 0; i < GetCount(combo); ++i) items.push_back(GetItemText(combo, i));
  return items;
}

// --- lists and records ---

void CToolDatabaseDlg::RefreshLists() {
  editMode_ = kEditInput;
  deleteMode_ = false;
  focusedField_ = 0;
  ResetContent(id::kBaseCombo);
  ResetContent(id::kToolCombo);
  ClearToolTable(table_);
  g_curToolIndex = 0;
  state_.count = 0;
  state_.modified = false;
  state_.readFailed = false;
  const std::vector<std::string> bases = ListBases();
  for (const std::string& b : bases) AddItem(id::kBaseCombo, b);
  if (bases.empty()) {
    SetBaseName("");
    SetText(id::kBaseCombo, "");
    SetText(id::kToolCombo, "");
    g_dbSelection.chosenFlags = 0;
    FillRecordList();
    SetFocus(id::kBaseCombo);
    return;
  }
  SetBaseName(ChooseListedName(bases, CurrentBase()));
  const std::vector<std::string> tools = ListToolFolders(CurrentBase());
  for (const std::string& t : tools) AddItem(id::kToolCombo, t);
  SetToolName(ChooseListedName(tools, CurrentTool()));
  SetText(id::kBaseCombo, CurrentBase());
  SetText(id::kToolCombo, CurrentTool());
  g_dbSelection.chosenFlags = (CurrentBase().empty() ? 0 : kBaseChosen) | (CurrentTool().empty() ? 0 : kToolFolderChosen);
  if (g_dbSelection.chosenFlags == (kBaseChosen | kToolFolderChosen)) {
    platform::FileResult read;
    state_.count = LoadToolRecords(table_, &read);
    if (!read.ok() && !read.missing()) {
      // The file is there but unreadable: show it, and never write over it.
      state_.readFailed = true;
      const auto path = ToolFilePath(CurrentBase(), CurrentTool());
      if (path) PutPathInTextBuffer(*path);
      ShowMessage(50);
    }
  }
  FillRecordList();
  EnterInputMode();
}

void CToolDatabaseDlg::FillRecordList() {
  ResetContent(id::kList);
  for (int i = 0; i < state_.count; ++i) AddItem(id::kList, ListLine(FormatToolRecord(table_, i)));
}

void CToolDatabaseDlg::ShowRecordFields() {
  if (!table_.IsAllocated()) return;
  const ToolRecord& r = table_.Record(std::clamp(g_curToolIndex, 0, DocToolTable::kSlotCount - 1));
  for (const FieldLabel& f : kFields) SetText(FieldControl(f.field), ToolFieldText(r, f.field));
}

void CToolDatabaseDlg::ShowToggles() {
  SetCheck(id::kInput, !deleteMode_ && editMode_ == kEditInput);
  SetCheck(id::kEdit, !deleteMode_ && editMode_ == kEditAll);
  SetCheck(id::kDelete, deleteMode_);
}

void CToolDatabaseDlg::WarnAboutCopyError() {
  // The action goes on; saving stays refused until the editor opens again.
  if (state_.copyError) ShowMessage(98);
}

void CToolDatabaseDlg::EnterInputMode() {
  WarnAboutCopyError();
  editMode_ = kEditInput;
  g_curToolIndex = state_.count;
  ShowToggles();
  SetCurSel(id::kList, -1);
  ShowRecordFields();
  focusedField_ = 0;
  SetFocus(FieldControl(tool_field::kSecName));
  SetSelection(FieldControl(tool_field::kSecName), 0, -1);
}

void CToolDatabaseDlg::ShowRecordForEdit(int slot) {
  WarnAboutCopyError();
  if (slot < 0 || slot >= state_.count) return;
  g_curToolIndex = slot;
  ShowRecordFields();
  SetCurSel(id::kList, slot);
  ShowToggles();
  focusedField_ = 0;
  SetFocus(FieldControl(tool_field::kSecName));
}

void CToolDatabaseDlg::DeleteRecord(int slot) {
  WarnAboutCopyError();
  if (state_.count == 0 || slot < 0 || slot >= state_.count) return;
  state_.count = DeleteToolRecord(table_, state_.count, slot);
  g_curToolIndex = state_.count;
  state_.modified = true;
  FillRecordList();
  SetCurSel(id::kList, -1);
  ShowRecordFields();
}

// --- fields ---

void CToolDatabaseDlg::CommitField(int field, bool moveOn) {
  if (field == 0 || !table_.IsAllocated()) return;
  const std::string text = GetText(FieldControl(field));
  ToolRecord& r = table_.Record(g_curToolIndex);
  // Only text the user typed is taken: a field shows "  ----" for values it
  // does not hold, and reading that back would change the record.
  if (typed_ && StoreToolField(r, field, text) && g_curToolIndex < state_.count) {
    state_.modified = true;  // an existing record changed
  }
  typed_ = false;
  ShowRecordFields();
  if (moveOn) MoveOn(field);
}

void CToolDatabaseDlg::MoveOn(int field) {
  if (field == tool_field::kDiameter) {
    const std::string text = GetText(FieldControl(field));
    if (text.empty() || table_.Record(g_curToolIndex).diameter == 0.0f) return;
  }
  if (field != tool_field::kLast) {
    focusedField_ = 0;
    SetFocus(FieldControl(NextField(field)));
    return;
  }
  CompleteRecord();
}

void CToolDatabaseDlg::CompleteRecord() {
  if (!table_.IsAllocated()) return;
  state_.modified = true;
  if (editMode_ == kEditInput) {
    if (g_curToolIndex + 1 > kLastTypedIndex) {
      ShowMessage(102);
    } else {
      ++g_curToolIndex;
    }
    state_.count = g_curToolIndex;
    // The next record starts as a copy of this one.
    if (state_.count > 0) CopyToolRecord(table_.Record(state_.count), table_.Record(state_.count - 1));
    FillRecordList();
    EnterInputMode();
    return;
  }
  const int next = g_curToolIndex + 1;
  g_curToolIndex = state_.count;
  FillRecordList();
  if (editMode_ == kEditAll && next < state_.count) {
    ShowRecordForEdit(next);
  } else {
    EnterInputMode();
  }
}

void CToolDatabaseDlg::OnFocusGained(int control) {
  const int field = FieldOfControl(control);
  if (field != 0 && field == focusedField_) return;
  CommitField(focusedField_, false);
  focusedField_ = field;
  typed_ = false;
}

void CToolDatabaseDlg::OnTextChanged(int control) {
  if (FieldOfControl(control) != 0 && FieldOfControl(control) == focusedField_) typed_ = true;
}

void CToolDatabaseDlg::OnOk() {
  // Enter commits the field and moves on; it never closes the editor.
  if (focusedField_ != 0) CommitField(focusedField_, true);
}

void CToolDatabaseDlg::OnCancel() { Close(); }

// --- bases and tool folders ---

bool CToolDatabaseDlg::Save() { return SaveToolFile(table_, state_) != SaveOutcome::Failed; }

void CToolDatabaseDlg::OnSelectionChanged(int control) {
  if (control == id::kBaseCombo) ChooseBase();
  if (control == id::kToolCombo) ChooseToolFolder();
}

void CToolDatabaseDlg::ChooseBase() {
  const int line = GetCurSel(id::kBaseCombo);
  if (line < 0) return;
  Save();
  SetBaseName(GetItemText(id::kBaseCombo, line));
  SetToolName(GetText(id::kToolCombo));
  if (CurrentTool().empty()) {
    SetFocus(id::kToolCombo);
    return;
  }
  // The current tool folder name also exists in the newly chosen base.
  MakeToolFolder(CurrentBase(), CurrentTool());
  RefreshLists();
}

void CToolDatabaseDlg::ChooseToolFolder() {
  const int line = GetCurSel(id::kToolCombo);
  if (line < 0) return;
  Save();
  SetBaseName(GetText(id::kBaseCombo));
  SetToolName(GetItemText(id::kToolCombo, line));
  RefreshLists();
}

void CToolDatabaseDlg::NewBase() {
  Save();
  const std::string oldBase = CurrentBase();
  const bool hadBases = GetCount(id::kBaseCombo) > 0;
  std::string name = oldBase;
  if (!AskName(kRenameNewBaseMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  if (SetBaseName(name) != 0) {
    SetFocus(id::kBaseCombo);  // an empty name: the user picks or types a base
    return;
  }
  if (!MakeBaseFolder(CurrentBase())) {
    g_dbSelection = before;
    ShowMessage(44);
    return;
  }
  if (hadBases && !oldBase.empty() && ShowMessage(6) == kAnswerYes) {
    CopyBaseToolFolders(oldBase, CurrentBase(), state_);
  }
  if (!CurrentTool().empty()) MakeToolFolder(CurrentBase(), CurrentTool());
  RefreshLists();
}

void CToolDatabaseDlg::NewToolFolder() {
  Save();
  std::string name = CurrentTool();
  if (!AskName(kRenameNewToolMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  if (SetToolName(name) != 0) {
    SetFocus(id::kToolCombo);
    return;
  }
  if (!MakeToolFolder(CurrentBase(), CurrentTool())) {
    g_dbSelection = before;
    ShowMessage(44);
    return;
  }
  RefreshLists();
}

void CToolDatabaseDlg::RenameBase() {
  Save();
  std::string name = CurrentBase();
  if (!AskName(kRenameBaseMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  if (SetBaseName(name) == 0) {
    const std::string newName = CurrentBase();
    g_dbSelection = before;
    if (RenameDatabaseFolder(DbsFolderPath(), CurrentBase(), newName)) SetBaseName(newName);
  } else {
    g_dbSelection = before;
  }
  RefreshLists();
}

void CToolDatabaseDlg::RenameToolFolder() {
  Save();
  std::string name = CurrentTool();
  if (!AskName(kRenameToolMode, name)) return;
  const DbSelectionRecord before = g_dbSelection;
  const auto baseFolder = BaseFolderPath(CurrentBase());
  if (SetToolName(name) == 0 && baseFolder) {
    const std::string newName = CurrentTool();
    g_dbSelection = before;
    if (RenameDatabaseFolder(*baseFolder, CurrentTool(), newName)) SetToolName(newName);
  } else {
    g_dbSelection = before;
  }
  RefreshLists();
}

void CToolDatabaseDlg::DeleteBaseFolder() {
  Save();
  const std::string base = CurrentBase();
  if (base.empty()) return;
  const std::vector<std::string> tools = Items(id::kToolCombo);
  std::string question = Sjis(" [ 工具名 ]\n  ");
  for (const std::string& t : tools) question += t + "\n  ";
  question += Sjis("すべて削除されます...\n  宜しいですか ???");
  if (platform::ShowMessageBox(question, "", 0x24) != platform::kIdYes) return;
  SignalBeep();
  DeleteBase(base, tools);
  std::string next;
  for (const std::string& b : Items(id::kBaseCombo)) {
    if (b != base) {
      next = b;
      break;
    }
  }
  SetBaseName(next);
  RefreshLists();
}

void CToolDatabaseDlg::DeleteCurrentToolFolder() {
  Save();
  const std::string tool = CurrentTool();
  if (tool.empty()) return;
  if (ShowMessage(4) != kAnswerYes || ShowMessage(5) != kAnswerYes) return;
  DeleteToolFolder(CurrentBase(), tool);
  std::string next;
  for (const std::string& t : Items(id::kToolCombo)) {
    if (t != tool) {
      next = t;
      break;
    }
  }
  SetToolName(next);
  RefreshLists();
}

// --- commands ---

void CToolDatabaseDlg::OnClick(int control) {
  switch (control) {
    case id::kNewBase: NewBase(); break;
    case id::kRenameBase: RenameBase(); break;
    case id::kDeleteBase: DeleteBaseFolder(); break;
    case id::kNewTool: NewToolFolder(); break;
    case id::kRenameTool: RenameToolFolder(); break;
    case id::kDeleteTool: DeleteCurrentToolFolder(); break;
    case id::kInput:
      deleteMode_ = false;
      EnterInputMode();
      break;
    case id::kEdit:
      deleteMode_ = false;
      editMode_ = kEditAll;
      if (state_.count > 0) {
        ShowRecordForEdit(0);
      } else {
        EnterInputMode();
      }
      break;
    case id::kDelete:
      deleteMode_ = true;
      editMode_ = kEditInput;
      ShowToggles();
      break;
    case id::kSort: Sort(); break;
    case id::kConvert: Convert(); break;
    case id::kSetup: Setup(); break;
    case id::kPrint: Print(); break;
    case id::kExport: Export(); break;
    case id::kImport: Import(); break;
    case id::kRegister: Register(); break;
    case id::kCancel: Close(); break;
    default: break;
  }
}

void CToolDatabaseDlg::OnDoubleClick(int control) {
  if (control != id::kList) return;
  const int line = GetCurSel(id::kList);
  if (line < 0) return;
  if (deleteMode_) {
    DeleteRecord(line);
    return;
  }
  if (editMode_ != kEditAll) editMode_ = kEditOne;
  ShowRecordForEdit(line);
}

void CToolDatabaseDlg::Sort() {
  SortToolRecords(table_, state_.count);
  editMode_ = kEditInput;
  state_.modified = true;
  g_curToolIndex = state_.count;
  FillRecordList();
  EnterInputMode();
}

void CToolDatabaseDlg::Convert() {
  double feed = feedFactor_, spindle = spindleFactor_;
  CToolInfoConvertDlg dialog(feed, spindle);
  if (dialog.DoModal() != platform::kIdOk) return;
  feedFactor_ = feed;
  spindleFactor_ = spindle;
  ConvertToolData(table_, state_.count, feedFactor_, spindleFactor_);
  state_.modified = true;
  FillRecordList();
  ShowRecordFields();
}

void CToolDatabaseDlg::Setup() {
  CToolSetupDlg dialog(table_, state_.count);
  if (dialog.DoModal() != platform::kIdOk) return;
  state_.modified = true;
  state_.count = dialog.RecordCount();
  g_curToolIndex = state_.count;
  FillRecordList();
  EnterInputMode();
}

void CToolDatabaseDlg::ReloadKeepingSlot() {
  const int slot = g_curToolIndex;
  ReadDbSelection();
  platform::FileResult read;
  state_.count = LoadToolRecords(table_, &read);
  state_.readFailed = !read.ok() && !read.missing();
  state_.modified = false;
  g_curToolIndex = std::clamp(slot, 0, state_.count);
  FillRecordList();
  ShowRecordFields();
}

void CToolDatabaseDlg::Print() {
  WriteDbSelection();
  if (!Save()) return;
  RegisterPrintLists lists;
  lists.bases = Items(id::kBaseCombo);
  lists.toolFolders = Items(id::kToolCombo);
  SetupPrinterDC(kPrintTools, lists);
  ReloadKeepingSlot();
}

void CToolDatabaseDlg::Export() {
  WriteDbSelection();
  if (!Save()) return;
  ExportToolDatabase(table_);
  ReloadKeepingSlot();
}

void CToolDatabaseDlg::Import() {
  const std::string question = Sjis("※「DBS_Export.csv」をＤＢに取り込みします。\n宜しいですか ？");
  if (platform::ShowMessageBox(question, "", 0x24) != platform::kIdYes) return;
  if (ImportToolDatabase(table_, state_)) RefreshLists();
}

void CToolDatabaseDlg::Register() {
  WriteDbSelection();
  // A tool file that could not be written keeps the editor open: closing
  // would lose the edits.
  if (!Save()) return;
  Close();
}

void CToolDatabaseDlg::Close() {
  table_.Release();
  state_ = ToolFolderState{};
  g_curToolIndex = 0;
  editMode_ = kEditInput;
  deleteMode_ = false;
  EndDialog(1);
}

}  // namespace dorn
