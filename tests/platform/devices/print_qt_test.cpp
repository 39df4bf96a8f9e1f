// Printing to PDF through the desktop backend, read back with the PDF tools.
#include "platform/qt/print_qt.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/text.h"
#include "tests/platform/devices/qt_test_app.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::PrintStatus;

// The standard output of a command (the PDF tools of the system).
std::string RunTool(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class QtPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    devicetests::App();
    platform::qt::InstallQtPrinting();
  }
  void TearDown() override { platform::UninstallPrintService(); }
  testsupport::TempFolder folder_;
};

TEST_F(QtPrintTest, PagesPrintedToPdfHoldTheirText) {
  const fs::path pdf = folder_.path() / "drawing.pdf";
  platform::PdfPageSetup setup;
  setup.documentName = "O1234";
  platform::PrintJobResult r = platform::BeginPdf(pdf, setup);
  ASSERT_TRUE(r.job) << r.outcome.message;
  platform::PrintJob& job = *r.job;
  EXPECT_EQ(job.Caps().dpiX, 600);
  // A4 at 600 dpi is 4960.6 x 7015.7 pixels; the PDF page is laid out in
  // whole points, so a pixel or two either way.
  EXPECT_NEAR(job.Caps().pagePixels.cx, 4960, 3);
  EXPECT_NEAR(job.Caps().pagePixels.cy, 7015, 3);
  EXPECT_NEAR(job.Caps().pageWidthMm, 210.0, 0.01);
  EXPECT_NEAR(job.Caps().pageHeightMm, 297.0, 0.01);

  platform::Font latin;
  latin.face = "Arial";
  latin.height = 100;  // 100 pixels at 600 dpi: about 12 points
  platform::Font japanese = latin;
  japanese.face = platform::Sjis("ＭＳ ゴシック");
  ASSERT_TRUE(job.StartPage());
  EXPECT_TRUE(job.Page().IsPrinter());
  EXPECT_EQ(job.Page().DeviceSize(), job.Caps().pagePixels);
  job.Page().SelectFont(latin);
  job.Page().TextOut({300, 300}, "O1234 (SAMPLE PART)");
  job.Page().SelectFont(japanese);
  job.Page().TextOut({300, 500}, platform::Sjis("工具情報"));
  job.Page().MoveTo({300, 700});
  job.Page().LineTo({4000, 700});
  ASSERT_TRUE(job.EndPage());
  ASSERT_TRUE(job.StartPage());
  job.Page().SelectFont(latin);
  job.Page().TextOut({300, 300}, "END OF PROGRAM M30");
  ASSERT_TRUE(job.EndPage());
  platform::PrintOutcome end = job.EndDoc();
  ASSERT_TRUE(end.ok()) << end.message;
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_FALSE(fs::exists(folder_.path() / "drawing.pdf.part"));

  std::string info = RunTool("pdfinfo '" + pdf.string() + "'");
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  std::string text = RunTool("pdftotext -enc UTF-8 '" + pdf.string() + "' -");
  // The text is read back by words: this Qt version draws every character
  // but leaves some runs of glyphs (such as "1234") out of the PDF's text
  // map, so digits can be missing from extracted text though they print.
  std::size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos) << text;
  EXPECT_LT(text.find("(SAMPLE PART)"), pageBreak) << text;
  // The first character's glyph is shared with the radical U+2F2F in the CJK
  // font, and text extraction may name either.
  EXPECT_LT(text.find("具情報"), pageBreak) << text;
  std::size_t second = text.find("END OF PROGRAM");
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_GT(second, pageBreak);
}

TEST_F(QtPrintTest, ADroppedJobLeavesThePreviousFileAndNoPart) {
  const fs::path pdf = folder_.path() / "kept.pdf";
  std::ofstream(pdf) << "previous";
  for (bool abortExplicitly : {true, false}) {
    platform::PrintJobResult r = platform::BeginPdf(pdf);
    ASSERT_TRUE(r.job) << r.outcome.message;
    ASSERT_TRUE(r.job->StartPage());
    r.job->Page().TextOut({10, 10}, "never");
    if (abortExplicitly) r.job->Abort();
    r.job.reset();
    EXPECT_EQ(ReadText(pdf), "previous");
    EXPECT_FALSE(fs::exists(folder_.path() / "kept.pdf.part"));
  }
}

TEST_F(QtPrintTest, AJobWithoutPagesWritesNoFile) {
  const fs::path pdf = folder_.path() / "empty.pdf";
  platform::PrintJobResult r = platform::BeginPdf(pdf);
  ASSERT_TRUE(r.job);
  platform::PrintOutcome end = r.job->EndDoc();
  EXPECT_TRUE(end.ok());
  EXPECT_FALSE(end.message.empty());
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_FALSE(fs::exists(folder_.path() / "empty.pdf.part"));
}

TEST_F(QtPrintTest, AnUnusableTargetIsRefusedAtTheStart) {
  struct Case {
    fs::path file;
    platform::PdfPageSetup setup;
  } cases[] = {
      {folder_.path() / "missing-folder" / "x.pdf", {}},
      {folder_.path() / "bad-size.pdf", {0.0, 297.0, false, 600, ""}},
      {folder_.path() / "bad-dpi.pdf", {210.0, 297.0, false, 0, ""}},
  };
  for (const Case& c : cases) {
    platform::PrintJobResult r = platform::BeginPdf(c.file, c.setup);
    EXPECT_FALSE(r.job) << c.file;
    EXPECT_EQ(r.outcome.status, PrintStatus::kFailed) << c.file;
    EXPECT_NE(r.outcome.message.find(c.file.string()), std::string::npos) << r.outcome.message;
  }
}

}  // namespace
