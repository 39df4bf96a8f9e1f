// The motion check that every NC test runs: small programs, each breaking one
// rule a machine must never break, and the line the check names for it.
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace {

using testsupport::MotionLimits;

struct Case {
  const char* name;
  std::vector<std::string> program;
  MotionLimits limits;
  std::vector<int> lines;  // the lines of the violations, in order
};

// A drilled hole at (10, 0): start level 50, R 2, bottom -10.
const std::vector<std::string> kHead = {"%", "T05M06", "G90G00G43Z50.H05", "S1000M03"};

std::vector<std::string> With(std::vector<std::string> body) {
  std::vector<std::string> program = kHead;
  program.insert(program.end(), body.begin(), body.end());
  program.push_back("M30");
  program.push_back("%");
  return program;
}

TEST(MotionCheck, EachRuleNamesTheLineThatBreaksIt) {
  const MotionLimits hole{.rLevel = 2.0, .startLevel = 50.0};
  const MotionLimits milled{.rLevel = 2.0, .startLevel = 50.0, .millReach = 10.0};
  const Case cases[] = {
      {"a sound drilling job", With({"G00X10.Y0.", "G98G81X10.Y0.Z-10.R2.F100", "X30.", "G80", "M05"}), hole, {}},
      {"explicit moves", With({"G00X10.Y0.", "Z2.", "G01Z-10.F100", "G00Z50.", "X30.", "Z2.", "M05"}), hole, {}},
      {"hole to hole at the R level",
       With({"G00X10.Y0.", "Z2.", "G01Z-10.F100", "G00Z2.", "X30.", "G01Z-10.", "G00Z50.", "M05"}),
       hole,
       {}},
      {"a rapid below R", With({"G00X10.Y0.", "Z-1.", "G00Z50.", "M05"}), hole, {6}},
      {"a sideways feed at the bottom",
       With({"G00X10.Y0.", "Z2.", "G01Z-10.F100", "X12.", "G00Z50.", "M05"}),
       hole,
       {8}},
      {"a milled circle within reach",
       With({"G00X10.Y0.", "G01Z-10.F100", "X15.", "G03X15.Y0.I-5.J0.", "G01X10.", "G00Z50.", "M05"}),
       milled,
       {}},
      {"across at the R level to no hole",
       With({"G00X10.Y0.", "Z2.", "G01Z-10.F100", "G00Z2.", "X0.", "Z50.", "M05"}),
       hole,
       {9}},
      {"a feed with the spindle stopped", With({"M05", "G00X10.Y0.", "G01Z40.F100"}), {}, {7}},
      {"the end with the spindle running", With({"G00X10.Y0."}), {}, {6}},
      {"another tool's length offset", With({"T07M06", "S800M03", "G00X10.", "M05"}), {}, {7}},
      {"a refused block", With({"G52", "M05"}), {}, {5}},
  };
  testsupport::TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto program = folder.path() / "check.nc";
    {
      std::ofstream out(program, std::ios::binary);
      for (const std::string& line : c.program) out << line << "\r\n";
    }
    const testsupport::MotionCheck check = testsupport::CheckNcMotion(program, folder.path(), c.limits);
    if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
    std::vector<int> lines;
    for (const auto& v : check.violations) lines.push_back(v.line);
    EXPECT_EQ(lines, c.lines) << testsupport::Describe(check.violations) << check.trace;
  }
}

}  // namespace
