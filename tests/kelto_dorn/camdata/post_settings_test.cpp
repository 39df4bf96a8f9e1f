// The post settings: the post table, the settings dialog with its choice
// rows, block texts and nested dialogs, and the post list.
#include <filesystem>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/camdata/choice_button.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/camdata/post_setting_dialog.h"
#include "kelto_dorn/camdata/post_table.h"
#include "kelto_dorn/camdata/spindle_code_dialog.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/last_tool_dialog.h"
#include "platform/headless/dialog_driver.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/camdata/cam_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;
using platform::headless::DialogDriver;
namespace id = post_setting;

class PostSettingsTest : public CamDataTest {
 protected:
  // A table of `posts` posts named P1, P2 ... written to "$POST.@@@".
  void WritePosts(int posts) {
    handover::SetDefaultPostTable(g_postTable);
    for (int p = 1; p <= posts; ++p) {
      handover::ResetPostRecord(g_postTable[static_cast<std::size_t>(p)]);
      g_postTable[static_cast<std::size_t>(p)].SetName("P" + std::to_string(p));
    }
    g_postTable[0].postCount = posts + 1;
    g_postTable[0].currentPost = 1;
    ASSERT_TRUE(WriteDornPostTable().ok());
    ReadDornPostTable();
  }
  // The row button of an option on page 1: first choice, second choice.
  static int Choice(int row, int choice) { return id::kFirstChoice + 2 * row + choice; }
};

TEST_F(PostSettingsTest, AChoiceStoresItsValueAndIsDrawnHighlighted) {
  WritePosts(2);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_EQ(dialog.GetText(id::kNumberText), platform::Sjis("ポスト番号 : 01"));
  // Row 4 of page 1 is データ仕様: INC (0) / ABS (1), ABS by default.
  EXPECT_EQ(dialog.ChoiceColour(Choice(4, 1)), kPostChoiceHighlight);
  EXPECT_EQ(dialog.ChoiceColour(Choice(4, 0)), kChoiceGrey);
  EXPECT_TRUE(d.Click(Choice(4, 0)));
  EXPECT_EQ(g_postTable[1].dataMode, 0);
  EXPECT_EQ(dialog.ChoiceColour(Choice(4, 0)), kPostChoiceHighlight);
  // Page 2's last two rows store 1 for "Yes".
  EXPECT_TRUE(d.Select(id::kTabs, 1));
  EXPECT_EQ(dialog.GetText(id::kFirstRowCaption + 15), platform::Sjis("加工分割"));
  EXPECT_TRUE(d.Click(Choice(15, 0)));
  EXPECT_EQ(g_postTable[1].splitMachining, 1);
  EXPECT_FALSE(dialog.IsEnabled(Choice(17, 0)));  // the empty row
  // Page 3 shows the blocks, not the rows.
  EXPECT_TRUE(d.Select(id::kTabs, 2));
  EXPECT_FALSE(dialog.IsVisible(Choice(0, 0)));
  EXPECT_TRUE(dialog.IsVisible(id::kFirstBlockEdit));
  EXPECT_EQ(dialog.GetText(id::kFirstBlockEdit + 5), "(END_POST)");
  dialog.DestroyWindow();
}

TEST_F(PostSettingsTest, SpindleCodeAndLastToolOpenTheirDialogs) {
  WritePosts(1);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  const int spindle = 16, lastT = 17;
  backend().WhenDialogOpens(kSpindleCodeDialogId, [](DialogDriver& s) {
    s.Type(kSpindleCodeEdit, " 8x");
    s.Click(platform::kIdOk);
  });
  EXPECT_TRUE(d.Click(Choice(spindle, 1)));
  EXPECT_EQ(g_postTable[1].spindleCode, 8);
  EXPECT_EQ(dialog.ChoiceCaption(Choice(spindle, 1)), "M08");
  EXPECT_EQ(g_exchangeValue, -1);
  // A code of 1 shows as M04; Cancel leaves 0, the M03 choice.
  backend().WhenDialogOpens(kSpindleCodeDialogId, [](DialogDriver& s) {
    s.Type(kSpindleCodeEdit, "1");
    s.Click(platform::kIdOk);
  });
  EXPECT_TRUE(d.Click(Choice(spindle, 1)));
  EXPECT_EQ(dialog.ChoiceCaption(Choice(spindle, 1)), "M04");
  backend().WhenDialogOpens(kSpindleCodeDialogId, [](DialogDriver& s) { s.Click(platform::kIdCancel); });
  EXPECT_TRUE(d.Click(Choice(spindle, 1)));
  EXPECT_EQ(g_postTable[1].spindleCode, 0);
  EXPECT_EQ(dialog.ChoiceColour(Choice(spindle, 0)), kPostChoiceHighlight);

  backend().WhenDialogOpens(kLastToolDialogId, [](DialogDriver& s) {
    s.Type(kLastToolEdit, "12");
    s.Click(platform::kIdOk);
  });
  EXPECT_TRUE(d.Click(Choice(lastT, 0)));
  EXPECT_EQ(g_postTable[1].lastTCode, 12);
  EXPECT_EQ(dialog.ChoiceCaption(Choice(lastT, 0)), "T12");
  EXPECT_TRUE(d.Click(Choice(lastT, 1)));  // TOP
  EXPECT_EQ(g_postTable[1].lastTCode, 0);
  dialog.DestroyWindow();
}

TEST_F(PostSettingsTest, BlockAndNameTextsCommitBeforeAnyButton) {
  WritePosts(1);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.Select(id::kTabs, 2));
  EXPECT_TRUE(d.Type(id::kFirstBlockEdit + 1, "T?M06"));
  EXPECT_EQ(dialog.GetCheck(id::kFirstBlockButton + 1), 1);  // its button shown pressed
  EXPECT_TRUE(d.Type(id::kNameEdit, "MC-A"));                // moving on commits the block
  EXPECT_EQ(g_postTable[1].blocks[1].Text(), "T?M06");
  EXPECT_TRUE(d.PressEnter());  // commits the name; the dialog stays open
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_EQ(g_postTable[1].Name(), "MC-A");
  EXPECT_TRUE(d.Type(id::kFirstBlockEdit, ""));  // an empty text changes nothing
  EXPECT_TRUE(d.Click(id::kRegister));
  EXPECT_EQ(dialog.EndCode(), platform::kIdOk);
  EXPECT_EQ(g_postTable[1].blocks[0].Text(), "(INIT_POST)");
  handover::PostTable read;
  ASSERT_TRUE(handover::ReadPostTable(platform::DataRoot() / handover::kPostFileName, read).ok());
  EXPECT_EQ(read[1].Name(), "MC-A");
  EXPECT_EQ(read[1].blocks[1].Text(), "T?M06");
  dialog.DestroyWindow();
}

TEST_F(PostSettingsTest, CancelDropsTheEditsTheCompanionWouldNotSee) {
  WritePosts(1);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.Click(Choice(4, 0)));
  EXPECT_EQ(g_postTable[1].dataMode, 0);
  EXPECT_TRUE(d.Click(id::kCancel));
  EXPECT_EQ(dialog.EndCode(), platform::kIdCancel);
  EXPECT_EQ(g_postTable[1].dataMode, 1);  // as in "$POST.@@@"
  dialog.DestroyWindow();
}

TEST_F(PostSettingsTest, ATableThatCannotBeWrittenKeepsTheDialogOpen) {
  WritePosts(1);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  EXPECT_TRUE(d.Click(Choice(4, 0)));
  fs::remove(home() / handover::kPostFileName);
  fs::create_directories(home() / handover::kPostFileName);
  EXPECT_TRUE(d.Click(id::kRegister));
  EXPECT_FALSE(dialog.HasEnded());
  EXPECT_FALSE(ShownTexts().empty());
  EXPECT_EQ(g_postTable[1].dataMode, 0);  // the edit is still there to be written
  dialog.DestroyWindow();
}

TEST_F(PostSettingsTest, NewPostsFillTheTableAndCopiesStopAtThirty) {
  WritePosts(1);
  CPostSettingDlg dialog;
  ASSERT_TRUE(dialog.CreateModeless());
  DialogDriver d(dialog);
  for (int i = 0; i < 40; ++i) d.Click(id::kNewPost);
  EXPECT_EQ(PostCount(), 31);
  EXPECT_EQ(g_currentPost, 30);
  dialog.DestroyWindow();

  WritePosts(28);  // 29 records
  FocusedEditIndex = kPostListModePosts;
  CPostListDlg list;
  ASSERT_TRUE(list.CreateModeless());
  DialogDriver l(list);
  EXPECT_EQ(list.GetCount(post_list::kList), 28);
  EXPECT_EQ(list.GetItemText(post_list::kList, 2), "POST_No[03] : P3");
  EXPECT_TRUE(l.Click(post_list::kCopy));
  EXPECT_EQ(list.GetCheck(post_list::kCopy), 1);
  EXPECT_TRUE(l.DoubleClick(post_list::kList, 2));
  EXPECT_EQ(list.EndCode(), platform::kIdOk);
  EXPECT_EQ(PostCount(), 30);
  EXPECT_EQ(g_currentPost, 29);
  EXPECT_EQ(g_postTable[29].Name(), "P3");
  list.DestroyWindow();

  CPostListDlg again;
  ASSERT_TRUE(again.CreateModeless());
  DialogDriver a(again);
  EXPECT_TRUE(a.Click(post_list::kCopy));  // 30 records: refused
  EXPECT_EQ(again.GetCheck(post_list::kCopy), 0);
  again.DestroyWindow();
}

TEST_F(PostSettingsTest, DeletingKeepsBothCurrentPostsOnAPost) {
  struct Case {
    int posts, current, deletedLine;
    int expectCurrent, expectHeader;
  };
  const Case cases[] = {
      {4, 4, 3, 3, 3},  // the last listed post: the new last post
      {4, 4, 1, 2, 3},  // a post before the header's: it moves down with its post
      {4, 2, 1, 2, 2},  // the header's own post: the one that took its place
  };
  for (const Case& c : cases) {
    WritePosts(c.posts);
    g_postTable[0].currentPost = c.current;
    FocusedEditIndex = kPostListModePosts;
    CPostListDlg list;
    ASSERT_TRUE(list.CreateModeless());
    DialogDriver l(list);
    EXPECT_TRUE(l.Click(post_list::kDelete));
    EXPECT_TRUE(l.DoubleClick(post_list::kList, c.deletedLine));
    EXPECT_FALSE(list.HasEnded());
    EXPECT_EQ(PostCount(), c.posts);
    EXPECT_EQ(g_currentPost, c.expectCurrent) << c.deletedLine;
    EXPECT_EQ(g_postTable[0].currentPost, c.expectHeader) << c.deletedLine;
    EXPECT_LT(g_currentPost, PostCount());
    EXPECT_EQ(list.GetCount(post_list::kList), c.posts - 1);
    list.DestroyWindow();
  }
  // Below three records deleting is refused.
  WritePosts(1);
  CPostListDlg list;
  ASSERT_TRUE(list.CreateModeless());
  DialogDriver l(list);
  EXPECT_TRUE(l.Click(post_list::kDelete));
  EXPECT_EQ(list.GetCheck(post_list::kDelete), 0);
  list.DestroyWindow();
}

TEST_F(PostSettingsTest, MachineChoiceListsTheUserFoldersOfTheAtcFolder) {
  for (const char* f : {"MC-1", "MC-2", "_BAK"}) fs::create_directories(home() / "_ATC" / f);
  FocusedEditIndex = kPostListModeMachine;
  CPostListDlg list;
  ASSERT_TRUE(list.CreateModeless());
  DialogDriver l(list);
  EXPECT_EQ(list.Title(), platform::Sjis("  工作機械データベースの選択 "));
  ASSERT_EQ(list.GetCount(post_list::kList), 2);
  EXPECT_FALSE(list.IsEnabled(post_list::kCopy));
  EXPECT_TRUE(l.DoubleClick(post_list::kList, 1));
  EXPECT_EQ(list.EndCode(), platform::kIdOk);
  EXPECT_EQ(platform::FieldText(g_dbSelection.machineName), "MC-2");
  EXPECT_TRUE(fs::exists(home() / "$DBS_NAME.@@@"));
  EXPECT_EQ(FocusedEditIndex, 0);
  list.DestroyWindow();

  FocusedEditIndex = kPostListModeMachineName;
  CPostListDlg name;
  ASSERT_TRUE(name.CreateModeless());
  DialogDriver n(name);
  EXPECT_TRUE(n.Select(post_list::kList, 0));
  EXPECT_TRUE(n.Click(post_list::kChoose));
  EXPECT_EQ(std::string(g_pathBuf), "MC-1");
  name.DestroyWindow();
}

TEST(LeadingIntegerTest, TakesTheSignAndLeadingDigits) {
  EXPECT_EQ(LeadingInteger(" 12ab"), 12);
  EXPECT_EQ(LeadingInteger("-7"), -7);
  EXPECT_EQ(LeadingInteger("x1"), 0);
  EXPECT_EQ(LeadingInteger(""), 0);
  EXPECT_EQ(LeadingInteger("99999999999"), 2147483647);
}

}  // namespace
}  // namespace dorn::test
