// What each print mode puts on the pages: the drawing, the NC program text,
// the process list, the screw-lead list and the three register listings.
// See printing.h.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/field_texts.h"
#include "kelto_dorn/tooldb/hole_process_file.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/printing.h"
#include "platform/application.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace fs = std::filesystem;

// The printer's font is the view's user font scaled from the screen's 120
// pixels per inch to the printer's.
constexpr int kScreenFontDpi = 120;
constexpr int kNcLineBytes = 191;
constexpr int kProcessLineBytes = 127;
// The abridged NC text ("S"): its first lines and last lines around marks.
constexpr int kAbridgedHead = 21;
constexpr int kAbridgedTail = 20;
constexpr int kAbridgedMarks = 3;
constexpr int kAbridgedOption = 'S';
constexpr int kRegisterRows = DocAtcTable::kRowCount;

// The page in use: where the next line goes, and the pages as they turn.
class PageCursor {
 public:
  PageCursor(platform::PrintJob& job, int x, int top, int step, int bottom)
      : job_(job), x_(x), top_(top), y_(top), step_(std::max(step, 1)), bottom_(bottom) {}

  platform::DeviceContext& dc() { return job_.Page(); }
  int y() const { return y_; }
  void set_y(int y) { y_ = y; }
  int step() const { return step_; }
  int top() const { return top_; }
  int bottom() const { return bottom_; }
  bool Fits(int lines = 1) const { return y_ + lines * step_ <= bottom_; }
  // A new page; false when the printer refused one.
  bool NewPage() {
    job_.EndPage();
    if (!job_.StartPage()) return false;
    y_ = top_;
    return true;
  }
  void Line(std::string_view cp932) {
    dc().TextOut({x_, y_}, cp932);
    y_ += step_;
  }
  // A line that turns the page first when it would pass the bottom.
  bool FlowingLine(std::string_view cp932) {
    if (!Fits() && !NewPage()) return false;
    Line(cp932);
    return true;
  }

 private:
  platform::PrintJob& job_;
  int x_;
  int top_;
  int y_;
  int step_;
  int bottom_;
};

std::string Format(const char* formatUtf8, auto... values) {
  char text[512];
  std::snprintf(text, sizeof text, platform::Sjis(formatUtf8).c_str(), values...);
  return text;
}

std::string WithoutLineEnd(std::string line, std::size_t maxBytes) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line.substr(0, platform::Cp932PrefixLength(line, maxBytes));
}

std::vector<std::string> ReadLines(const fs::path& file, std::size_t maxBytes) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(WithoutLineEnd(line, maxBytes));
  return lines;
}

fs::path NcTextFile() {
  const handover::DrawingHeader& h = g_drawingHeader;
  const std::string relative = platform::FieldText(h.unitName) + "\\" + platform::FieldText(h.secondName) + "\\DAT\\" +
                               platform::FieldText(h.drawingName) + "." + platform::FieldText(h.dataExtension);
  return platform::ResolvePath(g_dataFolder, relative);
}

fs::path ProcessListFile() { return platform::ResolvePath(g_programFolder, "$PROCESS.LST"); }

// --- the NC program text and the process list ------------------------------

void PrintNcText(PageCursor& page) {
  platform::WaitCursor wait;
  const std::vector<std::string> lines = ReadLines(NcTextFile(), kNcLineBytes);
  const bool abridged = (g_drawingHeader.printOptions & 0xFF) == kAbridgedOption;
  const int count = static_cast<int>(lines.size());
  if (!abridged || count <= kAbridgedHead) {
    for (const std::string& l : lines)
      if (!page.FlowingLine(l)) return;
    return;
  }
  // The head and the tail may overlap: both print whole.
  for (int i = 0; i < kAbridgedHead; ++i)
    if (!page.FlowingLine(lines[static_cast<std::size_t>(i)])) return;
  for (int i = 0; i < kAbridgedMarks; ++i)
    if (!page.FlowingLine(platform::Sjis("  ･ "))) return;
  for (int i = std::max(0, count - kAbridgedTail); i < count; ++i)
    if (!page.FlowingLine(lines[static_cast<std::size_t>(i)])) return;
}

void PrintProcessList(PageCursor& page) {
  for (const std::string& l : ReadLines(ProcessListFile(), kProcessLineBytes))
    if (!page.FlowingLine(l)) return;
}

// --- the register pages ------------------------------------------------------

void DrawPrintRule(platform::DeviceContext& dc, int y, int right) { dc.Polyline({{1, y}, {right, y}}); }

// The frame of a register page: from (1, 1) to the first line position at or
// past the bottom, less 3.
void DrawPageFrame(PageCursor& page, int right) {
  int y = page.top();
  while (y < page.bottom()) y += page.step();
  const platform::Brush old = page.dc().SelectBrush({0, platform::BrushStyle::Null});
  page.dc().Rectangle({1, 1, right - 1, y - 3});
  page.dc().SelectBrush(old);
}

struct RegisterLayout {
  int right = 0;
};

// One register's rows: each with a rule above it, and one rule below the last.
// `heads` prints the page heads (with the page number); a row that would pass
// the bottom turns the page.
template <class Heads, class Row>
bool PrintRows(PageCursor& page, const RegisterLayout& layout, int rows, int& pageNumber, Heads heads, Row row) {
  heads(pageNumber);
  for (int i = 0; i < rows; ++i) {
    if (!page.Fits()) {
      if (!page.NewPage()) return false;
      ++pageNumber;
      DrawPageFrame(page, layout.right);
      heads(pageNumber);
    }
    DrawPrintRule(page.dc(), page.y() - 3, layout.right);
    page.Line(row(i));
  }
  DrawPrintRule(page.dc(), page.y() - 3, layout.right);
  return true;
}

bool PrintToolList(PageCursor& page, const RegisterLayout& layout, DocToolTable& tools, int count, int& pageNumber) {
  const std::string base = platform::FieldText(g_dbSelection.baseName);
  const std::string folder = platform::FieldText(g_dbSelection.toolName);
  auto heads = [&](int number) {
    page.Line(Format("[ 基本ベース名 ]::[ %s ]", base.c_str()));
    page.Line(Format("      [ 工具名 ]::[ %s ]            ---- %02d ----", folder.c_str(), number));
    DrawPrintRule(page.dc(), page.y() - 3, layout.right);
    page.Line(platform::Sjis(
        "[    SEC名   ][ 工具φ][  Ｒ径 ][  Ｆ径 ][ 先端角][ 先端長][ 回転Ｓ][ 送りＦ][ 固定Ｇ][ 切込Ｑ][ "
        "P_CODE][ M_CODE][  刃長 ][H_CODE][D_CODE]"));
  };
  auto row = [&](int i) {
    const ToolFieldTexts t = FormatToolRecord(tools, i);
    return Format(" %12s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s %7s %7s %7s", t.secName.c_str(),
                  t.diameter.c_str(), t.cornerRadius.c_str(), t.flatRadius.c_str(), t.tipAngle.c_str(),
                  t.tipLength.c_str(), t.spindleSpeed.c_str(), t.feed.c_str(), t.fixedCycle.c_str(), t.qValue.c_str(),
                  t.pValue.c_str(), t.mCode.c_str(), t.fluteLength.c_str(), t.hCode.c_str(), t.dCode.c_str());
  };
  return PrintRows(page, layout, count, pageNumber, heads, row);
}

// The rows of the loaded ATC table that are in use, up to the last one in use.
int AtcRowsToPrint(const DocAtcTable& atc) {
  for (int i = std::min(atc.LoadedCount(), kRegisterRows) - 1; i >= 0; --i)
    if (atc.Record(i).inUse != 0) return i + 1;
  return 0;
}

bool PrintMachineAtcList(PageCursor& page, const RegisterLayout& layout, DocAtcTable& atc, int& pageNumber) {
  const std::string machine = platform::FieldText(g_dbSelection.machineName);
  auto heads = [&](int number) {
    page.Line(Format("[ 工作機械名 ]::[ %s ]         ---- %02d ----", machine.c_str(), number));
    DrawPrintRule(page.dc(), page.y() - 3, layout.right);
    page.Line(
        platform::Sjis("[ATC_番号][        工 具 名       ＿    SEC名   ][ 工具φ][  Ｒ径 ][  Ｆ径 ][ 先端角][ 回転Ｓ]"
                       "[ 送りＦ][ 固定Ｇ][ 切込Ｑ][  刃長 ][H_CODE][D_CODE]"));
  };
  auto row = [&](int i) {
    const AtcFieldTexts t = FormatAtcRecord(atc, i);
    return Format(" ATC_%04d %24s＿%-12s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s %7s %7s %7s", atc.Record(i).atcNumber,
                  t.toolName.c_str(), t.secName.c_str(), t.diameter.c_str(), t.cornerRadius.c_str(),
                  t.flatRadius.c_str(), t.tipAngle.c_str(), t.spindleSpeed.c_str(), t.feed.c_str(),
                  t.cannedCycle.c_str(), t.peckDepth.c_str(), t.fluteLength.c_str(), t.hCode.c_str(), t.dCode.c_str());
  };
  return PrintRows(page, layout, AtcRowsToPrint(atc), pageNumber, heads, row);
}

// One hole process from the current y; the next process goes on below it.
bool PrintHoleProcessList(PageCursor& page, const RegisterLayout& layout, HoleProcessRecord& process,
                          DocAtcTable& atc) {
  std::vector<int> used;
  for (int r = 0; r < HoleProcessRecord::kRowCount; ++r)
    if (process.rows[r].diameter != 0.0f) used.push_back(r);
  // The heads and every row, with four lines to spare, stay on one page.
  if (!page.Fits(static_cast<int>(used.size()) + 4) && page.y() > page.top()) {
    if (!page.NewPage()) return false;
    DrawPageFrame(page, layout.right);
  }
  page.Line(Format("           [ 穴工程名 ]::[ %s ] ", platform::FieldText(process.name).c_str()));
  DrawPrintRule(page.dc(), page.y() - 3, layout.right);
  page.Line(
      platform::Sjis("[工程番号][ATC番号][         工 具 名       ＿    SEC名   ][ 工具φ][ 先端角][ 回転Ｓ][ 送りＦ]"
                     "[ 固定Ｇ][ 切込Ｑ][ P_CODE][  刃長 ]"));
  int step = 1;
  for (int r : used) {
    AtcRecord& row = process.rows[r];
    const AtcFieldTexts t = FormatThroughScratch(atc, row, DocAtcTable::kScratchSlot);
    DrawPrintRule(page.dc(), page.y() - 3, layout.right);
    page.Line(Format(" 工程_%02d   ATC%04d  %24s＿%-12s  %7s  %7s  %7s  %7s  %7s  %7s  %7s  %7s", step++, row.atcNumber,
                     t.toolName.c_str(), t.secName.c_str(), t.diameter.c_str(), t.tipAngle.c_str(),
                     t.spindleSpeed.c_str(), t.feed.c_str(), t.cannedCycle.c_str(), t.peckDepth.c_str(),
                     t.pCode.c_str(), t.fluteLength.c_str()));
  }
  DrawPrintRule(page.dc(), page.y() - 3, layout.right);
  return true;
}

// The sub-folders of a database folder (CP932 names, sorted): the tool
// folders of a base, the hole processes.
std::vector<std::string> SubFolders(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.is_directory(ec)) names.push_back(platform::SystemName(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// The selection and the document's tables as the database dialog had them;
// the register prints of many folders or machines change both, and the
// dialog gets them back as they were. That includes whether the ATC table's
// file could be read: a machine printed last whose file is damaged must not
// block saving the table shown, and one that read well must not clear the
// mark of a table left empty by a damaged file, which a save would then
// write over the machine's tools.
class TablesKept {
 public:
  explicit TablesKept(CKelDoc& doc) : doc_(doc), selection_(g_dbSelection), toolIndex_(g_curToolIndex) {
    allocatedHere_ = !doc.tools.IsAllocated();
    if (allocatedHere_) {
      doc.tools.Allocate();
    } else {
      tools_.reserve(DocToolTable::kSlotCount);
      for (int i = 0; i < DocToolTable::kSlotCount; ++i) tools_.push_back(doc.tools.Record(i));
    }
    atc_.reserve(DocAtcTable::kSlotCount);
    for (int i = 0; i < DocAtcTable::kSlotCount; ++i) atc_.push_back(doc.atc.Record(i));
    atcLoaded_ = doc.atc.LoadedCount();
    atcReadFailed_ = doc.atc.ReadFailed();
  }
  ~TablesKept() {
    g_dbSelection = selection_;
    g_curToolIndex = toolIndex_;
    if (allocatedHere_) {
      doc_.tools.Release();
    } else {
      for (int i = 0; i < DocToolTable::kSlotCount; ++i) doc_.tools.Record(i) = tools_[static_cast<std::size_t>(i)];
    }
    for (int i = 0; i < DocAtcTable::kSlotCount; ++i) doc_.atc.Record(i) = atc_[static_cast<std::size_t>(i)];
    doc_.atc.SetLoadedCount(atcLoaded_);
    doc_.atc.SetReadFailed(atcReadFailed_);
  }
  TablesKept(const TablesKept&) = delete;
  TablesKept& operator=(const TablesKept&) = delete;

 private:
  CKelDoc& doc_;
  DbSelectionRecord selection_;
  int toolIndex_;
  bool allocatedHere_ = false;
  std::vector<ToolRecord> tools_;
  std::vector<AtcRecord> atc_;
  int atcLoaded_ = 0;
  bool atcReadFailed_ = false;
};

void PrintToolRegister(PageCursor& page, const RegisterLayout& layout, CKelDoc& doc, const RegisterPrintLists& lists) {
  const int scope = g_commandStep;
  DrawPageFrame(page, layout.right);
  // Each folder starts a page of its own, numbered from 1.
  auto folder = [&](bool first) {
    if (!first) {
      if (!page.NewPage()) return false;
      DrawPageFrame(page, layout.right);
    }
    int pageNumber = 1;
    const int count = LoadToolRecords(doc.tools);
    return PrintToolList(page, layout, doc.tools, count, pageNumber);
  };
  if (scope == kScopeCurrent) {
    folder(true);
    return;
  }
  bool first = true;
  if (scope == kScopeBase) {
    for (const std::string& name : lists.toolFolders) {
      SetToolName(name);
      if (!folder(first)) return;
      first = false;
    }
    return;
  }
  for (const std::string& base : lists.bases) {
    SetBaseName(base);
    const fs::path baseFolder = platform::ResolvePath(g_dataFolder, "_DBS\\" + base);
    for (const std::string& name : SubFolders(baseFolder)) {
      SetToolName(name);
      if (!folder(first)) return;
      first = false;
    }
  }
}

void PrintAtcRegister(PageCursor& page, const RegisterLayout& layout, CKelDoc& doc, const RegisterPrintLists& lists) {
  DrawPageFrame(page, layout.right);
  if (g_commandStep != kScopeAll) {
    int pageNumber = 1;
    PrintMachineAtcList(page, layout, doc.atc, pageNumber);
    return;
  }
  bool first = true;
  for (const std::string& machine : lists.machines) {
    if (!first) {
      if (!page.NewPage()) return;
      DrawPageFrame(page, layout.right);
    }
    first = false;
    SetMachineName(machine);
    LoadAtcTable(doc.atc);
    int pageNumber = 1;  // each machine numbered from 1
    if (!PrintMachineAtcList(page, layout, doc.atc, pageNumber)) return;
  }
}

void PrintHoleRegister(PageCursor& page, const RegisterLayout& layout, CKelDoc& doc, const RegisterPrintLists& lists) {
  DrawPageFrame(page, layout.right);
  if (g_commandStep != kScopeAll) {
    if (lists.currentProcess) PrintHoleProcessList(page, layout, *lists.currentProcess, doc.atc);
    return;
  }
  const fs::path processes = platform::ResolvePath(g_dataFolder, "_ANA");
  for (const std::string& name : SubFolders(processes)) {
    HoleProcessRecord process{};
    // A process whose file is missing or damaged prints nothing.
    if (!ReadHoleProcessFile(processes / platform::DiskName(name) / kHoleProcessFileName, process).ok()) continue;
    platform::SetFieldText(process.name, name);
    if (g_commandEngines.matchToolsToAtcTable) g_commandEngines.matchToolsToAtcTable(process);
    if (!PrintHoleProcessList(page, layout, process, doc.atc)) return;
  }
}

void PrintRegister(PageCursor& page, int right, CKelDoc& doc, const RegisterPrintLists& lists) {
  platform::WaitCursor wait;
  const RegisterLayout layout{right};
  TablesKept kept(doc);
  switch (g_printMode) {
    case kPrintToolRegister:
      return PrintToolRegister(page, layout, doc, lists);
    case kPrintAtcRegister:
      return PrintAtcRegister(page, layout, doc, lists);
    case kPrintHoleRegister:
      return PrintHoleRegister(page, layout, doc, lists);
    default:
      return;
  }
}

}  // namespace

std::optional<std::string> MissingPrintSource() {
  std::error_code ec;
  if (g_printMode == kPrintNcText && !fs::is_regular_file(NcTextFile(), ec))
    return "the NC program " + NcTextFile().string() + " does not exist: nothing was printed";
  if (g_printMode == kPrintProcessList && !fs::is_regular_file(ProcessListFile(), ec))
    return "the process list " + ProcessListFile().string() + " does not exist: nothing was printed";
  return std::nullopt;
}

void PrintPages(CKelView& view, platform::PrintJob& job, const RegisterPrintLists* lists) {
  platform::DeviceContext& page = job.Page();
  const platform::Size pagePixels = job.Caps().pagePixels;
  ViewState& v = g_view;
  // The client area maps onto the page with the smaller ratio, so all of it fits.
  v.m_printFactor = 1.0;
  view.PrepareDrawingDC(page);
  const double factor = std::min(static_cast<double>(pagePixels.cy) / std::max(v.m_clientHeight, 1),
                                 static_cast<double>(pagePixels.cx) / std::max(v.m_clientWidth, 1));
  v.m_printFactor = factor;
  v.m_printing = true;
  view.PrepareDrawingDC(page);
  g_layerOverview = 0;

  platform::Font font = view.UserFont();
  font.height = font.height * job.Caps().dpiX / kScreenFontDpi;
  const platform::Font oldFont = page.SelectFont(font);
  page.SetTextAlign(platform::text_align::kLeft | platform::text_align::kTop);
  page.SetBackgroundMode(platform::BackgroundMode::Transparent);
  const int h = page.GetTextMetrics().height;
  const int s = h / 4 + h;
  const int x = static_cast<int>(90 * factor);
  PageCursor text(job, x, 3 * s, s, pagePixels.cy - 3 * s);

  switch (g_printMode) {
    case kPrintNcText:
      PrintNcText(text);
      break;
    case kPrintProcessList:
      PrintProcessList(text);
      break;
    case kPrintDrawing:
      page.TextOut({x, static_cast<int>(v.m_clientHeight * factor) - s},
                   platform::FieldText(g_drawingHeader.drawingName));
      view.OnPaint(page);
      break;
    case kPrintScrewLeads:
      if (g_commandEngines.printScrewLeadList)
        g_commandEngines.printScrewLeadList(page, 0, 0, pagePixels.cx, pagePixels.cy, factor, h);
      break;
    case kPrintToolRegister:
    case kPrintHoleRegister:
    case kPrintAtcRegister: {
      const RegisterPrintLists none;
      PageCursor rows(job, static_cast<int>(30 * factor), 3 * s,
                      g_printMode == kPrintToolRegister ? h + h / 4 + 5 : h + h / 4, pagePixels.cy - 3 * s);
      PrintRegister(rows, pagePixels.cx, view.Document(), lists ? *lists : none);
      break;
    }
    default:
      break;
  }
  job.Page().SelectFont(oldFont);
  v.m_curPen = kPenUnknown;
  v.m_printFactor = 1.0;
  v.m_printing = false;
}

}  // namespace dorn
