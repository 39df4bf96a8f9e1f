// "CALL_ON" through whole NC creation runs: the hand-over written by the test
// builder, the job loaded and run, the group's moves counted in the NC
// program that rs274 reads back, and the call values of every pass.
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::AddCallOn;
using testsupport::AddPositioning;
using testsupport::CallSpec;
using testsupport::HandoverBuilder;

constexpr int kGroup = 900;  // the number of the called group's elements

// Keeps the call value of every pass: the group's end marker is shown before
// the value steps on.
class CallRecordingHost : public qup::RecordingHost {
 public:
  void AddDisplayRecord(const std::array<std::uint32_t, 8>& words) override {
    if (words[0] == 0xE12E && run != nullptr) passValues.push_back(run->engine.call.CallValue);
    qup::RecordingHost::AddDisplayRecord(words);
  }
  qup::RunContext* run = nullptr;
  std::vector<double> passValues;
};

struct Point3 {
  double x, y, z;
  bool operator==(const Point3&) const = default;
};

class CallOnTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    run = std::make_unique<qup::RunContext>(host);
    host.run = run.get();
  }

  // A process at (0, 0, 50), the call, a positioning to (50, 50) after it,
  // the end of the job; the named group's positionings lie behind the end
  // of the data, where only the call reaches them.
  static HandoverBuilder Job(const CallSpec& call, bool groupEndsMachining = false) {
    HandoverBuilder job;
    job.Begin();
    job.BeginProcess(400, 5, 0.0, 0.0, 50.0, 1200.0);
    AddCallOn(job, 401, call);
    AddPositioning(job, 402, 50.0, 50.0, 5.0);
    job.ProcessEnd(500);
    job.End();
    AddPositioning(job, kGroup, 20.0, 10.0, 5.0);
    AddPositioning(job, kGroup, 30.0, 10.0, 5.0);
    if (groupEndsMachining) job.Add(kGroup, 0x6900);
    return job;
  }

  int Run(HandoverBuilder& job) {
    job.Write(home());
    run->job.Header = job.header;
    run->job.Modes.StartMode = job.header.startMode;
    run->LoadJob();
    run->InitNcJob();
    return run->StartNcCreation();
  }
  fs::path NcPath() const { return testsupport::DatFolder(home()) / "HOLE.NC"; }
  std::string NcText() const {
    std::ifstream in(NcPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The rapid moves of the program as rs274 reads them; empty when rs274 is
  // not installed. Every block must be accepted and pass the motion check;
  // `endsInsideGroup`: the run was ended by an end of machining inside the
  // called group, which leaves out the process end with its spindle stop
  // (M30 alone stops the spindle there).
  std::vector<Point3> Traverses(bool endsInsideGroup = false) {
    const testsupport::MotionCheck check = testsupport::CheckNcMotion(NcPath(), home());
    if (!check.ran) return {};
    std::vector<testsupport::MotionViolation> violations = check.violations;
    if (endsInsideGroup) {
      std::erase_if(violations, [](const testsupport::MotionViolation& v) {
        return v.what == "the program ends with the spindle running";
      });
    }
    EXPECT_TRUE(violations.empty()) << testsupport::Describe(violations) << NcText();
    std::vector<Point3> moves;
    for (const testsupport::CanonMove& m : check.moves) {
      if (m.kind == testsupport::CanonMove::Kind::kTraverse) moves.push_back({m.x, m.y, m.z});
    }
    return moves;
  }

  // How often the group's two positionings follow each other.
  static int GroupPasses(const std::vector<Point3>& moves) {
    int passes = 0;
    for (std::size_t i = 0; i + 1 < moves.size(); ++i) {
      if (moves[i] == Point3{20.0, 10.0, 5.0} && moves[i + 1] == Point3{30.0, 10.0, 5.0}) ++passes;
    }
    return passes;
  }

  bool Shown(int code) const {
    return host.errorBoxes.size() == 1 &&
           host.errorBoxes[0].find("ERROR." + std::to_string(2000 + code)) != std::string::npos;
  }

  CallRecordingHost host;
  std::unique_ptr<qup::RunContext> run;
};

TEST_F(CallOnTest, APlainCallRunsItsGroupOnce) {
  CallSpec call;
  call.groupNumber = kGroup;
  HandoverBuilder job = Job(call);
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty()) << host.errorBoxes[0];
  const std::string text = NcText();
  EXPECT_NE(text.find("X20.Y10."), std::string::npos) << text;
  EXPECT_NE(text.find("X50.Y50."), std::string::npos) << text;  // the walk goes on after the call
  const auto moves = Traverses();
  if (!moves.empty()) {
    EXPECT_EQ(GroupPasses(moves), 1);
    EXPECT_EQ((moves.end() - 2)->x, 50.0);
  }
}

TEST_F(CallOnTest, AStepOfMinusThreeFromZeroToMinusTenRunsFivePasses) {
  CallSpec call;
  call.kind = 0;
  call.start = 0.0;
  call.step = -3.0;
  call.end = -10.0;
  call.groupNumber = kGroup;
  HandoverBuilder job = Job(call);
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty()) << host.errorBoxes[0];
  EXPECT_EQ(host.passValues, (std::vector<double>{0.0, -3.0, -6.0, -9.0, -10.0}));
  EXPECT_EQ(run->engine.call.CallRepeatCount, 0);  // the call is over
  const auto moves = Traverses();
  if (!moves.empty()) EXPECT_EQ(GroupPasses(moves), 5) << NcText();
}

TEST_F(CallOnTest, EveryStepEndsAtTheFinalValue) {
  const struct {
    const char* name;
    CallSpec call;
    std::vector<double> values;
  } cases[] = {
      // A step leading away from the final value: the start, then the end.
      {"wrong sign", {0, 0.0, 3.0, -10.0, kGroup}, {0.0, -10.0}},
      // Pass totals (kind 17 without a range): the last pass clamped to the
      // final value; a step leading away runs the one pass.
      {"totals", {17, 0.0, 2.0, 5.0, kGroup}, {0.0, 2.0, 4.0, 5.0}},
      {"totals wrong sign", {17, 0.0, -2.0, 5.0, kGroup}, {0.0}},
      {"totals from the start", {0x110, 1.0, 1.5, 4.0, kGroup}, {1.0, 2.5, 4.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host = CallRecordingHost{};
    run = std::make_unique<qup::RunContext>(host);
    host.run = run.get();
    HandoverBuilder job = Job(c.call);
    ASSERT_EQ(Run(job), 0);
    EXPECT_TRUE(host.errorBoxes.empty());
    EXPECT_EQ(host.passValues, c.values);
  }
}

TEST_F(CallOnTest, AnIntersectionCallStepsTheLineAcrossItsRange) {
  // Kind 17 with a range: the line x = 2, 5, 8 crosses the lines numbered
  // 800 (from x 0 to x 10 and back at y 4); from x = 20 it meets nothing.
  const struct {
    double start;
    std::vector<double> values;
    int error;
  } cases[] = {{2.0, {2.0, 5.0, 8.0}, 0}, {20.0, {}, 6}};
  for (const auto& c : cases) {
    host = CallRecordingHost{};
    run = std::make_unique<qup::RunContext>(host);
    host.run = run.get();
    CallSpec call;
    call.kind = 17;
    call.start = c.start;
    call.step = 3.0;
    call.end = c.start + 6.0;
    call.groupNumber = kGroup;
    call.rangeNumber = 800;
    HandoverBuilder job = Job(call);
    job.Line(800, 0.0, 0.0, 10.0, 0.0);
    job.Line(800, 10.0, 0.0, 10.0, 4.0);
    job.Line(800, 10.0, 4.0, 0.0, 4.0);
    ASSERT_EQ(Run(job), 0);
    EXPECT_EQ(host.passValues, c.values) << c.start;
    if (c.error != 0) {
      EXPECT_TRUE(Shown(c.error)) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
    } else {
      EXPECT_TRUE(host.errorBoxes.empty());
      // The line crosses the first and the last of the three lines.
      EXPECT_EQ(run->engine.call.CallEnd - run->engine.call.CallStart, 2);
    }
  }
}

TEST_F(CallOnTest, AStepTooSmallForItsRangeIsRefused) {
  CallSpec call;
  call.step = 1e-9;
  call.end = 10.0;
  call.groupNumber = kGroup;
  HandoverBuilder job = Job(call);
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(Shown(6)) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
  EXPECT_TRUE(host.passValues.empty());
}

TEST_F(CallOnTest, AGroupWithoutItsClosingElementStopsWithError15) {
  CallSpec call;  // the group follows the command: no 0x7400 comes
  call.step = -1.0;
  call.end = -2.0;
  HandoverBuilder job = Job(call);
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(Shown(15)) << (host.errorBoxes.empty() ? "" : host.errorBoxes[0]);
  EXPECT_EQ(NcText().find("X50.Y50."), std::string::npos);
  EXPECT_EQ(run->job.RunIncomplete, 1);
}

TEST_F(CallOnTest, TheEndOfMachiningInsideTheGroupEndsTheRun) {
  CallSpec call;
  call.step = -1.0;
  call.end = -5.0;
  call.groupNumber = kGroup;
  HandoverBuilder job = Job(call, true);
  ASSERT_EQ(Run(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_EQ(host.passValues.size(), 0u);  // no second pass
  const std::string text = NcText();
  EXPECT_NE(text.find("X20.Y10."), std::string::npos) << text;
  EXPECT_EQ(text.find("X50.Y50."), std::string::npos) << text;  // nothing after the call runs
  const auto moves = Traverses(true);
  if (!moves.empty()) EXPECT_EQ(GroupPasses(moves), 1);
}

TEST_F(CallOnTest, TheGroupFollowingTheCommandEndsAtItsClosingElement) {
  qup::RecordingHost plain;
  qup::RunContext ctx(plain);
  ASSERT_TRUE(ctx.elements.Grow(16));
  const int codes[] = {0x7800, 0x7000, 0x8000, 0x7410, 0x7000, 0x7400, 0x7000};
  for (int i = 0; i < 7; ++i) ctx.elements[i].code = codes[i];
  ctx.elements.ElementCount = 7;
  ctx.job.CallDepth = 1;
  ctx.job.CallStack[1] = {0, 6};
  const struct {
    int surface;  // the code of element 2
    int end;      // the group's last element
  } cases[] = {{0x8000, 3}, {0x7F10, 3}, {0x7000, 5}};
  for (const auto& c : cases) {
    ctx.elements[2].code = c.surface;
    ctx.RangeStart = 0;
    EXPECT_EQ(ctx.FindCallGroup(), 0);
    EXPECT_EQ(ctx.RangeStart, 1);
    EXPECT_EQ(ctx.RangeEnd, c.end) << std::hex << c.surface;
  }
  EXPECT_TRUE(plain.errorBoxes.empty());
  // A named group outside the job's elements: the run stops with error 11.
  ctx.RangeStart = 3;
  ctx.RangeEnd = 40;
  EXPECT_EQ(ctx.FindCallGroup(), qup::kStopRun);
  ASSERT_EQ(plain.errorBoxes.size(), 1u);
  EXPECT_NE(plain.errorBoxes[0].find("ERROR.2011"), std::string::npos);
}

}  // namespace
