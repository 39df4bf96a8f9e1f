// Spirals and developed curves: see curve_shapes.h.
#include "kelto_dorn/drawing/curve_shapes.h"

#include <cmath>
#include <cstddef>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_measures.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_transforms.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/spiral_curve_dialog.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {
namespace {

constexpr int kSnapshotCurves = 3;
// The spirals stop before the work list would pass these block counts.
constexpr int kCircleSpiralLimit = 55800;
constexpr int kContourSpiralLimit = kSegmentBlockCount - 200;
constexpr double kHalfTurn = 0.5;

FigureRecord& Block(int i) { return *g_figureStore.SegmentBlock(i); }

FigureRecord HalfCircle(const FigureRecord& circle) {
  FigureRecord h = circle;
  h.end = {2.0 * circle.centre.x - circle.start.x, 2.0 * circle.centre.y - circle.start.y};
  return h;
}

// The half circle from a to b in the sense of `sense` (the sign of its radius).
FigureRecord Connecting(const FigureRecord& sense, Vec2 a, Vec2 b) {
  FigureRecord c = sense;
  c.start = a;
  c.end = b;
  c.centre = {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
  const double r = std::hypot(b.x - a.x, b.y - a.y) * 0.5;
  c.radius = sense.radius < 0.0 ? -r : r;
  return c;
}

std::vector<FigureRecord> ContourSpiral(const std::vector<FigureRecord>& contour, double width, double turns,
                                        int room) {
  std::vector<FigureRecord> all = contour;
  std::vector<FigureRecord> loop = contour;
  for (double left = turns - 1.0; left > 0.0; left -= 1.0) {
    loop = OffsetChain(loop, width);
    if (loop.empty() || static_cast<int>(all.size() + loop.size()) > room) break;
    all.insert(all.end(), loop.begin(), loop.end());
  }
  for (std::size_t i = 1; i < all.size(); ++i) {
    FigureRecord second = all[i];
    second.choice = 0;
    const FigureRecord hit = IntersectFigures(all[i - 1], second);
    if (hit.number > kHitTwoPoints) continue;
    all[i - 1].end = hit.start;
    all[i].start = hit.start;
  }
  return all;
}

}  // namespace

std::vector<FigureRecord> SpiralHalfCircles(const FigureRecord& circle, double width, double turns) {
  std::vector<FigureRecord> halves;
  FigureRecord main = HalfCircle(circle);
  halves.push_back(main);
  double left = turns - kHalfTurn;
  while (left > 0.0 && static_cast<int>(halves.size()) < kCircleSpiralLimit) {
    FigureRecord next;
    if (!OffsetCopy(main, width, next) || next.radius * main.radius <= 0.0) break;
    halves.push_back(Connecting(circle, halves.back().end, next.start));
    left -= kHalfTurn;
    if (left <= 0.0) break;
    halves.push_back(next);
    left -= kHalfTurn;
    main = next;
  }
  return halves;
}

int BuildSpiralCurve() {
  CollectCurveFigures(0);
  const int n = g_workCount;
  if (n < 3 || Block(0).kind != kKindPoint || Block(n - 1).kind != kKindPoint) return 0;
  CSpiralCurveDlg dialog;
  if (RunModalDialog(dialog) != platform::kIdOk) return 0;
  std::vector<FigureRecord> spiral;
  if (n == 3 && Block(1).kind == kKindArc) {
    spiral = SpiralHalfCircles(Block(1), dialog.Width(), dialog.Turns());
  } else {
    std::vector<FigureRecord> contour;
    for (int i = 1; i + 1 < n; ++i) contour.push_back(Block(i));
    spiral = ContourSpiral(contour, dialog.Width(), dialog.Turns(), kContourSpiralLimit - n);
  }
  SnapshotForUndo(kSnapshotCurves);
  for (std::size_t i = 0; i < spiral.size(); ++i) Block(n + static_cast<int>(i)) = spiral[i];
  g_workCount = n + static_cast<int>(spiral.size());
  StoreCurveFigures(n, 0);
  g_curveEngine.noFigureUnderCursor = -1;
  return static_cast<int>(spiral.size());
}

namespace {

constexpr int kFirstRecordBlock = 5;
constexpr int kRecordCount = 13;
constexpr int kPickFromDrawing = 0x8000;

FigureRecord& Record(int k) { return Block(kFirstRecordBlock + k); }

std::string Titled(const char* pattern, double a, double b) {
  char text[200];
  std::snprintf(text, sizeof text, platform::Sjis(pattern).c_str(), a, b);
  return text;
}

void StartRecords() {
  for (int k = 0; k < kRecordCount; ++k) {
    Record(k) = FigureRecord{};
    Record(k).kind = kKindPoint;
  }
  Record(0).start = GetCurveEndPoint(false);
  g_curveEngine.developedCount = 0;
  g_curveEngine.transformStage = 1;
  g_markedCurve = g_curCurveIndex;
  g_markedCount = g_curveCount;
}

}  // namespace

bool RunDevelopedCurveInput(platform::DeviceContext* dc) {
  CurveEngineState& e = g_curveEngine;
  if (e.transformStage == 0) StartRecords();
  for (;;) {
    const int k = e.developedCount;
    if (e.transformStage == 1) {
      g_inputTitle = Titled("  [ 展開曲線 ] : (%f %f) -> Ｚ値を入力して下さい...", Record(k).start.x, Record(k).start.y);
      g_valueLabel = platform::Sjis("［ Z ] ＝ ");
      const int r = PromptValue();
      if (r > 0) {
        g_commandStep |= kPickFromDrawing;
        return false;
      }
      if (r < 0) break;
      Record(k).end.y = ValueInputValue;
      e.developedCount = k + 1;
      e.transformStage = 2;
      if (e.developedCount >= kRecordCount) break;
    }
    char title[160];
    std::snprintf(title, sizeof title, platform::Sjis("  [ 展開曲線 No.%d ] : 平面ポイントを入力して下さい ").c_str(),
                  e.developedCount + 1);
    g_inputTitle = title;
    g_pointLabelX = platform::Sjis("［Px］＝ ");
    g_pointLabelY = platform::Sjis("［Py］＝ ");
    const int r = PromptPoint();
    if (r > 0 && r != kPromptClosedWithoutPoint) {
      g_commandStep |= kPickFromDrawing;
      return false;
    }
    if (r != kPromptTyped) break;
    Record(e.developedCount).start = PointInputValue;
    Record(e.developedCount).end = {};
    e.transformStage = 1;
  }
  e.transformStage = 0;
  g_curCurveIndex = g_markedCurve;
  if (e.developedCount >= 2) BuildDevelopedCurve(e.developedCount, dc);
  return true;
}

int BuildDevelopedCurve(int count, platform::DeviceContext* dc) {
  if (count < 2 || g_curveCount >= kCurveTableSize) return -1;
  SnapshotForUndo(kSnapshotCurves);
  const int curve = g_curCurveIndex;
  std::vector<Vec2> points;  // (length, Z)
  for (int k = 0; k < count && k < kRecordCount; ++k) {
    const FigureRecord& r = Record(k);
    const int mode = k == 0 ? kStopAtFirst : kFirstRecordBlock + k + 11;
    points.push_back({CurveLengthToPoint(r.start.x, r.start.y, curve, mode), r.end.y});
  }
  const Vec2 origin = CurrentLayerOrigin();
  g_workCount = 0;
  const FigureRecord saved = g_curFigure;
  const auto put = [&](const FigureRecord& f) {
    g_curFigure = f;
    if (dc != nullptr) DrawFigure(g_curFigure.attribute & kAttrColourMask, *dc);
    StoreSegment(g_workCount++);
  };
  FigureRecord point = CandidateFigure(kKindPoint, origin);
  point.start = point.end = points.front();
  put(point);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const Vec2 a = points[i - 1];
    const Vec2 b = points[i];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len == 0.0) continue;
    FigureRecord line = CandidateFigure(kKindLine, origin);
    line.start = a;
    line.end = b;
    line.dir = {(b.x - a.x) / len, (b.y - a.y) / len};
    put(line);
  }
  point.start = point.end = points.back();
  put(point);
  g_curFigure = saved;
  ResetCurrentCurve();
  g_curveTable[static_cast<std::size_t>(g_curveCount)] = g_curCurveRecord;
  // The developed curve registers as a plain curve.
  return RegisterCurveEntry(kRegisterPlain, 1, dc);
}

}  // namespace dorn
