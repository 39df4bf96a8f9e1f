// The NC requests: the Execute menu, the NC data creation and NC data check
// dialogs, driven without a display; a fake companion start records the
// pair it was asked for.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/camdata/nc_check_dialog.h"
#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/nc_requests.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using platform::headless::DialogDriver;

class NcRequestTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    AddPointCurve(501, {{10.0, 10.0}, {20.0, 10.0}});
  }

  // Services whose saving and companion start are recorded.
  CamServices Recording() {
    CamServices s = Services();
    s.saveDrawing = [this] {
      ++saves;
      return true;
    };
    s.startCompanion = [this](int mode, int subMode) {
      started.push_back({mode, subMode});
      return 0;
    };
    s.storeDefinition = [this](int) {
      ++stores;
      g_curMachiningDef = MachiningDefinition{};  // the store resets the working record
      return true;
    };
    return s;
  }

  std::vector<StartPair> started;
  int saves = 0;
  int stores = 0;
};

TEST(StartPairTest, EachOutputStartsTheCompanionInItsMode) {
  struct Case {
    int kind, map, plotter;
    StartPair pair;
  };
  const Case cases[] = {{1, 0, 0, {4, 6}}, {2, 0, 0, {4, 0}}, {3, 0, 0, {1, 6}},  {3, 1, 0, {7, 6}},
                        {3, 2, 1, {2, 0}}, {3, 3, 0, {0, 0}}, {4, 0, 0, {11, 0}}, {4, 0, 1, {11, 2}}};
  for (const Case& c : cases) EXPECT_EQ(StartPairOf(c.kind, c.map, c.plotter), c.pair) << c.kind << " " << c.map;
}

TEST_F(NcRequestTest, CreationDialogOutputsWithItsKindAndStaysOpen) {
  AddHoleDefinition(HoleDefinition{});
  OrderAllItems();
  CNcDataCreateDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  namespace id = nc_create;
  EXPECT_TRUE(d.Click(id::kOutput));
  EXPECT_TRUE(d.Click(id::kGraphic));
  EXPECT_TRUE(d.Click(id::kOutput));
  EXPECT_TRUE(d.Click(id::kDataMap));
  EXPECT_TRUE(d.Click(id::kPointCloud));
  EXPECT_TRUE(d.Click(id::kCloudYz));
  EXPECT_TRUE(d.Click(id::kOutput));
  EXPECT_TRUE(d.Click(id::kPlotter));
  EXPECT_FALSE(dialog.IsEnabled(id::kScreenNew));  // the plotter draws: no screen choice
  EXPECT_TRUE(d.Click(id::kOutput));
  EXPECT_TRUE(d.Click(id::kNcCheck));
  EXPECT_TRUE(d.Click(id::kOutput));
  EXPECT_FALSE(dialog.HasEnded());
  const std::vector<StartPair> expected = {{4, 6}, {4, 0}, {7, 6}, {2, 0}, {11, 0}};
  EXPECT_EQ(started, expected);
  EXPECT_EQ(saves, 5);
  EXPECT_EQ(g_drawingHeader.ncSetting328, 2);  // YZ
  EXPECT_TRUE(fs::exists(home() / "$DORN_DAT.@@@"));
  EXPECT_EQ(dialog.GetCheck(id::kOutput), 0);  // released after the output
  dialog.DestroyWindow();
}

TEST_F(NcRequestTest, CreationDialogEditsCommitAsTheyLoseTheFocus) {
  AddHoleDefinition(HoleDefinition{});
  CNcDataCreateDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  namespace id = nc_create;
  EXPECT_TRUE(d.Type(id::kExtension, "   NCDX"));
  EXPECT_TRUE(d.Type(id::kONumber, "1000+23"));
  EXPECT_TRUE(d.PressEnter());  // commits; the dialog stays
  EXPECT_EQ(platform::FieldText(g_drawingHeader.dataExtension), "NCD");
  EXPECT_EQ(g_drawingHeader.programNumber, 1023);
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_TRUE(d.Select(id::kChannel, 2));
  EXPECT_EQ(g_drawingHeader.machiningTimeRecord, 3);
  EXPECT_TRUE(d.Click(id::kCancel));
  EXPECT_EQ(dialog.EndCode(), platform::kIdCancel);
  dialog.DestroyWindow();
}

TEST_F(NcRequestTest, CreationDialogWithoutDefinitionsOffersOnlyTheNcCheck) {
  CNcDataCreateDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_FALSE(dialog.IsEnabled(nc_create::kOutput));
  // Dialogs of other subsystems not yet in the program stay disabled.
  EXPECT_FALSE(dialog.IsEnabled(nc_create::kDrawingState));
  EXPECT_FALSE(dialog.IsEnabled(nc_create::kCentring));
  EXPECT_TRUE(d.Click(nc_create::kNcCheck));
  EXPECT_TRUE(dialog.IsEnabled(nc_create::kOutput));
  dialog.DestroyWindow();
}

TEST_F(NcRequestTest, ASingleDefinitionKeyBecomesTheOrder) {
  g_machiningOrderCount = 12000;
  PrepareMachiningOrder();
  EXPECT_EQ(g_machiningOrderCount, kOrderListInForce);
  EXPECT_EQ(g_machiningOrderList[0], 12000);
  EXPECT_EQ(OrderListLength(), 1);
}

TEST_F(NcRequestTest, AFailedBuildStartsNothing) {
  AddHoleDefinition(HoleDefinition{});
  OrderAllItems();
  fs::create_directories(home() / "$DORN_DAT.@@@" / "inside");  // the stream cannot be replaced
  EXPECT_FALSE(BuildAndStart(Recording(), 1, 4, 6));
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(saves, 0);
  ASSERT_FALSE(ShownTexts().empty());
  EXPECT_NE(ShownTexts().back().find("作成されませんでした"), std::string::npos);
}

TEST_F(NcRequestTest, ExecuteMenuBuildsOnlyTheFirstStepOfAWire) {
  AddLineCurve(601, {{0, 0}, {10, 0}});
  HoleDefinition h;
  MachiningDefinition d = MakeHoleDefinition(h);
  d.kind = 0xC100;
  d.curves[0].key = 601;
  d.stepTools[1] = d.stepTools[0];
  d.stepTools[2] = d.stepTools[0];
  const int slot = StoreDefinition(d, "WIRE");
  g_curMachiningDef = d;
  g_curDefinitionSlot = slot;
  g_drawingHeader.machiningSetting444 = 2;
  const CamServices services = Recording();
  InstallCamDataCommands([services] { return services; });
  ASSERT_TRUE(g_commandEngines.camDataRun);
  g_commandEngines.camDataRun(kCmdExecuteDataCreation);
  EXPECT_EQ(stores, 1);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (StartPair{4, 6}));
  EXPECT_EQ(g_drawingHeader.machiningSetting444, 0);  // the data-map output cleared
  std::vector<handover::NcElement> stream;
  ASSERT_TRUE(handover::ReadElementFile(home() / "$DORN_DAT.@@@", stream).ok());
  EXPECT_EQ(WithCode(stream, 0xEC54).size(), 1u);
  EXPECT_EQ(WithCode(stream, 0x6110).size(), 1u);
  // The working definition and its slot are as before; the order is cleared.
  EXPECT_EQ(g_curMachiningDef.kind, 0xC100);
  EXPECT_EQ(g_curDefinitionSlot, slot);
  EXPECT_EQ(OrderListLength(), 0);
  EXPECT_EQ(g_machiningOrderCount, 0);
}

TEST_F(NcRequestTest, ExecuteMenuWithoutAWorkingDefinitionDoesNothing) {
  AddHoleDefinition(HoleDefinition{});
  g_curMachiningDef = MachiningDefinition{};
  EXPECT_FALSE(RunCamJob(Recording(), 4, 0));
  EXPECT_EQ(stores, 0);
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(g_machiningCount, 1);
}

TEST_F(NcRequestTest, CheckDialogChecksTheDrawingsOwnFile) {
  AddHoleDefinition(HoleDefinition{});
  CNcDataCheckDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_EQ(dialog.GetText(nc_check::kFileField), "UNIT\\PGM\\HOLE.NC");
  EXPECT_TRUE(d.Click(nc_check::kPlotter));
  EXPECT_TRUE(d.Click(nc_check::kOutput));
  EXPECT_EQ(started, (std::vector<StartPair>{{11, 2}}));
  EXPECT_FALSE(fs::exists(home() / kCheckFileName));
  dialog.DestroyWindow();
}

TEST_F(NcRequestTest, CheckDialogHandsASharedFileOver) {
  AddHoleDefinition(HoleDefinition{});
  CNcDataCheckDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  // A cancelled chooser changes nothing.
  backend().AnswerFileChooser(std::nullopt);
  EXPECT_TRUE(d.Click(nc_check::kSharedFile));
  EXPECT_FALSE(dialog.UsesSharedFile());
  // A path over 255 bytes is refused.
  backend().AnswerFileChooser("/net/" + std::string(300, 'a'));
  EXPECT_TRUE(d.Click(nc_check::kSharedFile));
  EXPECT_FALSE(dialog.UsesSharedFile());
  EXPECT_NE(ShownTexts().back().find("長すぎます"), std::string::npos);
  backend().AnswerFileChooser("/net/share/A.NC");
  EXPECT_TRUE(d.Click(nc_check::kSharedFile));
  ASSERT_TRUE(dialog.UsesSharedFile());
  EXPECT_EQ(dialog.GetText(nc_check::kFileField), "/net/share/A.NC");
  EXPECT_TRUE(d.Click(nc_check::kOutput));
  EXPECT_EQ(started, (std::vector<StartPair>{{12, 0}}));
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(home() / kCheckFileName, bytes).ok());
  ASSERT_EQ(bytes.size(), 256u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "/net/share/A.NC");
  EXPECT_EQ(bytes[255], 0);
  dialog.DestroyWindow();
}

TEST_F(NcRequestTest, ACheckFileNameThatCannotBeWrittenStartsNothing) {
  AddHoleDefinition(HoleDefinition{});
  fs::create_directories(home() / kCheckFileName);  // a folder stands in the way
  CNcDataCheckDlg dialog(Recording());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  backend().AnswerFileChooser("/net/share/A.NC");
  EXPECT_TRUE(d.Click(nc_check::kSharedFile));
  const std::size_t boxes = ShownTexts().size();
  EXPECT_TRUE(d.Click(nc_check::kOutput));
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(dialog.HasEnded());
  // The user is told why nothing started, with the file that was not written.
  ASSERT_EQ(ShownTexts().size(), boxes + 1);
  EXPECT_NE(ShownTexts().back().find(kCheckFileName), std::string::npos) << ShownTexts().back();
  dialog.DestroyWindow();
}

}  // namespace
}  // namespace dorn::test
