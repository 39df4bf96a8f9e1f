// The job load: the element stream and code lines into the tables, the range
// pre-pass, the surface expansion, the post selection and its switch words,
// and the errors of damaged hand-over files.
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "kelto_qup/ncout/element_prepass.h"
#include "platform/text.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/support/test_support.h"

namespace {

using handover::NcElement;
using testsupport::HandoverBuilder;
using testsupport::RangeRef;

class JobLoadTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    run = std::make_unique<qup::RunContext>(host);
  }
  int Load(HandoverBuilder& job) {
    job.Write(home());
    run->job.Header = job.header;
    run->job.Modes.StartMode = job.header.startMode;
    return run->LoadJob();
  }
  // The usual hole job: ten points of curve 100, one process, one hole command.
  static HandoverBuilder HoleJob() {
    HandoverBuilder job;
    job.Begin();
    for (int i = 0; i < 10; ++i) job.Point(100, i * 10.0, 5.0);
    job.Point(101, 0.0, 0.0);
    const testsupport::HoleProcess drill;
    job.HoleProcessItem(400, 100, drill);
    job.End();
    return job;
  }
  std::string ErrorText(int shown, const char* message) {
    char heading[40];
    std::snprintf(heading, sizeof heading, ">>> ERROR.%04d <<<\n   ", shown);
    return heading + platform::Sjis(message);
  }

  qup::RecordingHost host;
  std::unique_ptr<qup::RunContext> run;
};

TEST_F(JobLoadTest, HoleJobLoadsWithItsRangeAsTableIndices) {
  HandoverBuilder job = HoleJob();
  ASSERT_EQ(Load(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  ASSERT_EQ(run->elements.ElementCount, static_cast<int>(job.elements.size()));
  // Points of curve 100 sit at indices 1..10: the hole's d4 names them.
  const NcElement* hole = nullptr;
  for (int i = 0; i < run->elements.ElementCount; ++i) {
    if (run->elements[i].code == 0x6800) hole = &run->elements[i];
  }
  ASSERT_NE(hole, nullptr);
  EXPECT_DOUBLE_EQ(hole->d4, RangeRef(1, 10));
  EXPECT_DOUBLE_EQ(hole->d1, 2.0);    // the R level is not a range
  EXPECT_DOUBLE_EQ(hole->d5, -10.0);  // nor is the bottom
  EXPECT_EQ(run->job.FirstProcessNumber, 5);
  EXPECT_EQ(run->job.FirstProcessProgram, 5);
  EXPECT_EQ(run->job.SelectedPost, 1);
  // Decimal points, 0.001 increment, absolute values.
  EXPECT_EQ(run->output.WordFormat & 0xE000, 0x6000);
  EXPECT_NE(run->output.CodeFormat & 0x40, 0);
}

TEST_F(JobLoadTest, TheContourWordsStartAfreshWithEveryJob) {
  // Words a contour of an earlier run left behind: a corner marker waiting,
  // a pending linking move, the first element done, a stepping state.
  auto& c = run->engine.contour;
  c.MarkerPending = 1;
  c.PendingMove = 1;
  c.StartWord = 0xFFFF;
  c.CornerNextState = 9;
  c.CornerStepOptions = 6;
  HandoverBuilder job = HoleJob();
  ASSERT_EQ(Load(job), 0);
  EXPECT_EQ(c.MarkerPending, 0);
  EXPECT_EQ(c.PendingMove, 0);
  EXPECT_EQ(c.StartWord, 0);
  // A finished element goes to the step kind that does nothing, so it ends;
  // arcs are not stepped by the corner path unless the run asks for it.
  EXPECT_EQ(c.CornerNextState, 5);
  EXPECT_EQ(c.CornerStepOptions, 0);
}

TEST_F(JobLoadTest, RangeFieldsFollowWhatTheWritersPutThere) {
  struct Case {
    int code;
    int flags;
    double d4, d7;
    std::uint32_t mask;
  };
  constexpr auto D = [](int n) { return 1u << n; };
  const Case cases[] = {
      {0x6800, 0x9123, 1, 0, D(4)},  // hole: items in d4 only
      {0x6C00, 0x120, 1, 0, D(4)},
      {0xCC00, 1, 0, 0, D(4)},
      {0x7100, 0x3, 1, 0, D(4)},            // contour: d1 is its tool offset (mm)
      {0x7100, 0x110, 1, 0, D(4) | D(5)},   // range step in d5
      {0x3100, 0x4007, 1, 0, D(1) | D(4)},  // surface: own points, lists
      {0x3300, 0x11, 1, 0, D(1) | D(2) | D(4)},
      {0x1100, 0x8000, 0, 0, D(1)},  // section point of a SPACE
      {0x1100, 0, 0, 0, 0},
      {0x7300, 0x100, 1, 0, D(4)},  // cut-in at a figure
      {0x7300, 0x160, 1, 0, 0},     // cut-in at a point
      {0x7300, 0x110, 1, 0, 0},     // screw: d4 is an angle
      {0x7600, 0x400, 1, 0, D(1)},  // mirror axis
      {0x7600, 0x200, 1, 0, 0},
      {0x7800, 0, 1, 1, D(4) | D(7)},
      {0x7800, 0, 0, 0, 0},
      {0x7F00, 0x9110, 1, 0, D(1) | D(4) | D(5)},  // d0 is a depth
      {0x3900, 0x110, 1, 0, D(1) | D(2) | D(3) | D(5)},
      {0x3900, 0x80, 1, 0, D(2) | D(3) | D(5)},
      {0x8400, 0, 1, 0, 0},
      {0x8410, 0, 1, 0, D(4)},
      {0x9700, 0, 2, 0, 0},  // post number, not a range
      {0x6110, 0x8100, 10, 0, 0},
  };
  for (const Case& c : cases) {
    NcElement e;
    e.code = c.code;
    e.flags = c.flags;
    e.d4 = c.d4;
    e.d7 = c.d7;
    EXPECT_EQ(qup::RangeFieldMask(e), c.mask) << std::hex << c.code << " flags " << c.flags;
  }
}

TEST_F(JobLoadTest, RangeConversionTakesFirstRunAndZeroesUnknownNumbers) {
  HandoverBuilder job;
  job.Begin();
  job.Point(7, 0, 0);  // index 1
  job.Point(8, 1, 0);  // index 2
  job.Point(8, 2, 0);  // index 3
  job.Point(9, 3, 0);  // index 4
  job.Point(8, 4, 0);  // index 5: a later run of 8
  job.Add(300, 0x8200).d4 = RangeRef(7, 8);
  job.Add(301, 0x8200).d4 = RangeRef(7, 55);  // 55 does not exist
  job.Add(302, 0x8200).d4 = 0.0;              // no range
  job.End();
  ASSERT_EQ(Load(job), 0);
  EXPECT_DOUBLE_EQ(run->elements[6].d4, RangeRef(1, 3));
  EXPECT_DOUBLE_EQ(run->elements[7].d4, 0.0);
  EXPECT_DOUBLE_EQ(run->elements[8].d4, 0.0);
}

// A surface element marked for expansion with two point lists of 3 points.
HandoverBuilder SurfaceJob(double secondListShift, bool closed, int secondListCount = 3) {
  HandoverBuilder job;
  job.Begin();          // 0
  job.Point(20, 0, 0);  // 1..3: first list
  job.Point(20, 10, 0);
  job.Point(20, closed ? 0 : 20, closed ? 0.0 : 0.0);
  for (int i = 0; i < secondListCount; ++i) job.Point(21, i * 10.0, secondListShift);  // 4..
  NcElement& a = job.Add(30, 0x5700);
  a.d4 = RangeRef(20, 20);
  NcElement& b = job.Add(31, 0x5700);
  b.d4 = RangeRef(21, 21);
  NcElement& s = job.Add(40, 0x3100);
  s.flags = 0x4000 | 0x2000 | 0x3;
  s.d1 = RangeRef(20, 21);
  s.d4 = RangeRef(30, 31);
  job.End();
  return job;
}

TEST_F(JobLoadTest, SurfaceExpansionAppendsLinesInTheStreamsLineLayout) {
  HandoverBuilder job = SurfaceJob(5.0, false);
  ASSERT_EQ(Load(job), 0);
  const int count = static_cast<int>(job.elements.size());
  ASSERT_EQ(run->elements.ElementCount, count + 4);  // two lines, two ranges
  const NcElement& line0 = run->elements[count];
  EXPECT_EQ(line0.code, 0x1200);
  EXPECT_DOUBLE_EQ(line0.d6, 0.0);  // start: point of the first list
  EXPECT_DOUBLE_EQ(line0.d7, 0.0);
  EXPECT_DOUBLE_EQ(line0.d4, 0.0);  // end: point of the second list
  EXPECT_DOUBLE_EQ(line0.d5, 5.0);
  EXPECT_DOUBLE_EQ(line0.d2, 0.0);  // direction
  EXPECT_DOUBLE_EQ(line0.d3, 1.0);
  const NcElement& range1 = run->elements[count + 3];
  EXPECT_EQ(range1.code, 0x5900);
  EXPECT_DOUBLE_EQ(range1.d5, RangeRef(count + 1, count + 1));
  const NcElement& surface = run->elements[count - 3];
  EXPECT_EQ(surface.code, 0x3100);
  EXPECT_DOUBLE_EQ(surface.d1, RangeRef(count + 2, count + 3));
  EXPECT_DOUBLE_EQ(range1.d4, RangeRef(1, 6));  // the surface's own points, converted
  EXPECT_EQ(surface.flags, (0x6003 & 0xFBFF0) + 5);
  EXPECT_EQ(run->job.SurfaceJob, 1);
}

TEST_F(JobLoadTest, ClosedSectionNamesTheFirstLineAgain) {
  HandoverBuilder job = SurfaceJob(5.0, true);
  ASSERT_EQ(Load(job), 0);
  const int count = static_cast<int>(job.elements.size());
  EXPECT_DOUBLE_EQ(run->elements[count + 3].d5, RangeRef(count, count));
}

TEST_F(JobLoadTest, MismatchedPointListsStopWithError2) {
  HandoverBuilder job = SurfaceJob(5.0, false, 4);
  EXPECT_EQ(Load(job), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], ErrorText(1002, "ＮＣコードファイルが見つかりません"));
  EXPECT_EQ(run->job.LoadFailed, 1);
  EXPECT_EQ(run->AbortFlag, qup::kStopRun);
}

TEST_F(JobLoadTest, ListReferenceOutsideTheTableStopsWithError2) {
  HandoverBuilder job = SurfaceJob(5.0, false);
  // The lists element names itself as its list: a reversed list range.
  for (NcElement& e : job.elements) {
    if (e.code == 0x5700 && e.number == 30) e.d4 = RangeRef(30, 20);
  }
  EXPECT_EQ(Load(job), qup::kStopRun);
  EXPECT_EQ(run->job.LoadFailed, 1);
}

TEST_F(JobLoadTest, ContourRangeBeyondTheTableStopsWithError2) {
  HandoverBuilder job = HoleJob();
  job.elements.insert(job.elements.begin() + 1, NcElement{});
  job.elements[1].number = 77;
  job.elements[1].code = 0x7100;
  job.elements[1].d4 = 0.5e9;  // names no element: the pre-pass makes it 0
  ASSERT_EQ(Load(job), 0);
  // A table index beyond the table, as a damaged table would hold it.
  run->elements[1].d4 = 1e7;
  EXPECT_EQ(run->ScanJobElements(), qup::kStopRun);
  EXPECT_EQ(run->job.LoadFailed, 1);
}

TEST_F(JobLoadTest, MissingTruncatedAndEmptyStreams) {
  // Missing stream: error 2.
  EXPECT_EQ(run->LoadJob(), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], ErrorText(1002, "ＮＣコードファイルが見つかりません"));

  // A stream cut inside a record: error 2 and a line that says so.
  HandoverBuilder job = HoleJob();
  job.Write(home());
  const auto path = home() / handover::kElementFileName;
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 10);
  host.errorBoxes.clear();
  run->AbortFlag = 0;
  EXPECT_EQ(run->LoadJob(), qup::kStopRun);
  EXPECT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(run->job.LoadFailed, 1);

  // An empty stream loads nothing and is no error.
  std::ofstream(path, std::ios::trunc).close();
  host.errorBoxes.clear();
  run->AbortFlag = 0;
  EXPECT_EQ(run->LoadJob(), 0);
  EXPECT_EQ(run->elements.ElementCount, 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(run->job.LoadFailed, 0);
}

TEST_F(JobLoadTest, CodeLinesBeyond384AreLeftOutAndACutLineIsAnError) {
  HandoverBuilder job = HoleJob();
  job.Write(home());
  {
    std::ofstream lines(home() / "$DORN_CDE.@@@", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 390; ++i) {
      char line[80] = {};
      std::snprintf(line, sizeof line, "LINE%d", i);
      lines.write(line, sizeof line);
    }
  }
  ASSERT_EQ(run->LoadJob(), 0);
  EXPECT_EQ(run->job.CodeLineCount, 384);
  EXPECT_STREQ(run->job.CodeLines[383].text, "LINE383");
  {
    std::ofstream lines(home() / "$DORN_CDE.@@@", std::ios::binary | std::ios::trunc);
    lines.write("ABC", 3);
  }
  EXPECT_EQ(run->LoadJob(), qup::kStopRun);
  EXPECT_EQ(run->job.LoadFailed, 1);
}

TEST_F(JobLoadTest, TableFullStopsTheLoadAtOnce) {
  // More records than the table can ever hold.
  std::vector<NcElement> records(qup::ElementTable::kMaxCapacity + 50);
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].number = static_cast<int>(i);
    records[i].code = 0x1100;
  }
  ASSERT_TRUE(handover::WriteElementFile(home() / handover::kElementFileName, records).ok());
  EXPECT_EQ(run->LoadJob(), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], platform::Sjis("MEMORY_Over_ERROR... DORN_MAX98560 !"));
  EXPECT_LE(run->elements.ElementCount, run->elements.Capacity());
  EXPECT_LE(run->elements.Capacity(), qup::ElementTable::kMaxCapacity);
  EXPECT_EQ(run->job.LoadFailed, 1);
}

TEST_F(JobLoadTest, PostSelectionRefusesNumbersWithoutARecord) {
  HandoverBuilder job = HoleJob();
  ASSERT_EQ(Load(job), 0);
  struct Case {
    int index, count, current;
    int result;
    int selected;
  };
  const Case cases[] = {
      {0, 2, 1, 0, 1},  // 0 takes the current post
      {1, 2, 1, 0, 1},
      {2, 2, 1, qup::kStopRun, 0},  // at the count
      {-1, 2, 1, qup::kStopRun, 0},
      {0, 3, 7, qup::kStopRun, 0},    // current post beyond the records
      {31, 40, 1, qup::kStopRun, 0},  // beyond the 31-record table
  };
  for (const Case& c : cases) {
    run->job.Posts[0].postCount = c.count;
    run->job.Posts[0].currentPost = c.current;
    run->job.SelectedPost = 0;
    run->AbortFlag = 0;
    host.errorBoxes.clear();
    run->ElementIndex = c.index;
    EXPECT_EQ(run->SelectPostDefinition(), c.result) << c.index << " " << c.count << " " << c.current;
    EXPECT_EQ(run->job.SelectedPost, c.selected);
    if (c.result != 0) {
      ASSERT_EQ(host.errorBoxes.size(), 1u);
      EXPECT_EQ(host.errorBoxes[0], ErrorText(1031, "> ERROR [POST_FILE id. ] ..."));
    }
  }
}

TEST_F(JobLoadTest, PostMarkerAfterTheSecondProcessIsNotTheFirstMarker) {
  HandoverBuilder job;
  job.Begin();
  job.Point(100, 0, 0);
  job.BeginProcess(400, 5, 0.0, 0.0, 50.0, 1200.0);
  job.Add(600, 0x6100);
  job.Add(601, 0x9700).d4 = 2.0;
  job.End();
  ASSERT_EQ(Load(job), 0);
  EXPECT_EQ(run->FindFirstMarker(), 0);
  EXPECT_EQ(run->ElementIndex, 0);
  EXPECT_EQ(run->job.SelectedPost, 1);  // the current post of the table
}

TEST_F(JobLoadTest, SwitchWordsFollowThePostOptions) {
  struct Case {
    void (*set)(handover::PostDefinition&);
    int wordFormat, blockFormat, codeFormat, axisMode;
  };
  const Case cases[] = {
      {[](handover::PostDefinition&) {}, 0x6000, 0x2000, 0x40, 2},
      {[](handover::PostDefinition& p) {
         p.decimalPointOutput = 1;
         p.numberUnit = 1;
       },
       0x8000, 0x2000, 0x40, 2},
      {[](handover::PostDefinition& p) {
         p.g17Output = 1;
         p.g18g19Output = 0;
       },
       0x6000, 0x4000, 0x40, 2},
      {[](handover::PostDefinition& p) { p.coordinateSetting = 0; }, 0x6000, 0x2081, 0x40, 2},
      {[](handover::PostDefinition& p) {
         p.arcSize = 1;
         p.arcOutput = 0;
       },
       0x6000, 0x2000, 0x4044, 2},
      {[](handover::PostDefinition& p) {
         p.spindleCode = 29;
         p.originSetting = 1;
       },
       0x6000, 0x2000, 0x40, 0x401},
      {[](handover::PostDefinition& p) {
         p.laserCompensation = 0;
         p.leadingPercent = 1;
       },
       0x6100, 0x2200, 0x40, 2},
  };
  for (const Case& c : cases) {
    handover::PostDefinition post = HandoverBuilder::DecimalPointPosts()[1];
    c.set(post);
    run->DecodePostSwitches(post);
    EXPECT_EQ(run->output.WordFormat, c.wordFormat);
    EXPECT_EQ(run->output.BlockFormat, c.blockFormat);
    EXPECT_EQ(run->output.CodeFormat, c.codeFormat);
    EXPECT_EQ(run->output.AxisOutputMode, c.axisMode);
  }
}

}  // namespace
