// The drawing-state settings dialog over "$LIB.@@@": a typed scale goes to
// all five entries of the edited record, the plotter opened from the plotter
// dialog loses its rotations, the default plotter port shows neither port.
#include "kelto_dorn/files/draw_state_dialog.h"

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/test_support.h"

namespace {

namespace ds = dorn::draw_state;

class DrawStateDialogTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    backend_ = &platform::headless::InstallHeadlessBackend();
  }
  void TearDown() override {
    platform::UninstallBackend();
    ProgramFolderTest::TearDown();
  }
  handover::PlotterSettings Stored() {
    handover::PlotterSettings s{};
    EXPECT_TRUE(handover::ReadPlotterSettings(home() / "$LIB.@@@", s).ok());
    return s;
  }
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

TEST_F(DrawStateDialogTest, ATypedScaleFillsAllFiveEntriesOfTheEditedRecord) {
  backend_->WhenDialogOpens(ds::kTemplateId, [](platform::headless::DialogDriver& d) {
    d.Type(ds::kScale, "80");
    d.PressEnter();
    d.Click(ds::kRegister);
  });
  EXPECT_EQ(dorn::RunDrawStateDialog(ds::kModeGraphic), 1);
  const handover::PlotterSettings s = Stored();
  for (double v : s.graphic.scale) EXPECT_DOUBLE_EQ(v, 80.0);
  for (double v : s.plotter.scale) EXPECT_DOUBLE_EQ(v, 100.0) << "the other record keeps its values";
}

TEST_F(DrawStateDialogTest, FromThePlotterDialogTheRotationsAreZeroAndTheDefaultPortShowsNeither) {
  handover::PlotterSettings lib = handover::DefaultPlotterSettings();
  lib.plotter.rotationX = 30.0;
  lib.plotter.viewingPlane = 2;
  ASSERT_TRUE(handover::WritePlotterSettings(home() / "$LIB.@@@", lib).ok());
  backend_->WhenDialogOpens(ds::kTemplateId, [](platform::headless::DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCheck(ds::kAxes1), 0);
    EXPECT_EQ(d.dialog().GetCheck(ds::kAxes2), 0);
    EXPECT_EQ(d.dialog().GetText(ds::kAxes1), "COM1");
    EXPECT_FALSE(d.dialog().IsEnabled(ds::kRotX));
    d.Click(ds::kRegister);
  });
  EXPECT_EQ(dorn::RunDrawStateDialog(ds::kModeFromPlotterDialog), 1);
  const handover::PlotterSettings s = Stored();
  EXPECT_DOUBLE_EQ(s.plotter.rotationX, 0.0);
  EXPECT_EQ(s.plotter.viewingPlane, 0);
  EXPECT_EQ(s.plotter.paneWord, 2);
}

}  // namespace
