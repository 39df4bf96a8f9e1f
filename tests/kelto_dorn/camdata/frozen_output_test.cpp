// The hand-over of one fixed drawing, byte for byte: a fingerprint of each
// of the four files as they were when the builder was last changed on
// purpose. A change that is meant only to make the build faster must leave
// every one of them as it is; a fingerprint that moves says which file
// changed, and the byte tests of the other files say where.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <tuple>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/code_line_record.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/tool_map_record.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

// 64-bit FNV-1a over the bytes of a file, with its length folded in.
std::uint64_t Fingerprint(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes).ok()) return 0;
  std::uint64_t h = 14695981039346656037ull;
  for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return (h ^ bytes.size()) * 1099511628211ull;
}

struct Frozen {
  const char* name;
  bool ordered;  // through the order list (one step per item) or in table order
  std::uint64_t elements, toolMap, codeLines, pitInMap;
};

class FrozenOutputTest : public CamDataTest, public ::testing::WithParamInterface<Frozen> {
 protected:
  // Two hole definitions of two steps on a point curve, a plane contour on
  // a line curve, a helical and a deep hole.
  void MakeDrawing() {
    AddPointCurve(501, {{5, 5}, {15, 5}, {25, 7.5}, {-3.25, 12}});
    AddLineCurve(601, {{0, 0}, {40, 0}, {40, 30}, {0, 30}, {0, 0}});
    HoleDefinition h;
    h.number = 10000;
    MachiningDefinition d = MakeHoleDefinition(h);
    d.steps[1] = d.steps[0];
    d.stepTools[1] = d.stepTools[0];
    d.stepTools[1].atcNumber = 7;
    d.steps[1].depth = -4.0;
    StoreDefinition(d, "穴_A");
    h.number = 11000;
    h.atc = 9;
    h.cycle = 83;
    h.peck = 2.5f;
    StoreDefinition(MakeHoleDefinition(h), "穴_B");
    for (const auto& [number, kind, key, name] :
         {std::tuple{12000, 0xA000, 601, "輪郭"}, std::tuple{13000, 0xB800, 501, "ヘリカル"},
          std::tuple{14000, 0xBC00, 501, "深穴"}}) {
      h.number = number;
      MachiningDefinition k = MakeHoleDefinition(h);
      k.kind = kind;
      k.curves[0].key = key;
      k.stepTools[0].pCode = 1.0f;
      k.stepTools[0].peckDepth = 2.0f;
      k.steps[0].chamferSize = 12.0;
      StoreDefinition(k, name);
    }
  }
};

TEST_P(FrozenOutputTest, TheFourFilesKeepTheirBytes) {
  const Frozen& f = GetParam();
  MakeDrawing();
  if (f.ordered) OrderAllItems();
  const CamBuildResult r = Build();
  ASSERT_TRUE(r.written) << platform::Cp932ToUtf8(r.failure);
  const std::filesystem::path folder = platform::ProgramFolder();
  EXPECT_EQ(Fingerprint(folder / handover::kElementFileName), f.elements);
  EXPECT_EQ(Fingerprint(folder / handover::kToolMapFileName), f.toolMap);
  EXPECT_EQ(Fingerprint(folder / handover::kCodeLineFileName), f.codeLines);
  EXPECT_EQ(Fingerprint(folder / handover::kPitInMapFileName), f.pitInMap);
}

INSTANTIATE_TEST_SUITE_P(Drawings, FrozenOutputTest,
                         ::testing::Values(Frozen{"ordered", true, 18420539081540775983ull, 8356131234811982514ull,
                                                  12638153115695167455ull, 12638153115695167455ull},
                                           Frozen{"table_order", false, 7659045909812823323ull, 4027777847891342276ull,
                                                  12638153115695167455ull, 12638153115695167455ull}),
                         [](const ::testing::TestParamInfo<Frozen>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorn::test
