// Every generator kind: the stream it writes loads in the companion's job
// load without a damaged-file error, and carries its definition frame.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
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

}  // namespace
}  // namespace dorn::test
