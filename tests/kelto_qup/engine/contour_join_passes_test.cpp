// The join of consecutive contour elements and the pass driver: point
// joins, crossings, parallel elements outside and inside the walk, elements
// that are no geometry; pass kinds, the depth step, the transformation
// chain and the bounds of the pass list and the chain.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

#include "platform/text.h"

namespace qup::testing {
namespace {

NcElement LineElement(double px, double py, double dx, double dy) {
  NcElement e{};
  e.code = 0x1200;
  e.d2 = dx;
  e.d3 = dy;
  e.d4 = px;
  e.d5 = py;
  e.d6 = px;
  e.d7 = py;
  return e;
}

class ContourJoinTest : public EngineCoreTest {};

TEST_F(ContourJoinTest, JoinCases) {
  // An empty current element has nothing to join.
  run.R0 = NcElement{};
  run.R0.code = 0x1001;
  run.R1 = LineElement(5, 5, 0, 1);
  EXPECT_EQ(run.cal303(), 1);
  EXPECT_EQ(run.R1.d4, 5.0);

  // A point next: the current element ends at the point.
  run.R0 = LineElement(0, 0, 1, 0);
  run.R1 = NcElement{};
  run.R1.code = 0x1100;
  run.R1.d4 = 7.0;
  run.R1.d5 = 3.0;
  EXPECT_EQ(run.cal303(), 1);
  EXPECT_EQ(run.R0.d4, 7.0);
  EXPECT_EQ(run.R0.d5, 3.0);

  // Two lines that cross: the current one ends at the crossing.
  run.R0 = LineElement(0, 2, 1, 0);
  run.R1 = LineElement(10, -50, 0, 1);
  EXPECT_EQ(run.cal303(), 1);
  EXPECT_NEAR(run.R0.d4, 10.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 2.0, 1e-12);
  EXPECT_EQ(run.AbortFlag, 0);
}

TEST_F(ContourJoinTest, ParallelLinesStopOnlyOutsideTheWalk) {
  // Outside the contour walk two parallel lines have no crossing: error 16.
  run.core.TransformMode = 2;
  run.R0 = LineElement(0, 0, 1, 0);
  run.R1 = LineElement(0, 5, 1, 0);
  EXPECT_EQ(run.cal303(), 0);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_NE(host.errorBoxes.back().find("2016"), std::string::npos);

  // Inside it the current line goes on to where the next one begins.
  run.AbortFlag = 0;
  run.core.TransformMode = 4;
  run.R0 = LineElement(0, 0, 1, 0);
  run.R1 = LineElement(30, 0, 1, 0);
  EXPECT_EQ(run.cal303(), 1);
  EXPECT_EQ(run.AbortFlag, 0);
  EXPECT_EQ(run.R0.d4, 30.0);
}

TEST_F(ContourJoinTest, CornersOfOffsetLines) {
  // The square's corner at (100, 0), bottom edge along +X then up, both
  // lines already offset by the walk (offset to the left of travel).
  struct Case {
    double offset;
    bool marker;  // a round corner is built about the joint
    double endX, endY;
  };
  const Case cases[] = {
      {-5.0, true, 100.0, -5.0},  // outside: ends beside the joint, R5 round it
      {5.0, false, 95.0, 5.0},    // inside: cut at the crossing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    run.AbortFlag = 0;
    run.core.TransformMode = 4;
    run.core.OffsetMode = 1;
    run.R2 = NcElement{};
    run.R2.code = 0x7100;
    run.R2.d1 = c.offset;
    run.RangeStart = run.RangeStep = 1;
    run.R0 = LineElement(50, c.offset, 1, 0);
    run.R1 = LineElement(100 - c.offset, 0, 0, 1);
    ASSERT_EQ(run.cal303(), 1);
    EXPECT_NEAR(run.R0.d4, c.endX, 1e-12);
    EXPECT_NEAR(run.R0.d5, c.endY, 1e-12);
    const bool marker = run.R1.code == 0x1001 && run.R1.flags == 0x11300;
    EXPECT_EQ(marker, c.marker);
    if (!marker) continue;
    // The next element is fetched again after the corner, which turns
    // counter-clockwise about the joint (100, 0) to (105, 0).
    EXPECT_EQ(run.RangeStart, 0);
    EXPECT_EQ(run.R1.d1, c.offset);
    EXPECT_EQ(run.R1.d0, 1.0);
    EXPECT_NEAR(run.R1.d4, 105.0, 1e-12);
    EXPECT_NEAR(run.R1.d5, 0.0, 1e-12);
    EXPECT_NEAR(run.R1.d6, 100.0, 1e-12);
    EXPECT_NEAR(run.R1.d7, 0.0, 1e-12);
  }
}

TEST_F(ContourJoinTest, ElementThatIsNoGeometryIsNamed) {
  run.R0 = LineElement(0, 0, 1, 0);
  run.R1 = NcElement{};
  run.R1.code = 0x3100;
  run.R1.number = 42;
  EXPECT_EQ(run.cal303(), 0);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_GE(host.errorBoxes.size(), 2u);
  EXPECT_EQ(host.errorBoxes[0], platform::Sjis("GO図形のエラーcal303　bNo.42"));
}

// Corners whose drawn elements touch or just miss: no crossing can be
// constructed, the fit finds the joint. Drawn: the line y = 0 along +X (or
// an arc of R10 about the origin, counter-clockwise to (10, 0)) meeting
// a circle of R10 or R20 that misses it by `gap`; offset 5 to the right.
TEST_F(ContourJoinTest, TheFitFindsTheJointOfElementsThatOnlyTouch) {
  constexpr double kOffset = -5.0;
  struct Case {
    const char* name;
    bool arcFirst;
    double gap;
    int transformMode;  // 4: corrections compared rounded to 0.001
    bool converges;
    double jointX, jointY;  // hand-computed: half the gap from each
  };
  const Case cases[] = {
      {"line touching a circle, walk", false, 0.0002, 4, true, 50.0, 0.0001},
      {"line touching a circle, exact", false, 0.0002, 2, true, 50.0, 0.0001},
      {"arc touching an arc, exact", true, 0.0002, 2, true, 10.0001, 0.0},
      {"a gap the fit cannot close", false, 1.0, 4, false, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    run.AbortFlag = 0;
    host.errorBoxes.clear();
    run.core.TransformMode = c.transformMode;
    run.RangeStart = run.RangeStep = 1;
    run.engine.contour.CornerOffset = kOffset;
    if (c.arcFirst) {
      // Counter-clockwise R10 about the origin, offset outwards to R15;
      // then clockwise R10 about (20 + gap, 0), offset inwards to R5.
      run.R0 = NcElement{};
      run.R0.code = 0x1300;
      run.R0.d1 = 10.0 - kOffset;
      run.R0.d2 = -1.0;  // the end's unit radius, towards the centre
      run.R0.d4 = 15.0;
      run.R0.d6 = 0.0;
      run.R0.d7 = 0.0;
      run.R1 = NcElement{};
      run.R1.code = 0x1300;
      run.R1.d1 = -10.0 - kOffset;
      run.R1.d4 = 20.0 + c.gap;
    } else {
      run.R0 = LineElement(50, kOffset, 1, 0);
      run.R0.d6 = 0.0;
      run.R1 = NcElement{};
      run.R1.code = 0x1300;
      run.R1.d1 = 20.0 - kOffset;
      run.R1.d4 = 50.0;
      run.R1.d5 = 20.0 + c.gap;
    }
    const int result = run.FitCorner();
    if (!c.converges) {
      // 1024 corrections, then the run stops with the fit's error, the
      // smallest correction kept for its message.
      EXPECT_EQ(result, kStopRun);
      EXPECT_EQ(run.AbortFlag, kStopRun);
      ASSERT_FALSE(host.errorBoxes.empty());
      EXPECT_NE(host.errorBoxes.back().find("2013"), std::string::npos) << host.errorBoxes.back();
      EXPECT_NEAR(run.engine.contour.CornerFitCorrection, c.gap, 1e-9);
      continue;
    }
    ASSERT_EQ(result, 1);
    EXPECT_EQ(run.AbortFlag, 0);
    const auto& w = run.engine.contour;
    EXPECT_NEAR(w.CornerJoint[0], c.jointX, 0.0001);
    EXPECT_NEAR(w.CornerJoint[1], c.jointY, 0.0001);
    // Both elements are tangent at the joint: the tool stands beside it,
    // at the same place from either side.
    const double px = c.arcFirst ? 15.0 : 50.0, py = c.arcFirst ? 0.0 : kOffset;
    EXPECT_NEAR(w.CornerP[0], px, 0.001);
    EXPECT_NEAR(w.CornerP[1], py, 0.001);
    EXPECT_NEAR(w.CornerQ[0], px, 0.001);
    EXPECT_NEAR(w.CornerQ[1], py, 0.001);
  }
}

class ContourPassesTest : public EngineCoreTest {
 protected:
  // A pass element of the kind whose frame turns by (c, s) about `origin`
  // and then shifts by `shift` (the element keeps the shift in d6/d7 and
  // the origin in d4/d5; the pass exchanges them).
  int PassElement(int kind, double c = 1.0, double s = 0.0, std::array<double, 2> origin = {},
                  std::array<double, 2> shift = {}, int code = 0x6000) {
    NcElement e{};
    e.code = code;
    e.flags = kind;
    e.d2 = c;
    e.d3 = s;
    e.d4 = origin[0];
    e.d5 = origin[1];
    e.d6 = shift[0];
    e.d7 = shift[1];
    return table.Add(e);
  }
  void Passes(std::initializer_list<int> entries) {
    run.engine.contour.PassList.fill(0);
    std::size_t i = 0;
    for (const int entry : entries) run.engine.contour.PassList[i++] = entry;
  }
};

// Each pass places the point in its frame, starting from where the pass
// before it left the registers. Kind 0 runs in the stepped run only, kind 1
// in the plain run only, kind 2 in both, turning the plain run's frame the
// other way round its point (its shift is cleared), kind 3 never.
TEST_F(ContourPassesTest, PassKindsChooseTheRunsAndEachPassGoesOnFromTheLast) {
  struct Case {
    int kind;
    bool stepped;
    double x, y;  // where (20, 0) is placed
  };
  const Case cases[] = {
      {0, false, 20.0, 0.0},  {0, true, 23.0, 4.0},   {1, false, 23.0, 4.0}, {1, true, 20.0, 0.0},
      {2, false, 10.0, -10.0}, {2, true, 10.0, 10.0}, {3, false, 20.0, 0.0}, {3, true, 20.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind << (c.stepped ? " stepped" : " plain"));
    table = ElementBuilder{};
    table.Line(0, 0, 1, 0);
    // Kinds 0, 1, 3 shift by (3, 4); kind 2 turns a quarter about (10, 0).
    const int pass = c.kind == 2 ? PassElement(2, 0.0, 1.0, {10.0, 0.0}, {3.0, 4.0}) : PassElement(c.kind, 1.0, 0.0, {}, {3.0, 4.0});
    LoadTable();
    Passes({pass});
    run.AbortFlag = 0;
    // Whatever the save area held before must not come back.
    run.engine.contour.PassSaveArea.fill(LineElement(999, 999, 1, 0));
    run.R0 = LineElement(20, 0, 1, 0);
    run.R1 = LineElement(50, 50, 0, 1);
    run.R1.d7 = -5.0;
    run.R3 = NcElement{};
    run.R3.d0 = 1.5;
    ASSERT_EQ(run.RunPassList(c.stepped ? 0xFFFF : 0), 0);
    EXPECT_NEAR(run.R0.d4, c.x, 1e-12);
    EXPECT_NEAR(run.R0.d5, c.y, 1e-12);
    EXPECT_EQ(run.R1.d4, 50.0);
    EXPECT_EQ(run.R1.d7, -5.0);
    EXPECT_EQ(run.R3.d0, 1.5);
    // The save area holds what the pass left.
    EXPECT_EQ(run.engine.contour.PassSaveArea[0].d4, run.R0.d4);
    EXPECT_EQ(run.engine.contour.PassSaveArea[0].d5, run.R0.d5);
    EXPECT_EQ(run.engine.contour.PassSaveArea[1].d7, -5.0);
  }

  // Two passes: the second places what the first placed.
  table = ElementBuilder{};
  table.Line(0, 0, 1, 0);  // index 0 would end the list
  const int first = PassElement(1, 1.0, 0.0, {}, {3.0, 4.0});
  const int second = PassElement(1, 0.0, 1.0, {0.0, 0.0}, {0.0, 0.0});  // a quarter turn about the origin
  LoadTable();
  Passes({first, second});
  run.R0 = LineElement(20, 0, 1, 0);
  run.WorkVectorX() = 1.0;
  run.WorkVectorY() = 0.0;
  ASSERT_EQ(run.RunPassList(0), 0);
  EXPECT_NEAR(run.R0.d4, -4.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 23.0, 1e-12);
  // The work direction turned with the second frame.
  EXPECT_NEAR(run.WorkVectorX(), 0.0, 1e-12);
  EXPECT_NEAR(run.WorkVectorY(), 1.0, 1e-12);
  // R2 holds the last pass element as in the table, its radius moved on.
  EXPECT_EQ(run.R2.d3, 1.0);
  EXPECT_EQ(run.R2.d1, 0.0);
  EXPECT_EQ(run.engine.contour.PassIndex, second);
}

TEST_F(ContourPassesTest, APassElementWithARadiusStopsAfterItsFrameIsPlaced) {
  table.Line(0, 0, 1, 0);
  NcElement e{};
  e.code = 0x6000;
  e.flags = 1;
  e.d1 = 2.0;
  e.d2 = 1.0;
  e.d6 = 3.0;
  e.d7 = 4.0;
  const int pass = table.Add(e);
  LoadTable();
  Passes({pass});
  run.R0 = LineElement(20, 0, 1, 0);
  run.engine.contour.PassDirection = {0.5, 0.5};
  EXPECT_EQ(run.RunPassList(0), kStopRun);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_NE(host.errorBoxes.back().find("2004"), std::string::npos) << host.errorBoxes.back();
  // The frame was placed first; the radius went to d4 and d2, and d3 took
  // the placed Y.
  EXPECT_NEAR(run.R0.d4, 23.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 4.0, 1e-12);
  EXPECT_EQ(run.R2.d1, 0.0);
  EXPECT_EQ(run.R2.d4, 2.0);
  EXPECT_EQ(run.R2.d2, 2.0);
  EXPECT_NEAR(run.R2.d3, 4.0, 1e-12);
  // Nothing after the stop: the pass direction is not cleared.
  EXPECT_EQ(run.engine.contour.PassDirection[0], 0.5);
}

// The frame at (10, 20) turned a quarter, shifted by (1, 2). Mode 0 places
// the point and turns the tool normal's (I, J); 16 places (Y, height) in
// the side plane and turns both direction pairs; any other mode places the
// point's X from the tool normal's pair (placement switch 0, which then
// saves the registers and takes the pass element back) or from the pass
// direction.
TEST_F(ContourPassesTest, PlacePassFrameByItsMode) {
  struct Case {
    int mode, placementSwitch;
    double x, y, height;
    std::array<double, 2> normal, pass;
  };
  const Case cases[] = {
      {0, 0xFFFF, 11.0, 27.0, 7.0, {0.0, 1.0}, {0.0, 2.0}},
      {16, 0xFFFF, 15.0, 24.0, 32.0, {0.0, 1.0}, {-2.0, 0.0}},
      {32, 0xFFFF, 29.0, 20.0, 7.0, {1.0, 0.0}, {0.0, 2.0}},
      {32, 0, 31.0, 20.0, 7.0, {1.0, 0.0}, {0.0, 2.0}},
  };
  const int pass = PassElement(1);
  LoadTable();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " switch " << c.placementSwitch);
    auto& w = run.engine.contour;
    w.PassIndex = pass;
    w.PassFrameMode = c.mode;
    w.PlacementSwitch = c.placementSwitch;
    w.PassDirection = {0.0, 2.0};
    run.core.ToolNormal = {1.0, 0.0, 0.5};
    run.R2 = NcElement{};
    run.R2.d2 = 0.0;
    run.R2.d3 = 1.0;
    run.R2.d4 = 1.0;
    run.R2.d5 = 2.0;
    run.R2.d6 = 10.0;
    run.R2.d7 = 20.0;
    run.R0 = LineElement(15, 20, 1, 0);
    run.R1 = NcElement{};
    run.R1.d7 = 7.0;
    run.WorkVectorX() = 1.0;
    run.WorkVectorY() = 0.0;
    ASSERT_EQ(run.PlacePassFrame(), 0);
    EXPECT_NEAR(run.R0.d4, c.x, 1e-12);
    EXPECT_NEAR(run.R0.d5, c.y, 1e-12);
    EXPECT_NEAR(run.R1.d7, c.height, 1e-12);
    EXPECT_NEAR(run.core.ToolNormal[0], c.normal[0], 1e-12);
    EXPECT_NEAR(run.core.ToolNormal[1], c.normal[1], 1e-12);
    EXPECT_EQ(run.core.ToolNormal[2], 0.5);
    EXPECT_NEAR(w.PassDirection[0], c.pass[0], 1e-12);
    EXPECT_NEAR(w.PassDirection[1], c.pass[1], 1e-12);
    EXPECT_NEAR(run.WorkVectorX(), 0.0, 1e-12);
    EXPECT_NEAR(run.WorkVectorY(), 1.0, 1e-12);
    if (c.placementSwitch == 0) {
      EXPECT_EQ(w.PassSaveArea[0].d4, run.R0.d4);
      EXPECT_EQ(run.R2.flags, 1);  // the pass element again
      EXPECT_EQ(run.R2.d6, 0.0);
    } else {
      EXPECT_EQ(run.R2.d6, 10.0);  // the frame stays
    }
  }
}

// After the passes the work direction comes from the pass direction (the
// element's left normal without one, length 1), an arc's radius takes the
// pass offset, less the correction value while the correction switch is 0,
// on the side of the cross product, and the element's values are kept as
// the previous element's.
TEST_F(ContourPassesTest, TheWorkDirectionAndAnArcsRadiusAfterThePasses) {
  struct Case {
    const char* name;
    double radius;
    std::array<double, 2> pass;
    int correctionSwitch;
    double radiusAfter, length, cross;
  };
  const Case cases[] = {
      {"a line without a pass direction", 0.0, {0.0, 0.0}, 0, 0.0, 1.0, 1.0},
      {"an arc without a pass direction takes no offset", 10.0, {0.0, 0.0}, 0, 10.0, 1.0, 1.0},
      // Offset -(1.5 x 2) = -3, less the correction 0.25: the radius 10 - 3.25.
      {"an arc with the pass direction on its left", 10.0, {0.0, 2.0}, 0, 6.75, 2.0, 1.0},
      {"the correction switch keeps the correction", 10.0, {0.0, 2.0}, 1, 7.0, 2.0, 1.0},
      {"an arc with the pass direction on its right", 10.0, {0.0, -2.0}, 0, 13.25, 2.0, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto& w = run.engine.contour;
    w.PassList.fill(0);
    w.PassDirection = c.pass;
    w.CorrectionSwitch = c.correctionSwitch;
    w.PreviousPoint = {1.0, 2.0};
    run.engine.stepping.ExtraOffset = 0.25;
    run.core.ToolNormal = {0.0, 0.0, 0.75};
    run.R0 = LineElement(30, 40, 1, 0);
    run.R0.d1 = c.radius;
    run.R1.d7 = -5.0;
    run.R3 = NcElement{};
    run.R3.d0 = 1.5;
    run.R3.d4 = 30.0;  // an arc's centre
    run.R3.d5 = 50.0;
    ASSERT_EQ(run.RunPassesWithStep(0), 0);
    EXPECT_EQ(run.R0.d1, c.radiusAfter);
    EXPECT_EQ(run.WorkLength, c.length);
    EXPECT_EQ(run.core.DirectionScratchCross, c.cross);
    EXPECT_EQ(run.core.DirectionScratchDot, 0.0);
    if (c.radius == 0.0) {
      EXPECT_EQ(run.WorkVectorX(), 100.0);  // the direction times the scale base
      EXPECT_EQ(run.WorkVectorY(), 0.0);
    } else {
      EXPECT_EQ(run.WorkVectorX(), 29.0);  // the centre less the previous point
      EXPECT_EQ(run.WorkVectorY(), 48.0);
    }
    EXPECT_EQ(w.PreviousPoint, (std::array<double, 2>{30.0, 40.0}));
    EXPECT_EQ(w.PreviousDirection, (std::array<double, 2>{1.0, 0.0}));
    EXPECT_EQ(w.PreviousHeight, -5.0);
    EXPECT_EQ(w.PreviousNormalK, 0.75);
    // Once the position is written, the element is the walk's again.
    run.RestoreChainedRegisters();
    EXPECT_EQ(run.R0.d1, c.radius);
    EXPECT_EQ(run.R3.d2, 0.0);
    EXPECT_EQ(run.R3.d3, 0.0);
  }
}

TEST_F(ContourPassesTest, DepthStepIsAddedForThePassesOnly) {
  table.Line(0, 0, 1, 0);
  const int pass = PassElement(0);
  LoadTable();
  auto& s = run.engine.stepping;
  s.DepthStepOn = 1;
  s.DepthStep = -2.0;
  run.R1.d7 = -5.0;
  run.engine.contour.PassList.fill(0);
  EXPECT_EQ(run.RunPassesWithStep(0), 0);  // no passes: no step
  EXPECT_EQ(run.R1.d7, -5.0);
  run.engine.contour.PassList[0] = pass;
  EXPECT_EQ(run.RunPassesWithStep(0), 0);
  EXPECT_EQ(run.R1.d7, -5.0);  // taken off again after the passes
  // The pass saw the step.
  EXPECT_EQ(run.engine.contour.PassSaveArea[1].d7, -7.0);

  // A side-plane element (low three flag bits) with the side switch on
  // steps in Y instead: R0's and R3's d5.
  run.R0 = LineElement(0, 10, 1, 0);
  run.R0.flags = 7;
  run.R3.d5 = 20.0;
  run.engine.stepping.SectionPassFlags = 1;
  EXPECT_EQ(run.RunPassesWithStep(0), 0);
  EXPECT_EQ(run.engine.contour.PassSaveArea[0].d5, 8.0);
  EXPECT_EQ(run.engine.contour.PassSaveArea[3].d5, 18.0);
  EXPECT_EQ(run.engine.contour.PassSaveArea[1].d7, -5.0);
  EXPECT_EQ(run.R0.d5, 10.0);
  EXPECT_EQ(run.R3.d5, 20.0);
  EXPECT_EQ(run.R1.d7, -5.0);
}

TEST_F(ContourPassesTest, PassListAndChainStayInTheirTables) {
  table.Line(0, 0, 1, 0);
  const int pass = PassElement(1);
  LoadTable();
  const std::string says = platform::Sjis("パス・座標変換の指定が不正です");
  run.engine.contour.PassList.fill(pass);  // no end mark
  EXPECT_EQ(run.RunPassList(0), kStopRun);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_NE(host.errorBoxes.back().find(says), std::string::npos);

  // A chain of ten records, for the element and for a start point.
  for (const auto apply : {+[](RunContext& r) { return r.ApplyTransformChain(); },
                           +[](RunContext& r) { return r.SetStartPoint(1); }}) {
    run.AbortFlag = 0;
    host.errorBoxes.clear();
    run.TransformSwitch = 1;
    run.engine.contour.TransformCount = 10;
    EXPECT_EQ(apply(run), kStopRun);
    ASSERT_FALSE(host.errorBoxes.empty());
    EXPECT_NE(host.errorBoxes.back().find(says), std::string::npos);
  }

  // A pass entry outside the element table goes through the checked load.
  run.AbortFlag = 0;
  host.errorBoxes.clear();
  run.TransformSwitch = 0;
  run.engine.contour.PassList.fill(0);
  run.engine.contour.PassList[0] = 1000000;
  EXPECT_EQ(run.RunPassList(0), kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_NE(host.errorBoxes.back().find("2011"), std::string::npos) << host.errorBoxes.back();
}

TEST_F(ContourPassesTest, TransformChainTurnsTheElement) {
  run.TransformSwitch = 1;
  auto& c = run.engine.contour;
  c.TransformCount = 2;
  // A quarter turn about the origin, then a record without the centre bit,
  // whose centre is still added.
  c.TransformTable[0] = NcElement{};
  c.TransformTable[0].code = 1;
  c.TransformTable[0].d2 = 0.0;
  c.TransformTable[0].d3 = 1.0;
  c.TransformTable[1] = NcElement{};
  c.TransformTable[1].code = 1;
  c.TransformTable[1].d2 = 1.0;
  c.TransformTable[1].d6 = 5.0;
  run.R0 = LineElement(100, 0, 1, 0);
  run.core.ToolNormal = {1.0, 0.0, 0.5};
  c.PassDirection = {2.0, 0.0};
  ASSERT_EQ(run.ApplyTransformChain(), 0);
  EXPECT_NEAR(run.R0.d4, 5.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 100.0, 1e-12);
  EXPECT_NEAR(run.R0.d2, 0.0, 1e-12);
  EXPECT_NEAR(run.R0.d3, 1.0, 1e-12);
  // The auxiliary pairs turn with the element.
  EXPECT_NEAR(run.core.ToolNormal[0], 0.0, 1e-12);
  EXPECT_NEAR(run.core.ToolNormal[1], 1.0, 1e-12);
  EXPECT_EQ(run.core.ToolNormal[2], 0.5);
  EXPECT_NEAR(c.PassDirection[0], 0.0, 1e-12);
  EXPECT_NEAR(c.PassDirection[1], 2.0, 1e-12);
  // A mirror negates their Y.
  c.TransformCount = 1;
  c.TransformTable[0].flags = 0x400;
  c.TransformTable[0].d2 = 1.0;
  c.TransformTable[0].d3 = 0.0;
  ASSERT_EQ(run.ApplyTransformChain(), 0);
  EXPECT_NEAR(run.core.ToolNormal[1], -1.0, 1e-12);
  EXPECT_NEAR(c.PassDirection[1], -2.0, 1e-12);
  run.R0 = LineElement(5, 100, 0, 1);
  // An empty chain leaves the element as it is.
  c.TransformCount = 0;
  ASSERT_EQ(run.ApplyTransformChain(), 0);
  EXPECT_NEAR(run.R0.d4, 5.0, 1e-12);
}

}  // namespace
}  // namespace qup::testing

namespace qup::testing {
namespace {

TEST_F(ContourPassesTest, PassFrameTurnsThePointAboutTheModifier) {
  // The modifier at (10, 20) pointing along +Y: a quarter turn about it.
  struct Case {
    int flags;
    double x, y, height;  // R0's point and R1's height after the placement
  };
  const Case cases[] = {
      {0x220, 10.0, 25.0, 7.0},  // the point turned about the origin
      {0x620, 15.0, 20.0, 7.0},  // side plane: (Y, height) turned about (10, 20)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    run.engine.contour.StoredHeight = 7.0;
    run.R2 = NcElement{};
    run.R2.d1 = 3.0;
    run.R0 = NcElement{};
    run.R0.d4 = 15.0;
    run.R0.d5 = 20.0;
    run.R1 = NcElement{};
    run.R1.flags = c.flags;
    run.R1.d2 = 0.0;
    run.R1.d3 = 1.0;
    run.R1.d4 = 10.0;
    run.R1.d5 = 20.0;
    run.R3.d2 = 1.0;
    run.R3.d3 = 0.0;
    ASSERT_EQ(run.SetupPassFrame(), 0);
    if (c.flags == 0x220) {
      EXPECT_NEAR(run.R0.d4, c.x, 1e-12);
      EXPECT_NEAR(run.R0.d5, c.y, 1e-12);
      EXPECT_NEAR(run.R1.d7, c.height, 1e-12);
    } else {
      // (Y 20, height 7) about (10, 20) by a quarter turn: Y 23, height 30.
      EXPECT_NEAR(run.R0.d4, 15.0, 1e-12);
      EXPECT_NEAR(run.R0.d5, 23.0, 1e-12);
      EXPECT_NEAR(run.R1.d7, 30.0, 1e-12);
    }
    EXPECT_NEAR(run.R3.d2, 0.0, 1e-12);  // the work direction turned with it
    EXPECT_NEAR(run.R3.d3, 1.0, 1e-12);
    EXPECT_EQ(run.R2.d1, 3.0);  // the command is given back
    EXPECT_EQ(run.AbortFlag, 0);
  }
}

}  // namespace
}  // namespace qup::testing

namespace qup::testing {
namespace {

// A point at the origin, a line of 10 along X, a half circle of R5 about
// (10, 5) counter-clockwise up to (10, 10), a line of 10 back along -X:
// 10 + 5π + 10 long. The closing element says which of R0's values is the
// length (flags 1: d4) and gives the offset of the other (its d5).
class LocateByLengthTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    table.Point(0, 0);
    table.Line(0, 0, 10, 0);
    table.Arc(5.0, 10, 10, 10, 5);
    table.Line(10, 10, 0, 10);
    NcElement closing{};
    closing.code = 0x6000;
    closing.d5 = 1.0;
    closingIndex = table.Add(closing);
    LoadTable();
    run.RangeStart = 0;
    run.RangeEnd = 3;
    run.RangeStep = 1;
    run.engine.contour.ClosingElement = closingIndex;
  }
  int closingIndex = 0;
};

TEST_F(LocateByLengthTest, FindsThePointAlongTheRangeAndMovesItLeftOfTravel) {
  struct Case {
    const char* where;
    int flags;
    double length, beside;  // R0's values before the offset of the closing element
    double x, y, dx, dy;    // the point and direction expected
  };
  const double quarter = 5.0 * kPi / 2.0;
  const Case cases[] = {
      {"on the first line", 1, 4.0, 3.0, 4.0, 2.0, 1.0, 0.0},
      // A quarter round the arc: at (15, 5) heading +Y, left of it is -X.
      {"on the arc", 1, 10.0 + quarter, 3.0, 13.0, 5.0, 0.0, 1.0},
      {"on the last line", 1, 10.0 + 2.0 * quarter + 4.0, 1.0, 6.0, 10.0, -1.0, 0.0},
      // Beyond the range: the end of its last element.
      {"beyond the range", 1, 1000.0, 1.0, 0.0, 10.0, -1.0, 0.0},
      // Flags 2: the length is d5, the offset d4, and the direction turns left.
      {"length in Y, turned across", 2, 3.0, 4.0, 3.0, 3.0, 0.0, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    run.elements[closingIndex].flags = c.flags;
    run.R0 = NcElement{};
    run.R0.d4 = c.flags == 1 ? c.length : c.beside;
    run.R0.d5 = c.flags == 1 ? c.beside : c.length;
    run.R2 = NcElement{};
    run.R2.code = 0x7100;
    run.WorkVectorX() = 0.25;
    ASSERT_EQ(run.LocateByLength(), 0);
    EXPECT_NEAR(run.R0.d4, c.x, 1e-9);
    EXPECT_NEAR(run.R0.d5, c.y, 1e-9);
    EXPECT_NEAR(run.R0.d2, c.dx, 1e-9);
    EXPECT_NEAR(run.R0.d3, c.dy, 1e-9);
    // The command, the range and the work pair are given back.
    EXPECT_EQ(run.R2.code, 0x7100);
    EXPECT_EQ(run.RangeStart, 0);
    EXPECT_EQ(run.RangeEnd, 3);
    EXPECT_EQ(run.WorkVectorX(), 0.25);
  }
}

TEST_F(LocateByLengthTest, ABadClosingElementOrRangeStopsTheRun) {
  for (const int closing : {-1, 1000}) {
    run.AbortFlag = 0;
    run.engine.contour.ClosingElement = closing;
    EXPECT_EQ(run.LocateClosingPoint(), closing < 0 ? 0 : kStopRun);
  }
  run.AbortFlag = 0;
  run.engine.contour.ClosingElement = closingIndex;
  run.RangeEnd = 1000;
  run.R0.d5 = 1e6;  // a length that walks past the table's end
  EXPECT_EQ(run.LocateByLength(), kStopRun);
  EXPECT_EQ(run.AbortFlag, kStopRun);
}

}  // namespace
}  // namespace qup::testing
