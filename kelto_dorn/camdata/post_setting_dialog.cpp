// The post settings dialog: see post_setting_dialog.h.
#include "kelto_dorn/camdata/post_setting_dialog.h"

#include <cstdio>

#include "kelto_dorn/camdata/choice_button.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/camdata/spindle_code_dialog.h"
#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/tooldb/last_tool_dialog.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

using handover::PostDefinition;
using platform::ControlKind;
using platform::ControlSpec;
namespace id = post_setting;

enum class RowKind { Plain, Spindle, LastT, Empty };

// One option row: the option, its label, the two buttons' captions and the
// values they store.
struct OptionRow {
  std::int32_t PostDefinition::*option;
  const char* label;
  const char* first;
  const char* second;
  std::int32_t firstValue = 0;
  std::int32_t secondValue = 1;
  RowKind kind = RowKind::Plain;
};

const OptionRow kPage1[id::kRows] = {
    {&PostDefinition::toolOrigin, "ＴＯＯＬ原点", "中心", "先端"},
    {&PostDefinition::ncDataOrigin, "ＮＣデータ", "中心", "先端"},
    {&PostDefinition::originSetting, "原点指定", "Yes", "N o"},
    {&PostDefinition::originCode, "原点コード", "G92", "G54"},
    {&PostDefinition::dataMode, "データ仕様", "INC", "ABS"},
    {&PostDefinition::numberUnit, "数値単位", "1/1000", "1/100"},
    {&PostDefinition::decimalPointOutput, "小数点出力", "Yes", "N o"},
    {&PostDefinition::feedDecimalPoint, "F_CODE小数点出力", "Yes", "N o"},
    {&PostDefinition::feedConversion, "F_CODE変換FV=nn", "Yes", "N o"},
    {&PostDefinition::axisAddress, "軸アドレス", "X.Y.Z", "U.V.W"},
    {&PostDefinition::sequenceNumbers, "加工番号[Nxxxx]", "Yes", "N o"},
    {&PostDefinition::toolLengthG43, "工具長補正[G43]", "Yes", "N o"},
    {&PostDefinition::leadingPercent, "先頭｢％｣出力", "Yes", "N o"},
    {&PostDefinition::trailingPercent, "最終｢％｣出力", "Yes", "N o"},
    {&PostDefinition::rapidG00Output, "早送りＧ００出力", "Yes", "N o"},
    {&PostDefinition::gCodeForm, "Ｇコード形式", "2ケタ", "1ケタ"},
    {&PostDefinition::spindleCode, "主軸回転コード", "M03", "M%02d", 0, 0, RowKind::Spindle},
    {&PostDefinition::lastTCode, "ラストＴコード", "T%d", "TOP", 0, 0, RowKind::LastT},
};

const OptionRow kPage2[id::kRows] = {
    {&PostDefinition::ncDataMerge, "ＮＣデータ統合", "Yes", "N o"},
    {&PostDefinition::g17Output, "Ｇ１７出力", "Yes", "N o"},
    {&PostDefinition::g18g19Output, "Ｇ１８Ｇ１９出力", "Yes", "N o"},
    {&PostDefinition::coordinateSetting, "座標指定", "Yes", "N o"},
    {&PostDefinition::compensationCancel, "工具補正キャンセル", "G40;", "G00G40"},
    {&PostDefinition::laserCompensation, "レイザー補正", "Yes", "N o"},
    {&PostDefinition::arcSize, "円弧指定", "半径", "直径"},
    {&PostDefinition::arcOutput, "円弧出力", "Rnnn.n", "I__J__"},
    {&PostDefinition::halfCircleSplit, "半円分割", "Yes", "N o"},
    {&PostDefinition::quadrantSplit, "象限分割", "Yes", "N o"},
    {&PostDefinition::holeCycleDialect, "穴加工仕様", "FANUC", "OSP"},
    {&PostDefinition::g39Compensation, "Ｇ３９の補正", "Yes", "N o"},
    {&PostDefinition::wireDialect, "ワイヤー仕様", "FANUC", "三菱"},
    {&PostDefinition::wireControlForm, "ソデック::ワイヤー", "Yes", "N o"},
    {&PostDefinition::helicalMachining, "ヘリカル加工", "Yes", "N o"},
    {&PostDefinition::splitMachining, "加工分割", "Yes", "N o", 1, 0},
    {&PostDefinition::renumberPrograms, "O番号更新", "Yes", "N o", 1, 0},
    {nullptr, "............", "    ", "    ", 0, 0, RowKind::Empty},
};

const char* const kBlockButtons[handover::kBlockTemplateCount] = {"先  頭",     " ＴＯＯＬ    ＡＴＣ", "ＳＥＴ",
                                                                  "ＢＡＣＫ前", "ＢＡＣＫ後",          "ＥＮＤ"};

const OptionRow& RowOf(int page, int row) { return page == 0 ? kPage1[row] : kPage2[row]; }

std::vector<ControlSpec> ControlTable() {
  using platform::Sjis;
  std::vector<ControlSpec> c = {
      {ControlKind::TabControl, id::kTabs},
      {ControlKind::StaticText, id::kNumberText, ""},
      {ControlKind::PushButton, id::kNameButton, Sjis("ポスト名"), 0, 0, 0, platform::control_style::kCheckLook},
      {ControlKind::Edit, id::kNameEdit, "", 0, 300, 0, 0, handover::kPostNameTypingLimit}};
  for (int r = 0; r < id::kRows; ++r) {
    c.push_back({ControlKind::StaticText, id::kFirstRowCaption + r, Sjis(kPage1[r].label)});
    c.push_back({ControlKind::OwnerDrawButton, id::kFirstChoice + 2 * r, "", 0, 80, 22});
    c.push_back({ControlKind::OwnerDrawButton, id::kFirstChoice + 2 * r + 1, "", 0, 80, 22});
  }
  for (int b = 0; b < handover::kBlockTemplateCount; ++b) {
    c.push_back({ControlKind::PushButton, id::kFirstBlockButton + b, Sjis(kBlockButtons[b]), 0, 0, 0,
                 platform::control_style::kCheckLook});
    c.push_back({ControlKind::Edit, id::kFirstBlockEdit + b, "", 0, 420, 0, 0, handover::kBlockTypingLimit[b]});
  }
  c.push_back({ControlKind::PushButton, id::kNewPost, Sjis("新規作成")});
  c.push_back({ControlKind::PushButton, id::kPostList, Sjis("ポスト一覧")});
  c.push_back({ControlKind::PushButton, id::kRegister, Sjis("登 録")});
  c.push_back({ControlKind::PushButton, id::kCancel, Sjis("ｷｬﾝｾﾙ")});
  return c;
}

bool IsBlockEdit(int control) {
  return control >= id::kFirstBlockEdit && control < id::kFirstBlockEdit + handover::kBlockTemplateCount;
}

void ShowFault(const std::string& utf8) {
  platform::ShowMessageBox(
      {platform::Utf8ToCp932(utf8), std::string(), platform::MessageButtons::Ok, platform::MessageIcon::Stop});
}

}  // namespace

CPostSettingDlg::CPostSettingDlg()
    : platform::Dialog(kPostSettingDialogId, platform::Sjis("  ポスト設定 "), ControlTable()) {}

handover::PostDefinition& CPostSettingDlg::Post() {
  const int n = g_currentPost >= 0 && g_currentPost < static_cast<int>(handover::kPostTableSize) ? g_currentPost : 0;
  return g_postTable[static_cast<std::size_t>(n)];
}
const handover::PostDefinition& CPostSettingDlg::Post() const { return const_cast<CPostSettingDlg*>(this)->Post(); }

bool CPostSettingDlg::OnInit() {
  for (PostDefinition& p : g_postTable) handover::ResetPostRecord(p);
  g_exchangeValue = -1;
  for (const char* tab : {" ページ_１", " ページ_２", " ページ_３"}) AddItem(id::kTabs, platform::Sjis(tab));
  pending_ = 0;
  page_ = 0;
  SetCurSel(id::kTabs, 0);
  const platform::FileResult r = ReadDornPostTable();
  if (!r.ok() && !r.missing()) ShowFault(r.message);
  LabelPage();
  ShowValues();
  firstDisplayDone_ = true;
  return true;
}

void CPostSettingDlg::LabelPage() {
  const bool rows = page_ != 2;
  for (int r = 0; r < id::kRows; ++r) {
    Show(id::kFirstRowCaption + r, rows);
    Show(id::kFirstChoice + 2 * r, rows);
    Show(id::kFirstChoice + 2 * r + 1, rows);
    if (!rows) continue;
    const OptionRow& row = RowOf(page_, r);
    SetText(id::kFirstRowCaption + r, platform::Sjis(row.label));
    const bool used = row.kind != RowKind::Empty;
    Enable(id::kFirstChoice + 2 * r, used);
    Enable(id::kFirstChoice + 2 * r + 1, used);
  }
  for (int b = 0; b < handover::kBlockTemplateCount; ++b) {
    Show(id::kFirstBlockButton + b, !rows);
    Show(id::kFirstBlockEdit + b, !rows);
    SetCheck(id::kFirstBlockButton + b, 0);
  }
  DeleteItem(id::kTabs, 2);
  InsertItem(id::kTabs, 2, platform::Sjis(rows ? " ページ_３" : " ページ_３  改行[;]  ATC#[?]  NextATC#[??]"));
  SetCurSel(id::kTabs, page_);
}

std::string CPostSettingDlg::ChoiceCaption(int buttonId) const {
  const int row = (buttonId - id::kFirstChoice) / 2;
  const int choice = (buttonId - id::kFirstChoice) % 2;
  if (row < 0 || row >= id::kRows || page_ == 2) return {};
  const OptionRow& r = RowOf(page_, row);
  char text[32];
  if (r.kind == RowKind::Spindle && choice == 1) {
    const int code = Post().spindleCode;
    if (code > 1) {
      std::snprintf(text, sizeof text, "M%02d", code);
    } else {
      std::snprintf(text, sizeof text, "M04");
    }
    return text;
  }
  if (r.kind == RowKind::LastT && choice == 0) {
    std::snprintf(text, sizeof text, "T%d", Post().lastTCode);
    return text;
  }
  return platform::Sjis(choice == 0 ? r.first : r.second);
}

platform::Color CPostSettingDlg::ChoiceColour(int buttonId) const {
  const int row = (buttonId - id::kFirstChoice) / 2;
  const int choice = (buttonId - id::kFirstChoice) % 2;
  if (row < 0 || row >= id::kRows || page_ == 2) return kChoiceGrey;
  const OptionRow& r = RowOf(page_, row);
  bool stored = false;
  switch (r.kind) {
    case RowKind::Empty:
      return kChoiceGrey;
    case RowKind::Spindle:
      stored = (Post().spindleCode != 0) == (choice == 1);
      break;
    case RowKind::LastT:
      stored = (Post().lastTCode != 0) == (choice == 0);
      break;
    case RowKind::Plain:
      stored = Post().*r.option == (choice == 0 ? r.firstValue : r.secondValue);
      break;
  }
  return stored ? kPostChoiceHighlight : kChoiceGrey;
}

void CPostSettingDlg::ShowValues() {
  char number[32];
  std::snprintf(number, sizeof number, "%s%02d", platform::Sjis("ポスト番号 : ").c_str(), g_currentPost);
  SetText(id::kNumberText, number);
  if (pending_ != id::kNameEdit) SetText(id::kNameEdit, Post().Name());
  if (page_ == 2) {
    for (int b = 0; b < handover::kBlockTemplateCount; ++b) {
      if (pending_ != id::kFirstBlockEdit + b) SetText(id::kFirstBlockEdit + b, Post().blocks[b].Text());
    }
    return;
  }
  for (int r = 0; r < id::kRows; ++r) {
    RedrawItem(id::kFirstChoice + 2 * r);
    RedrawItem(id::kFirstChoice + 2 * r + 1);
  }
}

void CPostSettingDlg::OnDrawItem(int control, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  PaintChoiceButton(dc, item, ChoiceCaption(control), ChoiceColour(control));
}

void CPostSettingDlg::OnFocusGained(int control) {
  if (control != id::kNameEdit && !IsBlockEdit(control)) return;
  if (pending_ != 0 && pending_ != control) CommitPending();
  pending_ = control;
  SetCheck(control == id::kNameEdit ? id::kNameButton : control - id::kFirstBlockEdit + id::kFirstBlockButton, 1);
}

// The pending field's whole text goes into the post; an empty text changes
// nothing.
void CPostSettingDlg::CommitPending() {
  const int control = pending_;
  if (control == 0) return;
  pending_ = 0;
  const std::string text = GetText(control);
  if (control == id::kNameEdit) {
    SetCheck(id::kNameButton, 0);
    if (!text.empty()) Post().SetName(text);
  } else {
    const int block = control - id::kFirstBlockEdit;
    SetCheck(id::kFirstBlockButton + block, 0);
    if (!text.empty()) Post().blocks[block].SetText(text);
  }
  ShowValues();
}

void CPostSettingDlg::OnSelectionChanged(int control) {
  if (control != id::kTabs) return;
  CommitPending();
  const int page = GetCurSel(id::kTabs);
  page_ = page >= 0 && page <= 2 ? page : 0;
  LabelPage();
  ShowValues();
}

void CPostSettingDlg::ClickChoice(int row, int choice) {
  const OptionRow& r = RowOf(page_, row);
  switch (r.kind) {
    case RowKind::Empty:
      return;
    case RowKind::Spindle:
      if (choice == 0) {
        Post().spindleCode = 0;
      } else if (g_exchangeValue == -1) {
        CSpindleCodeDlg dialog;
        dialog.DoModal();
        Post().spindleCode = g_exchangeValue;
        g_exchangeValue = -1;
      }
      break;
    case RowKind::LastT:
      if (choice == 1) {
        Post().lastTCode = 0;
      } else if (firstDisplayDone_) {
        CLastToolDlg dialog(Post().lastTCode);
        dialog.DoModal();
      }
      break;
    case RowKind::Plain:
      Post().*r.option = choice == 0 ? r.firstValue : r.secondValue;
      break;
  }
  ShowValues();
}

void CPostSettingDlg::NewPost() {
  const int count = PostCount();
  if (count > static_cast<int>(handover::kPostTableSize) - 1) return;  // 31 records: refused
  platform::Beep();
  handover::ResetPostRecord(g_postTable[static_cast<std::size_t>(count)]);
  g_currentPost = count;
  g_postTable[0].currentPost = count;
  g_postTable[0].postCount = count + 1;
}

void CPostSettingDlg::Register() {
  const platform::FileResult r = WriteDornPostTable();
  if (!r.ok()) {
    ShowFault(r.message);  // the table stays as edited; the dialog stays open
    return;
  }
  EndDialog(platform::kIdOk);
}

void CPostSettingDlg::OnClick(int control) {
  CommitPending();
  if (control >= id::kFirstChoice && control < id::kFirstChoice + 2 * id::kRows) {
    ClickChoice((control - id::kFirstChoice) / 2, (control - id::kFirstChoice) % 2);
    return;
  }
  switch (control) {
    case id::kNewPost:
      NewPost();
      break;
    case id::kPostList: {
      FocusedEditIndex = kPostListModePosts;
      CPostListDlg list;
      list.DoModal();
      break;
    }
    case id::kRegister:
      Register();
      return;
    case id::kCancel:
      OnCancel();
      return;
    default:
      break;
  }
  ShowValues();
}

// Enter commits the pending field and moves the focus back; it never closes.
void CPostSettingDlg::OnOk() {
  CommitPending();
  NextControl(true);
}

void CPostSettingDlg::OnCancel() {
  pending_ = 0;
  EndDialog(platform::kIdCancel);
  // What was edited is dropped: the table is the file again, the one the
  // companion reads.
  for (PostDefinition& p : g_postTable) handover::ResetPostRecord(p);
  const platform::FileResult r = ReadDornPostTable();
  if (!r.ok() && !r.missing()) ShowFault(r.message);
}

}  // namespace dorn
