#pragma once

#include <QPixmap>

class QPalette;

// The status bar's ten lamp images side by side, 13 pixels square at 14-pixel steps, in the
// order off, off, normal, normal, off, error, error, normal, error, off: grey when off, green
// when normal, red on an error, outlined in the palette's dark shade.
QPixmap MakeLampImages(const QPalette& palette);
