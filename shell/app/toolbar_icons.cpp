#include "shell/app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "res/command_ids.h"

namespace {

constexpr int kSize = 32;  // drawn large, shown at the bar's size

const QColor kLine(40, 40, 40);
const QColor kPaper(250, 250, 250);
const QColor kFolder(235, 190, 70);
const QColor kDisk(70, 110, 190);
const QColor kGo(60, 150, 80);
const QColor kLink(200, 120, 40);
const QColor kInfo(60, 110, 200);

QPainterPath Arrow(bool right) {
    QPainterPath path;
    const qreal s = right ? 1 : -1;
    const qreal c = kSize / 2.0;
    path.moveTo(c - s * 12, c - 4);
    path.lineTo(c + s * 1, c - 4);
    path.lineTo(c + s * 1, c - 11);
    path.lineTo(c + s * 13, c);
    path.lineTo(c + s * 1, c + 11);
    path.lineTo(c + s * 1, c + 4);
    path.lineTo(c - s * 12, c + 4);
    path.closeSubpath();
    return path;
}

void Draw(QPainter& p, UINT command) {
    p.setPen(QPen(kLine, 2));
    switch (command) {
        case ID_FILE_NEW: {
            QPainterPath page;
            page.moveTo(7, 3);
            page.lineTo(19, 3);
            page.lineTo(26, 10);
            page.lineTo(26, 29);
            page.lineTo(7, 29);
            page.closeSubpath();
            p.setBrush(kPaper);
            p.drawPath(page);
            p.drawPolyline(QPolygon({{19, 3}, {19, 10}, {26, 10}}));
            break;
        }
        case ID_FILE_OPEN:
            p.setBrush(kFolder);
            p.drawPolygon(QPolygon({{3, 8}, {12, 8}, {15, 11}, {29, 11}, {29, 27}, {3, 27}}));
            break;
        case ID_FILE_SAVE:
            p.setBrush(kDisk);
            p.drawRect(4, 4, 24, 24);
            p.setBrush(kPaper);
            p.drawRect(9, 4, 14, 9);
            p.drawRect(8, 18, 16, 10);
            break;
        case ID_VIEW_BACK:
        case ID_VIEW_FORWARD:
            p.setBrush(kGo);
            p.drawPath(Arrow(command == ID_VIEW_FORWARD));
            break;
        case ID_REFRESH:
            p.setPen(QPen(kGo, 4));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRect(6, 6, 20, 20), 60 * 16, 270 * 16);
            p.setPen(QPen(kLine, 1));
            p.setBrush(kGo);
            p.drawPolygon(QPolygon({{17, 2}, {26, 8}, {17, 13}}));
            break;
        case ID_CONNECT:
            p.setBrush(kLink);
            p.drawRect(4, 11, 10, 10);
            p.drawRect(18, 11, 10, 10);
            p.drawLine(14, 16, 18, 16);
            p.drawLine(0, 16, 4, 16);
            p.drawLine(28, 16, 32, 16);
            break;
        case ID_SEND_CHANGES:
            p.setBrush(kPaper);
            p.drawRect(4, 20, 24, 8);
            p.setBrush(kGo);
            p.drawPolygon(
                QPolygon({{16, 2}, {26, 12}, {20, 12}, {20, 22}, {12, 22}, {12, 12}, {6, 12}}));
            break;
        case ID_FILE_PRINT:
            p.setBrush(kPaper);
            p.drawRect(9, 3, 14, 10);
            p.setBrush(QColor(170, 170, 170));
            p.drawRect(3, 12, 26, 12);
            p.setBrush(kPaper);
            p.drawRect(9, 20, 14, 9);
            break;
        case ID_APP_ABOUT:
            p.setBrush(kInfo);
            p.drawEllipse(3, 3, 26, 26);
            p.setPen(QPen(kPaper, 4, Qt::SolidLine, Qt::RoundCap));
            p.drawPoint(16, 9);
            p.drawLine(16, 14, 16, 23);
            break;
        default: break;
    }
}

}  // namespace

QIcon ToolBarIcon(UINT command) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        Draw(painter, command);
    }
    return QIcon(picture);
}
