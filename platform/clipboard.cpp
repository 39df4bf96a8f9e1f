#include "platform/clipboard.h"

#include <mutex>

namespace platform {
namespace {

std::mutex g_clipboardMutex;
std::shared_ptr<Clipboard> g_clipboard;

std::shared_ptr<Clipboard> Current() {
  std::lock_guard lock(g_clipboardMutex);
  return g_clipboard;
}

ClipboardResult NoClipboard() { return {false, "no clipboard is available: the backend installed none"}; }

}  // namespace

void InstallClipboard(std::unique_ptr<Clipboard> clipboard) {
  std::lock_guard lock(g_clipboardMutex);
  g_clipboard = std::move(clipboard);
}

void UninstallClipboard() { InstallClipboard(nullptr); }

ClipboardResult CopyBitmapToClipboard(const Bitmap& bitmap) {
  // An empty picture (a box dragged without area) would clear the clipboard
  // and still look like a copy.
  if (bitmap.IsEmpty()) return {false, "there is nothing to copy: the picture is empty"};
  auto clipboard = Current();
  return clipboard ? clipboard->SetBitmap(bitmap) : NoClipboard();
}

ClipboardResult CopyTextToClipboard(std::string_view cp932) {
  auto clipboard = Current();
  return clipboard ? clipboard->SetText(cp932) : NoClipboard();
}

std::optional<Bitmap> ClipboardBitmap() {
  auto clipboard = Current();
  return clipboard ? clipboard->GetBitmap() : std::nullopt;
}

std::optional<std::string> ClipboardText() {
  auto clipboard = Current();
  return clipboard ? clipboard->GetText() : std::nullopt;
}

}  // namespace platform
