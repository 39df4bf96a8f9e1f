#pragma once
// The tool database editor (IDD 297, "工具データベースの登録"): the tool bases
// and the tool folders of the current base, the records of the current tool
// folder in a list and in 18 fields, and the commands that create, rename and
// delete bases and tool folders, type in, edit, delete, sort and rescale
// records, run the cutting-speed calculator, print, and exchange the whole
// database as "DBS_Export.csv". The records live in the document's tool
// table, whose buffers exist while the dialog is open.
#include <string>
#include <vector>

#include "kelto_dorn/tooldb/tool_folders.h"
#include "platform/dialog.h"

namespace dorn {

class DocToolTable;

inline constexpr int kToolDatabaseDialogId = 297;

namespace tool_db {
inline constexpr int kBaseCombo = 2971, kToolCombo = 2972;
inline constexpr int kNewBase = 2973, kRenameBase = 2974, kDeleteBase = 2975;
inline constexpr int kNewTool = 2976, kRenameTool = 2977, kDeleteTool = 2978;
inline constexpr int kInput = 2979, kEdit = 2980, kDelete = 2981;
inline constexpr int kList = 2982;
inline constexpr int kSort = 2983, kConvert = 2984, kSetup = 2985, kPrint = 2986, kExport = 2987, kImport = 2988;
inline constexpr int kRegister = 2989, kCancel = 2990;
// The record fields: kFieldBase + the field number (1..17, 20 the SEC name).
inline constexpr int kFieldBase = 3000;
}  // namespace tool_db

// Editing modes.
inline constexpr int kEditInput = 0;
inline constexpr int kEditAll = 1;
inline constexpr int kEditOne = 0x8000;

class CToolDatabaseDlg : public platform::Dialog {
 public:
  explicit CToolDatabaseDlg(DocToolTable& table);
  ~CToolDatabaseDlg() override;

  int RecordCount() const { return state_.count; }
  int EditMode() const { return editMode_; }
  const ToolFolderState& State() const { return state_; }

 protected:
  bool OnInit() override;
  void OnFocusGained(int id) override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnTextChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  // Lists and records.
  void RefreshLists();
  void FillRecordList();
  void ShowRecordFields();
  void EnterInputMode();
  void ShowRecordForEdit(int slot);
  void DeleteRecord(int slot);
  void ShowToggles();
  void WarnAboutCopyError();

  // Fields.
  void CommitField(int field, bool moveOn);
  void MoveOn(int field);
  void CompleteRecord();

  // Bases and tool folders.
  bool Save();
  void ChooseBase();
  void ChooseToolFolder();
  void NewBase();
  void NewToolFolder();
  void RenameBase();
  void RenameToolFolder();
  void DeleteBaseFolder();
  void DeleteCurrentToolFolder();

  // Commands.
  void Sort();
  void Convert();
  void Setup();
  void Print();
  void Export();
  void Import();
  void Register();
  void Close();
  void ReloadKeepingSlot();

  std::vector<std::string> Items(int combo) const;

  DocToolTable& table_;
  ToolFolderState state_;
  int editMode_ = kEditInput;
  bool deleteMode_ = false;
  int focusedField_ = 0;  // field number with uncommitted text, 0 none
  bool typed_ = false;    // the focused field's text was typed since it took the focus
  double feedFactor_ = 1.0;
  double spindleFactor_ = 1.0;
};

}  // namespace dorn
