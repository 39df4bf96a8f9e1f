// The NC text check: where it moves the tool for the words of a program (the
// word rules as a table; arcs, incremental moves and canned cycles against
// rs274's reading of the same program), and the drip feed to a machine over a
// pseudo-terminal: the bytes per line-end code, the program end, the end of
// file character, a far side that hangs up or holds XOFF, a missing port.
#include <chrono>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "shared/handover/com_settings.h"
#include "shared/handover/drawing_state_settings.h"
#include "tests/kelto_qup/support/handover_builder.h"
#include "tests/kelto_qup/support/pty_far_side.h"
#include "tests/kelto_qup/support/rs274.h"
#include "tests/support/hp2xx_reader.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Move = qup::RecordingHost::CheckMove;

class NcTextCheckTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    handover::DrawingHeader& h = run.job.Header;
    h = handover::DrawingHeader{};
    platform::SetFieldText(h.unitName, "UNIT");
    platform::SetFieldText(h.secondName, "PGM");
    platform::SetFieldText(h.drawingName, "T1");
    platform::SetFieldText(h.dataExtension, "NC");
    h.startMode = 11;
    fs::create_directories(Dat());
  }
  fs::path Dat() const { return home() / "UNIT" / "PGM" / "DAT"; }
  fs::path WriteProgram(const std::string& text, const std::string& name = "T1.NC") {
    std::ofstream(Dat() / name, std::ios::binary) << text;
    return Dat() / name;
  }
  // Checks a program (start mode 11) and returns the drawn moves.
  const std::vector<Move>& Check(const std::string& text) {
    WriteProgram(text);
    host.checkMoves.clear();
    result = run.RunNcTextCheck();
    return host.checkMoves;
  }

  qup::RecordingHost host;
  qup::RunContext run{host};
  int result = -1;
};

bool Near(double a, double b) { return std::fabs(a - b) <= 0.001; }

TEST_F(NcTextCheckTest, WordsAreReadAsTheSystemsPostsWriteThem) {
  struct Case {
    const char* program;
    int wordFormat;
    double x, y, z;  // where the tool stands at the end
  } cases[] = {
      {"G90G00X0.Y0.Z0.\nG01X100\n", 0, 1.0, 0.0, 0.0},  // no point: 0.01 mm
      {"G90G00X0.Y0.Z0.\nG01X100\n", 0x4000, 0.1, 0.0, 0.0},
      {"G90G00X0.Y0.Z0.\nG01X100.\n", 0, 100.0, 0.0, 0.0},
      {"G90G00X0.Y0.Z0.\nG91G01X5.Y-5.\nX5.\n", 0, 10.0, -5.0, 0.0},
      {"G00X0.Y0.Z0.\nG01X5.\n", 0, 5.0, 0.0, 0.0},  // incremental until the first G90 (from 0)
      {"G90G00X0.Y0.Z0.\nG01 X 1 2 . 5\n", 0, 12.5, 0.0, 0.0},  // blanks end no word
  };
  for (const Case& c : cases) {
    run.output.WordFormat = c.wordFormat;
    Check(c.program);
    const auto& last = run.transfer.Check.Last;
    EXPECT_TRUE(Near(last[0], c.x) && Near(last[1], c.y) && Near(last[2], c.z))
        << c.program << " ends at " << last[0] << " " << last[1] << " " << last[2];
  }
  run.output.WordFormat = 0;
  Check("G90F1000M03S1200T12\n(PAI=10.0 TIP=118.)\nG01F250.5\n");
  const qup::NcCheckState& k = run.transfer.Check;
  EXPECT_DOUBLE_EQ(k.F, 250.5);
  EXPECT_TRUE(k.FeedWithPoint);
  EXPECT_DOUBLE_EQ(k.M, 3.0);
  EXPECT_DOUBLE_EQ(k.S, 1200.0);
  EXPECT_DOUBLE_EQ(k.T, 12.0);
  EXPECT_DOUBLE_EQ(k.Pai, 10.0);
  EXPECT_DOUBLE_EQ(k.Tip, 118.0);
  EXPECT_TRUE(host.checkMoves.empty()) << "a comment line draws nothing";
  EXPECT_EQ(host.monitorLines[0], "LINE = 3  ");
  EXPECT_EQ(host.monitorLines[4], platform::Sjis("Ｆ = 250.500   "));
  EXPECT_EQ(host.monitorLines[5], platform::Sjis("Ｓ = 1200   "));
  ASSERT_EQ(host.exclamationBoxes.size(), std::size(cases) + 1);
  EXPECT_EQ(host.exclamationBoxes.back(), platform::Sjis("作画終了しました"));
}

TEST_F(NcTextCheckTest, AnArcWithoutRadiusIsDrawnStraightNotDividedByZero) {
  const auto& moves = Check("G90G17G00X0.Y0.Z0.\nG02X10.Y0.R0.\nG03X20.Y0.I0.J0.\n");
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_TRUE(Near(moves[0].x, 10.0) && Near(moves[0].y, 0.0) && moves[0].kind == 1);
  EXPECT_TRUE(Near(moves[1].x, 20.0) && Near(moves[1].y, 0.0));
  for (const Move& m : moves) EXPECT_TRUE(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.z));
}

TEST_F(NcTextCheckTest, G02InTheZxPlaneTurnsAsRs274TurnsIt) {
  // The half circle from (0, 0, 0) to (10, 0, 0) in G18: rs274's G02 passes
  // through Z = -5 or Z = +5; the check's points must do the same.
  const auto& moves = Check("G90G18G00X0.Y0.Z0.\nG02X10.Z0.I5.K0.F100.\n");
  ASSERT_GT(moves.size(), 3u);
  double lowestZ = 0.0, highestZ = 0.0;
  for (const Move& m : moves) {
    lowestZ = std::min(lowestZ, m.z);
    highestZ = std::max(highestZ, m.z);
  }
  testsupport::Rs274Run rs = testsupport::RunRs274(Dat() / "T1.NC", home() / "none.tbl", home());
  if (!rs.found) GTEST_SKIP() << "rs274 is not installed";
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(Dat() / "T1.NC", home());
  ASSERT_TRUE(check.ran);
  const auto arcAt = std::find_if(check.moves.begin(), check.moves.end(),
                                  [](const auto& m) { return m.kind == testsupport::CanonMove::Kind::kArc; });
  ASSERT_NE(arcAt, check.moves.end()) << check.trace;
  const testsupport::CanonMove& arc = *arcAt;
  // rs274's G18 arc in (Z, X) with its turn: counter-clockwise from the
  // angle -90 degrees (X 0) to +90 degrees (X 10) passes Z = +5.
  const bool throughPlus = arc.turn > 0;
  EXPECT_NEAR(throughPlus ? highestZ : -lowestZ, 5.0, 0.001);
}

// Matches the moves rs274 made with the check's drawn points: every end
// point in order, and every drawn point between the ends of an arc on
// rs274's arc.
void ExpectSamePath(const std::vector<Move>& drawn, const std::vector<testsupport::CanonMove>& canon) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < canon.size(); ++n) {
    const testsupport::CanonMove& c = canon[n];
    // Of a canned cycle only where each hole leaves the tool: the check
    // draws no pecks.
    const bool nextOnSameHole = n + 1 < canon.size() && canon[n + 1].line == c.line;
    if (c.cannedCycle && nextOnSameHole) continue;
    const std::size_t from = at;
    while (at < drawn.size() && !(Near(drawn[at].x, c.x) && Near(drawn[at].y, c.y) && Near(drawn[at].z, c.z))) ++at;
    ASSERT_LT(at, drawn.size()) << "no drawn point at the end of line " << c.line << " (" << c.x << ", " << c.y
                                << ", " << c.z << ")";
    if (c.kind == testsupport::CanonMove::Kind::kArc) {
      const double r = std::hypot(c.x - c.centreFirst, c.y - c.centreSecond);
      for (std::size_t i = from; i <= at; ++i) {
        EXPECT_NEAR(std::hypot(drawn[i].x - c.centreFirst, drawn[i].y - c.centreSecond), r, 0.001)
            << "chord point " << i << " of line " << c.line;
      }
    }
    ++at;
  }
}

TEST_F(NcTextCheckTest, ArcsIncrementalMovesAndCyclesGoWhereRs274SaysTheyGo) {
  const std::string program =
      "%\n"
      "G90G17G00X0.Y0.Z10.M03S1000\n"
      "G01Z0.F100.\n"
      "G02X20.Y0.R10.\n"      // half circle by R
      "G03X30.Y10.I0.J10.\n"  // quarter by I J
      "G02X40.Y0.R-10.\n"     // more than half (negative R)
      "G03X40.Y0.I-5.J0.Z-2.\n"  // full helix turn
      "G91G01X5.Y5.\n"
      "G02X10.Y0.R5.\n"
      "G90G00Z20.\n"
      "G98G81X10.Y20.Z-5.R2.F80.\n"
      "X20.Y20.\n"
      "G99G83X30.Y20.Z-8.R1.Q2.\n"
      "G80\n"
      "G00X0.Y0.\n"
      "M05\n"
      "M30\n"
      "%\n";
  const auto& drawn = Check(program);
  EXPECT_EQ(result, 0);
  const testsupport::MotionCheck check = testsupport::CheckNcMotion(Dat() / "T1.NC", home());
  if (!check.ran) GTEST_SKIP() << "rs274 is not installed";
  ASSERT_GT(check.moves.size(), 10u) << check.trace;
  // rs274 starts at the origin; the check draws from the first position named.
  std::vector<testsupport::CanonMove> canon(check.moves.begin() + 1, check.moves.end());
  ExpectSamePath(drawn, canon);
}

TEST_F(NcTextCheckTest, AMissingFileIsNamedAndTheBusyWordCleared) {
  run.job.Header.startMode = 12;
  std::ofstream(home() / "$com_dat.@@@", std::ios::binary) << platform::Utf8ToCp932((Dat() / "GONE.NC").string());
  EXPECT_EQ(run.RunNcTextCheck(), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("GONE.NC"), std::string::npos);
  std::int32_t busy = -1;
  ASSERT_TRUE(platform::ReadRecord(home() / "$NC_EXE.@@@", busy).ok());
  EXPECT_EQ(busy, 0);
}

// ---- drip feed

class DripFeedTest : public NcTextCheckTest {
 protected:
  void SetUp() override {
    NcTextCheckTest::SetUp();
    testsupport::MapComPort("Kelto_qup", 1, far.path());
    run.job.Header.startMode = 22;
    run.job.Header.portByte = 0;  // COM1, no drawing
    run.transfer.Com.SliceMs = 20;
  }
  void WriteSettings(int stopWord, int parityWord, int flow = 1) {
    handover::ComSettings s = handover::DefaultComSettings();
    s.stop[0] = stopWord;
    s.parity[0] = parityWord;
    s.flow[0] = flow;
    ASSERT_TRUE(handover::WriteComSettings(home() / "$COM_DCB.@@@", s).ok());
  }
  // Sends the program and returns what the machine received.
  std::string Send(const std::string& program) {
    run.transfer.Com.PathBuffer = platform::Utf8ToCp932(WriteProgram(program).string());
    auto sending = std::async(std::launch::async, [this] { return run.RunNcTextCheck(); });
    std::string got;
    while (sending.wait_for(0ms) != std::future_status::ready) got += far.Receive(20ms);
    result = sending.get();
    return got + far.Receive(50ms);
  }
  testsupport::PtyFarSide far;
};

TEST_F(DripFeedTest, EachLineGoesOutWithThePortsLineEndUpToTheSecondPercent) {
  const std::string program = "%\nO0001\r\nG00X1.\n%\nM30\n";
  struct Case {
    int stop, parity;
    std::string expected;
  } cases[] = {
      {0, 0, "%\r\nO0001\r\nG00X1.\r\n%"},
      {0x8000, 0, "%\rO0001\rG00X1.\r%"},
      {0x4000, 0, "%\nO0001\nG00X1.\n%"},
      {0x2000, 0, "%O0001G00X1.%"},
      {0x1000, 0, "%\n\r\rO0001\n\r\rG00X1.\n\r\r%"},
      {0, 0x8000, "%\r\nO0001\r\nG00X1.\r\n%\x1A"},
  };
  for (const Case& c : cases) {
    WriteSettings(c.stop, c.parity);
    EXPECT_EQ(Send(program), c.expected) << c.stop << " " << c.parity;
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(run.transfer.Com.Port) << "the port is closed after the send";
  }
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(DripFeedTest, AFarSideThatHangsUpStopsTheSendWithItsError) {
  WriteSettings(0, 0, 0);
  std::string program;
  for (int i = 0; i < 4000; ++i) program += "G01X" + std::to_string(i) + ".Y1.\n";
  run.transfer.Com.PathBuffer = platform::Utf8ToCp932(WriteProgram(program).string());
  auto sending = std::async(std::launch::async, [this] { return run.RunNcTextCheck(); });
  far.Receive(200ms, 100);
  far.CloseSlave();
  far.HangUp();
  ASSERT_EQ(sending.wait_for(5s), std::future_status::ready) << "the send did not notice the hang-up";
  EXPECT_EQ(sending.get(), qup::kStopRun);
  ASSERT_FALSE(host.errorBoxes.empty());
  EXPECT_NE(host.errorBoxes[0].find(platform::Sjis("データ転送::出力_ERROR")), std::string::npos);
  EXPECT_FALSE(run.transfer.Com.Port);
}

TEST_F(DripFeedTest, AnXoffNeverLiftedHoldsUntilTheUserStops) {
  WriteSettings(0, 0);
  far.Send("\x13");
  std::this_thread::sleep_for(100ms);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 20) run.AbortFlag = qup::kStopRun;  // the user's stop, a second or so later
  };
  const std::string before = "%\nG00X1.\n%\n";
  const fs::path source = WriteProgram(before);
  run.transfer.Com.PathBuffer = platform::Utf8ToCp932(source.string());
  auto sending = std::async(std::launch::async, [this] { return run.RunNcTextCheck(); });
  ASSERT_EQ(sending.wait_for(5s), std::future_status::ready) << "a stop did not end the held send";
  EXPECT_EQ(sending.get(), qup::kStopRun);
  EXPECT_EQ(far.Receive(100ms), "");
  EXPECT_NE(host.titleText.find(platform::Sjis("XOFF")), std::string::npos);
  std::ifstream in(source, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before) << "the source is never written";
}

TEST_F(DripFeedTest, AnXoffHeldForAWhileThenLiftedLosesNoByte) {
  WriteSettings(0, 0);
  std::string program = "%\n";
  for (int i = 0; i < 3000; ++i) program += "N" + std::to_string(i) + "G01X" + std::to_string(i) + ".\n";
  program += "%\n";
  run.transfer.Com.PathBuffer = platform::Utf8ToCp932(WriteProgram(program).string());
  auto sending = std::async(std::launch::async, [this] { return run.RunNcTextCheck(); });
  std::string got = far.Receive(2s, 200);
  far.Send("\x13");
  got += far.Receive(100ms);  // what was on its way before the XOFF
  EXPECT_EQ(far.Receive(600ms), "") << "bytes went out while the machine held XOFF";
  EXPECT_EQ(sending.wait_for(0ms), std::future_status::timeout) << "the held send gave up";
  far.Send("\x11");
  while (sending.wait_for(0ms) != std::future_status::ready) got += far.Receive(20ms);
  EXPECT_EQ(sending.get(), 0);
  got += far.Receive(50ms);
  std::string expected;
  for (char c : program.substr(0, program.size() - 1)) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(DripFeedTest, APortThatIsNotThereStopsAtOnceAndOpensNothing) {
  testsupport::MapComPort("Kelto_qup", 1, (home() / "no-such-tty").string());
  run.transfer.Com.PathBuffer = platform::Utf8ToCp932(WriteProgram("%\nM30\n%\n").string());
  EXPECT_EQ(run.RunNcTextCheck(), qup::kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find(platform::Sjis("COMポート::OPEN_ERROR")), std::string::npos);
  EXPECT_NE(host.listLines.back().find("no-such-tty"), std::string::npos) << "the list names the device";
}

TEST_F(DripFeedTest, AMissingSourceLeavesThePortClosedForTheNextFile) {
  WriteSettings(0, 0);
  run.transfer.Com.PathBuffer = platform::Utf8ToCp932((Dat() / "GONE.NC").string());
  EXPECT_EQ(run.RunNcTextCheck(), qup::kStopRun);
  EXPECT_FALSE(run.transfer.Com.Port);
  run.AbortFlag = 0;
  host.errorBoxes.clear();
  EXPECT_EQ(Send("%\nM30\n%\n"), "%\r\nM30\r\n%");
  EXPECT_EQ(result, 0);
}

}  // namespace

namespace {

// The check of sub-mode 2 plots its moves on the plotter of "$LIB.@@@".
class CheckPlotTest : public NcTextCheckTest {
 protected:
  void SetUp() override {
    NcTextCheckTest::SetUp();
    testsupport::MapComPort("Kelto_qup", 1, far.path());
    run.job.Header.subMode = 2;
    run.transfer.Com.SliceMs = 20;
    handover::PlotterSettings lib = handover::DefaultPlotterSettings();
    auto& p = lib.plotter;
    for (double& v : p.centreX) v = 0.0;
    for (double& v : p.centreY) v = 0.0;
    p.paneWord = 0;      // COM1
    p.viewingPlane = 0;  // X-Y
    p.colourChange = 0;  // the pen follows the tool
    ASSERT_TRUE(handover::WritePlotterSettings(home() / "$LIB.@@@", lib).ok());
  }
  std::string Plot(const std::string& program) {
    WriteProgram(program);
    auto checking = std::async(std::launch::async, [this] { return run.RunNcTextCheck(); });
    std::string got;
    while (checking.wait_for(0ms) != std::future_status::ready) got += far.Receive(20ms);
    result = checking.get();
    return got + far.Receive(50ms);
  }
  testsupport::PtyFarSide far;
};

TEST_F(CheckPlotTest, MovesArePlottedInPlotterUnitsWithThePenOfTheTool) {
  const std::string hpgl = Plot("G90G00X0.Y0.Z0.\nT9\nG00X0.5Y0.5\nG01X1.Y2.Z3.\nT8\nG01X2.\n");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(hpgl.rfind("\x1B.I150;0;17:\x1B.T:\x1B.L:\x1B.N;19:\x1B.@;0:IN;", 0), 0u) << hpgl;
  EXPECT_NE(hpgl.find("SP1;PU;PA0,0;PD;LT2,1;PA20,20;PD;LT;PA40,80;"), std::string::npos) << hpgl;
  EXPECT_NE(hpgl.find("SP8;"), std::string::npos) << hpgl;
  EXPECT_NE(hpgl.find("PD;LT;PA80,80;"), std::string::npos) << hpgl;
  EXPECT_EQ(hpgl.substr(hpgl.size() - 10), "SP0;PG;IN;");
  const testsupport::Hp2xxReading read = testsupport::ReadWithHp2xx(hpgl, home(), "check_plot.png");
  if (!read.installed) GTEST_SKIP() << "hp2xx is not installed";
  EXPECT_EQ(read.exitCode, 0) << read.report;
  EXPECT_TRUE(read.NothingIgnored()) << read.report;
}

}  // namespace

namespace {

// A run of start mode 2 plots each hole: a pen-up move to the R level above
// it and a drawn plunge (plotter units: 40 per mm, X-Y projection).
TEST_F(CheckPlotTest, AHoleJobOfStartMode2PlotsEachHole) {
  testsupport::HandoverBuilder job;
  job.header.startMode = 2;
  job.Begin();
  for (const double x : {10.0, 50.0}) job.Point(100, x, 15.0);
  testsupport::HoleProcess drill;
  drill.tool.diameter = 8.5;
  drill.step.depth = -10.0;
  job.HoleProcessItem(400, 100, drill);
  job.End();
  job.Write(home());
  run.job.Header = job.header;
  run.job.Modes.StartMode = 2;
  ASSERT_EQ(run.LoadJob(), 0);
  run.InitNcJob();
  auto running = std::async(std::launch::async, [this] { return run.StartNcCreation(); });
  std::string hpgl;
  while (running.wait_for(0ms) != std::future_status::ready) hpgl += far.Receive(20ms);
  running.get();
  hpgl += far.Receive(50ms);
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_NE(hpgl.find("PA400,600;PD;LT;PA400,600;"), std::string::npos) << hpgl;
  EXPECT_NE(hpgl.find("PA2000,600;PD;LT;PA2000,600;"), std::string::npos) << hpgl;
  EXPECT_EQ(hpgl.substr(hpgl.size() - 10), "SP0;PG;IN;");
  EXPECT_FALSE(run.transfer.Com.Port);
  const testsupport::Hp2xxReading read = testsupport::ReadWithHp2xx(hpgl, home(), "hole_job_plot.png");
  if (!read.installed) GTEST_SKIP() << "hp2xx is not installed";
  EXPECT_EQ(read.exitCode, 0) << read.report;
  EXPECT_TRUE(read.NothingIgnored()) << read.report;
}

}  // namespace

namespace {

TEST_F(NcTextCheckTest, ArcsOfHugeOrOverflowingValuesEndWithoutEndlessSteps) {
  const auto& moves = Check("G90G17G00X0.Y0.Z0.\nG02X1e300Y1e300.R1e300.\nG91G03X1e308Y1e308I1e308J1e308\n");
  EXPECT_EQ(result, 0);
  EXPECT_LE(moves.size(), 200002u) << "at most 100000 steps an arc";
}

}  // namespace
