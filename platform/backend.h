#pragma once
// The window-system backend behind the layer's free functions and factories.
// One is installed at start-up: the desktop programs call the Qt backend's
// install function from main; tests install the headless backend.
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "platform/application.h"
#include "platform/choosers.h"
#include "platform/device_context.h"
#include "platform/frame.h"
#include "platform/message_box.h"

namespace platform {

class Dialog;

class Backend {
 public:
  virtual ~Backend() = default;

  virtual void PumpMessages() = 0;
  virtual int RunEventLoop() = 0;
  virtual void QuitEventLoop(int code) = 0;
  virtual void PostTask(std::function<void()> task) = 0;
  // The desktop's usable area; a backend without screens offers a common one.
  virtual Rect DesktopRect() const { return {0, 0, 1920, 1080}; }
  virtual void ShowWaitCursor(bool on) = 0;
  virtual void RegisterCursor(int cursorId, StandardCursor shape) = 0;
  virtual void RegisterCursor(int cursorId, const Bitmap& image, Point hotSpot, Color transparent) = 0;
  virtual bool Beep() = 0;

  virtual std::unique_ptr<Frame> CreateFrame() = 0;
  // Attaches a host to the dialog, opens it and runs it modally; returns the
  // end code.
  virtual int RunModal(Dialog& dialog) = 0;
  virtual bool CreateModeless(Dialog& dialog, Frame* owner) = 0;

  virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
  virtual std::optional<std::string> ChooseFile(const FileChooserRequest& request) = 0;
  // Several files; a backend without a chooser of its own for them offers one.
  virtual std::vector<std::string> ChooseFiles(const FileChooserRequest& request) {
    std::optional<std::string> one = ChooseFile(request);
    return one ? std::vector<std::string>{*one} : std::vector<std::string>{};
  }
  virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial) = 0;
  virtual std::optional<Color> ChooseColor(Color initial) = 0;
  virtual std::optional<Font> ChooseFont(const Font& initial) = 0;
  virtual std::optional<PrinterSetup> ChoosePrinter(const PrinterSetup& initial) = 0;

  // A memory device context with a bitmap of `size` (white).
  virtual std::unique_ptr<DeviceContext> CreateMemoryContext(Size size) = 0;
};

// Installs the backend (replacing any earlier one) and returns it.
Backend& InstallBackend(std::unique_ptr<Backend> backend);
// The installed backend. Using the window layer before one is installed is a
// programming error: the program stops with a message.
Backend& CurrentBackend();
bool HasBackend();
void UninstallBackend();

std::unique_ptr<DeviceContext> CreateMemoryContext(Size size);

}  // namespace platform
