#include "shell/nav/nav_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace {

// Pictures are drawn on a 36-unit square and scaled to the size.
constexpr double kUnits = 36.0;
const QColor kTrunk(0x2E, 0x7B, 0xD6);
const QColor kIntercom(0x2F, 0xA8, 0x4F);
const QColor kDiagnostics(0xE0, 0x89, 0x2B);
const QColor kMark(0xFF, 0xE6, 0x80);

QPen SignPen() {
    return QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Tile(QPainter& p, const QColor& colour) {
    const QRectF tile(3, 3, 30, 30);
    p.setPen(QPen(QColor(0x18, 0x18, 0x18, 220), 1.6));
    p.setBrush(colour);
    p.drawRoundedRect(tile, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(1.6, 1.6, -1.6, -1.6), 4.8, 4.8);
    p.setPen(SignPen());
}

void Polyline(QPainter& p, std::initializer_list<QPointF> points) {
    p.drawPolyline(QPolygonF(QList<QPointF>(points)));
}

void Dot(QPainter& p, QPointF centre, double radius) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void Definitions(QPainter& p) {
    Tile(p, kTrunk);
    p.drawLine(QPointF(12, 18), QPointF(24, 18));
    Dot(p, {11, 18}, 4.2);
    Dot(p, {25, 18}, 4.2);
}

void Summary(QPainter& p) {
    Tile(p, kTrunk);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 19, 5, 8));
    p.drawRect(QRectF(15.5, 11, 5, 16));
    p.drawRect(QRectF(22, 15, 5, 12));
}

void Inspect(QPainter& p) {
    Tile(p, kTrunk);
    p.drawEllipse(QPointF(16, 16), 6, 6);
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 20.5), QPointF(26.5, 26.5));
}

void Options(QPainter& p) {
    Tile(p, kTrunk);
    p.drawLine(QPointF(9, 13), QPointF(27, 13));
    p.drawLine(QPointF(9, 23), QPointF(27, 23));
    Dot(p, {14, 13}, 3.6);
    Dot(p, {22, 23}, 3.6);
}

void Setup(QPainter& p) {
    Tile(p, kIntercom);
    p.drawRoundedRect(QRectF(9, 11, 18, 14), 2, 2);
    for (double x : {14.0, 18.0, 22.0})
        Dot(p, {x, 18}, 1.8);
}

void Status(QPainter& p) {
    Tile(p, kIntercom);
    Polyline(p, {{8, 19}, {13, 19}, {16, 11}, {20, 26}, {23, 19}, {28, 19}});
}

void Alphas(QPainter& p) {
    Tile(p, kIntercom);
    Polyline(p, {{11, 27}, {18, 9}, {25, 27}});
    p.drawLine(QPointF(13.8, 21), QPointF(22.2, 21));
}

void Groups(QPainter& p) {
    Tile(p, kIntercom);
    Polyline(p, {{11, 14}, {25, 14}, {18, 24}, {11, 14}});
    for (QPointF centre : {QPointF(11, 14), QPointF(25, 14), QPointF(18, 24)})
        Dot(p, centre, 3.8);
}

void ControllerStatus(QPainter& p) {
    Tile(p, kDiagnostics);
    p.drawRoundedRect(QRectF(8, 9, 20, 14), 1.5, 1.5);
    p.drawLine(QPointF(18, 23), QPointF(18, 27));
    p.drawLine(QPointF(13, 27.5), QPointF(23, 27.5));
    Polyline(p, {{13, 16}, {16.5, 19}, {23, 13}});
}

void CommandLine(QPainter& p) {
    Tile(p, kDiagnostics);
    Polyline(p, {{10, 12}, {16, 18}, {10, 24}});
    p.drawLine(QPointF(19, 25), QPointF(26, 25));
}

void Memory(QPainter& p) {
    Tile(p, kDiagnostics);
    p.drawRect(QRectF(12.5, 12.5, 11, 11));
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (double at : {15.0, 18.0, 21.0}) {
        p.drawLine(QPointF(at, 8.5), QPointF(at, 11));
        p.drawLine(QPointF(at, 25), QPointF(at, 27.5));
        p.drawLine(QPointF(8.5, at), QPointF(11, at));
        p.drawLine(QPointF(25, at), QPointF(27.5, at));
    }
}

void LogFile(QPainter& p) {
    Tile(p, kDiagnostics);
    Polyline(p, {{22, 8}, {11, 8}, {11, 28}, {26, 28}, {26, 12}, {22, 8}, {22, 12}, {26, 12}});
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (double y : {16.0, 20.0, 24.0})
        p.drawLine(QPointF(14, y), QPointF(23, y));
}

void HotMark(QPainter& p) {
    p.setPen(QPen(kMark, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, 33, 33), 7.5, 7.5);
}

void PressedMark(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(3, 3, 30, 30), 6, 6);
    HotMark(p);
}

}  // namespace

QPixmap MakeNavImages(int size) {
    using Draw = std::function<void(QPainter&)>;
    const Draw pictures[kNavImageCount] = {
        HotMark, PressedMark, Definitions, Summary,          Inspect,     Options, Setup,
        Status,  Alphas,      Groups,      ControllerStatus, CommandLine, Memory,  LogFile};
    QPixmap strip(size * kNavImageCount, size);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < kNavImageCount; ++i) {
        painter.save();
        painter.translate(i * size, 0);
        painter.scale(size / kUnits, size / kUnits);
        pictures[i](painter);
        painter.restore();
    }
    return strip;
}
