// Every generator kind: the stream it writes loads in the companion's job
// load without a damaged-file error, and carries its definition frame.
#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

struct KindCase {
  const char* name;
  std::int32_t kind;
  std::int32_t command;  // a record the generator must write
};

class GeneratorKindTest : public CamDataTest, public ::testing::WithParamInterface<KindCase> {};

// A plane XY surface on curve 601, key 901.
void AddSurface() {
  SurfaceDefinition& s = g_surfaceSlots[0];
  s = ResetSurfaceDefinition();
  s.key = 901;
  s.kind = static_cast<std::int32_t>(SurfaceKind::Xy);
  s.mode = 1;
  s.baseLine1 = 601;
  s.curvesA[0] = 602;
  s.z1 = -5.0;
  g_surfaceIndexTable.records[0] = DefinitionIndexRecord{kIndexRecordSurface, 901, 0, s.kind, "XY"};
  g_surfaceIndexTable.count = 1;
}

TEST_P(GeneratorKindTest, StreamLoadsInTheCompanion) {
  const KindCase& c = GetParam();
  AddLineCurve(601, {{0, 0}, {40, 0}, {40, 30}}, c.kind == 0x8000 ? 1332 : 0);
  AddLineCurve(602, {{0, 0}, {0, 30}});
  AddSurface();
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = c.kind;
  const bool surfaceKind = c.kind == 0xE300 || c.kind == 0xF300 || c.kind == 0xF400;
  d.curves[0].key = surfaceKind ? 901 : (c.kind == 0xB400 || c.kind == 0xB800 || c.kind == 0xBC00 ? 501 : 601);
  AddPointCurve(501, {{5, 5}, {15, 5}});
  d.stepTools[0].pCode = 1.0f;
  d.stepTools[0].peckDepth = 2.0f;
  d.steps[0].chamferSize = 12.0;  // the helix diameter
  d.steps[0].approachOn = 1;
  d.steps[0].approachKind = 2;
  d.steps[0].value264 = 3.0;
  d.steps[0].escapeOn = 1;
  d.steps[0].escapeKind = 2;
  d.steps[0].value304 = 3.0;
  d.steps[0].zone1Key = 0xFFFF;
  d.steps[0].zone2Key = 0xFFFF;
  StoreDefinition(d, c.name);
  OrderAllItems();
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written) << platform::Cp932ToUtf8(r.failure);
  EXPECT_TRUE(r.skipped.empty()) << platform::Cp932ToUtf8(r.skipped.front());
  EXPECT_EQ(WithCode(builder_->Elements(), 0xEC54).size(), 1u);
  bool found = false;
  for (const handover::NcElement& e : builder_->Elements()) found |= (e.code & 0xFF00) == c.command;
  EXPECT_TRUE(found) << std::hex << c.command;

  ASSERT_TRUE(WriteDornPostTable().ok());
  qup::RecordingHost host;
  qup::RunContext run(host);
  run.job.Header = g_drawingHeader;
  run.job.Modes.StartMode = 4;
  EXPECT_EQ(run.LoadJob(), 0);
  EXPECT_TRUE(host.errorBoxes.empty()) << platform::Cp932ToUtf8(host.errorBoxes.front());
  EXPECT_EQ(run.elements.ElementCount, static_cast<int>(builder_->Elements().size()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, GeneratorKindTest,
                         ::testing::Values(KindCase{"character", 0x8000, 0x7100}, KindCase{"plane", 0xA000, 0x7100},
                                           KindCase{"hole", 0xB400, 0x6800}, KindCase{"helical", 0xB800, 0x6B00},
                                           KindCase{"deep", 0xBC00, 0x6C00}, KindCase{"wire4", 0xC000, 0x7100},
                                           KindCase{"wire2", 0xC100, 0x7100}, KindCase{"axis25", 0xD000, 0x3100},
                                           KindCase{"taper", 0xDA00, 0x3100}, KindCase{"surface3", 0xE300, 0x7100},
                                           KindCase{"model", 0xF300, 0x7100}, KindCase{"fillet", 0xF400, 0x7100},
                                           KindCase{"screw", 0xF700, 0x7F00}),
                         [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

// The approach and escape records of every kind on a plane contour: the code
// of the kind and its values; normal, arc and arc-from-IP distances turn over
// on a reversed step; a vector escape carries its distance as every escape does.
struct WayCase {
  const char* name;
  std::int32_t approachKind, escapeKind;
  bool reversed;
  std::int32_t approachCode, escapeCode;
  std::array<double, 6> approach;  // d0..d5 of the approach record
  std::array<double, 6> escape;    // d0..d5 of the escape record
};

class WayRecordTest : public CamDataTest, public ::testing::WithParamInterface<WayCase> {};

TEST_P(WayRecordTest, CarriesTheValuesOfItsKind) {
  const WayCase& w = GetParam();
  AddLineCurve(601, {{0, 0}, {40, 0}, {40, 30}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = 0xA000;
  d.curves[0].key = 601;
  StepCondition& c = d.steps[0];
  c.word32 = w.reversed ? 1 : 0;
  c.approachOn = 1;
  c.approachKind = w.approachKind;
  c.value264 = 3.0;  // distance
  c.value272 = 30.0;
  c.value280 = 60.0;
  c.escapeOn = 1;
  c.escapeKind = w.escapeKind;
  c.value304 = 4.0;
  c.value312 = 120.0;
  c.value320 = 150.0;
  c.zone1Key = 0xFFFF;
  c.zone2Key = 0xFFFF;
  StoreDefinition(d, w.name);
  OrderAllItems();
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written) << platform::Cp932ToUtf8(r.failure);
  const auto check = [&](std::int32_t code, const std::array<double, 6>& want) {
    const std::vector<handover::NcElement> found = WithCode(builder_->Elements(), code);
    ASSERT_EQ(found.size(), 1u) << std::hex << code;
    for (int i = 0; i < 6; ++i) {
      EXPECT_NEAR(found[0].DoubleAt(i), want[static_cast<std::size_t>(i)], 1e-12) << std::hex << code << " d" << i;
    }
  };
  check(w.approachCode, w.approach);
  check(w.escapeCode, w.escape);
}

const double kC30 = std::cos(30.0 * kRadiansPerDegree), kS30 = std::sin(30.0 * kRadiansPerDegree);
const double kC60 = std::cos(60.0 * kRadiansPerDegree), kS60 = std::sin(60.0 * kRadiansPerDegree);
const double kC120 = std::cos(120.0 * kRadiansPerDegree), kS120 = std::sin(120.0 * kRadiansPerDegree);
const double kC150 = std::cos(150.0 * kRadiansPerDegree), kS150 = std::sin(150.0 * kRadiansPerDegree);

INSTANTIATE_TEST_SUITE_P(
    Kinds, WayRecordTest,
    ::testing::Values(
        WayCase{"normal", 2, 2, false, 0x7510, 0x7520, {0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 4, 0}},
        WayCase{"normal_reversed", 2, 2, true, 0x7510, 0x7520, {0, 0, 0, 0, -3, 0}, {0, 0, 0, 0, -4, 0}},
        WayCase{"tangent_reversed", 3, 3, true, 0x7560, 0x7570, {0, 0, 0, 0, 3, 0}, {0, 0, 0, 0, 4, 0}},
        WayCase{"arc_reversed", 4, 4, true, 0x7580, 0x7590, {0, 0, 0, 0, -3, 0}, {0, 0, 0, 0, -4, 0}},
        WayCase{"centre", 5, 5, true, 0x75A0, 0x75B0, {0, 0, 0, 0, 30, 60}, {0, 0, 0, 0, 120, 150}},
        WayCase{"vector", 6, 6, true, 0x75C0, 0x75D0, {kC60, kS60, kC30, kS30, 3, 0},
                {kC150, kS150, kC120, kS120, 4, 0}},
        WayCase{"ip_arc_reversed", 41, 41, true, 0x7581, 0x7591, {0, 0, 30, 60, -3, 0}, {0, 0, 120, 150, -4, 0}},
        WayCase{"helical_and_plain_escape", 7, 1, false, 0x75A0, 0x6300, {0, 0, 0, 0, 30, 60},
                {0, 0, 0, 0, 4, 0}}),
    [](const ::testing::TestParamInfo<WayCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorn::test
