#include "shell/search/search_icons.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

// A dark outline keeps the pictures readable on light and dark backgrounds alike.
QIcon Draw(bool intercom, const QColor& lamp) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 48), 1));
    if (intercom) {
        // A frame in a rack: a tall case with card slots and a lamp.
        painter.setBrush(QColor(176, 182, 196));
        painter.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
        for (int y = 3; y <= 9; y += 3)
            painter.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
        painter.setBrush(lamp);
        painter.drawEllipse(QRectF(6, 11, 4, 3.5));
    } else {
        // A controller: a flat box with its ports and a large lamp.
        painter.setBrush(QColor(160, 170, 188));
        painter.drawRoundedRect(QRectF(0.5, 4.5, 15, 8), 1.5, 1.5);
        for (int x = 2; x <= 6; x += 2)
            painter.drawRect(QRectF(x + 0.5, 9.5, 1, 1.5));
        painter.setBrush(lamp);
        painter.drawEllipse(QRectF(9.5, 6, 4.5, 4.5));
    }
    return QIcon(picture);
}

}  // namespace

std::array<QIcon, 2> SearchIcons(bool intercoms) {
    return {Draw(intercoms, QColor(40, 200, 70)), Draw(intercoms, QColor(230, 170, 30))};
}
