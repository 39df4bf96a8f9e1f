#include "kelto_qup/shell/main_frame.h"

#include <string>

#include "kelto_qup/shell/display_window.h"
#include "kelto_qup/shell/qup_view.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

enum FrameCommand : int {
  kForceQuit = 32776,
  kExitStandardSize = 32773,
  kExitCurrentSize = 32772,
  kExitMaximized = 32865,
  kOnePane = 32774,
  kFourPanes = 32775,
  kModeNormal = 32813,
  kModePause = 32812,
  kModeSlow = 32811,
  kRapidDisplay = 32806,
  kWorkDisplay = 32863,
  kZoomBox = 32783,
  kZoomUndo = 32784,
  kUndoPaneSwitch = 32798,
  kSettings = 32792,
  kToolInfoCsv = 32867,
  kToolInfoCsv2 = 32868,
};

constexpr std::int32_t kDefaultBar1Style = 0x1074;
constexpr std::int32_t kDefaultBar2Style = 0x4074;
constexpr int kDefaultWidth = 1280, kDefaultHeight = 1024, kMaximizedHeight = 1020;
constexpr unsigned kStopIcon = 0x10;

platform::DockSide SideOfStyle(std::int32_t style) {
  if (style & 0x1000) return platform::DockSide::Left;
  if (style & 0x4000) return platform::DockSide::Right;
  if (style & 0x8000) return platform::DockSide::Bottom;
  return platform::DockSide::Top;
}

std::string J(const char* text) { return platform::Sjis(text); }

std::vector<platform::MenuItem> MenuTable() {
  using platform::MenuItem;
  return {
      {0,
       J("ファイル(&F)"),
       {{32829, J("加工情報")},
        {32830, J("GRAPHIC画面 + 加工情報")},
        {32831, J("GRAPHIC画面")},
        MenuItem::Separator(),
        {kCommandNcCopy, J("ＮＣデータのコピー")},
        {kCommandNfsSend, J("ＮＦＳデータ転送")},
        {32861, J("データの受信")},
        MenuItem::Separator(),
        {kExitStandardSize, J("標準のサイズで保存")},
        {kExitCurrentSize, J("現在のサイズを保存")},
        {kExitMaximized, J("最大化で保存")}}},
      {0,
       J("実行(&R)"),
       {{kForceQuit, J("実行の強制終了")},
        MenuItem::Separator(),
        {kModeNormal, J("実行モード[NORMAL]")},
        {kModePause, J("実行モード[PAUSE]")},
        {kModeSlow, J("実行モード[SLOW]")},
        MenuItem::Separator(),
        {32821, J("新規作画")},
        {32822, J("上書き作画")},
        {33017, J("キャンセル")}}},
      {0,
       J("表示(&V)"),
       {{kOnePane, J("１画面表示")},
        {kFourPanes, J("４画面表示")},
        {kUndoPaneSwitch, J("元に戻す")},
        MenuItem::Separator(),
        {32780, J("表示面[ＸＹ]")},
        {32781, J("表示面[ＸＺ]")},
        {32782, J("表示面[ＹＺ]")},
        {32805, J("矢視図")},
        MenuItem::Separator(),
        {32786, J("表示拡大")},
        {32785, J("表示縮小")},
        {kZoomBox, J("ズームアップ")},
        {kZoomUndo, J("ズームダウン")},
        {32791, J("表示原点を画面中央..")},
        {32790, J("移動[上]")},
        {32787, J("移動[下]")},
        {32789, J("移動[左]")},
        {32788, J("移動[右]")},
        MenuItem::Separator(),
        {kRapidDisplay, J("早送り表示[ON/OFF]")},
        {kWorkDisplay, J("ワーク表示[ON/OFF]")},
        {32862, J("TRACE_工具軌跡")},
        {32838, J("3D_モデル")}}},
      {0,
       J("データ(&D)"),
       {{32807, J("加工情報")},
        {32824, J("両端100行")},
        {32825, J("カレント500行")},
        {32826, J("データ編集")},
        {kToolInfoCsv, J("加工詳細工具情報(CSV)")}}},
      {0, J("設定(&S)"), {{kSettings, J("各種設定")}}},
      {0, J("ヘルプ(&H)"), {{kCommandAbout, J("バージョン情報")}}},
  };
}

std::vector<platform::ToolButton> ToolBar1() {
  return {{kForceQuit, J("強制終了")},
          {0},
          {kOnePane, J("１画面")},
          {kFourPanes, J("４画面")},
          {kUndoPaneSwitch, J("元に戻す")},
          {0},
          {32786, J("拡大")},
          {32785, J("縮小")},
          {kZoomBox, J("ズームアップ")},
          {kZoomUndo, J("ズームダウン")},
          {32791, J("中央")},
          {0},
          {kRapidDisplay, J("早送り")},
          {kWorkDisplay, J("ワーク")},
          {kSettings, J("設定")}};
}

std::vector<platform::ToolButton> ToolBar2() {
  return {{kModeNormal, "NORMAL"},
          {kModePause, "PAUSE"},
          {kModeSlow, "SLOW"},
          {0},
          {32862, "TRACE"},
          {32803, J("座標")},
          {0},
          {32807, J("加工情報")},
          {32824, J("両端100行")},
          {32825, J("カレント500行")},
          {kToolInfoCsv2, J("工具情報CSV")},
          {32838, "3D"}};
}

bool Among(int id, std::initializer_list<int> ids) {
  for (int i : ids) {
    if (i == id) return true;
  }
  return false;
}

}  // namespace

CMainFrame::CMainFrame(CQupApp& app, CQupDoc& doc, platform::Frame& frame) : app_(app), doc_(doc), frame_(frame) {}

void CMainFrame::PreCreateWindow() {
  placement_ = WindowPlacement{};
  WindowPlacement read;
  const platform::FileResult r = platform::ReadRecord(platform::ProgramFolder() / kWindowPlacementFileName, read);
  if (r.ok()) {
    placement_ = read;
  } else if (!r.missing()) {
    app_.host.AddListLine(platform::Utf8ToCp932(r.message));
  }
  const WindowPlacement& p = placement_;
  if (p.right == 0 || p.bottom == 0 || p.right <= p.left || p.bottom <= p.top) {
    frame_.SetWindowRect({0, 0, kDefaultWidth, kMaximizedHeight});
    maximizeWord_ = 1;
  } else {
    frame_.SetWindowRect({p.left, p.top, p.right, p.bottom});
  }
  frame_.SetTitle(kTitleText);
}

void CMainFrame::OnCreate() {
  frame_.SetMenu(MenuTable());
  const std::int32_t style1 = placement_.bar1Style != 0 ? placement_.bar1Style : kDefaultBar1Style;
  const std::int32_t style2 = placement_.bar2Style != 0 ? placement_.bar2Style : kDefaultBar2Style;
  frame_.AddToolBar({kToolBar1, ToolBar1(), SideOfStyle(style1)});
  frame_.AddToolBar({kToolBar2, ToolBar2(), SideOfStyle(style2)});
  placement_.bar1Style = style1;
  placement_.bar2Style = style2;
}

void CMainFrame::Attach(CQupView& view) {
  view_ = &view;
  frame_.SetCommandRouter([this](int id) {
    app_.run.output.DcRefreshRequest = kPaintResized;  // a menu was used
    if (CQupView::IsViewCommand(id)) {
      view_->OnCommand(id);
    } else if (Among(id, {kCommandAbout, kCommandNcCopy, kCommandNfsSend})) {
      app_.OnCommand(id);
    } else {
      OnCommand(id);
    }
  });
  frame_.SetUpdateHandler([this](platform::CommandUpdate& u) { OnUpdate(u); });
  frame_.SetCloseHandler([this] { return OnClose(); });
}

void CMainFrame::OnActivate() {
  if (maximizeWord_ != 1) return;
  frame_.Maximize();
  maximizeWord_ = 2;
}

// The TRACE replay is stopped and a run is asked to stop; only an idle
// program closes.
bool CMainFrame::ExitCommandAllowed() {
  if ((view_->TraceState() & kTraceRunning) != 0) {
    view_->TraceState() = 0;
    return false;
  }
  if (view_->RunState == kRunning) {
    view_->ConfirmForceQuit();
    return false;
  }
  return true;
}

void CMainFrame::WritePlacement(const WindowPlacement& placement) {
  const platform::FileResult r = platform::WriteRecord(platform::ProgramFolder() / kWindowPlacementFileName, placement);
  if (!r.ok()) platform::ShowMessageBox(platform::Utf8ToCp932(r.message), {}, kStopIcon);
}

void CMainFrame::SaveDisplayList() {
  const std::string fault =
      doc_.SaveDisplayList(platform::ProgramFolder() / handover::kDisplayListFileName, app_.panes.colorOffset);
  if (!fault.empty()) platform::ShowMessageBox(platform::Utf8ToCp932(fault), {}, kStopIcon);
}

void CMainFrame::OnCommand(int id) {
  CQupView& view = *view_;
  PathPanes& panes = app_.panes;
  handover::DrawingHeader& header = app_.Header();
  switch (id) {
    case kForceQuit:
      if ((view.TraceState() & kTraceRunning) != 0) {
        view.TraceState() = 0;
      } else {
        view.ConfirmForceQuit();
      }
      return;
    case kExitStandardSize:
    case kExitCurrentSize:
    case kExitMaximized: {
      if (!ExitCommandAllowed()) return;
      WindowPlacement p;
      p.bar1Style = placement_.bar1Style;
      p.bar2Style = placement_.bar2Style;
      if (id == kExitStandardSize) {
        p.bar1Style = p.bar2Style = 0;
      } else if (id == kExitCurrentSize) {
        const platform::Rect r = frame_.WindowRect();
        p.right = r.Width();
        p.bottom = r.Height();
      } else {
        p.right = p.bottom = 0;
      }
      WritePlacement(p);
      if (id != kExitStandardSize) SaveDisplayList();
      frame_.RequestClose();
      return;
    }
    case kOnePane:
    case kFourPanes:
      view.SetPaneCount(id == kFourPanes);
      return;
    case kModeNormal:
    case kModePause:
    case kModeSlow: {
      const int mode = id == kModeNormal ? 0 : id == kModePause ? 1 : 2;
      header.executionMode = mode;
      app_.run.output.RunExecutionMode = mode;
      app_.run.output.StepPause = mode == 1 ? 1 : 0;
      panes.executionMode = mode;
      platform::Beep();
      return;
    }
    case kRapidDisplay:
      panes.Graphic().rapidDisplay = panes.RapidShown() ? 1 : 0;
      view.Surface().Invalidate();
      return;
    case kWorkDisplay:
      header.showAxes = header.showAxes != 0 ? 0 : 1;
      view.Surface().Invalidate();
      return;
    case kZoomBox:
      if (!view.BoxStarted) view.BoxMode = 1;
      return;
    case kZoomUndo:
      if (view.UndoZoom()) view.Surface().Invalidate();
      return;
    case kUndoPaneSwitch:
      view.RestoreSavedPanes();
      return;
    case kSettings: {
      settingsOpen_ = true;
      if (view.GLMode != 0) {
        CView3DSettingsDlg dialog(view3D);
        dialog.DoModal();
      } else {
        const int savedRun = view.RunState;
        const int savedPaint = view.PaintState();
        view.RunState = kIdle;
        view.PaintState() = kPaintQuestion;
        CDisplaySettingsDlg dialog(panes);
        dialog.DoModal();
        view.RunState = savedRun;
        view.PaintState() = savedPaint;
      }
      settingsOpen_ = false;
      view.Surface().Invalidate();
      return;
    }
    case kToolInfoCsv:
    case kToolInfoCsv2: {
      const std::string name = platform::FieldText(header.drawingName) + platform::Sjis("加工詳細工具情報.CSV");
      const auto path = platform::ResolvePath(platform::DataRoot(), app_.run.DatFolderRelative(name));
      const platform::ProcessResult r = platform::OpenWithDesktop(path);
      if (!r.started) platform::ShowMessageBox(platform::Utf8ToCp932(r.message), {}, kStopIcon);
      return;
    }
    default:
      return;
  }
}

void CMainFrame::OnUpdate(platform::CommandUpdate& u) const {
  const CQupView& view = *view_;
  const PathPanes& panes = app_.panes;
  const handover::DrawingHeader& header = app_.Header();
  const bool idle = view.RunState == kIdle;
  const bool running = view.RunState == kRunning;
  const int id = u.Id();
  switch (id) {
    case kForceQuit:
      u.Enable(running);
      return;
    case kOnePane:
      u.SetCheck(!panes.FourPanes());
      return;
    case kFourPanes:
      u.SetCheck(panes.FourPanes());
      return;
    case kModeNormal:
    case kModePause:
    case kModeSlow:
      u.SetCheck(header.executionMode == (id == kModeNormal ? 0 : id == kModePause ? 1 : 2));
      return;
    case kRapidDisplay:
      u.SetCheck(panes.RapidShown() ? platform::CheckState::Checked : platform::CheckState::Indeterminate);
      return;
    case kWorkDisplay:
      u.SetCheck(header.showAxes != 0);
      return;
    case kZoomBox:
      u.SetCheck(view.BoxMode == 1);
      return;
    case kUndoPaneSwitch:
      u.Enable(panes.hasSavedRecord);
      return;
    case kSettings:
      u.SetCheck(settingsOpen_);
      return;
    case 32780:
    case 32781:
    case 32782:
    case 32805:
      u.SetCheck(!panes.FourPanes() && panes.Plane() == (id == 32805 ? kPlaneArrow : id - 32780));
      return;
    case 32821:
    case 32822:
    case 32824:
    case 32825:
    case 32826:
    case 32829:
    case 32830:
    case 32831:
    case 32807:
      u.Enable(idle);
      return;
    case 32862:
      u.SetCheck(view.TraceState() != 0);
      return;
    case 32803:
      u.SetCheck((header.ncDisplayFlags & 0x8000) != 0);
      return;
    case 32838:
      // The 3-D display is not built yet.
      u.Enable(false);
      return;
    default:
      return;
  }
}

bool CMainFrame::OnClose() {
  if (closed_) return true;
  if (!ExitCommandAllowed()) return false;
  app_.panes.FoldAccumulators();
  SaveDisplaySettings();
  app_.run.output.DcRefreshRequest = kPaintResized;
  app_.run.AbortFlag = kIdle;
  if (!teardownDone_) {
    doc_.FreeDisplayList();
    teardownDone_ = true;
  }
  closed_ = true;
  platform::QuitEventLoop(0);
  return true;
}

void CMainFrame::SaveDisplaySettings() {
  const std::vector<std::string> faults = shell::SaveDisplaySettings(app_.panes, app_.Header());
  if (faults.empty()) return;
  std::string text;
  for (const std::string& f : faults) text += platform::Utf8ToCp932(f) + "\n";
  platform::ShowMessageBox(text, {}, kStopIcon);
}

}  // namespace qup::shell
