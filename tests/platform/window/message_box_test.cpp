// Message boxes: the numeric styles of the system's tables, scripted answers
// and the record of every text shown.
#include "platform/message_box.h"
#include "platform/text.h"
#include "window_test_support.h"

namespace {

using platform::MessageButtons;
using platform::MessageIcon;

TEST(MessageBoxStyle, DecodesButtonsAndIcons) {
  struct Case {
    unsigned style;
    MessageButtons buttons;
    MessageIcon icon;
  };
  const Case cases[] = {
      {0x00, MessageButtons::Ok, MessageIcon::None},
      {0x10, MessageButtons::Ok, MessageIcon::Stop},
      {0x01, MessageButtons::OkCancel, MessageIcon::None},
      {0x24, MessageButtons::YesNo, MessageIcon::Question},
      {0x33, MessageButtons::YesNoCancel, MessageIcon::Exclamation},
      {0x40, MessageButtons::Ok, MessageIcon::Information},
      {0x02, MessageButtons::Ok, MessageIcon::None},  // a set the system never uses falls back to OK
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const auto r = platform::MessageBoxFromStyle("t", "c", c.style);
    EXPECT_EQ(r.buttons, c.buttons);
    EXPECT_EQ(r.icon, c.icon);
  }
}

using MessageBoxTest = windowtest::HeadlessTest;

TEST_F(MessageBoxTest, ScriptedAnswersAndDefaults) {
  const std::string question = platform::Sjis(" 終了しても良いですか ??...");
  backend().AnswerMessageBox(platform::kIdNo);
  EXPECT_EQ(platform::ShowMessageBox(question, "", 0x24), platform::kIdNo);
  EXPECT_EQ(platform::ShowMessageBox(question, "", 0x24), platform::kIdYes) << "no answer left: the default";
  EXPECT_EQ(platform::ShowMessageBox("x", "", 0x01), platform::kIdOk);
  backend().AnswerMessageBox(platform::kIdCancel);
  EXPECT_EQ(platform::ShowMessageBox("x", "", 0x03), platform::kIdCancel);

  ASSERT_EQ(backend().MessageBoxes().size(), 4u);
  EXPECT_EQ(backend().MessageBoxes()[0].request.text, question);
  EXPECT_EQ(backend().MessageBoxes()[0].request.icon, MessageIcon::Question);
  EXPECT_TRUE(backend().WasShown(platform::Sjis("終了しても")));
  EXPECT_FALSE(backend().WasShown("never"));
  EXPECT_TRUE(backend().Problems().empty());
}

TEST_F(MessageBoxTest, AnAnswerTheBoxCannotGiveIsAProblemNotAResult) {
  backend().AnswerMessageBox(platform::kIdYes);
  EXPECT_EQ(platform::ShowMessageBox("stop", "", 0x10), platform::kIdOk);
  EXPECT_EQ(backend().Problems().size(), 1u);
}

TEST_F(MessageBoxTest, ChoosersAnswerFromTheScriptAndCancelWithout) {
  backend().AnswerFileChooser(std::string("C:\\DAT\\A.MZF"));
  platform::FileChooserRequest req;
  req.filters = platform::ParseFileFilters(platform::Sjis("図面 (*.MZF)|*.MZF;*.KWD|すべて (*.*)|*.*||"));
  EXPECT_EQ(platform::ChooseFile(req), std::optional<std::string>("C:\\DAT\\A.MZF"));
  EXPECT_EQ(platform::ChooseFile(req), std::nullopt);
  ASSERT_EQ(backend().FileChooserRequests().size(), 2u);
  const auto& f = backend().FileChooserRequests()[0].filters;
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].name, platform::Sjis("図面 (*.MZF)"));
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.MZF", "*.KWD"}));
  EXPECT_EQ(f[1].patterns, (std::vector<std::string>{"*.*"}));

  backend().AnswerColorChooser(0x0000FF);
  EXPECT_EQ(platform::ChooseColor(0), std::optional<platform::Color>(0x0000FF));
  platform::Font font{platform::Sjis("ＭＳ 明朝"), 13, 700};
  backend().AnswerFontChooser(font);
  EXPECT_EQ(platform::ChooseFont({}), std::optional<platform::Font>(font));
  EXPECT_EQ(platform::ChooseFolder("t", "i"), std::nullopt);
  EXPECT_EQ(platform::ChoosePrinter({}), std::nullopt);
}

TEST_F(MessageBoxTest, BeepCountsAndReportsAFailure) {
  EXPECT_TRUE(platform::Beep());
  backend().SetBeepFails(true);
  EXPECT_FALSE(platform::Beep());
  EXPECT_EQ(backend().BeepCount(), 1);
}

}  // namespace
