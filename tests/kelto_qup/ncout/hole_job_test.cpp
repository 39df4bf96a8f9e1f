// Whole NC creation runs of hole jobs: the hand-over written by the test
// builder, LoadJob, InitNcJob and StartNcCreation, then the NC program, the
// busy word "$NC_EXE.@@@", the reports, and the program read back by rs274.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/kelto_qup/ncout/nc_run_fixture.h"

namespace {

using handover::NcElement;
using namespace ncrun;
using HoleJobTest = NcRunTest;

TEST_F(HoleJobTest, DrillingJobWritesTheWholeProgram) {
  HandoverBuilder job = Drilling(Drill());
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  const Strings expected = {"% ",
                            "G90G40G80 ",
                            "T05M06",
                            "N0001 ",
                            "G90 ",
                            "S1200 ",
                            "M03 ",
                            "G17G00Z50.",
                            "X10.Y15.",
                            "(PAI=8.5 TIP=3.)",
                            "G98G81X10.Y15.Z-10.R2.F100",
                            "X30.Y15.",
                            "X50.Y15.",
                            "G80 ",
                            "M05 ",
                            "G00 ",
                            "X0.Y0.",
                            "M09 ",
                            "M30 ",
                            "% "};
  EXPECT_EQ(Lines(NcText()), expected);
  EXPECT_EQ(NcExeWord(), 0);  // free again after the run
  EXPECT_EQ(run->job.RunIncomplete, 0);
  const auto plunges = ReadBack(Levels(Drill()));
  if (!plunges.empty()) {
    ASSERT_EQ(plunges.size(), 3u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_DOUBLE_EQ(plunges[i].x, 10.0 + 20.0 * i);
      EXPECT_DOUBLE_EQ(plunges[i].y, 15.0);
      EXPECT_DOUBLE_EQ(plunges[i].z, -10.0);
    }
  }
}

TEST_F(HoleJobTest, NcExeIsBusyWhileTheFileIsOpen) {
  HandoverBuilder job = Drilling(Drill());
  job.Write(home());
  run->job.Header = job.header;
  run->job.Modes.StartMode = 4;
  ASSERT_EQ(run->LoadJob(), 0);
  run->InitNcJob();
  ASSERT_TRUE(run->BuildNcPath());
  ASSERT_EQ(run->OpenJobNcFile(), 0);
  EXPECT_EQ(NcExeWord(), 0xFFFF);
  run->CloseJobNcFile();
  EXPECT_EQ(NcExeWord(), 0);
}

TEST_F(HoleJobTest, CannedCycleForms) {
  struct Case {
    const char* name;
    double cycle, peck, dwell;
    bool returnToR;
    Strings block;  // the first hole's blocks after the comment
    double timeSeconds;
  };
  // The predicted time holds the rapid moves too, at the default rapid rate
  // of 10000 mm/min: up to Z50, over to the first hole, home after the last;
  // returning to R (Z2) adds the rise from R back to Z50 at the end.
  const double rapids = (50.0 + std::hypot(10.0, 15.0) + std::hypot(50.0, 15.0)) * 60.0 / 10000.0;
  const double riseFromR = 48.0 * 60.0 / 10000.0;
  const Case cases[] = {
      {"peck", 83, 3, 0, false, {"G98G83X10.Y15.Z-10.R2.Q3.F100 ", "X30.Y15."}, 75.6 + rapids},
      {"tap", 84, 0, 0, false, {"G98G84X10.Y15.Z-10.R2.F100", "X30.Y15."}, 21.6 + rapids},
      {"dwell", 82, 0, 1.5, true, {"G99G82X10.Y15.Z-10.R2.P1F100", "X30.Y15."}, 21.6 + rapids + riseFromR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess drill = Drill();
    drill.tool.cannedCycle = static_cast<int>(c.cycle);
    drill.tool.peckDepth = c.peck;
    drill.tool.pCode = c.dwell;
    if (c.cycle == 84) drill.tool.mCode = 3;  // the tapping process starts its spindle with M3
    drill.definition.returnLevel = c.returnToR ? 1 : 0;
    HandoverBuilder job = Drilling(drill);
    ASSERT_EQ(Run(job), 0);
    const Strings lines = Lines(NcText());
    const Strings section = Section(lines, c.block[0].substr(0, 6), "X30.");
    EXPECT_EQ(section, c.block);
    EXPECT_EQ(Section(lines, "G80", "G80").size(), 1u);
    EXPECT_NEAR(run->engine.core.MachiningTime, c.timeSeconds, 1e-9);
    if (c.cycle == 84) {
      // Tapping starts the spindle with the process's M code, not at the head.
      EXPECT_EQ(Section(lines, "M3S", "M3S"), Strings{"M3S1200 "});
      EXPECT_TRUE(Section(lines, "M03", "M03").empty());
    }
    const auto plunges = ReadBack(Levels(drill));
    if (!plunges.empty()) {
      ASSERT_EQ(plunges.size(), 3u);
      EXPECT_DOUBLE_EQ(plunges[2].x, 50.0);
      EXPECT_DOUBLE_EQ(plunges[2].z, -10.0);
    }
  }
}

TEST_F(HoleJobTest, ExplicitMovesWriteNoCycleCancel) {
  HoleProcess drill = Drill();
  drill.tool.cannedCycle = 1;
  HandoverBuilder job = Drilling(drill);
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "(PAI", "X30."),
            (Strings{"(PAI=8.5 TIP=3.)", "G00X10.Y15. ", "Z2. ", "G01Z-10.F100", "G00Z50. ", "X30.Y15."}));
  EXPECT_TRUE(Section(lines, "G80", "G80").empty());
  const auto plunges = ReadBack(Levels(drill));
  if (!plunges.empty()) {
    EXPECT_EQ(plunges.size(), 3u);
  }
}

TEST_F(HoleJobTest, DeepHolePecksByMovesAndAZeroStepMakesOnePass) {
  for (double step : {4.0, 0.0}) {
    SCOPED_TRACE(step);
    Reset();
    HoleProcess deep = Drill();
    deep.code = 0x6C00;
    deep.tool.cannedCycle = 0;
    deep.tool.peckDepth = step;
    deep.tool.pCode = 3;  // first depth 3 below the R level
    HandoverBuilder job = Drilling(deep, 1);
    ASSERT_EQ(Run(job), 0);
    const Strings expected =
        step > 0.0 ? Strings{"Z2. ", "G01Z-1.F100 ", "Z-5.F100", "Z-4.", "Z-9.", "Z-8.", "Z-10. ", "G00Z50. "}
                   : Strings{"Z2. ", "G01Z-1.F100 ", "Z-10. ", "G00Z50. "};
    EXPECT_EQ(Section(Lines(NcText()), "Z2.", "G00Z50."), expected);
    const auto plunges = ReadBack(Levels(deep));
    if (!plunges.empty()) {
      ASSERT_EQ(plunges.size(), 1u);
      EXPECT_DOUBLE_EQ(plunges[0].z, -10.0);
    }
  }
}

TEST_F(HoleJobTest, HolesAlongAChainAtHalfTheToolDiameterAndNoneOnItsClosingElement) {
  // The writer sends no pitch: holes go along the lines and arcs at half the
  // tool diameter. The range's last element closes the item and gets none.
  HandoverBuilder job;
  job.Begin();
  job.Line(100, 0, 0, 40, 0);
  job.Arc(100, 20, 40, 0, 40, 40, 40, 20);  // half a circle about (40, 20)
  job.Line(100, 40, 40, 0, 40);
  HoleProcess drill;
  drill.tool.diameter = 20.0;  // 10 mm apart
  drill.definition.returnLevel = 1;
  job.BeginHoleProcess(400, drill);
  job.HoleCutIn(401, drill);
  job.Hole(402, 100, drill);
  job.ProcessEnd(500);
  job.End();
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "G99G81", "X10."), (Strings{"G99G81X0.Y0.Z-10.R2.F100", "X10.Y0. "}));
  // 40 mm of line and 62.83 mm of arc: holes at every 10 mm, 11 in all.
  const Strings holes = Section(lines, "G99G81", "G80");
  ASSERT_EQ(holes.size(), 12u);
  EXPECT_EQ(holes[5], "X49.589Y2.448 ");  // 10 mm into the arc
  const auto plunges = ReadBack(Levels(drill));
  if (!plunges.empty()) {
    ASSERT_EQ(plunges.size(), 11u);
    for (const Plunge& p : plunges) {
      EXPECT_DOUBLE_EQ(p.z, -10.0);
      EXPECT_LT(p.y, 40.0);  // none on the closing line
      if (p.x > 40.0) {
        EXPECT_NEAR(std::hypot(p.x - 40.0, p.y - 20.0), 20.0, 0.002);
      }
    }
  }
}

TEST_F(HoleJobTest, CodeLinesAreHeldSplitAndCopied) {
  HandoverBuilder job;
  job.Begin();
  job.Point(100, 5, 5);
  job.TextLine(300, "(' PART-A)");
  const HoleProcess drill;
  job.BeginHoleProcess(400, drill);
  job.TextLine(401, ":M01");
  job.TextLine(402, "G04 P1.;M08");
  job.HoleCutIn(403, drill);
  job.Hole(404, 100, drill);
  job.ProcessEnd(500);
  job.End();
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(lines[1], "(PART-A)");
  // The held ":M01" joins the next block; ";" splits the line in two.
  EXPECT_EQ(Section(lines, "G04", "M08"), (Strings{"G04P1.M01 ", "M08 "}));
  const auto plunges = ReadBack(Levels(drill));
  if (!plunges.empty()) {
    EXPECT_EQ(plunges.size(), 1u);
  }
}

TEST_F(HoleJobTest, HoleSubprogramFileListsThePoints) {
  HandoverBuilder job = Drilling(Drill());
  job.header.holeSubprogram = 1;
  NcElement points{};
  points.number = 403;
  points.code = 0xCC00;
  points.flags = 1;
  points.int3 = 99;  // the last item: the subprogram is closed
  job.elements.insert(job.elements.end() - 3, points);
  ASSERT_EQ(Run(job), 0);
  EXPECT_EQ(Lines(ReadText(testsupport::DatFolder(home()) / "HOLES.NC")),
            (Strings{"O1001", "X10.Y15.", "X30.Y15.", "X50.Y15.", "M99 ", "  "}));
  EXPECT_EQ(NcExeWord(), 0);
}

TEST_F(HoleJobTest, PositioningMovesToEachPoint) {
  HandoverBuilder job;
  job.Begin();
  job.BeginProcess(400, 5, 0.0, 0.0, 50.0, 1200.0);
  for (double x : {30.0, 60.0}) {
    NcElement& p = job.Add(401, 0x7000);
    p.flags = 0x100;
    p.d3 = 5;
    p.d4 = x;
    p.d5 = 40;
  }
  job.ProcessEnd(500);
  job.End();
  ASSERT_EQ(Run(job), 0);
  EXPECT_EQ(Section(Lines(NcText()), "G17", "X60."), (Strings{"G17G00Z5. ", "X30.Y40.", "X60."}));
  // A process without cutting moves has no Z extents: its Z text is "0.0".
  const Strings list = Lines(ReadText(home() / "$PROCESS.LST"));
  const Strings head = Section(list, "* N0001", "* N0001");
  ASSERT_EQ(head.size(), 1u);
  EXPECT_NE(head[0].find("Z=0.0"), std::string::npos) << head[0];
  testsupport::MotionCheck check;
  ReadBack({}, &check);
  if (check.ran) {
    EXPECT_NE(check.trace.find("STRAIGHT_TRAVERSE(60.0000, 40.0000, 5.0000"), std::string::npos);
  }
}

TEST_F(HoleJobTest, MilledAndHelicalHolesStayOnTheirCircle) {
  struct Case {
    const char* name;
    int code;
  };
  const Case cases[] = {{"milled", 0x6800}, {"helical", 0x6B00}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess hole = Drill();
    hole.code = c.code;
    hole.step.holeDiameter = 20.0;
    if (c.code == 0x6800) {
      hole.tool.tipAngle = 90.0;  // a chamfer tool going round the hole
    } else {
      hole.step.value88 = 4.0;  // the helix descends 4 mm per turn
      hole.tool.pCode = 1.0;    // inclination, degrees
    }
    HandoverBuilder job = Drilling(hole, 2);
    ASSERT_EQ(Run(job), 0);
    for (const auto& box : host.errorBoxes) ADD_FAILURE() << platform::Cp932ToUtf8(box);
    const Strings lines = Lines(NcText());
    EXPECT_TRUE(Section(lines, "G80", "G80").empty());
    testsupport::MotionCheck check;
    ReadBack(Levels(hole, hole.step.holeDiameter), &check);
    if (!check.ran) continue;
    const std::string& log = check.trace;
    // Every feed move lies on the 5.75 mm path circle (a 20 mm hole, an
    // 8.5 mm tool) or above a hole centre.
    const std::regex feed(R"((STRAIGHT_FEED|ARC_FEED)\(([-0-9.]+), ([-0-9.]+), ([-0-9.]+|[^)]*))");
    int onCircle = 0;
    for (std::sregex_iterator it(log.begin(), log.end(), feed), end; it != end; ++it) {
      if ((*it)[1] != "STRAIGHT_FEED") continue;
      const double x = std::stod((*it)[2]), y = std::stod((*it)[3]);
      const double r = std::min(std::hypot(x - 10.0, y - 15.0), std::hypot(x - 30.0, y - 15.0));
      EXPECT_TRUE(r < 0.002 || std::fabs(r - 5.75) < 0.002) << x << " " << y;
      onCircle += std::fabs(r - 5.75) < 0.002;
    }
    EXPECT_GT(onCircle, 0);
    if (c.code == 0x6800) {
      EXPECT_NE(log.find("ARC_FEED"), std::string::npos);
    }
    EXPECT_NE(log.find(", -10.0000,"), std::string::npos);  // the bottom is reached
  }
}

}  // namespace
