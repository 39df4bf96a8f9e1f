#include "platform/qt/qt_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include "platform/backend.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/raster_context.h"

namespace platform::qt {

// Defined in qt_backend.cpp: the cursor registered under an id.
QCursor CursorFor(int cursorId);
// Closes the modeless dialogs a frame owns (qt_backend.cpp).
void CloseDialogsOwnedBy(const Frame* owner);

namespace {

// The main window hands its close request to the frame, which asks the program.
class MainWindow final : public QMainWindow {
 public:
  explicit MainWindow(QtFrame& frame) : frame_(frame) {}

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (frame_.AllowClose())
      e->accept();
    else
      e->ignore();
  }

 private:
  QtFrame& frame_;
};

unsigned Buttons(Qt::MouseButtons b) {
  unsigned r = 0;
  if (b & Qt::LeftButton) r |= mouse_buttons::kLeft;
  if (b & Qt::RightButton) r |= mouse_buttons::kRight;
  if (b & Qt::MiddleButton) r |= mouse_buttons::kMiddle;
  return r;
}

MouseEvent MakeMouse(MouseAction action, const QPointF& pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  MouseEvent e;
  e.action = action;
  e.position = {static_cast<int>(pos.x()), static_cast<int>(pos.y())};
  e.buttons = Buttons(buttons);
  e.modifiers = ToModifiers(mods);
  return e;
}

Qt::ToolBarArea ToArea(DockSide side) {
  switch (side) {
    case DockSide::Top:
      return Qt::TopToolBarArea;
    case DockSide::Bottom:
      return Qt::BottomToolBarArea;
    case DockSide::Left:
      return Qt::LeftToolBarArea;
    case DockSide::Right:
      return Qt::RightToolBarArea;
    case DockSide::Floating:
      return Qt::TopToolBarArea;
  }
  return Qt::TopToolBarArea;
}

}  // namespace

// --- view ---

QtViewWidget::QtViewWidget(QtView& owner, QWidget* parent) : QWidget(parent), owner_(&owner) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

ViewHandler* QtViewWidget::Handler() const { return owner_ ? owner_->Handler() : nullptr; }

void QtViewWidget::paintEvent(QPaintEvent*) {
  if (!owner_) return;
  owner_->Showing();
  owner_->Paint();
  QPainter p(this);
  p.drawImage(0, 0, owner_->Image());
  owner_->Shown();
}

void QtViewWidget::resizeEvent(QResizeEvent*) {
  if (owner_) owner_->Resized(width(), height());
}

void QtViewWidget::mousePressEvent(QMouseEvent* e) {
  if (!Handler()) return;
  const MouseAction a = e->button() == Qt::RightButton ? MouseAction::RightDown : MouseAction::LeftDown;
  if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
    Handler()->OnMouse(MakeMouse(a, e->position(), e->buttons(), e->modifiers()));
}

void QtViewWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (!Handler()) return;
  const MouseAction a = e->button() == Qt::RightButton ? MouseAction::RightUp : MouseAction::LeftUp;
  if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
    Handler()->OnMouse(MakeMouse(a, e->position(), e->buttons(), e->modifiers()));
}

void QtViewWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (!Handler()) return;
  const MouseAction a = e->button() == Qt::RightButton ? MouseAction::RightDoubleClick : MouseAction::LeftDoubleClick;
  Handler()->OnMouse(MakeMouse(a, e->position(), e->buttons(), e->modifiers()));
}

void QtViewWidget::mouseMoveEvent(QMouseEvent* e) {
  if (Handler()) Handler()->OnMouse(MakeMouse(MouseAction::Move, e->position(), e->buttons(), e->modifiers()));
}

void QtViewWidget::wheelEvent(QWheelEvent* e) {
  if (!Handler()) return;
  MouseEvent m = MakeMouse(MouseAction::Wheel, e->position(), e->buttons(), e->modifiers());
  m.wheelDelta = e->angleDelta().y();  // 120 per notch, as the system counts
  Handler()->OnMouse(m);
}

void QtViewWidget::keyPressEvent(QKeyEvent* e) {
  const int vk = ToVirtualKey(*e);
  if (vk != 0 && Handler())
    Handler()->OnKeyDown(vk, ToModifiers(e->modifiers()));
  else
    QWidget::keyPressEvent(e);
}

void QtViewWidget::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  if (Handler()) Handler()->OnFocusLost();
}

QtView::QtView(QWidget* parent)
    : widget_(new QtViewWidget(*this, parent)),
      image_(1, 1, QImage::Format_RGB32),
      painter_(std::make_shared<SharedPainter>(&image_)) {
  image_.fill(Qt::white);
  QPointer<QtViewWidget> w = widget_;
  painter_->SetOnChange([w] {
    if (w) w->update();
  });
}

QtView::~QtView() {
  for (auto& [id, t] : timers_) t->deleteLater();
  widget_->Detach();
  // A context the program still holds draws nothing from now on.
  painter_->SetOnChange(nullptr);
  painter_->SetImage(nullptr);
}

std::unique_ptr<DeviceContext> QtView::GetDC() { return std::make_unique<RasterContext>(painter_); }

void QtView::Invalidate() {
  paintPending_ = true;
  widget_->update();
}

void QtView::UpdateNow() {
  if (paintPending_) widget_->repaint();
}

Size QtView::ClientSize() const { return {widget_->width(), widget_->height()}; }

void QtView::SetBackgroundColor(Color c) { background_ = c; }

void QtView::Paint() {
  if (!paintPending_) return;
  paintPending_ = false;
  QPainter& p = painter_->Painter();
  p.save();
  p.setClipping(false);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(image_.rect(), ToQColor(background_));
  p.restore();
  painter_->owner_ = nullptr;
  if (!handler_) return;
  RasterContext dc(painter_);
  handler_->OnPaint(dc);
}

void QtView::Resized(int width, int height) {
  painter_->End();  // a new image takes a new painter
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(ToQColor(background_));
  paintPending_ = true;
  if (handler_) handler_->OnSize(width, height);
}

void QtView::SetTimer(int timerId, int milliseconds, TimerKind kind) {
  KillTimer(timerId);
  auto* t = new QTimer(widget_);
  t->setSingleShot(kind == TimerKind::OneShot);
  QObject::connect(t, &QTimer::timeout, widget_, [this, timerId, kind] {
    if (kind == TimerKind::OneShot) KillTimer(timerId);
    if (handler_) handler_->OnTimer(timerId);
  });
  timers_[timerId] = t;
  t->start(milliseconds);
}

void QtView::KillTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtView::SetCursor(int cursorId) { widget_->setCursor(CursorFor(cursorId)); }
void QtView::SetFocus() { widget_->setFocus(); }

Bitmap QtView::CopyClientArea(const Rect& area) const {
  const Rect r = area.Normalized();
  return ToBitmap(image_.copy(r.left, r.top, r.Width(), r.Height()));
}

// --- the view's list box ---

namespace {

// Keys pressed in the list box are the view's keys (arrows pan, F12 copies ...).
class ViewKeyForwarder final : public QObject {
 public:
  explicit ViewKeyForwarder(QtView& view) : view_(view) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int vk = ToVirtualKey(*key);
    if (vk == 0 || !view_.Handler()) return false;
    view_.Handler()->OnKeyDown(vk, ToModifiers(key->modifiers()));
    return true;
  }

 private:
  QtView& view_;
};

}  // namespace

QtViewListBox::QtViewListBox(QtView& view) : list_(new QListWidget(view.Widget())) {
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* forwarder = new ViewKeyForwarder(view);
  forwarder->setParent(list_);
  list_->installEventFilter(forwarder);
  list_->hide();
}

void QtViewListBox::SetRect(const Rect& r) {
  const Rect n = r.Normalized();
  list_->setGeometry(n.left, n.top, n.Width(), n.Height());
}

Rect QtViewListBox::GetRect() const {
  const QRect g = list_->geometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void QtViewListBox::Show(bool on) { list_->setVisible(on); }
bool QtViewListBox::IsVisible() const { return !list_->isHidden(); }

int QtViewListBox::AddString(std::string_view cp932) {
  list_->addItem(ToQString(cp932));
  return list_->count() - 1;
}

void QtViewListBox::DeleteString(int row) {
  if (row < 0 || row >= list_->count()) return;
  delete list_->takeItem(row);
}

void QtViewListBox::ResetContent() { list_->clear(); }
int QtViewListBox::GetCount() const { return list_->count(); }

std::string QtViewListBox::GetString(int row) const {
  const QListWidgetItem* item = list_->item(row);
  return item ? FromQString(item->text()) : std::string();
}

void QtViewListBox::SetCurSel(int row) {
  list_->setCurrentRow(row);
  if (QListWidgetItem* item = list_->item(row)) list_->scrollToItem(item);
}

int QtViewListBox::GetCurSel() const { return list_->currentRow(); }

void QtViewListBox::SetFont(const Font& font) { list_->setFont(ToQFont(font, std::max(1, std::abs(font.height)))); }

ViewListBox& QtView::ListBox() {
  if (!listBox_) listBox_ = std::make_unique<QtViewListBox>(*this);
  return *listBox_;
}

// --- frame ---

QtFrame::QtFrame() : window_(new MainWindow(*this)) {
  view_ = std::make_unique<QtView>(window_);
  window_->setCentralWidget(view_->Widget());
  window_->resize(1280, 900);
}

QtFrame::~QtFrame() {
  CloseDialogsOwnedBy(this);
  for (auto& [id, t] : timers_) t->deleteLater();
  view_.reset();
  if (window_) {
    window_->hide();
    window_->deleteLater();
  }
}

QAction* QtFrame::MakeAction(int commandId, const QString& caption, QObject* parent) {
  auto* a = new QAction(caption, parent);
  a->setCheckable(true);
  QObject::connect(a, &QAction::triggered, window_, [this, commandId] {
    ApplyState(commandId);  // a click toggled the action; the program's state decides
    Route(commandId);
  });
  a->setProperty("tableCaption", caption);  // each menu or bar keeps its own caption
  actions_.emplace(commandId, a);
  ApplyState(commandId);
  return a;
}

void QtFrame::SetMenu(const std::vector<MenuItem>& menuBar) {
  QMenuBar* bar = window_->menuBar();
  bar->clear();
  std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* menu,
                                                                       const std::vector<MenuItem>& items) {
    for (const MenuItem& m : items) {
      if (m.IsSeparator())
        menu->addSeparator();
      else if (!m.items.empty())
        fill(menu->addMenu(ToQString(m.caption)), m.items);
      else
        menu->addAction(MakeAction(m.commandId, ToQString(m.caption), menu));
    }
    QObject::connect(menu, &QMenu::aboutToShow, window_, [this, menu] { UpdateMenu(menu); });
  };
  for (const MenuItem& top : menuBar) {
    if (top.items.empty()) {
      bar->addAction(MakeAction(top.commandId, ToQString(top.caption), bar));
    } else {
      fill(bar->addMenu(ToQString(top.caption)), top.items);
    }
  }
}

int QtFrame::TrackPopupMenu(const std::vector<MenuItem>& items, Point viewPoint) {
  // Its own actions, not the routed ones: the caller acts on the choice.
  QMenu popup(window_);
  std::function<void(QMenu*, const std::vector<MenuItem>&)> fill = [&](QMenu* menu,
                                                                       const std::vector<MenuItem>& entries) {
    for (const MenuItem& m : entries) {
      if (m.IsSeparator()) {
        menu->addSeparator();
      } else if (!m.items.empty()) {
        fill(menu->addMenu(ToQString(m.caption)), m.items);
      } else {
        RunUpdate(m.commandId);
        const CommandState state = GetCommandState(m.commandId);
        QAction* a = menu->addAction(ToQString(state.caption ? *state.caption : m.caption));
        a->setData(m.commandId);
        a->setEnabled(state.enabled);
        a->setCheckable(state.check != CheckState::Unchecked);
        a->setChecked(state.check == CheckState::Checked);
      }
    }
  };
  fill(&popup, items);
  // The triggered signal reaches the top menu from every sub-menu, however
  // the entry was chosen (mouse, keys).
  int chosen = 0;
  QObject::connect(&popup, &QMenu::triggered, [&chosen](QAction* a) { chosen = a->data().toInt(); });
  popup.exec(view_->Widget()->mapToGlobal(QPoint(viewPoint.x, viewPoint.y)));
  return chosen;
}

void QtFrame::UpdateMenu(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    for (auto& [id, action] : actions_) {
      if (action == a) {
        RunUpdate(id);
        break;
      }
    }
  }
}

void QtFrame::FillToolBar(QToolBar* bar, const std::vector<ToolButton>& buttons, int buttonWidth) {
  bar->clear();
  // A bar of images shows the images (a button without one its caption); a
  // bar of captions shows the captions.
  const bool images =
      std::any_of(buttons.begin(), buttons.end(), [](const ToolButton& b) { return !b.image.IsEmpty(); });
  bar->setToolButtonStyle(images ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
  for (const ToolButton& b : buttons) {
    if (b.commandId == 0) {
      bar->addSeparator();
      continue;
    }
    QAction* a = MakeAction(b.commandId, ToQString(b.caption), bar);
    a->setToolTip(ToQString(b.caption));
    if (!b.image.IsEmpty()) a->setIcon(QPixmap::fromImage(ToQImage(b.image)));
    bar->addAction(a);
    if (buttonWidth > 0)
      if (QWidget* w = bar->widgetForAction(a)) w->setMinimumWidth(buttonWidth);
  }
}

void QtFrame::AddToolBar(const ToolBarSpec& decl) {
  auto* bar = new QToolBar(window_);
  bar->setObjectName(QStringLiteral("bar_%1").arg(decl.barId));
  window_->addToolBar(ToArea(decl.side), bar);
  if (decl.side == DockSide::Floating) bar->setFloatable(true);
  Bar entry{bar, decl.buttonWidth, {}};
  for (const ToolButton& b : decl.buttons)
    if (b.commandId) entry.ids.push_back(b.commandId);
  FillToolBar(bar, decl.buttons, decl.buttonWidth);
  bar->setVisible(decl.shown);
  bars_[decl.barId] = entry;
}

bool QtFrame::ReloadToolBar(int barId, const std::vector<ToolButton>& buttons) {
  auto it = bars_.find(barId);
  if (it == bars_.end()) return false;
  it->second.ids.clear();
  for (const ToolButton& b : buttons)
    if (b.commandId) it->second.ids.push_back(b.commandId);
  FillToolBar(it->second.bar, buttons, it->second.buttonWidth);
  return true;
}

void QtFrame::ShowToolBar(int barId, bool shown) {
  auto it = bars_.find(barId);
  if (it != bars_.end()) it->second.bar->setVisible(shown);
}

bool QtFrame::IsToolBarShown(int barId) const {
  auto it = bars_.find(barId);
  return it != bars_.end() && !it->second.bar->isHidden();
}

void QtFrame::DockToolBar(int barId, DockSide side) {
  auto it = bars_.find(barId);
  if (it == bars_.end()) return;
  window_->addToolBar(ToArea(side), it->second.bar);
}

DockSide QtFrame::ToolBarDock(int barId) const {
  auto it = bars_.find(barId);
  if (it == bars_.end()) return DockSide::Top;
  if (it->second.bar->isFloating()) return DockSide::Floating;
  switch (window_->toolBarArea(it->second.bar)) {
    case Qt::BottomToolBarArea:
      return DockSide::Bottom;
    case Qt::LeftToolBarArea:
      return DockSide::Left;
    case Qt::RightToolBarArea:
      return DockSide::Right;
    default:
      return DockSide::Top;
  }
}

Bitmap QtFrame::Snapshot() const {
  if (!window_) return {};
  return ToBitmap(window_->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void QtFrame::SetCommandState(int commandId, const CommandState& state) {
  states_[commandId] = state;
  ApplyState(commandId);
}

CommandState QtFrame::GetCommandState(int commandId) const {
  auto it = states_.find(commandId);
  return it == states_.end() ? CommandState{} : it->second;
}

// Menus show a tick for checked and indeterminate; tool buttons look pressed
// when checked or pressed.
void QtFrame::ApplyState(int commandId) {
  const CommandState s = GetCommandState(commandId);
  auto range = actions_.equal_range(commandId);
  for (auto it = range.first; it != range.second; ++it) {
    QAction* a = it->second;
    if (!a) continue;
    a->setEnabled(s.enabled);
    a->setChecked(s.check != CheckState::Unchecked || s.pressed);
    a->setText(s.caption ? ToQString(*s.caption) : a->property("tableCaption").toString());
  }
}

void QtFrame::RunUpdate(int commandId) {
  if (!update_) return;
  CommandUpdate u(commandId, GetCommandState(commandId));
  update_(u);
  SetCommandState(commandId, u.State());
}

void QtFrame::UpdateToolBars() {
  for (auto& [barId, bar] : bars_)
    for (int id : bar.ids) RunUpdate(id);
}

void QtFrame::Route(int commandId) {
  if (closed_ || !GetCommandState(commandId).enabled) return;
  if (router_) router_(commandId);
  UpdateToolBars();
}

void QtFrame::SetTitle(const std::string& cp932) { window_->setWindowTitle(ToQString(cp932)); }
std::string QtFrame::Title() const { return FromQString(window_->windowTitle()); }

Rect QtFrame::WindowRect() const {
  const QRect g = window_->frameGeometry();
  return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void QtFrame::SetWindowRect(const Rect& r) {
  const Rect n = r.Normalized();
  window_->setGeometry(n.left, n.top, n.Width(), n.Height());
}

void QtFrame::Maximize() { window_->showMaximized(); }
bool QtFrame::IsMaximized() const { return window_->isMaximized(); }
void QtFrame::Show() { window_->show(); }

bool QtFrame::AllowClose() {
  if (closed_) return true;
  if (close_ && !close_()) return false;
  closed_ = true;
  CloseDialogsOwnedBy(this);
  return true;
}

void QtFrame::RequestClose() {
  if (window_->isVisible())
    window_->close();  // closeEvent asks AllowClose
  else
    AllowClose();
}

void QtFrame::SetTimer(int timerId, int milliseconds, TimerKind kind) {
  KillTimer(timerId);
  auto* t = new QTimer(window_);
  t->setSingleShot(kind == TimerKind::OneShot);
  QObject::connect(t, &QTimer::timeout, window_, [this, timerId, kind] {
    if (kind == TimerKind::OneShot) KillTimer(timerId);
    if (timerHandler_) timerHandler_(timerId);
  });
  timers_[timerId] = t;
  t->start(milliseconds);
}

void QtFrame::KillTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

}  // namespace platform::qt
