#pragma once
// The hole-process editor (template 148): a process of up to eight tools is
// composed from the current machine's ATC rows of hole tools, registered
// under a three-part name, reopened, printed and exchanged as CSV. It works
// on the one working record g_holeProcess.
#include <string>

#include "platform/dialog.h"

namespace dorn {

class DocAtcTable;

inline constexpr int kHoleProcessDialogId = 148;

namespace hole_process_ctl {
inline constexpr int kMachineChange = 2201;
inline constexpr int kToolName = 2202;
inline constexpr int kDiameter = 2203;
inline constexpr int kList = 2204;
inline constexpr int kProcessName = 2205;  // "工程名"
inline constexpr int kNameField = 2206;
inline constexpr int kRegister = 2207;     // "新規登録"
inline constexpr int kDeleteMode = 2208;   // "削除"
inline constexpr int kReset = 2209;
inline constexpr int kPrint = 2210;
inline constexpr int kExport = 2211;
inline constexpr int kImport = 2212;
inline constexpr int kRowButton = 2220;    // + row 0..7
inline constexpr int kRowField = 2230;     // + row 0..7
}  // namespace hole_process_ctl

class CHoleProcessDbDlg : public platform::Dialog {
 public:
  explicit CHoleProcessDbDlg(DocAtcTable& atc);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override;

 private:
  void FillToolNameCombo(bool namesOnly);
  void FillList();
  void ShowRows();
  void SelectRow(int row);
  void ResetEditor();
  void ReopenLast();
  void TakeListLine();
  void ChooseProcess();
  void RegisterProcess();
  void PrintProcesses();
  void ChangeMachine();
  void ShowCaption();

  DocAtcTable& atc_;
  int row_ = -1;  // selected row, -1 none
  bool deleteMode_ = false;
  std::string lastName_;
};

// Opens the editor on the document's ATC table; closes at once without a
// machine.
int RunHoleProcessDialog(DocAtcTable& atc);

}  // namespace dorn
