// Job start-up and the NC file: start modes and sub-modes, the output path,
// the side files, and runs that stop (damaged hand-over, an error in the
// stream, a stop by the user) without leaving a program that looks finished.
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_qup/ncout/nc_run_fixture.h"

namespace {

using handover::NcElement;
using namespace ncrun;

class NcJobTest : public NcRunTest {
 protected:
  // A drill over points 2 apart (10, 15), (12, 15), (14, 15) ...
  static HandoverBuilder Drilling(int holes = 3) {
    HandoverBuilder job;
    job.Begin();
    for (int i = 0; i < holes; ++i) job.Point(100, 10.0 + 2.0 * i, 15.0);
    const testsupport::HoleProcess drill;
    job.HoleProcessItem(400, 100, drill);
    job.End();
    return job;
  }
  bool ListHas(const char* utf8) const {
    for (const std::string& line : host.listLines) {
      if (line.find(platform::Sjis(utf8)) != std::string::npos) return true;
    }
    return false;
  }
  // A finished program ends with the end template and "%".
  bool LooksFinished() const {
    const std::string text = ReadText(NcPath());
    return text.find("M30") != std::string::npos;
  }
};

TEST_F(NcJobTest, StartModesSetTheOutputWords) {
  struct Case {
    int mode, subMode;
    int effective, suppress, subOutput, endWord, kind, level;
    int resultSubMode;
  };
  const Case cases[] = {
      {4, 6, 4, 0x40, 0x100, 0, 0x40, 1, 6},  // NC data
      {4, 0, 4, 0x40, 0, 0, 0x40, 1, 0},      // graphic check: no blocks
      {5, 6, 4, 0x40, 0x100, 0, 0x40, 1, 6},  // 5 outputs as 4
      {1, 6, 1, 0x40, 0x100, 0, 0, 2, 6},    {2, 0, 2, 0x80, 0, 0, 0x80, 1, 0},
      {3, 3, 3, 0, 0x20, 0, 0x100, 1, 3},    {4, 9, 4, 0x40, 0x100, 0, 0x40, 1, 6},  // 9 with mode 4 becomes 6
      {0, 6, 0, 0, 0x100, 0xFFFF, 0, 0, 6},
  };
  for (const Case& c : cases) {
    run = std::make_unique<qup::RunContext>(host);
    run->job.Header.startMode = c.mode;
    run->job.Header.subMode = c.subMode;
    run->InitNcJob();
    SCOPED_TRACE(testing::Message() << c.mode << "," << c.subMode);
    EXPECT_EQ(run->output.EffectiveMode, c.effective);
    EXPECT_EQ(run->output.OutputSuppress, c.suppress);
    EXPECT_EQ(run->output.SubModeOutput, c.subOutput);
    EXPECT_EQ(run->output.SubModeEndWord, c.endWord);
    EXPECT_EQ(run->output.ModeOutputKind, c.kind);
    EXPECT_EQ(run->output.OutputLevel, c.level);
    EXPECT_EQ(run->job.Modes.SubMode, c.resultSubMode);
  }
  // Start mode 1 runs paused, step by step.
  EXPECT_EQ(run->output.StepPause, 0);
  run->job.Header.startMode = 1;
  run->InitNcJob();
  EXPECT_EQ(run->output.StepPause, 1);
  EXPECT_EQ(run->output.RunExecutionMode, 1);
  EXPECT_NE(run->output.WordFormat & 0x18, 0);
}

TEST_F(NcJobTest, GraphicRunAndStepRunWriteNoNcFile) {
  for (int mode : {4, 1}) {
    SCOPED_TRACE(mode);
    run = std::make_unique<qup::RunContext>(host);
    HandoverBuilder job = Drilling();
    job.header.startMode = mode;
    job.header.subMode = mode == 4 ? 0 : 6;
    if (mode == 1) job.header.executionMode = 0;
    // Step mode waits for a key press at each step: the host plays it.
    host.onPump = [this] { run->output.StepPause = 0; };
    EXPECT_EQ(Run(job), 0);
    EXPECT_FALSE(fs::exists(NcPath()));
    EXPECT_EQ(NcExeWord(), -1);  // never marked busy
    EXPECT_EQ(run->job.NcOpenResult, 241);
    EXPECT_FALSE(ListHas("ＮＣデータ : ")) << "no program was written";
  }
}

// When the run has written its program, the list names the file with its
// folder: the user learns where it went.
TEST_F(NcJobTest, TheListNamesTheWrittenProgramWithItsFolder) {
  HandoverBuilder job = Drilling();
  EXPECT_EQ(Run(job), 0);
  ASSERT_TRUE(fs::exists(NcPath()));
  EXPECT_TRUE(ListHas(("ＮＣデータ : " + NcPath().string()).c_str()));
}

TEST_F(NcJobTest, OutputPathsFollowTheHeader) {
  struct Case {
    int mode;
    const char* extension;
    const char* file;
  };
  const Case cases[] = {{4, "NC", "HOLE.NC"}, {4, "", "HOLE"}, {7, "NC", "HOLE.DRN"}};
  for (const Case& c : cases) {
    run->job.Header = HandoverBuilder().header;
    platform::SetFieldText(run->job.Header.dataExtension, c.extension);
    run->job.Modes.StartMode = c.mode;
    ASSERT_TRUE(run->BuildNcPath());
    EXPECT_EQ(fs::path(run->job.NcPath), testsupport::DatFolder(home()) / c.file);
  }
}

TEST_F(NcJobTest, AnOverLongPathIsRefusedWithError60) {
  HandoverBuilder job = Drilling();
  job.Write(home());
  const fs::path deep = home() / std::string(200, 'D') / std::string(200, 'E') / std::string(200, 'F') /
                        std::string(200, 'G') / std::string(200, 'H') / std::string(200, 'I') / std::string(200, 'J') /
                        std::string(200, 'K') / std::string(200, 'L') / std::string(200, 'M') / std::string(200, 'N') /
                        std::string(200, 'O') / std::string(200, 'P') / std::string(200, 'Q') / std::string(200, 'R') /
                        std::string(200, 'S') / std::string(200, 'T') / std::string(200, 'U') / std::string(200, 'V') /
                        std::string(200, 'W') / std::string(200, 'X');
  run->job.Header = job.header;
  run->job.Modes.StartMode = 4;
  run->LoadJob();
  platform::SetDataRoot(deep);
  run->InitNcJob();
  EXPECT_EQ(run->StartNcCreation(), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2060"), std::string::npos) << platform::Cp932ToUtf8(host.errorBoxes[0]);
  EXPECT_NE(host.errorBoxes[0].find("DATA_FILE::OPEN_ERROR["), std::string::npos);
  EXPECT_EQ(NcExeWord(), -1);
}

TEST_F(NcJobTest, DamagedHandoverRunsNothing) {
  struct Case {
    const char* name;
    void (*damage)(HandoverBuilder&, const fs::path&);
    int shownError;
  };
  const Case cases[] = {
      {"truncated stream",
       [](HandoverBuilder& job, const fs::path& home) {
         job.Write(home);
         const fs::path path = home / handover::kElementFileName;
         fs::resize_file(path, fs::file_size(path) - 40);
       },
       1002},
      {"post that does not exist",
       [](HandoverBuilder& job, const fs::path& home) {
         job.elements.insert(job.elements.begin() + 1, NcElement{});
         job.elements[1].number = 1;
         job.elements[1].code = 0x9700;
         job.elements[1].d4 = 9.0;
         job.Write(home);
       },
       1031},
      {"damaged tool map",
       [](HandoverBuilder& job, const fs::path& home) {
         job.Write(home);
         std::ofstream(home / handover::kToolMapFileName, std::ios::app) << "xx";
       },
       1002},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host = qup::RecordingHost{};
    run = std::make_unique<qup::RunContext>(host);
    fs::remove(NcPath());
    fs::remove(home() / "$NC_EXE.@@@");
    HandoverBuilder job = Drilling();
    c.damage(job, home());
    run->job.Header = job.header;
    run->job.Modes.StartMode = 4;
    run->LoadJob();
    run->InitNcJob();
    EXPECT_EQ(run->StartNcCreation(), qup::kStopRun);
    ASSERT_EQ(host.errorBoxes.size(), 1u);
    EXPECT_NE(host.errorBoxes[0].find(std::to_string(c.shownError)), std::string::npos) << host.errorBoxes[0];
    EXPECT_FALSE(fs::exists(NcPath()));
    EXPECT_EQ(NcExeWord(), -1);
  }
}

TEST_F(NcJobTest, AnErrorStopLeavesAProgramWithoutItsEnd) {
  // The hole names items that do not exist: the range is empty (error 5).
  HandoverBuilder job = Drilling();
  for (NcElement& e : job.elements) {
    if (e.code == 0x6800) e.d4 = testsupport::RangeRef(777, 777);
  }
  EXPECT_EQ(Run(job), 0);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2005"), std::string::npos);
  ASSERT_TRUE(fs::exists(NcPath()));
  EXPECT_FALSE(LooksFinished());
  EXPECT_EQ(run->job.RunIncomplete, 1);
  EXPECT_TRUE(ListHas("ＮＣデータは未完成です"));
  EXPECT_EQ(NcExeWord(), 0);
  // No report claims a finished program.
  EXPECT_FALSE(fs::exists(home() / "$PROCESS.LST"));
  EXPECT_EQ(run->AbortFlag, 0);
}

TEST_F(NcJobTest, AWriteFailureAtTheCloseLeavesTheRunIncomplete) {
  // The program fits the file's buffer: the full disk shows only when the
  // file is closed. Error 61 is shown and the run does not count as done.
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  HandoverBuilder job = Drilling();
  job.Write(home());
  fs::create_symlink("/dev/full", NcPath());
  EXPECT_EQ(Run(job), 0);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2061"), std::string::npos);
  EXPECT_EQ(run->job.RunIncomplete, 1);
  EXPECT_TRUE(ListHas("ＮＣデータは未完成です"));
  EXPECT_FALSE(fs::exists(home() / "$PROCESS.LST"));
  EXPECT_EQ(NcExeWord(), 0);
}

TEST_F(NcJobTest, ABrokenInvariantMidRunEndsAsAnErrorStopNotACrash) {
  // Stands for any engine fault deep in the run (an index that names no
  // element, an impossible state): it surfaces while the run drains events.
  HandoverBuilder job = Drilling(400);
  bool thrown = false;
  host.onPump = [this, &thrown] {
    if (!thrown && run->job.LastHole[0] != 0.0) {
      thrown = true;
      throw qup::EngineInvariantError("element table index 99999 outside 0..10");
    }
  };
  EXPECT_EQ(Run(job), 0);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("index 99999"), std::string::npos);
  EXPECT_FALSE(LooksFinished());
  EXPECT_EQ(run->job.RunIncomplete, 1);
  EXPECT_TRUE(ListHas("ＮＣデータは未完成です"));
  EXPECT_EQ(NcExeWord(), 0);
}

TEST_F(NcJobTest, AStopByTheUserStillEndsTheProgram) {
  HandoverBuilder job = Drilling(400);
  // The user's forced end, seen by the stop poll inside the hole loop.
  // (After the first hole, where only the stop poll drains the queue.)
  bool asked = false;
  host.onPump = [this, &asked] {
    if (!asked && run->job.LastHole[0] != 0.0) {
      run->AbortFlag = qup::kStopRun;
      asked = true;
    }
  };
  EXPECT_EQ(Run(job), 0);
  EXPECT_TRUE(host.errorBoxes.empty());
  const std::string text = ReadText(NcPath());
  EXPECT_TRUE(LooksFinished()) << text;
  EXPECT_NE(text.find("G80"), std::string::npos);
  // Cut short: far fewer than 400 hole blocks.
  std::size_t holes = 0;
  for (std::size_t at = text.find("Y15."); at != std::string::npos; at = text.find("Y15.", at + 1)) ++holes;
  EXPECT_LT(holes, 400u);
  EXPECT_GE(holes, 1u);
  EXPECT_EQ(run->job.RunIncomplete, 0);
  EXPECT_EQ(NcExeWord(), 0);
  const testsupport::MotionCheck check =
      testsupport::CheckNcMotion(NcPath(), home(), {.rLevel = 2.0, .startLevel = 50.0});
  if (check.ran) EXPECT_TRUE(check.violations.empty()) << testsupport::Describe(check.violations);
}

TEST_F(NcJobTest, MachineMcodeTableKeeps32RowsAndStopsRowsAtAnEmptyField) {
  {
    std::ofstream csv(platform::ResolvePath(home(), platform::Sjis("各機械Ｍコード.csv")), std::ios::binary);
    csv << "NAME,S1,E1,S2,E2,S3,E3,S4,E4\r\n";
    csv << "MC-A,M08,M09,M07,,M51,M52\r\n";
    for (int i = 1; i < 40; ++i) csv << "MC-" << i << ",M08,M09,M07,M09,M51,M52,M53,M54,EXTRA\n";
  }
  std::ofstream(home() / "$MCODE.@@@") << "x";
  HandoverBuilder job = Drilling();
  job.Write(home());
  ASSERT_EQ(run->ReadJobFiles(), 1);
  ASSERT_EQ(run->output.MachineMCodes.size(), 32u);
  EXPECT_EQ(run->output.MachineMCodesLoaded, 1);
  const qup::MachineMCodeEntry& first = run->output.MachineMCodes[0];
  EXPECT_STREQ(first.machineName, "MC-A");
  EXPECT_STREQ(first.kinds[1].start, "M07");
  EXPECT_STREQ(first.kinds[1].end, "");  // the empty field ended the row
  EXPECT_STREQ(first.kinds[2].start, "");
  EXPECT_STREQ(run->output.MachineMCodes[5].kinds[3].end, "M54");
}

}  // namespace
