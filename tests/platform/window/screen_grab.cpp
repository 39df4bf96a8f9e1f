// Grabs the whole screen of the display it runs on into a PNG file: the
// picture of a program's window under xvfb-run, kept as a test artefact.
//   screen_grab <file.png> [<delay ms>]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <file.png> [<delay ms>]\n", argv[0]);
    return 2;
  }
  const int delay = argc > 2 ? std::atoi(argv[2]) : 0;
  QGuiApplication app(argc, argv);
  if (delay > 0) QThread::msleep(static_cast<unsigned long>(delay));
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "screen_grab: no screen\n");
    return 1;
  }
  const QPixmap picture = screen->grabWindow(0);
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "screen_grab: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
