// Element stepping on hand-built surfaces. The swept surface (XZ form, 0x33)
// has the section z = y + 1 (a line in the (y, z) plane) and the guide
// z = x + 5 (a line in the (x, z) plane): at (x, y) its height is
// (y + 1) + (x + 5). Each range starts with a vertical lead line, so that the
// ray search from the point runs along Z and meets the sloped line.
#include <array>
#include <cmath>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

class ElementSteppingTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    table.Point(0.0, 0.0);  // index 0: the stream's first record
    sectionLead = table.Line(-100.0, -50.0, -100.0, 50.0);
    table.Line(-100.0, -99.0, 100.0, 101.0);  // z = y + 1
    guideLead = table.Line(-100.0, -50.0, -100.0, 50.0);
    table.Line(-100.0, -95.0, 100.0, 105.0);   // z = x + 5
    axis = table.Line(0.0, -10.0, 0.0, 10.0);  // the mirror axis x = 0
    sweep = table.Command(0x3300, guideLead, guideLead + 1);
    table.records[sweep].flags = 2;  // the section's height adds to the guide's
    table.records[sweep].d1 = Range(sectionLead, sectionLead + 1);
  }

  static double Range(int first, int last) {
    return JoinFixedPoint(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last));
  }

  // A modifier element (0x3700) with its kind in flags & 0xF00.
  int Modifier(int kind, double d1 = 0.0, double d4 = 0.0, double d5 = 0.0) {
    NcElement e{};
    e.code = 0x3700;
    e.flags = kind;
    e.d1 = d1;
    e.d4 = d4;
    e.d5 = d5;
    return table.Add(e);
  }
  // A reform command over `command` with the modifiers first..last.
  int Reform(int command, int first, int last) {
    NcElement e{};
    e.code = 0x3600;
    e.d1 = Range(first, last);
    e.d4 = Range(command, command);
    return table.Add(e);
  }

  // Steps the command at `index` from the point (x, y).
  int Step(int index, double x, double y) {
    run.R0.d4 = x;
    run.R0.d5 = y;
    run.ElementIndex = index;
    run.StepMode = 0;
    return run.StepElement(0);
  }

  // The registers and range words a step must give back.
  struct Snapshot {
    std::array<NcElement, 4> registers;
    int start, end, step, options, offsetMode;
  };
  Snapshot Take() {
    return {run.registers.R, run.RangeStart, run.RangeEnd, run.RangeStep, run.RangeOptions, run.core.OffsetMode};
  }
  void ExpectSame(const Snapshot& before) {
    for (int r = 0; r < 4; ++r) {
      const auto a = before.registers[static_cast<std::size_t>(r)].DoubleValues();
      const auto b = run.registers.R[static_cast<std::size_t>(r)].DoubleValues();
      EXPECT_EQ(a, b) << "register R" << r;
    }
    EXPECT_EQ(run.RangeStart, before.start);
    EXPECT_EQ(run.RangeEnd, before.end);
    EXPECT_EQ(run.RangeStep, before.step);
    EXPECT_EQ(run.RangeOptions, before.options);
    EXPECT_EQ(run.core.OffsetMode, before.offsetMode);
    EXPECT_EQ(run.registers.RegisterStackDepth, 0);
  }

  void PrepareRegisters() {
    run.R1.d7 = -1.0;
    run.R2.d1 = 0.25;
    run.R3.d0 = 0.5;
    run.RangeStart = 3;
    run.RangeEnd = 4;
    run.RangeStep = 1;
    run.RangeOptions = 0;
  }

  int sectionLead = 0, guideLead = 0, axis = 0, sweep = 0;
};

TEST_F(ElementSteppingTest, SweptSurfaceHeightWithTheRegistersGivenBack) {
  LoadTable();
  PrepareRegisters();
  const Snapshot before = Take();
  ASSERT_EQ(Step(sweep, 3.0, 2.0), 1) << host.errorBoxes.size();
  EXPECT_NEAR(run.core.ToolPointZ, (2.0 + 1.0) + (3.0 + 5.0), 1e-9);
  EXPECT_NEAR(run.R1.d7, run.core.ToolPointZ, 1e-12);
  Snapshot after = before;
  after.registers[kR0].d4 = 3.0;
  after.registers[kR0].d5 = 2.0;
  after.registers[kR1].d7 = run.R1.d7;
  ExpectSame(after);
  EXPECT_EQ(run.AbortFlag, 0);
}

TEST_F(ElementSteppingTest, BothSweptFormsTakeTheirCoordinates) {
  // Along a guide z = 2t + 5: the XZ form (0x33) takes the guide at x and
  // the section at y, the YZ form (0x32) the guide at y and the section at x.
  const int lead = table.Line(-100.0, -50.0, -100.0, 50.0);
  table.Line(-100.0, -195.0, 100.0, 205.0);
  const int xz = table.Command(0x3300, lead, lead + 1);
  const int yz = table.Command(0x3200, lead, lead + 1);
  for (int command : {xz, yz}) {
    table.records[command].flags = 2;
    table.records[command].d1 = Range(sectionLead, sectionLead + 1);
  }
  LoadTable();
  const struct {
    int command;
    double z;
  } cases[] = {{xz, (2.0 + 1.0) + (2.0 * 3.0 + 5.0)}, {yz, (3.0 + 1.0) + (2.0 * 2.0 + 5.0)}};
  for (const auto& c : cases) {
    PrepareRegisters();
    ASSERT_EQ(Step(c.command, 3.0, 2.0), 1);
    EXPECT_NEAR(run.core.ToolPointZ, c.z, 1e-9) << std::hex << run.elements[c.command].code;
  }
}

TEST_F(ElementSteppingTest, ReformModifiersActOnThePoint) {
  const int shift = Modifier(0x000, 0.0, 1.0, 1.0);
  const int zShift = Modifier(0x100, 0.5);
  const int mirror = Modifier(0x400, Range(axis, axis));
  const struct {
    int first, last;
    double lastX, lastY, z;
  } cases[] = {
      {shift, shift, 2.0, 1.0, 2.0 + 7.0},     // the point moves by (-1, -1)
      {zShift, zShift, 3.0, 2.0, 11.0 + 0.5},  // the height rises by the Z shift
      {mirror, mirror, -3.0, 2.0, 3.0 + 2.0},  // mirrored about x = 0
      {shift, zShift, 2.0, 1.0, 9.0 + 0.5},    // both, the last one first
  };
  std::vector<int> reforms;
  for (const auto& c : cases) reforms.push_back(Reform(sweep, c.first, c.last));
  LoadTable();
  for (std::size_t i = 0; i < reforms.size(); ++i) {
    const auto& c = cases[i];
    PrepareRegisters();
    ASSERT_EQ(Step(reforms[i], 3.0, 2.0), 1) << i;
    EXPECT_NEAR(run.engine.stepping.LastStepPoint[0], c.lastX, 1e-12) << i;
    EXPECT_NEAR(run.engine.stepping.LastStepPoint[1], c.lastY, 1e-12) << i;
    EXPECT_NEAR(run.core.ToolPointZ, c.z, 1e-9) << i;
    EXPECT_EQ(run.R0.d4, 3.0) << i;  // the caller's point is given back
    EXPECT_EQ(run.registers.RegisterStackDepth, 0);
  }
}

TEST_F(ElementSteppingTest, FailedStepsStopWithTheirErrorAndGiveEverythingBack) {
  const int badModifier = Modifier(0x500);
  const int offset = Modifier(0x300, 2.0);
  const int unknownKind = table.Command(0x3400, guideLead, guideLead + 1);
  const int badReform = Reform(sweep, badModifier, badModifier);
  const int offsetUnknown = Reform(unknownKind, offset, offset);
  const struct {
    int command;
    int error;
  } cases[] = {{badReform, 24}, {unknownKind, 5}, {offsetUnknown, 25}};
  LoadTable();
  for (const auto& c : cases) {
    PrepareRegisters();
    run.AbortFlag = 0;
    run.engine.stepping.StepFlags = 0;
    host.errorBoxes.clear();
    run.R0.d4 = 3.0;
    run.R0.d5 = 2.0;
    const Snapshot before = Take();
    EXPECT_EQ(Step(c.command, 3.0, 2.0), 0);
    ASSERT_EQ(host.errorBoxes.size(), 1u) << c.error;
    EXPECT_NE(host.errorBoxes[0].find("ERROR." + std::to_string(2000 + c.error)), std::string::npos)
        << host.errorBoxes[0];
    ExpectSame(before);
    EXPECT_EQ(run.engine.stepping.StepFlags & 0x81, 0);  // the offset sum has ended
  }
}

TEST_F(ElementSteppingTest, IndicesPastTheTableStopWithError11AndGiveEverythingBack) {
  // Every index a step takes from the stream goes through the checked load:
  // one past the table (a damaged hand-over) stops with error 11.
  constexpr int kPast = 9999;
  const int farModifiers = Reform(sweep, kPast - 1, kPast);
  const int farMirror = Modifier(0x400, Range(kPast, kPast));
  const int farAxis = Reform(sweep, farMirror, farMirror);
  const struct {
    const char* name;
    int command;
    bool fromFrame;  // the frame of the last move names the command (frame index)
  } cases[] = {
      {"modifiers past the table", farModifiers, false},
      {"mirror axis past the table", farAxis, false},
      {"frame naming a command past the table", sweep, true},
  };
  LoadTable();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrepareRegisters();
    run.AbortFlag = 0;
    run.engine.stepping.StepFlags = 0;
    host.errorBoxes.clear();
    run.R0.d4 = 3.0;
    run.R0.d5 = 2.0;
    const Snapshot before = Take();
    run.ElementIndex = c.command;
    run.StepMode = 0;
    if (c.fromFrame) {
      run.StepMode = 0xFFFF;  // the move comes from the current frame
      run.core.CurrentFrame = FrameRef::Slot52;
      NcElement& frame = run.Slot(SaveSlot::Slot52);
      frame.flags = 0x110;  // the frame names a command: its d5
      frame.d5 = kPast;
    }
    EXPECT_EQ(run.StepElement(0), 0);
    ASSERT_EQ(host.errorBoxes.size(), 1u);
    EXPECT_NE(host.errorBoxes[0].find("ERROR.2011"), std::string::npos) << host.errorBoxes[0];
    ExpectSame(before);
  }
}

TEST_F(ElementSteppingTest, RotationComponentsBelowOneBillionthAreZero) {
  // Flags above 15 turn the normal by the step frame's direction; a frame
  // along Y (with cos 90 degrees left as 6e-17) gives I = 0 exactly.
  LoadTable();
  PrepareRegisters();
  run.elements[sweep].flags = 0x12;
  run.elements[sweep].d2 = Range(guideLead, guideLead + 1);  // the developed figure
  run.engine.stepping.StepFrame.d2 = -std::cos(kPi / 2.0);
  run.engine.stepping.StepFrame.d3 = 1.0;
  run.engine.stepping.ScratchPair = {1.0, 0.0};
  run.core.ToolNormal = {0.0, 0.0, 1.0};
  ASSERT_EQ(Step(sweep, 3.0, 2.0), 1) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
  EXPECT_EQ(run.core.ToolNormal[0], 0.0);
}

TEST_F(ElementSteppingTest, RotationSurfaceStepsThroughTheMotionMachine) {
  // A 0x35 command: the motion of kind 0 hands its stored end values over.
  const int rotation = table.Command(0x3500, sectionLead, sectionLead + 1);
  LoadTable();
  PrepareRegisters();
  NcElement& start = run.core.StoredStatePairs[0][0];
  start.d0 = 4.0;  // distance from the axis
  start.d1 = 7.0;  // height
  start.d2 = 1.0;
  ASSERT_EQ(Step(rotation, 3.0, 2.0), 1);
  EXPECT_DOUBLE_EQ(run.core.ToolPointZ, 7.0);
  EXPECT_DOUBLE_EQ(run.R1.d7, 7.0);
  EXPECT_EQ(run.R0.d4, 3.0);
}

}  // namespace
}  // namespace qup::testing
