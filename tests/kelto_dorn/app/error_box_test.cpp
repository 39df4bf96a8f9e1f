// The numbered error box and the beep, through the headless backend.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "platform/text.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using ErrorBoxTest = test::KernelTest;

TEST_F(ErrorBoxTest, ShowsTheTextOfEachCodeAsAStopBox) {
  const struct {
    int code;
    const char* utf8;
  } cases[] = {
      {0, "※ Kelto_Dorn_00 :: MEMORY_ERROR...."},
      {5, "※ Kelto_Dorn_05 :: MEMORY_ERROR...."},
      {32, "※ Kelto_Dorn_32 :: MEMORY_ERROR...."},
      {70, "※ Kelto_Dorn_70 :: MEMORY_ERROR...."},
      {71, "※ Kelto_Dorn_71 :: MEMORY_ERROR...."},
      {90, "※ Kelto_Dorn_90 :: MEMORY_ERROR...."},
      {99, "※ Kelto_Dorn_99 :: MEMORY_ERROR...."},
      {100, "※ Kelto_Dorn_100 :: MEMORY_ERROR...."},
      {-1, "※ 図面のサイズが大きい過ぎます...\n ::MEMORY_ERROR..."},
      {-10, "※ 曲線のセグメントサイズが不正です..."},
      {-11, "※ 無効な曲線が存在します..."},
      {-12, "※ 曲線のセグメントアドレスが破損しています..."},
      {-13, "※ 曲線をすべてリセットする必要があります..."},
      {-20, "※ 図形をトリミングしてから面取りして下さい..."},
      {118, "※ ヘリカル傾斜角度が不正です...."},
      {119, "※ ヘリカル加工穴φが不正です...."},
      {120, "※ 切り込み量が不正です...."},
      {480, "※ 曲面定義数がＭＡＸです...."},
      {490, "※ 加工定義数がＭＡＸです...."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ShowErrorCode(c.code), 1);
    const auto& box = backend().MessageBoxes().back();
    EXPECT_EQ(box.request.text, platform::Sjis(c.utf8));
    EXPECT_EQ(box.request.icon, platform::MessageIcon::Stop);
    EXPECT_EQ(box.request.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(std::string(g_textBuffer), platform::Sjis(c.utf8));
  }
  EXPECT_EQ(backend().MessageBoxes().size(), std::size(cases));
}

TEST_F(ErrorBoxTest, OtherCodesShowTheCallersText) {
  for (int code : {45, -80, 33, 72, 101}) {
    SCOPED_TRACE(code);
    const std::string own = platform::Sjis("呼び出し側の文 ") + std::to_string(code);
    std::strcpy(g_textBuffer, own.c_str());
    ShowErrorCode(code);
    EXPECT_EQ(ShownTexts().back(), own);
  }
  // A buffer filled to its end is shown terminated.
  std::memset(g_textBuffer, 'x', sizeof g_textBuffer);
  ShowErrorCode(45);
  EXPECT_EQ(ShownTexts().back(), std::string(1023, 'x'));
}

TEST_F(ErrorBoxTest, AFailedBeepSilencesEveryLaterBeep) {
  EXPECT_EQ(SignalBeep(), 1);
  EXPECT_EQ(SignalBeep(), 1);
  EXPECT_EQ(backend().BeepCount(), 2);

  backend().SetBeepFails(true);
  EXPECT_EQ(SignalBeep(), 0);
  EXPECT_EQ(g_beepOff, 1);
  backend().SetBeepFails(false);
  const int tried = backend().BeepCount();
  EXPECT_EQ(SignalBeep(), 0);
  EXPECT_EQ(backend().BeepCount(), tried);  // not tried again
}

}  // namespace
}  // namespace dorn
