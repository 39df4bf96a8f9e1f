// The baseline the figure command benchmarks are held against: as many
// figure records copied one by one. Each benchmark program that links this
// file times it beside its own commands, in the same run.
#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/figure_record.h"

namespace {

void BM_PlainRecordCopy(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  std::vector<dorn::FigureRecord> from(n), to(n);
  for (auto _ : state) {
    for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    benchmark::DoNotOptimize(to.data());
  }
}
BENCHMARK(BM_PlainRecordCopy)->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
