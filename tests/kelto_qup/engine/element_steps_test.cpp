// The set-up of an element's steps: a line or arc is one step unless the
// snapshot flags (or the step options with an offset) ask for it to be
// stepped; a stepped line goes on from the last written point in steps of
// the stored step and ends exactly on its end.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

constexpr int kOneStepDone = 5;  // the engine's default next state: the element ends

class ElementStepsTest : public EngineCoreTest {
 protected:
  void Line(double x0, double y0, double x1, double y1) {
    run.R0 = NcElement{};
    run.R0.code = 0x1200;
    run.R0.d2 = (x1 - x0) / std::hypot(x1 - x0, y1 - y0);
    run.R0.d3 = (y1 - y0) / std::hypot(x1 - x0, y1 - y0);
    run.R0.d4 = x1;
    run.R0.d5 = y1;
    run.core.ReferencePoint = {x0, y0};
  }
  // A quarter of R10 about the origin from (10, 0) to (0, 10).
  void Arc() {
    run.R0 = NcElement{};
    run.R0.code = 0x1300;
    run.R0.d1 = 10.0;
    run.R0.d4 = 0.0;
    run.R0.d5 = 10.0;
    run.R2.d6 = 10.0;
    run.R2.d7 = 0.0;
    run.R3.d4 = 0.0;
    run.R3.d5 = 0.0;
    run.engine.contour.ArcTolerance = 0.01;
    // Where the tool stands, and the centre the join kept.
    run.engine.contour.LastCommandPoint = {10.0, 0.0};
    run.engine.contour.ArcCentre = {0.0, 0.0};
  }
};

TEST_F(ElementStepsTest, SnapshotFlagsAndOffsetsChooseHowTheElementIsStepped) {
  struct Case {
    const char* what;
    bool arc;
    int snapshot, options;
    double offset;
    int kindAfter;  // 4: line steps, 2: arc steps, 1: the last step
    bool firstElement = false;
  };
  const Case cases[] = {
      {"a plain line", false, 0, 0, 0.0, kOneStepDone},
      {"a line the snapshot steps", false, 0x0100, 0, 0.0, 4},
      // Handed to the arc steps, a line is written whole: the last step.
      {"a line the snapshot hands to the arc steps", false, 0x1000, 0, 0.0, 1},
      {"a plain arc", true, 0, 0, 0.0, kOneStepDone},
      {"an arc with step options but no offset", true, 0, 6, 0.0, kOneStepDone},
      {"an arc with step options, offset", true, 0, 6, 2.0, 2},
      {"an arc the snapshot steps", true, 0x0100, 0, 0.0, 2},
      // The approach is written after the first step: the tool is not at
      // the arc's start yet, so the element path steps it.
      {"a contour's first element, an arc the snapshot steps", true, 0x0100, 0, 0.0, kOneStepDone, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.arc) {
      Arc();
    } else {
      Line(0, 0, 10, 0);
    }
    run.core.SnapshotFlags = c.snapshot;
    run.engine.contour.CornerStepOptions = c.options;
    run.R3.d0 = c.offset;
    run.engine.contour.StartWord = c.firstElement ? 0 : 0xFFFF;
    run.CornerKind = 0;
    EXPECT_EQ(run.ComputeCornerPath(), 1);
    EXPECT_EQ(run.CornerKind, c.kindAfter);
  }
}

TEST_F(ElementStepsTest, LineStepsEndExactlyOnTheLinesEnd) {
  run.core.SnapshotFlags = 0x0100;
  run.engine.contour.StoredStep = -4.0;  // its size counts
  Line(0, 0, 10, 0);
  std::vector<double> xs;
  run.CornerKind = 0;
  for (int guard = 0; guard < 10; ++guard) {
    ASSERT_EQ(run.ComputeCornerPath(), 1);
    xs.push_back(run.R0.d4);
    EXPECT_EQ(run.R0.d5, 0.0);
    if (run.CornerKind != 4) break;
    run.core.ReferencePoint = {run.R0.d4, run.R0.d5};  // as the motion leaves it
  }
  EXPECT_EQ(xs, (std::vector<double>{4.0, 8.0, 10.0}));
  EXPECT_EQ(run.CornerKind, kOneStepDone);

  // No stored step: steps of a thousandth, never of nothing.
  run.engine.contour.StoredStep = 0.0;
  Line(0, 0, 0.0025, 0);
  run.CornerKind = 0;
  ASSERT_EQ(run.ComputeCornerPath(), 1);
  EXPECT_NEAR(run.R0.d4, 0.001, 1e-15);
  EXPECT_EQ(run.CornerKind, 4);
}

}  // namespace
}  // namespace qup::testing
