#pragma once
// The desktop print service: the system's printers through the print dialog
// (CUPS behind Qt's printer), and PDF files. Pages are drawn by the raster
// device context on the printer or the PDF writer, so text stays text.
#include "platform/print_job.h"

namespace platform::qt {

class QtPrintService : public PrintService {
 public:
  PrintJobResult BeginPrint(const PrintDialogOptions& options) override;
  PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup) override;
};

void InstallQtPrinting();

}  // namespace platform::qt
