// The view's creation, its paints and the start timer, the message list, and
// the view as the run's host: every computed move is drawn into the panes
// and recorded in the document as it happens.
#include "kelto_qup/shell/qup_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kelto_qup/shell/nc_monitor_dlg.h"
#include "kelto_qup/shell/pending_entry_points.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

constexpr unsigned kStopIcon = 0x10;
constexpr unsigned kYesNoQuestion = 0x24;
constexpr int kDisplayListMode = 39;
constexpr int kListStrip = 30;
constexpr int kListGap = 5;
constexpr std::size_t kDragReplayLimit = 38000;
constexpr int kTraceRequested = 1;
// Arcs drawn as chords: at most 5 degrees, or less where the chord would
// leave the arc by more than 0.01 mm.
constexpr double kChordAngle = 5.0 * std::numbers::pi / 180.0;
constexpr double kChordTolerance = 0.01;
constexpr int kMaxChords = 720;

}  // namespace

CQupView::CQupView(CQupApp& app, CQupDoc& doc, platform::Frame& frame)
    : app_(app), doc_(doc), frame_(frame), surface_(frame.View()), list_(frame.View().ListBox()) {
  const std::string face = platform::Sjis("ＭＳ 明朝");
  viewFont_ = {face, 20, 0};
  listFont_ = {face, 24, 400};
  const int background = std::clamp(app_.colors.backgroundIndex, 0, handover::ColorTable::kColorCount - 1);
  surface_.SetBackgroundColor(app_.colors.palette[background]);
  platform::RegisterCursor(kCursorRunning, platform::StandardCursor::Wait);
  platform::RegisterCursor(kCursorReplaying, platform::StandardCursor::Cross);
  surface_.SetHandler(this);
  app_.host.Attach(this);
  doc_.updateAllViews = [this] { surface_.Invalidate(); };
  app_.run.job.DisplayList = [this] { return doc_.RecordWords(); };
  RunState = kRunning;
}

CQupView::~CQupView() {
  app_.run.job.DisplayList = nullptr;
  doc_.updateAllViews = nullptr;
  app_.host.Attach(nullptr);
  surface_.SetHandler(nullptr);
  list_.ResetContent();
}

// ---- paint and timer

void CQupView::OnPaint(platform::DeviceContext& dc) { OnDraw(dc); }

void CQupView::OnDraw(platform::DeviceContext& dc) {
  if (GLMode != 0 || (TraceState() & kTraceRunning) != 0) return;
  if (RunState != kRunning || listCreated_) {
    PrepareDrawingDC(dc);
    paintDc_ = &dc;
    RedrawDisplayList(dc);
    paintDc_ = nullptr;
    if (RunState != kIdle && !questionOpen_) PaintState() = kPaintReplayed;
  } else {
    // The first paint: the list, the job's reset and the start timer.
    UpdateTitleBar();
    app_.run.InitNcJob();
    CreateMessageList();
    PaintState() = 0;
    surface_.SetTimer(kStartTimer, kStartDelayMs, platform::TimerKind::Repeating);
  }
  BoxStarted = false;
  rubberBandShown_ = false;
}

void CQupView::OnTimer(int timerId) {
  if (timerId != kStartTimer || !windowShown_) return;
  surface_.KillTimer(kStartTimer);
  RunStartMode();
}

void CQupView::OnSize(int width, int height) {
  (void)width;
  PaintState() = kPaintResized;
  if (GLMode != 0 || !listCreated_) return;
  listTop_ = height - listHeight_;
  drawBottom_ = listTop_ - kListGap;
  list_.SetRect({0, listTop_, surface_.ClientSize().cx, height});
}

void CQupView::CreateMessageList() {
  const platform::Size client = surface_.ClientSize();
  const int mode = app_.StartMode();
  listTop_ = (mode == 0 || mode == 1) ? client.cy - client.cy / 3 : client.cy - kListStrip;
  listHeight_ = client.cy - listTop_;
  drawBottom_ = listTop_ - kListGap;
  list_.SetRect({0, listTop_, client.cx, client.cy});
  list_.SetFont(listFont_);
  list_.Show(true);
  listCreated_ = true;
  if (app_.Header().displayListReload != 0 || mode == kDisplayListMode) {
    const std::string fault = doc_.LoadDisplayList(platform::ProgramFolder() / handover::kDisplayListFileName);
    if (!fault.empty()) app_.host.AddListLine(platform::Utf8ToCp932(fault));
  }
  app_.run.AbortFlag = 0;
}

void CQupView::MoveListTo(int top) {
  const platform::Size client = surface_.ClientSize();
  listTop_ = top;
  listHeight_ = client.cy - top;
  drawBottom_ = top - kListGap;
  list_.SetRect({0, top, client.cx, client.cy});
  list_.Show(true);
}

void CQupView::ShowListStrip(int height) { MoveListTo(surface_.ClientSize().cy - height); }

void CQupView::PrepareDrawingDC(platform::DeviceContext& dc) const {
  const platform::Size client = surface_.ClientSize();
  dc.SetMapMode(platform::MapMode::Isotropic);
  dc.SetWindowExtent(client);
  dc.SetViewportExtent(client);
  dc.SetWindowOrigin({0, 0});
  dc.SetViewportOrigin({0, 0});
  dc.SetRasterOp(platform::RasterOp::Copy);
  if (listCreated_) dc.ExcludeClipRect({0, drawBottom_, client.cx, client.cy});
}

void CQupView::UpdateTitleBar() { frame_.SetTitle(kTitleText); }

void CQupView::SetupPanes() {
  const platform::Size client = surface_.ClientSize();
  const int bottom = listCreated_ ? drawBottom_ : client.cy;
  app_.panes.Setup(client, client.cy - bottom);
}

// ---- replay

void CQupView::RedrawDisplayList(platform::DeviceContext& dc) {
  RunContext& run = app_.run;
  if (RunState == kRunning && (run.AbortFlag != 0 || PaintState() == kPaintReplayed)) return;
  PathPanes& panes = app_.panes;
  const int savedMode = panes.executionMode;
  SetupPanes();
  PaintState() = 0;
  replaying_ = true;
  panes.DrawDecorations(dc, app_.Header(), app_.Header().showAxes != 0);
  const auto& records = doc_.Records();
  if (leftDrag_ || rightDrag_ || wheelDrag_) {
    panes.executionMode = 0;
    const std::size_t n = std::min(records.size(), kDragReplayLimit);
    for (std::size_t i = 0; i < n; ++i) ReplayRecord(dc, records[i], i == 0);
  } else if (TraceState() == kTraceRequested) {
    ReplayTrace(dc);
  } else {
    for (std::size_t i = 0; i < records.size(); ++i) ReplayRecord(dc, records[i], i == 0);
  }
  panes.Flush(dc);
  panes.executionMode = savedMode;
  TraceState() &= 0x0F;
  replaying_ = false;
}

void CQupView::ReplayRecord(platform::DeviceContext& dc, const handover::CDisplayRecord& r, bool first) {
  app_.panes.Replay(dc, r, first);
}

void CQupView::ReplayTrace(platform::DeviceContext& dc) {
  RunContext& run = app_.run;
  TraceState() |= 0xC000;
  surface_.SetCursor(kCursorReplaying);
  run.AbortFlag = 0;
  const auto& records = doc_.Records();
  const handover::CDisplayRecord* previous = nullptr;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const handover::CDisplayRecord& r = records[i];
    ReplayRecord(dc, r, i == 0);
    if (r.kind >= 1 && r.radius != 0.0f) {
      if (previous != nullptr) DrawTraceSegment(run, *previous, r);
      previous = &r;
    } else if (r.kind == 0 || r.kind == -1) {
      if (previous != nullptr) DrawTraceSweep(run);
      previous = nullptr;
    }
    if (i % 3 == 2) PumpMessages();
    if (TraceState() == 0 || run.AbortFlag != 0) {
      // Stopped by the user, or the trace drawing could not run.
      platform::Beep();
      TraceState() = 0;
      break;
    }
  }
  run.AbortFlag = 0;
  surface_.SetCursor(kCursorArrow);
}

// ---- the run's host

platform::DeviceContext& CQupView::DrawDc() {
  if (paintDc_ != nullptr) return *paintDc_;
  if (!runDc_) RefreshViewDc();
  return *runDc_;
}

void CQupView::ShowErrorBox(std::string_view text) { platform::ShowMessageBox(text, {}, kStopIcon); }

int CQupView::AddListLine(std::string_view text) { return list_.AddString(text); }
void CQupView::SelectListLine(int index) { list_.SetCurSel(index); }
void CQupView::DeleteListLine(int index) { list_.DeleteString(index); }
void CQupView::PumpMessages() { app_.PumpMessages(); }

void CQupView::RefreshViewDc() {
  runDc_ = surface_.GetDC();
  PrepareDrawingDC(*runDc_);
}

void CQupView::FlushPanes() { app_.panes.Flush(DrawDc()); }

void CQupView::AddDisplayRecord(const std::array<std::uint32_t, 8>& words) {
  doc_.AddDisplayRecord(words);
  ReplayRecord(DrawDc(), doc_.Records().back(), false);
}

DrawnMove CQupView::CurrentMove(double x, double y, double z) const {
  const RunContext& run = app_.run;
  const OutputState& o = run.output;
  DrawnMove m;
  m.x = x, m.y = y, m.z = z;
  m.tool = o.CurrentTool;
  m.direction = run.engine.core.ToolNormal;
  m.traceRadius = run.engine.core.TraceRadius;
  if ((o.CompensationState & 0x1) != 0) m.side = (o.CompensationSide & 0x2) ? 1 : (o.CompensationSide & 0x4) ? 2 : 0;
  return m;
}

void CQupView::DrawMoveTo(const DrawnMove& move, int kind, bool record) {
  PathPanes& panes = app_.panes;
  if (kind == 0) {
    panes.MoveDraw3D(DrawDc(), move.x, move.y, move.z, 0);
  } else {
    const OutputState& o = app_.run.output;
    const int pen = panes.LinePen(o.CurrentTool, o.SegmentPen);
    int drawKind = pen;
    if (kind < 0) drawKind = panes.RapidShown() ? PathPanes::RapidKind(pen) : 0;
    panes.MoveDraw3D(DrawDc(), move.x, move.y, move.z, drawKind);
  }
  if (record) doc_.RecordDrawnSegment(kind, move);
}

void CQupView::DrawCheckSegment(double x, double y, double z, int kind, bool record) {
  DrawnMove move = CurrentMove(x, y, z);
  move.direction = {0.0, 0.0, 1.0};
  DrawMoveTo(move, kind > 0 ? 1 : kind < 0 ? -1 : 0, record);
}

void CQupView::DrawPathStep(int /*channel*/, const handover::NcElement& move) {
  const OutputState& o = app_.run.output;
  PathPanes& panes = app_.panes;
  // Each move is drawn from its own start: a pen-up move first where the
  // panes stand elsewhere (after a hole's plunge, say).
  const auto& at = panes.CurrentPoint();
  if (std::fabs(at[0] - move.d6) > 1e-6 || std::fabs(at[1] - move.d7) > 1e-6 || std::fabs(at[2] - o.PrevZ) > 1e-6) {
    DrawMoveTo(CurrentMove(move.d6, move.d7, o.PrevZ), 0);
  }
  const int kind = move.code == 0 ? -1 : 1;
  if ((move.code == 2 || move.code == 3) && move.d1 != 0.0) {
    DrawArcAsChords(move, kind);
  } else {
    DrawMoveTo(CurrentMove(move.d4, move.d5, move.d8), kind);
  }
}

void CQupView::DrawArcAsChords(const handover::NcElement& move, int kind) {
  const OutputState& o = app_.run.output;
  const double cx = move.d6 + o.CentreI, cy = move.d7 + o.CentreJ;
  const double r = std::hypot(move.d6 - cx, move.d7 - cy);
  const double a0 = std::atan2(move.d7 - cy, move.d6 - cx);
  const double a1 = std::atan2(move.d5 - cy, move.d4 - cx);
  const bool counterClockwise = move.code == 3;
  double sweep = counterClockwise ? a1 - a0 : a0 - a1;
  while (sweep <= 1e-12) sweep += 2.0 * std::numbers::pi;
  double step = kChordAngle;
  if (r > kChordTolerance) step = std::min(step, 2.0 * std::acos(1.0 - kChordTolerance / r));
  const int chords = std::clamp(static_cast<int>(std::ceil(sweep / step)), 1, kMaxChords);
  const double z0 = o.PrevZ, z1 = move.d8;
  for (int i = 1; i <= chords; ++i) {
    const double t = static_cast<double>(i) / chords;
    const double a = a0 + (counterClockwise ? sweep : -sweep) * t;
    const bool last = i == chords;
    const double x = last ? move.d4 : cx + r * std::cos(a);
    const double y = last ? move.d5 : cy + r * std::sin(a);
    DrawMoveTo(CurrentMove(x, y, z0 + (z1 - z0) * t), kind);
  }
}

void CQupView::SetTitleText(std::string_view text) { frame_.SetTitle(std::string(text)); }
void CQupView::Beep() { platform::Beep(); }

bool CQupView::ConfirmForceQuit() {
  if (RunState != kRunning) return false;
  const int saved = PaintState();
  PaintState() = kPaintQuestion;
  questionOpen_ = true;
  const int answer = platform::ShowMessageBox(platform::Sjis(kForceQuitQuestion), {}, kYesNoQuestion);
  questionOpen_ = false;
  PaintState() = saved;
  if (answer != platform::kIdYes) return false;
  app_.run.AbortFlag = kStopRun;
  RunState = kIdle;
  return true;
}

}  // namespace qup::shell
