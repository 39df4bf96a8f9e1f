// Each control kind driven through the headless backend and read back.
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Dialog;
using platform::Sjis;
using platform::headless::DialogDriver;
namespace cs = platform::control_style;

// A dialog that counts its events by control id.
class ProbeDialog : public Dialog {
 public:
  using Dialog::Dialog;
  std::vector<std::string> events;

 protected:
  void OnClick(int id) override { events.push_back("click " + std::to_string(id)); }
  void OnTextChanged(int id) override { events.push_back("text " + std::to_string(id)); }
  void OnSelectionChanged(int id) override { events.push_back("select " + std::to_string(id)); }
  void OnDoubleClick(int id) override { events.push_back("double " + std::to_string(id)); }
  void OnScroll(int id) override { events.push_back("scroll " + std::to_string(id)); }
  void OnCommand(int id) override { events.push_back("command " + std::to_string(id)); }
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override {
    // As the colour button draws itself: face, caption, edge, and the focus
    // frame or the disabled caption.
    dc.FillRect(item.rect, platform::Brush{0xDCDCDC});
    platform::Rect r = item.rect;
    dc.SetTextColor(item.disabled ? 0x808080 : 0x000000);
    dc.DrawText(GetText(id), r,
                platform::draw_text::kCenter | platform::draw_text::kVCenter | platform::draw_text::kSingleLine);
    dc.DrawEdge(item.rect, item.selected ? platform::EdgeKind::Sunken : platform::EdgeKind::Raised,
                platform::edge_side::kRect);
    if (item.focused) dc.DrawFocusRect(item.rect.Inflated(-4, -4));
  }
};

std::vector<ControlSpec> AllKinds() {
  return {
      {ControlKind::StaticText, -1, Sjis("ファイル名")},
      {ControlKind::Edit, 1008, "", 0, 0, 0, 0, 10},
      {ControlKind::Edit, 1009, "", 0, 0, 0, cs::kLowerCase},
      {ControlKind::Edit, 1010, "", 0, 0, 0, cs::kPassword},
      {ControlKind::Edit, 1011, "fixed", 0, 0, 0, cs::kReadOnly},
      {ControlKind::Edit, 1012, "", 0, 0, 0, cs::kMultiLine | cs::kWantReturn},
      {ControlKind::GroupBox, 1100, Sjis("原点")},
      {ControlKind::RadioButton, 1024, Sjis("中央"), 1100},
      {ControlKind::RadioButton, 1025, Sjis("右上"), 1100},
      {ControlKind::RadioButton, 1148, Sjis("上面"), 1200},
      {ControlKind::RadioButton, 1149, Sjis("下面"), 1200},
      {ControlKind::RadioButton, 1026, Sjis("左上"), 1100},
      {ControlKind::RadioButton, 2300, Sjis("表示有"), 1100, 0, 0, cs::kGroupStart},
      {ControlKind::RadioButton, 2301, Sjis("表示無"), 1100},
      {ControlKind::CheckBox, 1466, Sjis("破線")},
      {ControlKind::PushButton, 1269, Sjis("収縮率"), 0, 0, 0, cs::kCheckLook},
      {ControlKind::OwnerDrawButton, 1000, Sjis("色")},
      {ControlKind::BitmapButton, 1160, ""},
      {ControlKind::ListBox, 1300},
      {ControlKind::ListBox, 1301, "", 0, 0, 0, cs::kMultiSelect},
      {ControlKind::ComboBox, 1400, "", 0, 0, 0, cs::kDropList},
      {ControlKind::ComboBox, 1401},
      {ControlKind::ListControl, 1500},
      {ControlKind::TabControl, 1600},
      {ControlKind::Slider, 1471, "", 0, 0, 0, cs::kTicks},
      {ControlKind::ScrollBar, 1700},
      {ControlKind::Spin, 1701},
      {ControlKind::RichEdit, 4435},
      {ControlKind::PushButton, 1, "OK", 0, 0, 0, cs::kDefaultButton},
      {ControlKind::PushButton, 2, Sjis("キャンセル")},
  };
}

class DialogControlsTest : public windowtest::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    dialog_ = std::make_unique<ProbeDialog>(500, Sjis("テスト"), AllKinds());
    backend().CreateModeless(*dialog_, nullptr);
    driver_ = std::make_unique<DialogDriver>(*dialog_);
  }
  void TearDown() override {
    driver_.reset();
    dialog_.reset();
    HeadlessTest::TearDown();
  }
  ProbeDialog& dlg() { return *dialog_; }
  DialogDriver& drive() { return *driver_; }

 private:
  std::unique_ptr<ProbeDialog> dialog_;
  std::unique_ptr<DialogDriver> driver_;
};

TEST_F(DialogControlsTest, EditStylesShapeWhatIsTyped) {
  struct Case {
    int id;
    std::string typed;
    bool accepted;
    std::string stored;
  };
  const std::string kanji = Sjis("漢字");  // two double-byte characters, 4 bytes
  const Case cases[] = {
      {1008, "ABCDEFGHIJKLM", true, "ABCDEFGHIJ"},                 // cut at the 10-byte limit
      {1008, "ABCDEFGHI" + kanji, true, "ABCDEFGHI"},              // the limit never splits a character
      {1009, "MiXeD " + Sjis("Ａ"), true, "mixed " + Sjis("Ａ")},  // only ASCII letters lowered
      {1010, "secret", true, "secret"},                            // a password keeps its text
      {1011, "typed", false, "fixed"},                             // read-only refuses typing
      {1012, "line1\r\nline2", true, "line1\r\nline2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(drive().Type(c.id, c.typed), c.accepted);
    EXPECT_EQ(dlg().GetText(c.id), c.stored);
  }
}

TEST_F(DialogControlsTest, LowerCaseLeavesSecondBytesOfDoubleByteCharactersAlone) {
  // 0x83 0x41 is a katakana whose second byte is the code of 'A'.
  const std::string katakana = "\x83\x41";
  drive().Type(1009, katakana + "B");
  EXPECT_EQ(dlg().GetText(1009), katakana + "b");
}

TEST_F(DialogControlsTest, RadioButtonsExcludeEachOtherWithinTheirGroupOnly) {
  drive().Click(1148);
  drive().Click(1024);
  drive().Click(1025);
  EXPECT_EQ(dlg().GetCheck(1024), 0);
  EXPECT_EQ(dlg().GetCheck(1025), 1);
  EXPECT_EQ(dlg().GetCheck(1148), 1) << "another group keeps its choice";
  drive().Click(1149);
  EXPECT_EQ(dlg().GetCheck(1148), 0);
  EXPECT_EQ(dlg().GetCheck(1025), 1);
}

TEST_F(DialogControlsTest, ASecondRadioSetInsideOneGroupBoxStartsWithItsMark) {
  drive().Click(1026);
  drive().Click(2300);
  EXPECT_EQ(dlg().GetCheck(1026), 1) << "the first set keeps its choice";
  EXPECT_EQ(dlg().GetCheck(2300), 1);
  drive().Click(2301);
  EXPECT_EQ(dlg().GetCheck(2300), 0);
  EXPECT_EQ(dlg().GetCheck(1026), 1);
  drive().Click(1024);
  EXPECT_EQ(dlg().GetCheck(1026), 0);
  EXPECT_EQ(dlg().GetCheck(2301), 1);
}

TEST_F(DialogControlsTest, CheckBoxTogglesAndCheckLookButtonDoesNot) {
  drive().Click(1466);
  EXPECT_EQ(dlg().GetCheck(1466), 1);
  drive().Click(1466);
  EXPECT_EQ(dlg().GetCheck(1466), 0);
  dlg().SetCheck(1466, 2);
  drive().Click(1466);
  EXPECT_EQ(dlg().GetCheck(1466), 1) << "indeterminate goes to checked";

  drive().Click(1269);
  EXPECT_EQ(dlg().GetCheck(1269), 0) << "a check-look push button shows what the dialog sets";
  dlg().SetCheck(1269, 1);
  EXPECT_EQ(dlg().GetCheck(1269), 1);
}

TEST_F(DialogControlsTest, DisabledOrHiddenControlsRefuseInput) {
  dlg().Enable(1466, false);
  EXPECT_FALSE(drive().Click(1466));
  EXPECT_EQ(dlg().GetCheck(1466), 0);
  dlg().Show(1008, false);
  EXPECT_FALSE(drive().Type(1008, "x"));
  EXPECT_FALSE(drive().Click(9999)) << "no such control";
  EXPECT_TRUE(dlg().events.empty());
}

TEST_F(DialogControlsTest, PushButtonCaptionChangesAtRunTime) {
  dlg().SetText(1269, Sjis("移動率"));
  EXPECT_EQ(dlg().GetText(1269), Sjis("移動率"));
  EXPECT_TRUE(drive().Click(1269));
  EXPECT_EQ(dlg().events.back(), "click 1269");
}

TEST_F(DialogControlsTest, ListBoxSingleSelectionFollowsInsertsAndDeletes) {
  for (const char* s : {"a", "b", "c"}) dlg().AddItem(1300, s);
  EXPECT_TRUE(drive().Select(1300, 2));
  EXPECT_EQ(dlg().GetCurSel(1300), 2);
  dlg().InsertItem(1300, 0, "z");
  EXPECT_EQ(dlg().GetCurSel(1300), 3);
  EXPECT_EQ(dlg().GetItemText(1300, 3), "c");
  dlg().DeleteItem(1300, 3);
  EXPECT_EQ(dlg().GetCurSel(1300), -1);
  EXPECT_FALSE(drive().Select(1300, 7)) << "a row that does not exist";
  EXPECT_FALSE(dlg().SetCurSel(1300, 3));
  EXPECT_EQ(dlg().events.back(), "select 1300");
}

TEST_F(DialogControlsTest, MultipleSelectionKeepsTheOrderOfSelection) {
  for (const char* s : {"r0", "r1", "r2", "r3", "r4"}) dlg().AddItem(1301, s);
  drive().ToggleSelection(1301, 3);
  drive().ToggleSelection(1301, 0);
  drive().ToggleSelection(1301, 4);
  EXPECT_EQ(dlg().GetSelectedRows(1301), (std::vector<int>{3, 0, 4}));
  drive().ToggleSelection(1301, 0);
  EXPECT_EQ(dlg().GetSelectedRows(1301), (std::vector<int>{3, 4}));
  dlg().DeleteItem(1301, 1);  // rows behind a deleted one move up
  EXPECT_EQ(dlg().GetSelectedRows(1301), (std::vector<int>{2, 3}));
  drive().Select(1301, 1);  // a plain click selects one row
  EXPECT_EQ(dlg().GetSelectedRows(1301), (std::vector<int>{1}));
}

TEST_F(DialogControlsTest, ComboPrefixSearchIgnoresCaseAndWraps) {
  for (const char* s : {"Alpha", "beta", "ALPHABET", "Gamma"}) dlg().AddItem(1401, s);
  struct Case {
    const char* prefix;
    int after;
    int found;
  };
  const Case cases[] = {{"alp", -1, 0}, {"alp", 0, 2}, {"alp", 2, 0}, {"BE", -1, 1}, {"gammas", -1, -1}, {"", 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prefix);
    EXPECT_EQ(dlg().FindPrefix(1401, c.prefix, c.after), c.found);
  }
  EXPECT_EQ(dlg().SelectPrefix(1401, "gam"), 3);
  EXPECT_EQ(dlg().GetText(1401), "Gamma");
  EXPECT_TRUE(drive().Type(1401, "free text")) << "an editable combo takes typing";
  EXPECT_EQ(dlg().GetText(1401), "free text");
}

TEST_F(DialogControlsTest, DropListShowsOnlyItsItems) {
  for (const char* s : {"M1", "M2"}) dlg().AddItem(1400, s);
  EXPECT_FALSE(drive().Type(1400, "M3"));
  drive().Select(1400, 1);
  EXPECT_EQ(dlg().GetText(1400), "M2");
  dlg().SetText(1400, "M1");
  EXPECT_EQ(dlg().GetCurSel(1400), 0);
  dlg().SetText(1400, "none");
  EXPECT_EQ(dlg().GetCurSel(1400), -1);
  EXPECT_EQ(dlg().GetText(1400), "");
}

TEST_F(DialogControlsTest, ListControlRowsAndColumns) {
  dlg().InsertColumn(1500, 0, Sjis("工具名"), 120);
  dlg().InsertColumn(1500, 1, Sjis("径"), 60);
  dlg().InsertRow(1500, 0, "T1");
  dlg().InsertRow(1500, 1, "T2");
  dlg().SetCellText(1500, 1, 1, "10.0");
  dlg().InsertRow(1500, 0, "T0");
  EXPECT_EQ(dlg().GetColumnCount(1500), 2);
  EXPECT_EQ(dlg().GetCount(1500), 3);
  EXPECT_EQ(dlg().GetCellText(1500, 2, 1), "10.0");
  EXPECT_EQ(dlg().GetCellText(1500, 0, 1), "");
  EXPECT_EQ(dlg().GetCellText(1500, 9, 0), "") << "a row past the end reads empty";
  EXPECT_TRUE(drive().DoubleClick(1500, 2));
  EXPECT_EQ(dlg().GetCurSel(1500), 2);
  EXPECT_EQ(dlg().events.back(), "double 1500");
}

TEST_F(DialogControlsTest, TabControlSelectsPages) {
  for (int i = 1; i <= 3; ++i) dlg().AddItem(1600, Sjis("工程[") + std::to_string(i) + "]");
  dlg().SetCurSel(1600, 0);
  EXPECT_TRUE(drive().Select(1600, 2));
  EXPECT_EQ(dlg().GetCurSel(1600), 2);
  EXPECT_EQ(dlg().events.back(), "select 1600");
  dlg().ResetContent(1600);
  EXPECT_EQ(dlg().GetCount(1600), 0);
  EXPECT_EQ(dlg().GetCurSel(1600), -1);
}

TEST_F(DialogControlsTest, PositionsStayInsideTheirRange) {
  struct Case {
    int id;
    int set;
    int expected;
  };
  dlg().SetRange(1471, 1, 19);
  dlg().SetTick(1471, 19);
  dlg().SetRange(1700, 100, 0);  // reversed bounds are ordered
  dlg().SetRange(1701, -5, 5);
  const Case cases[] = {{1471, 25, 19}, {1471, 0, 1}, {1471, 7, 7}, {1700, 50, 50}, {1700, -1, 0}, {1701, -9, -5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_TRUE(drive().Scroll(c.id, c.set));
    EXPECT_EQ(dlg().GetPos(c.id), c.expected);
  }
  EXPECT_EQ(dlg().Control(1471)->ticks, std::vector<int>{19});
  EXPECT_FALSE(drive().Scroll(1008, 3)) << "an edit has no position";
}

TEST_F(DialogControlsTest, BitmapButtonKeepsItsImage) {
  platform::Bitmap swatch(16, 16, 0x0000FF);
  dlg().SetImage(1160, swatch.WithColorReplaced(0x0000FF, 0x00FF00));
  EXPECT_EQ(dlg().Control(1160)->image.Pixel(3, 3), 0x00FF00u);
  EXPECT_TRUE(drive().Click(1160));
  EXPECT_EQ(dlg().events.back(), "click 1160");
}

TEST_F(DialogControlsTest, OwnerDrawButtonDrawsItsStates) {
  struct Case {
    platform::OwnerDrawItem state;
    platform::EdgeKind edge;
    bool focusFrame;
    platform::Color caption;
  };
  const platform::Rect r{0, 0, 60, 24};
  const Case cases[] = {
      {{0, r, false, false, false}, platform::EdgeKind::Raised, false, 0x000000},
      {{0, r, true, true, false}, platform::EdgeKind::Sunken, true, 0x000000},
      {{0, r, false, false, true}, platform::EdgeKind::Raised, false, 0x808080},
  };
  for (const Case& c : cases) {
    const auto prims = drive().Paint(1000, c.state);
    ASSERT_GE(prims.size(), 3u);
    EXPECT_EQ(prims[0].kind, platform::PrimitiveKind::FillRect);
    EXPECT_EQ(prims[1].kind, platform::PrimitiveKind::DrawText);
    EXPECT_EQ(prims[1].text, Sjis("色"));
    EXPECT_EQ(prims[1].color, c.caption);
    EXPECT_EQ(prims[2].edgeKind, c.edge);
    EXPECT_EQ(prims.size() == 4 && prims[3].kind == platform::PrimitiveKind::FocusRect, c.focusFrame);
  }
}

TEST_F(DialogControlsTest, RichEditStreamsFindsAndCountsCharacters) {
  const std::string text = "G00 X1.\r\n" + Sjis("（工具）") + "\r\nG01 X2.\r\nM30\r\n";
  dlg().StreamIn(4435, text);
  EXPECT_FALSE(dlg().IsModified(4435));
  EXPECT_EQ(dlg().StreamOut(4435), text);
  // "G00 X1." is 7 characters and its line break one: the second line starts at 8,
  // and its four Japanese characters count one each.
  EXPECT_EQ(dlg().FindText(4435, Sjis("工具"), 0), 9);
  EXPECT_EQ(dlg().LineFromChar(4435, 9), 1);
  EXPECT_EQ(dlg().FindText(4435, "G01", 0), 13);
  EXPECT_EQ(dlg().FindText(4435, "G01", 14), -1) << "search starts after the match";
  EXPECT_EQ(dlg().FindText(4435, "G01", 0, 15), -1) << "a match must end inside the range";
  EXPECT_EQ(dlg().LineFromChar(4435, 13), 2);
  EXPECT_EQ(dlg().LineFromChar(4435, 1000), 4);

  dlg().SetSelection(4435, 13, 16);
  EXPECT_EQ(dlg().GetSelectedText(4435), "G01");
  dlg().ReplaceSelection(4435, "G02");
  EXPECT_TRUE(dlg().IsModified(4435));
  EXPECT_EQ(dlg().GetSelection(4435), (std::pair<int, int>{16, 16}));
  EXPECT_EQ(dlg().FindText(4435, "G02", 0), 13);
  dlg().SetModified(4435, false);
  EXPECT_FALSE(dlg().IsModified(4435));
}

TEST_F(DialogControlsTest, RichEditTextLimitHoldsForStreamAndTyping) {
  dlg().SetLimit(4435, 5);
  dlg().StreamIn(4435, "1234567");
  EXPECT_EQ(dlg().StreamOut(4435), "12345");
  dlg().SetSelection(4435, 5, -1);
  drive().Type(4435, "89");
  EXPECT_EQ(dlg().StreamOut(4435), "12345");
  dlg().SetSelection(4435, 0, 2);
  drive().Type(4435, "ab");
  EXPECT_EQ(dlg().StreamOut(4435), "ab345");
}

TEST_F(DialogControlsTest, MenuBarCommandsReachTheDialog) {
  EXPECT_TRUE(drive().MenuCommand(32771));
  EXPECT_EQ(dlg().events.back(), "command 32771");
}

}  // namespace
