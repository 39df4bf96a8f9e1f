#pragma once
// The transform conditions of the working definition: MOVE (209) and
// multi-piece (210) with two tabbed entries each, rotation about a machine
// axis (208), shrink by percent (205) and axis conversion (206). Each edits
// its block of g_curMachiningDef in place.
//
// End codes: MOVE and multi-piece 1 (登録 and Esc) or 400 / 410 to pick the
// mirror line (g_pickTargetIndex names the entry); rotation 1; shrink and
// axis conversion 1 on 登録, 2 on ｷｬﾝｾﾙ and Esc (the values restored).
#include <cstdint>

#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/transform_rules.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kMoveDialogId = 209;
inline constexpr int kMultiPieceDialogId = 210;
inline constexpr int kRotationDialogId = 208;
inline constexpr int kShrinkDialogId = 205;
inline constexpr int kAxisConversionDialogId = 206;

namespace transform_ctl {
inline constexpr int kTabs = 1200;
inline constexpr int kTranslate = 1210;  // MOVE, multi-piece; rotation: Ｘ_ＲＯＴ
inline constexpr int kRotate = 1211;     // rotation: Ｙ_ＲＯＴ
inline constexpr int kMirror = 1212;     // rotation: Ｚ_ＲＯＴ
inline constexpr int kLabel1 = 1198;
inline constexpr int kLabel2 = 1201;
inline constexpr int kLabel3 = 1202;
inline constexpr int kLabelCount = 1203;
inline constexpr int kValue1 = 1008;
inline constexpr int kValue2 = 1029;
inline constexpr int kValue3 = 1030;
inline constexpr int kCount = 1031;
inline constexpr int kOptionAll = 1220;
inline constexpr int kOptionBsr = 1221;
inline constexpr int kOptionCsr = 1222;
inline constexpr int kRegister = 1001;
inline constexpr int kCancel = 2;
inline constexpr int kReset = 1131;
inline constexpr int kOff = 1230;  // axis conversion [off], ＸＺ, ＹＺ
inline constexpr int kXZ = 1231;
inline constexpr int kYZ = 1232;
}  // namespace transform_ctl

namespace transform_end {
inline constexpr int kPickMoveMirror = 400;
inline constexpr int kPickMultiPieceMirror = 410;
}  // namespace transform_end

// MOVE and multi-piece: the same dialog over two kinds of entry.
class CMoveFamilyDlg : public platform::Dialog {
 protected:
  CMoveFamilyDlg(int templateId, bool multiPiece);

  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  std::int32_t& Function();
  std::int32_t MirrorKey();
  double& Value(int i);
  void Refresh();
  void PickMirror();
  void Register();

  bool multi_;
  int entry_ = 0;
  NumericFieldSet fields_;
};

class CMoveDlg : public CMoveFamilyDlg {
 public:
  CMoveDlg() : CMoveFamilyDlg(kMoveDialogId, false) {}
};

class CMultiPieceDlg : public CMoveFamilyDlg {
 public:
  CMultiPieceDlg() : CMoveFamilyDlg(kMultiPieceDialogId, true) {}
};

class CRotationDlg : public platform::Dialog {
 public:
  CRotationDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  RotationEntry& E();
  int entry_ = 0;
  NumericFieldSet fields_;
};

class CShrinkDlg : public platform::Dialog {
 public:
  CShrinkDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  void Commit();
  ShrinkSettings values_{};
  ShrinkSettings saved_{};
  std::uint8_t savedReserved_[4] = {};
  bool written_ = false;
  NumericFieldSet fields_;
};

class CAxisConversionDlg : public platform::Dialog {
 public:
  CAxisConversionDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override {}
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  std::int32_t saved_ = 0;
};

}  // namespace dorn
