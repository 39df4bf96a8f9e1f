// HP-GL of the drawing: plotter units, pens of colours, the commands of a
// line and an arc, and a plotter port that is not there stopping the output
// with its reason instead of ending as if it had plotted.
#include "kelto_dorn/files/plotter_output.h"

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/settings_store.h"
#include "tests/support/test_support.h"

namespace {

namespace pl = dorn::plotter;

TEST(PlotterCommandsTest, UnitsPensAndFigures) {
  EXPECT_EQ(pl::MoveCommand(pl::Units(0.0, 100.0, 190.0), pl::Units(0.0, 100.0, 140.0), false, 0), "PU;PA7600,5600;");
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
  EXPECT_EQ(pl::FigureCommands(line, plot), (std::vector<std::string>{"PU;PA40,80;", "PD;LT5,3;PA120,160;"}));
  dorn::FigureRecord arc{};
  arc.kind = 3;
  arc.centre = {0.0, 0.0};
  arc.start = {10.0, 0.0};
  arc.end = {0.0, 10.0};
  arc.radius = -10.0;  // clockwise: three quarters
  EXPECT_EQ(pl::FigureCommands(arc, plot),
            (std::vector<std::string>{"PU;PA400,0;", "PD;LT;AA0,0,-270.000,(,5.000;"}));
  dorn::FigureRecord point{};
  point.kind = 1;
  EXPECT_TRUE(pl::FigureCommands(point, plot).empty());
}

class PlotterPortTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

TEST_F(PlotterPortTest, APortThatIsNotThereStopsTheOutputWithItsReason) {
  handover::DrawingStateRecord plot{};
  plot.paneWord = 0;
  platform::SettingsStore store("Kelto_Dorn");
  store.SetString("SerialPorts", "COM1", (home() / "no-tty").string());
  ASSERT_TRUE(store.Save());
  const bool stop = false;
  EXPECT_EQ(dorn::PlotFiguresOfLayer(plot, 0, stop), -1);
  EXPECT_TRUE(backend_->WasShown("no-tty"));
}

}  // namespace
