// The companion's start-up, in the order the work files depend on each other,
// and the application commands.
#include "kelto_qup/shell/qup_app.h"

#include <cstdio>

#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/nc_copy.h"
#include "kelto_qup/shell/nfs_send.h"
#include "platform/application.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

constexpr int kInitialElements = 3800;
constexpr unsigned kStopIcon = 0x10;
constexpr int kDisplayListMode = 39;
constexpr int kAboutDialog = 100;

// The About box: the program's name and an OK button.
class CAboutDlg : public platform::Dialog {
 public:
  CAboutDlg()
      : platform::Dialog(kAboutDialog, platform::Sjis("バージョン情報"),
                         {{platform::ControlKind::StaticText, -1, kTitleText},
                          {platform::ControlKind::PushButton, platform::kIdOk, "OK", 0, 0, 0,
                           platform::control_style::kDefaultButton}}) {}
};

}  // namespace

CQupApp::CQupApp() { run.job.DisplayList = nullptr; }

bool CQupApp::ModeUsesJob(int startMode) {
  return (startMode >= 0 && startMode <= 9) || startMode == 40 || (startMode >= 53 && startMode <= 55);
}

void CQupApp::Note(const platform::FileResult& result) {
  if (!result.ok() && !result.missing()) host.AddListLine(platform::Utf8ToCp932(result.message));
}

void CQupApp::FindFolders() {
  const platform::fs::path& program = platform::ProgramFolder();
  fileServer = handover::FileServerSettings{};
  handover::FileServerSettings read;
  const platform::FileResult r = platform::ReadRecord(program / handover::kFileServerFileName, read);
  Note(r);
  if (r.ok()) {
    platform::TerminateField(read.folder);
    platform::TerminateField(read.serverPath);
    fileServer = read;
  }
  // The stored program folder is never used: the running program decides.
  platform::SetFieldText(fileServer.programFolder, platform::SystemName(program));
  const std::string server = platform::FieldText(fileServer.serverPath);
  platform::SetDataRoot(fileServer.enabled != 0 && !server.empty() ? platform::NativePath(server) : program);
}

void CQupApp::InitApplication() {
  FindFolders();
  platform::SetApplicationTitle(kTitleText);
  platform::WaitCursor wait;
  SetDefaultColors();
  ReadStartFiles();
  pens = MakePenTable(colors);

  // The start mode is taken over once: the record on disk gets 99 in both
  // mode words, memory keeps the modes for the dispatch.
  handover::DrawingHeader& h = Header();
  int startMode = h.startMode;
  int subMode = h.subMode;
  h.showAxes = 0;
  run.engine.core.TraceState = 0;
  h.startMode = h.subMode = handover::DrawingHeader::kNoStartMode;
  if (h.version != handover::DrawingHeader::kVersionWord) {
    startMode = subMode = handover::DrawingHeader::kNoStartMode;
    versionMismatch = true;
    host.ShowErrorBox(kVersionMessage);
  }
  WriteDrawingHeader();

  // Kelto_Dorn writes the tool comments under the drawing name, so they are
  // read under it even when the program number renames the output.
  const std::string commentName = platform::FieldText(h.drawingName);
  if (h.programNumberSwitch == 1) {
    char name[24];
    std::snprintf(name, sizeof name, "O%d", h.programNumber);
    platform::SetFieldText(h.drawingName, name);
    h.dataExtension[0] = h.dataExtension[1] = '\0';
  }
  h.startMode = startMode;
  h.subMode = subMode;
  h.companionStarted = 1;

  run.AllocElementTable(0, kInitialElements);
  if (startMode == kDisplayListMode) h.displayListReload = 1;
  for (const std::string& fault : LoadDisplayWindow(panes, h.displayListReload != 0)) {
    host.AddListLine(platform::Utf8ToCp932(fault));
  }
  run.output.RunExecutionMode = h.executionMode;
  run.job.Modes.StartMode = startMode;
  run.job.Modes.SubMode = subMode;
  // A start that runs nothing loads no job: a program folder without a
  // hand-over opens without an error box.
  if (ModeUsesJob(startMode)) run.LoadJob();
  ReadMachiningTimeRecords();
  ReadToolComments(commentName);
}

bool CQupApp::WriteDrawingHeader() {
  if (!headerWasRead) return false;
  const platform::FileResult r =
      handover::WriteDrawingHeader(platform::ProgramFolder() / handover::kSystemRecordFileName, Header());
  Note(r);
  return r.ok();
}

void CQupApp::PumpMessages() {
  platform::PumpMessages();
  run.output.DcRefreshRequest &= 0x0F;
}

void CQupApp::OnCommand(int commandId) {
  if (commandId == kCommandAbout) {
    CAboutDlg about;
    about.DoModal();
  }
  if (commandId == kCommandNcCopy) RunNcCopy(run);
  if (commandId == kCommandNfsSend) RunNfsTransfer(run, 0);
}

}  // namespace qup::shell
