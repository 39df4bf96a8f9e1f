#pragma once
// The capsule machining names: sixteen names in "$cps_name.@@@" in the data
// root (four header words kept as read, then 16 x char[32]), edited in
// CCapsuleNameSetDlg (337) and offered for choice in CCapsuleNameListDlg
// (338), which leaves the chosen line in the shared text buffer.
#include <cstdint>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCapsuleNameSetDialogId = 337;
inline constexpr int kCapsuleNameListDialogId = 338;

struct CapsuleNameTable {
  std::int32_t header[4] = {6938, 3099, 2312, 0};
  char names[16][32] = {};
};
static_assert(sizeof(CapsuleNameTable) == 528);

namespace capsule_name_ctl {
inline constexpr int kNames[16] = {1008, 1029, 1030, 1031, 1065, 1066, 1067, 1068,
                                   1069, 1086, 1087, 1092, 1093, 1115, 1116, 1117};
inline constexpr int kRegister = 1178;
inline constexpr int kCancel = 2;
inline constexpr int kList = 1024;
}  // namespace capsule_name_ctl

// The table from the file; without one (or a damaged one, named) the
// header words of a new table and empty names.
CapsuleNameTable ReadCapsuleNames();

class CCapsuleNameSetDlg : public platform::Dialog {
 public:
  CCapsuleNameSetDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override { NextControl(); }

 private:
  void Commit();
  CapsuleNameTable table_{};
  int focused_ = -1;
};

class CCapsuleNameListDlg : public platform::Dialog {
 public:
  CCapsuleNameListDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override { Take(); }

 private:
  void Take();
};

}  // namespace dorn
