// NC text and the machining information in the message list: both ends of
// the drawing's NC program, 500 lines at a time, and "$PROCESS.LST".
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "kelto_qup/shell/qup_view.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

constexpr int kListTopForText = 250;
constexpr std::size_t kNcLineBytes = 191;
constexpr int kHeadLines = 101;  // lines 0 to 100
constexpr int kSeparatorLines = 5;
constexpr int kTailWindow = 95;
constexpr int kPageLines = 500;

// The lines of a text file without their line ends, each at most maxBytes
// (a longer line goes on in the next); nothing when the file is missing.
std::optional<std::vector<std::string>> ReadLines(const platform::fs::path& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::string> lines;
  std::string line;
  char c = 0;
  bool open = false;
  while (in.get(c)) {
    open = true;
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      continue;
    }
    line += c;
    if (line.size() == maxBytes) {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
    }
  }
  if (open) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

void CQupView::LoadNcText(int mode) {
  const handover::DrawingHeader& h = app_.Header();
  const bool allowed = h.startMode == 0 || h.subMode == 0 || (h.startMode == 4 && h.subMode == 6);
  if (!allowed) return;
  std::string name = platform::FieldText(h.drawingName);
  const std::string extension = platform::FieldText(h.dataExtension);
  if (!extension.empty()) name += "." + extension;
  const auto lines =
      ReadLines(platform::ResolvePath(platform::DataRoot(), app_.run.DatFolderRelative(name)), kNcLineBytes);
  if (!lines) return;
  MoveListTo(kListTopForText);
  list_.ResetContent();
  const int count = static_cast<int>(lines->size());
  if (mode == 0) {
    // Both ends: lines 0 to 100, five separators, the last hundred lines.
    int counter = 0;
    for (int i = 0; i < count; ++i, ++counter) {
      if (counter == kHeadLines) {
        for (int s = 0; s < kSeparatorLines; ++s) list_.AddString(platform::Sjis("\t ･ "));
        counter += kSeparatorLines;
      }
      if (counter < kHeadLines || counter + kTailWindow >= count)
        list_.AddString((*lines)[static_cast<std::size_t>(i)]);
    }
  } else {
    // The next 500 lines; after the last page the next call starts again.
    const int start = ncTextStart_ < count ? ncTextStart_ : 0;
    const int end = std::min(count, start + kPageLines);
    for (int i = start; i < end; ++i) list_.AddString((*lines)[static_cast<std::size_t>(i)]);
    ncTextStart_ = end < start + kPageLines ? 0 : start + kPageLines;
  }
  list_.SetCurSel(0);
  platform::Beep();
}

void CQupView::ShowProcessList() {
  const auto lines = ReadLines(platform::ProgramFolder() / "$PROCESS.LST", std::string::npos);
  if (!lines) return;
  MoveListTo(kListTopForText);
  list_.ResetContent();
  for (const std::string& line : *lines) list_.AddString(line);
  list_.SetCurSel(0);
}

}  // namespace qup::shell
