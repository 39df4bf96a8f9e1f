#include "platform/qt/clipboard_qt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/qt/qt_text.h"
#include "platform/qt/raster_context.h"

namespace platform::qt {
namespace {

QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

constexpr const char* kNoApplication = "the clipboard needs the desktop application to be running";

}  // namespace

ClipboardResult QtClipboard::SetBitmap(const Bitmap& bitmap) {
  QClipboard* clipboard = SystemClipboard();
  if (!clipboard) return {false, kNoApplication};
  clipboard->setImage(ToQImage(bitmap));
  return {true, {}};
}

ClipboardResult QtClipboard::SetText(std::string_view cp932) {
  QClipboard* clipboard = SystemClipboard();
  if (!clipboard) return {false, kNoApplication};
  clipboard->setText(ToQString(cp932));
  return {true, {}};
}

std::optional<Bitmap> QtClipboard::GetBitmap() const {
  QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data || !data->hasImage()) return std::nullopt;
  QImage image = clipboard->image();
  if (image.isNull()) return std::nullopt;
  return ToBitmap(image);
}

std::optional<std::string> QtClipboard::GetText() const {
  QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data || !data->hasText()) return std::nullopt;
  return FromQString(clipboard->text());
}

void InstallQtClipboard() { InstallClipboard(std::make_unique<QtClipboard>()); }

}  // namespace platform::qt
