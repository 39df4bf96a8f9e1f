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
  ExpectDrilledRow(ReadBack(Levels(Drill())));
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

TEST_F(HoleJobTest, DeepHoleCutsItsTopThenPecksAtHighSpeed) {
  HoleProcess deep = Drill();
  deep.code = 0x6C00;
  deep.tool.cannedCycle = 3000;  // the high-speed spindle speed
  deep.tool.mCode = 200;         // the high-speed feed
  deep.tool.peckDepth = 3.0;     // the top cut
  deep.tool.pCode = 4.0;         // the high-speed cut
  HandoverBuilder job = Drilling(deep, 2);
  job.posts[1].Block(handover::BlockKind::Set).SetText("{G43H?}");
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  // The top cut at the first speed and feed, then pecks of the high-speed
  // cut, backing off 1 mm, at the high speed and feed.
  EXPECT_EQ(Section(lines, "Z2.", "G00Z50."), (Strings{"Z2. ", "G01Z-1.F100 ", "S3000 ", "M03 ", "Z-5.F200", "Z-4.",
                                                       "Z-9.", "Z-8.", "Z-10. ", "G00Z50. "}));
  // The next hole: over to it, its top cut again at the first speed; the
  // set-up section belongs to the first hole only.
  EXPECT_EQ(Section(lines, "G00X30.", "G01"), (Strings{"G00X30.Y15. ", "S1200 ", "M03 ", "Z2. ", "G01Z-1.F100 "}));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "G43H05"), 1);
  const auto plunges = ReadBack(Levels(deep));
  if (!plunges.empty()) {
    ASSERT_EQ(plunges.size(), 2u);
    EXPECT_DOUBLE_EQ(plunges[1].x, 30.0);
    EXPECT_DOUBLE_EQ(plunges[1].z, -10.0);
  }
}

TEST_F(HoleJobTest, AHoleOfMoreStepsThanCanBeMeantStopsWithAnError) {
  // A damaged hand-over: a peck step of a micron's fraction, a bottom a
  // kilometre down, or a chain of holes a billion metres long would write a
  // program of millions of blocks; the run stops with the hole error
  // instead, before the hole is begun.
  struct Case {
    const char* name;
    double cut;     // the deep hole's high-speed cut (0: a drilled chain)
    double bottom;  // the hole bottom Z
    double chainLength;
  };
  const Case cases[] = {
      {"peck step far too small", 1e-6, -10.0, 0.0},
      {"hole far too deep", 4.0, -1e6, 0.0},
      {"chain far too long", 0.0, -10.0, 1e12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess hole = Drill();
    hole.step.depth = c.bottom;
    HandoverBuilder job;
    if (c.cut > 0.0) {
      hole.code = 0x6C00;
      hole.tool.peckDepth = 3.0;
      hole.tool.pCode = c.cut;
      job = Drilling(hole, 2);
    } else {
      job.Begin();
      job.Line(100, 0, 0, c.chainLength, 0);
      job.Point(100, 0, 0);
      job.HoleProcessItem(400, 100, hole);
      job.End();
    }
    EXPECT_EQ(Run(job), 0);
    ASSERT_EQ(host.errorBoxes.size(), 1u);
    EXPECT_NE(host.errorBoxes[0].find("ERROR.2005"), std::string::npos);
    EXPECT_EQ(run->job.RunIncomplete, 1);
    EXPECT_LT(NcText().size(), 4000u);
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
  job.HoleProcessItem(400, 100, drill);
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

TEST_F(HoleJobTest, EachProcessTakesTheToolMapRecordItsToolChangeNames) {
  // Two processes of one ATC number with different tools: the second takes
  // its own record (diameter, tip), not the first of that number.
  HandoverBuilder job;
  job.Begin();
  job.Point(100, 10, 15);
  job.Point(101, 30, 15);
  const HoleProcess first = Drill();
  HoleProcess second = Drill();
  second.tool.diameter = 6.0;
  second.tool.tipLength = 2.0;
  second.step.depth = -20.0;
  job.HoleProcessItem(400, 100, first);
  job.HoleProcessItem(600, 101, second);
  job.End();
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "(PAI=8.5 TIP=3.)"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "(PAI=6. TIP=2.) "), 1);
  const auto plunges = ReadBack(Levels(first));
  if (!plunges.empty()) {
    ASSERT_EQ(plunges.size(), 2u);
    EXPECT_DOUBLE_EQ(plunges[1].z, -20.0);
  }
}

TEST_F(HoleJobTest, HolesStartAtTheirOwnStartLevel) {
  // The I point of the hole definition (Z5), not the process start (Z100),
  // is the level the cycle starts from and returns to.
  HoleProcess drill = Drill();
  drill.definition.atcZ = 100.0;
  drill.definition.iPoint = 5.0;
  HandoverBuilder job = Drilling(drill);
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "G17G00", "G98G81"),
            (Strings{"G17G00Z100. ", "X10.Y15.", "Z5. ", "(PAI=8.5 TIP=3.)", "G98G81X10.Y15.Z-10.R2.F100"}));
  testsupport::MotionCheck check;
  const auto plunges = ReadBack(Levels(drill), &check);
  if (!check.ran) return;
  EXPECT_EQ(plunges.size(), 3u);
  for (const testsupport::CanonMove& m : check.moves) {
    if (m.cannedCycle) EXPECT_LE(m.z, 5.0) << "line " << m.line;
  }
}

TEST_F(HoleJobTest, IncrementalProgramsDrillWhereTheDrawingSays) {
  // Under G91 every hole block carries steps: X and Y from the last hole, R
  // from the start level and Z from R in a canned cycle, each Z from the
  // last in explicit moves.
  struct Case {
    const char* name;
    int code;
    int cycle;
    int returnLevel;
  };
  const Case cases[] = {{"G98 G81", 0x6800, 81, 0},
                        {"G99 G81", 0x6800, 81, 1},
                        {"explicit moves", 0x6800, 1, 0},
                        {"deep hole", 0x6C00, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess drill = Drill();
    drill.code = c.code;
    drill.tool.cannedCycle = c.cycle;
    drill.definition.returnLevel = c.returnLevel;
    drill.definition.iPoint = 5.0;
    if (c.code == 0x6C00) {
      drill.tool.peckDepth = 3.0;
      drill.tool.pCode = 4.0;
    }
    HandoverBuilder job = Drilling(drill);
    job.posts[1].dataMode = 0;  // incremental
    ASSERT_EQ(Run(job), 0);
    const Strings lines = Lines(NcText());
    if (c.cycle == 81) {
      const std::string cycle = c.returnLevel != 0 ? "G99G81Z-12.R-3.F100 " : "G98G81Z-12.R-3.F100 ";
      EXPECT_EQ(Section(lines, cycle.substr(0, 6), "G80"), (Strings{cycle, "X20.", "X20.", "G80 "}));
    }
    ExpectDrilledRow(ReadBack(Levels(drill)));
  }
}

TEST_F(HoleJobTest, TheSmallMoveRuleKeepsWhereAnAxisStays) {
  // A post with the coordinate setting writes both in-plane words of every
  // feed move; in an absolute program the word of an axis that stays is its
  // own position, never 0.
  HoleProcess chamfer = Drill();
  chamfer.tool.tipAngle = 90.0;
  chamfer.step.holeDiameter = 20.0;
  HandoverBuilder job = Drilling(chamfer, 1);
  handover::PostDefinition& post = job.posts[1];
  post.coordinateSetting = 0;
  post.Block(handover::BlockKind::Init).SetText("G40G80;G90G00");
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "G01Z2.", "G01X10."),
            (Strings{"G01Z2.F100", "Z-10. ", "X20.Y15.", "G03X0.Y15.I-10. ", "X20.Y15.I10.", "G01X10.Y15. "}));
  const auto plunges = ReadBack(Levels(chamfer, 20.0));
  if (!plunges.empty()) EXPECT_DOUBLE_EQ(plunges[0].z, -10.0);
}

TEST_F(HoleJobTest, AStopInsideAHoleGroupLeavesItAtItsReturnLevel) {
  // The user's forced end, seen by the stop poll between two holes or
  // between two pecks: the tool leaves the group at its return level from
  // where it really is, then the process end (with its spindle stop) and
  // the machining end follow.
  struct Case {
    const char* name;
    int code;
    int returnLevel;
  };
  const Case cases[] = {
      {"G98 canned cycle", 0x6800, 0}, {"G99 canned cycle", 0x6800, 1}, {"deep hole pecks", 0x6C00, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess drill = Drill();
    drill.code = c.code;
    drill.definition.returnLevel = c.returnLevel;
    drill.definition.atcX = 100.0;
    if (c.code == 0x6C00) {
      drill.tool.cannedCycle = 0;
      drill.tool.peckDepth = 3.0;  // top cut
      drill.tool.pCode = 0.1;      // 200 pecks of 0.1 mm to the bottom at -20
      drill.step.depth = -20.0;
    }
    HandoverBuilder job = Drilling(drill, 400);
    bool asked = false;
    host.onPump = [this, &asked, &c] {
      const bool inside = c.code == 0x6C00 ? run->job.CurrentPoint[2] < -5.0 : run->job.LastHole[0] != 0.0;
      if (!asked && inside) {
        run->AbortFlag = qup::kStopRun;
        asked = true;
      }
    };
    ASSERT_EQ(Run(job), 0);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(host.errorBoxes.empty());
    EXPECT_EQ(run->job.RunIncomplete, 0);
    const Strings lines = Lines(NcText());
    EXPECT_LT(lines.size(), 300u);  // cut short
    EXPECT_EQ(lines.back(), "% ");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "M05 "), lines.end());
    testsupport::MotionCheck check;
    ReadBack(Levels(drill), &check);
  }
}

TEST_F(HoleJobTest, TheHeadsOwedBlocksComeBeforeTheFirstHole) {
  // The view's head suppression moves the process's "N" block to the first
  // hole.
  {
    HandoverBuilder job = Drilling(Drill());
    job.Write(home());
    run->job.Header = job.header;
    run->job.Modes.StartMode = 4;
    run->LoadJob();
    run->InitNcJob();
    run->output.HeadSuppressSetting = 1;
    ASSERT_EQ(run->StartNcCreation(), 0);
    const Strings lines = Lines(NcText());
    EXPECT_EQ(Section(lines, "T05", "N0001"), (Strings{"T05M06", "G90 ", "S1200 ", "M03 ", "N0001 "}));
    EXPECT_EQ(Section(lines, "N0001", "X10."), (Strings{"N0001 ", "G17G00Z50.", "X10.Y15."}));
    const auto plunges = ReadBack(Levels(Drill()));
    if (!plunges.empty()) EXPECT_EQ(plunges.size(), 3u);
  }
  // A repeated centring macro starts no spindle at the head: the first hole
  // starts it before it cuts. (The centring macros are no blocks rs274 reads.)
  Reset();
  HandoverBuilder job = Drilling(Drill());
  job.Write(home());
  run->job.Header = job.header;
  run->job.Modes.StartMode = 4;
  run->LoadJob();
  run->InitNcJob();
  run->output.Centring[0].active = 1;
  run->job.MacroRepeatFlag = 1;
  ASSERT_EQ(run->StartNcCreation(), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "G65P7903Q1", "(PAI"),
            (Strings{"G65P7903Q1", "S1200 ", "M03 ", "G17G00Z50.", "X10.Y15.", "(PAI=8.5 TIP=3.)"}));
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
  // The main program still drills its holes where the drawing says.
  const auto plunges = ReadBack(Levels(Drill()));
  if (!plunges.empty()) {
    EXPECT_EQ(plunges.size(), 3u);
  }
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
  EXPECT_EQ(Section(Lines(NcText()), "G17", "X60."), (Strings{"G17G00Z50.", "X30.Y40.", "Z5. ", "X60."}));
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
    int compensation;   // the step's compensation bits
    double pathRadius;  // where rs274 puts the tool centre below the R level
    // A compensated polygon of 10-degree chords is offset as a polygon: its
    // points lie within the chord error, r (1 - cos 5 degrees) = 0.038 mm.
    double tolerance;
    Strings words;  // blocks of the first hole that must be there
  };
  const Case cases[] = {
      // A 90-degree chamfer tool: its tip runs on the 20 mm hole edge, down
      // at the down feed, out at the approach feed, round at the tool feed.
      {"chamfer", 0x6800, 0, 10.0, 0.002, {"G01Z2.F30 ", "Z-10. ", "X20.F50 ", "G03X0.I-10.F100 ", "X20.I10."}},
      // The helix on the hole less the 8.5 mm tool: radius 5.75.
      {"helical", 0x6B00, 0, 5.75, 0.002, {}},
      // Under G41 the program runs on the hole itself; the control (rs274,
      // with a 10 mm tool of the table) keeps the tool centre 5 mm inside.
      {"helical G41", 0x6B00, 1, 5.0, 0.04, {"X20.Y5. ", "G41Y15.D05", "G40X10. "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess hole = Drill();
    hole.code = c.code;
    hole.step.holeDiameter = 20.0;
    hole.step.compensation = c.compensation;
    if (c.code == 0x6800) {
      hole.tool.tipAngle = 90.0;  // a chamfer tool going round the hole
      hole.step.downFeed = 30.0;
      hole.step.approachFeed = 50.0;
    } else {
      hole.step.value88 = 4.0;  // the helix descends 4 mm per turn
      hole.tool.pCode = 1.0;    // inclination, degrees
    }
    HandoverBuilder job = Drilling(hole, 2);
    ASSERT_EQ(Run(job), 0);
    for (const auto& box : host.errorBoxes) ADD_FAILURE() << platform::Cp932ToUtf8(box);
    const Strings lines = Lines(NcText());
    EXPECT_TRUE(Section(lines, "G80", "G80").empty());
    for (const std::string& word : c.words) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), word), lines.end()) << word << "\n" << NcText();
    }
    testsupport::MotionCheck check;
    ReadBack(Levels(hole, hole.step.holeDiameter), &check);
    if (!check.ran) continue;
    // Every feed move below the R level ends on the path circle or at a hole
    // centre.
    int onCircle = 0;
    bool bottom = false;
    for (const testsupport::CanonMove& m : check.moves) {
      if (m.kind == testsupport::CanonMove::Kind::kTraverse || m.z > 2.0 - 0.001) continue;
      const double r = std::min(std::hypot(m.x - 10.0, m.y - 15.0), std::hypot(m.x - 30.0, m.y - 15.0));
      const bool onPath = std::fabs(r - c.pathRadius) < c.tolerance;
      EXPECT_TRUE(r < 0.002 || onPath) << "line " << m.line << ": " << m.x << " " << m.y;
      onCircle += onPath;
      bottom |= std::fabs(m.z + 10.0) < 0.001;
    }
    EXPECT_GT(onCircle, 0);
    EXPECT_TRUE(bottom);
  }
}

}  // namespace
