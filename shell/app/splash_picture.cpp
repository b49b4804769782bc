#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include "model/module_version_info.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/splash.h"

namespace {

constexpr int kWidth = 410;
constexpr int kHeight = 166;

// Three matrix frames joined by trunks, the program's subject, on the right.
void DrawFrames(QPainter& painter) {
    const QRectF frames[] = {{300, 28, 34, 26}, {356, 68, 34, 26}, {300, 110, 34, 26}};
    painter.setPen(QPen(QColor(0x9F, 0xD8, 0xE8), 2));
    for (const QRectF& a : frames) {
        for (const QRectF& b : frames) {
            if (&a < &b) painter.drawLine(a.center(), b.center());
        }
    }
    painter.setPen(QPen(QColor(0xE6, 0xF4, 0xF8), 1.5));
    painter.setBrush(QColor(0x1B, 0x4E, 0x6B));
    for (const QRectF& frame : frames) {
        painter.drawRoundedRect(frame, 3, 3);
        for (int led = 0; led < 3; ++led)
            painter.fillRect(QRectF(frame.left() + 6 + 8 * led, frame.top() + 10, 5, 5),
                             led == 0 ? QColor(0x3C, 0xD0, 0x5A) : QColor(0x8A, 0xB4, 0xC4));
    }
}

}  // namespace

QPixmap MakeSplashPicture() {
    QPixmap picture(kWidth, kHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, kWidth, kHeight);
    sky.setColorAt(0, QColor(0x0E, 0x2A, 0x3F));
    sky.setColorAt(1, QColor(0x1F, 0x6F, 0x80));
    painter.fillRect(picture.rect(), sky);
    painter.setPen(QPen(QColor(0x5F, 0xA8, 0xBC), 1));
    painter.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    DrawFrames(painter);

    CModuleVersionInfo version;
    version.Load();
    QFont title = painter.font();
    title.setPixelSize(38);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(24, 66), ToQString(version.GetProductName()));

    QFont body = painter.font();
    body.setPixelSize(14);
    body.setBold(false);
    painter.setFont(body);
    painter.setPen(QColor(0xCF, 0xE8, 0xF0));
    painter.drawText(QPointF(26, 92), QStringLiteral("Trunking controller setup and status"));
    body.setPixelSize(12);
    painter.setFont(body);
    painter.drawText(QPointF(26, 140), ToQString(u"Version " + version.GetProductVersion() +
                                                 u"  \u00B7  " + version.GetValue(u"CompanyName")));
    return picture;
}
