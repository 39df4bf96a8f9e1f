#pragma once
// The desktop backend. Each program's main calls InstallQtBackend first; the
// backend then serves every window, dialog, box and chooser of the layer.
// This header is free of Qt types, so the programs' mains need no Qt.
#include <filesystem>
#include <memory>

#include "platform/device_context.h"

namespace platform::qt {

// Creates the application object (when none exists yet) and installs the
// backend. argc and argv must outlive the program's event loop.
void InstallQtBackend(int& argc, char** argv);

// A raster device context with an image of its own (white unless told), for
// memory bitmaps, clipboard copies and tests that check pixels.
std::unique_ptr<DeviceContext> CreateRasterContext(Size size, Color fill = 0xFFFFFF);

// Writes the bitmap as a PNG file; false when it could not be written.
bool SaveBitmapPng(const Bitmap& bitmap, const std::filesystem::path& file);

}  // namespace platform::qt
