// The contour walk of command 0x71 (side, direction, marks, the advance over
// the range), the two-axis check (consumed arcs, bridges, the rebuilt range)
// and the overrun's refusals and cycle words. The walk runs with a pending
// command kind that writes nothing, so what is checked is the walk itself.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

#include "platform/text.h"

namespace qup::testing {
namespace {

class ContourWalkTest : public EngineCoreTest {
 protected:
  // The interpreter's frame at the command `index`; the contour kinds write
  // nothing (pending command kind 0).
  void AtCommand(int index) {
    run.job.CallDepth = 1;
    run.job.CallStack[1].Current = static_cast<std::uint32_t>(index);
    run.job.CallStack[1].End = static_cast<std::uint32_t>(run.elements.ElementCount - 1);
    run.job.JobElementCount = run.elements.ElementCount;
    run.output.PendingCommandWord = 0;
    run.R2 = run.elements[index];
    run.UnpackCommandValue(4);
  }
  // A square of four lines (numbers 1 to 4, counter-clockwise from the
  // origin) and a contour command over it; returns the command's index.
  int Square(int flags) {
    table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 100);
    table.Line(100, 100, 0, 100);
    table.Line(0, 100, 0, 0);
    const int command = table.Command(0x7100, 0, 3);
    table.records[static_cast<std::size_t>(command)].flags = flags;
    LoadTable();
    return command;
  }
};

TEST_F(ContourWalkTest, SideAndDirectionChooseTheCutOrder) {
  struct Case {
    int flags;
    int lastNumber;    // the element the walk ends with
    double lastDx;     // its direction as walked
    int commandFlags;  // the command's flags after the walk
  };
  // 0x50000 walks from the end backwards (each element reversed); 0x70000
  // is the same with 0x20000 dropped; other side bits walk forwards with the
  // first element on the reversed side.
  const Case cases[] = {
      {0, 4, 0.0, 0},
      {0x50000, 1, -1.0, 0x50000},
      {0x70000, 1, -1.0, 0x50000},
      {0x30000, 4, 0.0, 0x30000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    table = ElementBuilder{};
    const int command = Square(c.flags);
    AtCommand(command);
    ASSERT_EQ(run.hab_goo(), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
    EXPECT_EQ(run.R0.number, c.lastNumber);
    if (c.lastNumber == 1) EXPECT_DOUBLE_EQ(run.R0.d2, c.lastDx);
    EXPECT_EQ(run.R2.flags, c.commandFlags);
    EXPECT_EQ(run.engine.call.ContourPassWord, 0);
    // The range marks are gone again.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(run.elements[i].flags, 0) << i;
  }
}

TEST_F(ContourWalkTest, ABackwardWalkKeepsTheOffsetOnTheSideItWasDrawnFor) {
  // The square drawn counter-clockwise with an offset of 5 to the left of
  // the drawn travel: inside. Walked forwards the last element is the left
  // side at x 5; walked backwards (0x50000, every element turned over) it
  // is the bottom at y 5, still inside, not at y -5 in the wall.
  struct Case {
    int flags;
    int lastNumber;
    double NcElement::*coordinate;  // the one the offset moves
  };
  for (const Case& c : {Case{0, 4, &NcElement::d4}, Case{0x50000, 1, &NcElement::d5}}) {
    SCOPED_TRACE(c.flags);
    table = ElementBuilder{};
    const int command = Square(c.flags | 3);
    run.elements[command].d1 = 5.0;
    AtCommand(command);
    ASSERT_EQ(run.hab_goo(), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
    EXPECT_EQ(run.R0.number, c.lastNumber);
    EXPECT_NEAR(run.R0.*c.coordinate, 5.0, 1e-9);
  }
}

TEST_F(ContourWalkTest, ALoopInsideALoopLeavesTheOuterMarks) {
  const int command = Square(0);
  for (int i = 0; i < 4; ++i) run.elements[i].flags = 0x10000000;
  AtCommand(command);
  run.core.loop.ConsumedGuard = 0xFFFF;  // the outer loop's marks stand
  ASSERT_EQ(run.hab_goo(), 0);
  EXPECT_EQ(run.R0.number, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(run.elements[i].flags, 0x10000000) << i;
}

TEST_F(ContourWalkTest, TheAdvanceSkipsPointsCommandsAndArcsTheToolCannotFollow) {
  table.Line(0, 0, 10, 0);        // 0
  table.Point(10, 0);             // 1
  table.Command(0x9900, 0, 0);    // 2
  table.Arc(2.0, 10, 4, 10, 2);   // 3: radius 2 - offset 1.5 < tool radius 1
  table.Arc(-5.0, 15, 9, 10, 9);  // 4
  table.Line(15, 9, 15, 20);      // 5
  LoadTable();
  SetRange(0, 5, 1.5);
  run.job.ToolOffsetNumber = 1;  // cut mode 1
  run.job.ToolRadius = 1.0;
  run.R1 = run.elements[0];
  std::vector<int> walked;
  while (run.AdvanceToNextElement() == 1) walked.push_back(run.R1.number);
  EXPECT_EQ(walked, (std::vector<int>{5, 6}));
  EXPECT_EQ(run.AbortFlag, 0);
}

TEST_F(ContourWalkTest, ARangeRunningAwayFromItsEndStopsBeforeTheNextContour) {
  // The walk would pass its end and go on into elements of other contours:
  // error 11 instead, nothing loaded.
  struct Case {
    int start, end, step;
  };
  for (const Case& c : {Case{3, 1, 1}, Case{1, 3, -1}, Case{1, 3, 0}}) {
    SCOPED_TRACE(c.step);
    table = ElementBuilder{};
    for (int i = 0; i < 6; ++i) table.Line(i, 0, i + 1, 0);
    LoadTable();
    host = RecordingHost{};
    run.AbortFlag = 0;
    SetRange(c.start, c.end, 0.0);
    run.RangeStep = c.step;
    EXPECT_EQ(run.AdvanceToNextElement(), kStopRun);
    EXPECT_EQ(run.AbortFlag, kStopRun);
    ASSERT_FALSE(host.errorBoxes.empty());
    EXPECT_EQ(host.errorBoxes.back(), run.ErrorMessage(11));
  }
}

TEST_F(ContourWalkTest, ARangeNamingNoFigureGroupIsRefusedWithItsCode) {
  table.Line(0, 0, 10, 0);
  NcElement odd{};
  odd.number = 77;
  odd.code = 0x4000;
  const int bad = table.Add(odd);
  const int command = table.Command(0x7100, bad, bad);
  LoadTable();
  AtCommand(command);
  EXPECT_EQ(run.hab_goo(), kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 2u);
  EXPECT_EQ(host.errorBoxes[0], platform::Sjis("GO図形のエラーhab_goo md=4000　No.77"));
  EXPECT_EQ(host.errorBoxes[1], run.ErrorMessage(11));
}

TEST_F(ContourWalkTest, TheTwoAxisCheckLeavesSmallRangesAndTakesAReducedStep) {
  // A staircase: every offset piece meets the next.
  for (int i = 0; i < 3; ++i) {
    table.Line(i * 10.0, i * 10.0, i * 10.0 + 10.0, i * 10.0);
    table.Line(i * 10.0 + 10.0, i * 10.0, i * 10.0 + 10.0, i * 10.0 + 10.0);
  }
  LoadTable();
  // Three elements: nothing to check; the side words are cleared.
  SetRange(0, 2, 1.0);
  run.core.SideCheckFlags = 17;
  run.engine.contour.StyleResult = 2;
  EXPECT_EQ(run.cal_2ax(), 0);
  EXPECT_EQ(run.core.SideCheckFlags, 0);
  EXPECT_EQ(run.engine.contour.StyleResult, 0);
  // A step above 0.5 is taken as 0.425.
  SetRange(0, 5, 1.0);
  run.core.loop.TwoAxisStep = 0.8;
  EXPECT_EQ(run.cal_2ax(), 0);
  EXPECT_DOUBLE_EQ(run.core.loop.TwoAxisStep, 0.425);
  EXPECT_EQ(run.RangeStart, 0);
  EXPECT_EQ(run.RangeEnd, 5);
  EXPECT_DOUBLE_EQ(run.R2.d1, 1.0);
}

TEST_F(ContourWalkTest, ArcsTheOffsetTurnsInsideOutAreConsumedWithinTheRangeOnly) {
  for (const double offset : {2.0, 2.5}) {
    SCOPED_TRACE(offset);
    table = ElementBuilder{};
    table.Line(-10, 0, 0, 0);
    table.Line(0, 0, 10, 0);
    table.Line(10, 0, 10, 10);
    const int arc = table.Arc(2.0, 10, 14, 10, 12);  // the range's last element
    const int after = table.Line(10, 14, 10, 30);    // another contour's
    LoadTable();
    run.elements[after].flags = 0x1234;
    SetRange(0, arc, offset);
    EXPECT_EQ(run.cal_2ax(), 0);
    EXPECT_EQ(run.elements[arc].flags, 0x100FFFFF);
    EXPECT_EQ(run.elements[after].flags, 0x1234);
  }
}

// A chain of lines and arcs whose offset pieces no longer meet: each line
// is followed by an arc turning back under it (centre (x + 13, -4), radius
// 5), so every joint needs a bridge.
static void SawTooth(ElementBuilder& table, int teeth) {
  for (int i = 0; i < teeth; ++i) {
    const double x = i * 16.0;
    table.Line(x, 0, x + 10, 0);
    table.Arc(5.0, x + 16, 0, x + 13, -4);
  }
}

TEST_F(ContourWalkTest, OffsetPiecesThatNoLongerMeetAreBridgedInACopyOfTheRange) {
  SawTooth(table, 2);
  LoadTable();
  const int count = run.elements.ElementCount;
  SetRange(0, 3, 1.0);
  run.job.Value8400 = 0.5;  // the corner radius
  EXPECT_EQ(run.cal_2ax(), 0);
  ASSERT_GT(run.elements.ElementCount, count);
  // The copy: line, bridge, arc, bridge, line ... in walking order.
  const int first = run.RangeStart;
  EXPECT_GT(first, count);
  EXPECT_EQ(run.RangeStep, 1);
  EXPECT_EQ(run.elements[first].number, 1);
  EXPECT_EQ(run.elements[first + 1].code, 0x1300);
  EXPECT_DOUBLE_EQ(run.elements[first + 1].d1, -0.5001);
  EXPECT_EQ(run.elements[first + 1].flags, 0);
  EXPECT_EQ(run.elements[first + 2].number, 2);
  EXPECT_EQ(run.elements[first + 2].flags, 0);
  EXPECT_EQ(run.elements[run.RangeEnd].number, 4);
}

TEST_F(ContourWalkTest, HundredsOfBridgesGrowTheTableFirst) {
  // 400 elements and more bridges than the 300 a fixed list held: every
  // copy lands inside the table (the sanitizers watch), in order.
  SawTooth(table, 200);
  LoadTable();
  const int count = run.elements.ElementCount;
  SetRange(0, count - 1, 1.0);
  EXPECT_EQ(run.cal_2ax(), 0);
  ASSERT_EQ(run.AbortFlag, 0);
  const int bridges = run.RangeEnd - run.RangeStart + 1 - count;
  EXPECT_GT(bridges, 350);
  EXPECT_EQ(run.elements.ElementCount, run.RangeEnd + 1);
  int expectedNumber = 1;
  for (int i = run.RangeStart; i <= run.RangeEnd; ++i) {
    if (run.elements[i].number == 0) continue;  // a bridge
    EXPECT_EQ(run.elements[i].number, expectedNumber++);
  }
  EXPECT_EQ(expectedNumber, count + 1);
}

TEST_F(ContourWalkTest, AnOverrunAfterNothingWasCutWritesNothing) {
  const int command = Square(0);
  AtCommand(command);
  run.R2.code = 0x7400;
  run.engine.call.ContourPassWord = 2;
  run.core.TransformMode = 4;
  EXPECT_EQ(run.ProcessOverrun(), 0);
  EXPECT_EQ(run.core.TransformMode, 4);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(run.Block.Position, 0);
  EXPECT_TRUE(host.listLines.empty());
}

TEST_F(ContourWalkTest, AnOverrunThatFindsNoContourIsAnErrorNotTheEndOfTheData) {
  // The overrun's own range lies apart from the contour: the traversal finds
  // nothing. Outside a call that is error 14, never a quiet end of the run.
  table.Line(0, 0, 100, 0);
  table.Line(0, 50, 100, 50);
  table.Line(100, 50, 200, 50);
  const int overrun = table.Command(0x7400, 1, 2);
  LoadTable();
  AtCommand(overrun);
  run.R0 = run.elements[0];
  run.core.loop.TraverseMarkA = 1;  // both traversal marks agree
  EXPECT_EQ(run.ProcessOverrun(), kStopRun);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_EQ(host.errorBoxes.back(), run.ErrorMessage(14));
}


TEST_F(ContourWalkTest, TheOverrunRepeatsTheCycleWordsOfTheContourAtItsEnd) {
  // An overrun leaving the square at the TO point (50, 20) with offset mode
  // 1 (flag 0x200): the cycle words that the contour's cycle move kept are
  // written again there, "G51" or "G52" by the option bits with the cycle's
  // letter and value, and the further value after the mode letter.
  struct Case {
    int options;
    int count;
    const char* first;
  };
  // The fixture's post writes values without a decimal point, in
  // thousandths.
  for (const Case& k : {Case{0x01, 0, "G51P2500"}, Case{0x02, 1, "G52P2500"}}) {
    SCOPED_TRACE(k.first);
    table = {};
    host = RecordingHost{};
    Square(0);
    NcElement e{};
    e.code = 0x7400;
    e.flags = 0x200;
    e.d2 = 50.0;
    e.d3 = 20.0;
    const int overrun = table.Add(e);
    LoadTable();
    AtCommand(overrun);
    run.R0 = run.elements[3];
    run.engine.contour.SnapshotCommandCode = 0x7100;
    run.output.Cycle.Value = 2.5;
    run.output.Cycle.Letter = 'P';
    run.output.Cycle.Options = k.options;
    run.output.Cycle.Switches = 1;
    run.output.Cycle.Count = k.count;
    run.output.Cycle.Value2 = 7.25;
    ASSERT_EQ(run.ProcessOverrun(), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
    std::string written;
    for (const auto& line : host.listLines) written += std::string(line) + "|";
    ASSERT_FALSE(host.listLines.empty());
    EXPECT_EQ(std::string(host.listLines.front()), k.first) << written;
    // The further value (the second with a cycle count, else the third,
    // here 0) follows in a block of its own only when there is one.
    EXPECT_EQ(host.listLines.size(), k.count != 0 ? 2u : 1u) << written;
  }
}


TEST_F(ContourWalkTest, AReturnPassWithoutAKnownEntryStopsBeforeCuttingAnything) {
  // The contour after an overrun 0x7410 is the return pass of a there-and-
  // back cut; it has no cut-in and enters by the lead that overrun kept.
  // Without one, or with one that stands off the start of an open contour's
  // walk back, it stops at a box naming the missing entry; after a first
  // pass that cut nothing it cuts nothing either.
  struct Case {
    const char* name;
    int keptFor;     // the overrun index the kept lead belongs to (-1: none)
    int nothingCut;  // the first pass cut nothing
    int leadOn;      // the element the kept lead stands on
    int result;
  };
  const Case cases[] = {
      {"no lead kept", -1, 0, 1, kStopRun},
      {"a lead kept by another overrun", 7, 0, 1, kStopRun},
      {"the first pass cut nothing", 2, 1, 1, 0},
      {"the lead off the walk's start of an open contour", 2, 0, 0, kStopRun},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    table = {};
    host = RecordingHost{};
    run.AbortFlag = 0;
    table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 50);
    NcElement between{};
    between.code = 0x7410;
    table.Add(between);
    const int back = table.Command(0x7100, 0, 1, 5.0);
    table.records[static_cast<std::size_t>(back)].flags = 0x50003;
    LoadTable();
    AtCommand(back);
    run.engine.call.ContourPassWord = 0;
    run.core.loop.ReturnLeadCommand = k.keptFor;
    run.core.loop.ReturnNothingCut = k.nothingCut;
    run.core.loop.ReturnLeadElement = k.leadOn;
    run.core.loop.ReturnLead = NcElement{};
    run.core.loop.ReturnLead.code = 0x1200;
    run.core.loop.ReturnLead.d2 = -1.0;  // out of the last side to (80, 50)
    run.core.loop.ReturnLead.d6 = 80.0;
    run.core.loop.ReturnLead.d7 = 50.0;
    EXPECT_EQ(run.hab_goo(), k.result);
    if (k.result == kStopRun) {
      ASSERT_EQ(host.errorBoxes.size(), 1u);
      EXPECT_NE(host.errorBoxes[0].find("2014"), std::string::npos) << host.errorBoxes[0];
    } else {
      EXPECT_TRUE(host.errorBoxes.empty()) << host.errorBoxes.front();
      EXPECT_EQ(run.engine.call.ContourPassWord, 2);
      EXPECT_EQ(run.core.loop.ReturnLeadCommand, -1);  // used once
    }
    EXPECT_TRUE(host.listLines.empty());
  }
}

TEST_F(ContourWalkTest, TheOverrunBeforeAReturnPassEndsTheCallGroupItRunsIn) {
  // A depth call (kind 0: from -2 by -3 to -5) over a square cut there and
  // back; the group is the two passes with the overruns after them. The
  // overrun between the passes (0x7410) ends a depth pass: at -2 the call
  // steps on to -5 and the group goes on with the return pass; at -5 the
  // call is finished and the overrun leaves the group: the walks above the
  // call's level end (the stop result, with no error), the call's frame
  // moves on to the group's closing overrun, and the next command runs as a
  // contour element again. A plain overrun ends no group, and a call that
  // is over is not finished again by a later 0x7410.
  struct Case {
    const char* name;
    int code;
    double value;  // the call's value before the overrun
    bool callRunning;
    int result;
    double valueAfter;
    std::uint32_t depthAfter;
    bool groupGoesOn;  // else the call's frame is at the closing overrun
  };
  const Case cases[] = {
      {"0x7410 at -2", 0x7410, -2.0, true, 0, -5.0, 2, true},
      {"0x7410 at the final value", 0x7410, -5.0, true, kStopRun, 0.0, 1, false},
      {"0x7400 at -2", 0x7400, -2.0, true, 0, -2.0, 2, true},
      {"0x7410 after the call", 0x7410, -2.0, false, 0, -2.0, 2, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    table = {};
    host = RecordingHost{};
    for (const auto& [x0, y0, x1, y1] : {std::array<double, 4>{0, 0, 100, 0}, {100, 0, 100, 100},
                                         {100, 100, 0, 100}, {0, 100, 0, 0}}) {
      table.Line(x0, y0, x1, y1);
    }
    NcElement call{};
    call.code = 0x7800;
    call.d1 = -2.0;
    call.d2 = -3.0;
    call.d3 = -5.0;
    const int callIndex = table.Add(call);
    table.Command(0x7100, 0, 3);
    NcElement between{};
    between.code = k.code;
    between.d2 = 50.0;
    between.d3 = 20.0;
    const int overrun = table.Add(between);
    table.records[static_cast<std::size_t>(table.Command(0x7100, 0, 3))].flags = 0x50000;
    NcElement closing{};
    closing.code = 0x7400;
    const int closingIndex = table.Add(closing);
    LoadTable();
    AtCommand(overrun);
    run.job.CallDepth = 2;
    run.job.CallStack[1] = {static_cast<std::uint32_t>(callIndex), static_cast<std::uint32_t>(closingIndex)};
    run.job.CallStack[2] = {static_cast<std::uint32_t>(overrun), static_cast<std::uint32_t>(closingIndex)};
    run.job.CallOnActive = 1;
    run.engine.call.RecordedDepth = 1;
    run.engine.call.CallRepeatCount = k.callRunning ? 1 : 0;
    run.CallRecord().d0 = k.value;
    run.CallRecord().d4 = JoinFixedPoint(static_cast<std::uint32_t>(callIndex), 0);
    run.CallRecord().d5 = JoinFixedPoint(1, 1);
    run.R0 = run.elements[3];
    run.engine.contour.SnapshotCommandCode = 0x7100;
    run.core.TransformMode = 4;

    EXPECT_EQ(run.ProcessOverrun(), k.result);
    EXPECT_EQ(run.AbortFlag, 0);
    EXPECT_TRUE(host.errorBoxes.empty()) << host.errorBoxes.front();
    EXPECT_DOUBLE_EQ(run.CallRecord().d0, k.valueAfter);
    EXPECT_EQ(run.job.CallDepth, k.depthAfter);
    EXPECT_EQ(run.core.TransformMode, 4);
    if (k.groupGoesOn) {
      EXPECT_EQ(run.job.CallStack[1].Current, static_cast<std::uint32_t>(callIndex));
      EXPECT_EQ(run.output.PendingCommandWord, 0);
      EXPECT_EQ(run.core.loop.ConsumedGuard, k.code == 0x7410 ? 0xFFFF : 0);
    } else {
      EXPECT_EQ(run.job.CallStack[1].Current, static_cast<std::uint32_t>(closingIndex));
      EXPECT_EQ(run.output.PendingCommandWord, 6);
      EXPECT_EQ(run.core.loop.GroupEndFlag, 0);
      EXPECT_EQ(run.core.loop.ConsumedGuard, 0);
      EXPECT_EQ(run.engine.call.CallRepeatCount, 0);  // the call is over
    }
  }
}

TEST_F(ContourWalkTest, AOneShotRunWithNoOverrunCommandInReachStops) {
  // A one-shot run (0x7301) takes its end from the overrun command that
  // follows its contour command; a job that has none, or only another
  // run's (one before the command, or one after the next contour), stops
  // with error 14 rather than cut to someone else's boundary.
  enum class Other { kNone, kBefore, kAfterTheNextContour };
  for (const Other other : {Other::kNone, Other::kBefore, Other::kAfterTheNextContour}) {
    SCOPED_TRACE(static_cast<int>(other));
    table = {};
    host = RecordingHost{};
    run.AbortFlag = 0;
    table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 100);
    table.Line(100, 100, 0, 100);
    table.Line(0, 100, 0, 0);
    if (other == Other::kBefore) table.Command(0x7400, 0, 0);
    const int command = table.Command(0x7100, 0, 3);
    if (other == Other::kAfterTheNextContour) {
      table.Command(0x7100, 0, 3);
      table.Command(0x7400, 0, 0);
    }
    LoadTable();
    AtCommand(command);
    run.engine.contour.OneShotMark = 1;
    NcElement reference{};
    reference.code = 0x1200;
    reference.d2 = 0.0;
    reference.d3 = 1.0;
    reference.d4 = reference.d6 = 50.0;
    reference.d5 = reference.d7 = -20.0;
    run.engine.contour.ReferenceSlot = reference;
    EXPECT_EQ(run.hab_goo(), kStopRun);
    ASSERT_FALSE(host.errorBoxes.empty());
    EXPECT_EQ(host.errorBoxes.back(), run.ErrorMessage(14));
  }
}

}  // namespace
}  // namespace qup::testing
