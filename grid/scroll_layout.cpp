#include "grid/scroll_layout.h"

ScrollBarLayout ComputeScrollBars(const ScrollBarInputs& in) {
    ScrollBarLayout out;
    CRect rect = in.client;
    rect.left += in.fixedWidth;
    rect.top += in.fixedHeight;
    if (rect.left >= rect.right || rect.top >= rect.bottom) return out;
    out.hasArea = true;

    const int totalHeight = in.virtualHeight - in.fixedHeight;
    const int totalWidth = in.virtualWidth - in.fixedWidth;
    if (rect.bottom - in.fixedHeight < totalHeight) rect.right -= in.vBarWidth;
    const int visibleWidth = rect.right - in.fixedWidth;
    if (visibleWidth < totalWidth) rect.bottom -= in.hBarHeight;
    const int visibleHeight = rect.bottom - in.fixedHeight;

    if (visibleHeight < totalHeight) {
        out.showV = true;
        out.vMax = totalHeight - 1;
        out.vPage = visibleHeight;
    }
    if (visibleWidth < totalWidth) {
        out.showH = true;
        out.hMax = totalWidth - 1;
        out.hPage = visibleWidth;
    }
    return out;
}
