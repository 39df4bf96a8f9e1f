// The successor resolution of offset contours, called as ResolveNextElement
// calls it: R0 the current element, R1 the offset candidate, RangeStart the
// candidate's index. Cases by the geometry that decides them.
#include <cstring>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

class SuccessorResolutionTest : public EngineCoreTest {
 protected:
  // R0 := element a offset by `offset`, R1 := element c offset likewise.
  void Prepare(int a, int c, int last, double offset) {
    LoadTable();
    SetRange(c, last, offset);
    run.R1 = run.elements[a];
    run.ResolveNextElement(0, 0);
    run.R0 = run.R1;
    run.R1 = run.elements[c];
    run.ResolveNextElement(0, 0);
    run.RangeStart = c;
  }

  // Runs one mode and checks that R0, R1 (but for its flags) and RangeStart
  // come back as they were; returns true for accept.
  bool Resolve(int mode, int a = 0) {
    const NcElement r0 = run.R0;
    const NcElement r1 = run.R1;
    const int start = run.RangeStart;
    if (mode == kResolveModeA) {
      run.ResolveSuccessorA(a);
    } else {
      run.ResolveSuccessorB(a);
    }
    EXPECT_EQ(run.RangeStart, start);
    EXPECT_EQ(std::memcmp(&run.R0, &r0, sizeof r0), 0) << "R0 not given back";
    NcElement r1Now = run.R1;
    r1Now.flags = r1.flags;
    EXPECT_EQ(std::memcmp(&r1Now, &r1, sizeof r1), 0) << "R1 not given back";
    EXPECT_EQ(run.AbortFlag, 0);
    return run.ElementIndex == kReady;
  }
};

constexpr int kModes[] = {kResolveModeA, kResolveModeB};

TEST_F(SuccessorResolutionTest, CandidateThatNeverMeetsTheCurrentElementIsRejected) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    const int c = table.Line(10, 5, 20, 5);  // parallel to the current element
    table.records[static_cast<std::size_t>(c)].flags = 0x01000300;
    Prepare(0, c, c, 0.0);
    EXPECT_FALSE(Resolve(mode));
    EXPECT_EQ(run.elements[c].flags, 0x01000300);  // as it was
  }
}

TEST_F(SuccessorResolutionTest, CandidateThatEndsTheRangeIsAccepted) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    table.Line(10, 0, 10, 10);
    Prepare(0, 1, 1, 2.0);
    EXPECT_TRUE(Resolve(mode));
  }
}

TEST_F(SuccessorResolutionTest, ArcCandidateWhoseLineFollowerMissesItIsRejected) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    table.Arc(5, 15, 5, 10, 5);  // touches the line at (10, 0)
    table.Line(30, 20, 40, 20);  // 15 from the arc's centre
    Prepare(0, 1, 2, 0.0);
    EXPECT_FALSE(Resolve(mode));
  }
}

// The arc after the line candidate cannot follow it: it is consumed, the
// resolution begins again and the candidate is accepted.
TEST_F(SuccessorResolutionTest, LineCandidateFollowedByAnArcThatMissesItDropsTheArc) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    table.Line(10, 0, 10, 10);
    table.Arc(5, 35, 30, 30, 30);  // circle about (30, 30): 20 from the line x = 10
    Prepare(0, 1, 2, 0.0);
    EXPECT_TRUE(Resolve(mode));
    EXPECT_TRUE(Consumed(2));
  }
}

TEST_F(SuccessorResolutionTest, FollowerCrossingAtTheJointRejectsTheCandidate) {
  for (int mode : kModes) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    table.Line(10, 0, 10, 10);
    table.Line(20, 10, 10.0005, 0.0005);  // crosses x = 10 within 0.001 of (10, 0)
    Prepare(0, 1, 2, 0.0);
    EXPECT_FALSE(Resolve(mode));
  }
}

// The joint of the current element and the candidate is the first turn
// point, the candidate's end the second.
TEST_F(SuccessorResolutionTest, TurnPointsAreTheEndsAtTheFirstState) {
  table.Line(0, 0, 10, 0);
  table.Line(10, 0, 10, 10);
  Prepare(0, 1, 1, 1.0);
  Resolve(kResolveModeA);
  EXPECT_DOUBLE_EQ(run.core.TurnPoints[0][0], 10.0);
  EXPECT_DOUBLE_EQ(run.core.TurnPoints[0][1], 1.0);
  EXPECT_DOUBLE_EQ(run.core.TurnPoints[1][0], 9.0);
  EXPECT_DOUBLE_EQ(run.core.TurnPoints[1][1], 10.0);
}

}  // namespace
}  // namespace qup::testing
