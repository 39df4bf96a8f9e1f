#include "tests/end_to_end/four_hole_job.h"

namespace e2e {

testsupport::HandoverBuilder FourHoleJob(int startMode, int subMode) {
  testsupport::HandoverBuilder job;
  job.header.startMode = startMode;
  job.header.subMode = subMode;
  job.Begin();
  for (const DrilledHole& h : kFourHoles) job.Point(100, h.x, h.y);
  testsupport::HoleProcess drill;
  drill.tool.diameter = 8.5;
  drill.step.depth = kFourHoles[0].bottom;
  job.BeginHoleProcess(400, drill);
  job.HoleCutIn(401, drill);
  job.Hole(402, 100, drill);
  job.ProcessEnd(500);
  job.End();
  return job;
}

}  // namespace e2e
