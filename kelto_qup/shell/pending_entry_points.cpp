#include "kelto_qup/shell/pending_entry_points.h"

namespace qup::shell {

int BuildMachiningModel(RunContext& run) { return run.StopMissingOperation("BuildMachiningModel"); }

void DrawTraceSegment(RunContext& run, const handover::CDisplayRecord&, const handover::CDisplayRecord&) {
  run.StopMissingOperation("DrawTraceSegment");
}

void DrawTraceSweep(RunContext& run) { run.StopMissingOperation("DrawTraceSweep"); }

}  // namespace qup::shell
