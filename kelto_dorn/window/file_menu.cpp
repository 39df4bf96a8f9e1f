// The File menu and the document's commands: see file_menu.h.
#include "kelto_dorn/window/file_menu.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/app/work_box.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/message_dialog.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/document/pending_services.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "platform/application.h"
#include "platform/choosers.h"
#include "platform/dravelo.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDiscardQuestion = "  作成中のデータを放棄して良いですか..?";
// The figure number a fresh drawing's first figure gets (the reset sets 9,
// every New counts one on).
constexpr int kFreshFigureNumber = 9;
constexpr int kMessageOpenError = 50;
constexpr int kPromptReadingFile = 3001;
// Texts of the cleared table move to this layer: kept, but on no layer shown.
constexpr int kHiddenTextLayer = 999;
constexpr int kCadScaleDefault = 5;
constexpr int kCadScaleMin = 1;
constexpr int kCadScaleMax = 19;
constexpr double kExtentStart = 99999999.0;
// What a network import keeps.
constexpr int kKeepLayers = 0x01;
constexpr int kKeepCurves = 0x10;
constexpr int kKeepDefinitions = 0x100;

// The message dialog with its caption: true on OK.
bool Confirm(const std::string& captionCp932, const char* textUtf8) {
  g_messageCaption = captionCp932;
  CMessageDlg dialog(platform::Sjis(textUtf8));
  return dialog.DoModal() == platform::kIdOk;
}

// The working drawing emptied as New does it.
void ResetWorkingDrawing(CKelView& view) {
  platform::WaitCursor wait;
  g_nextFigureNumber = 0;
  ResetDrawing(view.Document());
  view.RedrawView();
  g_nextFigureNumber = kFreshFigureNumber;
}

// Saves the drawing and the system record before the drawing is replaced;
// false (the failure shown) when either could not be written: then nothing
// may replace the drawing.
bool SaveBeforeReplacing(CKelView& view) {
  if (!SaveDrawing(view.Document())) return false;
  const platform::FileResult w = WriteSystemSettings();
  if (!w.ok()) {
    ReportFileFault(w);
    return false;
  }
  return true;
}

void MakeLayerZeroCurrent() {
  g_curLayer = 0;
  g_figureTableSelector = 0;
  g_layerViews[0].values[0] = 0;
  g_curOriginIndex = g_layerOriginIndex[0];
}

// The question before a network import over a drawing that holds anything.
bool DiscardAsked() {
  int figures = 0;
  for (int layer = 0; layer < kLayerCount; ++layer) figures += GetFigureCount(layer);
  const int curves = GetFigureCount(kTableCurves);
  const int surfaces = g_surfaceIndexTable.count;
  const int definitions = g_machiningIndexTable.count;
  if (figures == 0 && curves == 0 && surfaces == 0 && definitions == 0) return true;
  std::string text;
  char line[128];
  auto add = [&](const char* format, int count) {
    if (count == 0) return;
    std::snprintf(line, sizeof line, platform::Sjis(format).c_str(), count);
    text += line;
  };
  add("・図形データが残っています[ %d ]\n", figures);
  add("・曲線データが残っています[ %d ]\n", curves);
  add("・曲線データが残っています[ %d ]\n", surfaces);
  add("・加工データが残っています[ %d ]\n", definitions);
  text += platform::Sjis("■作成中のデータを放棄して良いですか..?");
  return platform::ShowMessageBox(text, "", 0x24) == platform::kIdYes;  // Yes/No, question
}

// The network drawing to import: from the outside helper when it is in the
// program folder, else from the file chooser. Empty when nothing was chosen.
std::string ChooseNetworkDrawing() {
  const platform::DraveloAnswer answer = platform::RunDravelo(platform::DraveloCaller::kMainProgram);
  switch (answer.outcome) {
    case platform::DraveloOutcome::kChosen:
      return answer.path;
    case platform::DraveloOutcome::kNothingChosen:
      return {};
    case platform::DraveloOutcome::kFailed:
      ReportFileFault(answer.message);
      return {};
    case platform::DraveloOutcome::kAbsent:
      break;
  }
  platform::FileChooserRequest request;
  request.filters = {{platform::Sjis("全てのファイル"), {"*.*"}}};
  request.folder = platform::SystemName(g_dataFolder);
  return platform::ChooseFile(request).value_or(std::string());
}

void ClearWhatTheImportDoesNotKeep(CKelView& view, int keep) {
  if (!(keep & kKeepLayers))
    for (int layer = 0; layer < kLayerCount; ++layer) ClearFigureTable(layer);
  if (!(keep & kKeepCurves)) {
    ClearFigureTable(kTableCurves);
    ClearFigureTable(kTableImport);
    InitLayerTables();
    ResetCurveTable();
  }
  if (!(keep & kKeepDefinitions)) {
    ClearDefinitionIndexTable(g_surfaceIndexTable);
    ClearDefinitionIndexTable(g_machiningIndexTable);
  }
  (void)view;
}

bool FileOpens(const fs::path& file) {
  std::ifstream in(file);
  return static_cast<bool>(in);
}

void MoveTextsOfTable(int table, int layer) {
  for (TextRecord& t : g_textRecords) {
    if (t.layer < 0) break;
    if (t.layer == table) t.layer = layer;
  }
}

// Fits the view to each layer that the import filled, then returns to the
// layer that was current.
void FitImportedLayers(CKelView& view, const std::array<int, kLayerCount>& countsBefore) {
  DrawingExtents extents;
  extents.minX.fill(kExtentStart);
  extents.minY.fill(kExtentStart);
  extents.maxX.fill(-kExtentStart);
  extents.maxY.fill(-kExtentStart);
  ComputeDrawingExtents(extents);
  const int table = g_figureTableSelector, layer = g_curLayer;
  for (int l = 0; l < kLayerCount; ++l) {
    const auto i = static_cast<std::size_t>(l);
    if (GetFigureCount(l) <= countsBefore[i] || extents.minX[i] > extents.maxX[i]) continue;
    g_curLayer = g_figureTableSelector = l;
    UpdateViewTransform();
    g_view.m_boxStart = WorldToScreenRaw(extents.minX[i], extents.maxY[i]);
    g_view.m_boxEnd = WorldToScreenRaw(extents.maxX[i], extents.minY[i]);
    view.FitViewToSelection();
  }
  g_figureTableSelector = table;
  g_curLayer = layer;
  g_view.m_boxStart = g_view.m_boxEnd = {};
}

void SetImportCommandActive(bool on) {
  if (g_commandEngines.setActiveCommand) g_commandEngines.setActiveCommand(cmd::kImportCadFile, on ? 1 : 0);
}

}  // namespace

fs::path DrawingPathWithoutExtension(std::string_view chosenCp932) {
  const fs::path chosen = platform::NativePath(chosenCp932);
  const std::string name = chosen.filename().string();
  const std::string stem = name.substr(0, name.find('.'));
  if (stem.empty()) return {};
  return chosen.parent_path() / stem;
}

void OnFileNew(CKelView& view) {
  ++ModalDepth;
  SaveDrawing(view.Document());  // declining still keeps the drawing on disk
  const std::string caption = platform::Sjis("  新規作成::図面のリセット");
  SignalBeep();
  if (Confirm(caption, kDiscardQuestion)) ResetWorkingDrawing(view);
  ++g_nextFigureNumber;
  view.OnCommand(cmd::kWorkSettings);
  ModalDepth = 0;
  PurgeUndoSnapshots();
}

void OnFileOpen(CKelView& view) {
  char caption[128];
  std::snprintf(caption, sizeof caption, platform::Sjis("  図面の読み込み [NAME::%s]").c_str(),
                platform::FieldText(g_drawingHeader.drawingName).c_str());
  ++ModalDepth;
  SignalBeep();
  if (Confirm(caption, kDiscardQuestion)) {
    LoadDrawing(view.Document());
    view.RedrawView();
  }
  g_messageCaption.clear();
  ModalDepth = 0;
  PurgeUndoSnapshots();
}

void OnFileSave(CKelView& view) {
  SignalBeep();
  const bool saved = SaveDrawing(view.Document());
  view.RedrawView();
  // A save that failed said so; one that worked says where the drawing went.
  if (saved) {
    ShowTitleNote(platform::Sjis("図面を保存しました : ") + platform::FieldText(g_drawingHeader.unitName) + "\\" +
                  platform::FieldText(g_drawingHeader.secondName) + "\\" +
                  platform::FieldText(g_drawingHeader.drawingName));
  }
}

void OnFileNameList(CKelView& view) {
  if (!g_commandEngines.drawingFileListDialog) return;
  // The list replaces the drawing: a drawing that could not be saved stays.
  if (!SaveBeforeReplacing(view)) return;
  ModalDepth = 11;
  g_commandEngines.drawingFileListDialog();
  PurgeUndoSnapshots();
  ModalDepth = 0;
  LoadDrawing(view.Document());
  ReadSystemSettings();
  ClearCurrentFigure();
  ResetMachiningRecord(view.Document().atc);
  g_pickState = 0;
  PlaceWork();
  view.RedrawView();
}

void OnImportNetworkDrawing(CKelView& view) {
  if (!g_commandEngines.importSelectDialog) return;
  if (!SaveBeforeReplacing(view)) return;
  if (!DiscardAsked()) return;
  ResetWorkingDrawing(view);
  const std::string chosen = ChooseNetworkDrawing();
  if (chosen.empty()) return;
  const fs::path base = DrawingPathWithoutExtension(chosen);
  if (base.empty()) return;
  const int keep = g_commandEngines.importSelectDialog();
  PurgeUndoSnapshots();
  ModalDepth = 0;
  LoadDrawing(view.Document(), &base);
  ReadSystemSettings();
  ClearWhatTheImportDoesNotKeep(view, keep);
  ClearCurrentFigure();
  ResetMachiningRecord(view.Document().atc);
  g_pickState = 0;
  MakeLayerZeroCurrent();
  PlaceWork();
  view.RedrawView();
}

void OnImportCadFile(CKelView& view) {
  if (!g_commandEngines.cadFileListDialog || !g_commandEngines.readCadFile) return;
  SnapshotForUndo(kUndoTypeTable);
  g_figureStore.full = false;
  g_drawingHeader.cadImportKind &= 0xF;
  SetImportCommandActive(true);
  const handover::DrawingHeader kept = g_drawingHeader;
  ModalDepth = 1;
  CadFileChoice choice;
  if (g_commandEngines.cadFileListDialog(choice) == platform::kIdOk) {
    if (choice.scale < kCadScaleMin || choice.scale > kCadScaleMax) choice.scale = kCadScaleDefault;
    const std::string name = platform::SystemName(choice.file);
    platform::SetFieldText(g_textBuffer, name);
    // The file is opened before anything is cleared: a file that cannot be
    // read leaves the drawing as it was.
    if (!FileOpens(choice.file)) {
      ShowMessage(kMessageOpenError);
    } else {
      const int table = g_figureTableSelector;
      ClearFigureTable(table);
      MoveTextsOfTable(table, kHiddenTextLayer);
      if (choice.replaceDrawing) {
        TruncateMachiningOrder(0);
        g_nextFigureNumber = 0;
        ResetDrawing(view.Document());
      }
      std::array<int, kLayerCount> before{};
      for (int l = 0; l < kLayerCount; ++l) before[static_cast<std::size_t>(l)] = GetFigureCount(l);
      g_figureAttribute = 0;
      ShowPromptHook(kPromptReadingFile);
      g_commandEngines.readCadFile(choice.kind, choice.file);
      FitImportedLayers(view, before);
      view.RedrawView();
      SignalBeep();
    }
  }
  // The list may have browsed another unit or second name to find the file:
  // the drawing being worked on stays in its own folder, so that its next
  // save cannot overwrite a drawing of the same name in the folder browsed.
  g_drawingHeader = kept;
  ModalDepth = 0;
  SetImportCommandActive(false);
  ShowPromptHook(0);
}

void RunFileMenuCommand(CKelView& view, int id) {
  switch (id) {
    case cmd::kFileNew:
      return OnFileNew(view);
    case cmd::kFileOpen:
      return OnFileOpen(view);
    case cmd::kFileSave:
      return OnFileSave(view);
    case cmd::kFileNameList:
      return OnFileNameList(view);
    case cmd::kImportNetworkDrawing:
      return OnImportNetworkDrawing(view);
    default:
      return;
  }
}

bool FileMenuCommandAvailable(int id) {
  switch (id) {
    case cmd::kFileNameList:
      return static_cast<bool>(g_commandEngines.drawingFileListDialog);
    case cmd::kImportNetworkDrawing:
      return static_cast<bool>(g_commandEngines.importSelectDialog);
    case cmd::kImportCadFile:
      return g_commandEngines.cadFileListDialog && g_commandEngines.readCadFile;
    default:
      return true;
  }
}

namespace {

const std::function<int()>* DocumentDialog(int id) {
  switch (id) {
    case cmd::kToolDatabase:
      return &g_commandEngines.toolDatabaseDialog;
    case cmd::kMachineAtc:
      return &g_commandEngines.machineAtcDialog;
    case cmd::kHoleProcesses:
      return &g_commandEngines.holeProcessDialog;
    case cmd::kCapsuleNames:
      return &g_commandEngines.capsuleNameDialog;
    default:
      return nullptr;
  }
}

}  // namespace

bool OnDocumentCommand(int id) {
  const auto* dialog = DocumentDialog(id);
  if (!dialog) return false;
  if (*dialog) {
    ++ModalDepth;
    (*dialog)();
    ModalDepth = 0;
  }
  return true;
}

bool DocumentCommandAvailable(int id) {
  const auto* dialog = DocumentDialog(id);
  return dialog && static_cast<bool>(*dialog);
}

}  // namespace dorn
