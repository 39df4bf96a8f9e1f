#include "kelto_dorn/machining/dialogs/time_estimate_dialog.h"

#include <cstdio>

#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/machining/settings_writes.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

constexpr int kFirstGroup = 1300;

std::vector<ControlSpec> TimeControls() {
  static const char* const kGroups[4] = {"設定ＭＣ_１", "設定ＭＣ_２", "設定ＭＣ_３", "設定ＭＣ_４"};
  std::vector<ControlSpec> c;
  for (int m = 0; m < 4; ++m) {
    const int group = kFirstGroup + m;
    c.emplace_back(ControlKind::GroupBox, group, Sjis(kGroups[m]));
    c.emplace_back(ControlKind::StaticText, -1, Sjis("G00早送り速度"), group);
    c.emplace_back(ControlKind::Edit, time_ctl::kFields[m][0], "", group, 110);
    c.emplace_back(ControlKind::StaticText, -1, Sjis("ATC工具交換時間"), group);
    c.emplace_back(ControlKind::Edit, time_ctl::kFields[m][1], "", group, 110);
    c.emplace_back(ControlKind::StaticText, -1, Sjis("トータル時間倍率"), group);
    c.emplace_back(ControlKind::Edit, time_ctl::kFields[m][2], "", group, 110);
  }
  c.emplace_back(ControlKind::PushButton, time_ctl::kRegister, Sjis("登　録"));
  return c;
}

std::filesystem::path TimeFile() { return platform::DataRoot() / handover::kMachiningTimeFileName; }

}  // namespace

handover::MachiningTimeTable BuiltInMachiningTimes() {
  handover::MachiningTimeTable t{};
  for (int m = 0; m < handover::MachiningTimeTable::kRecordCount; ++m) {
    handover::MachiningTimeRecord& r = t.records[m];
    r.machineNumber = m + 1;
    r.rapidRate = 11000 + 1000 * m;
    r.toolChangeTime = 10 + m;
    r.timeFactor = 1.0;
  }
  return t;
}

CTimeEstimateDlg::CTimeEstimateDlg() : platform::Dialog(kTimeEstimateDialogId, Sjis("　加工予想時間の初期設定"), TimeControls()) {
  for (int m = 0; m < 4; ++m) {
    handover::MachiningTimeRecord* r = &table_.records[m];
    fields_.Add({time_ctl::kFields[m][0], [r](double v) { r->rapidRate = static_cast<std::int32_t>(v); },
                 [r] { return IntText(r->rapidRate); }});
    fields_.Add({time_ctl::kFields[m][1], [r](double v) { r->toolChangeTime = static_cast<std::int32_t>(v); },
                 [r] { return IntText(r->toolChangeTime); }});
    fields_.Add({time_ctl::kFields[m][2], [r](double v) { r->timeFactor = v; }, [r] { return NumberText(r->timeFactor); }});
  }
}

// A damaged file is named and the built-in values shown; it is replaced
// only by 登　録.
bool CTimeEstimateDlg::OnInit() {
  table_ = BuiltInMachiningTimes();
  handover::MachiningTimeTable read = table_;
  const platform::FileResult r = handover::ReadMachiningTimeTable(TimeFile(), read);
  if (r.ok()) {
    table_ = read;
  } else if (!r.missing()) {
    ReportFileFault(r);
  }
  fields_.ShowAll(*this);
  return true;
}

void CTimeEstimateDlg::OnFocusGained(int id) {
  if (fields_.Focused() != id && fields_.Commit(*this)) fields_.ShowAll(*this);
  fields_.FocusGained(*this, id);
}

void CTimeEstimateDlg::OnOk() {
  if (fields_.Commit(*this)) fields_.ShowAll(*this);
  NextControl();
}

void CTimeEstimateDlg::OnCancel() {
  fields_.Commit(*this);
  WriteSettingsFile(TimeFile(), &table_, sizeof table_);
  EndDialog(platform::kIdCancel);
}

}  // namespace dorn
