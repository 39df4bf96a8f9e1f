#include "platform/qt/qt_dialog_host.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/raster_context.h"
#include "platform/unicode.h"

namespace platform::qt {

namespace {

constexpr const char* kIdProperty = "keltoControlId";

// The dialog window: Enter, Esc and the close box go to the dialog's model,
// which decides whether and how the dialog ends.
class ModelWindow final : public QDialog {
 public:
  ModelWindow(Dialog& model, QWidget* parent) : QDialog(parent), model_(model) {}
  void reject() override { model_.UserEscape(); }
  void accept() override { model_.UserEnter(); }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      model_.UserEnter();
      return;
    }
    if (e->key() == Qt::Key_Escape) {
      model_.UserEscape();
      return;
    }
    QDialog::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (isVisible()) model_.UserEscape();
  }

 private:
  Dialog& model_;
};

// An owner-drawn button: the dialog paints it through a raster context.
class OwnerDrawnButton final : public QPushButton {
 public:
  OwnerDrawnButton(Dialog& model, int id, QWidget* parent) : QPushButton(parent), model_(model), id_(id) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().button().color());
    {
      RasterContext dc(&image);
      OwnerDrawItem item;
      item.controlId = id_;
      item.rect = {0, 0, width(), height()};
      item.focused = hasFocus();
      item.selected = isDown();
      item.disabled = !isEnabled();
      model_.PaintItem(id_, dc, item);
    }
    QPainter p(this);
    p.drawImage(0, 0, image);
  }

 private:
  Dialog& model_;
  int id_;
};

// Keys pressed in a control reach the dialog first (F5 in the editor).
class KeyFilter final : public QObject {
 public:
  explicit KeyFilter(Dialog& model) : model_(model) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int vk = ToVirtualKey(*key);
    if (vk == 0 || vk == kKeyEnter || vk == kKeyEscape || vk == kKeyTab) return false;
    const int id = watched->property(kIdProperty).toInt();
    return model_.UserKey(id, vk, ToModifiers(key->modifiers()));
  }

 private:
  Dialog& model_;
};

// The wheel reaches the dialog before the control under the cursor: a
// dialog that uses the turn (a history or a page of rows) eats it, else the
// control scrolls as usual. Installed on the window, each control and each
// scrolling viewport. A turn no widget takes travels up to the parents as the
// same event, no longer marked spontaneous: it is offered only once.
class WheelFilter final : public QObject {
 public:
  WheelFilter(Dialog& model, QWidget* window) : QObject(window), model_(model), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const bool passedUp = !wheel->spontaneous() && wheel == last_ && wheel->timestamp() == lastTime_;
    if (passedUp) return false;
    last_ = wheel;
    lastTime_ = wheel->timestamp();
    // A used turn is marked accepted, so that it travels no further up.
    const bool used = model_.UserWheel(ControlIdAt(watched), wheel->angleDelta().y());
    if (used) event->accept();
    return used;
  }

 private:
  int ControlIdAt(QObject* watched) const {
    for (QObject* o = watched; o && o != window_; o = o->parent()) {
      const QVariant v = o->property(kIdProperty);
      if (v.isValid()) return v.toInt();
    }
    return 0;
  }

  Dialog& model_;
  QWidget* window_;
  const QWheelEvent* last_ = nullptr;
  quint64 lastTime_ = 0;
};

bool IsFieldKind(ControlKind k) {
  switch (k) {
    case ControlKind::Edit:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::ListControl:
    case ControlKind::ScrollBar:
    case ControlKind::Slider:
    case ControlKind::Spin:
    case ControlKind::RichEdit:
      return true;
    default:
      return false;
  }
}

bool IsButtonKind(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::OwnerDrawButton || k == ControlKind::BitmapButton;
}

// The font of lists of fixed columns: one whose Japanese characters are
// exactly two columns wide, as their CP932 bytes count, so that a column of
// Japanese text lines up with the ASCII ones; the system's fixed font where
// it is missing.
QFont FixedPitchFont() {
  static const QFont font = [] {
    const QString cjkMono = QStringLiteral("Noto Sans Mono CJK JP");
    if (QFontDatabase::hasFamily(cjkMono)) return QFont(cjkMono);
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
  }();
  return font;
}

// Rows of one container: a label waits for its field, neighbouring buttons
// share a row.
class RowBuilder {
 public:
  explicit RowBuilder(QGridLayout* grid) : grid_(grid) {}
  void Add(const ControlSpec& decl, QWidget* w) {
    if (decl.kind == ControlKind::StaticText) {
      FlushButtons();
      FlushLabel();
      label_ = w;
      return;
    }
    if (IsButtonKind(decl.kind)) {
      FlushLabel();
      if (!buttons_) buttons_ = new QHBoxLayout;
      buttons_->addWidget(w);
      return;
    }
    FlushButtons();
    if (decl.kind == ControlKind::ListBox && (decl.style & control_style::kFixedPitch) && label_) {
      // A list of fixed columns: the label before it is their heading and
      // stands above them, in the list's font so that it lines up.
      label_->setFont(FixedPitchFont());
      grid_->addWidget(label_, row_++, 0, 1, 2);
      grid_->addWidget(w, row_++, 0, 1, 2);
      label_ = nullptr;
      return;
    }
    if (IsFieldKind(decl.kind) && label_) {
      grid_->addWidget(label_, row_, 0);
      grid_->addWidget(w, row_++, 1);
      label_ = nullptr;
      return;
    }
    FlushLabel();
    grid_->addWidget(w, row_++, 0, 1, 2);
  }
  void Finish() {
    FlushLabel();
    FlushButtons();
  }

 private:
  void FlushLabel() {
    if (label_) grid_->addWidget(label_, row_++, 0, 1, 2);
    label_ = nullptr;
  }
  void FlushButtons() {
    if (!buttons_) return;
    buttons_->addStretch();
    grid_->addLayout(buttons_, row_++, 0, 1, 2);
    buttons_ = nullptr;
  }
  QGridLayout* grid_;
  QWidget* label_ = nullptr;
  QHBoxLayout* buttons_ = nullptr;
  int row_ = 0;
};

QString RichToQString(const std::u32string& t) { return QString::fromStdString(Utf32ToUtf8(t)); }

// Multi-line edits keep "\r\n" line ends in the model, as the system reads them.
std::string EditTextFromWidget(const QString& s) {
  QString t = s;
  t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return FromQString(t);
}

QString EditTextToWidget(const std::string& cp932) {
  QString t = ToQString(cp932);
  t.remove(QChar('\r'));
  return t;
}

QMenu* BuildMenu(QMenu* menu, const std::vector<MenuItem>& items, Dialog& model, QObject* receiver) {
  for (const MenuItem& m : items) {
    if (m.IsSeparator()) {
      menu->addSeparator();
    } else if (!m.items.empty()) {
      BuildMenu(menu->addMenu(ToQString(m.caption)), m.items, model, receiver);
    } else {
      QAction* a = menu->addAction(ToQString(m.caption));
      const int id = m.commandId;
      QObject::connect(a, &QAction::triggered, receiver, [&model, id] { model.UserCommand(id); });
    }
  }
  return menu;
}

}  // namespace

QtDialogHost::QtDialogHost(Dialog& dialog, QWidget* parent)
    : dialog_(dialog), window_(new ModelWindow(dialog, parent)), receiver_(std::make_unique<QObject>()) {
  Build();
}

QtDialogHost::~QtDialogHost() {
  for (auto& [id, t] : timers_) t->stop();
  receiver_.reset();  // no widget signal reaches the model any more
  if (window_) {
    window_->hide();
    window_->deleteLater();  // the host may go inside one of the window's own signals
  }
}

QWidget* QtDialogHost::Widget(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

void QtDialogHost::Build() {
  window_->setWindowTitle(ToQString(dialog_.Title()));
  auto* top = new QVBoxLayout(window_);
  if (!dialog_.MenuBar().empty()) {
    auto* bar = new QMenuBar(window_);
    for (const MenuItem& m : dialog_.MenuBar()) {
      if (m.items.empty()) {
        QAction* a = bar->addAction(ToQString(m.caption));
        const int id = m.commandId;
        QObject::connect(a, &QAction::triggered, receiver_.get(), [this, id] { dialog_.UserCommand(id); });
      } else {
        BuildMenu(bar->addMenu(ToQString(m.caption)), m.items, dialog_, receiver_.get());
      }
    }
    top->setMenuBar(bar);
  }

  // Containers first, so members may come before their group in the table.
  const auto& controls = dialog_.Controls();
  std::map<int, const ControlState*> containerSpecs;
  std::map<int, int> tabPages;  // tab control id -> number of pages its members use
  for (const ControlState& c : controls) {
    if (c.decl.kind == ControlKind::GroupBox || c.decl.kind == ControlKind::TabControl) containerSpecs[c.decl.id] = &c;
  }
  for (const ControlState& c : controls) {
    auto it = containerSpecs.find(c.decl.group);
    if (it != containerSpecs.end() && it->second->decl.kind == ControlKind::TabControl && &c != it->second)
      tabPages[c.decl.group] = std::max(tabPages[c.decl.group], c.decl.page + 1);
  }

  auto* mainWidget = new QWidget(window_);
  auto* mainGrid = new QGridLayout(mainWidget);
  mainGrid->setContentsMargins(0, 0, 0, 0);
  top->addWidget(mainWidget);
  std::map<QGridLayout*, std::unique_ptr<RowBuilder>> builders;
  builders[mainGrid] = std::make_unique<RowBuilder>(mainGrid);
  std::map<int, QGridLayout*> groupGrids;                 // group box id -> its grid
  std::map<std::pair<int, int>, QGridLayout*> pageGrids;  // (tab id, page) -> grid
  auto* keys = new KeyFilter(dialog_);
  keys->setParent(window_);
  auto* wheel = new WheelFilter(dialog_, window_);
  window_->installEventFilter(wheel);

  // Where a control goes: its group box, its tab page, or the dialog.
  auto gridFor = [&](const ControlState& c) -> QGridLayout* {
    auto it = containerSpecs.find(c.decl.group);
    if (it == containerSpecs.end() || it->second == &c) return mainGrid;
    if (it->second->decl.kind == ControlKind::GroupBox) {
      auto g = groupGrids.find(c.decl.group);
      return g == groupGrids.end() ? mainGrid : g->second;
    }
    auto p = pageGrids.find({c.decl.group, c.decl.page});
    return p == pageGrids.end() ? mainGrid : p->second;
  };

  // Containers are placed where they stand in the table; their grids exist
  // before any member is placed.
  for (const ControlState& c : controls) {
    if (!containerSpecs.count(c.decl.id) || containerSpecs[c.decl.id] != &c) continue;
    QWidget* w = MakeWidget(c, mainWidget);
    widgets_[c.decl.id] = w;
    if (c.decl.kind == ControlKind::GroupBox) {
      auto* grid = new QGridLayout(w);
      groupGrids[c.decl.id] = grid;
      builders[grid] = std::make_unique<RowBuilder>(grid);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
      for (int page = 0; page < tabPages[c.decl.id]; ++page) {
        auto* pageWidget = new QWidget(tabs);
        // The page paints the dialog's own background, so captions in the
        // dialog's text colour stay readable on it (the style's light page
        // would swallow white captions).
        pageWidget->setAutoFillBackground(true);
        auto* grid = new QGridLayout(pageWidget);
        tabs->addTab(pageWidget, QString());
        pageGrids[{c.decl.id, page}] = grid;
        builders[grid] = std::make_unique<RowBuilder>(grid);
      }
    }
  }
  for (const ControlState& c : controls) {
    const bool isContainer = containerSpecs.count(c.decl.id) && containerSpecs[c.decl.id] == &c;
    QGridLayout* grid = gridFor(c);
    QWidget* parent = grid->parentWidget();
    QWidget* w = isContainer ? widgets_[c.decl.id] : MakeWidget(c, parent);
    if (!isContainer && c.decl.id != -1 && !widgets_.count(c.decl.id)) widgets_[c.decl.id] = w;
    builders[grid]->Add(c.decl, w);
    if (c.decl.width > 0) w->setMinimumWidth(c.decl.width);
    if (c.decl.height > 0) w->setMinimumHeight(c.decl.height);
    if (c.decl.id != -1) {
      w->setProperty(kIdProperty, c.decl.id);
      w->setObjectName(QStringLiteral("ctl_%1").arg(c.decl.id));
      w->installEventFilter(keys);
      w->installEventFilter(wheel);
      if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) area->viewport()->installEventFilter(wheel);
      Connect(c, w);
      Sync(c, ControlChange::All);
    }
  }
  for (auto& [grid, builder] : builders) builder->Finish();
  ApplyColors();

  QObject::connect(qApp, &QApplication::focusChanged, receiver_.get(), [this](QWidget*, QWidget* now) {
    if (!now || !window_ || !window_->isAncestorOf(now)) return;
    const int id = ControlIdOf(now);
    if (id != 0) dialog_.UserFocus(id);
  });
}

QWidget* QtDialogHost::MakeWidget(const ControlState& c, QWidget* parent) {
  const unsigned style = c.decl.style;
  const QString caption = ToQString(c.decl.caption);
  switch (c.decl.kind) {
    case ControlKind::StaticText:
      return new QLabel(caption, parent);
    case ControlKind::Edit:
      if (style & control_style::kMultiLine) {
        auto* e = new QPlainTextEdit(parent);
        e->setTabChangesFocus(true);
        return e;
      } else {
        auto* e = new QLineEdit(parent);
        if (style & control_style::kPassword) e->setEchoMode(QLineEdit::Password);
        return e;
      }
    case ControlKind::PushButton:
    case ControlKind::BitmapButton: {
      auto* b = new QPushButton(caption, parent);
      b->setAutoDefault(false);  // Enter goes to the dialog, which picks the button
      b->setDefault(style & control_style::kDefaultButton);
      b->setCheckable(style & control_style::kCheckLook);
      return b;
    }
    case ControlKind::OwnerDrawButton: {
      auto* b = new OwnerDrawnButton(dialog_, c.decl.id, parent);
      b->setText(caption);
      b->setAutoDefault(false);
      b->setMinimumSize(40, 24);
      return b;
    }
    case ControlKind::CheckBox:
      return new QCheckBox(caption, parent);
    case ControlKind::RadioButton: {
      auto* r = new QRadioButton(caption, parent);
      r->setAutoExclusive(false);  // the model keeps the group exclusive
      return r;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(caption, parent);
    case ControlKind::ListBox: {
      auto* l = new QListWidget(parent);
      l->setSelectionMode((style & control_style::kMultiSelect) ? QAbstractItemView::MultiSelection
                                                                : QAbstractItemView::SingleSelection);
      if (style & control_style::kFixedPitch) l->setFont(FixedPitchFont());
      return l;
    }
    case ControlKind::ComboBox: {
      auto* cb = new QComboBox(parent);
      cb->setEditable(!(style & control_style::kDropList));
      if (cb->isEditable()) cb->setInsertPolicy(QComboBox::NoInsert);
      return cb;
    }
    case ControlKind::ListControl: {
      auto* t = new QTreeWidget(parent);
      t->setRootIsDecorated(false);
      t->setSelectionMode(QAbstractItemView::SingleSelection);
      return t;
    }
    case ControlKind::TabControl: {
      // Tabs with member controls are pages; without, a bar the dialog
      // answers by refreshing one set of controls.
      bool hasMembers = false;
      for (const ControlState& m : dialog_.Controls())
        if (m.decl.group == c.decl.id && &m != &c) hasMembers = true;
      if (hasMembers) return new QTabWidget(parent);
      auto* bar = new QTabBar(parent);
      bar->setExpanding(false);
      return bar;
    }
    case ControlKind::ScrollBar:
      return new QScrollBar((style & control_style::kVertical) ? Qt::Vertical : Qt::Horizontal, parent);
    case ControlKind::Slider: {
      auto* s = new QSlider((style & control_style::kVertical) ? Qt::Vertical : Qt::Horizontal, parent);
      if (style & control_style::kTicks) s->setTickPosition(QSlider::TicksBelow);
      return s;
    }
    case ControlKind::Spin:
      return new QSpinBox(parent);
    case ControlKind::RichEdit: {
      auto* e = new QPlainTextEdit(parent);
      e->setLineWrapMode(QPlainTextEdit::NoWrap);
      return e;
    }
  }
  return new QWidget(parent);
}

void QtDialogHost::Connect(const ControlState& c, QWidget* w) {
  const int id = c.decl.id;
  QObject* r = receiver_.get();
  Dialog& d = dialog_;
  auto guarded = [this](auto fn) {
    return [this, fn](auto&&... args) {
      if (!syncing_) fn(args...);
    };
  };
  switch (c.decl.kind) {
    case ControlKind::Edit:
      if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textEdited, r,
                         [&d, id](const QString& s) { d.UserReplaceText(id, FromQString(s)); });
      } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(pe, &QPlainTextEdit::textChanged, r,
                         guarded([&d, id, pe] { d.UserReplaceText(id, EditTextFromWidget(pe->toPlainText())); }));
      }
      break;
    case ControlKind::RichEdit:
      if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(pe, &QPlainTextEdit::textChanged, r, guarded([this, id, pe] { PushRichEdit(id, pe); }));
        QObject::connect(pe, &QPlainTextEdit::cursorPositionChanged, r,
                         guarded([this, id, pe] { PushRichEdit(id, pe); }));
      }
      break;
    case ControlKind::PushButton:
    case ControlKind::BitmapButton:
    case ControlKind::OwnerDrawButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, r, [this, id] {
        dialog_.UserClick(id);
        // The model decides the check state; a widget that toggled itself is put back.
        if (const ControlState* now = dialog_.Control(id)) Sync(*now, ControlChange::Check);
      });
      break;
    case ControlKind::ListBox:
      if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (c.decl.style & control_style::kMultiSelect) {
          QObject::connect(l, &QListWidget::itemClicked, r,
                           guarded([&d, id, l](QListWidgetItem* item) { d.UserToggleSelection(id, l->row(item)); }));
        } else {
          QObject::connect(l, &QListWidget::currentRowChanged, r, guarded([&d, id](int row) {
                             if (row != d.GetCurSel(id)) d.UserSelect(id, row);
                           }));
        }
        QObject::connect(l, &QListWidget::itemDoubleClicked, r,
                         guarded([&d, id, l](QListWidgetItem* item) { d.UserDoubleClick(id, l->row(item)); }));
      }
      break;
    case ControlKind::ComboBox:
      if (auto* cb = qobject_cast<QComboBox*>(w)) {
        QObject::connect(cb, &QComboBox::activated, r, guarded([&d, id](int row) { d.UserSelect(id, row); }));
        if (cb->lineEdit())
          QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, r,
                           [&d, id](const QString& s) { d.UserReplaceText(id, FromQString(s)); });
      }
      break;
    case ControlKind::ListControl:
      if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        QObject::connect(t, &QTreeWidget::currentItemChanged, r,
                         guarded([&d, id, t](QTreeWidgetItem* item, QTreeWidgetItem*) {
                           const int row = item ? t->indexOfTopLevelItem(item) : -1;
                           if (row != d.GetCurSel(id)) d.UserSelect(id, row);
                         }));
        QObject::connect(t, &QTreeWidget::itemDoubleClicked, r, guarded([&d, id, t](QTreeWidgetItem* item, int) {
                           d.UserDoubleClick(id, t->indexOfTopLevelItem(item));
                         }));
      }
      break;
    case ControlKind::TabControl:
      if (auto* tw = qobject_cast<QTabWidget*>(w))
        QObject::connect(tw, &QTabWidget::currentChanged, r, guarded([&d, id](int i) { d.UserSelect(id, i); }));
      else if (auto* tb = qobject_cast<QTabBar*>(w))
        QObject::connect(tb, &QTabBar::currentChanged, r, guarded([&d, id](int i) { d.UserSelect(id, i); }));
      break;
    case ControlKind::ScrollBar:
    case ControlKind::Slider:
      QObject::connect(static_cast<QAbstractSlider*>(w), &QAbstractSlider::valueChanged, r,
                       guarded([&d, id](int v) { d.UserScroll(id, v); }));
      break;
    case ControlKind::Spin:
      QObject::connect(static_cast<QSpinBox*>(w), &QSpinBox::valueChanged, r,
                       guarded([&d, id](int v) { d.UserScroll(id, v); }));
      break;
    default:
      break;
  }
}

// Puts the model's value into the widget, without the widget reporting it back.
void QtDialogHost::Sync(const ControlState& c, ControlChange what) {
  QWidget* w = Widget(c.decl.id);
  if (!w) return;
  const bool was = syncing_;
  syncing_ = true;
  w->setEnabled(c.enabled);
  if (w->isHidden() == c.visible) w->setVisible(c.visible);
  switch (c.decl.kind) {
    case ControlKind::StaticText:
      static_cast<QLabel*>(w)->setText(ToQString(c.text));
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(w)->setTitle(ToQString(c.text));
      break;
    case ControlKind::Edit:
      if (auto* e = qobject_cast<QLineEdit*>(w)) {
        const QString t = ToQString(c.text);
        if (e->text() != t) e->setText(t);
        e->setMaxLength(c.limit > 0 ? c.limit : 32767);
        e->setReadOnly(c.decl.style & control_style::kReadOnly);
      } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        const QString t = EditTextToWidget(c.text);
        if (pe->toPlainText() != t) pe->setPlainText(t);
        pe->setReadOnly(c.decl.style & control_style::kReadOnly);
      }
      break;
    case ControlKind::RichEdit:
      if (auto* pe = qobject_cast<QPlainTextEdit*>(w); pe && c.decl.id != echo_) {
        const QString t = RichToQString(c.richText);
        if (what != ControlChange::Selection && pe->toPlainText() != t) pe->setPlainText(t);
        pe->setReadOnly(c.decl.style & control_style::kReadOnly);
        QTextCursor cur = pe->textCursor();
        if (cur.selectionStart() != c.selectionStart || cur.selectionEnd() != c.selectionEnd) {
          cur.setPosition(c.selectionStart);
          cur.setPosition(c.selectionEnd, QTextCursor::KeepAnchor);
          pe->setTextCursor(cur);
        }
      }
      break;
    case ControlKind::PushButton:
    case ControlKind::OwnerDrawButton:
    case ControlKind::BitmapButton: {
      auto* b = static_cast<QPushButton*>(w);
      if (c.decl.kind == ControlKind::BitmapButton && !c.image.IsEmpty()) {
        b->setIcon(QPixmap::fromImage(ToQImage(c.image)));
        b->setIconSize(QSize(c.image.Width(), c.image.Height()));
        b->setText(QString());
      } else {
        b->setText(ToQString(c.text));
      }
      if (b->isCheckable()) b->setChecked(c.check != 0);
      b->update();
      break;
    }
    case ControlKind::CheckBox: {
      auto* cb = static_cast<QCheckBox*>(w);
      cb->setText(ToQString(c.text));
      if (c.check == 2) cb->setTristate(true);
      cb->setCheckState(c.check == 2 ? Qt::PartiallyChecked : c.check ? Qt::Checked : Qt::Unchecked);
      break;
    }
    case ControlKind::RadioButton: {
      auto* rb = static_cast<QRadioButton*>(w);
      rb->setText(ToQString(c.text));
      rb->setChecked(c.check == 1);
      break;
    }
    case ControlKind::ListBox: {
      auto* l = static_cast<QListWidget*>(w);
      bool same = l->count() == static_cast<int>(c.items.size());
      for (int i = 0; same && i < l->count(); ++i)
        same = l->item(i)->text() == ToQString(c.items[static_cast<std::size_t>(i)]);
      if (!same) {
        l->clear();
        for (const std::string& s : c.items) l->addItem(ToQString(s));
      }
      if (c.decl.style & control_style::kMultiSelect) {
        for (int i = 0; i < l->count(); ++i)
          l->item(i)->setSelected(std::find(c.selectedRows.begin(), c.selectedRows.end(), i) != c.selectedRows.end());
      } else {
        l->setCurrentRow(c.selection);
      }
      break;
    }
    case ControlKind::ComboBox: {
      auto* cb = static_cast<QComboBox*>(w);
      bool same = cb->count() == static_cast<int>(c.items.size());
      for (int i = 0; same && i < cb->count(); ++i)
        same = cb->itemText(i) == ToQString(c.items[static_cast<std::size_t>(i)]);
      if (!same) {
        cb->clear();
        for (const std::string& s : c.items) cb->addItem(ToQString(s));
      }
      if (cb->currentIndex() != c.selection) cb->setCurrentIndex(c.selection);
      if (cb->isEditable() && cb->currentText() != ToQString(c.text)) cb->setEditText(ToQString(c.text));
      break;
    }
    case ControlKind::ListControl: {
      auto* t = static_cast<QTreeWidget*>(w);
      QStringList headers;
      for (const ListColumn& col : c.columns) headers << ToQString(col.caption);
      t->setColumnCount(std::max<int>(1, static_cast<int>(c.columns.size())));
      t->setHeaderLabels(headers);
      for (int i = 0; i < static_cast<int>(c.columns.size()); ++i)
        t->setColumnWidth(i, c.columns[static_cast<std::size_t>(i)].width);
      t->clear();
      for (const auto& row : c.rows) {
        auto* item = new QTreeWidgetItem(t);
        for (int i = 0; i < static_cast<int>(row.size()); ++i)
          item->setText(i, ToQString(row[static_cast<std::size_t>(i)]));
      }
      if (c.selection >= 0 && c.selection < t->topLevelItemCount()) t->setCurrentItem(t->topLevelItem(c.selection));
      break;
    }
    case ControlKind::TabControl:
      if (auto* tw = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tw->count(); ++i)
          tw->setTabText(
              i, i < static_cast<int>(c.items.size()) ? ToQString(c.items[static_cast<std::size_t>(i)]) : QString());
        if (c.selection >= 0 && c.selection < tw->count()) tw->setCurrentIndex(c.selection);
      } else if (auto* tb = qobject_cast<QTabBar*>(w)) {
        while (tb->count() > static_cast<int>(c.items.size())) tb->removeTab(tb->count() - 1);
        for (int i = 0; i < static_cast<int>(c.items.size()); ++i) {
          if (i < tb->count())
            tb->setTabText(i, ToQString(c.items[static_cast<std::size_t>(i)]));
          else
            tb->addTab(ToQString(c.items[static_cast<std::size_t>(i)]));
        }
        if (c.selection >= 0 && c.selection < tb->count()) tb->setCurrentIndex(c.selection);
      }
      break;
    case ControlKind::ScrollBar:
    case ControlKind::Slider: {
      auto* s = static_cast<QAbstractSlider*>(w);
      s->setRange(c.rangeMin, c.rangeMax);
      if (c.lineStep > 0) s->setSingleStep(c.lineStep);
      if (c.pageStep > 0) s->setPageStep(c.pageStep);
      s->setValue(c.position);
      if (auto* slider = qobject_cast<QSlider*>(w); slider && !c.ticks.empty())
        slider->setTickInterval(std::max(1, c.rangeMax - c.rangeMin));
      break;
    }
    case ControlKind::Spin: {
      auto* s = static_cast<QSpinBox*>(w);
      s->setRange(c.rangeMin, c.rangeMax);
      s->setValue(c.position);
      break;
    }
  }
  syncing_ = was;
}

// The widget's text, then its cursor, go to the model. The widget is not
// refreshed from the model meanwhile (the cursor may move before the text is
// reported); only a text the model cut (its limit) is put back afterwards.
void QtDialogHost::PushRichEdit(int id, QPlainTextEdit* pe) {
  const int outer = echo_;
  echo_ = id;
  const QString widgetText = pe->toPlainText();
  const ControlState* c = dialog_.Control(id);
  if (c && RichToQString(c->richText) != widgetText) dialog_.UserReplaceText(id, FromQString(widgetText));
  const QTextCursor cur = pe->textCursor();
  dialog_.UserSetSelection(id, cur.selectionStart(), cur.selectionEnd());
  echo_ = outer;
  c = dialog_.Control(id);
  if (c && echo_ != id && RichToQString(c->richText) != pe->toPlainText()) Sync(*c, ControlChange::All);
}

// Whether black text would be hard to read on this colour (ITU-R BT.601
// luma weights, 128 the midpoint).
static bool IsDark(int red, int green, int blue) { return (299 * red + 587 * green + 114 * blue) / 1000 < 128; }

void QtDialogHost::ApplyColors() {
  const DialogColors colors = dialog_.Colors();
  Color text = colors.text;
  // Text in the background's own colour could not be read: such a setting
  // keeps its value but the captions are drawn in black or white, whichever
  // stands out.
  if (text == colors.background) text = IsDark(RedOf(text), GreenOf(text), BlueOf(text)) ? 0xFFFFFF : 0x000000;
  QPalette pal = window_->palette();
  pal.setColor(QPalette::Window, ToQColor(colors.background));
  pal.setColor(QPalette::WindowText, ToQColor(text));
  window_->setPalette(pal);
  window_->setAutoFillBackground(true);
  // Tabs are drawn in the style's own button shade, not the dialog's
  // background: their captions take black or white against that shade.
  for (QTabBar* bar : window_->findChildren<QTabBar*>()) {
    QPalette barPal = bar->palette();
    const QColor shade = barPal.color(QPalette::Button);
    const QColor caption = IsDark(shade.red(), shade.green(), shade.blue()) ? Qt::white : Qt::black;
    barPal.setColor(QPalette::WindowText, caption);
    barPal.setColor(QPalette::ButtonText, caption);
    bar->setPalette(barPal);
  }
}

int QtDialogHost::ControlIdOf(QWidget* w) const {
  for (QWidget* p = w; p && p != window_; p = p->parentWidget()) {
    const QVariant v = p->property(kIdProperty);
    if (v.isValid()) return v.toInt();
  }
  return 0;
}

void QtDialogHost::RunModal() {
  window_->setWindowModality(Qt::ApplicationModal);
  ShowModeless();
  if (dialog_.HasEnded()) return;
  QEventLoop loop;
  loop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  if (window_) window_->hide();
}

void QtDialogHost::ShowModeless() {
  FlushPendingItems();
  window_->adjustSize();
  WidenForTitle();
  window_->show();
  window_->activateWindow();
  if (QWidget* w = Widget(dialog_.FocusedControl())) w->setFocus();
}

void QtDialogHost::Refresh(int controlId, ControlChange what) {
  if (what == ControlChange::Items) {
    pendingItems_.insert(controlId);
    if (!flushScheduled_) {
      flushScheduled_ = true;
      QTimer::singleShot(0, receiver_.get(), [this] { FlushPendingItems(); });
    }
    return;
  }
  if (pendingItems_.count(controlId)) FlushPendingItems();
  if (const ControlState* c = dialog_.Control(controlId)) Sync(*c, what);
}

void QtDialogHost::FlushPendingItems() {
  flushScheduled_ = false;
  const std::set<int> ids = std::move(pendingItems_);
  pendingItems_.clear();
  for (int id : ids)
    if (const ControlState* c = dialog_.Control(id)) Sync(*c, ControlChange::All);
}

// A window as narrow as its controls shows only the start of a long title
// (the prompts put their question there): it is made wide enough for the
// whole title where the screen allows.
void QtDialogHost::WidenForTitle() {
  if (!window_) return;
  // The window's icon and its buttons share the title bar with the text.
  constexpr int kTitleBarExtras = 160;
  const QString title = window_->windowTitle();
  const int needed = QFontMetrics(window_->font()).horizontalAdvance(title) + kTitleBarExtras;
  int widest = needed;
  if (const QScreen* screen = window_->screen()) widest = std::min(needed, screen->availableGeometry().width());
  if (window_->width() < widest) window_->resize(widest, window_->height());
}

void QtDialogHost::RefreshTitle() {
  if (window_) window_->setWindowTitle(ToQString(dialog_.Title()));
  if (window_ && window_->isVisible()) WidenForTitle();
}

void QtDialogHost::FocusControl(int controlId) {
  if (QWidget* w = Widget(controlId); w && w->focusPolicy() != Qt::NoFocus) {
    const bool was = syncing_;
    syncing_ = true;
    w->setFocus();
    syncing_ = was;
  }
}

void QtDialogHost::StartTimer(int timerId, int milliseconds, TimerKind) {
  StopTimer(timerId);
  auto* t = new QTimer(receiver_.get());
  // One-shot timers are stopped by the model when they fire.
  QObject::connect(t, &QTimer::timeout, receiver_.get(), [this, timerId] { dialog_.UserTimer(timerId); });
  timers_[timerId] = t;
  t->start(milliseconds);
}

void QtDialogHost::StopTimer(int timerId) {
  auto it = timers_.find(timerId);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtDialogHost::RedrawItem(int controlId) {
  if (QWidget* w = Widget(controlId)) w->update();
}

void QtDialogHost::Ended(int code) {
  if (loop_) {
    loop_->exit(code);
  } else if (window_) {
    window_->hide();
  }
}

QDialog* DialogWindow(const Dialog& dialog) {
  // (Window() brings pending item lists up to date first.)
  auto* host = dynamic_cast<QtDialogHost*>(dialog.Host());
  return host ? host->Window() : nullptr;
}

}  // namespace platform::qt
