#pragma once

#include <QPixmap>

// The navigation bar's pictures side by side, each size pixels square: 0 the mark of the
// item under the pointer, 1 the mark of the item pressed, then one picture per screen
// command: 2 trunk definitions, 3 trunk summary, 4 trunk inspection, 5 trunk options, 6
// intercom setup, 7 intercom status, 8 alphas, 9 groups, 10 controller status, 11 command
// line, 12 controller memory, 13 request log. Each screen picture is a white sign on a tile in
// its group's colour, framed dark outside and light inside, so that it shows on light and
// dark backgrounds alike.
QPixmap MakeNavImages(int size);

constexpr int kNavImageCount = 14;
constexpr int kNavSmallImageSize = 20;
constexpr int kNavLargeImageSize = 36;
