// Printing the view into a PDF through the desktop backend's renderer (the
// windows stay headless), read back with pdftotext.
#include <cstdio>

#include <gtest/gtest.h>

#include "platform/print_job.h"
#include "platform/qt/print_qt.h"
#include "platform/qt/qt_backend.h"
#include "platform/text.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

// Fontconfig keeps a cache for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace qup::shell::test {
namespace {

class PrintTest : public ShellTest {
 protected:
  void SetUp() override {
    // The application object of the desktop backend renders the pages; the
    // headless backend then takes the windows over.
    static int argc = 1;
    static char name[] = "qup_shell_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
    ShellTest::SetUp();
    platform::qt::InstallQtPrinting();
  }
};

// "PROCESS LINE AA", "PROCESS LINE AB" ...
std::string LineName(int i) {
  return std::string("PROCESS LINE ") + static_cast<char>('A' + i / 26) + static_cast<char>('A' + i % 26);
}

std::string PdfText(const fs::path& pdf) {
  std::string out;
  const std::string command = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

TEST_F(PrintTest, GraphicAndMachiningInformationPrintOnTheirOwnPages) {
  handover::DrawingHeader header = handover::DefaultDrawingHeader();
  // Letters only: the text extraction drops the digits of the CJK face the
  // view's font is matched to.
  platform::SetFieldText(header.drawingName, "PLATE");
  WriteHeader(header);
  std::string list;
  for (int i = 0; i < 150; ++i) list += LineName(i) + "\r\n";
  WriteFile(home() / "$PROCESS.LST", list);
  Companion& c = Start();
  Dispatch();

  const fs::path pdf = home() / "view.pdf";
  platform::PrintJobResult r = platform::BeginPdf(pdf);
  ASSERT_TRUE(r.job) << r.outcome.message;
  c.view->PrintPages(*r.job, 3);
  EXPECT_GE(r.job->PagesDone(), 3) << "the graphic, then 150 lines over two pages";
  ASSERT_TRUE(r.job->EndDoc().ok());
  const std::string text = PdfText(pdf);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  const std::size_t name = text.find("PLATE");
  const std::size_t first = text.find(LineName(0));
  ASSERT_NE(name, std::string::npos) << text;
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_NE(text.find(LineName(149)), std::string::npos) << text;
  EXPECT_LT(name, text.find('\f')) << "the graphic page comes first";
  EXPECT_GT(first, text.find('\f'));
  EXPECT_EQ(c.app.panes.printScale, 1.0);
}

}  // namespace
}  // namespace qup::shell::test
