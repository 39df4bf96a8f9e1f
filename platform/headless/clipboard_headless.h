#pragma once
// The headless clipboard: keeps the last bitmap or text put on it, one at a
// time as the system clipboard does, and counts the copies.
#include "platform/clipboard.h"

namespace platform::headless {

class HeadlessClipboard : public Clipboard {
 public:
  ClipboardResult SetBitmap(const Bitmap& bitmap) override;
  ClipboardResult SetText(std::string_view cp932) override;
  std::optional<Bitmap> GetBitmap() const override { return bitmap_; }
  std::optional<std::string> GetText() const override { return text_; }

  int CopyCount() const { return copies_; }
  // Makes the next copies fail, as a clipboard held by another program does.
  void SetUnavailable(bool unavailable) { unavailable_ = unavailable; }

 private:
  std::optional<Bitmap> bitmap_;
  std::optional<std::string> text_;
  int copies_ = 0;
  bool unavailable_ = false;
};

// Installs a fresh headless clipboard and returns it (owned by the layer).
HeadlessClipboard& InstallHeadlessClipboard();

}  // namespace platform::headless
