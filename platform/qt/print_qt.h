#pragma once
// The desktop print service: the system's printers through the print dialog
// (CUPS behind Qt's printer), and PDF files. Pages are drawn by the raster
// device context on the printer or the PDF writer, so text stays text.
#include "platform/print_job.h"

namespace platform::qt {

class QtPrintService : public PrintService {
 public:
  bool HasPrinter() const override;
  PrintJobResult BeginPrint(const PrintDialogOptions& options) override;
  PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup) override;
  // Pages are drawn into images of the default page at screen-like
  // resolution and shown in the print preview dialog, which can print them.
  PrintJobResult BeginPreview(const PrintDialogOptions& options) override;
};

void InstallQtPrinting();

}  // namespace platform::qt
