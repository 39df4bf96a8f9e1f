// A closed outline of alternating lines and R20 arcs (a regular polygon
// with every corner rounded, lines and arcs meeting tangentially) cut with
// a tool offset of 5 outside, from the hand-over files to the NC file
// through the interpreter's own contour command (0x7100): the copy of the
// range, the two-axis check over every line and arc, the walk, the closing
// joint. The copy of a range holds at most 11 988 elements, so the sizes are
// 1 000 and 11 000 elements. Target: the time per element at 11 000 at most
// twice that at 1 000.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "tests/kelto_qup/ncout/benchmark/contour_benchmark_job.h"

namespace {

using contourbench::XY;

constexpr double kCentreDistance = 5000.0;  // from the origin to each corner arc's centre
constexpr double kCornerRadius = 20.0;

// The outline of n elements (n even): n / 2 lines, each followed by the
// corner arc it runs into, counter-clockwise, closed. It is entered on its
// first line's start.
contourbench::Entry AddOutline(testsupport::HandoverBuilder& job, int n) {
  const int corners = n / 2;
  const double half = std::numbers::pi / corners;
  auto centre = [&](int k) {
    const double a = 2.0 * half * (k % corners);
    return XY{kCentreDistance * std::cos(a), kCentreDistance * std::sin(a)};
  };
  // The point where corner k's arc meets the side at angle `a`.
  auto touch = [&](int k, double a) {
    const XY c = centre(k);
    return XY{c.x + kCornerRadius * std::cos(a), c.y + kCornerRadius * std::sin(a)};
  };
  contourbench::Entry entry;
  for (int k = 0; k < corners; ++k) {
    const double side = 2.0 * half * k + half;  // the outward normal of the side after corner k
    const XY from = touch(k, side), to = touch(k + 1, side);
    if (k == 0) entry = {from, {std::cos(side), std::sin(side)}};
    job.Line(100, from.x, from.y, to.x, to.y);
    const XY c = centre(k + 1);
    const XY end = touch(k + 1, side + 2.0 * half);
    job.Arc(100, kCornerRadius, to.x, to.y, end.x, end.y, c.x, c.y);
  }
  return entry;
}

void BM_ContourCommand(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto home = contourbench::WriteOutsideContourJob("kelto_contour_command_benchmark_" + std::to_string(n),
                                                         [n](testsupport::HandoverBuilder& job) { return AddOutline(job, n); });
  contourbench::RunContourJob(state, home, n);
}
BENCHMARK(BM_ContourCommand)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
