#include "shell/main_frame/lamp_images.h"

#include <QPainter>
#include <QPalette>
#include <QRadialGradient>

#include "shell/main_frame/zub_status_bar.h"

namespace {

enum class Lamp { kOff, kNormal, kError };

constexpr Lamp kImages[] = {Lamp::kOff,   Lamp::kOff,   Lamp::kNormal, Lamp::kNormal, Lamp::kOff,
                            Lamp::kError, Lamp::kError, Lamp::kNormal, Lamp::kError,  Lamp::kOff};

QColor LampColour(Lamp lamp, const QPalette& palette) {
    switch (lamp) {
        case Lamp::kNormal: return QColor(0x1E, 0xC8, 0x3C);
        case Lamp::kError: return QColor(0xE8, 0x24, 0x1C);
        case Lamp::kOff: break;
    }
    return palette.color(QPalette::Mid);
}

void DrawLamp(QPainter& painter, int left, Lamp lamp, const QPalette& palette) {
    const QColor colour = LampColour(lamp, palette);
    const QRectF bounds(left + 1.5, 1.5, CZubStatusBar::kLampSize - 3,
                        CZubStatusBar::kLampSize - 3);
    QRadialGradient glow(bounds.center() - QPointF(1.5, 1.5), bounds.width() / 2 + 1);
    glow.setColorAt(0, colour.lighter(lamp == Lamp::kOff ? 125 : 160));
    glow.setColorAt(1, colour);
    painter.setBrush(glow);
    painter.setPen(QPen(palette.color(QPalette::Shadow), 1));
    painter.drawEllipse(bounds);
}

}  // namespace

QPixmap MakeLampImages(const QPalette& palette) {
    constexpr int count = static_cast<int>(std::size(kImages));
    QPixmap images(CZubStatusBar::kLampStep * count, CZubStatusBar::kLampSize);
    images.fill(Qt::transparent);
    QPainter painter(&images);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i)
        DrawLamp(painter, CZubStatusBar::kLampStep * i, kImages[i], palette);
    return images;
}
