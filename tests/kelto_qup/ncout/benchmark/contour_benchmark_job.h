#pragma once
// The job of the contour benchmarks: one process cutting one closed outline
// 5 outside, written into a fresh program folder, and the timed run of that
// job from the hand-over files to the NC file as Kelto_qup runs it. Each
// benchmark brings only its outline.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/kelto_qup/support/handover_builder.h"

namespace contourbench {

constexpr double kOffset = 5.0;  // the tool offset, outside the outline

struct XY {
  double x, y;
};

// Where the contour is entered: its start and the outward unit normal there.
// The tool comes in square to the outline, from 30 outside the start.
struct Entry {
  XY start{};
  XY outward{};
};

// Writes the job into "<temp>/<folderName>" (emptied first), which becomes
// the program folder and the data root. `addOutline` adds the outline's
// figures (number 100, counter-clockwise, closed) and returns its entry.
std::filesystem::path WriteOutsideContourJob(const std::string& folderName,
                                             const std::function<Entry(testsupport::HandoverBuilder&)>& addOutline);

// Times the run of the job in `home` over `elements` figures: the system
// record read, the job loaded, the NC program written. A run that stops
// ends the benchmark with its error box. Reports the time per element and
// the NC program's size.
void RunContourJob(benchmark::State& state, const std::filesystem::path& home, int elements);

}  // namespace contourbench
