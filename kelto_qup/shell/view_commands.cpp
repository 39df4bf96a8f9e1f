// The view's commands and keys: NC check restarts, NC text and machining
// information in the list, printing, TRACE, read-out, pan, zoom, planes and
// the colour shift.
#include <algorithm>

#include "kelto_qup/shell/dnc_receive.h"
#include "kelto_qup/shell/nc_editor.h"
#include "kelto_qup/shell/pending_entry_points.h"
#include "kelto_qup/shell/qup_view.h"
#include "platform/application.h"
#include "platform/clipboard.h"
#include "platform/key_codes.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

enum ViewCommand : int {
  kProcessInfo = 32807,
  kNcCheckNew = 32821,
  kNcCheckOver = 32822,
  kNcTextEnds = 32824,
  kNcTextPage = 32825,
  kNcEdit = 32826,
  kPrintInfo = 32829,
  kPrintBoth = 32830,
  kPrintGraphic = 32831,
  kModel3D = 32838,
  kReceive = 32861,
  kTrace = 32862,
  kReadOut = 32803,
  kCancel = 33017,
  kPanUp = 32790,
  kPanDown = 32787,
  kPanLeft = 32789,
  kPanRight = 32788,
  kZoomIn = 32786,
  kZoomOut = 32785,
  kCenter = 32791,
  kPlaneXY = 32780,
  kPlaneXZ = 32781,
  kPlaneYZ = 32782,
  kPlaneArrowView = 32805,
};

constexpr int kCheckMode = 11;
constexpr int kReadOutBit = 0x8000;
constexpr int kMaxColorOffset = 31;
constexpr int kProcessListTop = 250;
constexpr int kListStrip = 30;

}  // namespace

bool CQupView::IsViewCommand(int id) {
  switch (id) {
    case kProcessInfo:
    case kNcCheckNew:
    case kNcCheckOver:
    case kNcTextEnds:
    case kNcTextPage:
    case kNcEdit:
    case kPrintInfo:
    case kPrintBoth:
    case kPrintGraphic:
    case kModel3D:
    case kReceive:
    case kTrace:
    case kReadOut:
    case kCancel:
    case kPanUp:
    case kPanDown:
    case kPanLeft:
    case kPanRight:
    case kZoomIn:
    case kZoomOut:
    case kCenter:
    case kPlaneXY:
    case kPlaneXZ:
    case kPlaneYZ:
    case kPlaneArrowView:
      return true;
    default:
      return false;
  }
}

void CQupView::OnCommand(int id) {
  if ((TraceState() & kTraceRunning) != 0) return;
  RunContext& run = app_.run;
  handover::DrawingHeader& header = app_.Header();
  PathPanes& panes = app_.panes;
  switch (id) {
    case kProcessInfo:
      if (IsIdle() && GLMode == 0 && header.startMode != 33) ShowProcessList();
      return;
    case kNcCheckNew:
    case kNcCheckOver:
      // The NC check runs as a start mode of its own in this program.
      header.startMode = kCheckMode;
      header.subMode = 0;
      header.ncDisplayFlags ^= kReadOutBit;
      run.InitNcJob();
      if (id == kNcCheckNew) {
        doc_.RemoveAllDisplayRecords();
        header.displayListReload = 0;
        surface_.Invalidate();
      } else {
        header.displayListReload = 1;
      }
      surface_.SetTimer(kStartTimer, kStartDelayMs, platform::TimerKind::Repeating);
      return;
    case kNcTextEnds:
      LoadNcText(0);
      return;
    case kNcTextPage:
      LoadNcText(1);
      return;
    case kNcEdit:
      RunNcEditor(run);
      run.AbortFlag = 0;
      return;
    case kPrintInfo:
      PrintView(2);
      return;
    case kPrintBoth:
      PrintView(3);
      return;
    case kPrintGraphic:
      if (GLMode == 0) PrintView(1);
      return;
    case kModel3D:
      return;  // the 3-D display is not built; the frame keeps it disabled
    case kReceive:
      OnReceiveData(run);
      run.AbortFlag = 0;
      return;
    case kTrace:
      if (IsIdle() && GLMode == 0) {
        TraceState() = TraceState() != 0 ? 0 : 1;
        run.engine.core.TraceRadius = 0.0;
        surface_.Invalidate();
      }
      return;
    case kReadOut:
      header.ncDisplayFlags ^= kReadOutBit;
      if (GLMode != 0) {
        surface_.Invalidate();
      } else {
        platform::Beep();
      }
      return;
    case kCancel:
      if (IsIdle() && GLMode == 0) {
        list_.ResetContent();
        ShowListStrip(kListStrip);
      }
      ConfirmForceQuit();
      return;
    case kPanUp:
    case kPanDown:
      panes.StepPan(0, id == kPanUp ? 1 : -1);
      surface_.Invalidate();
      return;
    case kPanLeft:
    case kPanRight:
      panes.StepPan(id == kPanLeft ? -1 : 1, 0);
      surface_.Invalidate();
      return;
    case kZoomIn:
    case kZoomOut:
      if (panes.StepZoom(id == kZoomIn ? 1 : -1)) surface_.Invalidate();
      return;
    case kCenter:
      OnCenterOrigin();
      surface_.Invalidate();
      return;
    case kPlaneXY:
      SelectPlane(0);
      return;
    case kPlaneXZ:
      SelectPlane(1);
      return;
    case kPlaneYZ:
      SelectPlane(2);
      return;
    case kPlaneArrowView:
      SelectPlane(kPlaneArrow);
      return;
    default:
      return;
  }
}

void CQupView::OnCenterOrigin() {
  const platform::Size client = surface_.ClientSize();
  app_.panes.CenterOrigin(client, client.cy - (listCreated_ ? drawBottom_ : client.cy));
}

bool CQupView::UndoZoom() { return app_.panes.UndoZoom(clickPane_); }

void CQupView::SelectPlane(int plane) {
  PathPanes& panes = app_.panes;
  if (GLMode != 0 || panes.FourPanes()) return;
  auto& g = panes.Graphic();
  g.viewingPlane = plane;
  if (plane == kPlaneArrow) {
    g.centreX[0] = g.centreY[0] = g.centreX[4] = g.centreY[4] = 0.0;
    g.rotationX = 30.0;
    g.rotationY = 0.0;
    g.rotationZ = -30.0;
  }
  OnCenterOrigin();
  surface_.Invalidate();
}

void CQupView::SetPaneCount(bool four) {
  auto& g = app_.panes.Graphic();
  g.paneWord = four ? 1 : 0;
  if (four) g.viewingPlane = kPlaneArrow;
  surface_.Invalidate();
}

void CQupView::RestoreSavedPanes() {
  PathPanes& panes = app_.panes;
  if (!panes.hasSavedRecord) return;
  panes.Graphic() = panes.savedRecord;
  panes.hasSavedRecord = false;
  surface_.Invalidate();
}

// ---- keys

void CQupView::OnKeyDown(int key, unsigned /*modifiers*/) {
  if (HandleViewKey(key)) surface_.Invalidate();
}

bool CQupView::HandleViewKey(int key) {
  RunContext& run = app_.run;
  PathPanes& panes = app_.panes;
  handover::DrawingHeader& header = app_.Header();
  // A key during a run releases the step pause.
  if (RunState == kRunning) run.output.StepPause = 0;
  if (key == platform::kKeyF12) {
    if (IsIdle()) {
      const platform::Size client = surface_.ClientSize();
      const platform::ClipboardResult r = platform::CopyBitmapToClipboard(
          surface_.CopyClientArea({0, 0, client.cx, listCreated_ ? drawBottom_ : client.cy}));
      if (!r.ok) platform::ShowMessageBox(platform::Utf8ToCp932(r.message), {}, 0x30);
    }
    return false;
  }
  if (key == platform::kKeyEscape) {
    if (IsIdle()) frame_.RequestClose();
    ConfirmForceQuit();
    return false;
  }
  if (key == platform::FunctionKey(8)) {
    BoxMode = 2;
    BoxStarted = false;
    return false;
  }
  if (key == platform::kKeyF1) {
    if (!BoxStarted) BoxMode = 1;
    return false;
  }
  if (key == platform::FunctionKey(2)) return UndoZoom();
  if (key == platform::FunctionKey(5)) {
    header.ncDisplayFlags ^= kReadOutBit;
    return false;
  }
  if (key == platform::kKeyPageUp || key == platform::kKeyPageDown) {
    return panes.StepZoom(key == platform::kKeyPageUp ? 1 : -1);
  }
  if (key == platform::kKeyHome) {
    header.executionMode = 0;
    run.output.RunExecutionMode = 0;
    return false;
  }
  if (key >= platform::kKeyLeft && key <= platform::kKeyDown) {
    if (GLMode != 0) return false;  // the 3-D camera keys come with the 3-D display
    const int dx = key == platform::kKeyLeft ? -1 : key == platform::kKeyRight ? 1 : 0;
    const int dy = key == platform::kKeyUp ? 1 : key == platform::kKeyDown ? -1 : 0;
    panes.StepPan(dx, dy);
    return true;
  }
  if (key >= platform::NumpadKey(0) && key <= platform::NumpadKey(9)) {
    const int digit = key - platform::NumpadKey(0);
    int& offset = ColorOffset();
    if (digit != lastKeypadDigit_) {
      offset = digit;
    } else if (IsIdle()) {
      offset = std::min(kMaxColorOffset, offset + digit);
    }
    lastKeypadDigit_ = digit;
    return true;
  }
  return false;
}

}  // namespace qup::shell
