// The application's window half and the routing of commands: see app_instance.h.
#include "kelto_dorn/window/app_instance.h"

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/file_menu.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/main_frame.h"
#include "platform/application.h"
#include "platform/choosers.h"
#include "platform/settings_store.h"

namespace dorn {

namespace {

constexpr char kProgramName[] = "Kelto_Dorn";

// A dialog of another subsystem run with ModalDepth raised.
void RunNeighbourDialog(const std::function<int()>& dialog) {
  if (!dialog) return;
  ++ModalDepth;
  dialog();
  if (ModalDepth > 0) --ModalDepth;
}

// The recent-file list of the settings store (four entries), with the
// document's name as the single-document framework adds it.
void RememberDocumentName() {
  platform::SettingsStore store(kProgramName);
  store.AddRecentFile(kProgramName);
  std::string message;
  if (!store.Save(&message)) ReportFileFault(message);
}

}  // namespace

CKelApp::CKelApp() = default;

CKelApp::~CKelApp() {
  view_.reset();
  frame_.reset();
  document_.reset();
}

bool CKelApp::InitInstance() {
  platform::SetApplicationTitle(kProgramName);
  document_ = std::make_unique<CKelDoc>();
  RememberDocumentName();
  frame_ = std::make_unique<CMainFrame>(*document_);
  if (frame_->Create() != 0) return false;
  view_ = std::make_unique<CKelView>(*document_);
  platform::Frame& frame = frame_->Frame();
  view_->OnCreate(frame.View());
  frame.SetCommandRouter([this](int id) { Route(id); });
  frame.SetUpdateHandler([this](platform::CommandUpdate& u) { Update(u); });
  frame.SetCloseHandler([this] { return frame_->OnClose(); });
  frame.Show();
  frame_->OnActivate();
  frame.UpdateToolBars();
  frame.View().SetFocus();
  return true;
}

void CKelApp::Route(int id) {
  if (view_ && view_->OnCommand(id)) return;
  if (OnDocumentCommand(id)) return;
  if (frame_ && frame_->OnCommand(id)) return;
  OnCommand(id);
}

void CKelApp::Update(platform::CommandUpdate& u) {
  const int id = u.Id();
  if (!view_ || !view_->OnUpdateCommand(u)) {
    if (DocumentCommandAvailable(id) || Handles(id)) {
      u.Enable(Available(id));
    } else {
      // Documents commands whose dialog is missing, and ids nobody handles.
      u.Enable(frame_ && frame_->Handles(id));
    }
  }
  if (frame_) frame_->OnUpdateCommand(u);
}

bool CKelApp::Handles(int id) const {
  switch (id) {
    case cmd::kAbout:
    case cmd::kMachiningInfo:
    case cmd::kDrawingSize:
    case cmd::kBoxHoleSettings:
    case cmd::kTimeEstimate:
    case cmd::kFilePrintSetup:
      return true;
    default:
      return false;
  }
}

bool CKelApp::Available(int id) const {
  switch (id) {
    case cmd::kMachiningInfo:
      return static_cast<bool>(g_commandEngines.machiningInfoDialog);
    case cmd::kBoxHoleSettings:
      return static_cast<bool>(g_commandEngines.boxHoleStyleDialog);
    case cmd::kTimeEstimate:
      return static_cast<bool>(g_commandEngines.timeEstimateDialog);
    default:
      return Handles(id) || DocumentCommandAvailable(id);
  }
}

bool CKelApp::OnCommand(int id) {
  switch (id) {
    case cmd::kAbout:
      OnAppAbout();
      return true;
    case cmd::kMachiningInfo:
      RunNeighbourDialog(g_commandEngines.machiningInfoDialog);
      return true;
    case cmd::kDrawingSize:
      OnShowDrawingSize();
      return true;
    case cmd::kBoxHoleSettings:
      if (!g_commandEngines.boxHoleStyleDialog) return true;
      RunNeighbourDialog(g_commandEngines.boxHoleStyleDialog);
      // The settings are written whatever the dialog ended with.
      if (const platform::FileResult w = WriteBoxHoleSettings(); !w.ok()) ReportFileFault(w);
      return true;
    case cmd::kTimeEstimate:
      RunNeighbourDialog(g_commandEngines.timeEstimateDialog);
      return true;
    case cmd::kFilePrintSetup:
      platform::ChoosePrinter({});
      return true;
    default:
      return false;
  }
}

}  // namespace dorn
