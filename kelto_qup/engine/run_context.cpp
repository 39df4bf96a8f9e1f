// The run context's construction; each family of routines lives in its own
// file (see the sections of run_context.h).
#include "kelto_qup/engine/run_context.h"

#include "platform/clock.h"

namespace qup {

RunContext::RunContext(RunHost& runHost) : host(runHost) {}

std::uint64_t RunHost::TickMs() { return platform::TickMs(); }

}  // namespace qup
