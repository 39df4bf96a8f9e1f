// NC run requests and the view commands of the CAM data: see nc_requests.h.
#include "kelto_dorn/camdata/nc_requests.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/data_transfer_dialog.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/machining_order_dialog.h"
#include "kelto_dorn/camdata/nc_check_dialog.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/camdata/post_setting_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/frame.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

const std::string& Caption() { return platform::Sjis("ＮＣデータ作成"); }

void ShowSkipped(const std::vector<std::string>& skipped) {
  if (skipped.empty()) return;
  std::string text = platform::Sjis("次のものは除いてＮＣデータを作りました:");
  for (const std::string& line : skipped) text += "\n" + line;
  platform::ShowMessageBox({text, Caption(), platform::MessageButtons::Ok, platform::MessageIcon::Exclamation});
}

bool IsWireKind(std::int32_t kind) {
  return kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire) ||
         kind == static_cast<std::int32_t>(MachiningKind::TwoAxisWire);
}

// Presses a view command's button while its dialog runs.
class PressedButton {
 public:
  explicit PressedButton(int id) : id_(id) { Set(true); }
  ~PressedButton() { Set(false); }
  PressedButton(const PressedButton&) = delete;
  PressedButton& operator=(const PressedButton&) = delete;

 private:
  void Set(bool on) {
    if (platform::Frame* frame = GetAppMainWnd()) frame->SetCommandPressed(id_, on);
  }
  int id_;
};

}  // namespace

bool BuildHandover(const CamServices& services, int pitInClassification) {
  if (!CanBuild(services)) return false;
  auto builder =
      std::make_unique<CCamDataBuilder>(*services.definitions, *services.atc, *services.surfaces, *services.finishPass);
  const CamBuildResult result = builder->CreateCamData(pitInClassification);
  if (!result.written) {
    platform::ShowMessageBox({result.failure + "\n" + platform::Sjis("ＮＣデータは作成されませんでした"), Caption(),
                              platform::MessageButtons::Ok, platform::MessageIcon::Stop});
    return false;
  }
  ShowSkipped(result.skipped);
  return true;
}

bool BuildAndStart(const CamServices& services, int pitInClassification, int startMode, int subMode,
                   const std::function<bool()>& beforeStart) {
  if (!BuildHandover(services, pitInClassification)) return false;
  if (services.saveDrawing) services.saveDrawing();
  if (beforeStart && !beforeStart()) return false;
  return services.startCompanion && services.startCompanion(startMode, subMode) == 0;
}

bool RunCamJob(const CamServices& services, int startMode, int subMode) {
  if (!CanBuild(services) || g_curMachiningDef.kind == 0) {
    SignalBeep();  // no working definition to run
    return false;
  }
  const MachiningDefinition saved = g_curMachiningDef;
  const int slot = g_curDefinitionSlot;
  if (services.storeDefinition) services.storeDefinition(1);
  TruncateMachiningOrder(0);
  int n = 0;
  for (int step = 0; step < kStepCount && saved.stepTools[step].inUse != 0; ++step) {
    g_machiningOrderList[static_cast<std::size_t>(n++)] = saved.number + step;
    if (IsWireKind(saved.kind)) break;
  }
  g_machiningOrderCount = kOrderListInForce;
  const bool started = BuildAndStart(services, 0, startMode, subMode, [] {
    g_drawingHeader.machiningSetting444 = 0;  // the data-map output
    return true;
  });
  g_curDefinitionSlot = slot;
  g_curMachiningDef = saved;
  if (saved.kind == static_cast<std::int32_t>(MachiningKind::FourAxisWire)) {
    const int index = FindSurfaceByKey(saved.curves[0].key);
    if (index != kNone) {
      const int surfaceSlot = g_surfaceIndexTable.records[static_cast<std::size_t>(index)].slot;
      if (surfaceSlot >= 0 && surfaceSlot < kSurfaceSlotCount) {
        g_curSurface = (*services.surfaces)[static_cast<std::size_t>(surfaceSlot)];
        g_surfaceIndexTable.currentSlot = surfaceSlot;
      }
    }
  }
  TruncateMachiningOrder(0);
  return started;
}

void OnExecuteCommand(const CamServices& services, int commandId) {
  switch (commandId) {
    case kCmdExecuteGraphic:
      RunCamJob(services, 4, 0);
      break;
    case kCmdExecuteDataMap:
      RunCamJob(services, 1, 6);
      break;
    case kCmdExecuteDataCreation:
      RunCamJob(services, 4, 6);
      break;
    case kCmdMachiningOrder:
      OnMachiningOrder(services);
      break;
    case kCmdNcDataCheck:
      OnNcDataCheck(services);
      break;
    default:
      break;
  }
}

void OnMachiningOrder(const CamServices& services) {
  if (g_curveCount <= 0) return;
  PressedButton pressed(kCmdMachiningOrder);
  FocusedEditIndex = 1;
  CMachiningOrderM00Dlg dialog(services);
  dialog.DoModal();
  FocusedEditIndex = 0;
}

void OnNcDataCheck(const CamServices& services) {
  CNcDataCheckDlg dialog(services);
  dialog.DoModal();
}

void InstallCamDataCommands(std::function<CamServices()> services) {
  g_commandEngines.camDataRun = [services](int id) { OnExecuteCommand(services(), id); };
  g_commandEngines.machiningOrder = [services] { OnMachiningOrder(services()); };
  g_commandEngines.ncDataCheck = [services] { OnNcDataCheck(services()); };
  g_commandEngines.ncTransferDialog = [services](handover::DrawingHeader& header) {
    return RunDataTransferDialog(services(), header);
  };
  g_commandEngines.postSettingsDialog = [] {
    CPostSettingDlg dialog;
    return dialog.DoModal();
  };
}

}  // namespace dorn
