// The steps of the circle commands: by radius and centre, radius and two
// points, three points, radius point and tangent angle, the tangent circles
// of typed radius, the circle tangent to three figures, and the ellipse.
#include <cmath>
#include <functional>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/batch_tangent_circles.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/circle_constructions.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/ellipse_points.h"
#include "kelto_dorn/drawing/figure_engine.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_steps.h"
#include "kelto_dorn/drawing/rubber_band.h"
#include "kelto_dorn/drawing/tangent_circle_solvers.h"

namespace dorn {

namespace {

constexpr int kPromptTangentFigure = 6;
constexpr int kPromptCentreLine = 7;
constexpr int kErrorNoTangentCircle = 1;
constexpr int kStepAfterSolver = 9;
constexpr int kPickStateBatchCurves = 55;
constexpr int kPromptBatchCurves = 910;

double Radius() { return g_inputArea.values[0]; }
Vec2 Point(int i) { return g_inputArea.points[static_cast<std::size_t>(i)]; }

// Asks for the radius at step 0 (never 0); true when the call must return.
bool AskRadius(const char* title) {
  if (Step() != 0) return false;
  SetValueTexts(Title(title), "［Ｒ］＝ ");
  if (PromptValueStep(NonZero) != 0) return true;
  g_inputArea.values[0] = ValueInputValue;
  AdvanceStep();
  return false;
}

// Asks for point `index` at step `step`; true when the call must return.
bool AskPoint(int step, const std::string& title, const char* labelX, const char* labelY) {
  if (Step() != step) return false;
  SetPointTexts(title, labelX, labelY);
  if (PromptPointStep() != 0) return true;
  AdvanceStep();
  return false;
}

// The point entered at the step before `step` is kept as point `index`.
void KeepPoint(int index) { g_inputArea.points[static_cast<std::size_t>(index)] = PointInputValue; }

bool IsArc(int block) {
  const FigureRecord* f = g_figureStore.SegmentBlock(block);
  return f && f->kind == kKindArc;
}

void SetCircle(Vec2 centre, double radius) {
  ClearCurrentFigure();
  g_curFigure.kind = kKindArc;
  g_curFigure.centre = centre;
  g_curFigure.radius = radius;
  g_curFigure.start = g_curFigure.end = {centre.x + std::fabs(radius), centre.y};
  g_curFigure.dir = {};
}

void PutCandidate(int block) { StoreSegment(block); }

// 32852: a full circle of radius R about a centre.
int RadiusCentreCircle() {
  if (AskRadius("[円弧 : 半径中心] : 半径を入力して下さい...")) return 1;
  if (Step() == 1) {
    SetPointTexts(Title("[円弧 : R=%f ] : 中心を入力して下さい ......", Radius()), "［Cx］＝ ", "［Cy］＝ ");
    const int result = PromptPointStep();
    if (result == 1) {
      ValueInputValue = Radius();
      StartRubberBand(kBandCircleAtCursor);
    }
    if (result != 0) return 1;
    AdvanceStep();
  }
  SetCircle(PointInputValue, Radius());
  FinishFigure();
  return 0;
}

// 32853: the circles of radius R through two points.
int RadiusTwoPointCircle() {
  if (AskRadius("[円弧 : 半径２点] : 半径を入力して下さい...")) return 1;
  if (AskPoint(1, Title("[R=%f 半径２点] : 通る点を入力して下さい ...", Radius()), "［Ｘ1］＝ ", "［Ｙ1］＝ ")) return 1;
  if (Step() == 2) {
    KeepPoint(0);
    if (AskPoint(2, Title("[R=%f (%f %f) -> ] : 通る点[2]を入力して下さい ...", Radius(), Point(0).x, Point(0).y),
                 "［Ｘ2］＝ ", "［Ｙ2］＝ "))
      return 1;
  }
  const Vec2 p1 = Point(0), p2 = PointInputValue;
  const double r = std::fabs(Radius());
  const FigureRecord hit = IntersectFigures(CircleFigure(p1, r), CircleFigure(p2, r));
  if (hit.number >= 3 || p1 == p2) {
    // Farther apart than 2R: no circle.
    EndCommand();
    return 0;
  }
  FigureRecord a = CandidateFigure(kKindArc, CurrentLayerOrigin());
  a.centre = hit.start;
  a.radius = r;
  a.start = p1;
  a.end = p2;
  g_curFigure = a;
  PutCandidate(kFirstCandidateBlock);
  // The other centre: the intersection again with the second circle's sense
  // reversed.
  const FigureRecord other = IntersectFigures(CircleFigure(p1, r), CircleFigure(p2, -r));
  a.centre = other.start;
  a.radius = -r;
  g_curFigure = a;
  PutCandidate(kFirstCandidateBlock + 1);
  ChooseCandidates(2);
  return 1;
}

// 32854: the arc through three points.
int ThreePointCircle() {
  for (int i = 0; i < 3; ++i) {
    if (Step() == i) {
      std::string x = Title("［PX_%d］＝ "), y = Title("［PY_%d］＝ ");
      x.replace(x.find("%d"), 2, std::to_string(i + 1));
      y.replace(y.find("%d"), 2, std::to_string(i + 1));
      g_inputTitle = Title("[円弧 : ３点円弧] : 通る点を入力して下さい ...");
      g_pointLabelX = x;
      g_pointLabelY = y;
      if (PromptPointStep() != 0) return 1;
      AdvanceStep();
    }
    if (i < 2 && Step() == i + 1) KeepPoint(i);
  }
  FigureRecord out;
  CircleThroughThreePoints(out, Point(0), Point(1), PointInputValue);
  if (out.kind == kKindEmpty) {
    EndCommand();
    return 0;
  }
  g_curFigure = out;
  FinishFigure();
  return 0;
}

// 32855: the two circles through a point whose tangent there has an angle.
int RadiusPointAngleCircle() {
  if (AskRadius("[円弧 : 半径１点角度] : 半径を入力して下さい...")) return 1;
  if (AskPoint(1, Title("[R=%f 1点角度] : 通る点を入力して下さい ...", Radius()), "［Ｘ］＝ ", "［Ｙ］＝ ")) return 1;
  if (Step() == 2) {
    KeepPoint(0);
    ValueInputValue = 0.0;
    SetValueTexts(Title("[円弧 : R=%f (%f %f)] : 接線角度を入力して下さい...", Radius(), Point(0).x, Point(0).y),
                  "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  const Vec2 p = Point(0);
  const Vec2 t = UnitVectorFromAngle(ValueInputValue);
  const Vec2 normal{-t.y, t.x};
  const double r = std::fabs(Radius());
  for (int side = 0; side < 2; ++side) {
    const double s = side == 0 ? 1.0 : -1.0;
    SetCircle({p.x + s * r * normal.x, p.y + s * r * normal.y}, s * r);
    g_curFigure.start = g_curFigure.end = p;
    PutCandidate(kFirstCandidateBlock + side);
  }
  ChooseCandidates(2);
  return 1;
}

// The typed radius (and point) first, then the figure picks into the given
// blocks; true when the call must return.
bool PickFigures(int firstStep, std::initializer_list<std::pair<int, int>> picks) {
  int step = firstStep;
  for (auto [block, prompt] : picks) {
    if (Step() == step) {
      AwaitFigurePick(prompt);
      return true;
    }
    if (Step() == step + 1) TakePickedFigure(block);
    ++step;
  }
  return false;
}

// 32857: the circles of radius R touching two picked figures.
int RadiusTwoFigureCircle() {
  if (AskRadius("[円弧 : 半径２接図形] : 半径を入力して下さい...")) return 1;
  if (PickFigures(1, {{1, kPromptTangentFigure}, {2, kPromptTangentFigure}})) return 1;
  const double r = std::fabs(Radius());
  for (int type = 1; type <= 4; ++type) {
    CircleRadiusTangentToTwo(type, kFirstCandidateBlock + type - 1, r);
    CircleRadiusTangentToTwo(type, kFirstCandidateBlock + type + 3, -r);
  }
  ChooseCandidates(IsArc(1) || IsArc(2) ? 8 : 4);
  return 1;
}

// 32858: the circles of radius R through a point touching a figure.
int RadiusPointFigureCircle() {
  if (AskRadius("[円弧 : 半径１点図形] : 半径を入力して下さい...")) return 1;
  if (AskPoint(1, Title("[R=%f 1点図形] : 通る点を入力して下さい ...", Radius()), "［Ｘ］＝ ", "［Ｙ］＝ ")) return 1;
  if (Step() == 2) KeepPoint(0);
  if (PickFigures(2, {{1, kPromptTangentFigure}})) return 1;
  const FigureRecord* f = g_figureStore.SegmentBlock(1);
  const Vec2 p = InFrame(Point(0), f->origin);
  const double r = std::fabs(Radius());
  CircleRadiusPointTangent(0, kFirstCandidateBlock, r, p);
  CircleRadiusPointTangent(1, kFirstCandidateBlock + 1, r, p);
  CircleRadiusPointTangent(0, kFirstCandidateBlock + 2, -r, p);
  CircleRadiusPointTangent(1, kFirstCandidateBlock + 3, -r, p);
  ChooseCandidates(4);
  return 1;
}

// 32859: the circles of radius R through a point with the centre on a line.
int RadiusPointCentreLineCircle() {
  if (AskRadius("[円弧 : 半径１点中心線] : 半径を入力して下さい...")) return 1;
  if (AskPoint(1, Title("[R=%f １点中心線] : 通る点を入力して下さい ...", Radius()), "［Ｘ］＝ ", "［Ｙ］＝ ")) return 1;
  if (Step() == 2) KeepPoint(0);
  if (PickFigures(2, {{1, kPromptCentreLine}})) return 1;
  const FigureRecord* f = g_figureStore.SegmentBlock(1);
  const Vec2 p = InFrame(Point(0), f->origin);
  for (int type = 0; type < 2; ++type)
    CircleRadiusPointCentreLine(type, kFirstCandidateBlock + type, std::fabs(Radius()), p);
  ChooseCandidates(2);
  return 1;
}

// 32860: the circles of radius R touching a figure, centred on a line.
int RadiusFigureCentreLineCircle() {
  if (AskRadius("[円弧 : 半径図形中心線] : 半径を入力して下さい...")) return 1;
  if (PickFigures(1, {{5, kPromptTangentFigure}, {1, kPromptCentreLine}})) return 1;
  for (int type = 1; type <= 4; ++type)
    CircleRadiusTangentCentreLine(type, kFirstCandidateBlock + type - 1, std::fabs(Radius()));
  ChooseCandidates(IsArc(5) ? 4 : 2);
  return 1;
}

// 32861: the circles through a point with a tangent angle touching a figure.
int PointAngleFigureCircle() {
  if (AskPoint(0, Title("[円弧 : １点角度図形] : 通る点を入力して下さい ..."), "［pＸ］＝ ", "［pＹ］＝ ")) return 1;
  if (Step() == 1) {
    KeepPoint(0);
    SetValueTexts(Title("[円弧 : (%f %f)角度図形] : 接線角度を入力して下さい...", Point(0).x, Point(0).y), "［Ａ］＝ ");
    if (PromptValueStep() != 0) return 1;
    AdvanceStep();
  }
  if (Step() == 2) g_inputArea.values[1] = ValueInputValue;
  if (PickFigures(2, {{1, kPromptTangentFigure}})) return 1;
  LoadSegment(1);
  const FigureRecord figure = g_curFigure;
  FigureRecord point = PointFigure(InFrame(Point(0), figure.origin), figure.origin);
  point.dir = UnitVectorFromAngle(g_inputArea.values[1]);
  for (int side = 0; side < 2; ++side) {
    FigureRecord out;
    CirclePointAngleTangent(out, side == 0 ? figure : ReversedFigure(figure), point);
    g_curFigure = out;
    PutCandidate(kFirstCandidateBlock + side);
  }
  ChooseCandidates(2);
  return 1;
}

// 32862: the circles about a centre touching a figure.
int CentreFigureCircle() {
  if (AskPoint(0, Title("[円弧 : 中心接図形] : 中心を入力して下さい ...."), "［Cx］＝ ", "［Cy］＝ ")) return 1;
  if (Step() == 1) KeepPoint(0);
  if (PickFigures(1, {{1, kPromptTangentFigure}})) return 1;
  LoadSegment(1);
  const FigureRecord figure = g_curFigure;
  const Vec2 c = InFrame(Point(0), figure.origin);
  for (int side = 0; side < 2; ++side) {
    FigureRecord out;
    CircleCentreTangent(out, figure, c, side == 1);
    g_curFigure = out;
    PutCandidate(kFirstCandidateBlock + side);
  }
  ChooseCandidates(2);
  return 1;
}

// 33074: the circles touching three picked figures.
int ThreeFigureCircle() {
  if (PickFigures(0, {{1, kPromptTangentFigure}, {2, kPromptTangentFigure}, {3, kPromptTangentFigure}})) return 1;
  if (SolveTangentCircles() > 0) {
    ChooseCandidates(16);
    return 1;
  }
  ShowErrorBox(kErrorNoTangentCircle);
  RedrawView();
  g_commandStep = kStepAfterSolver;
  EndCommand();
  return 0;
}

}  // namespace

// A value step with a preset, the value kept in `slot` of the inputs; true
// when the call must return.
bool AskValue(int step, int slot, const std::string& title, const char* label, double preset,
              const std::function<bool(double)>& accept) {
  if (Step() != step) return false;
  ValueInputValue = preset;
  SetValueTexts(title, label);
  if (PromptValueStep(accept) != 0) return true;
  g_inputArea.values[static_cast<std::size_t>(slot)] = ValueInputValue;
  AdvanceStep();
  return false;
}

// 32795: an ellipse by its two radii, centre, slope and parameter step, laid
// as a curve through its points. A radius of 0 would fold the ellipse onto
// a line and a step that gives no points draws nothing: both are asked again.
int InputEllipse() {
  if (AskValue(0, 0, Title("[ 楕円 ] : 半径[A]を入力して下さい..."), "［AR］＝ ", ValueInputValue, NonZero)) return 1;
  const double a = g_inputArea.values[0];
  if (AskValue(1, 1, Title("[ 楕円 AR=%f ] : 半径[B]を入力して下さい...", a), "［BR］＝ ", 0.0, NonZero)) return 1;
  const double b = g_inputArea.values[1];
  if (AskPoint(2, Title("[ 楕円 AR=%f BR=%f ] : 中心を入力して下さい...", a, b), "［Cx］＝ ", "［Cy］＝ ")) return 1;
  if (Step() == 3) KeepPoint(0);
  const Vec2 centre = Point(0);
  if (AskValue(3, 2, Title("[ 楕円 C(%f %f) ] : 傾きを入力して下さい...", centre.x, centre.y), "［qA］＝ ", 0.0, {}))
    return 1;
  const double slope = g_inputArea.values[2];
  const auto drawable = [](double step) { return EllipsePointCount(step) > 0; };
  if (AskValue(4, 3, Title("[ 楕円 ] : 分解能を入力して下さい......"), "［DIV］＝ ", 9.0, drawable)) return 1;
  AddEllipseFigures(centre, a, b, slope, g_inputArea.values[3]);
  EndCommand();
  return 1;
}

// 33251: circles of radius R into the corners of the curves picked next
// (pick state 55; the click that ends the curve pick comes back here).
int BatchTangentCircleCommand() {
  if (g_curveCount == 0) {
    EndCommand();
    return 0;
  }
  if (Step() == 0) {
    SetValueTexts(Title("[曲線交点部：接円一括作成] : 半径を入力して下さい"), "［Ｒ］＝ ");
    if (PromptValueStep(NonZero) != 0) return 1;
    g_inputArea.values[0] = ValueInputValue;
    AdvanceStep();
    g_pickState = kPickStateBatchCurves;
    g_pickIndex = 0;
    ShowPrompt(kPromptBatchCurves);
    return 1;
  }
  BatchTangentCircles(Radius());
  RedrawView();
  EndCommand();
  return 0;
}

int RunCircleCommand(int kind) {
  switch (kind) {
    case 33251:
      return BatchTangentCircleCommand();
    case 32795:
      return InputEllipse();
    case 32852:
      return RadiusCentreCircle();
    case 32853:
      return RadiusTwoPointCircle();
    case 32854:
      return ThreePointCircle();
    case 32855:
      return RadiusPointAngleCircle();
    case 32857:
      return RadiusTwoFigureCircle();
    case 32858:
      return RadiusPointFigureCircle();
    case 32859:
      return RadiusPointCentreLineCircle();
    case 32860:
      return RadiusFigureCentreLineCircle();
    case 32861:
      return PointAngleFigureCircle();
    case 32862:
      return CentreFigureCircle();
    case 33074:
      return ThreeFigureCircle();
    default:
      return -1;
  }
}

}  // namespace dorn
