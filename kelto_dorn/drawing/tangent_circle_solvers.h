#pragma once
// The circles that touch three picked figures (lines or arcs, in segment
// blocks 1-3). There is no closed form here: each tangency case is a solver
// that reduces the problem to one free radius r, builds two working figures
// whose intersection is the candidate centre for that r, measures how far
// the candidate misses the third figure, and walks r until the miss is below
// 1e-7. Every converged circle goes into the first free block of 6-21 unless
// it equals a picked circle or an earlier solution; the user then picks one.
//
// Blocks 31-33 hold the picks in the order the solver asked for, blocks
// 41-42 the lines of the three-line case; nothing is allocated in a search.
#include "kelto_dorn/app/figure_record.h"

namespace dorn {

// Runs the solvers in the order the three picks call for (by their number of
// arcs), after making the picks' radii positive, bringing them into the frame
// of pick 1 and clearing blocks 6-27. Returns the number of circles found in
// blocks 6-21 (0 also when a pick is neither a line nor an arc); the command
// offers them for choice or reports that there is none.
int SolveTangentCircles();

// The solvers one by one, on the picks in blocks 1-3 as they stand.
class TangentCircleSolver {
 public:
  // Orders the picks into A, B, C by type (0, 1: 1 2 3; 2: 2 3 1; 3: 3 1 2;
  // 5: a line first; 7: an arc first; others keep A, B, C), copies them into
  // blocks 31-33, resets the hit counter and returns the start value of r.
  double SetupTangentSolver(int type);

  void SolveTangentCircleOutside(int side);
  void SolveTangentCircleAroundTwo(int side);
  void SolveTangentCircleRotatedOuter(int side);
  void SolveTangentCircleRotatedInner(int side);
  void SolveTangentCircleLineTwoArcs(int side);
  void SolveTangentCircleLineInsideArc(int side);
  void SolveTangentCircleLineOutsideArc(int side, int second);
  void SolveTangentCircleLineArcPair(int side, int swap);
  void SolveTangentCircleArcTwoLines(int side, int inner, int reverse);
  void SolveTangentCircleThreeLines(int type);

  // The settings of one search (see the source for how each case sets them).
  struct Search {
    double start = 0.0;
    int maxSteps = 9999;
    double missStep = 10.0;
    bool flipToggles = false;        // a miss after an intersection: toggle instead of set
    bool flipOnMiss = true;          // the three-line case leaves the sign alone
    bool resetOnMiss = true;         // a miss restarts the coarse steps
    bool flipAtStart = false;        // the error starts negated
    bool halfSteps = false;          // overlapping circles: first steps of 0.5
    bool searchOnDuplicate = false;  // a duplicate: search on from 15 r
    int firstBlock = 6;
  };

 private:
  template <class Build, class Error, class Radius>
  void Run(const Search& s, Build build, Error error, Radius radius);
  // The two line-and-arc cases, inside (sense -1) or around (+1) arc B.
  void RunLineAndArc(int side, double sense, Search s);

  FigureRecord a_, b_, c_;  // the picks as the current case ordered them
  int hits_ = 0;            // intersections found since the last set-up
  double distanceC_ = 0.0;  // set-up type 5: the distance from C's centre to line A
};

}  // namespace dorn
