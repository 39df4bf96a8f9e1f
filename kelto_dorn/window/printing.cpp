// The print commands and the print job of the view: see printing.h. What
// each mode puts on the pages is in print_pages.cpp.
#include "kelto_dorn/window/printing.h"

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/kel_view.h"
#include "platform/choosers.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

int g_printMode = kPrintIdle;

namespace {

// The choice dialogs end with this when the user asks for the font dialog
// first; the choice is then shown again.
constexpr int kAskFontDialog = 120;

// The font chooser of the view on its user font.
void ChooseViewFont(CKelView& view) {
  const std::optional<platform::Font> font = platform::ChooseFont(view.UserFont());
  if (font) view.SetUserFont(*font);
}

std::string DocumentName() { return platform::FieldText(g_drawingHeader.drawingName); }

// Without a printer the pages go to a PDF file the user names; nothing when
// the user cancels.
platform::PrintJobResult BeginPdfChosenByUser() {
  platform::FileChooserRequest request;
  request.save = true;
  request.title = platform::Sjis("PDFファイルに印刷");
  request.filters = {{"PDF (*.pdf)", {"*.pdf"}}};
  request.folder = platform::SystemName(g_dataFolder);
  request.fileName = DocumentName() + ".pdf";
  request.defaultExtension = "pdf";
  const std::optional<std::string> chosen = platform::ChooseFile(request);
  if (!chosen) return {nullptr, {platform::PrintStatus::kCancelled, {}}};
  platform::PdfPageSetup setup;
  setup.documentName = DocumentName();
  return platform::BeginPdf(platform::NativePath(*chosen), setup);
}

platform::PrintJobResult BeginJob(PrintTarget target) {
  platform::PrintDialogOptions options;  // no selection, no page numbers, no print-to-file box
  options.documentName = DocumentName();
  if (target == PrintTarget::kPreview) return platform::BeginPreview(options);
  if (!platform::HasPrinter()) return BeginPdfChosenByUser();
  return platform::BeginPrint(options);
}

}  // namespace

bool PrintDocument(CKelView& view, PrintTarget target, const RegisterPrintLists* lists) {
  // A text to print that is not there is said so; no empty sheet is printed.
  if (const std::optional<std::string> missing = MissingPrintSource()) {
    ReportFileFault(*missing);
    return false;
  }
  platform::PrintJobResult begun = BeginJob(target);
  if (!begun.job) {
    if (begun.outcome.status == platform::PrintStatus::kFailed) ReportFileFault(begun.outcome.message);
    return false;
  }
  platform::PrintJob& job = *begun.job;
  if (!job.StartPage()) {
    job.Abort();
    ReportFileFault("the printer did not start a page");
    return false;
  }
  PrintPages(view, job, lists);
  job.EndPage();
  const platform::PrintOutcome end = job.EndDoc();
  SignalBeep();  // the end of printing
  if (!end.ok()) {
    ReportFileFault(end.message);
    return false;
  }
  return job.PagesDone() > 0;
}

void OnPrinterOutput(CKelView& view) {
  ++ModalDepth;
  int result = platform::kIdOk;
  if (g_commandEngines.printOutputDialog) {
    while ((result = g_commandEngines.printOutputDialog(g_printMode)) == kAskFontDialog) ChooseViewFont(view);
  } else if (g_printMode == kPrintIdle) {
    // Without the choice: the drawing.
    g_printMode = kPrintDrawing;
  }
  ModalDepth = 0;
  if (result == platform::kIdOk) PrintDocument(view, PrintTarget::kPrinter);
}

void OnPrintScrewLeads(CKelView& view) {
  if (!g_commandEngines.printScrewLeadList) return;
  g_printMode = kPrintScrewLeads;
  PrintDocument(view, PrintTarget::kPrinter);
  g_printMode = kPrintIdle;
}

void OnFilePrint(CKelView& view, int id) {
  // The framework's print prints what the last choice chose; before any
  // choice, the drawing.
  if (g_printMode == kPrintIdle) g_printMode = kPrintDrawing;
  PrintDocument(view, id == cmd::kFilePrintPreview ? PrintTarget::kPreview : PrintTarget::kPrinter);
}

bool PrintCommandAvailable(int id) {
  if (id == cmd::kPrintScrewLeads) return static_cast<bool>(g_commandEngines.printScrewLeadList);
  return true;
}

void SetupRegisterPrint(CKelView& view, int printMode, const RegisterPrintLists& lists) {
  int scope = kScopeCurrent;
  int result = platform::kIdOk;
  ++ModalDepth;
  if (g_commandEngines.printListDialog) {
    while ((result = g_commandEngines.printListDialog(printMode, scope)) == kAskFontDialog) ChooseViewFont(view);
  }
  ModalDepth = 0;
  if (result == platform::kIdOk) {
    g_printMode = printMode;
    g_commandStep = scope;  // the scope word of the register pages
    PrintDocument(view, PrintTarget::kPrinter, &lists);
  }
  g_commandStep = 0;
}

}  // namespace dorn
