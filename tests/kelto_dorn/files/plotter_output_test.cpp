// HP-GL of the drawing: plotter units, pens of colours, the commands of a
// line, an arc and a text of mixed single- and double-byte characters; a
// whole plot of figures, texts and curves read back by the far side of a
// pseudo-terminal (and by hp2xx), a stop from the progress window, and a
// plotter port that is not there stopping the output with its reason instead
// of ending as if it had plotted.
#include "kelto_dorn/files/plotter_output.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "platform/backend.h"
#include "platform/headless/dialog_driver.h"
#include "platform/headless/headless_backend.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "tests/kelto_qup/support/pty_far_side.h"
#include "tests/support/hp2xx_reader.h"
#include "tests/support/test_support.h"

namespace {

namespace pl = dorn::plotter;

TEST(PlotterCommandsTest, UnitsPensAndFigures) {
  EXPECT_EQ(pl::PlotMove(pl::Units(0.0, 100.0, 190.0), pl::Units(0.0, 100.0, 140.0), false, 0), "PU;PA7600,5600;");
  struct Pen {
    int colour, pen;
  } pens[] = {{11, 3}, {0, 1}, {8, 8}, {16, 8}, {17, 1}, {9, 1}};
  for (const Pen& p : pens) EXPECT_EQ(pl::PenOfColour(p.colour), p.pen) << p.colour;

  handover::DrawingStateRecord plot{};
  for (double& v : plot.scale) v = 100.0;
  dorn::FigureRecord line{};
  line.kind = 2;
  line.start = {1.0, 2.0};
  line.end = {3.0, 4.0};
  line.attribute = 0x2000 | 5;
  EXPECT_EQ(pl::PlotFigure(line, plot), (std::vector<std::string>{"PU;PA40,80;", "PD;LT5,3;PA120,160;"}));
  dorn::FigureRecord arc{};
  arc.kind = 3;
  arc.centre = {0.0, 0.0};
  arc.start = {10.0, 0.0};
  arc.end = {0.0, 10.0};
  arc.radius = -10.0;  // clockwise: three quarters
  EXPECT_EQ(pl::PlotFigure(arc, plot),
            (std::vector<std::string>{"PU;PA400,0;", "PD;LT;AA0,0,-270.000,(,5.000;"}));
  line.origin = {5.0, -1.0};  // points are kept relative to the layer origin of their making
  line.attribute = 5;
  EXPECT_EQ(pl::PlotFigure(line, plot), (std::vector<std::string>{"PU;PA240,40;", "PD;LT;PA320,120;"}));
  dorn::FigureRecord point{};
  point.kind = 1;
  EXPECT_TRUE(pl::PlotFigure(point, plot).empty());
}

TEST(PlotterCommandsTest, TextsSwitchBetweenSingleAndDoubleByteLabels) {
  struct Jis {
    unsigned char lead, trail;
    std::uint16_t jis;
  } codes[] = {{0x82, 0xA0, 0x2422}, {0x83, 0x41, 0x2522}, {0x8A, 0xBF, 0x3441}, {0x88, 0x9F, 0x3021}, {0xE0, 0x40, 0x5F21}};
  for (const Jis& c : codes) EXPECT_EQ(pl::JisOfSjis(c.lead, c.trail), c.jis) << std::hex << c.lead << c.trail;

  struct Label {
    const char* text;
    std::string hpgl;
  } labels[] = {
      {"AB", "LBAB\x03;"},
      {"A 漢字B", "LBA \x03;SA;LB\x34\x41\x3B\x7A\x03;SS;LBB\x03;"},
      {"漢", "SA;LB\x34\x41\x03;SS;"},
      {"", "LB\x03;"},
  };
  for (const Label& l : labels) EXPECT_EQ(pl::LabelCommands(platform::Sjis(l.text)), l.hpgl) << l.text;

  handover::DrawingStateRecord plot{};
  for (double& v : plot.scale) v = 50.0;
  dorn::TextRecord text{};
  text.size = 12.0f;
  text.angle = 90.0f;
  text.baseX = 10.0f;
  text.originX = 10.0f;
  dorn::SetTextRecordText(text, "A");
  EXPECT_EQ(pl::PlotText(text, plot), (std::vector<std::string>{"DI0.000,100.000;", "SI0.500000,0.370130;",
                                                                    "PU;PA400,0;", "LBA\x03;"}));
}

class PlotterPortTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    dorn::ResetAppState();
    backend_ = &platform::headless::InstallHeadlessBackend();
    ASSERT_TRUE(dorn::g_figureStore.Start());
  }
  void TearDown() override {
    dorn::ResetAppState();
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  static void Line(int table, int layer, int colour, dorn::Vec2 a, dorn::Vec2 b) {
    dorn::g_curFigure = dorn::FigureRecord{};
    dorn::g_curFigure.kind = 2;
    dorn::g_curFigure.layer = layer;
    dorn::g_curFigure.attribute = colour;
    dorn::g_curFigure.start = a;
    dorn::g_curFigure.end = b;
    dorn::g_figureTableSelector = table;
    ASSERT_TRUE(dorn::AppendFigure(0));
  }
  // Layer 0: two lines (pens 3 and 1), a text of pen 2 and a curve of one
  // line (pen 1); layer 1: a curve that is not plotted.
  void MakeDrawing() {
    Line(0, 0, 11, {0.0, 0.0}, {10.0, 0.0});
    Line(0, 0, 9, {0.0, 0.0}, {0.0, 10.0});
    dorn::TextRecord& t = dorn::g_textRecords[0];
    t = dorn::TextRecord{};
    t.colour = 2;
    t.size = 12.0f;
    t.baseX = 5.0f;
    t.baseY = 5.0f;
    dorn::SetTextRecordText(t, platform::Sjis("穴A"));
    dorn::g_textRecords[1].layer = dorn::kTextRecordFree;
    Line(dorn::kTableCurves, 0, 1, {20.0, 0.0}, {30.0, 0.0});
    Line(dorn::kTableCurves, 1, 1, {40.0, 0.0}, {50.0, 0.0});
    dorn::g_curveTable[0].layer = 0;
    dorn::g_curveTable[0].first = 0;
    dorn::g_curveTable[0].end = 1;
    dorn::g_curveTable[1].layer = 1;
    dorn::g_curveTable[1].first = 1;
    dorn::g_curveTable[1].end = 2;
    dorn::g_curveCount = 2;
  }
  // Plots while the far side reads; the HP-GL it received.
  std::string PlotToFarSide(int options, bool& stop, const std::function<void(int)>& progress, int& result) {
    testsupport::PtyFarSide far;
    testsupport::MapComPort("Kelto_Dorn", 1, far.path());
    handover::DrawingStateRecord plot{};
    for (double& v : plot.scale) v = 100.0;
    auto running = std::async(std::launch::async, [&] { return dorn::PlotDrawing(plot, 0, options, stop, progress); });
    std::string hpgl;
    while (running.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      hpgl += far.Receive(std::chrono::milliseconds(20));
    result = running.get();
    return hpgl + far.Receive(std::chrono::milliseconds(50));
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

TEST_F(PlotterPortTest, FiguresTextsAndCurvesArePlottedPenByPen) {
  MakeDrawing();
  bool stop = false;
  int result = 1, lastPercent = -1;
  const std::string hpgl = PlotToFarSide(pl::kPlotFigures | pl::kPlotCurves, stop, [&](int p) { lastPercent = p; }, result);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(backend_->MessageBoxes().empty());
  EXPECT_EQ(lastPercent, 100);
  // Figures pen by pen, then texts, then the curves of the layer.
  const std::string figures = "SP1;PU;PA0,0;PD;LT;PA0,400;SP2;SP3;PU;PA0,0;PD;LT;PA400,0;SP4;SP5;SP6;SP7;SP8;";
  const std::string texts = "SP1;SP2;DI100.000,0.000;SI1.000000,0.740260;PU;PA200,200;SA;LB\x37\x6A\x03;SS;LBA\x03;SP3;";
  const std::string curves = "SP8;SP1;PU;PA800,0;PD;LT;PA1200,0;SP2;";
  const std::size_t f = hpgl.find(figures), t = hpgl.find(texts), c = hpgl.find(curves);
  ASSERT_NE(f, std::string::npos) << hpgl;
  ASSERT_NE(t, std::string::npos) << hpgl;
  ASSERT_NE(c, std::string::npos) << hpgl;
  EXPECT_LT(f, t);
  EXPECT_LT(t, c);
  EXPECT_EQ(hpgl.find("PA1600,0"), std::string::npos) << "a curve of another layer was plotted";
  EXPECT_EQ(hpgl.substr(hpgl.size() - 10), "SP0;PG;IN;");

  const testsupport::Hp2xxReading read = testsupport::ReadWithHp2xx(hpgl, home(), "drawing_plot.png");
  if (!read.installed) GTEST_SKIP() << "hp2xx is not installed";
  EXPECT_EQ(read.exitCode, 0) << read.report;
  EXPECT_TRUE(read.NothingIgnored()) << read.report;
  // The lines reach (1200, 400); the three characters of 10 mm (400 units)
  // width, 1.5 widths apart, from (200, 200) end at 200 + 2 x 600 + 400, and
  // the 0.74 cm high letters at 200 + 0.74026 x 400.
  EXPECT_NE(read.report.find("Coordinate range: (0, 0) ... (1800, 496.104)"), std::string::npos) << read.report;
}

TEST_F(PlotterPortTest, TheCommandPlotsWhatTheDialogChoseOnThePortOfTheSettings) {
  MakeDrawing();
  testsupport::PtyFarSide far;
  testsupport::MapComPort("Kelto_Dorn", 2, far.path());  // no "$LIB.@@@": the default port word 2 is COM2
  dorn::g_plotOptions = 0;
  bool refusedEmpty = false;
  backend_->WhenDialogOpens(pl::kOutputDialogId, [&](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCheck(pl::kFigures), 0);
    d.Click(pl::kExecute);  // nothing chosen: nothing happens
    refusedEmpty = !d.dialog().HasEnded();
    d.Click(pl::kCurves);
    d.Click(pl::kExecute);
  });
  const int beeps = backend_->BeepCount();
  auto running = std::async(std::launch::async, [] { dorn::OnPlotterOutput(); });
  std::string hpgl;
  while (running.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    hpgl += far.Receive(std::chrono::milliseconds(20));
  running.get();
  hpgl += far.Receive(std::chrono::milliseconds(50));
  EXPECT_TRUE(refusedEmpty);
  EXPECT_EQ(dorn::g_plotOptions, pl::kPlotCurves);
  // Only the curve, at the default offset (190, 140) mm.
  EXPECT_NE(hpgl.find("PU;PA8400,5600;PD;LT;PA8800,5600;"), std::string::npos) << hpgl;
  EXPECT_EQ(hpgl.find("PA7600,5600;PD;LT;PA7600,6000;"), std::string::npos) << "a layer figure was plotted";
  EXPECT_EQ(hpgl.substr(hpgl.size() - 10), "SP0;PG;IN;");
  EXPECT_EQ(backend_->BeepCount() - beeps, 1);
  EXPECT_TRUE(backend_->MessageBoxes().empty());
}

TEST_F(PlotterPortTest, AStopLiftsAndParksThePenWithoutAMessage) {
  MakeDrawing();
  bool stop = false;
  int result = 0;
  const std::string hpgl = PlotToFarSide(pl::kPlotFigures | pl::kPlotCurves, stop, [&](int) { stop = true; }, result);
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(backend_->MessageBoxes().empty());
  EXPECT_EQ(hpgl.find("SP2;"), std::string::npos) << hpgl;
  EXPECT_EQ(hpgl.substr(hpgl.size() - 10), "SP0;PG;IN;");
}

TEST_F(PlotterPortTest, APlotterHoldingXoffIsWaitedForUntilTheUserStops) {
  MakeDrawing();
  testsupport::PtyFarSide far;
  testsupport::MapComPort("Kelto_Dorn", 1, far.path());
  handover::DrawingStateRecord plot{};
  for (double& v : plot.scale) v = 100.0;
  bool stop = false;
  std::promise<void> held;
  // The user presses stop once the plotter has held for a while; the press
  // arrives through the message pump of the plotting thread.
  backend_->Post([&] {
    held.get_future().wait();
    stop = true;
  });
  bool heardHold = false;
  auto running = std::async(std::launch::async, [&] {
    return dorn::PlotDrawing(plot, 0, pl::kPlotFigures, stop, [&](int p) { heardHold |= p == dorn::kPlotterHolding; });
  });
  far.Receive(std::chrono::seconds(2), 8);
  far.Send("\x13");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  held.set_value();
  ASSERT_EQ(running.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "a stop did not end the held plot";
  EXPECT_EQ(running.get(), -1);
  EXPECT_TRUE(heardHold) << "the progress window says the plotter holds";
  EXPECT_TRUE(backend_->MessageBoxes().empty())
      << "a stop is no failure: " << platform::Cp932ToUtf8(backend_->MessageBoxes()[0].request.text);
  EXPECT_EQ(far.Receive(std::chrono::milliseconds(100)).find("PG;"), std::string::npos)
      << "the plotter held: the closing commands wait in vain and are dropped";
}

TEST_F(PlotterPortTest, APortThatIsNotThereStopsTheOutputWithItsReason) {
  handover::DrawingStateRecord plot{};
  plot.paneWord = 0;
  platform::SettingsStore store("Kelto_Dorn");
  store.SetString("SerialPorts", "COM1", (home() / "no-tty").string());
  ASSERT_TRUE(store.Save());
  const bool stop = false;
  EXPECT_EQ(dorn::PlotDrawing(plot, 0, pl::kPlotFigures, stop), -1);
  EXPECT_TRUE(backend_->WasShown("no-tty"));
}

}  // namespace
