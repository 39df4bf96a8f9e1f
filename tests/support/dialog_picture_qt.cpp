#include "tests/support/dialog_picture_qt.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_dialog_host.h"
#include "tests/support/test_support.h"

// Font look-ups keep a cache that the font library frees only at exit: that
// is the library's own memory, not a leak of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace testsupport {

void InstallOffscreenQtBackend(const char* program) {
  platform::UninstallBackend();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The application keeps argc and argv for its lifetime.
  static std::string name;
  static char* argv[] = {nullptr, nullptr};
  static int argc = 1;
  if (argv[0] == nullptr) {
    name = program;
    argv[0] = name.data();
  }
  platform::qt::InstallQtBackend(argc, argv);
}

void SettleQt() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

QWidget* ControlWidget(QDialog* window, int id) {
  return window->findChild<QWidget*>(QStringLiteral("ctl_%1").arg(id));
}

void ExpectWidgetForEveryControl(const platform::Dialog& dialog, QDialog* window) {
  for (const platform::ControlState& c : dialog.Controls()) {
    if (c.decl.id != -1) {
      EXPECT_NE(ControlWidget(window, c.decl.id), nullptr) << dialog.TemplateId() << " " << c.decl.id;
    }
  }
}

fs::path SavePicture(const QPixmap& picture, const std::string& file) {
  const fs::path out = BinaryFolder() / "artefacts" / file;
  fs::create_directories(out.parent_path());
  EXPECT_TRUE(picture.save(QString::fromStdString(out.string()), "PNG")) << out;
  return out;
}

void SaveDialogPicture(platform::Dialog& dialog, const std::string& file, int minWidth, int minHeight,
                       const std::function<void(platform::Dialog&)>& act) {
  ASSERT_TRUE(dialog.CreateModeless()) << file;
  QDialog* window = platform::qt::DialogWindow(dialog);
  ASSERT_NE(window, nullptr) << file;
  SettleQt();
  if (act) {
    act(dialog);
    SettleQt();
  }
  const QPixmap picture = window->grab();
  EXPECT_GT(picture.width(), minWidth) << file;
  EXPECT_GT(picture.height(), minHeight) << file;
  SavePicture(picture, file);
  dialog.DestroyWindow();
}

}  // namespace testsupport
