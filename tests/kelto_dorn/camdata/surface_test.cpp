// The surface records: one group per surface, its main record numbered with
// the surface's key and its further records with key + 1 (+ 2), curves named
// by their key values.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

struct SurfaceCase {
  const char* name;
  SurfaceKind kind;
  std::int32_t mode;
  std::vector<std::pair<std::int32_t, std::int32_t>> records;  // (code, number - key)
};

class SurfaceKindTest : public CamDataTest, public ::testing::WithParamInterface<SurfaceCase> {};

constexpr std::int32_t kKey = 900;
double KeyValue(std::int32_t key) { return key + key * 0.000001; }

TEST_P(SurfaceKindTest, WritesItsGroup) {
  const SurfaceCase& c = GetParam();
  AddLineCurve(601, {{0, 0}, {40, 0}});
  AddLineCurve(602, {{0, 10}, {40, 10}});
  AddLineCurve(603, {{0, 20}, {40, 20}});
  AddLineCurve(604, {{0, 30}, {40, 30}});
  SurfaceDefinition& s = g_surfaceSlots[0];
  s = ResetSurfaceDefinition();
  s.key = kKey;
  s.kind = static_cast<std::int32_t>(c.kind);
  s.mode = c.mode;
  s.baseLine1 = 601;
  s.baseLine2 = 602;
  s.curvesA[0] = 603;
  s.curvesA[1] = 604;
  s.curvesB[0] = 602;
  s.z1 = -3.0;
  s.z2 = -4.0;
  s.x[0] = 30.0;
  s.x[1] = 20.0;
  s.y[1] = 10.0;
  g_surfaceIndexTable.records[0] = DefinitionIndexRecord{kIndexRecordSurface, kKey, 0, s.kind, "S"};
  g_surfaceIndexTable.count = 1;
  ASSERT_TRUE(Build().written);
  std::vector<std::pair<std::int32_t, std::int32_t>> got;
  const auto& e = builder_->Elements();
  for (const handover::NcElement& r : e) {
    if (r.number >= kKey && r.number <= kKey + 2) got.emplace_back(r.code, r.number - kKey);
  }
  EXPECT_EQ(got, c.records);
  // The main record comes first and names curves by key value.
  for (const handover::NcElement& r : e) {
    if (r.number != kKey) continue;
    for (double v : r.DoubleValues()) {
      if (v > 600.0 && v < 700.0) EXPECT_DOUBLE_EQ(v, KeyValue(static_cast<std::int32_t>(v)));
    }
  }
}

using R = std::vector<std::pair<std::int32_t, std::int32_t>>;
INSTANTIATE_TEST_SUITE_P(
    Kinds, SurfaceKindTest,
    ::testing::Values(
        SurfaceCase{"Roll", SurfaceKind::Roll, 1, R{{0x3500, 0}}},
        SurfaceCase{"Xz", SurfaceKind::Xz, 1, R{{0x3300, 0}}},
        SurfaceCase{"XzSections", SurfaceKind::Xz, 0x1001, R{{0x3300, 0}, {0x5500, 1}, {0x5500, 1}}},
        SurfaceCase{"YzSections", SurfaceKind::Yz, 0x1002, R{{0x3200, 0}, {0x5600, 1}, {0x5600, 1}}},
        SurfaceCase{"GlSections", SurfaceKind::Gl, 0x1001, R{{0x3300, 0}, {0x5500, 1}}},
        SurfaceCase{"Xy", SurfaceKind::Xy, 2, R{{0x3100, 0}}},
        SurfaceCase{"XyRib", SurfaceKind::XyRib, 1, R{{0x3100, 0}, {0x5900, 1}}},
        SurfaceCase{"SpaceSections", SurfaceKind::Space, 0x1001, R{{0x3100, 0}, {0x8810, 1}, {0x1100, 1}, {0x1100, 1}}},
        SurfaceCase{"ScaleSections", SurfaceKind::Scale, 0x1001, R{{0x3100, 0}, {0x5400, 1}, {0x5400, 1}}},
        SurfaceCase{"Bl", SurfaceKind::Bl, 3, R{{0x3100, 0}, {0x5700, 1}, {0x5700, 1}, {0x5900, 1}}},
        SurfaceCase{"BlRib", SurfaceKind::BlRib, 1, R{{0x3100, 0}, {0x5700, 1}, {0x5700, 1}, {0x5900, 2}}},
        SurfaceCase{"Ref", SurfaceKind::Ref, 1, R{{0x3600, 0}, {0x3700, 1}}},
        SurfaceCase{"Fillet", SurfaceKind::Fillet, 1, R{{0x3900, 0}, {0x1200, 1}, {0x5900, 1}}},
        SurfaceCase{"FilletWall", SurfaceKind::FilletWall, 1, R{{0x3900, 0}, {0x1200, 1}, {0x5900, 1}}},
        SurfaceCase{"PlusFillet", SurfaceKind::PlusFillet, 1, R{{0x3900, 0}, {0x1200, 1}, {0x5900, 1}}},
        SurfaceCase{"Wire", SurfaceKind::Wire4, 1, R{{0x3100, 0}, {0x5700, 1}, {0x5700, 1}, {0x5900, 1}}},
        SurfaceCase{"Wire2", SurfaceKind::Wire2, 1, R{{0x3100, 0}, {0x5700, 1}, {0x5700, 1}, {0x5900, 1}}}),
    [](const ::testing::TestParamInfo<SurfaceCase>& info) { return std::string(info.param.name); });

using SurfaceTest = CamDataTest;

TEST_F(SurfaceTest, ASectionListThatEndsAtOnceWritesTheMainRecordOnly) {
  AddLineCurve(601, {{0, 0}, {40, 0}});
  SurfaceDefinition& s = g_surfaceSlots[0];
  s = ResetSurfaceDefinition();
  s.key = kKey;
  s.kind = static_cast<std::int32_t>(SurfaceKind::Scale);
  s.mode = 0x1001;
  s.baseLine1 = 601;
  g_surfaceIndexTable.records[0] = DefinitionIndexRecord{kIndexRecordSurface, kKey, 0, s.kind, "S"};
  g_surfaceIndexTable.count = 1;
  ASSERT_TRUE(Build().written);
  EXPECT_EQ(WithCode(builder_->Elements(), 0x5400).size(), 0u);
  const std::vector<handover::NcElement> main = WithCode(builder_->Elements(), 0x3100);
  ASSERT_EQ(main.size(), 1u);
  EXPECT_EQ(main[0].flags, 0x103);  // SCALE with a Z value
  EXPECT_EQ(main[0].d5, 0.0);
  EXPECT_DOUBLE_EQ(main[0].d4, KeyValue(601));
}

TEST_F(SurfaceTest, XySurfaceTakesItsZFromACurveOrAValue) {
  AddLineCurve(601, {{0, 0}, {40, 0}});
  SurfaceDefinition& s = g_surfaceSlots[0];
  s = ResetSurfaceDefinition();
  s.key = kKey;
  s.kind = static_cast<std::int32_t>(SurfaceKind::Xy);
  s.mode = 1;
  s.baseLine1 = 601;
  s.zSurface1 = 605;
  g_surfaceIndexTable.records[0] = DefinitionIndexRecord{kIndexRecordSurface, kKey, 0, s.kind, "S"};
  g_surfaceIndexTable.count = 1;
  ASSERT_TRUE(Build().written);
  handover::NcElement main = WithCode(builder_->Elements(), 0x3100).at(0);
  EXPECT_EQ(main.flags, 0x111);
  EXPECT_DOUBLE_EQ(main.d5, KeyValue(605));
  s.zSurface1 = 0;
  s.z1 = -7.5;
  ASSERT_TRUE(Build().written);
  main = WithCode(builder_->Elements(), 0x3100).at(0);
  EXPECT_EQ(main.flags, 0x101);
  EXPECT_EQ(main.d5, -7.5);
}

}  // namespace
}  // namespace dorn::test
