#pragma once
// The headless backend: no display. Message boxes, dialogs and choosers are
// answered from a script the test writes beforehand, and everything shown is
// recorded, so a test can assert "this box with this text was shown" or
// "dialog 193 ended with 1". Events posted by a test run in PumpMessages.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/headless/dialog_driver.h"

namespace platform::headless {

class HeadlessFrame;
class HeadlessView;

using DialogResponder = std::function<void(DialogDriver&)>;

struct ShownMessageBox {
  MessageBoxRequest request;
  int answer = 0;
};

// One modal dialog as it opened and ended; `depth` is 1 for a dialog opened
// from no other dialog.
struct DialogRun {
  int templateId = 0;
  int depth = 0;
  int endCode = 0;
};

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- the script ---
  // Answers the next opening of a dialog of this template (in order of
  // registration). A dialog opened with no answer left ends with Cancel and
  // is listed in Problems().
  void WhenDialogOpens(int templateId, DialogResponder responder);
  // Answers every opening that finds no one-time answer.
  void WhenDialogOpensAlways(int templateId, DialogResponder responder);
  // The answer of the next message box; without one the box takes its
  // default (OK or Yes). An answer the box cannot give is a problem.
  void AnswerMessageBox(int answer);
  void AnswerFileChooser(std::optional<std::string> pathCp932);
  void AnswerFolderChooser(std::optional<std::string> pathCp932);
  void AnswerColorChooser(std::optional<Color> color);
  void AnswerFontChooser(std::optional<Font> font);
  void AnswerPrinterChooser(std::optional<PrinterSetup> setup);
  void SetBeepFails(bool fails) { beepFails_ = fails; }

  // --- what happened ---
  const std::vector<ShownMessageBox>& MessageBoxes() const { return messageBoxes_; }
  // True when a message box whose text contains `textCp932` was shown.
  bool WasShown(std::string_view textCp932) const;
  const std::vector<DialogRun>& DialogRuns() const { return dialogRuns_; }  // in order of ending
  const std::vector<int>& DialogsOpened() const { return dialogsOpened_; }  // in order of opening
  const std::vector<FileChooserRequest>& FileChooserRequests() const { return fileRequests_; }
  const std::vector<std::string>& Problems() const { return problems_; }
  int BeepCount() const { return beeps_; }
  bool WaitCursorShown() const { return waitCursor_; }
  HeadlessFrame* LastFrame() const { return frames_.empty() ? nullptr : frames_.back(); }
  const std::vector<Dialog*>& ModelessDialogs() const { return modeless_; }
  int QuitCode() const { return quitCode_; }

  // --- events ---
  // Queues an event; it runs in the next PumpMessages (or RunEventLoop).
  void Post(std::function<void()> event);
  std::size_t PendingEvents() const { return queue_.size(); }

  // --- Backend ---
  void PumpMessages() override;
  int RunEventLoop() override;
  void QuitEventLoop(int code) override;
  void PostTask(std::function<void()> task) override { Post(std::move(task)); }
  void ShowWaitCursor(bool on) override { waitCursor_ = on; }
  void RegisterCursor(int, StandardCursor) override {}
  void RegisterCursor(int, const Bitmap&, Point, Color) override {}
  bool Beep() override;
  std::unique_ptr<Frame> CreateFrame() override;
  int RunModal(Dialog& dialog) override;
  bool CreateModeless(Dialog& dialog, Frame* owner) override;
  int ShowMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial) override;
  std::optional<Color> ChooseColor(Color initial) override;
  std::optional<Font> ChooseFont(const Font& initial) override;
  std::optional<PrinterSetup> ChoosePrinter(const PrinterSetup& initial) override;
  std::unique_ptr<DeviceContext> CreateMemoryContext(Size size) override;

  // --- bookkeeping of the headless windows ---
  void AddFrame(HeadlessFrame* f) { frames_.push_back(f); }
  void RemoveFrame(HeadlessFrame* f);
  void AddView(HeadlessView* v) { views_.push_back(v); }
  void RemoveView(HeadlessView* v);
  void ForgetModeless(Dialog* d);
  // Closes the modeless dialogs owned by a frame that closes.
  void CloseOwnedBy(const Frame* owner);

 private:
  template <class T>
  static std::optional<T> TakeAnswer(std::deque<std::optional<T>>& queue, std::optional<T> fallback);

  std::deque<std::function<void()>> queue_;
  std::map<int, std::deque<DialogResponder>> onceResponders_;
  std::map<int, DialogResponder> alwaysResponders_;
  std::deque<int> messageAnswers_;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::deque<std::optional<std::string>> folderAnswers_;
  std::deque<std::optional<Color>> colorAnswers_;
  std::deque<std::optional<Font>> fontAnswers_;
  std::deque<std::optional<PrinterSetup>> printerAnswers_;

  std::vector<ShownMessageBox> messageBoxes_;
  std::vector<DialogRun> dialogRuns_;
  std::vector<int> dialogsOpened_;
  std::vector<FileChooserRequest> fileRequests_;
  std::vector<std::string> problems_;
  std::vector<HeadlessFrame*> frames_;
  std::vector<HeadlessView*> views_;
  std::vector<Dialog*> modeless_;
  std::map<Dialog*, const Frame*> modelessOwner_;
  int modalDepth_ = 0;
  int beeps_ = 0;
  bool beepFails_ = false;
  bool waitCursor_ = false;
  bool quit_ = false;
  int quitCode_ = 0;
};

// Installs a fresh headless backend and returns it (tests call this in SetUp).
HeadlessBackend& InstallHeadlessBackend();

}  // namespace platform::headless
