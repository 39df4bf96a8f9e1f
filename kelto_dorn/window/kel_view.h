#pragma once
// CKelView: the one view of the main window. Every key and mouse event of the
// drawing area arrives here, every menu and bar command is routed here first,
// and the drawing is painted (by the kernel's painters) and zoomed or panned
// here. It keeps no drawing data: figures live in the figure store, the pick
// machines in the command engines; the view keeps its own input state in
// g_view, its fonts and the per-layer zoom history.
//
// The view's handlers are split over files by what they do: kel_view.cpp
// (creation, painting, the device context, the cursor), view_keys.cpp,
// view_zoom.cpp (zoom, pan, the box, the clipboard), view_commands.cpp
// (routing and the view's dialog commands), view_mouse.cpp and the pick
// dispatch (pick_dispatch.h).
#include <array>
#include <memory>
#include <optional>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_record.h"
#include "platform/device_context.h"
#include "platform/frame.h"
#include "platform/view_surface.h"

namespace dorn {

class CKelDoc;

// One step of a layer's zoom history: the figure table it belongs to (0xFFFF
// free), the zoom and the two pans it replaced.
struct ZoomHistoryEntry {
  int table = kNone;
  double zoom = 100.0;
  double panX = 0.0;
  double panY = 0.0;
};
inline constexpr int kZoomHistoryDepth = 32;

// The first-group backgrounds (indexes 1-20) are light: dark read-out text
// and cursors; the others dark.
bool IsLightBackground(int backgroundIndex);

class CKelView final : public platform::ViewHandler {
 public:
  // Sets g_pView and installs the view's entries of view_access.h.
  explicit CKelView(CKelDoc& document);
  // Deletes the undo snapshots, cancels a curve command and clears g_pView.
  ~CKelView() override;
  CKelView(const CKelView&) = delete;
  CKelView& operator=(const CKelView&) = delete;

  // Creation on the frame's view surface: fonts, input state, zoom history,
  // the drawing named in the system record loaded once, the background and
  // the work placement. Returns 0.
  int OnCreate(platform::ViewSurface& surface);

  // --- events ---
  void OnPaint(platform::DeviceContext& dc) override;
  void OnMouse(const platform::MouseEvent& event) override;
  void OnKeyDown(int key, unsigned modifiers) override;
  void OnSize(int width, int height) override;
  void OnFocusLost() override;

  // --- commands ---
  // Runs a command the view routes; false when the id is not the view's.
  bool OnCommand(int id);
  // Enables (and ticks) a command the view routes; false when not the view's.
  bool OnUpdateCommand(platform::CommandUpdate& update);

  // --- used program-wide (view_access.h) ---
  void RedrawView();
  // Client size, the isotropic mapping of the client area (times the print
  // factor) and the copy pen; the screen colours unless printing.
  void PrepareDrawingDC(platform::DeviceContext& dc);
  // A device context on the view outside painting, prepared; null without a
  // surface.
  std::unique_ptr<platform::DeviceContext> GetPreparedDC();
  // A client pixel as a drawing point (mm) in the current projection.
  Vec2 ScreenToDrawing(int x, int y);
  // Ends the active command: highlights off, button released, input reset.
  void EndPick(int command);
  // Re-enters the figure machine with the point already computed.
  void ResumePickCommand();
  // The cursor of the aperture and background (the figure set when asked).
  void UpdateCursor(bool overFigure = false);

  // --- zoom and pan (view_zoom.cpp) ---
  void ZoomIn();
  void ZoomOut();
  void StartZoomBox();
  // The second corner of the zoom box: the box fills the client area. False
  // (prompt 4099) when the result would pass the view's limits.
  bool FitViewToSelection();
  void ZoomBack();
  void CentreAxes();
  // Pans the current layer by one step (dx, dy of -1, 0 or 1); refused past
  // the limit.
  void PanStep(int dx, int dy);
  // Puts the drawing point at the centre of the client area.
  void CentreOnPoint(const Vec2& point);
  // Draws the box of the current selection in XOR (twice removes it).
  void DrawRubberBandBox(platform::DeviceContext& dc, int mode);
  // Copies the dragged box (or the whole client area) to the clipboard.
  void CopyViewToClipboard();
  // Pushes (or pops) a layer's zoom history.
  void PushZoomHistory(int layer);
  int ZoomDepth(int layer) const;
  const ZoomHistoryEntry& ZoomEntry(int layer, int depth) const;

  // --- fonts ---
  const platform::Font& UserFont() const { return userFont_; }
  void SetUserFont(const platform::Font& font) { userFont_ = font; }
  const platform::Font& ReadoutFont() const { return readoutFont_; }

  CKelDoc& Document() { return document_; }
  platform::ViewSurface* Surface() { return surface_; }
  bool DrawingLoaded() const { return drawingLoaded_; }

  // The drag start of a left or right drag with no command waiting.
  struct Drag {
    bool left = false;
    bool right = false;
    platform::Point start;
  };
  Drag& DragState() { return drag_; }

 private:
  void InstallViewAccess();
  void ResetInputState();
  void LoadNamedDrawingOnce();
  platform::Color BackgroundColour() const;

  CKelDoc& document_;
  platform::ViewSurface* surface_ = nullptr;
  platform::Font userFont_;
  platform::Font readoutFont_;
  std::array<std::array<ZoomHistoryEntry, kZoomHistoryDepth>, kLayerCount> zoomHistory_{};
  std::array<int, kLayerCount> zoomDepth_{};
  Drag drag_;
  bool drawingLoaded_ = false;
  // The last client size that was not empty: a minimised view prints at it.
  platform::Size lastClient_{0, 0};
};

}  // namespace dorn
