#include "platform/process.h"

#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A small program that writes its arguments, one a line, into a file: shows
// that arguments reach it as they are, with no shell in between.
fs::path WriteArgEcho(const fs::path& dir, const fs::path& out) {
  fs::path script = dir / "echo-args";
  std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << out.string()
                        << "'\nexit 3\n";
  fs::permissions(script, fs::perms::owner_all);
  return script;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Process, RunAndWaitPassesArgumentsVerbatimAndReturnsTheExitCode) {
  testsupport::TempFolder dir;
  fs::path out = dir.path() / "args.txt";
  auto r = platform::RunAndWait(WriteArgEcho(dir.path(), out), {"/TRUE", "two words", "$(rm -rf x)", "a;b"});
  ASSERT_TRUE(r.started) << r.message;
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(Slurp(out), "/TRUE\ntwo words\n$(rm -rf x)\na;b\n");
}

TEST(Process, StartDetachedReturnsAtOnce) {
  testsupport::TempFolder dir;
  fs::path out = dir.path() / "args.txt";
  auto r = platform::StartDetached(WriteArgEcho(dir.path(), out), {"x"});
  ASSERT_TRUE(r.started) << r.message;
  for (int i = 0; i < 200 && Slurp(out) != "x\n"; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(Slurp(out), "x\n");
}

TEST(Process, ADetachedChildCanBeWaitedForWithALimitAndEndedByItsId) {
  testsupport::TempFolder dir;
  const fs::path quick = dir.path() / "quick";
  std::ofstream(quick) << "#!/bin/sh\nexit 5\n";
  const fs::path slow = dir.path() / "slow";
  std::ofstream(slow) << "#!/bin/sh\nexec sleep 30\n";
  for (const fs::path& p : {quick, slow}) fs::permissions(p, fs::perms::owner_all);

  const platform::ProcessResult q = platform::StartDetached(quick, {});
  ASSERT_TRUE(q.started) << q.message;
  EXPECT_GT(q.processId, 0);
  platform::ProcessEnd end = platform::WaitForDetached(q.processId, 10000);
  EXPECT_TRUE(end.ended);
  EXPECT_EQ(end.exitCode, 5);
  EXPECT_EQ(end.signal, 0);
  EXPECT_FALSE(platform::EndDetached(q.processId)) << "an ended child is never signalled";

  const platform::ProcessResult s = platform::StartDetached(slow, {});
  ASSERT_TRUE(s.started) << s.message;
  const auto before = std::chrono::steady_clock::now();
  EXPECT_FALSE(platform::WaitForDetached(s.processId, 200).ended) << "the wait gives up at its limit";
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
  ASSERT_TRUE(platform::EndDetached(s.processId));
  end = platform::WaitForDetached(s.processId, 10000);
  EXPECT_TRUE(end.ended);
  EXPECT_EQ(end.signal, SIGTERM);

  EXPECT_FALSE(platform::WaitForDetached(1, 0).ended) << "not a child started here";
  EXPECT_FALSE(platform::EndDetached(1));
}

TEST(Process, AMissingProgramIsReportedNotStarted) {
  testsupport::TempFolder dir;
  auto r = platform::RunAndWait(dir.path() / "Dravelo", {"/TRUE"});
  EXPECT_FALSE(r.started);
  EXPECT_NE(r.message.find("Dravelo"), std::string::npos);
  EXPECT_FALSE(platform::StartDetached(dir.path() / "Kelto_qup", {}).started);
}

}  // namespace
