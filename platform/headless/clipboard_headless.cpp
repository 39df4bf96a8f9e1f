#include "platform/headless/clipboard_headless.h"

namespace platform::headless {

namespace {
constexpr const char* kBusy = "the clipboard is held by another program";
}

ClipboardResult HeadlessClipboard::SetBitmap(const Bitmap& bitmap) {
  if (unavailable_) return {false, kBusy};
  bitmap_ = bitmap;
  text_.reset();
  ++copies_;
  return {true, {}};
}

ClipboardResult HeadlessClipboard::SetText(std::string_view cp932) {
  if (unavailable_) return {false, kBusy};
  text_ = std::string(cp932);
  bitmap_.reset();
  ++copies_;
  return {true, {}};
}

HeadlessClipboard& InstallHeadlessClipboard() {
  auto clipboard = std::make_unique<HeadlessClipboard>();
  HeadlessClipboard& ref = *clipboard;
  InstallClipboard(std::move(clipboard));
  return ref;
}

}  // namespace platform::headless
