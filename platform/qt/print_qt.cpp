#include "platform/qt/print_qt.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <system_error>

#include "platform/qt/qt_text.h"
#include "platform/qt/raster_context.h"
#include "platform/recording_context.h"

namespace platform::qt {
namespace fs = std::filesystem;
namespace {

PrinterCaps CapsOf(const QPageLayout& layout, int dpi, int copies) {
  PrinterCaps caps;
  caps.dpiX = caps.dpiY = dpi;
  QRect pixels = layout.paintRectPixels(dpi);
  caps.pagePixels = {pixels.width(), pixels.height()};
  QRectF mm = layout.paintRect(QPageLayout::Millimeter);
  caps.pageWidthMm = mm.width();
  caps.pageHeightMm = mm.height();
  caps.copies = copies;
  return caps;
}

// One document on a paged device (a printer or a PDF writer). The raster
// context, and with it the painter, opens with the first page: a painter
// that begins on a printer starts the document.
class PagedJob : public PrintJob {
 public:
  PagedJob(QPagedPaintDevice* device, PrinterCaps caps) : device_(device), caps_(caps) {}

  const PrinterCaps& Caps() const override { return caps_; }

  bool StartPage() override {
    if (ended_ || pageOpen_) return false;
    if (!context_) {
      context_ = std::make_unique<RasterContext>(device_, caps_.pagePixels, /*isPrinter=*/true);
    } else if (!device_->newPage()) {
      failure_ = "the printer refused a new page";
      return false;
    }
    pageOpen_ = true;
    return true;
  }
  DeviceContext& Page() override { return context_ ? static_cast<DeviceContext&>(*context_) : offPage_; }
  bool EndPage() override {
    if (!pageOpen_) return false;
    pageOpen_ = false;
    ++pages_;
    return true;
  }
  int PagesDone() const override { return pages_; }

 protected:
  // Ends the painter, which finishes the document on the device.
  void FinishPainting() {
    if (pageOpen_) EndPage();
    ended_ = true;
    context_.reset();
  }
  bool Ended() const { return ended_; }
  bool Painted() const { return pages_ > 0; }
  const std::string& Failure() const { return failure_; }

 private:
  QPagedPaintDevice* device_;
  PrinterCaps caps_;
  std::unique_ptr<RasterContext> context_;
  RecordingContext offPage_{caps_.pagePixels};  // drawing before the first page goes nowhere
  bool pageOpen_ = false;
  bool ended_ = false;
  int pages_ = 0;
  std::string failure_;
};

class PrinterJob final : public PagedJob {
 public:
  PrinterJob(std::unique_ptr<QPrinter> printer, PrinterCaps caps)
      : PagedJob(printer.get(), caps), printer_(std::move(printer)) {}
  ~PrinterJob() override { Abort(); }

  PrintOutcome EndDoc() override {
    if (Ended()) return {PrintStatus::kFailed, "the print job has already ended"};
    bool painted = Painted();
    FinishPainting();
    if (!Failure().empty()) return {PrintStatus::kFailed, Failure()};
    if (!painted) return {PrintStatus::kOk, "nothing was printed: the document has no pages"};
    if (printer_->printerState() == QPrinter::Error)
      return {PrintStatus::kFailed, "the printer " + printer_->printerName().toStdString() + " reported an error"};
    return {};
  }
  void Abort() override {
    if (Ended()) return;
    printer_->abort();
    FinishPainting();
  }

 private:
  std::unique_ptr<QPrinter> printer_;
};

// Writes to a temporary file beside the target and renames it over the
// target when the document is complete, so a failed or dropped job never
// leaves a broken file or destroys the previous one.
class PdfJob final : public PagedJob {
 public:
  PdfJob(std::unique_ptr<QPdfWriter> writer, PrinterCaps caps, fs::path temporary, fs::path target)
      : PagedJob(writer.get(), caps),
        writer_(std::move(writer)),
        temporary_(std::move(temporary)),
        target_(std::move(target)) {}
  ~PdfJob() override { Abort(); }

  PrintOutcome EndDoc() override {
    if (Ended()) return {PrintStatus::kFailed, "the print job has already ended"};
    bool painted = Painted();
    FinishPainting();
    writer_.reset();  // closes the file
    std::error_code ec;
    if (!Failure().empty() || !painted) {
      fs::remove(temporary_, ec);
      if (!Failure().empty()) return {PrintStatus::kFailed, target_.string() + ": " + Failure()};
      return {PrintStatus::kOk, "nothing was printed: the document has no pages"};
    }
    if (fs::file_size(temporary_, ec) == 0 || ec) {
      fs::remove(temporary_, ec);
      return {PrintStatus::kFailed, target_.string() + ": the PDF file could not be written"};
    }
    fs::rename(temporary_, target_, ec);
    if (ec) {
      std::error_code ignored;
      fs::remove(temporary_, ignored);
      return {PrintStatus::kFailed, target_.string() + ": " + ec.message()};
    }
    return {};
  }
  void Abort() override {
    if (Ended()) return;
    FinishPainting();
    writer_.reset();
    std::error_code ec;
    fs::remove(temporary_, ec);
  }

 private:
  std::unique_ptr<QPdfWriter> writer_;
  fs::path temporary_;
  fs::path target_;
};

// The preview: each page is an image; when the document ends, the preview
// dialog shows them on the printer's pages and may print them.
class PreviewJob final : public PrintJob {
 public:
  PreviewJob(PrinterCaps caps, std::string name) : caps_(caps), name_(std::move(name)) {}

  const PrinterCaps& Caps() const override { return caps_; }
  bool StartPage() override {
    if (ended_ || page_) return false;
    images_.emplace_back(std::max(1, caps_.pagePixels.cx), std::max(1, caps_.pagePixels.cy), QImage::Format_RGB32);
    images_.back().fill(Qt::white);
    page_ = std::make_unique<RasterContext>(&images_.back(), caps_.pagePixels, /*isPrinter=*/true);
    return true;
  }
  DeviceContext& Page() override { return page_ ? static_cast<DeviceContext&>(*page_) : offPage_; }
  bool EndPage() override {
    if (!page_) return false;
    page_.reset();
    return true;
  }
  int PagesDone() const override { return static_cast<int>(images_.size()) - (page_ ? 1 : 0); }
  PrintOutcome EndDoc() override {
    if (ended_) return {PrintStatus::kFailed, "the print job has already ended"};
    page_.reset();
    ended_ = true;
    if (images_.empty()) return {PrintStatus::kOk, "nothing was printed: the document has no pages"};
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQString(name_));
    QPrintPreviewDialog dialog(&printer);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [this](QPrinter* target) {
      QPainter painter(target);
      const QRect page = painter.viewport();
      for (std::size_t i = 0; i < images_.size(); ++i) {
        if (i > 0) target->newPage();
        painter.drawImage(page, images_[i]);
      }
    });
    dialog.exec();
    return {};
  }
  void Abort() override {
    page_.reset();
    images_.clear();
    ended_ = true;
  }

 private:
  PrinterCaps caps_;
  std::string name_;
  std::vector<QImage> images_;  // a vector of images: the open page's context points into the last
  std::unique_ptr<RasterContext> page_;
  RecordingContext offPage_{caps_.pagePixels};
  bool ended_ = false;
};

}  // namespace

bool QtPrintService::HasPrinter() const { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

PrintJobResult QtPrintService::BeginPreview(const PrintDialogOptions& options) {
  // Screen-like resolution keeps the page images small; the preview scales them.
  constexpr int kPreviewDpi = 150;
  QPrinter printer(QPrinter::HighResolution);
  PrinterCaps caps = CapsOf(printer.pageLayout(), kPreviewDpi, 1);
  return {std::make_unique<PreviewJob>(caps, options.documentName), {}};
}

PrintJobResult QtPrintService::BeginPrint(const PrintDialogOptions& options) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(ToQString(options.documentName));
  printer->setCopyCount(std::max(options.copies, 1));
  QPrintDialog dialog(printer.get());
  dialog.setOption(QAbstractPrintDialog::PrintSelection, options.allowSelection);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, options.allowPageNumbers);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, options.allowPrintToFile);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return {nullptr, {PrintStatus::kCancelled, {}}};
  if (!printer->isValid()) return {nullptr, {PrintStatus::kFailed, "no printer is available"}};
  PrinterCaps caps = CapsOf(printer->pageLayout(), printer->resolution(), printer->copyCount());
  return {std::make_unique<PrinterJob>(std::move(printer), caps), {}};
}

PrintJobResult QtPrintService::BeginPdf(const fs::path& file, const PdfPageSetup& setup) {
  if (setup.widthMm <= 0 || setup.heightMm <= 0 || !std::isfinite(setup.widthMm) || !std::isfinite(setup.heightMm) ||
      setup.dpi <= 0)
    return {nullptr, {PrintStatus::kFailed, file.string() + ": the page size is not usable"}};
  std::error_code ec;
  fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  if (!fs::is_directory(folder, ec))
    return {nullptr, {PrintStatus::kFailed, file.string() + ": the folder does not exist"}};
  fs::path temporary = file;
  temporary += ".part";
  // QPdfWriter does not say when it cannot create its file; try it first.
  {
    QFile probe(QString::fromStdString(temporary.string()));
    if (!probe.open(QIODevice::WriteOnly))
      return {nullptr, {PrintStatus::kFailed, file.string() + ": " + probe.errorString().toStdString()}};
  }
  auto writer = std::make_unique<QPdfWriter>(QString::fromStdString(temporary.string()));
  writer->setResolution(setup.dpi);
  writer->setTitle(ToQString(setup.documentName));
  writer->setCreator(QStringLiteral("Kelto"));
  QPageLayout layout(QPageSize(QSizeF(setup.widthMm, setup.heightMm), QPageSize::Millimeter),
                     setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
  writer->setPageLayout(layout);
  PrinterCaps caps = CapsOf(writer->pageLayout(), setup.dpi, 1);
  return {std::make_unique<PdfJob>(std::move(writer), caps, std::move(temporary), file), {}};
}

void InstallQtPrinting() { InstallPrintService(std::make_unique<QtPrintService>()); }

}  // namespace platform::qt
