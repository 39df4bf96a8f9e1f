// The definition conditions as the builder writes them: a plane contour
// whose conditions were set by their rules (repeat, MOVE, multi-piece,
// rotation, check surface, OMIT rows) gives the records the companion reads.
#include <gtest/gtest.h>

#include "kelto_dorn/machining/check_surface_rules.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/omit_rules.h"
#include "kelto_dorn/machining/repeat_rules.h"
#include "kelto_dorn/machining/transform_rules.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

using handover::NcElement;
using ConditionBlocksTest = CamDataTest;

TEST_F(ConditionBlocksTest, ContourConditionsBecomeTheirRecords) {
  AddLineCurve(601, {{0, 0}, {40, 0}, {40, 20}});
  AddLineCurve(602, {{5, 5}, {8, 5}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = 0xA000;
  d.curves[0].type = 1;
  d.curves[0].key = 601;
  StepCondition& s = d.steps[0];
  // Z repeat 0 / 1.5 / -6 to and fro, as the repeat dialog leaves it.
  s.repeat[0] = RepeatBlock{0, 0, 0, repeat_style::kZ, 0.0, 1.5, -6.0};
  SetDirection(s, CutDirection::ToAndFro);
  MarkRangesForClose(s, true);
  s.toolMoveZ = 0.0;
  // MOVE by (10, -5); four pieces turned about (50, 25) and an entry
  // without pieces; a Z rotation by 30; ＸＺ; one check surface; three OMIT
  // rows.
  d.moveEntries[0].word4 = kTransformTranslate;
  d.moveEntries[0].value[0] = 10.0;
  d.moveEntries[0].value[1] = -5.0;
  RegisterMoveEntries(d);
  d.multiPieceEntries[0].word[1] = kTransformRotate;
  d.multiPieceEntries[0].word[3] = 4;
  d.multiPieceEntries[0].value[0] = 50.0;
  d.multiPieceEntries[0].value[1] = 25.0;
  d.multiPieceEntries[0].value[2] = 90.0;
  d.multiPieceEntries[1].word[1] = kTransformTranslate;
  RegisterMultiPieceEntries(d);
  d.rotations[0].axis = 1;
  d.rotations[0].angle = 30.0;
  RegisterRotations(d);
  d.general16[3] = 2;
  d.checkSurfaces[0] = CheckSurfaceRow{kCheckType, 2, 901};
  for (int i = 0; i < 3; ++i) d.figures[i].figureKey = 602;
  CompactOmitRows(d);
  StoreDefinition(d, "輪郭加工_10000");
  OrderAllItems();
  ASSERT_TRUE(Build(1).written);
  const auto& e = builder_->Elements();

  const std::vector<NcElement> joints = WithCode(e, 0x7800);
  ASSERT_FALSE(joints.empty());
  EXPECT_EQ(joints[0].flags, 2);
  EXPECT_EQ(joints[0].d1, 0.0);
  EXPECT_EQ(joints[0].d2, 1.5);
  EXPECT_EQ(joints[0].d3, -6.0);

  const std::vector<NcElement> moves = WithCode(e, 0x7600);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].flags, 1);
  EXPECT_EQ(moves[0].d5, 10.0);
  EXPECT_EQ(moves[0].d6, -5.0);

  const std::vector<NcElement> rotations = WithCode(e, 0x8600);
  ASSERT_EQ(rotations.size(), 1u);
  EXPECT_EQ(rotations[0].d1, 30.0);
  EXPECT_TRUE(WithCode(e, 0x8610).empty());

  ASSERT_EQ(WithCode(e, 0x5200).size(), 1u);  // ＸＺ
  const std::vector<NcElement> checks = WithCode(e, 0x8200);
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].flags, 0x111);
  EXPECT_EQ(WithCode(e, 0x8C00).size(), 1u);
  EXPECT_EQ(WithCode(e, 0x8700).size(), 3u);

  // The item ends with the one active multi-piece entry.
  const std::vector<NcElement> pieces = WithCode(e, 0x9800);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].flags, 1);
  EXPECT_EQ(pieces[0].d3, 90.0);
}

// A Z repeat sends the cut-in to the escape level when the tool move Z is
// positive; the repeat itself must still be written, or the contour would be
// cut once, up there.
TEST_F(ConditionBlocksTest, AZRepeatAboveAPositiveToolMoveZKeepsItsJoint) {
  AddLineCurve(601, {{0, 0}, {40, 0}, {40, 20}});
  // The first definition repeats in Z; the second goes to the escape level
  // for its escape alone and keeps its joint out, as before.
  for (const bool zRepeat : {true, false}) {
    HoleDefinition h;
    MachiningDefinition d = MakeHoleDefinition(h);
    d.kind = 0xA000;
    d.number = zRepeat ? 10000 : 11000;
    d.curves[0].type = 1;
    d.curves[0].key = 601;
    StepCondition& s = d.steps[0];
    s.toolMoveZ = 100.0;
    s.escapeOn = zRepeat ? 0 : 1;
    s.escapeKind = 1;
    s.repeat[0] = RepeatBlock{1, 0, 0, zRepeat ? repeat_style::kZ : 1, 0.0, 1.5, -6.0};
    StoreDefinition(d, zRepeat ? "輪郭加工_10000" : "輪郭加工_11000");
  }
  OrderAllItems();
  ASSERT_TRUE(Build(1).written);
  const auto& e = builder_->Elements();
  const std::vector<NcElement> cutIns = WithCode(e, 0x7300);
  ASSERT_EQ(cutIns.size(), 2u);
  EXPECT_EQ(cutIns[0].d5, -99999.0);
  EXPECT_EQ(cutIns[1].d5, -99999.0);
  const std::vector<NcElement> joints = WithCode(e, 0x7800);
  ASSERT_EQ(joints.size(), 1u);
  EXPECT_EQ(joints[0].number, cutIns[0].number);
  EXPECT_EQ(joints[0].flags, 2);
  EXPECT_EQ(joints[0].d1, 0.0);
  EXPECT_EQ(joints[0].d2, 1.5);
  EXPECT_EQ(joints[0].d3, -6.0);
}

}  // namespace
}  // namespace dorn::test
