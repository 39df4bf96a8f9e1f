#include "platform/process.h"

#include <sys/stat.h>

#include <chrono>
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

TEST(Process, AMissingProgramIsReportedNotStarted) {
  testsupport::TempFolder dir;
  auto r = platform::RunAndWait(dir.path() / "Dravelo", {"/TRUE"});
  EXPECT_FALSE(r.started);
  EXPECT_NE(r.message.find("Dravelo"), std::string::npos);
  EXPECT_FALSE(platform::StartDetached(dir.path() / "Kelto_qup", {}).started);
}

}  // namespace
