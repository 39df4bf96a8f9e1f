#include "kelto_dorn/machining/dialogs/draw_line_dialog.h"

#include <cstdio>

#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/draw_slots.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = draw_ctl;

namespace {
constexpr int kColourScheme = 1;
constexpr int kFirstLineNumber = 70;  // slot 131 is shown as [70]
constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
MachiningFigureEntry& Switches() { return g_curMachiningDef.figures[kDrawSwitchEntry]; }
}  // namespace

CDrawLineDlg::CDrawLineDlg()
    : platform::Dialog(kDrawLineDialogId, "DRAW_LINE",
                       {ControlSpec(ControlKind::GroupBox, 1030, Sjis("DRAW曲線名")),
                        ControlSpec(ControlKind::PushButton, ctl::kContour, Sjis("輪郭図形"), 1030, 0, 0, kCheckLook),
                        ControlSpec(ControlKind::PushButton, ctl::kOmit, Sjis("OMIT図形"), 1030, 0, 0, kCheckLook),
                        ControlSpec(ControlKind::ListBox, ctl::kList, "", 1030, 300, 200,
                                    platform::control_style::kMultiSelect),
                        ControlSpec(ControlKind::PushButton, ctl::kAdd, Sjis("追加")),
                        ControlSpec(ControlKind::PushButton, ctl::kDelete, Sjis("削除")),
                        ControlSpec(ControlKind::PushButton, ctl::kReset, "RESET")}) {}

platform::DialogColors CDrawLineDlg::Colors() {
  SetDialogColors(kColourScheme);
  return platform::Dialog::Colors();
}

bool CDrawLineDlg::OnInit() {
  Refresh();
  return true;
}

// One line per used slot, so that line i is slot 131 + i; a curve that no
// longer exists shows a blank line.
void CDrawLineDlg::Refresh() {
  ResetContent(ctl::kList);
  const int used = UsedDrawSlots(g_curMachiningDef);
  char text[96];
  for (int i = 0; i < used; ++i) {
    const auto name = CurveNameOfKey(g_curMachiningDef.figures[kFirstDrawSlot + i].figureKey);
    if (!name) {
      AddItem(ctl::kList, "");
      continue;
    }
    std::snprintf(text, sizeof text, "[%02d] : ", kFirstLineNumber + i);
    AddItem(ctl::kList, text + *name);
  }
  SetCheck(ctl::kContour, Switches().word12 == kDrawContourOn);
  SetCheck(ctl::kOmit, Switches().word16 == kDrawOmitOn);
}

void CDrawLineDlg::OnClick(int id) {
  switch (id) {
    case ctl::kContour:
      Switches().word12 = Switches().word12 == kDrawContourOn ? 0 : kDrawContourOn;
      break;
    case ctl::kOmit:
      Switches().word16 = Switches().word16 == kDrawOmitOn ? 0 : kDrawOmitOn;
      break;
    case ctl::kDelete: {
      const std::vector<int> lines = GetSelectedRows(ctl::kList);
      DeleteDrawSlots(g_curMachiningDef, lines);
      break;
    }
    case ctl::kReset:
      ResetDrawSlots(g_curMachiningDef);
      break;
    case ctl::kAdd:
      EndDialog(1);
      return;
    default:
      return;
  }
  Refresh();
}

int RunDrawFigureList() {
  CDrawLineDlg dialog;
  if (RunModalDialog(dialog) != 1) return 0;
  const int slot = FirstFreeDrawSlot(g_curMachiningDef);
  if (slot < 0) return 0;
  g_pickTargetIndex = slot;
  return kDrawPickCode;
}

}  // namespace dorn
