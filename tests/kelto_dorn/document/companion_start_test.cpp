// The start of the companion program: which program, in which folder, the
// system record it reads, the busy word that refuses a second start, and the
// start itself without a shell.

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text.h"
#include "shared/handover/color_table.h"
#include "shared/handover/drawing_header.h"
#include "tests/kelto_dorn/document/document_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

// A stand-in companion: copies the system record it finds in its working
// folder and notes its arguments, the program folder it was told and its
// working folder, so the test sees what it was started with.
constexpr char kFakeCompanion[] =
    "#!/bin/sh\n"
    "echo \"$#\" > args.txt\n"
    "echo \"$KELTO_HOME\" > home.tmp && mv home.tmp home.txt\n"
    "pwd -P > pwd.tmp && mv pwd.tmp pwd.txt\n"
    "cp '$@@@.@@@' seen.tmp && mv seen.tmp seen.@@@\n";

// The program folder is the temporary KELTO_HOME; the executables are
// "installed" in a folder of their own beside it, as scripts/run has them
// (work/ as the program folder, the programs in build/.../bin).
class CompanionStartTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    fs::create_directories(Installation());
    platform::SetExecutableFolder(Installation());
    StartupSystem();
  }
  void TearDown() override {
    // A companion still open (a real one stays as a viewer) is ended by its id.
    if (g_companionProcessId != 0 && platform::EndDetached(g_companionProcessId))
      platform::WaitForDetached(g_companionProcessId, 10000);
    platform::SetExecutableFolder({});
    std::error_code ec;
    fs::remove_all(Installation(), ec);
    DocumentTest::TearDown();
  }
  fs::path Installation() const { return home().parent_path() / (home().filename().string() + "-bin"); }
  void InstallFakeCompanion(const fs::path& folder) {
    const fs::path p = folder / "Kelto_qup";
    std::ofstream(p) << kFakeCompanion;
    fs::permissions(p, fs::perms::owner_all);
  }
  void InstallFakeCompanion() { InstallFakeCompanion(Installation()); }
  void WriteBusyWord(const void* data, std::size_t size) {
    std::ofstream f(home() / "$NC_EXE.@@@", std::ios::binary);
    f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // The record the companion saw, once it has run (at most 10 s).
  bool WaitForSeenRecord(handover::DrawingHeader& seen) {
    for (int i = 0; i < 1000; ++i) {
      if (platform::ReadRecord(home() / "seen.@@@", seen).ok()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // A line the stand-in wrote into the program folder (empty when none).
  std::string NotedLine(const char* name) {
    std::string line;
    for (int i = 0; i < 500 && line.empty(); ++i) {
      std::ifstream in(home() / name);
      std::getline(in, line);
      if (line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return line;
  }
};

TEST_F(CompanionStartTest, StartWritesVersionAndModesAndStartsTheProgramWithoutArguments) {
  InstallFakeCompanion();
  g_drawingHeader.version = 0;
  g_drawingHeader.fileListKind = 1;
  ASSERT_EQ(StartCompanionProgram(4, 6), kCompanionStarted);
  handover::DrawingHeader seen;
  ASSERT_TRUE(WaitForSeenRecord(seen));
  EXPECT_EQ(seen.version, 34091);
  EXPECT_EQ(seen.startMode, 4);
  EXPECT_EQ(seen.subMode, 6);
  EXPECT_EQ(seen.fileListKind, 0);
  EXPECT_TRUE(fs::exists(home() / "$COLOR.@@@"));
  EXPECT_EQ(NotedLine("args.txt"), "0");
}

// Kelto_Dorn and Kelto_qup are installed in one folder, the program folder
// is another (KELTO_HOME): the companion beside Kelto_Dorn is started, in the
// program folder and told it as its own, so both work on the same files.
TEST_F(CompanionStartTest, CompanionBesideTheExecutableRunsInTheProgramFolder) {
  InstallFakeCompanion();
  ASSERT_FALSE(fs::exists(home() / "Kelto_qup"));
  ASSERT_EQ(StartCompanionProgram(4, 6), kCompanionStarted);
  EXPECT_TRUE(ShownTexts().empty());
  EXPECT_EQ(CompanionProgramPath(), Installation() / "Kelto_qup");
  const std::string folder = fs::canonical(home()).string();
  EXPECT_EQ(NotedLine("home.txt"), folder);
  EXPECT_EQ(NotedLine("pwd.txt"), folder);
  handover::DrawingHeader seen;
  EXPECT_TRUE(WaitForSeenRecord(seen));
  EXPECT_NE(g_companionProcessId, 0);
}

// Where the program was installed into its program folder (no companion
// beside the running executable), that one is started.
TEST_F(CompanionStartTest, CompanionInTheProgramFolderWhereNoneIsBesideTheExecutable) {
  InstallFakeCompanion(home());
  EXPECT_EQ(CompanionProgramPath(), home() / "Kelto_qup");
  ASSERT_EQ(StartCompanionProgram(33, 0), kCompanionStarted);
  handover::DrawingHeader seen;
  ASSERT_TRUE(WaitForSeenRecord(seen));
  EXPECT_EQ(seen.startMode, 33);
}

TEST_F(CompanionStartTest, BusyCompanionRefusesEveryStartMode) {
  InstallFakeCompanion();
  const std::int32_t busy = 0xFFFF;
  WriteBusyWord(&busy, sizeof busy);
  const int modes[][2] = {{0, 0}, {4, 1}, {4, 6}, {9, 0}, {11, 0}, {12, 0}, {22, 0}, {24, 0}, {33, 0}, {40, 0}};
  for (const auto& m : modes) {
    EXPECT_EQ(StartCompanionProgram(m[0], m[1]), kCompanionBusy) << m[0] << "/" << m[1];
  }
  EXPECT_EQ(ShownTexts().size(), std::size(modes));
  EXPECT_EQ(ShownTexts().front(), "QUP_Win::只今実行出来ません");
  // Nothing was written and nothing started.
  EXPECT_FALSE(fs::exists(home() / "$@@@.@@@"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(home() / "args.txt"));
}

TEST_F(CompanionStartTest, BusyWordCases) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    bool busy;
  };
  const Case cases[] = {
      {{0, 0, 0, 0}, false},
      {{0xFF, 0xFF, 0, 0}, true},
      {{1, 0, 0, 0, 7, 7}, true},  // only the first word counts
      {{0xFF}, true},              // being written: taken as busy
  };
  for (const Case& c : cases) {
    WriteBusyWord(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(ReadNcExeFlag() != 0, c.busy) << c.bytes.size();
  }
  fs::remove(home() / "$NC_EXE.@@@");
  EXPECT_EQ(ReadNcExeFlag(), 0);
}

TEST_F(CompanionStartTest, IdleBusyWordLetsTheStartGoOn) {
  InstallFakeCompanion();
  const std::int32_t idle = 0;
  WriteBusyWord(&idle, sizeof idle);
  ASSERT_EQ(StartCompanionProgram(33, 0), kCompanionStarted);
  handover::DrawingHeader seen;
  ASSERT_TRUE(WaitForSeenRecord(seen));
  EXPECT_EQ(seen.startMode, 33);
}

TEST_F(CompanionStartTest, MissingProgramIsReportedNotTakenAsStarted) {
  EXPECT_EQ(StartCompanionProgram(0, 0), kCompanionStartFailed);
  EXPECT_EQ(ShownTexts().size(), 1u);
}

// The layout scripts/run makes: the real Kelto_qup beside the running
// executable in the build folder, the program folder elsewhere and empty of
// programs.
TEST_F(CompanionStartTest, RealCompanionStartsFromTheBuildFolderAndEndsCleanly) {
  const fs::path real = testsupport::BinaryFolder() / "Kelto_qup";
  if (!fs::exists(real)) GTEST_SKIP() << "Kelto_qup is not built";
  platform::SetExecutableFolder(testsupport::BinaryFolder());
  // Sub-mode 0 goes out; the companion takes the modes over and writes 99 in
  // both words back at once, so the record's contents show its start-up (a
  // fast start can write back before StartCompanionProgram returns).
  ASSERT_EQ(StartCompanionProgram(99, 0), kCompanionStarted);
  EXPECT_TRUE(ShownTexts().empty());
  const int id = g_companionProcessId;
  ASSERT_NE(id, 0);

  const fs::path record = home() / "$@@@.@@@";
  handover::DrawingHeader seen;
  const auto writtenBack = [&] {
    return platform::ReadRecord(record, seen).ok() && seen.subMode == handover::DrawingHeader::kNoStartMode;
  };
  // At most a minute for a start under the sanitizers: its id, then the
  // system record written back by its start-up.
  for (int i = 0; i < 1200 && !writtenBack(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(writtenBack()) << "the companion wrote the system record back";
  EXPECT_EQ(seen.startMode, 99);
  EXPECT_FALSE(platform::WaitForDetached(id, 500).ended) << "it stays open after its start";
  ASSERT_TRUE(platform::EndDetached(id));
  const platform::ProcessEnd end = platform::WaitForDetached(id, 10000);
  EXPECT_TRUE(end.ended);
  EXPECT_EQ(end.signal, SIGTERM) << "ended by its id, not by a fault (exit code " << end.exitCode << ")";
}

TEST_F(CompanionStartTest, QupSettingsDefaultsShortFileAndFlags) {
  ASSERT_TRUE(ReadQupSettings().missing());
  const std::int32_t colours[] = {2, 1, 2, 3,  12, 5, 6, 7, 8,  11, 10, 1, 2, 4,  13, 6,
                                  1, 2, 3, 12, 5,  6, 7, 8, 11, 10, 1,  2, 4, 13, 6,  1};
  for (int i = 0; i < 32; ++i) EXPECT_EQ(g_qupSettings.rows[i].colour, colours[i]) << i;
  EXPECT_EQ(g_qupSettings.Value(0), -100.0);
  EXPECT_EQ(g_qupSettings.rows[3].resolution, 4);
  // Keep: resolution and colour stay, the rest is reset.
  g_qupSettings.rows[5].resolution = 7;
  g_qupSettings.rows[5].colour = 9;
  g_qupSettings.rows[5].surfaceKey = 33;
  DefaultQupSettings(1);
  EXPECT_EQ(g_qupSettings.rows[5].resolution, 7);
  EXPECT_EQ(g_qupSettings.rows[5].colour, 9);
  EXPECT_EQ(g_qupSettings.rows[5].surfaceKey, 0);
  // Writing clears the flags; a short file keeps what memory held for the rest.
  g_qupSettings.rows[1].flag = 1;
  g_qupSettings.rows[20].surfaceKey = 77;
  ASSERT_TRUE(WriteQupSettings().ok());
  EXPECT_EQ(g_qupSettings.rows[1].flag, 0);
  fs::resize_file(home() / "$QUP.@@@", 60 + 20 * 10 + 7);
  g_qupSettings.rows[20].surfaceKey = 88;
  g_qupSettings.rows[9].surfaceKey = 99;
  ASSERT_TRUE(ReadQupSettings().ok());
  EXPECT_EQ(g_qupSettings.rows[9].surfaceKey, 0);    // from the file
  EXPECT_EQ(g_qupSettings.rows[20].surfaceKey, 88);  // beyond its end
}

}  // namespace
}  // namespace dorn::test
