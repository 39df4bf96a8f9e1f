// Engine operations that the run context declares and whose families are not
// written yet (contour runs, passes and fillets), and the few operations that
// the built families call but no family specifies. Each stops the run with a box naming the
// missing operation, so a job that reaches one ends with a clear error
// instead of wrong output. Whoever writes the real operation deletes its
// placeholder here.
#include "kelto_qup/engine/run_context.h"

namespace qup {

#define KELTO_PENDING_0(name) \
  int RunContext::name() { return StopMissingOperation(#name); }
#define KELTO_PENDING_1(name) \
  int RunContext::name(int) { return StopMissingOperation(#name); }

// The contour set-up pass of 0x7140, the contour sub-pass of 0x7180 and the
// overrun pass that follows a set-up pass.
KELTO_PENDING_0(HabGooSetup)
KELTO_PENDING_0(ContourSubPass)
KELTO_PENDING_0(OverrunPass)
KELTO_PENDING_0(CalcContourPath)
KELTO_PENDING_0(FindFilletContact)
KELTO_PENDING_0(ComputeFilletFrame)
KELTO_PENDING_0(ChooseFilletStep)
KELTO_PENDING_0(RunFilletMachining)
KELTO_PENDING_1(RunFilletCalculation)
KELTO_PENDING_0(FilletWalkElements)
KELTO_PENDING_0(FilletSegmentSetup)
KELTO_PENDING_0(StepFilletRow)
KELTO_PENDING_0(EmitFilletRowPoint)
KELTO_PENDING_0(AdjustFilletStep)

// Called by the element stepper, the motion machine and the offset pass but
// specified with neither: the call-entry driver and its push, the angular
// move, the three helpers of a 0x8800 motion set-up, the contour fillet and
// the pass driver's stepped passes.
KELTO_PENDING_0(StepDriver)
KELTO_PENDING_0(MotionHelper8800A)
KELTO_PENDING_0(MotionHelper8800B)
KELTO_PENDING_0(MotionHelper8800C)
int RunContext::PushCallEntry(int, int) { return StopMissingOperation("PushCallEntry"); }
int RunContext::AngularMove(double) { return StopMissingOperation("AngularMove"); }
int RunContext::CalcContourFillet(int, int) { return StopMissingOperation("CalcContourFillet"); }

#undef KELTO_PENDING_0
#undef KELTO_PENDING_1

}  // namespace qup
