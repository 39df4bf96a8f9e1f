// CreateCamData for 500 hole definitions over 50000 hole points, against
// writing the same records with the shared record writers alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "kelto_dorn/camdata/order_items.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace {

using namespace dorn;
using namespace dorn::test;

constexpr int kDefinitions = 500;
constexpr int kPointsPerCurve = 100;

// The drawing, made once: the fixture of the tests driven by hand.
struct Drawing : CamDataTest {
  void TestBody() override {}
  Drawing() {
    SetUp();
    for (int c = 0; c < kDefinitions; ++c) {
      std::vector<Point> points;
      for (int i = 0; i < kPointsPerCurve; ++i) points.push_back({i * 2.0, c * 2.0});
      AddPointCurve(1000 + c, points);
      HoleDefinition h;
      h.number = 10000 + 1000 * c;
      h.curveKey = 1000 + c;
      h.atc = 1 + c % 40;
      AddHoleDefinition(h);
    }
    OrderAllItems();
  }
  ~Drawing() override { TearDown(); }
  using CamDataTest::Build;
  using CamDataTest::builder_;
};

Drawing& Shared() {
  static Drawing d;
  return d;
}

void BM_CreateCamData(benchmark::State& state) {
  Drawing& d = Shared();
  for (auto _ : state) {
    const CamBuildResult r = d.Build();
    if (!r.written) state.SkipWithError("the build failed");
    benchmark::DoNotOptimize(r.elements);
  }
  state.counters["elements"] = static_cast<double>(d.builder_->Elements().size());
}
BENCHMARK(BM_CreateCamData)->Unit(benchmark::kMillisecond);

void BM_WriteSameRecords(benchmark::State& state) {
  Drawing& d = Shared();
  d.Build();
  const CCamDataBuilder& b = *d.builder_;
  const std::filesystem::path folder = platform::ProgramFolder();
  for (auto _ : state) {
    handover::WriteElementFile(folder / handover::kElementFileName, b.Elements());
    handover::WriteToolMapFile(folder / handover::kToolMapFileName, b.ToolMap());
    handover::WriteCodeLineFile(folder / handover::kCodeLineFileName, b.CodeLines(),
                                static_cast<std::size_t>(b.CodeLineCount()));
    handover::WritePitInMap(folder / handover::kPitInMapFileName, b.PitInMap());
  }
}
BENCHMARK(BM_WriteSameRecords)->Unit(benchmark::kMillisecond);

// The same four files as the builder writes them: as one set, all replaced
// or none (platform::WriteFilesTogether), so that the build's own work is
// what the two figures differ by.
void BM_WriteSameRecordsTogether(benchmark::State& state) {
  Drawing& d = Shared();
  d.Build();
  const CCamDataBuilder& b = *d.builder_;
  const std::filesystem::path folder = platform::ProgramFolder();
  for (auto _ : state) {
    std::vector<handover::CodeLineRecord> lines;
    platform::FileWrite files[4];
    files[0] = {folder / handover::kElementFileName, b.Elements().data(),
                b.Elements().size() * sizeof(handover::NcElement)};
    handover::PrepareToolMapFile(folder / handover::kToolMapFileName, b.ToolMap(), files[1]);
    handover::PrepareCodeLineFile(folder / handover::kCodeLineFileName, b.CodeLines(),
                                  static_cast<std::size_t>(b.CodeLineCount()), lines, files[2]);
    handover::PreparePitInMap(folder / handover::kPitInMapFileName, b.PitInMap(), files[3]);
    platform::WriteFilesTogether(files);
  }
}
BENCHMARK(BM_WriteSameRecordsTogether)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
