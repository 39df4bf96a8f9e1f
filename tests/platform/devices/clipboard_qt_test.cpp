// The desktop clipboard (in-process under the off-screen platform).
#include "platform/qt/clipboard_qt.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/platform/devices/qt_test_app.h"

namespace {

class QtClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    devicetests::App();
    platform::qt::InstallQtClipboard();
  }
  void TearDown() override { platform::UninstallClipboard(); }
};

TEST_F(QtClipboardTest, ABitmapPutOnTheClipboardComesBackPixelForPixel) {
  platform::Bitmap picture(5, 4, platform::Rgb(255, 255, 255));
  picture.SetPixel(0, 0, platform::Rgb(255, 0, 0));
  picture.SetPixel(4, 3, platform::Rgb(0, 0, 255));
  picture.SetPixel(2, 1, platform::Rgb(12, 34, 56));
  ASSERT_TRUE(platform::CopyBitmapToClipboard(picture).ok);
  std::optional<platform::Bitmap> back = platform::ClipboardBitmap();
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, picture);
}

TEST_F(QtClipboardTest, JapaneseTextPassesThroughTheClipboardUnchanged) {
  const std::string text = platform::Sjis("★ クリップボード O1234");
  ASSERT_TRUE(platform::CopyTextToClipboard(text).ok);
  EXPECT_EQ(platform::ClipboardText(), text);
  EXPECT_FALSE(platform::ClipboardBitmap());
}

}  // namespace
