#pragma once
// The tool choice of a process step (template 300): the current machine's
// ATC rows of one tool name, filtered by what the definition's kind can
// use; the chosen row is copied whole into the step tool of g_curStepIndex.
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace dorn {

class DocAtcTable;

inline constexpr int kToolSelectDialogId = 300;

namespace tool_select_ctl {
inline constexpr int kToolName = 1701;  // combo "工具名"
inline constexpr int kDiameter = 1702;  // "工具[φ]="
inline constexpr int kOk = 1703;
inline constexpr int kList = 1704;
}  // namespace tool_select_ctl

// The list mode and name rules of a definition kind.
struct ToolKindFilter {
  int listMode;          // FillAtcListBox mode
  int defaultRule;       // 0 none, 1 the last name offered, 2 last with tip angle 0, 3 last with tip angle 90
};
ToolKindFilter ToolFilterOfKind(int machiningKind);

// The tool names the kind is offered from the loaded table, each once, in
// table order; `defaultName` receives the kind's default (may stay empty).
std::vector<std::string> OfferedToolNames(const DocAtcTable& table, int machiningKind, std::string& defaultName);

class CToolSelectDlg : public platform::Dialog {
 public:
  explicit CToolSelectDlg(DocAtcTable& atc);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override;

 private:
  void FillToolSelectLists();
  void FillList();
  void TakeChosenLine();

  DocAtcTable& atc_;
  ToolKindFilter filter_{};
};

}  // namespace dorn
