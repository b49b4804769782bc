#pragma once

#include "platform/base/gdi_types.h"

// What decides a grid's scroll bars.
struct ScrollBarInputs {
    CRect client;  // the client area as it would be without either bar
    int fixedWidth = 0;
    int fixedHeight = 0;
    int virtualWidth = 0;  // every column's width
    int virtualHeight = 0;
    int vBarWidth = 0;
    int hBarHeight = 0;
};

// Which bars show, their maxima (total - 1, 0 without a bar) and pages (the visible size).
struct ScrollBarLayout {
    bool hasArea = false;  // false: the fixed cells fill the client area, no bars at all
    bool showH = false;
    bool showV = false;
    int hMax = 0;
    int vMax = 0;
    int hPage = 0;
    int vPage = 0;

    bool operator==(const ScrollBarLayout&) const = default;
};

// One bar can call for the other: a vertical bar narrows the width, a horizontal one lowers
// the height.
ScrollBarLayout ComputeScrollBars(const ScrollBarInputs& in);
