// The contour corpus through the real road, judged by the independent
// contour check. A job passes when nothing is found, or exactly what the
// known-failures table says it shows today: a new failure fails, and so
// does a listed job that shows something else or nothing (its line must
// change or go), so the table only shrinks as the engine is mended.
//
// The jobs are split over shards, each its own test case, so that CTest
// runs them side by side. With KELTO_CONTOUR_REPORT=<path> every shard also
// writes each failing job's table line and what was seen to <path>.<shard>;
// with KELTO_CONTOUR_JOB=<name> only that job runs, and its fixture, what
// was seen and its NC program are printed.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/kelto_dorn/camdata/contour_corpus.h"
#include "tests/support/test_support.h"

namespace dorn::test {
namespace {

constexpr int kShards = 40;

std::string Join(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
  return text.empty() ? "nothing" : text;
}

// Each line of `text` behind "#   ".
std::string Commented(const std::string& text) {
  std::string out;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = text.find('\n', from);
    out += "#   " + text.substr(from, end == std::string::npos ? std::string::npos : end - from) + "\n";
    if (end == std::string::npos) break;
    from = end + 1;
  }
  return out;
}

class ContourCorpusShard : public ContourCorpusTest, public ::testing::WithParamInterface<int> {};

TEST_P(ContourCorpusShard, EachJobIsCutWithinItsWallsOrFailsAsTheTableSays) {
  std::vector<std::string> problems;
  const auto known = ReadKnownFailures(KnownFailuresTable(), problems);
  const std::vector<CorpusJob>& jobs = ContourCorpus();
  const char* reportPath = std::getenv("KELTO_CONTOUR_REPORT");
  const char* only = std::getenv("KELTO_CONTOUR_JOB");
  std::ofstream report;
  if (reportPath != nullptr) report.open(std::string(reportPath) + "." + std::to_string(GetParam()));
  for (std::size_t i = static_cast<std::size_t>(GetParam()); i < jobs.size(); i += kShards) {
    const CorpusJob& job = jobs[i];
    if (only != nullptr && job.name != only) continue;
    const CorpusOutcome outcome = RunCorpusJob(job);
    if (!outcome.ran) GTEST_SKIP() << "rs274 is not installed";
    if (only != nullptr) {
      std::cout << JobFixture(job) << Join(outcome.verdicts) << "\n" << outcome.details << "\n"
                << testsupport::ReadFileBytes(home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC");
    }
    const auto entry = known.find(job.name);
    const std::vector<std::string> listed = entry == known.end() ? std::vector<std::string>{} : entry->second;
    if (report.is_open() && !outcome.verdicts.empty()) {
      report << job.name << " " << Join(outcome.verdicts) << "\n" << Commented(outcome.details);
    }
    if (outcome.verdicts == listed) continue;
    const std::string seen = "\n" + outcome.details + JobFixture(job);
    if (listed.empty()) {
      ADD_FAILURE() << job.name << ": " << Join(outcome.verdicts) << seen;
    } else if (outcome.verdicts.empty()) {
      ADD_FAILURE() << job.name << " passes now: take its line out of the known failures";
    } else {
      ADD_FAILURE() << job.name << " shows " << Join(outcome.verdicts) << " where the known failures say "
                    << Join(listed) << ": change its line" << seen;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shard, ContourCorpusShard, ::testing::Range(0, kShards));

TEST(ContourCorpusTableTest, EveryJobHasItsOwnNameAndEveryKnownFailureIsAJob) {
  const std::vector<CorpusJob>& jobs = ContourCorpus();
  std::set<std::string> names;
  for (const CorpusJob& job : jobs) {
    EXPECT_TRUE(names.insert(job.name).second) << "two jobs named " << job.name;
    EXPECT_EQ(job.name.find_first_of(" \t"), std::string::npos) << job.name;
  }
  std::vector<std::string> problems;
  const auto known = ReadKnownFailures(KnownFailuresTable(), problems);
  for (const std::string& p : problems) ADD_FAILURE() << p;
  static const std::set<std::string> kVerdicts = {"BUILD", "GOUGE", "LOAD", "MOTION", "RAPID-LOW", "REFUSED-NOT",
                                                  "UNCUT", "WRONG-SIDE"};
  for (const auto& [name, verdicts] : known) {
    EXPECT_TRUE(names.count(name)) << name << " is no job of the corpus";
    for (const std::string& v : verdicts) {
      EXPECT_TRUE(kVerdicts.count(v) || v.starts_with("ERROR-")) << name << ": " << v;
    }
  }
}

}  // namespace
}  // namespace dorn::test
