// Printing under the headless backend: the print dialog answers from a
// script and the printed pages are kept as recorded primitives.
#include "platform/headless/print_headless.h"

#include <gtest/gtest.h>

namespace {

using platform::PrimitiveKind;
using platform::PrintStatus;

class HeadlessPrintTest : public ::testing::Test {
 protected:
  void SetUp() override { service_ = &platform::headless::InstallHeadlessPrinting(); }
  void TearDown() override { platform::UninstallPrintService(); }
  platform::headless::HeadlessPrintService* service_ = nullptr;
};

TEST(PrintServiceTest, WithoutAServicePrintingFailsWithAMessage) {
  platform::UninstallPrintService();
  platform::PrintJobResult r = platform::BeginPrint({});
  EXPECT_FALSE(r.job);
  EXPECT_EQ(r.outcome.status, PrintStatus::kFailed);
  EXPECT_FALSE(r.outcome.message.empty());
}

TEST(PrintServiceTest, MillimetresBecomeWholePixels) {
  struct Case {
    double mm;
    int dpi, pixels;
  } cases[] = {{210.0, 600, 4960}, {297.0, 600, 7015}, {25.4, 300, 300}, {254.0, 600, 6000}, {0.0, 600, 0}};
  for (const Case& c : cases) EXPECT_EQ(platform::MillimetresToPixels(c.mm, c.dpi), c.pixels) << c.mm;
}

TEST_F(HeadlessPrintTest, TheDialogSeesTheSystemsOptionsAndSettlesTheCopies) {
  platform::PrintDialogOptions options;  // no selection, no page numbers, no print to file
  options.documentName = "DRAWING";
  service_->AnswerPrintDialog(3);
  platform::PrintJobResult r = platform::BeginPrint(options);
  ASSERT_TRUE(r.job) << r.outcome.message;
  ASSERT_EQ(service_->DialogsShown().size(), 1u);
  const platform::PrintDialogOptions& shown = service_->DialogsShown()[0];
  EXPECT_FALSE(shown.allowSelection);
  EXPECT_FALSE(shown.allowPageNumbers);
  EXPECT_FALSE(shown.allowPrintToFile);
  EXPECT_EQ(r.job->Caps().copies, 3);
  EXPECT_EQ(r.job->Caps().dpiX, 600);
  EXPECT_EQ(r.job->Caps().pagePixels, (platform::Size{4960, 7015}));
  EXPECT_DOUBLE_EQ(r.job->Caps().pageWidthMm, 210.0);
}

TEST_F(HeadlessPrintTest, ACancelledDialogGivesNoJobAndPrintsNothing) {
  service_->CancelPrintDialog();
  platform::PrintJobResult r = platform::BeginPrint({});
  EXPECT_FALSE(r.job);
  EXPECT_EQ(r.outcome.status, PrintStatus::kCancelled);
  EXPECT_TRUE(service_->Documents().empty());
}

TEST_F(HeadlessPrintTest, PagesAreKeptApartAndTheDrawingStateCarriesOver) {
  platform::PrintJobResult r = platform::BeginPrint({});
  ASSERT_TRUE(r.job);
  platform::PrintJob& job = *r.job;
  EXPECT_TRUE(job.Page().IsPrinter());
  EXPECT_EQ(job.Page().DeviceSize(), job.Caps().pagePixels);

  platform::Font font;
  font.face = "MS Gothic";
  font.height = 120;
  ASSERT_TRUE(job.StartPage());
  job.Page().SelectFont(font);
  job.Page().TextOut({90, 300}, "O1234");
  job.Page().MoveTo({0, 0});
  job.Page().LineTo({100, 0});
  ASSERT_TRUE(job.EndPage());
  job.Page().TextOut({0, 0}, "between pages");
  ASSERT_TRUE(job.StartPage());
  job.Page().TextOut({90, 300}, "M30");
  ASSERT_TRUE(job.EndPage());
  EXPECT_EQ(job.PagesDone(), 2);
  platform::PrintOutcome end = job.EndDoc();
  EXPECT_TRUE(end.ok()) << end.message;

  ASSERT_EQ(service_->Documents().size(), 1u);
  const auto& pages = service_->Documents()[0].pages;
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 2u);
  EXPECT_EQ(pages[0][0].text, "O1234");
  EXPECT_EQ(pages[0][1].kind, PrimitiveKind::Line);
  ASSERT_EQ(pages[1].size(), 1u);
  EXPECT_EQ(pages[1][0].text, "M30");
  EXPECT_EQ(pages[1][0].font, font);
}

TEST_F(HeadlessPrintTest, PageCallsOutOfOrderAreRefused) {
  platform::PrintJobResult r = platform::BeginPrint({});
  ASSERT_TRUE(r.job);
  EXPECT_FALSE(r.job->EndPage());
  ASSERT_TRUE(r.job->StartPage());
  EXPECT_FALSE(r.job->StartPage());
  r.job->Page().TextOut({0, 0}, "last");
  // EndDoc closes the open page.
  EXPECT_TRUE(r.job->EndDoc().ok());
  EXPECT_EQ(r.job->EndDoc().status, PrintStatus::kFailed);
  EXPECT_FALSE(r.job->StartPage());
  ASSERT_EQ(service_->Documents().size(), 1u);
  EXPECT_EQ(service_->Documents()[0].pages.size(), 1u);
}

TEST_F(HeadlessPrintTest, AnAbortedOrDroppedJobPrintsNothing) {
  {
    platform::PrintJobResult r = platform::BeginPrint({});
    ASSERT_TRUE(r.job);
    r.job->StartPage();
    r.job->Page().TextOut({0, 0}, "x");
    r.job->Abort();
    EXPECT_FALSE(r.job->StartPage());
  }
  {
    platform::PrintJobResult r = platform::BeginPrint({});
    ASSERT_TRUE(r.job);
    r.job->StartPage();
  }
  EXPECT_TRUE(service_->Documents().empty());
}

TEST_F(HeadlessPrintTest, AnEmptyDocumentSaysNothingWasPrinted) {
  platform::PrintJobResult r = platform::BeginPrint({});
  ASSERT_TRUE(r.job);
  platform::PrintOutcome end = r.job->EndDoc();
  EXPECT_TRUE(end.ok());
  EXPECT_FALSE(end.message.empty());
}

TEST_F(HeadlessPrintTest, PdfFilesAreRefusedWithAReason) {
  platform::PrintJobResult r = platform::BeginPdf("/tmp/never.pdf");
  EXPECT_FALSE(r.job);
  EXPECT_EQ(r.outcome.status, PrintStatus::kFailed);
  EXPECT_NE(r.outcome.message.find("desktop"), std::string::npos) << r.outcome.message;
}

}  // namespace
