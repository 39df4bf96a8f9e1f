// The machining order: the items and their list lines, the dialog's
// ordering, marks, sorting and "M00SET.txt".
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/camdata/choice_button.h"
#include "kelto_dorn/camdata/machining_order_dialog.h"
#include "kelto_dorn/camdata/nc_create_dialog.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/camdata/order_list.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace id = machining_order;

class MachiningOrderTest : public CamDataTest {
 protected:
  void SetUp() override {
    CamDataTest::SetUp();
    AddPointCurve(501, {{10.0, 10.0}});
  }
  // Hole definitions of `steps` steps with tools 1, 2, ...
  void AddHoles(int definitions, int steps, const char* name = "ANA") {
    for (int i = 0; i < definitions; ++i) {
      HoleDefinition h;
      h.number = 10000 + 1000 * (g_machiningCount);
      MachiningDefinition d = MakeHoleDefinition(h);
      for (int s = 0; s < steps; ++s) {
        d.stepTools[s] = d.stepTools[0];
        d.stepTools[s].atcNumber = s + 1;
      }
      StoreDefinition(d, name);
    }
  }
  void WriteM00(const std::string& text) {
    std::ofstream out(home() / kM00SettingsFileName, std::ios::binary);
    out << text;
  }
};

TEST_F(MachiningOrderTest, RegisterWithoutNumberingMachinesEveryStepInTableOrder) {
  AddHoles(2, 2);
  CamServices services = Services();
  int creations = 0;
  backend().WhenDialogOpensAlways(kNcCreateDialogId, [&](DialogDriver& d) {
    ++creations;
    EXPECT_EQ(FocusedEditIndex, 1);
    d.Click(nc_create::kCancel);
  });
  CMachiningOrderM00Dlg dialog(services);
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  ASSERT_EQ(OrderItemCount(), 4);
  EXPECT_EQ(dialog.GetCount(id::kList), 5);  // and "[EOF]"
  EXPECT_EQ(dialog.GetItemText(id::kList, 4), "[EOF]");
  EXPECT_EQ(dialog.GetItemText(id::kList, 0).substr(0, 5), " --- ");
  EXPECT_TRUE(d.Click(id::kRegister));
  EXPECT_EQ(creations, 1);
  EXPECT_EQ(g_machiningOrderCount, kOrderListInForce);
  ASSERT_EQ(OrderListLength(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(g_machiningOrderList[static_cast<std::size_t>(i)], g_orderItems[static_cast<std::size_t>(i)].id);
  EXPECT_EQ(dialog.GetItemText(id::kList, 2).substr(0, 4), "N003");
  EXPECT_TRUE(d.PressEnter());  // Enter does nothing
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_TRUE(d.PressEscape());
  EXPECT_EQ(dialog.EndCode(), platform::kIdCancel);
  dialog.DestroyWindow();
}

TEST_F(MachiningOrderTest, DoubleClickOrdersAndMarksSteps) {
  AddHoles(1, 3);
  CMachiningOrderM00Dlg dialog(Services());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.DoubleClick(id::kList, 2));
  EXPECT_TRUE(d.DoubleClick(id::kList, 0));
  EXPECT_EQ(OrderPositionOf(2), 1);
  EXPECT_EQ(OrderPositionOf(0), 2);
  EXPECT_TRUE(d.DoubleClick(id::kList, 2));  // out again: the others move up
  EXPECT_EQ(OrderPositionOf(2), 0);
  EXPECT_EQ(OrderPositionOf(0), 1);
  EXPECT_EQ(g_orderItems[0].orderPosition, 1);
  EXPECT_TRUE(d.Click(id::kMark));
  EXPECT_TRUE(dialog.MarkMode());
  EXPECT_EQ(dialog.ButtonColour(id::kMark), kModeHighlight);
  EXPECT_TRUE(d.DoubleClick(id::kList, 1));
  EXPECT_EQ(g_orderItems[1].mark, 1);
  const std::string line = dialog.GetItemText(id::kList, 1);
  EXPECT_NE(line.find(platform::Sjis("☆ ")), std::string::npos);
  EXPECT_NE(line.rfind(platform::Sjis("☆")), std::string::npos);
  EXPECT_EQ(OrderPositionOf(1), 0);  // marking does not order
  dialog.DestroyWindow();
}

TEST_F(MachiningOrderTest, RowButtonsMoveTheSelectedSteps) {
  AddHoles(1, 5);
  CMachiningOrderM00Dlg dialog(Services());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  // Nothing selected: nothing happens.
  EXPECT_TRUE(d.Click(id::kFirstRowButton));
  EXPECT_EQ(g_orderItems[0].step, 0);
  // Steps 4 and 2 (in that selection order) before row 1.
  EXPECT_TRUE(d.Select(id::kList, 3));
  EXPECT_TRUE(d.ToggleSelection(id::kList, 1));
  EXPECT_EQ(dialog.Selection(), (std::vector<int>{3, 1}));
  EXPECT_TRUE(d.Click(id::kFirstRowButton + 1));
  std::vector<int> steps;
  for (int n = 0; n < 5; ++n) steps.push_back(g_orderItems[static_cast<std::size_t>(n)].step);
  EXPECT_EQ(steps, (std::vector<int>{0, 3, 1, 2, 4}));
  for (int n = 0; n < 5; ++n) EXPECT_EQ(g_orderItems[static_cast<std::size_t>(n)].number, n + 1);
  EXPECT_EQ(g_orderItems[5].number, kOrderItemEnd);
  EXPECT_EQ(dialog.GetText(id::kFirstRowButton + 4), "N0005");
  EXPECT_EQ(dialog.GetText(id::kFirstRowButton + 5), "N....");
  dialog.DestroyWindow();
}

TEST_F(MachiningOrderTest, SortIsOneStableSortOfEveryItem) {
  // 600 items: names cycling over three prefixes, steps out of order.
  for (int i = 0; i < 600; ++i) {
    OrderItem& item = g_orderItems[static_cast<std::size_t>(i)];
    item = OrderItem{};
    item.number = i + 1;
    item.id = 100000 + i;
    item.step = (599 - i) % 8;
    const char* names[3] = {"CCCCC_x", "AAAAA_y", "BBBBB_z"};
    platform::SetFieldText(item.name, names[i % 3]);
  }
  g_orderItems[600].number = kOrderItemEnd;
  SortOrderItems();
  ASSERT_EQ(OrderItemCount(), 600);
  for (int i = 1; i < 600; ++i) {
    const OrderItem& a = g_orderItems[static_cast<std::size_t>(i - 1)];
    const OrderItem& b = g_orderItems[static_cast<std::size_t>(i)];
    const int c = std::strncmp(a.name, b.name, 5);
    ASSERT_LE(c, 0) << i;
    if (c == 0) {
      ASSERT_LE(a.step, b.step) << i;
      if (a.step == b.step) ASSERT_LT(a.id, b.id) << i;  // equal keys keep their order
    }
    EXPECT_EQ(b.number, i + 1);
  }
}

TEST_F(MachiningOrderTest, M00SettingsMarkTheirTools) {
  AddHoles(1, 3);  // output tools 1, 2, 3
  WriteM00("T2 FACE MILL\r\n3\r\n\r\nno number\r\n");
  EXPECT_EQ(ReadM00Settings(), (std::vector<int>{2, 3}));
  CMachiningOrderM00Dlg dialog(Services());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.Click(id::kM00));
  EXPECT_TRUE(dialog.M00Mode());
  EXPECT_EQ(g_orderItems[0].m00, 0);
  EXPECT_EQ(g_orderItems[1].m00, 1);
  EXPECT_EQ(g_orderItems[2].m00, 1);
  EXPECT_NE(dialog.GetItemText(id::kList, 1).find("M00"), std::string::npos);
  EXPECT_TRUE(d.Click(id::kMark));  // mark mode ends the M00 mode
  EXPECT_FALSE(dialog.M00Mode());
  dialog.DestroyWindow();
  std::filesystem::remove(home() / kM00SettingsFileName);
  EXPECT_TRUE(ReadM00Settings().empty());
}

TEST_F(MachiningOrderTest, HoleSubprogramSwitchAndClearing) {
  AddHoles(1, 2);
  CMachiningOrderM00Dlg dialog(Services());
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.Click(id::kHoleSub));
  EXPECT_EQ(g_drawingHeader.holeSubprogram, 1);
  EXPECT_EQ(dialog.ButtonColour(id::kHoleSub), kSubprogramHighlight);
  EXPECT_TRUE(d.Click(id::kHoleSub));
  EXPECT_EQ(g_drawingHeader.holeSubprogram, 0);
  EXPECT_TRUE(d.DoubleClick(id::kList, 1));
  EXPECT_TRUE(d.Click(id::kClearOrder));
  EXPECT_EQ(OrderListLength(), 0);
  EXPECT_EQ(g_orderItems[1].orderPosition, 0);
  EXPECT_FALSE(dialog.IsEnabled(id::kAtc));  // the ATC ranking is not in the program yet
  dialog.DestroyWindow();
}

TEST_F(MachiningOrderTest, ALineNamesAGoneCurve) {
  HoleDefinition h;
  h.curveKey = 999;
  AddHoleDefinition(h);
  BuildOrderItems(*slots_, *atc_);
  EXPECT_NE(platform::Cp932ToUtf8(OrderItemLine(*slots_, 0)).find("図面名が見つかりません ??"), std::string::npos);
  AddHoles(1, 1);
  BuildOrderItems(*slots_, *atc_);
  const std::string line = platform::Cp932ToUtf8(OrderItemLine(*slots_, 1));
  EXPECT_EQ(line.substr(5, 6), " G54  ");
  EXPECT_NE(line.find("T001"), std::string::npos);
  EXPECT_NE(line.find("8.5φ"), std::string::npos);
  EXPECT_NE(line.find("HOLES"), std::string::npos);
}

}  // namespace
}  // namespace dorn::test
