#pragma once
// The start modes and view commands whose subsystems are not built yet: the
// 3-D machining model and the trace drawing. Each entry stops with a box
// naming the operation, so a start mode that cannot run says so and is never
// taken for one that ran.
#include "kelto_qup/engine/run_context.h"
#include "shared/handover/display_record.h"

namespace qup::shell {

int BuildMachiningModel(RunContext& run);
// The TRACE drawing of one display record against the previous one, and the
// sweep that ends a chain.
void DrawTraceSegment(RunContext& run, const handover::CDisplayRecord& previous,
                      const handover::CDisplayRecord& current);
void DrawTraceSweep(RunContext& run);

}  // namespace qup::shell
