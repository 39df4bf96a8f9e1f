// Printing: the drawing, the NC text (abridged and with page breaks) and the
// tool register; headless for what reaches the page, and on the desktop
// backend into PDF files read back with the PDF tools.
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/printing.h"
#include "platform/print_job.h"
#include "platform/qt/print_qt.h"
#include "platform/qt/qt_backend.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

std::string Run(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  return out;
}

int PdfPages(const fs::path& pdf) {
  std::smatch m;
  const std::string info = Run("pdfinfo '" + pdf.string() + "'");
  return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : -1;
}

std::string PdfText(const fs::path& pdf) { return Run("pdftotext -layout '" + pdf.string() + "' -"); }

std::vector<std::string> TextsOfPage(const std::vector<platform::Primitive>& page) {
  std::vector<std::string> texts;
  for (const auto& p : page)
    if (p.kind == platform::PrimitiveKind::Text) texts.push_back(platform::Cp932ToUtf8(p.text));
  return texts;
}

class PrintingTest : public WindowTest {
 protected:
  fs::path Dat() const { return home() / "SAMPLE" / "PGM" / "DAT"; }
  // An NC program of `lines` blocks N0001 ... in the drawing's DAT folder.
  // Each block ends in a comment that spells its number in letters (A = 0 ...
  // J = 9): the text of a PDF page keeps letters, but the CJK face the view's
  // font becomes gives its digits no text to extract.
  void WriteNcProgram(int lines) {
    fs::create_directories(Dat());
    std::ofstream out(Dat() / ("TEST." + platform::FieldText(g_drawingHeader.dataExtension)));
    for (int i = 1; i <= lines; ++i) out << Block(i) << "\r\n";
  }
  static std::string Letters(int i) {
    std::string letters;
    for (char d : std::to_string(i)) letters += static_cast<char>('A' + (d - '0'));
    return "(L" + letters + ")";
  }
  static std::string Block(int i) {
    const std::string n = std::to_string(i);
    return "N" + std::string(4 - n.size(), '0') + n + " G01 X" + n + " " + Letters(i);
  }
  // The desktop print service on the off-screen platform (pages go to the PDF
  // file the chooser names); false (the test skips) where the system has a
  // printer, whose dialog would wait for a user.
  bool UsePdfPrinting() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "dorn_window_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);  // the application object
    WindowTest::TearDown();
    WindowTest::SetUp();
    platform::qt::InstallQtPrinting();
    return !platform::HasPrinter();
  }
};

TEST_F(PrintingTest, TheDrawingPrintsWithoutAChoiceDialog) {
  StartWithFixtureDrawing();
  ASSERT_TRUE(frame().Invoke(cmd::kPrinterOutput));
  EXPECT_EQ(g_printMode, kPrintDrawing);
  ASSERT_EQ(printer().Documents().size(), 1u);
  const auto& doc = printer().Documents()[0];
  ASSERT_EQ(doc.pages.size(), 1u);
  const auto texts = TextsOfPage(doc.pages[0]);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "TEST"), texts.end());
  EXPECT_GT(doc.pages[0].size(), texts.size());  // the figures are on it too
  // The screen state comes back.
  EXPECT_DOUBLE_EQ(g_view.m_printFactor, 1.0);
  EXPECT_FALSE(g_view.m_printing);
}

TEST_F(PrintingTest, ACancelledPrintDialogPrintsNothing) {
  StartWithFixtureDrawing();
  printer().CancelPrintDialog();
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  EXPECT_TRUE(printer().Documents().empty());
  EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(PrintingTest, AMissingNcProgramIsNamedAndNothingPrints) {
  StartWithFixtureDrawing();
  g_printMode = kPrintNcText;
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  EXPECT_TRUE(printer().Documents().empty());
  ASSERT_EQ(ShownTexts().size(), 1u);
  EXPECT_NE(ShownTexts()[0].find("TEST.DAT"), std::string::npos) << ShownTexts()[0];
}

TEST_F(PrintingTest, ThePreviewKeepsItsPages) {
  StartWithFixtureDrawing();
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrintPreview));
  ASSERT_EQ(printer().Documents().size(), 1u);
  EXPECT_TRUE(printer().Documents()[0].preview);
}

TEST_F(PrintingTest, TheAbridgedNcTextPrintsHeadMarksAndTail) {
  StartWithFixtureDrawing();
  WriteNcProgram(30);
  g_drawingHeader.printOptions = 'S';
  g_printMode = kPrintNcText;
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  ASSERT_EQ(printer().Documents().size(), 1u);
  const auto texts = TextsOfPage(printer().Documents()[0].pages[0]);
  ASSERT_EQ(texts.size(), 21u + 3u + 20u);
  EXPECT_EQ(texts[0].substr(0, 5), "N0001");
  EXPECT_EQ(texts[20].substr(0, 5), "N0021");
  EXPECT_EQ(texts[21], "  ･ ");
  EXPECT_EQ(texts[24].substr(0, 5), "N0011");
  EXPECT_EQ(texts.back().substr(0, 5), "N0030");
}

TEST_F(PrintingTest, DrawingNcTextAndToolRegisterToPdf) {
  if (!UsePdfPrinting()) GTEST_SKIP() << "this system has a printer";
  StartWithFixtureDrawing();
  const fs::path drawingPdf = home() / "drawing.pdf";
  backend().AnswerFileChooser(platform::SystemName(drawingPdf));

  // The drawing: one page with its name.
  g_printMode = kPrintDrawing;
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  ASSERT_TRUE(fs::exists(drawingPdf)) << (ShownTexts().empty() ? "" : ShownTexts()[0]);
  EXPECT_EQ(PdfPages(drawingPdf), 1);
  EXPECT_NE(PdfText(drawingPdf).find("TEST"), std::string::npos);

  // The abridged NC text: lines 1-21, the marks, lines 11-30.
  WriteNcProgram(30);
  g_drawingHeader.printOptions = 'S';
  g_printMode = kPrintNcText;
  const fs::path ncPdf = home() / "nc.pdf";
  backend().AnswerFileChooser(platform::SystemName(ncPdf));
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  const std::string nc = PdfText(ncPdf);
  EXPECT_EQ(PdfPages(ncPdf), 1);
  const std::size_t line21 = nc.find(Letters(21)), line22 = nc.find(Letters(22));
  ASSERT_NE(line21, std::string::npos) << nc;
  EXPECT_LT(nc.find(Letters(1)), line21);
  EXPECT_LT(line21, nc.find(Letters(11), line21));  // the tail starts again at 11
  EXPECT_LT(nc.find(Letters(11), line21), line22);
  EXPECT_NE(nc.find(Letters(30)), std::string::npos);

  // The whole text of 150 blocks turns the page.
  WriteNcProgram(150);
  g_drawingHeader.printOptions = 'R';
  const fs::path longPdf = home() / "long.pdf";
  backend().AnswerFileChooser(platform::SystemName(longPdf));
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  EXPECT_GT(PdfPages(longPdf), 1);
  EXPECT_NE(PdfText(longPdf).find(Letters(150)), std::string::npos);

  // The tool register of the current folder.
  fs::create_directories(home() / "_DBS" / "BASE1" / "END10");
  fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                home() / "_DBS" / "BASE1" / "END10" / "$DBS_GEN.@@@");
  SetBaseName("BASE1");
  SetToolName("END10");
  const fs::path toolsPdf = home() / "tools.pdf";
  backend().AnswerFileChooser(platform::SystemName(toolsPdf));
  SetupPrinterDC(kPrintToolRegister, RegisterPrintLists{});
  const std::string tools = PdfText(toolsPdf);
  EXPECT_EQ(PdfPages(toolsPdf), 1);
  // (Digits of the CJK face give no text: the names are found by their letters.)
  EXPECT_NE(tools.find("基本ベース名"), std::string::npos) << tools;
  EXPECT_NE(tools.find("BASE"), std::string::npos);
  EXPECT_NE(tools.find("END"), std::string::npos);
  EXPECT_NE(tools.find("ドリル"), std::string::npos);
  EXPECT_EQ(g_commandStep, 0);  // the scope word returns to 0
}

TEST_F(PrintingTest, ARegisterOfEveryFolderPutsTheSelectionBack) {
  StartWithFixtureDrawing();
  for (const char* folder : {"END10", "DRILL"}) {
    fs::create_directories(home() / "_DBS" / "BASE1" / folder);
    fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                  home() / "_DBS" / "BASE1" / folder / "$DBS_GEN.@@@");
  }
  SetBaseName("BASE1");
  SetToolName("END10");
  g_commandEngines.printListDialog = [](int mode, int& scope) {
    EXPECT_EQ(mode, kPrintToolRegister);
    scope = kScopeBase;
    return 1;
  };
  RegisterPrintLists lists;
  lists.toolFolders = {"DRILL", "END10"};
  SetupPrinterDC(kPrintToolRegister, lists);
  ASSERT_EQ(printer().Documents().size(), 1u);
  EXPECT_EQ(printer().Documents()[0].pages.size(), 2u);  // a page per folder
  EXPECT_EQ(platform::FieldText(g_dbSelection.toolName), "END10");
  EXPECT_EQ(g_printMode, kPrintToolRegister);
}

}  // namespace
}  // namespace dorn::test
