#pragma once
// Contour jobs for the tests: the contour commands written into a hand-over
// (a cut-in with its tool-offset point, the approach down, the contour
// command over a run of figures, the escape up), and a test-only driver that
// runs such a job as an NC creation run does, standing in for the contour
// loop of command 0x7100 while that loop is not part of the engine: the
// interpreter runs the commands before the contour, the driver walks the
// contour's range element by element (RunContourCommand per element, the
// walk mode 4 after the first) and leaves the contour along the lead line
// through the tool-offset point, and the interpreter runs the rest.
#include "kelto_qup/engine/run_context.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace testsupport {

// One contour of a process.
struct ContourOptions {
  int figureNumber = 100;  // the number the contour's figures carry
  double offset = 0.0;     // tool offset, positive to the left of travel
  double z = -5.0;         // the contour's depth
  double feed = 300.0;     // cutting feed
  double toX = 0.0;        // the tool-offset point the lead lines run through
  double toY = 0.0;
  double down = 10.0;      // the approach comes down this far onto the contour (0: none)
  double up = 10.0;        // the escape goes up this far (0: none)
  // The overrun command (0x7400 through the tool-offset point) after the
  // contour command, as the CAM builder writes it: the interpreter's own
  // contour command leaves the contour there. Not for the driver, which
  // leaves the contour itself.
  bool overrunCommand = false;
};

// Writes the cut-in (0x7300 with the tool-offset point), the approach down
// (0x6200), the contour command (0x7100 over the figures numbered
// figureNumber; the offset in d1 marked with flags 3 as the CAM data writer
// marks it, depth in d5, feed in d7) and the escape up (0x6300), all
// numbered `number`; with overrunCommand the overrun before the escape.
void AddContour(HandoverBuilder& job, int number, const ContourOptions& options);

// Runs the loaded job as StartNcCreation does, with the driver walking
// every plain contour command (code 0x7100). Returns 0, or kStopRun when
// the run stopped.
int RunContourJob(qup::RunContext& run);

}  // namespace testsupport
