#pragma once
// Printing: a print job of pages, each drawn through a device context with the
// printer's resolution and page size. The desktop backend prints through the
// system's printers or into a PDF file; the headless backend keeps the pages
// as recorded primitives for tests.
//
// The system's print loop is: BeginPrint (the print dialog), then for each
// page StartPage, draw on Page(), EndPage, and at the end EndDoc. Drawing state
// (font, pen, mapping) carries over from page to page, as on the printer
// device context the system was written for.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/device_context.h"
#include "platform/geometry.h"

namespace platform {

// What the print dialog offers. The system prints whole documents: no
// selection, no page range, no print-to-file box; the printer makes the copies.
struct PrintDialogOptions {
  bool allowSelection = false;
  bool allowPageNumbers = false;
  bool allowPrintToFile = false;
  int copies = 1;            // shown first; the user may change it
  std::string documentName;  // CP932; the name in the printer queue
};

// The device capabilities the system reads from a printer.
struct PrinterCaps {
  int dpiX = 0;            // pixels per inch across
  int dpiY = 0;            // pixels per inch down
  Size pagePixels;         // the printable area in device pixels
  double pageWidthMm = 0;  // the printable area in millimetres
  double pageHeightMm = 0;
  int copies = 1;  // what the print dialog settled on
};

// The page of a PDF file: ISO A4 unless told, portrait unless told.
struct PdfPageSetup {
  double widthMm = 210.0;
  double heightMm = 297.0;
  bool landscape = false;
  int dpi = 600;  // a usual laser printer's resolution, so pages look as on paper
  std::string documentName;
};

enum class PrintStatus {
  kOk,
  kCancelled,  // the user closed the print dialog: nothing is printed, no message
  kFailed,
};

struct PrintOutcome {
  PrintStatus status = PrintStatus::kOk;
  std::string message;  // why it failed
  bool ok() const { return status == PrintStatus::kOk; }
};

class PrintJob {
 public:
  virtual ~PrintJob() = default;
  virtual const PrinterCaps& Caps() const = 0;
  // Starts the next page; false when the job has failed or ended.
  virtual bool StartPage() = 0;
  // The device context of the current page; only drawn on between StartPage
  // and EndPage. Its device size is Caps().pagePixels and IsPrinter() is true.
  virtual DeviceContext& Page() = 0;
  virtual bool EndPage() = 0;
  virtual int PagesDone() const = 0;
  // Sends the document to the printer or finishes the file. A job without
  // pages prints nothing and says so.
  virtual PrintOutcome EndDoc() = 0;
  // Drops the document: nothing reaches the printer, no file is left.
  virtual void Abort() = 0;
};

struct PrintJobResult {
  std::unique_ptr<PrintJob> job;  // set when status is kOk
  PrintOutcome outcome;
};

class PrintService {
 public:
  virtual ~PrintService() = default;
  // Whether the system has a printer to print on (without one, a program
  // offers a PDF file instead).
  virtual bool HasPrinter() const { return true; }
  // Shows the print dialog for the default printer; cancelled gives no job.
  virtual PrintJobResult BeginPrint(const PrintDialogOptions& options) = 0;
  // A job that writes a PDF file (the previous file stays until the job ends well).
  virtual PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup) = 0;
  // A job whose pages are shown on the screen when it ends (the print
  // preview), with the default printer's page; the preview may print them.
  virtual PrintJobResult BeginPreview(const PrintDialogOptions& options) {
    (void)options;
    return {nullptr, {PrintStatus::kFailed, "this print service has no preview"}};
  }
};

// The backend's print service (replacing any earlier one). Without one,
// printing fails with a message.
void InstallPrintService(std::unique_ptr<PrintService> service);
void UninstallPrintService();

bool HasPrinter();
PrintJobResult BeginPrint(const PrintDialogOptions& options);
PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup = {});
PrintJobResult BeginPreview(const PrintDialogOptions& options);

// The page size in pixels of `mm` millimetres at `dpi` (25.4 mm per inch).
int MillimetresToPixels(double mm, int dpi);

}  // namespace platform
