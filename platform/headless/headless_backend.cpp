#include "platform/headless/headless_backend.h"

#include <algorithm>

#include "platform/headless/headless_frame.h"
#include "platform/headless/headless_view.h"
#include "platform/recording_context.h"

namespace platform::headless {

namespace {

// The headless side of an open dialog: widgets are not needed, the model is
// what tests read. It only tells the backend when a modeless dialog goes.
class HeadlessDialogHost : public DialogHost {
 public:
  HeadlessDialogHost(HeadlessBackend& backend, Dialog& dialog, bool modeless)
      : backend_(backend), dialog_(dialog), modeless_(modeless) {}
  ~HeadlessDialogHost() override {
    if (modeless_) backend_.ForgetModeless(&dialog_);
  }
  void Refresh(int, ControlChange) override {}
  void RefreshTitle() override {}
  void FocusControl(int) override {}
  void StartTimer(int, int, TimerKind) override {}
  void StopTimer(int) override {}
  void RedrawItem(int) override {}
  void Ended(int) override {}

 private:
  HeadlessBackend& backend_;
  Dialog& dialog_;
  bool modeless_;
};

}  // namespace

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

HeadlessBackend& InstallHeadlessBackend() {
  return static_cast<HeadlessBackend&>(InstallBackend(std::make_unique<HeadlessBackend>()));
}

// --- script ---

void HeadlessBackend::WhenDialogOpens(int templateId, DialogResponder responder) {
  onceResponders_[templateId].push_back(std::move(responder));
}

void HeadlessBackend::WhenDialogOpensAlways(int templateId, DialogResponder responder) {
  alwaysResponders_[templateId] = std::move(responder);
}

void HeadlessBackend::AnswerMessageBox(int answer) { messageAnswers_.push_back(answer); }
void HeadlessBackend::AnswerFileChooser(std::optional<std::string> p) { fileAnswers_.push_back(std::move(p)); }
void HeadlessBackend::AnswerFolderChooser(std::optional<std::string> p) { folderAnswers_.push_back(std::move(p)); }
void HeadlessBackend::AnswerColorChooser(std::optional<Color> c) { colorAnswers_.push_back(c); }
void HeadlessBackend::AnswerFontChooser(std::optional<Font> f) { fontAnswers_.push_back(std::move(f)); }
void HeadlessBackend::AnswerPrinterChooser(std::optional<PrinterSetup> s) { printerAnswers_.push_back(std::move(s)); }

bool HeadlessBackend::WasShown(std::string_view text) const {
  return std::any_of(messageBoxes_.begin(), messageBoxes_.end(),
                     [&](const ShownMessageBox& m) { return m.request.text.find(text) != std::string::npos; });
}

// --- events ---

void HeadlessBackend::Post(std::function<void()> event) { queue_.push_back(std::move(event)); }

// Runs queued events one by one (an event may pump again: the inner pump
// takes the next events), then the repaints that are due.
void HeadlessBackend::PumpMessages() {
  while (!queue_.empty()) {
    std::function<void()> event = std::move(queue_.front());
    queue_.pop_front();
    event();
  }
  // A paint may invalidate again; each view paints at most once per pump.
  const std::vector<HeadlessView*> views = views_;
  for (HeadlessView* v : views)
    if (std::find(views_.begin(), views_.end(), v) != views_.end() && v->PaintPending()) v->Paint();
}

int HeadlessBackend::RunEventLoop() {
  quit_ = false;
  PumpMessages();
  while (!quit_ && !queue_.empty()) PumpMessages();
  return quitCode_;
}

void HeadlessBackend::QuitEventLoop(int code) {
  quit_ = true;
  quitCode_ = code;
}

bool HeadlessBackend::Beep() {
  if (beepFails_) return false;
  ++beeps_;
  return true;
}

// --- windows ---

std::unique_ptr<Frame> HeadlessBackend::CreateFrame() { return std::make_unique<HeadlessFrame>(*this); }

void HeadlessBackend::RemoveFrame(HeadlessFrame* f) { std::erase(frames_, f); }
void HeadlessBackend::RemoveView(HeadlessView* v) { std::erase(views_, v); }

void HeadlessBackend::ForgetModeless(Dialog* d) {
  std::erase(modeless_, d);
  modelessOwner_.erase(d);
}

void HeadlessBackend::CloseOwnedBy(const Frame* owner) {
  std::vector<Dialog*> owned;
  for (const auto& [dialog, o] : modelessOwner_)
    if (o == owner) owned.push_back(dialog);
  for (Dialog* d : owned) d->DestroyWindow();
}

int HeadlessBackend::RunModal(Dialog& dialog) {
  dialog.Attach(std::make_unique<HeadlessDialogHost>(*this, dialog, false));
  dialogsOpened_.push_back(dialog.TemplateId());
  ++modalDepth_;
  dialog.Open();
  if (!dialog.HasEnded()) {
    DialogResponder responder;
    auto once = onceResponders_.find(dialog.TemplateId());
    if (once != onceResponders_.end() && !once->second.empty()) {
      responder = std::move(once->second.front());
      once->second.pop_front();
    } else if (auto always = alwaysResponders_.find(dialog.TemplateId()); always != alwaysResponders_.end()) {
      responder = always->second;
    }
    if (responder) {
      DialogDriver driver(dialog);
      responder(driver);
    }
    if (!dialog.HasEnded()) {
      problems_.push_back("dialog " + std::to_string(dialog.TemplateId()) +
                          (responder ? " was not ended by its answer" : " opened with no answer") +
                          "; ended with Cancel");
      dialog.EndDialog(kIdCancel);
    }
  }
  dialogRuns_.push_back({dialog.TemplateId(), modalDepth_, dialog.EndCode()});
  --modalDepth_;
  return dialog.EndCode();
}

bool HeadlessBackend::CreateModeless(Dialog& dialog, Frame* owner) {
  dialog.Attach(std::make_unique<HeadlessDialogHost>(*this, dialog, true));
  modeless_.push_back(&dialog);
  modelessOwner_[&dialog] = owner;
  dialog.Open();
  return true;
}

// --- boxes and choosers ---

int HeadlessBackend::ShowMessageBox(const MessageBoxRequest& request) {
  int answer = DefaultAnswer(request.buttons);
  if (!messageAnswers_.empty()) {
    const int scripted = messageAnswers_.front();
    messageAnswers_.pop_front();
    if (IsValidAnswer(request.buttons, scripted))
      answer = scripted;
    else
      problems_.push_back("message box answered " + std::to_string(scripted) + ", which it cannot give");
  }
  messageBoxes_.push_back({request, answer});
  return answer;
}

template <class T>
std::optional<T> HeadlessBackend::TakeAnswer(std::deque<std::optional<T>>& queue, std::optional<T> fallback) {
  if (queue.empty()) return fallback;
  std::optional<T> a = std::move(queue.front());
  queue.pop_front();
  return a;
}

// Without a scripted answer every chooser is cancelled: nothing is chosen
// behind the test's back.
std::optional<std::string> HeadlessBackend::ChooseFile(const FileChooserRequest& request) {
  fileRequests_.push_back(request);
  return TakeAnswer<std::string>(fileAnswers_, std::nullopt);
}

std::optional<std::string> HeadlessBackend::ChooseFolder(const std::string&, const std::string&) {
  return TakeAnswer<std::string>(folderAnswers_, std::nullopt);
}

std::optional<Color> HeadlessBackend::ChooseColor(Color) { return TakeAnswer<Color>(colorAnswers_, std::nullopt); }
std::optional<Font> HeadlessBackend::ChooseFont(const Font&) { return TakeAnswer<Font>(fontAnswers_, std::nullopt); }
std::optional<PrinterSetup> HeadlessBackend::ChoosePrinter(const PrinterSetup&) {
  return TakeAnswer<PrinterSetup>(printerAnswers_, std::nullopt);
}

std::unique_ptr<DeviceContext> HeadlessBackend::CreateMemoryContext(Size size) {
  return std::make_unique<RecordingContext>(size);
}

}  // namespace platform::headless
