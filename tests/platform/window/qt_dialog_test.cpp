// One dialog table built by the desktop backend, clicked and typed into
// through its real widgets, gives the same results as the headless backend.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <ctime>
#include <filesystem>
#include <functional>

#include "platform/dialog.h"
#include "platform/headless/headless_backend.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/text.h"
#include "qt_test_support.h"
#include "tests/support/test_support.h"

namespace {

using platform::ControlKind;
using platform::Dialog;
using platform::Sjis;
namespace cs = platform::control_style;

// A settings dialog with a group, a label and field per row, a list, a
// combo, a slider and its buttons; Enter commits a field and moves on.
class SettingsDialog : public Dialog {
 public:
  SettingsDialog()
      : Dialog(232, Sjis(" 各 種 設 定"),
               {{ControlKind::GroupBox, 100, Sjis("ワーク")},
                {ControlKind::StaticText, -1, Sjis("横幅(X)"), 100},
                {ControlKind::Edit, 1066, "", 100},
                {ControlKind::StaticText, -1, Sjis("縦幅(Y)"), 100},
                {ControlKind::Edit, 1067, "", 100},
                {ControlKind::GroupBox, 200, Sjis("IP表示有無")},
                {ControlKind::RadioButton, 1148, Sjis("表示有"), 200},
                {ControlKind::RadioButton, 1149, Sjis("表示無"), 200},
                {ControlKind::CheckBox, 1466, Sjis("破線")},
                {ControlKind::StaticText, -1, Sjis("機械名")},
                {ControlKind::ListBox, 1300, "", 0, 0, 80},
                {ControlKind::StaticText, -1, Sjis("ポスト")},
                {ControlKind::ComboBox, 1400, "", 0, 0, 0, cs::kDropList},
                {ControlKind::StaticText, -1, Sjis("寸法[文字]")},
                {ControlKind::Slider, 1471, "", 0, 0, 0, cs::kTicks},
                {ControlKind::PushButton, 1020, Sjis("登 録")},
                {ControlKind::PushButton, 2, Sjis("キャンセル")}}) {}

  double width = 0, depth = 0;
  int focusLosses = 0;

 protected:
  bool OnInit() override {
    for (const char* m : {"MC-1", "MC-2", "MC-3"}) AddItem(1300, m);
    AddItem(1400, Sjis("標準"));
    AddItem(1400, Sjis("特殊"));
    SetCurSel(1400, 0);
    SetRange(1471, 1, 19);
    SetTick(1471, 19);
    SetPos(1471, 5);
    SetCheck(1148, 1);
    return true;
  }
  void OnFocusGained(int id) override {
    Commit();
    field_ = (id == 1066 || id == 1067) ? id : 0;
  }
  void OnFocusLost(int) override { ++focusLosses; }
  void OnClick(int id) override {
    if (id == 1020) {
      Commit();
      EndDialog(platform::kIdOk);
    }
  }
  void OnOk() override {
    Commit();
    NextControl();
  }

 private:
  void Commit() {
    if (field_ == 0) return;
    const std::string t = GetText(field_);
    if (!t.empty()) (field_ == 1066 ? width : depth) = std::stod(t);
    field_ = 0;
  }
  int field_ = 0;
};

// What a user does, written once for both backends.
struct UserActions {
  std::function<void(int, const char*)> type;
  std::function<void(int)> click;
  std::function<void()> enter;
  std::function<void(int, int)> select;
  std::function<void(int, int)> slide;
};

void RunScenario(const UserActions& u) {
  u.type(1066, "100");
  u.enter();  // commits and moves to 1067
  u.type(1067, "60");
  u.click(1149);
  u.click(1466);
  u.select(1300, 2);
  u.select(1400, 1);
  u.slide(1471, 7);
  u.click(1020);
}

struct Outcome {
  int code;
  double width, depth;
  int ip0, ip1, dashed, machine, post, slider;
  std::string postText;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << "code " << o.code << " width " << o.width << " depth " << o.depth << " ip " << o.ip0 << "/" << o.ip1
      << " dashed " << o.dashed << " machine " << o.machine << " post " << o.post << " slider " << o.slider;
}

Outcome Read(const SettingsDialog& d, int code) {
  return {code,
          d.width,
          d.depth,
          d.GetCheck(1148),
          d.GetCheck(1149),
          d.GetCheck(1466),
          d.GetCurSel(1300),
          d.GetCurSel(1400),
          d.GetPos(1471),
          d.GetText(1400)};
}

Outcome RunHeadless() {
  auto& backend = platform::headless::InstallHeadlessBackend();
  SettingsDialog dlg;
  backend.WhenDialogOpens(232, [](platform::headless::DialogDriver& d) {
    RunScenario({[&](int id, const char* t) { d.Type(id, t); }, [&](int id) { d.Click(id); }, [&] { d.PressEnter(); },
                 [&](int id, int row) { d.Select(id, row); }, [&](int id, int v) { d.Scroll(id, v); }});
  });
  const int code = dlg.DoModal();
  Outcome o = Read(dlg, code);
  EXPECT_TRUE(backend.Problems().empty());
  platform::UninstallBackend();
  return o;
}

using testsupport::ControlWidget;
using testsupport::SettleQt;

UserActions QtActions(const Dialog& dlg) {
  auto window = [&dlg] { return platform::qt::DialogWindow(dlg); };
  UserActions u;
  u.type = [window](int id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(ControlWidget(window(), id));
    ASSERT_NE(edit, nullptr);
    QTest::mouseClick(edit, Qt::LeftButton);  // a click gives the field the focus
    SettleQt();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(text));
    SettleQt();
  };
  u.click = [window](int id) {
    auto* b = qobject_cast<QAbstractButton*>(ControlWidget(window(), id));
    ASSERT_NE(b, nullptr);
    // Check boxes and radio buttons take clicks on their mark and caption only.
    const bool marked = qobject_cast<QPushButton*>(b) == nullptr;
    QTest::mouseClick(b, Qt::LeftButton, {}, marked ? QPoint(8, b->height() / 2) : b->rect().center());
    SettleQt();
  };
  u.enter = [window] {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window();
    QTest::keyClick(target, Qt::Key_Return);
    SettleQt();
  };
  u.select = [window](int id, int row) {
    QWidget* w = ControlWidget(window(), id);
    if (auto* list = qobject_cast<QListWidget*>(w)) {
      const QRect r = list->visualItemRect(list->item(row));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      combo->setCurrentIndex(row);
      emit combo->activated(row);  // as choosing from the open list does
    }
    SettleQt();
  };
  u.slide = [window](int id, int v) {
    auto* s = qobject_cast<QSlider*>(ControlWidget(window(), id));
    ASSERT_NE(s, nullptr);
    s->setValue(v);  // as dragging the thumb does
    SettleQt();
  };
  return u;
}

using QtDialogTest = windowtest::QtTest;

TEST_F(QtDialogTest, TheSameTableGivesTheSameResultsOnBothBackends) {
  const Outcome headless = RunHeadless();
  SetUpTestSuite();  // the desktop backend again

  SettingsDialog dlg;
  QTimer::singleShot(0, [&] {
    QDialog* w = platform::qt::DialogWindow(dlg);
    ASSERT_NE(w, nullptr);
    RunScenario(QtActions(dlg));
  });
  const int code = dlg.DoModal();
  const Outcome desktop = Read(dlg, code);

  const Outcome expected{platform::kIdOk, 100, 60, 0, 1, 1, 2, 1, 7, Sjis("特殊")};
  EXPECT_EQ(headless, expected);
  EXPECT_EQ(desktop, expected);
  EXPECT_EQ(platform::qt::DialogWindow(dlg), nullptr) << "the window is gone after the modal run";
}

// The other kinds: rich edit, list control, tab bar, multiple selection,
// spin and an editable combo.
class EditorDialog : public Dialog {
 public:
  EditorDialog()
      : Dialog(140, Sjis("NCデータ編集"),
               {{ControlKind::RichEdit, 4435, "", 0, 300, 120},
                {ControlKind::ListControl, 1500},
                {ControlKind::TabControl, 1600},
                {ControlKind::ListBox, 1301, "", 0, 0, 0, cs::kMultiSelect},
                {ControlKind::Spin, 1701},
                {ControlKind::ComboBox, 1401},
                {ControlKind::PushButton, 1, "OK"}}) {}
  std::vector<int> tabChanges;

 protected:
  bool OnInit() override {
    StreamIn(4435, "G00 X0.\r\nG01 X1.\r\n");
    InsertColumn(1500, 0, Sjis("工具名"), 100);
    InsertColumn(1500, 1, Sjis("径"), 60);
    for (const char* t : {"T1", "T2", "T3"}) InsertRow(1500, -1, t);
    SetCellText(1500, 1, 1, "10.0");
    for (int i = 1; i <= 3; ++i) AddItem(1600, Sjis("工程[") + std::to_string(i) + "]");
    SetCurSel(1600, 0);
    for (const char* r : {"r0", "r1", "r2", "r3"}) AddItem(1301, r);
    SetRange(1701, 0, 9);
    for (const char* c : {"Alpha", "Beta"}) AddItem(1401, c);
    return true;
  }
  void OnSelectionChanged(int id) override {
    if (id == 1600) tabChanges.push_back(GetCurSel(1600));
  }
};

struct EditorActions {
  std::function<void()> typeAtEnd;  // "M30" after the last line
  std::function<void(int)> selectRow;
  std::function<void(int)> selectTab;
  std::function<void(int)> toggleRow;
  std::function<void(int)> spin;
  std::function<void(const char*)> typeCombo;
  std::function<void()> ok;
};

void RunEditorScenario(const EditorActions& u) {
  u.typeAtEnd();
  u.selectRow(1);
  u.selectTab(2);
  u.toggleRow(2);
  u.toggleRow(0);
  u.spin(4);
  u.typeCombo("Gamma");
  u.ok();
}

struct EditorOutcome {
  int code;
  std::string text;
  bool modified;
  int row, tab;
  std::vector<int> rows, tabChanges;
  int spin;
  std::string combo;
  bool operator==(const EditorOutcome&) const = default;
};

void PrintTo(const EditorOutcome& o, std::ostream* os) {
  *os << "code " << o.code << " text [" << o.text << "] modified " << o.modified << " row " << o.row << " tab " << o.tab
      << " rows " << testing::PrintToString(o.rows) << " tabs " << testing::PrintToString(o.tabChanges) << " spin "
      << o.spin << " combo " << o.combo;
}

EditorOutcome ReadEditor(const EditorDialog& d, int code) {
  return {code,
          d.StreamOut(4435),
          d.IsModified(4435),
          d.GetCurSel(1500),
          d.GetCurSel(1600),
          d.GetSelectedRows(1301),
          d.tabChanges,
          d.GetPos(1701),
          d.GetText(1401)};
}

TEST_F(QtDialogTest, TheOtherControlKindsGiveTheSameResultsOnBothBackends) {
  auto& headlessBackend = platform::headless::InstallHeadlessBackend();
  EditorDialog headlessDlg;
  headlessBackend.WhenDialogOpens(140, [](platform::headless::DialogDriver& d) {
    RunEditorScenario({[&] {
                         d.SelectText(4435, d.dialog().GetTextLength(4435), -1);
                         d.Type(4435, "M30");
                       },
                       [&](int row) { d.Select(1500, row); }, [&](int tab) { d.Select(1600, tab); },
                       [&](int row) { d.ToggleSelection(1301, row); }, [&](int v) { d.Scroll(1701, v); },
                       [&](const char* t) { d.Type(1401, t); }, [&] { d.Click(1); }});
  });
  const EditorOutcome headless = ReadEditor(headlessDlg, headlessDlg.DoModal());
  platform::UninstallBackend();
  SetUpTestSuite();

  EditorDialog dlg;
  QTimer::singleShot(0, [&] {
    QDialog* w = platform::qt::DialogWindow(dlg);
    ASSERT_NE(w, nullptr);
    RunEditorScenario({[&] {
                         auto* e = qobject_cast<QPlainTextEdit*>(ControlWidget(w, 4435));
                         e->setFocus();
                         e->moveCursor(QTextCursor::End);
                         QTest::keyClicks(e, QStringLiteral("M30"));
                         SettleQt();
                       },
                       [&](int row) {
                         auto* t = qobject_cast<QTreeWidget*>(ControlWidget(w, 1500));
                         QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                                           t->visualItemRect(t->topLevelItem(row)).center());
                         SettleQt();
                       },
                       [&](int tab) {
                         auto* bar = qobject_cast<QTabBar*>(ControlWidget(w, 1600));
                         QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
                         SettleQt();
                       },
                       [&](int row) {
                         auto* l = qobject_cast<QListWidget*>(ControlWidget(w, 1301));
                         QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
                         SettleQt();
                       },
                       [&](int v) {
                         qobject_cast<QSpinBox*>(ControlWidget(w, 1701))->setValue(v);
                         SettleQt();
                       },
                       [&](const char* t) {
                         auto* c = qobject_cast<QComboBox*>(ControlWidget(w, 1401));
                         c->lineEdit()->selectAll();
                         QTest::keyClicks(c->lineEdit(), QString::fromUtf8(t));
                         SettleQt();
                       },
                       [&] {
                         QTest::mouseClick(qobject_cast<QPushButton*>(ControlWidget(w, 1)), Qt::LeftButton);
                         SettleQt();
                       }});
  });
  const EditorOutcome desktop = ReadEditor(dlg, dlg.DoModal());

  const EditorOutcome expected{platform::kIdOk, "G00 X0.\r\nG01 X1.\r\nM30", true, 1, 2, {2, 0}, {2}, 4, "Gamma"};
  EXPECT_EQ(headless, expected);
  EXPECT_EQ(desktop, expected);
}

TEST_F(QtDialogTest, WidgetsFollowTheModelAndKeepTheirCaptions) {
  SettingsDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  QDialog* w = platform::qt::DialogWindow(dlg);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8(" 各 種 設 定"));
  auto* reg = qobject_cast<QPushButton*>(ControlWidget(w, 1020));
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->text(), QString::fromUtf8("登 録"));

  dlg.SetText(1020, Sjis("変 更"));
  dlg.Enable(1466, false);
  dlg.SetText(1066, "12.5");
  dlg.AddItem(1300, "MC-4");
  SettleQt();  // item lists follow once per turn of the event loop
  EXPECT_EQ(reg->text(), QString::fromUtf8("変 更"));
  EXPECT_FALSE(ControlWidget(w, 1466)->isEnabled());
  EXPECT_EQ(qobject_cast<QLineEdit*>(ControlWidget(w, 1066))->text(), QStringLiteral("12.5"));
  EXPECT_EQ(qobject_cast<QListWidget*>(ControlWidget(w, 1300))->count(), 4);
  EXPECT_EQ(qobject_cast<QSlider*>(ControlWidget(w, 1471))->value(), 5);

  dlg.DestroyWindow();
  EXPECT_EQ(platform::qt::DialogWindow(dlg), nullptr);
}

TEST_F(QtDialogTest, CaptionsStayReadableWhenTextAndBackgroundAreOneColour) {
  platform::SetDialogBkColor(0x000000, 0x000000);
  SettingsDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  QDialog* w = platform::qt::DialogWindow(dlg);
  EXPECT_EQ(w->palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(w->palette().color(QPalette::WindowText), QColor(255, 255, 255));
  EXPECT_EQ(dlg.Colors(), (platform::DialogColors{0, 0})) << "the setting itself is kept";
  dlg.DestroyWindow();
  platform::SetDialogBkColor(0xC0C0C0, 0x000000);
}

TEST_F(QtDialogTest, FillingALongListStaysQuick) {
  SettingsDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  // The processor time of this process, not the wall clock: a busy machine
  // must not make the test fail, a refresh per item still does.
  const std::clock_t start = std::clock();
  for (int i = 0; i < 5000; ++i) dlg.AddItem(1300, "MC-" + std::to_string(i));
  SettleQt();
  EXPECT_EQ(qobject_cast<QListWidget*>(ControlWidget(platform::qt::DialogWindow(dlg), 1300))->count(), 5003);
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  EXPECT_LT(seconds, 5.0) << "one widget refresh per turn of the loop, not per item";
  dlg.DestroyWindow();
}

// The wheel reaches the dialog with the control under the cursor; a turn the
// dialog uses does not scroll that control, any other turn does.
TEST_F(QtDialogTest, TheWheelReachesTheDialogBeforeTheControlUnderTheCursor) {
  class WheelDialog : public Dialog {
   public:
    WheelDialog() : Dialog(950, "wheel", {{ControlKind::ListBox, 1300, "", 0, 120, 60}, {ControlKind::PushButton, 2, "x"}}) {}
    std::vector<std::pair<int, int>> turns;
    bool use = true;

   protected:
    bool OnMouseWheel(int id, int delta) override {
      turns.emplace_back(id, delta);
      return use;
    }
  };
  WheelDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  for (int i = 0; i < 60; ++i) dlg.AddItem(1300, "ROW-" + std::to_string(i));
  SettleQt();
  QDialog* w = platform::qt::DialogWindow(dlg);
  auto* list = qobject_cast<QListWidget*>(ControlWidget(w, 1300));
  ASSERT_NE(list, nullptr);
  quint64 time = 1;
  auto turn = [&time](QWidget* target, int delta) {
    QWheelEvent e(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    e.setTimestamp(time++);
    QApplication::sendEvent(target, &e);
  };
  turn(list->viewport(), -120);
  EXPECT_EQ(list->verticalScrollBar()->value(), 0) << "the dialog used the turn";
  dlg.use = false;
  turn(list->viewport(), -120);
  EXPECT_GT(list->verticalScrollBar()->value(), 0) << "a turn the dialog leaves scrolls the list";
  turn(w, 120);
  EXPECT_EQ(dlg.turns, (std::vector<std::pair<int, int>>{{1300, -120}, {1300, -120}, {0, 120}}));
  dlg.DestroyWindow();
}

// Each level opens the next from a timer; the inner one ends first.
class LevelDialog : public Dialog {
 public:
  LevelDialog(int level, std::vector<int>& ends)
      : Dialog(800 + level, "level", {{ControlKind::Edit, 10}}), level_(level), ends_(ends) {}

 protected:
  void OnShow() override { SetTimer(1, 1, platform::TimerKind::OneShot); }
  void OnTimer(int) override {
    if (level_ < 4) {
      LevelDialog inner(level_ + 1, ends_);
      const int code = inner.DoModal();
      ends_.push_back(800 + level_ + 1);
      EndDialog(code * 10 + level_);
    } else {
      EndDialog(level_);
    }
  }

 private:
  int level_;
  std::vector<int>& ends_;
};

TEST_F(QtDialogTest, NestedModalLoopsEndInTheRightOrder) {
  std::vector<int> ends;
  LevelDialog outer(1, ends);
  EXPECT_EQ(outer.DoModal(), 4321);
  EXPECT_EQ(ends, (std::vector<int>{804, 803, 802}));
  EXPECT_EQ(platform::ModalDialogDepth(), 0);
}

TEST_F(QtDialogTest, AHandlerThatPumpsRunsThePendingEventInside) {
  class Pumping : public Dialog {
   public:
    Pumping() : Dialog(900, "pump", {{ControlKind::PushButton, 5, "go"}}) {}

   protected:
    void OnShow() override {
      SetTimer(2, 1, platform::TimerKind::OneShot);   // starts the long work
      SetTimer(3, 30, platform::TimerKind::OneShot);  // the stop, pending while it runs
    }
    void OnTimer(int id) override {
      if (id == 3) {
        stop_ = 0xFFFF;
        return;
      }
      // A long computation polls: the stop arrives inside it.
      for (int i = 0; i < 5000 && stop_ == 0; ++i) {
        platform::PumpMessages();
        QThread::msleep(1);
      }
      EndDialog(stop_ == 0xFFFF ? 7 : 1);
    }

   private:
    int stop_ = 0;
  };
  Pumping dlg;
  EXPECT_EQ(dlg.DoModal(), 7);
}

// Ends from the focus-lost event of its first field.
class EndOnLeave : public Dialog {
 public:
  EndOnLeave() : Dialog(161, "pick", {{ControlKind::Edit, 10}, {ControlKind::Edit, 11}}) {}
  std::vector<int> gained;

 protected:
  void OnFocusGained(int id) override { gained.push_back(id); }
  void OnFocusLost(int id) override {
    if (id == 10) EndDialog(401);
  }
};

TEST_F(QtDialogTest, ADialogEndsFromAFocusEvent) {
  EndOnLeave dlg;
  QTimer::singleShot(0, [&] {
    QDialog* w = platform::qt::DialogWindow(dlg);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(ControlWidget(w, 11), Qt::LeftButton);
    SettleQt();
  });
  EXPECT_EQ(dlg.DoModal(), 401);
  EXPECT_EQ(dlg.gained, std::vector<int>{10});
}

TEST_F(QtDialogTest, OwnerDrawnButtonsArePaintedByTheDialog) {
  class Swatch : public Dialog {
   public:
    Swatch() : Dialog(196, Sjis("    カラーパレット"), {{ControlKind::OwnerDrawButton, 1000, Sjis("色"), 0, 60, 30}}) {}

   protected:
    void OnDrawItem(int, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override {
      dc.FillRect(item.rect, platform::Brush{item.disabled ? 0x808080u : 0x0000FFu});
    }
  } dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  QWidget* button = ControlWidget(platform::qt::DialogWindow(dlg), 1000);
  ASSERT_NE(button, nullptr);
  SettleQt();
  QImage picture = button->grab().toImage();
  EXPECT_EQ(picture.pixelColor(picture.width() / 2, 3), QColor(255, 0, 0));
  dlg.Enable(1000, false);
  picture = button->grab().toImage();
  EXPECT_EQ(picture.pixelColor(picture.width() / 2, 3), QColor(128, 128, 128));
  dlg.DestroyWindow();
}

TEST_F(QtDialogTest, ControlsOfATabControlSitOnTheirPages) {
  Dialog dlg(312, Sjis("加工定義"),
             {{ControlKind::TabControl, 1600},
              {ControlKind::StaticText, -1, Sjis("深さ"), 1600, 0, 0, 0, 0, 0},
              {ControlKind::Edit, 1040, "", 1600, 0, 0, 0, 0, 0},
              {ControlKind::CheckBox, 1041, Sjis("底面"), 1600, 0, 0, 0, 0, 1},
              {ControlKind::PushButton, 1, "OK"}});
  ASSERT_TRUE(dlg.CreateModeless());
  dlg.AddItem(1600, Sjis("条件"));
  dlg.AddItem(1600, Sjis("工具"));
  dlg.SetCurSel(1600, 0);
  QDialog* w = platform::qt::DialogWindow(dlg);
  auto* tabs = qobject_cast<QTabWidget*>(ControlWidget(w, 1600));
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("工具"));
  EXPECT_TRUE(tabs->widget(0)->isAncestorOf(ControlWidget(w, 1040)));
  EXPECT_TRUE(tabs->widget(1)->isAncestorOf(ControlWidget(w, 1041)));
  tabs->setCurrentIndex(1);  // the user picks the second page
  EXPECT_EQ(dlg.GetCurSel(1600), 1);
  dlg.SetCurSel(1600, 0);
  EXPECT_EQ(tabs->currentIndex(), 0);
  dlg.DestroyWindow();
}

TEST_F(QtDialogTest, WritesAPictureOfASampleDialog) {
  SettingsDialog dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  QDialog* w = platform::qt::DialogWindow(dlg);
  ASSERT_NE(w, nullptr);
  SettleQt();
  const QPixmap picture = w->grab();
  EXPECT_GT(picture.width(), 150);
  EXPECT_GT(picture.height(), 150);
  EXPECT_TRUE(std::filesystem::exists(testsupport::SavePicture(picture, "sample_dialog.png")));
  dlg.DestroyWindow();
}

}  // namespace
