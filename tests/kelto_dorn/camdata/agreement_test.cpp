// The hand-over as the companion reads it: a drawing made here goes through
// CreateCamData, the companion's job load takes the files, and each field it
// reads is compared with the drawing's; then the companion writes the NC
// program and rs274 reads it back: every block accepted, the tool at the
// drawing's holes and depths.
#include <cmath>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using handover::NcElement;

class AgreementTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    g_postTable = testsupport::HandoverBuilder::DecimalPointPosts();
    ASSERT_TRUE(WriteDornPostTable().ok());
    fs::create_directories(home() / "UNIT" / "PGM" / "DAT");
  }

  // The companion's job load over the files the builder wrote.
  std::unique_ptr<qup::RunContext> LoadInCompanion() {
    auto run = std::make_unique<qup::RunContext>(host);
    run->job.Header = g_drawingHeader;
    run->job.Header.startMode = 4;
    run->job.Header.subMode = 6;
    run->job.Modes.StartMode = 4;
    EXPECT_EQ(run->LoadJob(), 0);
    return run;
  }

  // The index of the first element of that code in the companion's table.
  static int IndexOf(qup::RunContext& run, std::int32_t code) {
    for (int i = 0; i < run.elements.ElementCount; ++i) {
      if (run.elements[i].code == code) return i;
    }
    return -1;
  }

  std::string NcText() const {
    std::ifstream in(home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  qup::RecordingHost host;
};

const std::vector<Point> kHoles = {{10.0, 15.0}, {30.0, 15.0}, {50.0, 15.0}, {70.0, 25.0}};

HoleDefinition PeckDrilling() {
  HoleDefinition h;
  h.cycle = 83;
  h.peck = 2.5f;
  h.feed = 120.0f;
  h.rPoint = 2.0;
  h.bottom = -12.0;
  h.zOrigin = 50.0;
  h.atcOriginX = 5.0;
  h.atcOriginY = 6.0;
  h.atc = 7;
  h.spindle = 1500;
  return h;
}

TEST_F(AgreementTest, EveryHoleFieldReadsAsTheDrawingSaysIt) {
  AddPointCurve(501, kHoles);
  HoleDefinition h = PeckDrilling();
  h.dwell = 0.5f;
  h.repeat = 2;
  AddHoleDefinition(h);
  OrderAllItems();
  const CamBuildResult built = Build();
  ASSERT_TRUE(built.written) << built.failure;

  auto run = LoadInCompanion();
  run->InitNcJob();
  ASSERT_NE(run->ReadJobFiles(), qup::kStopRun);
  const int hole = IndexOf(*run, 0x6800);
  ASSERT_GE(hole, 0);
  // The hole range resolves to the four points of the curve, in order.
  const qup::FixedPointPair range = qup::SplitFixedPoint(run->elements[hole].d4);
  ASSERT_EQ(range.millionths - range.whole + 1, kHoles.size());
  for (std::size_t i = 0; i < kHoles.size(); ++i) {
    const NcElement& p = run->elements[static_cast<int>(range.whole + i)];
    EXPECT_EQ(p.code, 0x1100);
    EXPECT_EQ(p.d4, kHoles[i].x);
    EXPECT_EQ(p.d5, kHoles[i].y);
  }
  // The companion's own reading of the hole values.
  run->R2 = run->elements[hole];
  run->job.ToolMapSlot = 1;
  run->job.FeedOverride = 1.0;
  run->LoadHoleValues();
  const qup::HoleValues& v = run->job.Hole;
  EXPECT_EQ(v.Bottom, h.bottom);
  EXPECT_EQ(v.RLevel, h.rPoint);
  EXPECT_EQ(v.CycleCode, h.cycle);
  EXPECT_EQ(v.Feed, h.feed);
  EXPECT_EQ(v.PeckDepth, h.peck);
  EXPECT_EQ(v.Dwell, h.dwell);
  EXPECT_EQ(v.RepeatCount, h.repeat);
  EXPECT_EQ(v.Diameter, h.diameter);
  EXPECT_EQ(v.TipLength, h.tipLength);

  // The process start: the start point and the tool.
  const int start = IndexOf(*run, 0x6110);
  ASSERT_GE(start, 0);
  const NcElement& s = run->elements[start];
  EXPECT_EQ(s.d4, h.atcOriginX);
  EXPECT_EQ(s.d5, h.atcOriginY);
  EXPECT_EQ(s.d3, h.zOrigin);
  EXPECT_EQ(s.d6, h.spindle);
  EXPECT_EQ(s.d7, h.atc);
  // The tool map the companion loaded.
  ASSERT_EQ(run->output.ToolMap.size(), 1u);
  const handover::ToolMapRecord& tool = run->output.ToolMap[0];
  EXPECT_EQ(tool.atcNumber, h.atc);
  EXPECT_EQ(tool.diameter, h.diameter);
  EXPECT_EQ(tool.feed, h.feed);
  EXPECT_EQ(tool.machiningKind, 0xB400);
  EXPECT_EQ(tool.holeRPointZ, h.rPoint);
  EXPECT_EQ(tool.stepValue48, h.bottom);
}

TEST_F(AgreementTest, CompanionDrillsTheDrawingsHolesToTheirDepth) {
  AddPointCurve(501, kHoles);
  const HoleDefinition h = PeckDrilling();
  AddHoleDefinition(h);
  OrderAllItems();
  ASSERT_TRUE(Build().written);

  auto run = LoadInCompanion();
  run->InitNcJob();
  ASSERT_EQ(run->StartNcCreation(), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  const std::string nc = NcText();
  EXPECT_NE(nc.find("T07M06"), std::string::npos) << nc;
  EXPECT_NE(nc.find("G83"), std::string::npos) << nc;

  const testsupport::MotionCheck check = testsupport::CheckNcMotion(home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC", home(),
                                                                    {.rLevel = h.rPoint, .startLevel = h.zOrigin});
  if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations);
  // Where the tool goes: the deepest feed of each hole, in the drawing's order.
  std::vector<testsupport::CanonMove> bottoms;
  for (const testsupport::CanonMove& m : check.moves) {
    if (m.kind != testsupport::CanonMove::Kind::kFeed) continue;
    if (!bottoms.empty() && bottoms.back().x == m.x && bottoms.back().y == m.y) {
      if (m.z < bottoms.back().z) bottoms.back() = m;
    } else {
      bottoms.push_back(m);
    }
  }
  ASSERT_EQ(bottoms.size(), kHoles.size()) << check.trace;
  for (std::size_t i = 0; i < kHoles.size(); ++i) {
    EXPECT_DOUBLE_EQ(bottoms[i].x, kHoles[i].x);
    EXPECT_DOUBLE_EQ(bottoms[i].y, kHoles[i].y);
    EXPECT_DOUBLE_EQ(bottoms[i].z, h.bottom);
    EXPECT_TRUE(bottoms[i].cannedCycle);
  }
}

}  // namespace
}  // namespace dorn::test
