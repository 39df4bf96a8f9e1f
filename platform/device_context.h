#pragma once
// The device context: everything the system draws (the view, owner-drawn
// buttons, printer pages, clipboard bitmaps) goes through this interface.
//
// Coordinates are logical units; the mapping (text mode or isotropic with
// window and viewport extents) turns them into device pixels. Text crossing
// this interface is CP932 bytes, as everywhere in the system's own code.
//
// Two implementations: a raster context that draws into an image (desktop
// backend) and a recording context that keeps every primitive with its pen,
// brush and raster operation (headless backend, tests).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace platform {

enum class PenStyle {
  Solid,
  Dash,
  Dot,
  DashDot,
  DashDotDot,
  Null,  // draws nothing (outline-less shapes)
};

struct Pen {
  Color color = 0;
  int width = 1;  // logical units; 0 and 1 both mean one device pixel
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle {
  Solid,
  Null,  // hollow: shapes are outlined only
};

struct Brush {
  Color color = 0xFFFFFF;
  BrushStyle style = BrushStyle::Solid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

// A logical font. The face is CP932 (Japanese faces such as the system's
// mincho and gothic faces are matched to an installed CJK font).
struct Font {
  std::string face;
  int height = 13;     // logical units; the sign is ignored
  int weight = 400;    // 0 and 400 normal, 700 bold
  int escapement = 0;  // rotation in tenths of degrees, counter-clockwise
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// How a pen or brush combines with the pixels under it.
enum class RasterOp {
  Copy,  // the pen colour replaces the pixel
  Xor,   // pixel ^ pen colour: drawing the same figure twice restores the image
  Not,   // the pixel is inverted, whatever the pen colour
};

enum class BackgroundMode { Transparent, Opaque };

// TextOut alignment: one horizontal and one vertical choice, or-ed together.
namespace text_align {
constexpr unsigned kLeft = 0x00;
constexpr unsigned kRight = 0x02;
constexpr unsigned kCenter = 0x06;
constexpr unsigned kTop = 0x00;
constexpr unsigned kBottom = 0x08;
constexpr unsigned kBaseline = 0x18;
}  // namespace text_align

// DrawText formats, or-ed together.
namespace draw_text {
constexpr unsigned kLeft = 0x000;
constexpr unsigned kCenter = 0x001;
constexpr unsigned kRight = 0x002;
constexpr unsigned kTop = 0x000;
constexpr unsigned kVCenter = 0x004;
constexpr unsigned kBottom = 0x008;
constexpr unsigned kWordBreak = 0x010;
constexpr unsigned kSingleLine = 0x020;
constexpr unsigned kNoClip = 0x100;
constexpr unsigned kCalcRect = 0x400;  // only measures: the rectangle is widened or heightened
}  // namespace draw_text

// DrawEdge kinds and the sides to draw.
enum class EdgeKind { Raised, Sunken, Etched, Bump };
namespace edge_side {
constexpr unsigned kLeft = 0x1;
constexpr unsigned kTop = 0x2;
constexpr unsigned kRight = 0x4;
constexpr unsigned kBottom = 0x8;
constexpr unsigned kRect = 0xF;
}  // namespace edge_side

enum class MapMode {
  Text,       // one logical unit is one pixel, y down
  Isotropic,  // window extent -> viewport extent, one scale for both axes
  Anisotropic,
};

struct TextMetrics {
  int height = 0;
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int averageCharWidth = 0;
  int maxCharWidth = 0;
};

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;

  // --- drawing objects; each returns the one it replaced ---
  virtual Pen SelectPen(const Pen& pen) = 0;
  virtual Brush SelectBrush(const Brush& brush) = 0;
  virtual Font SelectFont(const Font& font) = 0;
  virtual const Pen& CurrentPen() const = 0;
  virtual const Brush& CurrentBrush() const = 0;
  virtual const Font& CurrentFont() const = 0;

  virtual RasterOp SetRasterOp(RasterOp op) = 0;
  virtual RasterOp GetRasterOp() const = 0;
  virtual BackgroundMode SetBackgroundMode(BackgroundMode mode) = 0;
  virtual Color SetBackgroundColor(Color c) = 0;
  virtual Color SetTextColor(Color c) = 0;
  virtual unsigned SetTextAlign(unsigned align) = 0;

  // --- mapping ---
  virtual void SetMapMode(MapMode mode) = 0;
  virtual void SetWindowExtent(Size extent) = 0;
  virtual void SetViewportExtent(Size extent) = 0;
  virtual void SetWindowOrigin(Point origin) = 0;
  virtual void SetViewportOrigin(Point origin) = 0;
  virtual Point LogicalToDevice(Point logical) const = 0;
  virtual Point DeviceToLogical(Point device) const = 0;

  // --- lines and shapes (shapes are outlined with the pen, filled with the brush) ---
  virtual void MoveTo(Point p) = 0;
  virtual void LineTo(Point p) = 0;  // from the current position; the end point is not drawn
  virtual Point CurrentPosition() const = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  virtual void Rectangle(const Rect& r) = 0;
  virtual void Ellipse(const Rect& bounds) = 0;
  // Counter-clockwise arc of the ellipse in `bounds`, from the ray towards
  // `start` to the ray towards `end` (equal rays draw the whole ellipse).
  virtual void Arc(const Rect& bounds, Point start, Point end) = 0;
  virtual void FillRect(const Rect& r, const Brush& brush) = 0;
  virtual void DrawEdge(const Rect& r, EdgeKind kind, unsigned sides) = 0;
  virtual void DrawFocusRect(const Rect& r) = 0;  // dotted XOR frame: twice removes it
  virtual void SetPixel(Point p, Color c) = 0;

  // --- text ---
  virtual void TextOut(Point p, std::string_view cp932) = 0;
  // Draws inside `r` with the draw_text format; returns the text height.
  // With kCalcRect nothing is drawn and `r` receives the needed size.
  virtual int DrawText(std::string_view cp932, Rect& r, unsigned format) = 0;
  virtual Size GetTextExtent(std::string_view cp932) const = 0;
  virtual TextMetrics GetTextMetrics() const = 0;

  // --- clipping (logical rectangles) ---
  virtual void IntersectClipRect(const Rect& r) = 0;
  virtual void ExcludeClipRect(const Rect& r) = 0;
  virtual void ResetClip() = 0;

  // --- state stack ---
  // Saves pens, brush, font, modes, colours, mapping, clip and position;
  // returns the new depth (1 for the first save).
  virtual int Save() = 0;
  // Restores the given depth (a negative value counts back from the top:
  // -1 the last save). Returns false when there is no such saved state.
  virtual bool Restore(int depth = -1) = 0;

  // --- bitmaps ---
  // The device size in pixels (the image, the page, the memory bitmap).
  virtual Size DeviceSize() const = 0;
  virtual void DrawBitmap(Point topLeft, const Bitmap& bitmap) = 0;
  // The pixels of a device rectangle (empty for a recording context).
  virtual Bitmap CopyBitmap(const Rect& deviceArea) const = 0;
  // Copies `size` pixels from `source` at `sourceTopLeft` to `destTopLeft`
  // (all device coordinates), combined with `op`.
  virtual void BitBlt(Point destTopLeft, Size size, const DeviceContext& source, Point sourceTopLeft,
                      RasterOp op = RasterOp::Copy) = 0;
  // A memory context of the same kind with a bitmap of `size`, filled white.
  virtual std::unique_ptr<DeviceContext> CreateCompatible(Size size) const = 0;

  // True for printer pages (the system skips screen-only settings there).
  virtual bool IsPrinter() const { return false; }
};

}  // namespace platform
