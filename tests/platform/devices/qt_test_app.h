#pragma once
// The one application object of the desktop device tests.
#include <QApplication>

namespace devicetests {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "platform_qt_devices_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

}  // namespace devicetests
