#pragma once
// CQupView: the companion's one view. Its first paint creates the message
// list and starts a 200 ms timer; the timer fires once and runs the start
// mode that start-up took over. The run reaches the window world through
// this view (it is the run's host): the message list, the error box,
// draining the queue, and every computed move drawn into the panes and
// recorded in the document. After the run the view stays as a viewer that
// replays the path, zooms and pans, lists NC text and prints.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "kelto_qup/engine/run_host.h"
#include "kelto_qup/shell/qup_app.h"
#include "kelto_qup/shell/qup_doc.h"
#include "platform/frame.h"
#include "platform/print_job.h"
#include "platform/view_surface.h"

namespace qup::shell {

class CNcMonitorDlg;

// RunState: a start-mode run in progress, and idle.
inline constexpr int kRunning = 0;
inline constexpr int kIdle = 9999;
// PaintState (the run's DcRefreshRequest): after a resize, after a paint
// that replayed during a run, while the force-quit question is open.
inline constexpr int kPaintResized = 11;
inline constexpr int kPaintReplayed = 99;
inline constexpr int kPaintQuestion = 111;
// The message list and the start timer.
inline constexpr int kMessageListId = 3333;
inline constexpr int kStartTimer = 1;
inline constexpr int kStartDelayMs = 200;
// Cursors: a run in progress, the display list being replayed.
inline constexpr int kCursorRunning = 131;
inline constexpr int kCursorReplaying = 133;
inline constexpr int kCursorArrow = 0;
// The end of every dispatch in the message list.
inline constexpr char kRunFinished[] = "【実行終了】";
inline constexpr char kForceQuitQuestion[] = "強制終了しますか....???";
inline constexpr char kZoomLimitMessage[] = "これ以上のズームは出来ません....";
// TraceState bit while the TRACE replay runs.
inline constexpr int kTraceRunning = 0x8000;

class CQupView final : public platform::ViewHandler, public RunHost {
 public:
  CQupView(CQupApp& app, CQupDoc& doc, platform::Frame& frame);
  ~CQupView() override;
  CQupView(const CQupView&) = delete;
  CQupView& operator=(const CQupView&) = delete;

  // ---- window events
  void OnPaint(platform::DeviceContext& dc) override;
  void OnMouse(const platform::MouseEvent& event) override;
  void OnKeyDown(int key, unsigned modifiers) override;
  void OnSize(int width, int height) override;
  void OnTimer(int timerId) override;
  // The frame is shown: the start timer may run the start mode.
  void SetWindowShown(bool shown) { windowShown_ = shown; }

  // ---- the run's host
  void ShowErrorBox(std::string_view text) override;
  int AddListLine(std::string_view text) override;
  void SelectListLine(int index) override;
  void DeleteListLine(int index) override;
  void PumpMessages() override;
  void RefreshViewDc() override;
  void FlushPanes() override;
  void AddDisplayRecord(const std::array<std::uint32_t, 8>& words) override;
  void DrawPathStep(int channel, const handover::NcElement& move) override;
  void SetTitleText(std::string_view text) override;
  void Beep() override;
  // A move of the NC text check to (x, y, z): kind 1 a cutting line, -1 a
  // rapid, 0 a pen-up move, in the current tool's colour and with the
  // direction (0, 0, 1); recorded in the display list when `record` is set.
  void DrawCheckSegment(double x, double y, double z, int kind, bool record);
  void DrawCheckSegment(double x, double y, double z, int kind) override { DrawCheckSegment(x, y, z, kind, true); }
  void ClearList() override;
  // The NC text check's monitor (nc_monitor_dlg.h) and its end.
  void ShowMonitor(bool shown) override;
  void SetMonitorTexts(const std::array<std::string, 16>& lines) override;
  void CloseMonitor() override;
  void ShowExclamationBox(std::string_view text) override;
  void RedrawView() override;
  int RunNfsTransfer(int fromList) override;

  // ---- paint, list and dispatch (qup_view.cpp, start_mode_dispatch.cpp)
  void OnDraw(platform::DeviceContext& dc);
  void CreateMessageList();
  void PrepareDrawingDC(platform::DeviceContext& dc) const;
  void UpdateTitleBar();
  void RedrawDisplayList(platform::DeviceContext& dc);
  void RunStartMode();
  // During a run asks whether to stop it; true when the user said Yes.
  bool ConfirmForceQuit();

  // ---- commands and keys (view_commands.cpp)
  static bool IsViewCommand(int commandId);
  void OnCommand(int commandId);
  // A key of the view or of the message list; true when the view must be
  // drawn again.
  bool HandleViewKey(int key);
  void OnCenterOrigin();
  // Pops the zoom-undo stack into the pane of the last click.
  bool UndoZoom();
  void SelectPlane(int plane);
  // Switches between one and four panes (the double-click of a pane, the
  // frame's pane commands) keeping a copy for "元に戻す".
  void SetPaneCount(bool four);
  void RestoreSavedPanes();

  // ---- NC text and the machining information (nc_text_list.cpp)
  void LoadNcText(int mode);
  void ShowProcessList();

  // ---- printing (view_printing.cpp): 1 graphic, 2 machining information, 3 both
  void PrintView(int kind);
  void PrintPages(platform::PrintJob& job, int kind);

  // ---- state the frame and the tests read
  int RunState = kRunning;
  int GLMode = 0;
  int BoxMode = 0;  // 0 none, 1 zoom box, 2 plain box
  bool BoxStarted = false;
  int ListTop() const { return listTop_; }
  int DrawBottom() const { return drawBottom_; }
  bool ListCreated() const { return listCreated_; }
  bool IsIdle() const { return RunState == kIdle; }
  int NcTextStart() const { return ncTextStart_; }
  platform::ViewSurface& Surface() { return surface_; }
  CQupApp& App() { return app_; }
  CQupDoc& Doc() { return doc_; }
  PathPanes& Panes() { return app_.panes; }
  RunContext& Run() { return app_.run; }
  // The words that are the run's (one storage each).
  int& PaintState() { return app_.run.output.DcRefreshRequest; }
  int& TraceState() { return app_.run.engine.core.TraceState; }
  int TraceState() const { return app_.run.engine.core.TraceState; }
  int& ColorOffset() { return app_.panes.colorOffset; }

 private:
  // ---- drawing the moves of a run
  platform::DeviceContext& DrawDc();
  void DrawMoveTo(const DrawnMove& move, int kind, bool record = true);
  void DrawArcAsChords(const handover::NcElement& move, int kind);
  DrawnMove CurrentMove(double x, double y, double z) const;
  void ReplayRecord(platform::DeviceContext& dc, const handover::CDisplayRecord& record, bool first);
  void ReplayTrace(platform::DeviceContext& dc);
  void SetupPanes();
  // ---- mouse (view_mouse.cpp)
  void OnLeftDown(platform::Point p);
  void OnRightDown(platform::Point p);
  void OnMouseMove(const platform::MouseEvent& event);
  void OnButtonUp();
  void OnDoubleClick(platform::Point p);
  void DragZoomPan(platform::Point p);
  void DrawRubberBand(platform::Point corner);
  void ShowReadOut(platform::Point p);
  bool ZoomToBoxChecked(int pane, platform::Rect box);
  // ---- list placement
  void MoveListTo(int top);
  void ShowListStrip(int height);

  CQupApp& app_;
  CQupDoc& doc_;
  std::unique_ptr<CNcMonitorDlg> monitor_;
  platform::Frame& frame_;
  platform::ViewSurface& surface_;
  platform::ViewListBox& list_;
  platform::Font viewFont_;
  platform::Font listFont_;
  bool windowShown_ = false;
  bool listCreated_ = false;
  int listTop_ = 0;
  int listHeight_ = 0;
  int drawBottom_ = 0;
  // The device context a run draws on, and the one a paint lends meanwhile.
  std::unique_ptr<platform::DeviceContext> runDc_;
  platform::DeviceContext* paintDc_ = nullptr;
  bool replaying_ = false;
  // Mouse: the last point, the drags, the zoom box.
  platform::Point lastPoint_;
  bool leftDrag_ = false, rightDrag_ = false, wheelDrag_ = false;
  bool listHiddenByDrag_ = false;
  bool dragged_ = false;
  platform::Point boxCorner_, boxEnd_;
  bool rubberBandShown_ = false;
  int boxPane_ = 0;
  int clickPane_ = 0;
  int lastKeypadDigit_ = -1;
  int ncTextStart_ = 0;
  bool questionOpen_ = false;
};

}  // namespace qup::shell
