// The panes' geometry, the colour rules, clipping and the polyline buffers.
#include "kelto_qup/shell/path_panes.h"
#include "kelto_qup/engine/number_helpers.h"

#include <algorithm>
#include <cmath>

namespace qup::shell {

namespace {

// Pixels per pane-offset unit and per percent of zoom, before the print scale.
constexpr double kPixelsPerUnit = 4.0;
// Tool colours take pen indexes 1 to 24.
constexpr int kToolColours = 24;
// A pane buffer holds 520 points; it is drawn sooner while idle than while a
// run draws, so a long run shows its path as it grows.
constexpr std::size_t kBufferPoints = 520;
constexpr std::size_t kFlushIdle = 512;
constexpr std::size_t kFlushRunning = 168;
constexpr double kNoInterpolation = 1e-6;

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}

Matrix RotationX(double degrees) {
  const double c = std::cos(degrees * kRadiansPerDegree), s = std::sin(degrees * kRadiansPerDegree);
  return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
Matrix RotationY(double degrees) {
  const double c = std::cos(degrees * kRadiansPerDegree), s = std::sin(degrees * kRadiansPerDegree);
  return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
Matrix RotationZ(double degrees) {
  const double c = std::cos(degrees * kRadiansPerDegree), s = std::sin(degrees * kRadiansPerDegree);
  return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

// Pixels of coordinates already inside a pane (or close to it).
int RoundPixel(double v) { return static_cast<int>(v < 0.0 ? v - 0.5 : v + 0.5); }

// The plane each quarter shows: 1 X-Y, 2 Y-Z, 3 X-Z, 4 the arrow view.
constexpr int kPlaneOfQuarter[kPaneCount] = {0, 0, 2, 1, kPlaneArrow};

}  // namespace

void PathExtents3::Add(double x, double y, double z) {
  if (!Exist()) {
    minX = maxX = x;
    minY = maxY = y;
    minZ = maxZ = z;
    return;
  }
  minX = std::min(minX, x), maxX = std::max(maxX, x);
  minY = std::min(minY, y), maxY = std::max(maxY, y);
  minZ = std::min(minZ, z), maxZ = std::max(maxZ, z);
}

double PathPanes::EffectiveZoom(int pane) const { return lib.graphic.scale[pane] + zoomAccumulator; }

void PathPanes::Setup(platform::Size client, int listHeight) {
  if (extents.Exist()) {
    extentsCentre = {(extents.minX + extents.maxX) * 0.5, (extents.minY + extents.maxY) * 0.5,
                     (extents.minZ + extents.maxZ) * 0.5};
  }
  for (Buffer& b : buffers_) b = Buffer{};
  screenValid_ = false;
  const double f = kPixelsPerUnit * printScale;
  const double w = client.cx * printScale;
  const double h = std::max(0, client.cy - listHeight) * printScale;
  const auto& g = lib.graphic;
  auto scaleOf = [&](int pane) { return std::max(std::fabs(EffectiveZoom(pane) * 0.01), 0.01) * f; };
  PaneGeometry& one = geometry_[0];
  one.scale = scaleOf(0);
  one.centreX = w / 2 + f * (g.centreX[0] + panAccumulatorX);
  one.centreY = h / 2 - f * (g.centreY[0] + panAccumulatorY);
  one.rect = {0, 0, RoundPixel(w), RoundPixel(h)};
  const double quarterX[4] = {w / 4, 3 * w / 4, w / 4, 3 * w / 4};
  const double quarterY[4] = {h / 4, h / 4, 3 * h / 4, 3 * h / 4};
  for (int p = 1; p < kPaneCount; ++p) {
    PaneGeometry& pane = geometry_[static_cast<std::size_t>(p)];
    pane.scale = scaleOf(p) / 2;
    pane.centreX = quarterX[p - 1] + f * (g.centreX[p] + panAccumulatorX);
    pane.centreY = quarterY[p - 1] - f * (g.centreY[p] + panAccumulatorY);
    const int left = (p == 1 || p == 3) ? 0 : RoundPixel(w / 2);
    const int top = p <= 2 ? 0 : RoundPixel(h / 2);
    pane.rect = {left, top, left + RoundPixel(w / 2), top + RoundPixel(h / 2)};
  }
  // The arrow view turns the part about Z, then about Y, and looks at it
  // from rotationX degrees above the X-Y plane: Z goes up the pane.
  rotation_ = Multiply(RotationX(g.rotationX - 90.0), Multiply(RotationY(g.rotationY), RotationZ(g.rotationZ)));
}

std::array<double, 3> PathPanes::Turned(double x, double y, double z) const {
  const Matrix& m = rotation_;
  return {m[0][0] * x + m[0][1] * y + m[0][2] * z, m[1][0] * x + m[1][1] * y + m[1][2] * z,
          m[2][0] * x + m[2][1] * y + m[2][2] * z};
}

std::array<double, 2> PathPanes::PanePair(int pane, double x, double y, double z) const {
  const int plane = pane == 0 ? Plane() : kPlaneOfQuarter[pane];
  switch (plane) {
    case 1:
      return {x, z};
    case 2:
      return {-z, y};
    case kPlaneArrow: {
      const auto t = Turned(x, y, z);
      return {t[0], t[1]};
    }
    default:
      return {x, y};
  }
}

platform::Point PathPanes::ProjectPointToPane(double x, double y, double z) const {
  const int pane = FourPanes() ? 1 : 0;
  const PaneGeometry& g = Pane(pane);
  const auto pair = PanePair(pane, x, y, z);
  return {RoundPixel(pair[0] * g.scale + g.centreX), RoundPixel(g.centreY - pair[1] * g.scale)};
}

std::array<double, 2> PathPanes::PaneToModel(int pane, platform::Point p) const {
  const PaneGeometry& g = Pane(pane);
  return {(p.x - g.centreX) / g.scale, (g.centreY - p.y) / g.scale};
}

int PathPanes::PaneAtPoint(platform::Point p, platform::Size client, int drawBottom) const {
  if (!FourPanes()) return 0;
  const int w = client.cx, h = drawBottom;
  if (p.x < w / 2 && p.y < h / 2) return 1;
  if (p.x < w && p.y < h / 2) return 2;
  if (p.x < w / 2 && p.y < h) return 3;
  if (p.x > w / 2 && p.y > h / 2) return 4;
  return 0;
}

// ---- colours

int PathPanes::MovePen(int tool) {
  int pen = tool != 0 ? tool % kToolColours : currentPen_ % kToolColours;
  int& last = lib.graphic.lineColour;
  if (last <= 0) last = 1;
  if (pen <= 0) {
    pen = last;
  } else {
    last = pen;
  }
  currentPen_ = pen;
  return pen;
}

int PathPanes::LinePen(int tool, int secondTool) {
  int& last = lib.graphic.lineColour;
  if (last <= 0) last = 1;
  if (FixedColour()) return currentPen_ > 0 ? currentPen_ : last;
  int pen = tool == 0 ? 0 : (tool + secondTool) % kToolColours;
  if (pen < 0) pen = -pen;
  pen += colorOffset;
  if (pen > kToolColours) pen %= kToolColours;
  if (pen == 0) pen = colorOffset + last;
  if (pen > kToolColours) pen %= kToolColours;
  if (pen == 0) pen = kToolColours;
  currentPen_ = pen;
  return pen;
}

int PathPanes::ReplayPen(std::uint16_t colorWord) const {
  const int pen = ((colorWord & 0x0FFF) + colorOffset) % kToolColours;
  return pen == 0 ? kToolColours : pen;
}

// ---- drawing

void PathPanes::MoveTo3D(double x, double y, double z) {
  current_ = {x, y, z};
  screenValid_ = false;
}

void PathPanes::Replay(platform::DeviceContext& dc, const handover::CDisplayRecord& r, bool first) {
  if (r.kind != 1 && r.kind != 0 && r.kind != -1) return;
  if (first) {
    MoveTo3D(r.x, r.y, r.z);
    return;
  }
  const int pen = ReplayPen(r.colorWord);
  int kind = 0;
  if (r.kind == 1) kind = pen;
  if (r.kind == -1 && RapidShown()) kind = RapidKind(pen);
  MoveDraw3D(dc, r.x, r.y, r.z, kind);
}

std::array<double, 2> PathPanes::ScreenPoint(int pane, const std::array<double, 3>& p,
                                             const std::array<double, 3>& turned) const {
  const PaneGeometry& g = geometry_[static_cast<std::size_t>(pane)];
  const int plane = pane == 0 ? Plane() : kPlaneOfQuarter[pane];
  double u = p[0], v = p[1];
  if (plane == 1) {
    v = p[2];
  } else if (plane == 2) {
    u = -p[2];
  } else if (plane == kPlaneArrow) {
    u = turned[0], v = turned[1];
  }
  return {u * g.scale + g.centreX, g.centreY - v * g.scale};
}

void PathPanes::ProjectVisible(const std::array<double, 3>& p,
                               std::array<std::array<double, 2>, kPaneCount>& out) const {
  const int first = FirstVisiblePane(), last = first + VisiblePaneCount();
  const bool arrow = FourPanes() || Plane() == kPlaneArrow;
  const std::array<double, 3> turned = arrow ? Turned(p[0], p[1], p[2]) : std::array<double, 3>{};
  for (int pane = first; pane < last; ++pane) out[static_cast<std::size_t>(pane)] = ScreenPoint(pane, p, turned);
}

void PathPanes::MoveDraw3D(platform::DeviceContext& dc, double x, double y, double z, int kind, int mode) {
  const std::array<double, 3> to{x, y, z};
  if (mode != kDecorationMode) extents.Add(x, y, z);
  // Each point is projected once: its pixels are the next segment's start.
  std::array<std::array<double, 2>, kPaneCount> next;
  ProjectVisible(to, next);
  if (kind != 0) {
    if (!screenValid_) ProjectVisible(current_, screen_);
    if (dragPane >= 0) {
      DrawScreenSegment(dc, dragPane, screen_[static_cast<std::size_t>(dragPane)],
                        next[static_cast<std::size_t>(dragPane)], kind);
    } else if (tracePaneOnly && FourPanes()) {
      DrawScreenSegment(dc, 1, screen_[1], next[1], kind);
    } else {
      const int first = FirstVisiblePane();
      for (int p = first; p < first + VisiblePaneCount(); ++p) {
        DrawScreenSegment(dc, p, screen_[static_cast<std::size_t>(p)], next[static_cast<std::size_t>(p)], kind);
      }
    }
  }
  screen_ = next;
  screenValid_ = true;
  current_ = to;
}

void PathPanes::DrawScreenSegment(platform::DeviceContext& dc, int pane, std::array<double, 2> a,
                                  std::array<double, 2> b, int kind) {
  const PaneGeometry& g = geometry_[static_cast<std::size_t>(pane)];
  // Nearly every segment of a replay lies inside its pane: such a segment
  // (finite, as only numbers compare inside) goes straight to the buffer,
  // exactly as clipping would leave it.
  const double left = g.rect.left, top = g.rect.top, right = g.rect.right - 1, bottom = g.rect.bottom - 1;
  const auto inside = [&](const std::array<double, 2>& p) {
    return p[0] >= left && p[0] <= right && p[1] >= top && p[1] <= bottom;
  };
  if (inside(a) && inside(b) && a != b) {
    Append(dc, pane, {RoundPixel(a[0]), RoundPixel(a[1])}, {RoundPixel(b[0]), RoundPixel(b[1])}, kind);
    return;
  }
  // A point of a damaged work file or display list can project past any
  // number (a work size of 1e308 at some zoom): such a segment has no place
  // on the screen and is left out, before and after clipping.
  const auto finite = [](const std::array<double, 2>& p) { return std::isfinite(p[0]) && std::isfinite(p[1]); };
  if (!finite(a) || !finite(b)) return;
  if (kind > 0 && a == b) {
    // A cut straight along the pane's viewing direction (a drilled hole seen
    // from above) would draw nothing: it shows as a small cross.
    const bool inside = a[0] >= g.rect.left && a[0] < g.rect.right && a[1] >= g.rect.top && a[1] < g.rect.bottom;
    if (inside) DrawPointMark(dc, {RoundPixel(a[0]), RoundPixel(a[1])}, kind);
    return;
  }
  if (!ClipSegment(a[0], a[1], b[0], b[1], g.rect) || !finite(a) || !finite(b)) return;
  Append(dc, pane, {RoundPixel(a[0]), RoundPixel(a[1])}, {RoundPixel(b[0]), RoundPixel(b[1])}, kind);
}

bool ClipSegment(double& ax, double& ay, double& bx, double& by, const platform::Rect& r) {
  const double left = r.left, top = r.top, right = r.right - 1, bottom = r.bottom - 1;
  auto outcode = [&](double x, double y) {
    return (x < left ? 1 : 0) | (x > right ? 2 : 0) | (y < top ? 4 : 0) | (y > bottom ? 8 : 0);
  };
  // Each pass moves one end onto an edge it crosses; four edges bound it.
  for (int pass = 0; pass < 8; ++pass) {
    const int ca = outcode(ax, ay), cb = outcode(bx, by);
    if ((ca | cb) == 0) return true;
    if ((ca & cb) != 0) return false;
    const bool moveA = ca != 0;
    double& x = moveA ? ax : bx;
    double& y = moveA ? ay : by;
    const double ox = moveA ? bx : ax, oy = moveA ? by : ay;
    const int code = moveA ? ca : cb;
    if (code & (1 | 2)) {
      const double edge = (code & 1) ? left : right;
      if (std::fabs(x - ox) >= kNoInterpolation) y = oy + (y - oy) * (edge - ox) / (x - ox);
      x = edge;
    } else {
      const double edge = (code & 4) ? top : bottom;
      if (std::fabs(y - oy) >= kNoInterpolation) x = ox + (x - ox) * (edge - oy) / (y - oy);
      y = edge;
    }
  }
  return outcode(ax, ay) == 0 && outcode(bx, by) == 0;
}

void PathPanes::Append(platform::DeviceContext& dc, int pane, platform::Point a, platform::Point b, int kind) {
  Buffer& buffer = buffers_[static_cast<std::size_t>(pane)];
  int pen = kind < 0 ? -kind : kind;
  if (printScale != 1.0 && (printColourMode & 0x3000) != 0) pen = 0;
  pen &= handover::ColorTable::kColorCount - 1;
  if (kind < 0) {
    // A rapid line is drawn at once, dotted, one pixel wide.
    FlushPane(dc, pane);
    dc.SelectPen({colors_.palette[pen], 1, platform::PenStyle::Dot});
    dc.MoveTo(a);
    dc.LineTo(b);
    return;
  }
  if (buffer.pen == pen && !buffer.points.empty() && buffer.points.back() == a &&
      buffer.points.size() < kBufferPoints) {
    buffer.points.push_back(b);
  } else {
    FlushPane(dc, pane);
    buffer.pen = pen;
    buffer.points.push_back(a);
    buffer.points.push_back(b);
  }
  const std::size_t limit = running ? kFlushRunning : kFlushIdle;
  if (buffer.points.size() > limit || executionMode != 0) FlushPane(dc, pane);
}

void PathPanes::DrawPointMark(platform::DeviceContext& dc, platform::Point p, int pen) {
  if (printScale != 1.0 && (printColourMode & 0x3000) != 0) pen = 0;
  dc.SelectPen(pens_[static_cast<std::size_t>(pen & (handover::ColorTable::kColorCount - 1))]);
  dc.MoveTo({p.x - 2, p.y});
  dc.LineTo({p.x + 3, p.y});
  dc.MoveTo({p.x, p.y - 2});
  dc.LineTo({p.x, p.y + 3});
}

void PathPanes::FlushPane(platform::DeviceContext& dc, int pane) {
  Buffer& buffer = buffers_[static_cast<std::size_t>(pane)];
  if (buffer.points.size() >= 2) {
    dc.SelectPen(pens_[static_cast<std::size_t>(buffer.pen & (handover::ColorTable::kColorCount - 1))]);
    dc.Polyline(buffer.points);
  }
  buffer.points.clear();
  buffer.pen = -1;
}

void PathPanes::Flush(platform::DeviceContext& dc) {
  for (int p = 0; p < kPaneCount; ++p) FlushPane(dc, p);
}

}  // namespace qup::shell
