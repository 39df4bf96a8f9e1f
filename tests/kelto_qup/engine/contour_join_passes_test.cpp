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
  // A pass element of the kind, whose points tell which run took it.
  int PassElement(int kind) {
    NcElement e{};
    e.code = 0x6000;
    e.flags = kind;
    e.d3 = 1.0;
    e.d4 = 11.0;
    e.d6 = 22.0;
    return table.Add(e);
  }
};

TEST_F(ContourPassesTest, PassKindsChooseTheRuns) {
  struct Case {
    int kind;
    bool plain, stepped;
  };
  const Case cases[] = {{0, false, true}, {1, true, false}, {2, true, true}, {3, false, false}};
  for (const Case& c : cases) {
    table = ElementBuilder{};
    table.Line(0, 0, 1, 0);
    const int pass = PassElement(c.kind);
    LoadTable();
    run.engine.contour.PassList.fill(0);
    run.engine.contour.PassList[0] = pass;
    for (const int stepped : {0, 0xFFFF}) {
      run.R2 = NcElement{};
      ASSERT_EQ(run.RunPassList(stepped), 0);
      const bool ran = run.R2.d6 == 11.0;  // the pass's two points exchanged
      EXPECT_EQ(ran, stepped != 0 ? c.stepped : c.plain) << c.kind << " " << stepped;
      // Kind 2 turns the pass over in the plain run and clears its second point.
      if (c.kind == 2 && ran) {
        EXPECT_EQ(run.R2.d3, stepped != 0 ? 1.0 : -1.0);
      }
    }
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
  ASSERT_EQ(run.ApplyTransformChain(), 0);
  EXPECT_NEAR(run.R0.d4, 5.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 100.0, 1e-12);
  EXPECT_NEAR(run.R0.d2, 0.0, 1e-12);
  EXPECT_NEAR(run.R0.d3, 1.0, 1e-12);
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
