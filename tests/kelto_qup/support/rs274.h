#pragma once
// Runs Debian's rs274 interpreter (package linuxcnc-uspace) on an NC program:
// the independent check that every block the system writes is accepted and
// makes the moves the test expects.
//
// Two ways in:
// - RunRs274: rs274 on a program with a tool table of the test's own; the
//   canonical trace as text.
// - CheckNcMotion: the motion check every NC test runs. It numbers the
//   program's lines, has rs274 read them, and checks from the canonical
//   trace what a machine must never do:
//     * a block rs274 refuses (its message, with the line);
//     * with MotionLimits::rLevel: a rapid (G00) that goes down below the R
//       level, and any sideways move below it, outside a canned cycle
//       (feed moves of a milled hole may go sideways as far as
//       millReach from where the tool went below R);
//     * with MotionLimits::startLevel: a sideways move below the start level
//       of the hole group outside a canned cycle, unless it runs at the R or
//       the start level and the tool then goes down (a hole-to-hole move);
//     * a feed move while the spindle stands (no M03/M04 in force);
//     * a tool-length offset (G43 H) that is not the current tool's (its
//       own number, or MotionLimits::lengthOffsets), at a move under it that
//       changes Z or cuts;
//     * with MotionLimits::partTop: a rapid that ends below the part's top
//       (or, with rapidIntoCut, below the deepest feed move before it);
//     * a program that ends (M30/M02, or its last block) with the spindle
//       still running; the stop that M30 itself makes does not count.
//   Moves of reference returns (G28, G30, G53) are never judged.
//   Usage:
//     const MotionCheck check = CheckNcMotion(ncFile, workFolder, {.rLevel = 2, .startLevel = 50});
//     if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
//     EXPECT_TRUE(check.violations.empty()) << Describe(check.violations);
//   Every tool of the table rs274 works with is 10 mm in diameter (cutter
//   compensation) and has no length.
//   check.moves lists the moves rs274 made, each with its NC line, for tests
//   that check where the tool goes.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct Rs274Run {
  bool found = false;  // rs274 is installed
  int status = -1;     // its exit status
  std::string text;    // what it printed: canonical calls and any error
};

// Runs rs274 with the tool table `tools` on `program`; its output and its
// own files stay inside `workFolder`.
Rs274Run RunRs274(const std::filesystem::path& program, const std::filesystem::path& tools,
                  const std::filesystem::path& workFolder);

// The levels of a hole job the motion check holds the program to (mm, in
// the program's Z). Leave a level out where it does not apply (a contour
// program has no R level).
struct MotionLimits {
  std::optional<double> rLevel;
  std::optional<double> startLevel;
  // How far a feed move below the R level may go sideways from the point
  // where the tool went below it: 0 for drilled holes, the hole diameter
  // for milled and helical holes.
  double millReach = 0.0;
  // The part's top (a contour job's stock): the tool goes down into
  // material at a feed only, so no rapid move ends below it. With
  // rapidIntoCut a rapid may end as deep as the deepest feed move before it
  // (a depth pass coming down into the groove already cut).
  std::optional<double> partTop;
  bool rapidIntoCut = false;
  // The length offset number of a tool where it is not the tool's own
  // number (a tool record's H code): tool -> H.
  std::map<int, int> lengthOffsets;
};

// One move of the canonical trace.
struct CanonMove {
  enum class Kind { kTraverse, kFeed, kArc };
  int line = 0;  // line of the NC file (1-based)
  Kind kind = Kind::kTraverse;
  double x = 0.0, y = 0.0, z = 0.0;  // end point, in the program's coordinates
  double fromX = 0.0, fromY = 0.0, fromZ = 0.0;
  // Arcs: the centre in the plane's two axes (X Y, Z X or Y Z) and the
  // turn (positive counter-clockwise).
  double centreFirst = 0.0, centreSecond = 0.0;
  int turn = 0;
  bool cannedCycle = false;  // made by a canned cycle (G73, G76, G81 .. G89)
  bool reference = false;    // a reference return (G28, G30, G53)
};

struct MotionViolation {
  int line = 0;      // line of the NC file (1-based); 0 for the program as a whole
  std::string what;  // the rule broken, with the values
};

struct MotionCheck {
  bool ran = false;  // rs274 was found and read the program
  std::vector<MotionViolation> violations;
  std::vector<CanonMove> moves;
  std::string trace;  // rs274's whole output
};

// Runs the motion check on the NC file `program` (see above); rs274's files
// and the numbered copy of the program stay inside `workFolder`.
MotionCheck CheckNcMotion(const std::filesystem::path& program, const std::filesystem::path& workFolder,
                          const MotionLimits& limits = {});

// The violations one per line ("line 12: ..."), for a test's failure message.
std::string Describe(const std::vector<MotionViolation>& violations);

}  // namespace testsupport
