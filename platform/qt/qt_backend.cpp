#include "platform/qt/qt_backend.h"

#include <QApplication>
#include <QBitmap>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <map>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/qt/clipboard_qt.h"
#include "platform/qt/gl_window_qt.h"
#include "platform/qt/print_qt.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/qt/qt_frame.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/raster_context.h"

namespace platform::qt {

namespace {

std::map<int, QCursor>& Cursors() {
  static std::map<int, QCursor> cursors;
  return cursors;
}

// Modeless dialogs and the frames that own them.
std::map<Dialog*, const Frame*>& ModelessOwners() {
  static std::map<Dialog*, const Frame*> owners;
  return owners;
}

Qt::CursorShape ToShape(StandardCursor s) {
  switch (s) {
    case StandardCursor::Arrow:
      return Qt::ArrowCursor;
    case StandardCursor::Cross:
      return Qt::CrossCursor;
    case StandardCursor::Wait:
      return Qt::WaitCursor;
    case StandardCursor::IBeam:
      return Qt::IBeamCursor;
    case StandardCursor::Hand:
      return Qt::PointingHandCursor;
    case StandardCursor::SizeAll:
      return Qt::SizeAllCursor;
  }
  return Qt::ArrowCursor;
}

QWidget* ActiveParent() {
  return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

// The modeless host forgets its dialog in the owner table when it goes.
class ModelessHost final : public QtDialogHost {
 public:
  ModelessHost(Dialog& d, QWidget* parent) : QtDialogHost(d, parent), dialog_(d) {}
  ~ModelessHost() override { ModelessOwners().erase(&dialog_); }

 private:
  Dialog& dialog_;
};

QString FilterString(const std::vector<FileFilter>& filters) {
  QStringList parts;
  for (const FileFilter& f : filters) {
    QStringList pats;
    for (const std::string& p : f.patterns) pats << ToQString(p);
    parts << QStringLiteral("%1 (%2)").arg(ToQString(f.name), pats.join(' '));
  }
  return parts.join(QStringLiteral(";;"));
}

class QtBackend final : public Backend {
 public:
  void PumpMessages() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
  int RunEventLoop() override { return QApplication::exec(); }
  void QuitEventLoop(int code) override { QCoreApplication::exit(code); }
  void PostTask(std::function<void()> task) override {
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(task));
  }
  Rect DesktopRect() const override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Backend::DesktopRect();
    const QRect g = screen->availableVirtualGeometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  }
  void ShowWaitCursor(bool on) override {
    if (on)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  }
  void RegisterCursor(int id, StandardCursor shape) override { Cursors()[id] = QCursor(ToShape(shape)); }
  void RegisterCursor(int id, const Bitmap& image, Point hot, Color transparent) override {
    QPixmap pixmap = QPixmap::fromImage(ToQImage(image));
    pixmap.setMask(
        QBitmap::fromImage(ToQImage(image).createMaskFromColor(ToQColor(transparent).rgb(), Qt::MaskInColor)));
    Cursors()[id] = QCursor(pixmap, hot.x, hot.y);
  }
  bool Beep() override {
    QApplication::beep();
    return true;
  }

  std::unique_ptr<Frame> CreateFrame() override { return std::make_unique<QtFrame>(); }

  int RunModal(Dialog& dialog) override {
    auto host = std::make_unique<QtDialogHost>(dialog, ActiveParent());
    QtDialogHost* h = host.get();
    dialog.Attach(std::move(host));
    dialog.Open();
    if (!dialog.HasEnded()) h->RunModal();
    return dialog.EndCode();
  }

  bool CreateModeless(Dialog& dialog, Frame* owner) override {
    QWidget* parent = nullptr;
    if (auto* f = dynamic_cast<QtFrame*>(owner)) parent = f->Window();
    auto host = std::make_unique<ModelessHost>(dialog, parent);
    QtDialogHost* h = host.get();
    dialog.Attach(std::move(host));
    ModelessOwners()[&dialog] = owner;
    dialog.Open();
    if (!dialog.HasEnded()) h->ShowModeless();
    return true;
  }

  int ShowMessageBox(const MessageBoxRequest& r) override {
    QMessageBox box(ActiveParent());
    box.setText(ToQString(r.text));
    box.setWindowTitle(ToQString(r.caption.empty() ? ApplicationTitle() : r.caption));
    switch (r.icon) {
      case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
      case MessageIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
      case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
      case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
      case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    std::map<QAbstractButton*, int> answers;
    auto add = [&](QMessageBox::StandardButton b, int answer) { answers[box.addButton(b)] = answer; };
    switch (r.buttons) {
      case MessageButtons::Ok:
        add(QMessageBox::Ok, kIdOk);
        break;
      case MessageButtons::OkCancel:
        add(QMessageBox::Ok, kIdOk), add(QMessageBox::Cancel, kIdCancel);
        break;
      case MessageButtons::YesNo:
        add(QMessageBox::Yes, kIdYes), add(QMessageBox::No, kIdNo);
        break;
      case MessageButtons::YesNoCancel:
        add(QMessageBox::Yes, kIdYes), add(QMessageBox::No, kIdNo), add(QMessageBox::Cancel, kIdCancel);
        break;
    }
    box.exec();
    auto it = answers.find(box.clickedButton());
    if (it != answers.end()) return it->second;
    // Closed without a button (Esc on a box without Cancel): OK for an OK
    // box, No for Yes/No, Cancel where there is one.
    switch (r.buttons) {
      case MessageButtons::Ok:
        return kIdOk;
      case MessageButtons::YesNo:
        return kIdNo;
      default:
        return kIdCancel;
    }
  }

  std::optional<std::string> ChooseFile(const FileChooserRequest& r) override {
    QString start = ToQString(r.folder);
    if (!r.fileName.empty()) start = start.isEmpty() ? ToQString(r.fileName) : start + '/' + ToQString(r.fileName);
    QFileDialog dlg(ActiveParent(), ToQString(r.title), start, FilterString(r.filters));
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.defaultExtension.empty()) dlg.setDefaultSuffix(ToQString(r.defaultExtension));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return FromQString(dlg.selectedFiles().front());
  }

  std::vector<std::string> ChooseFiles(const FileChooserRequest& r) override {
    QFileDialog dlg(ActiveParent(), ToQString(r.title), ToQString(r.folder), FilterString(r.filters));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> chosen;
    if (dlg.exec() != QDialog::Accepted) return chosen;
    for (const QString& file : dlg.selectedFiles()) chosen.push_back(FromQString(file));
    return chosen;
  }

  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial) override {
    const QString dir = QFileDialog::getExistingDirectory(ActiveParent(), ToQString(title), ToQString(initial));
    if (dir.isEmpty()) return std::nullopt;
    return FromQString(dir);
  }

  std::optional<Color> ChooseColor(Color initial) override {
    const QColor c = QColorDialog::getColor(ToQColor(initial), ActiveParent());
    if (!c.isValid()) return std::nullopt;
    return FromQColor(c);
  }

  std::optional<Font> ChooseFont(const Font& initial) override {
    const QFont start = ToQFont(initial, std::abs(initial.height));
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, start, ActiveParent());
    if (!ok) return std::nullopt;
    Font out = initial;
    out.face = FromQString(f.family());
    out.height =
        f.pixelSize() > 0 ? f.pixelSize() : static_cast<int>(f.pointSizeF() * 96.0 / 72.0 + 0.5);  // 96 dpi screen
    out.weight = static_cast<int>(f.weight());
    out.italic = f.italic();
    out.underline = f.underline();
    return out;
  }

  std::optional<PrinterSetup> ChoosePrinter(const PrinterSetup& initial) override {
    QPrinter printer;
    if (!initial.printerName.empty()) printer.setPrinterName(ToQString(initial.printerName));
    printer.setPageOrientation(initial.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(std::max(1, initial.copies));
    QPrintDialog dlg(&printer, ActiveParent());
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    PrinterSetup out;
    out.printerName = FromQString(printer.printerName());
    out.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    out.copies = printer.copyCount();
    return out;
  }

  std::unique_ptr<DeviceContext> CreateMemoryContext(Size size) override {
    return std::make_unique<RasterContext>(size, 0xFFFFFF);
  }
};

}  // namespace

QCursor CursorFor(int cursorId) {
  auto it = Cursors().find(cursorId);
  return it == Cursors().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

void CloseDialogsOwnedBy(const Frame* owner) {
  std::vector<Dialog*> owned;
  for (const auto& [dialog, o] : ModelessOwners())
    if (o == owner) owned.push_back(dialog);
  for (Dialog* d : owned) d->DestroyWindow();
}

void InstallQtBackend(int& argc, char** argv) {
  if (!QApplication::instance()) new QApplication(argc, argv);  // lives as long as the program
  InstallBackend(std::make_unique<QtBackend>());
  // The devices of the desktop: OpenGL windows, the system's printers and
  // PDF files, the system clipboard.
  InstallQtGlWindows();
  InstallQtPrinting();
  InstallQtClipboard();
}

std::unique_ptr<DeviceContext> CreateRasterContext(Size size, Color fill) {
  return std::make_unique<RasterContext>(size, fill);
}

bool SaveBitmapPng(const Bitmap& bitmap, const std::filesystem::path& file) {
  if (bitmap.IsEmpty()) return false;
  return ToQImage(bitmap).save(QString::fromStdString(file.string()), "PNG");
}

}  // namespace platform::qt
