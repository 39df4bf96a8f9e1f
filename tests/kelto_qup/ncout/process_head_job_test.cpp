// Whole runs through the program head of each process: the coordinate
// setting, the tool-length block with the process's own H number, the
// approach from the process start point and the return to the Z reference,
// with posts that write them; every program read back by rs274 under the
// motion check.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tests/kelto_qup/ncout/nc_run_fixture.h"

namespace {

using namespace ncrun;
using ProcessHeadJobTest = NcRunTest;

// A post that writes the coordinate-setting block (G92 X Y) and the
// tool-length block (G43 Z H); its start leaves a motion mode in force.
void HeadPost(HandoverBuilder& job) {
  handover::PostDefinition& post = job.posts[1];
  post.coordinateSetting = 0;
  post.toolLengthG43 = 0;
  post.Block(handover::BlockKind::Init).SetText("G40G49G80;G90G00");
}

// Two hole processes: T05 at (10, 15) and T07 at (30, 15), both started from
// (0, 0); T07's tool record holds the length offset number 27.
HandoverBuilder TwoTools(HoleProcess& first, HoleProcess& second) {
  first.tool.diameter = 8.5;
  second.tool.atcNumber = 7;
  second.tool.hCode = 27;
  second.tool.diameter = 6.0;
  second.definition.atcZ = 40.0;
  HandoverBuilder job;
  job.Begin();
  job.Point(100, 10, 15);
  job.Point(101, 30, 15);
  job.HoleProcessItem(400, 100, first);
  job.HoleProcessItem(600, 101, second);
  job.End();
  HeadPost(job);
  return job;
}

TEST_F(ProcessHeadJobTest, EachHeadSetsTheStartAndItsOwnToolLength) {
  // The tool goes to the process's start Z under its own length offset: the
  // H code of its tool record, else its tool number; no local origin is
  // handed over, so no G52 is written.
  HoleProcess first, second;
  HandoverBuilder job = TwoTools(first, second);
  ASSERT_EQ(Run(job), 0);
  const Strings lines = Lines(NcText());
  EXPECT_EQ(Section(lines, "T05", "G90"), (Strings{"T05M06", "N0001 ", "G92X0.Y0. ", "G43Z50.H05", "G90 "}));
  EXPECT_EQ(Section(lines, "T07", "G90"), (Strings{"T07M06", "N0002 ", "G92X0.Y0. ", "G43Z40.H27", "G90 "}));
  EXPECT_TRUE(Section(lines, "G52", "G52").empty());
  MotionLimits limits = Levels(second);  // the lower start level of the two
  limits.lengthOffsets[7] = 27;
  const auto plunges = ReadBack(limits);
  if (!plunges.empty()) {
    ASSERT_EQ(plunges.size(), 2u);
    EXPECT_DOUBLE_EQ(plunges[1].x, 30.0);
  }
}

TEST_F(ProcessHeadJobTest, TheStartPointIsWhereTheApproachBegins) {
  // The process starts at X100: the approach to the hole at (0, 40) moves X
  // as well as Y, in absolute and in incremental programs.
  for (int dataMode : {1, 0}) {
    SCOPED_TRACE(dataMode == 1 ? "absolute" : "incremental");
    Reset();
    HoleProcess drill = Drill();
    drill.definition.atcX = 100.0;
    HandoverBuilder job;
    job.Begin();
    job.Point(100, 0, 40);
    job.Point(100, 20, 40);
    job.HoleProcessItem(400, 100, drill);
    job.End();
    HeadPost(job);
    job.posts[1].dataMode = dataMode;
    ASSERT_EQ(Run(job), 0);
    const Strings lines = Lines(NcText());
    EXPECT_EQ(Section(lines, "G92", "G92"), Strings{"G92X100.Y0. "});
    if (dataMode == 1) {
      EXPECT_EQ(Section(lines, "G17", "G17"), (Strings{"G17G00X0.Y40. "}));
    }
    const auto plunges = ReadBack(Levels(drill));
    if (plunges.empty()) continue;
    ASSERT_EQ(plunges.size(), 2u);
    EXPECT_DOUBLE_EQ(plunges[0].x, 0.0);
    EXPECT_DOUBLE_EQ(plunges[0].y, 40.0);
    EXPECT_DOUBLE_EQ(plunges[0].z, -10.0);
    EXPECT_DOUBLE_EQ(plunges[1].x, 20.0);
    EXPECT_DOUBLE_EQ(plunges[1].y, 40.0);
    EXPECT_DOUBLE_EQ(plunges[1].z, -10.0);
  }
}

TEST_F(ProcessHeadJobTest, ZReferenceReturnOnlyWhenTheSameToolChangesItsWorkOffset) {
  // Work offsets by the definition: the return to the Z reference between
  // two coordinate systems is for a tool that stays in the spindle.
  struct Case {
    const char* name;
    int secondTool;
    int returns;
  };
  const Case cases[] = {{"another tool", 7, 0}, {"the same tool", 5, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    HoleProcess first = Drill(), second = Drill();
    second.tool.atcNumber = c.secondTool;
    second.definition.workCoordinate = 1;  // G55
    HandoverBuilder job;
    job.Begin();
    job.Point(100, 10, 15);
    job.Point(101, 30, 15);
    job.BeginDefinition(300, first);
    job.HoleProcessItem(400, 100, first);
    job.BeginDefinition(550, second);
    job.HoleProcessItem(600, 101, second);
    job.End();
    HeadPost(job);
    job.posts[1].originCode = 1;  // G54 .. G59 in place of G92
    ASSERT_EQ(Run(job), 0);
    const Strings lines = Lines(NcText());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "G91G28Z0. "), c.returns);
    EXPECT_EQ(Section(lines, "G55", "G55"), Strings{"G55X0.Y0. "});
    const auto plunges = ReadBack(Levels(first));
    if (!plunges.empty()) EXPECT_EQ(plunges.size(), 2u);
  }
}

}  // namespace
