#pragma once
// The desktop side of an open dialog: real widgets built from the control
// table, laid out automatically (group boxes as frames, a label and its field
// on one row, neighbouring buttons together, tab pages), bound both ways to
// the dialog's model.
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <map>
#include <memory>
#include <set>

#include "platform/dialog.h"

class QGridLayout;
class QPlainTextEdit;
class QTimer;

namespace platform::qt {

class QtDialogHost : public DialogHost {
 public:
  QtDialogHost(Dialog& dialog, QWidget* parent);
  ~QtDialogHost() override;

  QDialog* Window() {
    FlushPendingItems();
    return window_;
  }
  QWidget* Widget(int controlId) const;
  // Shows the dialog and runs its modal loop until it ends.
  void RunModal();
  void ShowModeless();

  void Refresh(int controlId, ControlChange what) override;
  void RefreshTitle() override;
  void FocusControl(int controlId) override;
  void StartTimer(int timerId, int milliseconds, TimerKind kind) override;
  void StopTimer(int timerId) override;
  void RedrawItem(int controlId) override;
  void Ended(int code) override;

  Dialog& Model() { return dialog_; }
  bool Syncing() const { return syncing_; }

 private:
  void Build();
  QWidget* MakeWidget(const ControlState& c, QWidget* parent);
  void Connect(const ControlState& c, QWidget* w);
  void Sync(const ControlState& c, ControlChange what);
  void ApplyColors();
  void PushRichEdit(int id, QPlainTextEdit* edit);
  // Item lists are refreshed once per turn of the event loop, so filling a
  // list row by row stays linear.
  void FlushPendingItems();
  int ControlIdOf(QWidget* w) const;
  void WidenForTitle();

  Dialog& dialog_;
  QPointer<QDialog> window_;
  std::unique_ptr<QObject> receiver_;  // owns the connections; gone with the host
  std::map<int, QWidget*> widgets_;
  std::map<int, QTimer*> timers_;
  QEventLoop* loop_ = nullptr;
  bool syncing_ = false;
  int echo_ = 0;  // the rich edit whose own report is being handled
  std::set<int> pendingItems_;
  bool flushScheduled_ = false;
};

// The window of an open dialog (null when the dialog is not open on the
// desktop backend). For tests and the dialog's own screenshots.
QDialog* DialogWindow(const Dialog& dialog);

}  // namespace platform::qt
