#include "kelto_dorn/document/startup.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/message_dialog.h"
#include "kelto_dorn/document/pending_services.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/machining/definition_defaults.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kDefaultSlowFeed = 75;  // mm/s, when the record holds 0

// Steps 1-3: the program folder, the file-server record and the data root.
void FindFolders() {
  const fs::path& program = platform::ProgramFolder();
  FileServerSettings read;
  const platform::FileResult r = platform::ReadRecord(program / kFileServerFileName, read);
  if (r.ok()) {
    platform::TerminateField(read.folder);
    platform::TerminateField(read.serverPath);
    g_fileServerSettings = read;
  } else {
    if (!r.missing()) ReportFileFault(r);
    g_fileServerSettings = FileServerSettings{};
  }
  // The stored program folder is never used: the running program decides.
  platform::SetFieldText(g_fileServerSettings.programFolder, platform::SystemName(program));
  if (g_fileServerSettings.enabled == 0) {
    platform::SetFieldText(g_fileServerSettings.serverPath, platform::SystemName(program));
  }
  g_programFolder = program;
  const std::string server = platform::FieldText(g_fileServerSettings.serverPath);
  g_dataFolder = g_fileServerSettings.enabled != 0 && !server.empty() ? platform::NativePath(server) : program;
  platform::SetDataRoot(g_dataFolder);
}

// Step 5: folder errors are ignored; a missing folder shows up when a file
// in it is written.
void CreateWorkFolders() {
  std::error_code ec;
  for (const char* name : {"_DBS", "_ATC", "_ANA", "_CPS"}) fs::create_directories(g_dataFolder / name, ec);
  for (const char* name : {kBackupFolderName, "_gid"}) fs::create_directories(g_programFolder / name, ec);
}

void ResetStartState() {
  InitLayerTables();
  g_figureAttribute = 0;
  g_curLayer = 0;
  g_figureTableSelector = 0;
  g_surfaceIndexTable.count = 0;
  g_machiningIndexTable.count = 0;
  g_curveCount = 0;
  g_exitConfirmed = 0;
  g_curCommand = 0;
  g_pickState = 0;
}

}  // namespace

int StartupSystem() {
  FindFolders();
  std::error_code ec;
  fs::remove(g_programFolder / kNcExeFileName, ec);
  CreateWorkFolders();
  ResetStartState();
  SetDefaultPalette(0);
  ReadSystemSettings();
  if (g_drawingHeader.slowFeed == 0) g_drawingHeader.slowFeed = kDefaultSlowFeed;
  g_versionText = kVersionText;
  TruncateMachiningOrder(0);
  // Segment blocks and figure tables; a memory failure is reported inside and
  // start-up goes on with what was made.
  g_figureStore.Start();
  RebuildPenTable();
  ReadBoxHoleSettings();
  ReadDornPostTable();
  const platform::FileResult d = ReadMachiningDefaults();
  if (!d.ok() && !d.missing()) ReportFileFault(d);
  g_appValueInt = 0;
  g_appValueDouble = 0.0;
  ReadFinishPassSettings();
  return 1;
}

void ReleaseSystemResources() {
  for (platform::Pen& pen : PenTable) pen = platform::Pen{};
  g_figureStore.Release();
}

int ExitSystem(CKelDoc& document) {
  g_messageCaption = platform::Sjis("「ケルトドーン」::システムの終了");
  CMessageDlg dialog(platform::Sjis(" 終了しても良いですか ??..."));
  ++ModalDepth;
  SignalBeep();
  const int answer = dialog.DoModal();
  if (answer != platform::kIdOk) {
    g_messageCaption.clear();
    ModalDepth = 0;
    return 1;
  }
  ModalDepth = 0;
  TruncateMachiningOrder(0);
  g_drawingHeader.displayListReload = 0;
  g_drawingHeader.machiningOrderCount = 0;
  if (!SaveDrawing(document)) {
    // The failure was shown; closing now would lose the drawing's changes.
    const int close = platform::ShowMessageBox(
        platform::Sjis("図面を保存できませんでした。保存せずに終了しますか ??..."), g_messageCaption,
        0x24);  // Yes/No, question icon
    if (close != platform::kIdYes) {
      g_messageCaption.clear();
      return 1;
    }
  }
  ReleaseSystemResources();
  g_drawingHeader.startMode = handover::DrawingHeader::kNoStartMode;
  g_drawingHeader.subMode = handover::DrawingHeader::kNoStartMode;
  const platform::FileResult w = WriteSystemSettings();
  if (!w.ok()) ReportFileFault(w);
  g_exitConfirmed = 1;
  return 0;
}

void PumpMessages() { platform::PumpMessages(); }

void SetDialogColors(int style) {
  // Backgrounds as COLORREF (blue in the high byte); the text is white.
  static constexpr platform::Color kBackgrounds[12] = {0x406565, 0x854544, 0x404065, 0x406575, 0x656540, 0x654065,
                                                       0x408065, 0x809080, 0x806540, 0x906570, 0x808090, 0xB05080};
  if (style >= 1 && style <= 12) {
    platform::SetDialogBkColor(kBackgrounds[style - 1], 0xFFFFFF);
  } else {
    const auto c = static_cast<platform::Color>(style);
    platform::SetDialogBkColor(c, c);
  }
}

int OnAppAbout() {
  platform::SetDialogBkColor(0x656565, 0xFEFEFE);
  CAboutDlg about;
  ++ModalDepth;
  const int r = about.DoModal();
  --ModalDepth;
  return r;
}

std::string DrawingSizeText() {
  std::string out = platform::Sjis("寸法 = ") + std::to_string(TextRecordsInUse()) + "\n";
  for (int layer = 0; layer < kLayerCount; ++layer) {
    out +=
        platform::Sjis("レイヤー(") + std::to_string(layer + 1) + ") = " + std::to_string(GetFigureCount(layer)) + "\n";
  }
  out += platform::Sjis("曲線図形 = ") + std::to_string(GetFigureCount(kTableCurves)) + "\n";
  const int layer = g_curLayer >= 0 && g_curLayer < kLayerCount ? g_curLayer : 0;
  out += platform::Sjis("原点数 = ") + std::to_string(g_originCount[static_cast<std::size_t>(layer)]) + "\n";
  return out;
}

int OnShowDrawingSize() { return platform::ShowMessageBox(DrawingSizeText(), std::string_view(), 0); }

void ReadBoxHoleSettings() {
  // The three words are cleared before the record is read, so what the file
  // holds (the show-at-every-BOX-operation switch at +40) is kept.
  g_boxHoleSettings.word40 = g_boxHoleSettings.word44 = g_boxHoleSettings.word48 = 0;
  BoxHoleSettings read;
  const platform::FileResult r = platform::ReadRecord(platform::ProgramFolder() / kBoxHoleFileName, read);
  if (r.ok() && std::isfinite(read.tolerance)) {
    g_boxHoleSettings = read;
    return;
  }
  if (!r.missing()) ReportFileFault(r.ok() ? std::string("$Box_Ana.@@@: the tolerance is not a number") : r.message);
  g_boxHoleSettings = BoxHoleSettings{};
}

platform::FileResult WriteBoxHoleSettings() {
  return platform::WriteRecord(platform::ProgramFolder() / kBoxHoleFileName, g_boxHoleSettings);
}

void ReadFinishPassSettings() {
  FinishPassRecord read;
  const platform::FileResult r = platform::ReadRecord(platform::ProgramFolder() / kFinishPassFileName, read);
  if (r.ok()) {
    g_finishPassRecord = read;
  } else if (!r.missing()) {
    ReportFileFault(r);
  }
}

}  // namespace dorn
