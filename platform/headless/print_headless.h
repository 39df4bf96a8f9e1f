#pragma once
// The headless print service: the print dialog answers from a script, and
// every finished document is kept with its pages as recorded primitives, so a
// test can read what the system printed, page by page. PDF files need a
// renderer, which only the desktop backend has: asking for one here fails
// with a message.
#include <memory>
#include <optional>
#include <vector>

#include "platform/print_job.h"
#include "platform/recording_context.h"

namespace platform::headless {

struct PrintedDocument {
  std::string documentName;  // CP932
  bool preview = false;      // shown in the print preview, not printed
  PrinterCaps caps;
  std::vector<std::vector<Primitive>> pages;
};

class HeadlessPrintService : public PrintService {
 public:
  // The printer: 600 dots per inch, an A4 page printable to its edges.
  HeadlessPrintService();

  // How the next print dialogs end: OK with a number of copies, or Cancel.
  // Unscripted, they end with OK and the copies the caller offered.
  void AnswerPrintDialog(int copies) { answerCopies_ = copies, cancel_ = false; }
  void CancelPrintDialog() { cancel_ = true; }
  void SetPrinter(const PrinterCaps& caps) { printer_ = caps; }
  // A system without printers (programs then offer a PDF file).
  void SetHasPrinter(bool has) { hasPrinter_ = has; }

  const std::vector<PrintDialogOptions>& DialogsShown() const { return dialogs_; }
  const std::vector<PrintedDocument>& Documents() const { return *documents_; }
  void Clear() { dialogs_.clear(), documents_->clear(); }

  bool HasPrinter() const override { return hasPrinter_; }
  PrintJobResult BeginPrint(const PrintDialogOptions& options) override;
  PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup) override;
  // The preview keeps its pages like a printed document, marked as preview.
  PrintJobResult BeginPreview(const PrintDialogOptions& options) override;

 private:
  PrinterCaps printer_;
  bool hasPrinter_ = true;
  bool cancel_ = false;
  std::optional<int> answerCopies_;
  std::vector<PrintDialogOptions> dialogs_;
  // Shared with the jobs, which may outlive the service's installation.
  std::shared_ptr<std::vector<PrintedDocument>> documents_ = std::make_shared<std::vector<PrintedDocument>>();
};

// Installs a fresh headless print service and returns it (owned by the layer).
HeadlessPrintService& InstallHeadlessPrinting();

}  // namespace platform::headless
