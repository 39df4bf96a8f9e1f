#pragma once
// The clipboard: the view's picture as a bitmap, and text. The desktop backend
// puts them on the system clipboard; the headless backend keeps them for tests.
// A copy that did not reach the clipboard says so, so the caller never
// confirms a copy that did not happen.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"

namespace platform {

struct ClipboardResult {
  bool ok = false;
  std::string message;  // why the copy failed
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with the bitmap.
  virtual ClipboardResult SetBitmap(const Bitmap& bitmap) = 0;
  // Replaces the clipboard's content with the text (CP932).
  virtual ClipboardResult SetText(std::string_view cp932) = 0;
  virtual std::optional<Bitmap> GetBitmap() const = 0;
  virtual std::optional<std::string> GetText() const = 0;  // CP932
};

// The backend's clipboard (replacing any earlier one).
void InstallClipboard(std::unique_ptr<Clipboard> clipboard);
void UninstallClipboard();

// Through the installed clipboard; without one, or with an empty bitmap, the
// copy fails with a message.
ClipboardResult CopyBitmapToClipboard(const Bitmap& bitmap);
ClipboardResult CopyTextToClipboard(std::string_view cp932);
std::optional<Bitmap> ClipboardBitmap();
std::optional<std::string> ClipboardText();

}  // namespace platform
