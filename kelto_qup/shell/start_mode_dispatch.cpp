// RunStartMode: the one dispatch of the start mode that start-up took over
// (and again after the NC check commands). Whatever the mode did, the list
// ends with "【実行終了】" and the view goes back to idle.
#include "kelto_qup/shell/dnc_send.h"
#include "kelto_qup/shell/dnc_receive.h"
#include "kelto_qup/shell/nc_editor.h"
#include "kelto_qup/shell/pending_entry_points.h"
#include "kelto_qup/shell/qup_view.h"
#include "platform/application.h"
#include "platform/text.h"
#include "shared/handover/nc_element.h"

namespace qup::shell {

namespace {

constexpr int kBusy = 0xFFFF;
constexpr int kOutputDisplay = 64;

// A hand-over without a process has nothing to machine: no NC program is
// written for it (an empty one would pass for a finished program).
bool JobHasMachining(const RunContext& run) {
  for (int i = 0; i < run.elements.ElementCount; ++i) {
    if ((run.elements[i].code & 0xFF00) == (handover::element_code::kProcessStart & 0xFF00)) return true;
  }
  return false;
}

}  // namespace

void CQupView::RunStartMode() {
  RunContext& run = app_.run;
  handover::DrawingHeader& header = app_.Header();
  PathPanes& panes = app_.panes;
  run.AbortFlag = 0;
  run.output.ListLineCount = 0;
  list_.ResetContent();
  for (const std::string& line : app_.host.TakePendingLines()) list_.AddString(line);
  surface_.SetCursor(kCursorRunning);

  RefreshViewDc();
  if ((header.executionMode & 0x1) != 0) run.output.StepPause = 1;
  RunState = kRunning;
  panes.running = true;
  panes.executionMode = header.executionMode;
  if (header.displayListReload != 0 && PaintState() != kPaintReplayed) {
    RedrawDisplayList(*runDc_);
  } else {
    SetupPanes();
    panes.DrawDecorations(*runDc_, header, header.showAxes != 0);
  }
  PaintState() = 0;
  run.registers.RegisterStackDepth = 0;

  const int mode = header.startMode;
  if (mode >= 0 && mode <= 9) {
    if (run.job.LoadFailed == 0 && !JobHasMachining(run)) {
      const std::string text = platform::Sjis("$DORN_DAT.@@@ に加工がありません：ＮＣデータは作成しません");
      list_.AddString(text);
      ShowErrorBox(text);
    } else {
      run.StartNcCreation();
    }
    run.engine.core.TraceRadius = 0.0;
  } else if (mode == 11 || mode == 12) {
    run.RunNcTextCheck();
  } else if (mode == 22) {
    DncSendAll(run);
  } else if (mode == 24) {
    OnReceiveData(run);
  } else if (mode == 33) {
    run.WriteNcExeFlag(kBusy);
    RunState = kIdle;
    surface_.SetCursor(kCursorArrow);
    app_.ReadEditFile();
    RunNcEditor(run);
    run.WriteNcExeFlag(0);
  } else if (mode == 40) {
    BuildMachiningModel(run);
  }
  // Any other mode (39 and 99 among them) runs nothing.

  FlushPanes();
  ColorOffset() = 0;
  list_.SetCurSel(list_.AddString(platform::Sjis(kRunFinished)));
  surface_.Invalidate();
  platform::Beep();
  header.ncDisplayFlags = 0;
  RunState = kIdle;
  panes.running = false;
  run.output.OutputSuppress = kOutputDisplay;
  run.output.SubModeOutput = 0;
  run.AbortFlag = 0;
  runDc_.reset();
  surface_.SetCursor(kCursorArrow);
}

}  // namespace qup::shell
