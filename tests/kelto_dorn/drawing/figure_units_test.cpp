// The parts of the figure commands that need no dialog: storing new
// figures, the ellipse points, the composed prompts, the analysis texts and
// the rubber band's XOR pairs.
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/ellipse_points.h"
#include "kelto_dorn/drawing/figure_analysis.h"
#include "kelto_dorn/drawing/figure_prompts.h"
#include "kelto_dorn/drawing/figure_storing.h"
#include "kelto_dorn/drawing/rubber_band.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn::test {
namespace {

using FigureUnitTest = DrawingTest;

TEST_F(FigureUnitTest, StoringDropsTooShortLinesTurnsHugeArcsIntoLinesAndRefusesNonFiniteFigures) {
  struct Case {
    const char* name;
    FigureRecord figure;
    bool stored;
    int kindAfter;
  };
  const double inf = std::numeric_limits<double>::infinity();
  FigureRecord huge = Arc({0, 0}, 10000000.5, 0, 10), exact = Arc({0, 0}, 10000000.0, 0, 10);
  FigureRecord bad = Line({0, 0}, {1, 0});
  bad.end.x = inf;
  const Case cases[] = {
      {"0.0004 long", Line({0, 0}, {0.0004, 0}), false, 0},
      {"0.0005 long", Line({0, 0}, {0.0005, 0}), true, kKindLine},
      {"radius just above 1e7", huge, true, kKindLine},
      {"radius 1e7", exact, true, kKindArc},
      {"not finite", bad, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = GetFigureCount(0);
    g_curFigure = c.figure;
    EXPECT_EQ(StoreAndDrawFigure(0), c.stored);
    ASSERT_EQ(GetFigureCount(0), before + (c.stored ? 1 : 0));
    if (!c.stored) continue;
    GetFigure(0, before);
    EXPECT_EQ(g_curFigure.kind, c.kindAfter);
    EXPECT_EQ(g_curFigure.attribute, g_figureAttribute | g_figureStyle);
  }
}

TEST_F(FigureUnitTest, EllipsePointsOnTheClosedForm) {
  const Vec2 c{5, -3};
  const double a = 20, b = 10, slope = 30;
  ASSERT_EQ(AddEllipseFigures(c, a, b, slope, 9.0), 41);
  const double k = 0.017453292519943295;
  int ends = 0;
  for (int i = 0; i < 41; ++i) {
    GetFigure(0, i);
    const double t = std::min(360.0, 9.0 * i) * k;
    const double x = a * std::cos(t), y = b * std::sin(t);
    EXPECT_NEAR(g_curFigure.start.x, c.x + x * std::cos(slope * k) - y * std::sin(slope * k), 1e-9);
    EXPECT_NEAR(g_curFigure.start.y, c.y + x * std::sin(slope * k) + y * std::cos(slope * k), 1e-9);
    if (g_curFigure.kind == kKindCurvePointAngle) {
      ++ends;
      EXPECT_NEAR(g_curFigure.dir.x, std::cos(120 * k), 1e-12);
    } else {
      // Between the ends, points whose tangent the curve builder estimated.
      EXPECT_EQ(g_curFigure.kind, kKindCurvePointTangent);
    }
  }
  EXPECT_EQ(ends, 2);
  // Behind the points, the ellipse: one or two pieces per span, joined end
  // to end from the first point round to the last, near the true ellipse.
  const int pieces = GetFigureCount(0) - 41;
  ASSERT_GE(pieces, 40);
  ASSERT_LE(pieces, 80);
  GetFigure(0, 0);
  Vec2 at = g_curFigure.start;
  for (int i = 41; i < 41 + pieces; ++i) {
    GetFigure(0, i);
    ASSERT_TRUE(g_curFigure.kind == kKindLine || g_curFigure.kind == kKindArc) << i;
    EXPECT_NEAR(g_curFigure.start.x, at.x, 1e-6) << i;
    EXPECT_NEAR(g_curFigure.start.y, at.y, 1e-6) << i;
    at = g_curFigure.end;
    // The end of each piece, turned back into the ellipse's frame, lies on it.
    const double dx = at.x - c.x, dy = at.y - c.y;
    const double u = dx * std::cos(slope * k) + dy * std::sin(slope * k);
    const double v = -dx * std::sin(slope * k) + dy * std::cos(slope * k);
    EXPECT_NEAR(u * u / (a * a) + v * v / (b * b), 1.0, 0.01) << i;
  }
  GetFigure(0, 0);
  EXPECT_NEAR(at.x, g_curFigure.start.x, 1e-6);  // closed at 360
  EXPECT_NEAR(at.y, g_curFigure.start.y, 1e-6);

  const int before = GetFigureCount(0);
  ASSERT_EQ(AddEllipseFigures(c, a, b, 0, 7.0), 53);
  GetFigure(0, before + 52);
  EXPECT_NEAR(g_curFigure.start.x, c.x + a, 1e-9);  // ends at 360
  EXPECT_NEAR(g_curFigure.start.y, c.y, 1e-9);
  const int after = GetFigureCount(0);
  for (double step : {0.0, -5.0, 0.001}) EXPECT_EQ(AddEllipseFigures(c, a, b, 0, step), 0) << step;
  EXPECT_EQ(GetFigureCount(0), after);
}

TEST_F(FigureUnitTest, CaptionsByCodeSwitchCommandAndProjection) {
  struct Case {
    const char* name;
    int code, autoIntersection, command, pickState, projection;
    const char* text;    // expected after the head and the blank
    const char* legend;  // at byte 54, or null
    int projectionAfter;
  };
  const Case cases[] = {
      {"plain with legend", 290, 0, 0, 0, 0, "削除する図形をマウスでピックして下さい", "［左 : 選択］［右 : 終了］", 0},
      {"intersection, manual", 13, 0, 0, 6, 0, "１番目の図形をマウスでピックして下さい", "［左 : 選択］［右 : 終了］", 0},
      {"intersection, automatic", 13, 1, 0, 6, 0, "自動認識:交点をマウスでクリックして下さい", nullptr, 0},
      {"end point, automatic", 1600, 1, 0, 0, 0, "自動認識:端点をマウスでクリックして下さい", nullptr, 0},
      {"dimension legend", 290, 0, 33142, 0, 0, "削除する図形をマウスでピックして下さい", "［左 : 選択］［右 : モード切替］", 0},
      {"pick prompt returns to XY", 137, 0, 0, 0, 2, "ポイントをマウスで指定して下さい", "［左 : 選択］［右 : 取消］", 0},
      {"2800 keeps the side view", 2800, 0, 0, 0, 2, "この曲線はすでに登録されています ......", nullptr, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_figureView.lastPrompt = 0;
    g_autoIntersection = c.autoIntersection;
    g_curCommand = c.command;
    g_pickState = c.pickState;
    g_projection = c.projection;
    ShowPrompt(c.code);
    const std::string caption = PromptCaption();
    EXPECT_EQ(caption.substr(0, 13), "Kelto_Dorn   ");
    EXPECT_EQ(caption.find(platform::Sjis(c.text)), 13u);
    if (c.legend) {
      EXPECT_EQ(caption.find(platform::Sjis(c.legend)), kCaptionLegendAt);
    }
    EXPECT_EQ(g_projection, c.projectionAfter);
  }
  g_autoIntersection = 0;
  g_curCommand = 0;
  g_pickState = 0;
  ShowPrompt(0);
  EXPECT_EQ(PromptCaption(), "Kelto_Dorn  ");
}

TEST_F(FigureUnitTest, ALongCurveNameIsComposedWhole) {
  g_curveCount = 1;
  g_curCurveIndex = 0;
  std::string name(60, 'N');
  platform::SetFieldText(g_curveTable[0].name, name);
  ShowPrompt(2000);
  EXPECT_NE(PromptCaption().find(name.substr(0, 63)), std::string::npos);
}

TEST_F(FigureUnitTest, AnalysisTexts) {
  struct Case {
    const char* name;
    FigureRecord figure;
    const char* firstContains;
    const char* secondContains;
  };
  const Case cases[] = {
      {"left", Line({10, 0}, {0, 0}), "直線:[LEFT] (10.00000 0.00000) (0.00000 0.00000)", " 180.000000A  DST = 10.000000"},
      {"down", Line({0, 10}, {0, 0}), "直線:[LEFT]", " -90.000000A  DST = 10.000000"},
      {"circle", Circle({1, 2}, 5), "円:[LEFT]  5.000R 10.000φ C(1.000000 2.000000)", "DST="},
      {"point", Point({3, 4}), "点 : (3.000000 4.000000)", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = FigureAnalysisLines(c.figure);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(platform::Cp932ToUtf8(lines[0]).find(c.firstContains), std::string::npos) << platform::Cp932ToUtf8(lines[0]);
    if (c.secondContains) {
      ASSERT_EQ(lines.size(), 2u);
      EXPECT_NE(platform::Cp932ToUtf8(lines[1]).find(c.secondContains), std::string::npos)
          << platform::Cp932ToUtf8(lines[1]);
    }
  }
  SetBlock(8, Line({0, 0}, {10, 0}));
  SetBlock(9, Line({5, -5}, {5, 5}));
  const auto lines = TwoFigureAnalysisLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(platform::Cp932ToUtf8(lines[0]), "２図形の角度1 = 90.0000");
  EXPECT_EQ(platform::Cp932ToUtf8(lines[1]), "        角度2 = 90.0000");
}

TEST_F(FigureUnitTest, TheRubberBandLeavesNothingBehind) {
  g_view.m_lastCursor = {100, 100};
  ValueInputValue = 5;
  StartRubberBand(kBandCircleAtCursor);
  std::map<std::pair<int, int>, int> xorEllipses;
  auto count = [&] {
    xorEllipses.clear();
    for (const platform::Primitive& p : ViewLog())
      if (p.kind == platform::PrimitiveKind::Ellipse && p.rasterOp == platform::RasterOp::Xor)
        ++xorEllipses[{p.rect.left, p.rect.top}];
  };
  for (int x : {120, 140, 160}) {
    g_view.m_lastCursor = {x, 100};
    if (auto dc = g_viewAccess.viewDC()) DrawRubberBand(*dc);
  }
  EXPECT_EQ(EraseRubberBand(), 1);
  count();
  ASSERT_EQ(xorEllipses.size(), 3u);
  for (const auto& [at, n] : xorEllipses) EXPECT_EQ(n % 2, 0);
  const std::size_t logged = ViewLog().size();
  EXPECT_EQ(EraseRubberBand(), 0);  // nothing on screen: nothing drawn
  EXPECT_EQ(ViewLog().size(), logged);
}

}  // namespace
}  // namespace dorn::test
