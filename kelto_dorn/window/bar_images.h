#pragma once
// What the program draws for itself instead of image resources: the images
// of the 30-pixel tool-bar buttons (a short sign of the command) and the
// view's cursors (a cross with the pick box of each aperture, dark on the
// light backgrounds and light on the others; over a figure a ring is added).
#include "platform/bitmap.h"

namespace dorn {

// The image of a standard or selector bar button; empty where the backend
// draws no pictures (the button then shows its caption).
platform::Bitmap ToolButtonImage(int commandId);

// Registers the twelve cursors of the view (169-171, 306-308, 358-363).
void RegisterViewCursors();

// The cursor of the view for a pick aperture (1-3) and a background index,
// over a figure or not.
int ViewCursorId(int aperture, int backgroundIndex, bool overFigure);

}  // namespace dorn
