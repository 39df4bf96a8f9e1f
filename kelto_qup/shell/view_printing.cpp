// Printing of the view: the graphic (the panes as shown, with the drawing
// name), the machining information ("$PROCESS.LST"), or both.
#include <algorithm>
#include <fstream>

#include "kelto_qup/shell/qup_view.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

constexpr int kPrintGraphic = 1;
constexpr int kPrintInformation = 2;
constexpr int kPrintBoth = 3;
constexpr int kScreenDpi = 120;
constexpr unsigned kStopIcon = 0x10;

std::vector<std::string> ProcessListLines() {
  std::vector<std::string> lines;
  std::ifstream in(platform::ProgramFolder() / "$PROCESS.LST", std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

void CQupView::PrintView(int kind) {
  if (!IsIdle()) return;
  platform::PrintDialogOptions options;
  options.documentName = platform::FieldText(app_.Header().drawingName);
  platform::PrintJobResult r = platform::BeginPrint(options);
  if (!r.job) {
    if (r.outcome.status == platform::PrintStatus::kFailed) {
      platform::ShowMessageBox(platform::Utf8ToCp932(r.outcome.message), {}, kStopIcon);
    }
    return;
  }
  PrintPages(*r.job, kind);
  const platform::PrintOutcome outcome = r.job->EndDoc();
  if (!outcome.ok()) platform::ShowMessageBox(platform::Utf8ToCp932(outcome.message), {}, kStopIcon);
}

void CQupView::PrintPages(platform::PrintJob& job, int kind) {
  PathPanes& panes = app_.panes;
  const platform::PrinterCaps& caps = job.Caps();
  const platform::Size client = surface_.ClientSize();
  const int drawHeight = std::max(1, listCreated_ ? drawBottom_ : client.cy);
  const double scale = std::min(static_cast<double>(caps.pagePixels.cy) / drawHeight,
                                static_cast<double>(caps.pagePixels.cx) / std::max(1, client.cx));
  platform::Font font = viewFont_;
  font.height = std::max(1, viewFont_.height * caps.dpiY / kScreenDpi);

  if (kind == kPrintGraphic || kind == kPrintBoth) {
    if (!job.StartPage()) return;
    platform::DeviceContext& dc = job.Page();
    panes.printScale = scale;
    panes.printColourMode = app_.Header().printOptions;
    panes.Setup(client, client.cy - drawHeight);
    panes.DrawDecorations(dc, app_.Header(), app_.Header().showAxes != 0);
    const auto& records = doc_.Records();
    for (std::size_t i = 0; i < records.size(); ++i) ReplayRecord(dc, records[i], i == 0);
    panes.Flush(dc);
    panes.printScale = 1.0;
    dc.SelectFont(font);
    dc.SetTextColor(0x000000);
    dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
    dc.SetTextAlign(platform::text_align::kLeft | platform::text_align::kBottom);
    dc.TextOut({font.height, static_cast<int>(drawHeight * scale) - font.height},
               platform::FieldText(app_.Header().drawingName));
    job.EndPage();
  }
  if (kind == kPrintInformation || kind == kPrintBoth) {
    const std::vector<std::string> lines = ProcessListLines();
    std::size_t next = 0;
    do {
      if (!job.StartPage()) return;
      platform::DeviceContext& dc = job.Page();
      dc.SelectFont(font);
      dc.SetTextColor(0x000000);
      dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
      dc.SetTextAlign(platform::text_align::kLeft | platform::text_align::kTop);
      const int lineHeight = std::max(1, dc.GetTextMetrics().height * 5 / 4);
      const int pageHeight = caps.pagePixels.cy;
      dc.SelectPen({0x000000, 1, platform::PenStyle::Solid});
      dc.MoveTo({lineHeight, 3 * lineHeight});
      dc.LineTo({caps.pagePixels.cx - lineHeight, 3 * lineHeight});
      int y = 4 * lineHeight;
      while (next < lines.size() && y + 2 * lineHeight <= pageHeight) {
        dc.TextOut({lineHeight, y}, lines[next++]);
        y += lineHeight;
      }
      job.EndPage();
    } while (next < lines.size());
  }
}

}  // namespace qup::shell
