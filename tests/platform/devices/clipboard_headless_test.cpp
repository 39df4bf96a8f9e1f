// The clipboard under the headless backend.
#include "platform/headless/clipboard_headless.h"

#include <gtest/gtest.h>

namespace {

platform::Bitmap Picture() {
  platform::Bitmap b(4, 3, platform::Rgb(255, 255, 255));
  b.SetPixel(1, 2, platform::Rgb(255, 0, 0));
  return b;
}

TEST(ClipboardTest, WithoutAClipboardACopyFailsWithAMessage) {
  platform::UninstallClipboard();
  platform::ClipboardResult r = platform::CopyBitmapToClipboard(Picture());
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.message.empty());
  EXPECT_FALSE(platform::ClipboardBitmap());
}

class HeadlessClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { clipboard_ = &platform::headless::InstallHeadlessClipboard(); }
  void TearDown() override { platform::UninstallClipboard(); }
  platform::headless::HeadlessClipboard* clipboard_ = nullptr;
};

TEST_F(HeadlessClipboardTest, ABitmapIsKeptAndTextReplacesIt) {
  ASSERT_TRUE(platform::CopyBitmapToClipboard(Picture()).ok);
  ASSERT_TRUE(platform::ClipboardBitmap());
  EXPECT_EQ(*platform::ClipboardBitmap(), Picture());
  EXPECT_FALSE(platform::ClipboardText());

  ASSERT_TRUE(platform::CopyTextToClipboard("O1234").ok);
  EXPECT_EQ(platform::ClipboardText(), "O1234");
  EXPECT_FALSE(platform::ClipboardBitmap());
  EXPECT_EQ(clipboard_->CopyCount(), 2);
}

TEST_F(HeadlessClipboardTest, AnEmptyPictureOrABusyClipboardIsNotACopy) {
  ASSERT_TRUE(platform::CopyTextToClipboard("kept").ok);
  platform::ClipboardResult empty = platform::CopyBitmapToClipboard(platform::Bitmap());
  EXPECT_FALSE(empty.ok);
  EXPECT_FALSE(empty.message.empty());

  clipboard_->SetUnavailable(true);
  platform::ClipboardResult busy = platform::CopyBitmapToClipboard(Picture());
  EXPECT_FALSE(busy.ok);
  EXPECT_FALSE(busy.message.empty());
  // Neither failure touched what was there.
  EXPECT_EQ(platform::ClipboardText(), "kept");
  EXPECT_EQ(clipboard_->CopyCount(), 1);
}

}  // namespace
