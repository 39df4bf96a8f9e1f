#pragma once
// The machine ATC editor (IDD 143): fifteen rows of the current machine's ATC
// table over a scroll bar, the machines (new, rename, delete), and on the
// right the tool database (base, tool folder, records) from which a double
// click places a tool into the selected row. It also copies another
// machine's table into this one refreshed from the tool database, prints,
// and exchanges every table as "ATC_Export.csv". Row edits go to the
// document's ATC table and reach the machine's file when the machine
// changes, before a machine command, on printing, export and closing; a
// table whose file could not be read is shown empty and is not edited.
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace dorn {

class DocAtcTable;
class DocToolTable;

inline constexpr int kMachineAtcDialogId = 143;

namespace machine_atc {
inline constexpr int kMachineCombo = 1431, kNewMachine = 1432, kRenameMachine = 1433, kDeleteMachine = 1434;
inline constexpr int kColumnToggle = 1435, kScroll = 1436;
inline constexpr int kInsert = 1437, kDeleteRows = 1438, kClear = 1439;
inline constexpr int kCopyConvert = 1440, kPrint = 1441, kExport = 1442, kImport = 1443;
inline constexpr int kBaseCombo = 1444, kToolCombo = 1445, kRecordList = 1446, kClose = 1447;
// Row r (1..15): its button and its read-only field.
inline constexpr int kRowButtonBase = 1450, kRowFieldBase = 1470;
inline constexpr int kRows = 15;
inline constexpr int kScrollMax = 1000;
}  // namespace machine_atc

class CMachineAtcDbDlg : public platform::Dialog {
 public:
  CMachineAtcDbDlg(DocAtcTable& atc, DocToolTable& tools);
  ~CMachineAtcDbDlg() override;

  int SelectedRow() const { return selectedRow_; }
  int ScrollPosition() const { return scroll_; }

  void FillToolDbLists();
  void FillMachineList();
  void ShowAtcRows();
  void SelectAtcRow(int row);
  void PickToolIntoAtcRow(int recordLine);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnScroll(int id) override;
  void OnOk() override {}
  void OnCancel() override { Close(); }

 private:
  bool TableLocked();
  void ToggleMode(int button);
  void WriteCurrentTable();
  void NewMachine();
  void RenameMachine();
  void DeleteMachine();
  void CopyConvert();
  void Print();
  void Export();
  void Import();
  void ResetRowState();
  void Close();
  std::vector<std::string> Items(int combo) const;

  DocAtcTable& atc_;
  DocToolTable& tools_;
  int scroll_ = 0;
  int selectedRow_ = 0;  // 1..15, 0 none
  bool insertMode_ = false;
  bool deleteMode_ = false;
  bool clearMode_ = false;
  bool showCornerRadius_ = false;
  bool closed_ = false;
};

}  // namespace dorn
