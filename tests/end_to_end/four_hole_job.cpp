#include "tests/end_to_end/four_hole_job.h"

namespace e2e {

testsupport::HandoverBuilder FourHoleJob(int startMode, int subMode) {
  testsupport::HandoverBuilder job;
  job.header.startMode = startMode;
  job.header.subMode = subMode;
  job.Begin();
  for (const DrilledHole& h : kFourHoles) job.Point(100, h.x, h.y);
  job.BeginProcess(400, 5, 0.0, 0.0, 50.0, 1200.0, 8.5);
  job.HoleCutIn(401);
  testsupport::HoleSpec hole;
  hole.bottom = kFourHoles[0].bottom;
  job.Hole(402, 100, 100, hole);
  job.ProcessEnd(500);
  job.End();
  return job;
}

}  // namespace e2e
