// The corner between two offset elements, stepped by the corner path: the
// tool goes round the joint from the frame where the current element ended
// to the frame where the next begins, turning the tool normal and moving
// the height between the two. Positions are read on the display channel,
// which draws every move (X, Y in d4/d5, Z in d8).
#include <cmath>
#include <string>
#include <vector>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

constexpr int kEndsTheElement = 5;  // the engine's next state after an element

struct Pos {
  double x, y, z;
};

// The corner of a square's outside at (100, 0): the tool comes along y = -5
// to P (100, -5) and goes on up x = 105 from Q (105, 0), round the joint at
// R5 counter-clockwise.
class CornerStepsTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    run.output.OutputSuppress = 64;
    run.output.Feed = 100.0;
    run.engine.contour.SectionCommand.d7 = 100.0;
    run.engine.contour.ArcTolerance = 0.01;
    run.job.CurrentPoint = {100.0, -5.0, -5.0};
    run.engine.contour.LastCommandPoint = {100.0, -5.0};
  }
  // The motion frame where the corner begins: P at height z with a tool normal.
  void StartFrame(double x, double y, double z, std::array<double, 3> normal) {
    run.core.FrameToggle = 0;
    NcElement& frame = run.Slot(SaveSlot::Slot52);
    frame = NcElement{};
    frame.d0 = normal[0];
    frame.d1 = normal[1];
    frame.d2 = normal[2];
    frame.d3 = z;
    frame.d4 = x;
    frame.d5 = y;
    run.core.ToolNormal = normal;
  }
  // The corner marker as the join leaves it: sense, offset, the next
  // element's direction and Q; the next element's height in R1's d7, which
  // the motion takes for the frame at Q.
  void Marker(double offset, double ux, double uy, double qx, double qy, double nextHeight) {
    run.R0 = NcElement{};
    run.R0.code = 0x1001;
    run.R0.flags = 0x11300;
    run.R0.d0 = 1.0;
    run.R0.d1 = offset;
    run.R0.d2 = ux;
    run.R0.d3 = uy;
    run.R0.d4 = qx;
    run.R0.d5 = qy;
    run.R1 = NcElement{};
    run.R1.code = 0x1200;
    run.R1.d7 = nextHeight;
    run.engine.stepping.SectionCommand.d5 = nextHeight;
    run.CornerKind = 0;
  }
  // A quarter of R10 about the origin from (10, 0), where the tool stands,
  // to (0, 10), at the height -5.
  void QuarterArc() {
    run.engine.contour.LastCommandPoint = {10.0, 0.0};
    run.engine.contour.ArcCentre = {0.0, 0.0};
    run.job.CurrentPoint = {10.0, 0.0, -5.0};
    run.R0 = NcElement{};
    run.R0.code = 0x1300;
    run.R0.d1 = 10.0;
    run.R0.d4 = 0.0;
    run.R0.d5 = 10.0;
    run.R1 = NcElement{};
    run.R1.code = 0x1200;
    run.R1.d7 = -5.0;
    run.engine.stepping.SectionCommand.d5 = -5.0;
  }
  std::vector<Pos> Drawn() const {
    std::vector<Pos> out;
    for (const auto& step : host.pathSteps) out.push_back({step.move.d4, step.move.d5, step.move.d8});
    return out;
  }
  static std::string Text(const std::vector<Pos>& path) {
    std::string text;
    for (const Pos& p : path) text += std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.z) + " ";
    return text;
  }
};

TEST_F(CornerStepsTest, StepKindsThatDoNothingLeaveEverythingAsItWas) {
  for (int kind : {5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x25}) {
    SCOPED_TRACE(kind);
    run.R0 = NcElement{};
    run.R0.code = 0x1300;
    run.R0.d1 = 10.0;
    run.R0.d4 = 3.0;
    const NcElement r0 = run.R0, r1 = run.R1;
    run.CornerKind = kind;
    EXPECT_EQ(run.ComputeCornerPath(), 0);
    EXPECT_EQ(run.CornerKind, kind);
    EXPECT_EQ(run.R0.d4, r0.d4);
    EXPECT_EQ(run.R0.d1, r0.d1);
    EXPECT_EQ(run.R1.d7, r1.d7);
  }
  EXPECT_TRUE(host.pathSteps.empty());
}

TEST_F(CornerStepsTest, ACornerWhoseFramesAgreeAndHasNoOffsetIsNotStepped) {
  // The elements meet at (100, 0) with no offset: P = Q, same height.
  StartFrame(100.0, 0.0, -5.0, {0.0, 0.0, 1.0});
  run.engine.contour.LastCommandPoint = {100.0, 0.0};
  Marker(1e-14, 0.0, 1.0, 100.0, 0.0, -5.0);
  run.core.ToolNormal = {0.0, 0.0, 1.0};
  ASSERT_EQ(run.ComputeCornerPath(), 2);
  EXPECT_EQ(run.CornerKind, kEndsTheElement);
  const NcElement& now = run.CurrentMotionFrame();
  EXPECT_EQ(run.core.ToolNormal, (std::array<double, 3>{now.d0, now.d1, now.d2}));
  EXPECT_EQ(run.R0.d4, 100.0);
  EXPECT_EQ(run.R0.d5, 0.0);
  EXPECT_TRUE(host.pathSteps.empty()) << Text(Drawn());
  // Nothing more comes of the marker: the element path writes nothing for it.
  EXPECT_EQ(run.ComputeElementPath(0), 0);
  EXPECT_TRUE(host.pathSteps.empty()) << Text(Drawn());
}

TEST_F(CornerStepsTest, AnOffsetCornerGoesRoundTheJointWithTheHeightMovingBetweenItsFrames) {
  // From P (100, -5) at -5 round (100, 0) to Q (105, 0): the azimuth of the
  // radius goes from -90 to 0 degrees, its sine from -1 to 0.
  struct Case {
    const char* what;
    double endHeight;
    bool proportional;
  };
  for (const Case& c : {Case{"level (no height to share out)", -5.0, true}, Case{"rising 2: evenly over the sweep", -3.0, false},
                        Case{"rising 0.5: with the Y of the radius", -4.5, true}}) {
    SCOPED_TRACE(c.what);
    host.pathSteps.clear();
    run.job.CurrentPoint = {100.0, -5.0, -5.0};
    run.engine.contour.LastCommandPoint = {100.0, -5.0};
    StartFrame(100.0, -5.0, -5.0, {0.0, 0.0, 1.0});
    Marker(-5.0, 0.0, 1.0, 105.0, 0.0, c.endHeight);
    ASSERT_EQ(run.ComputeCornerPath(), 0);
    EXPECT_EQ(run.engine.contour.ProportionalCorner, c.proportional ? 1 : 0);
    const std::vector<Pos> path = Drawn();
    // The chord angle of R5 at a tolerance of 0.01: sqrt(2 x 0.01 / 5) rad.
    const int chords = static_cast<int>(std::ceil(90.0 / (std::sqrt(0.004) * 57.29577951308232)));
    ASSERT_EQ(static_cast<int>(path.size()), chords) << Text(path);
    for (std::size_t i = 0; i < path.size(); ++i) {
      const Pos& p = path[i];
      EXPECT_NEAR(std::hypot(p.x - 100.0, p.y), 5.0, 1e-9) << i;
      const double swept = std::atan2(p.y, p.x - 100.0) + kPi / 2.0;  // radians from P
      EXPECT_NEAR(swept, (kPi / 2.0) * static_cast<double>(i + 1) / chords, 1e-9) << i;
      const double t = swept / (kPi / 2.0);
      const double rise = c.endHeight + 5.0;
      const double z = c.proportional ? -5.0 + rise * (p.y / 5.0 + 1.0) : -5.0 + rise * t;
      EXPECT_NEAR(p.z, z, 1e-9) << i;
    }
    EXPECT_NEAR(path.back().x, 105.0, 1e-12);
    EXPECT_NEAR(path.back().y, 0.0, 1e-12);
    EXPECT_EQ(path.back().z, c.endHeight);
    // The marker stays, standing at Q with the next element's height; the
    // tool normal is the end frame's.
    EXPECT_EQ(run.R0.code, 0x1001);
    EXPECT_EQ(run.R0.d4, 105.0);
    EXPECT_EQ(run.R1.d7, c.endHeight);
    EXPECT_EQ(run.core.AxisPointSwitch, 0);
  }
}

TEST_F(CornerStepsTest, TheToolNormalTurnsFromOneFrameToTheOtherOverTheSweep) {
  // The frames as read about the joint: the azimuth from -90 by +90, the
  // tilt from 0 (in the plane) by +90 (upright), the height evenly from -5 by 2.
  ContourWords& c = run.engine.contour;
  c.CornerAzimuth = -90.0;
  c.CornerAzimuthChange = 90.0;
  c.CornerTilt = 0.0;
  c.CornerTiltChange = 90.0;
  c.ProportionalCorner = 0;
  c.CornerSlope = 2.0;
  c.CornerBase = -5.0;
  c.ArcStepCount = 4;
  struct Case {
    int step;
    std::array<double, 3> normal;
    double z;
  };
  const double h = std::sqrt(0.5);
  for (const Case& k : {Case{0, {0.0, -1.0, 0.0}, -5.0}, Case{2, {0.5, -0.5, h}, -4.0}, Case{4, {0.0, 0.0, 1.0}, -3.0}}) {
    SCOPED_TRACE(k.step);
    c.ArcStepIndex = k.step;
    run.InterpolateCornerStep();
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(run.core.ToolNormal[i], k.normal[i], 1e-12) << i;
    EXPECT_NEAR(run.R1.d7, k.z, 1e-12);
  }
}

TEST_F(CornerStepsTest, ACornerThatDoesNotGoRoundItsJointIsOneStepNeverAFullCircle) {
  // The start and end frames stand at the same point but the height
  // changes: one move up, not a circle about the joint.
  StartFrame(105.0, 0.0, -5.0, {0.0, 0.0, 1.0});
  run.job.CurrentPoint = {105.0, 0.0, -5.0};
  run.engine.contour.LastCommandPoint = {105.0, 0.0};
  Marker(-5.0, 0.0, 1.0, 105.0, 0.0, -4.0);
  ASSERT_EQ(run.ComputeCornerPath(), 0);
  const std::vector<Pos> path = Drawn();
  ASSERT_EQ(path.size(), 1u) << Text(path);
  EXPECT_EQ(path[0].x, 105.0);
  EXPECT_EQ(path[0].y, 0.0);
  EXPECT_EQ(path[0].z, -4.0);
}

TEST_F(CornerStepsTest, AStraightMoveWaitingToBeMergedIsWrittenBeforeTheCorner) {
  run.engine.contour.PendingMove = 1;
  run.engine.contour.Pending.MoveEnd = {100.0, -5.0};
  run.engine.contour.Pending.MoveHeight = -5.0;
  run.engine.contour.LastCommandPoint = {60.0, -5.0};
  run.job.CurrentPoint = {60.0, -5.0, -5.0};
  StartFrame(100.0, -5.0, -5.0, {0.0, 0.0, 1.0});
  Marker(-5.0, 0.0, 1.0, 105.0, 0.0, -5.0);
  ASSERT_EQ(run.ComputeCornerPath(), 0);
  const std::vector<Pos> path = Drawn();
  ASSERT_GT(path.size(), 2u) << Text(path);
  EXPECT_EQ(path[0].x, 100.0);
  EXPECT_EQ(path[0].y, -5.0);
  for (std::size_t i = 1; i < path.size(); ++i) EXPECT_NEAR(std::hypot(path[i].x - 100.0, path[i].y), 5.0, 1e-9) << i;
  EXPECT_EQ(run.engine.contour.PendingMove, 0);
}

TEST_F(CornerStepsTest, AnArcTheSnapshotStepsIsWrittenChordByChordToItsEnd) {
  // The quarter arc inside a contour, stepped by the corner path: each
  // step is one straight move, the last ends on the arc's end.
  run.core.SnapshotFlags = 0x0100;
  run.engine.contour.StartWord = 0xFFFF;
  QuarterArc();
  ASSERT_EQ(run.ProcessContour(), 0) << (host.errorBoxes.empty() ? "" : host.errorBoxes.back());
  const std::vector<Pos> path = Drawn();
  const int chords = static_cast<int>(std::ceil(90.0 / (std::sqrt(0.002) * 57.29577951308232)));
  ASSERT_EQ(static_cast<int>(path.size()), chords) << Text(path);
  for (std::size_t i = 0; i < path.size(); ++i) {
    EXPECT_NEAR(std::hypot(path[i].x, path[i].y), 10.0, 1e-9) << i;
    EXPECT_NEAR(std::atan2(path[i].y, path[i].x), (kPi / 2.0) * static_cast<double>(i + 1) / chords, 1e-9) << i;
  }
  EXPECT_NEAR(path.back().x, 0.0, 1e-12);
  EXPECT_NEAR(path.back().y, 10.0, 1e-12);
}

TEST_F(CornerStepsTest, AnArcTheOutputHoldsACommandForIsWrittenWholeAsOneArcBlock) {
  struct Case {
    const char* what;
    int heldFlags;
    double feedFactor;
    int outputWord;
    double radius, feed;  // of the one move written
  };
  for (const Case& c : {Case{"held, no flags", 0, 0.0, 0, 10.0, 100.0},
                        Case{"a held arc move, at half feed", 0x10, 0.5, 0, 10.0, 50.0},
                        Case{"handed to the linear path", 0, 1.0, 0x08, 0.0, 100.0}}) {
    SCOPED_TRACE(c.what);
    host.pathSteps.clear();
    run.output.HeldCommandWord = 0x7100;
    run.output.HeldMoveFlags = c.heldFlags;
    run.output.ResumedCornerMark = 0;
    run.engine.contour.FeedFactor = c.feedFactor;
    run.engine.contour.ElementOutputWord = c.outputWord;
    QuarterArc();
    ASSERT_EQ(run.ComputeElementPath(0), 0);
    ASSERT_EQ(host.pathSteps.size(), 1u);
    const auto& move = host.pathSteps[0].move;
    EXPECT_EQ(move.d1, c.radius);
    EXPECT_EQ(move.d4, 0.0);
    EXPECT_EQ(move.d5, 10.0);
    EXPECT_EQ(move.d8, -5.0);
    EXPECT_EQ(run.output.Feed, c.feed);
    EXPECT_EQ(run.output.ResumedCornerMark, c.heldFlags != 0 ? 1 : 0);
    EXPECT_EQ(run.R0.d1, 10.0);  // the element keeps its radius
    EXPECT_EQ(run.engine.contour.FeedOverrideWord, 0);
  }
}

}  // namespace
}  // namespace qup::testing
