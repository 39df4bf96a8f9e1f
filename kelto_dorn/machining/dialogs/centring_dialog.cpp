#include "kelto_dorn/machining/dialogs/centring_dialog.h"

#include "kelto_dorn/app/work_box.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/startup.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = centring_ctl;

namespace {

constexpr int kColourScheme = 3;
constexpr int kParameters = 1220;
constexpr int kCorners = 1221;
constexpr int kRotation = 1222;
constexpr int kPosts = 1223;

ControlSpec Radio(int id, const char* utf8, int group) { return ControlSpec(ControlKind::RadioButton, id, Sjis(utf8), group); }
ControlSpec Edit(int id) { return ControlSpec(ControlKind::Edit, id, "", kParameters, 110); }
ControlSpec Label(const char* utf8) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8), kParameters); }

// The corner buttons by corner number 1-4.
constexpr int kCornerButtons[4] = {ctl::kLowerLeft, ctl::kLowerRight, ctl::kUpperRight, ctl::kUpperLeft};

}  // namespace

CAutoCenteringDlg::CAutoCenteringDlg()
    : platform::Dialog(
          kAutoCenteringDialogId, Sjis("自動芯出し設定"),
          {ControlSpec(ControlKind::TabControl, ctl::kTabs, "", 0, 360, 24),
           ControlSpec(ControlKind::GroupBox, kParameters, Sjis("パラメータ")),
           Radio(ctl::kActive, "有効", kParameters), Radio(ctl::kInactive, "無効", kParameters), Label("B"),
           Edit(ctl::kB), Label("E"), Edit(ctl::kE), Label("K"), Edit(ctl::kK), Label("I"), Edit(ctl::kI),
           Label("J"), Edit(ctl::kJ), Label("X"), Edit(ctl::kX), Label("Y"), Edit(ctl::kY),
           ControlSpec(ControlKind::GroupBox, kCorners, Sjis("原点コーナー位置")),
           Radio(ctl::kUpperLeft, "左上", kCorners), Radio(ctl::kUpperRight, "右上", kCorners),
           Radio(ctl::kLowerLeft, "左下", kCorners), Radio(ctl::kLowerRight, "右下", kCorners),
           ControlSpec(ControlKind::GroupBox, kRotation, Sjis("Ｑ回転座標呼出")),
           Radio(ctl::kRotationOn, "ＯＮ", kRotation), Radio(ctl::kRotationOff, "ＯＦＦ", kRotation),
           ControlSpec(ControlKind::GroupBox, kPosts, Sjis("座標系データ出力ポスト")),
           Radio(ctl::kPostStandard, "標準", kPosts), Radio(ctl::kPostFirst, "TOSNUC", kPosts),
           Radio(ctl::kPostSecond, "FANUC", kPosts), ControlSpec(ControlKind::PushButton, ctl::kRegister, Sjis("登録")),
           ControlSpec(ControlKind::PushButton, ctl::kCancel, Sjis("ｷｬﾝｾﾙ"))}) {
  fields_.Add({ctl::kB, [this](double v) { R().b = v; }, [this] { return NumberText(R().b); }});
  fields_.Add({ctl::kE, [this](double v) { R().e = v; }, [this] { return NumberText(R().e); }});
  fields_.Add({ctl::kK, [this](double v) { R().k = v; }, [this] { return NumberText(R().k); }});
  fields_.Add({ctl::kI, [this](double v) { R().i = v; }, [this] { return NumberText(R().i); }});
  fields_.Add({ctl::kJ, [this](double v) { R().j = v; }, [this] { return NumberText(R().j); }});
  fields_.Add({ctl::kX, [this](double v) { R().x = v; }, [this] { return NumberText(R().x); }});
  fields_.Add({ctl::kY, [this](double v) { R().y = v; }, [this] { return NumberText(R().y); }});
}

platform::DialogColors CAutoCenteringDlg::Colors() {
  SetDialogColors(kColourScheme);
  return platform::Dialog::Colors();
}

bool CAutoCenteringDlg::OnInit() {
  for (const char* tab : {" G54 ", " G55 ", " G56 ", " G57 "}) AddItem(ctl::kTabs, tab);
  SetCurSel(ctl::kTabs, 0);
  platform::FileResult read;
  records_ = LoadCentringRecords(read);
  if (!read.ok() && !read.missing()) ReportFileFault(read);
  post_ = records_[0].centringKind;
  current_ = 0;
  Refresh();
  return true;
}

void CAutoCenteringDlg::Refresh() {
  handover::AutoCenteringRecord& r = R();
  ApplyCorner(r);
  fields_.ShowAll(*this);
  SetCheck(ctl::kActive, r.active != 0);
  SetCheck(ctl::kInactive, r.active == 0);
  SetCheck(ctl::kRotationOn, r.macroCall != 0);
  SetCheck(ctl::kRotationOff, r.macroCall == 0);
  for (int corner = 1; corner <= 4; ++corner) SetCheck(kCornerButtons[corner - 1], r.cycleKind == corner);
  SetCheck(ctl::kPostStandard, post_ == 0);
  SetCheck(ctl::kPostFirst, post_ == 1);
  SetCheck(ctl::kPostSecond, post_ == 2);
}

void CAutoCenteringDlg::OnClick(int id) {
  handover::AutoCenteringRecord& r = R();
  switch (id) {
    case ctl::kActive:
    case ctl::kInactive:
      r.active = id == ctl::kActive ? 1 : 0;
      break;
    case ctl::kRotationOn:
    case ctl::kRotationOff:
      r.macroCall = id == ctl::kRotationOn ? 1 : 0;
      break;
    case ctl::kPostStandard:
    case ctl::kPostFirst:
    case ctl::kPostSecond:
      post_ = id - ctl::kPostStandard;
      break;
    case ctl::kRegister:
      fields_.Commit(*this);
      if (SaveCentringRecords(records_, post_)) PlaceWork();
      EndDialog(platform::kIdCancel);
      return;
    case ctl::kCancel:
      EndDialog(platform::kIdCancel);
      return;
    default:
      for (int corner = 1; corner <= 4; ++corner) {
        if (kCornerButtons[corner - 1] == id) r.cycleKind = corner;
      }
      break;
  }
  fields_.Commit(*this);
  Refresh();
}

void CAutoCenteringDlg::OnFocusGained(int id) {
  if (fields_.Focused() != id && fields_.Commit(*this)) Refresh();
  fields_.FocusGained(*this, id);
}

void CAutoCenteringDlg::OnSelectionChanged(int id) {
  if (id != ctl::kTabs) return;
  if (fields_.Commit(*this)) Refresh();
  const int selected = GetCurSel(ctl::kTabs);
  if (selected >= 0 && selected != current_) {
    current_ = selected;
    Refresh();
  }
}

void CAutoCenteringDlg::OnOk() {
  if (fields_.Commit(*this)) Refresh();
  NextControl();
}

}  // namespace dorn
