// The machining order dialog: see machining_order_dialog.h.
#include "kelto_dorn/camdata/machining_order_dialog.h"

#include <algorithm>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/camdata/choice_button.h"
#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/camdata/order_list.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
namespace id = machining_order;

std::vector<ControlSpec> ControlTable() {
  using platform::Sjis;
  std::vector<ControlSpec> c = {
      {ControlKind::ListBox, id::kList, "", 0, 980, 460, platform::control_style::kMultiSelect},
      {ControlKind::ScrollBar, id::kScroll, "", 0, 0, 0, platform::control_style::kVertical}};
  for (int k = 0; k < id::kRowButtons; ++k) c.push_back({ControlKind::PushButton, id::kFirstRowButton + k, "N...."});
  c.push_back({ControlKind::PushButton, id::kReset, "RESET"});
  c.push_back({ControlKind::PushButton, id::kClearOrder, Sjis("指定クリア")});
  c.push_back({ControlKind::PushButton, id::kSort, Sjis("工程順並び替え")});
  c.push_back({ControlKind::OwnerDrawButton, id::kM00, "M00", 0, 80, 24});
  c.push_back({ControlKind::OwnerDrawButton, id::kMark, Sjis("マーク"), 0, 80, 24});
  c.push_back({ControlKind::OwnerDrawButton, id::kHoleSub, Sjis("穴SUB-ON"), 0, 80, 24});
  c.push_back({ControlKind::PushButton, id::kAtc, Sjis("ATC指定")});
  c.push_back({ControlKind::PushButton, id::kRegister, Sjis("登 録")});
  c.push_back({ControlKind::PushButton, id::kComment, Sjis("コメント")});
  c.push_back({ControlKind::PushButton, id::kCancel, Sjis("ｷｬﾝｾﾙ")});
  return c;
}

std::vector<platform::MenuItem> MenuTable() {
  return {platform::MenuItem(0, platform::Sjis("設定"),
                             {platform::MenuItem(id::kMenuFinishPass, platform::Sjis("追込み初期設定")),
                              platform::MenuItem(id::kMenuM00Settings, platform::Sjis("M00出力設定"))})};
}

void ShowLeftOut(const OrderBuildResult& built) {
  if (built.leftOut == 0) return;
  platform::ShowMessageBox({platform::Sjis("加工順の項目は 1023 までです。") + std::to_string(built.leftOut) +
                                platform::Sjis(" 工程を除きました (") + built.leftOutName + ")",
                            std::string(), platform::MessageButtons::Ok, platform::MessageIcon::Exclamation});
}

}  // namespace

CMachiningOrderM00Dlg::CMachiningOrderM00Dlg(const CamServices& services)
    : platform::Dialog(kMachiningOrderDialogId, platform::Sjis("  加工順の設定"), ControlTable(), MenuTable()),
      services_(services) {}

bool CMachiningOrderM00Dlg::OnInit() {
  g_machiningOrderCount = kOrderListInForce;
  if (MachiningOrderValid != kMachiningOrderUpToDate || OrderItemCount() == 0) RebuildItems();
  selection_.clear();
  topRow_ = 0;
  RebuildOrderListFromPositions();
  m00Tools_ = ReadM00Settings();
  Enable(id::kAtc, static_cast<bool>(services_.atcRankDialog));
  Enable(id::kComment, static_cast<bool>(services_.tCodeCommentDialog));
  FillOrderList();
  return true;
}

void CMachiningOrderM00Dlg::RebuildItems() {
  if (services_.definitions == nullptr || services_.atc == nullptr) return;
  const OrderBuildResult built = BuildOrderItems(*services_.definitions, *services_.atc);
  MachiningOrderValid = kMachiningOrderUpToDate;
  ShowLeftOut(built);
}

void CMachiningOrderM00Dlg::FillOrderList() {
  const int items = OrderItemCount();
  ResetContent(id::kList);
  if (services_.definitions != nullptr) {
    for (int n = 0; n < items; ++n) AddItem(id::kList, OrderItemLine(*services_.definitions, n));
  }
  AddItem(id::kList, "[EOF]");
  for (int n : selection_) SetSel(id::kList, n, true);
  const int lines = items + 1;
  SetRange(id::kScroll, 0, std::max(0, lines - id::kRowButtons));
  SetTopRow(topRow_);
}

void CMachiningOrderM00Dlg::SetTopRow(int row) {
  const int lines = OrderItemCount() + 1;
  topRow_ = lines <= id::kRowButtons ? 0 : std::clamp(row, 0, lines - id::kRowButtons);
  SetPos(id::kScroll, topRow_);
  const int items = OrderItemCount();
  for (int k = 0; k < id::kRowButtons; ++k) {
    const int n = topRow_ + k;
    char caption[16];
    if (n < items) {
      std::snprintf(caption, sizeof caption, "N%04d", g_orderItems[static_cast<std::size_t>(n)].number);
    } else {
      std::snprintf(caption, sizeof caption, "N....");
    }
    SetText(id::kFirstRowButton + k, caption);
  }
}

void CMachiningOrderM00Dlg::CollectSelection() {
  const int items = OrderItemCount();
  std::vector<int> collected;
  for (int row : GetSelectedRows(id::kList)) {
    if (row < 0 || row >= items) continue;  // the "[EOF]" line
    if (std::find(collected.begin(), collected.end(), row) != collected.end()) continue;
    if (static_cast<int>(collected.size()) >= id::kMaxSelection) {
      platform::Beep();
      SetSel(id::kList, row, false);
      continue;
    }
    collected.push_back(row);
  }
  selection_ = collected;
}

void CMachiningOrderM00Dlg::OnSelectionChanged(int control) {
  if (control == id::kList) CollectSelection();
}

void CMachiningOrderM00Dlg::OnDoubleClick(int control) {
  if (control != id::kList) return;
  const int n = GetCurSel(id::kList);
  if (n < 0 || n >= OrderItemCount()) return;
  OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
  if (markMode_) {
    item.mark = item.mark != 0 ? 0 : 1;
  } else if (m00Mode_) {
    item.m00 = item.m00 != 0 ? 0 : 1;
  } else {
    ToggleOrdered(n);
  }
  selection_.clear();
  FillOrderList();
}

void CMachiningOrderM00Dlg::OnScroll(int control) {
  if (control == id::kScroll) SetTopRow(GetPos(id::kScroll));
}

void CMachiningOrderM00Dlg::ToggleM00Mode() {
  m00Mode_ = !m00Mode_;
  if (!m00Mode_) return;
  markMode_ = false;
  const int items = OrderItemCount();
  for (int n = 0; n < items; ++n) {
    OrderItem& item = g_orderItems[static_cast<std::size_t>(n)];
    if (std::find(m00Tools_.begin(), m00Tools_.end(), item.outputTool) != m00Tools_.end()) item.m00 = 1;
  }
}

void CMachiningOrderM00Dlg::OpenCreation() {
  FocusedEditIndex = 1;
  CNcDataCreateDlg creation(services_);
  creation.DoModal();
  FocusedEditIndex = 1;
}

void CMachiningOrderM00Dlg::OnClick(int control) {
  if (control >= id::kFirstRowButton && control < id::kFirstRowButton + id::kRowButtons) {
    if (selection_.empty()) return;
    MoveSelectedItems(selection_, topRow_ + (control - id::kFirstRowButton));
    selection_.clear();
    FillOrderList();
    return;
  }
  switch (control) {
    case id::kReset:
      ClearOrderPositions();
      topRow_ = 0;
      selection_.clear();
      RebuildItems();
      break;
    case id::kClearOrder:
      ClearOrderPositions();
      break;
    case id::kSort:
      SortOrderItems();
      selection_.clear();
      break;
    case id::kM00:
      ToggleM00Mode();
      break;
    case id::kMark:
      markMode_ = !markMode_;
      if (markMode_) m00Mode_ = false;
      break;
    case id::kHoleSub:
      g_drawingHeader.holeSubprogram = g_drawingHeader.holeSubprogram == 1 ? 0 : 1;
      break;
    case id::kAtc:
      g_machiningOrderCount = kOrderListInForce;
      OrderAllInTableOrder();
      if (services_.atcRankDialog && services_.atcRankDialog() == 1) OpenCreation();
      break;
    case id::kRegister:
      g_machiningOrderCount = kOrderListInForce;
      OrderAllInTableOrder();
      OpenCreation();
      break;
    case id::kComment:
      if (services_.tCodeCommentDialog) services_.tCodeCommentDialog();
      break;
    case id::kCancel:
      EndDialog(platform::kIdCancel);
      return;
    default:
      return;
  }
  FillOrderList();
  for (int b : {id::kM00, id::kMark, id::kHoleSub}) RedrawItem(b);
}

void CMachiningOrderM00Dlg::OnCommand(int commandId) {
  if (commandId == id::kMenuFinishPass) {
    if (services_.finishPassDialog) services_.finishPassDialog();
  } else if (commandId == id::kMenuM00Settings) {
    const platform::ProcessResult r = platform::OpenWithDesktop(platform::ProgramFolder() / kM00SettingsFileName);
    if (!r.started) {
      platform::ShowMessageBox({platform::Utf8ToCp932(r.message), std::string(), platform::MessageButtons::Ok,
                                platform::MessageIcon::Exclamation});
    }
  }
}

platform::Color CMachiningOrderM00Dlg::ButtonColour(int buttonId) const {
  switch (buttonId) {
    case id::kMark:
      return markMode_ ? kModeHighlight : kChoiceGrey;
    case id::kM00:
      return m00Mode_ ? kModeHighlight : kChoiceGrey;
    case id::kHoleSub:
      return g_drawingHeader.holeSubprogram == 1 ? kSubprogramHighlight : kChoiceGrey;
    default:
      return kChoiceGrey;
  }
}

void CMachiningOrderM00Dlg::OnDrawItem(int control, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) {
  const ControlSpec* spec = nullptr;
  const platform::ControlState* state = Control(control);
  if (state != nullptr) spec = &state->decl;
  PaintChoiceButton(dc, item, spec != nullptr ? spec->caption : std::string(), ButtonColour(control));
}

}  // namespace dorn
