// The independent contour check on moves made by hand: the right cut of a
// pocket, a boss and an open contour passes, and each fault a program can
// have (into the wall, across it, a wall left standing, a rapid into
// material) is found where it is, and only there.
#include "tests/kelto_qup/support/contour_check.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {
namespace {

constexpr double kPi = std::numbers::pi;

// Moves in the order a program makes them, from where the last one ended.
class Path {
 public:
  Path& Rapid(double x, double y, double z) { return Add(CanonMove::Kind::kTraverse, x, y, z); }
  Path& Feed(double x, double y, double z) { return Add(CanonMove::Kind::kFeed, x, y, z); }
  Path& Feed(double x, double y) { return Feed(x, y, z_); }
  // An arc in the XY plane about (cx, cy) to (x, y); turn > 0 counter-clockwise.
  Path& Arc(double x, double y, double cx, double cy, int turn) {
    Add(CanonMove::Kind::kArc, x, y, z_);
    moves.back().centreFirst = cx;
    moves.back().centreSecond = cy;
    moves.back().turn = turn;
    return *this;
  }
  // Round a circle about (cx, cy) from the current point by `sweep`
  // (radians, > 0 counter-clockwise) in chords of `chordAngle`.
  Path& Chords(double cx, double cy, double sweep, double chordAngle) {
    const double r = std::hypot(x_ - cx, y_ - cy), a0 = std::atan2(y_ - cy, x_ - cx);
    const int n = static_cast<int>(std::ceil(std::fabs(sweep) / chordAngle - 1e-9));
    for (int i = 1; i <= n; ++i) {
      const double a = a0 + sweep * i / n;
      Feed(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return *this;
  }
  std::vector<CanonMove> moves;

 private:
  Path& Add(CanonMove::Kind kind, double x, double y, double z) {
    CanonMove m;
    m.line = static_cast<int>(moves.size()) + 1;
    m.kind = kind;
    m.fromX = x_, m.fromY = y_, m.fromZ = z_;
    m.x = x, m.y = y, m.z = z;
    moves.push_back(m);
    x_ = x, y_ = y, z_ = z;
    return *this;
  }
  double x_ = 0.0, y_ = 0.0, z_ = 50.0;
};

std::vector<DrawnElement> Square(double size) {
  return {DrawnLine(0, 0, size, 0), DrawnLine(size, 0, size, size), DrawnLine(size, size, 0, size),
          DrawnLine(0, size, 0, 0)};
}

// The 100 square pocket's tool path at 5 from its walls, from (50, 20).
Path SquarePocketCut(double depth = -5.0) {
  Path p;
  p.Rapid(50, 20, 50).Rapid(50, 20, 2).Feed(50, 20, depth).Feed(50, 5);
  p.Feed(95, 5).Feed(95, 95).Feed(5, 95).Feed(5, 5).Feed(50, 5).Feed(50, 20).Rapid(50, 20, 50);
  return p;
}

std::vector<std::string> Names(const ContourCheckResult& r) {
  std::vector<std::string> names;
  for (Verdict v : r.Verdicts()) names.emplace_back(VerdictName(v));
  return names;
}

const ContourFinding* First(const ContourCheckResult& r, Verdict v) {
  for (const ContourFinding& f : r.findings) {
    if (f.verdict == v) return &f;
  }
  return nullptr;
}

TEST(ContourCheckTest, AProgramIsJudgedAgainstTheDrawnWalls) {
  ContourCut pocket;
  pocket.contour = Square(100);
  pocket.side = CutSide::kInside;
  pocket.depths = {-5.0};
  ContourCut boss = pocket;
  boss.side = CutSide::kOutside;

  // A boss of R20 drawn clockwise: its tool path is the R25 circle.
  ContourCut circle;
  circle.contour = {DrawnArc(20, 0, 20, 0, 0, 0, -20)};
  circle.side = CutSide::kLeft;  // left of a clockwise circle: outside
  circle.depths = {-5.0};
  auto aroundCircle = [](double chordAngle) {
    Path p;
    p.Rapid(35, 0, 50).Feed(35, 0, -5).Feed(25, 0).Chords(0, 0, -2.0 * kPi, chordAngle).Feed(35, 0).Rapid(35, 0, 50);
    return p;
  };
  // The chord angle that keeps the dip of a chord of R25 at 0.0025.
  const double fine = 2.0 * std::acos(1.0 - 0.0025 / 25.0);

  struct Case {
    const char* name;
    ContourCut cut;
    Path path;
    std::vector<std::string> verdicts;
  };
  std::vector<Case> cases;
  cases.push_back({"square pocket cut all round", pocket, SquarePocketCut(), {}});
  {
    // The first corner run 1 past the offset: 1 into the right wall.
    Path p;
    p.Rapid(50, 20, 50).Feed(50, 20, -5).Feed(50, 5).Feed(96, 5).Feed(95, 95).Feed(5, 95).Feed(5, 5).Feed(50, 5);
    cases.push_back({"square pocket, a corner 1 into the wall", pocket, p, {"GOUGE"}});
  }
  {
    Path p;
    p.Rapid(50, 20, 50).Feed(50, 20, -5).Feed(50, 5).Feed(95, 5).Feed(95, 95).Feed(5, 95).Feed(5, 60).Rapid(5, 60, 50);
    cases.push_back({"square pocket, part of the last side left", pocket, p, {"UNCUT"}});
  }
  {
    // The pocket's path run on a boss: through its material (the radius
    // from its walls, but on their far side), and no face of it cut.
    cases.push_back({"square boss cut on the pocket's path", boss, SquarePocketCut(), {"WRONG-SIDE", "UNCUT"}});
  }
  {
    // The tool comes down rapidly beside the cut, then once more into the
    // groove it has cut (which is allowed).
    Path p = SquarePocketCut();
    p.Rapid(50, 5, 50).Rapid(50, 5, -5).Rapid(50, 5, 50).Rapid(30, 30, 50).Rapid(30, 30, -1);
    cases.push_back({"square pocket, rapid down outside the groove", pocket, p, {"RAPID-LOW"}});
  }
  {
    // Above the part's top nothing counts.
    Path p;
    p.Rapid(50, 50, 50).Feed(200, 50, 1).Feed(50, 50, 1);
    ContourCut above = pocket;
    above.depths.clear();
    cases.push_back({"moves above the top", above, p, {}});
  }
  cases.push_back({"boss circle in fine chords", circle, aroundCircle(fine), {}});
  // Chords of 20 degrees dip 0.38 towards the boss.
  cases.push_back({"boss circle in coarse chords", circle, aroundCircle(20.0 * kPi / 180.0), {"GOUGE"}});
  {
    // One arc block round the R25 circle.
    Path p;
    p.Rapid(25, 0, 50).Feed(25, 0, -5).Arc(25, 0, 0, 0, -1).Rapid(25, 0, 50);
    cases.push_back({"boss circle as one arc", circle, p, {}});
  }
  {
    // Round the square boss, its corners turned in fine chords about them.
    Path p;
    p.Rapid(-5, -20, 50).Feed(-5, -20, -5).Feed(-5, 0).Feed(-5, 100);
    const double chord = 2.0 * std::acos(1.0 - 0.0025 / 5.0);
    p.Chords(0, 100, -kPi / 2, chord).Feed(100, 105).Chords(100, 100, -kPi / 2, chord).Feed(105, 0);
    p.Chords(100, 0, -kPi / 2, chord).Feed(0, -5).Chords(0, 0, -kPi / 2, chord).Rapid(-5, 0, 50);
    cases.push_back({"square boss with round corners", boss, p, {}});
  }
  {
    // A sharp-cornered path round the boss goes farther round its corners,
    // and cuts every wall all the same.
    Path p;
    p.Rapid(-5, -5, 50).Feed(-5, -5, -5).Feed(-5, 105).Feed(105, 105).Feed(105, -5).Feed(-5, -5).Rapid(-5, -5, 50);
    cases.push_back({"square boss with square corners", boss, p, {}});
  }
  {
    // A slot 8 wide is narrower than the tool: nothing of it can be cut,
    // so nothing is missing when nothing is cut; a move along it gouges.
    ContourCut slot = pocket;
    slot.contour = {DrawnLine(0, 0, 100, 0), DrawnLine(100, 0, 100, 8), DrawnLine(100, 8, 0, 8), DrawnLine(0, 8, 0, 0)};
    cases.push_back({"narrow slot left alone", slot, Path{}, {}});
    Path p;
    p.Rapid(50, 4, 50).Feed(50, 4, -5).Feed(90, 4).Rapid(90, 4, 50);
    cases.push_back({"narrow slot cut along its middle", slot, p, {"GOUGE"}});
  }
  {
    // An open L cut on its left (the inside of its corner), and on its right.
    ContourCut l;
    l.contour = {DrawnLine(0, 0, 100, 0), DrawnLine(100, 0, 100, 50)};
    l.side = CutSide::kLeft;
    l.depths = {-5.0};
    Path left;
    left.Rapid(0, 20, 50).Feed(0, 20, -5).Feed(0, 5).Feed(95, 5).Feed(95, 50).Rapid(95, 50, 50);
    cases.push_back({"open L on its left", l, left, {}});
    Path right;
    right.Rapid(0, -20, 50).Feed(0, -20, -5).Feed(0, -5).Feed(100, -5).Chords(100, 0, kPi / 2, 0.01).Feed(105, 50);
    cases.push_back({"open L on its right", l, right, {"WRONG-SIDE", "UNCUT"}});
  }
  {
    // A character of two strokes, a bar and a post beside it, each cut on
    // its left; then the post left out.
    ContourCut strokes;
    strokes.contour = {DrawnLine(0, 0, 30, 0), DrawnLine(50, 0, 50, 30)};
    strokes.side = CutSide::kLeft;
    strokes.depths = {-5.0};
    Path both;
    both.Rapid(0, 5, 50).Feed(0, 5, -5).Feed(30, 5).Feed(30, 5, 5).Rapid(45, 0, 5).Feed(45, 0, -5).Feed(45, 30);
    cases.push_back({"two strokes", strokes, both, {}});
    Path first;
    first.Rapid(0, 5, 50).Feed(0, 5, -5).Feed(30, 5).Feed(30, 5, 5);
    cases.push_back({"two strokes, the second left", strokes, first, {"UNCUT"}});
  }
  {
    // Two depths asked, only the last one cut.
    ContourCut twoDepths = pocket;
    twoDepths.depths = {-2.0, -5.0};
    cases.push_back({"depth passes, the first missing", twoDepths, SquarePocketCut(), {"UNCUT"}});
  }

  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const ContourCheckResult r = CheckContourCut(k.cut, k.path.moves);
    EXPECT_EQ(Names(r), k.verdicts) << r.Describe();
  }
}

TEST(ContourCheckTest, EachFindingSaysWhereAndHowMuch) {
  ContourCut pocket;
  pocket.contour = Square(100);
  pocket.side = CutSide::kInside;
  pocket.depths = {-2.0, -5.0};
  // At -2 the last side is left between Y 60 and the corner; at -5 the
  // tool runs 1 into the right wall at the first corner.
  Path p;
  p.Rapid(50, 20, 50).Feed(50, 20, -2).Feed(50, 5).Feed(5, 5).Feed(95, 5).Feed(95, 95).Feed(5, 95).Feed(5, 60);
  p.Feed(5, 60, -5).Feed(5, 5).Feed(50, 5).Feed(96, 5).Feed(95, 95).Feed(5, 95).Feed(5, 60).Rapid(5, 60, 50);
  const ContourCheckResult r = CheckContourCut(pocket, p.moves);

  const ContourFinding* gouge = First(r, Verdict::kGouge);
  ASSERT_NE(gouge, nullptr) << r.Describe();
  EXPECT_EQ(gouge->line, 12);
  EXPECT_NEAR(gouge->amount, 1.0, 0.001);
  EXPECT_NEAR(gouge->x, 96.0, 0.001);
  EXPECT_NEAR(gouge->y, 5.0, 0.001);

  // The left wall at -2 from Y 60 (less what the tool at (5, 60) touches)
  // down to where the corner at (5, 5) would have touched it; -5 is whole.
  std::vector<ContourFinding> uncut;
  for (const ContourFinding& f : r.findings) {
    if (f.verdict == Verdict::kUncut) uncut.push_back(f);
  }
  ASSERT_EQ(uncut.size(), 1u) << r.Describe();
  EXPECT_EQ(uncut[0].z, -2.0);
  const double touch = std::sqrt(5.012 * 5.012 - 25.0);  // along the wall from a corner point
  EXPECT_NEAR(uncut[0].amount, (60.0 - 5.0) - 2.0 * touch, 0.1) << r.Describe();
  EXPECT_NEAR(uncut[0].x, 0.0, 1e-9);
  EXPECT_NEAR(uncut[0].y, 32.5, 0.1);
  EXPECT_NE(r.Describe().find("GOUGE line 12: 1.000 into the wall"), std::string::npos) << r.Describe();
}

TEST(ContourCheckTest, ACornerTooTightForTheToolIsNotAskedFor) {
  // A pocket whose inside corners are sharp or of R3 (below the tool's R5)
  // and a notch of 4 in its bottom side: none of these can be reached, so
  // the offset path that runs past them leaves nothing uncut. A step of 1
  // up on the boss's side is reached on its outer corner only.
  ContourCut pocket;
  pocket.contour = {DrawnLine(0, 0, 40, 0),   DrawnLine(40, 0, 40, -10), DrawnLine(40, -10, 44, -10),
                    DrawnLine(44, -10, 44, 0), DrawnLine(44, 0, 97, 0),   DrawnArc(97, 0, 100, 3, 97, 3, 3),
                    DrawnLine(100, 3, 100, 100), DrawnLine(100, 100, 0, 100), DrawnLine(0, 100, 0, 0)};
  pocket.side = CutSide::kInside;
  pocket.depths = {-5.0};
  Path p;
  p.Rapid(50, 20, 50).Feed(50, 20, -5).Feed(50, 5).Feed(95, 5).Feed(95, 95).Feed(5, 95).Feed(5, 5).Feed(50, 5);
  const ContourCheckResult r = CheckContourCut(pocket, p.moves);
  EXPECT_TRUE(r.findings.empty()) << r.Describe();
}

TEST(ContourCheckTest, AContourThatIsNoChainIsRefused) {
  ContourCut closedAmongStrokes;
  closedAmongStrokes.contour = Square(10);
  closedAmongStrokes.contour.push_back(DrawnLine(20, 0, 30, 0));
  closedAmongStrokes.side = CutSide::kLeft;
  EXPECT_THROW(CheckContourCut(closedAmongStrokes, {}), std::invalid_argument);
  ContourCut offCircle;
  offCircle.contour = {DrawnArc(10, 0, 0, 11, 0, 0, 10)};
  offCircle.side = CutSide::kLeft;
  EXPECT_THROW(CheckContourCut(offCircle, {}), std::invalid_argument);
  ContourCut openInside;
  openInside.contour = {DrawnLine(0, 0, 10, 0), DrawnLine(10, 0, 10, 10)};
  openInside.side = CutSide::kInside;
  EXPECT_THROW(CheckContourCut(openInside, {}), std::invalid_argument);
}

}  // namespace
}  // namespace testsupport
