#include "kelto_dorn/machining/dialogs/transform_dialogs.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/machining/figure_names.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace ctl = transform_ctl;

namespace {

constexpr unsigned kCheckLook = platform::control_style::kCheckLook;
constexpr int kValueLimit = 26;
constexpr int kCountLimit = 5;
constexpr int kShrinkLimit = 16;

MachiningDefinition& D() { return g_curMachiningDef; }

ControlSpec Button(int id, const char* utf8, int group = 0) {
  return ControlSpec(ControlKind::PushButton, id, Sjis(utf8), group, 0, 0, kCheckLook);
}
ControlSpec Plain(int id, const char* utf8) { return ControlSpec(ControlKind::PushButton, id, Sjis(utf8)); }
ControlSpec Edit(int id, int limit) { return ControlSpec(ControlKind::Edit, id, "", 0, 130, 0, 0, limit); }
ControlSpec Tabs() { return ControlSpec(ControlKind::TabControl, ctl::kTabs, "", 0, 260, 24); }

void AddTabs(platform::Dialog& dialog, const char* format) {
  char caption[32];
  for (int i = 1; i <= 2; ++i) {
    std::snprintf(caption, sizeof caption, format, i);
    dialog.AddItem(ctl::kTabs, caption);
  }
}

int LabelOf(int edit) {
  switch (edit) {
    case ctl::kValue1:
      return ctl::kLabel1;
    case ctl::kValue2:
      return ctl::kLabel2;
    case ctl::kValue3:
      return ctl::kLabel3;
    default:
      return ctl::kLabelCount;
  }
}

// The tab of entry 1 or 2 chosen: true when it is another entry than
// `entry`, which it then becomes.
bool TakeEntryTab(platform::Dialog& dialog, int& entry) {
  const int selected = dialog.GetCurSel(ctl::kTabs);
  if (selected < 0 || selected == entry) return false;
  entry = selected;
  return true;
}

// A value edit gained the focus: one the entry's function uses becomes the
// focused field with its label marked; the focus passes over the others.
void TakeValueFocus(platform::Dialog& dialog, NumericFieldSet& fields, int id, bool used) {
  if (fields.Find(id) == nullptr) return;
  if (!used) return dialog.NextControl();
  dialog.SetCheck(LabelOf(id), 1);
  fields.FocusGained(dialog, id);
}

std::vector<ControlSpec> MoveControls(bool multi) {
  const int limit = multi ? kValueLimit : 0;
  std::vector<ControlSpec> c = {Tabs(),
                                ControlSpec(ControlKind::GroupBox, 1199, Sjis("機  能")),
                                Button(ctl::kTranslate, "平行移動", 1199),
                                Button(ctl::kRotate, "回転移動", 1199),
                                Button(ctl::kMirror, "対称移動", 1199),
                                Button(ctl::kLabel1, "    "),
                                Edit(ctl::kValue1, limit),
                                Button(ctl::kLabel2, "    "),
                                Edit(ctl::kValue2, limit),
                                Button(ctl::kLabel3, "    "),
                                Edit(ctl::kValue3, limit)};
  if (multi) {
    c.push_back(Button(ctl::kLabelCount, "回数"));
    c.push_back(Edit(ctl::kCount, kCountLimit));
    c.push_back(ControlSpec(ControlKind::GroupBox, 1204, "OPTION"));
    c.push_back(Button(ctl::kOptionAll, "ALL", 1204));
    c.push_back(Button(ctl::kOptionBsr, "BSR", 1204));
  }
  c.push_back(Plain(ctl::kRegister, "登録"));
  c.push_back(Plain(ctl::kReset, "RESET"));
  return c;
}

}  // namespace

// --- MOVE and multi-piece --------------------------------------------------------------------

CMoveFamilyDlg::CMoveFamilyDlg(int templateId, bool multiPiece)
    : platform::Dialog(templateId, Sjis(multiPiece ? "多数個取り登録" : "ＭＯＶＥ登録"), MoveControls(multiPiece)),
      multi_(multiPiece) {
  for (int i = 0; i < 3; ++i) {
    const int id = i == 0 ? ctl::kValue1 : i == 1 ? ctl::kValue2 : ctl::kValue3;
    fields_.Add({id, [this, i](double v) { Value(i) = v; }, {}});
  }
  if (multi_) {
    fields_.Add({ctl::kCount,
                 [this](double v) { D().multiPieceEntries[entry_].word[3] = static_cast<std::int32_t>(v); }, {}});
  }
}

std::int32_t& CMoveFamilyDlg::Function() {
  return multi_ ? D().multiPieceEntries[entry_].word[1] : D().moveEntries[entry_].word4;
}
std::int32_t CMoveFamilyDlg::MirrorKey() {
  return multi_ ? D().multiPieceEntries[entry_].figureKey : D().moveEntries[entry_].figureKey;
}
double& CMoveFamilyDlg::Value(int i) {
  return multi_ ? D().multiPieceEntries[entry_].value[i] : D().moveEntries[entry_].value[i];
}

platform::DialogColors CMoveFamilyDlg::Colors() {
  SetDialogColors(multi_ ? 3 : 4);
  return platform::Dialog::Colors();
}

bool CMoveFamilyDlg::OnInit() {
  AddTabs(*this, multi_ ? "MOVE_MAL[%d]" : "MOVE[%d]");
  SetCurSel(ctl::kTabs, 0);
  entry_ = 0;
  if (multi_) {
    for (MultiPieceEntry& e : D().multiPieceEntries) KeepMirrorCountOne(e);
    Enable(ctl::kOptionBsr, HasFirstCheckSurface(D()));
  }
  Refresh();
  return true;
}

void CMoveFamilyDlg::Refresh() {
  const int f = Function();
  SetCheck(ctl::kTranslate, f == kTransformTranslate);
  SetCheck(ctl::kRotate, f == kTransformRotate);
  SetCheck(ctl::kMirror, f == kTransformMirror);
  static const char* const kLabels[4][3] = {
      {"    ", "    ", "    "}, {"dX", "dY", "  "}, {"CX", "CY", "qA"}, {"    ", "    ", "SYM"}};
  const int row = f >= 0 && f <= 3 ? f : 0;
  SetText(ctl::kLabel1, kLabels[row][0]);
  SetText(ctl::kLabel2, kLabels[row][1]);
  SetText(ctl::kLabel3, kLabels[row][2]);
  SetText(ctl::kValue1, " ");
  SetText(ctl::kValue2, " ");
  SetText(ctl::kValue3, " ");
  if (f == kTransformTranslate || f == kTransformRotate) {
    SetText(ctl::kValue1, NumberText(Value(0)));
    SetText(ctl::kValue2, NumberText(Value(1)));
  }
  if (f == kTransformRotate) SetText(ctl::kValue3, NumberText(Value(2)));
  if (f == kTransformMirror) {
    if (const auto name = CurveNameOfKey(MirrorKey())) SetText(ctl::kValue3, " " + *name);
  }
  if (multi_) {
    MultiPieceEntry& e = D().multiPieceEntries[entry_];
    KeepMirrorCountOne(e);
    SetText(ctl::kCount, IntText(e.word[3]));
    SetCheck(ctl::kOptionBsr, (e.word[0] & kMultiPieceBsr) != 0);
    SetCheck(ctl::kOptionAll, (e.word[0] & kMultiPieceBsr) == 0);
  }
}

void CMoveFamilyDlg::PickMirror() {
  Function() = kTransformMirror;
  g_pickTargetIndex = entry_;
  EndDialog(multi_ ? transform_end::kPickMultiPieceMirror : transform_end::kPickMoveMirror);
}

void CMoveFamilyDlg::Register() {
  fields_.Commit(*this);
  if (multi_) {
    RegisterMultiPieceEntries(D());
  } else {
    RegisterMoveEntries(D());
  }
  EndDialog(1);
}

void CMoveFamilyDlg::OnClick(int id) {
  if (fields_.Commit(*this)) Refresh();
  switch (id) {
    case ctl::kTranslate:
    case ctl::kRotate:
      Function() = id == ctl::kTranslate ? kTransformTranslate : kTransformRotate;
      break;
    case ctl::kMirror:
      return PickMirror();
    case ctl::kLabel1:
    case ctl::kLabel2:
    case ctl::kLabel3:
    case ctl::kLabelCount:
      NextControl();
      return;
    case ctl::kOptionAll:
      D().multiPieceEntries[entry_].word[0] &= 0xFF;
      break;
    case ctl::kOptionBsr:
      D().multiPieceEntries[entry_].word[0] |= kMultiPieceBsr;
      break;
    case ctl::kRegister:
      return Register();
    case ctl::kReset:
      if (multi_) {
        ResetMultiPieceEntries(D());
      } else {
        ResetMoveEntries(D());
      }
      entry_ = 0;
      SetCurSel(ctl::kTabs, 0);
      SignalBeep();
      break;
    default:
      return;
  }
  Refresh();
}

// An edit takes the focus only when the function uses it; the mirror's
// third edit asks for the line instead.
void CMoveFamilyDlg::OnFocusGained(int id) {
  if (fields_.Commit(*this)) Refresh();
  const int f = Function();
  const bool placed = f == kTransformTranslate || f == kTransformRotate;
  bool takes = false;
  if (id == ctl::kValue1 || id == ctl::kValue2) takes = placed;
  if (id == ctl::kValue3) {
    if (f == kTransformMirror) return PickMirror();
    takes = f == kTransformRotate;
  }
  if (id == ctl::kCount) takes = multi_ && placed;
  TakeValueFocus(*this, fields_, id, takes);
}

void CMoveFamilyDlg::OnFocusLost(int id) {
  if (fields_.Find(id) != nullptr) SetCheck(LabelOf(id), 0);
}

void CMoveFamilyDlg::OnSelectionChanged(int id) {
  if (id != ctl::kTabs) return;
  if (fields_.Commit(*this)) Refresh();
  if (TakeEntryTab(*this, entry_)) Refresh();
  if (multi_) SetFocus(ctl::kTabs);
}

void CMoveFamilyDlg::OnOk() {
  const int field = fields_.Focused();
  if (fields_.Commit(*this)) Refresh();
  const bool rotate = Function() == kTransformRotate;
  switch (field) {
    case ctl::kValue1:
      return SetFocus(ctl::kValue2);
    case ctl::kValue2:
      return SetFocus(!multi_ || rotate ? ctl::kValue3 : ctl::kCount);
    case ctl::kValue3:
      if (multi_) return SetFocus(ctl::kCount);
      return NextControl(true);
    case ctl::kCount:
      return NextControl(true);
    default:
      return;
  }
}

// Esc keeps what was typed, as 登録 does.
void CMoveFamilyDlg::OnCancel() { Register(); }

// --- rotation ----------------------------------------------------------------------------------

CRotationDlg::CRotationDlg()
    : platform::Dialog(kRotationDialogId, Sjis("ローテーション登録"),
                       {Tabs(), ControlSpec(ControlKind::GroupBox, 1199, Sjis("機  能")),
                        Button(ctl::kTranslate, "Ｘ_ＲＯＴ", 1199), Button(ctl::kRotate, "Ｙ_ＲＯＴ", 1199),
                        Button(ctl::kMirror, "Ｚ_ＲＯＴ", 1199), Button(ctl::kLabel1, "ＣＸ"), Edit(ctl::kValue1, 0),
                        Button(ctl::kLabel2, "ＣＹ"), Edit(ctl::kValue2, 0), Button(ctl::kLabel3, "角度"),
                        Edit(ctl::kValue3, 0), ControlSpec(ControlKind::GroupBox, 1204, "OPTION"),
                        Button(ctl::kOptionAll, "ALL", 1204), Button(ctl::kOptionBsr, "BSR", 1204),
                        Button(ctl::kOptionCsr, "CSR", 1204), Plain(ctl::kRegister, "登録"),
                        Plain(ctl::kReset, "RESET")}) {
  fields_.Add({ctl::kValue1, [this](double v) { E().centre[0] = v; }, {}});
  fields_.Add({ctl::kValue2, [this](double v) { E().centre[1] = v; }, {}});
  fields_.Add({ctl::kValue3, [this](double v) { E().angle = v; }, {}});
}

RotationEntry& CRotationDlg::E() { return D().rotations[entry_]; }

platform::DialogColors CRotationDlg::Colors() {
  SetDialogColors(5);
  return platform::Dialog::Colors();
}

bool CRotationDlg::OnInit() {
  AddTabs(*this, "ROTATION[%d]");
  SetCurSel(ctl::kTabs, 0);
  Enable(ctl::kOptionCsr, HasFirstCheckSurface(D()));
  Refresh();
  return true;
}

void CRotationDlg::Refresh() {
  const RotationEntry& e = E();
  SetCheck(ctl::kMirror, e.axis == 1);
  SetCheck(ctl::kTranslate, e.axis == 2);
  SetCheck(ctl::kRotate, e.axis == 3);
  static const char* const kCentreLabels[4][2] = {
      {"ＣＸ", "ＣＹ"}, {"C[X]", "C[Y]"}, {"C[Y]", "C[Z]"}, {"C[Z]", "C[X]"}};
  const int row = e.axis >= 1 && e.axis <= 3 ? e.axis : 0;
  SetText(ctl::kLabel1, Sjis(kCentreLabels[row][0]));
  SetText(ctl::kLabel2, Sjis(kCentreLabels[row][1]));
  SetText(ctl::kValue1, e.axis == 0 ? std::string() : NumberText(e.centre[0]));
  SetText(ctl::kValue2, e.axis == 0 ? std::string() : NumberText(e.centre[1]));
  SetText(ctl::kValue3, e.axis == 0 ? std::string() : NumberText(e.angle));
  SetCheck(ctl::kOptionAll, e.option == 0);
  SetCheck(ctl::kOptionBsr, e.option == 1);
  SetCheck(ctl::kOptionCsr, e.option == 2);
}

void CRotationDlg::OnClick(int id) {
  if (fields_.Commit(*this)) Refresh();
  switch (id) {
    case ctl::kMirror:
      E().axis = 1;
      break;
    case ctl::kTranslate:
      E().axis = 2;
      break;
    case ctl::kRotate:
      E().axis = 3;
      break;
    case ctl::kOptionAll:
    case ctl::kOptionBsr:
    case ctl::kOptionCsr:
      E().option = id - ctl::kOptionAll;
      break;
    case ctl::kLabel1:
    case ctl::kLabel2:
    case ctl::kLabel3:
      NextControl();
      return;
    case ctl::kRegister:
      return OnCancel();
    case ctl::kReset:
      ResetRotations(D());
      entry_ = 0;
      SetCurSel(ctl::kTabs, 0);
      break;
    default:
      return;
  }
  Refresh();
}

// The edits are passed over while the entry has no axis.
void CRotationDlg::OnFocusGained(int id) {
  if (fields_.Commit(*this)) Refresh();
  TakeValueFocus(*this, fields_, id, E().axis != 0);
}

void CRotationDlg::OnSelectionChanged(int id) {
  if (id != ctl::kTabs) return;
  if (fields_.Commit(*this)) Refresh();
  if (TakeEntryTab(*this, entry_)) Refresh();
}

void CRotationDlg::OnOk() {
  const int field = fields_.Focused();
  if (fields_.Commit(*this)) Refresh();
  if (field == ctl::kValue1) return SetFocus(ctl::kValue2);
  if (field == ctl::kValue2) return SetFocus(ctl::kValue3);
  if (field == ctl::kValue3) NextControl(true);
}

// 登録 and Esc: an entry is active while its axis is set.
void CRotationDlg::OnCancel() {
  fields_.Commit(*this);
  RegisterRotations(D());
  EndDialog(1);
}

// --- shrink ----------------------------------------------------------------------------------

CShrinkDlg::CShrinkDlg()
    : platform::Dialog(kShrinkDialogId, Sjis("収縮登録"),
                       {Button(ctl::kLabel1, " Ｘ［％］"), Edit(ctl::kValue1, kShrinkLimit),
                        Button(ctl::kLabel2, " Ｙ［％］"), Edit(ctl::kValue2, kShrinkLimit),
                        Button(ctl::kLabel3, " Ｚ［％］"), Edit(ctl::kValue3, kShrinkLimit),
                        Plain(ctl::kRegister, "登録"), Plain(ctl::kCancel, "ｷｬﾝｾﾙ"), Plain(ctl::kReset, "RESET")}) {
  fields_.Add({ctl::kValue1, [this](double v) { values_.x = v; }, [this] { return NumberText(values_.x); }});
  fields_.Add({ctl::kValue2, [this](double v) { values_.y = v; }, [this] { return NumberText(values_.y); }});
  fields_.Add({ctl::kValue3, [this](double v) { values_.z = v; }, [this] { return NumberText(values_.z); }});
}

platform::DialogColors CShrinkDlg::Colors() {
  SetDialogColors(2);
  return platform::Dialog::Colors();
}

bool CShrinkDlg::OnInit() {
  saved_ = ReadShrink(D());
  std::memcpy(savedReserved_, D().reserved5492, sizeof savedReserved_);
  values_ = ShrinkStartValues(D());
  Refresh();
  return true;
}

void CShrinkDlg::Refresh() { fields_.ShowAll(*this); }

// Any commit, even of an empty text, switches the shrink on and makes the
// shared bytes the shrink's.
void CShrinkDlg::Commit() {
  if (fields_.Focused() == 0) return;
  fields_.Commit(*this);
  values_.active = kShrinkActive;
  WriteShrink(D(), values_);
  written_ = true;
  Refresh();
}

void CShrinkDlg::OnClick(int id) {
  Commit();
  switch (id) {
    case ctl::kRegister:
      if (written_) {
        RegisterShrink(values_);
        WriteShrink(D(), values_);
      }
      EndDialog(1);
      return;
    case ctl::kCancel:
      return OnCancel();
    case ctl::kReset:
      values_ = ShrinkSettings{0, 0, 100.0, 100.0, 100.0};
      WriteShrink(D(), values_);
      written_ = true;
      Refresh();
      return;
    case ctl::kLabel1:
    case ctl::kLabel2:
    case ctl::kLabel3:
      NextControl();
      return;
    default:
      return;
  }
}

void CShrinkDlg::OnFocusGained(int id) {
  Commit();
  if (fields_.FocusGained(*this, id)) SetCheck(LabelOf(id), 1);
}

void CShrinkDlg::OnOk() {
  const int field = fields_.Focused();
  Commit();
  if (field == ctl::kValue1) return SetFocus(ctl::kValue2);
  if (field == ctl::kValue2) return SetFocus(ctl::kValue3);
  if (field == ctl::kValue3) NextControl(true);
}

void CShrinkDlg::OnCancel() {
  WriteShrink(D(), saved_);
  std::memcpy(D().reserved5492, savedReserved_, sizeof savedReserved_);
  EndDialog(2);
}

// --- axis conversion -------------------------------------------------------------------------

CAxisConversionDlg::CAxisConversionDlg()
    : platform::Dialog(kAxisConversionDialogId, Sjis("軸変換登録"),
                       {Button(ctl::kOff, "[off]"), Button(ctl::kXZ, "ＸＺ"), Button(ctl::kYZ, "ＹＺ"),
                        Plain(ctl::kRegister, "登録"), Plain(ctl::kCancel, "ｷｬﾝｾﾙ")}) {}

platform::DialogColors CAxisConversionDlg::Colors() {
  SetDialogColors(1);
  return platform::Dialog::Colors();
}

bool CAxisConversionDlg::OnInit() {
  saved_ = AxisConversion(D());
  Refresh();
  return true;
}

void CAxisConversionDlg::Refresh() {
  const std::int32_t w = AxisConversion(D());
  SetCheck(ctl::kOff, w == 0);
  SetCheck(ctl::kXZ, w == 2);
  SetCheck(ctl::kYZ, w == 3);
}

void CAxisConversionDlg::OnClick(int id) {
  switch (id) {
    case ctl::kOff:
      AxisConversion(D()) = 0;
      break;
    case ctl::kXZ:
      AxisConversion(D()) = 2;
      break;
    case ctl::kYZ:
      AxisConversion(D()) = 3;
      break;
    case ctl::kRegister:
      EndDialog(1);
      return;
    case ctl::kCancel:
      return OnCancel();
    default:
      return;
  }
  Refresh();
}

void CAxisConversionDlg::OnCancel() {
  AxisConversion(D()) = saved_;
  EndDialog(2);
}

}  // namespace dorn
