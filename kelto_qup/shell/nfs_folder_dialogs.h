#pragma once
// The two helpers of the network-drive send: the folder list of the selected
// slot's drive (IDD 143), which picks the target folder at that drive's root,
// and the drive slots (IDD 144), which set the five slots' drives and labels.
// Both work on the send dialog's settings record.
#include "kelto_qup/shell/nfs_send.h"
#include "platform/dialog.h"

namespace qup::shell {

class CUserDirListDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 143;
  static constexpr int kList = 1028;
  explicit CUserDirListDlg(NfsSendSettings& settings);

 protected:
  bool OnInit() override;
  void OnOk() override;
  void OnDoubleClick(int id) override;

 private:
  void TakeSelection();
  NfsSendSettings& settings_;
};

class CSendDriveDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 144;
  static constexpr int kFirstDrive = 1030;  // 1030-1034, one per slot
  static constexpr int kFirstLabel = 1003;  // 1003-1007
  static constexpr int kRegister = 1016;
  static constexpr int kLabelLimit = 24;
  explicit CSendDriveDlg(NfsSendSettings& settings);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;

 private:
  void Register();
  NfsSendSettings& settings_;
  // The drive numbers chosen so far; the settings change only on "登録".
  int chosen_[kNfsSlotCount] = {};
};

}  // namespace qup::shell
