// The free functions of the window layer: they forward to the installed
// backend and keep the program-wide state that is the same for every backend
// (wait-cursor depth, dialog colours, the program title).
#include <cstdio>
#include <cstdlib>

#include "platform/application.h"
#include "platform/backend.h"
#include "platform/choosers.h"
#include "platform/frame.h"
#include "platform/message_box.h"

namespace platform {

namespace {

std::unique_ptr<Backend>& InstalledBackend() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

int g_waitCursorDepth = 0;
DialogColors g_dialogColors;

std::string& TitleStore() {
  static std::string title;
  return title;
}

}  // namespace

Backend& InstallBackend(std::unique_ptr<Backend> backend) {
  InstalledBackend() = std::move(backend);
  g_waitCursorDepth = 0;
  return *InstalledBackend();
}

Backend& CurrentBackend() {
  if (!InstalledBackend()) {
    std::fprintf(stderr, "window layer used before a backend was installed\n");
    std::abort();
  }
  return *InstalledBackend();
}

bool HasBackend() { return InstalledBackend() != nullptr; }
void UninstallBackend() { InstalledBackend().reset(); }

std::unique_ptr<DeviceContext> CreateMemoryContext(Size size) { return CurrentBackend().CreateMemoryContext(size); }

void PumpMessages() { CurrentBackend().PumpMessages(); }
int RunEventLoop() { return CurrentBackend().RunEventLoop(); }
void QuitEventLoop(int code) { CurrentBackend().QuitEventLoop(code); }
void PostTask(std::function<void()> task) { CurrentBackend().PostTask(std::move(task)); }
Rect DesktopRect() { return CurrentBackend().DesktopRect(); }

void BeginWaitCursor() {
  if (g_waitCursorDepth++ == 0) CurrentBackend().ShowWaitCursor(true);
}

// An unbalanced end is ignored rather than driving the depth negative, so one
// stray call cannot leave the wait cursor stuck on the next begin.
void EndWaitCursor() {
  if (g_waitCursorDepth == 0) return;
  if (--g_waitCursorDepth == 0) CurrentBackend().ShowWaitCursor(false);
}

int WaitCursorDepth() { return g_waitCursorDepth; }

void RegisterCursor(int cursorId, StandardCursor shape) { CurrentBackend().RegisterCursor(cursorId, shape); }
void RegisterCursor(int cursorId, const Bitmap& image, Point hotSpot, Color transparent) {
  CurrentBackend().RegisterCursor(cursorId, image, hotSpot, transparent);
}

bool Beep() { return CurrentBackend().Beep(); }

void SetDialogBkColor(Color background, Color text) { g_dialogColors = {background & kColorMask, text & kColorMask}; }
DialogColors CurrentDialogColors() { return g_dialogColors; }

void SetApplicationTitle(const std::string& titleCp932) { TitleStore() = titleCp932; }
const std::string& ApplicationTitle() { return TitleStore(); }

// --- message boxes ---

MessageBoxRequest MessageBoxFromStyle(std::string_view text, std::string_view caption, unsigned style) {
  MessageBoxRequest r;
  r.text = std::string(text);
  r.caption = std::string(caption);
  switch (style & 0xF) {
    case 1:
      r.buttons = MessageButtons::OkCancel;
      break;
    case 3:
      r.buttons = MessageButtons::YesNoCancel;
      break;
    case 4:
      r.buttons = MessageButtons::YesNo;
      break;
    default:
      r.buttons = MessageButtons::Ok;
      break;
  }
  switch (style & 0x70) {
    case 0x10:
      r.icon = MessageIcon::Stop;
      break;
    case 0x20:
      r.icon = MessageIcon::Question;
      break;
    case 0x30:
      r.icon = MessageIcon::Exclamation;
      break;
    case 0x40:
      r.icon = MessageIcon::Information;
      break;
    default:
      r.icon = MessageIcon::None;
      break;
  }
  return r;
}

int ShowMessageBox(const MessageBoxRequest& request) { return CurrentBackend().ShowMessageBox(request); }

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
  return ShowMessageBox(MessageBoxFromStyle(text, caption, style));
}

int DefaultAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
      return kIdOk;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return kIdYes;
  }
  return kIdOk;
}

bool IsValidAnswer(MessageButtons buttons, int answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == kIdOk;
    case MessageButtons::OkCancel:
      return answer == kIdOk || answer == kIdCancel;
    case MessageButtons::YesNo:
      return answer == kIdYes || answer == kIdNo;
    case MessageButtons::YesNoCancel:
      return answer == kIdYes || answer == kIdNo || answer == kIdCancel;
  }
  return false;
}

// --- choosers ---

std::vector<FileFilter> ParseFileFilters(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t bar = text.find('|', start);
    const std::size_t end = bar == std::string_view::npos ? text.size() : bar;
    parts.emplace_back(text.substr(start, end - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  std::vector<FileFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;  // "||" ends the list
    FileFilter f;
    f.name = parts[i];
    std::string_view pats = parts[i + 1];
    std::size_t p = 0;
    while (p <= pats.size()) {
      const std::size_t semi = pats.find(';', p);
      const std::size_t e = semi == std::string_view::npos ? pats.size() : semi;
      if (e > p) f.patterns.emplace_back(pats.substr(p, e - p));
      if (semi == std::string_view::npos) break;
      p = semi + 1;
    }
    filters.push_back(std::move(f));
  }
  return filters;
}

std::optional<std::string> ChooseFile(const FileChooserRequest& request) {
  return CurrentBackend().ChooseFile(request);
}

std::vector<std::string> ChooseFiles(const FileChooserRequest& request) {
  FileChooserRequest several = request;
  several.multiple = true;
  return CurrentBackend().ChooseFiles(several);
}
std::optional<std::string> ChooseFolder(std::string_view title, std::string_view initial) {
  return CurrentBackend().ChooseFolder(std::string(title), std::string(initial));
}
std::optional<Color> ChooseColor(Color initial) { return CurrentBackend().ChooseColor(initial); }
std::optional<Font> ChooseFont(const Font& initial) { return CurrentBackend().ChooseFont(initial); }
std::optional<PrinterSetup> ChoosePrinter(const PrinterSetup& initial) {
  return CurrentBackend().ChoosePrinter(initial);
}

// --- frame ---

std::unique_ptr<Frame> CreateFrame() { return CurrentBackend().CreateFrame(); }

namespace {
void CollectIds(const std::vector<MenuItem>& items, std::vector<int>& out) {
  for (const MenuItem& m : items) {
    if (!m.items.empty())
      CollectIds(m.items, out);
    else if (m.commandId != 0)
      out.push_back(m.commandId);
  }
}
}  // namespace

std::vector<int> MenuCommandIds(const std::vector<MenuItem>& items) {
  std::vector<int> ids;
  CollectIds(items, ids);
  return ids;
}

}  // namespace platform
