// The route table: each id the view receives reaches its family; a family
// that is not installed shows its ids disabled.
#include <map>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/window/command_routes.h"
#include "tests/kelto_dorn/window/recording_engines.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

const std::map<RouteFamily, std::string>& FamilyNames() {
  static const std::map<RouteFamily, std::string> names = {
      {RouteFamily::kFigure, "figure"},
      {RouteFamily::kViewMode, "viewMode"},
      {RouteFamily::kOriginMove, "originMove"},
      {RouteFamily::kCurve, "curve"},
      {RouteFamily::kPointGroupCurve, "pointGroup"},
      {RouteFamily::kDimension, "dimension"},
      {RouteFamily::kSurface, "surface"},
      {RouteFamily::kMachining, "machining"},
      {RouteFamily::kCamDataRun, "camData"},
      {RouteFamily::kDxfExportOrPlot, "dxfOrPlot"},
      {RouteFamily::kDxfExport, "dxfExport"},
  };
  return names;
}

class RoutingTest : public WindowTest {};

TEST_F(RoutingTest, EveryEngineIdReachesItsFamilyWithItsId) {
  Start();
  RecordingEngines engines;
  engines.InstallFamilies();
  UpdateAllCommands();
  int routed = 0;
  for (int i = 0; i < kRoutedCommandCount; ++i) {
    const int id = RoutedCommands()[i];
    const RouteFamily family = FamilyOf(id);
    if (!IsEngineFamily(family)) continue;
    SCOPED_TRACE(id);
    engines.Clear();
    ASSERT_TRUE(frame().Invoke(id));
    ASSERT_EQ(engines.Calls().size(), 1u);
    EXPECT_EQ(engines.Calls()[0], (EngineCall{FamilyNames().at(family), id}));
    ++routed;
  }
  EXPECT_EQ(routed, 161);  // the ids of the engine families in the table
}

TEST_F(RoutingTest, SpotChecksOfTheTable) {
  EXPECT_EQ(FamilyOf(32852), RouteFamily::kFigure);
  EXPECT_EQ(FamilyOf(33169), RouteFamily::kOriginMove);
  EXPECT_EQ(FamilyOf(33009), RouteFamily::kPointGroupCurve);
  EXPECT_EQ(FamilyOf(33258), RouteFamily::kDimension);
  EXPECT_EQ(FamilyOf(33070), RouteFamily::kSurface);
  EXPECT_EQ(FamilyOf(33203), RouteFamily::kMachining);
  EXPECT_EQ(FamilyOf(33045), RouteFamily::kCamDataRun);
  EXPECT_EQ(FamilyOf(33246), RouteFamily::kFileMenu);
  EXPECT_EQ(FamilyOf(33218), RouteFamily::kUndoRedo);
  EXPECT_EQ(FamilyOf(32888), RouteFamily::kCadImport);
  EXPECT_EQ(FamilyOf(33078), RouteFamily::kDxfExportOrPlot);
  EXPECT_EQ(FamilyOf(32832), RouteFamily::kDxfExport);
  EXPECT_EQ(FamilyOf(33257), RouteFamily::kView);
  EXPECT_EQ(FamilyOf(57609), RouteFamily::kFrameworkPrint);
  EXPECT_EQ(FamilyOf(32804), RouteFamily::kNone);  // the frame's
}

TEST_F(RoutingTest, AFamilyNotInstalledShowsItsIdsDisabled) {
  Start();
  RecordingEngines engines;
  engines.InstallFamilies();
  g_commandEngines.surfaceCommand = nullptr;
  UpdateAllCommands();
  for (int i = 0; i < kRoutedCommandCount; ++i) {
    const int id = RoutedCommands()[i];
    const RouteFamily family = FamilyOf(id);
    if (!IsEngineFamily(family)) continue;
    SCOPED_TRACE(id);
    EXPECT_EQ(frame().GetCommandState(id).enabled, family != RouteFamily::kSurface);
  }
  engines.Clear();
  EXPECT_FALSE(frame().Invoke(32948));
  EXPECT_TRUE(engines.Calls().empty());
}

TEST_F(RoutingTest, CommandsNeedingAMissingNeighbourShowDisabled) {
  Start();
  UpdateAllCommands();
  // Dialogs of subsystems not in the program yet.
  for (int id : {33060, 1354}) EXPECT_FALSE(frame().GetCommandState(id).enabled) << id;
  // The capsule names, the machining-time settings and the definition
  // groups are.
  for (int id : {33192, 33191, 33195}) EXPECT_TRUE(frame().GetCommandState(id).enabled) << id;
  // The view's own commands and the least print choice stay.
  for (int id : {32801, 32802, 32773, 33005, 32818, 57607, 57609, 33029, 33031, 32995, 33125, 33098, 33193, 57664})
    EXPECT_TRUE(frame().GetCommandState(id).enabled) << id;
  // The post settings of the CAM data, the tool and machine ATC editors,
  // the hole-process editor and the BOX hole style are in the program.
  EXPECT_TRUE(frame().GetCommandState(32819).enabled);
  EXPECT_TRUE(frame().GetCommandState(33138).enabled);
  EXPECT_TRUE(frame().GetCommandState(32814).enabled) << "the NC data transfer dialog";
  EXPECT_TRUE(frame().GetCommandState(33133).enabled);
  EXPECT_TRUE(frame().GetCommandState(33134).enabled);
  EXPECT_TRUE(frame().GetCommandState(33135).enabled);
  // The CAD import and the DXF export are in the program.
  EXPECT_TRUE(frame().GetCommandState(32888).enabled);
  EXPECT_TRUE(frame().GetCommandState(32832).enabled);
  // So are the drawing file list, the data edit and the network import's selection.
  EXPECT_TRUE(frame().GetCommandState(32978).enabled);
  EXPECT_TRUE(frame().GetCommandState(32792).enabled);
  EXPECT_TRUE(frame().GetCommandState(33246).enabled);
  // Of the machining menu, the definitions whose dialogs are in the program.
  EXPECT_TRUE(frame().GetCommandState(32959).enabled);
  EXPECT_FALSE(frame().GetCommandState(32961).enabled);
  g_commandEngines.ncTransferDialog = [](handover::DrawingHeader&) { return 1; };
  UpdateAllCommands();
  EXPECT_TRUE(frame().GetCommandState(32814).enabled);
}

TEST_F(RoutingTest, TheCurveCommandsAreInstalledAtStartUp) {
  Start();
  UpdateAllCommands();
  EXPECT_TRUE(frame().GetCommandState(32905).enabled);
  EXPECT_TRUE(frame().GetCommandState(33000).enabled);
  EXPECT_TRUE(frame().GetCommandState(33048).enabled);
  EXPECT_TRUE(frame().Invoke(32905));
  EXPECT_EQ(g_pickState, 32905) << "the automatic connection asks for its first figure";
}

}  // namespace
}  // namespace dorn::test
