#pragma once
// The contour corpus: named shapes cut through the real road (a drawing
// with a plane contour definition, CreateCamData, the companion's NC run,
// rs274) and judged by the independent contour check. The corpus is a table
// of jobs; one function runs a job and names what went wrong with it. The
// jobs that fail today are listed, with what they show, in
// tests/fixtures/contour_known_failures.txt.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kelto_qup/engine/recording_host.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/kelto_qup/support/contour_check.h"

namespace dorn::test {

using Contour = std::vector<testsupport::DrawnElement>;

// The approach and escape of a job, both of one kind.
enum class Lead { kNone, kArc, kNormal, kTangent, kVector };
// How the depth is reached: one pass at the contour's depth, or passes at
// -2 and -5 by a depth joint of kind 0 or 1, or by a Z repeat.
enum class Passes { kOne, kJointKind0, kJointKind1, kZRepeat };

struct CorpusJob {
  std::string name;           // unique; no spaces
  Contour contour;            // as drawn; the tool runs left of its travel
  std::int32_t kind = 0xA000;  // plane contour, or 0x8000 character
  double toolDiameter = 10.0;
  std::array<double, 2> cutIn{}, exit{};  // the TO points of the cut-in and the overrun
  Lead lead = Lead::kNone;
  double leadAmount = 3.0;
  double approachAngle = 0.0, escapeAngle = 0.0;  // vector leads: the direction of travel, degrees
  double overrun = 0.0;
  Passes passes = Passes::kOne;
  bool thereAndBack = false;
  // The tool cannot cut this contour (narrower than the tool): the run must
  // say so and mark the program incomplete.
  bool mustRefuse = false;
};

// The levels a job must cut the whole wall at.
std::vector<double> JobDepths(const CorpusJob& job);

// The named jobs, in a fixed order.
const std::vector<CorpusJob>& ContourCorpus();

// The job as a small fixture to keep: its elements, tool, TO points and options.
std::string JobFixture(const CorpusJob& job);

// The known failures: job name -> the verdicts it shows, read from the
// table. `problems` gets a line for each entry out of order, repeated or
// malformed.
std::map<std::string, std::vector<std::string>> ReadKnownFailures(const std::filesystem::path& table,
                                                                  std::vector<std::string>& problems);
std::filesystem::path KnownFailuresTable();

struct CorpusOutcome {
  // Sorted: the check's verdicts (GOUGE, WRONG-SIDE, UNCUT, RAPID-LOW),
  // ERROR-20nn for an error box of the run (ERROR-FAULT for a broken
  // invariant), MOTION for a rule of the motion check broken, REFUSED-NOT
  // for a contour the tool cannot cut that the run did not refuse.
  std::vector<std::string> verdicts;
  std::string details;  // what each verdict saw
  bool ran = false;     // rs274 read the program
};

// A fresh program for each job: the drawing, the definition, the hand-over,
// the companion's run and rs274, then the check.
class ContourCorpusTest : public CamDataTest {
 protected:
  void SetUp() override;
  // Runs one job; the state of any job before it is gone first.
  CorpusOutcome RunCorpusJob(const CorpusJob& job);

 private:
  void ClearLastJob();
  void AddContourCurve(std::int32_t key, const Contour& contour);
  MachiningDefinition Definition(const CorpusJob& job, std::int32_t key) const;

  qup::RecordingHost host_;
};

}  // namespace dorn::test
