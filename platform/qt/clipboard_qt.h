#pragma once
// The system clipboard of the desktop.
#include "platform/clipboard.h"

namespace platform::qt {

class QtClipboard : public Clipboard {
 public:
  ClipboardResult SetBitmap(const Bitmap& bitmap) override;
  ClipboardResult SetText(std::string_view cp932) override;
  std::optional<Bitmap> GetBitmap() const override;
  std::optional<std::string> GetText() const override;
};

void InstallQtClipboard();

}  // namespace platform::qt
