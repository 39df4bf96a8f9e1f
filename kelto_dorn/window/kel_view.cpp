// The view's creation, painting, device context and cursor: see kel_view.h.
#include "kelto_dorn/window/kel_view.h"

#include <cmath>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/drawing_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"
#include "kelto_dorn/app/work_box.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_dorn/window/bar_images.h"
#include "kelto_dorn/window/printing.h"
#include "platform/text.h"

namespace dorn {

namespace {

// The fonts of the view: the user font (replaced by the font dialog) and the
// read-out font of the coordinates, both in the system's mincho face.
constexpr int kUserFontHeight = 13;
constexpr int kReadoutFontHeight = 20;
constexpr const char* kViewFontFace = "ＭＳ 明朝";
// The colour index of new figures when the view opens.
constexpr int kStartFigureColour = 2;
constexpr platform::Color kScreenTextColour = platform::Rgb(255, 255, 0);

// The words the painters use as cursors and scratch that an interrupted
// command relies on; painting puts them back.
struct PickWords {
  int tableSelector = g_figureTableSelector;
  int curLayer = g_curLayer;
  int curveIndex = g_curCurveIndex;
  int pickIndex = g_pickIndex;
  int workCount = g_workCount;
  int originIndex = g_curOriginIndex;
  FigureRecord figure = g_curFigure;
  FigureRecord saved = g_savedFigure;
  CurveRecord curve = g_curCurveRecord;
  TextRecord text = g_curTextRecord;

  void Restore() const {
    g_figureTableSelector = tableSelector;
    g_curLayer = curLayer;
    g_curCurveIndex = curveIndex;
    g_pickIndex = pickIndex;
    g_workCount = workCount;
    g_curOriginIndex = originIndex;
    g_curFigure = figure;
    g_savedFigure = saved;
    g_curCurveRecord = curve;
    g_curTextRecord = text;
  }
};

}  // namespace

bool IsLightBackground(int backgroundIndex) { return backgroundIndex >= 1 && backgroundIndex <= 20; }

CKelView::CKelView(CKelDoc& document) : document_(document) {
  g_view.m_printFactor = 1.0;
  g_view.m_selectionIndex = kNone;
  g_pView = this;
  InstallViewAccess();
}

CKelView::~CKelView() {
  PurgeUndoSnapshots();
  if (g_commandEngines.cancelCurveCommand) g_commandEngines.cancelCurveCommand();
  if (surface_) surface_->SetHandler(nullptr);
  if (g_pView == this) {
    g_pView = nullptr;
    g_viewAccess.redrawView = nullptr;
    g_viewAccess.endPick = nullptr;
    g_viewAccess.prepareDrawingDC = nullptr;
    g_viewAccess.viewDC = nullptr;
    g_viewAccess.resumePickCommand = nullptr;
    g_viewAccess.setupPrinterDC = nullptr;
  }
}

void CKelView::InstallViewAccess() {
  g_viewAccess.redrawView = [this] { RedrawView(); };
  g_viewAccess.endPick = [this](int command) { EndPick(command); };
  g_viewAccess.prepareDrawingDC = [this](platform::DeviceContext& dc) { PrepareDrawingDC(dc); };
  g_viewAccess.viewDC = [this] { return GetPreparedDC(); };
  g_viewAccess.resumePickCommand = [this] { ResumePickCommand(); };
  g_viewAccess.setupPrinterDC = [this](int mode, const RegisterPrintLists& lists) {
    SetupRegisterPrint(*this, mode, lists);
  };
}

int CKelView::OnCreate(platform::ViewSurface& surface) {
  surface_ = &surface;
  surface.SetHandler(this);
  userFont_ = platform::Font{};
  userFont_.face = platform::Sjis(kViewFontFace);
  userFont_.height = kUserFontHeight;
  readoutFont_ = userFont_;
  readoutFont_.height = kReadoutFontHeight;
  g_view.m_fontFace = userFont_.face;
  ResetInputState();
  for (auto& layer : zoomHistory_) layer.fill(ZoomHistoryEntry{});
  zoomDepth_.fill(0);
  LoadNamedDrawingOnce();
  surface.SetBackgroundColor(BackgroundColour());
  RegisterViewCursors();
  UpdateCursor();
  PlaceWork();
  return 0;
}

void CKelView::ResetInputState() {
  ViewState& v = g_view;
  v.m_polylineCount = 0;
  v.m_boxStage = 0;
  v.m_tiltAngle1 = v.m_tiltAngle2 = 0.0;
  g_showDimensions = 1;
  g_projection = kProjectionXY;
  g_layerOverview = 0;
  g_figureStyle = kStartFigureColour;
  g_lineType = 0;
  g_pickApertureSize = 1;
  v.m_crossHair = 0;
  g_curCommand = 0;
  g_pickState = 0;
  g_abortCount = 0;
  g_curCurveIndex = kNone;
  v.m_selectionIndex = kNone;
  g_snapMode = 0;
}

void CKelView::LoadNamedDrawingOnce() {
  if (drawingLoaded_) return;
  LoadDrawing(document_);
  ClearCurrentFigure();
  ResetSurfaceRecord();
  ResetMachiningRecord(document_.atc);
  drawingLoaded_ = true;
}

platform::Color CKelView::BackgroundColour() const {
  const int i = g_backgroundIndex;
  return i >= 0 && i < kPaletteSize ? PaletteColors[static_cast<std::size_t>(i)] : 0;
}

void CKelView::OnPaint(platform::DeviceContext& dc) {
  // Once the exit released the figure store there is nothing left to paint.
  if (!g_figureStore.started()) return;
  const PickWords saved;
  g_pDocument = &document_;
  if (!dc.IsPrinter() && ModalDepth == 0)
    if (platform::Frame* frame = GetAppMainWnd()) frame->SetTitle(PromptCaptionHook());
  PrepareDrawingDC(dc);
  PaintAllDrawings(dc);
  saved.Restore();
}

void CKelView::PrepareDrawingDC(platform::DeviceContext& dc) {
  ViewState& v = g_view;
  if (surface_) {
    const platform::Size client = surface_->ClientSize();
    if (client.cx > 0 && client.cy > 0) lastClient_ = client;
  }
  v.m_clientWidth = lastClient_.cx;
  v.m_clientHeight = lastClient_.cy;
  const platform::Size extent{static_cast<int>(std::lround(v.m_clientWidth * v.m_printFactor)),
                              static_cast<int>(std::lround(v.m_clientHeight * v.m_printFactor))};
  dc.SetMapMode(platform::MapMode::Isotropic);
  dc.SetWindowExtent(extent);
  dc.SetViewportExtent(extent);
  dc.SetViewportOrigin({0, 0});
  dc.SetRasterOp(platform::RasterOp::Copy);
  if (!dc.IsPrinter()) {
    dc.SetTextColor(kScreenTextColour);
    dc.SetBackgroundColor(BackgroundColour());
  }
}

std::unique_ptr<platform::DeviceContext> CKelView::GetPreparedDC() {
  if (!surface_) return nullptr;
  auto dc = surface_->GetDC();
  PrepareDrawingDC(*dc);
  return dc;
}

Vec2 CKelView::ScreenToDrawing(int x, int y) {
  ViewState& v = g_view;
  if (v.m_unitsPerMm == 0.0) {
    // No paint has set the transform up yet.
    v.m_clientWidth = lastClient_.cx;
    v.m_clientHeight = lastClient_.cy;
    UpdateViewTransform();
    if (v.m_unitsPerMm == 0.0) return {};
  }
  Vec2 p{(x - v.m_originX) / v.m_unitsPerMm, (v.m_originY - y) / v.m_unitsPerMm};
  // The side views draw about the work placement's centre.
  if (g_projection == kProjectionXZ) {
    p.y -= g_projectionCentre.y;
  } else if (g_projection == kProjectionYZ) {
    p.x -= g_projectionCentre.x;
    p.y -= g_projectionCentre.y;
  }
  return p;
}

void CKelView::UpdateCursor(bool overFigure) {
  if (surface_) surface_->SetCursor(ViewCursorId(g_pickApertureSize, g_backgroundIndex, overFigure));
}

void CKelView::RedrawView() {
  ViewState& v = g_view;
  v.m_rubberBandCount = 0;
  v.m_placeByMouse = 0;
  if (v.m_crossHair != 0) v.m_crossHair = 1;
  v.m_polylineCount = 0;
  if (surface_) {
    surface_->SetBackgroundColor(BackgroundColour());
    surface_->Invalidate();
  }
}

void CKelView::OnSize(int width, int height) {
  if (width > 0 && height > 0) lastClient_ = {width, height};
  g_view.m_rubberBandCount = 0;
  if (g_view.m_crossHair != 0) g_view.m_crossHair = 1;
}

void CKelView::OnFocusLost() {
  if (g_commandEngines.eraseRubberBand) g_commandEngines.eraseRubberBand();
}

}  // namespace dorn
