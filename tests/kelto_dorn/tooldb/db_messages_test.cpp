#include "kelto_dorn/tooldb/db_messages.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace dorn {
namespace {

std::string Utf8(const std::string& cp932) { return platform::Cp932ToUtf8(cp932); }

class DbMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDbSelection();
    ResetMessageValueSources();
  }
  void TearDown() override {
    ResetDbSelection();
    ResetMessageValueSources();
  }
};

TEST_F(DbMessagesTest, FixedTextsAreShownAsWritten) {
  EXPECT_EQ(Utf8(BuildMessageText(102)), "▲ 工具データが多すぎます!!");
  EXPECT_EQ(Utf8(BuildMessageText(100)), "▲\u3000正しくデータ条件がセットされていません!!");
  EXPECT_EQ(Utf8(BuildMessageText(19)), "加工定義名が重複します．．．!!");
  EXPECT_EQ(MessageKindOf(102), MessageKind::Error);
  EXPECT_EQ(MessageKindOf(90), MessageKind::Question);
}

TEST_F(DbMessagesTest, SelectionNamesFillTheirMessages) {
  SetBaseName(platform::Sjis("基本A"));
  SetToolName("END10");
  SetMachineName("MC1");
  EXPECT_EQ(Utf8(BuildMessageText(2)), "加工材料名 : 基本A\n※削除しても宜しいですか ??\n");
  EXPECT_EQ(Utf8(BuildMessageText(89)), "[END10] 工具情報を保存せずに終了しますか ??");
  EXPECT_EQ(Utf8(BuildMessageText(8)), "MC1 のATC工具データすべて削除されます..\n\t宜しいですか ??");
}

TEST_F(DbMessagesTest, ValuesFromOtherSubsystemsComeThroughTheirSources) {
  MessageValueSources sources;
  sources.textBuffer = [] { return std::string("C:\\DATA\\100%s.csv"); };
  sources.holeProcessName = [] { return platform::Sjis("穴_A_B"); };
  sources.currentStepIndex = [] { return 2; };
  sources.curveNameOfCurrentItem = []() -> std::optional<std::string> { return std::string("CURVE7"); };
  sources.surfaceNameOfCurrentItem = []() -> std::optional<std::string> { return std::nullopt; };
  SetMessageValueSources(sources);

  // A value holding a format mark is put in as it is.
  EXPECT_EQ(Utf8(BuildMessageText(50)), "ファイルＯｐｅｎエラー [ C:\\DATA\\100%s.csv ]");
  EXPECT_EQ(Utf8(BuildMessageText(10)), "穴工程名::穴_A_B\n※削除しても宜しいですか ??\n");
  EXPECT_EQ(Utf8(BuildMessageText(11)), "現在の輪郭工程[03]\n※削除しても宜しいですか ??\n");
  EXPECT_EQ(Utf8(BuildMessageText(12)), "図面名::CURVE7\n※削除しても宜しいですか ??");
  // No surface has the key: the box is empty.
  EXPECT_EQ(BuildMessageText(13), "");
}

TEST_F(DbMessagesTest, UnlistedCodeIsAnEmptyQuestion) {
  EXPECT_EQ(FindMessage(3), nullptr);
  EXPECT_EQ(BuildMessageText(3), "");
  EXPECT_EQ(MessageKindOf(3), MessageKind::Question);
}

TEST_F(DbMessagesTest, WithoutAWindowSystemAQuestionIsNotAnsweredYes) {
  platform::UninstallBackend();
  EXPECT_EQ(ShowMessage(4), kAnswerNo);
  EXPECT_EQ(ShowMessage(94), kAnswerOk);
}

TEST_F(DbMessagesTest, BoxKindAndAnswerReachTheCaller) {
  auto& backend = platform::headless::InstallHeadlessBackend();
  SetToolName("END10");
  backend.AnswerMessageBox(platform::kIdNo);
  backend.AnswerMessageBox(platform::kIdYes);
  EXPECT_EQ(ShowMessage(4), kAnswerNo);
  EXPECT_EQ(ShowMessage(4), kAnswerYes);
  EXPECT_EQ(ShowMessage(99), kAnswerOk);
  ASSERT_EQ(backend.MessageBoxes().size(), 3u);
  const auto& question = backend.MessageBoxes()[0].request;
  EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(question.icon, platform::MessageIcon::Question);
  EXPECT_EQ(Utf8(question.text), "工具名 : END10\n※削除しても宜しいですか ??\n");
  const auto& error = backend.MessageBoxes()[2].request;
  EXPECT_EQ(error.buttons, platform::MessageButtons::Ok);
  EXPECT_EQ(error.icon, platform::MessageIcon::Stop);
  EXPECT_TRUE(backend.Problems().empty());
  platform::UninstallBackend();
}

}  // namespace
}  // namespace dorn
