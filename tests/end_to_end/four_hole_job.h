#pragma once
// The four-hole drilling job of the companion's end-to-end checks: the
// hand-over as the test builder writes it, and the holes it must drill.
#include <array>
#include <filesystem>

#include "tests/kelto_qup/support/handover_builder.h"

namespace e2e {

struct DrilledHole {
  double x, y, bottom;
};

// The holes of the job: four corners of a 40 x 30 rectangle, drilled with
// G81 to Z-10 from R2.
inline constexpr std::array<DrilledHole, 4> kFourHoles = {{{10, 15, -10}, {50, 15, -10}, {50, 45, -10}, {10, 45, -10}}};

// The job in start mode `startMode` (4 with sub-mode 6: drawn and written).
testsupport::HandoverBuilder FourHoleJob(int startMode = 4, int subMode = 6);

}  // namespace e2e
