#include "shell/controls/sort_mark_style.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace {

constexpr int kMarkSize = 9;
constexpr int kMeasureWidth = 200;

void DrawTriangle(QPainter& painter, const QRect& area, bool up, const QPalette& palette) {
    const int s = std::min({kMarkSize, area.width() - 1, area.height() - 1});
    if (s <= 0) return;
    const int x = area.left() + (area.width() - s) / 2;
    const int y = area.top() + (area.height() - s) / 2;
    const QPolygon shape =
        up ? QPolygon(
                 {QPoint(x, y + s), QPoint(x + s / 2, y), QPoint(x + s, y + s), QPoint(x, y + s)})
           : QPolygon({QPoint(x, y), QPoint(x + s / 2, y + s), QPoint(x + s, y), QPoint(x, y)});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(palette.color(QPalette::Light));
    painter.drawPolyline(shape.translated(1, 1));
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawPolyline(shape);
    painter.restore();
}

}  // namespace

void CSortMarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* header = qobject_cast<const QHeaderView*>(widget);
    if (element != PE_IndicatorHeaderArrow || !header || !painter) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The header's own order, not the platform's reading of it.
    DrawTriangle(*painter, option->rect, header->sortIndicatorOrder() == Qt::AscendingOrder,
                 option->palette);
}

int SortMarkRoom(const QWidget& header) {
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.state |= QStyle::State_Horizontal;
    option.orientation = Qt::Horizontal;
    option.rect = QRect(0, 0, kMeasureWidth, std::max(header.height(), header.sizeHint().height()));
    const int plain =
        header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header).width();
    option.sortIndicator = QStyleOptionHeader::SortUp;
    const int marked =
        header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header).width();
    return std::max(0, plain - marked);
}
