#pragma once
// The desktop main window and its view surface.
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "platform/frame.h"
#include "platform/qt/raster_context.h"

class QAction;
class QListWidget;
class QMenu;
class QTimer;
class QToolBar;

namespace platform::qt {

class QtView;

// The view: a widget that shows its backing image. Painting clears the image
// to the background colour and lets the handler draw; a device context taken
// at any other moment draws into the same image and the widget is updated
// when the context goes away.
class QtViewWidget final : public QWidget {
 public:
  explicit QtViewWidget(QtView& owner, QWidget* parent);
  // The view goes before its widget: events that still arrive are dropped.
  void Detach() { owner_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool focusNextPrevChild(bool) override { return false; }  // Tab belongs to the view

 private:
  ViewHandler* Handler() const;
  QtView* owner_;
};

// The view's list box: a list widget over the view; its keys go to the view's handler.
class QtViewListBox final : public ViewListBox {
 public:
  explicit QtViewListBox(QtView& view);
  void SetRect(const Rect& r) override;
  Rect GetRect() const override;
  void Show(bool on) override;
  bool IsVisible() const override;
  int AddString(std::string_view cp932) override;
  void DeleteString(int row) override;
  void ResetContent() override;
  int GetCount() const override;
  std::string GetString(int row) const override;
  void SetCurSel(int row) override;
  int GetCurSel() const override;
  void SetFont(const Font& font) override;
  QListWidget* Widget() const { return list_; }

 private:
  QListWidget* list_;
};

class QtView final : public ViewSurface {
 public:
  explicit QtView(QWidget* parent);
  ~QtView() override;

  QtViewWidget* Widget() const { return widget_; }

  void SetHandler(ViewHandler* handler) override { handler_ = handler; }
  std::unique_ptr<DeviceContext> GetDC() override;
  void Invalidate() override;
  void UpdateNow() override;
  Size ClientSize() const override;
  void SetBackgroundColor(Color c) override;
  void SetTimer(int timerId, int milliseconds, TimerKind kind) override;
  void KillTimer(int timerId) override;
  void SetCursor(int cursorId) override;
  void SetFocus() override;
  Bitmap CopyClientArea(const Rect& area) const override;
  ViewListBox& ListBox() override;

  // --- called by the widget ---
  void Paint();
  void Resized(int width, int height);
  ViewHandler* Handler() const { return handler_; }
  QImage& Image() { return image_; }
  void Showing() { painter_->Showing(); }
  void Shown() { painter_->Shown(); }

 private:
  QtViewWidget* widget_;
  ViewHandler* handler_ = nullptr;
  QImage image_;
  std::shared_ptr<SharedPainter> painter_;  // every context of this view draws through it
  Color background_ = 0xFFFFFF;
  bool paintPending_ = true;
  std::map<int, QTimer*> timers_;
  std::unique_ptr<QtViewListBox> listBox_;
};

class QtFrame final : public Frame {
 public:
  QtFrame();
  ~QtFrame() override;

  QMainWindow* Window() const { return window_; }

  void SetMenu(const std::vector<MenuItem>& menuBar) override;
  void AddToolBar(const ToolBarSpec& bar) override;
  bool ReloadToolBar(int barId, const std::vector<ToolButton>& buttons) override;
  void ShowToolBar(int barId, bool shown) override;
  bool IsToolBarShown(int barId) const override;
  void DockToolBar(int barId, DockSide side) override;
  DockSide ToolBarDock(int barId) const override;

  void SetCommandState(int commandId, const CommandState& state) override;
  CommandState GetCommandState(int commandId) const override;

  void SetCommandRouter(CommandRouter router) override { router_ = std::move(router); }
  void SetUpdateHandler(UpdateHandler handler) override { update_ = std::move(handler); }
  void SetCloseHandler(CloseHandler handler) override { close_ = std::move(handler); }
  void UpdateToolBars() override;

  void SetTitle(const std::string& cp932) override;
  std::string Title() const override;
  Rect WindowRect() const override;
  void SetWindowRect(const Rect& r) override;
  void Maximize() override;
  bool IsMaximized() const override;
  void Show() override;
  void RequestClose() override;
  bool IsClosed() const override { return closed_; }

  void SetTimer(int timerId, int milliseconds, TimerKind kind) override;
  void KillTimer(int timerId) override;
  void SetTimerHandler(TimerHandler handler) override { timerHandler_ = std::move(handler); }

  ViewSurface& View() override { return *view_; }
  int TrackPopupMenu(const std::vector<MenuItem>& items, Point viewPoint) override;
  Bitmap Snapshot() const override;

  // --- called by the window ---
  bool AllowClose();
  void Route(int commandId);
  void UpdateMenu(QMenu* menu);

 private:
  QAction* MakeAction(int commandId, const QString& caption, QObject* parent);
  void ApplyState(int commandId);
  void FillToolBar(QToolBar* bar, const std::vector<ToolButton>& buttons, int buttonWidth);
  void RunUpdate(int commandId);

  QPointer<QMainWindow> window_;
  std::unique_ptr<QtView> view_;
  std::map<int, CommandState> states_;
  std::multimap<int, QPointer<QAction>> actions_;
  struct Bar {
    QToolBar* bar;
    int buttonWidth;
    std::vector<int> ids;
  };
  std::map<int, Bar> bars_;
  std::map<int, QTimer*> timers_;
  CommandRouter router_;
  UpdateHandler update_;
  CloseHandler close_;
  TimerHandler timerHandler_;
  bool closed_ = false;
};

}  // namespace platform::qt
