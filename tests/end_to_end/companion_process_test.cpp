// The real Kelto_qup as a process: started in a program folder that holds a
// hand-over, it runs its start mode once, writes the NC program and its
// reports, and stays open as a viewer until it is ended by its id.
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/drawing_header.h"
#include "tests/end_to_end/companion_waits.h"
#include "tests/end_to_end/four_hole_job.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using e2e::NcExeWord;
using e2e::Plunge;
using e2e::WaitUntil;

ino_t InodeOf(const fs::path& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

class CompanionProcessTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    const fs::path real = testsupport::BinaryFolder() / "Kelto_qup";
    if (!fs::exists(real)) GTEST_SKIP() << "Kelto_qup is not built";
    fs::create_symlink(real, home() / "Kelto_qup");
  }
  void TearDown() override {
    for (int id : started_) {
      if (platform::EndDetached(id)) platform::WaitForDetached(id, 10000);
    }
    ProgramFolderTest::TearDown();
  }

  // Starts the companion from the program folder, as Kelto_Dorn does.
  int Start() {
    const platform::ProcessResult r = platform::StartDetached(home() / "Kelto_qup", {}, home());
    EXPECT_TRUE(r.started) << r.message;
    if (r.started) started_.push_back(r.processId);
    return r.processId;
  }
  // Ends it by its id: it was still open (a viewer never ends by itself).
  void End(int id) {
    EXPECT_FALSE(platform::WaitForDetached(id, 0).ended) << "the companion ended by itself";
    ASSERT_TRUE(platform::EndDetached(id));
    const platform::ProcessEnd end = platform::WaitForDetached(id, 10000);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.signal, SIGTERM) << "exit code " << end.exitCode;
  }

  fs::path DatFolder() const { return testsupport::DatFolder(home()); }
  fs::path NcPath() const { return DatFolder() / "HOLE.NC"; }
  fs::path ReportPath() const { return DatFolder() / platform::DiskName(platform::Sjis("HOLE加工詳細工具情報.csv")); }

  std::vector<int> started_;
};

TEST_F(CompanionProcessTest, FourHoleHandoverRunsOnceWritesItsProgramAndStaysOpen) {
  e2e::FourHoleJob().Write(home());
  const int id = Start();
  ASSERT_GT(id, 0);
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(ReportPath()) && NcExeWord(home()) == 0; }))
      << "no report, or $NC_EXE.@@@ not back at 0";
  End(id);

  handover::DrawingHeader record;
  ASSERT_TRUE(platform::ReadRecord(home() / handover::kSystemRecordFileName, record).ok());
  EXPECT_EQ(record.startMode, 99);
  EXPECT_EQ(record.subMode, 99);
  EXPECT_TRUE(fs::exists(home() / "$CG_DATA.LST"));

  // rs274 accepts the program, the tool never moves where a machine must
  // not (R level 2, start level 50), and its drilled points and depths are
  // the drawing's holes.
  const testsupport::MotionCheck check =
      testsupport::CheckNcMotion(NcPath(), home(), {.rLevel = 2.0, .startLevel = 50.0, .lengthOffsets = {}});
  if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations);
  const std::vector<Plunge> plunges = e2e::Plunges(check.trace);
  ASSERT_EQ(plunges.size(), e2e::kFourHoles.size()) << check.trace;
  for (std::size_t i = 0; i < plunges.size(); ++i) {
    EXPECT_NEAR(plunges[i].x, e2e::kFourHoles[i].x, 1e-9) << i;
    EXPECT_NEAR(plunges[i].y, e2e::kFourHoles[i].y, 1e-9) << i;
    EXPECT_NEAR(plunges[i].z, e2e::kFourHoles[i].bottom, 1e-9) << i;
  }
}

TEST_F(CompanionProcessTest, ASecondStartRunsNothing) {
  e2e::FourHoleJob().Write(home());
  const int first = Start();
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(ReportPath()) && NcExeWord(home()) == 0; }));
  End(first);
  fs::remove(NcPath());
  fs::remove(ReportPath());

  const ino_t before = InodeOf(home() / handover::kSystemRecordFileName);
  const int second = Start();
  // The start-up writes the record back (a new file) before its dispatch;
  // the dispatch follows the first paint within a fraction of a second.
  ASSERT_TRUE(WaitUntil([&] { return InodeOf(home() / handover::kSystemRecordFileName) != before; }));
  std::this_thread::sleep_for(3s);
  End(second);
  EXPECT_FALSE(fs::exists(NcPath()));
  EXPECT_FALSE(fs::exists(ReportPath()));
  handover::DrawingHeader record;
  ASSERT_TRUE(platform::ReadRecord(home() / handover::kSystemRecordFileName, record).ok());
  EXPECT_EQ(record.startMode, 99);
}

}  // namespace
