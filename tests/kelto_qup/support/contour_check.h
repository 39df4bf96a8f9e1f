#pragma once
// The independent check of a contour program: it knows only the drawn
// contour (lines and arcs), the tool's radius, the side the tool cuts on and
// the depths, and judges the moves rs274 made of the NC program
// (CheckNcMotion's `moves`). It shares nothing with the engine: where the
// tool can reach comes from the polygon clipping library offsetting the
// polygonised contour by the radius with round joins.
//
// Verdicts:
//   GOUGE       a point of a feed move below the part's top nearer a drawn
//               element than the tool's radius: beyond 0.002 at the ends of
//               a move, and inside a straight move beyond 0.002 plus the dip
//               of a chord of the circle it steps round (at most the
//               engine's chord tolerance, 0.01);
//   WRONG-SIDE  a point of a feed move below the top inside a boss, outside
//               a pocket, or across an open contour from the side it is cut
//               on;
//   UNCUT       a stretch of wall that a tool of that radius can touch from
//               the free side and that no feed move at one of the depths
//               passes within radius + 0.012 of (once per depth);
//   RAPID-LOW   a rapid that goes below the part's top where no feed move
//               at that level or deeper has been before it (within 0.01).
// Feed moves are sampled every 0.05 mm (arcs along their arc); the wall is
// sampled every 0.05 mm. Every lookup goes through a grid of buckets, so a
// contour of thousands of elements is checked in time linear in its size
// and the program's length.
//
//   testsupport::ContourCut cut;
//   cut.contour = {...};  cut.toolRadius = 5;  cut.side = CutSide::kInside;
//   cut.depths = {-5};
//   const ContourCheckResult r = CheckContourCut(cut, motion.moves);
//   EXPECT_TRUE(r.findings.empty()) << r.Describe();
#include <string>
#include <vector>

#include "tests/kelto_qup/support/rs274.h"

namespace testsupport {

// One drawn element from (x0, y0) to (x1, y1): a line (radius 0), or an arc
// about (cx, cy) turning counter-clockwise for a positive radius. An arc
// whose ends coincide is a whole circle. An element that does not start
// where the one before it ends starts another stroke (a character drawn in
// several strokes): strokes are open contours.
struct DrawnElement {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
  double radius = 0.0;
  double cx = 0.0, cy = 0.0;
};

inline DrawnElement DrawnLine(double x0, double y0, double x1, double y1) { return {x0, y0, x1, y1, 0.0, 0.0, 0.0}; }
inline DrawnElement DrawnArc(double x0, double y0, double x1, double y1, double cx, double cy, double radius) {
  return {x0, y0, x1, y1, radius, cx, cy};
}

// Where the tool cuts: inside or outside a closed contour (a pocket, a boss),
// or left or right of the drawn travel (either contour; on a closed one,
// left of a counter-clockwise contour is inside).
enum class CutSide { kInside, kOutside, kLeft, kRight };

struct ContourCut {
  std::vector<DrawnElement> contour;  // in drawn order
  double toolRadius = 5.0;
  CutSide side = CutSide::kInside;
  double partTop = 0.0;  // Z of the part's top: below it a feed move is in material
  // The levels at which the whole reachable wall must be cut, each by feed
  // moves that stay at that level.
  std::vector<double> depths;
};

enum class Verdict { kGouge, kWrongSide, kUncut, kRapidLow };
// "GOUGE", "WRONG-SIDE", "UNCUT", "RAPID-LOW".
const char* VerdictName(Verdict verdict);

struct ContourFinding {
  Verdict verdict = Verdict::kGouge;
  int line = 0;                      // NC line of the move; 0 for an uncut stretch
  double x = 0.0, y = 0.0, z = 0.0;  // the worst point, or the middle of the stretch
  // How far into the wall (GOUGE), beyond the wall (WRONG-SIDE), how long
  // the stretch (UNCUT), how far from anything cleared (RAPID-LOW), mm.
  double amount = 0.0;
};

struct ContourCheckResult {
  std::vector<ContourFinding> findings;  // one per move and verdict, one per uncut stretch and depth
  bool Has(Verdict verdict) const;
  // The verdicts found, each once, in the order of the enum.
  std::vector<Verdict> Verdicts() const;
  // One line per finding, the worst first within each verdict, at most
  // `limit` lines per verdict.
  std::string Describe(std::size_t limit = 8) const;
};

// A point of a drawn element at `s` of its way (0 its start, 1 its end),
// with the unit tangent there in the drawn direction.
struct DrawnPoint {
  double x = 0.0, y = 0.0, tx = 0.0, ty = 0.0;
};
DrawnPoint PointAlong(const DrawnElement& element, double s);
// How far (x, y) lies from the nearest drawn element.
double DistanceFromContour(const std::vector<DrawnElement>& contour, double x, double y);
// Whether (x, y) lies inside a closed contour.
bool InsideContour(const std::vector<DrawnElement>& contour, double x, double y);

// Judges the moves of one program against the drawn contour. Throws
// std::invalid_argument for a contour that cannot be one (an arc whose ends
// are not on its circle, a closed contour among several strokes) or a side
// that does not fit it (inside or outside of an open contour).
ContourCheckResult CheckContourCut(const ContourCut& cut, const std::vector<CanonMove>& moves);

}  // namespace testsupport
