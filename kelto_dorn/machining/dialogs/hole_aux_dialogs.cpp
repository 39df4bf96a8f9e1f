#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"

#include <cmath>

#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

std::vector<ControlSpec> ChamferControls() {
  namespace c = chamfer_detail_ctl;
  auto edit = [](int id) { return ControlSpec(ControlKind::Edit, id, "", 0, 90, 0, 0, 24); };
  auto label = [](const char* utf8) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8)); };
  return {label("面取りＣ"),         edit(c::kSize),         label("切削位置OFFSET"), edit(c::kOffset),
          label("DOWN送り率"),       edit(c::kDownRate),     label("アプローチ送り率"), edit(c::kApproachRate),
          ControlSpec(ControlKind::PushButton, c::kRegister, Sjis("登録"))};
}

}  // namespace

CHoleChamferDetailDlg::CHoleChamferDetailDlg()
    : platform::Dialog(kChamferDetailDialogId, Sjis("穴加工面取り詳細"), ChamferControls()) {
  auto field = [this](int id, double ChamferDetail::*m) {
    fields_.Add({id, [m](double v) { g_chamferDetail.*m = std::fabs(v); },
                 [m] { return NumberText(g_chamferDetail.*m); }});
  };
  field(chamfer_detail_ctl::kSize, &ChamferDetail::size);
  field(chamfer_detail_ctl::kOffset, &ChamferDetail::offset);
  field(chamfer_detail_ctl::kDownRate, &ChamferDetail::downRate);
  field(chamfer_detail_ctl::kApproachRate, &ChamferDetail::approachRate);
}

bool CHoleChamferDetailDlg::OnInit() {
  fields_.ShowAll(*this);
  return true;
}

void CHoleChamferDetailDlg::OnFocusGained(int id) {
  if (fields_.Focused() != 0 && fields_.Focused() != id) {
    fields_.Commit(*this);
    fields_.ShowAll(*this);
  }
  fields_.FocusGained(*this, id);
}

void CHoleChamferDetailDlg::OnClick(int id) {
  if (id == chamfer_detail_ctl::kRegister) Close();
}

void CHoleChamferDetailDlg::OnOk() {
  if (fields_.Focused() == 0) return NextControl();
  fields_.Commit(*this);
  fields_.ShowAll(*this);
  NextControl();
}

void CHoleChamferDetailDlg::OnCancel() { Close(); }

// The pending field is committed first, so the typed value is what is kept.
void CHoleChamferDetailDlg::Close() {
  fields_.Commit(*this);
  const platform::FileResult written = WriteChamferDetail(g_chamferDetail);
  if (!written.ok()) ReportFileFault(written);
  EndDialog(2);
}

}  // namespace dorn
