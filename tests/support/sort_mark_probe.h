#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <map>
#include <utility>

enum class MarkDirection { None, Up, Down };

// Which way the triangle drawn inside an area points, read from the pixels: the widest row
// of a triangle is its base, at the bottom of one pointing up.
inline MarkDirection SortMarkDirection(const QImage& image, const QRect& area) {
    int top = -1, bottom = -1, topWidth = 0, bottomWidth = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        // A header may shade from top to bottom: each row's own most common colour is its
        // background.
        std::map<QRgb, int> counts;
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
        const QRgb background =
            std::ranges::max_element(counts, {}, &std::pair<const QRgb, int>::second)->first;
        int left = -1, right = -1;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == background) continue;
            if (left < 0) left = x;
            right = x;
        }
        if (left < 0) continue;
        if (top < 0) std::tie(top, topWidth) = std::pair(y, right - left);
        std::tie(bottom, bottomWidth) = std::pair(y, right - left);
    }
    if (top < 0 || top == bottom || topWidth == bottomWidth) return MarkDirection::None;
    return bottomWidth > topWidth ? MarkDirection::Up : MarkDirection::Down;
}
