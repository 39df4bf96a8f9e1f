#include "platform/headless/print_headless.h"

namespace platform::headless {
namespace {

// A printer page: records like any headless context, and says it is a printer.
class RecordedPage final : public RecordingContext {
 public:
  RecordedPage(Size size, std::shared_ptr<std::vector<Primitive>> log) : RecordingContext(size, std::move(log)) {}
  bool IsPrinter() const override { return true; }
};

class RecordedJob final : public PrintJob {
 public:
  RecordedJob(std::shared_ptr<std::vector<PrintedDocument>> documents, PrinterCaps caps, std::string name,
              bool preview = false)
      : documents_(std::move(documents)), page_(caps.pagePixels, log_) {
    document_.caps = caps;
    document_.documentName = std::move(name);
    document_.preview = preview;
  }
  ~RecordedJob() override { Abort(); }

  const PrinterCaps& Caps() const override { return document_.caps; }

  bool StartPage() override {
    if (ended_ || pageOpen_) return false;
    log_->clear();  // anything drawn between pages is not on paper
    pageOpen_ = true;
    return true;
  }
  DeviceContext& Page() override { return page_; }
  bool EndPage() override {
    if (!pageOpen_) return false;
    document_.pages.push_back(std::move(*log_));
    log_->clear();
    pageOpen_ = false;
    return true;
  }
  int PagesDone() const override { return int(document_.pages.size()); }

  PrintOutcome EndDoc() override {
    if (ended_) return {PrintStatus::kFailed, "the print job has already ended"};
    if (pageOpen_) EndPage();
    ended_ = true;
    bool empty = document_.pages.empty();
    documents_->push_back(std::move(document_));
    return {PrintStatus::kOk, empty ? "nothing was printed: the document has no pages" : std::string()};
  }
  void Abort() override { ended_ = true; }

 private:
  std::shared_ptr<std::vector<PrintedDocument>> documents_;
  std::shared_ptr<std::vector<Primitive>> log_ = std::make_shared<std::vector<Primitive>>();
  RecordedPage page_;
  PrintedDocument document_;
  bool pageOpen_ = false;
  bool ended_ = false;
};

}  // namespace

HeadlessPrintService::HeadlessPrintService() {
  constexpr int kDpi = 600;
  printer_.dpiX = printer_.dpiY = kDpi;
  printer_.pageWidthMm = 210.0;
  printer_.pageHeightMm = 297.0;
  printer_.pagePixels = {MillimetresToPixels(210.0, kDpi), MillimetresToPixels(297.0, kDpi)};
}

PrintJobResult HeadlessPrintService::BeginPrint(const PrintDialogOptions& options) {
  dialogs_.push_back(options);
  if (cancel_) return {nullptr, {PrintStatus::kCancelled, {}}};
  PrinterCaps caps = printer_;
  caps.copies = answerCopies_ ? *answerCopies_ : options.copies;
  if (caps.copies < 1) caps.copies = 1;
  return {std::make_unique<RecordedJob>(documents_, caps, options.documentName), {}};
}

PrintJobResult HeadlessPrintService::BeginPreview(const PrintDialogOptions& options) {
  return {std::make_unique<RecordedJob>(documents_, printer_, options.documentName, /*preview=*/true), {}};
}

PrintJobResult HeadlessPrintService::BeginPdf(const std::filesystem::path& file, const PdfPageSetup&) {
  return {nullptr,
          {PrintStatus::kFailed, file.string() + ": PDF files are written by the desktop backend only; "
                                                 "the headless backend keeps printed pages as recordings"}};
}

HeadlessPrintService& InstallHeadlessPrinting() {
  auto service = std::make_unique<HeadlessPrintService>();
  HeadlessPrintService& ref = *service;
  InstallPrintService(std::move(service));
  return ref;
}

}  // namespace platform::headless
