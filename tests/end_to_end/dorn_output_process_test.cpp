// The main road across both programs: a drawing of four holes with a drilling
// definition in Kelto_Dorn, "出 力" of its NC data creation dialog, which
// writes the hand-over, saves and starts the real Kelto_qup beside the
// running executable, in the program folder, as scripts/run has them; the companion runs start mode (4, 6) once and writes the NC program
// that a machine would run.
#include <csignal>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/record_file.h"
#include "shared/handover/drawing_header.h"
#include "tests/end_to_end/companion_waits.h"
#include "tests/end_to_end/four_hole_job.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/rs274.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class DornOutputProcessTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    const fs::path real = testsupport::BinaryFolder() / "Kelto_qup";
    if (!fs::exists(real)) GTEST_SKIP() << "Kelto_qup is not built";
    // The programs are installed in the build folder; the program folder is
    // the test's own and holds none.
    platform::SetExecutableFolder(testsupport::BinaryFolder());
    // A post set up for the machine (the shipped templates are only named
    // placeholders), and the drawing's unit, where the NC program goes.
    g_postTable = testsupport::HandoverBuilder::DecimalPointPosts();
    ASSERT_TRUE(WriteDornPostTable().ok());
    fs::create_directories(NcPath().parent_path());
  }
  void TearDown() override {
    if (companion_ != 0 && platform::EndDetached(companion_)) platform::WaitForDetached(companion_, 10000);
    platform::SetExecutableFolder({});
    CamDataTest::TearDown();
  }

  // The services of the running program, with the real companion start; the
  // drawing's own save is another test's concern and is only counted here.
  CamServices ProgramServices() {
    CamServices s = Services();
    s.saveDrawing = [this] {
      ++saves_;
      return true;
    };
    s.startCompanion = [](int mode, int subMode) { return StartCompanionProgram(mode, subMode); };
    return s;
  }

  // What the companion left, for the message of a failed wait.
  std::string FolderListing() const {
    std::string list;
    for (const auto& e : fs::recursive_directory_iterator(home()))
      list += e.path().lexically_relative(home()).string() + " ";
    return list;
  }

  std::string ProgramText() const {
    std::ifstream in(NcPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path NcPath() const { return home() / "UNIT" / "PGM" / "DAT" / "HOLE.NC"; }

  int companion_ = 0;
  int saves_ = 0;
};

TEST_F(DornOutputProcessTest, FourHoleDrawingThroughOutputIsDrilledByTheCompanion) {
  std::vector<Point> holes;
  for (const e2e::DrilledHole& h : e2e::kFourHoles) holes.push_back({h.x, h.y});
  AddPointCurve(501, holes);
  HoleDefinition drilling;
  drilling.bottom = e2e::kFourHoles[0].bottom;
  AddHoleDefinition(drilling);
  OrderAllItems();

  CNcDataCreateDlg dialog(ProgramServices());
  ASSERT_TRUE(dialog.CreateModeless());
  platform::headless::DialogDriver driver(dialog);
  ASSERT_TRUE(driver.Click(nc_create::kOutput));
  EXPECT_TRUE(ShownTexts().empty()) << ShownTexts().front();
  EXPECT_EQ(saves_, 1);

  companion_ = g_companionProcessId;
  ASSERT_NE(companion_, 0) << "the companion was not started";
  EXPECT_FALSE(fs::exists(home() / "Kelto_qup"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return fs::exists(NcPath()) && e2e::NcExeWord(home()) == 0; }))
      << "no NC program, or $NC_EXE.@@@ not back at 0: " << FolderListing();
  EXPECT_FALSE(platform::WaitForDetached(companion_, 0).ended) << "the companion stays open as a viewer";
  ASSERT_TRUE(platform::EndDetached(companion_));
  const platform::ProcessEnd end = platform::WaitForDetached(companion_, 10000);
  companion_ = 0;
  EXPECT_EQ(end.signal, SIGTERM) << "ended by its id, not by a fault (exit code " << end.exitCode << ")";

  // The companion took the start mode over and marked it done.
  handover::DrawingHeader record;
  ASSERT_TRUE(platform::ReadRecord(home() / handover::kSystemRecordFileName, record).ok());
  EXPECT_EQ(record.startMode, 99);

  // Where the tool goes: each hole drilled once, at the drawing's point, to
  // the definition's bottom, from its R level.
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(
      NcPath(), home(), {.rLevel = drilling.rPoint, .startLevel = drilling.zOrigin, .lengthOffsets = {}});
  if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
  EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations) << ProgramText();
  const std::string nc = ProgramText();
  EXPECT_NE(nc.find("T05M06"), std::string::npos) << nc;
  EXPECT_NE(nc.find("G81"), std::string::npos) << nc;
  std::vector<testsupport::CanonMove> bottoms;
  for (const testsupport::CanonMove& m : check.moves) {
    if (m.kind != testsupport::CanonMove::Kind::kFeed) continue;
    if (!bottoms.empty() && bottoms.back().x == m.x && bottoms.back().y == m.y) {
      if (m.z < bottoms.back().z) bottoms.back() = m;
    } else {
      bottoms.push_back(m);
    }
  }
  ASSERT_EQ(bottoms.size(), e2e::kFourHoles.size()) << check.trace;
  for (std::size_t i = 0; i < bottoms.size(); ++i) {
    EXPECT_DOUBLE_EQ(bottoms[i].x, e2e::kFourHoles[i].x) << i;
    EXPECT_DOUBLE_EQ(bottoms[i].y, e2e::kFourHoles[i].y) << i;
    EXPECT_DOUBLE_EQ(bottoms[i].z, e2e::kFourHoles[i].bottom) << i;
  }
}

}  // namespace
}  // namespace dorn::test
