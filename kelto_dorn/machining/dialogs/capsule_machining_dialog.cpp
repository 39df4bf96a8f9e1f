#include "kelto_dorn/machining/dialogs/capsule_machining_dialog.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/capsule_flow.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = capsule_ctl;

namespace {

constexpr int kRangeGroup = 1300;

std::vector<ControlSpec> CapsuleControls() {
  return {{ControlKind::GroupBox, kRangeGroup, Sjis("加工範囲設定")},
          {ControlKind::StaticText, -1, Sjis("加工面 Ｚ"), kRangeGroup},
          {ControlKind::Edit, ctl::kFaceZ, "", kRangeGroup, 120},
          {ControlKind::StaticText, -1, Sjis("加工底面 Ｚ"), kRangeGroup},
          {ControlKind::Edit, ctl::kBottomZ, "", kRangeGroup, 120},
          {ControlKind::PushButton, ctl::kNext, Sjis("OK（次の加工）")},
          {ControlKind::PushButton, ctl::kAllConfirmed, Sjis("OK(全て確定）")},
          {ControlKind::PushButton, ctl::kContourConfirmed, Sjis("OK(輪郭確定）")},
          {ControlKind::PushButton, ctl::kSameAgain, Sjis("同カプセルで続行")}};
}

std::string SlotName() {
  const int slot = std::clamp(g_capsuleSlot, 0, kMachiningSlotCount - 1);
  return platform::FieldText(g_machiningIndexTable.records[static_cast<std::size_t>(slot)].name);
}

}  // namespace

CCapsuleMachiningDlg::CCapsuleMachiningDlg()
    : platform::Dialog(kCapsuleMachiningDialogId, SlotName(), CapsuleControls()) {
  fields_.Add({ctl::kFaceZ, [this](double v) { face_ = v; }, [this] { return NumberText(face_); }});
  fields_.Add({ctl::kBottomZ, [this](double v) { bottom_ = v; }, [this] { return NumberText(bottom_); }});
}

bool CCapsuleMachiningDlg::OnInit() {
  const MachiningDefinition& d = g_curMachiningDef;
  const bool hole = d.kind == static_cast<std::int32_t>(MachiningKind::Hole);
  face_ = hole ? ChamferStepDepth(d).value_or(g_curCurveRecord.topZ) : g_curCurveRecord.topZ;
  bottom_ = g_curCurveRecord.endZ;
  fields_.ShowAll(*this);
  return true;
}

void CCapsuleMachiningDlg::Commit() {
  if (fields_.Commit(*this)) fields_.ShowAll(*this);
}

void CCapsuleMachiningDlg::OnFocusGained(int id) {
  if (fields_.Focused() != id) Commit();
  fields_.FocusGained(*this, id);
}

void CCapsuleMachiningDlg::OnOk() {
  Commit();
  NextControl();
}

void CCapsuleMachiningDlg::Finish(int code) {
  Commit();
  if (code != ctl::kNext) {
    g_capsuleFaceZ = face_;
    g_capsuleBottomZ = bottom_;
  }
  ApplyCapsuleZ(face_, bottom_);
  EndDialog(code == ctl::kNext ? platform::kIdOk : code);
}

void CCapsuleMachiningDlg::OnClick(int id) {
  switch (id) {
    case ctl::kNext:
    case ctl::kAllConfirmed:
    case ctl::kContourConfirmed:
    case ctl::kSameAgain:
      Finish(id);
      break;
    default:
      break;
  }
}

void CCapsuleMachiningDlg::OnCancel() {
  Commit();
  const std::string question = Sjis("カプセル加工：") + g_capsuleName + Sjis("\n取消しますか？");
  const unsigned kYesNoQuestion = 0x24;
  if (platform::ShowMessageBox(question, "", kYesNoQuestion) == platform::kIdYes) {
    EndDialog(platform::kIdCancel);
    return;
  }
  ApplyCapsuleZ(face_, bottom_);
}

}  // namespace dorn
