// The window-free rules of the hole definitions: step rules, the step rows,
// hole processes, the stamps on the hole curves, the helical relations, the
// range text, the ATC ranking and the chamfer detail file.
#include "kelto_dorn/machining/hole_rules.h"

#include <cmath>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/machining/atc_ranking.h"
#include "kelto_dorn/machining/curve_items.h"
#include "kelto_dorn/machining/definition_z_range.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/hole_shapes.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/machining_test_support.h"

namespace dorn {
namespace {

using testing::MachiningTest;

AtcRecord Tool(float diameter, float tipAngle, float blade, int atc, float feed = 100.0f) {
  AtcRecord t{};
  t.inUse = 1;
  t.atcNumber = atc;
  t.diameter = diameter;
  t.tipAngle = tipAngle;
  t.fluteLength = blade;
  t.feed = feed;
  return t;
}

class HoleRulesTest : public MachiningTest {
 protected:
  void SetUp() override {
    MachiningTest::SetUp();
    g_curMachiningDef = MachiningDefinition{};
    CopyChamferDetailToDefinition(ChamferDetail{}, g_curMachiningDef);
  }
  MachiningDefinition& d = g_curMachiningDef;
};

// A drill of 6.8 then a 90-degree tool: a wide tool plunges to the width of
// the chamfer, a narrow one goes round the hole at the cutting offset.
TEST_F(HoleRulesTest, ChamferToolPlungesOrGoesRoundTheHole) {
  struct Case {
    float chamferDiameter;
    double offset;
    double depth;
    double roundDiameter;
  } cases[] = {{10.0f, 0.0, -3.9, 0.0}, {6.0f, 0.0, -0.5, 6.8}, {6.0f, 1.0, -(1.0 * 0.70710678 + 0.5), 6.8}};
  for (const Case& c : cases) {
    d.stepTools[0] = Tool(6.8f, 118.0f, 60.0f, 1);
    d.steps[0].endDepth = -15.0;
    d.stepTools[1] = Tool(c.chamferDiameter, 90.0f, 20.0f, 2, 300.0f);
    d.steps[1].endDepth = 0.0;
    HoleChamferOffset(d) = c.offset;
    HoleChamferDownRate(d) = 0.5;
    HoleChamferApproachRate(d) = 2.0;
    ApplyHoleStepRules(d, 6.8, g_machiningDefaults);
    EXPECT_DOUBLE_EQ(d.steps[0].endDepth, -15.0);
    EXPECT_NEAR(d.steps[1].endDepth, c.depth, 1e-6) << c.chamferDiameter;
    EXPECT_NEAR(d.steps[1].chamferSize, c.roundDiameter, 1e-6);
    if (c.roundDiameter > 0) {
      EXPECT_DOUBLE_EQ(d.steps[1].downFeed, 150.0);
      EXPECT_DOUBLE_EQ(d.steps[1].feedCode, 600.0);
    }
  }
}

// The blade limits the depth once; a fixed depth and a tool without a
// recorded blade (0) are left alone.
TEST_F(HoleRulesTest, BladeLengthLiftsAnUnfixedDepthOnly) {
  struct Case {
    float blade;
    int fixed;
    double depth;
    double expected;
  } cases[] = {{20.0f, 0, -25.0, -20.0}, {20.0f, 1, -25.0, -25.0}, {0.0f, 0, -25.0, -25.0}, {30.0f, 0, -25.0, -25.0}};
  for (const Case& c : cases) {
    d.stepTools[0] = Tool(8.0f, 118.0f, c.blade, 1);
    d.steps[0].endDepth = c.depth;
    d.steps[0].bottomFlag = c.fixed;
    ApplyHoleStepRules(d, std::nullopt, g_machiningDefaults);
    EXPECT_DOUBLE_EQ(d.steps[0].endDepth, c.expected) << c.blade << " " << c.fixed;
  }
  d.steps[0].endDepth = -10.0;
  d.steps[2].endDepth = -12.0;
  d.stepTools[2] = Tool(5.0f, 118.0f, 50.0f, 3);
  d.steps[5].endDepth = -40.0;  // no ATC number: not a step of the hole
  EXPECT_DOUBLE_EQ(DeepestHoleDepth(d), -12.0);
  EXPECT_DOUBLE_EQ(HoleDepthFromTyped(d, 10.0), -10.0);
  EXPECT_DOUBLE_EQ(HoleDepthFromTyped(d, -10.0), -10.0);
}

// The step rows: insert at 1, delete at 7, and row 8, which can be blanked
// but not deleted.
TEST_F(HoleRulesTest, StepRowsInsertAndDelete) {
  for (int s = 0; s < 9; ++s) d.stepTools[s] = Tool(1.0f + s, 118.0f, 50.0f, s + 1);
  g_stepInsertMode = 1;
  g_stepButtonNumber = 1;
  EXPECT_TRUE(SelectHoleStep(*atc_));
  EXPECT_EQ(g_curStepIndex, 0);
  EXPECT_FLOAT_EQ(d.stepTools[0].diameter, -1.0f);
  EXPECT_FLOAT_EQ(d.stepTools[1].diameter, 1.0f);
  EXPECT_FLOAT_EQ(d.stepTools[7].diameter, 7.0f);  // the eighth is lost

  g_stepInsertMode = 0;
  g_stepDeleteMode = kStepDeleteOn;
  g_stepButtonNumber = 7;
  EXPECT_TRUE(SelectHoleStep(*atc_));
  EXPECT_FLOAT_EQ(d.stepTools[6].diameter, 7.0f);
  EXPECT_FLOAT_EQ(d.stepTools[7].diameter, 9.0f);  // the reserved ninth moves up

  g_stepButtonNumber = 8;
  EXPECT_FALSE(SelectHoleStep(*atc_));
  EXPECT_FLOAT_EQ(d.stepTools[7].diameter, 9.0f);
  g_stepDeleteMode = 0;
  g_stepInsertMode = 1;
  EXPECT_TRUE(SelectHoleStep(*atc_));
  EXPECT_FLOAT_EQ(d.stepTools[7].diameter, -1.0f);
  EXPECT_FLOAT_EQ(d.stepTools[6].diameter, 7.0f);

  // After the mode buttons no step is current.
  g_stepButtonNumber = 0;
  EXPECT_FALSE(SelectHoleStep(*atc_));
  EXPECT_EQ(g_curStepIndex, -1);
}

TEST_F(HoleRulesTest, HoleProcessFillsStepsAndCutsTheMachineName) {
  HoleProcessRecord process{};
  process.rows[0] = Tool(6.8f, 118.0f, 60.0f, 1);
  process.rows[1] = Tool(10.0f, 90.0f, 20.0f, 2);
  process.rows[1].inUse = 0;
  std::memset(process.machineName, 'M', 63);
  platform::SetFieldText(process.name, "DRILL_M8_TAP");
  d.steps[0].endDepth = -9.0;
  d.steps[0].switch8 = 1;
  d.general16068[0] = 0x1234;
  ApplyHoleProcessToDefinition(d, process);
  EXPECT_EQ(d.stepTools[1].inUse, 1);
  EXPECT_EQ(d.stepTools[2].inUse, 0);
  EXPECT_EQ(d.steps[0].endDepth, 0.0);
  EXPECT_EQ(d.steps[0].switch8, 0);
  EXPECT_EQ(std::strlen(d.machineName), 51u);
  EXPECT_EQ(d.general16068[0], 0x1234);  // nothing ran past the field
  EXPECT_STREQ(d.processName, "DRILL_M8_TAP");
}

class StampTest : public HoleRulesTest {
 protected:
  void SetUp() override {
    HoleRulesTest::SetUp();
    ASSERT_TRUE(g_figureStore.Start());
    g_figureTableSelector = kTableCurves;
    for (int i = 0; i < 4; ++i) {
      ClearCurrentFigure();
      g_curFigure.kind = kKindArc;
      g_curFigure.centre = {10.0 * i, 0.0};
      g_curFigure.radius = 3.4;
      AppendFigure(0);
    }
    CurveRecord c;
    c.key = 77;
    c.kind = kCurveKindHoleGroup;
    c.first = 0;
    c.end = 4;
    c.flags = 0x80;
    g_curveTable[0] = c;
    g_curveCount = 1;
    d.curves[0].key = 77;
    d.curves[1].key = 999;  // a curve no longer in the drawing
  }
  double Radius(int i) {
    GetFigure(kTableCurves, i);
    return g_curFigure.radius;
  }
};

TEST_F(StampTest, CirclesTakeTheLastRealToolRadius) {
  d.stepTools[0].diameter = -1.0f;  // a blank inserted row
  d.stepTools[1].diameter = 10.0f;
  d.stepTools[2].diameter = -1.0f;
  const auto radius = HoleToolRadius(d);
  ASSERT_TRUE(radius);
  StampHoleCurves(d, 0xB400, radius);
  EXPECT_EQ(g_curveTable[0].flags, 0xB480);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(Radius(i), 5.0);
}

TEST_F(StampTest, NoToolMarksTheCurveOnly) {
  d.stepTools[0].diameter = -1.0f;
  EXPECT_FALSE(HoleToolRadius(d));
  StampHoleCurves(d, 0xB400, HoleToolRadius(d));
  EXPECT_EQ(g_curveTable[0].flags, 0xB480);
  EXPECT_DOUBLE_EQ(Radius(0), 3.4);
  // A figure range outside the table is not stamped.
  g_curveTable[0].end = 400;
  StampHoleCurves(d, 0xB800, 9.0);
  EXPECT_EQ(g_curveTable[0].flags, 0xB880);
  EXPECT_DOUBLE_EQ(Radius(3), 3.4);
}

TEST(HelicalRelations, AngleAndCutPerRevolution) {
  const double d = HelixDiameter(20.0, 10.0, false);
  EXPECT_DOUBLE_EQ(d, 10.0);
  EXPECT_DOUBLE_EQ(Round3(CutPerRevolution(1.0, d)), 0.548);
  EXPECT_NEAR(CutPerRevolution(1.0, HelixDiameter(20.0, 10.0, true)), 1.0968, 1e-4);
  EXPECT_NEAR(SlopeAngleOfCut(0.548, d), 1.0, 1e-3);
  EXPECT_DOUBLE_EQ(SlopeAngleOfCut(0.0, d), 360.0);
}

TEST(AtcRanking, DistinctNumbersInOrderOfFirstUse) {
  struct Case {
    std::vector<std::int32_t> atc;
    std::vector<std::int32_t> ranks;
  } cases[] = {{{5, 7, 5}, {1, 2, 1}}, {{5, 0, 7}, {1, 0, 2}}, {{0, 3, 3, 9}, {0, 1, 1, 2}}};
  for (const Case& c : cases) {
    const AtcRanking r = RankAtcNumbers(c.atc);
    ASSERT_EQ(r.used, static_cast<int>(c.atc.size()));
    for (std::size_t i = 0; i < c.ranks.size(); ++i) EXPECT_EQ(r.rank[i], c.ranks[i]) << i;
  }
  std::vector<std::int32_t> many(1024);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::int32_t>(i % 50 + 1);
  EXPECT_EQ(RankAtcNumbers(many).used, AtcRanking::kPairCount);
}

class ZRangeTest : public HoleRulesTest {};

TEST_F(ZRangeTest, RepeatSetsTheDepthAndTheText) {
  d.kind = 0xA000;
  StepCondition& s = d.steps[0];
  s.endDepth = 10.0;
  s.repeat[1] = {1, 0, 0, 2, 5.0, 1.0, -2.0};
  d.stepTools[0].cornerRadius = 0.5f;
  struct Case {
    int radiusSwitch;
    int option;
    const char* left;
    const char* right;
    double depth;
  } cases[] = {{0, 0, "Z15.0", "8.0", 15.0}, {1, 0, "Z15.5", "8.5", 15.5}, {1, 1, "Z15.0", "8.0", 15.0}};
  for (const Case& c : cases) {
    d.general16[4] = c.radiusSwitch;
    const ZRangeText t = FormatDefinitionZRange(d, 0, c.option, {});
    EXPECT_EQ(t.left, c.left);
    EXPECT_EQ(t.right, c.right);
    EXPECT_DOUBLE_EQ(s.depth, c.depth);
  }
  EXPECT_EQ(platform::Cp932ToUtf8(FormatDefinitionZRange(d, 0, 0, {}).Whole()), " Z15.5 ～ 8.5");
  s.surfaceKey = 42;
  EXPECT_EQ(platform::Cp932ToUtf8(FormatDefinitionZRange(d, 0, 0, {}).right), "曲面error...!");
  auto named = [](std::int32_t) { return std::optional<std::string>("SURF"); };
  EXPECT_EQ(FormatDefinitionZRange(d, 0, 0, named).right, "SURF");
}

TEST_F(ZRangeTest, WithoutZRepeat) {
  d.kind = 0xA000;
  StepCondition& s = d.steps[0];
  s.repeat[0] = {1, 0, 0, 3, 1.5, 0.0, 4.0};
  EXPECT_EQ(FormatDefinitionZRange(d, 0, 0, {}).Whole(), " XY1.5 " + platform::Sjis("～") + " 4.0");
  s.stepMode = 10;
  EXPECT_EQ(platform::Cp932ToUtf8(FormatDefinitionZRange(d, 0, 0, {}).right), "面取り");
  s.stepMode = 1;
  s.areaCutValue = 2.0;
  const ZRangeText t = FormatDefinitionZRange(d, 0, 0, {});
  EXPECT_EQ(platform::Cp932ToUtf8(t.left), "区域");
  EXPECT_EQ(t.right, "2.0");
}

TEST_F(HoleRulesTest, ChamferDetailFile) {
  ChamferDetail read{9, 9, 9, 9};
  EXPECT_EQ(ReadChamferDetail(read).status, platform::FileStatus::Missing);
  EXPECT_DOUBLE_EQ(read.size, 0.5);
  EXPECT_DOUBLE_EQ(read.approachRate, 1.0);
  EXPECT_TRUE(WriteChamferDetail({0.3, 0.2, 0.8, 1.5}).ok());
  ASSERT_TRUE(ReadChamferDetail(read).ok());
  EXPECT_DOUBLE_EQ(read.downRate, 0.8);
  std::ofstream(platform::ResolvePath(platform::ProgramFolder(), kChamferDetailFileName), std::ios::binary) << "short";
  const platform::FileResult r = ReadChamferDetail(read);
  EXPECT_EQ(r.status, platform::FileStatus::WrongSize);
  EXPECT_FALSE(r.message.empty());
  EXPECT_DOUBLE_EQ(read.size, 0.5);
}

// The curve list: removing from a full list of 80 clears the last item and
// reads nothing past it; a chosen list name keeps the old name's tail and
// fits the 64-byte name field on a character boundary.
TEST_F(HoleRulesTest, CurveListRemovalAndChosenNames) {
  for (int i = 0; i < kCurveItemCount; ++i) d.curves[i].key = 100 + i;
  EXPECT_EQ(CountCurveItems(d), 80);
  EXPECT_EQ(RemoveCurveItem(d, 79), 78);
  EXPECT_EQ(d.curves[79].key, 0);
  EXPECT_EQ(RemoveCurveItem(d, 0), 0);
  EXPECT_EQ(d.curves[0].key, 101);
  EXPECT_EQ(d.curves[77].key, 178);
  EXPECT_EQ(d.steps[0].switch0, 0);  // step 0 lies right behind item 79

  EXPECT_EQ(JoinChosenName("TAP", "穴加工_10000"), "TAP_10000");
  EXPECT_EQ(JoinChosenName("TAP", "HOLE"), "TAPHOLE");
  const std::string wide = platform::Sjis("穴");  // a double-byte character
  std::string old;
  for (int i = 0; i < 40; ++i) old += wide;
  const std::string joined = JoinChosenName("A", old);
  EXPECT_EQ(joined.size(), 63u);  // "A" and 31 characters: a 32nd would split at byte 63
  EXPECT_EQ(joined.substr(1, 2), wide);
}

// The painter sees the stored hole definitions that name a curve, with
// their steps' Z range, and nothing of other kinds or other curves.
TEST_F(HoleRulesTest, HoleDefinitionsOfACurve) {
  const std::int32_t kinds[] = {0xB400, 0xA000, 0xB800};
  for (int i = 0; i < 3; ++i) {
    MachiningDefinition& s = slots_->Slot(i);
    s.kind = kinds[i];
    s.curves[0].key = 55;
    s.stepTools[0] = Tool(6.8f, 118.0f, 60.0f, 1);
    s.steps[0].depth = 0.0;
    s.steps[0].endDepth = -15.0;
    s.steps[0].chamferSize = 20.0;
  }
  std::vector<int> visited;
  ForEachHoleDefinition(*slots_, 3, 55, [&](int kind, const HoleStepShape* steps, int count) {
    visited.push_back(kind);
    ASSERT_EQ(count, kStepCount);
    EXPECT_DOUBLE_EQ(steps[0].toolDiameter, 6.8f);
    EXPECT_DOUBLE_EQ(steps[0].lowerZ, -15.0);
    EXPECT_DOUBLE_EQ(steps[0].ownDiameter, 20.0);
    EXPECT_DOUBLE_EQ(steps[1].toolDiameter, 0.0);
  });
  EXPECT_EQ(visited, (std::vector<int>{0xB400, 0xB800}));
  visited.clear();
  ForEachHoleDefinition(*slots_, 3, 56, [&](int kind, const HoleStepShape*, int) { visited.push_back(kind); });
  EXPECT_TRUE(visited.empty());
}

}  // namespace
}  // namespace dorn
