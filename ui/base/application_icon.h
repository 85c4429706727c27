#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace paylark {

// The application's icon for the window manager, drawn from its SVG at the sizes the window system
// asks for when a window is created (16 to 128 pixels); none when the picture is missing. Safe on
// any thread: drawing takes milliseconds, so a start draws it on the other core while the window
// is made.
std::vector<QImage> DrawApplicationIcon();

// The icon of those images, with which a window is created without reading the SVG.
QIcon ApplicationIcon(const std::vector<QImage>& images);

}  // namespace paylark
