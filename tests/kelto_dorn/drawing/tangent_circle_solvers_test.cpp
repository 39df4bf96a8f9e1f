// The circles tangent to three picked figures: every solution touches all
// three picks, none is stored twice, none equals a picked circle, and the
// hand-computed solutions of a few configurations are all found.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/drawing/tangent_circle_solvers.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

constexpr double kTangent = 1e-6;

struct Solution {
  Vec2 centre;
  double radius;
};

class TangentSolverTest : public test::DrawingTest {
 protected:
  std::vector<Solution> Solve(const FigureRecord& p1, const FigureRecord& p2, const FigureRecord& p3) {
    picks_ = {p1, p2, p3};
    for (int i = 0; i < 3; ++i) SetBlock(i + 1, picks_[static_cast<std::size_t>(i)]);
    const int found = SolveTangentCircles();
    std::vector<Solution> out;
    for (int i = 6; i <= 21; ++i) {
      const FigureRecord& f = *g_figureStore.SegmentBlock(i);
      if (f.kind == kKindArc) out.push_back({f.centre, f.radius});
    }
    EXPECT_EQ(found, static_cast<int>(out.size()));
    return out;
  }

  // Every solution touches every pick, and no two are the same circle.
  void ExpectAllTangentAndDistinct(const std::vector<Solution>& solutions) {
    for (const Solution& s : solutions) {
      for (const FigureRecord& p : picks_)
        EXPECT_TRUE(Touches(s, p)) << "(" << s.centre.x << ", " << s.centre.y << ") R " << s.radius;
    }
    for (std::size_t i = 0; i < solutions.size(); ++i)
      for (std::size_t j = i + 1; j < solutions.size(); ++j)
        EXPECT_FALSE(Same(solutions[i], solutions[j]))
            << std::setprecision(12) << "stored twice: " << solutions[i].centre.x << "," << solutions[i].centre.y
            << " R " << solutions[i].radius << " and " << solutions[j].centre.x << "," << solutions[j].centre.y << " R "
            << solutions[j].radius;
  }

  static bool Touches(const Solution& s, const FigureRecord& p) {
    if (p.kind == kKindLine) {
      const double d = std::fabs((s.centre.x - p.start.x) * p.dir.y - (s.centre.y - p.start.y) * p.dir.x);
      return std::fabs(d - s.radius) < kTangent;
    }
    const double d = std::hypot(s.centre.x - p.centre.x, s.centre.y - p.centre.y);
    const double r = std::fabs(p.radius);
    return std::fabs(d - (s.radius + r)) < kTangent || std::fabs(d - std::fabs(s.radius - r)) < kTangent;
  }

  static bool Same(const Solution& a, const Solution& b) {
    return std::hypot(a.centre.x - b.centre.x, a.centre.y - b.centre.y) < 1e-4 && std::fabs(a.radius - b.radius) < 1e-3;
  }

  static bool Contains(const std::vector<Solution>& all, Solution wanted) {
    return std::any_of(all.begin(), all.end(), [&](const Solution& s) { return Same(s, wanted); });
  }

  std::vector<FigureRecord> picks_;
};

TEST_F(TangentSolverTest, ATriangleGivesItsInAndExcirclesForAnyPickOrderAndLineDirection) {
  const FigureRecord sides[3] = {Line({0, 0}, {4, 0}), Line({0, 0}, {0, 3}), Line({4, 0}, {0, 3})};
  const Solution expected[4] = {{{1, 1}, 1}, {{-2, 2}, 2}, {{3, -3}, 3}, {{6, 6}, 6}};
  int order[3] = {0, 1, 2};
  do {
    for (int reversed = 0; reversed < 8; ++reversed) {
      FigureRecord p[3];
      for (int i = 0; i < 3; ++i) {
        p[i] = sides[order[i]];
        if ((reversed >> i) & 1) {
          std::swap(p[i].start, p[i].end);
          p[i].dir = {-p[i].dir.x, -p[i].dir.y};
        }
      }
      const auto solutions = Solve(p[0], p[1], p[2]);
      EXPECT_EQ(solutions.size(), 4u) << order[0] << order[1] << order[2] << " reversed " << reversed;
      for (const Solution& s : expected)
        EXPECT_TRUE(Contains(solutions, s)) << "(" << s.centre.x << ", " << s.centre.y << ") for order " << order[0]
                                            << order[1] << order[2] << " reversed " << reversed;
      ExpectAllTangentAndDistinct(solutions);
    }
  } while (std::next_permutation(order, order + 3));
}

TEST_F(TangentSolverTest, ThreeUnitCirclesGiveEightTangentCircles) {
  const auto solutions = Solve(Circle({-5, 0}, 1), Circle({5, 0}, 1), Circle({0, 5}, 1));
  EXPECT_EQ(solutions.size(), 8u);
  ExpectAllTangentAndDistinct(solutions);
  for (const Solution& s :
       {Solution{{0, 0}, 4}, Solution{{0, 0}, 6}, Solution{{0, 12.0 / 7}, 30.0 / 7}, Solution{{0, -8.0 / 3}, 20.0 / 3}})
    EXPECT_TRUE(Contains(solutions, s)) << "(" << s.centre.x << ", " << s.centre.y << ") R " << s.radius;
}

TEST_F(TangentSolverTest, TwoParallelLinesAndACrossLineGiveTheTwoCirclesBetweenThem) {
  const auto solutions = Solve(Line({0, 0}, {10, 0}), Line({0, 4}, {10, 4}), Line({0, -5}, {0, 5}));
  ASSERT_EQ(solutions.size(), 2u);
  EXPECT_TRUE(Contains(solutions, {{2, 2}, 2}));
  EXPECT_TRUE(Contains(solutions, {{-2, 2}, 2}));
}

TEST_F(TangentSolverTest, MixedPicksGiveOnlyTangentCircles) {
  const auto oneArc = Solve(Circle({0, 0}, 2), Line({-10, -5}, {10, -5}), Line({6, -10}, {6, 10}));
  EXPECT_GE(oneArc.size(), 2u);
  ExpectAllTangentAndDistinct(oneArc);
  const auto twoArcs = Solve(Circle({-4, 0}, 1), Circle({4, 0}, 2), Line({-10, -6}, {10, -6}));
  EXPECT_GE(twoArcs.size(), 2u);
  ExpectAllTangentAndDistinct(twoArcs);
}

TEST_F(TangentSolverTest, ACirclePickedTwiceYieldsNothingEqualToIt) {
  const FigureRecord twice = Circle({0, 0}, 3);
  const auto solutions = Solve(twice, twice, Circle({10, 0}, 1));
  EXPECT_FALSE(solutions.empty());
  for (const Solution& s : solutions) EXPECT_FALSE(Same(s, {{0, 0}, 3}));
  ExpectAllTangentAndDistinct(solutions);
}

TEST_F(TangentSolverTest, APickThatIsNeitherLineNorArcFindsNothing) {
  EXPECT_TRUE(Solve(Point({0, 0}), Line({0, 0}, {1, 0}), Line({0, 0}, {0, 1})).empty());
}

}  // namespace
}  // namespace dorn
