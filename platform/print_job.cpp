#include "platform/print_job.h"

#include <cmath>
#include <mutex>

namespace platform {
namespace {

std::mutex g_serviceMutex;
std::shared_ptr<PrintService> g_service;

std::shared_ptr<PrintService> Service() {
  std::lock_guard lock(g_serviceMutex);
  return g_service;
}

PrintJobResult NoService() {
  return {nullptr, {PrintStatus::kFailed, "printing is not available: the backend installed no print service"}};
}

}  // namespace

void InstallPrintService(std::unique_ptr<PrintService> service) {
  std::lock_guard lock(g_serviceMutex);
  g_service = std::move(service);
}

void UninstallPrintService() { InstallPrintService(nullptr); }

bool HasPrinter() {
  auto service = Service();
  return service && service->HasPrinter();
}

PrintJobResult BeginPreview(const PrintDialogOptions& options) {
  auto service = Service();
  return service ? service->BeginPreview(options) : NoService();
}

PrintJobResult BeginPrint(const PrintDialogOptions& options) {
  auto service = Service();
  return service ? service->BeginPrint(options) : NoService();
}

PrintJobResult BeginPdf(const std::filesystem::path& file, const PdfPageSetup& setup) {
  auto service = Service();
  return service ? service->BeginPdf(file, setup) : NoService();
}

int MillimetresToPixels(double mm, int dpi) {
  constexpr double kMillimetresPerInch = 25.4;
  // Whole pixels only; the small bias keeps exact products (210 mm at 600 dpi
  // is 4960.63) from losing a pixel to rounding of the division.
  return static_cast<int>(std::floor(mm * dpi / kMillimetresPerInch + 1e-9));
}

}  // namespace platform
