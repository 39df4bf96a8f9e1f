// Path length and machining time of a run. The block composer books every
// move it writes (AddMoveLength) and every feed change (AddMachiningTime);
// the job reports read the two accumulators.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

void RunContext::AddMoveLength() {
  const double dx = WorkVectorX();
  const double dy = WorkVectorY();
  const double dz = core.MoveVectorZ;
  if (R0.d1 == 0.0) {
    PathLength += std::sqrt(dx * dx + dy * dy + dz * dz);
    return;
  }
  // Arc move: the sweep from the start radius to the end radius in the
  // plane of the move, measured with the pair (offset, move component)
  // ordered as the plane names them. By plane select 1 to 3, the plane's two
  // axes (0 X, 1 Y, 2 Z) in the order the sweep is measured in.
  static constexpr int kPlaneAxes[4][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}};
  const int plane = core.PlaneSelect & 3;
  if (plane == 0) return;  // no plane: nothing is booked
  const auto& c = core.MoveCentreOffsets;  // I, J, K
  const double move[3] = {dx, dy, dz};
  const int a1 = kPlaneAxes[plane][0], a2 = kPlaneAxes[plane][1];
  const double s1 = c[a1], m1 = move[a1];
  const double s2 = c[a2], m2 = move[a2];
  const double sLength = std::sqrt(s1 * s1 + s2 * s2);
  // A centre at the start point has no radius and no sweep: nothing to book
  // (and no division by zero).
  if (sLength == 0.0) return;
  const double u1 = s1 / sLength;
  const double u2 = s2 / sLength;
  const double d1 = s1 - m1;
  const double d2 = s2 - m2;
  const double x = d1 * u1 + d2 * u2;
  double y = d1 * u2 - d2 * u1;
  if (R0.d1 < 0.0) y = -y;
  double sweep = geom::PolarDegrees(x, y);
  if (sweep == 0.0) sweep = 360.0;  // end on the start: a full circle
  PathLength += sweep * std::fabs(R0.d1) / core.DegreesPerRadian;
}

int RunContext::AddMachiningTime(int force) {
  constexpr double kSecondsPerMinute = 60.0;
  if (core.CurrentFeed == 0.0) {
    // The first timed move: take its feed, book nothing. The length run so
    // far at feed 0 has no feed to be timed by: it is passed over, neither
    // timed at the new feed nor (the whole run's length) booked again.
    core.CurrentFeed = core.NextFeed;
    core.TimedLength = PathLength;
    return 0;
  }
  const double booked = (PathLength - core.TimedLength) * kSecondsPerMinute / core.CurrentFeed;
  if (ElementIndex == 0) {
    MachiningTime += booked;  // the final booking of the run
    return 0;
  }
  if (core.NextFeed != core.CurrentFeed || force != 0) {
    MachiningTime += booked;
    core.TimedLength = PathLength;
    core.CurrentFeed = core.NextFeed;
  }
  return 0;
}

}  // namespace qup
