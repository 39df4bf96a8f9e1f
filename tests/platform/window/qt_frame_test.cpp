// The desktop main window: menus and tool bars from tables, routing, update
// handlers and the close request, on the off-screen platform.
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <filesystem>

#include "platform/choosers.h"
#include "platform/paths.h"
#include "platform/message_box.h"
#include "platform/qt/qt_frame.h"
#include "platform/text.h"
#include "qt_test_support.h"
#include "tests/support/test_support.h"

namespace {

using platform::MenuItem;
using platform::Sjis;

QList<QAction*> ActionsNamed(QMainWindow* w, const char* utf8) {
  QList<QAction*> found;
  for (QAction* a : w->findChildren<QAction*>())
    if (a->text() == QString::fromUtf8(utf8)) found << a;
  return found;
}

using QtFrameTest = windowtest::QtTest;

TEST_F(QtFrameTest, MenusAndBarsRouteCommandsAndShowTheirState) {
  auto owned = platform::CreateFrame();
  auto* frame = dynamic_cast<platform::qt::QtFrame*>(owned.get());
  ASSERT_NE(frame, nullptr);
  frame->SetMenu({{0, Sjis("表示(&V)"), {{33085, Sjis("寸法値[ON/OFF]")}, {33019, Sjis("レイヤー（&1）")}}}});
  frame->AddToolBar({128, {{32801, Sjis("拡大")}, {0, ""}, {33085, Sjis("寸法")}}, platform::DockSide::Right, 30});
  std::vector<int> routed;
  bool shown = false;
  frame->SetCommandRouter([&](int id) {
    routed.push_back(id);
    if (id == 33085) shown = !shown;
  });
  frame->SetUpdateHandler([&](platform::CommandUpdate& u) {
    if (u.Id() == 33085) u.SetCheck(shown);
  });
  frame->Show();

  const auto menuItems = ActionsNamed(frame->Window(), "寸法値[ON/OFF]");
  ASSERT_EQ(menuItems.size(), 1);
  menuItems.front()->trigger();
  EXPECT_EQ(routed, std::vector<int>{33085});
  const auto barButtons = ActionsNamed(frame->Window(), "寸法");
  ASSERT_EQ(barButtons.size(), 1);
  EXPECT_TRUE(barButtons.front()->isChecked()) << "bars are refreshed after each command";
  EXPECT_TRUE(menuItems.front()->isChecked());

  frame->SetCommandEnabled(32801, false);
  ActionsNamed(frame->Window(), "拡大").front()->trigger();
  EXPECT_EQ(routed.size(), 1u) << "a disabled command is not routed";

  frame->SetCommandCaption(33085, Sjis("寸法値[OFF]"));
  EXPECT_EQ(ActionsNamed(frame->Window(), "寸法値[OFF]").size(), 2);

  EXPECT_TRUE(frame->ReloadToolBar(128, {{32802, Sjis("縮小")}}));
  EXPECT_EQ(ActionsNamed(frame->Window(), "縮小").size(), 1);
  frame->ShowToolBar(128, false);
  EXPECT_FALSE(frame->IsToolBarShown(128));
}

TEST_F(QtFrameTest, TheCloseRequestAsksTheProgram) {
  auto frame = platform::CreateFrame();
  bool allow = false;
  frame->SetCloseHandler([&] { return allow; });
  frame->SetTitle(Sjis("Kelto_Win 図面"));
  frame->Show();
  frame->RequestClose();
  EXPECT_FALSE(frame->IsClosed());
  allow = true;
  frame->RequestClose();
  EXPECT_TRUE(frame->IsClosed());
  EXPECT_EQ(frame->Title(), Sjis("Kelto_Win 図面"));
}

// The answer of the button pressed, and of a box closed with Esc.
TEST_F(QtFrameTest, MessageBoxesAnswerWithTheButtonPressed) {
  struct Case {
    unsigned style;
    QMessageBox::StandardButton press;  // NoButton: Esc
    int answer;
  };
  const Case cases[] = {
      {0x24, QMessageBox::No, platform::kIdNo},         {0x24, QMessageBox::Yes, platform::kIdYes},
      {0x33, QMessageBox::Cancel, platform::kIdCancel}, {0x01, QMessageBox::Ok, platform::kIdOk},
      {0x24, QMessageBox::NoButton, platform::kIdNo},   {0x10, QMessageBox::NoButton, platform::kIdOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    QString shownText;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shownText = box->text();
      if (c.press == QMessageBox::NoButton)
        QTest::keyClick(box, Qt::Key_Escape);
      else
        box->button(c.press)->click();
    });
    EXPECT_EQ(platform::ShowMessageBox(Sjis("強制終了しますか....???"), "", c.style), c.answer);
    EXPECT_EQ(shownText, QString::fromUtf8("強制終了しますか....???"));
  }
}

TEST_F(QtFrameTest, FileChooserShowsTheFiltersAndAnswersASystemName) {
  testsupport::TempFolder folder;
  const std::string name = Sjis("図面") + ".MZF";
  platform::FileChooserRequest request;
  request.save = true;
  request.folder = platform::SystemName(folder.path());
  request.filters = platform::ParseFileFilters(Sjis("図面 (*.MZF)|*.MZF|すべて (*.*)|*.*||"));
  request.defaultExtension = "MZF";
  QStringList filters;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    filters = dlg->nameFilters();
    dlg->selectFile(QString::fromUtf8("図面"));
    QMetaObject::invokeMethod(dlg, "accept");
  });
  const auto chosen = platform::ChooseFile(request);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(platform::NativePath(*chosen).filename().string(), platform::DiskName(name))
      << "the default extension is added";
  ASSERT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters[0].contains(QStringLiteral("*.MZF")));

  QTimer::singleShot(0, [] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->reject();
  });
  EXPECT_EQ(platform::ChooseFile(request), std::nullopt) << "cancelled";
}

TEST_F(QtFrameTest, ColourChooserAnswersTheSystemsColourLayout) {
  QTimer::singleShot(0, [] {
    auto* dlg = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->setCurrentColor(QColor(0x10, 0x20, 0x30));
    dlg->accept();
  });
  EXPECT_EQ(platform::ChooseColor(0), std::optional<platform::Color>(platform::Rgb(0x10, 0x20, 0x30)));
}

TEST_F(QtFrameTest, APopupMenuHandsBackTheChosenCommandWithoutRoutingIt) {
  auto owned = platform::CreateFrame();
  auto* frame = dynamic_cast<platform::qt::QtFrame*>(owned.get());
  ASSERT_NE(frame, nullptr);
  std::vector<int> routed;
  frame->SetCommandRouter([&](int id) { routed.push_back(id); });
  frame->SetUpdateHandler([](platform::CommandUpdate& u) {
    if (u.Id() == 33051) u.Enable(false);
  });
  frame->Show();
  const std::vector<MenuItem> items = {{33048, Sjis("点群の追加")}, {33049, Sjis("点群の置換")},
                                       {33050, Sjis("点群の削除")}, {33051, Sjis("カーブの削除")}};
  QPixmap picture;
  QStringList shown;
  bool lastEnabled = true;
  // Once the menu is up: its picture is kept and the second entry chosen.
  QTimer::singleShot(50, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    picture = menu->grab();
    for (QAction* a : menu->actions()) shown << a->text();
    lastEnabled = menu->actions().back()->isEnabled();
    menu->actions().at(1)->trigger();
    menu->close();
  });
  EXPECT_EQ(frame->TrackPopupMenu(items, {40, 30}), 33049);
  EXPECT_TRUE(routed.empty()) << "the caller acts on the choice";
  EXPECT_EQ(shown, (QStringList{QString::fromUtf8("点群の追加"), QString::fromUtf8("点群の置換"),
                                QString::fromUtf8("点群の削除"), QString::fromUtf8("カーブの削除")}));
  EXPECT_FALSE(lastEnabled) << "the update handler disables an entry";
  ASSERT_FALSE(picture.isNull());
  testsupport::SavePicture(picture, "curve_edit_popup.png");
  // Closed without a choice: 0.
  QTimer::singleShot(50, [] {
    if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
  });
  EXPECT_EQ(frame->TrackPopupMenu(items, {40, 30}), 0);
}

}  // namespace
