// Printing: the drawing (also of a minimised view), the NC text (abridged and
// with page breaks), the process list, the screw-lead list and the three
// registers with the selection and tables they leave; headless for what
// reaches the page, and on the desktop backend into PDF files read back with
// the PDF tools.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "kelto_dorn/window/command_ids.h"
#include "kelto_dorn/window/printing.h"
#include "platform/print_job.h"
#include "platform/qt/print_qt.h"
#include "platform/qt/qt_backend.h"
#include "platform/paths.h"
#include "platform/record_file.h"
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

std::vector<std::string> TextsOfDocument(const platform::headless::PrintedDocument& doc) {
  std::vector<std::string> texts;
  for (const auto& page : doc.pages)
    for (std::string& t : TextsOfPage(page)) texts.push_back(std::move(t));
  return texts;
}

// The texts that start with `head`, each cut to its first `length` bytes.
std::vector<std::string> Starting(const std::vector<std::string>& texts, const std::string& head, std::size_t length) {
  std::vector<std::string> found;
  for (const std::string& t : texts)
    if (t.rfind(head, 0) == 0) found.push_back(t.substr(0, length));
  return found;
}

bool Contains(const std::vector<std::string>& texts, const std::string& piece) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return t.find(piece) != std::string::npos; });
}

template <class Record>
bool SameBytes(const Record& a, const Record& b) {
  return std::memcmp(&a, &b, sizeof(Record)) == 0;
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
  // The register print dialog answers OK with this scope.
  static void AnswerRegisterScope(int wantedMode, int scope) {
    g_commandEngines.printListDialog = [wantedMode, scope](int mode, int& chosen) {
      EXPECT_EQ(mode, wantedMode);
      chosen = scope;
      return 1;
    };
  }
  fs::path AtcFile(const std::string& machine) const { return home() / "_ATC" / machine / "$ATC_DBS.@@@"; }
  void WriteAtcFile(const std::string& machine) {
    fs::create_directories(AtcFile(machine).parent_path());
    fs::copy_file(testsupport::FixturePath("tooldb/ATC_DBS_three_rows.@@@"), AtcFile(machine));
  }
  void WriteToolFolder(const std::string& base, const std::string& folder) {
    fs::create_directories(home() / "_DBS" / base / folder);
    fs::copy_file(testsupport::FixturePath("tooldb/DBS_GEN_three_tools.@@@"),
                  home() / "_DBS" / base / folder / "$DBS_GEN.@@@");
  }
  // A hole process whose rows 0 and 2 are in use (ATC 5 and 7), row 1 not.
  static HoleProcessRecord Process(const std::string& name) {
    HoleProcessRecord p{};
    platform::SetFieldText(p.name, name);
    p.rows[0].diameter = 6.8f;
    p.rows[0].atcNumber = 5;
    p.rows[2].diameter = 8.0f;
    p.rows[2].atcNumber = 7;
    return p;
  }
  const platform::headless::PrintedDocument& OnlyDocument() {
    EXPECT_EQ(printer().Documents().size(), 1u);
    return printer().Documents().at(0);
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
  g_commandEngines.printOutputDialog = nullptr;  // the program without its print choice
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

TEST_F(PrintingTest, AMinimisedViewPrintsAtItsLastSize) {
  StartWithFixtureDrawing();
  g_printMode = kPrintDrawing;
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  surface().Resize(0, 0);  // minimised
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  ASSERT_EQ(printer().Documents().size(), 2u);
  const auto& shown = printer().Documents()[0].pages;
  const auto& minimised = printer().Documents()[1].pages;
  ASSERT_EQ(shown.size(), 1u);
  ASSERT_EQ(minimised.size(), 1u);
  ASSERT_EQ(minimised[0].size(), shown[0].size());
  for (std::size_t i = 0; i < shown[0].size(); ++i)
    EXPECT_EQ(platform::Describe(minimised[0][i]), platform::Describe(shown[0][i])) << i;
}

TEST_F(PrintingTest, TheProcessListPrintsItsLinesCutAndTurnsThePage) {
  StartWithFixtureDrawing();
  std::vector<std::string> expected;
  {
    std::ofstream out(home() / "$PROCESS.LST", std::ios::binary);
    for (int i = 1; i <= 200; ++i) {
      std::string line = "PROCESS " + std::to_string(i);
      if (i == 7) line += std::string(200, 'x');  // longer than a printed line
      out << line << "\r\n";
      expected.push_back(line.substr(0, 127));
    }
  }
  g_printMode = kPrintProcessList;
  ASSERT_TRUE(frame().Invoke(cmd::kFilePrint));
  const auto& doc = OnlyDocument();
  EXPECT_GT(doc.pages.size(), 1u);
  EXPECT_EQ(TextsOfDocument(doc), expected);
  // Every page starts at the same top line.
  int top = -1;
  for (const auto& page : doc.pages) {
    ASSERT_FALSE(page.empty());
    const auto first =
        std::find_if(page.begin(), page.end(), [](const auto& p) { return p.kind == platform::PrimitiveKind::Text; });
    ASSERT_NE(first, page.end());
    if (top < 0) top = first->points[0].y;
    EXPECT_EQ(first->points[0].y, top);
  }
}

TEST_F(PrintingTest, TheScrewLeadListPrintsAtOnceAndTheModeGoesBackToIdle) {
  StartWithFixtureDrawing();
  UpdateAllCommands();
  EXPECT_FALSE(frame().GetCommandState(cmd::kPrintScrewLeads).enabled);  // no screw-lead list to print
  int right = 0, bottom = 0, height = 0;
  g_commandEngines.printScrewLeadList = [&](platform::DeviceContext& dc, int, int, int r, int b, double, int h) {
    right = r, bottom = b, height = h;
    dc.TextOut({100, 100}, "M10 P1.5");
  };
  UpdateAllCommands();
  EXPECT_TRUE(frame().GetCommandState(cmd::kPrintScrewLeads).enabled);
  g_printMode = kPrintDrawing;
  ASSERT_TRUE(frame().Invoke(cmd::kPrintScrewLeads));
  const auto& doc = OnlyDocument();
  EXPECT_EQ(TextsOfDocument(doc), std::vector<std::string>{"M10 P1.5"});
  EXPECT_EQ(right, doc.caps.pagePixels.cx);
  EXPECT_EQ(bottom, doc.caps.pagePixels.cy);
  EXPECT_GT(height, 0);
  EXPECT_EQ(g_printMode, kPrintIdle);
}

TEST_F(PrintingTest, TheHoleProcessRegisterOfTheCurrentProcessAndOfEveryProcess) {
  StartWithFixtureDrawing();
  // The current process: its heads and the rows in use, numbered from 1.
  AnswerRegisterScope(kPrintHoleRegister, kScopeCurrent);
  HoleProcessRecord current = Process("P10");
  RegisterPrintLists lists;
  lists.currentProcess = &current;
  SetupPrinterDC(kPrintHoleRegister, lists);
  {
    const auto texts = TextsOfDocument(OnlyDocument());
    EXPECT_TRUE(Contains(texts, "[ 穴工程名 ]::[ P10 ]"));
    EXPECT_EQ(Starting(texts, " 工程_", 20), (std::vector<std::string>{" 工程_01   ATC0005", " 工程_02   ATC0007"}));
  }

  // Every process of the data root, one after the other on the same page; a
  // folder without a process file prints nothing.
  printer().Clear();
  for (const char* name : {"HOLE_B", "HOLE_A"}) {
    fs::create_directories(home() / "_ANA" / name);
    const HoleProcessRecord p = Process("stored name");
    ASSERT_TRUE(platform::WriteRecord(home() / "_ANA" / name / kHoleProcessFileName, p).ok());
  }
  fs::create_directories(home() / "_ANA" / "EMPTY");
  std::vector<std::string> matched;
  g_commandEngines.matchToolsToAtcTable = [&matched](HoleProcessRecord& p) {
    matched.push_back(platform::FieldText(p.name));
  };
  AnswerRegisterScope(kPrintHoleRegister, kScopeAll);
  SetupPrinterDC(kPrintHoleRegister, lists);
  const auto& doc = OnlyDocument();
  EXPECT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(matched, (std::vector<std::string>{"HOLE_A", "HOLE_B"}));  // named after their folders
  const auto texts = TextsOfDocument(doc);
  EXPECT_EQ(Starting(texts, "           [ 穴工程名 ]", 100),
            (std::vector<std::string>{"           [ 穴工程名 ]::[ HOLE_A ] ", "           [ 穴工程名 ]::[ HOLE_B ] "}));
  EXPECT_EQ(Starting(texts, " 工程_", 1).size(), 4u);
  EXPECT_EQ(g_commandStep, 0);
}

TEST_F(PrintingTest, TheAtcRegisterOfTheCurrentMachinePrintsUpToTheLastRowInUse) {
  StartWithFixtureDrawing();
  DocAtcTable& atc = view().Document().atc;
  for (int i = 0; i < DocAtcTable::kSlotCount; ++i) ClearAtcRecord(atc, i);
  atc.Record(0).inUse = 1;
  atc.Record(2).inUse = 1;
  atc.SetLoadedCount(10);
  SetMachineName("MC1");
  AnswerRegisterScope(kPrintAtcRegister, kScopeCurrent);
  SetupPrinterDC(kPrintAtcRegister, RegisterPrintLists{});
  const auto texts = TextsOfDocument(OnlyDocument());
  EXPECT_TRUE(Contains(texts, "[ 工作機械名 ]::[ MC1 ]         ---- 01 ----"));
  EXPECT_EQ(Starting(texts, " ATC_", 9), (std::vector<std::string>{" ATC_0001", " ATC_0002", " ATC_0003"}));
}

TEST_F(PrintingTest, ARegisterOfEveryMachinePutsBackTheSelectionAndTheTableAsTheDialogHadThem) {
  StartWithFixtureDrawing();
  WriteAtcFile("MC1");
  WriteAtcFile("MC2");
  // The dialog shows machine MC1 with a row edited and not saved yet.
  SetBaseName("BASE1");
  SetToolName("END10");
  SetMachineName("MC1");
  DocAtcTable& atc = view().Document().atc;
  ASSERT_EQ(LoadAtcTable(atc), 3);
  atc.Record(1).spindleSpeed = 4321;
  const DbSelectionRecord selection = g_dbSelection;
  std::vector<AtcRecord> rows;
  for (int i = 0; i < DocAtcTable::kSlotCount; ++i) rows.push_back(atc.Record(i));

  AnswerRegisterScope(kPrintAtcRegister, kScopeAll);
  RegisterPrintLists lists;
  lists.machines = {"MC1", "MC2"};
  SetupPrinterDC(kPrintAtcRegister, lists);
  const auto& doc = OnlyDocument();
  ASSERT_EQ(doc.pages.size(), 2u);  // a page for each machine, each numbered from 1
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[0]), "[ 工作機械名 ]::[ MC1 ]         ---- 01 ----"));
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[1]), "[ 工作機械名 ]::[ MC2 ]         ---- 01 ----"));

  EXPECT_TRUE(SameBytes(g_dbSelection, selection));
  EXPECT_EQ(atc.LoadedCount(), 3);
  for (int i = 0; i < DocAtcTable::kSlotCount; ++i) ASSERT_TRUE(SameBytes(atc.Record(i), rows[i])) << i;
  EXPECT_FALSE(atc.ReadFailed());
}

TEST_F(PrintingTest, ARegisterOfEveryMachineKeepsWhetherTheTableCouldBeRead) {
  StartWithFixtureDrawing();
  WriteAtcFile("MC1");
  fs::create_directories(AtcFile("BROKEN"));  // a file that cannot be read
  DocAtcTable& atc = view().Document().atc;
  AnswerRegisterScope(kPrintAtcRegister, kScopeAll);
  RegisterPrintLists lists;

  // The current machine's table was read: a machine whose file cannot be read
  // must not leave it marked unreadable, or it could not be saved.
  SetMachineName("MC1");
  ASSERT_EQ(LoadAtcTable(atc), 3);
  lists.machines = {"MC1", "BROKEN"};
  SetupPrinterDC(kPrintAtcRegister, lists);
  EXPECT_FALSE(atc.ReadFailed());
  EXPECT_TRUE(WriteAtcTable(atc, "MC1").ok());

  // The current machine's file could not be read: the empty table must stay
  // marked, or a save would write it over the machine's tools.
  SetMachineName("BROKEN");
  LoadAtcTable(atc);
  ASSERT_TRUE(atc.ReadFailed());
  lists.machines = {"BROKEN", "MC1"};
  SetupPrinterDC(kPrintAtcRegister, lists);
  EXPECT_TRUE(atc.ReadFailed());
  EXPECT_FALSE(WriteAtcTable(atc, "BROKEN").ok());
}

TEST_F(PrintingTest, ARegisterOfEveryBasePutsBackTheSelectionAndTheToolsAsTheDialogHadThem) {
  StartWithFixtureDrawing();
  WriteToolFolder("BASE1", "END10");
  WriteToolFolder("BASE1", "DRILL");
  WriteToolFolder("BASE2", "TAP");
  // The tool dialog is open on BASE1\END10 with a record edited in it.
  SetBaseName("BASE1");
  SetToolName("END10");
  SetMachineName("MC1");
  DocToolTable& tools = view().Document().tools;
  ASSERT_TRUE(tools.Allocate());
  ASSERT_EQ(LoadToolRecords(tools), 3);
  tools.Record(0).spindleSpeed = 1234;
  g_curToolIndex = 2;
  const DbSelectionRecord selection = g_dbSelection;
  std::vector<ToolRecord> records;
  for (int i = 0; i < DocToolTable::kSlotCount; ++i) records.push_back(tools.Record(i));

  AnswerRegisterScope(kPrintToolRegister, kScopeAll);
  RegisterPrintLists lists;
  lists.bases = {"BASE1", "BASE2"};
  SetupPrinterDC(kPrintToolRegister, lists);
  const auto& doc = OnlyDocument();
  ASSERT_EQ(doc.pages.size(), 3u);  // a page per folder of every base
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[0]), "[ 基本ベース名 ]::[ BASE1 ]"));
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[0]), "[ 工具名 ]::[ DRILL ]"));
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[1]), "[ 工具名 ]::[ END10 ]"));
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[2]), "[ 基本ベース名 ]::[ BASE2 ]"));
  EXPECT_TRUE(Contains(TextsOfPage(doc.pages[2]), "[ 工具名 ]::[ TAP ]"));

  EXPECT_TRUE(SameBytes(g_dbSelection, selection));
  EXPECT_EQ(g_curToolIndex, 2);
  ASSERT_TRUE(tools.IsAllocated());
  for (int i = 0; i < DocToolTable::kSlotCount; ++i) ASSERT_TRUE(SameBytes(tools.Record(i), records[i])) << i;
  EXPECT_EQ(g_commandStep, 0);
}

TEST_F(PrintingTest, DrawingNcTextAndToolRegisterToPdf) {
  if (!UsePdfPrinting()) GTEST_SKIP() << "this system has a printer";
  StartWithFixtureDrawing();
  // Printed without the choice dialogs: what the print mode chose.
  g_commandEngines.printOutputDialog = nullptr;
  g_commandEngines.printListDialog = nullptr;
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
