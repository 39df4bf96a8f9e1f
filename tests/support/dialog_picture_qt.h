#pragma once
// Dialogs built by the desktop backend on the off-screen platform and saved as
// PNG pictures in the build folder ("artefacts"), to be looked at, not
// compared. Linking this also keeps the font library's own cache out of the
// leak report.
#include <filesystem>
#include <functional>
#include <string>

#include <QDialog>
#include <QPixmap>
#include <QWidget>

#include "platform/dialog.h"

namespace testsupport {

// Installs the desktop backend on the off-screen platform (no display needed),
// in place of the backend a fixture installed before. `program` names the
// application the first time.
void InstallOffscreenQtBackend(const char* program);

// Lets the desktop backend lay out and paint what it was given.
void SettleQt();

// The widget the desktop backend made for control `id` of `window`, or null.
QWidget* ControlWidget(QDialog* window, int id);
// Every control of `dialog` that has an id has its widget in `window`.
void ExpectWidgetForEveryControl(const platform::Dialog& dialog, QDialog* window);

// Saves `picture` as artefacts/<file> in the build folder; returns its path.
std::filesystem::path SavePicture(const QPixmap& picture, const std::string& file);

// Opens `dialog` modeless on the desktop backend, lets it lay out, runs `act`
// on it (then lets it settle again), saves its picture as artefacts/<file>
// and closes it. The picture must be wider than `minWidth` and taller than
// `minHeight`.
void SaveDialogPicture(platform::Dialog& dialog, const std::string& file, int minWidth, int minHeight,
                       const std::function<void(platform::Dialog&)>& act = {});

}  // namespace testsupport
