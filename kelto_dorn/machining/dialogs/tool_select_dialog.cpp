#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"

#include <algorithm>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/tooldb/atc_list.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kHoleKindByte = 0xB400;
constexpr int kDeepHoleKindByte = 0xBC00;
constexpr int kTwoAxisWire = 0xC100;
constexpr int kNameLimit = 48;
constexpr unsigned kWarningIcon = 0x30;

constexpr char kNoToolsText[] =
    "※ 工具を登録した機械がありません ??\n\n"
    "メニュー「データベース」の「工具データベース」で工具を登録し、\n"
    "「機械別ＡＴＣの登録」で機械を作って、その工具をＡＴＣの行に入れて下さい。";

// The column titles over the list, each ending where its column of the
// cutter lines of FillAtcListBox ends.
std::string ListHeading() {
  return ColumnHeading({{"ATC番号", 7},
                        {"SEC名", 22},
                        {"工具[φ]", 32},
                        {"Ｒ径", 40},
                        {"回転[S]", 48},
                        {"送り[F]", 57},
                        {"固定[G]", 65},
                        {"M_CODE", 73},
                        {"刃長", 81},
                        {"H_CODE", 89},
                        {"D_CODE", 97},
                        {"切削油", 105}});
}

// A row of the loaded table that names a tool.
bool HoldsTools(const DocAtcTable& table) {
  const int count = std::min(g_atcListCount, DocAtcTable::kRowCount);
  for (int j = 0; j < count; ++j) {
    if (!platform::FieldText(table.Record(j).toolName).empty()) return true;
  }
  return false;
}

}  // namespace

ToolKindFilter ToolFilterOfKind(int kind) {
  switch (kind & 0xFF00) {
    case kHoleKindByte:
      return {-1, 0};
    case kDeepHoleKindByte:
      return {kListAllRows, 1};
    default:
      return {kListCutters, kind == kTwoAxisWire ? 3 : 2};
  }
}

std::vector<std::string> OfferedToolNames(const DocAtcTable& table, int kind, std::string& defaultName) {
  const ToolKindFilter filter = ToolFilterOfKind(kind);
  std::vector<std::string> names;
  std::string last;
  defaultName.clear();
  const int count = std::min(g_atcListCount, DocAtcTable::kRowCount);
  for (int j = 0; j < count; ++j) {
    const AtcRecord& row = table.Record(j);
    if (!AtcRowAdmitted(row, filter.listMode)) continue;
    const std::string name = platform::FieldText(row.toolName);
    if (name.empty() || name == last) continue;
    last = name;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    if (filter.defaultRule == 1 || (filter.defaultRule == 2 && row.tipAngle == 0.0f) ||
        (filter.defaultRule == 3 && row.tipAngle == 90.0f)) {
      defaultName = name;
    }
  }
  return names;
}

CToolSelectDlg::CToolSelectDlg(DocAtcTable& atc)
    : platform::Dialog(
          kToolSelectDialogId, Sjis("  加工の工具選択 "),
          {ControlSpec(ControlKind::StaticText, -1, Sjis("工具名")),
           ControlSpec(ControlKind::ComboBox, tool_select_ctl::kToolName, "", 0, 320, 0, 0, kNameLimit),
           ControlSpec(ControlKind::StaticText, -1, Sjis("工具[φ]=")),
           ControlSpec(ControlKind::Edit, tool_select_ctl::kDiameter, "", 0, 90, 0, 0, 24),
           ControlSpec(ControlKind::PushButton, tool_select_ctl::kOk, "OK"),
           ControlSpec(ControlKind::GroupBox, 1700, Sjis("工具の選択")),
           ControlSpec(ControlKind::StaticText, -1, ListHeading(), 1700),
           ControlSpec(ControlKind::ListBox, tool_select_ctl::kList, "", 1700, 760, 300,
                       platform::control_style::kFixedPitch)}),
      atc_(atc) {}

bool CToolSelectDlg::OnInit() {
  g_atcListCount = 0;
  g_toolDiameterFilter = 0.0;
  filter_ = ToolFilterOfKind(g_curMachiningDef.kind);
  const std::string machine = platform::FieldText(g_dbSelection.machineName);
  if (!machine.empty()) FillToolSelectLists();
  if (machine.empty() || !HoldsTools(atc_)) {
    // Nothing to choose from: the user is told where tools come from
    // instead of seeing the choice close without a word.
    platform::ShowMessageBox(Sjis(kNoToolsText), "", kWarningIcon);
    EndDialog(platform::kIdCancel);
    return true;
  }
  SetTitle(Sjis("  ＜ＤＢＳ＞ 工具の選択...  機械名 :: ") + machine);
  return true;
}

void CToolSelectDlg::FillToolSelectLists() {
  ResetContent(tool_select_ctl::kToolName);
  ClearAtcRecord(atc_, 0);
  g_atcListCount = LoadAtcTable(atc_);
  g_toolNameFilter.clear();
  std::string defaultName;
  const std::vector<std::string> names = OfferedToolNames(atc_, g_curMachiningDef.kind, defaultName);
  for (const std::string& name : names) AddItem(tool_select_ctl::kToolName, name);
  const std::string stepName = platform::FieldText(CurrentStepTool().toolName);
  std::string chosen = !stepName.empty() ? stepName : !defaultName.empty() ? defaultName : names.empty() ? "" : names.back();
  g_toolNameFilter = chosen;
  SetText(tool_select_ctl::kToolName, chosen);
  const int index = FindPrefix(tool_select_ctl::kToolName, chosen);
  if (index >= 0 && GetItemText(tool_select_ctl::kToolName, index) == chosen) SetCurSel(tool_select_ctl::kToolName, index);
  FillList();
}

void CToolSelectDlg::FillList() {
  ResetContent(tool_select_ctl::kList);
  for (const std::string& line : FillAtcListBox(atc_, filter_.listMode)) AddItem(tool_select_ctl::kList, line);
}

void CToolSelectDlg::OnSelectionChanged(int id) {
  if (id != tool_select_ctl::kToolName) return;
  const int sel = GetCurSel(id);
  if (sel < 0) return;
  ToolNameFromText(GetItemText(id, sel));
  FillList();
}

void CToolSelectDlg::OnFocusGained(int id) {
  if (id == tool_select_ctl::kDiameter) g_toolDiameterFilter = -1.0;
}

void CToolSelectDlg::OnOk() {
  if (FocusedControl() == tool_select_ctl::kDiameter && g_toolDiameterFilter < 0.0) {
    const std::string text = GetText(tool_select_ctl::kDiameter);
    if (text.find_first_not_of(' ') != std::string::npos) g_toolDiameterFilter = ParseNumber(text.c_str());
    SetText(tool_select_ctl::kDiameter, NumberText(g_toolDiameterFilter));
    FillList();
    return;
  }
  NextControl();
}

void CToolSelectDlg::OnClick(int id) {
  if (id == tool_select_ctl::kOk) TakeChosenLine();
}

void CToolSelectDlg::OnDoubleClick(int id) {
  if (id == tool_select_ctl::kList) TakeChosenLine();
}

void CToolSelectDlg::TakeChosenLine() {
  const int line = GetCurSel(tool_select_ctl::kList);
  if (line < 0) {
    platform::ShowMessageBox(Sjis("※ 工具リストの選択がありません ??"), "", 0x10);
    return;
  }
  const int slot = SlotOfListLine(atc_, line);
  if (slot < 0) {
    // The line no longer names a row: nothing was taken.
    EndDialog(platform::kIdCancel);
    return;
  }
  AtcRecord& tool = CurrentStepTool();
  CopyRecord168(tool, atc_.Record(slot));
  tool.inUse = 1;
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
