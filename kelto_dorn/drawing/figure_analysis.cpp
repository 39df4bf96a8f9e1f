// Point snapping and the analysis band: see figure_analysis.h.
#include "kelto_dorn/drawing/figure_analysis.h"

#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/pick_hit_test.h"
#include "platform/text.h"

namespace dorn {

namespace {

constexpr int kBandLeft = 150;
constexpr int kBandAngleLeft = 160;
constexpr int kBandFirstRow = 42;
constexpr int kBandSecondRow = 21;
constexpr int kModeSideViewsOff = 44;
constexpr int kMarkColourMid = 7;
constexpr int kMarkColourSnap = 3;
constexpr int kPromptPoint = 137;
constexpr int kMeasureColour = 7;
constexpr double kAngleZero = 1e-7;

template <class... Args>
std::string Line(const char* utf8Format, Args... args) {
  const std::string& format = platform::Sjis(utf8Format);
  char text[256];
  std::snprintf(text, sizeof text, format.c_str(), args...);
  return text;
}

bool IsPointKindOf(int k) { return k == 1 || k == 8 || k == 68 || k == 84 || k == 340; }
bool IsLineKindOf(int k) { return k == 2 || k == 53250 || k == 53506 || k == 53762 || k == 54018; }
bool IsArcKindOf(int k) { return k == 3 || k == 53251 || k == 53507 || k == 53763 || k == 54019; }

// A direction angle folded to -180..180, tiny values as 0.
double FoldedAngle(Vec2 dir) {
  double a = std::atan2(dir.y, dir.x) * kDegreesPerRadian;
  if (a > 180.0) a -= 360.0;
  if (std::fabs(a) < kAngleZero) a = 0.0;
  return a;
}

void WriteBand(platform::DeviceContext& dc, const std::vector<std::string>& lines, int firstLeft = kBandLeft,
               int secondLeft = kBandLeft) {
  if (!ClearStatusBand(dc, 0)) return;
  const int h = g_view.m_clientHeight;
  if (!lines.empty()) dc.TextOut({firstLeft, h - kBandFirstRow}, lines[0]);
  if (lines.size() > 1) dc.TextOut({secondLeft, h - kBandSecondRow}, lines[1]);
}

Vec2 Absolute(Vec2 p, Vec2 origin) { return {p.x + origin.x, p.y + origin.y}; }

void DrawMark(platform::DeviceContext& dc, Vec2 absolute, int colour) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = PointFigure(absolute);
  DrawFigure(colour, dc);
  g_curFigure = saved;
}

}  // namespace

bool ClearStatusBand(platform::DeviceContext& dc, int mode) {
  if (g_projection == kProjectionArrow || IsPrinting() || g_layerOverview != 0) return false;
  if (mode == kModeSideViewsOff && g_projection != kProjectionXY) return false;
  dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
  const int bg = g_backgroundIndex;
  const platform::Color background = ColorFromIndex(bg);
  dc.SetBackgroundColor(background);
  dc.SetTextColor(bg >= 1 && bg <= 20 ? platform::Rgb(5, 5, 5) : platform::Rgb(255, 255, 0));
  if (mode == 0) {
    const int w = g_view.m_clientWidth, h = g_view.m_clientHeight;
    dc.FillRect({0, h - kBandFirstRow, w, h}, platform::Brush{background, platform::BrushStyle::Solid});
  }
  return true;
}

std::vector<std::string> FigureAnalysisLines(const FigureRecord& f) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = f;
  g_drawingView.m_analysisLength = 0.0;
  std::vector<std::string> lines;
  if (IsPointKindOf(f.kind)) {
    lines.push_back(Line("点 : (%-4.6f %4.6f)", f.start.x, f.start.y));
  } else if (IsLineKindOf(f.kind)) {
    MeasurePickDistance(kKindLine);
    const double angle = FoldedAngle(f.dir);
    lines.push_back(Line(f.choice == 1 ? "直線:[RIGT] " : "直線:[LEFT] ") +
                    Line("(%-4.5f %4.5f) (%-4.5f %4.5f)", f.start.x, f.start.y, f.end.x, f.end.y));
    lines.push_back(Line(" %4.6fA  DST = %-4.6f", angle, g_drawingView.m_analysisLength));
  } else if (IsArcKindOf(f.kind)) {
    MeasurePickDistance(kKindArc);
    lines.push_back(Line(f.choice == 1 ? "円:[RIGT] %6.3fR " : "円:[LEFT] %6.3fR ", f.radius) +
                    Line("%4.3fφ C(%-4.6f %4.6f)", 2.0 * std::fabs(f.radius), f.centre.x, f.centre.y));
    lines.push_back(Line("(%-4.4f %4.4f) (%-4.4f %4.4f) DST=%-4.6f", f.start.x, f.start.y, f.end.x, f.end.y,
                         g_drawingView.m_analysisLength));
  }
  g_curFigure = saved;
  return lines;
}

int ShowFigureAnalysis(platform::DeviceContext& dc) {
  const auto lines = FigureAnalysisLines(g_curFigure);
  WriteBand(dc, lines, kBandLeft, IsLineKindOf(g_curFigure.kind) ? kBandAngleLeft : kBandLeft);
  return static_cast<int>(lines.size());
}

void ShowIntersectionPoints(platform::DeviceContext& dc, const FigureRecord& figure) {
  WriteBand(dc, {Line("交点１： (%-4.6f %4.6f)", figure.start.x, figure.start.y),
                 Line("交点２： (%-4.6f %4.6f)", figure.end.x, figure.end.y)});
}

void ComputeFigureMidpoint(platform::DeviceContext& dc) {
  FigureRecord f = g_curFigure;
  Vec2 mid = f.start;
  if (f.kind == kKindLine) {
    mid = {(f.start.x + f.end.x) / 2.0, (f.start.y + f.end.y) / 2.0};
  } else if (f.kind == kKindArc) {
    if (f.radius < 0.0) std::swap(f.start, f.end);
    double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x);
    double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x);
    double sweep = a1 - a0;
    if (sweep <= 0.0) sweep += 2.0 * M_PI;
    const double r = std::fabs(f.radius), a = a0 + sweep / 2.0;
    mid = {f.centre.x + r * std::cos(a), f.centre.y + r * std::sin(a)};
  }
  ShowIntersectionPoints(dc, g_curFigure);
  DrawMark(dc, Absolute(g_curFigure.start, f.origin), kMarkColourMid);
  DrawMark(dc, Absolute(g_curFigure.end, f.origin), kMarkColourMid);
  DrawMark(dc, Absolute(mid, f.origin), kMarkColourMid);
  g_curFigure.start = mid;
  ShowPrompt(kPromptPoint);
}

bool SnapToFigurePoint(const FigureRecord& figure, int mode, Vec2& point) {
  const Vec2 click{g_pickPoint.x - figure.origin.x, g_pickPoint.y - figure.origin.y};
  auto distance = [&](Vec2 p) { return std::hypot(p.x - click.x, p.y - click.y); };
  const double tolerance = g_pickTolerance;
  Vec2 best = distance(figure.start) <= distance(figure.end) ? figure.start : figure.end;
  bool found = distance(best) <= tolerance;
  if (mode == kPromptPoint) {
    Vec2 middle = figure.centre;
    if (figure.kind == kKindLine) middle = {(figure.start.x + figure.end.x) / 2.0, (figure.start.y + figure.end.y) / 2.0};
    if (distance(middle) <= tolerance && (!found || distance(middle) < distance(best))) {
      best = middle;
      found = true;
    }
  }
  if (found) point = best;
  return found;
}

void AddPointOnFigure(platform::DeviceContext& dc, int mode) {
  const Vec2 origin = CurrentLayerOrigin();
  Vec2 absolute;
  if (mode == 1) {
    // One of two intersection points: the one nearer the click.
    const FigureRecord hit =
        IntersectFigures(AbsoluteFigure(*g_figureStore.SegmentBlock(0)), AbsoluteFigure(*g_figureStore.SegmentBlock(1)));
    const auto d = [](Vec2 p) { return std::hypot(p.x - g_pickPoint.x, p.y - g_pickPoint.y); };
    absolute = d(hit.end) < d(hit.start) ? hit.end : hit.start;
  } else {
    const FigureRecord figure = *g_figureStore.SegmentBlock(0);
    Vec2 local;
    if (!SnapToFigurePoint(figure, mode, local)) return;
    absolute = Absolute(local, figure.origin);
    DrawMark(dc, absolute, kMarkColourSnap);
    const FigureRecord saved = g_curFigure;
    g_curFigure = figure;
    ShowFigureAnalysis(dc);
    g_curFigure = saved;
  }
  PointInputValue = {absolute.x - origin.x, absolute.y - origin.y};
  g_pickPoint = absolute;
  g_snapMode = 0;
  g_pickIndex = 0;
  SignalBeep();
  g_commandStep = (g_commandStep & kStepInputMask) + 1;
  ShowPrompt(kPromptCleared);
  if (g_view.m_twoPointMove) {
    ResumePickCommand();
    return;
  }
  ExecuteFigureCommand(g_curCommand);
}

std::vector<std::string> TwoFigureAnalysisLines() {
  FigureRecord a = AbsoluteFigure(*g_figureStore.SegmentBlock(8));
  FigureRecord b = AbsoluteFigure(*g_figureStore.SegmentBlock(9));
  auto type = [](const FigureRecord& f) { return IsArcKindOf(f.kind) ? 3 : IsLineKindOf(f.kind) ? 2 : 1; };
  const int pair = 16 * type(a) + type(b);
  const FigureRecord hit = IntersectFigures(a, b);
  std::vector<std::string> lines;
  if (pair == 34 && hit.number != kHitSameLine && hit.number != kHitNone) {
    double angle = std::fabs(FoldedAngle(a.dir) - FoldedAngle(b.dir));
    while (angle >= 180.0) angle -= 180.0;
    lines.push_back(Line("２図形の角度1 = %4.4f", angle));
    lines.push_back(Line("        角度2 = %4.4f", 180.0 - angle));
    return lines;
  }
  // Widths: from a point (or the first figure's start) to the second figure.
  auto foot = [](const FigureRecord& f, Vec2 p) { return IntersectFigures(PointFigure(p), f).start; };
  auto dist = [](Vec2 p, Vec2 q) { return std::hypot(p.x - q.x, p.y - q.y); };
  const Vec2 pa = type(a) == 3 ? a.centre : a.start;
  switch (pair) {
    case 17:
      lines.push_back(Line("２図形の幅 = %4.4f", dist(a.start, b.start)));
      break;
    case 51: {
      const double d = dist(a.centre, b.centre), ra = std::fabs(a.radius), rb = std::fabs(b.radius);
      lines.push_back(Line("２図形の幅1 = %4.4f : 幅2 = %4.4f", std::fabs(d - ra - rb), d + ra + rb));
      lines.push_back(Line("２図形の幅3 = %4.4f : 幅4 = %4.4f", std::fabs(d + ra - rb), std::fabs(d - ra + rb)));
      break;
    }
    default: {
      const Vec2 from = type(a) == 1 ? a.start : (type(b) == 1 ? b.start : pa);
      const FigureRecord& to = type(a) == 1 ? b : a;
      const Vec2 f = type(a) == 1 || type(b) == 1 ? foot(to, from) : foot(b, pa);
      double w = dist(from, f);
      if (type(a) == 3 && type(b) == 2) w = std::fabs(w - std::fabs(a.radius));
      lines.push_back(Line("２図形の幅 = %4.4f", w));
      if (type(a) == 3 && type(b) == 2) lines.push_back(Line("        幅 = %4.4f", dist(pa, f) + std::fabs(a.radius)));
      FigureRecord measure = PointFigure(from);
      measure.kind = kKindLine;
      measure.end = f;
      measure.attribute = kMeasureColour;
      if (FigureRecord* b7 = g_figureStore.SegmentBlock(7)) *b7 = measure;
      break;
    }
  }
  return lines;
}

void AnalyseTwoFigures() {
  const auto lines = TwoFigureAnalysisLines();
  if (auto dc = GetViewDC()) {
    const FigureRecord* m = g_figureStore.SegmentBlock(7);
    if (m && m->kind == kKindLine) {
      const FigureRecord saved = g_curFigure;
      g_curFigure = *m;
      DrawFigure(kMeasureColour, *dc);
      g_curFigure = saved;
    }
    WriteBand(*dc, lines);
  }
  SignalBeep();
}

}  // namespace dorn
