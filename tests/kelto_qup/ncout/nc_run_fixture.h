#pragma once
// The fixture of whole NC creation runs: the hand-over written by the test
// builder, LoadJob, InitNcJob and StartNcCreation, the NC program read as
// lines, and the program read back by rs274 under the motion check.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace ncrun {

namespace fs = std::filesystem;
using testsupport::HandoverBuilder;
using testsupport::HoleProcess;
using testsupport::MotionLimits;
using Strings = std::vector<std::string>;

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The NC file's lines without their CR LF ends.
inline Strings Lines(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The lines from the first one that starts with `from` up to and including
// the first that starts with `to`.
inline Strings Section(const Strings& lines, const std::string& from, const std::string& to) {
  Strings out;
  bool in = false;
  for (const std::string& line : lines) {
    if (!in && line.rfind(from, 0) == 0) in = true;
    if (!in) continue;
    out.push_back(line);
    if (line.rfind(to, 0) == 0) break;
  }
  return out;
}

// A drilled hole as rs274 makes it: a feed move straight down.
struct Plunge {
  double x, y, z;
};

class NcRunTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    Reset();
  }
  // A fresh run context (for a table of cases in one test).
  void Reset() {
    host = qup::RecordingHost{};
    run = std::make_unique<qup::RunContext>(host);
    run->job.DisplayList = [this] { return host.displayRecords; };
  }

  // Loads and runs the job; returns StartNcCreation's result.
  int Run(HandoverBuilder& job) {
    job.Write(home());
    run->job.Header = job.header;
    run->job.Modes.StartMode = job.header.startMode;
    run->LoadJob();
    run->InitNcJob();
    if (afterLoad) afterLoad(*run);
    return run->StartNcCreation();
  }
  // Run words that no hand-over record carries, set after the load.
  std::function<void(qup::RunContext&)> afterLoad;
  fs::path NcPath() const { return testsupport::DatFolder(home()) / "HOLE.NC"; }
  std::string NcText() const { return ReadText(NcPath()); }
  int NcExeWord() const {
    std::int32_t word = -1;
    std::ifstream in(home() / "$NC_EXE.@@@", std::ios::binary);
    in.read(reinterpret_cast<char*>(&word), sizeof word);
    return in ? word : -1;
  }

  // Reads the NC file back with rs274 under the motion check; the drilled
  // holes as rs274 makes them (a deeper peck deepens its hole). Empty when
  // rs274 is not installed. Every violation fails the test.
  std::vector<Plunge> ReadBack(const MotionLimits& limits, testsupport::MotionCheck* out = nullptr) {
    testsupport::MotionCheck check = testsupport::CheckNcMotion(NcPath(), home(), limits);
    if (!check.ran) return {};
    EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations) << NcText();
    std::vector<Plunge> plunges;
    double lastZ = 1e9;
    for (const testsupport::CanonMove& m : check.moves) {
      if (m.kind != testsupport::CanonMove::Kind::kFeed) continue;
      if (!plunges.empty() && plunges.back().x == m.x && plunges.back().y == m.y) {
        if (m.z < lastZ) plunges.back().z = std::min(plunges.back().z, m.z);
      } else {
        plunges.push_back({m.x, m.y, m.z});
      }
      lastZ = m.z;
    }
    if (out != nullptr) *out = std::move(check);
    return plunges;
  }
  // The holes of Drilling() as rs274 drilled them: (10, 15), (30, 15),
  // (50, 15) ..., each down to `depth`. Nothing to check without rs274.
  static void ExpectDrilledRow(const std::vector<Plunge>& plunges, std::size_t holes = 3, double depth = -10.0) {
    if (plunges.empty()) return;
    ASSERT_EQ(plunges.size(), holes);
    for (std::size_t i = 0; i < holes; ++i) {
      EXPECT_DOUBLE_EQ(plunges[i].x, 10.0 + 20.0 * static_cast<double>(i));
      EXPECT_DOUBLE_EQ(plunges[i].y, 15.0);
      EXPECT_DOUBLE_EQ(plunges[i].z, depth);
    }
  }
  // The levels the motion check holds a hole process to.
  static MotionLimits Levels(const HoleProcess& p, double millReach = 0.0) {
    const double start = p.definition.iPoint != 0.0 ? p.definition.iPoint : p.definition.atcZ;
    return {.rLevel = p.definition.rPoint, .startLevel = start, .millReach = millReach};
  }

  // A drill of 8.5 mm: R level 2, bottom -10, start level 50 (the process start).
  static HoleProcess Drill() {
    HoleProcess p;
    p.tool.diameter = 8.5;
    return p;
  }
  // One hole process over the points (10, 15), (30, 15), (50, 15) ...
  static HandoverBuilder Drilling(const HoleProcess& p, int holes = 3) {
    HandoverBuilder job;
    job.Begin();
    for (int i = 0; i < holes; ++i) job.Point(100, 10.0 + 20.0 * i, 15.0);
    job.HoleProcessItem(400, 100, p);
    job.End();
    return job;
  }

  qup::RecordingHost host;
  std::unique_ptr<qup::RunContext> run;
};

}  // namespace ncrun
