#pragma once
// Printing of the view: the print output choice (32818), the screw-lead list
// (33060), the framework's print and preview (57607-57609) and the register
// prints that the database dialogs start (SetupPrinterDC). A job goes to the
// system's printer, to a PDF file the user names when the system has no
// printer, or to the print preview.
#include <optional>
#include <string>

#include "kelto_dorn/app/view_access.h"
#include "platform/print_job.h"

namespace dorn {

class CKelView;

// Print modes.
inline constexpr int kPrintIdle = 0;
inline constexpr int kPrintNcText = 20;
inline constexpr int kPrintProcessList = 30;
inline constexpr int kPrintDrawing = 40;
inline constexpr int kPrintScrewLeads = 50;
inline constexpr int kPrintToolRegister = 800;
inline constexpr int kPrintHoleRegister = 810;
inline constexpr int kPrintAtcRegister = 820;

// The register scopes (kept in g_commandStep while a register print runs).
inline constexpr int kScopeCurrent = 1;
inline constexpr int kScopeBase = 2;
inline constexpr int kScopeAll = 3;

// What printing reads: set by the choice dialogs, read by the page loop.
extern int g_printMode;

enum class PrintTarget { kPrinter, kPreview };

void OnPrinterOutput(CKelView& view);      // 32818
void OnPrintScrewLeads(CKelView& view);    // 33060
void OnFilePrint(CKelView& view, int id);  // 57607, 57608, 57609
bool PrintCommandAvailable(int id);
// The register print of a database dialog (mode 800, 810 or 820).
void SetupRegisterPrint(CKelView& view, int printMode, const RegisterPrintLists& lists);

// Runs one print of g_printMode: the job, its pages, the end. False when
// nothing was printed (cancelled or failed; a failure is shown).
bool PrintDocument(CKelView& view, PrintTarget target, const RegisterPrintLists* lists = nullptr);

// Why g_printMode has nothing to print (its file is missing), or nothing.
std::optional<std::string> MissingPrintSource();

// The pages of g_printMode on a started job (the view's OnPrint).
void PrintPages(CKelView& view, platform::PrintJob& job, const RegisterPrintLists* lists);

}  // namespace dorn
